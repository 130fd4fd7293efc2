// The simulated machine's state: one struct that SimPlatform and its open files share (an open
// file may outlive the SimPlatform), and the helpers that more than one of the machine's files
// need. SimPlatform's calls are kept in a file for each service: SimMachine.cpp (paths, the side
// table, machine.dat, set-up and switches), SimFiles.cpp, SimRegistry.cpp and SimSystem.cpp;
// only they include this header.
#pragma once

#include "platform/sim/SimPlatform.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace os {

namespace fs = std::filesystem;

// Named, not anonymous: the machine's files share these, and so does the struct below.
namespace sim_detail {

// Names are UTF-8 inside; MinGW's filesystem would read a plain std::string as ANSI.
inline fs::path FromUtf8(std::string_view s) { return fs::path(std::u8string(s.begin(), s.end())); }

inline std::string ToUtf8(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

inline std::string HexUpper(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    return buffer;
}

// Defined with the other 8.3 rules in SimFiles.cpp; path resolution needs it too, to find an
// entry by its alias.
bool Is83Name(std::string_view name);

// In RootKey order, which is also the order of the sections in registry.reg.
inline constexpr std::array<const char*, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

inline bool IsNtKind(SimWindowsKind kind) { return kind != SimWindowsKind::Win95 && kind != SimWindowsKind::Win98; }

}  // namespace sim_detail

struct SimPlatform::Machine {
    struct Drive {
        std::uint64_t Total = 0;
        std::uint64_t Free = 0;
        bool NotReady = false;
        bool Full = false;
    };

    // What Windows keeps about an entry and the host does not.
    struct Meta {
        bool HasAttr = false;
        std::uint32_t Attr = 0;
        bool HasTime = false;
        FileTime Time = 0;
        std::int64_t HostStamp = 0;  // host mtime when Time was set; a later write makes it stale
        std::string Alias;
        bool Empty() const { return !HasAttr && !HasTime && Alias.empty(); }
    };

    struct WinPath {
        char Drive = 'C';
        std::vector<std::string> Parts;
    };

    struct Resolved {
        char Drive = 0;
        fs::path Host;
        std::string Key;                 // lower case, relative to the root: "c/dir/file.txt"
        std::vector<std::string> Names;  // as on disk; a missing last name as given
        std::vector<std::string> Given;  // as the caller wrote them
        bool Exists = false;
        bool Dir = false;
        bool Link = false;
        bool IsRoot() const { return Names.empty(); }
    };

    struct OpenRecord {
        std::string Key;
        fs::path Host;
        char Drive = 0;
        unsigned Access = 0;
        unsigned Share = 0;
    };

    struct RegKey {
        std::string Name;
        std::vector<std::shared_ptr<RegKey>> Children;            // creation order
        std::vector<std::pair<std::string, RegValue>> Values;     // creation order
        bool Deleted = false;
    };

    struct KeyRecord {
        std::shared_ptr<RegKey> Key;
        bool Writable = false;
    };

    // What the machine knows of a host folder's names, so that a name that is not there yet
    // costs a lookup instead of a reading of the folder. The machine's own changes keep it
    // current; a change behind its back (on the host) shows in the folder's time, and the
    // folder is read again.
    struct Folder {
        // Names as on disk, found without regard to case.
        struct NoCase {
            std::size_t operator()(const std::string& s) const {
                std::size_t h = 14695981039346656037ull;
                for (const char c : s) h = (h ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c)) * 1099511628211ull;
                return h;
            }
            bool operator()(const std::string& a, const std::string& b) const;
        };
        fs::file_time_type Stamp;
        std::unordered_set<std::string, NoCase, NoCase> Names;
        std::unordered_map<std::string, std::string> Aliases;  // by lower-case name: long names' 8.3 aliases, once known
        bool Aliased = false;                                  // every long name's alias is in Aliases
        std::set<std::string> Used;                    // upper-case 8.3 names and aliases, when Aliased
        std::unordered_map<std::string, std::uint32_t> NextNumber;  // by alias stem: no lower number is free
    };

