// Setup without a person: the switches, the answer every page gets, the answer file recorded
// and replayed, the log and the exit codes, on the product's own distribution.
#include <filesystem>

#include "app/Unattended.h"
#include "engine/SetupOptions.h"
#include "engine/cmp_TInstall.h"
#include "tests/app/WizardKit.h"

namespace {

using namespace rt;

TEST(SetupOptionsTest, SwitchesAreReadAndTheRestIsLeftForTheModes) {
    const TSetupOptions o = ParseSetupOptions({"D:\\My", "Dist\\", "/silent", "/Lang=Deutsch", "/DIR=C:\\Program Files\\Brev",
                                               "/group=Brev Tools", "/USERNAME=Dana Levi", "/ORG=", "/OVERAPPS", "/NOADDON",
                                               "/NORESTART", "/LOG=C:\\a b.log", "/SAVEINF=s.inf", "/LOADINF=l.inf",
                                               "/LANG=Klingon", "/NOSUCH", "/DIR"});
    EXPECT_EQ(o.Ui, TUiLevel::uiSilent);
    EXPECT_EQ(o.Answers.Language, 3);
    EXPECT_EQ(o.Answers.Dir, "C:\\Program Files\\Brev");
    EXPECT_EQ(o.Answers.Group, "Brev Tools");
    EXPECT_EQ(o.Answers.UserName, "Dana Levi");
    EXPECT_EQ(o.Answers.Organization, "");
    EXPECT_EQ(o.Answers.KeepApps, false);
    EXPECT_EQ(o.Answers.AddOn, false);
    EXPECT_EQ(o.Answers.Restart, false);
    EXPECT_EQ(o.LogFile, "C:\\a b.log");
    EXPECT_EQ(o.SaveInf, "s.inf");
    EXPECT_EQ(o.LoadInf, "l.inf");
    EXPECT_EQ(o.Unknown, (std::vector<std::string>{"/LANG=Klingon", "/NOSUCH", "/DIR"}));
    // The loader's source directory, split at its blank, stays as it came.
    EXPECT_EQ(o.Arguments, (std::vector<std::string>{"D:\\My", "Dist\\"}));
    EXPECT_EQ(ParseSetupOptions({"/VERYSILENT", "/SILENT"}).Ui, TUiLevel::uiVerySilent);
    EXPECT_EQ(ParseSetupOptions({"*build", "/LOG=x"}).Arguments, (std::vector<std::string>{"*build"}));
    EXPECT_EQ(SetupModeOf(ParseSetupOptions({"/SILENT", "*ABOOT"}).Arguments), TSetupMode::smResume);
    for (const char* name : {"0", "English", "en"}) EXPECT_EQ(LanguageOf(name), 0) << name;
    for (const char* name : {"1", "hebrew", "עברית"}) EXPECT_EQ(LanguageOf(name), 1) << name;
    EXPECT_EQ(LanguageOf("Nederlands"), 4);
    EXPECT_EQ(LanguageOf("5"), std::nullopt);
}

class UnattendedTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        SetupOptions() = TSetupOptions{};
    }
    // A run with these switches in which no window may wait for a person.
    int RunUnattended(const std::vector<std::string>& args) {
        machine->SetCommandLineArgs(args);
        // A quit the last run left unread would end this one at once.
        backend.OnIdle = nullptr;
        backend.HandleMessage();
        backend.ModalScript = [](TCustomForm& form) {
            ADD_FAILURE() << form.ClassName() << " waited for a person";
            return mrCancel;
        };
        backend.OnIdle = [this] { backend.PostQuit(); };
        const int code = SetupMain();
        machine->SetCommandLineArgs({});
        return code;
    }
    std::string Log(const std::string& path = "C:\\setup.log") { return ReadWholeFile(*machine, path); }
};

