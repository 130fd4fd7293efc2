// Registry entries; see cmp_TInstallRegistry.h.
#include "system/cmp_TInstallRegistry.h"

const rt::TClassInfo& TCustomInstallRegistry::StaticClass() {
    static const rt::TClassInfo info{"TCustomInstallRegistry", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

TCustomInstallRegistry::TCustomInstallRegistry(rt::TComponent* owner)
    : TBaseHelperComponent(owner), FEntries(new rt::TStringList) {
    SetOrdered(true);
    SetOrderNumber(kOrderRegistry);
}

TCustomInstallRegistry::~TCustomInstallRegistry() { delete FEntries; }

const rt::TClassInfo& TInstallRegistry::StaticClass() {
    using R = TCustomInstallRegistry;
    static const rt::TClassInfo info{"TInstallRegistry", &TCustomInstallRegistry::StaticClass(), rt::Factory<TInstallRegistry>(),
                                     {rt::StringsProperty("Entries", &R::Entries, &R::SetEntries),
                                      rt::AccessorProperty("Key", &R::Key, &R::SetKey)},
                                     {}};
    return info;
}

TInstallRegistry::TInstallRegistry(rt::TComponent* owner) : TCustomInstallRegistry(owner) {}
