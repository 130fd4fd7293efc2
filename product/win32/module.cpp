// A product library: it carries its version resource and answers what it is.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

extern "C" __declspec(dllexport) const char* WINAPI BrevModuleDescription(void) { return BREV_DESCRIPTION; }
