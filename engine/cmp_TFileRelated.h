// The base of every install component that names an archive: files, file groups and the
// install root. The archive's path is a specifier and a text, as destinations are.
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
    // Validated outside loading: the base it names must be there to expand.
    virtual void SetArchiveFileType(TPathSpecifiers value);
    // The expanded archive path, without a trailing backslash.
    virtual std::string GetArchivePath();

    // A container of its own points the archive at the container's; without one the path
    // becomes absolute.
    void SetContainer(TInstallContainer* value) override;

    // The four settings a compress run lends to its members and gives back afterwards.
    struct TArchiveSettings {
        TlzhCommand AddToArchive;
        TPathSpecifiers ArchiveFileType;
        std::string ArchiveFile;
        bool Include;
    };
    TArchiveSettings SaveArchiveSettings() const;
    // Puts saved settings back as they were, without the setters' checks.
    void RestoreArchiveSettings(const TArchiveSettings& saved);

private:
    // The container's archive, blank name: where a member's files go by default.
    void UseContainerArchive();

    TlzhCommand FAddToArchive = TlzhCommand::lzcOverwrite;
    std::string FArchiveFile;
    TPathSpecifiers FArchiveFileType = TPathSpecifiers::ddAbsolute;
};
