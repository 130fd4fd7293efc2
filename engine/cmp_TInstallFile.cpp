// Install files: properties and their rules, the three operations, registration, shared
// counts and the uninstall record; see cmp_TInstallFile.h. Replacing a file in use is in
// cmp_TInstallFileReplace.cpp.
#include "engine/cmp_TInstallFile.h"

#include "engine/SetupLog.h"
#include "engine/SetupOptions.h"

#include "archive/BlockIO.h"
#include "engine/cmp_TFileContainer.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Finally.h"
#include "engine/routines_Registry.h"
#include "platform/VersionBlock.h"
#include "runtime/Forms.h"
#include "system/cmp_TVersion.h"

namespace {

const char* const kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
const char* const kDefaultDiskPrompt = "Please insert disk #";
// A server that registers itself in longer than this is left to finish on its own.
constexpr std::uint32_t kRegisterServerTimeoutMs = 60'000;
// Dependent DLLs must keep names that WININIT.INI can carry: 8.3 at most.
constexpr std::size_t kMaxDllNameLength = 12;

std::string Hex4(std::uint16_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) s[static_cast<std::size_t>(i)] = digits[value & 0xF];
    return s;
}

// The archive component's handlers belong to one operation of one file; they are taken off
// again when it ends, so no later operation calls a file that may be gone.
class ArchiveHandlers {
public:
    explicit ArchiveHandlers(TKembCompress& kc) : FKc(kc) {}
    ~ArchiveHandlers() {
        FKc.OnAborted.Clear();
        FKc.OnNewDisk.Clear();
        FKc.OnReplace.Clear();
        FKc.OnStatus.Clear();
    }
    ArchiveHandlers(const ArchiveHandlers&) = delete;
    ArchiveHandlers& operator=(const ArchiveHandlers&) = delete;

private:
    TKembCompress& FKc;
};

void SetOneLine(TKembCompress& kc, const std::string& line) {
    rt::TStringList lines;
    lines.Add(line);
    kc.SetFilesToProcess(lines);
}

}  // namespace

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
    InteractiveText()->Add(kDefaultDiskPrompt);
}

std::string TInstallFile::SourcePath() const { return AddBackslash(FIncludeFromDir) + FFileName; }

std::string TInstallFile::TargetPath() { return RemoveBackslash(GetDestDir()) + "\\" + FDestName; }

void TInstallFile::Inform(const std::string& eventName, rt::TObject* parameterObject) {
    if (Container()) Container()->DoInformationEventControl(this, eventName, parameterObject);
}

// ---- properties and their rules ----

void TInstallFile::CheckNotInContainer(TInstallContainer* container, const std::string& sourcePath) const {
    if (!container || !container->InheritsFrom(TFileContainer::StaticClass())) return;
    const TInstallFile* other = static_cast<TFileContainer*>(container)->FindFile(sourcePath);
    if (other && other != this) throw EAIIFDuplicateFileInGroup(sourcePath);
}

void TInstallFile::ApplyNameRules() {
    const std::string ext = rt::UpperCase(rt::ExtractFileExt(FFileName));
    FRegisterAsHelp = ext == ".HLP" || ext == ".CNT";
    bool selfRegistering = false;
    try {
        selfRegistering = IsSelfRegistering();
    } catch (const std::exception&) {
        selfRegistering = false;
    }
    if (ext == ".OCX") SetRegisterAsActiveX_DLLStyle(true);
    else if (ext == ".EXE" && selfRegistering) SetRegisterAsActiveX_EXEStyle(true);
    else SetRegisterAsActiveX_DLLStyle(selfRegistering);
    if (FRegisterDLLStyle || FRegisterEXEStyle) FUpdateDLLCounter = true;
}

void TInstallFile::SetFileName(const std::string& value) {
    if (IsLoading()) {
        FFileName = value;
        return;
    }
    if (value == FFileName) return;
    CheckNotInContainer(Container(), AddBackslash(FIncludeFromDir) + value);
    FFileName = value;
    SetDestName(value);
    ApplyNameRules();
}