TEST_F(UnattendedTest, Silent_EveryPageTakesItsAnswerFromTheSwitchesAndTheLogTellsTheRun) {
    EXPECT_EQ(RunUnattended({"/SILENT", "/LANG=German", "/DIR=C:\\Programme\\Brev", "/GROUP=Brev Gruppe", "/USERNAME=Dana Levi",
                             "/ORG=Halvernock QA", "/NOADDON", "/LOG=C:\\setup.log", "/FROBNICATE"}),
              kExitSuccess);
    EXPECT_TRUE(machine->FileExists("C:\\Programme\\Brev\\Uninstall.exe"));
    EXPECT_EQ(Product("UserName"), "Dana Levi");
    EXPECT_EQ(Product("Organization"), "Halvernock QA");
    EXPECT_EQ(Product("LID"), "3");
    std::string sys;
    machine->GetSystemDirectory(sys);
    EXPECT_FALSE(machine->FileExists(sys + "\\COMDLG32.1")) << "the add-on was declined";
    const std::string log = Log();
    for (const char* line : {"Unknown option ignored: /FROBNICATE", "\\Brev Gruppe\\", "Page dlgFG answered", "Stage GoodInstallation",
                             "File C:\\Programme\\Brev\\Uninstall.exe: written (it was not there)", "Registry ",
                             "Shortcut ", "Database runtime: ", "Installed", "Exit code 0"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

    // The record holds what the uninstaller needs to leave the machine as it was.
    const std::string record = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brevanshaw";
    auto items = [&](const char* list) {
        std::vector<std::string> values;
        const int n = StrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, record + "\\" + list, "Entries", "0"));
        for (int i = 1; i <= n; ++i)
            values.push_back(ReadRegistryString(TRootKeys::hkLocalMachine, record + "\\" + list, "Item" + IntToStr(i), ""));
        return values;
    };
    auto has = [](const std::vector<std::string>& v, const std::string& item) { return std::find(v.begin(), v.end(), item) != v.end(); };
    EXPECT_TRUE(has(items("CreatedKeys"), "4;\\SOFTWARE\\Halvernock")) << "the vendor's key did not exist before";
    EXPECT_TRUE(has(items("HelpFiles"), "BREVANSHAW.HLP;C:\\Programme\\Brev"));
    EXPECT_TRUE(has(items("Folders"), "C:\\Programme")) << "the outer folder setup made";
    // The databases: the product's and the two applications'.
    const std::vector<std::string> data = items("UserData");
    EXPECT_TRUE(has(data, "C:\\Programme\\Brev\\document.mdb"));
    EXPECT_EQ(std::count_if(data.begin(), data.end(), [](const std::string& f) { return f.find("\\Data\\") == std::string::npos && f.rfind(".MDB") != std::string::npos; }), 2)
        << "the two applications' databases";
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, record, "Publisher", ""), "Halvernock");
    EXPECT_EQ(ReadRegistryString(TRootKeys::hkLocalMachine, record, "InstallLocation", ""), "C:\\Programme\\Brev");
}

