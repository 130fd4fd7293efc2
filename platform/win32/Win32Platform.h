// The real Windows platform: every call goes to the wide (W) API, with UTF-8 converted to
// UTF-16 and back at this boundary. Only Windows builds compile it; this header stays free
// of <windows.h> so its macros never reach the rest of the program.
#pragma once

#include "platform/Platform.h"

namespace os {

class Win32Platform : public IPlatform {
public:
    Win32Platform() = default;
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    std::uint32_t LastError() const override { return FLastError; }

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
    bool GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& block) override;

    bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) override;
    std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    LibraryCall CallLibraryFunction(const std::string& path, const std::string& function, std::int32_t& result) override;
    bool LibraryExports(const std::string& path, const std::string& function) override;
    bool RunHidden(const std::string& commandLine, std::uint32_t timeoutMs) override;
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
    // Split as the classic Windows programs do: blanks separate, double quotes group and are
    // dropped, backslashes are never escapes (so /DIR="C:\X\" keeps its last backslash).
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

    // The shell link object through COM, wide (IShellLinkW) so names outside the ANSI code
    // page survive.
    std::int32_t ComInitialize() override;
    std::int32_t CreateShellLink(std::unique_ptr<IShellLinkObject>& link) override;
    // A DDEML client instance, made on first use and ended with this object.
    DdeConversation DdeConnect(const std::string& service, const std::string& topic) override;
    void DdeDisconnect(DdeConversation conversation) override;
    bool DdeExecute(DdeConversation conversation, const std::string& command) override;
    bool DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) override;

private:
    bool Fail();                          // keeps GetLastError()
    bool Fail(std::uint32_t code);        // keeps a code returned by the call itself

    std::uint32_t FLastError = 0;
    std::uint32_t FDdeInstance = 0;
};

// The command-line splitting rule above, for callers and tests that hold the raw line.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace os
