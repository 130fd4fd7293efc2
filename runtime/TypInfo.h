// Published properties and class registration. Each class lists the properties a form
// description may set (name, type, setter) and the methods its events may name; the
// form-description reader works only through these tables.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/StringList.h"

namespace rt {

enum class TTypeKind { tkInteger, tkBoolean, tkString, tkEnumeration, tkSet, tkStrings, tkComponent, tkClass, tkMethod, tkFloat, tkBinary };

// Names of an enumeration's values by ordinal.
struct TEnumInfo {
    std::string TypeName;
    std::vector<std::string> Names;
    // Ordinal of a name, without regard to case; -1 when unknown.
    int Find(const std::string& name) const;
};

// Specialise through RT_ENUM_INFO for every enumeration a property publishes.
template <class E>
struct EnumTraits;

#define RT_DECLARE_ENUM(E)                  \
    template <>                             \
    struct rt::EnumTraits<E> {              \
        static const ::rt::TEnumInfo& Info(); \
    };

#define RT_DEFINE_ENUM(E, ...)                                                   \
    const ::rt::TEnumInfo& rt::EnumTraits<E>::Info() {                           \
        static const ::rt::TEnumInfo info{#E, {__VA_ARGS__}};                    \
        return info;                                                             \
    }

template <class E>
const std::string& EnumName(E value) {
    static const std::string unknown = "?";
    const auto& names = EnumTraits<E>::Info().Names;
    const auto i = static_cast<std::size_t>(value);
    return i < names.size() ? names[i] : unknown;
}

using TBytes = std::vector<std::uint8_t>;

// A value on its way into or out of a property. Enumerations carry their ordinal and sets
// their bits as integers; string lists carry their lines; events carry a bound TEvent.
using TPropValue = std::variant<std::monostate, std::int64_t, bool, std::string, std::vector<std::string>,
                                TComponent*, std::any, double, TBytes>;

class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    const TEnumInfo* Enum = nullptr;    // enumerations and sets
    // Components: the class a reference must be (a function, since a class may refer to itself).
    const TClassInfo* (*RefClass)() = nullptr;
    std::function<TPropValue(const TPersistent&)> Get;
    std::function<void(TPersistent&, const TPropValue&)> Set;
    std::function<TPersistent*(TPersistent&)> Object;  // tkClass: the nested object
    // tkInteger: names a description may use instead of a number (colours, cursors).
    bool (*IdentToInt)(const std::string& ident, std::int64_t& value) = nullptr;
};

// A published method: binds an instance into a ready event of the method's own type.
struct TMethodInfo {
    std::string Name;
    std::function<std::any(TObject&)> Bind;
};

struct TClassInfo {
    std::string Name;
    const TClassInfo* Parent = nullptr;
    std::function<TComponent*(TComponent* owner)> Create;  // empty for classes a description cannot create
    std::vector<TPropInfo> Props;
    std::vector<TMethodInfo> Methods;

    bool InheritsFrom(const TClassInfo& other) const;
    // Searched from this class up through its parents, without regard to case.
    const TPropInfo* FindProp(const std::string& name) const;
    const TMethodInfo* FindMethod(const std::string& name) const;
};

// Registration for the reader (by class name, without regard to case).
void RegisterClass(const TClassInfo& cls);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
const TClassInfo* FindClass(const std::string& name);

// Builds the creation function of a component class.
template <class C>
std::function<TComponent*(TComponent*)> Factory() {
    return [](TComponent* owner) -> TComponent* { return new C(owner); };
}

namespace detail {

template <class T>
struct IsEvent : std::false_type {};
template <class... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
    using Enum = E;
};

// How a C++ property type maps to a published type.
template <class T, class = void>
struct PropTraits;

template <class T>
struct PropTraits<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
    static constexpr TTypeKind Kind = TTypeKind::tkInteger;
    static TPropValue To(T v) { return static_cast<std::int64_t>(v); }
    static T From(const TPropValue& v) { return static_cast<T>(std::get<std::int64_t>(v)); }
};
template <>
struct PropTraits<bool> {
    static constexpr TTypeKind Kind = TTypeKind::tkBoolean;
    static TPropValue To(bool v) { return v; }
    static bool From(const TPropValue& v) { return std::get<bool>(v); }
};
template <>
struct PropTraits<double> {
    static constexpr TTypeKind Kind = TTypeKind::tkFloat;
    static TPropValue To(double v) { return v; }
    static double From(const TPropValue& v) {
        if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
        return std::get<double>(v);
    }
};
template <>
struct PropTraits<std::string> {
    static constexpr TTypeKind Kind = TTypeKind::tkString;
    static TPropValue To(const std::string& v) { return v; }
    static std::string From(const TPropValue& v) { return std::get<std::string>(v); }
};
template <>
struct PropTraits<TBytes> {
    static constexpr TTypeKind Kind = TTypeKind::tkBinary;
    static TPropValue To(const TBytes& v) { return v; }
    static TBytes From(const TPropValue& v) { return std::get<TBytes>(v); }
};
template <class E>
struct PropTraits<E, std::enable_if_t<std::is_enum_v<E>>> {
    static constexpr TTypeKind Kind = TTypeKind::tkEnumeration;
    static const TEnumInfo* Enum() { return &EnumTraits<E>::Info(); }
    static TPropValue To(E v) { return static_cast<std::int64_t>(v); }
    static E From(const TPropValue& v) { return static_cast<E>(std::get<std::int64_t>(v)); }
};
template <class E>
struct PropTraits<TSet<E>> {
    static constexpr TTypeKind Kind = TTypeKind::tkSet;
    static const TEnumInfo* Enum() { return &EnumTraits<E>::Info(); }
    static TPropValue To(TSet<E> v) { return static_cast<std::int64_t>(v.Bits()); }
    static TSet<E> From(const TPropValue& v) { return TSet<E>::FromBits(static_cast<std::uint64_t>(std::get<std::int64_t>(v))); }
};
template <class... A>
struct PropTraits<TEvent<A...>> {
    static constexpr TTypeKind Kind = TTypeKind::tkMethod;
    static TPropValue To(const TEvent<A...>& v) { return std::any(v); }
    static TEvent<A...> From(const TPropValue& v) {
        const auto& any = std::get<std::any>(v);
        if (!any.has_value()) return {};
        if (auto* ev = std::any_cast<TEvent<A...>>(&any)) return *ev;
        throw EPropertyError("The method does not match the event's parameters");
    }
};
template <class D>
struct PropTraits<D*, std::enable_if_t<std::is_base_of_v<TComponent, D>>> {
    static constexpr TTypeKind Kind = TTypeKind::tkComponent;
    static const TClassInfo* Ref() { return &D::StaticClass(); }
    static TPropValue To(D* v) { return static_cast<TComponent*>(v); }
    static D* From(const TPropValue& v) {
        TComponent* c = std::get<TComponent*>(v);
        if (c && !c->InheritsFrom(D::StaticClass()))
            throw EPropertyError(c->Name() + " is not a " + D::StaticClass().Name);
        return static_cast<D*>(c);
    }
};

