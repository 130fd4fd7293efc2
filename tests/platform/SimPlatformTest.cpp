// The simulated machine beyond the shared contract: its folder layout and side files, the
// REGEDIT4 registry file, fault switches, the clock, other programs' windows and the DOS
// details of names and wildcards that tests of the setup rely on.
#include "platform/sim/SimPlatform.h"

#include "runtime/SysUtils.h"
#include "tests/system/PeImageBuilder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <chrono>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace os;

fs::path FreshHostFolder() {
    std::random_device random;
    for (;;) {
        const fs::path candidate = fs::temp_directory_path() / ("brev-sim-" + std::to_string(random()));
        if (fs::create_directory(candidate)) return candidate;
    }
}

std::string ReadHost(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteHost(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class SimPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        FRoot = FreshHostFolder();
        FSim = std::make_unique<SimPlatform>(FRoot);
    }
    void TearDown() override {
        FSim.reset();
        std::error_code ec;
        fs::remove_all(FRoot, ec);
    }

    SimPlatform& Sim() { return *FSim; }

    // A second program run on the same machine.
    void Reopen() {
        FSim.reset();
        FSim = std::make_unique<SimPlatform>(FRoot);
    }

    bool Put(const std::string& path, std::string_view content) {
        auto file = Sim().OpenFile(path, OpenMode::Write, Disposition::CreateAlways, Share::Read);
        return file && file->Write(content.data(), content.size()) == static_cast<std::int64_t>(content.size());
    }

    std::uint64_t FreeOn(const std::string& drive) {
        std::uint64_t freeBytes = 0, totalBytes = 0;
        EXPECT_TRUE(Sim().GetDiskFreeSpace(drive, freeBytes, totalBytes)) << drive;
        return freeBytes;
    }

    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<FindData> found;
        if (!Sim().FindFiles(pattern, found)) return {"<error " + std::to_string(Sim().LastError()) + ">"};
        std::vector<std::string> names;
        for (const auto& f : found) names.push_back(f.Name);
        return names;
    }

    RegValue Query(RootKey root, const std::string& path, const std::string& name) {
        RegValue value;
        const auto key = Sim().RegOpenKey(root, path, false);
        EXPECT_NE(key, 0u) << path;
        EXPECT_TRUE(Sim().RegQueryValue(key, name, value)) << path << " " << name;
        Sim().RegCloseKey(key);
        return value;
    }

    fs::path FRoot;
    std::unique_ptr<SimPlatform> FSim;
};

RegValue Str(std::string text) { return RegValue{ValueType::String, std::move(text), 0, {}}; }

TEST_F(SimPlatformTest, Registry_Regedit4FileRoundTripsByteForByte) {
    // Written the way the registry editor exports: ANSI text, CRLF, escapes, wrapped hex.
    const std::string text =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\.brev]\r\n"
        "@=\"Brevanshaw.Document\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Halvernock]\r\n"
        "@=\"Default \\\"quoted\\\"\"\r\n"
        "\"Path\"=\"C:\\\\Program Files\\\\Brevanshaw\"\r\n"
        "\"Caf\xE9\"=\"na\xEFve\"\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Blob\"=hex:00,01,fe,ff\r\n"
        "\"Expand\"=hex(2):25,57,49,4e,44,49,52,25,00\r\n"
        "\"List\"=hex(7):61,00,62,63,00,00\r\n"
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17,18,19,1a,1b,1c,1d\r\n"
        "\"Lines\"=hex(1):61,0d,0a,62,00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Halvernock\\Empty]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvernock]\r\n"
        "\"Version\"=\"1.0\"\r\n"
        "\r\n"
        "[HKEY_DYN_DATA\\Config Manager]\r\n"
        "\r\n";
    FSim.reset();
    WriteHost(FRoot / "registry.reg", text);
    FSim = std::make_unique<SimPlatform>(FRoot);

    const std::string key = "Software\\Halvernock";
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "").Text, "Default \"quoted\"");
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "Path").Text, "C:\\Program Files\\Brevanshaw");
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "caf\xC3\xA9").Text, "na\xC3\xAFve");
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "Count").DWord, 42u);
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "Blob").Data, (std::vector<std::uint8_t>{0, 1, 0xFE, 0xFF}));
    const RegValue expand = Query(RootKey::CurrentUser, key, "Expand");
    EXPECT_EQ(expand.Type, ValueType::ExpandString);
    EXPECT_EQ(expand.Text, "%WINDIR%");
    const RegValue list = Query(RootKey::CurrentUser, key, "List");
    EXPECT_EQ(list.Type, ValueType::MultiString);
    EXPECT_EQ(std::string(list.Data.begin(), list.Data.end()), std::string("a\0bc\0\0", 6));
    EXPECT_EQ(Query(RootKey::CurrentUser, key, "Long").Data.size(), 30u);
    const RegValue lines = Query(RootKey::CurrentUser, key, "Lines");
    EXPECT_EQ(lines.Type, ValueType::String);
    EXPECT_EQ(lines.Text, "a\r\nb");
    EXPECT_EQ(Query(RootKey::LocalMachine, "SOFTWARE\\Halvernock", "Version").Text, "1.0");
    EXPECT_EQ(Query(RootKey::ClassesRoot, ".BREV", "").Text, "Brevanshaw.Document");
    const auto empty = Sim().RegOpenKey(RootKey::CurrentUser, key + "\\empty", false);
    EXPECT_NE(empty, 0u);
    Sim().RegCloseKey(empty);

    // A change is written when the machine is flushed (or ends); undoing it must give back
    // the very same bytes.
    const auto handle = Sim().RegOpenKey(RootKey::CurrentUser, key, true);
    ASSERT_TRUE(Sim().RegSetValue(handle, "Scratch", Str("x")));
    EXPECT_EQ(ReadHost(FRoot / "registry.reg"), text) << "not rewritten for every value";
    Sim().Flush();
    EXPECT_NE(ReadHost(FRoot / "registry.reg"), text);
    ASSERT_TRUE(Sim().RegDeleteValue(handle, "Scratch"));
    Sim().RegCloseKey(handle);
    Sim().Flush();
    EXPECT_EQ(ReadHost(FRoot / "registry.reg"), text);
}

TEST_F(SimPlatformTest, Registry_ChangesAreSavedWhenTheMachineEndsEvenByAnException) {
    try {
        const auto key = Sim().RegCreateKey(RootKey::LocalMachine, "SOFTWARE\\Halvernock\\Brevanshaw");
        ASSERT_NE(key, 0u);
        ASSERT_TRUE(Sim().RegSetValue(key, "Say \"hi\"", Str("C:\\Dir")));
        ASSERT_TRUE(Sim().RegSetValue(key, "Hebrew", Str("\xD7\x90")));  // no place in code page 1252
        ASSERT_TRUE(Sim().RegSetValue(key, "N", RegValue{ValueType::DWord, "", 0xDEADBEEF, {}}));
        Sim().RegCloseKey(key);
        // The program that wrote them fails; unwinding ends its machine.
        auto ending = std::move(FSim);
        throw std::runtime_error("the run fails");
    } catch (const std::runtime_error&) {
    }
    const std::string file = ReadHost(FRoot / "registry.reg");
    EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvernock\\Brevanshaw]\r\n"
                        "\"Say \\\"hi\\\"\"=\"C:\\\\Dir\"\r\n"
                        "\"Hebrew\"=\"?\"\r\n"
                        "\"N\"=dword:deadbeef\r\n"),
              std::string::npos)
        << file;

    FSim = std::make_unique<SimPlatform>(FRoot);
    const std::string path = "SOFTWARE\\Halvernock\\Brevanshaw";
    EXPECT_EQ(Query(RootKey::LocalMachine, path, "say \"HI\"").Text, "C:\\Dir");
    EXPECT_EQ(Query(RootKey::LocalMachine, path, "Hebrew").Text, "?");
    EXPECT_EQ(Query(RootKey::LocalMachine, path, "N").DWord, 0xDEADBEEFu);

    ASSERT_TRUE(Sim().RegDeleteTree(RootKey::LocalMachine, "SOFTWARE\\Halvernock"));
    Reopen();
    EXPECT_EQ(ReadHost(FRoot / "registry.reg").find("Halvernock"), std::string::npos);
    EXPECT_EQ(Sim().RegOpenKey(RootKey::LocalMachine, path, false), 0u);
}

