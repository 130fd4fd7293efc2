// Places an archive's data while files are added: after the headers of volume 1, in one
// volume, or cut into volumes of a fixed size that continue each other at offset 0. Keeps
// volume 1 open for the header writes. Used by the archive component's AddFiles.
// Writes are gathered a window at a time: a small file's header, data and final header reach
// the volume as one write instead of a seek and a write each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/BlockIO.h"
#include "platform/Platform.h"

class TArchiveWriter {
public:
    TArchiveWriter() = default;
    TArchiveWriter(const TArchiveWriter&) = delete;
    TArchiveWriter& operator=(const TArchiveWriter&) = delete;

    // Data continues at position of volume 1; volumeSize 0 keeps one volume.
    void Start(std::unique_ptr<os::IFile> volume1, std::string volume1Path, std::int64_t volumeSize, std::int64_t position);
    bool Active() const { return static_cast<bool>(FVolume1); }

    // Writes bytes at offset of volume 1 (a header): into the gathered bytes when they hold
    // that place, otherwise straight to the volume. False when the disk took fewer.
    bool WriteVolume1(std::int64_t offset, const void* data, std::size_t count);
    // Places bytes where the archive ends without starting a file's data there: a header in
    // front of its data in a single volume.
    void Put(const void* data, std::size_t count);
    std::int64_t Position() const { return FPosition; }
    int Volume() const { return FVolume; }

    // The next byte begins a file.
    void BeginFile();
    // Writes data where the archive ends, opening the next volume when one is full, and
    // returns count: the bytes are gathered, and a disk that takes fewer shows by the time
    // Flush returns. Raises EKCCouldNotCreateFile for a volume that cannot be made and
    // EKCArchiveTooLarge past the format's offsets.
    std::size_t Append(const void* data, std::size_t count);
    // Hands the gathered bytes to their volume; false when the disk took fewer.
    bool Flush();
    // Where the current file's data lies (an empty file: at the current position).
    int FirstVolume() const { return FFirstVolume; }
    std::int64_t DataOffset() const { return FDataOffset; }
    int LastVolume() const { return FVolume; }
    std::int64_t EndPosition() const { return FPosition - 1; }

    // Closes every volume. After a complete build cut into volumes, volumes left over from an
    // earlier, longer build are deleted so they are not shipped by mistake.
    void Finish(bool complete);

private:
    void NextVolume();
    os::IFile& CurrentFile() { return FCurrent ? *FCurrent : *FVolume1; }
    // Copies bytes to the gathered window at the current position, handing a full one on.
    void Gather(const std::uint8_t* data, std::size_t count);
    // Writes the gathered window to its volume; a short write sets FShort.
    void HandOver();
    std::string VolumePath(int n) const;

    std::unique_ptr<os::IFile> FVolume1;
    std::unique_ptr<os::IFile> FCurrent;  // the volume being filled when it is not volume 1
    std::string FVolume1Path;
    std::int64_t FVolumeSize = 0;
    int FVolume = 1;
    std::int64_t FPosition = 0;
    bool FFileStarted = false;
    int FFirstVolume = 1;
    std::int64_t FDataOffset = 0;
    // The gathered bytes: they belong at FWindowStart of the current volume.
    std::unique_ptr<std::uint8_t[]> FWindow;
    std::size_t FWindowUsed = 0;
    std::int64_t FWindowStart = 0;
    bool FShort = false;          // a hand-over came up short since the last Flush
    std::int64_t FFileAt = -1;    // where the current volume's file position is; -1 unknown
};