TEST_F(UnattendedTest, Silent_AgainOverTheFirst_AFileInUseWaitsForTheRestartThatIsPutOff) {
    ASSERT_EQ(RunUnattended({"/VERYSILENT", "/USERNAME=Dana", "/ORG=QA", "/NOADDON"}), kExitSuccess);
    // Silent runs log in the temporary folder even unasked.
    EXPECT_NE(Log(machine->GetTempPath() + "Brevanshaw Setup.log").find("Exit code 0"), std::string::npos);
    machine->SetFileInUse("C:\\Brevanshaw\\KALADDON.DLL", true);
    EXPECT_EQ(RunUnattended({"/VERYSILENT", "/USERNAME=Dana", "/ORG=QA", "/NOADDON", "/NORESTART", "/KEEPAPPS",
                             "/LOG=C:\\setup.log"}),
              kExitRestartNeeded);
    EXPECT_TRUE(machine->RestartRequests().empty()) << "/NORESTART";
    const std::string log = Log();
    EXPECT_NE(log.find("File C:\\Brevanshaw\\KALADDON.DLL: in use, replaced at the restart"), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code 3010"), std::string::npos);
}

TEST_F(UnattendedTest, ARefusedPageEndsTheRunWithItsMessageAndNothingInstalled) {
    // A drive root is never a destination: the page refuses as it would refuse a person.
    EXPECT_EQ(RunUnattended({"/VERYSILENT", "/DIR=C:\\", "/USERNAME=Dana", "/ORG=QA", "/LOG=C:\\setup.log"}), kExitRefused);
    EXPECT_NE(Log().find("Error: " + LocalisedString(1260)), std::string::npos) << Log();
    EXPECT_FALSE(machine->FileExists("C:\\Uninstall.exe"));
    EXPECT_EQ(Product("UserName"), "<none>");
    // An answer file that cannot be read stops the run before anything else.
    EXPECT_EQ(RunUnattended({"/SILENT", "/LOADINF=C:\\missing.inf", "/LOG=C:\\setup.log"}), kExitFailure);
    EXPECT_NE(Log().find("Cannot read the answer file C:\\missing.inf"), std::string::npos);
    EXPECT_FALSE(machine->FileExists("C:\\Brevanshaw\\Uninstall.exe"));
}

TEST_F(UnattendedTest, AnswersRecordedFromAPersonReplayToTheSameDecisions) {
    AnswerEveryPage(2);
    Answers["TdlgFG"] = [this](TCustomForm& f) {
        Part<TEdit>(f, "DirectoryLabel").SetText("C:\\Apps\\Brev");
        Press(f, vkReturn);
        return mrNone;
    };
    Answers["TdlgSF"] = [this](TCustomForm& f) {
        Part<TEdit>(f, "FolderEdit").SetText("Brev Herramientas");
        Press(f, vkReturn);
        return mrNone;
    };
    machine->SetCommandLineArgs({"/SAVEINF=C:\\answers.inf"});
    Install();
    const std::string recorded = ReadWholeFile(*machine, "C:\\answers.inf");
    for (const char* line : {"Lang=2\r\n", "UserName=Dana\r\n", "Org=Halvernock QA\r\n", "Dir=C:\\Apps\\Brev\r\n",
                             "Group=Brev Herramientas\r\n", "AddOn=No\r\n"})
        EXPECT_NE(recorded.find(line), std::string::npos) << line << "\n" << recorded;
    const std::vector<std::string> values = {Product("UserName"), Product("Organization"), Product("InstallDir"), Product("LID")};

    // The same machine without the installation, then the record replayed by a script.
    std::filesystem::remove_all(machine->HostPath("C:\\Apps"));
    machine->RegDeleteTree(os::RootKey::LocalMachine, kProductKey);
    EXPECT_EQ(RunUnattended({"/VERYSILENT", "/LOADINF=C:\\answers.inf", "/SAVEINF=C:\\replayed.inf"}), kExitSuccess);
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\replayed.inf"), recorded);
    EXPECT_EQ((std::vector<std::string>{Product("UserName"), Product("Organization"), Product("InstallDir"), Product("LID")}),
              values);
    EXPECT_TRUE(machine->FileExists("C:\\Apps\\Brev\\Uninstall.exe"));
}

}  // namespace

namespace {

TEST_F(UnattendedTest, ACutArchiveEndsOnTheBadPageOrWithTheFailureCode_AndTheLogNamesTheError) {
    const auto archive = machine->HostPath("C:\\BrevDist\\files.1");
    std::filesystem::resize_file(archive, std::filesystem::file_size(archive) / 2);
    AnswerEveryPage(0);
    machine->SetCommandLineArgs({"/LOG=C:\\setup.log"});
    Install(kExitFailure);
    EXPECT_NE(std::find(Shown.begin(), Shown.end(), "TdlgBI"), Shown.end());
    const std::string interactive = Log();
    EXPECT_EQ(RunUnattended({"/SILENT", "/USERNAME=Dana", "/ORG=QA", "/LOG=C:\\setup.log"}), kExitFailure);
    for (const std::string& log : {interactive, Log()})
        EXPECT_NE(log.find("Error: Could not read the file headers"), std::string::npos) << log;
}

}  // namespace

namespace {

TEST_F(UnattendedTest, AQuestionIsAnsweredYesAndLogged) {
    // A directory that exists without the product's database: "remove the old data?" is asked.
    Put("C:\\Old\\Phones\\Phones.MDB", "an application of an old version");
    EXPECT_EQ(RunUnattended({"/VERYSILENT", "/DIR=C:\\Old", "/USERNAME=Dana", "/ORG=QA", "/NOADDON", "/LOG=C:\\setup.log"}),
              kExitSuccess);
    EXPECT_NE(Log().find("Question answered Yes: " + LocalisedString(1180)), std::string::npos) << Log();
    EXPECT_FALSE(machine->FileExists("C:\\Old\\Phones\\Phones.MDB")) << "the old data went, as Yes says";
    EXPECT_TRUE(machine->FileExists("C:\\Old\\Uninstall.exe"));
}

}  // namespace
