// The install root; see cmp_TInstall.h.
#include "engine/cmp_TInstall.h"

#include <exception>

#include "engine/SetupLog.h"
#include "engine/SetupOptions.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Finally.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "runtime/Forms.h"
#include "runtime/Registry.h"

namespace {

std::function<void(const std::string&)>& StartupItemRemover() {
    static std::function<void(const std::string&)> remover;
    return remover;
}

void TerminateApplication() {
    if (rt::TApplication* app = rt::Application()) app->Terminate();
}

}  // namespace

TSetupMode SetupModeOf(const std::vector<std::string>& args) {
    if (args.empty() || args[0].size() < 2 || args[0][0] != '*') return TSetupMode::smInstall;
    const std::string word = args[0].substr(1);
    if (rt::SameText(word, "BUILD")) return TSetupMode::smBuild;
    if (rt::SameText(word, "ABOOT")) return TSetupMode::smResume;
    return TSetupMode::smInstall;
}

TInstallContainer* CreateShellLinkByName(rt::TComponent* owner, const std::string& name, const std::string& purpose) {
    const rt::TClassInfo* linkClass = rt::FindClass("TInstallShellLink");
    if (!linkClass || !linkClass->Create || !linkClass->InheritsFrom(TInstallContainer::StaticClass()))
        throw rt::Exception("Cannot create the shortcut " + name + " " + purpose + ": the class TInstallShellLink is not registered");
    auto* link = static_cast<TInstallContainer*>(linkClass->Create(owner));
    try {
        link->SetName(name);
    } catch (...) {
        link->Free();
        throw;
    }
    return link;
}

void SetStartupItemRemover(std::function<void(const std::string& item)> remover) { StartupItemRemover() = std::move(remover); }

const rt::TClassInfo& TInstallInformation::StaticClass() {
    using I = TInstallInformation;
    static const rt::TClassInfo info{"TInstallInformation", &rt::TPersistent::StaticClass(), {},
                                     {rt::AccessorProperty("CompanyName", &I::CompanyName, &I::SetCompanyName),
                                      rt::AccessorProperty("ProductName", &I::ProductName, &I::SetProductName),
                                      rt::AccessorProperty("Version", &I::Version, &I::SetVersion)},
                                     {}};
    return info;
}

void TInstallInformation::Assign(const rt::TPersistent& source) {
    if (!source.InheritsFrom(StaticClass())) return rt::TPersistent::Assign(source);
    const auto& other = static_cast<const TInstallInformation&>(source);
    FCompanyName = other.FCompanyName;
    FProductName = other.FProductName;
    FVersion = other.FVersion;
}

const rt::TClassInfo& TInstall::StaticClass() {
    static const rt::TClassInfo info = [] {
        using I = TInstall;
        std::vector<rt::TPropInfo> props = ContainerProps();
        for (auto& p : std::vector<rt::TPropInfo>{
                 rt::AccessorProperty("AutoMaximizeWindow", &I::AutoMaximizeWindow, &I::SetAutoMaximizeWindow),
                 rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
                 rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
                 rt::ObjectProperty("Information", &I::InformationObject),
                 rt::StringsProperty("InstallOrder", &TInstallContainer::InstallOrder, &TInstallContainer::SetInstallOrder),
                 rt::StringsProperty("PresetupFiles", &I::PresetupFiles, &I::SetPresetupFiles),
                 rt::StringsProperty("DistributionFolders", &I::DistributionFolders, &I::SetDistributionFolders),
                 rt::AccessorProperty("RunAutomatic", &I::RunAutomatic, &I::SetRunAutomatic),
                 rt::AccessorProperty("UseLoadingProgram", &I::UseLoadingProgram, &I::SetUseLoadingProgram),
                 rt::Property("OnAfterReadArchiveInfo", &I::OnAfterReadArchiveInfo),
                 rt::Property("OnBeforeReadArchiveInfo", &I::OnBeforeReadArchiveInfo),
                 rt::Property("OnShowBadInstall", &I::OnShowBadInstall), rt::Property("OnShowGoodInstall", &I::OnShowGoodInstall),
                 rt::Property("OnStartInstall", &I::OnStartInstall), rt::Property("OnBeforeTerminateApp", &I::OnBeforeTerminateApp),
                 rt::Property("OnUserAbort", &I::OnUserAbort), rt::Property("OnCleanup", &I::OnCleanup),
                 rt::Property("OnRebootWindows", &I::OnRebootWindows),
                 rt::Property("OnShowInstallTypeDlg", &TInstallContainer::OnShowInstallTypeDlg)})
            props.push_back(std::move(p));
        return rt::TClassInfo{"TInstall", &TFileContainer::StaticClass(), rt::Factory<TInstall>(), std::move(props), {}};
    }();
    return info;
}

