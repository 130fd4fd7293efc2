// Path specifiers and meta variables; see routines_ExpandPaths.h.
#include "engine/routines_ExpandPaths.h"

#include <optional>

#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallContainer.h"
#include "platform/Platform.h"

namespace {

std::optional<std::string> gWindowsDir, gSystemDir;

const char* const kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A string value, or nothing when the key or value is missing or not text. Opens read-only
// so a lookup never creates a key.
std::optional<std::string> ReadMachineString(os::RootKey root, const char* key, const char* value) {
    os::IPlatform& p = os::Current();
    const os::IPlatform::KeyHandle k = p.RegOpenKey(root, key, false);
    if (!k) return std::nullopt;
    os::RegValue v;
    const bool ok = p.RegQueryValue(k, value, v);
    p.RegCloseKey(k);
    if (!ok || (v.Type != os::ValueType::String && v.Type != os::ValueType::ExpandString)) return std::nullopt;
    return v.Text;
}

std::string Join(const std::string& first, const std::string& second) {
    if (!first.empty() && first.back() == '\\') return first + second;
    return first + "\\" + second;
}

std::string CurrentDrive() { return rt::ExtractFileDrive(os::Current().GetCurrentDirectory()); }

}  // namespace

std::string AddBackslash(const std::string& s) { return (!s.empty() && s.back() != '\\') ? s + "\\" : s; }

std::string RemoveBackslash(const std::string& s) { return (!s.empty() && s.back() == '\\') ? s.substr(0, s.size() - 1) : s; }

void InitEngineDirectories() {
    std::string dir;
    if (!os::Current().GetWindowsDirectory(dir)) throw EAICannotGetWindowsDir();
    gWindowsDir = dir;
    if (!os::Current().GetSystemDirectory(dir)) throw EAICannotGetSystemDir();
    gSystemDir = dir;
}

void DoneEngineDirectories() {
    gWindowsDir.reset();
    gSystemDir.reset();
}

const std::string& WindowsDir() {
    if (!gWindowsDir) InitEngineDirectories();
    return *gWindowsDir;
}

const std::string& SystemDir() {
    if (!gSystemDir) InitEngineDirectories();
    return *gSystemDir;
}

std::string GetProgramFilesDir() {
    auto v = ReadMachineString(os::RootKey::LocalMachine, kCurrentVersionKey, "ProgramFilesDir");
    return RemoveBackslash(v ? *v : Join(CurrentDrive(), "Program Files"));
}

std::string GetCommonFilesDir() {
    auto v = ReadMachineString(os::RootKey::LocalMachine, kCurrentVersionKey, "CommonFilesDir");
    return RemoveBackslash(v ? *v : Join(CurrentDrive(), "Program Files\\Common Files"));
}

std::string GetStartMenuDir() {
    auto v = ReadMachineString(os::RootKey::CurrentUser, kShellFoldersKey, "Start Menu");
    return RemoveBackslash(v ? *v : Join(WindowsDir(), "Startmen"));
}

std::string GetProgramMenuDir() {
    auto v = ReadMachineString(os::RootKey::CurrentUser, kShellFoldersKey, "Programs");
    return RemoveBackslash(v ? *v : Join(GetStartMenuDir(), "Programs"));
}

std::string GetDesktopDir() {
    auto v = ReadMachineString(os::RootKey::CurrentUser, kShellFoldersKey, "Desktop");
    return RemoveBackslash(v ? *v : Join(WindowsDir(), "Desktop"));
}

std::string GetFontDir() {
    auto v = ReadMachineString(os::RootKey::CurrentUser, kShellFoldersKey, "Fonts");
    return RemoveBackslash(v ? *v : SystemDir());
}

std::string GetStartUpDir() {
    auto v = ReadMachineString(os::RootKey::CurrentUser, kShellFoldersKey, "Startup");
    return RemoveBackslash(v ? *v : Join(WindowsDir(), "Startup"));
}

