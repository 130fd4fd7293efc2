// The archive component; see cmp_TKembCompress.h, and cmp_TFileHeaders.h for the format.
#include "archive/cmp_TKembCompress.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "runtime/Forms.h"
#include "runtime/SysUtils.h"
#include "system/cmp_TVersion.h"

namespace {

std::int32_t Saturate(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < 0) return 0;
    return static_cast<std::int32_t>(value);
}

std::uint8_t Pct(std::int64_t a, std::int64_t b) { return static_cast<std::uint8_t>(std::clamp(rt::PercentOf(a, b), 0, 255)); }

// The system copies large runs faster than window-sized ones; a disk that fills is still
// noticed within the file, as the buffered path notices it within a window.
constexpr std::int64_t kCopyWindow = 64 * static_cast<std::int64_t>(kIoWindow);

TKembCompress* gShared = nullptr;

struct UnownedShared {
    ~UnownedShared() {
        if (gShared && !gShared->Owner()) gShared->Free();
    }
};

}  // namespace

const rt::TClassInfo& TKembCompress::StaticClass() {
    using K = TKembCompress;
    static const rt::TClassInfo info{
        "TKembCompress", &TKembStreamCompress::StaticClass(), rt::Factory<TKembCompress>(),
        {rt::AccessorProperty("Abort", &K::Abort, &K::SetAbort),
         rt::AccessorProperty("CompressedFile", &K::CompressedFile, &K::SetCompressedFile),
         rt::AccessorProperty("ExtractDirectory", &K::ExtractDirectory, &K::SetExtractDirectory),
         rt::StringsProperty("FilesToProcess", &K::FilesToProcess, &K::SetFilesToProcess),
         rt::AccessorProperty("Overwrite", &K::Overwrite, &K::SetOverwrite),
         rt::AccessorProperty("VolumeSize", &K::VolumeSize, &K::SetVolumeSize),
         rt::Property("OnAborted", &K::OnAborted), rt::Property("OnAfterAdding", &K::OnAfterAdding),
         rt::Property("OnAfterExtracting", &K::OnAfterExtracting), rt::Property("OnBeforeAdding", &K::OnBeforeAdding),
         rt::Property("OnBeforeExtracting", &K::OnBeforeExtracting), rt::Property("OnFullDisk", &K::OnFullDisk),
         rt::Property("OnListing", &K::OnListing), rt::Property("OnNewDisk", &K::OnNewDisk),
         rt::Property("OnReplace", &K::OnReplace), rt::Property("OnStatus", &K::OnStatus)},
        {}};
    return info;
}

TKembCompress::TKembCompress(rt::TComponent* owner) : TKembStreamCompress(owner), FFilesToProcess(new rt::TStringList) {
    OnReadBuffer = TReadBufferEvent(this, &TKembCompress::ReadBuffer);
    OnWriteBuffer = TWriteBufferEvent(this, &TKembCompress::WriteBuffer);
}

TKembCompress::~TKembCompress() {
    if (gShared == this) gShared = nullptr;
    delete FFilesToProcess;
}

TKembCompress& SharedKembCompress() {
    static UnownedShared cleanup;
    if (!gShared) gShared = new TKembCompress(rt::Application());
    return *gShared;
}

// ---- properties -------------------------------------------------------------------------

void TKembCompress::SetCompressedFile(const std::string& value) {
    const std::string volume1 = rt::ChangeFileExt(value, ".1");
    if (!rt::SameText(volume1, Volume1Path())) FHeadersLoaded = false;
    if (!rt::SameText(volume1, FVolumesOf)) {
        FVolumesOf = volume1;
        FFoundVolumes.clear();
    }
    FCompressedFile = volume1;
}

void TKembCompress::SetFilesToProcess(const rt::TStrings& lines) {
    FFilesToProcess->Clear();
    for (int i = 0; i < lines.Count(); ++i)
        if (!rt::Trim(lines.Strings(i)).empty()) FFilesToProcess->Add(lines.Strings(i));
}

