// File containers; see cmp_TFileContainer.h.
#include "engine/cmp_TFileContainer.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/cmp_TInstallFile.h"
#include "engine/routines_Finally.h"
#include "platform/Platform.h"

namespace {

std::int32_t Saturate(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < 0) return 0;
    return static_cast<std::int32_t>(value);
}

// The members of one kind, as the helper list holds them now.
template <class T>
std::vector<T*> Members(const TInstallContainer& container) {
    std::vector<T*> members;
    for (int i = 0; i < container.HelperCount(); ++i)
        if (container.Helpers(i)->InheritsFrom(T::StaticClass())) members.push_back(static_cast<T*>(container.Helpers(i)));
    return members;
}

// Lends a member the compress settings and gives its own back, also when compressing fails.
class LentSettings {
public:
    LentSettings(TFileRelated& member, bool force) : FMember(member), FSaved(member.SaveArchiveSettings()) {
        member.SetAddToArchive(TlzhCommand::lzcOnlyAdd);
        if (force) {
            member.SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
            member.SetArchiveFile("");
            member.SetInclude(true);
        }
    }
    ~LentSettings() { FMember.RestoreArchiveSettings(FSaved); }
    LentSettings(const LentSettings&) = delete;
    LentSettings& operator=(const LentSettings&) = delete;

private:
    TFileRelated& FMember;
    TFileRelated::TArchiveSettings FSaved;
};

// The archives a compress run has started, outermost container first: each is begun once,
// and an archive a container above is filling is never begun again below it.
std::vector<std::string>* gRunArchives = nullptr;

bool Started(const std::vector<std::string>& archives, const std::string& path) {
    return std::any_of(archives.begin(), archives.end(), [&](const std::string& a) { return rt::SameText(a, path); });
}

void DeleteArchive(const std::string& archive) {
    const std::string volume1 = rt::ChangeFileExt(archive, ".1");
    os::IPlatform& platform = os::Current();
    if (platform.FileExists(volume1) && !platform.DeleteFile(volume1)) throw rt::Exception("Cannot delete archive file " + archive);
}

}  // namespace

bool IsSelectedItem(const TInstallContainer& item) {
    const TInstallType selected = item.SelectedInstallType();
    return item.Include() && (selected == TInstallType::itAlways || item.InstallTypes().Contains(TInstallType::itAlways) ||
                              item.InstallTypes().Contains(selected));
}

// ---- parameter objects ----

const rt::TClassInfo& TDiskParameter::StaticClass() {
    static const rt::TClassInfo info{"TDiskParameter", &rt::TObject::StaticClass(), {}, {}, {}};
    return info;
}

const rt::TClassInfo& TFileStatusParameter::StaticClass() {
    static const rt::TClassInfo info{"TFileStatusParameter", &rt::TObject::StaticClass(), {}, {}, {}};
    return info;
}

// ---- TFileContainer ----

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

void TFileContainer::BeforeDestruction() {
    if (!IsDestroying()) FreeFiles();
    TFileRelated::BeforeDestruction();
}

void TFileContainer::SetState(TFileContainerState value) {
    if (IsLoading()) return;
    try {
        switch (value) {
        case TFileContainerState::fcsCompress: CompressFiles(false); break;
        case TFileContainerState::fcsInstall: Process(); break;
        case TFileContainerState::fcsCopy: CopyFiles(); break;
        case TFileContainerState::fcsNone: break;
        }
    } catch (...) {
        FState = TFileContainerState::fcsNone;
        throw;
    }
    FState = TFileContainerState::fcsNone;
}

void TFileContainer::StartOperation(TFileContainerState state, std::int64_t totalBytes) {
    FState = state;
    FTotalBytes = totalBytes;
    FBytesDone = 0;
}

void TFileContainer::PassUp(TInstallContainer* sender, const std::string& eventName, rt::TObject* parameterObject) {
    if (Container()) Container()->DoInformationEventControl(sender, eventName, parameterObject);
}

void TFileContainer::FreeFiles() {
    const std::vector<TInstallFile*> files = Members<TInstallFile>(*this);
    for (auto it = files.rbegin(); it != files.rend(); ++it) (*it)->Free();
}

TInstallFile* TFileContainer::FindFile(const std::string& path) const {
    for (TInstallFile* file : Members<TInstallFile>(*this))
        if (rt::SameText(file->SourcePath(), path)) return file;
    return nullptr;
}

