// The operating-system boundary. Everything above this layer reaches files, the registry,
// system information, the clock, processes and other programs' windows through IPlatform,
// so the whole program runs against real Windows (platform/win32) or against a simulated
// machine in a folder (platform/sim) without knowing which.
//
// Conventions shared by both implementations, checked by the contract tests:
// - Paths are UTF-8 Windows paths ("C:\Dir\File.txt"), compared without regard to case.
// - Calls that can fail return false (or an empty handle) and leave a Windows error code
//   in LastError(); they never throw.
// - Registry paths have no leading backslash ("SOFTWARE\Halvernock"); one is tolerated.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// Windows error codes the callers test for.
enum ErrorCode : std::uint32_t {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorAccessDenied = 5,
    kErrorInvalidHandle = 6,
    kErrorNotReady = 21,
    kErrorSharingViolation = 32,
    kErrorHandleDiskFull = 39,
    kErrorFileExists = 80,
    kErrorInvalidParameter = 87,
    kErrorDiskFull = 112,
    kErrorInsufficientBuffer = 122,
    kErrorDirNotEmpty = 145,
    kErrorAlreadyExists = 183,
    kErrorMoreData = 234,
    kErrorNoMoreItems = 259,
    kErrorCallNotImplemented = 120,
    kErrorModNotFound = 126,
    kErrorProcNotFound = 127,
    kErrorBadExeFormat = 193,
    kErrorNotAllAssigned = 1300,
    kErrorPrivilegeNotHeld = 1314,
};

// Flags of the system's version installer (VerFindFile, VerInstallFile), as winver.h has them.
enum VersionInstallFlag : std::uint32_t {
    kVfffIsSharedFile = 0x1,    // VerFindFile: the file is shared; it belongs in the system directory
    kVffCurNeDest = 0x1,        // VerFindFile result: the current copy is not where it should go
    kVffFileInUse = 0x2,
    kViffForceInstall = 0x1,    // VerInstallFile: install whatever the version checks say
    kViffDontDeleteOld = 0x2,
    kVifTempFile = 0x1,         // the copy was left as a temporary file in the destination directory
    kVifMismatch = 0x2,
    kVifSrcOld = 0x4,
    kVifDiffLang = 0x8,
    kVifDiffCodePg = 0x10,
    kVifDiffType = 0x20,
    kVifWriteProt = 0x40,
    kVifFileInUse = 0x80,
    kVifOutOfSpace = 0x100,
    kVifAccessViolation = 0x200,
    kVifSharingViolation = 0x400,
    kVifCannotCreate = 0x800,
    kVifCannotDelete = 0x1000,
    kVifCannotRename = 0x2000,
    kVifCannotDeleteCur = 0x4000,
    kVifOutOfMemory = 0x8000,
    kVifCannotReadSrc = 0x10000,
};

// Message box styles and answers, as winuser.h has them.
enum MessageBoxFlag : std::uint32_t {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbIconError = 0x10,
    kMbIconInformation = 0x40,
    kIdOk = 1,
    kIdCancel = 2,
};

// What became of a call into a library (LoadLibrary, GetProcAddress, the call, FreeLibrary).
enum class LibraryCall { Called, NotLoaded, NoEntryPoint };

// File attribute bits as Windows defines them.
enum FileAttribute : std::uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
    kAttrReparsePoint = 0x400,  // symbolic links and junctions
};
constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// 100-nanosecond intervals since 1601-01-01 UTC, as Windows keeps file times.
using FileTime = std::uint64_t;

struct FindData {
    std::string Name;       // long name, no directory part
    std::string ShortName;  // 8.3 alias, empty when the long name already is one
    std::uint32_t Attributes = 0;
    std::uint64_t Size = 0;
    FileTime LastWrite = 0;
};

enum class OpenMode { Read, Write, ReadWrite };
enum class Disposition { OpenExisting, CreateAlways, OpenAlways, CreateNew };
// Which access other openers keep while this handle is open.
enum class Share { None, Read, ReadWrite, ReadWriteDelete };
enum class SeekOrigin { Begin, Current, End };

