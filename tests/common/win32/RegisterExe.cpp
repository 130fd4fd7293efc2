// A self-registering test program: started with /REGSERVER it notes in the registry that it
// ran, under its own path; otherwise it ends at once.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (!commandLine || !std::strstr(commandLine, "/REGSERVER")) return 0;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\BrevSetupTest\\Registered", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    const DWORD program = 1;
    RegSetValueExW(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&program), sizeof program);
    RegCloseKey(key);
    return 0;
}