TEST_F(SimPlatformTest, Registry_DeniedSwitchBlocksChangesButNotReads) {
    const auto key = Sim().RegCreateKey(RootKey::LocalMachine, "SOFTWARE\\X");
    ASSERT_TRUE(Sim().RegSetValue(key, "v", Str("1")));
    Sim().SetRegistryDenied(true);
    EXPECT_FALSE(Sim().RegSetValue(key, "v", Str("2")));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_FALSE(Sim().RegDeleteValue(key, "v"));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_EQ(Sim().RegCreateKey(RootKey::LocalMachine, "SOFTWARE\\Y"), 0u);
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_EQ(Sim().RegOpenKey(RootKey::LocalMachine, "SOFTWARE\\X", true), 0u);
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_FALSE(Sim().RegDeleteTree(RootKey::LocalMachine, "SOFTWARE\\X"));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_EQ(Query(RootKey::LocalMachine, "SOFTWARE\\X", "v").Text, "1");

    Sim().SetRegistryDenied(false);
    EXPECT_TRUE(Sim().RegSetValue(key, "v", Str("2")));
    Sim().RegCloseKey(key);
}

TEST_F(SimPlatformTest, Registry_HandlesOfDeletedKeysStopWorking) {
    const auto key = Sim().RegCreateKey(RootKey::CurrentUser, "Software\\Gone\\Deeper");
    ASSERT_TRUE(Sim().RegDeleteTree(RootKey::CurrentUser, "Software\\Gone"));
    RegValue value;
    EXPECT_FALSE(Sim().RegQueryValue(key, "x", value));
    EXPECT_EQ(Sim().LastError(), 1018u);  // ERROR_KEY_DELETED
    EXPECT_FALSE(Sim().RegSetValue(key, "x", Str("y")));
    Sim().RegCloseKey(key);
    EXPECT_FALSE(Sim().RegQueryValue(key, "x", value));
    EXPECT_EQ(Sim().LastError(), kErrorInvalidHandle);
}

TEST_F(SimPlatformTest, Drives_MapToFoldersUnderTheMachineRoot) {
    EXPECT_TRUE(fs::is_directory(FRoot / "C" / "WINNT" / "system32"));
    Sim().AddDrive('d', 1000, 500);
    EXPECT_TRUE(fs::is_directory(FRoot / "D"));
    ASSERT_TRUE(Sim().CreateDirectory("d:/Data"));
    EXPECT_TRUE(fs::is_directory(FRoot / "D" / "Data"));
    EXPECT_EQ(Sim().HostPath("D:\\DATA\\New.txt"), FRoot / "D" / "Data" / "New.txt");
    EXPECT_EQ(Sim().HostPath("D:\\"), FRoot / "D");

    EXPECT_FALSE(Sim().CreateDirectory("E:\\X"));
    EXPECT_EQ(Sim().LastError(), kErrorPathNotFound);
    EXPECT_EQ(Sim().HostPath("E:\\X"), fs::path());
    EXPECT_FALSE(Sim().FileExists("\\\\server\\share\\file"));
    EXPECT_EQ(Sim().LastError(), kErrorPathNotFound);

    std::uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(Sim().GetDiskFreeSpace("D:\\", freeBytes, totalBytes));
    EXPECT_EQ(freeBytes, 500u);
    EXPECT_EQ(totalBytes, 1000u);

    // Drives and sizes belong to the machine, not to one program run.
    Reopen();
    EXPECT_EQ(FreeOn("D:\\"), 500u);
    EXPECT_TRUE(Sim().DirectoryExists("D:\\data"));
}

