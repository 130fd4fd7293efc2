// Program start: the single-instance guard, the loading form and the main setup window.
#include <gtest/gtest.h>

#include <vector>

#include "app/LoadFormUnit.h"
#include "app/Main.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "runtime/headless/HeadlessBackend.h"
#include "system/cmp_TInstallRegistry.h"
#include "system/cmp_TInstallShellLink.h"
#include "system/cmp_TUninstallEXE.h"
#include "tests/common/SimMachine.h"

void BrevRegisterEmbeddedResources();

namespace {

class SetupStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        BrevRegisterEmbeddedResources();
        rt::SetBackend(&backend);
        machine->SetModuleFileName("D:\\DISK1\\SETUP.EXE");
        machine->SetProcessId(100);
    }
    void TearDown() override { rt::SetBackend(nullptr); }

    // Runs the program; inspect is called once the message loop has nothing left to do.
    int Run(std::function<void()> inspect = {}) {
        backend.OnIdle = [this, inspect] {
            if (inspect && !inspected) {
                inspected = true;
                inspect();
            }
            backend.PostQuit();
        };
        // These tests look at the windows, not the run their first activation would start.
        return SetupMain([this](rt::TApplication&) {
            backend.Post([] {
                if (TInstall* root = InstallRoot()) root->SetRunAutomatic(false);
            });
        });
    }

    SimMachine machine;
    rt::THeadlessBackend backend;
    bool inspected = false;
};

}  // namespace

TEST_F(SetupStartTest, ASecondStartRestoresTheFirstAndCreatesNoWindow) {
    std::vector<std::uint32_t> received;
    machine->AddWindow("TMainSetupDlg", 55, [&](std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
        received.push_back(msg);
        EXPECT_EQ(wp, 0u);
        EXPECT_EQ(lp, 0);
        return std::intptr_t(0);
    });
    // A designer of another process does not count.
    machine->AddWindow("TAppBuilder", 56, [](std::uint32_t, std::uintptr_t, std::intptr_t) { return std::intptr_t(0); });
    EXPECT_EQ(Run(), kExitSecondInstance);
    EXPECT_EQ(received, (std::vector<std::uint32_t>{1124}));
    EXPECT_TRUE(backend.FormsShown.empty());
}

TEST_F(SetupStartTest, AWindowOfTheFormDesignerDoesNotStopTheStart) {
    bool sent = false;
    machine->AddWindow("TMainSetupDlg", 55, [&](std::uint32_t, std::uintptr_t, std::intptr_t) {
        sent = true;
        return std::intptr_t(0);
    });
    machine->AddWindow("TAppBuilder", 55, [](std::uint32_t, std::uintptr_t, std::intptr_t) { return std::intptr_t(0); });
    // The test ends the run before it installs anything: left, as a closed window leaves it.
    EXPECT_EQ(Run(), kExitCancelled);
    EXPECT_FALSE(sent);
    EXPECT_EQ(backend.FormsShown, (std::vector<std::string>{"TfrmLoad", "TMainSetupDlg"}));
}

