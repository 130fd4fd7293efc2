// The product's own pages after the copying, headless on the product's description: the
// default applications and the start record, the catalogue's refusals, the copy window's
// bound, the add-on staged on both families of Windows, and the handler that runs them only
// after a copying that went through.
#include "tests/app/WizardKit.h"

#include "app/dlg_InstallDll.h"
#include "app/dlg_SelectBrevanshawApplication.h"
#include "app/frmCopyFileUnit.h"
#include "engine/InstallErrors.h"
#include "engine/routines_ExpandPaths.h"
#include "tests/system/PeImageBuilder.h"

using namespace rt;

namespace {

class ProductPagesTest : public WizardTest {
protected:
    std::string Record(const std::string& key) {
        return machine->GetProfileString(AddBackslash(WindowsDir()) + "KalInst.Ini", "InstallApp", key, "<none>");
    }
    void PutLibrary(const std::string& path, const std::vector<std::string>& exports) {
        const testpe::Bytes image = testpe::PeImage(testpe::VersionBlock(testpe::Fixed{}, {}), false, 0x0409, exports);
        Put(path, std::string(image.begin(), image.end()));
    }
    // The system's list of moves at the restart, its strings joined by "|".
    std::string Pending() {
        const auto key = machine->RegOpenKey(os::RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", false);
        os::RegValue value;
        const bool found = key && machine->RegQueryValue(key, "PendingFileRenameOperations", value);
        if (key) machine->RegCloseKey(key);
        std::string all(value.Data.begin(), value.Data.end());
        std::replace(all.begin(), all.end(), '\0', '|');
        return found ? all : "";
    }
};

}  // namespace

TEST_F(ProductPagesTest, Applications_BothDefaultsInTheLanguageAndTheStartRecordKeepHebrewNames) {
    AnswerEveryPage(1);
    std::vector<std::string> tabs;
    Answers["TfrmSelectBrevanshawApplication"] = [&](TCustomForm& f) {
        auto& tabControl = Part<TTabControl>(f, "TabControl1");
        tabs = tabControl.Tabs()->ToVector();
        backend.ClickItem(tabControl, 1);
        EXPECT_EQ(Part<TListBox>(f, "AppListBox").Items()->ToVector(), (std::vector<std::string>{"Customers"}));
        backend.ClickControl(Part<TLabel>(f, "lblApp2"));
        EXPECT_EQ(Part<TEdit>(f, "AppNameEdit").Text(), LoadStr(30581));
        // Mirrored for Hebrew: the second default application stands left of the first.
        EXPECT_LT(Part<TLabel>(f, "lblApp2").Left(), Part<TLabel>(f, "lblApp1").Left());
        backend.ClickControl(Part<TButton3D>(f, "InstallBtn"));
        return mrNone;
    };
    Install();
    EXPECT_EQ(tabs, (std::vector<std::string>{"Home", "Business"}));
    const std::string first = LoadStr(30561), second = LoadStr(30581);
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Brevanshaw\\" + first + "\\" + first + ".MDB"), "GFO database 1");
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Brevanshaw\\" + second + "\\" + second + ".MDB"), "GIO database 1");
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Brevanshaw\\" + second + "\\Images\\00000000.txt"), "GIO picture");
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Brevanshaw\\00000001.JPG"), "the product's Blank.jpg");
    EXPECT_EQ(Record("Name"), first);
    EXPECT_EQ(Record("Name2"), second);
    EXPECT_EQ(Record("Tab"), "2");
    EXPECT_EQ(Record("Offset"), "0");
    EXPECT_EQ(Record("Lang"), "1");
}

TEST_F(ProductPagesTest, Catalogue_RefusalsNameTheProblemAndEndSetup_AnEmptyTabKeepsTheOthersNames) {
    std::vector<std::string> notices;
    backend.ModalScript = [&](TCustomForm& f) {
        notices.push_back(f.Caption());
        return mrOk;
    };
    auto app = std::make_unique<TApplication>(nullptr);
    SetApplication(app.get());
    const std::string ini = "C:\\Cat\\APPS3.INI";
    EXPECT_THROW(ReadCatalogue("C:\\Cat", 3), EAIUserAbort);
    for (const char* bad : {"[Tabs]\r\nNumOfTabs=0\r\n", "[Tabs]\r\nNumOfTabs=1\r\nTab1=A\r\n[Tab1]\r\nNumOfApps=0\r\n",
                            "[Tabs]\r\nNumOfTabs=1\r\nTab1=A\r\n[Tab1]\r\nNumOfApps=2\r\nApp1Name=x\r\n"}) {
        Put(ini, bad);
        EXPECT_THROW(ReadCatalogue("C:\\Cat", 3), EAIUserAbort) << bad;
    }
    EXPECT_EQ(notices, (std::vector<std::string>{LoadStr(1360), LoadStr(1400), LoadStr(1400), LoadStr(1400)}));
    Put(ini, "[Tabs]\r\nNumOfTabs=3\r\nTab1=A\r\nTab3=C\r\n[Tab1]\r\nNumOfApps=1\r\nApp1Name=a1\r\n"
             "[Tab2]\r\nNumOfApps=1\r\nApp1Name=b1\r\n[Tab3]\r\nNumOfApps=1\r\nApp1Name=c1\r\n");
    const std::vector<TCatalogueTab> tabs = ReadCatalogue("C:\\Cat", 3);
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[1].Caption, "C");
    EXPECT_EQ(tabs[1].Apps, (std::vector<std::string>{"c1"})) << "the third tab's own names";
    SetApplication(nullptr);
}

