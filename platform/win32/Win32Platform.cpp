// IPlatform on real Windows through the wide API. Paths and strings cross as UTF-8 and are
// converted to UTF-16 here; handles are owned by small RAII holders so no path leaks one.
#include "platform/win32/Win32Platform.h"

#include "platform/PeVersion.h"
#include "platform/win32/SystemLibraries.h"

#include "runtime/SysUtils.h"

#include <windows.h>
#include <ddeml.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

// <windows.h> maps these names to their A/W variants; the methods keep their own names.
#undef GetFileAttributes
#undef SetFileAttributes
#undef CreateDirectory
#undef RemoveDirectory
#undef DeleteFile
#undef MoveFile
#undef CopyFile
#undef GetDiskFreeSpace
#undef GetTempPath
#undef GetTempFileName
#undef GetShortPathName
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef LoadKeyboardLayout
#undef RegOpenKey
#undef RegCreateKey
#undef RegQueryValue
#undef RegSetValue
#undef RegDeleteValue
#undef RegDeleteTree
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef FindWindow
#undef SendMessage
#undef SendMessageTimeout
#undef GetFileVersionInfo
#undef WriteProfileString
#undef GetProfileString
#undef VerFindFile
#undef VerInstallFile
#undef MessageBox

namespace os {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API takes UTF-16");

std::wstring Wide(std::string_view utf8) {
    const std::u16string u = rt::Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string Narrow(const wchar_t* s, std::size_t length) {
    return rt::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(s), length));
}

std::string Narrow(const wchar_t* s) { return Narrow(s, std::wcslen(s)); }

// Owns a kernel handle; INVALID_HANDLE_VALUE and null both mean none.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE h = nullptr) : FHandle(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle && FHandle != INVALID_HANDLE_VALUE; }
    void Reset() {
        if (Valid()) ::CloseHandle(FHandle);
        FHandle = nullptr;
    }

private:
    HANDLE FHandle;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : FHandle(h) {}
    ~FindHandle() {
        if (FHandle != INVALID_HANDLE_VALUE) ::FindClose(FHandle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE Get() const { return FHandle; }

private:
    HANDLE FHandle;
};

class RegKeyHolder {
public:
    RegKeyHolder() = default;
    ~RegKeyHolder() {
        if (FKey) ::RegCloseKey(FKey);
    }
    RegKeyHolder(const RegKeyHolder&) = delete;
    RegKeyHolder& operator=(const RegKeyHolder&) = delete;
    HKEY* Out() { return &FKey; }
    HKEY Get() const { return FKey; }

private:
    HKEY FKey = nullptr;
};

FileTime FromFiletime(const FILETIME& ft) { return (FileTime(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

FILETIME ToFiletime(FileTime t) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RootKey::Users: return HKEY_USERS;
        case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
        case RootKey::DynData: return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

HKEY AsHkey(IPlatform::KeyHandle key) { return reinterpret_cast<HKEY>(key); }

std::string KeyPath(const std::string& path) { return !path.empty() && path[0] == '\\' ? path.substr(1) : path; }

// Calls that report the length they need: (buffer, size) -> length, 0 on failure.
template <typename Call>
bool GrowingCall(Call call, std::string& out) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return false;
        if (length < buffer.size()) {
            out = Narrow(buffer.data(), length);
            return true;
        }
        buffer.resize(length + 1);
    }
}

// Deletes name below parent with all of its subkeys; RegDeleteKey alone refuses keys with children.
LONG DeleteKeyTree(HKEY parent, const std::wstring& name) {
    {
        RegKeyHolder key;
        LONG rc = ::RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, key.Out());
        if (rc != ERROR_SUCCESS) return rc;
        for (;;) {
            wchar_t child[256];
            DWORD length = 256;
            rc = ::RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            if (rc != ERROR_SUCCESS) return rc;
            rc = DeleteKeyTree(key.Get(), std::wstring(child, length));
            if (rc != ERROR_SUCCESS) return rc;
        }
    }
    return ::RegDeleteKeyW(parent, name.c_str());
}

class Win32File : public IFile {
public:
    explicit Win32File(HANDLE handle) : FHandle(handle) {}

    std::int64_t Read(void* buffer, std::size_t count) override {
        std::int64_t total = 0;
        auto* p = static_cast<char*>(buffer);
        while (count > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(FHandle.Get(), p, chunk, &got, nullptr)) {
                FError = ::GetLastError();
                return total > 0 ? total : -1;
            }
            total += got;
            p += got;
            count -= got;
            if (got < chunk) break;
        }
        return total;
    }

    std::int64_t Write(const void* buffer, std::size_t count) override {
        std::int64_t total = 0;
        auto* p = static_cast<const char*>(buffer);
        while (count > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(FHandle.Get(), p, chunk, &written, nullptr)) {
                FError = ::GetLastError();
                if (FError == ERROR_HANDLE_DISK_FULL) FError = kErrorDiskFull;
                total += written;
                return total > 0 || FError == kErrorDiskFull ? total : -1;
            }
            total += written;
            p += written;
            count -= written;
            if (written < chunk) {
                FError = kErrorDiskFull;
                break;
            }
        }
        return total;
    }

    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
        const DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
        // SetFilePointer with the high part: SetFilePointerEx is missing before Windows 2000.
        LONG high = static_cast<LONG>(offset >> 32);
        ::SetLastError(NO_ERROR);
        const DWORD low = ::SetFilePointer(FHandle.Get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
        if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) {
            FError = ::GetLastError();
            return -1;
        }
        return (static_cast<std::int64_t>(high) << 32) | low;
    }

    std::int64_t Size() override {
        DWORD high = 0;
        ::SetLastError(NO_ERROR);
        const DWORD low = ::GetFileSize(FHandle.Get(), &high);
        if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
            FError = ::GetLastError();
            return -1;
        }
        return (static_cast<std::int64_t>(high) << 32) | low;
    }

    bool SetEndOfFile() override { return ::SetEndOfFile(FHandle.Get()) || Failed(); }

    bool GetTime(FileTime& lastWrite) override {
        FILETIME ft;
        if (!::GetFileTime(FHandle.Get(), nullptr, nullptr, &ft)) return Failed();
        lastWrite = FromFiletime(ft);
        return true;
    }

    bool SetTime(FileTime lastWrite) override {
        const FILETIME ft = ToFiletime(lastWrite);
        return ::SetFileTime(FHandle.Get(), nullptr, nullptr, &ft) || Failed();
    }

    std::uint32_t LastError() const override { return FError; }