std::string MachineDirectory(TPathSpecifiers specifier) {
    switch (specifier) {
    case TPathSpecifiers::ddSystem: return RemoveBackslash(SystemDir());
    case TPathSpecifiers::ddWindows: return RemoveBackslash(WindowsDir());
    case TPathSpecifiers::ddProgramFilesDir: return GetProgramFilesDir();
    case TPathSpecifiers::ddCommonFilesDir: return GetCommonFilesDir();
    case TPathSpecifiers::ddDesktopMenuDir: return GetDesktopDir();
    case TPathSpecifiers::ddProgramMenuDir: return GetProgramMenuDir();
    case TPathSpecifiers::ddStartMenuDir: return GetStartMenuDir();
    case TPathSpecifiers::ddFontDir: return GetFontDir();
    case TPathSpecifiers::ddStartUpMenuDir: return GetStartUpDir();
    default: return {};
    }
}

std::string ResolveDestDir(TInstallContainer& component) {
    const std::string& d = component.DestDir();
    const bool helper = component.InheritsFrom(TBaseHelperComponent::StaticClass());
    switch (component.DestDirType()) {
    case TPathSpecifiers::ddAbsolute:
        return RemoveBackslash(d);
    case TPathSpecifiers::ddSystem:
    case TPathSpecifiers::ddWindows:
    case TPathSpecifiers::ddProgramFilesDir:
    case TPathSpecifiers::ddCommonFilesDir:
    case TPathSpecifiers::ddDesktopMenuDir:
    case TPathSpecifiers::ddProgramMenuDir:
    case TPathSpecifiers::ddStartMenuDir:
    case TPathSpecifiers::ddFontDir:
    case TPathSpecifiers::ddStartUpMenuDir:
        // The text is appended as it is: a relative DestDir is written "\MyApplication".
        return RemoveBackslash(RemoveBackslash(MachineDirectory(component.DestDirType())) + d);
    case TPathSpecifiers::ddContainerDestDir:
        if (!helper) break;
        if (TInstallContainer* c = static_cast<TBaseHelperComponent&>(component).Container())
            return RemoveBackslash(c->GetDestDir() + d);
        throw rt::Exception("Cannot expand the DestDir of " + component.Name() + " because the Container is Nil");
    case TPathSpecifiers::ddMainInstallDir:
        if (!helper) break;
        // The root is a helper class too; resolving it against itself would never end.
        if (InstallRoot() == &component) break;
        if (TInstall* root = InstallRoot()) return RemoveBackslash(root->GetDestDir() + d);
        throw rt::Exception("Cannot expand the DestDir of " + component.Name() + " because there is no TInstall component");
    default:
        break;
    }
    throw rt::Exception("That path specifier is not allowed for the DestDir property for " + component.Name());
}

std::string ExpandMetaVariables(const std::string& text, TBaseHelperComponent* component) {
    std::string out;
    bool pending = false;
    bool dropping = false;  // the rest of an unknown letter that takes several bytes
    for (const char ch : text) {
        if (dropping && (static_cast<unsigned char>(ch) & 0xC0) == 0x80) continue;
        dropping = false;
        if (!pending) {
            if (ch == '%') pending = true;
            else out += ch;
            continue;
        }
        pending = false;
        switch (ch) {
        case '%': out += '%'; break;
        case 'a': case 'A':
            if (!component) throw EAICannotExpandContainerDirMV("Cannot expand the %a meta variable because the component is Nil");
            out += RemoveBackslash(component->GetDestDir());
            break;
        case 'b': case 'B': out += GetProgramMenuDir(); break;
        case 'c': case 'C':
            if (!component) throw EAICannotExpandContainerDirMV("Cannot expand the %c meta variable because the component is Nil");
            if (!component->Container())
                throw EAICannotExpandContainerDirMV("Cannot expand the %c meta variable because the Container property is Nil");
            out += RemoveBackslash(component->Container()->GetDestDir());
            break;
        case 'd': case 'D': out += GetDesktopDir(); break;
        case 'f': case 'F': out += GetCommonFilesDir(); break;
        case 'i': case 'I':
            if (!InstallRoot())
                throw EAICannotExpandInstallDirMV("Cannot expand the %i meta variable because there is no TInstall component");
            out += RemoveBackslash(InstallRoot()->GetDestDir());
            break;
        case 'm': case 'M': out += GetStartMenuDir(); break;
        case 'p': case 'P': out += GetProgramFilesDir(); break;
        case 's': case 'S': out += RemoveBackslash(SystemDir()); break;
        case 'w': case 'W': out += RemoveBackslash(WindowsDir()); break;
        default:  // an unknown letter goes together with its "%", all of it
            dropping = (static_cast<unsigned char>(ch) & 0xC0) == 0xC0;
            break;
        }
    }
    return out;
}
