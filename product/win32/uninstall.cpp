// Uninstall.exe: removes what setup recorded for a product (docs/uninstall-record.md).
//   Uninstall.exe <product name> [/s]
// Asks first unless /s is given. Shared libraries counted in SharedDLLs lose one count and
// stay while others still use them; libraries and programs registered as ActiveX are
// unregistered before they go; the registry entries setup wrote are removed value by value
// and their keys when empty; folders left empty go too. The record itself goes last.
#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "platform/win32/SystemLibraries.h"

namespace {

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::wstring ReadString(HKEY key, const std::wstring& name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return L"";
    return buffer;
}

// The "File1", "File2", ... of a list, as many as its "Entries" says.
std::vector<std::wstring> ListEntries(HKEY record, const std::wstring& list) {
    std::vector<std::wstring> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(record, list.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return entries;
    const int count = _wtoi(ReadString(key, L"Entries").c_str());
    for (int i = 1; i <= count; ++i) {
        const std::wstring path = ReadString(key, L"File" + std::to_wstring(i));
        if (!path.empty()) entries.push_back(path);
    }
    RegCloseKey(key);
    return entries;
}

// False while other programs still count on the library: its count only goes down.
bool ReleaseShared(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return true;
    DWORD count = 0, size = sizeof count, type = 0;
    bool release = true;
    if (RegQueryValueExW(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) == ERROR_SUCCESS &&
        type == REG_DWORD) {
        if (count > 1) {
            --count;
            RegSetValueExW(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
            release = false;
        } else {
            RegDeleteValueW(key, path.c_str());
        }
    }
    RegCloseKey(key);
    return release;
}

void Unregister(const std::wstring& entry) {
    const std::size_t semicolon = entry.rfind(L';');
    const std::wstring path = entry.substr(0, semicolon);
    const bool program = semicolon != std::wstring::npos && entry.substr(semicolon + 1) == L"1";
    if (program) {
        std::wstring command = L"\"" + path + L"\" /UNREGSERVER";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            WaitForSingleObject(pi.hProcess, 30000);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        return;
    }
    if (HMODULE library = os::win32::LoadLibraryAt(path)) {
        using Entry = HRESULT(STDAPICALLTYPE*)();
        if (auto call = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer")))) call();
        FreeLibrary(library);
    }
}

void RemoveEmptyFolders(std::wstring path) {
    for (;;) {
        const std::size_t slash = path.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < 3) return;
        path.resize(slash);
        if (!RemoveDirectoryW(path.c_str())) return;
    }
}

// The values one registry entries component wrote, and its key once nothing else is in it.
void RemoveRegistryKey(HKEY record, const std::wstring& name) {
    HKEY entry = nullptr;
    if (RegOpenKeyExW(record, (L"RegistryKeys\\" + name).c_str(), 0, KEY_READ, &entry) != ERROR_SUCCESS) return;
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
                                 HKEY_DYN_DATA,     HKEY_LOCAL_MACHINE,  HKEY_USERS};
    DWORD root = 4, size = sizeof root;
    RegQueryValueExW(entry, L"Root", nullptr, nullptr, reinterpret_cast<BYTE*>(&root), &size);
    std::wstring path = ReadString(entry, L"Key");
    while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
    HKEY values = nullptr, target = nullptr;
    if (root < 6 && !path.empty() && RegOpenKeyExW(entry, L"Entries", 0, KEY_READ, &values) == ERROR_SUCCESS &&
        RegOpenKeyExW(roots[root], path.c_str(), 0, KEY_READ | KEY_WRITE, &target) == ERROR_SUCCESS) {
        wchar_t valueName[512];
        for (DWORD i = 0;; ++i) {
            DWORD length = 512;
            if (RegEnumValueW(values, i, valueName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            RegDeleteValueW(target, valueName);
        }
        DWORD subkeys = 0, remaining = 0;
        RegQueryInfoKeyW(target, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &remaining, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(target);
        if (subkeys == 0 && remaining == 0) RegDeleteKeyW(roots[root], path.c_str());
    }
    if (values) RegCloseKey(values);
    RegCloseKey(entry);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: the uninstaller runs elevated from the product's folder.
    os::win32::RestrictDllSearch();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        MessageBoxW(nullptr, L"Start the uninstaller from the list of installed programs.", L"Uninstall", MB_OK);
        return 2;
    }
    // The product name may have arrived split at blanks; /s is never part of it.
    std::wstring product;
    bool silent = false;
    for (int i = 1; i < argc; ++i) {
        if (_wcsicmp(argv[i], L"/s") == 0) silent = true;
        else product += (product.empty() ? L"" : L" ") + std::wstring(argv[i]);
    }
    const std::wstring recordPath = kUninstallRoot + product;
    HKEY record = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, recordPath.c_str(), 0, KEY_READ, &record) != ERROR_SUCCESS) {
        if (!silent) MessageBoxW(nullptr, (product + L" is not installed.").c_str(), L"Uninstall", MB_OK);
        return 1;
    }
    if (!silent &&
        MessageBoxW(nullptr, (L"Remove " + product + L" and all of its components?").c_str(), L"Uninstall",
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        RegCloseKey(record);
        return 1;
    }

    for (const std::wstring& entry : ListEntries(record, L"ActiveX")) Unregister(entry);
    std::vector<std::wstring> files;
    for (int n = 0;; ++n) {
        const std::wstring list = n == 0 ? L"Files" : L"Files" + std::to_wstring(n);
        HKEY probe = nullptr;
        if (RegOpenKeyExW(record, list.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) break;
        RegCloseKey(probe);
        for (const std::wstring& f : ListEntries(record, list)) files.push_back(f);
    }
    int kept = 0;
    for (const std::wstring& file : files) {
        if (!ReleaseShared(file)) {
            ++kept;
            continue;
        }
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);  // in use: at the next restart
        RemoveEmptyFolders(file);
    }
    HKEY keys = nullptr;
    if (RegOpenKeyExW(record, L"RegistryKeys", 0, KEY_READ, &keys) == ERROR_SUCCESS) {
        const int count = _wtoi(ReadString(keys, L"Entries").c_str());
        RegCloseKey(keys);
        for (int i = 1; i <= count; ++i) RemoveRegistryKey(record, L"RegistryKey" + std::to_wstring(i));
    }
    RegCloseKey(record);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, recordPath.c_str());

    // The uninstaller is not in its own list: it goes at the next restart, with its folder.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!silent) {
        std::wstring done = product + L" was removed.";
        if (kept) done += L" Shared components still used by other programs were kept.";
        MessageBoxW(nullptr, done.c_str(), L"Uninstall", MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
