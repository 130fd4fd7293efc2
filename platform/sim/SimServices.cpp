// The simulated machine's installation services (see SimPlatform.h): private profile files,
// calls into libraries, the ANSI code page, the version installer and message boxes. They work through the
// machine's own file calls, so sharing, attributes and free space apply as everywhere else.
#include "platform/sim/SimPlatform.h"

#include <map>
#include <mutex>

#include "platform/VersionBlock.h"
#include "platform/PeVersion.h"
#include "runtime/SysUtils.h"

namespace os {

namespace {

constexpr int kProfileCodePage = 1252;

std::string Join(const std::string& dir, const std::string& name) { return rt::IncludeTrailingBackslash(dir) + name; }

// ---- profile files ----------------------------------------------------------------------

bool IsSection(const std::string& line, std::string& name) {
    const std::string t = rt::Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = rt::Trim(t.substr(1, close - 1));
    return true;
}

bool IsKey(const std::string& line, const std::string& key, std::string* value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || !rt::SameText(rt::Trim(line.substr(0, eq)), key)) return false;
    if (value) *value = rt::Trim(line.substr(eq + 1));
    return true;
}

}  // namespace

struct SimPlatform::Services {
    std::mutex Mutex;
    std::map<std::string, std::int32_t> LibraryResults;
    std::vector<SimLibraryCall> LibraryCalls;
    std::function<void(const std::string&)> ProgramHandler;
    std::vector<int> Answers;
    std::vector<SimMessageBox> Boxes;
    bool PrivilegeRefused = false, RestartRefused = false, PrivilegeHeld = false;
    std::vector<SimRestartRequest> Restarts;
};

SimPlatform::Services& SimPlatform::Svc() {
    // Made on first use here, where the type is complete; the shared pointer carries its deleter.
    if (!FServices) FServices = std::make_shared<Services>();
    return *FServices;
}

void SimPlatform::SetLibraryFunctionResult(const std::string& function, std::int32_t result) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().LibraryResults[function] = result;
}

void SimPlatform::SetProgramHandler(std::function<void(const std::string& commandLine)> handler) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().ProgramHandler = std::move(handler);
}

std::function<void(const std::string&)> SimPlatform::ProgramHandler() {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    return Svc().ProgramHandler;
}

void SimPlatform::QueueMessageBoxAnswer(int answer) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().Answers.push_back(answer);
}

std::vector<SimLibraryCall> SimPlatform::LibraryCalls() const {
    if (!FServices) return {};
    std::lock_guard<std::mutex> lock(FServices->Mutex);
    return FServices->LibraryCalls;
}

std::vector<SimMessageBox> SimPlatform::MessageBoxes() const {
    if (!FServices) return {};
    std::lock_guard<std::mutex> lock(FServices->Mutex);
    return FServices->Boxes;
}

int SimPlatform::MessageBox(const std::string& text, const std::string& caption, std::uint32_t type) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().Boxes.push_back(SimMessageBox{text, caption, type});
    if (Svc().Answers.empty()) return kIdCancel;
    const int answer = Svc().Answers.front();
    Svc().Answers.erase(Svc().Answers.begin());
    return answer;
}

// ---- restarts ----------------------------------------------------------------------------

void SimPlatform::SetShutdownPrivilegeRefused(bool refused) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().PrivilegeRefused = refused;
}

void SimPlatform::SetRestartRefused(bool refused) {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().RestartRefused = refused;
}

std::vector<SimRestartRequest> SimPlatform::RestartRequests() const {
    if (!FServices) return {};
    std::lock_guard<std::mutex> lock(FServices->Mutex);
    return FServices->Restarts;
}

bool SimPlatform::EnableShutdownPrivilege() {
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    if (Svc().PrivilegeRefused) return Fail(kErrorNotAllAssigned);
    Svc().PrivilegeHeld = true;
    return true;
}

bool SimPlatform::RequestRestart() {
    const bool nt = GetVersion().Platform == PlatformId::NT;
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    SimRestartRequest request{Svc().PrivilegeHeld, false};
    request.Granted = !Svc().RestartRefused && (!nt || request.PrivilegeHeld);
    Svc().Restarts.push_back(request);
    if (request.Granted) return true;
    return Fail(Svc().RestartRefused ? kErrorAccessDenied : kErrorPrivilegeNotHeld);
}

// ---- profile files ----------------------------------------------------------------------

namespace {

// A profile file that starts with the UTF-16 byte order mark is read and kept in UTF-16, as
// Windows does; any other is in the ANSI code page.
bool IsUnicodeProfile(const std::string& raw) {
    return raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE;
}

std::string ProfileText(const std::string& raw) {
    if (!IsUnicodeProfile(raw)) return rt::AnsiToUtf8(raw, kProfileCodePage);
    std::u16string wide;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8));
    return rt::Utf16ToUtf8(wide);
}

std::string UnicodeProfileBytes(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : rt::Utf8ToUtf16(text)) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

}  // namespace