private:
    bool Failed() {
        FError = ::GetLastError();
        return false;
    }

    UniqueHandle FHandle;
    std::uint32_t FError = 0;
};

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    for (;;) {
        while (i < n && static_cast<unsigned char>(commandLine[i]) <= ' ') ++i;
        if (i >= n) break;
        std::string arg;
        bool quoted = false;
        for (; i < n && (quoted || static_cast<unsigned char>(commandLine[i]) > ' '); ++i) {
            if (commandLine[i] == '"') quoted = !quoted;
            else arg += commandLine[i];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool Win32Platform::Fail() {
    FLastError = ::GetLastError();
    return false;
}

bool Win32Platform::Fail(std::uint32_t code) {
    FLastError = code;
    return false;
}

// ---- files ------------------------------------------------------------------------------

std::uint32_t Win32Platform::GetFileAttributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) Fail();
    return attributes;
}

bool Win32Platform::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    DWORD settable = attributes & ~DWORD(kAttrDirectory | kAttrReparsePoint);
    if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesW(Wide(path).c_str(), settable) || Fail();
}

bool Win32Platform::FileExists(const std::string& path) {
    const std::uint32_t attributes = GetFileAttributes(path);
    return attributes != kInvalidAttributes && !(attributes & kAttrDirectory);
}

bool Win32Platform::DirectoryExists(const std::string& path) {
    const std::uint32_t attributes = GetFileAttributes(path);
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory);
}

bool Win32Platform::CreateDirectory(const std::string& path) { return ::CreateDirectoryW(Wide(path).c_str(), nullptr) || Fail(); }

bool Win32Platform::RemoveDirectory(const std::string& path) { return ::RemoveDirectoryW(Wide(path).c_str()) || Fail(); }

bool Win32Platform::DeleteFile(const std::string& path) { return ::DeleteFileW(Wide(path).c_str()) || Fail(); }

bool Win32Platform::MoveFile(const std::string& from, const std::string& to) {
    return ::MoveFileW(Wide(from).c_str(), Wide(to).c_str()) || Fail();
}

bool Win32Platform::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    return ::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), failIfExists) || Fail();
}

