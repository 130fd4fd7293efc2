// The simulated machine's system (see SimPlatform.h): the Windows directories and version, the
// screen, keyboard layouts, the clock, the running program, other programs' windows, beeps and
// process starts, and the shell calls, which SimShell answers.
#include "platform/sim/SimMachine.h"
#include "platform/PeVersion.h"

#include "runtime/SysUtils.h"

namespace os {

using namespace sim_detail;

namespace {

// Windows codes the simulation reports but callers do not name.
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;
constexpr std::uint32_t kErrorTimeout = 1460;

}  // namespace

// ---- system -----------------------------------------------------------------------------

bool SimPlatform::GetWindowsDirectory(std::string& dir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->WindowsDirFails) return FMachine->Fail(kErrorPathNotFound);
    dir = FMachine->WindowsDir();
    return true;
}

bool SimPlatform::GetSystemDirectory(std::string& dir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->SystemDirFails) return FMachine->Fail(kErrorPathNotFound);
    dir = FMachine->SystemDir();
    return true;
}

OsVersion SimPlatform::GetVersion() {
    Lock lock(FMachine->Mutex);
    if (FMachine->ReportedVersion) return *FMachine->ReportedVersion;
    switch (FMachine->Kind) {
        case SimWindowsKind::Win95: return OsVersion{PlatformId::Windows, 4, 0, 950, ""};
        case SimWindowsKind::Win98: return OsVersion{PlatformId::Windows, 4, 10, 1998, ""};
        case SimWindowsKind::NT351: return OsVersion{PlatformId::NT, 3, 51, 1057, ""};
        case SimWindowsKind::NT4: return OsVersion{PlatformId::NT, 4, 0, 1381, "Service Pack 6"};
        case SimWindowsKind::Win2000: return OsVersion{PlatformId::NT, 5, 0, 2195, ""};
    }
    return OsVersion{};
}

int SimPlatform::ScreenWidth() {
    Lock lock(FMachine->Mutex);
    return FMachine->ScreenWidth;
}

int SimPlatform::ScreenHeight() {
    Lock lock(FMachine->Mutex);
    return FMachine->ScreenHeight;
}

bool SimPlatform::MiddleEastEnabled() {
    Lock lock(FMachine->Mutex);
    return FMachine->MiddleEast;
}

std::uint16_t SimPlatform::UserDefaultLangId() {
    Lock lock(FMachine->Mutex);
    return FMachine->LangId;
}

void SimPlatform::AddKeyboardLayout(const std::string& layoutId) {
    Lock lock(FMachine->Mutex);
    FMachine->KeyboardLayouts.insert(rt::UpperCase(layoutId));
}

std::string SimPlatform::ActiveKeyboardLayout() const {
    Lock lock(FMachine->Mutex);
    return FMachine->ActiveLayout;
}

bool SimPlatform::LoadKeyboardLayout(const std::string& layoutId, bool activate) {
    Lock lock(FMachine->Mutex);
    const std::string id = rt::UpperCase(layoutId);
    if (!FMachine->KeyboardLayouts.count(id)) return FMachine->Fail(kErrorFileNotFound);
    if (activate) FMachine->ActiveLayout = id;
    return true;
}

std::uint32_t SimPlatform::TimeOfDayMs() {
    Lock lock(FMachine->Mutex);
    return FMachine->ClockMs;
}

void SimPlatform::Sleep(std::uint32_t ms) { AdvanceClock(ms); }

std::string SimPlatform::ModuleFileName() {
    Lock lock(FMachine->Mutex);
    return FMachine->ModuleFileName;
}

std::vector<std::string> SimPlatform::CommandLineArgs() {
    Lock lock(FMachine->Mutex);
    return FMachine->Args;
}

std::uint32_t SimPlatform::CurrentProcessId() {
    Lock lock(FMachine->Mutex);
    return FMachine->ProcessId;
}

WindowHandle SimPlatform::FindWindow(const std::string& className) {
    Lock lock(FMachine->Mutex);
    for (auto it = FMachine->Windows.rbegin(); it != FMachine->Windows.rend(); ++it)
        if (rt::SameText(it->second.ClassName, className)) return it->first;
    FMachine->Fail(kErrorFileNotFound);
    return 0;
}

