// The distribution's loader against the simulated machine: setup.1 unpacked into a folder of
// its own, the setup program started there with the distribution's folder, everything
// unpacked removed again, and the failures it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/loader/Loader.h"
#include "archive/cmp_TKembCompress.h"
#include "runtime/StringList.h"
#include "tests/common/SimMachine.h"

namespace {

class LoaderTest : public ::testing::Test {
protected:
    void Put(const std::string& path, const std::string& content) {
        auto file = machine->OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(file) << path;
        file->Write(content.data(), content.size());
    }
    std::string Get(const std::string& path) { return ReadWholeFile(*machine, path); }
    // setup.1 as the build makes it: the setup program first, then the presetup files.
    void BuildSetupArchive(const std::string& dir) {
        machine->CreateDirectory("C:\\build");
        Put("C:\\build\\setup.exe", "MZ the setup program");
        Put("C:\\build\\msvcrt.dll", "MZ a presetup library");
        auto* kc = new TKembCompress(nullptr);
        kc->SetCompressedFile(dir + "\\setup.1");
        rt::TStringList files;
        files.Add("C:\\build\\setup.exe");
        files.Add("C:\\build\\msvcrt.dll");
        kc->SetFilesToProcess(files);
        kc->AddFiles(TlzhCommand::lzcOverwrite);
        kc->Free();
    }

    SimMachine machine;
};

TEST_F(LoaderTest, UnpacksRunsSetupWithTheSourceFolderAndCleansUp) {
    machine->AddDrive('D', 650u << 20, 600u << 20);  // the distribution's own drive
    BuildSetupArchive("D:");
    std::string command, folder, seen;
    const TLoaderResult r = RunLoader(*machine, "D:\\setup.exe", [&](const std::string& c, const std::string& dir) {
        command = c;
        folder = dir;
        seen = Get(dir + "\\setup.exe") + "|" + Get(dir + "\\msvcrt.dll");
        return 7;
    });
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.ExitCode, 7) << "setup's own exit code";
    EXPECT_EQ(seen, "MZ the setup program|MZ a presetup library");
    EXPECT_EQ(command, "\"" + folder + "\\setup.exe\" \"D:\"") << "a root without its backslash, quoted";
    EXPECT_EQ(r.SetupPath, folder + "\\setup.exe");
    EXPECT_FALSE(machine->FileExists(folder + "\\setup.exe"));
    EXPECT_EQ(machine->GetFileAttributes(folder), os::kInvalidAttributes) << "the folder is removed";
}

TEST_F(LoaderTest, AFolderWithBlanks_IsPassedWhole_AndSetupsSwitchesFollowIt) {
    machine->CreateDirectory("C:\\My Setup");
    BuildSetupArchive("C:\\My Setup");
    machine->SetCommandLineArgs({"/SILENT", "/DIR=C:\\Program Files\\Brev\\", "/ORG=The \"Quoted\" Co", "/LOG=C:\\a\\"});
    std::string command;
    const TLoaderResult r = RunLoader(*machine, "C:\\My Setup\\setup.exe", [&](const std::string& c, const std::string&) {
        command = c;
        return 0;
    });
    EXPECT_TRUE(r.Unattended);
    const std::string expected = " \"C:\\My Setup\" /SILENT \"/DIR=C:\\Program Files\\Brev\\\\\" "
                                 "\"/ORG=The \\\"Quoted\\\" Co\" /LOG=C:\\a\\";
    EXPECT_EQ(command.substr(command.find(" \"C:\\My Setup\"")), expected) << command;
}

TEST_F(LoaderTest, Failures_AreReportedAndLeaveNothingBehind) {
    machine->CreateDirectory("C:\\dist");
    bool ran = false;
    auto run = [&](const std::string&, const std::string&) {
        ran = true;
        return -1;
    };
    TLoaderResult r = RunLoader(*machine, "C:\\dist\\setup.exe", run);
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Error, "The setup files were not found: C:\\dist\\setup.1");
    EXPECT_FALSE(ran);

    Put("C:\\dist\\setup.1", "not an archive at all, just some bytes that are far too short");
    r = RunLoader(*machine, "C:\\dist\\setup.exe", run);
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_FALSE(r.Error.empty());
    EXPECT_FALSE(ran);

    BuildSetupArchive("C:\\dist");
    r = RunLoader(*machine, "C:\\dist\\setup.exe", run);
    EXPECT_TRUE(ran);
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Error, "Cannot start " + r.SetupPath);
    std::vector<os::FindData> left;
    machine->FindFiles(machine->GetTempPath() + "*", left);
    for (const auto& entry : left) EXPECT_EQ(entry.Name.find("BrevSetup"), std::string::npos) << entry.Name;
}

}  // namespace