TInstall::TInstall(rt::TComponent* owner)
    : TFileContainer(owner),
      FInformation(new TInstallInformation),
      FPresetupFiles(new rt::TStringList),
      FDistributionFolders(new rt::TStringList) {
    // The rules are checked before this becomes the root; a throw here unwinds the bases,
    // which take the half-made component out of its owner and the registry again.
    auto release = [this] {
        delete FInformation;
        delete FPresetupFiles;
        delete FDistributionFolders;
    };
    if (InstallRoot()) {
        release();
        throw EAITwoInstallComponents();
    }
    if (!owner || !owner->InheritsFrom(rt::TCustomForm::StaticClass())) {
        release();
        throw EAIParentNotForm(owner);
    }
    FOwnerWindow = static_cast<rt::TCustomForm*>(owner);
    SetInstallRoot(this);
    SetDestDir("\\MyApplication");
    StoreDestDirType(TPathSpecifiers::ddProgramFilesDir);
    TFileRelated::SetArchiveFile("\\files.1");
    TFileRelated::SetArchiveFileType(TPathSpecifiers::ddLoading);
    if (rt::TApplication* app = rt::Application())
        app->OnException = rt::TEvent<rt::TObject*, const std::exception&>(this, &TInstall::HandleException);
}

TInstall::~TInstall() {
    delete FInformation;
    delete FPresetupFiles;
    delete FDistributionFolders;
    if (!IsDesigning()) Unhook();
    // An application that outlives the root must not call into it.
    if (rt::TApplication* app = rt::Application(); app && app->OnException.Data() == this) app->OnException.Clear();
    if (InstallRoot() == this) SetInstallRoot(nullptr);
}

void TInstall::Unhook() {
    // The window may keep an empty handler; it must never keep one that points here.
    if (FOwnerWindow && !FOwnerWindow->IsDestroying() && FOwnerWindow->OnActivate.Data() == this)
        FOwnerWindow->OnActivate = FSavedOnActivate;
}

// ---- modes ----

void TInstall::Loaded() {
    TFileContainer::Loaded();
    if (IsDesigning()) return;
    switch (SetupModeOf(SetupArguments())) {
    case TSetupMode::smBuild:
        LogLine("Building the distribution");
        BuildFromInf();
        SetupState().Outcome = TSetupOutcome::soGood;
        TerminateApplication();
        return;
    case TSetupMode::smResume:
        LogLine("Resuming after the restart");
        ResumeAfterReboot();
        return;
    case TSetupMode::smInstall: break;
    }
    FSavedOnActivate = FOwnerWindow->OnActivate;
    FOwnerWindow->OnActivate = rt::TNotifyEvent(this, &TInstall::OwnerActivate);
}

void TInstall::OwnerActivate(rt::TObject*) {
    if (FActivated) return;
    FSavedOnActivate(FOwnerWindow);
    FActivated = true;
    if (!FRunAutomatic) return;
    Unhook();
    Process();
}

// ---- the run ----

void TInstall::ReadSourceDirectory() {
    os::IPlatform& platform = os::Current();
    if (!FUseLoadingProgram) {
        FSourceDirectory = rt::ExcludeTrailingBackslash(rt::ExtractFilePath(platform.ModuleFileName()));
        return;
    }
    // A path with spaces may arrive split into several parameters; setup's switches follow it.
    const std::vector<std::string> args = SetupArguments();
    if (args.empty()) throw rt::Exception("Cannot read the SourceDirectory. It was not passed from the setup.exe program");
    std::string joined = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) joined += " " + args[i];
    FSourceDirectory = joined;
    LogLine("Source directory " + FSourceDirectory);
}

