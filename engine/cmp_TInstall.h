// The root of the install description: product information, the main installation
// directory, and the run that walks the tree when the main window first activates.
#pragma once

#include "engine/cmp_TFileContainer.h"

// The unfinished-install list: work left for after the restart, one string value per piece
// of work under HKEY_LOCAL_MACHINE, named by its subject, holding its action code in decimal.
inline const std::string kUnfinishedInstallKey = "\\SOFTWARE\\QUENFOLDINSTALLING";
constexpr int kUnfinishedResumeComponent = 0;  // subject: an install component's name
constexpr int kUnfinishedDeleteFile = 1;       // subject: a full file path
constexpr int kUnfinishedDeleteProgramItem = 2; // subject: an item of the Program Manager group "Startup"

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
    // not a form; either way before becoming the root.
    explicit TInstall(rt::TComponent* owner);
    ~TInstall() override;

    bool AutoMaximizeWindow() const { return FAutoMaximizeWindow; }
    void SetAutoMaximizeWindow(bool v) { FAutoMaximizeWindow = v; }
    TInstallInformation* Information() const { return FInformation; }
    rt::TPersistent* InformationObject() const { return FInformation; }
    rt::TStrings* PresetupFiles() const { return FPresetupFiles; }
    // Blank lines are dropped.
    void SetPresetupFiles(const rt::TStrings& v);
    bool RunAutomatic() const { return FRunAutomatic; }
    void SetRunAutomatic(bool v) { FRunAutomatic = v; }
    bool UseLoadingProgram() const { return FUseLoadingProgram; }
    // Turning it on also points the archive at "\files.1" beside the loaded program.
    void SetUseLoadingProgram(bool v);

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
    bool FAutoMaximizeWindow = true;
    TInstallInformation* FInformation;
    rt::TStringList* FPresetupFiles;
    bool FRunAutomatic = true;
    bool FUseLoadingProgram = true;
    std::string FSourceDirectory;
};