bool Win32Platform::FindFiles(const std::string& pattern, std::vector<FindData>& result) {
    result.clear();
    WIN32_FIND_DATAW data;
    FindHandle find(::FindFirstFileW(Wide(pattern).c_str(), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) {
        Fail();
        if (FLastError == ERROR_NO_MORE_FILES) FLastError = kErrorFileNotFound;
        return false;
    }
    do {
        FindData fd;
        fd.Name = Narrow(data.cFileName);
        fd.ShortName = Narrow(data.cAlternateFileName);
        fd.Attributes = data.dwFileAttributes;
        fd.Size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        fd.LastWrite = FromFiletime(data.ftLastWriteTime);
        result.push_back(std::move(fd));
    } while (::FindNextFileW(find.Get(), &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES) return Fail();
    return true;
}

std::unique_ptr<IFile> Win32Platform::OpenFile(const std::string& path, OpenMode mode, Disposition disposition, Share share) {
    DWORD access = 0;
    switch (mode) {
        case OpenMode::Read: access = GENERIC_READ; break;
        case OpenMode::Write: access = GENERIC_WRITE; break;
        case OpenMode::ReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD creation = OPEN_EXISTING;
    switch (disposition) {
        case Disposition::OpenExisting: creation = OPEN_EXISTING; break;
        case Disposition::CreateAlways: creation = CREATE_ALWAYS; break;
        case Disposition::OpenAlways: creation = OPEN_ALWAYS; break;
        case Disposition::CreateNew: creation = CREATE_NEW; break;
    }
    DWORD shareMode = 0;
    switch (share) {
        case Share::None: shareMode = 0; break;
        case Share::Read: shareMode = FILE_SHARE_READ; break;
        case Share::ReadWrite: shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
        case Share::ReadWriteDelete: shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE; break;
    }
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), access, shareMode, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Fail();
        return nullptr;
    }
    return std::make_unique<Win32File>(h);
}

bool Win32Platform::GetFileTime(const std::string& path, FileTime& lastWrite) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return Fail();
    lastWrite = FromFiletime(data.ftLastWriteTime);
    return true;
}

bool Win32Platform::SetFileTime(const std::string& path, FileTime lastWrite) {
    // Attribute access alone works on read-only files and on directories (with backup semantics).
    const std::wstring wide = Wide(path);
    UniqueHandle h(::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.Valid()) return Fail();
    const FILETIME ft = ToFiletime(lastWrite);
    return ::SetFileTime(h.Get(), nullptr, nullptr, &ft) || Fail();
}

bool Win32Platform::GetDiskFreeSpace(const std::string& path, std::uint64_t& freeBytes, std::uint64_t& totalBytes) {
    ULARGE_INTEGER available, total, totalFree;
    if (!::GetDiskFreeSpaceExW(Wide(path).c_str(), &available, &total, &totalFree)) return Fail();
    freeBytes = available.QuadPart;
    totalBytes = total.QuadPart;
    return true;
}

std::string Win32Platform::GetTempPath() {
    std::string out;
    if (!GrowingCall([](wchar_t* b, DWORD n) { return ::GetTempPathW(n, b); }, out)) Fail();
    return out;
}

std::string Win32Platform::GetTempFileName(const std::string& dir, const std::string& prefix) {
    wchar_t buffer[MAX_PATH + 1];
    if (!::GetTempFileNameW(Wide(dir).c_str(), Wide(prefix).c_str(), 0, buffer)) {
        Fail();
        return {};
    }
    return Narrow(buffer);
}

std::string Win32Platform::GetShortPathName(const std::string& path) {
    const std::wstring wide = Wide(path);
    std::string out;
    if (!GrowingCall([&](wchar_t* b, DWORD n) { return ::GetShortPathNameW(wide.c_str(), b, n); }, out)) Fail();
    return out;
}

std::string Win32Platform::GetCurrentDirectory() {
    std::string out;
    if (!GrowingCall([](wchar_t* b, DWORD n) { return ::GetCurrentDirectoryW(n, b); }, out)) Fail();
    return out;
}

bool Win32Platform::SetCurrentDirectory(const std::string& path) { return ::SetCurrentDirectoryW(Wide(path).c_str()) || Fail(); }

bool Win32Platform::RecycleFile(const std::string& path) {
    // The shell wants a full path, and a list ending in two NULs.
    const std::wstring wide = Wide(path);
    std::vector<wchar_t> full(MAX_PATH + 1);
    DWORD length = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0) return Fail();
    if (::GetFileAttributesW(full.data()) == INVALID_FILE_ATTRIBUTES) return Fail();
    std::wstring from(full.data(), length);
    from.push_back(L'\0');  // c_str() adds the second
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    const int rc = ::SHFileOperationW(&op);
    if (rc != 0) return Fail(static_cast<std::uint32_t>(rc));
    if (op.fAnyOperationsAborted) return Fail(ERROR_CANCELLED);
    return true;
}

