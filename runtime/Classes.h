// The component model: objects with a class identity, components with a name, an owner
// and owned components, event slots, small sets over enumerations.
// Every install component, dialog component, form and control derives from TComponent.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/SysUtils.h"

namespace rt {

struct TClassInfo;
using TClass = const TClassInfo*;

// Declares a class's identity for the published-property system; put it first in the body.
#define RT_CLASS(Cls, Base)                                                   \
public:                                                                       \
    using inherited = Base;                                                   \
    static const ::rt::TClassInfo& StaticClass();                             \
    const ::rt::TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                              \
private:

// Root of the class tree. Objects are destroyed with Free(), which lets a class act
// while it is still whole (BeforeDestruction) before the C++ destructors run.
class TObject {
public:
    virtual ~TObject() = default;
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    const std::string& ClassName() const;
    bool InheritsFrom(const TClassInfo& cls) const;

    // Destroys the object; the pointer must not be used afterwards.
    void Free();

protected:
    virtual void BeforeDestruction() {}
};

template <class T>
void FreeAndNil(T*& obj) {
    T* tmp = obj;
    obj = nullptr;
    if (tmp) tmp->Free();
}

// A set over an enumeration with at most 64 values; bit n stands for ordinal n.
template <class E>
class TSet {
    static_assert(std::is_enum_v<E>);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) FBits |= Bit(e);
    }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const { return FBits; }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
    constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
    constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << static_cast<unsigned>(e); }
    std::uint64_t FBits = 0;
};

// An event slot: a callable bound to an object, fired only when assigned.
// The firing component passes itself first, as every event type here is declared.
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    TEvent(TObject* data, std::function<void(Args...)> code) : FData(data), FCode(std::move(code)) {}
    template <class C>
    TEvent(C* obj, void (C::*method)(Args...))
        : FData(obj), FCode([obj, method](Args... a) { (obj->*method)(std::forward<Args>(a)...); }) {}

    explicit operator bool() const { return static_cast<bool>(FCode); }
    TObject* Data() const { return FData; }
    void Clear() { FData = nullptr; FCode = nullptr; }
    void operator()(Args... args) const {
        if (FCode) FCode(std::forward<Args>(args)...);
    }

private:
    TObject* FData = nullptr;
    std::function<void(Args...)> FCode;
};

using TNotifyEvent = TEvent<TObject* /*Sender*/>;

// An object whose published properties can be loaded from a form description and
// copied with Assign.
class TPersistent : public TObject {
    RT_CLASS(TPersistent, TObject)
public:
    // Raises EConvertError "Cannot assign a <source class> to a <this class>" unless the
    // class knows how to copy from the source.
    virtual void Assign(const TPersistent& source);
};

// A list of object references that owns nothing; events pass several objects as one.
class TList : public TObject {
    RT_CLASS(TList, TObject)
public:
    TList() = default;
    TList(std::initializer_list<TObject*> items) : FItems(items) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises Exception "List index out of bounds (n)" outside 0..Count-1.
    TObject* Items(int index) const;
    int Add(TObject* item);
    void Clear() { FItems.clear(); }

private:
    std::vector<TObject*> FItems;
};

class TComponent;

enum class TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateFlag>;
enum class TOperation { opInsert, opRemove };

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// A named object that may own others. An owner frees what it owns, in reverse order of
// creation; anything that asked for a free notification hears of a component going away.
class TComponent : public TPersistent {
    RT_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const std::string& Name() const { return FName; }
    // Raises EComponentError for an invalid identifier or a name already used by the owner.
    virtual void SetName(const std::string& name);

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    // Owned component by name, without regard to case; nullptr when there is none.
    TComponent* FindComponent(const std::string& name) const;
    // Zero-based position in the owner's list, -1 without an owner.
    int ComponentIndex() const;

    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t tag) { FTag = tag; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState.Contains(TComponentStateFlag::csLoading); }
    bool IsDesigning() const { return FComponentState.Contains(TComponentStateFlag::csDesigning); }
    bool IsDestroying() const { return FComponentState.Contains(TComponentStateFlag::csDestroying); }
    void SetDesigning(bool value);

    // Loading protocol used by the form-description reader.
    void BeginLoading() { FComponentState.Include(TComponentStateFlag::csLoading); }
    void EndLoading() { FComponentState.Exclude(TComponentStateFlag::csLoading); }
    virtual void Loaded();
    // The description nests this component inside parent (controls take it as their parent).
    virtual void SetParentComponent(TComponent* parent);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // AComponent will call Notification(this, opRemove) on us when it goes away.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void BeforeDestruction() override;
    void DestroyComponents();

private:
    std::string FName;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
};

bool IsValidIdent(std::string_view name);

}  // namespace rt