std::uint32_t SimPlatform::WindowProcessId(WindowHandle window) {
    Lock lock(FMachine->Mutex);
    const auto it = FMachine->Windows.find(window);
    if (it == FMachine->Windows.end()) {
        FMachine->Fail(kErrorInvalidWindowHandle);
        return 0;
    }
    return it->second.ProcessId;
}

std::intptr_t SimPlatform::SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    SimWindowProc handler;
    {
        Lock lock(FMachine->Mutex);
        const auto it = FMachine->Windows.find(window);
        if (it == FMachine->Windows.end()) {
            FMachine->Fail(kErrorInvalidWindowHandle);
            return 0;
        }
        handler = it->second.Handler;
    }
    // Unlocked: the handler may well call back into the machine.
    return handler ? handler(message, wParam, lParam) : 0;
}

bool SimPlatform::SendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     std::uint32_t timeoutMs, std::intptr_t& result) {
    SimWindowProc handler;
    {
        Lock lock(FMachine->Mutex);
        const auto it = FMachine->Windows.find(window);
        if (it == FMachine->Windows.end()) {
            FMachine->Fail(kErrorInvalidWindowHandle);
            return false;
        }
        if (it->second.Hung) {
            AdvanceClock(timeoutMs);
            FMachine->Fail(kErrorTimeout);
            return false;
        }
        handler = it->second.Handler;
    }
    result = handler ? handler(message, wParam, lParam) : 0;
    return true;
}

void SimPlatform::MessageBeep(std::uint32_t type) {
    Lock lock(FMachine->Mutex);
    FMachine->Beeps.push_back(type);
}

bool SimPlatform::StartProcess(const std::string& commandLine, const std::string& currentDir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->StartProcessFails) return FMachine->Fail(kErrorFileNotFound);
    FMachine->Started.push_back(SimProcessStart{commandLine, currentDir});
    return true;
}

// ---- the shell ----

void SimPlatform::SetShellFault(SimShellStep step, std::int32_t result) {
    Lock lock(FMachine->Mutex);
    FShell->SetFault(step, result);
}

void SimPlatform::SetProgramManagerRunning(bool running) {
    Lock lock(FMachine->Mutex);
    FShell->SetProgramManagerRunning(running);
}

void SimPlatform::SetProgramManagerRefuses(const std::string& command, bool refuses) {
    Lock lock(FMachine->Mutex);
    FShell->SetRefused(command, refuses);
}

std::vector<SimProgramGroup> SimPlatform::ProgramGroups() const {
    Lock lock(FMachine->Mutex);
    return FShell->Groups();
}

std::vector<std::string> SimPlatform::ProgramManagerMacros() const {
    Lock lock(FMachine->Mutex);
    return FShell->Executed();
}

std::int32_t SimPlatform::ComInitialize() {
    Lock lock(FMachine->Mutex);
    return FShell->ComInitialize();
}

std::int32_t SimPlatform::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
    Lock lock(FMachine->Mutex);
    return FShell->CreateShellLink(link);
}

DdeConversation SimPlatform::DdeConnect(const std::string& service, const std::string& topic) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    const DdeConversation conversation = FShell->Connect(service, topic, error);
    if (!conversation) FMachine->Fail(error);
    return conversation;
}

void SimPlatform::DdeDisconnect(DdeConversation conversation) {
    Lock lock(FMachine->Mutex);
    if (!FShell->Disconnect(conversation)) FMachine->Fail(kErrorInvalidHandle);
}

bool SimPlatform::DdeExecute(DdeConversation conversation, const std::string& command) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    return FShell->Execute(conversation, command, error) || FMachine->Fail(error);
}

bool SimPlatform::DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    return FShell->Request(conversation, item, reply, error) || FMachine->Fail(error);
}

bool SimPlatform::RunHidden(const std::string& commandLine, std::uint32_t) {
    const std::string program = ProgramOf(commandLine);
    if (!FileExists(program)) return Fail(kErrorFileNotFound);
    {
        auto image = OpenFile(program, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        if (!image || !IsPeImage(*image)) return Fail(kErrorBadExeFormat);
    }
    {
        Lock lock(FMachine->Mutex);
        if (FMachine->StartProcessFails) return FMachine->Fail(kErrorFileNotFound);
        FMachine->Started.push_back(SimProcessStart{commandLine, "", true});
    }
    const auto handler = ProgramHandler();
    // The program runs to its end before the call returns, as the caller waits for it.
    if (handler) handler(commandLine);
    return true;
}

}  // namespace os
