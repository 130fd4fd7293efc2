// The Files lists of the uninstall record; see routines_UninstallRecord.h.
#include "system/routines_UninstallRecord.h"

#include "engine/routines_ExpandPaths.h"
#include "runtime/Registry.h"
#include "system/cmp_TInstallRegistry.h"

std::string UninstallFileListKey(const std::string& uninstallKey, int attempt) {
    return AddBackslash(uninstallKey) + "Files" + (attempt > 0 ? rt::IntToStr(attempt) : std::string());
}

void RecordUninstallFile(const std::string& uninstallKey, const std::string& path) {
    std::string list;
    for (int attempt = 0; attempt < kUninstallFileListTries; ++attempt) {
        list = UninstallFileListKey(uninstallKey, attempt);
        {
            // When the key cannot be made at all, no later list can be either.
            rt::TRegistry reg(os::RootKey::LocalMachine);
            if (!reg.OpenKey(list, true)) throw EIRCannotWriteValue(list);
        }
        int n = 0;
        if (!rt::TryStrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, list, "Entries", "0"), n)) continue;
        ++n;
        try {
            WriteRegistryString(TRootKeys::hkLocalMachine, list, "File" + rt::IntToStr(n), path);
        } catch (const EIRCannotWriteValue&) {
            continue;
        }
        WriteRegistryString(TRootKeys::hkLocalMachine, list, "Entries", rt::IntToStr(n));
        return;
    }
    throw EIRCannotWriteValue(list);
}
