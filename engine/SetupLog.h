// The run's log: a line per step with the time of day, written as it goes so that a run that
// dies leaves everything up to that point. Nothing is written until a file is opened; the
// engine, the system integration and the pages log through SetupLog() whether or not one is.
#pragma once

#include <memory>
#include <string>

namespace os {
class IFile;
class IPlatform;
}  // namespace os

class TSetupLog {
public:
    TSetupLog();
    ~TSetupLog();

    // Starts the log in path, replacing an older one; false when it cannot be made.
    bool Open(os::IPlatform& platform, const std::string& path);
    void Close();
    bool IsOpen() const { return FFile != nullptr; }
    const std::string& Path() const { return FPath; }

    // "hh:mm:ss.mmm  text", CR LF, handed to the system at once.
    void Line(const std::string& text);

private:
    os::IPlatform* FPlatform = nullptr;
    std::unique_ptr<os::IFile> FFile;
    std::string FPath;
};

TSetupLog& SetupLog();
// Shorthand for SetupLog().Line(text).
void LogLine(const std::string& text);
