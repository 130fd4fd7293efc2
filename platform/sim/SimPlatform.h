// A simulated Windows machine living in a host folder: drives are sub-folders of the machine
// root, the registry is kept in memory and saved as <root>\registry.reg (REGEDIT4), and
// switches make chosen calls fail so tests can drive the error paths.
#pragma once

#include "platform/Platform.h"
#include "platform/sim/SimShell.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace os {

// Which Windows the machine pretends to be: version numbers and directory names.
enum class SimWindowsKind { Win95, Win98, NT351, NT4, Win2000 };

struct SimProcessStart {
    std::string CommandLine;
    std::string CurrentDir;
    bool Hidden = false;  // started by RunHidden, which also waited for it
};

struct SimLibraryCall {
    std::string Path;      // the library as the program named it
    std::string Function;
};

struct SimMessageBox {
    std::string Text;
    std::string Caption;
    std::uint32_t Type = 0;
};

struct SimRecycledFile {
    std::string Path;                // as the program named it
    std::filesystem::path BinPath;   // where it went, under <root>/RecycleBin
};

struct SimPendingRename {
    std::string From;
    std::string To;  // empty: delete at restart
};

// A restart the program asked for; the machine never restarts, it keeps the request.
struct SimRestartRequest {
    bool PrivilegeHeld = false;  // the process had enabled the shutdown privilege
    bool Granted = false;        // the machine would have restarted
};

using SimWindowProc = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

// Layout of the machine root:
//   <root>/C, <root>/D ...   one folder per drive letter
//   <root>/registry.reg      the registry, rewritten after every change
//   <root>/machine.dat       drives, Windows kind, and per-file attributes, exact file times
//                            and assigned 8.3 aliases (the host keeps none of these)
//   <root>/RecycleBin        files the program sent to the recycle bin
// The Program Manager's groups are kept in memory, for the life of this object.
class SimPlatform : public IPlatform {
public:
    // Opens the machine stored in machineRoot; a folder without one gets a fresh machine of
    // the given kind (see Format).
    explicit SimPlatform(std::filesystem::path machineRoot, SimWindowsKind kind = SimWindowsKind::NT4);
    ~SimPlatform() override;
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    // Machine set-up.
    const std::filesystem::path& MachineRoot() const;
    // Writes registry.reg and machine.dat now; otherwise they are written when the machine
    // ends, also when an exception ends it.
    void Flush();
    // How many times the machine has read a whole folder: a lookup must not cost one.
    std::uint64_t FolderReads() const;
    // Lays out drive C: (2 GB, 1 GB free, when missing), the Windows and system directories
    // of the kind and C:\TEMP. Existing files are kept.
    void Format(SimWindowsKind kind);
    // Changes the reported version and directory names only.
    void SetWindowsKind(SimWindowsKind kind);
    SimWindowsKind WindowsKind() const;
    // Creates <root>/<letter>, or resets the sizes of an existing drive.
    void AddDrive(char letter, std::uint64_t totalBytes, std::uint64_t freeBytes);
    // The host path a Windows path maps to (a missing last name keeps the case given);
    // empty when the path cannot be resolved.
    std::filesystem::path HostPath(const std::string& windowsPath);
    // The same, with what is there: false when the path cannot be resolved.
    bool Locate(const std::string& windowsPath, std::filesystem::path& host, bool& exists, bool& directory);
    // The host path of windowsPath spelt exactly as given, worked out without asking the
    // host: where the host has it, Locate would say the same. False for a path that does
    // not parse or a drive that is not there or not ready.
    bool HostPathAsGiven(const std::string& windowsPath, std::filesystem::path& host);
    // A file a subclass made on the host itself (through its own descriptors) joins the
    // machine's view of its folder as one the machine made.
    void NoteHostCreated(const std::string& windowsPath);
    void SetScreenSize(int width, int height);  // 800x600 until set
    void SetMiddleEast(bool enabled);
    void SetUserDefaultLangId(std::uint16_t langId);  // 1033 until set
    // The machine's ANSI code page: 1252 (Western) until set, or 1255 (Hebrew).
    void SetAnsiCodePage(int codePage) { FAnsiCodePage = codePage; }
    // Keyboard layouts the machine can load ("00000409" until others are added), and the
    // one active now.
    void AddKeyboardLayout(const std::string& layoutId);
    std::string ActiveKeyboardLayout() const;
    void SetTimeOfDay(std::uint32_t ms);        // wraps at midnight; noon until set
    void AdvanceClock(std::uint64_t ms);
    void SetModuleFileName(std::string path);   // C:\SETUP.EXE until set
    void SetCommandLineArgs(std::vector<std::string> args);
    void SetProcessId(std::uint32_t id);

