// One file of the product: where it comes from, where it goes, and the rules for
// replacing, counting and registering it.
#pragma once

#include "engine/cmp_TFileRelated.h"

class TInstallFile : public TFileRelated {
    RT_CLASS(TInstallFile, TFileRelated)
public:
    explicit TInstallFile(rt::TComponent* owner);

    const std::string& DestName() const { return FDestName; }
    void SetDestName(const std::string& v) { FDestName = v; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& v) { FFileName = v; }
    TInstallFileType FileType() const { return FFileType; }
    void SetFileType(TInstallFileType v) { FFileType = v; }
    const std::string& IncludeFromDir() const { return FIncludeFromDir; }
    void SetIncludeFromDir(const std::string& v) { FIncludeFromDir = v; }
    TOverwriteType OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(TOverwriteType v) { FOverwriteMode = v; }
    bool RegisterAsActiveX_DLLStyle() const { return FRegisterDLLStyle; }
    void SetRegisterAsActiveX_DLLStyle(bool v) { FRegisterDLLStyle = v; }
    bool RegisterAsActiveX_EXEStyle() const { return FRegisterEXEStyle; }
    void SetRegisterAsActiveX_EXEStyle(bool v) { FRegisterEXEStyle = v; }
    bool RegisterAsHelp() const { return FRegisterAsHelp; }
    void SetRegisterAsHelp(bool v) { FRegisterAsHelp = v; }
    bool UpdateDLLCounter() const { return FUpdateDLLCounter; }
    void SetUpdateDLLCounter(bool v) { FUpdateDLLCounter = v; }
    TInstallFileState State() const { return FState; }
    virtual void SetState(TInstallFileState v);

    TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstallFile, OnBeforeCompress, OnBeforeCopy,
        OnBeforeInstallFile, OnReplacing;
    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;

private:
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
};
