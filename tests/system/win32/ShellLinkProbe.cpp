// Makes the product's program folder and shortcuts on the real shell under Wine, twice, and a
// Program Manager group through DDE, so that independent tools can read back what landed:
//   shelllink_probe <product name>
// prints "LINK <path>" for every shortcut file and "GROUP <name>" for every group listed.
#include <cstdio>
#include <string>

#include "archive/BlockIO.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/Forms.h"
#include "system/cmp_TInstallShellLink.h"
#include "system/cmp_TProgramManager.h"
#include "system/cmp_TUninstallEXE.h"
#include "tests/common/ProductRoot.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string product = argv[1];
    os::Win32Platform platform;
    os::ScopedPlatform use(platform);
    try {
        InitEngineDirectories();
        auto* form = new rt::TForm(nullptr);
        auto* root = NewProductRoot(form, product, "C:\\" + product);
        auto* program = new TInstallFile(form);
        program->SetName("File1");
        program->SetFileName("Viewer.exe");
        program->SetDestName("Viewer.exe");
        program->SetContainer(root);
        auto* uninstaller = new TUninstallEXE(form);
        uninstaller->SetName("UninstallEXE1");
        uninstaller->SetFileName("Uninstall.exe");
        uninstaller->SetDestName("Uninstall.exe");
        uninstaller->SetContainer(root);
        // The targets exist, as they would after the files were copied.
        ForceDirectories(platform, root->GetDestDir());
        for (const char* name : {"\\Viewer.exe", "\\Uninstall.exe"})
            platform.OpenFile(root->GetDestDir() + name, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);

        auto* folder = new TShellLinkGroup(form);
        folder->SetName("MainFolder1");
        folder->SetContainer(root);
        folder->SetGroupKind(TShellGroupKind::gkMainFolder);
        folder->SetDestDir("\\" + product);
        int number = 1;
        for (TInstallFile* target : {program, static_cast<TInstallFile*>(uninstaller)}) {
            auto* link = new TInstallShellLink(form);
            link->SetName("ShellLink" + std::to_string(number++));
            link->SetContainer(folder);
            link->SetObjectLink(target);
            link->SetLinkKind(TShellLinkKind::lkLinkInMainFolder);
            link->SetParameters("/open %i\\Readme.doc");
            std::printf("LINK %s\n", (AddBackslash(link->GetDestDir()) + link->LinkName()).c_str());
        }
        folder->Process();
        folder->Process();  // a second run on the same machine

        TProgramManager& manager = ProgramManager();
        manager.CreateGroup(product + " Group");
        rt::TStringList groups;
        manager.GetGroups(groups);
        for (int i = 0; i < groups.Count(); ++i) std::printf("GROUP %s\n", groups.Strings(i).c_str());
        ReleaseProgramManager();
        form->Free();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "shelllink_probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
