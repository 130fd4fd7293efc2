// Data placement for AddFiles; see ArchiveWriter.h.
#include "archive/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

#include "archive/ArchiveErrors.h"
#include "archive/cmp_TFileHeaders.h"
#include "runtime/SysUtils.h"

void TArchiveWriter::Start(std::unique_ptr<os::IFile> volume1, std::string volume1Path, std::int64_t volumeSize, std::int64_t position) {
    FVolume1 = std::move(volume1);
    FCurrent.reset();
    FVolume1Path = std::move(volume1Path);
    FVolumeSize = volumeSize;
    FVolume = 1;
    FPosition = position;
    FFileStarted = false;
    FWindowUsed = 0;
    FShort = false;
    FFileAt = -1;
}

void TArchiveWriter::BeginFile() {
    FFileStarted = false;
    FFirstVolume = FVolume;
    FDataOffset = FPosition;
}

std::string TArchiveWriter::VolumePath(int n) const {
    std::string ext(1, '.');
    ext += std::to_string(n);
    return rt::ChangeFileExt(FVolume1Path, ext);
}

void TArchiveWriter::NextVolume() {
    if (FVolume >= kMaxVolume) throw EKCArchiveTooLarge("The files do not fit on the 255 volumes an archive can have: ", FVolume1Path);
    // The gathered bytes belong to the volume that is full.
    HandOver();
    FFileAt = -1;
    FCurrent.reset();
    ++FVolume;
    const std::string path = VolumePath(FVolume);
    FCurrent = os::Current().OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
    if (!FCurrent) throw EKCCouldNotCreateFile(path);
    FPosition = 0;
}

std::size_t TArchiveWriter::Append(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        if (FVolumeSize > 0 && FPosition >= FVolumeSize) NextVolume();
        if (!FFileStarted) {
            // The first byte may have moved on to a fresh volume.
            FFileStarted = true;
            FFirstVolume = FVolume;
            FDataOffset = FPosition;
        }
        std::int64_t room = (FVolumeSize > 0 ? FVolumeSize : kMaxArchiveOffset) - FPosition;
        if (room <= 0) throw EKCArchiveTooLarge("Adding the files would place data beyond the 2 GB offsets of the archive: ", FVolume1Path);
        const std::size_t run = static_cast<std::size_t>(std::min<std::int64_t>(room, static_cast<std::int64_t>(count - done)));
        Gather(bytes + done, run);
        done += run;
    }
    return done;
}

void TArchiveWriter::Put(const void* data, std::size_t count) { Gather(static_cast<const std::uint8_t*>(data), count); }

void TArchiveWriter::Gather(const std::uint8_t* data, std::size_t count) {
    if (!FWindow) FWindow.reset(new std::uint8_t[kIoWindow]);
    while (count > 0) {
        if (FWindowUsed == kIoWindow) HandOver();
        if (FWindowUsed == 0) FWindowStart = FPosition;
        const std::size_t run = std::min(count, kIoWindow - FWindowUsed);
        std::memcpy(FWindow.get() + FWindowUsed, data, run);
        FWindowUsed += run;
        FPosition += static_cast<std::int64_t>(run);
        data += run;
        count -= run;
    }
}

void TArchiveWriter::HandOver() {
    if (FWindowUsed == 0) return;
    const std::size_t used = FWindowUsed;
    FWindowUsed = 0;
    os::IFile& file = CurrentFile();
    // Windows follow one another, so the file is mostly where the next one goes already.
    const bool placed = FFileAt == FWindowStart || file.Seek(FWindowStart, os::SeekOrigin::Begin) == FWindowStart;
    if (placed && file.Write(FWindow.get(), used) == static_cast<std::int64_t>(used)) {
        FFileAt = FWindowStart + static_cast<std::int64_t>(used);
        return;
    }
    FShort = true;
    FFileAt = -1;
}

bool TArchiveWriter::Flush() {
    HandOver();
    const bool complete = !FShort;
    FShort = false;
    return complete;
}

bool TArchiveWriter::WriteVolume1(std::int64_t offset, const void* data, std::size_t count) {
    const std::int64_t end = offset + static_cast<std::int64_t>(count);
    const std::int64_t windowEnd = FWindowStart + static_cast<std::int64_t>(FWindowUsed);
    const bool windowHere = !FCurrent && FWindowUsed > 0;
    if (windowHere && offset >= FWindowStart && end <= windowEnd) {
        std::memcpy(FWindow.get() + (offset - FWindowStart), data, count);
        return true;
    }
    // Gathered bytes over any part of it would later write the old bytes back.
    if (windowHere && offset < windowEnd && end > FWindowStart && !Flush()) return false;
    const bool written = FVolume1->Seek(offset, os::SeekOrigin::Begin) == offset &&
                         FVolume1->Write(data, count) == static_cast<std::int64_t>(count);
    if (!FCurrent) FFileAt = written ? end : -1;
    return written;
}

void TArchiveWriter::Finish(bool complete) {
    const int last = FVolume;
    // What was gathered before a failure goes where it belongs, as it would have unbuffered.
    if (FVolume1 || FCurrent) HandOver();
    FWindowUsed = 0;
    FCurrent.reset();
    FVolume1.reset();
    if (!complete || FVolumeSize == 0) return;
    os::IPlatform& platform = os::Current();
    for (int n = last + 1; n <= kMaxVolume && platform.FileExists(VolumePath(n)); ++n) platform.DeleteFile(VolumePath(n));
}
