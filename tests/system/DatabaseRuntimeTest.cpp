// The database runtime installation and the uninstaller's entry, on the simulated machine:
// the eight files through the version installer, forced retries and their log, registration,
// the DAO count, the folders chosen per Windows, and the uninstall record's command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/BlockIO.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "runtime/Forms.h"
#include "runtime/Registry.h"
#include "system/DAOInst.h"
#include "system/cmp_TUninstallEXE.h"
#include "tests/common/SimMachine.h"
#include "tests/system/PeImageBuilder.h"

namespace {

using Lines = std::vector<std::string>;

const Lines kRuntime{"MSJT3032.dll", "MSJTER32.dll", "MSJINT32.dll", "VBAJET32.dll",
                     "VBAR2232.dll", "VEN2232.olb",  "MSVCRT20.dll", "DAO3032.dll"};
const char* const kCommonDao = "C:\\Program Files\\Common Files\\Microsoft Shared\\DAO";
const char* const kSharedDlls = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// A library of the given version and language that registers itself.
std::vector<std::uint8_t> Runtime(std::uint16_t major, const std::string& table = "040904E4", std::uint32_t type = 2) {
    testpe::Fixed f;
    f.FileMS = std::uint32_t(major) << 16;
    f.FileType = type;
    return testpe::PeImage(testpe::VersionBlock(f, {{table, {{"FileVersion", std::to_string(major) + ".0"}}}}), false, 0x0409,
                           {"DllRegisterServer"});
}

// A version installer that proposes a folder of its own for the system's files.
class ElsewherePlatform : public os::SimPlatform {
public:
    using os::SimPlatform::SimPlatform;
    std::uint32_t VerFindFile(std::uint32_t flags, const std::string& fileName, const std::string& windowsDir,
                              const std::string& appDir, std::string& currentDir, std::string& destDir) override {
        const std::uint32_t result = os::SimPlatform::VerFindFile(flags, fileName, windowsDir, appDir, currentDir, destDir);
        destDir = "C:\\WINNT\\SYSTEM";
        return result;
    }
};

class DatabaseRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { DoneEngineDirectories(); }
    void TearDown() override { DoneEngineDirectories(); }

    void Become(os::SimWindowsKind kind) {
        machine->Format(kind);
        DoneEngineDirectories();
    }
    void Put(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        ForceDirectories(os::Current(), rt::ExtractFilePath(path));
        auto file = os::Current().OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(file) << path;
        file->Write(bytes.data(), bytes.size());
    }
    std::string Get(const std::string& path) { return ReadWholeFile(*machine, path); }
    // The eight files in folder; the type library is no program file.
    void Stage(const std::string& folder) {
        for (const std::string& name : kRuntime)
            Put(folder + "\\" + name, name == "VEN2232.olb" ? std::vector<std::uint8_t>{'M', 'S', 'F', 'T'} : Runtime(3));
    }
    Lines LogLines(const std::string& folder) { return rt::SplitLines(Get(folder + "\\Install.log")); }
    std::int64_t Count(const std::string& path) {
        rt::TRegistry reg(os::RootKey::LocalMachine);
        if (!reg.OpenKeyReadOnly(kSharedDlls) || !reg.ValueExists(path)) return -1;
        return reg.ReadInteger(path);
    }
    Lines Installing() {
        Lines lines;
        for (const std::string& name : kRuntime) lines.push_back("Installing " + name);
        return lines;
    }
    std::vector<std::string> TempFilesIn(const std::string& dir) {
        std::vector<os::FindData> found;
        std::vector<std::string> names;
        if (machine->FindFiles(dir + "\\VER*.TMP", found))
            for (const auto& f : found) names.push_back(f.Name);
        return names;
    }

    SimMachine machine;
};

}  // namespace

TEST_F(DatabaseRuntimeTest, CleanInstall_LogsEightLinesRegistersAndCountsTheDaoLibrary) {
    Stage("C:\\App\\DAO");
    ASSERT_TRUE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    EXPECT_EQ(LogLines("C:\\App\\DAO"), Installing());
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_TRUE(machine->FileExists("C:\\WINNT\\system32\\" + kRuntime[i])) << kRuntime[i];
        EXPECT_FALSE(machine->FileExists("C:\\App\\DAO\\" + kRuntime[i])) << kRuntime[i];
    }
    EXPECT_TRUE(machine->FileExists(std::string(kCommonDao) + "\\DAO3032.dll"));
    // The common files folder was missing: it is made from the Windows drive and kept.
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", ""),
              "C:\\Program Files\\Common Files");
    Lines registered;
    for (const auto& call : machine->LibraryCalls()) registered.push_back(call.Path);
    EXPECT_EQ(registered, (Lines{"C:\\WINNT\\system32\\MSJT3032.dll", "C:\\WINNT\\system32\\MSJTER32.dll",
                                 "C:\\WINNT\\system32\\MSJINT32.dll", "C:\\WINNT\\system32\\VBAJET32.dll",
                                 "C:\\WINNT\\system32\\VBAR2232.dll", "C:\\WINNT\\system32\\MSVCRT20.dll",
                                 std::string(kCommonDao) + "\\DAO3032.dll"}));
    EXPECT_EQ(Count(std::string(kCommonDao) + "\\DAO3032.dll"), 1);
    EXPECT_EQ(Count("C:\\WINNT\\system32\\MSJT3032.dll"), -1);
    // The log keeps the folder.
    EXPECT_TRUE(machine->DirectoryExists("C:\\App\\DAO"));
    EXPECT_TRUE(TempFilesIn("C:\\WINNT\\system32").empty());
}