void TKembCompress::SetVolumeSize(std::int64_t value) {
    if (!IsLoading() && value != 0 && (value < kPreambleSize + kHeaderSize + 1 || value > kMaxArchiveOffset))
        throw EKC("The volume size must be 0 (a single volume) or between 170 and 2147483647 bytes");
    FVolumeSize = value;
}

// After a file spanned volumes CompressedFile names the last one found; the headers are
// always in volume 1 beside it.
std::string TKembCompress::Volume1Path() const { return FCompressedFile.empty() ? std::string() : rt::ChangeFileExt(FCompressedFile, ".1"); }

// ---- headers and status -----------------------------------------------------------------

void TKembCompress::ReadHeaders() {
    const std::string path = Volume1Path();
    os::IPlatform& platform = os::Current();
    std::unique_ptr<os::IFile> volume;
    if (!path.empty() && platform.FileExists(path)) volume = platform.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!volume) throw EKCCouldNotOpenCompressedFile(path);
    FHeadersLoaded = false;
    try {
        FHeaders.LoadFromStream(*volume);
    } catch (const std::exception&) {
        FHeaders.Clear();
        throw EKCFHCannotReadHeaders();
    }
    FHeadersLoaded = true;
}

void TKembCompress::NeedHeaders() {
    if (!FHeadersLoaded && !FAddRunning) ReadHeaders();
}

int TKembCompress::FileCount() {
    NeedHeaders();
    return FHeaders.Count();
}

int TKembCompress::IndexOfFile(const std::string& name) {
    NeedHeaders();
    return FHeaders.IndexOf(name);
}

void TKembCompress::GetFileStats(int n, TlzhFileStats& stats) {
    NeedHeaders();
    if (n < 0 || n >= FHeaders.Count()) throw rt::Exception("Tried to access the " + rt::IntToStr(n) + "th file. This file is not defined");
    const TFileHeader h = FHeaders.Get(n);
    stats = TlzhFileStats{};
    stats.Name = h.StoredName;
    stats.FileSize = h.FileSize;
    stats.StoredSize = h.StoredSize;
    stats.Ratio = Pct(h.StoredSize, h.FileSize);
    stats.Header = h;
    const std::int64_t stored = FHeaders.TotalStoredSize(), size = FHeaders.TotalFileSize();
    stats.TotalStoredSize = Saturate(stored);
    stats.TotalFileSize = Saturate(size);
    stats.TotalRatio = Pct(stored, size);
}

void TKembCompress::InitStatus() {
    FTotals = TlzhTotals{0, FHeaders.TotalStoredSize(), FHeaders.TotalFileSize()};
    FStats.TotalBytesDone = 0;
    FStats.TotalPercentDone = 0;
    FStats.FileFinished = 0;
    FStats.TotalStoredSize = Saturate(FTotals.StoredSize);
    FStats.TotalFileSize = Saturate(FTotals.FileSize);
    FStats.TotalRatio = Pct(FTotals.StoredSize, FTotals.FileSize);
}

void TKembCompress::StartFileStatus(const TFileHeaderRecord& header) {
    FHeader = header;
    FStats.Name = header.StoredName;
    FStats.FileSize = header.FileSize;
    FStats.StoredSize = header.StoredSize;
    FStats.Header = header;
    FStats.FileBytesDone = 0;
    FStats.FilePercentDone = 0;
    FStats.FileFinished = 0;
    FStats.Ratio = Pct(header.StoredSize, header.FileSize);
    FFileBytes = 0;
    FFileStartTotal = FTotals.BytesDone;
}

void TKembCompress::UpdatePercents() {
    if (FMode == TKembMode::kmAdding) {
        FStats.FilePercentDone = Pct(FFileBytes, FStats.FileSize);
        FStats.TotalPercentDone = Pct(FTotals.BytesDone, FTotals.FileSize);
    } else {
        FStats.FilePercentDone = Pct(FFileBytes, FStats.StoredSize);
        FStats.TotalPercentDone = Pct(FTotals.BytesDone, FTotals.StoredSize);
    }
}

