// Shared setup routines; see SetupRoutines.h.
#include "app/SetupRoutines.h"

#include <vector>

#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "platform/Platform.h"

namespace SetupRoutines {

namespace {

std::string WithBackslash(std::string path) {
    AddBackslash(path);
    return path;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

void AddBackslash(std::string& path) {
    if (path.empty() || path.back() != '\\') path += '\\';
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

std::string StripFileNameChars(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (std::string_view("<>:/\\?*\"|").find(c) == std::string_view::npos) out += c;
    return out;
}

bool DatabaseExists(const std::string& dir) { return os::Current().FileExists(WithBackslash(dir) + "document.mdb"); }

void RecycleFile(const std::string& path) {
    os::IPlatform& p = os::Current();
    if (!p.FileExists(path)) return;
    if (!p.RecycleFile(path)) p.DeleteFile(path);
}

void DeleteDirectoryTree(const std::string& dir) {
    os::IPlatform& p = os::Current();
    const std::string base = rt::ExcludeTrailingBackslash(dir);
    // A link is taken away as it is: what it points to lies outside this tree.
    const std::uint32_t attrs = p.GetFileAttributes(base);
    if (attrs != os::kInvalidAttributes && (attrs & os::kAttrReparsePoint)) {
        p.RemoveDirectory(base);
        return;
    }
    std::vector<os::FindData> entries;
    if (p.FindFiles(base + "\\*", entries)) {
        for (const auto& e : entries) {
            if (IsDotEntry(e.Name)) continue;
            const std::string path = base + "\\" + e.Name;
            if (e.Attributes & os::kAttrDirectory) {
                DeleteDirectoryTree(path);
                p.RemoveDirectory(path);
            } else {
                p.SetFileAttributes(path, os::kAttrNormal);
                RecycleFile(path);
            }
        }
    }
    p.RemoveDirectory(base);
}

void RemoveOldDatabases(const std::string& dir) {
    os::IPlatform& p = os::Current();
    const std::string base = WithBackslash(dir);
    p.DeleteFile(base + "DOCUMENT.MDB");
    std::vector<os::FindData> entries;
    if (!p.FindFiles(base + "*", entries)) return;
    for (const auto& e : entries) {
        if (IsDotEntry(e.Name) || !(e.Attributes & os::kAttrDirectory)) continue;
        const std::string sub = base + e.Name;
        if (p.FileExists(sub + "\\" + e.Name + ".MDB")) DeleteDirectoryTree(sub);
    }
}

void RemoveUpdater() {
    TInstall* root = InstallRoot();
    if (!root) return;
    try {
        os::Current().DeleteFile(WithBackslash(root->DestDir()) + "Kalupdt.EXE");
    } catch (...) {
        // Removing the updater is a courtesy; nothing may stop the closing page.
    }
}

std::string LiteralEntryText(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

std::string EntryLiteral(const std::string& entry) {
    std::string out;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        out += entry[i];
        if (entry[i] == '%' && i + 1 < entry.size() && entry[i + 1] == '%') ++i;
    }
    return out;
}

}  // namespace SetupRoutines
