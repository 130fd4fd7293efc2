// Windowed reading and writing and small path helpers for the archive; see BlockIO.h.
#include "archive/BlockIO.h"

#include <algorithm>
#include <cstring>

#include "runtime/Forms.h"
#include "runtime/SysUtils.h"

void TReadAhead::Reset(os::IFile* file, std::int64_t limit) {
    FFile = file;
    FStart = FEnd = 0;
    FLimit = limit;
    FAtEnd = false;
}

std::size_t TReadAhead::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (FStart == FEnd) {
            if (FAtEnd || !FFile || FLimit == 0) break;
            if (!FWindow) FWindow.reset(new std::uint8_t[kIoWindow]);
            std::size_t want = kIoWindow;
            if (FLimit > 0 && static_cast<std::uint64_t>(FLimit) < want) want = static_cast<std::size_t>(FLimit);
            const std::int64_t got = FFile->Read(FWindow.get(), want);
            if (got <= 0) {
                FAtEnd = true;
                break;
            }
            if (static_cast<std::size_t>(got) < want) FAtEnd = true;
            if (FLimit > 0) FLimit -= got;
            FStart = 0;
            FEnd = static_cast<std::size_t>(got);
        }
        const std::size_t run = std::min(count - done, FEnd - FStart);
        std::memcpy(out + done, FWindow.get() + FStart, run);
        FStart += run;
        done += run;
    }
    return done;
}

void TWriteBehind::Reset(os::IFile* file) {
    FFile = file;
    FUsed = 0;
}

bool TWriteBehind::Write(const void* data, std::size_t count) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    bool complete = true;
    while (count > 0) {
        if (!FWindow) FWindow.reset(new std::uint8_t[kIoWindow]);
        if (FUsed == kIoWindow && !Flush()) complete = false;
        const std::size_t run = std::min(count, kIoWindow - FUsed);
        std::memcpy(FWindow.get() + FUsed, in, run);
        FUsed += run;
        in += run;
        count -= run;
    }
    return complete;
}

bool TWriteBehind::Flush() {
    if (FUsed == 0) return true;
    const std::int64_t written = FFile ? FFile->Write(FWindow.get(), FUsed) : -1;
    const bool complete = written == static_cast<std::int64_t>(FUsed);
    FUsed = 0;
    return complete;
}

bool ForceDirectories(os::IPlatform& platform, const std::string& directory) {
    const std::string dir = rt::ExcludeTrailingBackslash(directory);
    if (dir.empty() || platform.DirectoryExists(dir)) return true;
    const std::string parent = rt::ExcludeTrailingBackslash(rt::ExtractFilePath(dir));
    // A drive root ("C:") is there or not; it cannot be made.
    if (!parent.empty() && parent != dir && parent.back() != ':' && !ForceDirectories(platform, parent)) return false;
    return platform.CreateDirectory(dir) || platform.DirectoryExists(dir);
}

std::string LastPathPart(const std::string& path) {
    const std::size_t at = path.find_last_of("\\/:");
    return at == std::string::npos ? path : path.substr(at + 1);
}

void LetMessagesThrough() {
    if (rt::TApplication* app = rt::Application()) app->ProcessMessages();
}
