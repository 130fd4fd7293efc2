// The dialogs of the extraction, fed the notifications a file container sends: the copy
// window's progress, its placing and what it does to the other windows; the change-disk
// question of both scripts and the answer it hands back.
#include <gtest/gtest.h>

#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "engine/SetupState.h"
#include "engine/cmp_TFileContainer.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "runtime/Buttons.h"
#include "runtime/Resources.h"
#include "runtime/StdCtrls.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"
#include "ui/Button3D.h"
#include "ui/HebForm.h"

void BrevRegisterEmbeddedResources();

using namespace rt;

namespace {

std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "<nothing>";
}

class ExtractionDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        BrevRegisterEmbeddedResources();
        RegisterKitClasses();
        SetBackend(&backend);
        backend.SetScreenSize(1024, 768);
        app = new TApplication(nullptr);
        SetApplication(app);
        SetupState() = TSetupState{};
        main = app->CreateForm<TForm>();
        main->ShowForm();
        root = new TInstall(main);
        root->SetName("Install1");
    }
    void TearDown() override {
        SetupState() = TSetupState{};
        SetApplication(nullptr);
        app->Free();
        SetBackend(nullptr);
    }
    template <class D>
    D* Dialog(const char* name) {
        auto* d = new D(main);
        d->SetName(name);
        d->SetContainer(root);
        return d;
    }
    void Status(int file, int total, const std::string& name) {
        TFileStatusParameter status;
        status.FilePercentDone = file;
        status.TotalPercentDone = total;
        status.FileName = name;
        root->BroadcastStage(root, "CopyingFile", &status);
    }

    SimMachine machine;
    THeadlessBackend backend;
    TApplication* app = nullptr;
    TForm* main = nullptr;
    TInstall* root = nullptr;
};

}  // namespace

TEST_F(ExtractionDialogsTest, CopyWindow_ShowsTheProgressInFrontOfEverythingUntilTheExtractionEnds) {
    auto* copy = Dialog<TCopyFileDlg>("Dialog3");
    auto* twin = Dialog<THebCopyFileDlg>("HebCopyFileDlg1");
    copy->SetPosition(TCopyFileDlgPosition::cfpBottom);
    Status(50, 20, "dao3032.dll");
    TdlgCF* window = copy->Form();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(twin->Form(), nullptr) << "the twin serves Hebrew only";
    EXPECT_TRUE(window->Visible());
    EXPECT_FALSE(main->Enabled());
    EXPECT_TRUE(SetupState().CopyPageOpen);
    EXPECT_EQ(window->Left(), RoundHalfEven(1024 * 0.5 - window->Width() * 0.5));
    EXPECT_EQ(window->Top(), 768 - backend.CaptionHeight() - window->Height());
    Status(100, 35, "msjint32.dll");
    EXPECT_EQ(copy->Form(), window);
    EXPECT_EQ(window->FileProgress()->Position(), 100);
    EXPECT_EQ(window->TotalProgress()->Position(), 35);
    EXPECT_EQ(window->FileLabel()->Caption(), "msjint32.dll");
    EXPECT_EQ(window->Caption(), "Copy Program Files...");

    EXPECT_EQ(Raised([&] { root->BroadcastStage(root, "CopyingFile", nullptr); }), "DoCopyFile got a nil TFileStatusParameter object");
    TList wrong;
    EXPECT_EQ(Raised([&] { root->BroadcastStage(root, "CopyingFile", &wrong); }),
              "The PO object to the copying file dialog is not a TFileStatusParameter object");

    // The program folder page closes it while it is up: the other windows come back.
    copy->CloseCopyForm();
    EXPECT_EQ(copy->Form(), nullptr);
    EXPECT_TRUE(main->Enabled());
    EXPECT_FALSE(SetupState().CopyPageOpen);
    root->BroadcastStage(root, "DoneCopyingFiles", nullptr);
    Status(10, 90, "last.dll");
    root->BroadcastStage(root, "DoneCopyingFiles", nullptr);
    EXPECT_EQ(copy->Form(), nullptr);
    EXPECT_TRUE(main->Enabled());
}

TEST_F(ExtractionDialogsTest, ChangeDisk_BothTwinsAskInTurnAndTheAnswerGoesBackToTheFile) {
    Dialog<TChangeDiskDlg>("Dialog2");
    Dialog<THebChangeDiskDlg>("HebChangeDiskDlg1");
    auto* file = new TInstallFile(main);
    TDiskParameter disk;
    disk.NewDisk = 3;
    disk.Path = "D:\\";
    TList request{file, &disk};
    std::vector<std::string> asked;
    backend.ModalScript = [&](TCustomForm& f) {
        auto* path = static_cast<TEdit*>(f.FindComponent("Edit1"));
        asked.push_back(f.ClassName() + ": " + static_cast<TLabel*>(f.FindComponent("Label3"))->Caption() + " | " + path->Text());
        if (asked.size() == 1) path->SetText("C:\\BrevDisk3");
        backend.ClickControl(*static_cast<TControl*>(f.FindComponent(asked.size() <= 2 ? "InstallBtn" : "CancelBtn")));
        return mrNone;
    };
    root->BroadcastStage(root, "ChangeDisk", &request);
    EXPECT_EQ(asked, (std::vector<std::string>{"TdlgCD: Please insert disk number 3 | D:\\",
                                                "THebdlgCD: Please insert disk number 3 | C:\\BrevDisk3"}));
    EXPECT_EQ(disk.Path, "C:\\BrevDisk3");
    EXPECT_EQ(file->Tag(), 1) << "the file shows no prompt of its own";

    // Cancel ends the extraction; the file keeps the folder it had.
    disk.Path = "E:\\";
    EXPECT_THROW(root->BroadcastStage(root, "ChangeDisk", &request), EAIUserAbort);
    EXPECT_EQ(disk.Path, "E:\\");

    TList short_{file};
    EXPECT_EQ(Raised([&] { root->BroadcastStage(root, "ChangeDisk", &short_); }),
              "TChangeDiskDlg--Not engouh parameters for status event");
    TList swapped{&disk, file};
    EXPECT_EQ(Raised([&] { root->BroadcastStage(root, "ChangeDisk", &swapped); }), "TChangeDiskDlg says bad first parameter");
}