void TInstallFile::SetIncludeFromDir(const std::string& value) {
    if (IsLoading()) {
        FIncludeFromDir = value;
        return;
    }
    if (value == FIncludeFromDir) return;
    CheckNotInContainer(Container(), AddBackslash(value) + FFileName);
    FIncludeFromDir = value;
    ApplyNameRules();
}

void TInstallFile::SetDestName(const std::string& value) {
    FDestName = value;
    if (IsLoading()) return;
    if (FFileType != TInstallFileType::iftNormal && value.size() > kMaxDllNameLength) {
        FDestName = "12345678.DLL";
        throw EAIIFDLLNameConflict(FFileName);
    }
}

void TInstallFile::SetFileType(TInstallFileType value) {
    if (IsLoading()) {
        FFileType = value;
        return;
    }
    if (value != TInstallFileType::iftNormal && FDestName.size() > kMaxDllNameLength) {
        FDestName = "12345678.DLL";
        throw EAIIFDLLNameConflict(FFileName);
    }
    // The destination follows the type; the type's own rules must not judge it yet.
    switch (value) {
    case TInstallFileType::iftApplicationSpecificDLL:
        TBaseHelperComponent::SetDestDirType(TPathSpecifiers::ddMainInstallDir);
        TInstallContainer::SetDestDir("\\System");
        break;
    case TInstallFileType::iftVendorSharedDLL:
        TBaseHelperComponent::SetDestDirType(TPathSpecifiers::ddCommonFilesDir);
        TInstallContainer::SetDestDir("\\System");
        FUpdateDLLCounter = true;
        break;
    case TInstallFileType::iftSystemWideDLL:
        TBaseHelperComponent::SetDestDirType(TPathSpecifiers::ddSystem);
        TInstallContainer::SetDestDir("");
        FOverwriteMode = TOverwriteType::owVersionDate;
        FUpdateDLLCounter = true;
        break;
    default:
        break;
    }
    FFileType = value;
}

void TInstallFile::SetDestDir(const std::string& value) {
    if (IsLoading()) return TInstallContainer::SetDestDir(value);
    switch (FFileType) {
    case TInstallFileType::iftApplicationSpecificDLL:
    case TInstallFileType::iftVendorSharedDLL: TInstallContainer::SetDestDir("\\System"); break;
    case TInstallFileType::iftSystemWideDLL: TInstallContainer::SetDestDir(""); break;
    default: TInstallContainer::SetDestDir(value); break;
    }
}

void TInstallFile::SetDestDirType(TPathSpecifiers value) {
    if (!IsLoading()) {
        // A typed DLL keeps its fixed destination when it moves to another container.
        if (FChangingContainer && FFileType != TInstallFileType::iftNormal) return;
        if (FFileType == TInstallFileType::iftApplicationSpecificDLL && value != TPathSpecifiers::ddMainInstallDir)
            throw rt::Exception("DestDirType must be set to ddMainInstall for iftApplicationSpecificDLL files");
        if (FFileType == TInstallFileType::iftVendorSharedDLL && value != TPathSpecifiers::ddCommonFilesDir)
            throw rt::Exception("DestDirType must be set to ddCommonFiles for iftVendorSharedDLL");
        if (FFileType == TInstallFileType::iftSystemWideDLL && value != TPathSpecifiers::ddSystem)
            throw rt::Exception("DestDirType must be set to ddSystem for iftSystemWideDLL files");
    }
    TBaseHelperComponent::SetDestDirType(value);
}

void TInstallFile::SetRegisterAsActiveX_DLLStyle(bool value) {
    FRegisterDLLStyle = value;
    if (value && !IsLoading()) {
        FRegisterEXEStyle = false;
        FUpdateDLLCounter = true;
    }
}

