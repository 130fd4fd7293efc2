// The database runtime installation; see DAOInst.h.
#include "system/DAOInst.h"

#include <array>
#include <vector>

#include "archive/BlockIO.h"
#include "engine/SetupLog.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "runtime/Registry.h"

namespace DAOInst {

namespace {

const char* const kCurrentVersionKey = "\\Software\\Microsoft\\Windows\\CurrentVersion";
const char* const kSharedDllsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

struct RuntimeFile {
    const char* Name;
    bool SharedFolder;  // always into the shared DAO folder, and counted in SharedDlls
    bool Forced;        // refusals of the version installer are overridden
};

// In installation order: the engine's libraries first, the DAO library last.
constexpr std::array<RuntimeFile, 8> kRuntimeFiles{{
    {"MSJT3032.dll", false, true},
    {"MSJTER32.dll", false, true},
    {"MSJINT32.dll", false, true},
    {"VBAJET32.dll", false, true},
    {"VBAR2232.dll", false, true},
    {"VEN2232.olb", false, true},
    {"MSVCRT20.dll", false, false},
    {"DAO3032.dll", true, true},
}};

// The installer's refusals that a forced call may overcome; the last one present names it.
struct Refusal {
    std::uint32_t Flag;
    const char* Text;
};
constexpr std::array<Refusal, 6> kRefusals{{
    {os::kVifFileInUse, "VIF_FileInUse"},
    {os::kVifWriteProt, "VIF_WriteProt"},
    {os::kVifSharingViolation, "VIF_SharingViolation"},
    {os::kVifSrcOld, "VIF_SrcOld"},
    {os::kVifCannotDeleteCur, "VIF_CannotDeleteCur"},
    {os::kVifAccessViolation, "VIF_AccessViolation"},
}};

constexpr int kInstallAttempts = 4;

// The log is opened for each group of lines and closed again, so it survives a failure.
class RuntimeLog {
public:
    explicit RuntimeLog(std::string path) : FPath(std::move(path)) {
        if (!os::Current().OpenFile(FPath, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::Read))
            throw rt::Exception("Cannot create the log " + FPath);
    }
    void Write(const std::vector<std::string>& lines) {
        auto file = os::Current().OpenFile(FPath, os::OpenMode::Write, os::Disposition::OpenAlways, os::Share::Read);
        if (!file || file->Seek(0, os::SeekOrigin::End) < 0) throw rt::Exception("Cannot write the log " + FPath);
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
            LogLine("Database runtime: " + line);
        }
        if (file->Write(text.data(), text.size()) != static_cast<std::int64_t>(text.size())) throw rt::Exception("Cannot write the log " + FPath);
    }

private:
    std::string FPath;
};

bool InstallOne(const RuntimeFile& runtime, const std::string& source, const std::string& destination, RuntimeLog& log) {
    os::IPlatform& platform = os::Current();
    const std::string name = runtime.Name;
    if (!platform.FileExists(AddBackslash(source) + name)) {
        LogLine("Database runtime: " + AddBackslash(source) + name + " is missing");
        return false;
    }
    ForceRecordedDirectories(destination);
    std::string currentDir, destDir;
    platform.VerFindFile(os::kVfffIsSharedFile, name, WindowsDir(), destination, currentDir, destDir);
    if (runtime.SharedFolder) destDir = destination;
    // In the source folder the file is the product's own, recorded when it was installed there.
    const bool existed = destDir.empty() || platform.FileExists(AddBackslash(destDir) + name);

    std::string tempFile;
    std::uint32_t result = 0;
    bool installed = false;
    for (int attempt = 0; attempt < kInstallAttempts; ++attempt) {
        result = platform.VerInstallFile(attempt == 0 ? 0u : std::uint32_t(os::kViffForceInstall), name, name, source, destDir, currentDir, tempFile);
        if (result == 0 || !runtime.Forced) {
            installed = true;
            break;
        }
        std::string refusal;
        for (const Refusal& r : kRefusals)
            if (result & r.Flag) refusal = r.Text;
        if (refusal.empty() && (result & os::kVifDiffLang)) refusal = "VIF_DiffLang";
        if (refusal.empty()) {
            log.Write({"failing"});
            break;
        }
        // After the last forced call the file counts as installed: an existing copy stays.
        if (attempt == kInstallAttempts - 1) {
            installed = true;
            break;
        }
        log.Write({refusal, "Forcing - normal"});
    }
    if (result & os::kVifTempFile) platform.DeleteFile(AddBackslash(destDir) + tempFile);
    if (!installed) return false;

    // Where the version installer put it, which need not be the folder asked for; an empty
    // suggestion leaves the file in the source folder.
    const std::string installedPath = AddBackslash(destDir.empty() ? source : destDir) + name;
    // The uninstaller takes away what was not there before; a counted library only when
    // its count says nobody else uses it.
    if (!existed || runtime.SharedFolder) AddUninstallFileEntry(UninstallRecordKey(), installedPath);
    std::int32_t ignored = 0;
    // Libraries that register themselves do so now; a file that is no library (the type
    // library) is simply not registered.
    platform.CallLibraryFunction(installedPath, "DllRegisterServer", ignored);
    if (runtime.SharedFolder && !IncrementRegistryCount(kSharedDllsKey, installedPath))
        throw rt::Exception("Cannot count " + installedPath + " in SharedDlls");
    if (!rt::SameText(installedPath, AddBackslash(source) + name)) platform.DeleteFile(AddBackslash(source) + name);
    LogLine("Database runtime: " + installedPath + " installed");
    return true;
}

}  // namespace

std::string GetCommonFilesDir() {
    rt::TRegistry reg(os::RootKey::LocalMachine);
    const bool open = reg.OpenKey(kCurrentVersionKey, true);
    if (open && reg.ValueExists("CommonFilesDir")) return reg.ReadString("CommonFilesDir");
    const std::string dir = WindowsDir().substr(0, 2) + "\\Program Files\\Common Files";
    if (open) reg.WriteString("CommonFilesDir", dir);
    return dir;
}

std::string SharedDaoFolder() {
    if (os::Current().GetVersion().Major > 3) return GetCommonFilesDir() + "\\Microsoft Shared\\DAO";
    return AddBackslash(WindowsDir()) + "MSApps\\DAO";
}

bool InstallDatabaseRuntime(const std::string& folder) {
    try {
        os::IPlatform& platform = os::Current();
        std::string source = folder;
        if (!folder.empty() && folder[0] == '$')
            source = RemoveBackslash(rt::ExtractFilePath(platform.ModuleFileName())) + folder.substr(1);
        const std::string systemFolder = SystemDir();
        const std::string daoFolder = SharedDaoFolder();
        RuntimeLog log(AddBackslash(source) + "Install.log");
        AddUninstallFileEntry(UninstallRecordKey(), AddBackslash(source) + "Install.log");
        for (const RuntimeFile& runtime : kRuntimeFiles) {
            log.Write({std::string("Installing ") + runtime.Name});
            if (!InstallOne(runtime, source, runtime.SharedFolder ? daoFolder : systemFolder, log)) return false;
        }
        // Only an emptied folder goes; the log normally keeps it.
        platform.RemoveDirectory(source);
        return true;
    } catch (const std::exception& e) {
        LogLine(std::string("Database runtime: ") + e.what());
        return false;
    }
}

}  // namespace DAOInst
