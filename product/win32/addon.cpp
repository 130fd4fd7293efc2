// The add-on library. Setup recognises an installed add-on by its export ComDlgVerInfo; the
// system library's own exports pass on to it under its new name (addon.def).
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

// The add-on's version as major * 100 + minor.
extern "C" DWORD WINAPI ComDlgVerInfo(void) { return 100; }
