// A file container: holds install files and nested containers and runs the file
// operations over them, adding up their progress and passing their notices upward.
#pragma once

#include "engine/cmp_TFileRelated.h"

class TFileContainer : public TFileRelated {
    RT_CLASS(TFileContainer, TFileRelated)
public:
    explicit TFileContainer(rt::TComponent* owner);

    TFileContainerState State() const { return FState; }
    virtual void SetState(TFileContainerState value);

    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;
    TInstallContainerNotifyEvent OnShowCopyFileDlg, OnCloseCopyFileDlg, OnShowFileGroupSelectionDlg;

protected:
    // The published properties every file container shares.
    static std::vector<rt::TPropInfo> ContainerProps();

private:
    TFileContainerState FState = TFileContainerState::fcsNone;
};