void TInstallFile::SetRegisterAsActiveX_EXEStyle(bool value) {
    FRegisterEXEStyle = value;
    if (value && !IsLoading()) {
        FRegisterDLLStyle = false;
        FUpdateDLLCounter = true;
    }
}

void TInstallFile::SetInteractiveText(const rt::TStrings& value) {
    if (!IsLoading() && value.Count() == 0) throw EAIIFNotEnoughTextLines();
    TFileRelated::SetInteractiveText(value);
}

void TInstallFile::SetContainer(TInstallContainer* value) {
    if (value == Container()) return;
    if (!IsLoading() && value) {
        if (!value->InheritsFrom(TFileContainer::StaticClass())) throw EAIIFNotFileContainer(Name());
        CheckNotInContainer(value, SourcePath());
    }
    FChangingContainer = true;
    RunWithFinally([&] { TFileRelated::SetContainer(value); }, [this] { FChangingContainer = false; });
}

void TInstallFile::SetState(TInstallFileState value) {
    if (IsLoading()) return;
    RunWithFinally(
        [&] {
            switch (value) {
            case TInstallFileState::ifsCompress: CompressFile(); break;
            case TInstallFileState::ifsInstall: Process(); break;
            case TInstallFileState::ifsCopying: CopyToDest(); break;
            case TInstallFileState::ifsNone: break;
            }
        },
        [this] { FState = TInstallFileState::ifsNone; });
}

// ---- the archive component's handlers ----

void TInstallFile::UserAborted(rt::TObject*) { throw EAIUserAbort(); }

void TInstallFile::RequestDisk(TKembCompress* kembCompress, std::int32_t diskNumber, std::string& path) {
    SetTag(0);
    TDiskParameter disk;
    disk.NewDisk = diskNumber;
    disk.Path = RemoveBackslash(rt::ExtractFilePath(GetArchivePath()));
    rt::TList list{this, &disk};
    if (OnNewDisk) OnNewDisk(this, diskNumber, disk.Path);
    BroadcastStage(this, "ChangeDisk", &list);
    Inform("eieChangeDisk", &list);
    if (!OnNewDisk && Tag() == 0) {
        // Nobody is there to put the disk in.
        if (SetupOptions().Unattended())
            throw EAIUnattendedRefusal("Setup needs disk " + rt::IntToStr(diskNumber) + " of the distribution, which is not in " + disk.Path);
        const std::string prompt = InteractiveText()->Count() > 0 ? InteractiveText()->Strings(0) : kDefaultDiskPrompt;
        const std::string caption = rt::Application() ? rt::Application()->Title() : std::string();
        const int answer = os::Current().MessageBox(prompt + rt::IntToStr(diskNumber), caption, os::kMbOkCancel | os::kMbIconInformation);
        kembCompress->SetAbort(answer == os::kIdCancel);
    }
    path = RemoveBackslash(disk.Path);
}

void TInstallFile::DoStatus(TKembCompress*, TlzhFileStats& fileStats) {
    TFileStatusParameter status;
    status.FileBytesDone = fileStats.FileBytesDone;
    status.FilePercentDone = fileStats.FilePercentDone;
    status.FileName = FFileName;
    status.FileStats = fileStats;
    status.TotalBytesDone = fileStats.TotalBytesDone;
    status.TotalPercentDone = fileStats.TotalPercentDone;
    rt::TList list{this, &status};
    OnStatus(this, fileStats.FilePercentDone, fileStats.TotalPercentDone);
    BroadcastStage(this, "CopyingFile", &status);
    switch (FState) {
    case TInstallFileState::ifsCompress: Inform("eieCompressingFile", &list); break;
    case TInstallFileState::ifsInstall: Inform("eieInstallingFile", &list); break;
    case TInstallFileState::ifsCopying: Inform("eieCopyingFile", &list); break;
    case TInstallFileState::ifsNone: break;
    }
}