    struct Window {
        std::string ClassName;
        std::uint32_t ProcessId = 0;
        SimWindowProc Handler;
        bool Hung = false;
    };

    mutable std::recursive_mutex Mutex;
    fs::path Root;
    std::uint32_t Error = 0;

    SimWindowsKind Kind = SimWindowsKind::NT4;
    std::map<char, Drive> Drives;
    std::map<std::string, Meta> Metas;
    bool MachineDirty = false;
    std::unordered_map<std::string, Folder> Folders;  // by host path
    // A run that writes a hundred thousand files holds the names of the folders it is busy
    // with, not of every folder it ever wrote to: past this many names the other folders'
    // indexes go and are read again should they be needed.
    static constexpr std::size_t kFolderNamesKept = 8192;
    // Drops every folder's index but keep's when the indexes hold too many names.
    void TrimFolders(const Folder* keep);
    std::uint64_t FolderReads = 0;                    // whole folders read, for tests of the cost
    // Folders resolved lately, by the lower-case path as given ("c/dir/sub"): a path in one
    // of them resolves its last name only.
    std::unordered_map<std::string, Resolved> ResolvedFolders;
    static constexpr std::size_t kResolvedFoldersKept = 4096;
    WinPath CurrentDir;
    // The last path Locate resolved (empty when it failed), for the note of a file the host
    // makes there.
    std::string LocatedPath;
    Resolved Located;

    std::map<std::uint64_t, OpenRecord> Opens;
    std::uint64_t NextOpenId = 1;
    std::set<std::string> InUse;
    std::uint32_t NextTempNumber = 0;

    std::array<std::shared_ptr<RegKey>, sim_detail::kRootNames.size()> RegRoots;
    std::map<KeyHandle, KeyRecord> KeyHandles;
    KeyHandle NextKeyHandle = 0x100;
    bool RegistryDenied = false;
    // Written when the machine ends (or is flushed), not on every change: rewriting the whole
    // file per value made a run's cost grow with the square of its registry writes.
    bool RegistryDirty = false;

    int ScreenWidth = 800, ScreenHeight = 600;
    bool MiddleEast = false;
    std::uint16_t LangId = 1033;
    std::set<std::string> KeyboardLayouts{"00000409"};
    std::string ActiveLayout = "00000409";
    std::uint32_t ClockMs = 12 * 3600 * 1000;
    std::string ModuleFileName = "C:\\SETUP.EXE";
    std::vector<std::string> Args;
    std::uint32_t ProcessId = 4242;

    std::map<WindowHandle, Window> Windows;
    WindowHandle NextWindow = 0x10010;
    std::vector<std::uint32_t> Beeps;
    std::vector<SimProcessStart> Started;
    std::vector<SimRecycledFile> Recycled;
    std::vector<SimPendingRename> PendingRenames;
    std::uint32_t RecycleCounter = 0;

    bool RecycleFails = false, StartProcessFails = false, WindowsDirFails = false, SystemDirFails = false;
    bool RestartMovesFail = false;
    std::optional<OsVersion> ReportedVersion;

    // The last owner (the platform, or an open file that outlives it) writes what is unsaved.
    ~Machine();
    void Save();

    bool Fail(std::uint32_t code) {
        Error = code;
        return false;
    }

    // ---- paths (SimMachine.cpp) ----