TEST_F(SimPlatformTest, Paths_FollowWindowsSpellingRules) {
    EXPECT_TRUE(Sim().DirectoryExists("c:/winnt/SYSTEM32/"));
    EXPECT_TRUE(Sim().DirectoryExists("C:\\WINNT\\system32\\..\\.\\system32"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Trail. . "));
    EXPECT_TRUE(fs::is_directory(FRoot / "C" / "Trail"));
    EXPECT_FALSE(Sim().CreateDirectory("C:\\a*b"));
    EXPECT_EQ(Sim().LastError(), 123u);  // ERROR_INVALID_NAME
    EXPECT_FALSE(Sim().FileExists("C:\\a\"b"));
    EXPECT_EQ(Sim().LastError(), 123u);

    ASSERT_TRUE(Sim().SetCurrentDirectory("C:\\WINNT"));
    EXPECT_TRUE(Sim().DirectoryExists("C:system32"));  // relative to C:'s current directory
    EXPECT_TRUE(Sim().DirectoryExists("\\TEMP"));      // the root of the current drive
    EXPECT_TRUE(Sim().DirectoryExists("system32"));
    EXPECT_EQ(Sim().GetCurrentDirectory(), "C:\\WINNT");
    EXPECT_FALSE(Sim().SetCurrentDirectory("C:\\Nowhere"));
    EXPECT_EQ(Sim().GetCurrentDirectory(), "C:\\WINNT");
}

TEST_F(SimPlatformTest, Drives_NotReadyFailsEverythingOnTheDrive) {
    Sim().AddDrive('A', 1440 * 1024, 1000 * 1024);
    ASSERT_TRUE(Put("A:\\disk.id", "1"));
    auto open = Sim().OpenFile("A:\\disk.id", OpenMode::Read, Disposition::OpenExisting, Share::Read);
    ASSERT_TRUE(open);

    Sim().SetDriveNotReady('a', true);
    EXPECT_FALSE(Sim().FileExists("A:\\disk.id"));
    EXPECT_EQ(Sim().LastError(), kErrorNotReady);
    std::uint64_t freeBytes, totalBytes;
    EXPECT_FALSE(Sim().GetDiskFreeSpace("A:\\", freeBytes, totalBytes));
    EXPECT_EQ(Sim().LastError(), kErrorNotReady);
    std::vector<FindData> found;
    EXPECT_FALSE(Sim().FindFiles("A:\\*", found));
    EXPECT_EQ(Sim().LastError(), kErrorNotReady);
    EXPECT_FALSE(Sim().OpenFile("A:\\disk.id", OpenMode::Read, Disposition::OpenExisting, Share::Read));
    EXPECT_EQ(Sim().LastError(), kErrorNotReady);
    char c;
    EXPECT_EQ(open->Read(&c, 1), -1);
    EXPECT_EQ(open->LastError(), kErrorNotReady);
    EXPECT_TRUE(Sim().DirectoryExists("C:\\TEMP"));  // other drives carry on

    Sim().SetDriveNotReady('A', false);
    EXPECT_EQ(open->Read(&c, 1), 1);
    EXPECT_TRUE(Sim().FileExists("A:\\disk.id"));
}

TEST_F(SimPlatformTest, DiskSpace_WritesTakeAndDeletesGiveBack) {
    Sim().AddDrive('D', 10000, 1000);
    ASSERT_TRUE(Put("D:\\a.bin", std::string(300, 'a')));
    EXPECT_EQ(FreeOn("D:\\"), 700u);
    {
        // Overwriting inside the file costs nothing; growing it does.
        auto f = Sim().OpenFile("D:\\a.bin", OpenMode::Write, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Write(std::string(100, 'b').data(), 100), 100);
        EXPECT_EQ(FreeOn("D:\\"), 700u);
        f->Seek(250, SeekOrigin::Begin);
        EXPECT_EQ(f->Write(std::string(100, 'c').data(), 100), 100);
        EXPECT_EQ(FreeOn("D:\\"), 650u);
        f->Seek(100, SeekOrigin::Begin);
        ASSERT_TRUE(f->SetEndOfFile());
        EXPECT_EQ(FreeOn("D:\\"), 900u);
    }
    ASSERT_TRUE(Sim().CopyFile("D:\\a.bin", "D:\\b.bin", true));
    EXPECT_EQ(FreeOn("D:\\"), 800u);
    ASSERT_TRUE(Sim().DeleteFile("D:\\a.bin"));
    EXPECT_EQ(FreeOn("D:\\"), 900u);

    const std::uint64_t freeC = FreeOn("C:\\");
    ASSERT_TRUE(Sim().MoveFile("D:\\b.bin", "C:\\b.bin"));
    EXPECT_EQ(FreeOn("D:\\"), 1000u);
    EXPECT_EQ(FreeOn("C:\\"), freeC - 100);
    {
        auto f = Sim().OpenFile("C:\\b.bin", OpenMode::Write, Disposition::CreateAlways, Share::Read);
        ASSERT_TRUE(f);
    }
    EXPECT_EQ(FreeOn("C:\\"), freeC);
}

TEST_F(SimPlatformTest, DiskSpace_FullDiskWritesWhatFits) {
    Sim().AddDrive('D', 1000, 100);
    {
        auto f = Sim().OpenFile("D:\\big.bin", OpenMode::Write, Disposition::CreateNew, Share::None);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Write(std::string(150, 'x').data(), 150), 100);
        EXPECT_EQ(f->LastError(), kErrorDiskFull);
        EXPECT_EQ(f->Size(), 100);
        EXPECT_EQ(f->Write("y", 1), 0);
        EXPECT_EQ(f->LastError(), kErrorDiskFull);
        EXPECT_FALSE(f->Seek(200, SeekOrigin::Begin) < 0);
        EXPECT_FALSE(f->SetEndOfFile());
        EXPECT_EQ(f->LastError(), kErrorDiskFull);
    }
    EXPECT_EQ(FreeOn("D:\\"), 0u);
    ASSERT_TRUE(Put("C:\\src.bin", std::string(200, 's')));
    EXPECT_FALSE(Sim().CopyFile("C:\\src.bin", "D:\\src.bin", false));
    EXPECT_EQ(Sim().LastError(), kErrorDiskFull);
    EXPECT_FALSE(Sim().FileExists("D:\\src.bin"));
    EXPECT_FALSE(Sim().MoveFile("C:\\src.bin", "D:\\src.bin"));
    EXPECT_EQ(Sim().LastError(), kErrorDiskFull);

    // The switch empties a drive for as long as it is on.
    Sim().SetDiskFull('C', true);
    EXPECT_EQ(FreeOn("C:\\"), 0u);
    auto f = Sim().OpenFile("C:\\one.bin", OpenMode::Write, Disposition::CreateAlways, Share::None);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Write("1", 1), 0);
    EXPECT_EQ(f->LastError(), kErrorDiskFull);
    Sim().SetDiskFull('C', false);
    EXPECT_GT(FreeOn("C:\\"), 0u);
    EXPECT_EQ(f->Write("1", 1), 1);
}

TEST_F(SimPlatformTest, Files_InUseSwitchBlocksChangesButNotReading) {
    ASSERT_TRUE(Put("C:\\app.exe", "exe"));
    ASSERT_TRUE(Put("C:\\new.exe", "new"));
    Sim().SetFileInUse("c:\\APP.EXE", true);
    EXPECT_TRUE(Sim().OpenFile("C:\\app.exe", OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite));
    EXPECT_FALSE(Sim().OpenFile("C:\\app.exe", OpenMode::Write, Disposition::OpenExisting, Share::ReadWrite));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_FALSE(Sim().OpenFile("C:\\app.exe", OpenMode::Read, Disposition::CreateAlways, Share::ReadWrite));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_FALSE(Sim().DeleteFile("C:\\app.exe"));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_FALSE(Sim().MoveFile("C:\\app.exe", "C:\\old.exe"));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_FALSE(Sim().CopyFile("C:\\new.exe", "C:\\app.exe", false));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_FALSE(Sim().RecycleFile("C:\\app.exe"));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    EXPECT_TRUE(Sim().CopyFile("C:\\app.exe", "C:\\copy.exe", true));

    Sim().SetFileInUse("C:\\app.exe", false);
    EXPECT_TRUE(Sim().CopyFile("C:\\new.exe", "C:\\app.exe", false));
    EXPECT_TRUE(Sim().DeleteFile("C:\\app.exe"));
}

TEST_F(SimPlatformTest, Attributes_KeptBesideTheDrivesAndReportedLikeWindows) {
    ASSERT_TRUE(Put("C:\\file.txt", "f"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Dir"));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\file.txt"), kAttrArchive);
    EXPECT_EQ(Sim().GetFileAttributes("C:\\Dir"), kAttrDirectory);
    EXPECT_EQ(Sim().GetFileAttributes("C:\\"), kAttrDirectory);

    ASSERT_TRUE(Sim().SetFileAttributes("C:\\file.txt", kAttrHidden | kAttrSystem | kAttrDirectory));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\file.txt"), kAttrHidden | kAttrSystem);
    ASSERT_TRUE(Sim().SetFileAttributes("C:\\Dir", kAttrReadOnly));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\Dir"), kAttrDirectory | kAttrReadOnly);
    EXPECT_FALSE(Sim().RemoveDirectory("C:\\Dir"));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);

    Reopen();
    EXPECT_EQ(Sim().GetFileAttributes("C:\\FILE.TXT"), kAttrHidden | kAttrSystem);
    ASSERT_TRUE(Sim().SetFileAttributes("C:\\file.txt", kAttrNormal));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\file.txt"), kAttrNormal);
    {
        // Writing marks the file for backup again.
        auto f = Sim().OpenFile("C:\\file.txt", OpenMode::Write, Disposition::OpenExisting, Share::Read);
        ASSERT_TRUE(f);
    }
    EXPECT_EQ(Sim().GetFileAttributes("C:\\file.txt"), kAttrArchive);

    // Nothing of this lands inside the drive folders.
    std::vector<std::string> hostNames;
    for (const auto& entry : fs::directory_iterator(FRoot / "C")) hostNames.push_back(entry.path().filename().string());
    std::sort(hostNames.begin(), hostNames.end());
    EXPECT_EQ(hostNames, (std::vector<std::string>{"Dir", "TEMP", "WINNT", "file.txt"}));
}

