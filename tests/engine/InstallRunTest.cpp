// The installation run of the install root: the start modes, the window hook, the stage
// sequence of good, restarting and failed runs, the unfinished-install list and its resume,
// the restart request, and build mode. The run goes through the application's message loop
// on the headless backend, so exceptions reach the root's handler as they do in the program.
#include "tests/engine/InstallKit.h"

#include "runtime/headless/HeadlessBackend.h"

namespace {

using Lines = std::vector<std::string>;

// A dialog that heard stage names; raises the user's abort at one of them, and can clear
// the pending restart at the reboot page as a user who declines it.
class TRunDialog : public TBaseHelperComponent {
    RT_CLASS(TRunDialog, TBaseHelperComponent)
public:
    explicit TRunDialog(rt::TComponent* owner) : TBaseHelperComponent(owner) { SetOrderNumber(kOrderDialog); }
    std::string AbortAt;
    // A Cancel the user confirms there without anything raising.
    std::string CancelAt;
    bool DeclineRestart = false;
    Lines Stages;
    void DoStage(TInstallContainer*, const std::string& stage, rt::TObject*) override {
        Stages.push_back(stage);
        if (rt::SameText(stage, AbortAt)) throw EAIUserAbort();
        if (rt::SameText(stage, CancelAt)) SetupState().UserCancelled = true;
        if (DeclineRestart && stage == "ShutDownDialog") SetupState().RebootNeeded = false;
    }
};

// A component that notes its resume after the restart.
class TResumeProbe : public TBaseHelperComponent {
    RT_CLASS(TResumeProbe, TBaseHelperComponent)
public:
    explicit TResumeProbe(rt::TComponent* owner) : TBaseHelperComponent(owner) {}
    int Resumed = 0;
    bool Fails = false;
    void ResumeAfterReboot() override {
        ++Resumed;
        if (Fails) throw rt::Exception(Name() + " cannot resume yet");
    }
};

// A file that notes the pointer over the setup window while its archive header is read.
class TCursorProbeFile : public TInstallFile {
    RT_CLASS(TCursorProbeFile, TInstallFile)
public:
    explicit TCursorProbeFile(rt::TComponent* owner) : TInstallFile(owner) {}
    std::vector<rt::TCursor> Seen;
    bool Unreadable = false;
    void ReadArchiveInfo() override {
        Seen.push_back(InstallRoot()->OwnerWindow()->Cursor());
        if (Unreadable) throw rt::Exception("the disk cannot be read");
        TInstallFile::ReadArchiveInfo();
    }
};

}  // namespace

const rt::TClassInfo& TCursorProbeFile::StaticClass() {
    static const rt::TClassInfo info{"TCursorProbeFile", &TInstallFile::StaticClass(), {}, {}, {}};
    return info;
}

