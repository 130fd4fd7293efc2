// Entry of setup.exe: the real platform and real windows, then the common program entry.
#include <windows.h>

#include "app/Main.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/win32/Win32Backend.h"

void BrevRegisterEmbeddedResources();

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    BrevRegisterEmbeddedResources();
    os::Win32Platform platform;
    os::ScopedPlatform usePlatform(platform);
    rt::TWin32Backend backend;
    rt::SetBackend(&backend);
    const int code = SetupMain();
    rt::SetBackend(nullptr);
    return code;
}