bool Win32Platform::MoveFileAtRestart(const std::string& from, const std::string& to) {
    const std::wstring target = Wide(to);
    return ::MoveFileExW(Wide(from).c_str(), to.empty() ? nullptr : target.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) ||
           Fail();
}

// A program image's own resource is read directly: Wine answers a file named like one of its
// own libraries (MSVCRT.DLL, OLE32.DLL) with that library's version, or none, and a product
// shipping such a runtime would be packed and compared with the wrong version. The system's
// functions remain for what is no PE image (16-bit programs) and files that cannot be opened.
bool Win32Platform::GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& block) {
    block.clear();
    if (std::unique_ptr<IFile> file = OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite);
        file && IsPeImage(*file)) {
        std::uint32_t error = 0;
        if (ReadPeVersionResource(*file, block, error)) return true;
        block.clear();
        return Fail(error);
    }
    const win32::VersionLibrary& version = win32::Version();
    if (!version.GetFileVersionInfoSizeW || !version.GetFileVersionInfoW) return Fail(ERROR_PROC_NOT_FOUND);
    const std::wstring wide = Wide(path);
    DWORD ignored = 0;
    const DWORD size = version.GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    if (size == 0) return Fail();
    block.resize(size);
    if (!version.GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) {
        block.clear();
        return Fail();
    }
    // The system adds room for its own conversions after the block; keep the block alone.
    const std::size_t own = block.size() >= 2 ? std::size_t(block[0] | (block[1] << 8)) : 0;
    if (own < 6) {
        block.clear();
        return Fail(ERROR_RESOURCE_DATA_NOT_FOUND);
    }
    if (own < block.size()) block.resize(own);
    return true;
}

// ---- installation services --------------------------------------------------------------

bool Win32Platform::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
    if (section.empty() || key.empty()) return Fail(ERROR_INVALID_PARAMETER);
    return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(), Wide(file).c_str()) || Fail();
}

std::string Win32Platform::GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                                            const std::string& defaultValue) {
    const std::wstring wideDefault = Wide(defaultValue);
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD got = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), wideDefault.c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()), Wide(file).c_str());
        // A full buffer may have cut the value; try again with more room.
        if (got + 1 < buffer.size() || buffer.size() >= 65536) return Narrow(buffer.data(), got);
        buffer.resize(buffer.size() * 4);
    }
}

LibraryCall Win32Platform::CallLibraryFunction(const std::string& path, const std::string& function, std::int32_t& result) {
    result = 0;
    // A damaged image must not stop the installation with a system error box.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = win32::LoadLibraryAt(Wide(path));
    const DWORD loadError = ::GetLastError();
    ::SetErrorMode(oldMode);
    if (!library) {
        Fail(loadError);
        return LibraryCall::NotLoaded;
    }
    using EntryPoint = LONG(WINAPI*)();
    const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(::GetProcAddress(library, function.c_str())));
    if (!entry) {
        Fail(ERROR_PROC_NOT_FOUND);
        ::FreeLibrary(library);
        return LibraryCall::NoEntryPoint;
    }
    result = entry();
    ::FreeLibrary(library);
    return LibraryCall::Called;
}

bool Win32Platform::LibraryExports(const std::string& path, const std::string& function) {
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Mapped without running its start-up code: only its exports are looked at.
    HMODULE library = ::LoadLibraryExW(Wide(path).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const DWORD loadError = ::GetLastError();
    ::SetErrorMode(oldMode);
    if (!library) return Fail(loadError);
    const bool found = ::GetProcAddress(library, function.c_str()) != nullptr;
    ::FreeLibrary(library);
    return found || Fail(ERROR_PROC_NOT_FOUND);
}

bool Win32Platform::RunHidden(const std::string& commandLine, std::uint32_t timeoutMs) {
    std::wstring command = Wide(commandLine);
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return Fail();
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), timeoutMs);
    return true;
}

namespace {

// The version installer's ANSI entry points: Wine's wide VerInstallFile does not hand back
// the temporary copy's name, and the ANSI ones are what the system has always offered.
// flags 0 lets the system pick the nearest letter; usedDefault, when given, hears of a
// character that had none.
std::string Ansi(std::string_view utf8, DWORD flags = 0, BOOL* usedDefault = nullptr) {
    const std::wstring wide = Wide(utf8);
    const int length = static_cast<int>(wide.size());
    const char* fallback = usedDefault ? "?" : nullptr;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide.c_str(), length, nullptr, 0, fallback, usedDefault);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, flags, wide.c_str(), length, out.data(), size, fallback, usedDefault);
    return out;
}

