// Writes a product key and its uninstall record through the registry entries component on
// the real registry, so that an independent reader can check what landed there.
//   registry_probe <product name>
#include <cstdio>
#include <string>

#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/Forms.h"
#include "system/cmp_TInstallRegistry.h"
#include "tests/common/ProductRoot.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    os::Win32Platform platform;
    os::ScopedPlatform use(platform);
    try {
        InitEngineDirectories();
        auto* form = new rt::TForm(nullptr);
        auto* root = NewProductRoot(form, argv[1], "C:\\Brevanshaw");
        for (int i = 0; i < 2; ++i) {
            auto* reg = new TInstallRegistry(form);
            reg->SetName("InstallRegistry" + std::to_string(i + 1));
            reg->SetContainer(root);
            reg->SetKey("\\SOFTWARE\\Halvernock\\" + std::string(argv[1]) + (i == 0 ? "\\1.0" : "\\Extra"));
            rt::TStringList entries{"InstallDir=%i", "A=B=C", "=default text", "no equals sign", "Quote=say \"hi\" \\ bye"};
            if (i == 1) entries.SetLines({"Only=one"});
            reg->SetEntries(entries);
        }
        root->ProcessHelpers();
        form->Free();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "registry_probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