// An open file. Closing happens on destruction.
class IFile {
public:
    virtual ~IFile() = default;
    // Bytes read; 0 at the end; -1 on error (LastError set).
    virtual std::int64_t Read(void* buffer, std::size_t count) = 0;
    // Bytes written; fewer than count (and LastError kErrorDiskFull) when the disk fills.
    virtual std::int64_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;  // new position or -1
    virtual std::int64_t Size() = 0;
    virtual bool SetEndOfFile() = 0;
    virtual bool GetTime(FileTime& lastWrite) = 0;
    virtual bool SetTime(FileTime lastWrite) = 0;
    virtual std::uint32_t LastError() const = 0;
};

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };  // DynData: Windows 95/98 only

enum class ValueType { None, String, ExpandString, Binary, DWord, MultiString };

struct RegValue {
    ValueType Type = ValueType::None;
    std::string Text;                 // String, ExpandString (UTF-8)
    std::uint32_t DWord = 0;          // DWord
    // Binary: raw bytes. MultiString: UTF-8 strings, each ended by a NUL, then one more NUL.
    std::vector<std::uint8_t> Data;
};

enum class PlatformId { Win32s = 0, Windows = 1, NT = 2 };

struct OsVersion {
    PlatformId Platform = PlatformId::NT;
    std::uint32_t Major = 4, Minor = 0, Build = 1381;
    std::string CsdVersion;
};

using WindowHandle = std::uintptr_t;  // 0 is "no window"

// COM result codes (HRESULT) the callers and the simulation use.
enum HResult : std::int32_t {
    kHrOk = 0,
    kHrFalse = 1,
    kHrNoInterface = static_cast<std::int32_t>(0x80004002),
    kHrFail = static_cast<std::int32_t>(0x80004005),
    kHrInvalidArg = static_cast<std::int32_t>(0x80070057),
};
// The HRESULT that carries a Windows error code.
constexpr std::int32_t HResultFromWin32(std::uint32_t code) {
    return code == 0 ? 0 : static_cast<std::int32_t>((code & 0xFFFFu) | 0x80070000u);
}

// The shell's link object (IShellLink with its IPersistFile). Every call returns the
// object's HRESULT; negative is failure. Released on destruction.
class IShellLinkObject {
public:
    virtual ~IShellLinkObject() = default;
    virtual std::int32_t SetPath(const std::string& target) = 0;
    virtual std::int32_t SetHotkey(std::uint16_t hotKey) = 0;  // low byte virtual key, high byte modifiers
    virtual std::int32_t SetArguments(const std::string& arguments) = 0;
    virtual std::int32_t SetWorkingDirectory(const std::string& directory) = 0;
    // IPersistFile::Save with the remember flag; kHrNoInterface when the object has no
    // IPersistFile.
    virtual std::int32_t Save(const std::string& linkPath) = 0;
};

using DdeConversation = std::uintptr_t;  // 0 is "no conversation"

class IPlatform {
public:
    virtual ~IPlatform() = default;

    // The error code of the last failed call made through this object.
    virtual std::uint32_t LastError() const = 0;