std::string FromAnsi(std::string_view ansi) {
    const int length = static_cast<int>(ansi.size());
    const int size = length ? ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0) : 0;
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
    return Narrow(wide.c_str());
}

}  // namespace

std::uint32_t Win32Platform::VerFindFile(std::uint32_t flags, const std::string& fileName, const std::string& windowsDir,
                                         const std::string& appDir, std::string& currentDir, std::string& destDir) {
    char current[MAX_PATH] = {}, dest[MAX_PATH] = {};
    UINT currentLength = MAX_PATH, destLength = MAX_PATH;
    const auto verFindFile = win32::Version().VerFindFileA;
    // Without the system's version installer there is no advice; VerInstallFile then refuses.
    if (!verFindFile) {
        currentDir.clear();
        destDir.clear();
        return 0;
    }
    // Older headers declare the inputs without const; the calls only read them.
    std::string name = Ansi(fileName), windows = Ansi(windowsDir), app = Ansi(appDir);
    const DWORD result = verFindFile(flags, name.data(), windows.data(), app.data(), current, &currentLength, dest, &destLength);
    currentDir = FromAnsi(current);
    destDir = FromAnsi(dest);
    return result;
}

std::uint32_t Win32Platform::VerInstallFile(std::uint32_t flags, const std::string& srcName, const std::string& destName,
                                            const std::string& srcDir, const std::string& destDir, const std::string& currentDir,
                                            std::string& tempFile) {
    const auto verInstallFile = win32::Version().VerInstallFileA;
    if (!verInstallFile) return VIF_CANNOTREADSRC;
    std::vector<char> temp(MAX_PATH, '\0');
    const std::string given = Ansi(tempFile);
    std::copy_n(given.begin(), std::min<std::size_t>(given.size(), MAX_PATH - 1), temp.begin());
    UINT tempLength = MAX_PATH;
    std::string source = Ansi(srcName), target = Ansi(destName), sourceDir = Ansi(srcDir), targetDir = Ansi(destDir),
                current = Ansi(currentDir);
    const DWORD result = verInstallFile(flags, source.data(), target.data(), sourceDir.data(), targetDir.data(), current.data(),
                                        temp.data(), &tempLength);
    tempFile = FromAnsi(temp.data());
    return result;
}

// ---- registry ---------------------------------------------------------------------------

IPlatform::KeyHandle Win32Platform::RegOpenKey(RootKey root, const std::string& path, bool writable) {
    HKEY key = nullptr;
    const REGSAM access = writable ? KEY_READ | KEY_WRITE : KEY_READ;
    const LONG rc = ::RegOpenKeyExW(RootHandle(root), Wide(KeyPath(path)).c_str(), 0, access, &key);
    if (rc != ERROR_SUCCESS) {
        Fail(static_cast<std::uint32_t>(rc));
        return 0;
    }
    return reinterpret_cast<KeyHandle>(key);
}

IPlatform::KeyHandle Win32Platform::RegCreateKey(RootKey root, const std::string& path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG rc = ::RegCreateKeyExW(RootHandle(root), Wide(KeyPath(path)).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &key, &disposition);
    if (rc != ERROR_SUCCESS) {
        Fail(static_cast<std::uint32_t>(rc));
        return 0;
    }
    return reinterpret_cast<KeyHandle>(key);
}

void Win32Platform::RegCloseKey(KeyHandle key) {
    if (key) ::RegCloseKey(AsHkey(key));
}

bool Win32Platform::RegQueryValue(KeyHandle key, const std::string& name, RegValue& value) {
    const std::wstring wideName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = ::RegQueryValueExW(AsHkey(key), wideName.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        data.resize(size + sizeof(wchar_t));  // room for a terminator the value may lack
        DWORD got = size;
        rc = ::RegQueryValueExW(AsHkey(key), wideName.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(got);
            break;
        }
        size = got;
    }
    if (rc != ERROR_SUCCESS) return Fail(static_cast<std::uint32_t>(rc));

    value = RegValue{};
    const auto* wide = reinterpret_cast<const wchar_t*>(data.data());
    const std::size_t units = data.size() / sizeof(wchar_t);
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::size_t length = 0;
            while (length < units && wide[length]) ++length;
            value.Type = type == REG_SZ ? ValueType::String : ValueType::ExpandString;
            value.Text = Narrow(wide, length);
            break;
        }
        case REG_DWORD:
            value.Type = ValueType::DWord;
            std::memcpy(&value.DWord, data.data(), std::min<std::size_t>(data.size(), 4));
            break;
        case REG_MULTI_SZ: {
            const std::string utf8 = Narrow(wide, units);
            value.Type = ValueType::MultiString;
            value.Data.assign(utf8.begin(), utf8.end());
            break;
        }
        case REG_NONE:
            value.Type = ValueType::None;
            value.Data = std::move(data);
            break;
        default:
            value.Type = ValueType::Binary;
            value.Data = std::move(data);
            break;
    }
    return true;
}