    static std::string PathText(const WinPath& w);
    bool Parse(const std::string& path, WinPath& out);
    bool CheckDrive(char letter);
    static std::string DriveKey(char letter);
    fs::path DriveHost(char letter) const { return Root / std::string(1, letter); }
    // status, when given, receives the entry's own status if finding it needed one.
    // dirStamp, when given, is dir's time just read, which its index is checked by.
    // exactMissed: the caller found no entry spelt exactly as name (where the host has case).
    bool FindEntry(const fs::path& dir, const std::string& dirKey, const std::string& name, std::string& actual,
                   fs::file_status* status = nullptr, const fs::file_time_type* dirStamp = nullptr, bool exactMissed = false);
    // The index of dir, read again when the host changed it; nullptr when it cannot be read.
    Folder* FolderOf(const fs::path& dir, const fs::file_time_type* known = nullptr);
    // After the machine made, removed or renamed host: its folder's index follows.
    void Refile(const fs::path& host, bool created = false);
    // A folder that went (removed or moved): its index and those below it.
    void ForgetFolders(const fs::path& host);
    bool ResolveParsed(const WinPath& w, Resolved& r);
    bool Resolve(const std::string& path, Resolved& r);
    static std::string ParentKey(const std::string& key) { return key.substr(0, key.rfind('/')); }

    // ---- side table (SimMachine.cpp) ----

    Meta* FindMeta(const std::string& key) {
        const auto it = Metas.find(key);
        return it == Metas.end() ? nullptr : &it->second;
    }
    void EraseMetaTree(const std::string& key);
    void MoveMetaTree(const std::string& from, const std::string& to);

    // ---- persistence (SimMachine.cpp) ----

    fs::path MachineFile() const { return Root / "machine.dat"; }
    fs::path RegistryFile() const { return Root / "registry.reg"; }
    void SaveMachine();
    bool LoadMachine();

    // ---- set-up (SimMachine.cpp) ----

    std::string WindowsDir() const;
    std::string SystemDir() const;
    void AddDrive(char letter, std::uint64_t total, std::uint64_t free);
    void EnsureDirectory(const std::string& path);

    // ---- 8.3 aliases, attributes, times, sharing and space (SimFiles.cpp) ----

    std::vector<std::pair<std::string, std::string>> AssignAliases(const fs::path& dir, const std::string& dirKey);
    std::string AliasOf(const fs::path& dir, const std::string& dirKey, const std::string& name);
    // A new entry: filed in its folder's index, with its alias now or (aliasNow false) when
    // one is asked for.
    void NoteCreated(const Resolved& r, bool aliasNow = true);
    // Gives a new long name of an indexed folder its alias without reading the folder.
    void AssignAlias(const Resolved& r);
    std::uint32_t Attributes(const Resolved& r);
    bool ReadOnly(const Resolved& r);
    void SetArchive(const std::string& key);
    void DropTime(const std::string& key);
    bool TimeOf(const Resolved& r, FileTime& ft);
    bool SetTimeOf(const Resolved& r, FileTime ft);
    bool Conflicts(const std::string& key, unsigned access, unsigned share) const;
    bool OpenBelow(const std::string& key) const;
    bool InUseBelow(const std::string& key) const;
    std::uint64_t Available(char letter) const;
    void Account(char letter, std::int64_t delta);
    static std::uint64_t TreeSize(const fs::path& p);

    // ---- registry (SimRegistry.cpp) ----

    std::shared_ptr<RegKey>& RegRoot(RootKey root) { return RegRoots[static_cast<std::size_t>(root)]; }
    static std::shared_ptr<RegKey> FindChild(const RegKey& key, std::string_view name);
    static std::vector<std::string> SplitKeyPath(std::string_view path);
    std::string RegistryText() const;
    void SaveRegistry();
    static bool ParseRegValue(std::string_view text, RegValue& value);
    void LoadRegistry();
    bool KeyOf(KeyHandle handle, KeyRecord*& rec);
    KeyHandle NewKeyHandle(std::shared_ptr<RegKey> key, bool writable);
    static void MarkDeleted(RegKey& key);
};

namespace sim_detail {

using Lock = std::lock_guard<std::recursive_mutex>;
using Resolved = SimPlatform::Machine::Resolved;

}  // namespace sim_detail

}  // namespace os
