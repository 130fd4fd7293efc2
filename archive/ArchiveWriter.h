// Places an archive's data while files are added: after the headers of volume 1, in one
// volume, or cut into volumes of a fixed size that continue each other at offset 0. Keeps
// volume 1 open for the header writes. Used by the archive component's AddFiles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

class TArchiveWriter {
public:
    TArchiveWriter() = default;
    TArchiveWriter(const TArchiveWriter&) = delete;
    TArchiveWriter& operator=(const TArchiveWriter&) = delete;

    // Data continues at position of volume 1; volumeSize 0 keeps one volume.
    void Start(std::unique_ptr<os::IFile> volume1, std::string volume1Path, std::int64_t volumeSize, std::int64_t position);
    bool Active() const { return static_cast<bool>(FVolume1); }
    os::IFile& Volume1() { return *FVolume1; }

    // Moves past bytes that the caller writes itself (a header in front of its data).
    void Skip(std::int64_t count) { FPosition += count; }
    std::int64_t Position() const { return FPosition; }
    int Volume() const { return FVolume; }

    // The next byte begins a file.
    void BeginFile();
    // Writes data where the archive ends, opening the next volume when one is full. Returns
    // the bytes the disk took (fewer when it filled). Raises EKCCouldNotCreateFile for a
    // volume that cannot be made and EKCArchiveTooLarge past the format's offsets.
    std::size_t Append(const void* data, std::size_t count);
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
};