void TInstall::Process() {
    ReadSourceDirectory();
    // A normal run forgets what an earlier interrupted run left.
    ClearUnfinishedList();
    OnBeforeReadArchiveInfo(this);
    BroadcastStage(this, "eccBeforeReadArchiveInfo", nullptr);
    // Reading every header may take a while on diskettes.
    const rt::TCursor savedCursor = FOwnerWindow->Cursor();
    FOwnerWindow->SetCursor(rt::crHourGlass);
    RunWithFinally([this] { ReadArchiveInfo(); }, [this, savedCursor] { FOwnerWindow->SetCursor(savedCursor); });
    OnAfterReadArchiveInfo(this);
    BroadcastStage(this, "eccAfterReadArchiveInfo", nullptr);
    OnStartInstall(this);
    for (const char* stage : {"eccStartingUp", "eccBeginningDialogManager", "eccWelcomeDialog", "eccUserInformation",
                              "eccLicenseAgreement", "eccReadmeDialog"})
        BroadcastStage(this, stage, nullptr);
    TFileContainer::Process();
    // A Cancel confirmed on the copy page may come after the last buffer that could notice
    // it; the user asked to leave, so the run ends as cancelled, never as complete.
    if (SetupState().UserCancelled) throw EAIUserAbort();

    bool& rebootNeeded = SetupState().RebootNeeded;
    const bool restartWanted = rebootNeeded;
    if (restartWanted) {
        // The reboot page may clear the flag, and so may the handler.
        BroadcastStage(this, "ShutDownDialog", nullptr);
        if (rebootNeeded) OnRebootWindows(this, rebootNeeded);
        SetupState().Outcome = TSetupOutcome::soGoodRestart;
        LogLine(rebootNeeded ? "Installed; restarting Windows" : "Installed; files wait for a restart the user put off");
        if (rebootNeeded) RebootWindows();
        // Files wait for the restart: no good page and no clean-up, restarted or not.
        TerminateApplication();
        return;
    }
    EndGood();
}

void TInstall::EndGood() {
    SetupState().Outcome = TSetupOutcome::soGood;
    LogLine("Installed");
    BroadcastStage(this, "GoodInstallation", nullptr);
    OnShowGoodInstall(this);
    AfterGoodInstall();
    CleanUpAndTerminate();
}

void TInstall::CleanUpAndTerminate() {
    bool cleanUp = true;
    OnCleanup(this, cleanUp);
    if (cleanUp) DeletePresetupFiles();
    if (!FRunAutomatic) return;
    bool quitOut = true;
    OnBeforeTerminateApp(this, quitOut);
    if (quitOut) TerminateApplication();
}

void TInstall::AfterGoodInstall() {}

void TInstall::HandleException(rt::TObject*, const std::exception& e) {
    SetupState().Outcome = OutcomeOf(e);
    LogLine(std::string(SetupState().Outcome == TSetupOutcome::soCancelled ? "Cancelled: " : "Error: ") + e.what());
    BroadcastStage(this, "BadInstallation", nullptr);
    OnShowBadInstall(this);
    // The bad installation page is the only report of what went wrong.
    if (dynamic_cast<const EAIUserAbort*>(&e)) CleanUpAndTerminate();
    else TerminateApplication();
}

void TInstall::DeletePresetupFiles() {
    if (IsDesigning()) return;
    os::IPlatform& platform = os::Current();
    const std::string programDir = rt::ExtractFilePath(platform.ModuleFileName());
    for (int i = 0; i < FPresetupFiles->Count(); ++i) platform.DeleteFile(programDir + rt::ExtractFileName(FPresetupFiles->Strings(i)));
}

void TInstall::RebootWindows() {
    os::IPlatform& platform = os::Current();
    // A failing privilege step is silent: the request is made anyway and its refusal reported.
    if (platform.GetVersion().Platform == os::PlatformId::NT) platform.EnableShutdownPrivilege();
    if (platform.RequestRestart()) return;
    LogLine("Could not reboot windows");
    if (SetupOptions().Unattended()) return;
    const std::string caption = rt::Application() ? rt::Application()->Title() : std::string();
    platform.MessageBox("Could not reboot windows. Please manually reboot windows.", caption, os::kMbOk);
}

void TInstall::SetPresetupFiles(const rt::TStrings& v) {
    FPresetupFiles->BeginUpdate();
    FPresetupFiles->Clear();
    for (int i = 0; i < v.Count(); ++i)
        if (!rt::Trim(v.Strings(i)).empty()) FPresetupFiles->Add(v.Strings(i));
    FPresetupFiles->EndUpdate();
}

void TInstall::SetUseLoadingProgram(bool v) {
    FUseLoadingProgram = v;
    if (v && !IsLoading()) {
        SetArchiveFileType(TPathSpecifiers::ddLoading);
        SetArchiveFile("\\files.1");
    }
}

bool TInstall::UserAbortQuery() {
    bool quitOut = true;
    OnUserAbort(this, quitOut);
    return quitOut;
}

void TInstall::AddUnfinishedEntry(const std::string& subject, int action) {
    WriteRegistryString(TRootKeys::hkLocalMachine, kUnfinishedInstallKey, subject, rt::IntToStr(action));
}

// ---- the unfinished-install list and the resume ----

void TInstall::ClearUnfinishedList() { os::Current().RegDeleteTree(os::RootKey::LocalMachine, kUnfinishedInstallKey); }

