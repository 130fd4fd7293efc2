// A simulated machine in a fresh folder, installed as the process's platform for one test.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/sim/SimPlatform.h"

// A file's whole content, or "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(os::IPlatform& platform, const std::string& path) {
    auto file = platform.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::ReadWrite);
    if (!file) return "<missing>";
    std::string out(static_cast<std::size_t>(file->Size()), '\0');
    if (!out.empty()) file->Read(out.data(), out.size());
    return out;
}

class SimMachine {
public:
    SimMachine() : FRoot(NewRoot()), FPlatform(FRoot), FUse(FPlatform) {}
    ~SimMachine() {
        std::error_code ec;
        std::filesystem::remove_all(FRoot, ec);
    }
    os::SimPlatform& operator*() { return FPlatform; }
    os::SimPlatform* operator->() { return &FPlatform; }

private:
    static std::filesystem::path NewRoot() {
        static std::atomic<int> counter{0};
        auto dir = std::filesystem::temp_directory_path() /
                   ("brev-app-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                    std::to_string(counter++));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir;
    }
    std::filesystem::path FRoot;
    os::SimPlatform FPlatform;
    os::ScopedPlatform FUse;
};
