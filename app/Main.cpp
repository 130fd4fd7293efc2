// The main setup window and the program entry; see Main.h.
#include "app/Main.h"

#include <algorithm>

#include "app/KitFolderForm.h"
#include "app/LoadFormUnit.h"
#include "app/SelectLangUnit.h"
#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "app/Unattended.h"
#include "app/dlg_InstallDll.h"
#include "app/dlg_SelectBrevanshawApplication.h"
#include "app/dlg_UserRegistrationUnit.h"
#include "app/frmChooseInstallTypeUnit.h"
#include "dialogs/NotifyProgressDlg.h"
#include "system/DAOInst.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallFileGroupsDlg.h"
#include "dialogs/dlgcmp_TRebootDlg.h"
#include "dialogs/dlgcmp_TSelectFolderDlg.h"
#include "engine/InstallClasses.h"
#include "engine/SetupLog.h"
#include "engine/SetupOptions.h"
#include "engine/SetupState.h"
#include "archive/BlockIO.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "system/cmp_TInstallRegistry.h"
#include "system/cmp_TInstallShellLink.h"
#include "ui/HebForm.h"
#include "system/cmp_TUninstallEXE.h"

const rt::TClassInfo& TMainSetupDlg::StaticClass() {
    using M = TMainSetupDlg;
    static const rt::TClassInfo info{"TMainSetupDlg", &rt::TForm::StaticClass(), rt::Factory<TMainSetupDlg>(), {},
                                     {rt::Method("FormCreate", &M::FormCreate), rt::Method("FormShow", &M::FormShow),
                                      rt::Method("FormActivate", &M::FormActivate),
                                      rt::Method("Install1StartInstall", &M::Install1StartInstall),
                                      rt::Method("Install1ShowCopyFileDlg", &M::Install1ShowCopyFileDlg),
                                      rt::Method("Install1CloseCopyFileDlg", &M::Install1CloseCopyFileDlg)}};
    return info;
}

template <class T>
T* TMainSetupDlg::Field(const char* name) {
    rt::TComponent* c = FindComponent(name);
    if (!c || !c->InheritsFrom(T::StaticClass()))
        throw rt::Exception(std::string("The main setup window's description lacks ") + name + ": " + T::StaticClass().Name);
    return static_cast<T*>(c);
}

TMainSetupDlg::TMainSetupDlg(rt::TComponent* owner) : rt::TForm(owner) {
    LoadDescription("MainSetupDlg.dfm");
    Install1 = Field<TInstall>("Install1");
    InstallRegistry1 = Field<TInstallRegistry>("InstallRegistry1");
    imgLightBackground = Field<rt::TImage>("imgLightBackground");
    Image1 = Field<rt::TImage>("Image1");
    ProductLabel = Field<rt::TLabel>("ProductLabel");
    ByLabel = Field<rt::TLabel>("ByLabel");
    lblLE = Field<rt::TLabel>("lblLE");
    DoCreate();
}

void TMainSetupDlg::FormCreate(rt::TObject*) {
    TSetupState& state = SetupState();
    state.CopyPageOpen = false;
    state.Hebrew = false;
    state.LanguageIndex = 0;

    SetCaption(LoadStr(20));
    ProductLabel->SetCaption(LoadStr(40));
    InstallRegistry1->Entries()->SetValue("SourceDir",
                                          SetupRoutines::LiteralEntryText(rt::ExtractFilePath(os::Current().ModuleFileName())));

    SetDesignSize(800, 600);
    SetWindowState(rt::TWindowState::wsMaximized);
    SetBorderIcons({rt::TBorderIcon::biSystemMenu, rt::TBorderIcon::biMinimize});
    lblLE->Hide();

    // The logo and the maker's line were laid out for 800 x 600; place them for this screen.
    // Multiply first, then divide, truncating, as the layout has always been computed.
    const long long sw = rt::Backend().ScreenWidth(), sh = rt::Backend().ScreenHeight();
    auto scaleY = [&](int v) { return static_cast<int>(sh * v / 600); };
    auto scaleX = [&](int v) { return static_cast<int>(sw * v / 800); };
    Image1->SetTop(scaleY(Image1->Top()));
    Image1->SetLeft(scaleX(Image1->Left()));
    ByLabel->SetTop(scaleY(ByLabel->Top()));
    ByLabel->SetLeft(scaleX(ByLabel->Left()));
    Image1->SetHeight(scaleY(Image1->Height()));
    Image1->SetWidth(scaleX(Image1->Width()));
    ByLabel->SetHeight(scaleY(ByLabel->Height()));
    ByLabel->SetWidth(scaleX(ByLabel->Width()));
    ByLabel->Font()->SetSize(static_cast<int>(ByLabel->Font()->Size() * sw / 800));
}