TEST_F(SetupStartTest, TheLoadingFormIsLaidOutAsDesignedAndRecordsTheStartTime) {
    machine->SetTimeOfDay(36000123);
    backend.SetScreenSize(1024, 768);
    Run([&] {
        ASSERT_NE(frmLoad, nullptr);
        TfrmLoad& f = *frmLoad;
        EXPECT_EQ(SetupState().StartTime, 36000123u);
        EXPECT_EQ(f.Caption(), "Setup...");
        EXPECT_EQ(f.ClientWidth(), 370);
        EXPECT_EQ(f.ClientHeight(), 90);
        EXPECT_EQ(f.Color(), rt::clWhite);
        EXPECT_TRUE(f.BorderIcons().Empty());
        EXPECT_EQ(f.BorderStyle(), rt::TFormBorderStyle::bsSingle);
        EXPECT_EQ(f.FormStyle(), rt::TFormStyle::fsStayOnTop);
        EXPECT_EQ(f.Left(), (1024 - 370) / 2);
        EXPECT_EQ(f.Top(), (768 - 90) / 2);
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.Owner(), nullptr);
        EXPECT_GE(backend.Repaints(), 1);

        auto* image = static_cast<rt::TImage*>(f.FindComponent("Image1"));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(std::vector<int>({image->Left(), image->Top(), image->Width(), image->Height()}), std::vector<int>({32, 8, 32, 32}));
        EXPECT_TRUE(image->Stretch());
        EXPECT_TRUE(image->Transparent());
        EXPECT_EQ(image->Picture()->Width(), 32);

        auto* title = static_cast<rt::TLabel*>(f.FindComponent("Label1"));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->Caption(), "Initializing Brevanshaw ! Setup...");
        EXPECT_EQ(title->Font()->Color(), rt::clBlue);
        EXPECT_EQ(title->Font()->Height(), -17);
        EXPECT_EQ(title->Left(), 88);
        EXPECT_EQ(title->Top(), 16);

        auto* wait = static_cast<rt::TLabel*>(f.FindComponent("Label2"));
        ASSERT_NE(wait, nullptr);
        EXPECT_EQ(wait->Caption(), "Please Wait...");
        EXPECT_EQ(wait->Font()->Color(), rt::clRed);
        EXPECT_EQ(wait->Alignment(), rt::TAlignment::taCenter);
        EXPECT_EQ(wait->Left(), 72);
        EXPECT_EQ(wait->Top(), 56);
        EXPECT_EQ(wait->Width(), 225);
    });
    EXPECT_TRUE(inspected);
    EXPECT_EQ(frmLoad, nullptr);
}

