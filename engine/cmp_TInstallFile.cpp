// Install files; see cmp_TInstallFile.h.
#include "engine/cmp_TInstallFile.h"

const rt::TClassInfo& TInstallFile::StaticClass() {
    using F = TInstallFile;
    static const rt::TClassInfo info{
        "TInstallFile", &TFileRelated::StaticClass(), rt::Factory<TInstallFile>(),
        {rt::AccessorProperty("AddToArchive", &TFileRelated::AddToArchive, &TFileRelated::SetAddToArchive),
         rt::AccessorProperty("ArchiveFile", &TFileRelated::ArchiveFile, &TFileRelated::SetArchiveFile),
         rt::AccessorProperty("ArchiveFileType", &TFileRelated::ArchiveFileType, &TFileRelated::SetArchiveFileType),
         rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
         rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
         rt::AccessorProperty("DestName", &F::DestName, &F::SetDestName),
         rt::AccessorProperty("FileName", &F::FileName, &F::SetFileName),
         rt::AccessorProperty("FileType", &F::FileType, &F::SetFileType),
         rt::AccessorProperty("Include", &TInstallContainer::Include, &TInstallContainer::SetInclude),
         rt::AccessorProperty("IncludeFromDir", &F::IncludeFromDir, &F::SetIncludeFromDir),
         rt::StringsProperty("InteractiveText", &TInstallContainer::InteractiveText, &TInstallContainer::SetInteractiveText),
         rt::AccessorProperty("OverwriteMode", &F::OverwriteMode, &F::SetOverwriteMode),
         rt::AccessorProperty("RegisterAsActiveX_DLLStyle", &F::RegisterAsActiveX_DLLStyle, &F::SetRegisterAsActiveX_DLLStyle),
         rt::AccessorProperty("RegisterAsActiveX_EXEStyle", &F::RegisterAsActiveX_EXEStyle, &F::SetRegisterAsActiveX_EXEStyle),
         rt::AccessorProperty("RegisterAsHelp", &F::RegisterAsHelp, &F::SetRegisterAsHelp),
         rt::AccessorProperty("State", &F::State, &F::SetState),
         rt::AccessorProperty("UpdateDLLCounter", &F::UpdateDLLCounter, &F::SetUpdateDLLCounter),
         rt::Property("OnAfterCompress", &F::OnAfterCompress), rt::Property("OnAfterCopy", &F::OnAfterCopy),
         rt::Property("OnAfterInstallFile", &F::OnAfterInstallFile), rt::Property("OnBeforeCompress", &F::OnBeforeCompress),
         rt::Property("OnBeforeCopy", &F::OnBeforeCopy), rt::Property("OnBeforeInstallFile", &F::OnBeforeInstallFile),
         rt::Property("OnReplacing", &F::OnReplacing), rt::Property("OnStatus", &F::OnStatus),
         rt::Property("OnNewDisk", &F::OnNewDisk)},
        {}};
    return info;
}

TInstallFile::TInstallFile(rt::TComponent* owner) : TFileRelated(owner) {
    SetOrdered(true);
    SetOrderNumber(kOrderFile);
    InteractiveText()->Add("Please insert disk #");
}

void TInstallFile::SetState(TInstallFileState v) {
    if (IsLoading()) return;
    FState = v;
}
