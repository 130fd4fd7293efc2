// Archive location of files and file containers; see cmp_TFileRelated.h.
#include "engine/cmp_TFileRelated.h"

#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"

const rt::TClassInfo& TFileRelated::StaticClass() {
    static const rt::TClassInfo info{"TFileRelated", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

TFileRelated::TFileRelated(rt::TComponent* owner) : TBaseHelperComponent(owner) {
    // Joined to a designer's root by the base constructor, which could not reach this
    // class's container rule.
    if (Container()) UseContainerArchive();
}

void TFileRelated::UseContainerArchive() {
    SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
    SetArchiveFile("");
}

void TFileRelated::SetArchiveFile(const std::string& value) { FArchiveFile = value; }

void TFileRelated::SetArchiveFileType(TPathSpecifiers value) {
    if (!IsLoading()) {
        if (value == TPathSpecifiers::ddLoading && !InstallRoot())
            throw rt::Exception("Cannot set the ArchiveFile property of " + Name() + " because there is not TInstall");
        if ((value == TPathSpecifiers::ddContainerDestDir || value == TPathSpecifiers::ddContainerArchiveFile) && !Container())
            throw rt::Exception("Cannot set the ArchiveFile property of " + Name() + " because the Container property is Nil");
        if (static_cast<int>(value) > static_cast<int>(TPathSpecifiers::ddContainerArchiveFile))
            throw rt::Exception("That path specifier is not allowed for the ArchiveFile property for " + Name());
    }
    FArchiveFileType = value;
}

std::string TFileRelated::GetArchivePath() {
    std::string base;
    switch (FArchiveFileType) {
    case TPathSpecifiers::ddAbsolute:
        break;
    case TPathSpecifiers::ddSystem:
    case TPathSpecifiers::ddWindows:
    case TPathSpecifiers::ddProgramFilesDir:
    case TPathSpecifiers::ddCommonFilesDir:
        base = RemoveBackslash(MachineDirectory(FArchiveFileType));
        break;
    case TPathSpecifiers::ddLoading:
        if (!InstallRoot())
            throw rt::Exception("Cannot expand the ArchiveFile property of " + Name() + " because there is no TInstall");
        base = RemoveBackslash(InstallRoot()->SourceDirectory());
        break;
    case TPathSpecifiers::ddContainerDestDir:
        if (!Container())
            throw rt::Exception("Cannot expand the ArchiveFile property of " + Name() + " because the Container is Nil");
        base = Container()->GetDestDir();
        break;
    case TPathSpecifiers::ddContainerArchiveFile:
        if (!Container()) throw rt::Exception("Cannot expand the ArchiveFile of " + Name() + " because the Container is Nil");
        if (!Container()->InheritsFrom(TFileRelated::StaticClass()))
            throw rt::Exception("Cannot expand the ArchiveFile of " + Name() + " because the Container is not TFileRelated");
        base = static_cast<TFileRelated*>(Container())->GetArchivePath();
        break;
    default:
        throw rt::Exception("That path specifier is not allowed for the ArchiveFile property for " + Name());
    }
    return RemoveBackslash(base + FArchiveFile);
}

void TFileRelated::SetContainer(TInstallContainer* value) {
    if (value == Container()) return;
    TBaseHelperComponent::SetContainer(value);
    if (IsLoading()) return;
    if (Container()) {
        UseContainerArchive();
    } else {
        SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    }
}

TFileRelated::TArchiveSettings TFileRelated::SaveArchiveSettings() const {
    return {FAddToArchive, FArchiveFileType, FArchiveFile, Include()};
}

void TFileRelated::RestoreArchiveSettings(const TArchiveSettings& saved) {
    FAddToArchive = saved.AddToArchive;
    FArchiveFileType = saved.ArchiveFileType;
    FArchiveFile = saved.ArchiveFile;
    SetInclude(saved.Include);
}