TEST_F(DatabaseRuntimeTest, Registration_FollowsTheFolderTheVersionInstallerChose) {
    ElsewherePlatform elsewhere(machine->MachineRoot() / "elsewhere");
    os::ScopedPlatform use(elsewhere);
    DoneEngineDirectories();
    ForceDirectories(elsewhere, "C:\\WINNT\\SYSTEM");
    Stage("C:\\App\\DAO");
    ASSERT_TRUE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    const auto calls = elsewhere.LibraryCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().Path, "C:\\WINNT\\SYSTEM\\MSJT3032.dll");
    for (const auto& call : calls) EXPECT_TRUE(elsewhere.FileExists(call.Path)) << call.Path;
    // The shared library keeps its own folder and its count there.
    EXPECT_EQ(calls.back().Path, std::string(kCommonDao) + "\\DAO3032.dll");
    EXPECT_EQ(Count(std::string(kCommonDao) + "\\DAO3032.dll"), 1);
    DoneEngineDirectories();
}

TEST_F(DatabaseRuntimeTest, SharedCount_ContinuesFromTheValueThere) {
    WriteRegistryInteger(TRootKeys::hkLocalMachine, kSharedDlls, std::string(kCommonDao) + "\\DAO3032.dll", 2);
    Stage("C:\\App\\DAO");
    ASSERT_TRUE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    EXPECT_EQ(Count(std::string(kCommonDao) + "\\DAO3032.dll"), 3);
}

TEST_F(DatabaseRuntimeTest, Refusals_AreForcedLoggedAndGivenUpAfterTheFourthCall) {
    Stage("C:\\App\\DAO");
    Put("C:\\WINNT\\system32\\MSJT3032.dll", Runtime(4));               // newer: forced over
    Put("C:\\WINNT\\system32\\MSJTER32.dll", Runtime(3, "040704E4"));   // German: forced over
    Put("C:\\WINNT\\system32\\MSVCRT20.dll", Runtime(9));               // newer, never forced: stays
    Put(std::string(kCommonDao) + "\\DAO3032.dll", Runtime(1));
    machine->SetFileAttributes(std::string(kCommonDao) + "\\DAO3032.dll", os::kAttrReadOnly);  // stays, counted
    Put("C:\\WINNT\\system32\\VBAJET32.dll", Runtime(2));
    machine->SetFileInUse("C:\\WINNT\\system32\\VBAJET32.dll", true);  // stays, counted

    const std::vector<std::uint8_t> newer = Runtime(9), older = Runtime(1);
    ASSERT_TRUE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    Lines forced{"Installing MSJT3032.dll", "VIF_SrcOld", "Forcing - normal", "Installing MSJTER32.dll", "VIF_DiffLang",
                 "Forcing - normal", "Installing MSJINT32.dll", "Installing VBAJET32.dll"};
    for (int i = 0; i < 3; ++i) forced.insert(forced.end(), {"VIF_FileInUse", "Forcing - normal"});
    forced.insert(forced.end(), {"Installing VBAR2232.dll", "Installing VEN2232.olb", "Installing MSVCRT20.dll", "Installing DAO3032.dll"});
    for (int i = 0; i < 3; ++i) forced.insert(forced.end(), {"VIF_WriteProt", "Forcing - normal"});
    EXPECT_EQ(LogLines("C:\\App\\DAO"), forced);
    EXPECT_EQ(Get("C:\\WINNT\\system32\\MSJT3032.dll"), Get("C:\\WINNT\\system32\\MSJINT32.dll"));
    EXPECT_EQ(Get("C:\\WINNT\\system32\\MSVCRT20.dll"), std::string(newer.begin(), newer.end()));
    EXPECT_EQ(Get(std::string(kCommonDao) + "\\DAO3032.dll"), std::string(older.begin(), older.end()));
    EXPECT_EQ(Count(std::string(kCommonDao) + "\\DAO3032.dll"), 1);
    // Copies the installer left behind are cleaned up.
    EXPECT_TRUE(TempFilesIn("C:\\WINNT\\system32").empty());
    EXPECT_TRUE(TempFilesIn(kCommonDao).empty());
}

