// The root of the install description: product information, the main installation
// directory, and the run that walks the tree when the main window first activates.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/cmp_TFileContainer.h"

namespace rt {
class TCustomForm;
}

// The unfinished-install list: work left for after the restart, one string value per piece
// of work under HKEY_LOCAL_MACHINE, named by its subject, holding its action code in decimal.
inline const std::string kUnfinishedInstallKey = "\\SOFTWARE\\QUENFOLDINSTALLING";
constexpr int kUnfinishedResumeComponent = 0;  // subject: an install component's name
constexpr int kUnfinishedDeleteFile = 1;       // subject: a full file path
constexpr int kUnfinishedDeleteProgramItem = 2; // subject: an item of the Program Manager group "Startup"

// What a start of the program is for, from its first command-line parameter: "*BUILD"
// builds the distribution, "*ABOOT" resumes after a restart (both without regard to case);
// anything else installs.
enum class TSetupMode { smInstall, smBuild, smResume };
TSetupMode SetupModeOf(const std::vector<std::string>& args);

// Build mode asks where the kit's loader program lives when the registry does not say; the
// application installs a form here that returns the folder the developer picked. Without
// one, a missing folder is a missing loader.
void SetKitFolderPrompt(std::function<std::string()> prompt);

// Removes an item from the Program Manager group "Startup" after a restart. The Program
// Manager client belongs to the system layer, which installs itself here when its classes
// are registered.
void SetStartupItemRemover(std::function<void(const std::string& item)> remover);

// A shortcut component owned by owner and called name. Shortcuts belong to the system layer,
// which builds on the engine; the engine makes them by registered class name and sets them
// through published properties. Raises, naming what the shortcut was for, when the class is
// not registered.
TInstallContainer* CreateShellLinkByName(rt::TComponent* owner, const std::string& name, const std::string& purpose);

// Where build mode finds the kit's loader program.
inline const std::string kKitRegistryKey = "\\Software\\Orvanelle\\Quenfold96";
inline const std::string kKitFolderValue = "QuenfoldDirectory";
inline const std::string kLoaderProgramName = "QuenfoldLoadProgram.exe";

// Company, product and version of what is installed; held by the root.
class TInstallInformation : public rt::TPersistent {
    RT_CLASS(TInstallInformation, rt::TPersistent)
public:
    const std::string& CompanyName() const { return FCompanyName; }
    void SetCompanyName(const std::string& v) { FCompanyName = v; }
    const std::string& ProductName() const { return FProductName; }
    void SetProductName(const std::string& v) { FProductName = v; }
    const std::string& Version() const { return FVersion; }
    void SetVersion(const std::string& v) { FVersion = v; }
    void Assign(const rt::TPersistent& source) override;

private:
    std::string FCompanyName = "Default Company Name";
    std::string FProductName = "Default Product Name";
    std::string FVersion = "1.0";
};

class TInstall : public TFileContainer {
    RT_CLASS(TInstall, TFileContainer)
public:
    // Raises EAITwoInstallComponents when a root exists and EAIParentNotForm when owner is
    // not a form; either way before becoming the root. Becomes the application's exception
    // handler.
    explicit TInstall(rt::TComponent* owner);
    ~TInstall() override;

    // Decides the mode: builds and terminates, resumes, or hooks the owner window's first
    // activation (never in a designer).
    void Loaded() override;
    // The run: the source directory, the archive headers, the stages and pages, every
    // helper in install order, then the restart or the good end with its clean-up.
    void Process() override;
    // Carries out the unfinished-install list left before the restart, then ends as a good
    // installation.
    void ResumeAfterReboot() override;

    bool AutoMaximizeWindow() const { return FAutoMaximizeWindow; }
    void SetAutoMaximizeWindow(bool v) { FAutoMaximizeWindow = v; }
    TInstallInformation* Information() const { return FInformation; }
    rt::TPersistent* InformationObject() const { return FInformation; }
    rt::TStrings* PresetupFiles() const { return FPresetupFiles; }
    // Folders beside the setup program that build mode copies whole into the distribution:
    // content setup reads from its source directory rather than from the archive.
    rt::TStrings* DistributionFolders() const { return FDistributionFolders; }
    void SetDistributionFolders(const rt::TStrings& v) { FDistributionFolders->Assign(v); }
    // Blank lines are dropped.
    void SetPresetupFiles(const rt::TStrings& v);
    bool RunAutomatic() const { return FRunAutomatic; }
    void SetRunAutomatic(bool v) { FRunAutomatic = v; }
    bool UseLoadingProgram() const { return FUseLoadingProgram; }
    // Turning it on also points the archive at "\files.1" beside the loaded program.
    void SetUseLoadingProgram(bool v);

