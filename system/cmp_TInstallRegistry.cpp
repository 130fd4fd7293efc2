// Registry entries; see cmp_TInstallRegistry.h.
#include "system/cmp_TInstallRegistry.h"

#include <algorithm>
#include <vector>

#include "engine/SetupLog.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "runtime/Registry.h"

RT_DEFINE_ENUM(TKeySpecifier, "ksAbsolute", "ksParentKeyKey", "ksCompanyName", "ksProductName", "ksVersion")

namespace {

std::string WithoutTrailingBackslash(const std::string& s) { return RemoveBackslash(s); }

// Entry lines are "name=value"; the value may hold further "=". Lines without one are no entry.
bool SplitEntry(const std::string& line, std::string& ident, std::string& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    ident = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

}  // namespace

// ---- TCustomInstallRegistry ----

std::vector<rt::TPropInfo> TCustomInstallRegistry::CommonProps() {
    using R = TCustomInstallRegistry;
    return {rt::StringsProperty("Entries", &R::Entries, &R::SetEntries),
            rt::AccessorProperty("Key", &R::Key, &R::SetKey),
            rt::AccessorProperty("RootKey", &R::RootKey, &R::SetRootKey),
            rt::Property("OnBeforeProcess", &TInstallContainer::OnBeforeProcess),
            rt::Property("OnAfterProcess", &TInstallContainer::OnAfterProcess),
            rt::Property("OnBeforeWriteEntry", &R::OnBeforeWriteEntry)};
}

const rt::TClassInfo& TCustomInstallRegistry::StaticClass() {
    static const rt::TClassInfo info{"TCustomInstallRegistry", &TBaseHelperComponent::StaticClass(),
                                     rt::Factory<TCustomInstallRegistry>(), CommonProps(), {}};
    return info;
}

TCustomInstallRegistry::TCustomInstallRegistry(rt::TComponent* owner)
    : TBaseHelperComponent(owner), FEntries(new rt::TStringList) {
    SetOrdered(true);
    SetOrderNumber(kOrderRegistry);
}

TCustomInstallRegistry::~TCustomInstallRegistry() { delete FEntries; }

void TCustomInstallRegistry::SetRootKey(TRootKeys v) { FRootKey = v; }

std::string TCustomInstallRegistry::GetFullKey() { return WithoutTrailingBackslash(FKey); }

void TCustomInstallRegistry::ProcessHelpers() {
    {
        rt::TRegistry reg(RootKeyOf(static_cast<int>(RootKey())));
        const TRootKeys root = static_cast<TRootKeys>(static_cast<int>(RootKey()) & 0x7F);
        const std::vector<std::string> missing = MissingRegistryKeys(root, GetFullKey());
        if (!reg.OpenKey(GetFullKey(), true)) throw rt::Exception("Cannot open key");
        NoteCreatedRegistryKeys(root, missing);
        TInstallRegistry* self = InheritsFrom(TInstallRegistry::StaticClass()) ? static_cast<TInstallRegistry*>(this) : nullptr;
        for (int i = 0; i < FEntries->Count(); ++i) {
            std::string ident, value;
            if (!SplitEntry(FEntries->Strings(i), ident, value)) continue;
            bool carryOn = true;
            OnBeforeWriteEntry(self, ident, value, carryOn);
            if (!carryOn) continue;
            const std::string name = ExpandMetaVariables(ident, this), data = ExpandMetaVariables(value, this);
            reg.WriteString(name, data);
            LogLine("Registry " + GetFullKey() + "\\" + name + " = " + data);
        }
    }
    TBaseHelperComponent::ProcessHelpers();
}

void TCustomInstallRegistry::RecordUninstall(const std::string& uninstallKey) {
    const std::string u = AddBackslash(uninstallKey);
    const std::string list = u + "RegistryKeys";
    int n = 0;
    // A count that does not read as a number cannot say where the earlier records end;
    // counting from one again would write over them.
    if (!rt::TryStrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, list, "Entries", "0"), n) || n < 0)
        throw EIRCannotWriteValue(list);
    ++n;
    WriteRegistryString(TRootKeys::hkLocalMachine, list, "Entries", rt::IntToStr(n));
    const std::string record = list + "\\RegistryKey" + rt::IntToStr(n);
    WriteRegistryString(TRootKeys::hkLocalMachine, record, "Key", GetFullKey());
    WriteRegistryInteger(TRootKeys::hkLocalMachine, record, "Root", static_cast<int>(RootKey()) & 0x7F);
    // Every entry is listed, also one a handler skipped or changed while writing: the
    // uninstaller removes whatever may be there.
    for (int i = 0; i < FEntries->Count(); ++i) {
        std::string ident, value;
        if (!SplitEntry(FEntries->Strings(i), ident, value)) continue;
        WriteRegistryString(TRootKeys::hkLocalMachine, record + "\\Entries\\", ExpandMetaVariables(ident, this),
                            ExpandMetaVariables(value, this));
    }
}

// ---- TInstallRegistry ----

