// A simulated machine in a fresh folder, installed as the process's platform for one test.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/sim/SimPlatform.h"

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
