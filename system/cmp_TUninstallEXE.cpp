// The uninstaller file; see cmp_TUninstallEXE.h.
#include "system/cmp_TUninstallEXE.h"

#include <algorithm>

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

    // What the system's list of installed programs shows beside the name.
    const TInstallInformation* info = InstallRoot()->Information();
    const std::string location = RemoveBackslash(InstallRoot()->DestDir());
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "Publisher", info->CompanyName());
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "DisplayVersion", info->Version());
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "InstallLocation", location);
    WriteRegistryString(TRootKeys::hkLocalMachine, uninstallKey, "DisplayIcon", AddBackslash(GetDestDir()) + DestName() + ",0");
    const std::int64_t kilobytes = (InstallRoot()->FileBytes(false) + 1023) / 1024;
    WriteRegistryInteger(TRootKeys::hkLocalMachine, uninstallKey, "EstimatedSize", static_cast<std::int32_t>(std::min<std::int64_t>(kilobytes, 0x7FFFFFFF)));
    // Setup has no maintenance mode: the list offers removal only.
    WriteRegistryInteger(TRootKeys::hkLocalMachine, uninstallKey, "NoModify", 1);
    WriteRegistryInteger(TRootKeys::hkLocalMachine, uninstallKey, "NoRepair", 1);
}