// ---- operations ----

void TInstallFile::LogExtraction(const TKembCompress& kc) {
    const std::string target = TargetPath();
    if (!kc.LastFileExisted()) {
        LogLine("File " + target + ": written (it was not there)");
        return;
    }
    if (FReplacedAtRestart) {
        LogLine("File " + target + ": in use, replaced at the restart");
        return;
    }
    std::string why = "rule " + rt::EnumName(FOverwriteMode);
    const std::string archived = FVersion.empty() ? std::string("none") : FVersion;
    if (FOverwriteMode == TOverwriteType::owVersion || FOverwriteMode == TOverwriteType::owVersionDate) {
        if (kc.LastFileWritten()) {
            why += ", archived version " + archived + " newer" + (FOverwriteMode == TOverwriteType::owVersionDate ? " or dated later" : "");
        } else {
            // Read again only for the log, and only for a file kept.
            TVersionResource& versions = SharedVersionReader();
            versions.SetFileName(target);
            const std::string installed = versions.VersionInfo()->FileVersion;
            why += ", installed version " + (installed.empty() ? std::string("none") : installed) + " not older than the archived " + archived;
        }
    }
    LogLine("File " + target + (kc.LastFileWritten() ? ": written over the installed file (" : ": kept the installed file (") + why + ")");
}

void TInstallFile::ProcessHelpers() {
    FState = TInstallFileState::ifsInstall;
    FReplacedAtRestart = false;
    TKembCompress& kc = SharedKembCompress();
    ArchiveHandlers handlers(kc);
    try {
        Inform("eieBeforeInstallFile", this);
        OnBeforeInstallFile(this);
        const std::string destDir = GetDestDir();
        ForceRecordedDirectories(destDir);
        const std::string archive = GetArchivePath();
        if (rt::Trim(archive).empty()) throw EAIIFBlankArchiveFile(FFileName);
        kc.SetCompressedFile(archive);
        kc.SetExtractDirectory(destDir);
        kc.SetDestFileName(FDestName);
        kc.SetOverwrite(FOverwriteMode);
        kc.OnAborted = rt::TNotifyEvent(this, &TInstallFile::UserAborted);
        kc.OnNewDisk = TlzhNewDiskEvent(this, &TInstallFile::RequestDisk);
        kc.OnReplace = TlzhFileStatsEvent(this, &TInstallFile::ReplaceFile);
        kc.OnStatus = TlzhFileStatsEvent(this, &TInstallFile::DoStatus);
        SetOneLine(kc, SourcePath());
        kc.ExtractFiles();
        LogExtraction(kc);

        if (FRegisterAsHelp) {
            const std::vector<std::string> missing = MissingRegistryKeys(TRootKeys::hkLocalMachine, kHelpKey);
            WriteRegistryString(TRootKeys::hkLocalMachine, kHelpKey, rt::UpperCase(FDestName), destDir);
            NoteCreatedRegistryKeys(TRootKeys::hkLocalMachine, missing);
            AddUninstallItem(kUninstallHelpList, rt::UpperCase(FDestName) + ";" + destDir);
        }
        if (FUpdateDLLCounter && !IncrementSharedDLLCount()) throw EAIIFCannotUpdateDLLCountInRegistry(FFileName);
        // A file that waits for the restart is registered by the resumed run.
        if (FReplacedAtRestart && InstallRoot()) InstallRoot()->AddUnfinishedEntry(Name(), kUnfinishedResumeComponent);
        else Register();
        OnAfterInstallFile(this);
        Inform("eieAfterInstallFile", this);
        TFileRelated::ProcessHelpers();
    } catch (const rt::EAbort&) {
        // Quietly over: the closing steps run and the component's processing stops here.
        BroadcastStage(this, "DoneCopyingFiles", nullptr);
        kc.SetAbort(true);
        FState = TInstallFileState::ifsNone;
        throw;
    }
    BroadcastStage(this, "DoneCopyingFiles", nullptr);
    kc.SetAbort(true);
    FState = TInstallFileState::ifsNone;
}

