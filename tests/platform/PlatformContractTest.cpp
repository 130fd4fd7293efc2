// The platform contract: one suite written against IPlatform alone, run against the simulated
// machine in every build and against real Windows (under Wine) in the Windows build, so both
// implementations keep the conventions Platform.h documents.
#include "platform/Platform.h"
#include "platform/sim/ShellLinkFile.h"
#include "platform/sim/SimPlatform.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif
#include "runtime/SysUtils.h"
#include "tests/system/PeImageBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace os;

// A platform with a scratch directory and a scratch registry key of its own.
class ContractEnv {
public:
    virtual ~ContractEnv() = default;
    virtual IPlatform& Platform() = 0;
    std::string Scratch;  // absolute, existing, no trailing backslash
    std::string RegPath;  // below HKEY_CURRENT_USER; absent when the test starts
    // Wine keeps the read-only attribute as Unix permissions, which do not stop root from
    // writing; deleting is refused all the same.
    bool ReadOnlyBlocksWrites = true;

    // A library whose DllRegisterServer returns 0, and a program that ends at once.
    virtual bool PutTestLibrary(const std::string& path) = 0;
    virtual bool PutTestProgram(const std::string& path) = 0;
    // Presses a button of the next message box; DoneAnswering waits until it was pressed.
    virtual void AnswerNextMessageBox(int answer) = 0;
    virtual void DoneAnswering() {}
};

// Clears attributes first: read-only entries would survive otherwise.
void RemoveTree(IPlatform& p, const std::string& dir) {
    std::vector<FindData> entries;
    if (p.FindFiles(dir + "\\*", entries)) {
        for (const auto& e : entries) {
            if (e.Name == "." || e.Name == "..") continue;
            const std::string path = dir + "\\" + e.Name;
            p.SetFileAttributes(path, kAttrNormal);
            if ((e.Attributes & kAttrDirectory) && !(e.Attributes & kAttrReparsePoint)) RemoveTree(p, path);
            else if (e.Attributes & kAttrDirectory) p.RemoveDirectory(path);
            else p.DeleteFile(path);
        }
    }
    p.SetFileAttributes(dir, kAttrNormal);
    p.RemoveDirectory(dir);
}

fs::path FreshHostFolder(const std::string& stem) {
    std::random_device random;
    for (;;) {
        const fs::path candidate = fs::temp_directory_path() / (stem + std::to_string(random()));
        if (fs::create_directory(candidate)) return candidate;
    }
}

class SimEnv : public ContractEnv {
public:
    explicit SimEnv(const std::string& test) : FRoot(FreshHostFolder("brev-contract-")), FSim(std::make_unique<SimPlatform>(FRoot)) {
        FSim->CreateDirectory("C:\\contract");
        Scratch = "C:\\contract\\" + test;
        FSim->CreateDirectory(Scratch);
        RegPath = "Software\\BrevSetupContractTest\\" + test;
    }
    ~SimEnv() override {
        FSim.reset();
        std::error_code ec;
        fs::remove_all(FRoot, ec);
    }
    IPlatform& Platform() override { return *FSim; }
    bool PutTestLibrary(const std::string& path) override { return PutImage(path, {"DllRegisterServer"}); }
    bool PutTestProgram(const std::string& path) override { return PutImage(path, {}); }
    void AnswerNextMessageBox(int answer) override { FSim->QueueMessageBoxAnswer(answer); }

private:
    bool PutImage(const std::string& path, const std::vector<std::string>& exports) {
        const testpe::Bytes image = testpe::PeImage(testpe::VersionBlock(testpe::Fixed{}, {}), false, 0x0409, exports);
        auto file = FSim->OpenFile(path, OpenMode::Write, Disposition::CreateAlways, Share::None);
        return file && file->Write(image.data(), image.size()) == static_cast<std::int64_t>(image.size());
    }

    fs::path FRoot;
    std::unique_ptr<SimPlatform> FSim;
};

#ifdef _WIN32
class Win32Env : public ContractEnv {
public:
    explicit Win32Env(const std::string& test) {
        FOldDirectory = FWin.GetCurrentDirectory();
        Scratch = FWin.GetTempPath() + "BrevContract-" + std::to_string(FWin.CurrentProcessId()) + "-" + test;
        RemoveTree(FWin, Scratch);
        FWin.CreateDirectory(Scratch);
        RegPath = kParentKey + std::string("\\") + test;
        FWin.RegDeleteTree(RootKey::CurrentUser, RegPath);

        const std::string probe = Scratch + "\\probe.ro";
        FWin.OpenFile(probe, OpenMode::Write, Disposition::CreateAlways, Share::None);
        FWin.SetFileAttributes(probe, kAttrReadOnly);
        ReadOnlyBlocksWrites = !FWin.OpenFile(probe, OpenMode::Write, Disposition::OpenExisting, Share::ReadWriteDelete);
        FWin.SetFileAttributes(probe, kAttrNormal);
        FWin.DeleteFile(probe);
    }
    ~Win32Env() override {
        DoneAnswering();
        // What the test library registered goes with the test.
        FWin.RegDeleteTree(RootKey::CurrentUser, "Software\\BrevSetupTest");
        // The scratch folder cannot go while it is the current directory.
        FWin.SetCurrentDirectory(FOldDirectory);
        RemoveTree(FWin, Scratch);
        FWin.RegDeleteTree(RootKey::CurrentUser, RegPath);
        if (const auto key = FWin.RegOpenKey(RootKey::CurrentUser, kParentKey, false)) {
            std::vector<std::string> left;
            FWin.RegEnumKeys(key, left);
            FWin.RegCloseKey(key);
            if (left.empty()) FWin.RegDeleteTree(RootKey::CurrentUser, kParentKey);
        }
    }
    IPlatform& Platform() override { return FWin; }
    // The project's own test binaries, built beside this program; Wine sees the host's files
    // on drive Z:.
    bool PutTestLibrary(const std::string& path) override { return FWin.CopyFile(HostFile(BREV_TEST_LIBRARY), path, false); }
    bool PutTestProgram(const std::string& path) override { return FWin.CopyFile(HostFile(BREV_TEST_PROGRAM), path, false); }
    void AnswerNextMessageBox(int answer) override {
        DoneAnswering();
        // Another thread presses the button as a user would, once the box is up.
        FAnswerer = std::thread([answer] {
            Win32Platform own;
            for (int tries = 0; tries < 400; ++tries) {
                if (const WindowHandle box = own.FindWindow("#32770")) {
                    own.SendMessage(box, 0x0111 /* WM_COMMAND */, static_cast<std::uintptr_t>(answer), 0);
                    return;
                }
                own.Sleep(50);
            }
        });
    }
    void DoneAnswering() override {
        if (FAnswerer.joinable()) FAnswerer.join();
    }

private:
    static std::string HostFile(std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return "Z:" + path;
    }

    static constexpr const char* kParentKey = "Software\\BrevSetupContractTest";
    Win32Platform FWin;
    std::string FOldDirectory;
    std::thread FAnswerer;
};
#endif

struct Flavour {
    std::string Name;
    std::function<std::unique_ptr<ContractEnv>(const std::string& test)> Make;
};

