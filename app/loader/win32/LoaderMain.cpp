// QuenfoldLoadProgram.exe: the loader a distribution ships as "setup.exe".
#include <windows.h>

#include <string>

#include "app/loader/Loader.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/SysUtils.h"

namespace {

std::wstring Wide(const std::string& s) {
    const std::u16string u = rt::Utf8ToUtf16(s);
    return std::wstring(u.begin(), u.end());
}

int RunAndWait(const std::string& commandLine, const std::string& currentDir) {
    std::wstring command = Wide(commandLine);
    const std::wstring dir = Wide(currentDir);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) return -1;
    // Setup may restart the machine or stay up for a long time; the loader only waits.
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a library: the loader runs elevated from the distribution's folder.
    os::win32::RestrictDllSearch();
    os::Win32Platform platform;
    os::ScopedPlatform use(platform);
    const TLoaderResult result = RunLoader(platform, platform.ModuleFileName(), RunAndWait);
    if (!result.Error.empty() && !result.Unattended)
        MessageBoxW(nullptr, Wide(result.Error).c_str(), L"Setup", MB_OK | MB_ICONERROR);
    return result.ExitCode;
}
