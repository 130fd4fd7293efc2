// The archive tests' fixture: a simulated machine with one archive component, files with
// known content and dates, raw views of volume bytes, and a recorder of the component's
// events in the order they fire.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "archive/cmp_TKembCompress.h"
#include "platform/Platform.h"
#include "runtime/StringList.h"
#include "tests/common/SimMachine.h"

class ArchiveTest : public ::testing::Test {
public:
    // 2001-02-03 04:05:06 UTC: day 36925 after 1899-12-30, an even second.
    static constexpr os::FileTime kDefaultTime = 126'256'467'060'000'000ull;
    static constexpr double kDefaultDate = 36925.0 + (4 * 3600 + 5 * 60 + 6) / 86400.0;

protected:
    void SetUp() override {
        kc = new TKembCompress(nullptr);
        P().CreateDirectory("C:\\src");
    }
    void TearDown() override { kc->Free(); }

    os::IPlatform& P() { return *machine; }

    void Put(const std::string& path, const std::string& content, os::FileTime time = kDefaultTime) {
        ForceDirectories(P(), rt::ExtractFilePath(path));
        auto file = P().OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(file) << path;
        ASSERT_EQ(file->Write(content.data(), content.size()), static_cast<std::int64_t>(content.size()));
        ASSERT_TRUE(file->SetTime(time));
    }
    std::string Get(const std::string& path) { return ReadWholeFile(P(), path); }
    os::FileTime TimeOf(const std::string& path) {
        os::FileTime t = 0;
        P().GetFileTime(path, t);
        return t;
    }
    // Distinct, repeatable bytes for each seed.
    static std::string Pattern(std::size_t size, unsigned seed) {
        std::string s(size, '\0');
        std::uint32_t x = seed * 2654435761u + 1;
        for (auto& c : s) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 24);
        }
        return s;
    }
    void Files(std::vector<std::string> lines) {
        rt::TStringList list;
        list.SetLines(lines);
        kc->SetFilesToProcess(list);
    }
    void Build(const std::string& archive, std::vector<std::string> lines, TlzhCommand command = TlzhCommand::lzcOverwrite) {
        kc->SetCompressedFile(archive);
        Files(std::move(lines));
        kc->AddFiles(command);
    }
    void Extract(const std::string& archive, const std::string& dir, std::vector<std::string> lines) {
        kc->SetCompressedFile(archive);
        kc->SetExtractDirectory(dir);
        Files(std::move(lines));
        kc->ExtractFiles();
    }

    static std::int32_t I32(const std::string& b, std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b.at(at + static_cast<std::size_t>(i)));
        return static_cast<std::int32_t>(v);
    }
    static double F64(const std::string& b, std::size_t at) {
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b.at(at + static_cast<std::size_t>(i)));
        double d;
        std::memcpy(&d, &v, sizeof d);
        return d;
    }
    static std::uint8_t U8(const std::string& b, std::size_t at) { return static_cast<std::uint8_t>(b.at(at)); }
    void PutI32(const std::string& path, std::size_t at, std::int32_t value) {
        std::string b = Get(path);
        for (int i = 0; i < 4; ++i) b.at(at + static_cast<std::size_t>(i)) = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
        Put(path, b);
    }
    void PutU8(const std::string& path, std::size_t at, std::uint8_t value) {
        std::string b = Get(path);
        b.at(at) = static_cast<char>(value);
        Put(path, b);
    }

    SimMachine machine;
    TKembCompress* kc = nullptr;
};

// Records the events of an archive component as short texts, in firing order.
class EventLog : public rt::TObject {
public:
    explicit EventLog(TKembCompress& kc, bool statusDetail = false) : FKc(kc), FDetail(statusDetail) {
        kc.OnBeforeAdding = Stats("BeforeAdding");
        kc.OnAfterAdding = Stats("AfterAdding");
        kc.OnBeforeExtracting = Stats("BeforeExtracting");
        kc.OnAfterExtracting = Stats("AfterExtracting");
        kc.OnReplace = Stats("Replace");
        kc.OnStatus = TlzhFileStatsEvent(this, [this](TKembCompress*, TlzhFileStats& s) {
            Records.push_back(s);
            if (s.FileFinished) Lines.push_back("Finished " + s.Name);
            else if (FDetail) Lines.push_back(std::string("Status ") + std::to_string(s.FileBytesDone));
        });
        kc.OnAborted = rt::TNotifyEvent(this, [this](rt::TObject*) { Lines.push_back("Aborted"); });
        kc.OnNewDisk = TlzhNewDiskEvent(this, [this](TKembCompress*, std::int32_t disk, std::string& path) {
            Lines.push_back(std::string("NewDisk ") + std::to_string(disk) + " " + path);
            if (NewDisk) NewDisk(disk, path);
        });
    }
    // The component outlives the log: nothing may call into it afterwards.
    ~EventLog() override {
        for (TlzhFileStatsEvent* e : {&FKc.OnBeforeAdding, &FKc.OnAfterAdding, &FKc.OnBeforeExtracting, &FKc.OnAfterExtracting,
                                      &FKc.OnReplace, &FKc.OnStatus})
            e->Clear();
        FKc.OnAborted.Clear();
        FKc.OnNewDisk.Clear();
    }
    std::vector<std::string> Lines;
    std::vector<TlzhFileStats> Records;
    std::function<void(int, std::string&)> NewDisk;

private:
    TlzhFileStatsEvent Stats(const std::string& what) {
        return TlzhFileStatsEvent(this, [this, what](TKembCompress*, TlzhFileStats& s) { Lines.push_back(what + " " + s.Name); });
    }
    TKembCompress& FKc;
    bool FDetail;
};

using Lines = std::vector<std::string>;
