// Data placement for AddFiles; see ArchiveWriter.h.
#include "archive/ArchiveWriter.h"

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
        os::IFile& file = FCurrent ? *FCurrent : *FVolume1;
        if (file.Seek(FPosition, os::SeekOrigin::Begin) != FPosition) return done;
        const std::int64_t written = file.Write(bytes + done, run);
        if (written > 0) {
            FPosition += written;
            done += static_cast<std::size_t>(written);
        }
        if (written != static_cast<std::int64_t>(run)) return done;
    }
    return done;
}

void TArchiveWriter::Finish(bool complete) {
    const int last = FVolume;
    FCurrent.reset();
    FVolume1.reset();
    if (!complete || FVolumeSize == 0) return;
    os::IPlatform& platform = os::Current();
    for (int n = last + 1; n <= kMaxVolume && platform.FileExists(VolumePath(n)); ++n) platform.DeleteFile(VolumePath(n));
}
