// One file of the product: where it comes from, where it goes, and the rules for
// replacing, counting and registering it. Compresses itself into its container's archive at
// build time, installs from the archive (or copies its source) at install time, replaces a
// file in use at the next restart, and records itself for the uninstaller.
#pragma once

#include <cstdint>
#include <string>

#include "archive/cmp_TKembCompress.h"
#include "engine/cmp_TFileRelated.h"

class TFileStatusParameter;

class EAIIFNotFileContainer : public EAIIF {
public:
    explicit EAIIFNotFileContainer(const std::string& name)
        : EAIIF("The following TInstallFile component :" + name + ": requires the Container property to " +
                "be a component descended from the TFileContainer component") {}
};

class EAIIFNotEnoughTextLines : public EAIIF {
public:
    EAIIFNotEnoughTextLines() : EAIIF("The TInstallFile requires that there be at least 1 line in the InteractiveText property") {}
};

class EAIIFDLLNameConflict : public EAIIF {
public:
    explicit EAIIFDLLNameConflict(const std::string& fileName)
        : EAIIF("The following file :" + fileName + ": is specified to be a Shared DLL file. To be installed on the user's system, " +
                "shared DLLs must be loaded into the WININIT.INI. When the system reboots, the DLL will be installed.  However, the WININIT.INI " +
                "supports only old 8.3 character filenames. Therefore, please rename the DESTNAME property of the TInstallFile component") {}
};

class EAIIFCouldNotOpenFileImage : public EAIIF {
public:
    explicit EAIIFCouldNotOpenFileImage(const std::string& path)
        : EAIIF("Could not open or find the following file when trying to read the Size, Date, and Version :" + path) {}
};

class EAIIFDuplicateFileInGroup : public EAIIF {
public:
    explicit EAIIFDuplicateFileInGroup(const std::string& path) : EAIIF("There is already a file with the name :" + path) {}
};

class EAIIFCannotUpdateDLLCountInRegistry : public EAIIF {
public:
    explicit EAIIFCannotUpdateDLLCountInRegistry(const std::string& fileName)
        : EAIIF("Cannot update the DLL count for the following file :" + fileName + ":") {}
};

class EAIIFBlankArchiveFile : public EAIIF {
public:
    explicit EAIIFBlankArchiveFile(const std::string& fileName)
        : EAIIF("Cannot either compress or decompress the following file because it's archive file property is blank. File is :" + fileName) {}
};

// Which Windows the file is replaced on: 0 Win32s, 1 Windows 95/98, 2 Windows NT 4 or later,
// 3 Windows NT 3.5x, 4 anything else.
int PlatformClass();

// Free names beside a file in use are tried up to this number (".1" to ".999").
constexpr int kMaxFreeNameNumber = 999;

class TInstallFile : public TFileRelated {
    RT_CLASS(TInstallFile, TFileRelated)
public:
    explicit TInstallFile(rt::TComponent* owner);

    const std::string& DestName() const { return FDestName; }
    virtual void SetDestName(const std::string& value);
    const std::string& FileName() const { return FFileName; }
    virtual void SetFileName(const std::string& value);
    TInstallFileType FileType() const { return FFileType; }
    virtual void SetFileType(TInstallFileType value);
    const std::string& IncludeFromDir() const { return FIncludeFromDir; }
    virtual void SetIncludeFromDir(const std::string& value);
    TOverwriteType OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(TOverwriteType v) { FOverwriteMode = v; }
    bool RegisterAsActiveX_DLLStyle() const { return FRegisterDLLStyle; }
    virtual void SetRegisterAsActiveX_DLLStyle(bool value);
    bool RegisterAsActiveX_EXEStyle() const { return FRegisterEXEStyle; }
    virtual void SetRegisterAsActiveX_EXEStyle(bool value);
    bool RegisterAsHelp() const { return FRegisterAsHelp; }
    void SetRegisterAsHelp(bool v) { FRegisterAsHelp = v; }
    bool UpdateDLLCounter() const { return FUpdateDLLCounter; }
    void SetUpdateDLLCounter(bool v) { FUpdateDLLCounter = v; }
    TInstallFileState State() const { return FState; }
    // Writing an operation's state runs it; reading gives ifsNone again once it ends.
    virtual void SetState(TInstallFileState value);

    TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstallFile, OnBeforeCompress, OnBeforeCopy,
        OnBeforeInstallFile, OnReplacing;
    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;

    // IncludeFromDir (with a backslash) + FileName: the file's key in the archive.
    std::string SourcePath() const;
    // The resolved DestDir + "\" + DestName.
    std::string TargetPath();

    // Facts read from the archive or the source file.
    std::int32_t StoredSize() const { return FStoredSize; }
    std::int32_t FileSize() const { return FFileSize; }
    double FileDate() const { return FFileDate; }
    const std::string& Version() const { return FVersion; }
    // Set while an install step found the target in use and left it for the restart.
    bool ReplacedAtRestart() const { return FReplacedAtRestart; }

    // The archive component's handlers.
    virtual void UserAborted(rt::TObject* sender);
    virtual void ReplaceFile(TKembCompress* kembCompress, TlzhFileStats& fileStats);
    void RequestDisk(TKembCompress* kembCompress, std::int32_t diskNumber, std::string& path);
    void DoStatus(TKembCompress* kembCompress, TlzhFileStats& fileStats);

    // The operations.
    virtual void CompressFile();
    virtual void CopyToDest();
    virtual void RegisterDLLStyle();
    virtual void RegisterEXEStyle();
    virtual void ReadArchiveInfo();
    virtual void ReadSourceInfo();
    // Whether the source's version resource names itself self-registering (OLESelfRegister).
    virtual bool IsSelfRegistering();
    // Adds one to the target's count in SharedDLLs; false when the key cannot be opened.
    virtual bool IncrementSharedDLLCount();

    void SetDestDir(const std::string& value) override;
    void SetDestDirType(TPathSpecifiers value) override;
    void SetInteractiveText(const rt::TStrings& value) override;
    void SetContainer(TInstallContainer* value) override;
    // The install step.
    void ProcessHelpers() override;
    void ResumeAfterReboot() override;
    void RecordUninstall(const std::string& uninstallKey) override;

private:
    // One line for the log: what the overwrite rule decided for the file just extracted, and why.
    void LogExtraction(const TKembCompress& kc);
    // Raises EAIIFDuplicateFileInGroup when the container holds another file with this source.
    void CheckNotInContainer(TInstallContainer* container, const std::string& sourcePath) const;
    // The help and registration rules that follow from a new name or source folder.
    void ApplyNameRules();
    // Hands an information event to the container.
    void Inform(const std::string& eventName, rt::TObject* parameterObject);
    // The shared archive component, with this file's handlers set for one operation.
    TKembCompress& PrepareArchive();
    void Register();

    // In-use replacement (cmp_TInstallFileReplace.cpp).
    std::string FreeName(const std::string& directory) const;
    void ReplaceAtRestart(const std::string& target, const std::string& freeName);
    void ReplaceByBatchFile(int platformClass, const std::string& shortTarget, const std::string& shortFree);
    void InstallBatchShortcut(int platformClass, const std::string& batchFile);

    std::string FDestName;
    std::string FFileName;
    TInstallFileType FFileType = TInstallFileType::iftNormal;
    std::string FIncludeFromDir;
    TOverwriteType FOverwriteMode = TOverwriteType::owAlways;
    bool FRegisterDLLStyle = false;
    bool FRegisterEXEStyle = false;
    bool FRegisterAsHelp = false;
    bool FUpdateDLLCounter = false;
    TInstallFileState FState = TInstallFileState::ifsNone;

    std::int32_t FStoredSize = 0;
    std::int32_t FFileSize = 0;
    double FFileDate = 0;
    std::string FVersion;
    bool FReplacedAtRestart = false;
    bool FChangingContainer = false;
};