std::string SimPlatform::GetProfileString(const std::string& file, const std::string& section, const std::string& key,
                                          const std::string& defaultValue) {
    auto in = OpenFile(file, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite);
    if (!in) return defaultValue;
    std::string raw(static_cast<std::size_t>(in->Size()), '\0');
    if (!raw.empty() && in->Read(raw.data(), raw.size()) != static_cast<std::int64_t>(raw.size())) return defaultValue;
    bool inSection = false;
    for (const std::string& line : rt::SplitLines(ProfileText(raw))) {
        std::string name, value;
        if (IsSection(line, name)) inSection = rt::SameText(name, section);
        else if (inSection && IsKey(line, key, &value)) {
            // Windows drops one pair of quotes around a value.
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return defaultValue;
}

bool SimPlatform::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                                     const std::string& value) {
    if (section.empty() || key.empty()) return Fail(kErrorInvalidParameter);
    std::vector<std::string> lines;
    bool unicode = false;
    if (FileExists(file)) {
        auto in = OpenFile(file, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        if (!in) return false;
        std::string raw(static_cast<std::size_t>(in->Size()), '\0');
        if (!raw.empty() && in->Read(raw.data(), raw.size()) != static_cast<std::int64_t>(raw.size())) return Fail(kErrorAccessDenied);
        unicode = IsUnicodeProfile(raw);
        lines = rt::SplitLines(ProfileText(raw));
    }
    const std::string entry = key + "=" + value;
    // The entry replaces its key in the section, or follows the section's last entry.
    std::size_t sectionAt = lines.size(), insertAt = lines.size();
    bool replaced = false;
    for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
        std::string name;
        if (IsSection(lines[i], name)) {
            if (sectionAt != lines.size()) break;
            if (rt::SameText(name, section)) sectionAt = insertAt = i + 1;
        } else if (sectionAt != lines.size()) {
            if (IsKey(lines[i], key, nullptr)) {
                lines[i] = entry;
                replaced = true;
            } else if (!rt::Trim(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!replaced) {
        if (sectionAt == lines.size()) {
            if (!lines.empty() && !rt::Trim(lines.back()).empty()) lines.push_back("");
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        }
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const std::string bytes = unicode ? UnicodeProfileBytes(text) : rt::Utf8ToAnsi(text, kProfileCodePage);
    auto out = OpenFile(file, OpenMode::Write, Disposition::CreateAlways, Share::None);
    if (!out) return false;
    if (out->Write(bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size())) return Fail(kErrorDiskFull);
    return true;
}

// ---- libraries and programs -------------------------------------------------------------

LibraryCall SimPlatform::CallLibraryFunction(const std::string& path, const std::string& function, std::int32_t& result) {
    result = 0;
    if (!FileExists(path)) {
        Fail(kErrorModNotFound);
        return LibraryCall::NotLoaded;
    }
    auto image = OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read);
    if (!image) return LibraryCall::NotLoaded;
    std::uint32_t error = 0;
    if (!PeExportsFunction(*image, function, error)) {
        Fail(error);
        return error == kErrorProcNotFound ? LibraryCall::NoEntryPoint : LibraryCall::NotLoaded;
    }
    std::lock_guard<std::mutex> lock(Svc().Mutex);
    Svc().LibraryCalls.push_back(SimLibraryCall{path, function});
    const auto it = Svc().LibraryResults.find(function);
    result = it == Svc().LibraryResults.end() ? 0 : it->second;
    return LibraryCall::Called;
}

bool SimPlatform::LibraryExports(const std::string& path, const std::string& function) {
    if (!FileExists(path)) return Fail(kErrorModNotFound);
    auto image = OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::Read);
    if (!image) return false;
    std::uint32_t error = 0;
    if (!PeExportsFunction(*image, function, error)) return Fail(error);
    return true;
}

std::string SimPlatform::ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    // Unquoted, each blank may end the program's name: "C:\Program Files\A.exe" is looked
    // for as C:\Program.exe first, as CreateProcess does.
    std::size_t blank = 0;
    std::string first;
    for (;;) {
        blank = commandLine.find(' ', blank);
        std::string candidate = commandLine.substr(0, blank);
        if (rt::ExtractFileExt(candidate).empty()) candidate += ".exe";
        if (first.empty()) first = candidate;
        if (FileExists(candidate)) return candidate;
        if (blank == std::string::npos) return first;
        ++blank;
    }
}

// ---- the ANSI code page -----------------------------------------------------------------

bool SimPlatform::ToAnsiCodePage(std::string_view utf8, std::string& ansi) {
    ansi = rt::Utf8ToAnsi(utf8, FAnsiCodePage);
    // A character without a place comes back as "?"; one that was "?" already comes back the same.
    return rt::AnsiToUtf8(ansi, FAnsiCodePage) == utf8;
}

std::string SimPlatform::FromAnsiCodePage(std::string_view ansi) { return rt::AnsiToUtf8(ansi, FAnsiCodePage); }

// ---- the version installer --------------------------------------------------------------

std::uint32_t SimPlatform::VerFindFile(std::uint32_t flags, const std::string& fileName, const std::string& windowsDir,
                                       const std::string& appDir, std::string& currentDir, std::string& destDir) {
    std::string system, windows = windowsDir;
    GetSystemDirectory(system);
    if (windows.empty()) GetWindowsDirectory(windows);
    std::uint32_t result = 0;
    currentDir.clear();
    auto here = [&](const std::string& dir) { return !dir.empty() && FileExists(Join(dir, fileName)); };
    if (flags & kVfffIsSharedFile) {
        destDir = system;
        if (here(system)) currentDir = system;
        else if (here(appDir)) {
            currentDir = appDir;
            result |= kVffCurNeDest;
        }
    } else {
        destDir = appDir;
        if (here(appDir)) currentDir = appDir;
        else {
            for (const std::string* dir : {&windows, &system})
                if (here(*dir)) {
                    currentDir = *dir;
                    result |= kVffCurNeDest;
                    break;
                }
        }
    }
    // In use: nobody may have it open for writing alone.
    if (!currentDir.empty() && !OpenFile(Join(currentDir, fileName), OpenMode::ReadWrite, Disposition::OpenExisting, Share::None))
        result |= kVffFileInUse;
    return result;
}

std::uint32_t SimPlatform::VerInstallFile(std::uint32_t flags, const std::string& srcName, const std::string& destName,
                                          const std::string& srcDir, const std::string& destDir, const std::string& currentDir,
                                          std::string& tempFile) {
    const std::string source = Join(srcDir, srcName);
    const std::string dir = destDir.empty() ? srcDir : destDir;
    const std::string target = Join(dir, destName);
    if (!FileExists(source)) return kVifCannotReadSrc;
    const std::uint32_t attributes = GetFileAttributes(target);
    if (attributes != kInvalidAttributes && (attributes & kAttrReadOnly)) return kVifWriteProt;

    // A forced call installs the copy an earlier call left, when there is one.
    std::string temp;
    if ((flags & kViffForceInstall) && !tempFile.empty() && FileExists(Join(dir, tempFile))) {
        temp = Join(dir, tempFile);
    } else {
        temp = GetTempFileName(dir, "VER");
        if (temp.empty()) return kVifCannotCreate;
        if (!CopyFile(source, temp, false)) {
            const std::uint32_t error = LastError();
            DeleteFile(temp);
            return error == kErrorDiskFull || error == kErrorHandleDiskFull ? kVifOutOfSpace : kVifCannotCreate;
        }
    }
    auto leaveTemp = [&](std::uint32_t result) {
        tempFile = rt::ExtractFileName(temp);
        return result | kVifTempFile;
    };

    std::uint32_t result = 0;
    std::vector<std::uint8_t> existingBlock, newBlock;
    if (!(flags & kViffForceInstall) && FileExists(target) && GetFileVersionInfo(target, existingBlock)) {
        if (!GetFileVersionInfo(temp, newBlock)) return leaveTemp(kVifMismatch | kVifSrcOld);
        TFixedFileInfo existing, fresh;
        QueryFixedFileInfo(existingBlock, existing);
        QueryFixedFileInfo(newBlock, fresh);
        if (existing.FileVersionMS > fresh.FileVersionMS ||
            (existing.FileVersionMS == fresh.FileVersionMS && existing.FileVersionLS > fresh.FileVersionLS))
            result |= kVifMismatch | kVifSrcOld;
        if (existing.FileType != fresh.FileType || existing.FileSubtype != fresh.FileSubtype) result |= kVifMismatch | kVifDiffType;
        std::uint16_t existingLanguage = 0, existingCodePage = 0, freshLanguage = 0, freshCodePage = 0;
        if (QueryFirstTranslation(existingBlock, existingLanguage, existingCodePage) &&
            QueryFirstTranslation(newBlock, freshLanguage, freshCodePage)) {
            if (existingLanguage != freshLanguage) result |= kVifMismatch | kVifDiffLang;
            if (existingCodePage != freshCodePage) result |= kVifMismatch | kVifDiffCodePg;
        }
        if (result) return leaveTemp(result);
    }

    if (FileExists(target) && !DeleteFile(target)) {
        if (LastError() == kErrorSharingViolation) return leaveTemp(kVifFileInUse);
        DeleteFile(temp);
        return kVifAccessViolation | kVifCannotDelete;
    }
    if (!(flags & kViffDontDeleteOld) && !currentDir.empty() && !rt::SameText(rt::ExcludeTrailingBackslash(currentDir), rt::ExcludeTrailingBackslash(dir))) {
        const std::string old = Join(currentDir, destName);
        if (FileExists(old) && !DeleteFile(old))
            result |= kVifCannotDeleteCur | (LastError() == kErrorSharingViolation ? kVifSharingViolation : kVifAccessViolation);
    }
    if (!MoveFile(temp, target)) {
        result |= kVifCannotRename;
        DeleteFile(temp);
    }
    return result;
}

}  // namespace os
