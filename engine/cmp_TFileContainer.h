// A file container: holds install files and nested containers and runs the file
// operations over them (compress into the archive, install from it, copy without it),
// adding up their progress and passing their notices upward.
#pragma once

#include <cstdint>
#include <string>

#include "archive/cmp_TKembCompress.h"
#include "engine/cmp_TFileRelated.h"

class TInstallFile;

// A volume asked for: which one, and the directory proposed for it (no trailing
// backslash). A handler that knows better changes Path.
class TDiskParameter : public rt::TObject {
    RT_CLASS(TDiskParameter, rt::TObject)
public:
    std::int32_t NewDisk = 0;
    std::string Path;
};

// Progress of one file, as every level of containers sees it on the way up: each level
// writes its own totals into TotalBytesDone and TotalPercentDone.
class TFileStatusParameter : public rt::TObject {
    RT_CLASS(TFileStatusParameter, rt::TObject)
public:
    std::int32_t FileBytesDone = 0;
    std::int32_t FilePercentDone = 0;
    std::string FileName;
    TlzhFileStats FileStats;
    std::int32_t TotalBytesDone = 0;
    std::int32_t TotalPercentDone = 0;
};

class TFileContainer : public TFileRelated {
    RT_CLASS(TFileContainer, TFileRelated)
public:
    explicit TFileContainer(rt::TComponent* owner);

    TFileContainerState State() const { return FState; }
    // Writing an operation's state runs it; reading gives fcsNone again once it ends.
    virtual void SetState(TFileContainerState value);

    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;
    TInstallContainerNotifyEvent OnShowCopyFileDlg, OnCloseCopyFileDlg, OnShowFileGroupSelectionDlg;

    // What the container does with its members' notices (also passed to its dialogs).
    virtual void DoNewDisk(TInstallFile* file, TDiskParameter& disk);
    virtual void DoReplacing(TInstallFile* file);
    virtual void DoStatus(TInstallFile* file, TFileStatusParameter& status);

    // Copies every member's source file to its destination, without the archive.
    virtual void CopyFiles();
    // Destroys the member files.
    virtual void FreeFiles();
    // Packs the tree into the archive. Force pours every member into this container's
    // archive, whatever its own settings say; those come back afterwards.
    virtual void CompressFiles(bool force);
    // The direct member whose source path is path, without regard to case; nullptr if none.
    virtual TInstallFile* FindFile(const std::string& path) const;
    // Every member file, then every nested container, reads its facts from the archive or
    // from its source file.
    virtual void ReadArchiveInfo();
    virtual void ReadSourceInfo();
    // Sums of the members' stored sizes and file sizes, nested containers included; with all
    // false only what is selected counts.
    virtual std::int64_t StoredBytes(bool all);
    virtual std::int64_t FileBytes(bool all);

    // The install step: the selection page, the copy page and the helpers in install order.
    void ProcessHelpers() override;
    void DoInformationEventControl(TInstallContainer* sender, const std::string& eventName, rt::TObject* parameterObject) override;

    // Whether the last install step went through all its helpers; false while it runs and
    // after a failure or a cancel (OnCloseCopyFileDlg runs in either case).
    bool HelpersCompleted() const { return FHelpersCompleted; }
    // The running operation's totals.
    std::int64_t TotalBytes() const { return FTotalBytes; }
    std::int64_t BytesDone() const { return FBytesDone; }

protected:
    // The published properties every file container shares.
    static std::vector<rt::TPropInfo> ContainerProps();
    void BeforeDestruction() override;
    // Hands an information event to the container above, if there is one.
    void PassUp(TInstallContainer* sender, const std::string& eventName, rt::TObject* parameterObject);

private:
    void StartOperation(TFileContainerState state, std::int64_t totalBytes);
    // Compress and copy end alike, also on failure.
    void CloseOperation();
    // Without Force: begins afresh each archive a member names besides this container's.
    void StartMemberArchives();
    std::int64_t Sum(bool all, std::int32_t (TInstallFile::*fact)() const, std::int64_t (TFileContainer::*nested)(bool));
    void ActOnProgress(const std::string& eventName, rt::TObject* parameterObject);

    TFileContainerState FState = TFileContainerState::fcsNone;
    bool FHelpersCompleted = false;
    // Sums of many files pass 2 GB; only the per-file records are 32-bit.
    std::int64_t FTotalBytes = 0;
    std::int64_t FBytesDone = 0;
};

// Whether an item takes part when only the selected install types count: included, and
// meant for every type or for the one selected.
bool IsSelectedItem(const TInstallContainer& item);