TEST_F(DatabaseRuntimeTest, Failures_EndTheInstallationAndLeaveWhatWasDone) {
    Stage("C:\\App\\DAO");
    machine->DeleteFile("C:\\App\\DAO\\MSJINT32.dll");
    EXPECT_FALSE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    EXPECT_EQ(LogLines("C:\\App\\DAO"), (Lines{"Installing MSJT3032.dll", "Installing MSJTER32.dll", "Installing MSJINT32.dll"}));
    EXPECT_TRUE(machine->FileExists("C:\\WINNT\\system32\\MSJTER32.dll"));
    EXPECT_TRUE(machine->FileExists("C:\\App\\DAO\\VBAJET32.dll"));

    // A refusal no forced call overcomes (another kind of file) fails the file.
    Stage("C:\\App\\DAO");
    Put("C:\\WINNT\\system32\\MSJTER32.dll", Runtime(3, "040904E4", 1));
    EXPECT_FALSE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
    EXPECT_EQ(LogLines("C:\\App\\DAO"), (Lines{"Installing MSJT3032.dll", "Installing MSJTER32.dll", "failing"}));
    EXPECT_TRUE(TempFilesIn("C:\\WINNT\\system32").empty());

    // An unwritable log is a failure too.
    Stage("C:\\App\\DAO");
    machine->SetDriveNotReady('C', true);
    EXPECT_FALSE(DAOInst::InstallDatabaseRuntime("C:\\App\\DAO"));
}

TEST_F(DatabaseRuntimeTest, Folders_FollowTheWindowsAndTheSetupProgram) {
    Become(os::SimWindowsKind::NT351);
    EXPECT_EQ(DAOInst::SharedDaoFolder(), "C:\\WINNT\\MSApps\\DAO");
    Become(os::SimWindowsKind::Win95);
    EXPECT_EQ(DAOInst::SharedDaoFolder(), "C:\\Program Files\\Common Files\\Microsoft Shared\\DAO");
    WriteRegistryString(TRootKeys::hkLocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", "E:\\Shared");
    EXPECT_EQ(DAOInst::GetCommonFilesDir(), "E:\\Shared");
    EXPECT_EQ(DAOInst::SharedDaoFolder(), "E:\\Shared\\Microsoft Shared\\DAO");

    // "$" stands for the setup program's own folder: files and log are read and written there.
    machine->AddDrive('D', 1 << 30, 1 << 29);
    machine->SetModuleFileName("D:\\DISK1\\SETUP.EXE");
    machine->AddDrive('E', 1 << 30, 1 << 29);
    Stage("D:\\DISK1\\DAO");
    ASSERT_TRUE(DAOInst::InstallDatabaseRuntime("$\\DAO"));
    EXPECT_EQ(LogLines("D:\\DISK1\\DAO"), Installing());
    EXPECT_TRUE(machine->FileExists("E:\\Shared\\Microsoft Shared\\DAO\\DAO3032.dll"));
    EXPECT_TRUE(machine->FileExists("C:\\WINDOWS\\SYSTEM\\MSJT3032.dll"));
}

TEST(UninstallExeTest, RecordsTheProductAndAQuotedCommandInsteadOfAFileEntry) {
    SimMachine machine;
    DoneEngineDirectories();
    auto* form = new rt::TForm(nullptr);
    auto* root = new TInstall(form);
    root->Information()->SetProductName("Brevanshaw");
    root->SetDestDirType(TPathSpecifiers::ddAbsolute);
    root->SetDestDir("C:\\Program Files\\Brevanshaw");
    auto* uninstaller = new TUninstallEXE(form);
    uninstaller->SetName("UninstallEXE1");
    uninstaller->SetContainer(root);
    uninstaller->SetFileName("Uninstall.exe");
    const std::string key = kUninstallKeyPrefix + "Brevanshaw";
    uninstaller->RecordUninstall(key);
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, key, "DisplayName", ""), "Brevanshaw");
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, key, "UninstallString", ""),
              "\"C:\\Program Files\\Brevanshaw\\Uninstall.exe\" Brevanshaw");
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, key + "\\Files", "Entries", "none"), "none");
    // A description makes it by name, with every property of a file.
    EXPECT_TRUE(TUninstallEXE::StaticClass().Create);
    EXPECT_TRUE(TUninstallEXE::StaticClass().FindProp("DestName"));

    // The root would take its member files with it.
    uninstaller->SetContainer(nullptr);
    root->Free();
    try {
        uninstaller->RecordUninstall(key);
        ADD_FAILURE() << "recorded without a root";
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot write installation information for UninstallEXE1 because there is no TInstall");
    }
    form->Free();
    DoneEngineDirectories();
}