    // Builds "setup.exe", "setup.1" (with the loader) and the archive "files.1" in buildDir.
    virtual void Build(const std::string& exeName, const std::string& buildDir);
    // Puts a shortcut that starts this program with "*ABOOT" into the start-up place and
    // records it for removal after the resume.
    virtual void AddResumeLink();
    // The application's exception handler: a user abort ends with the bad installation page
    // and clean-up; anything else with the page and the end of the application.
    virtual void HandleException(rt::TObject* sender, const std::exception& e);
    // Deletes the presetup files beside the running program; errors are ignored.
    virtual void DeletePresetupFiles();
    // The unfinished-install list as lines "subject;code"; empty when there is none.
    virtual void ReadUnfinishedList(rt::TStrings& list);
    // Called after the good installation page; for descendants.
    virtual void AfterGoodInstall();
    // Where the sources are: beside the program, or the command line the loader passed.
    virtual void ReadSourceDirectory();
    // Packs the program and its presetup files into buildDir\setup.1.
    virtual void CreateSetupFile(const std::string& buildDir, const std::string& exeName);
    // Forgets the unfinished-install list; a missing list is no error.
    virtual void ClearUnfinishedList();
    // Takes one subject off the unfinished-install list.
    void ForgetUnfinishedEntry(const std::string& subject);
    // Puts a shortcut into the start-up place, records it for removal after the restart and
    // makes it: the start-up folder where the shell has one, else Program Manager's group.
    void AddStartupShortcut(TInstallContainer& link, bool inStartupFolder);
    // Asks the system to restart; a refusal is reported in a message box.
    void RebootWindows();

    bool Activated() const { return FActivated; }
    rt::TCustomForm* OwnerWindow() const { return FOwnerWindow; }

    rt::TNotifyEvent OnAfterReadArchiveInfo, OnBeforeReadArchiveInfo, OnShowBadInstall, OnShowGoodInstall, OnStartInstall;
    // Asks OnUserAbort whether the user may leave; pages ask before they abort.
    virtual bool UserAbortQuery();
    // Records work for after the restart; a later entry for the same subject replaces the
    // earlier one. EIRCannotWriteValue when the registry refuses it.
    virtual void AddUnfinishedEntry(const std::string& subject, int action);

    // Where the installation sources are: what ddLoading resolves to.
    const std::string& SourceDirectory() const { return FSourceDirectory; }
    void SetSourceDirectory(const std::string& v) { FSourceDirectory = v; }

    TUserAbortEvent OnBeforeTerminateApp, OnUserAbort;
    TCleanupEvent OnCleanup;
    TRebootWindowsEvent OnRebootWindows;

private:
    // The owner window's activation while hooked.
    void OwnerActivate(rt::TObject* sender);
    // Hands the window its own activation handler back, when it still holds the hook.
    void Unhook();
    // The pieces of a run's end the good end, a resume and an abort share.
    void EndGood();
    void CleanUpAndTerminate();
    // Reads BUILD.INF beside the program and builds into the directory its first line names.
    void BuildFromInf();
    // The full path of the kit's loader program; asks for its folder when the registry has none.
    std::string FindLoaderProgram();
    // Copies a file to buildDir under destName without compressing it.
    // Copies a folder with everything below it; a missing source or a failed copy raises.
    void CopyFolderTree(const std::string& from, const std::string& to);
    void CopyToBuildDir(const std::string& source, const std::string& destName, const std::string& buildDir);

    bool FActivated = false;
    rt::TNotifyEvent FSavedOnActivate;
    rt::TCustomForm* FOwnerWindow = nullptr;
    bool FAutoMaximizeWindow = true;
    TInstallInformation* FInformation;
    rt::TStringList* FPresetupFiles;
    rt::TStringList* FDistributionFolders;
    bool FRunAutomatic = true;
    bool FUseLoadingProgram = true;
    std::string FSourceDirectory;
};
