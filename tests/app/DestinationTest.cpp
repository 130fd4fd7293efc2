// Choosing where and what, headless on the product's own description: the destination page's
// refusals, figures, Browse and the removal of old product data; the program folder page;
// a Cancel on the copy window in the middle of the copying.
#include "tests/app/WizardKit.h"

#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallFileGroupsDlg.h"
#include "dialogs/dlgcmp_TSelectFolderDlg.h"
#include "engine/cmp_TFileContainer.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "runtime/FileCtrl.h"

using namespace rt;

namespace {

class DestinationTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        AnswerEveryPage(0);
        Answers["TMessageForm"] = [this](TCustomForm& f) {
            Notices.push_back(f.Caption());
            return mrOk;
        };
    }
    // The destination page answered by trying each directory in turn with Enter.
    void TryDestinations(std::vector<std::string> dirs) {
        Answers["TdlgFG"] = [this, dirs](TCustomForm& f) {
            auto& field = Part<TEdit>(f, "DirectoryLabel");
            for (const std::string& dir : dirs) {
                field.SetText(dir);
                Press(f, vkReturn);
                if (f.ModalResult() != mrNone) break;
            }
            Accepted = InstallRoot()->DestDir();
            return mrNone;
        };
    }
    std::vector<std::string> Notices;
    std::string Accepted;
};

}  // namespace

TEST(SizeFigures, CommasEveryThreeDigitsAndTheWord) {
    BrevRegisterEmbeddedResources();
    EXPECT_EQ(SizeFigure(20'000'000 + kSpareBytes), "35,728,640 bytes");
    EXPECT_EQ(SizeFigure(999), "999 bytes");
    EXPECT_EQ(SizeFigure(1'234'567), "1,234,567 bytes");
    EXPECT_EQ(SizeFigure(-1), "-1 bytes");
    EXPECT_EQ(SizeFigure(5'497'558'138'880), "5,497,558,138,880 bytes");
    // A field that names no drive reads none.
    EXPECT_EQ(FreeSpaceFigure(""), "");
    EXPECT_EQ(FreeSpaceFigure("Brevanshaw"), "");
    EXPECT_FALSE(IsDestinationPath("C:"));
    EXPECT_FALSE(IsDestinationPath("C:Brevanshaw"));
    EXPECT_FALSE(IsDestinationPath("\\\\server\\share"));
    EXPECT_FALSE(IsDestinationPath("C:\\a\\..\\Windows"));
    EXPECT_TRUE(IsDestinationPath("D:\\Brev Apps\\Brevanshaw"));
}

TEST_F(DestinationTest, Proceed_RefusesUnusableDirectoriesAndTakesTheFirstUsableOne) {
    machine->AddDrive('D', 6'000'000'000'000, 5'497'558'138'880);
    machine->AddDrive('E', 100'000'000, 1'000'000);
    const std::string deep = "D:\\" + std::string(226, 'd');  // 229 characters: the longest accepted
    TryDestinations({"", "Brevanshaw", "C:\\Brev|anshaw", "C:\\..\\Brevanshaw", deep + "e", "E:\\Brevanshaw", deep});
    Install();
    const std::string error = LoadStr(1240), tooLong = LoadStr(30080), noSpace = LoadStr(1060);
    EXPECT_EQ(Notices, (std::vector<std::string>{error, error, error, error, tooLong, noSpace}));
    // The files themselves may not fit a host's own path limit; the choice is what counts.
    EXPECT_EQ(Accepted, deep);
    EXPECT_FALSE(machine->DirectoryExists("C:\\Brevanshaw"));
}