TEST_F(SimPlatformTest, FolderIndex_FollowsTheMachinesChangesAndTheHosts) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Data"));
    ASSERT_TRUE(Put("C:\\Data\\Alpha File.txt", "a"));
    EXPECT_TRUE(Sim().FileExists("C:\\DATA\\ALPHA FILE.TXT"));
    ASSERT_TRUE(Sim().MoveFile("c:\\data\\alpha file.txt", "C:\\Data\\Beta File.txt"));
    EXPECT_FALSE(Sim().FileExists("C:\\Data\\ALPHA FILE.TXT"));
    EXPECT_TRUE(Sim().FileExists("C:\\Data\\beta file.TXT"));
    EXPECT_EQ(Sim().GetShortPathName("C:\\Data\\Beta File.txt"), "C:\\Data\\BETAFI~1.TXT");
    ASSERT_TRUE(Sim().MoveFile("C:\\Data\\beta file.txt", "C:\\Data\\BETA FILE.txt"));  // case only
    std::vector<FindData> found;
    ASSERT_TRUE(Sim().FindFiles("C:\\Data\\beta file.txt", found));
    EXPECT_EQ(found.at(0).Name, "BETA FILE.txt");
    ASSERT_TRUE(Sim().DeleteFile("C:\\DATA\\Beta File.TXT"));
    EXPECT_FALSE(Sim().FileExists("C:\\Data\\beta file.txt"));

    // Behind the machine's back: the host adds a file and takes one away. (A change in the very
    // clock tick of the machine's own last change to the folder looks like none; the host
    // acts a moment later here, as another program would.)
    ASSERT_TRUE(Put("C:\\Data\\Gone.txt", "g"));
    EXPECT_TRUE(Sim().FileExists("C:\\Data\\GONE.TXT"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    WriteHost(FRoot / "C" / "Data" / "Gamma Host.txt", "h");
    fs::remove(FRoot / "C" / "Data" / "Gone.txt");
    EXPECT_TRUE(Sim().FileExists("C:\\Data\\GAMMA HOST.TXT"));
    EXPECT_FALSE(Sim().FileExists("C:\\Data\\GONE.TXT"));

    // A thousand new files cost no reading of their folder each.
    const std::uint64_t before = Sim().FolderReads();
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(Put("C:\\Data\\Document number " + std::to_string(i) + ".text", "d"));
    EXPECT_LT(Sim().FolderReads() - before, 10u);
    EXPECT_EQ(Sim().GetShortPathName("C:\\Data\\Document number 0.text"), "C:\\Data\\DOCUME~1.TEX");
    EXPECT_TRUE(Sim().FileExists("C:\\Data\\document NUMBER 999.TEXT"));
}

TEST_F(SimPlatformTest, FolderIndex_HoldsTheFoldersInUseAndStaysExactForTheOthers) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Small"));
    ASSERT_TRUE(Put("C:\\Small\\Kept Name.txt", "k"));
    ASSERT_TRUE(Put("C:\\Small\\Gone Name.txt", "g"));
    EXPECT_TRUE(Sim().FileExists("C:\\SMALL\\KEPT NAME.TXT"));
    // More names than the machine keeps indexed, in a folder made on the host.
    fs::create_directory(FRoot / "C" / "Big");
    for (int i = 0; i < 8200; ++i) WriteHost(FRoot / "C" / "Big" / ("Item " + std::to_string(i) + ".dat"), "");
    const std::uint64_t before = Sim().FolderReads();
    EXPECT_TRUE(Sim().FileExists("C:\\Big\\ITEM 8199.DAT"));
    EXPECT_TRUE(Sim().FileExists("C:\\big\\item 0.DAT"));
    EXPECT_FALSE(Sim().FileExists("C:\\Big\\Item 8200.dat"));
    EXPECT_EQ(Sim().FolderReads() - before, 1u) << "the folder in use keeps its index";
    // The other folder's index went: it is read again, and sees what the host changed.
    fs::remove(FRoot / "C" / "Small" / "Gone Name.txt");
    EXPECT_TRUE(Sim().FileExists("C:\\small\\kept NAME.txt"));
    EXPECT_FALSE(Sim().FileExists("C:\\small\\GONE NAME.TXT"));
    EXPECT_EQ(Sim().FolderReads() - before, 2u);
    EXPECT_TRUE(Sim().FileExists("C:\\Big\\ITEM 4500.DAT"));
    EXPECT_EQ(Sim().FolderReads() - before, 3u);
}

// A remembered folder that the host took away and made again in another case: its names
// are found in the new one.
TEST_F(SimPlatformTest, ResolvedFolders_FollowAFolderTheHostMadeAgain) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Work"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Work\\Sub"));
    ASSERT_TRUE(Put("C:\\Work\\Sub\\File.txt", "1"));
    EXPECT_TRUE(Sim().FileExists("C:\\Work\\Sub\\File.txt"));
    fs::remove_all(FRoot / "C" / "Work" / "Sub");
    fs::create_directory(FRoot / "C" / "Work" / "SUB");
    WriteHost(FRoot / "C" / "Work" / "SUB" / "File.txt", "2");
    EXPECT_TRUE(Sim().FileExists("C:\\Work\\Sub\\File.txt"));
    EXPECT_EQ(Sim().HostPath("C:\\Work\\Sub\\file.TXT"), FRoot / "C" / "Work" / "SUB" / "File.txt");
}

TEST_F(SimPlatformTest, ShortNames_NumberPerDirectoryAndStayStable) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Program Files"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\PROGRA~3"));  // a real 8.3 name takes its number
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Program Data"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Program Zoo"));
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Files"), "C:\\PROGRA~1");
    EXPECT_EQ(Sim().GetShortPathName("c:\\program data"), "c:\\PROGRA~2");
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Zoo"), "C:\\PROGRA~4");

    ASSERT_TRUE(Put("C:\\Program Data\\Long Extension.html", "h"));
    ASSERT_TRUE(Put("C:\\Program Data\\a+b.txt", "p"));
    ASSERT_TRUE(Put("C:\\Program Data\\.profile", "d"));
    ASSERT_TRUE(Put("C:\\Program Data\\readme.txt", "r"));
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Data\\Long Extension.html"), "C:\\PROGRA~2\\LONGEX~1.HTM");
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Data\\a+b.txt"), "C:\\PROGRA~2\\A_B~1.TXT");
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Data\\.profile"), "C:\\PROGRA~2\\PROFIL~1");
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Data\\readme.txt"), "C:\\PROGRA~2\\readme.txt");
    EXPECT_TRUE(Sim().FileExists("C:\\progra~2\\longex~1.htm"));

    // Numbers are per directory, and a freed number goes to the next newcomer only.
    ASSERT_TRUE(Sim().CreateDirectory("C:\\TEMP\\Program Files"));
    EXPECT_EQ(Sim().GetShortPathName("C:\\TEMP\\Program Files"), "C:\\TEMP\\PROGRA~1");
    ASSERT_TRUE(Sim().RemoveDirectory("C:\\Program Files"));
    Reopen();
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Data"), "C:\\PROGRA~2");
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Program Files (x86)"));
    EXPECT_EQ(Sim().GetShortPathName("C:\\Program Files (x86)"), "C:\\PROGRA~1");

    // Entries made behind the machine's back get theirs when first asked.
    fs::create_directory(FRoot / "C" / "Outside Made");
    EXPECT_EQ(Sim().GetShortPathName("C:\\Outside Made"), "C:\\OUTSID~1");
    std::vector<FindData> found;
    ASSERT_TRUE(Sim().FindFiles("C:\\Program Data\\*.html", found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].ShortName, "LONGEX~1.HTM");
}

