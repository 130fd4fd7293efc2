// The uninstaller file; see cmp_TUninstallEXE.h.
#include "system/cmp_TUninstallEXE.h"

#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"

const rt::TClassInfo& TUninstallEXE::StaticClass() {
    static const rt::TClassInfo info{"TUninstallEXE", &TInstallFile::StaticClass(), rt::Factory<TUninstallEXE>(), {}, {}};
    return info;
}

TUninstallEXE::TUninstallEXE(rt::TComponent* owner) : TInstallFile(owner) {}

void TUninstallEXE::RecordUninstall(const std::string& uninstallKey) {
    if (!InstallRoot())
        throw rt::Exception("Cannot write installation information for " + Name() + " because there is no TInstall");
    const std::string product = InstallRoot()->Information()->ProductName();
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "DisplayName", product);
    // The system runs this command line as it stands: quoted, a folder with blanks cannot
    // make it start another program ("C:\Program.exe").
    std::string command(1, '"');
    command += AddBackslash(GetDestDir());
    command += DestName();
    command += "\" ";
    command += product;
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "UninstallString", command);
}
