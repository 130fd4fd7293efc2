// The archive component: writes archives of files (at build time) and reads them (at install
// time) across volumes files.1, files.2, ..., applies the overwrite rules to existing files,
// copies plain files under the same rules, and reports progress through its status record.
// One shared instance serves the whole program (SharedKembCompress).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "archive/ArchiveWriter.h"
#include "archive/BlockIO.h"
#include "archive/cmp_TFileHeaders.h"
#include "archive/cmp_TKembStreamCompress.h"
#include "engine/InstallTypes.h"
#include "runtime/StringList.h"

// The status record handed to the file events (copied whole by the file containers).
// Counts are 32-bit as the record has always had them: totals past 2 GB stay at 2147483647
// here, and the component keeps the true values in 64 bits (TKembCompress::Totals).
struct TlzhFileStats {
    std::uint8_t FilePercentDone = 0;
    std::int32_t FileBytesDone = 0;     // bytes of the current file read so far
    std::string Name;                   // StoredName (the source path, when copying)
    std::int32_t StoredSize = 0;        // while adding: bytes written so far
    std::uint8_t Ratio = 0;             // pct(StoredSize, FileSize)
    std::int32_t FileSize = 0;
    TFileHeaderRecord Header;           // the current file's header
    std::uint8_t FileFinished = 0;      // 1 only during the status event that ends a file
    std::uint8_t TotalPercentDone = 0;
    std::int32_t TotalBytesDone = 0;
    std::int32_t TotalStoredSize = 0;   // sum over the archive's headers
    std::uint8_t TotalRatio = 0;
    std::int32_t TotalFileSize = 0;     // sum over the archive's headers
};

// The operation's totals in full.
struct TlzhTotals {
    std::int64_t BytesDone = 0;
    std::int64_t StoredSize = 0;
    std::int64_t FileSize = 0;
};

class TKembCompress;

using TlzhFileStatsEvent = rt::TEvent<TKembCompress* /*KembCompress*/, TlzhFileStats& /*FileStats*/>;
// Path holds the directory where the volume was looked for (no trailing backslash); the
// handler may change it to where the user put the disk.
using TlzhNewDiskEvent = rt::TEvent<TKembCompress* /*KembCompress*/, std::int32_t /*DiskNumber*/, std::string& /*Path*/>;

enum class TKembMode { kmIdle, kmAdding, kmExtracting };

class TKembCompress : public TKembStreamCompress {
    RT_CLASS(TKembCompress, TKembStreamCompress)
public:
    explicit TKembCompress(rt::TComponent* owner);
    ~TKembCompress() override;

    // Published.
    bool Abort() const { return FAbort; }
    void SetAbort(bool value) { FAbort = value; }
    const std::string& CompressedFile() const { return FCompressedFile; }
    // Stores the path with its extension changed to ".1".
    void SetCompressedFile(const std::string& value);
    const std::string& ExtractDirectory() const { return FExtractDirectory; }
    void SetExtractDirectory(const std::string& value) { FExtractDirectory = value; }
    rt::TStrings* FilesToProcess() const { return FFilesToProcess; }
    // Drops blank lines and copies the rest.
    void SetFilesToProcess(const rt::TStrings& lines);
    TOverwriteType Overwrite() const { return FOverwrite; }
    void SetOverwrite(TOverwriteType value) { FOverwrite = value; }
    // 0: AddFiles writes one volume, headers chained in front of their data. Otherwise a new
    // archive is cut into volumes of this many bytes (1457664 for 1.44 MB diskettes), with
    // the header table at the start of volume 1.
    std::int64_t VolumeSize() const { return FVolumeSize; }
    void SetVolumeSize(std::int64_t value);

    rt::TNotifyEvent OnAborted;
    TlzhFileStatsEvent OnAfterAdding, OnBeforeAdding, OnAfterExtracting, OnBeforeExtracting, OnReplace, OnStatus;
    TlzhFileStatsEvent OnListing;  // declared for descriptions; nothing raises it
    rt::TNotifyEvent OnFullDisk;
    TlzhNewDiskEvent OnNewDisk;

    // Not published.
    const std::string& DestFileName() const { return FDestFileName; }
    void SetDestFileName(const std::string& value) { FDestFileName = value; }
    // What the last extraction found and did, for the installation's log: whether a file of
    // that name was there already, and whether the archived one was written.
    bool LastFileExisted() const { return FLastExisted; }
    bool LastFileWritten() const { return FLastWritten; }
    bool SkipFile() const { return FSkipFile; }
    void SetSkipFile(bool value) { FSkipFile = value; }
    bool HeadersLoaded() const { return FHeadersLoaded; }
    TKembMode Mode() const { return FMode; }
    int CurrentVolume() const { return FCurrentVolume; }
    const TlzhFileStats& FileStats() const { return FStats; }
    const TlzhTotals& Totals() const { return FTotals; }
    const TFileHeaders& FileHeaders() const { return FHeaders; }

