// Uninstall.exe: removes what setup recorded for a product (docs/uninstall-record.md).
//   Uninstall.exe <product name> [/s | /SILENT | /VERYSILENT] [/LOG=file]
// Asks first unless silent. Shared libraries counted in SharedDLLs lose one count and stay
// while others still use them; libraries and programs registered as ActiveX are
// unregistered before they go; the registry entries setup wrote are removed value by value,
// and the keys setup created when they are empty; the help registrations go; folders setup
// made go when empty; a system library the add-on replaced is put back at the next restart.
// Files that may hold the user's own work stay unless the user agrees (never when silent),
// and the uninstaller says what it kept. The record itself goes last.
// Exit codes: 0 removed, 3010 removed with files waiting for the restart, 2 not confirmed,
// 1 not installed or no product named.
#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/SystemLibraries.h"

namespace {

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kHelpKey[] = L"SOFTWARE\\Microsoft\\Windows\\Help";
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER, HKEY_DYN_DATA, HKEY_LOCAL_MACHINE, HKEY_USERS};

// What the run did, a line each, when /LOG= asks for it; UTF-8.
class Log {
public:
    void Open(const std::wstring& path) {
        FFile = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~Log() {
        if (FFile != INVALID_HANDLE_VALUE) CloseHandle(FFile);
    }
    void Line(const std::wstring& text) {
        if (FFile == INVALID_HANDLE_VALUE) return;
        SYSTEMTIME t;
        GetLocalTime(&t);
        wchar_t stamp[32];
        wsprintfW(stamp, L"%02u:%02u:%02u.%03u  ", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
        const std::wstring line = stamp + text + L"\r\n";
        const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr, nullptr);
        DWORD written = 0;
        WriteFile(FFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

private:
    HANDLE FFile = INVALID_HANDLE_VALUE;
};
Log gLog;
const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::wstring ReadString(HKEY key, const std::wstring& name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return L"";
    return buffer;
}

// The "File1", "File2", ... (or "Item1", ...) of a list, as many as its "Entries" says.
std::vector<std::wstring> ListEntries(HKEY record, const std::wstring& list, const wchar_t* prefix = L"File") {
    std::vector<std::wstring> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(record, list.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return entries;
    const int count = _wtoi(ReadString(key, L"Entries").c_str());
    for (int i = 1; i <= count; ++i) {
        const std::wstring path = ReadString(key, prefix + std::to_wstring(i));
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
    DWORD root = 4, size = sizeof root;
    RegQueryValueExW(entry, L"Root", nullptr, nullptr, reinterpret_cast<BYTE*>(&root), &size);
    std::wstring path = ReadString(entry, L"Key");
    while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
    HKEY values = nullptr, target = nullptr;
    if (root < 6 && !path.empty() && RegOpenKeyExW(entry, L"Entries", 0, KEY_READ, &values) == ERROR_SUCCESS &&
        RegOpenKeyExW(kRoots[root], path.c_str(), 0, KEY_READ | KEY_WRITE, &target) == ERROR_SUCCESS) {
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
        if (subkeys == 0 && remaining == 0) RegDeleteKeyW(kRoots[root], path.c_str());
    }
    if (values) RegCloseKey(values);
    RegCloseKey(entry);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::pair<std::wstring, std::wstring> SplitAtSemicolon(const std::wstring& item) {
    const std::size_t semicolon = item.find(L';');
    if (semicolon == std::wstring::npos) return {item, L""};
    return {item.substr(0, semicolon), item.substr(semicolon + 1)};
}

// A key setup created goes once nothing is left in it: another program may have put its own
// values there since.
void RemoveCreatedKey(const std::wstring& item) {
    auto [root, path] = SplitAtSemicolon(item);
    const int index = _wtoi(root.c_str());
    while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
    if (index < 0 || index > 5 || path.empty()) return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(kRoots[index], path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD subkeys = 0, values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (subkeys == 0 && values == 0 && RegDeleteKeyW(kRoots[index], path.c_str()) == ERROR_SUCCESS) gLog.Line(L"Key removed: " + path);
}

// Only while the registration still points at the folder setup gave it.
void RemoveHelpRegistration(const std::wstring& item) {
    const auto [name, folder] = SplitAtSemicolon(item);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kHelpKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (_wcsicmp(ReadString(key, name).c_str(), folder.c_str()) == 0 && RegDeleteValueW(key, name.c_str()) == ERROR_SUCCESS)
        gLog.Line(L"Help registration removed: " + name);
    RegCloseKey(key);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: the uninstaller runs elevated from the product's folder.
    os::win32::RestrictDllSearch();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    // The product name may have arrived split at blanks; the switches are never part of it.
    std::wstring product;
    // The uninstaller shows no progress: both silent modes show nothing.
    bool silent = false;
    for (int i = 1; argv && i < argc; ++i) {
        if (_wcsicmp(argv[i], L"/s") == 0 || _wcsicmp(argv[i], L"/SILENT") == 0) silent = true;
        else if (_wcsicmp(argv[i], L"/VERYSILENT") == 0) silent = true;
        else if (_wcsnicmp(argv[i], L"/LOG=", 5) == 0) gLog.Open(argv[i] + 5);
        else product += (product.empty() ? L"" : L" ") + std::wstring(argv[i]);
    }
    if (product.empty()) {
        if (!silent) MessageBoxW(nullptr, L"Start the uninstaller from the list of installed programs.", L"Uninstall", MB_OK);
        return 1;
    }
    const std::wstring recordPath = kUninstallRoot + product;
    HKEY record = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, recordPath.c_str(), 0, KEY_READ, &record) != ERROR_SUCCESS) {
        gLog.Line(product + L" is not installed.");
        if (!silent) MessageBoxW(nullptr, (product + L" is not installed.").c_str(), L"Uninstall", MB_OK);
        return 1;
    }
    if (!silent &&
        MessageBoxW(nullptr, (L"Remove " + product + L" and all of its components?").c_str(), L"Uninstall",
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        RegCloseKey(record);
        return 2;
    }
    gLog.Line(L"Removing " + product);

    for (const std::wstring& entry : ListEntries(record, L"ActiveX")) {
        if (Exists(SplitAtSemicolon(entry).first)) Unregister(entry);
    }
    // Every installation appended to the lists: each file once.
    std::vector<std::wstring> files;
    for (int n = 0;; ++n) {
        const std::wstring list = n == 0 ? L"Files" : L"Files" + std::to_wstring(n);
        HKEY probe = nullptr;
        if (RegOpenKeyExW(record, list.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) break;
        RegCloseKey(probe);
        for (const std::wstring& f : ListEntries(record, list)) {
            bool seen = false;
            for (const std::wstring& g : files) seen = seen || _wcsicmp(f.c_str(), g.c_str()) == 0;
            if (!seen) files.push_back(f);
        }
    }
    for (const std::wstring& entry : ListEntries(record, L"ActiveX")) files.push_back(SplitAtSemicolon(entry).first);
    int shared = 0;
    bool restart = false;
    for (const std::wstring& file : files) {
        if (!ReleaseShared(file)) {
            ++shared;
            gLog.Line(L"Still used by other programs, kept: " + file);
            continue;
        }
        // Gone already (an earlier installation's entry, a file the run replaced): nothing to do.
        if (!Exists(file)) continue;
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileW(file.c_str())) {
            gLog.Line(L"Deleted " + file);
        } else if (MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            restart = true;
            gLog.Line(L"In use, deleted at the restart: " + file);
        }
        RemoveEmptyFolders(file);
    }

    // The user's own work stays unless the user says otherwise; never when nobody is asked.
    std::vector<std::wstring> data;
    for (const std::wstring& file : ListEntries(record, L"UserData", L"Item"))
        if (Exists(file)) data.push_back(file);
    bool removeData = false;
    if (!data.empty() && !silent) {
        std::wstring question = L"These files may hold your own work:\n";
        for (const std::wstring& file : data) question += L"\n" + file;
        question += L"\n\nRemove them too?";
        removeData = MessageBoxW(nullptr, question.c_str(), L"Uninstall", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }
    for (const std::wstring& file : data) {
        if (removeData && DeleteFileW(file.c_str())) {
            gLog.Line(L"Deleted " + file);
            RemoveEmptyFolders(file);
        } else {
            gLog.Line(L"Kept the user's data: " + file);
        }
    }

    for (const std::wstring& item : ListEntries(record, L"HelpFiles", L"Item")) RemoveHelpRegistration(item);
    // The library the add-on replaced goes back in place at the next restart.
    for (const std::wstring& item : ListEntries(record, L"RestoreAtRestart", L"Item")) {
        const auto [kept, own] = SplitAtSemicolon(item);
        if (!Exists(kept)) continue;
        if (MoveFileExW(kept.c_str(), own.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
            restart = true;
            gLog.Line(L"Put back at the restart: " + own);
        }
    }
    HKEY keys = nullptr;
    if (RegOpenKeyExW(record, L"RegistryKeys", 0, KEY_READ, &keys) == ERROR_SUCCESS) {
        const int count = _wtoi(ReadString(keys, L"Entries").c_str());
        RegCloseKey(keys);
        for (int i = 1; i <= count; ++i) RemoveRegistryKey(record, L"RegistryKey" + std::to_wstring(i));
    }
    // Inner before outer: the lists hold the outer first.
    const std::vector<std::wstring> folders = ListEntries(record, L"Folders", L"Item");
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        if (RemoveDirectoryW(it->c_str())) gLog.Line(L"Folder removed: " + *it);
    const std::vector<std::wstring> created = ListEntries(record, L"CreatedKeys", L"Item");
    RegCloseKey(record);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, recordPath.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it) RemoveCreatedKey(*it);

    // The uninstaller is not in its own list: it goes at the next restart, with its folder
    // when that is empty by then.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    std::wstring folder = self;
    folder.resize(folder.find_last_of(L'\\'));
    MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    gLog.Line(L"The uninstaller and its folder go at the next restart");

    std::wstring done = product + L" was removed.";
    if (shared) done += L" Shared components still used by other programs were kept.";
    if (!data.empty() && !removeData) {
        done += L" Your own files were kept:\n";
        for (const std::wstring& file : data) done += L"\n" + file;
    }
    gLog.Line(done);
    if (!silent) MessageBoxW(nullptr, done.c_str(), L"Uninstall", MB_OK | MB_ICONINFORMATION);
    return restart ? 3010 : 0;
}