TEST_F(DestinationTest, Browse_OpensInTheDeepestExistingDirectoryAndTakesThePickersPath) {
    Put("C:\\Brevanshaw\\keep.txt", "x");
    machine->AddDrive('D', 6'000'000'000'000, 5'497'558'138'880);
    std::vector<std::string> opened;
    int browsed = 0;
    machine->AddDrive('A', 1'457'664, 1'457'664);
    machine->SetDriveNotReady('A', true);
    Answers["TSelectDirectoryDlg"] = [&](TCustomForm& f) {
        auto& picker = static_cast<TSelectDirectoryDlg&>(f);
        opened.push_back(picker.DirectoriesListBox()->Directory() + " | " + picker.DestinationDirectory()->Text());
        // A diskette drive without a diskette: the previous drive stays chosen.
        TDriveComboBox& drives = *picker.DriveComboBox();
        backend.ClickItem(drives, 0);
        EXPECT_EQ(drives.Drive(), 'c');
        // Cancelled twice, then a path without a drive, then one on the large drive.
        static const char* const answers[] = {nullptr, nullptr, "Brevanshaw", "D:\\Brev Apps\\Brevanshaw"};
        const char* answer = answers[browsed++];
        if (answer) picker.DestinationDirectory()->SetText(answer);
        Press(f, answer ? vkReturn : vkEscape);
        return mrNone;
    };
    std::vector<std::string> figures;
    std::string chosen;
    Answers["TdlgFG"] = [&](TCustomForm& f) {
        auto& field = Part<TEdit>(f, "DirectoryLabel");
        for (const char* typed : {"C:\\Brevanshaw\\Data", "C:\\Nowhere\\Deep", "C:\\Brevanshaw", "C:\\Brevanshaw"}) {
            field.SetText(typed);
            backend.ClickControl(Part<TButton3D>(f, "BrowseBtn"));
            figures.push_back(Part<TLabel>(f, "SpaceAvailableLabel").Caption());
        }
        chosen = field.Text();
        Press(f, vkReturn);
        return mrNone;
    };
    Install();
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\Brevanshaw | C:\\Brevanshaw\\Data", "C:\\ | C:\\Nowhere\\Deep",
                                                 "C:\\Brevanshaw | C:\\Brevanshaw", "C:\\Brevanshaw | C:\\Brevanshaw"}));
    // A path without a drive shows no figure rather than another drive's.
    EXPECT_EQ(figures[2], "");
    EXPECT_EQ(figures[3], "5,497,558,138,880 bytes");
    EXPECT_EQ(chosen, "D:\\Brev Apps\\Brevanshaw");
    EXPECT_TRUE(machine->FileExists("D:\\Brev Apps\\Brevanshaw\\Uninstall.exe"));
}

TEST_F(DestinationTest, ExistingDirectory_OnlyTheProductsOldDataGoesAndNeverFromASystemPlace) {
    Put("C:\\Old\\Phones\\Phones.MDB", "an application");
    Put("C:\\Old\\Notes\\notes.txt", "the user's own");
    Put("C:\\Stray\\Stray.MDB", "beside the root");
    Put(WindowsDir() + "\\Media\\Media.MDB", "the system's");
    int questions = 0;
    Answers["TMessageForm"] = [&](TCustomForm& f) {
        Notices.push_back(f.Caption());
        if (f.Caption() != LoadStr(1160)) return mrOk;
        return ++questions == 1 ? mrNo : mrYes;
    };
    TryDestinations({"C:\\", WindowsDir(), GetProgramFilesDir(), "C:\\Old", "C:\\Old"});
    Install();
    const std::string error = LoadStr(1240), exists = LoadStr(1160);
    EXPECT_EQ(Notices, (std::vector<std::string>{error, error, error, exists, exists}));
    EXPECT_FALSE(machine->DirectoryExists("C:\\Old\\Phones"));
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Old\\Notes\\notes.txt"), "the user's own");
    EXPECT_TRUE(machine->FileExists("C:\\Stray\\Stray.MDB"));
    EXPECT_TRUE(machine->FileExists(WindowsDir() + "\\Media\\Media.MDB"));
    EXPECT_NE(std::find(backend.FormsShown.begin(), backend.FormsShown.end(), "TNotifyProgressDlg"), backend.FormsShown.end());
}

TEST_F(DestinationTest, ExistingInstallation_KeepingTheApplicationsLeavesTheirDatabase) {
    Put("C:\\Brevanshaw\\document.mdb", "the user's data");
    Put("C:\\Brevanshaw\\Phones\\Phones.MDB", "an application");
    std::vector<std::string> options;
    Answers["TfrmChooseInstallType"] = [&](TCustomForm& f) {
        options = Part<TRadioGroup>(f, "RadioGroup1").Items()->ToVector();
        Press(f, vkReturn);  // "Keep applications", the choice it starts with
        return mrNone;
    };
    Install();
    EXPECT_EQ(options, (std::vector<std::string>{LoadStr(30320), LoadStr(30300)}));
    EXPECT_TRUE(SetupState().UpdateInstall);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TfrmSelectBrevanshawApplication"), 0) << "no new applications";
    EXPECT_EQ(ReadWholeFile(*machine, "C:\\Brevanshaw\\document.mdb"), "the user's data");
    EXPECT_TRUE(machine->FileExists("C:\\Brevanshaw\\Phones\\Phones.MDB"));
    EXPECT_TRUE(machine->FileExists("C:\\Brevanshaw\\db1.mdb"));
}

