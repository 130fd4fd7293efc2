// Registration of the engine's component classes for descriptions.
#include "engine/InstallClasses.h"

#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"

void RegisterInstallClasses() {
    rt::RegisterClasses({&TInstall::StaticClass(), &TInstallFileGroup::StaticClass(), &TInstallFile::StaticClass()});
}
