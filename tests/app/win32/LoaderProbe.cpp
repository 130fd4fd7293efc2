// Stands in for the setup program in the loader's test: writes the command line it was given,
// its own folder and what lies beside it into probe.txt in the folder named by its
// first argument (the distribution's folder), and the switches after it, then exits with 3.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 10;
    std::wstring switches;
    for (int i = 2; i < argc; ++i) switches += (i > 2 ? L"|" : L"") + std::wstring(argv[i]);
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    const std::wstring beside = folder + L"\\presetup.txt";
    const bool presetup = GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES;
    FILE* f = _wfopen((std::wstring(argv[1]) + L"\\probe.txt").c_str(), L"w");
    if (!f) return 11;
    std::fwprintf(f, L"source=%ls\nfolder=%ls\npresetup=%ls\nswitches=%ls\n", argv[1], folder.c_str(), presetup ? L"yes" : L"no",
                  switches.c_str());
    std::fclose(f);
    return 3;
}