void PrintTo(const Flavour& flavour, std::ostream* out) { *out << flavour.Name; }

std::vector<Flavour> Flavours() {
    std::vector<Flavour> all{{"Sim", [](const std::string& test) { return std::unique_ptr<ContractEnv>(new SimEnv(test)); }}};
#ifdef _WIN32
    all.push_back({"Win32", [](const std::string& test) { return std::unique_ptr<ContractEnv>(new Win32Env(test)); }});
#endif
    return all;
}

bool LessText(const std::string& a, const std::string& b) { return rt::CompareText(a, b) < 0; }

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end(), LessText);
    return v;
}

class PlatformContract : public testing::TestWithParam<Flavour> {
protected:
    void SetUp() override {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        test = test.substr(0, test.find('/'));
        FEnv = GetParam().Make(test);
        ASSERT_TRUE(P().DirectoryExists(FEnv->Scratch)) << FEnv->Scratch;
    }
    void TearDown() override { FEnv.reset(); }

    IPlatform& P() { return FEnv->Platform(); }
    std::string S(const std::string& relative) const { return FEnv->Scratch + "\\" + relative; }
    const std::string& Reg() const { return FEnv->RegPath; }

    bool Put(const std::string& path, std::string_view content) {
        auto file = P().OpenFile(path, OpenMode::Write, Disposition::CreateAlways, Share::None);
        return file && file->Write(content.data(), content.size()) == static_cast<std::int64_t>(content.size());
    }

    std::string Get(const std::string& path) {
        auto file = P().OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        if (!file) return "<cannot open: " + std::to_string(P().LastError()) + ">";
        std::string out;
        char buffer[256];
        std::int64_t got;
        while ((got = file->Read(buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(got));
        return out;
    }

    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<FindData> found;
        if (!P().FindFiles(pattern, found)) return {"<error " + std::to_string(P().LastError()) + ">"};
        std::vector<std::string> names;
        for (const auto& f : found) names.push_back(f.Name);
        return Sorted(names);
    }

    FindData Find(const std::string& path) {
        std::vector<FindData> found;
        if (!P().FindFiles(path, found) || found.size() != 1) return {};
        return found[0];
    }

    std::unique_ptr<ContractEnv> FEnv;
};

TEST_P(PlatformContract, Directories_CreateOneLevelAndRemoveOnlyWhenEmpty) {
    IPlatform& p = P();
    const std::string a = S("A");
    EXPECT_TRUE(p.CreateDirectory(a));
    EXPECT_TRUE(p.DirectoryExists(a));
    EXPECT_FALSE(p.FileExists(a));
    EXPECT_NE(p.GetFileAttributes(a) & kAttrDirectory, 0u);

    EXPECT_FALSE(p.CreateDirectory(a));
    EXPECT_EQ(p.LastError(), kErrorAlreadyExists);
    EXPECT_FALSE(p.CreateDirectory(S("Missing\\Deeper")));
    EXPECT_EQ(p.LastError(), kErrorPathNotFound);

    ASSERT_TRUE(Put(a + "\\f.txt", "x"));
    EXPECT_FALSE(p.RemoveDirectory(a));
    EXPECT_EQ(p.LastError(), kErrorDirNotEmpty);
    EXPECT_TRUE(p.DeleteFile(a + "\\f.txt"));
    EXPECT_TRUE(p.RemoveDirectory(a));
    EXPECT_FALSE(p.DirectoryExists(a));
    EXPECT_FALSE(p.RemoveDirectory(a));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);

    EXPECT_EQ(p.GetFileAttributes(a), kInvalidAttributes);
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_EQ(p.GetFileAttributes(S("Missing\\x")), kInvalidAttributes);
    EXPECT_EQ(p.LastError(), kErrorPathNotFound);
}

TEST_P(PlatformContract, Files_WriteReadSeekAndSize) {
    const std::string path = S("data.bin");
    {
        auto f = P().OpenFile(path, OpenMode::ReadWrite, Disposition::CreateNew, Share::None);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Write("0123456789", 10), 10);
        EXPECT_EQ(f->Size(), 10);
        char buffer[8] = {};
        EXPECT_EQ(f->Seek(2, SeekOrigin::Begin), 2);
        EXPECT_EQ(f->Read(buffer, 3), 3);
        EXPECT_EQ(std::string(buffer, 3), "234");
        EXPECT_EQ(f->Seek(1, SeekOrigin::Current), 6);
        EXPECT_EQ(f->Read(buffer, 2), 2);
        EXPECT_EQ(std::string(buffer, 2), "67");
        EXPECT_EQ(f->Seek(-1, SeekOrigin::End), 9);
        EXPECT_EQ(f->Read(buffer, 8), 1);
        EXPECT_EQ(buffer[0], '9');
        EXPECT_EQ(f->Read(buffer, 8), 0);
        EXPECT_EQ(f->Seek(-20, SeekOrigin::Current), -1);

        EXPECT_EQ(f->Seek(4, SeekOrigin::Begin), 4);
        EXPECT_TRUE(f->SetEndOfFile());
        EXPECT_EQ(f->Size(), 4);
        EXPECT_EQ(f->Seek(0, SeekOrigin::End), 4);
        EXPECT_EQ(f->Write("AB", 2), 2);
        EXPECT_EQ(f->Seek(8, SeekOrigin::Begin), 8);
        EXPECT_EQ(f->Write("Z", 1), 1);
        EXPECT_EQ(f->Size(), 9);
    }
    const std::string content = Get(path);
    ASSERT_EQ(content.size(), 9u);
    EXPECT_EQ(content.substr(0, 6), "0123AB");
    EXPECT_EQ(content[8], 'Z');
    EXPECT_EQ(Find(path).Size, 9u);

    // Handles only do what they were opened for.
    char c = 0;
    auto writeOnly = P().OpenFile(path, OpenMode::Write, Disposition::OpenExisting, Share::ReadWrite);
    ASSERT_TRUE(writeOnly);
    EXPECT_EQ(writeOnly->Read(&c, 1), -1);
    EXPECT_EQ(writeOnly->LastError(), kErrorAccessDenied);
    auto readOnly = P().OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite);
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->Write("x", 1), -1);
    EXPECT_EQ(readOnly->LastError(), kErrorAccessDenied);
}

TEST_P(PlatformContract, Files_DispositionsCreateOpenAndTruncate) {
    IPlatform& p = P();
    const std::string path = S("file.txt");
    EXPECT_FALSE(p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_FALSE(p.OpenFile(S("Missing\\file.txt"), OpenMode::Write, Disposition::CreateAlways, Share::Read));
    EXPECT_EQ(p.LastError(), kErrorPathNotFound);

    EXPECT_TRUE(p.OpenFile(path, OpenMode::Write, Disposition::CreateNew, Share::Read));
    EXPECT_TRUE(p.FileExists(path));
    EXPECT_FALSE(p.OpenFile(path, OpenMode::Write, Disposition::CreateNew, Share::Read));
    EXPECT_EQ(p.LastError(), kErrorFileExists);

    ASSERT_TRUE(Put(path, "hello"));
    {
        auto kept = p.OpenFile(path, OpenMode::ReadWrite, Disposition::OpenAlways, Share::Read);
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->Size(), 5);
    }
    {
        auto fresh = p.OpenFile(S("new.txt"), OpenMode::ReadWrite, Disposition::OpenAlways, Share::Read);
        ASSERT_TRUE(fresh);
        EXPECT_EQ(fresh->Size(), 0);
    }
    {
        auto truncated = p.OpenFile(path, OpenMode::Write, Disposition::CreateAlways, Share::Read);
        ASSERT_TRUE(truncated);
        EXPECT_EQ(truncated->Size(), 0);
    }

    ASSERT_TRUE(p.CreateDirectory(S("Dir")));
    EXPECT_FALSE(p.OpenFile(S("Dir"), OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite));
    EXPECT_EQ(p.LastError(), kErrorAccessDenied);
}