    // Adds every file of FilesToProcess: lzcOverwrite makes the archive anew, lzcOnlyAdd
    // appends to a single-volume archive (and refuses one cut into volumes).
    void AddFiles(TlzhCommand command);
    // Extracts every file of FilesToProcess into ExtractDirectory under the Overwrite rule.
    void ExtractFiles();
    // Copies a plain file under the Overwrite rule.
    void CopyFile(const std::string& source, const std::string& destination);
    int FileCount();
    // The status record of file n (from 0) as an operation would start it.
    void GetFileStats(int n, TlzhFileStats& stats);
    int IndexOfFile(const std::string& name);
    void ReadHeaders();
    // A write came up short: OnFullDisk when assigned, otherwise EKCDiskFull.
    virtual void DiskFull();

private:
    void ReadBuffer(TKembStreamCompress* ksc, TKSCBuffer& buf, std::int32_t& bib);
    void WriteBuffer(TKembStreamCompress* ksc, TKSCBuffer& buf, std::int32_t bib);

    std::string Volume1Path() const;
    void NeedHeaders();
    void InitStatus();
    void StartFileStatus(const TFileHeaderRecord& header);
    void FinishExtractedFile(const TFileHeaderRecord& header);
    void UpdatePercents();
    void Status(bool finished);

    void AddOne(int index);
    void CheckRoom(std::int64_t dataStart, int firstNew);
    void EndAdd(bool complete);

    void ExtractOne(const std::string& line);
    // Makes target when it is not there yet (FTarget then holds it); nothing otherwise.
    void CreateNewTarget(const std::string& target);
    void WriteTarget(const TFileHeaderRecord& header, const std::string& target);
    std::size_t ReadArchiveData(std::uint8_t* buffer, std::size_t count);
    std::size_t CountArchiveData(std::size_t count);
    // Copies the bytes counted since the last copy; false when the target took fewer.
    bool CopyPending();
    void OpenVolume(int n);
    void PositionReader(std::int64_t position);
    void EndExtract();

    bool OverwriteAllows(const std::string& archivedVersion, double archivedDate, const std::string& existing);
    void DropTarget();

    // Published state.
    bool FAbort = false;
    std::string FCompressedFile;
    // Where each volume of the archive named last (its volume 1) was found: a volume the
    // user pointed to elsewhere is looked for there again before anyone is asked.
    std::string FVolumesOf;
    std::map<int, std::string> FFoundVolumes;
    std::string FExtractDirectory;
    rt::TStringList* FFilesToProcess;
    TOverwriteType FOverwrite = TOverwriteType::owAlways;
    std::int64_t FVolumeSize = 0;

    // Operation state.
    std::string FDestFileName;
    bool FSkipFile = false;
    bool FLastExisted = false, FLastWritten = false;
    bool FHeadersLoaded = false;
    TKembMode FMode = TKembMode::kmIdle;  // kept after an operation, as the handlers read it
    bool FAddRunning = false;             // the header list is being built: no reloading
    int FCurrentVolume = 0;
    TFileHeaders FHeaders;
    TFileHeaderRecord FHeader;
    TlzhFileStats FStats;
    TlzhTotals FTotals;
    std::int64_t FFileBytes = 0;
    std::int64_t FFileStartTotal = 0;

    // Streams of the running operation.
    std::unique_ptr<os::IFile> FSource;   // the file being added
    std::unique_ptr<os::IFile> FVolume;   // the volume being read
    int FOpenVolume = 0;                  // its number, 0 when none is open
    std::int64_t FOpenVolumeSize = 0;     // its size when opened: volumes being read do not grow
    std::string FTargetFolder;            // the folder made sure of for the last file extracted
    std::int64_t FVolumePosition = 0;
    bool FVolumeFresh = false;            // opened and not yet read from
    std::unique_ptr<os::IFile> FTarget;   // the file being extracted
    std::string FTargetPath;
    TArchiveWriter FArchive;
    TReadAhead FReadAhead;
    TWriteBehind FWriteBehind;
    // Extracting by the target's own copy (see IFileCopyTarget): the target that copies, the
    // volume offset of the next byte, the bytes the volume still holds of the file, and the
    // bytes counted by the pump and not yet copied.
    IFileCopyTarget* FCopier = nullptr;
    std::int64_t FCopyAt = 0, FCopyLeft = 0, FCopyPending = 0;
};

// The process-wide archive component: created on first use, owned by the application when
// there is one (otherwise by this unit until the program ends).
TKembCompress& SharedKembCompress();
