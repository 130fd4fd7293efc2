// Build mode of the install root (see Build in cmp_TInstall.h): on the developer's machine,
// the program started with "*BUILD" writes the distribution into the folder BUILD.INF names:
// the setup program or the kit's loader as "setup.exe", the setup program with its presetup
// files packed in "setup.1", and the whole install tree compressed into "files.1".
#include "engine/cmp_TInstall.h"

#include "archive/BlockIO.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Finally.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"

namespace {

// BUILD.INF is written with a text editor, in the ANSI code page.
constexpr int kBuildInfCodePage = 1252;

std::function<std::string()>& KitFolderPrompt() {
    static std::function<std::string()> prompt;
    return prompt;
}

// The first line of BUILD.INF; false when the file cannot be read.
bool ReadFirstLine(const std::string& path, std::string& line, bool& hasLine) {
    auto file = os::Current().OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!file) return false;
    std::string raw(static_cast<std::size_t>(file->Size()), '\0');
    if (!raw.empty() && file->Read(raw.data(), raw.size()) != static_cast<std::int64_t>(raw.size())) return false;
    const std::vector<std::string> lines = rt::SplitLines(rt::AnsiToUtf8(raw, kBuildInfCodePage));
    hasLine = !lines.empty() && !rt::Trim(lines[0]).empty();
    if (hasLine) line = rt::Trim(lines[0]);
    return true;
}

}  // namespace

void SetKitFolderPrompt(std::function<std::string()> prompt) { KitFolderPrompt() = std::move(prompt); }

void TInstall::BuildFromInf() {
    const std::string exeName = os::Current().ModuleFileName();
    const std::string inf = rt::ExtractFilePath(exeName) + "BUILD.INF";
    std::string buildDir;
    bool hasLine = false;
    if (!os::Current().FileExists(inf) || !ReadFirstLine(inf, buildDir, hasLine))
        throw rt::Exception("Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    // A blank first line names no directory: the distribution would land wherever the
    // current directory happens to be.
    if (!hasLine) throw rt::Exception("Must be 1 line in BUILD.INF. This line should specify the build directory");
    Build(exeName, buildDir);
}

void TInstall::Build(const std::string& exeName, const std::string& buildDir) {
    if (FUseLoadingProgram) {
        CreateSetupFile(buildDir, exeName);
        CopyToBuildDir(FindLoaderProgram(), "setup.exe", buildDir);
    } else {
        CopyToBuildDir(exeName, rt::ExtractFileName(exeName), buildDir);
    }
    const TArchiveSettings saved = SaveArchiveSettings();
    RunWithFinally(
        [&] {
            SetArchiveFileType(TPathSpecifiers::ddAbsolute);
            SetArchiveFile(AddBackslash(buildDir) + "files.1");
            CompressFiles(true);
        },
        [&] { RestoreArchiveSettings(saved); });
    const std::string programDir = rt::ExtractFilePath(exeName);
    for (int i = 0; i < FDistributionFolders->Count(); ++i) {
        const std::string name = rt::Trim(FDistributionFolders->Strings(i));
        if (!name.empty()) CopyFolderTree(programDir + name, AddBackslash(buildDir) + name);
    }
}

void TInstall::CopyFolderTree(const std::string& from, const std::string& to) {
    os::IPlatform& platform = os::Current();
    if (!platform.DirectoryExists(from)) throw rt::Exception("The folder " + from + " for the distribution was not found");
    if (!ForceDirectories(platform, to)) throw rt::Exception("Cannot create the folder " + to);
    std::vector<os::FindData> entries;
    platform.FindFiles(AddBackslash(from) + "*.*", entries);
    for (const os::FindData& e : entries) {
        if (e.Name == "." || e.Name == "..") continue;
        const std::string source = AddBackslash(from) + e.Name, target = AddBackslash(to) + e.Name;
        if (e.Attributes & os::kAttrDirectory) CopyFolderTree(source, target);
        else if (!platform.CopyFile(source, target, false)) throw rt::Exception("Cannot copy " + source + " to " + target);
    }
}

void TInstall::CreateSetupFile(const std::string& buildDir, const std::string& exeName) {
    if (rt::Trim(exeName).empty()) throw rt::Exception("Cannot create setup file. Executable is blank");
    auto* container = new TFileContainer(this);
    FreeOnExit discard(container);
    container->SetAddToArchive(TlzhCommand::lzcOverwrite);
    container->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    container->SetArchiveFile(AddBackslash(buildDir) + "setup.1");
    if (!os::Current().FileExists(exeName)) throw rt::Exception("TInstall: Cannot find the executable file");
    std::vector<std::string> sources{exeName};
    for (int i = 0; i < FPresetupFiles->Count(); ++i) sources.push_back(FPresetupFiles->Strings(i));
    for (const std::string& source : sources) {
        // Owned by the container's owner; the container frees its member files with itself.
        auto* file = new TInstallFile(this);
        try {
            file->SetFileName(rt::ExtractFileName(source));
            file->SetIncludeFromDir(RemoveBackslash(rt::ExtractFilePath(source)));
            file->SetContainer(container);
        } catch (...) {
            file->Free();
            throw;
        }
        file->SetArchiveFileType(TPathSpecifiers::ddContainerArchiveFile);
        file->SetArchiveFile("");
    }
    container->CompressFiles(true);
}

std::string TInstall::FindLoaderProgram() {
    std::string folder = ReadRegistryString(TRootKeys::hkLocalMachine, kKitRegistryKey, kKitFolderValue, "");
    if (rt::Trim(folder).empty() && KitFolderPrompt()) {
        folder = KitFolderPrompt()();
        WriteRegistryString(TRootKeys::hkLocalMachine, kKitRegistryKey, kKitFolderValue, folder);
    }
    const std::string path = AddBackslash(rt::Trim(folder)) + kLoaderProgramName;
    // Without a folder the bare name would be looked up in whatever the current directory is.
    if (rt::Trim(folder).empty() || !os::Current().FileExists(path)) throw rt::Exception("The loader program was not found: " + path);
    return path;
}

void TInstall::CopyToBuildDir(const std::string& source, const std::string& destName, const std::string& buildDir) {
    auto* file = new TInstallFile(this);
    FreeOnExit discard(file);
    file->SetFileName(rt::ExtractFileName(source));
    file->SetIncludeFromDir(RemoveBackslash(rt::ExtractFilePath(source)));
    file->SetDestName(destName);
    file->SetDestDirType(TPathSpecifiers::ddAbsolute);
    file->SetDestDir(RemoveBackslash(buildDir));
    file->CopyToDest();
}