TEST_F(SetupStartTest, TheMainWindowIsCreatedFromItsDescriptionAndScaledToTheScreen) {
    backend.SetScreenSize(1024, 768);
    SetupState().Hebrew = true;
    SetupState().LanguageIndex = 1;
    SetupState().CopyPageOpen = true;
    Run([&] {
        auto* main = static_cast<TMainSetupDlg*>(rt::Application()->MainForm());
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(rt::Application()->Title(), "Brevanshaw ! Setup");
        EXPECT_TRUE(main->Active());
        EXPECT_FALSE(SetupState().Hebrew);
        EXPECT_EQ(SetupState().LanguageIndex, 0);
        EXPECT_FALSE(SetupState().CopyPageOpen);

        EXPECT_EQ(main->Caption(), "Brevanshaw ! Setup...");
        EXPECT_EQ(main->ProductLabel->Caption(), "Brevanshaw ! Setup");
        EXPECT_EQ(main->InstallRegistry1->Entries()->Values("SourceDir"), "D:\\DISK1\\");
        EXPECT_EQ(main->InstallRegistry1->Entries()->Values("LID"), "0");
        EXPECT_EQ(main->WindowState(), rt::TWindowState::wsMaximized);
        EXPECT_EQ(main->BorderIcons(), (rt::TBorderIcons{rt::TBorderIcon::biSystemMenu, rt::TBorderIcon::biMinimize}));
        EXPECT_EQ(main->DesignWidth(), 800);
        EXPECT_EQ(main->DesignHeight(), 600);
        EXPECT_FALSE(main->lblLE->Visible());
        EXPECT_EQ(main->lblLE->Caption(), "Limited Edition");

        // Designed at (24, 24) 96 x 96 for 800 x 600; multiplied first, then divided.
        EXPECT_EQ(main->Image1->Left(), 1024 * 24 / 800);
        EXPECT_EQ(main->Image1->Top(), 768 * 24 / 600);
        EXPECT_EQ(main->Image1->Width(), 1024 * 96 / 800);
        EXPECT_EQ(main->Image1->Height(), 768 * 96 / 600);
        EXPECT_EQ(main->ByLabel->Left(), 1024 * 560 / 800);
        EXPECT_EQ(main->ByLabel->Top(), 768 * 540 / 600);
        EXPECT_EQ(main->ByLabel->Font()->Size(), 12 * 1024 / 800);

        TInstall* root = main->Install1;
        EXPECT_EQ(InstallRoot(), root);
        EXPECT_EQ(root->Information()->CompanyName(), "Halvernock");
        EXPECT_EQ(root->Information()->ProductName(), "Brevanshaw");
        EXPECT_EQ(root->DestDir(), "C:\\Brevanshaw");
        EXPECT_FALSE(root->UseLoadingProgram());
        EXPECT_EQ(root->InstallOrder()->ToVector(), (std::vector<std::string>{"1000", "2000", "7000", "8000", "8500"}));
        EXPECT_EQ(root->FileContainerCount(), 9);
        // The product: its groups with their files, the uninstaller, the program folder and
        // its shortcuts, as the handlers expect them by name.
        const std::pair<const char*, int> groups[] = {{"FileGroup4", 8}, {"FileGroup1", 34}, {"FileGroup2", 14},
                                                      {"FileGroup3", 5},  {"FileGroup5", 6},  {"FileGroup6", 8},
                                                      {"FileGroup7", 1},  {"FileGroup8", 1},  {"FileGroup9", 2}};
        int files = 0;
        for (const auto& [name, count] : groups) {
            auto* group = dynamic_cast<TInstallFileGroup*>(main->FindComponent(name));
            ASSERT_NE(group, nullptr) << name;
            EXPECT_EQ(group->HelperCount(), count) << name;
            files += group->HelperCount();
        }
        EXPECT_EQ(files, 79);
        EXPECT_EQ(static_cast<TInstallFileGroup*>(main->FindComponent("FileGroup4"))->GroupName(), "DAO_FILES");
        auto* database = dynamic_cast<TInstallFile*>(main->FindComponent("File44"));
        ASSERT_NE(database, nullptr);
        EXPECT_EQ(database->DestName(), "document.mdb");
        EXPECT_EQ(database->Container(), main->FindComponent("FileGroup2"));
        auto* tutorial = dynamic_cast<TInstallFile*>(main->FindComponent("File69"));
        ASSERT_NE(tutorial, nullptr);
        EXPECT_EQ(tutorial->DestName(), "Tutorial.exe");
        EXPECT_NE(dynamic_cast<TUninstallEXE*>(main->FindComponent("UninstallEXE1")), nullptr);
        auto* folder = dynamic_cast<TShellLinkGroup*>(main->FindComponent("MainFolder1"));
        ASSERT_NE(folder, nullptr);
        EXPECT_EQ(folder->GroupKind(), TShellGroupKind::gkMainFolder);
        auto* agentInStartUp = dynamic_cast<TInstallShellLink*>(main->FindComponent("ShellLink6"));
        auto* agentInFolder = dynamic_cast<TInstallShellLink*>(main->FindComponent("ShellLink5"));
        ASSERT_TRUE(agentInStartUp && agentInFolder);
        EXPECT_EQ(agentInStartUp->ObjectLink(), agentInFolder->ObjectLink()) << "two shortcuts to the add-on agent";
        EXPECT_EQ(agentInStartUp->DestDirType(), TPathSpecifiers::ddStartUpMenuDir);
        EXPECT_EQ(dynamic_cast<TInstallShellLink*>(main->FindComponent("ShellLink1"))->ObjectLink(),
                  main->FindComponent("UninstallEXE1"));

        // A second instance's restore request reaches the running window.
        const int before = backend.Restores();
        main->Perform(WM_SETUP_RESTORE, 0, 0);
        EXPECT_EQ(backend.Restores(), before + 1);
    });
    EXPECT_TRUE(inspected);
    EXPECT_EQ(InstallRoot(), nullptr);
    EXPECT_TRUE(InstallComponents().empty());
}

TEST_F(SetupStartTest, AFailedWindowsDirectoryReadStopsTheStartWithItsMessage) {
    machine->SetWindowsDirFails(true);
    EXPECT_THROW(Run(), EAI);
}