void TKembCompress::Status(bool finished) {
    FStats.FileFinished = finished ? 1 : 0;
    OnStatus(this, FStats);
    FStats.FileFinished = 0;
}

// Each file counts once, written or left in place.
void TKembCompress::FinishExtractedFile(const TFileHeaderRecord& header) {
    FStats.FilePercentDone = 100;
    FStats.FileBytesDone = header.StoredSize;
    FFileBytes = header.StoredSize;
    FTotals.BytesDone = FFileStartTotal + header.StoredSize;
    FStats.TotalBytesDone = Saturate(FTotals.BytesDone);
    FStats.TotalPercentDone = Pct(FTotals.BytesDone, FTotals.StoredSize);
    Status(true);
}

void TKembCompress::DiskFull() {
    if (OnFullDisk) OnFullDisk(this);
    else throw EKCDiskFull();
}

// ---- the pump's handlers ----------------------------------------------------------------

void TKembCompress::ReadBuffer(TKembStreamCompress*, TKSCBuffer& buf, std::int32_t& bib) {
    std::size_t got;
    if (FMode == TKembMode::kmAdding && FSource) got = FReadAhead.Read(buf.data(), buf.size());
    else if (FMode == TKembMode::kmExtracting && FVolume && FCopier) got = CountArchiveData(buf.size());
    else if (FMode == TKembMode::kmExtracting && FVolume) got = ReadArchiveData(buf.data(), buf.size());
    else throw rt::Exception("Sourcefile is nil in ExtractOnReadBuffer");
    bib = static_cast<std::int32_t>(got);
    FFileBytes += bib;
    FTotals.BytesDone += bib;
    FStats.FileBytesDone = Saturate(FFileBytes);
    FStats.TotalBytesDone = Saturate(FTotals.BytesDone);
    LetMessagesThrough();
}

void TKembCompress::WriteBuffer(TKembStreamCompress*, TKSCBuffer& buf, std::int32_t bib) {
    if (FAbort) throw EKCStop();
    LetMessagesThrough();
    // A Cancel confirmed while the messages ran must not wait for a next buffer that may
    // never come.
    if (FAbort) throw EKCStop();
    const auto count = static_cast<std::size_t>(bib);
    if (FMode == TKembMode::kmAdding && FArchive.Active()) {
        FArchive.Append(buf.data(), count);
        FStats.StoredSize = Saturate(std::int64_t(FStats.StoredSize) + bib);
        FTotals.StoredSize += bib;
        FStats.TotalStoredSize = Saturate(FTotals.StoredSize);
    } else if (FMode == TKembMode::kmExtracting && FTarget && FCopier) {
        // Copied a window at a time, where the bytes through buffers would be written.
        if (FCopyPending == kCopyWindow && !CopyPending()) DiskFull();
        FCopyPending += bib;
    } else if (FMode == TKembMode::kmExtracting && FTarget) {
        if (!FWriteBehind.Write(buf.data(), count)) DiskFull();
    } else {
        throw rt::Exception("OnWriteBuffer has Nil DestFile");
    }
    UpdatePercents();
    OnStatus(this, FStats);
}

// ---- adding -----------------------------------------------------------------------------