TEST_P(PlatformContract, Files_DeleteTakesOnlyExistingPlainFiles) {
    IPlatform& p = P();
    EXPECT_FALSE(p.DeleteFile(S("missing.txt")));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_FALSE(p.DeleteFile(S("Missing\\file.txt")));
    EXPECT_EQ(p.LastError(), kErrorPathNotFound);
    ASSERT_TRUE(p.CreateDirectory(S("Dir")));
    EXPECT_FALSE(p.DeleteFile(S("Dir")));
    EXPECT_EQ(p.LastError(), kErrorAccessDenied);
    EXPECT_TRUE(p.DirectoryExists(S("Dir")));

    ASSERT_TRUE(Put(S("file.txt"), "x"));
    EXPECT_TRUE(p.DeleteFile(S("file.txt")));
    EXPECT_FALSE(p.FileExists(S("file.txt")));
}

TEST_P(PlatformContract, Attributes_ReadOnlyBlocksDeleteAndWrite) {
    IPlatform& p = P();
    const std::string path = S("ro.txt");
    ASSERT_TRUE(Put(path, "keep"));
    const std::uint32_t fresh = p.GetFileAttributes(path);
    EXPECT_NE(fresh & kAttrArchive, 0u);
    EXPECT_EQ(fresh & (kAttrReadOnly | kAttrDirectory), 0u);

    ASSERT_TRUE(p.SetFileAttributes(path, kAttrReadOnly | kAttrArchive));
    EXPECT_EQ(p.GetFileAttributes(path) & (kAttrReadOnly | kAttrDirectory), kAttrReadOnly);
    EXPECT_FALSE(p.DeleteFile(path));
    EXPECT_EQ(p.LastError(), kErrorAccessDenied);
    if (FEnv->ReadOnlyBlocksWrites) {
        EXPECT_FALSE(p.OpenFile(path, OpenMode::Write, Disposition::OpenExisting, Share::Read));
        EXPECT_EQ(p.LastError(), kErrorAccessDenied);
        EXPECT_FALSE(p.OpenFile(path, OpenMode::Write, Disposition::CreateAlways, Share::Read));
        EXPECT_EQ(p.LastError(), kErrorAccessDenied);
        ASSERT_TRUE(Put(S("other.txt"), "other"));
        EXPECT_FALSE(p.CopyFile(S("other.txt"), path, false));
        EXPECT_EQ(p.LastError(), kErrorAccessDenied);
    }
    EXPECT_EQ(Get(path), "keep");

    // Copies carry the attribute along.
    ASSERT_TRUE(p.CopyFile(path, S("copy.txt"), true));
    EXPECT_NE(p.GetFileAttributes(S("copy.txt")) & kAttrReadOnly, 0u);

    ASSERT_TRUE(p.SetFileAttributes(path, kAttrNormal));
    EXPECT_EQ(p.GetFileAttributes(path) & kAttrReadOnly, 0u);
    EXPECT_TRUE(p.DeleteFile(path));

    EXPECT_FALSE(p.SetFileAttributes(S("missing.txt"), kAttrNormal));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
}

TEST_P(PlatformContract, FindFiles_MatchesWildcardsAndListsDotEntries) {
    IPlatform& p = P();
    for (const char* name : {"a.txt", "b.TXT", "c.dll", "noext", "file1.txt", "file2.txt", "file10.txt"}) ASSERT_TRUE(Put(S(name), name));
    ASSERT_TRUE(p.CreateDirectory(S("sub")));

    const std::vector<std::string> all{".", "..", "a.txt", "b.TXT", "c.dll", "file1.txt", "file10.txt", "file2.txt", "noext", "sub"};
    EXPECT_EQ(Names(S("*")), all);
    EXPECT_EQ(Names(S("*.*")), all);
    EXPECT_EQ(Names(S("*.txt")), (std::vector<std::string>{"a.txt", "b.TXT", "file1.txt", "file10.txt", "file2.txt"}));
    EXPECT_EQ(Names(S("*.DLL")), (std::vector<std::string>{"c.dll"}));
    EXPECT_EQ(Names(S("file?.txt")), (std::vector<std::string>{"file1.txt", "file2.txt"}));
    EXPECT_EQ(Names(S("SUB")), (std::vector<std::string>{"sub"}));

    const FindData sub = Find(S("sub"));
    EXPECT_NE(sub.Attributes & kAttrDirectory, 0u);
    const FindData file = Find(S("file10.txt"));
    EXPECT_EQ(file.Attributes & kAttrDirectory, 0u);
    EXPECT_EQ(file.Size, 10u);
    FileTime written = 0;
    ASSERT_TRUE(p.GetFileTime(S("file10.txt"), written));
    EXPECT_EQ(file.LastWrite, written);

    std::vector<FindData> found;
    ASSERT_TRUE(p.FindFiles(S("sub\\*"), found));
    EXPECT_EQ(found.size(), 2u);  // "." and ".." only
    for (const auto& f : found) EXPECT_NE(f.Attributes & kAttrDirectory, 0u) << f.Name;
}

TEST_P(PlatformContract, FindFiles_FailsWithoutMatchesOrDirectory) {
    IPlatform& p = P();
    ASSERT_TRUE(Put(S("a.txt"), "a"));
    std::vector<FindData> found{FindData{}};
    EXPECT_FALSE(p.FindFiles(S("*.xyz"), found));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_TRUE(found.empty());
    EXPECT_FALSE(p.FindFiles(S("missing\\*"), found));
    EXPECT_EQ(p.LastError(), kErrorPathNotFound);
}

TEST_P(PlatformContract, Paths_ResolveWithoutRegardToCase) {
    IPlatform& p = P();
    ASSERT_TRUE(p.CreateDirectory(S("Dir")));
    ASSERT_TRUE(Put(S("Dir\\File.TXT"), "content"));
    EXPECT_EQ(Get(S("dir\\file.txt")), "content");
    EXPECT_TRUE(p.FileExists(S("DIR\\FILE.txt")));
    EXPECT_TRUE(p.DirectoryExists(S("dIR")));
    EXPECT_TRUE(p.FileExists(FEnv->Scratch + "/dir/file.txt"));
    EXPECT_FALSE(p.CreateDirectory(S("DIR")));
    EXPECT_EQ(p.LastError(), kErrorAlreadyExists);

    // Writing through another spelling reaches the same file and keeps its name.
    ASSERT_TRUE(Put(S("dir\\FILE.txt"), "other"));
    EXPECT_EQ(Names(S("DIR\\*")), (std::vector<std::string>{".", "..", "File.TXT"}));
    EXPECT_EQ(Get(S("Dir\\File.TXT")), "other");
}