TEST_F(SimPlatformTest, FindFiles_FollowsDosWildcardRules) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\W"));
    for (const char* name : {"a.txt", "ab.txt", "abc.txt", "noext", "x.y.z", "Long Name.html"}) ASSERT_TRUE(Put(std::string("C:\\W\\") + name, "."));
    EXPECT_EQ(Names("C:\\W\\*."), (std::vector<std::string>{".", "..", "noext"}));
    EXPECT_EQ(Names("C:\\W\\a?.txt"), (std::vector<std::string>{"a.txt", "ab.txt"}));
    EXPECT_EQ(Names("C:\\W\\*.z"), (std::vector<std::string>{"x.y.z"}));
    EXPECT_EQ(Names("C:\\W\\*.y"), (std::vector<std::string>{"<error 2>"}));
    // The 8.3 alias LONGNA~1.HTM matches too, as on Windows.
    EXPECT_EQ(Names("C:\\W\\*.htm"), (std::vector<std::string>{"Long Name.html"}));
    EXPECT_EQ(Names("C:\\W\\longna~1.htm"), (std::vector<std::string>{"Long Name.html"}));
    // Entries come sorted, dots first; drive roots have no dot entries.
    EXPECT_EQ(Names("C:\\W\\*"), (std::vector<std::string>{".", "..", "a.txt", "ab.txt", "abc.txt", "Long Name.html", "noext", "x.y.z"}));
    EXPECT_EQ(Names("C:\\*"), (std::vector<std::string>{"TEMP", "W", "WINNT"}));
}

