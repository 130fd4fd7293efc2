// The product's uninstall program: installed like any other file, and the one that enters
// the product in the system's list of removable programs (its name and its command).
#pragma once

#include "engine/cmp_TInstallFile.h"

class TUninstallEXE : public TInstallFile {
    RT_CLASS(TUninstallEXE, TInstallFile)
public:
    explicit TUninstallEXE(rt::TComponent* owner);

    // Writes "DisplayName" and "UninstallString" under the uninstall key, instead of a
    // "Files" entry for itself.
    void RecordUninstall(const std::string& uninstallKey) override;
};