const rt::TClassInfo& TRunDialog::StaticClass() {
    static const rt::TClassInfo info{"TRunDialog", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

const rt::TClassInfo& TResumeProbe::StaticClass() {
    static const rt::TClassInfo info{"TResumeProbe", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

namespace {

const Lines kRunOpening{"eccBeforeReadArchiveInfo", "eccAfterReadArchiveInfo", "eccStartingUp", "eccBeginningDialogManager",
                        "eccWelcomeDialog", "eccUserInformation", "eccLicenseAgreement", "eccReadmeDialog",
                        "eccBeforeProcess", "InstallTypeDialog"};

class InstallRunTest : public InstallTest {
protected:
    void SetUp() override {
        rt::SetBackend(&backend);
        app = new rt::TApplication(nullptr);
        rt::SetApplication(app);
        InstallTest::SetUp();
        app->SetMainForm(form);
        dialog = new TRunDialog(form);
        dialog->SetContainer(root);
        root->OnShowBadInstall = rt::TNotifyEvent(nullptr, [this](rt::TObject*) { events.push_back("ShowBadInstall"); });
        root->OnShowGoodInstall = rt::TNotifyEvent(nullptr, [this](rt::TObject*) { events.push_back("ShowGoodInstall"); });
        root->OnCleanup = TCleanupEvent(nullptr, [this](TInstall*, bool&) { events.push_back("Cleanup"); });
        root->OnRebootWindows = TRebootWindowsEvent(nullptr, [this](TInstall*, bool&) { events.push_back("RebootWindows"); });
        root->PresetupFiles()->Add("C:\\kit\\PRESETUP.DLL");
        Put("C:\\PRESETUP.DLL", "p");
    }
    void TearDown() override {
        app->SetMainForm(nullptr);
        InstallTest::TearDown();
        SetStartupItemRemover(nullptr);
        SetKitFolderPrompt(nullptr);
        rt::SetApplication(nullptr);
        app->Free();
        rt::SetBackend(nullptr);
    }

    // The form description has been read: the root decides its mode.
    void Load() {
        root->BeginLoading();
        root->EndLoading();
        static_cast<rt::TComponent*>(root)->Loaded();
    }
    // The program's start: the root loads, the window shows and the messages run.
    void Start() {
        Load();
        app->Run();
    }
    // A product of one group with one file, packed into the root's archive.
    void Product() {
        File("readme.txt", Group("FileGroup1", root), "hello");
        BuildArchive();
        dialog->Stages.clear();
    }
    bool HeardStage(const std::string& stage) const {
        return std::find(dialog->Stages.begin(), dialog->Stages.end(), stage) != dialog->Stages.end();
    }

    rt::THeadlessBackend backend;
    rt::TApplication* app = nullptr;
    TRunDialog* dialog = nullptr;
    Lines events;
};

TEST(SetupMode, FirstParameterWithStarChoosesBuildOrResumeWithoutRegardToCase) {
    EXPECT_EQ(SetupModeOf({}), TSetupMode::smInstall);
    EXPECT_EQ(SetupModeOf({"*BUILD"}), TSetupMode::smBuild);
    EXPECT_EQ(SetupModeOf({"*build", "C:\\x"}), TSetupMode::smBuild);
    EXPECT_EQ(SetupModeOf({"*ABOOT"}), TSetupMode::smResume);
    EXPECT_EQ(SetupModeOf({"*aboot"}), TSetupMode::smResume);
    // An asterisk alone, the word without it, another word or a later parameter installs.
    EXPECT_EQ(SetupModeOf({"*"}), TSetupMode::smInstall);
    EXPECT_EQ(SetupModeOf({"ABOOT"}), TSetupMode::smInstall);
    EXPECT_EQ(SetupModeOf({"*ABOOTX"}), TSetupMode::smInstall);
    EXPECT_EQ(SetupModeOf({"C:\\dist", "*ABOOT"}), TSetupMode::smInstall);
}

TEST_F(InstallRunTest, Modes_ResumeRunsAtLoadAndNeverHooksTheWindow) {
    machine->SetCommandLineArgs({"*aboot"});
    Load();
    EXPECT_EQ(dialog->Stages, (Lines{"GoodInstallation"}));
    EXPECT_FALSE(form->OnActivate);
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Modes_AnAsteriskAloneOrAbootWithoutItInstalls) {
    for (const Lines& args : {Lines{"*"}, Lines{"ABOOT"}}) {
        machine->SetCommandLineArgs(args);
        form->OnActivate.Clear();
        Load();
        EXPECT_TRUE(dialog->Stages.empty()) << args[0];
        EXPECT_EQ(form->OnActivate.Data(), root) << args[0];
    }
}

TEST_F(InstallRunTest, Hook_FirstActivationCallsTheWindowsOwnHandlerThenRunsOnceAndUnhooks) {
    Product();
    int ownActivations = 0;
    rt::TObject* sender = nullptr;
    form->OnActivate = rt::TNotifyEvent(form, [&](rt::TObject* s) { ++ownActivations, sender = s; });
    Start();
    EXPECT_EQ(ownActivations, 1);
    EXPECT_EQ(sender, form);
    EXPECT_TRUE(root->Activated());
    EXPECT_EQ(form->OnActivate.Data(), form);
    form->Activate();
    EXPECT_EQ(ownActivations, 2);
    EXPECT_EQ(std::count(dialog->Stages.begin(), dialog->Stages.end(), "GoodInstallation"), 1);
}

TEST_F(InstallRunTest, Hook_WithoutRunAutomaticStaysAndRunsNothingUntilTheRootGoes) {
    root->SetRunAutomatic(false);
    int ownActivations = 0;
    form->OnActivate = rt::TNotifyEvent(form, [&](rt::TObject*) { ++ownActivations; });
    Start();
    form->Activate();
    EXPECT_EQ(ownActivations, 1);
    EXPECT_TRUE(dialog->Stages.empty());
    EXPECT_EQ(form->OnActivate.Data(), root);
    root->Free();
    root = nullptr;
    EXPECT_EQ(form->OnActivate.Data(), form);
    EXPECT_FALSE(app->OnException);
}

TEST_F(InstallRunTest, SourceDirectory_JoinsTheLoadersParametersOrTakesTheProgramsFolder) {
    machine->SetCommandLineArgs({"C:\\My", "Setup"});
    root->ReadSourceDirectory();
    EXPECT_EQ(root->SourceDirectory(), "C:\\My Setup");
    machine->SetCommandLineArgs({});
    try {
        root->ReadSourceDirectory();
        ADD_FAILURE() << "no parameters must fail";
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot read the SourceDirectory. It was not passed from the setup.exe program");
    }
    root->SetUseLoadingProgram(false);
    machine->SetModuleFileName("C:\\Kit\\SETUP.EXE");
    root->ReadSourceDirectory();
    EXPECT_EQ(root->SourceDirectory(), "C:\\Kit");
}

TEST_F(InstallRunTest, Run_GoodInstallationWalksEveryStageCleansUpAndTerminates) {
    Product();
    root->AddUnfinishedEntry("Leftover", kUnfinishedResumeComponent);
    Start();
    Lines expected = kRunOpening;
    for (const char* stage : {"eccBeforeInstallFileGroup", "CopyingFile", "CopyingFile", "DoneCopyingFiles", "eccAfterProcess",
                              "GoodInstallation"})
        expected.push_back(stage);
    EXPECT_EQ(dialog->Stages, expected);
    EXPECT_EQ(events, (Lines{"ShowGoodInstall", "Cleanup"}));
    EXPECT_EQ(Get("C:\\App\\readme.txt"), "hello");
    EXPECT_EQ(root->SourceDirectory(), "C:\\dist");
    EXPECT_FALSE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_EQ(RegString(kUnfinishedInstallKey, "Leftover"), "<none>") << "a run forgets an earlier run's list";
    EXPECT_TRUE(machine->RestartRequests().empty());
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Run_HeadersAreReadUnderTheHourglassAndThePointerComesBackAfterAFailure) {
    auto* probe = new TCursorProbeFile(form);
    probe->SetName("Probe");
    Put("C:\\src\\probe.txt", "p");
    probe->SetIncludeFromDir("C:\\src");
    probe->SetFileName("probe.txt");
    probe->SetContainer(Group("FileGroup1", root));
    BuildArchive();
    form->SetCursor(rt::crHandPoint);
    Start();
    // The root reads every header first; the group reads its own again when it installs.
    ASSERT_FALSE(probe->Seen.empty());
    EXPECT_EQ(probe->Seen.front(), rt::crHourGlass);
    EXPECT_EQ(probe->Seen.back(), rt::crHandPoint);
    EXPECT_EQ(form->Cursor(), rt::crHandPoint);

    probe->Seen.clear();
    probe->Unreadable = true;
    EXPECT_THROW(root->Process(), rt::Exception);
    EXPECT_EQ(probe->Seen, (std::vector<rt::TCursor>{rt::crHourGlass}));
    EXPECT_EQ(form->Cursor(), rt::crHandPoint);
}

TEST_F(InstallRunTest, Run_HandlersMayKeepThePresetupFilesAndTheApplication) {
    Product();
    root->OnCleanup = TCleanupEvent(nullptr, [](TInstall*, bool& go) { go = false; });
    root->OnBeforeTerminateApp = TUserAbortEvent(nullptr, [](TInstall*, bool& quit) { quit = false; });
    Start();
    EXPECT_TRUE(HeardStage("GoodInstallation"));
    EXPECT_TRUE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_FALSE(app->Terminated());
}

TEST_F(InstallRunTest, Run_FileInUseShowsTheRebootPageRestartsAndNeverEndsGood) {
    Product();
    Put("C:\\App\\readme.txt", "old");
    machine->SetFileInUse("C:\\App\\readme.txt", true);
    Start();
    ASSERT_TRUE(HeardStage("ShutDownDialog"));
    EXPECT_EQ(dialog->Stages.back(), "ShutDownDialog");
    EXPECT_FALSE(HeardStage("GoodInstallation"));
    EXPECT_EQ(events, (Lines{"RebootWindows"}));
    EXPECT_TRUE(machine->FileExists("C:\\PRESETUP.DLL")) << "no clean-up before the restart";
    const auto restarts = machine->RestartRequests();
    ASSERT_EQ(restarts.size(), 1u);
    EXPECT_TRUE(restarts[0].PrivilegeHeld) << "NT restarts only with the shutdown privilege";
    EXPECT_TRUE(restarts[0].Granted);
    EXPECT_TRUE(machine->MessageBoxes().empty());
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Run_DecliningTheRestartEndsWithoutRestartOrGoodPage) {
    Product();
    Put("C:\\App\\readme.txt", "old");
    machine->SetFileInUse("C:\\App\\readme.txt", true);
    dialog->DeclineRestart = true;
    Start();
    EXPECT_EQ(dialog->Stages.back(), "ShutDownDialog");
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(machine->RestartRequests().empty());
    EXPECT_TRUE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Restart_RefusedIsReportedAndTheApplicationStillEnds) {
    Product();
    Put("C:\\App\\readme.txt", "old");
    machine->SetFileInUse("C:\\App\\readme.txt", true);
    machine->SetRestartRefused(true);
    Start();
    const auto boxes = machine->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Could not reboot windows. Please manually reboot windows.");
    EXPECT_FALSE(HeardStage("GoodInstallation"));
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Restart_AFailingPrivilegeIsSilentAndTheRequestIsMadeAnyway) {
    machine->SetShutdownPrivilegeRefused(true);
    root->RebootWindows();
    const auto restarts = machine->RestartRequests();
    ASSERT_EQ(restarts.size(), 1u);
    EXPECT_FALSE(restarts[0].PrivilegeHeld);
    // The simulated NT then refuses, as the real one does.
    ASSERT_EQ(machine->MessageBoxes().size(), 1u);
    Become(os::SimWindowsKind::Win95);
    root->RebootWindows();
    EXPECT_TRUE(machine->RestartRequests().back().Granted) << "Windows 95 needs no privilege";
    EXPECT_EQ(machine->MessageBoxes().size(), 1u);
}

TEST_F(InstallRunTest, Abort_OnTheWelcomePageShowsTheBadPageCleansUpAndTerminates) {
    Product();
    dialog->AbortAt = "eccWelcomeDialog";
    SetupState().RebootNeeded = true;
    Start();
    const Lines expected{"eccBeforeReadArchiveInfo", "eccAfterReadArchiveInfo", "eccStartingUp", "eccBeginningDialogManager",
                         "eccWelcomeDialog", "BadInstallation"};
    EXPECT_EQ(dialog->Stages, expected);
    EXPECT_EQ(events, (Lines{"ShowBadInstall", "Cleanup"}));
    EXPECT_FALSE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_EQ(Get("C:\\App\\readme.txt"), "<missing>");
    EXPECT_TRUE(machine->RestartRequests().empty());
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Abort_ACancelThatNothingNoticedStillEndsTheRunAsCancelled) {
    Product();
    dialog->CancelAt = "DoneCopyingFiles";
    Start();
    EXPECT_EQ(dialog->Stages.back(), "BadInstallation");
    EXPECT_FALSE(HeardStage("GoodInstallation"));
    EXPECT_EQ(events, (Lines{"ShowBadInstall", "Cleanup"}));
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Abort_WithoutRunAutomaticCleansUpAndLeavesTheApplicationOpen) {
    Product();
    dialog->AbortAt = "eccWelcomeDialog";
    root->SetRunAutomatic(false);
    Load();
    // The host starts the run from a message of its own.
    backend.Post([this] { root->Process(); });
    app->Run();
    EXPECT_EQ(dialog->Stages.back(), "BadInstallation");
    EXPECT_EQ(events, (Lines{"ShowBadInstall", "Cleanup"}));
    EXPECT_FALSE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_FALSE(app->Terminated());
}

TEST_F(InstallRunTest, Failure_WithoutSourceDirectoryShowsTheBadPageOnlyAndTerminates) {
    Product();
    machine->SetCommandLineArgs({});
    root->SetRunAutomatic(true);
    Start();
    EXPECT_EQ(dialog->Stages, (Lines{"BadInstallation"}));
    EXPECT_EQ(events, (Lines{"ShowBadInstall"}));
    EXPECT_TRUE(machine->FileExists("C:\\PRESETUP.DLL")) << "no clean-up after a failure";
    EXPECT_TRUE(app->Terminated());
}

// ---- the unfinished-install list ----

TEST_F(InstallRunTest, Unfinished_ListReadsSubjectAndCodeAndClearsWithoutAKey) {
    rt::TStringList read;
    read.Add("stale");
    root->ReadUnfinishedList(read);
    EXPECT_EQ(read.Count(), 0);
    root->ClearUnfinishedList();  // no key: no error
    root->AddUnfinishedEntry("File7", kUnfinishedResumeComponent);
    root->AddUnfinishedEntry("C:\\X\\run.bat", kUnfinishedDeleteFile);
    root->AddUnfinishedEntry("File7", kUnfinishedDeleteProgramItem);
    root->ReadUnfinishedList(read);
    Lines lines;
    for (int i = 0; i < read.Count(); ++i) lines.push_back(read.Strings(i));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (Lines{"C:\\X\\run.bat;1", "File7;2"}));
    root->ClearUnfinishedList();
    root->ReadUnfinishedList(read);
    EXPECT_EQ(read.Count(), 0);
    EXPECT_FALSE(rt::TRegistry(os::RootKey::LocalMachine).KeyExists(kUnfinishedInstallKey));
}

TEST_F(InstallRunTest, Resume_DeletesTheBatchFileResumesTheComponentAndEndsGood) {
    auto* probe = new TResumeProbe(form);
    probe->SetName("File7");
    Put("C:\\X\\run.bat", "erase");
    Lines removed;
    SetStartupItemRemover([&](const std::string& item) {
        removed.push_back(item);
        throw rt::Exception("Program Manager is gone");
    });
    root->AddUnfinishedEntry("C:\\X\\run.bat", kUnfinishedDeleteFile);
    root->AddUnfinishedEntry("file7", kUnfinishedResumeComponent);
    root->AddUnfinishedEntry("SETUP", kUnfinishedDeleteProgramItem);
    root->AddUnfinishedEntry("Install1", kUnfinishedResumeComponent);
    root->AddUnfinishedEntry("Unknown", 9);
    machine->SetCommandLineArgs({"*ABOOT"});
    Load();
    EXPECT_FALSE(machine->FileExists("C:\\X\\run.bat"));
    EXPECT_EQ(probe->Resumed, 1);
    EXPECT_EQ(removed, (Lines{"SETUP"}));
    EXPECT_FALSE(rt::TRegistry(os::RootKey::LocalMachine).KeyExists(kUnfinishedInstallKey));
    EXPECT_EQ(dialog->Stages, (Lines{"GoodInstallation"})) << "the root does not resume itself again";
    EXPECT_EQ(events, (Lines{"ShowGoodInstall", "Cleanup"}));
    EXPECT_FALSE(machine->FileExists("C:\\PRESETUP.DLL"));
    EXPECT_TRUE(app->Terminated());
}

TEST_F(InstallRunTest, Resume_APathWithASemicolonKeepsItsCodeAndTheEntriesAfterIt) {
    Put("C:\\a;b\\run.bat", "erase");
    Put("C:\\z.bat", "erase");
    root->AddUnfinishedEntry("C:\\a;b\\run.bat", kUnfinishedDeleteFile);
    root->AddUnfinishedEntry("C:\\z.bat", kUnfinishedDeleteFile);
    root->ResumeAfterReboot();
    EXPECT_FALSE(machine->FileExists("C:\\a;b\\run.bat"));
    EXPECT_FALSE(machine->FileExists("C:\\z.bat"));
    EXPECT_EQ(dialog->Stages, (Lines{"GoodInstallation"}));
}

TEST_F(InstallRunTest, Resume_EveryEntryRunsAFailingOneStaysAndTheFailuresAreReported) {
    auto* failing = new TResumeProbe(form);
    failing->SetName("File7");
    failing->Fails = true;
    auto* later = new TResumeProbe(form);
    later->SetName("File8");
    Put("C:\\z.bat", "erase");
    root->AddUnfinishedEntry("File7", kUnfinishedResumeComponent);
    WriteRegistryString(TRootKeys::hkLocalMachine, kUnfinishedInstallKey, "Bad", "x");
    root->AddUnfinishedEntry("C:\\z.bat", kUnfinishedDeleteFile);
    root->AddUnfinishedEntry("File8", kUnfinishedResumeComponent);
    try {
        root->ResumeAfterReboot();
        ADD_FAILURE() << "the failures must be reported";
    } catch (const rt::Exception& e) {
        EXPECT_STREQ(e.what(), "File7 cannot resume yet\r\nThere is an invalid entry for the unfinished install list Bad;x");
    }
    EXPECT_FALSE(machine->FileExists("C:\\z.bat"));
    EXPECT_EQ(later->Resumed, 1);
    // Only the entry that may yet succeed waits for the next start.
    rt::TStringList left;
    root->ReadUnfinishedList(left);
    EXPECT_EQ(left.ToVector(), (Lines{"File7;0"}));
    EXPECT_FALSE(HeardStage("GoodInstallation"));
    failing->Fails = false;
    root->ResumeAfterReboot();
    EXPECT_EQ(failing->Resumed, 2);
    EXPECT_FALSE(rt::TRegistry(os::RootKey::LocalMachine).KeyExists(kUnfinishedInstallKey));
    EXPECT_TRUE(HeardStage("GoodInstallation"));
}

// ---- build mode ----

class InstallBuildTest : public InstallRunTest {
protected:
    void SetUp() override {
        InstallRunTest::SetUp();
        Put("C:\\SETUP.EXE", "setup program");
        Put("C:\\kit\\PRESETUP.DLL", "presetup");
        Put("C:\\Loader\\QuenfoldLoadProgram.exe", "loader");
        machine->SetCommandLineArgs({"*BUILD"});
        File("readme.txt", Group("FileGroup1", root), "hello");
    }
    void KitFolder(const std::string& folder) {
        WriteRegistryString(TRootKeys::hkLocalMachine, kKitRegistryKey, kKitFolderValue, folder);
    }
    std::string LoadError() {
        try {
            Load();
        } catch (const rt::Exception& e) {
            return e.what();
        }
        return "<none>";
    }
};

TEST_F(InstallBuildTest, Build_WritesLoaderSetupFileAndArchiveIntoTheBuildInfDirectory) {
    Put("C:\\BUILD.INF", "C:\\out\r\nignored\r\n");
    KitFolder("C:\\Loader\\");
    Load();
    EXPECT_EQ(Get("C:\\out\\setup.exe"), "loader");
    EXPECT_TRUE(machine->FileExists("C:\\out\\setup.1"));
    EXPECT_TRUE(machine->FileExists("C:\\out\\files.1"));
    EXPECT_EQ(root->ArchiveFileType(), TPathSpecifiers::ddAbsolute);
    EXPECT_EQ(root->ArchiveFile(), "C:\\dist\\files.1");
    EXPECT_FALSE(form->OnActivate) << "build mode never hooks the window";
    EXPECT_TRUE(app->Terminated());

    // What the archives hold: the setup program with its presetup file, and the product.
    auto* unpack = new TFileContainer(form);
    unpack->SetArchiveFile("C:\\out\\setup.1");
    auto* exe = new TInstallFile(form);
    exe->SetIncludeFromDir("C:");
    exe->SetFileName("SETUP.EXE");
    exe->SetContainer(unpack);
    exe->SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
    exe->ReadArchiveInfo();
    EXPECT_EQ(exe->FileSize(), 13);
    unpack->Free();
}

TEST_F(InstallBuildTest, Build_WithoutLoadingProgramCopiesTheSetupProgramItself) {
    Put("C:\\BUILD.INF", "C:\\out");
    root->SetUseLoadingProgram(false);
    root->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    root->SetArchiveFile("C:\\dist\\files.1");
    Load();
    EXPECT_EQ(Get("C:\\out\\SETUP.EXE"), "setup program");
    EXPECT_FALSE(machine->FileExists("C:\\out\\setup.1"));
    EXPECT_TRUE(machine->FileExists("C:\\out\\files.1"));
}

TEST_F(InstallBuildTest, Build_NeedsABuildInfWithAFirstLine) {
    EXPECT_EQ(LoadError(), "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    Put("C:\\BUILD.INF", "");
    EXPECT_EQ(LoadError(), "Must be 1 line in BUILD.INF. This line should specify the build directory");
    Put("C:\\BUILD.INF", "  \r\nC:\\out\r\n");
    EXPECT_EQ(LoadError(), "Must be 1 line in BUILD.INF. This line should specify the build directory");
    EXPECT_FALSE(machine->FileExists("C:\\out\\files.1"));
}

TEST_F(InstallBuildTest, Loader_AskedForWhenTheRegistryIsBlankAndRememberedThere) {
    Put("C:\\BUILD.INF", "C:\\out");
    EXPECT_EQ(LoadError(), "The loader program was not found: QuenfoldLoadProgram.exe") << "no one to ask";
    KitFolder("C:\\Elsewhere");
    EXPECT_EQ(LoadError(), "The loader program was not found: C:\\Elsewhere\\QuenfoldLoadProgram.exe");
    KitFolder(" ");
    int asked = 0;
    SetKitFolderPrompt([&] {
        ++asked;
        return std::string("C:\\Loader");
    });
    EXPECT_EQ(LoadError(), "<none>");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(RegString(kKitRegistryKey, kKitFolderValue), "C:\\Loader");
    EXPECT_EQ(Get("C:\\out\\setup.exe"), "loader");
}

TEST_F(InstallBuildTest, Build_ArchiveSettingsComeBackWhenCompressingFails) {
    KitFolder("C:\\Loader");
    root->SetUseLoadingProgram(true);
    File("lost.txt", root, "x");
    machine->DeleteFile("C:\\src\\lost.txt");
    EXPECT_THROW(root->Build("C:\\SETUP.EXE", "C:\\out\\"), std::exception);
    EXPECT_EQ(root->ArchiveFileType(), TPathSpecifiers::ddLoading);
    EXPECT_EQ(root->ArchiveFile(), "\\files.1");
    EXPECT_EQ(Get("C:\\out\\setup.exe"), "loader") << "the steps before the archive were done";
}

TEST_F(InstallBuildTest, SetupFile_NeedsAnExistingExecutable) {
    auto message = [this](const std::string& exe) {
        try {
            root->CreateSetupFile("C:\\out", exe);
        } catch (const rt::Exception& e) {
            return std::string(e.what());
        }
        return std::string("<none>");
    };
    EXPECT_EQ(message(" "), "Cannot create setup file. Executable is blank");
    EXPECT_EQ(message("C:\\NOSETUP.EXE"), "TInstall: Cannot find the executable file");
    EXPECT_FALSE(machine->FileExists("C:\\out\\setup.1"));
    EXPECT_EQ(message("C:\\SETUP.EXE"), "<none>");
    EXPECT_TRUE(machine->FileExists("C:\\out\\setup.1"));
}

}  // namespace