bool Win32Platform::RegSetValue(KeyHandle key, const std::string& name, const RegValue& value) {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    auto putWide = [&](const std::wstring& s, bool terminate) {
        const auto* p = reinterpret_cast<const BYTE*>(s.c_str());
        data.assign(p, p + (s.size() + (terminate ? 1 : 0)) * sizeof(wchar_t));
    };
    switch (value.Type) {
        case ValueType::String:
        case ValueType::ExpandString:
            type = value.Type == ValueType::String ? REG_SZ : REG_EXPAND_SZ;
            putWide(Wide(value.Text), true);
            break;
        case ValueType::DWord:
            type = REG_DWORD;
            data.resize(4);
            std::memcpy(data.data(), &value.DWord, 4);
            break;
        case ValueType::MultiString:
            type = REG_MULTI_SZ;
            putWide(Wide(std::string(value.Data.begin(), value.Data.end())), false);
            break;
        case ValueType::Binary:
            type = REG_BINARY;
            data = value.Data;
            break;
        case ValueType::None:
            return Fail(kErrorInvalidParameter);
    }
    const LONG rc = ::RegSetValueExW(AsHkey(key), Wide(name).c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    return rc == ERROR_SUCCESS || Fail(static_cast<std::uint32_t>(rc));
}

bool Win32Platform::RegDeleteValue(KeyHandle key, const std::string& name) {
    const LONG rc = ::RegDeleteValueW(AsHkey(key), Wide(name).c_str());
    return rc == ERROR_SUCCESS || Fail(static_cast<std::uint32_t>(rc));
}

bool Win32Platform::RegDeleteTree(RootKey root, const std::string& path) {
    const std::string relative = rt::ExcludeTrailingBackslash(KeyPath(path));
    if (relative.empty()) return Fail(kErrorInvalidParameter);
    const std::size_t cut = relative.rfind('\\');
    const std::string parentPath = cut == std::string::npos ? std::string() : relative.substr(0, cut);
    const std::string name = cut == std::string::npos ? relative : relative.substr(cut + 1);
    RegKeyHolder parent;
    LONG rc = ::RegOpenKeyExW(RootHandle(root), Wide(parentPath).c_str(), 0, KEY_READ | KEY_WRITE, parent.Out());
    if (rc == ERROR_SUCCESS) rc = DeleteKeyTree(parent.Get(), Wide(name));
    return rc == ERROR_SUCCESS || Fail(static_cast<std::uint32_t>(rc));
}

bool Win32Platform::RegEnumKeys(KeyHandle key, std::vector<std::string>& names) {
    names.clear();
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        const LONG rc = ::RegEnumKeyExW(AsHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) return true;
        if (rc != ERROR_SUCCESS) return Fail(static_cast<std::uint32_t>(rc));
        names.push_back(Narrow(name, length));
    }
}

bool Win32Platform::RegEnumValues(KeyHandle key, std::vector<std::string>& names) {
    names.clear();
    DWORD longest = 0;
    LONG rc = ::RegQueryInfoKeyW(AsHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return Fail(static_cast<std::uint32_t>(rc));
    std::vector<wchar_t> name(longest + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        rc = ::RegEnumValueW(AsHkey(key), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) return true;
        if (rc != ERROR_SUCCESS) return Fail(static_cast<std::uint32_t>(rc));
        names.push_back(Narrow(name.data(), length));
    }
}

// ---- system -----------------------------------------------------------------------------

bool Win32Platform::GetWindowsDirectory(std::string& dir) {
    return GrowingCall([](wchar_t* b, DWORD n) { return ::GetWindowsDirectoryW(b, n); }, dir) || Fail();
}

bool Win32Platform::GetSystemDirectory(std::string& dir) {
    return GrowingCall([](wchar_t* b, DWORD n) { return ::GetSystemDirectoryW(b, n); }, dir) || Fail();
}

OsVersion Win32Platform::GetVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (!::GetVersionExW(&info)) {
        Fail();
        return version;
    }
    version.Platform = static_cast<PlatformId>(info.dwPlatformId);
    version.Major = info.dwMajorVersion;
    version.Minor = info.dwMinorVersion;
    // Windows 95 and 98 keep the version in the high word of the build number.
    version.Build = version.Platform == PlatformId::NT ? info.dwBuildNumber : (info.dwBuildNumber & 0xFFFF);
    version.CsdVersion = Narrow(info.szCSDVersion);
    return version;
}

