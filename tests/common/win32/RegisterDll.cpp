// A self-registering test library: DllRegisterServer notes in the registry that it ran,
// under the library's own path, so tests see registration happen for real.
#include <windows.h>

namespace {
HMODULE gSelf = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) gSelf = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(gSelf, path, MAX_PATH);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\BrevSetupTest\\Registered", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const DWORD library = 0;
    RegSetValueExW(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&library), sizeof library);
    RegCloseKey(key);
    return S_OK;
}