    // Other programs' top-level windows. FindWindow returns the newest match.
    WindowHandle AddWindow(std::string className, std::uint32_t processId, SimWindowProc handler);
    void RemoveWindow(WindowHandle window);
    // A hung program: its window answers no message; a send with a timeout waits it out.
    void SetWindowHung(WindowHandle window, bool hung);

    // Fault switches.
    void SetFileInUse(const std::string& path, bool inUse);  // opens for writing, deletes, moves: kErrorSharingViolation
    void SetDiskFull(char letter, bool full);                // no free bytes: writes fail with kErrorDiskFull
    void SetRegistryDenied(bool denied);                     // creates, writes, deletes: kErrorAccessDenied
    void SetDriveNotReady(char letter, bool notReady);       // everything on the drive: kErrorNotReady
    void SetRecycleFails(bool fails);
    void SetStartProcessFails(bool fails);
    void SetWindowsDirFails(bool fails);
    void SetSystemDirFails(bool fails);
    void SetRestartMovesFail(bool fails);                    // MoveFileAtRestart: kErrorAccessDenied
    // Reports this version instead of the kind's (Win32s, or a platform the program does not
    // know); the directories stay the kind's.
    void SetReportedVersion(const OsVersion& version);

    // Installation services. A library loads when it is a PE image; its entry points are
    // the names its export table lists, and a call returns the result set here (0 until set).
    // A hidden program runs when its file is an image; handler, when set, is what it does.
    void SetLibraryFunctionResult(const std::string& function, std::int32_t result);
    void SetProgramHandler(std::function<void(const std::string& commandLine)> handler);
    // Answers of the next message boxes, in order; without one a box answers kIdCancel.
    void QueueMessageBoxAnswer(int answer);
    // Restarts: the privilege lookup can be refused, and so can the restart itself. An NT
    // machine also refuses a restart to a process without the shutdown privilege
    // (ERROR_PRIVILEGE_NOT_HELD), as Windows NT does.
    void SetShutdownPrivilegeRefused(bool refused);
    void SetRestartRefused(bool refused);

    // The shell: a step of making shell links that fails with result (kHrOk clears); the
    // Program Manager's presence on DDE, and a macro command it refuses.
    void SetShellFault(SimShellStep step, std::int32_t result);
    void SetProgramManagerRunning(bool running);
    void SetProgramManagerRefuses(const std::string& command, bool refuses);

    // What the program did.
    std::vector<SimProgramGroup> ProgramGroups() const;
    std::vector<std::string> ProgramManagerMacros() const;  // every execute received, as sent
    std::vector<std::uint32_t> Beeps() const;
    std::vector<SimProcessStart> StartedProcesses() const;
    std::vector<SimRecycledFile> RecycledFiles() const;
    std::vector<SimPendingRename> PendingRenames() const;
    std::vector<SimLibraryCall> LibraryCalls() const;
    std::vector<SimMessageBox> MessageBoxes() const;
    std::vector<SimRestartRequest> RestartRequests() const;

    // IPlatform.
    std::uint32_t LastError() const override;

