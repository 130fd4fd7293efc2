// The machine the archive tool and benchmark work on. On Windows it is the real system. On
// other hosts it is a simulated machine in a scratch folder whose drive Z: is the host's root
// (as Wine shows it), so host files are reached as "Z:\dir\file" and relative names work
// from the host's current directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

class THostMachine {
public:
    THostMachine();
    ~THostMachine();
    THostMachine(const THostMachine&) = delete;
    THostMachine& operator=(const THostMachine&) = delete;

    os::IPlatform& Platform() { return *FPlatform; }
    // The program's arguments (without the program) as UTF-8.
    std::vector<std::string> Arguments(int argc, char** argv) const;
    // A path as the user typed it, in the machine's terms: separators become backslashes and
    // absolute host paths gain the drive.
    std::string FromUser(const std::string& path) const;

private:
    std::filesystem::path FScratch;
    std::unique_ptr<os::IPlatform> FPlatform;
};