TEST_F(ProductPagesTest, CopyWindow_AFileThatCannotBeCopiedIsTriedThreeTimesThenRaises) {
    auto app = std::make_unique<TApplication>(nullptr);
    SetApplication(app.get());
    Put("C:\\src\\a.dat", std::string(5000, 'a'));
    Put("C:\\dst\\a.dat", "held");
    machine->SetFileInUse("C:\\dst\\a.dat", true);
    auto* copy = new TfrmFileCopy(app.get());
    copy->Start();
    try {
        copy->CopyFileWithProgress("C:\\src\\a.dat", "C:\\dst\\a.dat");
        ADD_FAILURE() << "a file in use was copied";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot copy C:\\src\\a.dat to C:\\dst\\a.dat");
    }
    copy->CopyFileWithProgress("C:\\src\\a.dat", "C:\\dst\\b.dat");
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\dst\\b.dat"), std::string(5000, 'a'));
    EXPECT_EQ(FormPart<TProgressBar>(*copy, "ProgressBar1")->Max(), 2);
    copy->Free();
    SetApplication(nullptr);
}

TEST_F(ProductPagesTest, AddOn_StagedForTheRestartOnNtAndOn95_OnlyTheLiveLibraryReplacedTheSecondTime) {
    const std::string sys = ShortSystemDir();
    Put(sys + "COMDLG32.1", "the add-on");
    PutLibrary(sys + "COMDLG32.DLL", {"GetOpenFileNameA"});
    ASSERT_TRUE(StageAddOnReplacement(sys));
    // Pairs of source and target ("!" replaces an existing target; no target deletes): the
    // system's library kept as COMDLGOL.DLL, the add-on in its place.
    const std::string p = "\\??\\" + sys;
    EXPECT_EQ(Pending(), p + "COMDLGOL.DLL||" + p + "COMDLG32.DLL|!" + p + "COMDLGOL.DLL|" + p + "COMDLG32.DLL||" + p + "COMDLG32.1|!" + p +
                             "COMDLG32.DLL||");

    machine->Format(os::SimWindowsKind::Win95);
    DoneEngineDirectories();
    InitEngineDirectories();
    const std::string sys95 = ShortSystemDir(), wininit = AddBackslash(WindowsDir()) + "WinInit.Ini";
    Put(sys95 + "COMDLG32.1", "the add-on");
    PutLibrary(sys95 + "COMDLG32.DLL", {"ComDlgVerInfo"});  // the add-on is live already
    ASSERT_TRUE(StageAddOnReplacement(sys95));
    EXPECT_EQ(machine->GetProfileString(wininit, "Rename", sys95 + "COMDLG32.DLL", "<none>"), sys95 + "COMDLG32.1");
    EXPECT_EQ(machine->GetProfileString(wininit, "Rename", sys95 + "COMDLGOL.DLL", "<none>"), "<none>");
    machine->DeleteFile(sys95 + "COMDLG32.1");
    EXPECT_FALSE(StageAddOnReplacement(sys95)) << "nothing staged without the staged copy";
}

TEST_F(ProductPagesTest, AddOn_ChosenAsksForTheRestartAndStagesTheLibrary) {
    AnswerEveryPage(0);
    Answers["TfrmInstallDll"] = [this](TCustomForm& f) {
        Press(f, vkReturn);  // "Install the Brevanshaw Add-On", the choice it starts with
        return mrNone;
    };
    int restartPages = 0;
    Answers["TdlgShutdown"] = [&](TCustomForm& f) {
        ++restartPages;
        backend.ClickItem(Part<TRadioGroup>(f, "RG"), 1);
        Press(f, vkReturn);
        return mrNone;
    };
    Install(kExitRestartNeeded);
    EXPECT_EQ(restartPages, 1);
    EXPECT_EQ(ReadWholeFile(*machine, ShortSystemDir() + "COMDLG32.1"), "the product's KALADDON.DLL");
    EXPECT_NE(Pending().find("COMDLG32.1"), std::string::npos);
}

TEST_F(ProductPagesTest, AddOn_NothingStagedWhenTheApplicationPageIsCancelled) {
    AnswerEveryPage(0);
    Answers["TMessageForm"] = [](TCustomForm&) { return mrYes; };
    Answers["TfrmSelectBrevanshawApplication"] = [this](TCustomForm& f) {
        Press(f, vkEscape);
        return mrNone;
    };
    Install(kExitCancelled);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TfrmInstallDll"), 0);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TdlgBI"), 1);
    EXPECT_FALSE(machine->FileExists(ShortSystemDir() + "COMDLG32.1"));
}