TEST_P(PlatformContract, FileTimes_RoundTripAt100Nanoseconds) {
    IPlatform& p = P();
    const FileTime first = MakeFileTime(2001, 2, 3, 4, 5, 6) + 1234567;
    const FileTime second = MakeFileTime(1999, 12, 31, 23, 59, 59) + 9999999;
    const std::string path = S("timed.txt");
    ASSERT_TRUE(Put(path, "t"));

    ASSERT_TRUE(p.SetFileTime(path, first));
    FileTime got = 0;
    ASSERT_TRUE(p.GetFileTime(path, got));
    EXPECT_EQ(got, first);
    EXPECT_EQ(Find(path).LastWrite, first);

    {
        auto f = p.OpenFile(path, OpenMode::ReadWrite, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(f);
        ASSERT_TRUE(f->SetTime(second));
    }
    ASSERT_TRUE(p.GetFileTime(path, got));
    EXPECT_EQ(got, second);
    {
        auto f = p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(f);
        ASSERT_TRUE(f->GetTime(got));
        EXPECT_EQ(got, second);
    }

    ASSERT_TRUE(p.CopyFile(path, S("copy.txt"), true));
    ASSERT_TRUE(p.GetFileTime(S("copy.txt"), got));
    EXPECT_EQ(got, second);

    ASSERT_TRUE(p.CreateDirectory(S("Dir")));
    ASSERT_TRUE(p.SetFileTime(S("Dir"), first));
    ASSERT_TRUE(p.GetFileTime(S("Dir"), got));
    EXPECT_EQ(got, first);

    EXPECT_FALSE(p.GetFileTime(S("missing.txt"), got));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
}

TEST_P(PlatformContract, Sharing_ConflictingOpensFailWithSharingViolation) {
    IPlatform& p = P();
    const std::string path = S("shared.txt");
    ASSERT_TRUE(Put(path, "s"));
    {
        auto exclusive = p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::None);
        ASSERT_TRUE(exclusive);
        EXPECT_FALSE(p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWriteDelete));
        EXPECT_EQ(p.LastError(), kErrorSharingViolation);
    }
    {
        auto reader = p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(reader);
        EXPECT_TRUE(p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite));
        EXPECT_FALSE(p.OpenFile(path, OpenMode::Write, Disposition::OpenExisting, Share::ReadWriteDelete));
        EXPECT_EQ(p.LastError(), kErrorSharingViolation);
        EXPECT_FALSE(p.DeleteFile(path));
        EXPECT_EQ(p.LastError(), kErrorSharingViolation);
        EXPECT_FALSE(p.MoveFile(path, S("moved.txt")));
        EXPECT_EQ(p.LastError(), kErrorSharingViolation);
        EXPECT_TRUE(p.FileExists(path));
    }
    {
        // A writer that lets others read still refuses readers who would not share writing.
        auto writer = p.OpenFile(path, OpenMode::Write, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(writer);
        EXPECT_FALSE(p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read));
        EXPECT_EQ(p.LastError(), kErrorSharingViolation);
        EXPECT_TRUE(p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite));
    }
    {
        auto lenient = p.OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWriteDelete);
        ASSERT_TRUE(lenient);
        EXPECT_TRUE(p.DeleteFile(path));
    }
    EXPECT_FALSE(p.FileExists(path));
}

TEST_P(PlatformContract, MoveAndCopy_RespectExistingTargets) {
    IPlatform& p = P();
    ASSERT_TRUE(Put(S("a.txt"), "A"));
    ASSERT_TRUE(Put(S("b.txt"), "B"));

    EXPECT_FALSE(p.MoveFile(S("a.txt"), S("b.txt")));
    EXPECT_EQ(p.LastError(), kErrorAlreadyExists);
    EXPECT_EQ(Get(S("b.txt")), "B");
    EXPECT_TRUE(p.MoveFile(S("a.txt"), S("c.txt")));
    EXPECT_FALSE(p.FileExists(S("a.txt")));
    EXPECT_EQ(Get(S("c.txt")), "A");
    EXPECT_FALSE(p.MoveFile(S("a.txt"), S("d.txt")));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);

    EXPECT_FALSE(p.CopyFile(S("c.txt"), S("b.txt"), true));
    EXPECT_EQ(p.LastError(), kErrorFileExists);
    EXPECT_EQ(Get(S("b.txt")), "B");
    EXPECT_TRUE(p.CopyFile(S("c.txt"), S("b.txt"), false));
    EXPECT_EQ(Get(S("b.txt")), "A");
    EXPECT_EQ(Get(S("c.txt")), "A");
    EXPECT_FALSE(p.CopyFile(S("missing.txt"), S("d.txt"), false));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_FALSE(p.FileExists(S("d.txt")));

    ASSERT_TRUE(p.CreateDirectory(S("D1")));
    ASSERT_TRUE(Put(S("D1\\inner.txt"), "in"));
    EXPECT_TRUE(p.MoveFile(S("D1"), S("D2")));
    EXPECT_FALSE(p.DirectoryExists(S("D1")));
    EXPECT_EQ(Get(S("D2\\inner.txt")), "in");
    EXPECT_FALSE(p.MoveFile(S("b.txt"), S("D2")));
    EXPECT_EQ(p.LastError(), kErrorAlreadyExists);
}

TEST_P(PlatformContract, TempFiles_NamesHaveTheTmpShape) {
    IPlatform& p = P();
    const std::string temp = p.GetTempPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(p.DirectoryExists(temp));

    const std::string first = p.GetTempFileName(FEnv->Scratch, "brev");
    const std::string second = p.GetTempFileName(FEnv->Scratch, "brev");
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        EXPECT_TRUE(rt::StartsText(FEnv->Scratch + "\\", path)) << path;
        const std::string name = rt::ExtractFileName(path);
        ASSERT_GE(name.size(), 3u + 1 + 4) << name;
        EXPECT_TRUE(rt::SameText(name.substr(0, 3), "bre")) << name;
        EXPECT_TRUE(rt::SameText(rt::ExtractFileExt(name), ".tmp")) << name;
        const std::string hex = name.substr(3, name.size() - 3 - 4);
        EXPECT_TRUE(!hex.empty() && hex.size() <= 4 && hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) << name;
        EXPECT_TRUE(p.FileExists(path)) << path;
        EXPECT_EQ(Find(path).Size, 0u);
    }
    EXPECT_EQ(p.GetTempFileName(S("missing"), "x"), "");
}

