// The drive list and the directory list over a simulated machine: which drives show, how the
// directory tree is listed, how the two follow each other and what the user can do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/FileCtrl.h"
#include "runtime/Forms.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"

using namespace rt;

namespace {

class FileControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetBackend(&backend);
        sim->AddDrive('A', 1474560, 0);
        sim->SetDriveNotReady('A', true);  // an empty floppy drive
        sim->AddDrive('D', 650u << 20, 0);
        for (const char* dir : {"C:\\Program Files", "C:\\Program Files\\Brevanshaw", "C:\\Program Files\\accessories",
                                "C:\\Program Files\\Zip", "C:\\Program Files\\Brevanshaw\\Data", "D:\\Setup"})
            sim->CreateDirectory(dir);
        sim->SetCurrentDirectory("C:\\Program Files");
        form.ShowForm();
    }
    void TearDown() override { SetBackend(nullptr); }

    template <class C>
    C* Add() {
        auto* c = new C(&form);
        c->SetParent(&form);
        return c;
    }

    SimMachine sim;
    THeadlessBackend backend;
    TForm form{nullptr};
};

template <class List>
std::vector<std::string> Entries(const List& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.Items()->Count(); ++i) entries.push_back(list.Items()->Strings(i));
    return entries;
}

}  // namespace

TEST_F(FileControls, DriveList_ShowsEveryDriveThatAnswersIncludingNotReadyOnes) {
    auto* drives = Add<TDriveComboBox>();
    EXPECT_EQ(Entries(*drives), (std::vector<std::string>{"a:", "c:", "d:"}));
    EXPECT_EQ(drives->Drive(), 'c') << "the drive of the current directory";
    EXPECT_EQ(drives->Text(), "c:");
    drives->SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(Entries(*drives), (std::vector<std::string>{"A:", "C:", "D:"}));
    EXPECT_EQ(drives->Drive(), 'c');
}

TEST_F(FileControls, DriveList_DriveByCodeOrByUserFiresOnChangeItemIndexByCodeDoesNot) {
    auto* drives = Add<TDriveComboBox>();
    int changes = 0;
    drives->OnChange = TNotifyEvent(nullptr, [&](TObject*) { ++changes; });
    drives->SetDrive('D');
    EXPECT_EQ(drives->Drive(), 'd');
    drives->SetDrive('q');
    EXPECT_EQ(drives->Drive(), 'd') << "a drive the machine lacks is refused";
    backend.ClickItem(*drives, 0);
    EXPECT_EQ(drives->Drive(), 'a');
    drives->SetItemIndex(1);
    EXPECT_EQ(drives->Drive(), 'c');
    EXPECT_EQ(changes, 2);
}

TEST_F(FileControls, DirectoryList_ListsThePathThenTheSortedSubdirectories) {
    auto* dirs = Add<TDirectoryListBox>();
    EXPECT_EQ(dirs->Directory(), "C:\\Program Files");
    EXPECT_EQ(Entries(*dirs), (std::vector<std::string>{"C:\\", "Program Files", "accessories", "Brevanshaw", "Zip"}));
    EXPECT_EQ(dirs->ItemIndex(), 1) << "the current directory is selected";
    EXPECT_EQ(std::vector<int>({dirs->ItemLevel(0), dirs->ItemLevel(1), dirs->ItemLevel(2)}), std::vector<int>({0, 1, 2}));
    EXPECT_GT(dirs->ItemIndent(2), dirs->ItemIndent(1));
    EXPECT_EQ(dirs->GetItemPath(3), "C:\\Program Files\\Brevanshaw");
    EXPECT_EQ(dirs->GetItemPath(0), "C:\\");
}

TEST_F(FileControls, DirectoryList_OpensByDoubleClickAndReportsEveryMove) {
    auto* dirs = Add<TDirectoryListBox>();
    auto* label = Add<TLabel>();
    dirs->SetDirLabel(label);
    std::vector<std::string> seen;
    dirs->OnChange = TNotifyEvent(nullptr, [&](TObject*) { seen.push_back(dirs->Directory()); });
    backend.ClickItem(*dirs, 3);
    EXPECT_TRUE(seen.empty()) << "a single click only selects";
    backend.DblClickItem(*dirs, 3);
    EXPECT_EQ(Entries(*dirs), (std::vector<std::string>{"C:\\", "Program Files", "Brevanshaw", "Data"}));
    backend.DblClickItem(*dirs, 0);
    dirs->SetDirectory("c:\\program files\\zip\\");
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\Program Files\\Brevanshaw", "C:\\", "C:\\program files\\zip"}));
    EXPECT_EQ(label->Caption(), "C:\\program files\\zip");
}

TEST_F(FileControls, DirectoryList_AMissingDirectoryFallsBackToItsNearestParent) {
    auto* dirs = Add<TDirectoryListBox>();
    dirs->SetDirectory("C:\\Program Files\\Brevanshaw\\Not\\There");
    EXPECT_EQ(dirs->Directory(), "C:\\Program Files\\Brevanshaw");
    dirs->SetDirectory("A:\\");
    EXPECT_EQ(Entries(*dirs), (std::vector<std::string>{"A:\\"})) << "a drive that is not ready shows its root alone";
}

TEST_F(FileControls, LinkedLists_TheDirectoryListFollowsTheDrivePicked) {
    auto* drives = Add<TDriveComboBox>();
    auto* dirs = Add<TDirectoryListBox>();
    drives->SetDirList(dirs);
    backend.ClickItem(*drives, 2);
    EXPECT_EQ(dirs->Directory(), "D:\\");
    EXPECT_EQ(Entries(*dirs), (std::vector<std::string>{"D:\\", "Setup"}));
    dirs->SetDirectory("D:\\Setup");
    drives->SetDrive('c');
    EXPECT_EQ(dirs->Directory(), "C:\\Program Files") << "back on a drive, the list returns where it was";
    drives->SetDrive('d');
    EXPECT_EQ(dirs->Directory(), "D:\\Setup");
    dirs->SetDrive('d');
    EXPECT_EQ(dirs->Directory(), "D:\\Setup") << "the same drive changes nothing";
    dirs->Free();
    backend.ClickItem(*drives, 1);
    EXPECT_EQ(drives->DirList(), nullptr);
}
