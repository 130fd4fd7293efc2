// The tool's machine on hosts other than Windows; see HostMachine.h. Paths follow Windows
// rules through a simulated machine whose drive Z: is the host's root, while open files are
// plain host file descriptors: no reopening per call, and dates set on the host itself.
#include "archive/tool/HostMachine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>

#include "archive/BlockIO.h"
#include "platform/sim/SimPlatform.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kUnixEpochSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01
constexpr std::int64_t kTicksPerSecond = 10'000'000;

std::uint32_t WindowsError(int error) {
    switch (error) {
        case ENOENT: return os::kErrorFileNotFound;
        case ENOTDIR: return os::kErrorPathNotFound;
        case EEXIST: return os::kErrorFileExists;
        case ENOSPC:
        case EDQUOT: return os::kErrorDiskFull;
        case EBADF: return os::kErrorInvalidHandle;
        case EINVAL: return os::kErrorInvalidParameter;
        default: return os::kErrorAccessDenied;
    }
}

class HostFile : public os::IFile, public IFileCopyTarget {
public:
    HostFile(int fd, bool readOnly) : FFd(fd), FReadOnly(readOnly) {}
    ~HostFile() override { ::close(FFd); }

    // The position is kept here and each call says where it reads or writes: a seek costs no
    // call to the host, and reading the headers of an archive one call each.
    std::int64_t Read(void* buffer, std::size_t count) override {
        auto* p = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const std::size_t want = count - done;
            const ssize_t got = ::pread(FFd, p + done, want, FPosition);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return done > 0 ? static_cast<std::int64_t>(done) : Fail();
            done += static_cast<std::size_t>(got);
            FPosition += got;
            // A file on disk reads short only at its end: asking again would only hear so.
            if (static_cast<std::size_t>(got) < want) break;
        }
        return static_cast<std::int64_t>(done);
    }
    std::int64_t Write(const void* buffer, std::size_t count) override {
        const auto* p = static_cast<const char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t put = ::pwrite(FFd, p + done, count - done, FPosition);
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) {
                FError = WindowsError(errno);
                return done > 0 || FError == os::kErrorDiskFull ? static_cast<std::int64_t>(done) : -1;
            }
            done += static_cast<std::size_t>(put);
            FPosition += put;
        }
        return static_cast<std::int64_t>(done);
    }
    std::int64_t Seek(std::int64_t offset, os::SeekOrigin origin) override {
        std::int64_t base = 0;
        if (origin == os::SeekOrigin::Current) {
            base = FPosition;
        } else if (origin == os::SeekOrigin::End) {
            if (!Stat()) return Fail();
            base = static_cast<std::int64_t>(FStat.st_size);
        }
        if (base + offset < 0) {
            errno = EINVAL;
            return Fail();
        }
        FPosition = static_cast<off_t>(base + offset);
        return FPosition;
    }
    std::int64_t Size() override {
        if (!Stat()) return Fail();
        return static_cast<std::int64_t>(FStat.st_size);
    }
    bool SetEndOfFile() override { return ::ftruncate(FFd, FPosition) == 0 ? true : Fail() == 0; }
    bool GetTime(os::FileTime& lastWrite) override {
        if (!Stat()) return Fail() == 0;
        const struct stat& st = FStat;
        lastWrite = static_cast<os::FileTime>((st.st_mtim.tv_sec + kUnixEpochSeconds) * kTicksPerSecond + st.st_mtim.tv_nsec / 100);
        return true;
    }
    bool SetTime(os::FileTime lastWrite) override {
        const std::int64_t ticks = static_cast<std::int64_t>(lastWrite);
        timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(ticks / kTicksPerSecond - kUnixEpochSeconds);
        times[1].tv_nsec = static_cast<long>(ticks % kTicksPerSecond * 100);
        return ::futimens(FFd, times) == 0 ? true : Fail() == 0;
    }
    std::uint32_t LastError() const override { return FError; }

    bool CanCopyFrom(os::IFile& source) const override { return dynamic_cast<HostFile*>(&source) != nullptr; }
    // Through a page-aligned buffer of half a megabyte rather than the kernel's copy: a file's
    // data follows its header at no page boundary, and the kernel copies such a range piece
    // by piece through a pipe of sixteen pages, which took half as long again as reading and
    // writing it in large pieces. Pieces of a whole megabyte were as quick, except that
    // extracting a gigabyte just after the archive was written took four times as long
    // (1.2 s against 0.3 s); half a megabyte never did. One buffer serves every file: a small
    // file's copy costs less than the pages of a buffer of its own.
    std::int64_t CopyFrom(os::IFile& source, std::int64_t offset, std::size_t count) override {
        constexpr std::size_t kBufferSize = 512 * 1024;
        static thread_local const std::unique_ptr<char, decltype(&std::free)> buffer(
            static_cast<char*>(std::aligned_alloc(4096, kBufferSize)), &std::free);
        if (!buffer) {
            FError = WindowsError(ENOMEM);
            return 0;
        }
        const int from = dynamic_cast<HostFile&>(source).FFd;
        auto at = static_cast<off_t>(offset);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = ::pread(from, buffer.get(), std::min(count - done, kBufferSize), at);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) FError = WindowsError(errno);
            if (got <= 0) break;
            // Write keeps the position and tells a full disk by writing less.
            const std::int64_t put = Write(buffer.get(), static_cast<std::size_t>(got));
            if (put > 0) {
                at += put;
                done += static_cast<std::size_t>(put);
            }
            if (put < got) break;
        }
        return static_cast<std::int64_t>(done);
    }

    // Whether the handle is a file rather than a folder; its status then answers the size
    // and date asked next.
    bool IsRegular() { return Stat() && S_ISREG(FStat.st_mode); }

