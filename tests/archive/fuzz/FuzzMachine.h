// The simulated machine the archive fuzz target and its seed maker work in: a scratch folder
// for the process's lifetime, volumes written as C:\arc\files.1 and files.2.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/sim/SimPlatform.h"

class TFuzzMachine {
public:
    TFuzzMachine() {
        std::random_device random;
        FRoot = std::filesystem::temp_directory_path() / ("brev-archive-fuzz-" + std::to_string(random()));
        std::filesystem::create_directories(FRoot);
        FSim = new os::SimPlatform(FRoot);
        FSim->CreateDirectory("C:\\arc");
        FSim->CreateDirectory("C:\\out");
        os::SetCurrent(FSim);
    }
    ~TFuzzMachine() {
        os::SetCurrent(nullptr);
        delete FSim;
        std::error_code ec;
        std::filesystem::remove_all(FRoot, ec);
    }
    os::SimPlatform& Sim() { return *FSim; }

    void PutVolume(int n, const std::string& bytes) {
        const std::string path = "C:\\arc\\files." + std::to_string(n);
        auto f = FSim->OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        if (f && !bytes.empty()) f->Write(bytes.data(), bytes.size());
    }
    std::string GetVolume(int n) {
        std::ifstream in(FSim->HostPath("C:\\arc\\files." + std::to_string(n)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Whatever the last run extracted goes, so runs do not pile up files.
    void ClearOutput() {
        std::error_code ec;
        const auto out = FSim->HostPath("C:\\out");
        for (const auto& entry : std::filesystem::directory_iterator(out, ec)) std::filesystem::remove_all(entry.path(), ec);
    }

private:
    std::filesystem::path FRoot;
    os::SimPlatform* FSim;
};