TEST_P(PlatformContract, ShortNames_AliasLongNamesOnly) {
    IPlatform& p = P();
    ASSERT_TRUE(p.CreateDirectory(S("Program Files")));
    const std::string shortPath = p.GetShortPathName(S("Program Files"));
    ASSERT_FALSE(shortPath.empty());
    const std::string alias = rt::ExtractFileName(shortPath);
    EXPECT_NE(alias.find('~'), std::string::npos) << alias;
    EXPECT_LE(alias.size(), 12u) << alias;
    EXPECT_EQ(alias.find(' '), std::string::npos) << alias;
    EXPECT_EQ(alias, rt::UpperCase(alias));
    EXPECT_TRUE(p.DirectoryExists(shortPath)) << shortPath;
    EXPECT_TRUE(rt::SameText(Find(S("Program Files")).ShortName, alias));

    ASSERT_TRUE(Put(S("README.TXT"), "r"));
    const std::string plain = p.GetShortPathName(S("README.TXT"));
    EXPECT_EQ(rt::ExtractFileName(plain), "README.TXT");
    EXPECT_EQ(Find(S("README.TXT")).ShortName, "");

    EXPECT_EQ(p.GetShortPathName(S("missing.txt")), "");
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
}

TEST_P(PlatformContract, CurrentDirectory_AnchorsRelativePaths) {
    IPlatform& p = P();
    ASSERT_TRUE(p.SetCurrentDirectory(FEnv->Scratch));
    EXPECT_TRUE(rt::SameText(p.GetCurrentDirectory(), FEnv->Scratch)) << p.GetCurrentDirectory();
    ASSERT_TRUE(Put("rel.txt", "r"));
    EXPECT_TRUE(p.FileExists(S("rel.txt")));
    ASSERT_TRUE(p.CreateDirectory("sub"));
    ASSERT_TRUE(p.SetCurrentDirectory("sub"));
    EXPECT_TRUE(rt::SameText(p.GetCurrentDirectory(), S("sub"))) << p.GetCurrentDirectory();
    EXPECT_TRUE(p.FileExists("..\\rel.txt"));
    EXPECT_FALSE(p.SetCurrentDirectory(S("missing")));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
}

TEST_P(PlatformContract, Registry_CreatesMissingParents) {
    IPlatform& p = P();
    const auto created = p.RegCreateKey(RootKey::CurrentUser, Reg() + "\\A\\B");
    ASSERT_NE(created, 0u);
    p.RegCloseKey(created);
    const auto parent = p.RegOpenKey(RootKey::CurrentUser, Reg() + "\\A", false);
    EXPECT_NE(parent, 0u);
    p.RegCloseKey(parent);
    // One leading backslash is tolerated.
    const auto child = p.RegOpenKey(RootKey::CurrentUser, "\\" + Reg() + "\\A\\B", false);
    EXPECT_NE(child, 0u);
    p.RegCloseKey(child);
    const auto again = p.RegCreateKey(RootKey::CurrentUser, Reg() + "\\A\\B");
    EXPECT_NE(again, 0u);
    p.RegCloseKey(again);
}

TEST_P(PlatformContract, Registry_ValuesRoundTripByType) {
    IPlatform& p = P();
    const auto key = p.RegCreateKey(RootKey::CurrentUser, Reg());
    ASSERT_NE(key, 0u);
    RegValue text{ValueType::String, "Brevanshaw \xC3\xA9 \"quoted\" C:\\Path", 0, {}};
    RegValue expand{ValueType::ExpandString, "%WINDIR%\\system", 0, {}};
    RegValue number{ValueType::DWord, "", 42, {}};
    RegValue binary{ValueType::Binary, "", 0, {0, 1, 2, 0xFF}};
    const std::string list("one\0two\0\0", 9);
    RegValue multi{ValueType::MultiString, "", 0, std::vector<std::uint8_t>(list.begin(), list.end())};
    RegValue fallback{ValueType::String, "default", 0, {}};
    ASSERT_TRUE(p.RegSetValue(key, "Text", text));
    ASSERT_TRUE(p.RegSetValue(key, "Expand", expand));
    ASSERT_TRUE(p.RegSetValue(key, "Number", number));
    ASSERT_TRUE(p.RegSetValue(key, "Binary", binary));
    ASSERT_TRUE(p.RegSetValue(key, "Multi", multi));
    ASSERT_TRUE(p.RegSetValue(key, "", fallback));

    auto expectSame = [&](const std::string& name, const RegValue& want) {
        RegValue got;
        ASSERT_TRUE(p.RegQueryValue(key, name, got)) << name;
        EXPECT_EQ(got.Type, want.Type) << name;
        EXPECT_EQ(got.Text, want.Text) << name;
        EXPECT_EQ(got.DWord, want.DWord) << name;
        EXPECT_EQ(got.Data, want.Data) << name;
    };
    expectSame("Text", text);
    expectSame("Expand", expand);
    expectSame("Number", number);
    expectSame("Binary", binary);
    expectSame("Multi", multi);
    expectSame("", fallback);

    // Setting again replaces type and data.
    ASSERT_TRUE(p.RegSetValue(key, "Text", number));
    expectSame("Text", number);
    EXPECT_FALSE(p.RegSetValue(key, "Bad", RegValue{}));
    EXPECT_EQ(p.LastError(), kErrorInvalidParameter);
    p.RegCloseKey(key);
}

