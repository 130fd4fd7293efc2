// Registry entries of the product: "name=value" lines written into one key when the run
// reaches the component, and recorded in the product's uninstall record. The shared
// single-value registry functions and the root keys come with engine/routines_Registry.h.
#pragma once

#include <cstdint>
#include <string>

#include "engine/cmp_TInstallContainer.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"

enum class TKeySpecifier { ksAbsolute, ksParentKeyKey, ksCompanyName, ksProductName, ksVersion };

RT_DECLARE_ENUM(TKeySpecifier)

class TInstallRegistry;

using TBeforeWriteEntry =
    rt::TEvent<TInstallRegistry* /*InstallRegistry*/, std::string& /*Ident*/, std::string& /*Value*/, bool& /*Continue*/>;

class TCustomInstallRegistry : public TBaseHelperComponent {
    RT_CLASS(TCustomInstallRegistry, TBaseHelperComponent)
public:
    explicit TCustomInstallRegistry(rt::TComponent* owner);
    ~TCustomInstallRegistry() override;

    rt::TStrings* Entries() const { return FEntries; }
    void SetEntries(const rt::TStrings& v) { FEntries->Assign(v); }
    const std::string& Key() const { return FKey; }
    virtual void SetKey(const std::string& v) { FKey = v; }
    // The stored root; a component under a parent key reads the parent's.
    virtual TRootKeys RootKey() const { return FRootKey; }
    virtual void SetRootKey(TRootKeys v);
    // The full key path the entries go to.
    virtual std::string GetFullKey();

    TBeforeWriteEntry OnBeforeWriteEntry;

    void ProcessHelpers() override;
    void RecordUninstall(const std::string& uninstallKey) override;

protected:
    void StoreKey(const std::string& v) { FKey = v; }
    void StoreRootKey(TRootKeys v) { FRootKey = v; }
    static std::vector<rt::TPropInfo> CommonProps();

private:
    rt::TStringList* FEntries;
    std::string FKey = "\\SOFTWARE\\MyStuff";
    TRootKeys FRootKey = TRootKeys::hkLocalMachine;
};

class TInstallRegistry : public TCustomInstallRegistry {
    RT_CLASS(TInstallRegistry, TCustomInstallRegistry)
public:
    explicit TInstallRegistry(rt::TComponent* owner);

    // Cleared when the key is derived from the product information.
    void SetKey(const std::string& v) override;
    TRootKeys RootKey() const override;
    void SetRootKey(TRootKeys v) override;
    TKeySpecifier KeySpecifierType() const { return FKeySpecifierType; }
    void SetKeySpecifierType(TKeySpecifier v);
    TCustomInstallRegistry* ParentKey() const { return FParentKey; }
    void SetParentKey(TCustomInstallRegistry* v);
    std::string GetFullKey() override;

    void HelperDestroyed(TInstallContainer* component) override;

private:
    TKeySpecifier FKeySpecifierType = TKeySpecifier::ksAbsolute;
    // Raises the key error when the parent chain, set while loading unchecked, runs in a
    // circle: following it would never end.
    void CheckParentChain() const;

    TCustomInstallRegistry* FParentKey = nullptr;
};
