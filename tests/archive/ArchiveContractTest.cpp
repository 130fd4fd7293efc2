// The archive through each platform the build has: the simulated machine everywhere, the
// archive tool's host machine (host files, which copy extracted data themselves) on other
// hosts and, in the Windows build under Wine, the real system. All build, cut, read back and
// extract the same files, and produce byte-identical archives from them.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "archive/cmp_TKembCompress.h"
#include "platform/sim/SimPlatform.h"
#include "runtime/StringList.h"
#include "tests/common/Flavours.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "archive/tool/HostMachine.h"
#endif

namespace {

namespace fs = std::filesystem;

// A platform with a scratch folder that is also its current directory, so relative names
// read the same on every platform.
class Env {
public:
    virtual ~Env() = default;
    virtual os::IPlatform& Platform() = 0;
    std::string Scratch;
};

class SimEnv : public Env {
public:
    SimEnv() {
        std::random_device random;
        FRoot = fs::temp_directory_path() / ("brev-archive-contract-" + std::to_string(random()));
        fs::create_directories(FRoot);
        FSim = std::make_unique<os::SimPlatform>(FRoot);
        Scratch = "C:\\contract";
        FSim->CreateDirectory(Scratch);
        FSim->SetCurrentDirectory(Scratch);
    }
    ~SimEnv() override {
        FSim.reset();
        std::error_code ec;
        fs::remove_all(FRoot, ec);
    }
    os::IPlatform& Platform() override { return *FSim; }

private:
    fs::path FRoot;
    std::unique_ptr<os::SimPlatform> FSim;
};

#ifdef _WIN32
class Win32Env : public Env {
public:
    Win32Env() {
        FOld = FWin.GetCurrentDirectory();
        std::random_device random;
        Scratch = FWin.GetTempPath() + "BrevArchiveContract-" + std::to_string(random());
        FWin.CreateDirectory(Scratch);
        FWin.SetCurrentDirectory(Scratch);
    }
    ~Win32Env() override {
        FWin.SetCurrentDirectory(FOld);
        Remove(Scratch);
    }
    os::IPlatform& Platform() override { return FWin; }

private:
    void Remove(const std::string& dir) {
        std::vector<os::FindData> entries;
        if (FWin.FindFiles(dir + "\\*", entries))
            for (const auto& e : entries) {
                if (e.Name == "." || e.Name == "..") continue;
                if (e.Attributes & os::kAttrDirectory) Remove(dir + "\\" + e.Name);
                else FWin.DeleteFile(dir + "\\" + e.Name);
            }
        FWin.RemoveDirectory(dir);
    }
    os::Win32Platform FWin;
    std::string FOld;
};
#endif

#ifndef _WIN32
// The archive tool's machine in a scratch folder of the host.
class HostEnv : public Env {
public:
    HostEnv() {
        std::random_device random;
        FRoot = fs::temp_directory_path() / ("brev-archive-host-" + std::to_string(random()));
        fs::create_directories(FRoot);
        Scratch = FHost.FromUser(FRoot.string());
        FHost.Platform().SetCurrentDirectory(Scratch);
    }
    ~HostEnv() override {
        std::error_code ec;
        fs::remove_all(FRoot, ec);
    }
    os::IPlatform& Platform() override { return FHost.Platform(); }

private:
    THostMachine FHost;
    fs::path FRoot;
};
#endif

using Flavour = TFlavour<Env>;

std::vector<Flavour> Flavours() {
#ifdef _WIN32
    return FlavoursOf<Env, SimEnv, Win32Env>();
#else
    auto all = FlavoursOf<Env, SimEnv>();
    all.push_back({"Host", [] { return std::unique_ptr<Env>(new HostEnv); }});
    return all;
#endif
}

std::string Pattern(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    std::uint32_t x = seed * 2654435761u + 7;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

const os::FileTime kStamp = os::MakeFileTime(1998, 7, 6, 5, 4, 2);

// Same files, same names, same dates on any platform.
void MakeFiles(os::IPlatform& p) {
    p.CreateDirectory("data");
    p.CreateDirectory("data\\sub");
    const std::pair<const char*, std::string> files[] = {
        {"data\\one.bin", Pattern(70000, 1)}, {"data\\sub\\two.txt", "two"}, {"data\\empty", ""}, {"data\\three.bin", Pattern(9000, 3)}};
    for (const auto& [name, content] : files) {
        auto f = p.OpenFile(name, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(f) << name;
        ASSERT_EQ(f->Write(content.data(), content.size()), static_cast<std::int64_t>(content.size()));
        ASSERT_TRUE(f->SetTime(kStamp));
    }
}

std::string Read(os::IPlatform& p, const std::string& path) {
    auto f = p.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!f) return "<missing>";
    std::string out(static_cast<std::size_t>(f->Size()), '\0');
    if (!out.empty()) f->Read(out.data(), out.size());
    return out;
}

// The archives of MakeFiles: one volume, then cut into volumes of 30000 bytes.
std::vector<std::string> BuildBoth(os::IPlatform& p) {
    os::ScopedPlatform use(p);
    MakeFiles(p);
    TKembCompress* kc = new TKembCompress(nullptr);
    rt::TStringList lines{"data\\one.bin;1;2", "data\\sub\\two.txt", "data\\empty", "data\\three.bin"};
    kc->SetFilesToProcess(lines);
    kc->SetCompressedFile("single\\files.1");
    kc->AddFiles(TlzhCommand::lzcOverwrite);
    kc->SetFilesToProcess(lines);
    kc->SetVolumeSize(30000);
    kc->SetCompressedFile("cut\\files.1");
    kc->AddFiles(TlzhCommand::lzcOverwrite);
    kc->Free();
    std::vector<std::string> volumes{Read(p, "single\\files.1")};
    for (int n = 1; n <= 4; ++n) volumes.push_back(Read(p, "cut\\files." + std::to_string(n)));
    return volumes;
}

class ArchiveContract : public testing::TestWithParam<Flavour> {
protected:
    void SetUp() override { FEnv = GetParam().Make(); }
    std::unique_ptr<Env> FEnv;
};

TEST_P(ArchiveContract, BuildCutAndExtract_GiveBackEveryFile) {
    os::IPlatform& p = FEnv->Platform();
    const auto volumes = BuildBoth(p);
    EXPECT_EQ(volumes[1].size(), 30000u);
    EXPECT_EQ(volumes[2].size(), 30000u);
    EXPECT_EQ(volumes[3].size(), 5 + 4 * 164 + 70000 + 3 + 9000 - 60000u) << "two full volumes and the rest";
    EXPECT_EQ(volumes[4], "<missing>");
    os::ScopedPlatform use(p);
    TKembCompress* kc = new TKembCompress(nullptr);
    for (const char* archive : {"single\\files.1", "cut\\files.1"}) {
        kc->SetCompressedFile(archive);
        EXPECT_EQ(kc->FileCount(), 4);
        const std::string out = std::string("out-") + archive[0];
        kc->SetExtractDirectory(out);
        rt::TStringList names{"DATA\\ONE.BIN", "data\\sub\\two.txt", "data\\empty", "data\\three.bin"};
        kc->SetFilesToProcess(names);
        kc->ExtractFiles();
        EXPECT_EQ(Read(p, out + "\\one.bin"), Read(p, "data\\one.bin"));
        EXPECT_EQ(Read(p, out + "\\two.txt"), "two");
        EXPECT_EQ(Read(p, out + "\\empty"), "");
        EXPECT_EQ(Read(p, out + "\\three.bin"), Read(p, "data\\three.bin"));
        os::FileTime t = 0;
        EXPECT_TRUE(p.GetFileTime(out + "\\one.bin", t));
        EXPECT_EQ(t, kStamp);
    }
    // Missing volume 3 of the cut archive, asked for and given from another folder.
    ASSERT_TRUE(p.CreateDirectory("disk3"));
    ASSERT_TRUE(p.MoveFile("cut\\files.3", "disk3\\files.3"));
    int asked = 0;
    kc->OnNewDisk = TlzhNewDiskEvent(nullptr, [&asked](TKembCompress*, std::int32_t disk, std::string& path) {
        ++asked;
        EXPECT_EQ(disk, 3);
        path = "disk3";
    });
    kc->SetCompressedFile("cut\\files.1");
    kc->SetExtractDirectory("again");
    rt::TStringList one{"data\\one.bin"};
    kc->SetFilesToProcess(one);
    kc->ExtractFiles();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Read(p, "again\\one.bin"), Read(p, "data\\one.bin"));
    kc->Free();
}

INSTANTIATE_TEST_SUITE_P(AllPlatforms, ArchiveContract, testing::ValuesIn(Flavours()),
                         [](const testing::TestParamInfo<Flavour>& info) { return info.param.Name; });

#ifndef _WIN32
// The tool's machine opens a file spelt as on the host at once, and one spelt otherwise
// through the machine's lookup; a folder is no file either way.
TEST(HostMachine, ReadOpens_FindFilesInAnyCaseAndRefuseFolders) {
    HostEnv host;
    os::IPlatform& p = host.Platform();
    MakeFiles(p);
    for (const char* name : {"data\\three.bin", "DATA\\THREE.BIN"}) {
        auto f = p.OpenFile(name, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
        ASSERT_TRUE(f) << name;
        EXPECT_EQ(f->Size(), 9000) << name;
        os::FileTime t = 0;
        EXPECT_TRUE(f->GetTime(t));
        EXPECT_EQ(t, kStamp) << name;
        EXPECT_EQ(f->Size(), 9000) << "asked again";
        std::string head(4, '\0');
        EXPECT_EQ(f->Read(head.data(), head.size()), 4);
        EXPECT_EQ(head, Pattern(9000, 3).substr(0, 4));
    }
    for (const char* folder : {"data", "DATA\\SUB"})
        EXPECT_FALSE(p.OpenFile(folder, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read)) << folder;
    EXPECT_FALSE(p.OpenFile("data\\none.bin", os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read));
}

// The tool's files copy extracted data in pieces of their own, and the component hands them
// the file window by window: a file over both sizes, its data at no round offset, comes back
// whole, and so does the small file after it.
TEST(HostMachine, Extract_FileOverTheCopyPiecesComesBackWhole) {
    HostEnv host;
    os::IPlatform& p = host.Platform();
    os::ScopedPlatform use(p);
    p.CreateDirectory("big");
    const std::string large = Pattern((17 << 20) + 4321, 9), small = Pattern(333, 4);
    for (const auto& [name, content] : {std::pair{"big\\large.bin", large}, std::pair{"big\\small.bin", small}}) {
        auto f = p.OpenFile(name, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(f);
        ASSERT_EQ(f->Write(content.data(), content.size()), static_cast<std::int64_t>(content.size()));
    }
    TKembCompress* kc = new TKembCompress(nullptr);
    rt::TStringList lines{"big\\large.bin", "big\\small.bin"};
    kc->SetFilesToProcess(lines);
    kc->SetCompressedFile("big.1");
    kc->AddFiles(TlzhCommand::lzcOverwrite);
    kc->SetExtractDirectory("out");
    kc->SetFilesToProcess(lines);
    kc->ExtractFiles();
    kc->Free();
    EXPECT_TRUE(Read(p, "out\\large.bin") == large);
    EXPECT_EQ(Read(p, "out\\small.bin"), small);
}
#endif

#ifdef _WIN32
using SystemEnv = Win32Env;
#else
using SystemEnv = HostEnv;
#endif

// The format does not depend on the platform that writes it.
TEST(ArchiveContractCross, SimAndSystem_WriteTheSameBytes) {
    SimEnv sim;
    SystemEnv system;
    const auto a = BuildBoth(sim.Platform());
    const auto b = BuildBoth(system.Platform());
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << "volume set " << i;
}

// Every status and file event of an extraction, as text: name, bytes done, finished.
std::vector<std::string> ExtractionEvents(os::IPlatform& p, const char* archive) {
    os::ScopedPlatform use(p);
    TKembCompress* kc = new TKembCompress(nullptr);
    std::vector<std::string> events;
    const auto record = [&events](const char* what) {
        return TlzhFileStatsEvent(nullptr, [&events, what](TKembCompress*, TlzhFileStats& s) {
            events.push_back(std::string(what) + " " + s.Name + " " + std::to_string(s.FileBytesDone) + " " +
                             std::to_string(s.TotalBytesDone) + " " + std::to_string(s.FileFinished));
        });
    };
    kc->OnBeforeExtracting = record("before");
    kc->OnStatus = record("status");
    kc->OnAfterExtracting = record("after");
    kc->SetCompressedFile(archive);
    kc->SetExtractDirectory("events");
    rt::TStringList names{"data\\one.bin", "data\\sub\\two.txt", "data\\empty", "data\\three.bin"};
    kc->SetFilesToProcess(names);
    kc->ExtractFiles();
    kc->Free();
    return events;
}

// A target that copies the bytes itself (the host's files) reports the same blocks as
// the buffered extraction: the pump counts what it no longer carries.
TEST(ArchiveContractCross, SimAndSystem_ExtractWithTheSameEvents) {
    SimEnv sim;
    SystemEnv system;
    BuildBoth(sim.Platform());
    BuildBoth(system.Platform());
    for (const char* archive : {"single\\files.1", "cut\\files.1"}) {
        const auto a = ExtractionEvents(sim.Platform(), archive);
        const auto b = ExtractionEvents(system.Platform(), archive);
        // Before and after for each file; a status per 8 KB block (9 for 70000 bytes, 1, none,
        // 2 for 9000) and one that finishes each file.
        EXPECT_EQ(a.size(), 4u * 2u + (9u + 1u + 0u + 2u) + 4u);
        EXPECT_EQ(a, b) << archive;
    }
}

}  // namespace