int Win32Platform::ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }

int Win32Platform::ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

bool Win32Platform::MiddleEastEnabled() { return ::GetSystemMetrics(SM_MIDEASTENABLED) != 0; }

std::uint16_t Win32Platform::UserDefaultLangId() { return ::GetUserDefaultLangID(); }

bool Win32Platform::ToAnsiCodePage(std::string_view utf8, std::string& ansi) {
    // A UTF-8 system holds every character and takes no substitute.
    if (::GetACP() == CP_UTF8) {
        ansi = Ansi(utf8);
        return true;
    }
    // No best fit: "a" for a letter with an accent would name another file.
    BOOL usedDefault = FALSE;
    ansi = Ansi(utf8, WC_NO_BEST_FIT_CHARS, &usedDefault);
    return !usedDefault;
}

std::string Win32Platform::FromAnsiCodePage(std::string_view ansi) { return FromAnsi(ansi); }

bool Win32Platform::LoadKeyboardLayout(const std::string& layoutId, bool activate) {
    const std::u16string id = rt::Utf8ToUtf16(layoutId);
    return ::LoadKeyboardLayoutW(reinterpret_cast<const wchar_t*>(id.c_str()), activate ? KLF_ACTIVATE : 0) != nullptr;
}

std::uint32_t Win32Platform::TimeOfDayMs() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return ((std::uint32_t(now.wHour) * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

void Win32Platform::Sleep(std::uint32_t ms) { ::Sleep(ms); }

std::string Win32Platform::ModuleFileName() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            Fail();
            return {};
        }
        if (length < buffer.size() - 1) return Narrow(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> Win32Platform::CommandLineArgs() {
    std::vector<std::string> args = SplitCommandLine(Narrow(::GetCommandLineW()));
    if (!args.empty()) args.erase(args.begin());
    return args;
}

std::uint32_t Win32Platform::CurrentProcessId() { return ::GetCurrentProcessId(); }

WindowHandle Win32Platform::FindWindow(const std::string& className) {
    const HWND window = ::FindWindowW(Wide(className).c_str(), nullptr);
    if (!window) Fail();
    return reinterpret_cast<WindowHandle>(window);
}

std::uint32_t Win32Platform::WindowProcessId(WindowHandle window) {
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId)) Fail();
    return processId;
}

bool Win32Platform::SendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                       std::uint32_t timeoutMs, std::intptr_t& result) {
    DWORD_PTR answer = 0;
    const LRESULT ok = ::SendMessageTimeoutW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                                             static_cast<LPARAM>(lParam), SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &answer);
    if (!ok) return Fail(::GetLastError() ? ::GetLastError() : ERROR_TIMEOUT);
    result = static_cast<std::intptr_t>(answer);
    return true;
}

std::intptr_t Win32Platform::SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return ::SendMessageW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32Platform::MessageBeep(std::uint32_t type) { ::MessageBeep(type); }

int Win32Platform::MessageBox(const std::string& text, const std::string& caption, std::uint32_t type) {
    return ::MessageBoxW(::GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), type | MB_SETFOREGROUND);
}

bool Win32Platform::StartProcess(const std::string& commandLine, const std::string& currentDir) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring command = Wide(commandLine);
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    const std::wstring dir = Wide(currentDir);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDir.empty() ? nullptr : dir.c_str(), &startup, &info))
        return Fail();
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    return true;
}

bool Win32Platform::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return Fail();
    UniqueHandle holder(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return Fail();
    // The call succeeds also when the token lacks the privilege; the error code says so.
    if (!::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) || ::GetLastError() != ERROR_SUCCESS) return Fail();
    return true;
}

bool Win32Platform::RequestRestart() {
    if (!::ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0)) return Fail();
    return true;
}

// ---- the shell ----

namespace {

class Win32ShellLink : public IShellLinkObject {
public:
    explicit Win32ShellLink(IShellLinkW* link) : FLink(link) {}
    ~Win32ShellLink() override { FLink->Release(); }
    Win32ShellLink(const Win32ShellLink&) = delete;
    Win32ShellLink& operator=(const Win32ShellLink&) = delete;