template <class T>
void Describe(TPropInfo& p) {
    p.Kind = PropTraits<T>::Kind;
    if constexpr (PropTraits<T>::Kind == TTypeKind::tkEnumeration || PropTraits<T>::Kind == TTypeKind::tkSet)
        p.Enum = PropTraits<T>::Enum();
    if constexpr (PropTraits<T>::Kind == TTypeKind::tkComponent) p.RefClass = &PropTraits<T>::Ref;
}

}  // namespace detail

// A property read from a field and written through a setter (or the field itself when
// setter is null). Setter may take the value by value or by const reference.
template <class C, class T, class S>
TPropInfo Property(const char* name, T C::*field, S setter) {
    TPropInfo p;
    p.Name = name;
    detail::Describe<T>(p);
    p.Get = [field](const TPersistent& o) { return detail::PropTraits<T>::To(static_cast<const C&>(o).*field); };
    p.Set = [field, setter](TPersistent& o, const TPropValue& v) {
        C& c = static_cast<C&>(o);
        if constexpr (std::is_null_pointer_v<S>) c.*field = detail::PropTraits<T>::From(v);
        else (c.*setter)(detail::PropTraits<T>::From(v));
    };
    return p;
}

template <class C, class T>
TPropInfo Property(const char* name, T C::*field) {
    return Property(name, field, nullptr);
}

// A property with a getter and a setter.
template <class C, class G, class S>
TPropInfo AccessorProperty(const char* name, G (C::*getter)() const, S setter) {
    using T = std::remove_cv_t<std::remove_reference_t<G>>;
    TPropInfo p;
    p.Name = name;
    detail::Describe<T>(p);
    p.Get = [getter](const TPersistent& o) { return detail::PropTraits<T>::To((static_cast<const C&>(o).*getter)()); };
    p.Set = [setter](TPersistent& o, const TPropValue& v) { (static_cast<C&>(o).*setter)(detail::PropTraits<T>::From(v)); };
    return p;
}

// A string-list property: the description's lines are handed to the setter as a list,
// which copies them.
template <class C>
TPropInfo StringsProperty(const char* name, TStrings* (C::*getter)() const, void (C::*setter)(const TStrings&)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkStrings;
    p.Get = [getter](const TPersistent& o) { return TPropValue((static_cast<const C&>(o).*getter)()->ToVector()); };
    p.Set = [setter](TPersistent& o, const TPropValue& v) {
        TStringList lines;
        lines.SetLines(std::get<std::vector<std::string>>(v));
        (static_cast<C&>(o).*setter)(lines);
    };
    return p;
}

// A nested persistent object whose own properties are set as "Prop.SubProp".
template <class C>
TPropInfo ObjectProperty(const char* name, TPersistent* (C::*getter)() const) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkClass;
    p.Object = [getter](TPersistent& o) { return (static_cast<C&>(o).*getter)(); };
    return p;
}

// A published method that events of the matching type may name.
template <class C, class... A>
TMethodInfo Method(const char* name, void (C::*method)(A...)) {
    return {name, [method](TObject& self) -> std::any { return TEvent<A...>(static_cast<C*>(&self), method); }};
}

// Sets a property by name on an object, the way the reader does (used by tests and by code
// that configures components generically). Raises EPropertyError for an unknown name.
void SetPropValue(TPersistent& obj, const std::string& name, const TPropValue& value);
TPropValue GetPropValue(const TPersistent& obj, const std::string& name);

}  // namespace rt