void TInstallFile::CompressFile() {
    FState = TInstallFileState::ifsCompress;
    TKembCompress& kc = SharedKembCompress();
    ArchiveHandlers handlers(kc);
    try {
        OnBeforeCompress(this);
        Inform("eieBeforeCompressFile", this);
        const std::string archive = GetArchivePath();
        if (rt::Trim(archive).empty()) throw EAIIFBlankArchiveFile(FFileName);
        if (!Include()) rt::Abort();
        ForceDirectories(os::Current(), rt::ExtractFilePath(archive));
        kc.SetCompressedFile(archive);
        kc.OnAborted = rt::TNotifyEvent(this, &TInstallFile::UserAborted);
        kc.OnStatus = TlzhFileStatsEvent(this, &TInstallFile::DoStatus);
        SetOneLine(kc, SourcePath());
        kc.AddFiles(AddToArchive());
        OnAfterCompress(this);
        Inform("eieAfterCompressFile", this);
    } catch (const rt::EAbort&) {
    }
    FState = TInstallFileState::ifsNone;
    BroadcastStage(this, "DoneCopyingFiles", nullptr);
    kc.SetAbort(true);
}

void TInstallFile::CopyToDest() {
    FState = TInstallFileState::ifsCopying;
    TKembCompress& kc = SharedKembCompress();
    ArchiveHandlers handlers(kc);
    RunWithFinally(
        [&] {
            try {
                OnBeforeCopy(this);
                Inform("eieBeforeCopyFile", this);
                if (!Include()) return;
                ForceDirectories(os::Current(), GetDestDir());
                // The file's own rule decides, not the one the last operation left behind.
                kc.SetOverwrite(FOverwriteMode);
                kc.OnReplace = TlzhFileStatsEvent(this, &TInstallFile::ReplaceFile);
                kc.OnStatus = TlzhFileStatsEvent(this, &TInstallFile::DoStatus);
                kc.CopyFile(SourcePath(), TargetPath());
                OnAfterCopy(this);
                Inform("eieAfterCopyFile", this);
            } catch (const rt::EAbort&) {
            }
        },
        [this] {
            FState = TInstallFileState::ifsNone;
            BroadcastStage(this, "DoneCopyingFiles", nullptr);
        });
}

void TInstallFile::ReadArchiveInfo() {
    const std::string archive = GetArchivePath();
    if (rt::Trim(archive).empty()) throw EAIIFBlankArchiveFile(FFileName);
    TKembCompress& kc = SharedKembCompress();
    kc.SetCompressedFile(archive);
    const int index = kc.IndexOfFile(SourcePath());
    if (index < 0) return;
    TlzhFileStats stats;
    kc.GetFileStats(index, stats);
    FStoredSize = stats.Header.StoredSize;
    FFileSize = stats.Header.FileSize;
    FFileDate = stats.Header.FileDate;
    FVersion = stats.Header.FileVersion;
}

void TInstallFile::ReadSourceInfo() {
    const std::string source = SourcePath();
    {
        auto file = os::Current().OpenFile(source, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::ReadWrite);
        os::FileTime stamp = 0;
        if (!file || !file->GetTime(stamp)) throw EAIIFCouldNotOpenFileImage(source);
        const std::int64_t size = file->Size();
        FFileSize = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(size < 0 ? 0 : size);
        FFileDate = FileTimeToArchiveDate(stamp);
    }
    TVersionResource& reader = SharedVersionReader();
    reader.SetFileName(source);
    FVersion = reader.VersionInfo()->FileVersion;
}

// ---- registration, counts and the uninstall record ----