void TKembCompress::AddFiles(TlzhCommand command) {
    FAbort = false;
    FMode = TKembMode::kmAdding;
    FAddRunning = true;
    FHeaders.HeaderTableFlag = 0;
    const std::string path = Volume1Path();
    try {
        os::IPlatform& platform = os::Current();
        ForceDirectories(platform, rt::ExtractFilePath(path));
        std::unique_ptr<os::IFile> volume1;
        std::int64_t dataStart = kPreambleSize;
        int firstNew = 0;
        if (command == TlzhCommand::lzcOnlyAdd && !path.empty() && platform.FileExists(path)) {
            if (FVolumeSize > 0)
                throw EKCCannotAppend("Files cannot be appended while the archive is being cut into volumes; rebuild it: ", path);
            volume1 = platform.OpenFile(path, os::OpenMode::ReadWrite, os::Disposition::OpenExisting, os::Share::ReadWrite);
            if (!volume1) throw EKCCouldNotCreateFile(path);
            FHeaders.LoadFromStream(*volume1);
            // A longer table would be written over the first file's data.
            if (FHeaders.HeaderTableFlag != 0)
                throw EKCCannotAppend("The archive is cut into volumes with a header table; rebuild it to add files: ", path);
            firstNew = FHeaders.Count();
            dataStart = firstNew > 0 ? FHeaders.Get(firstNew - 1).NextHeader : kPreambleSize;
            if (volume1->Size() != dataStart)
                throw EKCCannotAppend("The archive does not end where its last file ends; rebuild it to add files: ", path);
            FHeaders.TakeFromList(*FFilesToProcess, true);
            CheckRoom(dataStart, firstNew);
        } else {
            // Every source is looked at before an existing archive is emptied.
            FHeaders.TakeFromList(*FFilesToProcess, false);
            if (FVolumeSize > 0) {
                FHeaders.HeaderTableFlag = 1;
                dataStart = kPreambleSize + kHeaderSize * FHeaders.Count();
            }
            CheckRoom(dataStart, 0);
            if (!path.empty()) volume1 = platform.OpenFile(path, os::OpenMode::ReadWrite, os::Disposition::CreateAlways, os::Share::None);
            if (!volume1) throw EKCCouldNotCreateFile(path);
        }
        FHeaders.SaveToStream(*volume1);
        FArchive.Start(std::move(volume1), path, FHeaders.HeaderTableFlag ? FVolumeSize : 0, dataStart);
        InitStatus();
        FStats.TotalStoredSize = 0;
        FTotals.StoredSize = 0;
        for (int i = firstNew; i < FHeaders.Count(); ++i) AddOne(i);
        EndAdd(true);
    } catch (const EKCStop&) {
        EndAdd(false);
        OnAborted(this);
    } catch (const rt::EAbort&) {
        EndAdd(false);
        throw;
    } catch (...) {
        FAbort = true;
        EndAdd(false);
        throw;
    }
}

// Refuses, before anything is written, files that would not fit the format's offsets.
void TKembCompress::CheckRoom(std::int64_t dataStart, int firstNew) {
    std::int64_t data = 0;
    for (int i = firstNew; i < FHeaders.Count(); ++i) data += FHeaders.FileSize(i);
    const std::string path = Volume1Path();
    if (FHeaders.HeaderTableFlag == 0) {
        const std::int64_t newHeaders = kHeaderSize * (FHeaders.Count() - firstNew);
        if (dataStart + newHeaders + data > kMaxArchiveOffset)
            throw EKCArchiveTooLarge("Adding the files would place data beyond the 2 GB offsets of the archive: ", path);
        return;
    }
    if (dataStart > FVolumeSize) throw EKCArchiveTooLarge("The header table does not fit on the first volume of the archive: ", path);
    if (dataStart + data > FVolumeSize * kMaxVolume)
        throw EKCArchiveTooLarge("The files do not fit on the 255 volumes an archive can have: ", path);
}