void TInstall::ReadUnfinishedList(rt::TStrings& list) {
    list.Clear();
    rt::TRegistry reg(os::RootKey::LocalMachine);
    if (!reg.OpenKeyReadOnly(kUnfinishedInstallKey)) return;
    for (const std::string& name : reg.GetValueNames()) {
        std::string data;
        try {
            data = reg.ReadString(name);
        } catch (const rt::ERegistryException&) {
            // Not text: the line then carries no code and the resume reports it.
        }
        list.Add(name + ";" + data);
    }
}

void TInstall::ResumeAfterReboot() {
    rt::TStringList list;
    ReadUnfinishedList(list);
    os::IPlatform& platform = os::Current();
    // Every entry gets its turn; the failures are reported once the others have run.
    std::vector<std::string> failures;
    std::exception_ptr first;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& line = list.Strings(i);
        // The subject is a value name, which may itself hold ";" (a file path); the code is
        // what follows the last one.
        const std::size_t split = line.rfind(';');
        const std::string subject = line.substr(0, split);
        // Off the list before it runs: a component that needs yet another restart records
        // itself again, and that entry must stay.
        ForgetUnfinishedEntry(subject);
        int code = 0;
        if (split == std::string::npos || !rt::TryStrToInt(line.substr(split + 1), code)) {
            // Can never be carried out, so it is not kept.
            failures.push_back("There is an invalid entry for the unfinished install list " + line);
            continue;
        }
        try {
            switch (code) {
            case kUnfinishedResumeComponent: {
                // The list may change while components resume; the root itself is resuming already.
                const std::vector<TInstallContainer*> components = InstallComponents();
                for (TInstallContainer* component : components)
                    if (component != this && rt::SameText(component->Name(), subject)) component->ResumeAfterReboot();
                break;
            }
            case kUnfinishedDeleteFile: platform.DeleteFile(subject); break;
            case kUnfinishedDeleteProgramItem:
                try {
                    if (StartupItemRemover()) StartupItemRemover()(subject);
                } catch (const std::exception&) {
                }
                break;
            default: break;
            }
        } catch (const std::exception& e) {
            // Kept for the next start, which may find what it needs.
            failures.push_back(e.what());
            if (!first) first = std::current_exception();
            AddUnfinishedEntry(subject, code);
        }
    }
    {
        rt::TRegistry reg(os::RootKey::LocalMachine);
        const bool empty = !reg.OpenKeyReadOnly(kUnfinishedInstallKey) || reg.GetValueNames().empty();
        reg.CloseKey();
        if (empty) ClearUnfinishedList();
    }
    // A single failure keeps its own kind; several are told together, a line each.
    if (failures.size() == 1 && first) std::rethrow_exception(first);
    if (!failures.empty()) {
        std::string text = failures.front();
        for (std::size_t i = 1; i < failures.size(); ++i) text += "\r\n" + failures[i];
        throw rt::Exception(text);
    }
    EndGood();
}

void TInstall::ForgetUnfinishedEntry(const std::string& subject) {
    rt::TRegistry reg(os::RootKey::LocalMachine);
    if (reg.OpenKey(kUnfinishedInstallKey, false)) reg.DeleteValue(subject);
}

void TInstall::AddResumeLink() {
    TInstallContainer* link = CreateShellLinkByName(this, "QuenfoldAddLink", "that resumes setup after the restart");
    FreeOnExit discard(link);
    rt::SetPropValue(*link, "ObjectLocationType", static_cast<std::int64_t>(TPathSpecifiers::ddAbsolute));
    rt::SetPropValue(*link, "ObjectLocation", os::Current().ModuleFileName());
    rt::SetPropValue(*link, "Parameters", std::string("*ABOOT"));
    const int kind = PlatformClass();
    AddStartupShortcut(*link, kind == 1 || kind == 2);
}

void TInstall::AddStartupShortcut(TInstallContainer& link, bool inStartupFolder) {
    const std::string linkName = std::get<std::string>(rt::GetPropValue(link, "LinkName"));
    if (inStartupFolder) {
        rt::SetPropValue(link, "DestDirType", static_cast<std::int64_t>(TPathSpecifiers::ddStartUpMenuDir));
        rt::SetPropValue(link, "DestDir", std::string());
        AddUnfinishedEntry(AddBackslash(link.GetDestDir()) + linkName, kUnfinishedDeleteFile);
    } else {
        // The folder text follows the program menu's path directly, so it needs its backslash.
        rt::SetPropValue(link, "DestDirType", static_cast<std::int64_t>(TPathSpecifiers::ddProgramMenuDir));
        rt::SetPropValue(link, "DestDir", std::string("\\Startup"));
        AddUnfinishedEntry(rt::ChangeFileExt(linkName, ""), kUnfinishedDeleteProgramItem);
    }
    // As a whole, like any shortcut of the run: its events fire and the uninstaller hears of it.
    link.Process();
}