TEST_F(DestinationTest, Groups_ToggleAndAClickPutsTheRootsDirectoryBack) {
    std::vector<std::string> required;
    Answers["TdlgFG"] = [&](TCustomForm& f) {
        auto& page = static_cast<TdlgFG&>(f);
        auto& field = Part<TEdit>(f, "DirectoryLabel");
        required.push_back(Part<TLabel>(f, "SpaceRequiredLabel").Caption());
        page.ToggleBtnClick(nullptr);  // the DAO group, first of the tree, left out
        required.push_back(Part<TLabel>(f, "SpaceRequiredLabel").Caption());
        EXPECT_FALSE(page.CurrentGroup()->Include());
        page.ToggleBtnClick(nullptr);
        EXPECT_TRUE(page.CurrentGroup()->Include());
        EXPECT_EQ(page.CurrentGroup()->InstallTypes(), TInstallTypeSet{TInstallType::itAlways});
        required.push_back(Part<TLabel>(f, "SpaceRequiredLabel").Caption());
        field.SetText("D:\\Elsewhere");
        page.GroupListBoxClick(nullptr);
        EXPECT_EQ(field.Text(), "C:\\Brevanshaw");
        Press(f, vkReturn);
        return mrNone;
    };
    Install();
    ASSERT_EQ(required.size(), 3u);
    EXPECT_NE(required[0], required[1]);
    EXPECT_EQ(required[0], required[2]);
}

TEST_F(DestinationTest, FolderPage_ListsTheMenuRemovesOldShortcutsAndRefusesNamesOutsideIt) {
    const std::string programs = GetProgramMenuDir();
    WriteRegistryString(TRootKeys::hkCurrentUser, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                        "Programs", programs);
    Put(programs + "\\Accessories\\Notepad.lnk", "l");
    Put(programs + "\\Tools\\" + LoadStr(40002) + ".lnk", "a Spanish shortcut of an earlier installation");
    Put(programs + "\\Tools\\Mine.lnk", "the user's own");
    std::vector<std::string> listed;
    std::string proposed;
    Answers["TdlgSF"] = [&](TCustomForm& f) {
        auto& page = static_cast<TdlgSF&>(f);
        proposed = page.FolderEdit()->Text();
        listed = page.FolderListBox()->Items()->ToVector();
        for (const char* refused : {"   ", "..\\Evil", "\\Evil", "C:\\Evil", "Ev|il"}) {
            page.FolderEdit()->SetText(refused);
            Press(f, vkReturn);
            EXPECT_EQ(f.ModalResult(), mrNone) << refused;
        }
        backend.ClickItem(*page.FolderListBox(), page.FolderListBox()->Items()->IndexOf("Tools"));
        EXPECT_EQ(page.FolderEdit()->Text(), "Tools");
        Press(f, vkReturn);
        return mrNone;
    };
    Install();
    EXPECT_EQ(proposed, "Brevanshaw");
    EXPECT_EQ(listed, (std::vector<std::string>{"Accessories", "Tools"}));
    EXPECT_FALSE(machine->FileExists(programs + "\\Tools\\" + LoadStr(40002) + ".lnk"));
    EXPECT_TRUE(machine->FileExists(programs + "\\Tools\\Mine.lnk"));
    EXPECT_TRUE(machine->FileExists(programs + "\\Tools\\" + LoadStr(40000) + ".LNK"));
    EXPECT_FALSE(machine->DirectoryExists(programs + "\\Brevanshaw"));
}

TEST_F(DestinationTest, CopyWindow_CancelInTheMiddleStopsTheCopyingAndEndsOnTheBadPage) {
    std::vector<int> seen;
    int questions = 0;
    Answers["TMessageForm"] = [&](TCustomForm&) { return ++questions == 1 ? mrNo : mrYes; };
    // The user clicks Cancel on the copy window while the files are being copied.
    auto watch = [&](TInstallFile*, int, int total) {
        auto* copy = dynamic_cast<TCopyFileDlg*>(Application()->MainForm()->FindComponent("Dialog3"));
        TdlgCF* window = copy ? copy->Form() : nullptr;
        if (!window || !window->Visible() || total < 20 || questions >= 2) return;
        seen.push_back(copy->TotalPercent());
        EXPECT_FALSE(Application()->MainForm()->Enabled()) << "the copy window stands in front of everything";
        backend.ClickControl(*FormPart<TButton3D>(*window, "CancelBtn"));
    };
    Answers["TdlgFG"] = [&](TCustomForm& f) {
        InstallRoot()->OnStatus = TInstallFileStatusEvent(nullptr, watch);
        Press(f, vkReturn);
        return mrNone;
    };
    Install(kExitCancelled);
    ASSERT_EQ(seen.size(), 2u) << "No lets the copying go on; Yes stops it";
    EXPECT_LE(seen[0], seen[1]);
    EXPECT_TRUE(SetupState().UserCancelled);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TdlgBI"), 1);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TdlgSF"), 0);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TfrmSelectBrevanshawApplication"), 0);
    EXPECT_EQ(std::count(Shown.begin(), Shown.end(), "TfrmInstallDll"), 0);
    EXPECT_FALSE(machine->FileExists("C:\\Brevanshaw\\Uninstall.exe"));
}