    std::int32_t SetPath(const std::string& target) override { return FLink->SetPath(Wide(target).c_str()); }
    std::int32_t SetHotkey(std::uint16_t hotKey) override { return FLink->SetHotkey(hotKey); }
    std::int32_t SetArguments(const std::string& arguments) override { return FLink->SetArguments(Wide(arguments).c_str()); }
    std::int32_t SetWorkingDirectory(const std::string& directory) override {
        return FLink->SetWorkingDirectory(Wide(directory).c_str());
    }
    std::int32_t Save(const std::string& linkPath) override {
        IPersistFile* file = nullptr;
        if (FAILED(FLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) || !file) return kHrNoInterface;
        const HRESULT result = file->Save(Wide(linkPath).c_str(), TRUE);
        file->Release();
        return result;
    }

private:
    IShellLinkW* FLink;
};

HDDEDATA CALLBACK DdeClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

constexpr DWORD kDdeTimeoutMs = 10000;

// A DDE string handle that frees itself.
class DdeString {
public:
    DdeString(DWORD instance, const std::string& text)
        : FInstance(instance), FHandle(::DdeCreateStringHandleW(instance, Wide(text).c_str(), CP_WINUNICODE)) {}
    ~DdeString() {
        if (FHandle) ::DdeFreeStringHandle(FInstance, FHandle);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ Get() const { return FHandle; }

private:
    DWORD FInstance;
    HSZ FHandle;
};

}  // namespace

Win32Platform::~Win32Platform() {
    if (FDdeInstance) ::DdeUninitialize(FDdeInstance);
}

std::int32_t Win32Platform::ComInitialize() { return ::CoInitialize(nullptr); }

std::int32_t Win32Platform::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
    link.reset();
    IShellLinkW* object = nullptr;
    const HRESULT result =
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(result) && object) link = std::make_unique<Win32ShellLink>(object);
    return result;
}

DdeConversation Win32Platform::DdeConnect(const std::string& service, const std::string& topic) {
    if (!FDdeInstance) {
        DWORD instance = 0;
        const UINT result = ::DdeInitializeW(&instance, DdeClientCallback, APPCMD_CLIENTONLY, 0);
        if (result != DMLERR_NO_ERROR) {
            Fail(result);
            return 0;
        }
        FDdeInstance = instance;
    }
    const DdeString serviceName(FDdeInstance, service), topicName(FDdeInstance, topic);
    const HCONV conversation = ::DdeConnect(FDdeInstance, serviceName.Get(), topicName.Get(), nullptr);
    if (!conversation) Fail(::DdeGetLastError(FDdeInstance));
    return reinterpret_cast<DdeConversation>(conversation);
}

void Win32Platform::DdeDisconnect(DdeConversation conversation) {
    if (!::DdeDisconnect(reinterpret_cast<HCONV>(conversation))) Fail(FDdeInstance ? ::DdeGetLastError(FDdeInstance) : kErrorInvalidHandle);
}

bool Win32Platform::DdeExecute(DdeConversation conversation, const std::string& command) {
    if (!FDdeInstance) return Fail(kErrorInvalidHandle);
    std::wstring text = Wide(command);
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    const HDDEDATA result = ::DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()), bytes, reinterpret_cast<HCONV>(conversation),
                                                   nullptr, CF_UNICODETEXT, XTYP_EXECUTE, kDdeTimeoutMs, nullptr);
    if (!result) return Fail(::DdeGetLastError(FDdeInstance));
    return true;
}

bool Win32Platform::DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) {
    reply.clear();
    if (!FDdeInstance) return Fail(kErrorInvalidHandle);
    const DdeString itemName(FDdeInstance, item);
    const HDDEDATA data = ::DdeClientTransaction(nullptr, 0, reinterpret_cast<HCONV>(conversation), itemName.Get(), CF_TEXT,
                                                 XTYP_REQUEST, kDdeTimeoutMs, nullptr);
    if (!data) return Fail(::DdeGetLastError(FDdeInstance));
    std::string ansi(::DdeGetData(data, nullptr, 0, 0), '\0');
    if (!ansi.empty()) ::DdeGetData(data, reinterpret_cast<LPBYTE>(ansi.data()), static_cast<DWORD>(ansi.size()), 0);
    ::DdeFreeDataHandle(data);
    ansi.resize(std::strlen(ansi.c_str()));
    // CF_TEXT is in the ANSI code page.
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    reply = Narrow(wide.c_str(), wide.size());
    return true;
}

}  // namespace os
