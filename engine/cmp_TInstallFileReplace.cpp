// Replacing a file that is in use (see ReplaceFile in cmp_TInstallFile.h): the new file goes
// beside it under a free name, and the system puts it in place at the next restart: through
// WININIT.INI on Windows 95 and 98, a delayed move on NT, and failing that a batch file that
// a start-up shortcut runs at the next logon.
#include "engine/cmp_TInstallFile.h"

#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Finally.h"
#include "platform/Platform.h"

namespace {

// The batch file is read by the system's command interpreter, in the ANSI code page as the
// other files this program leaves for the system.
constexpr int kBatchCodePage = 1252;

}  // namespace

int PlatformClass() {
    const os::OsVersion version = os::Current().GetVersion();
    switch (version.Platform) {
    case os::PlatformId::Win32s: return 0;
    case os::PlatformId::Windows: return 1;
    case os::PlatformId::NT: {
        const std::string text = rt::IntToStr(version.Major) + "." + rt::IntToStr(version.Minor);
        return text.find("3.5") != std::string::npos ? 3 : 2;
    }
    }
    return 4;
}

void TInstallFile::ReplaceFile(TKembCompress* kembCompress, TlzhFileStats&) {
    OnReplacing(this);
    BroadcastStage(this, "ReplacingFile", this);
    Inform("eieReplaceInstallFile", this);
    os::IPlatform& platform = os::Current();
    const std::string target = TargetPath();
    if (!platform.FileExists(target) || platform.DeleteFile(target)) return;

    FReplacedAtRestart = true;
    const std::string freeName = FreeName(rt::ExtractFilePath(target));
    kembCompress->SetDestFileName(freeName);
    ReplaceAtRestart(target, freeName);
}

std::string TInstallFile::FreeName(const std::string& directory) const {
    os::IPlatform& platform = os::Current();
    auto numbered = [this](int k) {
        std::string extension(1, '.');
        extension += rt::IntToStr(k);
        return rt::ChangeFileExt(FDestName, extension);
    };
    for (int k = 1; k <= kMaxFreeNameNumber; ++k) {
        const std::string name = numbered(k);
        if (platform.GetFileAttributes(AddBackslash(directory) + name) == os::kInvalidAttributes) return name;
    }
    throw rt::Exception("Cannot find a free name beside the file in use " + AddBackslash(directory) + FDestName + ": " + numbered(1) +
                        " to " + numbered(kMaxFreeNameNumber) + " are all taken");
}

void TInstallFile::ReplaceAtRestart(const std::string& target, const std::string& freeName) {
    os::IPlatform& platform = os::Current();
    std::string shortTarget = platform.GetShortPathName(target);
    if (shortTarget.empty()) shortTarget = target;
    const std::string shortFree = rt::ExtractFilePath(shortTarget) + freeName;
    const int platformClass = PlatformClass();
    SetupState().RebootNeeded = true;
    if (platformClass == 1) {
        const std::string wininit = AddBackslash(WindowsDir()) + "WININIT.INI";
        // Without the entry nothing replaces the file; setup must not report success then.
        if (!platform.WriteProfileString(wininit, "Rename", shortTarget, shortFree))
            throw rt::Exception("Cannot write the following entry to " + wininit + ": " + shortTarget + "=" + shortFree +
                                ". The error code reported by Windows is " + rt::IntToStr(platform.LastError()));
        return;
    }
    if (platform.MoveFileAtRestart(rt::ExtractFilePath(target) + freeName, target)) return;
    if (InstallRoot()) ReplaceByBatchFile(platformClass, shortTarget, shortFree);
}

void TInstallFile::ReplaceByBatchFile(int platformClass, const std::string& shortTarget, const std::string& shortFree) {
    // Win32s and unknown systems have no start-up place to run a batch file from: the new
    // file stays under its free name until someone moves it.
    if (platformClass != 2 && platformClass != 3) return;
    os::IPlatform& platform = os::Current();
    const std::string temp = platform.GetTempFileName(platform.GetTempPath(), "bat");
    if (temp.empty()) throw rt::Exception("Cannot create temporary file in OnReplace");
    const std::string batchFile = rt::ChangeFileExt(temp, ".bat");
    {
        // The batch file may run at every logon; guard each line so a second run is harmless.
        const std::string guard = "if exist \"" + shortFree + "\" ";
        const std::string text = rt::Utf8ToAnsi(guard + "erase \"" + shortTarget + "\"\r\n" + guard + "move \"" + shortFree +
                                                    "\" \"" + shortTarget + "\"\r\n",
                                                kBatchCodePage);
        auto file = platform.OpenFile(batchFile, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        if (!file || file->Write(text.data(), text.size()) != static_cast<std::int64_t>(text.size()))
            throw rt::Exception("Cannot create temporary file in OnReplace");
    }
    platform.DeleteFile(temp);
    InstallRoot()->AddUnfinishedEntry(batchFile, kUnfinishedDeleteFile);
    InstallBatchShortcut(platformClass, batchFile);
}

void TInstallFile::InstallBatchShortcut(int platformClass, const std::string& batchFile) {
    TInstallContainer* link = CreateShellLinkByName(InstallRoot(), "QuenfoldBatLink", "that replaces " + TargetPath() + " at the next logon");
    FreeOnExit discard(link);
    rt::SetPropValue(*link, "ObjectLocationType", static_cast<std::int64_t>(TPathSpecifiers::ddAbsolute));
    rt::SetPropValue(*link, "ObjectLocation", batchFile);
    rt::SetPropValue(*link, "LinkName", rt::ChangeFileExt(rt::ExtractFileName(batchFile), ".LNK"));
    InstallRoot()->AddStartupShortcut(*link, platformClass == 2);
}