TEST_F(SimPlatformTest, ReparsePoints_DirectoryLinksReportAndRemoveOnlyTheLink) {
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Target"));
    ASSERT_TRUE(Put("C:\\Target\\f.txt", "kept"));
    fs::create_directory_symlink(Sim().HostPath("C:\\Target"), Sim().HostPath("C:\\") / "Link");
    EXPECT_EQ(Sim().GetFileAttributes("C:\\link"), kAttrReparsePoint | kAttrDirectory);
    EXPECT_TRUE(Sim().DirectoryExists("C:\\Link"));
    EXPECT_TRUE(Sim().FileExists("C:\\Link\\F.TXT"));
    std::vector<FindData> found;
    ASSERT_TRUE(Sim().FindFiles("C:\\Link", found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Attributes, kAttrReparsePoint | kAttrDirectory);

    EXPECT_FALSE(Sim().DeleteFile("C:\\Link"));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_TRUE(Sim().RemoveDirectory("C:\\Link"));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\Link"), kInvalidAttributes);
    EXPECT_TRUE(Sim().FileExists("C:\\Target\\f.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(FRoot / "C" / "Link")));
}

TEST_F(SimPlatformTest, MoveFile_RenamesCaseAndRefusesImpossibleMoves) {
    ASSERT_TRUE(Put("C:\\file.txt", "f"));
    EXPECT_TRUE(Sim().MoveFile("C:\\file.txt", "C:\\FILE.TXT"));
    EXPECT_EQ(Names("C:\\file.*"), (std::vector<std::string>{"FILE.TXT"}));

    ASSERT_TRUE(Sim().CreateDirectory("C:\\Tree"));
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Tree\\Sub"));
    EXPECT_FALSE(Sim().MoveFile("C:\\Tree", "C:\\Tree\\Sub\\Tree"));
    EXPECT_EQ(Sim().LastError(), kErrorSharingViolation);
    Sim().AddDrive('D', 1000, 1000);
    EXPECT_FALSE(Sim().MoveFile("C:\\Tree", "D:\\Tree"));
    EXPECT_EQ(Sim().LastError(), 17u);  // ERROR_NOT_SAME_DEVICE

    // Attributes travel with the entry.
    ASSERT_TRUE(Sim().SetFileAttributes("C:\\Tree\\Sub", kAttrHidden));
    ASSERT_TRUE(Sim().MoveFile("C:\\Tree", "C:\\Moved"));
    EXPECT_EQ(Sim().GetFileAttributes("C:\\Moved\\Sub"), kAttrDirectory | kAttrHidden);
}

TEST_F(SimPlatformTest, FileTimes_StayExactOutsideTheHostClockUntilRewritten) {
    ASSERT_TRUE(Put("C:\\t.txt", "t"));
    FileTime got = 1;
    ASSERT_TRUE(Sim().SetFileTime("C:\\t.txt", 0));
    ASSERT_TRUE(Sim().GetFileTime("C:\\t.txt", got));
    EXPECT_EQ(got, 0u);
    const FileTime dos = MakeFileTime(1980, 1, 1) + 1;
    ASSERT_TRUE(Sim().SetFileTime("C:\\t.txt", dos));
    Reopen();
    ASSERT_TRUE(Sim().GetFileTime("C:\\t.txt", got));
    EXPECT_EQ(got, dos);
    ASSERT_TRUE(Put("C:\\t.txt", "rewritten"));
    ASSERT_TRUE(Sim().GetFileTime("C:\\t.txt", got));
    EXPECT_NE(got, dos);
}

TEST_F(SimPlatformTest, FileTimes_OfThisCenturyReachTheHostFile) {
    // Tools outside the machine (cp, tar, the archive tool) see the dates setup wrote.
    ASSERT_TRUE(Put("C:\\t.txt", "t"));
    ASSERT_TRUE(Sim().SetFileTime("C:\\t.txt", MakeFileTime(2020, 6, 1)));
    const auto host = fs::last_write_time(Sim().HostPath("C:\\t.txt"));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::file_clock::to_sys(host).time_since_epoch()).count();
    EXPECT_EQ(seconds, 1590969600) << "2020-06-01 00:00:00 UTC";
}

TEST_F(SimPlatformTest, TempFiles_NumberFromTheClockAndSkipTakenNames) {
    Sim().SetTimeOfDay(0x12345);
    ASSERT_TRUE(Put("C:\\TEMP\\bre2346.TMP", "taken"));
    EXPECT_EQ(Sim().GetTempPath(), "C:\\TEMP\\");
    EXPECT_EQ(Sim().GetTempFileName("C:\\TEMP", "brev"), "C:\\TEMP\\bre2345.TMP");
    EXPECT_EQ(Sim().GetTempFileName("C:\\TEMP\\", "brev"), "C:\\TEMP\\bre2347.TMP");
    EXPECT_TRUE(Sim().FileExists("C:\\TEMP\\BRE2347.tmp"));
}

TEST_F(SimPlatformTest, WindowsKind_SelectsVersionAndDirectories) {
    struct Case {
        SimWindowsKind Kind;
        PlatformId Platform;
        std::uint32_t Major, Minor, Build;
        const char* Csd;
        const char* Windows;
        const char* System;
    };
    const Case cases[] = {
        {SimWindowsKind::Win95, PlatformId::Windows, 4, 0, 950, "", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
        {SimWindowsKind::Win98, PlatformId::Windows, 4, 10, 1998, "", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
        {SimWindowsKind::NT351, PlatformId::NT, 3, 51, 1057, "", "C:\\WINNT", "C:\\WINNT\\system32"},
        {SimWindowsKind::NT4, PlatformId::NT, 4, 0, 1381, "Service Pack 6", "C:\\WINNT", "C:\\WINNT\\system32"},
        {SimWindowsKind::Win2000, PlatformId::NT, 5, 0, 2195, "", "C:\\WINNT", "C:\\WINNT\\system32"},
    };
    for (const Case& c : cases) {
        const fs::path root = FRoot / ("kind" + std::to_string(static_cast<int>(c.Kind)));
        {
            SimPlatform machine(root, c.Kind);
            const OsVersion v = machine.GetVersion();
            EXPECT_EQ(v.Platform, c.Platform) << c.Windows;
            EXPECT_EQ(v.Major, c.Major);
            EXPECT_EQ(v.Minor, c.Minor);
            EXPECT_EQ(v.Build, c.Build);
            EXPECT_EQ(v.CsdVersion, c.Csd);
            std::string windows, system;
            ASSERT_TRUE(machine.GetWindowsDirectory(windows));
            ASSERT_TRUE(machine.GetSystemDirectory(system));
            EXPECT_EQ(windows, c.Windows);
            EXPECT_EQ(system, c.System);
            EXPECT_TRUE(machine.DirectoryExists(system));
            EXPECT_TRUE(machine.DirectoryExists("C:\\TEMP"));
        }
        // The kind is part of the stored machine.
        SimPlatform again(root);
        EXPECT_EQ(again.WindowsKind(), c.Kind);
    }

    Sim().SetWindowsKind(SimWindowsKind::Win95);
    EXPECT_EQ(Sim().GetVersion().Platform, PlatformId::Windows);
    Sim().SetWindowsDirFails(true);
    std::string dir;
    EXPECT_FALSE(Sim().GetWindowsDirectory(dir));
    EXPECT_TRUE(Sim().GetSystemDirectory(dir));
    Sim().SetWindowsDirFails(false);
    Sim().SetSystemDirFails(true);
    EXPECT_TRUE(Sim().GetWindowsDirectory(dir));
    EXPECT_FALSE(Sim().GetSystemDirectory(dir));
}

TEST_F(SimPlatformTest, Clock_SleepAdvancesAndWrapsAtMidnight) {
    EXPECT_EQ(Sim().TimeOfDayMs(), 12u * 3600 * 1000);
    Sim().SetTimeOfDay(86'399'000);
    Sim().Sleep(1500);
    EXPECT_EQ(Sim().TimeOfDayMs(), 500u);
    Sim().AdvanceClock(2ull * 86'400'000 + 10);
    EXPECT_EQ(Sim().TimeOfDayMs(), 510u);
    Sim().SetTimeOfDay(86'400'000 + 5);
    EXPECT_EQ(Sim().TimeOfDayMs(), 5u);
}

TEST_F(SimPlatformTest, Windows_FindSendAndRemove) {
    std::vector<std::uintptr_t> seen;
    const WindowHandle older = Sim().AddWindow("TMainSetupDlg", 10, [](std::uint32_t, std::uintptr_t, std::intptr_t) { return std::intptr_t(1); });
    const WindowHandle newer = Sim().AddWindow("TMainSetupDlg", 20, [&](std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
        seen.push_back(msg);
        seen.push_back(wp);
        return lp * 2;
    });
    ASSERT_NE(older, 0u);
    ASSERT_NE(newer, older);
    EXPECT_EQ(Sim().FindWindow("tmainsetupdlg"), newer);
    EXPECT_EQ(Sim().FindWindow("Other"), 0u);
    EXPECT_EQ(Sim().WindowProcessId(newer), 20u);
    EXPECT_EQ(Sim().WindowProcessId(older), 10u);
    EXPECT_EQ(Sim().SendMessage(newer, 1124, 7, 21), 42);
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{1124, 7}));

    // A window may go away while handling a message.
    const WindowHandle closing = Sim().AddWindow("Closing", 30, [&](std::uint32_t, std::uintptr_t, std::intptr_t) {
        Sim().RemoveWindow(Sim().FindWindow("Closing"));
        return std::intptr_t(5);
    });
    EXPECT_EQ(Sim().SendMessage(closing, 16, 0, 0), 5);
    EXPECT_EQ(Sim().FindWindow("Closing"), 0u);

    Sim().RemoveWindow(newer);
    EXPECT_EQ(Sim().FindWindow("TMainSetupDlg"), older);
    EXPECT_EQ(Sim().SendMessage(newer, 1, 0, 0), 0);
    EXPECT_EQ(Sim().LastError(), 1400u);  // ERROR_INVALID_WINDOW_HANDLE
    EXPECT_EQ(Sim().WindowProcessId(newer), 0u);

    Sim().MessageBeep(0x30);
    Sim().MessageBeep(0x10);
    EXPECT_EQ(Sim().Beeps(), (std::vector<std::uint32_t>{0x30, 0x10}));
}

TEST_F(SimPlatformTest, Program_ReportsWhatTheTestConfigured) {
    EXPECT_EQ(Sim().ScreenWidth(), 800);
    EXPECT_EQ(Sim().ScreenHeight(), 600);
    EXPECT_FALSE(Sim().MiddleEastEnabled());
    EXPECT_EQ(Sim().ModuleFileName(), "C:\\SETUP.EXE");
    EXPECT_TRUE(Sim().CommandLineArgs().empty());
    Sim().SetScreenSize(1024, 768);
    Sim().SetMiddleEast(true);
    Sim().SetModuleFileName("D:\\DISK1\\SETUP.EXE");
    Sim().SetCommandLineArgs({"/S", "C:\\My Dir"});
    Sim().SetProcessId(77);
    EXPECT_EQ(Sim().ScreenWidth(), 1024);
    EXPECT_EQ(Sim().ScreenHeight(), 768);
    EXPECT_TRUE(Sim().MiddleEastEnabled());
    EXPECT_EQ(Sim().ModuleFileName(), "D:\\DISK1\\SETUP.EXE");
    EXPECT_EQ(Sim().CommandLineArgs(), (std::vector<std::string>{"/S", "C:\\My Dir"}));
    EXPECT_EQ(Sim().CurrentProcessId(), 77u);
}

TEST_F(SimPlatformTest, Processes_StartsAreRecordedUnlessSwitchedToFail) {
    EXPECT_TRUE(Sim().StartProcess("\"C:\\App\\app.exe\" /first", "C:\\App"));
    Sim().SetStartProcessFails(true);
    EXPECT_FALSE(Sim().StartProcess("C:\\App\\other.exe", ""));
    EXPECT_EQ(Sim().LastError(), kErrorFileNotFound);
    const auto started = Sim().StartedProcesses();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].CommandLine, "\"C:\\App\\app.exe\" /first");
    EXPECT_EQ(started[0].CurrentDir, "C:\\App");
}

