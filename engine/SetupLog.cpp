// The run's log; see SetupLog.h.
#include "engine/SetupLog.h"

#include <cstdio>

#include "platform/Platform.h"

TSetupLog::TSetupLog() = default;
TSetupLog::~TSetupLog() = default;

bool TSetupLog::Open(os::IPlatform& platform, const std::string& path) {
    Close();
    FFile = platform.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::Read);
    if (!FFile) return false;
    FPlatform = &platform;
    FPath = path;
    return true;
}

void TSetupLog::Close() {
    FFile.reset();
    FPlatform = nullptr;
    FPath.clear();
}

void TSetupLog::Line(const std::string& text) {
    if (!FFile) return;
    const std::uint32_t ms = FPlatform->TimeOfDayMs();
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u.%03u  ", ms / 3600000 % 24, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    // Lines that carry their own breaks (a message of several lines) stay one entry.
    std::string line = stamp;
    for (char c : text) line += c == '\r' ? ' ' : c == '\n' ? ' ' : c;
    line += "\r\n";
    // A log that cannot be written must not stop the installation it reports on.
    FFile->Write(line.data(), line.size());
}

TSetupLog& SetupLog() {
    static TSetupLog log;
    return log;
}

void LogLine(const std::string& text) { SetupLog().Line(text); }