TEST_P(PlatformContract, Registry_NamesCompareWithoutCase) {
    IPlatform& p = P();
    const auto key = p.RegCreateKey(RootKey::CurrentUser, Reg() + "\\MixedCase");
    ASSERT_NE(key, 0u);
    ASSERT_TRUE(p.RegSetValue(key, "ValueName", RegValue{ValueType::String, "v", 0, {}}));
    p.RegCloseKey(key);

    const auto other = p.RegOpenKey(RootKey::CurrentUser, rt::UpperCase(Reg()) + "\\mixedcase", true);
    ASSERT_NE(other, 0u);
    RegValue got;
    ASSERT_TRUE(p.RegQueryValue(other, "VALUENAME", got));
    EXPECT_EQ(got.Text, "v");
    ASSERT_TRUE(p.RegSetValue(other, "valuename", RegValue{ValueType::String, "w", 0, {}}));
    std::vector<std::string> names;
    ASSERT_TRUE(p.RegEnumValues(other, names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(rt::SameText(names[0], "ValueName"));
    ASSERT_TRUE(p.RegQueryValue(other, "ValueName", got));
    EXPECT_EQ(got.Text, "w");
    p.RegCloseKey(other);

    const auto parent = p.RegOpenKey(RootKey::CurrentUser, Reg(), false);
    ASSERT_NE(parent, 0u);
    ASSERT_TRUE(p.RegEnumKeys(parent, names));
    EXPECT_EQ(names, (std::vector<std::string>{"MixedCase"}));
    p.RegCloseKey(parent);
}

TEST_P(PlatformContract, Registry_ReadOnlyHandlesRefuseWrites) {
    IPlatform& p = P();
    p.RegCloseKey(p.RegCreateKey(RootKey::CurrentUser, Reg()));
    const auto key = p.RegOpenKey(RootKey::CurrentUser, Reg(), false);
    ASSERT_NE(key, 0u);
    EXPECT_FALSE(p.RegSetValue(key, "x", RegValue{ValueType::DWord, "", 1, {}}));
    EXPECT_EQ(p.LastError(), kErrorAccessDenied);
    RegValue got;
    EXPECT_FALSE(p.RegQueryValue(key, "x", got));
    p.RegCloseKey(key);
}

TEST_P(PlatformContract, Registry_EnumeratesAndDeletesTrees) {
    IPlatform& p = P();
    p.RegCloseKey(p.RegCreateKey(RootKey::CurrentUser, Reg() + "\\Tree\\Child2"));
    p.RegCloseKey(p.RegCreateKey(RootKey::CurrentUser, Reg() + "\\Tree\\Child1\\Grand"));
    const auto tree = p.RegOpenKey(RootKey::CurrentUser, Reg() + "\\Tree", true);
    ASSERT_NE(tree, 0u);
    ASSERT_TRUE(p.RegSetValue(tree, "b", RegValue{ValueType::DWord, "", 2, {}}));
    ASSERT_TRUE(p.RegSetValue(tree, "a", RegValue{ValueType::DWord, "", 1, {}}));

    std::vector<std::string> names;
    ASSERT_TRUE(p.RegEnumKeys(tree, names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Child1", "Child2"}));
    ASSERT_TRUE(p.RegEnumValues(tree, names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(p.RegDeleteValue(tree, "A"));
    ASSERT_TRUE(p.RegEnumValues(tree, names));
    EXPECT_EQ(names, (std::vector<std::string>{"b"}));
    EXPECT_FALSE(p.RegDeleteValue(tree, "a"));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    p.RegCloseKey(tree);

    EXPECT_TRUE(p.RegDeleteTree(RootKey::CurrentUser, Reg() + "\\Tree"));
    EXPECT_EQ(p.RegOpenKey(RootKey::CurrentUser, Reg() + "\\Tree\\Child1", false), 0u);
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_EQ(p.RegOpenKey(RootKey::CurrentUser, Reg() + "\\Tree", false), 0u);
    EXPECT_FALSE(p.RegDeleteTree(RootKey::CurrentUser, Reg() + "\\Tree"));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    const auto parent = p.RegOpenKey(RootKey::CurrentUser, Reg(), false);
    EXPECT_NE(parent, 0u);
    p.RegCloseKey(parent);
}

TEST_P(PlatformContract, Registry_MissingKeysAndValuesFailWithFileNotFound) {
    IPlatform& p = P();
    EXPECT_EQ(p.RegOpenKey(RootKey::CurrentUser, Reg() + "\\Nowhere", false), 0u);
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    const auto key = p.RegCreateKey(RootKey::CurrentUser, Reg());
    ASSERT_NE(key, 0u);
    RegValue got;
    EXPECT_FALSE(p.RegQueryValue(key, "missing", got));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    EXPECT_FALSE(p.RegQueryValue(key, "", got));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
    p.RegCloseKey(key);
}

TEST_P(PlatformContract, System_DirectoriesAreAbsoluteAndExist) {
    IPlatform& p = P();
    std::string windows, system;
    ASSERT_TRUE(p.GetWindowsDirectory(windows));
    ASSERT_TRUE(p.GetSystemDirectory(system));
    for (const std::string& dir : {windows, system}) {
        ASSERT_GE(dir.size(), 4u) << dir;
        EXPECT_EQ(dir.substr(1, 2), ":\\") << dir;
        EXPECT_NE(dir.back(), '\\') << dir;
        EXPECT_TRUE(p.DirectoryExists(dir)) << dir;
    }
    EXPECT_TRUE(rt::StartsText(windows + "\\", system)) << system;
    const OsVersion version = p.GetVersion();
    EXPECT_GE(version.Major, 3u);
    EXPECT_TRUE(version.Platform == PlatformId::Windows || version.Platform == PlatformId::NT);
}

TEST_P(PlatformContract, System_ClockScreenAndProgramAreSane) {
    IPlatform& p = P();
    EXPECT_LT(p.TimeOfDayMs(), 86'400'000u);
    EXPECT_GT(p.ScreenWidth(), 0);
    EXPECT_GT(p.ScreenHeight(), 0);
    const std::string module = p.ModuleFileName();
    ASSERT_GE(module.size(), 7u) << module;
    EXPECT_EQ(module.substr(1, 2), ":\\") << module;
    EXPECT_TRUE(rt::SameText(rt::ExtractFileExt(module), ".exe")) << module;
    EXPECT_NE(p.CurrentProcessId(), 0u);
    EXPECT_EQ(p.FindWindow("BrevNoSuchWindowClass"), 0u);
}

TEST_P(PlatformContract, Windows_ASendWithTimeoutToAWindowThatIsGoneFailsAtOnce) {
    IPlatform& p = P();
    std::intptr_t answer = 42;
    // A handle no window has: the program that owned it has ended.
    EXPECT_FALSE(p.SendMessageTimeout(0x7FFF0, 0x0400 + 66, 0, 0, 60'000, answer));
    EXPECT_EQ(p.LastError(), 1400u);
    EXPECT_EQ(answer, 42);
}

TEST_P(PlatformContract, DiskFreeSpace_StaysWithinTheTotal) {
    std::uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(P().GetDiskFreeSpace(FEnv->Scratch + "\\", freeBytes, totalBytes));
    EXPECT_GT(totalBytes, 0u);
    EXPECT_LE(freeBytes, totalBytes);
}

TEST_P(PlatformContract, Shell_LinkFileCarriesTargetArgumentsDirectoryAndHotKey) {
    const std::int32_t com = P().ComInitialize();
    EXPECT_TRUE(com == kHrOk || com == kHrFalse) << com;
    const std::string target = S("Viewer.exe");
    ASSERT_TRUE(Put(target, "MZ"));
    std::unique_ptr<IShellLinkObject> link;
    ASSERT_EQ(P().CreateShellLink(link), kHrOk);
    ASSERT_TRUE(link);
    EXPECT_GE(link->SetPath(target), 0);
    EXPECT_GE(link->SetHotkey(0x0642), 0);
    EXPECT_GE(link->SetArguments("/open \"a b.txt\""), 0);
    EXPECT_GE(link->SetWorkingDirectory(FEnv->Scratch), 0);
    ASSERT_EQ(link->Save(S("Viewer.lnk")), kHrOk);
    // Into a folder that is not there, nothing is saved.
    EXPECT_LT(link->Save(S("missing\\Viewer.lnk")), 0);
    EXPECT_FALSE(P().FileExists(S("missing\\Viewer.lnk")));

    const std::string bytes = Get(S("Viewer.lnk"));
    const auto read = ReadShellLinkFile(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(rt::SameText(read->Target, target)) << read->Target;
    EXPECT_EQ(read->Arguments, "/open \"a b.txt\"");
    EXPECT_TRUE(rt::SameText(read->WorkingDirectory, FEnv->Scratch)) << read->WorkingDirectory;
    EXPECT_EQ(read->HotKey, 0x0642);
}

// Making groups opens windows on the real shell, and it acknowledges every command; the
// contract stays with what every Program Manager does. Groups are made in the shortcut tests.
TEST_P(PlatformContract, Dde_ProgramManagerAnswersAndListsItsGroups) {
    EXPECT_EQ(P().DdeConnect("BrevNoSuchService", "Nothing"), 0u);
    const DdeConversation conversation = P().DdeConnect("PROGMAN", "PROGMAN");
    ASSERT_NE(conversation, 0u);
    std::string reply = "unchanged";
    EXPECT_TRUE(P().DdeRequest(conversation, "Groups", reply));
    EXPECT_EQ(reply.find("unchanged"), std::string::npos);
    P().DdeDisconnect(conversation);
}

TEST_P(PlatformContract, ProfileFiles_KeepSectionsAndKeysInTheAnsiCodePage) {
    IPlatform& p = P();
    const std::string file = S("test.ini");
    ASSERT_TRUE(p.WriteProfileString(file, "Rename", "C:\\A.DLL", "C:\\A.1"));
    ASSERT_TRUE(p.WriteProfileString(file, "Rename", "C:\\B.DLL", "C:\\B.1"));
    // Sections and keys compare without case: the first entry is replaced, not repeated.
    ASSERT_TRUE(p.WriteProfileString(file, "rename", "c:\\a.dll", "C:\\A.2"));
    ASSERT_TRUE(p.WriteProfileString(file, "Other", "Name", "Caf\xC3\xA9"));
    EXPECT_EQ(p.GetProfileString(file, "RENAME", "C:\\A.DLL", "none"), "C:\\A.2");
    EXPECT_EQ(p.GetProfileString(file, "Rename", "C:\\B.DLL", "none"), "C:\\B.1");
    EXPECT_EQ(p.GetProfileString(file, "Other", "Name", "none"), "Caf\xC3\xA9");
    EXPECT_EQ(p.GetProfileString(file, "Other", "Missing", "none"), "none");
    EXPECT_EQ(p.GetProfileString(S("absent.ini"), "A", "B", "default"), "default");
    const std::string text = Get(file);
    EXPECT_EQ(text.find("[Rename]\r\n"), 0u) << text;
    EXPECT_EQ(text.find("[Rename]", 1), std::string::npos) << text;
    EXPECT_NE(text.find("C:\\B.DLL=C:\\B.1\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("C:\\A.1"), std::string::npos) << text;
    // On disk in the ANSI code page: one byte for the accented letter.
    EXPECT_NE(text.find("Name=Caf\xE9\r\n"), std::string::npos) << text;
    EXPECT_FALSE(p.WriteProfileString(file, "", "Key", "Value"));
    EXPECT_FALSE(p.WriteProfileString(file, "Section", "", "Value"));
}

TEST_P(PlatformContract, ProfileFiles_StartedInUnicodeStayUnicodeAndKeepEveryLetter) {
    IPlatform& p = P();
    const std::string file = S("unicode.ini");
    Put(file, std::string("\xFF\xFE", 2));
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // a word no single-byte page of this system holds
    ASSERT_TRUE(p.WriteProfileString(file, "InstallApp", "Name", hebrew + " & Caf\xC3\xA9"));
    EXPECT_EQ(p.GetProfileString(file, "InstallApp", "Name", "none"), hebrew + " & Caf\xC3\xA9");
    const std::string bytes = Get(file);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4)) << "still UTF-16, from its first section";
}

// The test machines are Western (code page 1252), as a build server usually is.
TEST_P(PlatformContract, AnsiCodePage_HoldsWhatItCanAndSaysWhatItCannot) {
    IPlatform& p = P();
    std::string ansi;
    EXPECT_TRUE(p.ToAnsiCodePage("Caf\xC3\xA9 \xE2\x82\xAC?", ansi));
    EXPECT_EQ(ansi, "Caf\xE9 \x80?");
    EXPECT_EQ(p.FromAnsiCodePage(ansi), "Caf\xC3\xA9 \xE2\x82\xAC?");
    // No nearest letter stands in: a Hebrew letter and a Latin letter with a stroke.
    EXPECT_FALSE(p.ToAnsiCodePage("a\xD7\x90\xC5\x81", ansi));
    EXPECT_EQ(ansi, "a??");
}

TEST_P(PlatformContract, Libraries_ExportsAreFoundWithoutRunningTheLibrary) {
    IPlatform& p = P();
    const std::string dll = S("lib.dll");
    ASSERT_TRUE(FEnv->PutTestLibrary(dll));
    EXPECT_TRUE(p.LibraryExports(dll, "DllRegisterServer"));
    EXPECT_FALSE(p.LibraryExports(dll, "ComDlgVerInfo"));
    EXPECT_EQ(p.LastError(), 127u);
    EXPECT_FALSE(p.LibraryExports(S("missing.dll"), "DllRegisterServer"));
    EXPECT_EQ(p.LastError(), 126u);
}

TEST_P(PlatformContract, DelayedMoves_AreKeptForTheSessionManagerReplacingTheTarget) {
    IPlatform& p = P();
    ASSERT_TRUE(Put(S("a.new"), "new"));
    ASSERT_TRUE(Put(S("a.dll"), "old"));
    const std::string sessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const auto key = p.RegCreateKey(RootKey::LocalMachine, sessionManager);
    ASSERT_NE(key, 0u);
    RegValue before;
    const bool had = p.RegQueryValue(key, "PendingFileRenameOperations", before);
    ASSERT_TRUE(p.MoveFileAtRestart(S("a.new"), S("a.dll")));
    RegValue after;
    ASSERT_TRUE(p.RegQueryValue(key, "PendingFileRenameOperations", after));
    // Put back what was there, whatever the checks say.
    if (had) p.RegSetValue(key, "PendingFileRenameOperations", before);
    else p.RegDeleteValue(key, "PendingFileRenameOperations");
    p.RegCloseKey(key);
    EXPECT_EQ(after.Type, ValueType::MultiString);
    const std::string pairs = rt::LowerCase(std::string(after.Data.begin(), after.Data.end()));
    const std::string wanted = rt::LowerCase("\\??\\" + S("a.new") + '\0' + "!\\??\\" + S("a.dll") + '\0');
    EXPECT_NE(pairs.find(wanted), std::string::npos);
    EXPECT_EQ(Get(S("a.dll")), "old");
    EXPECT_EQ(Get(S("a.new")), "new");
}

TEST_P(PlatformContract, Libraries_CallTheirExportsOrSayWhyNot) {
    IPlatform& p = P();
    ASSERT_TRUE(FEnv->PutTestLibrary(S("reg.dll")));
    std::int32_t result = -1;
    EXPECT_EQ(p.CallLibraryFunction(S("reg.dll"), "DllRegisterServer", result), LibraryCall::Called);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(p.CallLibraryFunction(S("reg.dll"), "NoSuchEntryPoint", result), LibraryCall::NoEntryPoint);
    EXPECT_EQ(p.LastError(), kErrorProcNotFound);
    ASSERT_TRUE(Put(S("text.dll"), "not a program"));
    EXPECT_EQ(p.CallLibraryFunction(S("text.dll"), "DllRegisterServer", result), LibraryCall::NotLoaded);
    EXPECT_EQ(p.LastError(), kErrorBadExeFormat);
    EXPECT_EQ(p.CallLibraryFunction(S("missing.dll"), "DllRegisterServer", result), LibraryCall::NotLoaded);
    EXPECT_EQ(p.LastError(), kErrorModNotFound);
    // Unloaded again: nothing holds the file.
    EXPECT_TRUE(p.DeleteFile(S("reg.dll")));
}

TEST_P(PlatformContract, HiddenPrograms_RunToTheirEndOrSayWhyNot) {
    IPlatform& p = P();
    ASSERT_TRUE(FEnv->PutTestProgram(S("prog.exe")));
    EXPECT_TRUE(p.RunHidden("\"" + S("prog.exe") + "\" /quiet", 20'000));
    // It has ended: nothing holds the file.
    EXPECT_TRUE(p.DeleteFile(S("prog.exe")));
    EXPECT_FALSE(p.RunHidden("\"" + S("missing.exe") + "\"", 1000));
    EXPECT_EQ(p.LastError(), kErrorFileNotFound);
}

TEST_P(PlatformContract, VersionInstaller_FindsThePlaceAndInstallsUnderItsRules) {
    IPlatform& p = P();
    std::string windows, system;
    ASSERT_TRUE(p.GetWindowsDirectory(windows));
    ASSERT_TRUE(p.GetSystemDirectory(system));
    for (const char* dir : {"src", "dest", "app"}) ASSERT_TRUE(p.CreateDirectory(S(dir)));
    const testpe::Bytes version2 = testpe::VersionedImage(2, 0, 0, 0), version3 = testpe::VersionedImage(3, 0, 0, 0);
    ASSERT_TRUE(Put(S("src\\brevlib.dll"), std::string(version2.begin(), version2.end())));

    // A shared file belongs in the system directory; a copy elsewhere is reported.
    std::string current, dest;
    p.VerFindFile(kVfffIsSharedFile, "brevlib.dll", windows, S("app"), current, dest);
    EXPECT_TRUE(rt::SameText(rt::ExcludeTrailingBackslash(dest), system)) << dest;
    EXPECT_EQ(current, "");
    ASSERT_TRUE(Put(S("app\\brevlib.dll"), "app copy"));
    EXPECT_TRUE(p.VerFindFile(kVfffIsSharedFile, "brevlib.dll", windows, S("app"), current, dest) & kVffCurNeDest);
    EXPECT_TRUE(rt::SameText(rt::ExcludeTrailingBackslash(current), S("app"))) << current;
    p.VerFindFile(0, "brevlib.dll", windows, S("app"), current, dest);
    EXPECT_TRUE(rt::SameText(rt::ExcludeTrailingBackslash(dest), S("app"))) << dest;

    std::string temp;
    EXPECT_EQ(p.VerInstallFile(0, "missing.dll", "missing.dll", S("src"), S("dest"), "", temp), kVifCannotReadSrc);
    EXPECT_EQ(p.VerInstallFile(0, "brevlib.dll", "brevlib.dll", S("src"), S("dest"), "", temp), 0u);
    EXPECT_EQ(Get(S("dest\\brevlib.dll")), std::string(version2.begin(), version2.end()));

    // A newer copy stays unless forced; the copy made is left beside it for the forced call.
    ASSERT_TRUE(Put(S("dest\\brevlib.dll"), std::string(version3.begin(), version3.end())));
    temp.clear();
    const std::uint32_t refused = p.VerInstallFile(0, "brevlib.dll", "brevlib.dll", S("src"), S("dest"), "", temp);
    EXPECT_TRUE(refused & kVifSrcOld) << refused;
    EXPECT_TRUE(refused & kVifMismatch) << refused;
    ASSERT_TRUE(refused & kVifTempFile) << refused;
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(p.FileExists(S("dest\\" + temp)));
    EXPECT_EQ(Get(S("dest\\brevlib.dll")), std::string(version3.begin(), version3.end()));
    EXPECT_EQ(p.VerInstallFile(kViffForceInstall, "brevlib.dll", "brevlib.dll", S("src"), S("dest"), "", temp), 0u);
    EXPECT_EQ(Get(S("dest\\brevlib.dll")), std::string(version2.begin(), version2.end()));
    EXPECT_FALSE(p.FileExists(S("dest\\" + temp)));

    // A write-protected copy is not touched, forced or not.
    ASSERT_TRUE(p.SetFileAttributes(S("dest\\brevlib.dll"), kAttrReadOnly));
    temp.clear();
    EXPECT_TRUE(p.VerInstallFile(kViffForceInstall, "brevlib.dll", "brevlib.dll", S("src"), S("dest"), "", temp) & kVifWriteProt);
    ASSERT_TRUE(p.SetFileAttributes(S("dest\\brevlib.dll"), kAttrNormal));
}

TEST_P(PlatformContract, MessageBoxes_AnswerWithTheButtonPressed) {
    IPlatform& p = P();
    FEnv->AnswerNextMessageBox(kIdCancel);
    EXPECT_EQ(p.MessageBox("Please insert disk #2", "Contract", kMbOkCancel | kMbIconInformation), kIdCancel);
    FEnv->DoneAnswering();
    FEnv->AnswerNextMessageBox(kIdOk);
    EXPECT_EQ(p.MessageBox("Please insert disk #3", "Contract", kMbOkCancel | kMbIconInformation), kIdOk);
    FEnv->DoneAnswering();
}

TEST_P(PlatformContract, Restart_ShutdownPrivilegeIsEnabledForTheProcess) {
    // Only the privilege: a restart request would end the session running the tests.
    EXPECT_TRUE(P().EnableShutdownPrivilege()) << P().LastError();
    EXPECT_TRUE(P().EnableShutdownPrivilege()) << "enabling it again is harmless";
}

INSTANTIATE_TEST_SUITE_P(AllPlatforms, PlatformContract, testing::ValuesIn(Flavours()),
                         [](const testing::TestParamInfo<Flavour>& info) { return info.param.Name; });

// The process-wide pointer and the date helper need no platform of their own.
TEST(Platform, Current_FollowsScopedPlatformsAndThrowsWithoutOne) {
    ASSERT_EQ(ScopedPlatform::TryCurrent(), nullptr);
    EXPECT_THROW(Current(), std::logic_error);
    const fs::path root = FreshHostFolder("brev-current-");
    {
        SimPlatform outer(root / "outer"), inner(root / "inner");
        ScopedPlatform useOuter(outer);
        EXPECT_EQ(&Current(), &outer);
        {
            ScopedPlatform useInner(inner);
            EXPECT_EQ(&Current(), &inner);
        }
        EXPECT_EQ(&Current(), &outer);
    }
    EXPECT_EQ(ScopedPlatform::TryCurrent(), nullptr);
    std::error_code ec;
    fs::remove_all(root, ec);
}

TEST(Platform, MakeFileTime_CountsTicksFrom1601Utc) {
    EXPECT_EQ(MakeFileTime(1601, 1, 1), 0u);
    EXPECT_EQ(MakeFileTime(1601, 1, 2), 864'000'000'000u);
    EXPECT_EQ(MakeFileTime(1970, 1, 1), 116'444'736'000'000'000u);
    EXPECT_EQ(MakeFileTime(2000, 1, 1), 125'911'584'000'000'000u);
    // 2000 was a leap year, 1900 was not.
    EXPECT_EQ(MakeFileTime(2000, 3, 1) - MakeFileTime(2000, 2, 28), 2 * 864'000'000'000u);
    EXPECT_EQ(MakeFileTime(1900, 3, 1) - MakeFileTime(1900, 2, 28), 864'000'000'000u);
    EXPECT_EQ(MakeFileTime(1980, 1, 1, 12, 34, 56) - MakeFileTime(1980, 1, 1), (12 * 3600 + 34 * 60 + 56) * 10'000'000ull);
}

}  // namespace
