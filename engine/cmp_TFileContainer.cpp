// File containers; see cmp_TFileContainer.h.
#include "engine/cmp_TFileContainer.h"

std::vector<rt::TPropInfo> TFileContainer::ContainerProps() {
    return {rt::AccessorProperty("AddToArchive", &TFileRelated::AddToArchive, &TFileRelated::SetAddToArchive),
            rt::AccessorProperty("ArchiveFile", &TFileRelated::ArchiveFile, &TFileRelated::SetArchiveFile),
            rt::AccessorProperty("ArchiveFileType", &TFileRelated::ArchiveFileType, &TFileRelated::SetArchiveFileType),
            rt::AccessorProperty("State", &TFileContainer::State, &TFileContainer::SetState),
            rt::Property("OnCloseCopyFileDlg", &TFileContainer::OnCloseCopyFileDlg),
            rt::Property("OnShowCopyFileDlg", &TFileContainer::OnShowCopyFileDlg),
            rt::Property("OnShowFileGroupSelectionDlg", &TFileContainer::OnShowFileGroupSelectionDlg),
            rt::Property("OnNewDisk", &TFileContainer::OnNewDisk),
            rt::Property("OnReplacing", &TFileContainer::OnReplacing),
            rt::Property("OnStatus", &TFileContainer::OnStatus)};
}

const rt::TClassInfo& TFileContainer::StaticClass() {
    static const rt::TClassInfo info{"TFileContainer", &TFileRelated::StaticClass(), {}, ContainerProps(), {}};
    return info;
}

TFileContainer::TFileContainer(rt::TComponent* owner) : TFileRelated(owner) {}

void TFileContainer::SetState(TFileContainerState value) {
    // Writing starts the operation; reading back gives fcsNone except while one runs.
    if (IsLoading() || value == TFileContainerState::fcsNone) return;
    FState = value;
    try {
        if (value == TFileContainerState::fcsInstall) Process();
    } catch (...) {
        FState = TFileContainerState::fcsNone;
        throw;
    }
    FState = TFileContainerState::fcsNone;
}
