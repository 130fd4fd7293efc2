// Large-window reading and writing under the archive's 8 KB requests: the reader and writer
// keep their 8 KB rhythm (status, messages, Abort), while the file sees one call per window.
// Used by the archive component for volumes, sources, staging and targets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

// One window: large enough that a call per window costs nothing next to the copying, small
// enough to stay in the processor's cache and keep memory use flat.
constexpr std::size_t kIoWindow = 1 << 18;

// Reads a file ahead of its caller. Never fetches more than the caller said it will want.
class TReadAhead {
public:
    TReadAhead() = default;
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

    // Starts over on file at its current position; limit is the most the caller will read
    // from here (-1: up to the end). Buffered bytes are dropped.
    void Reset(os::IFile* file, std::int64_t limit = -1);
    // Like IFile::Read: fewer bytes than asked only at the end of the file (or the limit);
    // a read error counts as the end.
    std::size_t Read(void* buffer, std::size_t count);

private:
    os::IFile* FFile = nullptr;
    std::unique_ptr<std::uint8_t[]> FWindow;  // made on first use, kept for the next file
    std::size_t FStart = 0, FEnd = 0;
    std::int64_t FLimit = -1;
    bool FAtEnd = false;
};

// Collects writes and hands them to the file a window at a time.
class TWriteBehind {
public:
    TWriteBehind() = default;
    TWriteBehind(const TWriteBehind&) = delete;
    TWriteBehind& operator=(const TWriteBehind&) = delete;

    void Reset(os::IFile* file);
    // False when handing a window to the file came up short: the bytes that did not fit are
    // dropped, and the caller reports the full disk.
    bool Write(const void* data, std::size_t count);
    bool Flush();
    std::size_t Pending() const { return FUsed; }

private:
    os::IFile* FFile = nullptr;
    std::unique_ptr<std::uint8_t[]> FWindow;
    std::size_t FUsed = 0;
};

// A file that takes bytes straight from another open file of its kind, copying them in large
// pieces of its own instead of the pump's blocks. The archive component extracts into such a
// file by copying from the volume; other files get the bytes through the pump's buffers.
class IFileCopyTarget {
public:
    virtual ~IFileCopyTarget() = default;
    virtual bool CanCopyFrom(os::IFile& source) const = 0;
    // Appends count bytes of source from offset at this file's position, leaving source's
    // position as it was. Returns the bytes written: fewer when the disk filled (LastError
    // kErrorDiskFull) or source ended.
    virtual std::int64_t CopyFrom(os::IFile& source, std::int64_t offset, std::size_t count) = 0;
};

// Creates every missing directory of an absolute path; false when one cannot be made.
bool ForceDirectories(os::IPlatform& platform, const std::string& directory);

// The last part of a path, with '/' counting as a separator as it does for the system, so a
// stored name can never lead out of the directory it is extracted to.
std::string LastPathPart(const std::string& path);

// Lets the user interface process pending messages, when the program has one.
void LetMessagesThrough();
