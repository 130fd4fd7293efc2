// Registry entries of the product: a key and "name=value" lines written when the
// component is processed.
#pragma once

#include "engine/cmp_TInstallContainer.h"

class TCustomInstallRegistry : public TBaseHelperComponent {
    RT_CLASS(TCustomInstallRegistry, TBaseHelperComponent)
public:
    explicit TCustomInstallRegistry(rt::TComponent* owner);
    ~TCustomInstallRegistry() override;

    const std::string& Key() const { return FKey; }
    virtual void SetKey(const std::string& v) { FKey = v; }
    rt::TStrings* Entries() const { return FEntries; }
    void SetEntries(const rt::TStrings& v) { FEntries->Assign(v); }

private:
    std::string FKey;
    rt::TStringList* FEntries;
};

class TInstallRegistry : public TCustomInstallRegistry {
    RT_CLASS(TInstallRegistry, TCustomInstallRegistry)
public:
    explicit TInstallRegistry(rt::TComponent* owner);
};