const rt::TClassInfo& TInstallRegistry::StaticClass() {
    static const rt::TClassInfo info = [] {
        using R = TInstallRegistry;
        std::vector<rt::TPropInfo> props = CommonProps();
        props.push_back(rt::AccessorProperty("InstallTypes", &TInstallContainer::InstallTypes, &TInstallContainer::SetInstallTypes));
        props.push_back(rt::AccessorProperty("KeySpecifierType", &R::KeySpecifierType, &R::SetKeySpecifierType));
        props.push_back(rt::AccessorProperty("ParentKey", &R::ParentKey, &R::SetParentKey));
        return rt::TClassInfo{"TInstallRegistry", &TCustomInstallRegistry::StaticClass(), rt::Factory<TInstallRegistry>(),
                              std::move(props), {}};
    }();
    return info;
}

TInstallRegistry::TInstallRegistry(rt::TComponent* owner) : TCustomInstallRegistry(owner) {}

void TInstallRegistry::SetKey(const std::string& v) {
    if (!IsLoading() && (FKeySpecifierType == TKeySpecifier::ksCompanyName || FKeySpecifierType == TKeySpecifier::ksProductName ||
                         FKeySpecifierType == TKeySpecifier::ksVersion)) {
        StoreKey("");
        return;
    }
    StoreKey(v);
}

TRootKeys TInstallRegistry::RootKey() const {
    if (!FParentKey) return TCustomInstallRegistry::RootKey();
    CheckParentChain();
    return FParentKey->RootKey();
}

void TInstallRegistry::CheckParentChain() const {
    std::vector<const TCustomInstallRegistry*> seen{this};
    for (const TCustomInstallRegistry* c = FParentKey; c && c->InheritsFrom(TInstallRegistry::StaticClass());
         c = static_cast<const TInstallRegistry*>(c)->FParentKey) {
        if (std::find(seen.begin(), seen.end(), c) != seen.end())
            throw rt::Exception("Cannot expand the Key of " + Name() + " because the ParentKey chain comes back to " + c->Name());
        seen.push_back(c);
    }
}

void TInstallRegistry::SetRootKey(TRootKeys v) {
    if (!IsLoading() && FParentKey) {
        StoreRootKey(FParentKey->RootKey());
        if (v != FParentKey->RootKey()) throw rt::Exception("Rootkey must be the same as the parent key's root key");
        return;
    }
    StoreRootKey(v);
}

void TInstallRegistry::SetKeySpecifierType(TKeySpecifier v) {
    if (IsLoading()) {
        FKeySpecifierType = v;
        return;
    }
    switch (v) {
    case TKeySpecifier::ksAbsolute:
        break;
    case TKeySpecifier::ksParentKeyKey:
        if (!FParentKey)
            throw rt::Exception("Cannot set the KeySpecifier property of " + Name() + " because the ParentKey property is Nil");
        break;
    case TKeySpecifier::ksCompanyName:
    case TKeySpecifier::ksProductName:
    case TKeySpecifier::ksVersion:
        if (!InstallRoot()) throw rt::Exception("There must be a TInstall component in your project");
        StoreKey("");
        StoreRootKey(TRootKeys::hkLocalMachine);
        break;
    default:
        throw rt::Exception("That path specifier is not allowed for the KeySpecifier property for " + Name());
    }
    FKeySpecifierType = v;
}

void TInstallRegistry::SetParentKey(TCustomInstallRegistry* v) {
    if (!IsLoading()) {
        for (TCustomInstallRegistry* c = v; c;) {
            if (!c->InheritsFrom(TInstallRegistry::StaticClass()))
                throw rt::Exception("There was something other than a TInstallRegistry component in the ParentKey chain");
            if (c == this) throw rt::Exception("Parent key cannot be the component");
            c = static_cast<TInstallRegistry*>(c)->FParentKey;
        }
    }
    FParentKey = v;
    if (!v && !IsLoading() && FKeySpecifierType == TKeySpecifier::ksParentKeyKey) FKeySpecifierType = TKeySpecifier::ksAbsolute;
}

std::string TInstallRegistry::GetFullKey() {
    auto information = [this]() -> TInstallInformation& {
        if (!InstallRoot()) throw rt::Exception("Cannot expand the Key of " + Name() + " because the there is no TInstall");
        return *InstallRoot()->Information();
    };
    switch (FKeySpecifierType) {
    case TKeySpecifier::ksAbsolute:
        return WithoutTrailingBackslash(Key());
    case TKeySpecifier::ksParentKeyKey:
        if (!FParentKey) throw rt::Exception("Cannot expand the Key of " + Name() + " because the ParentKey is Nil");
        CheckParentChain();
        return WithoutTrailingBackslash(WithoutTrailingBackslash(FParentKey->GetFullKey()) + Key());
    case TKeySpecifier::ksCompanyName:
        return "\\SOFTWARE\\" + information().CompanyName();
    case TKeySpecifier::ksProductName:
        return "\\SOFTWARE\\" + information().CompanyName() + "\\" + information().ProductName();
    case TKeySpecifier::ksVersion:
        return "\\SOFTWARE\\" + information().CompanyName() + "\\" + information().ProductName() + "\\" + information().Version();
    }
    throw rt::Exception("That path specifier is not allowed for the Key property for " + Name());
}

void TInstallRegistry::HelperDestroyed(TInstallContainer* component) {
    TCustomInstallRegistry::HelperDestroyed(component);
    if (component && component == FParentKey && !IsDestroying()) SetParentKey(nullptr);
}
