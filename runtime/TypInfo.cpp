// Class registration and generic property access; see TypInfo.h.
#include "runtime/TypInfo.h"

namespace rt {

int TEnumInfo::Find(const std::string& name) const {
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name)) return static_cast<int>(i);
    return -1;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& p : c->Props)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& m : c->Methods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

namespace {

std::map<std::string, const TClassInfo*>& Registry() {
    static std::map<std::string, const TClassInfo*> classes;
    return classes;
}

}  // namespace

void RegisterClass(const TClassInfo& cls) { Registry()[UpperCase(cls.Name)] = &cls; }

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* c : classes) RegisterClass(*c);
}

const TClassInfo* FindClass(const std::string& name) {
    auto it = Registry().find(UpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

namespace {

// Walks "A.B.C" through nested objects to the object that owns the last part.
const TPropInfo& Resolve(TPersistent*& obj, const std::string& path) {
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = path.find('.', start);
        const std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TPropInfo* p = obj->ClassType().FindProp(part);
        if (!p) throw EPropertyError("Property " + path + " does not exist");
        if (dot == std::string::npos) return *p;
        if (p->Kind != TTypeKind::tkClass) throw EPropertyError("Property " + path + " does not exist");
        obj = p->Object(*obj);
        start = dot + 1;
    }
}

}  // namespace

void SetPropValue(TPersistent& obj, const std::string& name, const TPropValue& value) {
    TPersistent* target = &obj;
    const TPropInfo& p = Resolve(target, name);
    if (!p.Set) throw EPropertyError("Property " + name + " is read-only");
    p.Set(*target, value);
}

TPropValue GetPropValue(const TPersistent& obj, const std::string& name) {
    TPersistent* target = const_cast<TPersistent*>(&obj);
    const TPropInfo& p = Resolve(target, name);
    if (!p.Get) throw EPropertyError("Property " + name + " cannot be read");
    return p.Get(*target);
}

}  // namespace rt