void TKembCompress::AddOne(int index) {
    os::IPlatform& platform = os::Current();
    TFileHeader header = FHeaders.Get(index);
    // Reported through the exception alone, so unattended builds never wait on a box.
    FSource = platform.OpenFile(header.SourcePath, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!FSource) throw EKCCouldNotOpenFile(header.SourcePath);
    StartFileStatus(header);
    FStats.StoredSize = 0;
    OnBeforeAdding(this, FStats);

    const bool chained = FHeaders.HeaderTableFlag == 0;
    THeaderBytes bytes;
    if (chained) {
        // The placeholder keeps the chain whole until the final header replaces it.
        header.Offset = FArchive.Position();
        FHeaders.Update(index, header);
        EncodeFileHeader(header, bytes);
        FArchive.Put(bytes.data(), bytes.size());
    }
    FArchive.BeginFile();
    FReadAhead.Reset(FSource.get());
    Compress();

    header.StoredSize = FStats.StoredSize;
    if (chained) {
        header.FirstVolume = header.LastVolume = 0;
        header.DataOffset = static_cast<std::int32_t>(header.Offset + kHeaderSize);
        header.NextHeader = static_cast<std::int32_t>(FArchive.Position());
    } else {
        header.FirstVolume = static_cast<std::uint8_t>(FArchive.FirstVolume());
        header.LastVolume = static_cast<std::uint8_t>(FArchive.LastVolume());
        header.DataOffset = static_cast<std::int32_t>(FArchive.DataOffset());
    }
    header.EndPosition = static_cast<std::int32_t>(FArchive.EndPosition());
    FHeaders.Update(index, header);
    EncodeFileHeader(header, bytes);
    // A small file's header and data are still gathered and go out in one write with it.
    if (!FArchive.WriteVolume1(header.Offset, bytes.data(), bytes.size())) throw EKCFHCannotWriteHeaders();
    if (!FArchive.Flush()) DiskFull();
    Status(true);
    FStats.Ratio = Pct(FStats.StoredSize, FStats.FileSize);
    FStats.Header = header;
    OnAfterAdding(this, FStats);

    FReadAhead.Reset(nullptr);
    FSource.reset();
    // A Cancel during the file's last buffer or its events stops here.
    if (FAbort) throw EKCStop();
}

void TKembCompress::EndAdd(bool complete) {
    FReadAhead.Reset(nullptr);
    FSource.reset();
    FArchive.Finish(complete);
    FAddRunning = false;
    FHeadersLoaded = false;
    FFilesToProcess->Clear();
}

// ---- extracting -------------------------------------------------------------------------

void TKembCompress::ExtractFiles() {
    FAbort = false;
    FMode = TKembMode::kmExtracting;
    FCurrentVolume = 0;
    FTargetFolder.clear();
    try {
        if (!FHeadersLoaded) ReadHeaders();
        InitStatus();
        // The run takes the list instead of copying it: a hundred thousand names are held once.
        const std::unique_ptr<rt::TStringList> lines(std::exchange(FFilesToProcess, new rt::TStringList));
        for (int i = 0; i < lines->Count(); ++i) ExtractOne(lines->Strings(i));
        EndExtract();
    } catch (const EKCStop&) {
        EndExtract();
        OnAborted(this);
    } catch (const rt::EAbort&) {
        EndExtract();
        throw;
    } catch (...) {
        FAbort = true;
        EndExtract();
        throw;
    }
}

void TKembCompress::ExtractOne(const std::string& line) {
    FSkipFile = false;
    const int index = FHeaders.IndexOf(LinePath(line));
    if (index < 0) throw EKCFHFileNotInArchive(line);
    const TFileHeaderRecord header = FHeaders.Get(index);
    StartFileStatus(header);

    if (rt::Trim(FDestFileName).empty()) FDestFileName = LastPathPart(header.StoredName);
    OnBeforeExtracting(this, FStats);
    FDestFileName = LastPathPart(FDestFileName);
    std::string target = rt::IncludeTrailingBackslash(FExtractDirectory) + FDestFileName;

    bool write = true;
    // A file that is not there yet is made at once: asking whether it is there costs a search
    // of its folder on some systems (Wine's names without case), and making it answers too.
    if (!FSkipFile) CreateNewTarget(target);
    if (!FTarget && os::Current().FileExists(target)) {
        write = OverwriteAllows(header.FileVersion, header.FileDate, target);
        if (write && OnReplace) {
            OnReplace(this, FStats);
            FDestFileName = LastPathPart(FDestFileName);
            target = rt::IncludeTrailingBackslash(FExtractDirectory) + FDestFileName;
        }
    }
    if (FSkipFile) write = false;
    FLastExisted = !FTarget;
    FLastWritten = write;
    if (write) WriteTarget(header, target);
    else DropTarget();
    if (!FSkipFile) {
        FinishExtractedFile(header);
        OnAfterExtracting(this, FStats);
    }
    FDestFileName.clear();
    // A Cancel during the file's last buffer or its events must not be lost to the next file.
    if (FAbort) throw EKCStop();
}