TEST_F(SimPlatformTest, Recycle_MovesEntriesIntoTheBinUnlessSwitchedToFail) {
    Sim().AddDrive('D', 1000, 1000);
    ASSERT_TRUE(Put("D:\\old.txt", std::string(100, 'o')));
    ASSERT_TRUE(Sim().CreateDirectory("D:\\OldDir"));
    ASSERT_TRUE(Put("D:\\OldDir\\inner.txt", "inner"));
    EXPECT_TRUE(Sim().RecycleFile("d:\\OLD.TXT"));
    EXPECT_TRUE(Sim().RecycleFile("D:\\OldDir"));
    EXPECT_FALSE(Sim().FileExists("D:\\old.txt"));
    EXPECT_FALSE(Sim().DirectoryExists("D:\\OldDir"));
    EXPECT_EQ(FreeOn("D:\\"), 1000u);
    const auto recycled = Sim().RecycledFiles();
    ASSERT_EQ(recycled.size(), 2u);
    EXPECT_EQ(recycled[0].Path, "d:\\OLD.TXT");
    EXPECT_EQ(recycled[0].BinPath.parent_path(), FRoot / "RecycleBin");
    EXPECT_EQ(ReadHost(recycled[0].BinPath), std::string(100, 'o'));
    EXPECT_EQ(ReadHost(recycled[1].BinPath / "inner.txt"), "inner");

    EXPECT_FALSE(Sim().RecycleFile("D:\\missing.txt"));
    EXPECT_EQ(Sim().LastError(), kErrorFileNotFound);
    ASSERT_TRUE(Put("D:\\stays.txt", "s"));
    Sim().SetRecycleFails(true);
    EXPECT_FALSE(Sim().RecycleFile("D:\\stays.txt"));
    EXPECT_TRUE(Sim().FileExists("D:\\stays.txt"));
    EXPECT_EQ(Sim().RecycledFiles().size(), 2u);
}

TEST_F(SimPlatformTest, Restart_RenamesAreRecordedNotDone) {
    ASSERT_TRUE(Put("C:\\new.dll", "n"));
    EXPECT_TRUE(Sim().MoveFileAtRestart("C:\\new.dll", "C:\\WINNT\\system32\\old.dll"));
    EXPECT_TRUE(Sim().MoveFileAtRestart("C:\\gone.tmp", ""));
    const auto pending = Sim().PendingRenames();
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].From, "C:\\new.dll");
    EXPECT_EQ(pending[0].To, "C:\\WINNT\\system32\\old.dll");
    EXPECT_EQ(pending[1].From, "C:\\gone.tmp");
    EXPECT_EQ(pending[1].To, "");
    EXPECT_TRUE(Sim().FileExists("C:\\new.dll"));
    EXPECT_FALSE(Sim().FileExists("C:\\WINNT\\system32\\old.dll"));
}

TEST_F(SimPlatformTest, Restart_WindowsNinetyFiveRefusesMovesAndTheSwitchRefusesThemOnNt) {
    ASSERT_TRUE(Put("C:\\new.dll", "n"));
    Sim().SetWindowsKind(SimWindowsKind::Win98);
    EXPECT_FALSE(Sim().MoveFileAtRestart("C:\\new.dll", "C:\\old.dll"));
    EXPECT_EQ(Sim().LastError(), kErrorCallNotImplemented);
    Sim().SetWindowsKind(SimWindowsKind::NT4);
    Sim().SetRestartMovesFail(true);
    EXPECT_FALSE(Sim().MoveFileAtRestart("C:\\new.dll", "C:\\old.dll"));
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    EXPECT_TRUE(Sim().PendingRenames().empty());
    Sim().SetRestartMovesFail(false);
    ASSERT_TRUE(Sim().MoveFileAtRestart("C:\\new.dll", "C:\\old.dll"));
    ASSERT_TRUE(Sim().MoveFileAtRestart("C:\\gone.tmp", ""));
    // Kept as NT keeps them, and across a restart of the program.
    Reopen();
    const RegValue pending = Query(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
    EXPECT_EQ(pending.Type, ValueType::MultiString);
    const std::string expected = std::string("\\??\\C:\\new.dll") + '\0' + "!\\??\\C:\\old.dll" + '\0' + "\\??\\C:\\gone.tmp" + '\0' + '\0' + '\0';
    EXPECT_EQ(std::string(pending.Data.begin(), pending.Data.end()), expected);
}

TEST_F(SimPlatformTest, Restart_RequestsAreRecordedAndNtWantsTheShutdownPrivilege) {
    // NT refuses a process without the privilege; Windows 98 has none to hold.
    Sim().SetWindowsKind(SimWindowsKind::NT4);
    EXPECT_FALSE(Sim().RequestRestart());
    EXPECT_EQ(Sim().LastError(), kErrorPrivilegeNotHeld);
    Sim().SetShutdownPrivilegeRefused(true);
    EXPECT_FALSE(Sim().EnableShutdownPrivilege());
    EXPECT_EQ(Sim().LastError(), kErrorNotAllAssigned);
    Sim().SetShutdownPrivilegeRefused(false);
    ASSERT_TRUE(Sim().EnableShutdownPrivilege());
    EXPECT_TRUE(Sim().RequestRestart());
    Sim().SetRestartRefused(true);
    EXPECT_FALSE(Sim().RequestRestart());
    EXPECT_EQ(Sim().LastError(), kErrorAccessDenied);
    Sim().SetRestartRefused(false);
    Sim().SetWindowsKind(SimWindowsKind::Win98);
    EXPECT_TRUE(Sim().RequestRestart());
    const auto requests = Sim().RestartRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_FALSE(requests[0].PrivilegeHeld);
    EXPECT_FALSE(requests[0].Granted);
    EXPECT_TRUE(requests[1].PrivilegeHeld);
    EXPECT_TRUE(requests[1].Granted);
    EXPECT_FALSE(requests[2].Granted);
    EXPECT_TRUE(requests[3].Granted);
}

TEST_F(SimPlatformTest, Version_CanBeReportedAsAnotherSystemKeepingTheKindsFolders) {
    Sim().SetReportedVersion(OsVersion{PlatformId::Win32s, 3, 10, 0, ""});
    EXPECT_EQ(Sim().GetVersion().Platform, PlatformId::Win32s);
    EXPECT_EQ(Sim().GetVersion().Minor, 10u);
    std::string windows;
    ASSERT_TRUE(Sim().GetWindowsDirectory(windows));
    EXPECT_EQ(windows, "C:\\WINNT");
}

TEST_F(SimPlatformTest, ProfileFiles_EntriesJoinTheirSectionAndQuotesAreDropped) {
    ASSERT_TRUE(Put("C:\\x.ini", "[One]\r\na=1\r\n\r\n[Two]\r\nq=\"quoted value\"\r\n"));
    ASSERT_TRUE(Sim().WriteProfileString("C:\\x.ini", "one", "b", "2"));
    ASSERT_TRUE(Sim().WriteProfileString("C:\\x.ini", "Three", "c", "\xD7\x90"));  // Hebrew alef: no place in 1252
    EXPECT_EQ(ReadHost(FRoot / "C" / "x.ini"), "[One]\r\na=1\r\nb=2\r\n\r\n[Two]\r\nq=\"quoted value\"\r\n\r\n[Three]\r\nc=?\r\n");
    EXPECT_EQ(Sim().GetProfileString("C:\\x.ini", "Two", "Q", ""), "quoted value");
    Sim().SetDriveNotReady('C', true);
    EXPECT_FALSE(Sim().WriteProfileString("C:\\x.ini", "One", "a", "3"));
    EXPECT_EQ(Sim().LastError(), kErrorNotReady);
}

TEST_F(SimPlatformTest, Programs_UnquotedPathsAreSearchedAsCreateProcessDoes) {
    const testpe::Bytes image = testpe::PeImage(testpe::VersionBlock(testpe::Fixed{}, {}), false);
    const std::string program(image.begin(), image.end());
    ASSERT_TRUE(Sim().CreateDirectory("C:\\Program Files"));
    ASSERT_TRUE(Put("C:\\Program Files\\server.exe", program));
    std::vector<std::string> ran;
    Sim().SetProgramHandler([&](const std::string& commandLine) { ran.push_back(commandLine); });
    EXPECT_TRUE(Sim().RunHidden("C:\\Program Files\\server.exe /REGSERVER", 1000));
    // A program at the first blank wins, which is why a path is quoted.
    ASSERT_TRUE(Put("C:\\Program.exe", program));
    EXPECT_TRUE(Sim().RunHidden("C:\\Program Files\\server.exe /REGSERVER", 1000));
    EXPECT_TRUE(Sim().RunHidden("\"C:\\Program Files\\server.exe\" /REGSERVER", 1000));
    EXPECT_EQ(ran.size(), 3u);
    ASSERT_TRUE(Sim().DeleteFile("C:\\Program.exe"));
    ASSERT_TRUE(Put("C:\\Program Files\\text.exe", "not a program"));
    EXPECT_FALSE(Sim().RunHidden("\"C:\\Program Files\\text.exe\"", 1000));
    EXPECT_EQ(Sim().LastError(), kErrorBadExeFormat);
    const auto started = Sim().StartedProcesses();
    ASSERT_EQ(started.size(), 3u);
    EXPECT_TRUE(started[0].Hidden);
    Sim().SetStartProcessFails(true);
    EXPECT_FALSE(Sim().RunHidden("\"C:\\Program Files\\server.exe\"", 1000));
}

TEST_F(SimPlatformTest, Libraries_CallsAreRecordedWithTheResultSetForTheEntry) {
    const testpe::Bytes image = testpe::PeImage(testpe::VersionBlock(testpe::Fixed{}, {}), true, 0x0409, {"DllCanUnloadNow", "DllRegisterServer"});
    ASSERT_TRUE(Put("C:\\srv.dll", std::string(image.begin(), image.end())));
    std::int32_t result = 7;
    EXPECT_EQ(Sim().CallLibraryFunction("C:\\srv.dll", "DllRegisterServer", result), LibraryCall::Called);
    EXPECT_EQ(result, 0);
    Sim().SetLibraryFunctionResult("DllRegisterServer", -5);
    EXPECT_EQ(Sim().CallLibraryFunction("c:\\SRV.DLL", "DllRegisterServer", result), LibraryCall::Called);
    EXPECT_EQ(result, -5);
    // Entry names compare with case, as the loader compares them.
    EXPECT_EQ(Sim().CallLibraryFunction("C:\\srv.dll", "dllregisterserver", result), LibraryCall::NoEntryPoint);
    const auto calls = Sim().LibraryCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].Path, "c:\\SRV.DLL");
    EXPECT_EQ(calls[1].Function, "DllRegisterServer");
}