void TMainSetupDlg::FormShow(rt::TObject*) {}

void TMainSetupDlg::FormActivate(rt::TObject*) {
    const TSetupState& state = SetupState();
    if (!state.CopyPageOpen) return;
    // While files are copied the progress page keeps the focus, so Cancel stays at hand.
    if (auto* page = dynamic_cast<rt::IFocusTarget*>(FindComponent(state.Hebrew ? "HebCopyFileDlg1" : "Dialog3")))
        page->FocusTarget();
}

namespace {

constexpr std::uint32_t kDayMs = 24u * 60 * 60 * 1000;

// Keeps the loading form up until it has been seen long enough. The time of day starts again
// at midnight, so the time passed is taken modulo a day; the wait never blocks on a message
// that may not come.
void WaitForLoadingForm() {
    os::IPlatform& platform = os::Current();
    const std::uint32_t start = SetupState().StartTime % kDayMs;
    for (;;) {
        if (rt::TApplication* app = rt::Application()) app->ProcessMessages();
        const std::uint32_t elapsed = (platform.TimeOfDayMs() % kDayMs + kDayMs - start) % kDayMs;
        if (elapsed >= kLoadingFormMs) return;
        platform.Sleep(std::min<std::uint32_t>(kLoadingFormMs - elapsed, 50));
    }
}

void FreeComponent(rt::TComponent* owner, const char* name) {
    if (rt::TComponent* c = owner->FindComponent(name)) c->Free();
}

void RenameLink(rt::TComponent* owner, const char* name, const std::string& linkName) {
    if (auto* link = dynamic_cast<TInstallShellLink*>(owner->FindComponent(name))) link->SetLinkName(linkName);
}

// Left becomes its distance from the parent's right edge: the control changes sides.
void MirrorInParent(rt::TControl& control) {
    if (rt::TWinControl* parent = control.Parent())
        control.SetLeft(parent->ClientWidth() - control.Left() - control.Width());
}

}  // namespace

void TMainSetupDlg::Install1StartInstall(rt::TObject*) {
    // Nobody is there to see it.
    if (!SetupOptions().Unattended()) WaitForLoadingForm();
    // The tutorial is not part of this product's installation.
    FreeComponent(this, "File69");
    FreeComponent(this, "ShellLink11");
    rt::FreeAndNil(frmLoad);
    rt::Application()->ProcessMessages();

    auto* chooser = new TSelectLangDlg(rt::Application());
    int result = rt::mrNone, index = 0;
    try {
        result = chooser->ShowModal();
        index = chooser->SelectedLanguage();
    } catch (...) {
        chooser->Free();
        throw;
    }
    chooser->Free();
    // Without a choice the installation goes on in English as the window stands.
    if (result == rt::mrOk) ApplyLanguage(index);

    // An add-on agent of an earlier installation must let go of the files it holds. A hung
    // agent may not hang setup with it.
    os::IPlatform& platform = os::Current();
    if (const os::WindowHandle agent = platform.FindWindow("TStartKalOfficeAddOn")) {
        std::intptr_t answer = 0;
        platform.SendMessageTimeout(agent, WM_ADDON_AGENT_SETUP, 0, 0, kAgentTimeoutMs, answer);
    }
}

void TMainSetupDlg::Install1ShowCopyFileDlg(TInstallContainer*) {
    // Every group of the description, chosen or not: a group left out may still be the
    // folder another one's files or shortcuts point into.
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* group = dynamic_cast<TInstallFileGroup*>(Components(i))) {
            const std::string dir = group->GetDestDir();
            if (!ForceRecordedDirectories(dir)) throw rt::Exception("Cannot create the directory " + dir);
        }
}

void TMainSetupDlg::Install1CloseCopyFileDlg(TInstallContainer*) {
    // Only after copying that went through: a failed or cancelled copy goes straight to the
    // bad installation page, and nothing of the system may be changed after it.
    if (!Install1->HelpersCompleted() || SetupState().UserCancelled) return;
    os::IPlatform& platform = os::Current();
    const std::string dest = Install1->DestDir();

    TNotifyProgressDlg* notice = ShowNotifyProgress(1140);
    try {
        DAOInst::InstallDatabaseRuntime(dest);
    } catch (...) {
        notice->Free();
        throw;
    }
    notice->Free();

    std::string updater = dest;
    SetupRoutines::AddBackslash(updater);
    updater += "Kalupdt.EXE";
    if (platform.FileExists(updater)) platform.StartProcess("\"" + updater + "\" ", rt::ExtractFilePath(updater));

    if (SetupState().UpdateInstall) {
        platform.DeleteFile(AddBackslash(WindowsDir()) + "KalInst.Ini");
    } else if (RunProductPage<TfrmSelectBrevanshawApplication>() == rt::mrCancel) {
        throw EAIUserAbort();
    }
    const int addOn = RunProductPage<TfrmInstallDll>();
    if (addOn == rt::mrCancel) throw EAIUserAbort();
    if (addOn == rt::mrYes) SetupState().RebootNeeded = true;
}