    // Files and directories.
    virtual std::uint32_t GetFileAttributes(const std::string& path) = 0;  // kInvalidAttributes when absent
    virtual bool SetFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool FileExists(const std::string& path) = 0;       // a file, not a directory
    virtual bool DirectoryExists(const std::string& path) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;  // one level; fails when it exists
    virtual bool RemoveDirectory(const std::string& path) = 0;  // empty directories and directory links
    virtual bool DeleteFile(const std::string& path) = 0;       // fails on read-only files and files in use
    virtual bool MoveFile(const std::string& from, const std::string& to) = 0;  // fails when to exists
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    // Entries matching a pattern ("C:\Dir\*", "C:\Dir\*.dll"), "." and ".." included for
    // directories as Windows lists them. False with kErrorFileNotFound/kErrorPathNotFound.
    virtual bool FindFiles(const std::string& pattern, std::vector<FindData>& result) = 0;
    virtual std::unique_ptr<IFile> OpenFile(const std::string& path, OpenMode mode, Disposition disposition, Share share) = 0;
    virtual bool GetFileTime(const std::string& path, FileTime& lastWrite) = 0;
    virtual bool SetFileTime(const std::string& path, FileTime lastWrite) = 0;
    // Bytes free to the caller on the drive or share that holds path.
    virtual bool GetDiskFreeSpace(const std::string& path, std::uint64_t& freeBytes, std::uint64_t& totalBytes) = 0;
    virtual std::string GetTempPath() = 0;  // with a trailing backslash
    // Creates an empty file "<dir>\<prefix up to 3 chars><hex>.TMP" and returns its path.
    virtual std::string GetTempFileName(const std::string& dir, const std::string& prefix) = 0;
    virtual std::string GetShortPathName(const std::string& path) = 0;  // empty on failure
    virtual std::string GetCurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(const std::string& path) = 0;
    // The shell's delete to the recycle bin (silent, no confirmation, allow undo).
    virtual bool RecycleFile(const std::string& path) = 0;
    // Moves a file over another at the next restart, replacing it (MoveFileEx with
    // MOVEFILE_DELAY_UNTIL_REBOOT and MOVEFILE_REPLACE_EXISTING); an empty target deletes.
    // Windows NT keeps the request in the registry value PendingFileRenameOperations; Windows
    // 95 and 98 refuse it (kErrorCallNotImplemented) and use WININIT.INI instead.
    virtual bool MoveFileAtRestart(const std::string& from, const std::string& to) = 0;
    // The raw version-information block (VS_VERSIONINFO, UTF-16) of a program file's
    // version resource, as GetFileVersionInfo hands it out, cut to the block's own length.
    // False when the file cannot be read or carries no version resource.
    virtual bool GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& block) = 0;

    // Private profile files (WritePrivateProfileString): the file is created when missing and
    // kept in the system's ANSI code page. An empty section or key is refused.
    virtual bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    virtual std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                                         const std::string& defaultValue) = 0;

    // Loads a library, calls its exported function of the DllRegisterServer shape (no
    // arguments, a 32-bit result) and unloads it. NotLoaded leaves the loader's error in
    // LastError; NoEntryPoint leaves kErrorProcNotFound.
    virtual LibraryCall CallLibraryFunction(const std::string& path, const std::string& function, std::int32_t& result) = 0;
    // Whether the library exports the function, looked for without calling anything; false
    // with the system's error (126 no such library, 127 no such function) otherwise.
    virtual bool LibraryExports(const std::string& path, const std::string& function) = 0;
    // Starts a program with its window hidden and waits for it to end, at most timeoutMs (a
    // program still running then is left to finish); false only when it could not be started.
    virtual bool RunHidden(const std::string& commandLine, std::uint32_t timeoutMs) = 0;

    // The system's version installer (VerFindFileA and VerInstallFileA of version.dll, so
    // names cross in the ANSI code page): the results are the kVff / kVif flags. tempFile carries the name of a temporary copy left in
    // destDir between calls: a forced call installs that copy when it is named and exists.
    virtual std::uint32_t VerFindFile(std::uint32_t flags, const std::string& fileName, const std::string& windowsDir,
                                      const std::string& appDir, std::string& currentDir, std::string& destDir) = 0;
    virtual std::uint32_t VerInstallFile(std::uint32_t flags, const std::string& srcName, const std::string& destName,
                                         const std::string& srcDir, const std::string& destDir, const std::string& currentDir,
                                         std::string& tempFile) = 0;

    // Registry. Handles are the implementation's; 0 is no key.
    using KeyHandle = std::uintptr_t;
    virtual KeyHandle RegOpenKey(RootKey root, const std::string& path, bool writable) = 0;
    virtual KeyHandle RegCreateKey(RootKey root, const std::string& path) = 0;  // with missing parents
    virtual void RegCloseKey(KeyHandle key) = 0;
    virtual bool RegQueryValue(KeyHandle key, const std::string& name, RegValue& value) = 0;  // "" is the default value
    virtual bool RegSetValue(KeyHandle key, const std::string& name, const RegValue& value) = 0;
    virtual bool RegDeleteValue(KeyHandle key, const std::string& name) = 0;
    // Deletes the key with everything below it.
    virtual bool RegDeleteTree(RootKey root, const std::string& path) = 0;
    virtual bool RegEnumKeys(KeyHandle key, std::vector<std::string>& names) = 0;
    virtual bool RegEnumValues(KeyHandle key, std::vector<std::string>& names) = 0;

    // System information.
    virtual bool GetWindowsDirectory(std::string& dir) = 0;  // no trailing backslash unless a root
    virtual bool GetSystemDirectory(std::string& dir) = 0;
    virtual OsVersion GetVersion() = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual bool MiddleEastEnabled() = 0;  // the SM_MIDEASTENABLED system metric
    // The user's default language identifier (1033 American English, 1037 Hebrew...).
    virtual std::uint16_t UserDefaultLangId() = 0;
    // Text in the system's ANSI code page, where on-disk formats keep their names: false when
    // a character has no place in it (it then stands as "?").
    virtual bool ToAnsiCodePage(std::string_view utf8, std::string& ansi) = 0;
    virtual std::string FromAnsiCodePage(std::string_view ansi) = 0;
    // Loads a keyboard layout by its identifier ("0000040D" Hebrew), making it the input
    // language when activate is set; false when the system cannot provide it.
    virtual bool LoadKeyboardLayout(const std::string& layoutId, bool activate) = 0;

    // Time of day in milliseconds since local midnight.
    virtual std::uint32_t TimeOfDayMs() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;

    // The running program.
    virtual std::string ModuleFileName() = 0;  // full path of the running executable
    virtual std::vector<std::string> CommandLineArgs() = 0;  // without the program itself
    virtual std::uint32_t CurrentProcessId() = 0;

    // Other programs' windows.
    virtual WindowHandle FindWindow(const std::string& className) = 0;  // a top-level window, or 0
    virtual std::uint32_t WindowProcessId(WindowHandle window) = 0;
    virtual std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Sends and waits at most timeoutMs for the answer, giving up at once on a window whose
    // program does not answer at all; false on a timeout or a window that is gone.
    virtual bool SendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                    std::uint32_t timeoutMs, std::intptr_t& result) = 0;
    virtual void MessageBeep(std::uint32_t type) = 0;
    // A modal message box (kMb styles); the answer is kIdOk, kIdCancel...
    virtual int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type) = 0;

    // Starts a program without waiting; false when it could not be started.
    virtual bool StartProcess(const std::string& commandLine, const std::string& currentDir) = 0;

    // Restarting the machine. Windows NT restarts only for a process that holds the shutdown
    // privilege: EnableShutdownPrivilege turns it on in the process's token (open the token
    // for adjusting and querying, look up "SeShutdownPrivilege", enable it); false when a
    // step fails. RequestRestart asks for a restart that forces programs to close
    // (ExitWindowsEx with restart and force); false when the system refuses.
    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool RequestRestart() = 0;

    // The shell. COM for the calling thread: CoInitialize's result (kHrOk, kHrFalse when it
    // already was, or a failure).
    virtual std::int32_t ComInitialize() = 0;
    // A new shell link object (CLSID_ShellLink, in-process); CoCreateInstance's result.
    virtual std::int32_t CreateShellLink(std::unique_ptr<IShellLinkObject>& link) = 0;

    // Dynamic Data Exchange, client side. Text crosses as UTF-8; the server sees its own
    // code page.
    virtual DdeConversation DdeConnect(const std::string& service, const std::string& topic) = 0;  // 0: no server answered
    virtual void DdeDisconnect(DdeConversation conversation) = 0;
    // An execute transaction; false when the server did not process the command.
    virtual bool DdeExecute(DdeConversation conversation, const std::string& command) = 0;
    // A request for a data item as text (lines end in CR LF); false when there is no reply.
    virtual bool DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) = 0;
};

// The process-wide platform. Program start installs the real or the simulated one; tests
// install theirs with ScopedPlatform.
IPlatform& Current();
void SetCurrent(IPlatform* platform);

class ScopedPlatform {
public:
    explicit ScopedPlatform(IPlatform& platform) : FPrevious(TryCurrent()) { SetCurrent(&platform); }
    ~ScopedPlatform() { SetCurrent(FPrevious); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;
    static IPlatform* TryCurrent();

private:
    IPlatform* FPrevious;
};

// FileTime helpers for dates people write down.
FileTime MakeFileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace os