void TFileContainer::ReadArchiveInfo() {
    for (TInstallFile* file : Members<TInstallFile>(*this)) file->ReadArchiveInfo();
    for (TFileContainer* nested : Members<TFileContainer>(*this)) nested->ReadArchiveInfo();
}

void TFileContainer::ReadSourceInfo() {
    for (TInstallFile* file : Members<TInstallFile>(*this)) file->ReadSourceInfo();
    for (TFileContainer* nested : Members<TFileContainer>(*this)) nested->ReadSourceInfo();
}

std::int64_t TFileContainer::Sum(bool all, std::int32_t (TInstallFile::*fact)() const, std::int64_t (TFileContainer::*nested)(bool)) {
    std::int64_t sum = 0;
    for (TInstallFile* file : Members<TInstallFile>(*this))
        if (all || IsSelectedItem(*file)) sum += (file->*fact)();
    for (TFileContainer* container : Members<TFileContainer>(*this))
        if (all || IsSelectedItem(*container)) sum += (container->*nested)(all);
    return sum;
}

std::int64_t TFileContainer::StoredBytes(bool all) { return Sum(all, &TInstallFile::StoredSize, &TFileContainer::StoredBytes); }

std::int64_t TFileContainer::FileBytes(bool all) { return Sum(all, &TInstallFile::FileSize, &TFileContainer::FileBytes); }

// ---- operations ----

void TFileContainer::CloseOperation() {
    FState = TFileContainerState::fcsNone;
    BroadcastStage(this, "DoneCopyingFiles", nullptr);
}

void TFileContainer::CompressFiles(bool force) {
    FState = TFileContainerState::fcsCompress;
    std::vector<std::string> runArchives;
    const bool outermost = !gRunArchives;
    if (outermost) gRunArchives = &runArchives;
    RunWithFinally([&] {
        OnBeforeProcess(this);
        if (Include()) {
            PassUp(this, "eieBPFileContainer", nullptr);
            ReadSourceInfo();
            StartOperation(TFileContainerState::fcsCompress, FileBytes(force));
            const std::string archive = GetArchivePath();
            if (AddToArchive() == TlzhCommand::lzcOverwrite) DeleteArchive(archive);
            if (!Started(*gRunArchives, archive)) gRunArchives->push_back(archive);
            if (!force) StartMemberArchives();
            // Nested containers first: the archive then lists a group's files together.
            for (TFileContainer* nested : Members<TFileContainer>(*this)) {
                LentSettings lent(*nested, force);
                nested->CompressFiles(force);
            }
            for (TInstallFile* file : Members<TInstallFile>(*this)) {
                LentSettings lent(*file, force);
                file->CompressFile();
            }
            OnAfterProcess(this);
            PassUp(this, "eieAPFileContainer", nullptr);
        }
    }, [&] {
        if (outermost) gRunArchives = nullptr;
        CloseOperation();
    });
}

// Members are lent "only add", which suits the archive they share with this container. A
// member that names an archive of its own would then add to what an earlier run left there,
// and the stale copy of a file stays the one found: such an archive is begun afresh.
void TFileContainer::StartMemberArchives() {
    std::vector<TFileRelated*> members;
    for (TFileContainer* nested : Members<TFileContainer>(*this)) members.push_back(nested);
    for (TInstallFile* file : Members<TInstallFile>(*this)) members.push_back(file);
    for (TFileRelated* member : members) {
        if (!member->Include()) continue;
        const std::string archive = member->GetArchivePath();
        if (Started(*gRunArchives, archive)) continue;
        DeleteArchive(archive);
        gRunArchives->push_back(archive);
    }
}

void TFileContainer::ProcessHelpers() {
    FState = TFileContainerState::fcsInstall;
    FHelpersCompleted = false;
    auto finish = [this] {
        SharedKembCompress().SetAbort(true);
        BroadcastStage(this, "DoneCopyingFiles", nullptr);
        OnCloseCopyFileDlg(this);
        FState = TFileContainerState::fcsNone;
    };
    RunWithFinally([&] {
        ReadArchiveInfo();
        OnShowFileGroupSelectionDlg(this);
        BroadcastStage(this, "eccBeforeInstallFileGroup", nullptr);
        PassUp(this, "eieBPFileContainer", nullptr);
        StartOperation(TFileContainerState::fcsInstall, StoredBytes(false));
        OnShowCopyFileDlg(this);
        TFileRelated::ProcessHelpers();
        PassUp(this, "eieAPFileContainer", nullptr);
        FHelpersCompleted = true;
    }, finish);
}