bool TInstallFile::IsSelfRegistering() {
    std::vector<std::uint8_t> block;
    if (!os::Current().GetFileVersionInfo(SourcePath(), block)) return false;
    std::uint16_t language = 0, codePage = 0;
    if (!QueryFirstTranslation(block, language, codePage)) return false;
    std::string ignored;
    return QueryVersionString(block, "\\StringFileInfo\\" + Hex4(language) + Hex4(codePage) + "\\OLESelfRegister", ignored);
}

bool TInstallFile::IncrementSharedDLLCount() {
    try {
        return IncrementRegistryCount(kSharedDllsKey, TargetPath());
    } catch (const EIRCannotWriteValue&) {
        throw rt::Exception("Could not open the key SharedDLLs key in the registry");
    }
}

namespace {

// The target both registration styles need: named and present.
std::string SupportTarget(TInstallFile& file) {
    if (rt::Trim(file.GetDestDir() + file.DestName()).empty())
        throw rt::Exception("Cannot get support information for the file because it is blank. File component: " + file.Name());
    const std::string target = file.TargetPath();
    if (!os::Current().FileExists(target)) throw rt::Exception("Cannot get support information for the following file " + target);
    return target;
}

}  // namespace

void TInstallFile::RegisterDLLStyle() {
    const std::string target = SupportTarget(*this);
    os::IPlatform& platform = os::Current();
    std::int32_t result = 0;
    switch (platform.CallLibraryFunction(target, "DllRegisterServer", result)) {
    case os::LibraryCall::NotLoaded:
        throw rt::Exception("Could load the ActiveX component when trying to register it. File component is " + Name() +
                            " The following value is the value of the GetLastError: " + rt::IntToStr(platform.LastError()));
    case os::LibraryCall::NoEntryPoint:
        throw rt::Exception("Cannot load the DllRegisterServer routine for the ActiveX component when trying to register it. " + Name());
    case os::LibraryCall::Called:
        if (result != 0) throw rt::Exception("DllRegisterServer returned an error of " + rt::IntToStr(result) + " for " + Name());
        break;
    }
}

void TInstallFile::RegisterEXEStyle() {
    const std::string target = SupportTarget(*this);
    os::IPlatform& platform = os::Current();
    // Quoted: unquoted, a path with blanks could start another program ("C:\Program.exe").
    if (!platform.RunHidden("\"" + target + "\" /REGSERVER", kRegisterServerTimeoutMs))
        throw rt::Exception("Could not execute /REGSERVER parameter for file: " + target + " for file comp: " + Name() +
                            " The following error code was reported by Windows " + rt::IntToStr(platform.LastError()));
}

void TInstallFile::Register() {
    if (FRegisterDLLStyle) RegisterDLLStyle();
    if (FRegisterEXEStyle) RegisterEXEStyle();
    if (FRegisterDLLStyle || FRegisterEXEStyle)
        LogLine("Registered " + TargetPath() + (FRegisterDLLStyle ? " (DllRegisterServer)" : " (/REGSERVER)"));
}

void TInstallFile::ResumeAfterReboot() { Register(); }

void TInstallFile::RecordUninstall(const std::string& uninstallKey) {
    if (FRegisterDLLStyle || FRegisterEXEStyle) {
        const std::string list = AddBackslash(uninstallKey) + "ActiveX";
        const int n = rt::StrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, list, "Entries", "0")) + 1;
        WriteRegistryString(TRootKeys::hkLocalMachine, list, "File" + rt::IntToStr(n), TargetPath() + (FRegisterEXEStyle ? ";1" : ";0"));
        WriteRegistryString(TRootKeys::hkLocalMachine, list, "Entries", rt::IntToStr(n));
        return;
    }
    // A database holds the user's work once the product has run: the uninstaller asks first.
    if (rt::SameText(rt::ExtractFileExt(FDestName), ".mdb")) {
        AddUninstallItem(kUninstallUserData, TargetPath());
        return;
    }
    AddUninstallFileEntry(uninstallKey, TargetPath());
}