private:
    std::int64_t Fail() {
        FError = WindowsError(errno);
        return -1;
    }
    // A file being added is opened, then asked its size and its date: one status answers
    // all three, as nothing a read-only handle does can change them.
    bool Stat() {
        if (FStatUses > 0) {
            --FStatUses;
            return true;
        }
        if (::fstat(FFd, &FStat) != 0) return false;
        FStatUses = FReadOnly ? 2 : 0;
        return true;
    }
    int FFd;
    off_t FPosition = 0;
    bool FReadOnly;
    int FStatUses = 0;  // further questions FStat answers
    struct stat FStat {};
    std::uint32_t FError = 0;
};

// The simulated machine with host descriptors for open files.
class HostPlatform : public os::SimPlatform {
public:
    using os::SimPlatform::SimPlatform;

    std::unique_ptr<os::IFile> OpenFile(const std::string& path, os::OpenMode mode, os::Disposition disposition, os::Share share) override {
        // A file read as it is spelt is opened at once: the opening proves it is there, its
        // status that it is a file, and no lookup of the name is needed.
        fs::path host;
        if (mode == os::OpenMode::Read && disposition == os::Disposition::OpenExisting && HostPathAsGiven(path, host)) {
            const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                auto file = std::make_unique<HostFile>(fd, true);
                if (file->IsRegular()) {
                    FHostError = 0;
                    return file;
                }
            }
        }
        // The simulation checks the name and the rules of the disposition; the host opens.
        bool exists = false, directory = false;
        if (!Locate(path, host, exists, directory) || directory) return os::SimPlatform::OpenFile(path, mode, disposition, share);
        int flags = mode == os::OpenMode::Read ? O_RDONLY : mode == os::OpenMode::Write ? O_WRONLY : O_RDWR;
        switch (disposition) {
            case os::Disposition::OpenExisting: break;
            case os::Disposition::CreateAlways: flags |= O_CREAT | O_TRUNC; break;
            case os::Disposition::OpenAlways: flags |= O_CREAT; break;
            case os::Disposition::CreateNew: flags |= O_CREAT | O_EXCL; break;
        }
        if ((flags & O_TRUNC) && mode == os::OpenMode::Read) flags = (flags & ~O_RDONLY) | O_RDWR;
        // Made here, the file is news to the simulation, which would otherwise read the whole
        // folder again to learn of it.
        const bool created = (flags & O_CREAT) && !exists;
        const int fd = ::open(host.c_str(), flags | O_CLOEXEC, 0644);
        if (fd < 0) {
            FHostError = WindowsError(errno);
            return nullptr;
        }
        if (created) NoteHostCreated(path);
        FHostError = 0;
        return std::make_unique<HostFile>(fd, (flags & O_ACCMODE) == O_RDONLY);
    }
    std::uint32_t LastError() const override { return FHostError ? FHostError : os::SimPlatform::LastError(); }

private:
    std::uint32_t FHostError = 0;
};

}  // namespace

THostMachine::THostMachine() {
    std::random_device random;
    do FScratch = fs::temp_directory_path() / ("brevarc-" + std::to_string(random()));
    while (fs::exists(FScratch));
    fs::create_directories(FScratch);
    fs::create_directory_symlink("/", FScratch / "Z");
    auto machine = std::make_unique<HostPlatform>(FScratch);
    const fs::space_info space = fs::space("/");
    machine->AddDrive('Z', space.capacity, space.available);
    std::string cwd = "Z:" + fs::current_path().string();
    for (char& c : cwd)
        if (c == '/') c = '\\';
    machine->SetCurrentDirectory(cwd);
    FPlatform = std::move(machine);
}

THostMachine::~THostMachine() {
    FPlatform.reset();
    // The link first, and the folder only once the link is surely gone: the host's root stays.
    std::error_code ec;
    fs::remove(FScratch / "Z", ec);
    if (!fs::exists(fs::symlink_status(FScratch / "Z", ec))) fs::remove_all(FScratch, ec);
}

std::string THostMachine::FromUser(const std::string& path) const {
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    if (!p.empty() && p[0] == '\\' && (p.size() < 2 || p[1] != '\\')) p = "Z:" + p;
    return p;
}

std::vector<std::string> THostMachine::Arguments(int argc, char** argv) const { return std::vector<std::string>(argv + 1, argv + argc); }