void TFileContainer::CopyFiles() {
    FState = TFileContainerState::fcsCopy;
    RunWithFinally([&] {
        OnBeforeProcess(this);
        if (Include()) {
            PassUp(this, "eieBPFileContainer", nullptr);
            ReadSourceInfo();
            StartOperation(TFileContainerState::fcsCopy, FileBytes(false));
            // Files before nested containers, the other way round from compressing.
            for (TInstallFile* file : Members<TInstallFile>(*this)) file->CopyToDest();
            for (TFileContainer* nested : Members<TFileContainer>(*this)) nested->CopyFiles();
            OnAfterProcess(this);
            PassUp(this, "eieAPFileContainer", nullptr);
        }
    }, [this] { CloseOperation(); });
}

// ---- notices from the members ----

void TFileContainer::DoNewDisk(TInstallFile* file, TDiskParameter& disk) {
    if (OnNewDisk) {
        OnNewDisk(file, disk.NewDisk, disk.Path);
        // The request is answered; the file shows no prompt of its own.
        file->SetTag(1);
    }
}

void TFileContainer::DoReplacing(TInstallFile* file) {
    OnReplacing(file);
    BroadcastStage(this, "ReplacingFile", file);
}

void TFileContainer::DoStatus(TInstallFile* file, TFileStatusParameter& status) {
    OnStatus(file, status.FilePercentDone, status.TotalPercentDone);
    BroadcastStage(this, "CopyingFile", &status);
}

namespace {

// The (file, parameter) list a progress or disk notice carries, checked as the messages say.
template <class P>
std::pair<TInstallFile*, P*> FileAndParameter(rt::TObject* parameterObject) {
    if (!parameterObject)
        throw rt::Exception("The ParameterObject is Nil in the DoInformationEventControl method of the TInstallFileGroup");
    if (!parameterObject->InheritsFrom(rt::TList::StaticClass())) throw rt::Exception("DoInformationEventControl--PO is not a TList object");
    const auto& list = static_cast<const rt::TList&>(*parameterObject);
    if (list.Count() < 2) throw rt::Exception("DoInformationEventControl--Not engouh parameters for status event");
    rt::TObject* first = list.Items(0);
    if (!first || !first->InheritsFrom(TInstallFile::StaticClass())) throw rt::Exception("DoInformationEventControl says bad first parameter");
    rt::TObject* second = list.Items(1);
    if (!second || !second->InheritsFrom(P::StaticClass())) throw rt::Exception("DoInformationEventControl says bad second parameter");
    return {static_cast<TInstallFile*>(first), static_cast<P*>(second)};
}

}  // namespace

void TFileContainer::ActOnProgress(const std::string& eventName, rt::TObject* parameterObject) {
    auto [file, status] = FileAndParameter<TFileStatusParameter>(parameterObject);
    const std::int64_t done = FBytesDone + status->FileBytesDone;
    status->TotalBytesDone = Saturate(done);
    status->TotalPercentDone = rt::PercentOf(done, FTotalBytes);
    DoStatus(file, *status);
    if (status->FileStats.FileFinished) {
        // Installing counts what is read from the archive; the other operations read files.
        FBytesDone += rt::SameText(eventName, "eieInstallingFile") ? status->FileStats.StoredSize : status->FileStats.FileSize;
    }
}

void TFileContainer::DoInformationEventControl(TInstallContainer* sender, const std::string& eventName, rt::TObject* parameterObject) {
    // Between operations nothing is counted, and nothing goes further up either.
    if (FState == TFileContainerState::fcsNone) return;
    if (rt::SameText(eventName, "eieInstallingFile") || rt::SameText(eventName, "eieCopyingFile") ||
        rt::SameText(eventName, "eieCompressingFile")) {
        ActOnProgress(eventName, parameterObject);
    } else if (rt::SameText(eventName, "eieReplaceInstallFile")) {
        if (!parameterObject)
            throw rt::Exception("The ParameterObject is Nil in the DoInformationEventControl method of the TFileContainer");
        if (!parameterObject->InheritsFrom(TInstallFile::StaticClass())) throw rt::Exception("DoInformationEventControl parameter is not TInstallFile");
        DoReplacing(static_cast<TInstallFile*>(parameterObject));
    } else if (rt::SameText(eventName, "eieChangeDisk")) {
        auto [file, disk] = FileAndParameter<TDiskParameter>(parameterObject);
        DoNewDisk(file, *disk);
        BroadcastStage(this, "ChangeDisk", parameterObject);
    }
    PassUp(sender, eventName, parameterObject);
}
