// The add-on library. Setup recognises an installed add-on by its export ComDlgVerInfo.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

// The add-on's version as major * 100 + minor.
extern "C" __declspec(dllexport) DWORD WINAPI ComDlgVerInfo(void) { return 100; }
