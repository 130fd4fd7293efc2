// The base of every install component that names an archive: files, file groups and the
// install root.
#pragma once

#include "engine/cmp_TInstallContainer.h"

class TFileRelated : public TBaseHelperComponent {
    RT_CLASS(TFileRelated, TBaseHelperComponent)
public:
    explicit TFileRelated(rt::TComponent* owner);

    TlzhCommand AddToArchive() const { return FAddToArchive; }
    void SetAddToArchive(TlzhCommand v) { FAddToArchive = v; }
    const std::string& ArchiveFile() const { return FArchiveFile; }
    virtual void SetArchiveFile(const std::string& value);
    TPathSpecifiers ArchiveFileType() const { return FArchiveFileType; }
    virtual void SetArchiveFileType(TPathSpecifiers value);

private:
    TlzhCommand FAddToArchive = TlzhCommand::lzcOverwrite;
    std::string FArchiveFile;
    TPathSpecifiers FArchiveFileType = TPathSpecifiers::ddAbsolute;
};