void TKembCompress::CreateNewTarget(const std::string& target) {
    os::IPlatform& platform = os::Current();
    // The folder made sure of for the last file serves the next one in it; should it have
    // gone since, the file cannot be made here and WriteTarget makes the folder again.
    const std::string folder = rt::ExtractFilePath(target);
    if (folder != FTargetFolder) {
        ForceDirectories(platform, folder);
        FTargetFolder = folder;
    }
    FTarget = platform.OpenFile(target, os::OpenMode::Write, os::Disposition::CreateNew, os::Share::None);
    // From here on a failure takes the new file away again.
    if (FTarget) FTargetPath = target;
}

void TKembCompress::WriteTarget(const TFileHeaderRecord& header, const std::string& target) {
    os::IPlatform& platform = os::Current();
    // The volume the last file ended on stays open for the next file that starts there.
    const int first = header.FirstVolume == 0 ? 1 : header.FirstVolume;
    if (!FVolume || FOpenVolume != first) OpenVolume(first);
    FCurrentVolume = header.FirstVolume;
    if (!FTarget) {
        ForceDirectories(platform, rt::ExtractFilePath(target));
        FTarget = platform.OpenFile(target, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        if (!FTarget) throw EKCCouldNotCreateFile(target);
        // From here on a failure takes the half-written file away again.
        FTargetPath = target;
    }
    // A file within one volume is copied from it by the target itself where it can: the
    // pump runs as ever, counting the bytes instead of carrying them.
    auto* copier = dynamic_cast<IFileCopyTarget*>(FTarget.get());
    FCopier = header.FirstVolume == header.LastVolume && copier && copier->CanCopyFrom(*FVolume) ? copier : nullptr;
    if (FCopier) {
        const std::int64_t end = std::min<std::int64_t>(std::int64_t(header.EndPosition) + 1, FOpenVolumeSize);
        FCopyAt = header.DataOffset;
        FCopyLeft = std::max<std::int64_t>(0, end - header.DataOffset);
        FCopyPending = 0;
    } else {
        FWriteBehind.Reset(FTarget.get());
        if (FVolume->Seek(header.DataOffset, os::SeekOrigin::Begin) != header.DataOffset) PositionReader(-1);
        else PositionReader(header.DataOffset);
    }
    Decompress();
    if (FCopier ? !CopyPending() : !FWriteBehind.Flush()) DiskFull();
    FCopier = nullptr;
    if (FTarget->Size() != header.FileSize) throw EKCWrongDecompressedSize(header.StoredName);
    os::FileTime stamp = 0;
    if (!ArchiveDateToFileTime(header.FileDate, stamp) || !FTarget->SetTime(stamp))
        throw rt::Exception("Cannot set the date of the file just extracted.");
    FWriteBehind.Reset(nullptr);
    FTarget.reset();
    FTargetPath.clear();
    FReadAhead.Reset(nullptr);
}

// What the volume holds of the file for the next block, which the copy takes later.
std::size_t TKembCompress::CountArchiveData(std::size_t count) {
    const auto got = static_cast<std::size_t>(std::min<std::int64_t>(FCopyLeft, static_cast<std::int64_t>(count)));
    FCopyLeft -= static_cast<std::int64_t>(got);
    return got;
}

bool TKembCompress::CopyPending() {
    const std::int64_t pending = FCopyPending;
    FCopyPending = 0;
    if (pending == 0) return true;
    const std::int64_t copied = FCopier->CopyFrom(*FVolume, FCopyAt, static_cast<std::size_t>(pending));
    FCopyAt += pending;
    return copied == pending;
}

// The reader starts at position of the open volume (-1: nothing there to read).
void TKembCompress::PositionReader(std::int64_t position) {
    FVolumeFresh = true;
    if (position < 0) {
        FVolumePosition = 0;
        FReadAhead.Reset(FVolume.get(), 0);
        return;
    }
    FVolumePosition = position;
    std::int64_t limit = -1;
    if (FCurrentVolume == FHeader.LastVolume) limit = std::max<std::int64_t>(0, std::int64_t(FHeader.EndPosition) + 1 - position);
    FReadAhead.Reset(FVolume.get(), limit);
}

// The current file's data: from DataOffset to the end of each volume it continues from, then
// from offset 0 of the next, up to EndPosition of LastVolume. Volumes that end early end the
// data (the size check then reports the file); no volume past LastVolume is ever asked for.
std::size_t TKembCompress::ReadArchiveData(std::uint8_t* buffer, std::size_t count) {
    for (;;) {
        std::size_t limit = count;
        const bool last = FCurrentVolume == FHeader.LastVolume;
        if (last) {
            const std::int64_t remaining = std::int64_t(FHeader.EndPosition) + 1 - FVolumePosition;
            if (remaining <= 0) return 0;
            limit = static_cast<std::size_t>(std::min<std::int64_t>(remaining, static_cast<std::int64_t>(count)));
        }
        const std::size_t got = FReadAhead.Read(buffer, limit);
        FVolumePosition += static_cast<std::int64_t>(got);
        if (got > 0) FVolumeFresh = false;
        if (got == limit || last) return got;
        // A continuation volume that holds nothing is damage, not a reason to ask on.
        if (FVolumeFresh && FCurrentVolume != FHeader.FirstVolume) return 0;
        ++FCurrentVolume;
        OpenVolume(FCurrentVolume);
        PositionReader(0);
        if (got > 0) return got;
    }
}

void TKembCompress::OpenVolume(int n) {
    os::IPlatform& platform = os::Current();
    std::string number(1, '.');
    number += std::to_string(n);
    std::string path = rt::ChangeFileExt(FCompressedFile, number);
    if (!platform.FileExists(path))
        if (auto found = FFoundVolumes.find(n); found != FFoundVolumes.end() && platform.FileExists(found->second)) path = found->second;
    for (int attempt = 1; attempt <= 4; ++attempt) {
        FReadAhead.Reset(nullptr);
        FVolume.reset();
        FOpenVolume = 0;
        bool exists = platform.FileExists(path);
        if (!exists) {
            if (!OnNewDisk) break;
            std::string directory = rt::ExcludeTrailingBackslash(rt::ExtractFilePath(path));
            OnNewDisk(this, n, directory);
            // A Cancel in the disk prompt stops here instead of asking again.
            if (FAbort) throw EKCStop();
            path = rt::IncludeTrailingBackslash(directory) + rt::ExtractFileName(path);
            exists = platform.FileExists(path);
        }
        if (exists) {
            FCompressedFile = path;
            FFoundVolumes[n] = path;
            FVolume = platform.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
            if (!FVolume) throw EKCCouldNotOpenCompressedFile(path);
            FOpenVolume = n;
            FOpenVolumeSize = FVolume->Size();
            return;
        }
    }
    throw rt::Exception(std::string("Could not open the correct disk file ") + std::to_string(n));
}

void TKembCompress::DropTarget() {
    FCopier = nullptr;
    FCopyPending = 0;
    FWriteBehind.Reset(nullptr);
    FTarget.reset();
    if (!FTargetPath.empty()) {
        // A partial file with a fresh date would pass every later date test.
        os::Current().DeleteFile(FTargetPath);
        FTargetPath.clear();
    }
}

void TKembCompress::EndExtract() {
    DropTarget();
    FReadAhead.Reset(nullptr);
    FVolume.reset();
    FOpenVolume = 0;
    FFilesToProcess->Clear();
    FDestFileName.clear();
}

// ---- the overwrite rule and plain copies ------------------------------------------------

bool TKembCompress::OverwriteAllows(const std::string& archivedVersion, double archivedDate, const std::string& existing) {
    const auto existingVersion = [&existing] {
        TVersionResource& versions = SharedVersionReader();
        versions.SetFileName(existing);
        return versions.VersionInfo()->FileVersion;
    };
    const auto existingIsOlder = [&existing, archivedDate] {
        os::FileTime stamp = 0;
        if (!os::Current().GetFileTime(existing, stamp)) return true;
        return FileTimeToArchiveDate(stamp) < archivedDate;
    };
    switch (FOverwrite) {
        case TOverwriteType::owAlways: return true;
        case TOverwriteType::owNever: return false;
        case TOverwriteType::owVersion: return CompareVersions(archivedVersion, existingVersion()) == 1;
        case TOverwriteType::owDate: return existingIsOlder();
        case TOverwriteType::owVersionDate: {
            const int order = CompareVersions(archivedVersion, existingVersion());
            return order == 1 || (order == 0 && existingIsOlder());
        }
    }
    throw rt::Exception("Overwrite flag is not in [owNever,owAlways,owVersion,owDate,owVersionDate]");
}

void TKembCompress::CopyFile(const std::string& source, const std::string& destination) {
    os::IPlatform& platform = os::Current();
    FAbort = false;
    FSkipFile = false;
    FExtractDirectory = rt::ExtractFilePath(destination);
    FDestFileName = rt::ExtractFileName(destination);
    std::string target = destination;

    bool write = true;
    if (platform.FileExists(target)) {
        os::FileTime sourceStamp = 0;
        platform.GetFileTime(source, sourceStamp);
        TVersionResource& versions = SharedVersionReader();
        versions.SetFileName(source);
        const std::string sourceVersion = versions.VersionInfo()->FileVersion;
        write = OverwriteAllows(sourceVersion, FileTimeToArchiveDate(sourceStamp), target);
        if (write && OnReplace) {
            TlzhFileStats blank;
            OnReplace(this, blank);
            target = rt::IncludeTrailingBackslash(FExtractDirectory) + LastPathPart(FDestFileName);
        }
    }
    if (!write || FSkipFile) return;

    std::unique_ptr<os::IFile> in = platform.OpenFile(source, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!in) throw EKCCouldNotOpenFile(source);
    os::FileTime stamp = 0;
    in->GetTime(stamp);
    ForceDirectories(platform, rt::ExtractFilePath(target));
    std::unique_ptr<os::IFile> out = platform.OpenFile(target, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
    if (!out) throw EKCCouldNotCreateFile(target);
    const std::int64_t size = in->Size();
    FStats = TlzhFileStats{};
    FStats.Name = source;
    FStats.FileSize = Saturate(size);
    std::int64_t done = 0;
    TReadAhead reader;
    TWriteBehind writer;
    reader.Reset(in.get());
    writer.Reset(out.get());
    std::vector<std::uint8_t> block(kKSCBufferSize);
    bool complete = false;
    try {
        while (!FAbort) {
            const std::size_t got = reader.Read(block.data(), block.size());
            if (got > 0 && !writer.Write(block.data(), got)) DiskFull();
            done += static_cast<std::int64_t>(got);
            FStats.FileBytesDone = FStats.TotalBytesDone = Saturate(done);
            FStats.FilePercentDone = FStats.TotalPercentDone = Pct(done, size);
            if (got < block.size() && !writer.Flush()) DiskFull();
            OnStatus(this, FStats);
            LetMessagesThrough();
            if (got < block.size()) {
                out->SetTime(stamp);
                Status(true);
                complete = true;
                break;
            }
        }
    } catch (...) {
        writer.Reset(nullptr);
        out.reset();
        platform.DeleteFile(target);
        throw;
    }
    writer.Reset(nullptr);
    out.reset();
    // A cancelled copy leaves nothing behind that a later date test would take for done.
    if (!complete) platform.DeleteFile(target);
}
