// Entry of setup.exe: the real platform and real windows, then the common program entry.
#include <windows.h>

#include <string>

#include "app/Main.h"
#include "app/StringTable.h"
#include "app/win32/ResourceStrings.h"
#include "engine/SetupOptions.h"
#include "engine/SetupState.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/win32/Win32Backend.h"

void BrevRegisterEmbeddedResources();

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: setup runs elevated from wherever it was downloaded.
    os::win32::RestrictDllSearch();
    BrevRegisterEmbeddedResources();
    os::Win32Platform platform;
    os::ScopedPlatform usePlatform(platform);
    rt::TWin32Backend backend;
    backend.SetWindowsHidden(ParseSetupOptions(platform.CommandLineArgs()).Ui == TUiLevel::uiVerySilent);
    rt::SetBackend(&backend);
    SetStringSource(&ResourceString);
    int code = kExitFailure;
    try {
        code = SetupMain([](rt::TApplication& app) { rt::InstallWin32ExceptionBox(app); });
    } catch (const std::exception& e) {
        // Nothing is up yet to show it (the engine could not start): say it plainly, unless
        // nobody is there to read it.
        if (SetupOptions().Unattended()) return code;
        const std::u16string text = rt::Utf8ToUtf16(e.what());
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Brevanshaw ! Setup", MB_ICONERROR | MB_OK);
    }
    rt::SetBackend(nullptr);
    return code;
}