void TMainSetupDlg::ApplyLanguage(int index) {
    SetSetupLanguage(index);
    InstallRegistry1->Entries()->SetValue("LID", rt::IntToStr(index));

    RenameLink(this, "ShellLink3", LocalisedString(40000));
    RenameLink(this, "ShellLink4", LocalisedString(40020));
    RenameLink(this, "ShellLink5", LocalisedString(40040));
    RenameLink(this, "ShellLink6", "Brevanshaw Windows Add-On Agent");
    RenameLink(this, "ShellLink8", LocalisedString(30660));

    SetCaption(LocalisedString(20));
    ProductLabel->SetCaption(LocalisedString(40));
    lblLE->SetCaption(LocalisedString(60));
    // The line names the maker after the localised "by"; it keeps its right edge.
    const int oldWidth = ByLabel->Width();
    ByLabel->SetCaption(LocalisedString(30360) + " " + Install1->Information()->CompanyName());
    if (ByLabel->Width() > oldWidth) ByLabel->SetLeft(ByLabel->Left() - (ByLabel->Width() - oldWidth));

    if (SetupState().Hebrew) {
        if (auto* hebForm = dynamic_cast<THebForm*>(FindComponent("HebForm1"))) hebForm->SetHebrew(true);
        if (auto* keyboard = dynamic_cast<TCheckHebrewKeyboardLayout*>(FindComponent("CheckHebrewKeyboardLayout1")))
            keyboard->Activate();
        for (rt::TControl* c : {static_cast<rt::TControl*>(ProductLabel), static_cast<rt::TControl*>(lblLE),
                                static_cast<rt::TControl*>(ByLabel), static_cast<rt::TControl*>(Image1)})
            MirrorInParent(*c);
        ProductLabel->Invalidate();
        lblLE->Invalidate();
        ByLabel->Invalidate();
    }
}

bool TMainSetupDlg::WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    if (message == WM_SETUP_RESTORE) {
        rt::Application()->Restore();
        rt::Application()->BringToFront();
        result = 0;
        return true;
    }
    return rt::TForm::WndProc(message, wParam, lParam, result);
}

void RegisterSetupClasses() {
    rt::RegisterClasses({&rt::TForm::StaticClass(), &rt::TLabel::StaticClass(), &rt::TImage::StaticClass(),
                         &TInstallRegistry::StaticClass(), &TUninstallEXE::StaticClass(), &TfrmLoad::StaticClass(),
                         &TMainSetupDlg::StaticClass(), &TUserInformationDlg::StaticClass()});
    RegisterInstallClasses();
    RegisterPageClasses();
    RegisterShellLinkClasses();
    RegisterKitClasses();
}

namespace {

// The log of this run: where /LOG= says, and for a run nobody watches always, in the
// temporary folder, so that there is something to read when it fails.
void StartLog(os::IPlatform& platform, const TSetupOptions& options) {
    std::string path = options.LogFile;
    if (path.empty() && options.Unattended()) path = platform.GetTempPath() + "Brevanshaw Setup.log";
    if (path.empty()) return;
    if (!SetupLog().Open(platform, path)) return;
    std::string commandLine;
    for (const std::string& arg : platform.CommandLineArgs()) commandLine += " " + arg;
    LogLine("Setup of Brevanshaw started: " + platform.ModuleFileName() + commandLine);
    for (const std::string& unknown : options.Unknown) LogLine("Unknown option ignored: " + unknown);
}

// An error of the answer file: always in the log, and told to a person when there is one.
void ReportAnswerFileError(os::IPlatform& platform, const TSetupOptions& options, const std::exception& e) {
    LogLine(std::string("Error: ") + e.what());
    if (!options.Unattended()) platform.MessageBox(e.what(), "Brevanshaw ! Setup", os::kMbOk);
}

// Reads /LOADINF= into the options; false (and the reason logged and told) when it cannot be read.
bool LoadAnswers(os::IPlatform& platform, TSetupOptions& options) {
    if (options.LoadInf.empty()) return true;
    try {
        for (const std::string& line : ReadAnswerFile(platform, options.LoadInf, options.Answers))
            LogLine("Unknown line in the answer file ignored: " + line);
        LogLine("Answers read from " + options.LoadInf);
        return true;
    } catch (const std::exception& e) {
        ReportAnswerFileError(platform, options, e);
        return false;
    }
}

void SaveAnswers(os::IPlatform& platform, const TSetupOptions& options, const TSetupWatcher& watcher) {
    const TSetupOutcome outcome = SetupState().Outcome;
    if (options.SaveInf.empty() || (outcome != TSetupOutcome::soGood && outcome != TSetupOutcome::soGoodRestart)) return;
    try {
        WriteAnswerFile(platform, options.SaveInf, watcher.Chosen());
        LogLine("Answers written to " + options.SaveInf);
    } catch (const std::exception& e) {
        ReportAnswerFileError(platform, options, e);
    }
}

}  // namespace

