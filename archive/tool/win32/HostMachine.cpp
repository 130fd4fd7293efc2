// The tool's machine on Windows: the real system; see HostMachine.h.
#include "archive/tool/HostMachine.h"

#include "platform/win32/Win32Platform.h"

THostMachine::THostMachine() : FPlatform(std::make_unique<os::Win32Platform>()) {}

THostMachine::~THostMachine() = default;

std::string THostMachine::FromUser(const std::string& path) const {
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}


// The wide command line: argv would hold the ANSI code page's approximation.
std::vector<std::string> THostMachine::Arguments(int, char**) const { return FPlatform->CommandLineArgs(); }