    std::uint32_t GetFileAttributes(const std::string& path) override;
    bool SetFileAttributes(const std::string& path, std::uint32_t attributes) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool MoveFile(const std::string& from, const std::string& to) override;
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    bool FindFiles(const std::string& pattern, std::vector<FindData>& result) override;
    std::unique_ptr<IFile> OpenFile(const std::string& path, OpenMode mode, Disposition disposition, Share share) override;
    bool GetFileTime(const std::string& path, FileTime& lastWrite) override;
    bool SetFileTime(const std::string& path, FileTime lastWrite) override;
    bool GetDiskFreeSpace(const std::string& path, std::uint64_t& freeBytes, std::uint64_t& totalBytes) override;
    std::string GetTempPath() override;
    std::string GetTempFileName(const std::string& dir, const std::string& prefix) override;
    std::string GetShortPathName(const std::string& path) override;
    std::string GetCurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    bool RecycleFile(const std::string& path) override;
    bool MoveFileAtRestart(const std::string& from, const std::string& to) override;
    // Read from the PE image itself (see PeVersion.h).
    bool GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& block) override;

    // Sections and keys compare without case; the file is kept in code page 1252.
    bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) override;
    std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    LibraryCall CallLibraryFunction(const std::string& path, const std::string& function, std::int32_t& result) override;
    bool LibraryExports(const std::string& path, const std::string& function) override;
    // Waits for nothing: the handler runs at once.
    bool RunHidden(const std::string& commandLine, std::uint32_t timeoutMs) override;
    // The version installer works as Windows' does: a temporary copy in the destination, the
    // version, type and language checks, write protection, and a destination that
    // SetFileInUse marks (kVifFileInUse, the copy left behind).
    std::uint32_t VerFindFile(std::uint32_t flags, const std::string& fileName, const std::string& windowsDir,
                              const std::string& appDir, std::string& currentDir, std::string& destDir) override;
    std::uint32_t VerInstallFile(std::uint32_t flags, const std::string& srcName, const std::string& destName,
                                 const std::string& srcDir, const std::string& destDir, const std::string& currentDir,
                                 std::string& tempFile) override;

    KeyHandle RegOpenKey(RootKey root, const std::string& path, bool writable) override;
    KeyHandle RegCreateKey(RootKey root, const std::string& path) override;
    void RegCloseKey(KeyHandle key) override;
    bool RegQueryValue(KeyHandle key, const std::string& name, RegValue& value) override;
    bool RegSetValue(KeyHandle key, const std::string& name, const RegValue& value) override;
    bool RegDeleteValue(KeyHandle key, const std::string& name) override;
    bool RegDeleteTree(RootKey root, const std::string& path) override;
    bool RegEnumKeys(KeyHandle key, std::vector<std::string>& names) override;
    bool RegEnumValues(KeyHandle key, std::vector<std::string>& names) override;

    bool GetWindowsDirectory(std::string& dir) override;
    bool GetSystemDirectory(std::string& dir) override;
    OsVersion GetVersion() override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    bool MiddleEastEnabled() override;
    std::uint16_t UserDefaultLangId() override;
    bool ToAnsiCodePage(std::string_view utf8, std::string& ansi) override;
    std::string FromAnsiCodePage(std::string_view ansi) override;
    bool LoadKeyboardLayout(const std::string& layoutId, bool activate) override;

    std::uint32_t TimeOfDayMs() override;
    void Sleep(std::uint32_t ms) override;

    std::string ModuleFileName() override;
    std::vector<std::string> CommandLineArgs() override;
    std::uint32_t CurrentProcessId() override;

    WindowHandle FindWindow(const std::string& className) override;
    std::uint32_t WindowProcessId(WindowHandle window) override;
    std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool SendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            std::uint32_t timeoutMs, std::intptr_t& result) override;
    void MessageBeep(std::uint32_t type) override;
    int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type) override;

    bool StartProcess(const std::string& commandLine, const std::string& currentDir) override;
    bool EnableShutdownPrivilege() override;
    bool RequestRestart() override;

    std::int32_t ComInitialize() override;
    std::int32_t CreateShellLink(std::unique_ptr<IShellLinkObject>& link) override;
    DdeConversation DdeConnect(const std::string& service, const std::string& topic) override;
    void DdeDisconnect(DdeConversation conversation) override;
    bool DdeExecute(DdeConversation conversation, const std::string& command) override;
    bool DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) override;

    struct Machine;  // shared with open files, which may outlive this object

private:
    struct Services;  // the installation services' state (SimServices.cpp)
    Services& Svc();
    std::function<void(const std::string&)> ProgramHandler();
    bool Fail(std::uint32_t code);
    // The program file a command line starts, found as CreateProcess finds it.
    std::string ProgramOf(const std::string& commandLine);

    std::shared_ptr<Machine> FMachine;
    int FAnsiCodePage = 1252;
    std::unique_ptr<SimShell> FShell;
    std::shared_ptr<Services> FServices;
};

}  // namespace os