TEST_F(SimPlatformTest, MessageBoxes_AreRecordedAndAnswerCancelWhenNobodyQueuedAnAnswer) {
    EXPECT_EQ(Sim().MessageBox("first", "Setup", kMbOkCancel), kIdCancel);
    Sim().QueueMessageBoxAnswer(kIdOk);
    EXPECT_EQ(Sim().MessageBox("second", "Setup", kMbOk | kMbIconError), kIdOk);
    const auto boxes = Sim().MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, "second");
    EXPECT_EQ(boxes[1].Type, static_cast<std::uint32_t>(kMbOk | kMbIconError));
}

TEST_F(SimPlatformTest, VersionInstaller_ReportsLanguageFilesInUseAndOldCopiesItCannotDelete) {
    auto image = [](const std::string& table, std::uint32_t ms) {
        testpe::Fixed f;
        f.FileMS = ms;
        const testpe::Bytes b = testpe::PeImage(testpe::VersionBlock(f, {{table, {{"FileVersion", "1"}}}}), false);
        return std::string(b.begin(), b.end());
    };
    for (const char* dir : {"C:\\src", "C:\\dest", "C:\\cur"}) ASSERT_TRUE(Sim().CreateDirectory(dir));
    ASSERT_TRUE(Put("C:\\src\\lib.dll", image("040904E4", 0x00020000)));
    ASSERT_TRUE(Put("C:\\dest\\lib.dll", image("040D04E7", 0x00020000)));
    std::string temp;
    EXPECT_EQ(Sim().VerInstallFile(0, "lib.dll", "lib.dll", "C:\\src", "C:\\dest", "", temp),
              static_cast<std::uint32_t>(kVifMismatch | kVifDiffLang | kVifDiffCodePg | kVifTempFile));
    EXPECT_TRUE(rt::StartsText("VER", temp)) << temp;
    // In use: the copy stays for the forced call, which meets the same refusal.
    Sim().SetFileInUse("C:\\dest\\lib.dll", true);
    const std::string first = temp;
    EXPECT_EQ(Sim().VerInstallFile(kViffForceInstall, "lib.dll", "lib.dll", "C:\\src", "C:\\dest", "", temp),
              static_cast<std::uint32_t>(kVifFileInUse | kVifTempFile));
    EXPECT_EQ(temp, first);
    EXPECT_EQ(Names("C:\\dest\\*.TMP"), (std::vector<std::string>{first}));
    std::string current, dest;
    EXPECT_TRUE(Sim().VerFindFile(0, "lib.dll", "", "C:\\dest", current, dest) & kVffFileInUse);
    Sim().SetFileInUse("C:\\dest\\lib.dll", false);
    // An old copy elsewhere goes with the installation, unless it is in use.
    ASSERT_TRUE(Put("C:\\cur\\lib.dll", "old place"));
    Sim().SetFileInUse("C:\\cur\\lib.dll", true);
    EXPECT_EQ(Sim().VerInstallFile(kViffForceInstall, "lib.dll", "lib.dll", "C:\\src", "C:\\dest", "C:\\cur", temp),
              static_cast<std::uint32_t>(kVifCannotDeleteCur | kVifSharingViolation));
    EXPECT_EQ(Names("C:\\dest\\*.TMP"), std::vector<std::string>{"<error 2>"});
    Sim().SetFileInUse("C:\\cur\\lib.dll", false);
    EXPECT_EQ(Sim().VerInstallFile(0, "lib.dll", "lib.dll", "C:\\src", "C:\\dest", "C:\\cur", temp), 0u);
    EXPECT_FALSE(Sim().FileExists("C:\\cur\\lib.dll"));
}

}  // namespace