int SetupMain(const std::function<void(rt::TApplication&)>& prepareApplication) {
    os::IPlatform& platform = os::Current();
    TSetupOptions& options = SetupOptions();
    options = ParseSetupOptions(platform.CommandLineArgs());
    SetupState().Outcome = TSetupOutcome::soRunning;
    StartLog(platform, options);
    const int code = RunSetup(prepareApplication);
    LogLine("Exit code " + rt::IntToStr(code));
    SetupLog().Close();
    return code;
}

int RunSetup(const std::function<void(rt::TApplication&)>& prepareApplication) {
    os::IPlatform& platform = os::Current();
    TSetupOptions& options = SetupOptions();
    const os::WindowHandle running = platform.FindWindow("TMainSetupDlg");
    bool start = running == 0;
    if (!start) {
        // The form designer shows the window class while the form is edited; that is not a setup.
        const os::WindowHandle designer = platform.FindWindow("TAppBuilder");
        start = designer != 0 && platform.WindowProcessId(designer) == platform.WindowProcessId(running);
    }
    if (!start) {
        LogLine("Another setup is running");
        // A person gets the running one back; a script only its answer.
        if (!options.Unattended()) platform.SendMessage(running, WM_SETUP_RESTORE, 0, 0);
        return kExitSecondInstance;
    }
    if (!LoadAnswers(platform, options)) return kExitFailure;
    TSetupWatcher watcher(options.Answers, options.Unattended());
    rt::SetModalWatcher(&watcher);
    // Never left pointing at the watcher once this frame is gone, however it goes.
    struct Unwatch {
        ~Unwatch() { rt::SetModalWatcher(nullptr); }
    } unwatch;

    RegisterSetupClasses();
    InitEngineDirectories();

    frmLoad = new TfrmLoad(nullptr);
    frmLoad->ShowForm();
    frmLoad->Update();

    auto* app = new rt::TApplication(nullptr);
    rt::SetApplication(app);
    app->Initialize();
    app->SetTitle("Brevanshaw ! Setup");
    if (prepareApplication) prepareApplication(*app);
    // A box nobody answers would hold the run for ever: the log tells instead.
    if (options.Unattended()) app->ShowException = [](const std::string& text) { LogLine("Error: " + text); };
    SetKitFolderPrompt(AskKitFolder);
    SetInstallTypeQuestion(&TfrmChooseInstallType::Run);
    bool created = false;
    try {
        app->CreateForm<TMainSetupDlg>();
        created = true;
    } catch (const rt::EAbort&) {
    } catch (const std::exception& e) {
        SetupState().Outcome = OutcomeOf(e);
        // Build and resume errors arise while the window is still being made: no page can
        // report them, so the message itself is shown.
        if (app->ShowException) app->ShowException(e.what());
        else LogLine(std::string("Error: ") + e.what());
    }
    // Build and resume modes have done their work and ended the application by now.
    if (created && !app->Terminated()) {
        try {
            app->Run();
        } catch (const std::exception& e) {
            app->HandleException(e);
        }
    }
    SetKitFolderPrompt(nullptr);
    SetInstallTypeQuestion(nullptr);
    rt::FreeAndNil(frmLoad);
    app->Free();
    rt::SetApplication(nullptr);
    DoneEngineDirectories();
    SaveAnswers(platform, options, watcher);
    // A run that ended before it finished (the main window closed) was left by the user.
    const TSetupOutcome outcome = SetupState().Outcome;
    return ExitCodeOf(outcome == TSetupOutcome::soRunning ? TSetupOutcome::soCancelled : outcome);
}
