// The simulated Windows machine (see SimPlatform.h): Windows path rules over host folders,
// share modes, free space, the in-memory registry with its REGEDIT4 file, and fault switches.
// Only std::filesystem touches the host, so the same code runs on Linux and on Windows.
#include "platform/sim/SimPlatform.h"
#include "platform/PeVersion.h"

#include "runtime/SysUtils.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>

namespace os {

namespace fs = std::filesystem;

namespace {

// Windows codes the simulation reports but callers do not name.
constexpr std::uint32_t kErrorNotSameDevice = 17;
constexpr std::uint32_t kErrorInvalidName = 123;
constexpr std::uint32_t kErrorNegativeSeek = 131;
constexpr std::uint32_t kErrorDirectory = 267;
constexpr std::uint32_t kErrorKeyDeleted = 1018;
constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;
constexpr std::uint32_t kErrorTimeout = 1460;

constexpr std::uint64_t kDefaultDriveTotal = 2ull << 30;
constexpr std::uint64_t kDefaultDriveFree = 1ull << 30;
constexpr std::uint32_t kMsPerDay = 86'400'000;
constexpr std::uint32_t kAttrStored = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr FileTime kUnixEpochAsFileTime = 116'444'736'000'000'000ull;
constexpr int kRegCodePage = 1252;
constexpr const char* kSessionManagerKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingRenamesValue = "PendingFileRenameOperations";

enum : unsigned { kAccessRead = 1, kAccessWrite = 2, kAccessDelete = 4 };

unsigned ShareBits(Share share) {
    switch (share) {
        case Share::None: return 0;
        case Share::Read: return kAccessRead;
        case Share::ReadWrite: return kAccessRead | kAccessWrite;
        case Share::ReadWriteDelete: return kAccessRead | kAccessWrite | kAccessDelete;
    }
    return 0;
}

unsigned AccessBits(OpenMode mode) {
    switch (mode) {
        case OpenMode::Read: return kAccessRead;
        case OpenMode::Write: return kAccessWrite;
        case OpenMode::ReadWrite: return kAccessRead | kAccessWrite;
    }
    return 0;
}

// Names are UTF-8 inside; MinGW's filesystem would read a plain std::string as ANSI.
fs::path FromUtf8(std::string_view s) { return fs::path(std::u8string(s.begin(), s.end())); }

std::string ToUtf8(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string HexUpper(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    return buffer;
}

// ---- 8.3 names --------------------------------------------------------------------------

bool Is83Char(unsigned char c) {
    if (c >= 0x80 || c <= 0x20) return false;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

// Letter case does not matter: "readme.txt" needs no alias.
bool Is83Name(std::string_view name) {
    if (name == "." || name == "..") return true;
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string_view::npos && ext.empty()) return false;
    for (const char c : base)
        if (!Is83Char(static_cast<unsigned char>(c))) return false;
    for (const char c : ext)
        if (!Is83Char(static_cast<unsigned char>(c))) return false;
    return true;
}

// Upper-case 8.3 characters of s: spaces and dots dropped, other misfits become '_'.
std::string Clean83(std::string_view s, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < s.size() && out.size() < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == ' ' || c == '.') continue;
        if (c >= 0x80) {
            if ((c & 0xC0) == 0x80) continue;  // one '_' per UTF-8 character
            out += '_';
        } else {
            out += Is83Char(c) ? UpperChar(char(c)) : '_';
        }
    }
    return out;
}

// "Program Files" -> "PROGRA~1": the first free number among names already in use.
std::string MakeAlias(std::string_view longName, const std::set<std::string>& used) {
    std::size_t start = 0;
    while (start < longName.size() && longName[start] == '.') ++start;
    std::string_view name = longName.substr(start);
    const std::size_t dot = name.rfind('.');
    std::string base = Clean83(dot == std::string_view::npos ? name : name.substr(0, dot), 8);
    const std::string ext = dot == std::string_view::npos ? std::string() : Clean83(name.substr(dot + 1), 3);
    if (base.empty()) base = "_";
    for (std::uint32_t n = 1;; ++n) {
        const std::string suffix = "~" + std::to_string(n);
        const std::string candidate = base.substr(0, 8 - std::min<std::size_t>(suffix.size(), 7)) + suffix + (ext.empty() ? "" : "." + ext);
        if (!used.count(candidate)) return candidate;
    }
}

// ---- wildcards --------------------------------------------------------------------------

// The DOS forms Windows turns '?', '.' and '*' into before matching.
constexpr char kDosStar = '<', kDosQm = '>', kDosDot = '"';

std::string DosPattern(std::string_view mask) {
    std::string p(mask);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char next = i + 1 < p.size() ? mask[i + 1] : '\0';
        if (mask[i] == '?') p[i] = kDosQm;
        else if (mask[i] == '*' && next == '.') p[i] = kDosStar;
        else if (mask[i] == '.' && (next == '?' || next == '*' || next == '\0')) p[i] = kDosDot;
    }
    return p;
}

bool MatchDos(std::string_view p, std::string_view n) {
    if (p.empty()) return n.empty();
    switch (p[0]) {
        case '*':
            for (std::size_t k = 0; k <= n.size(); ++k)
                if (MatchDos(p.substr(1), n.substr(k))) return true;
            return false;
        case kDosStar: {
            // Anything up to the last dot of the name; all of it when no dot is left.
            const std::size_t lastDot = n.rfind('.');
            const std::size_t limit = lastDot == std::string_view::npos ? n.size() : lastDot;
            for (std::size_t k = 0; k <= limit; ++k)
                if (MatchDos(p.substr(1), n.substr(k))) return true;
            return false;
        }
        case kDosQm:
            if (n.empty() || n[0] == '.') return MatchDos(p.substr(1), n);
            return MatchDos(p.substr(1), n.substr(1));
        case kDosDot:
            if (n.empty()) return MatchDos(p.substr(1), n);
            return n[0] == '.' && MatchDos(p.substr(1), n.substr(1));
        default:
            return !n.empty() && UpperChar(p[0]) == UpperChar(n[0]) && MatchDos(p.substr(1), n.substr(1));
    }
}

// By hand: MinGW's copy_file refuses to overwrite an existing target.
bool CopyHostFile(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    char buffer[64 * 1024];
    while (in && out) {
        in.read(buffer, sizeof buffer);
        out.write(buffer, in.gcount());
    }
    out.close();
    return in.eof() && !out.fail();
}

bool HasWildcards(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

// ---- file times -------------------------------------------------------------------------

std::int64_t HostStamp(fs::file_time_type t) { return static_cast<std::int64_t>(t.time_since_epoch().count()); }

FileTime FromHostTime(fs::file_time_type t) {
    using namespace std::chrono;
    const auto sys = file_clock::to_sys(t);
    const std::int64_t ns = duration_cast<nanoseconds>(sys.time_since_epoch()).count();
    std::int64_t ticks = ns / 100;
    if (ns % 100 < 0) --ticks;
    return static_cast<FileTime>(static_cast<std::int64_t>(kUnixEpochAsFileTime) + ticks);
}

// False for times the host clock cannot hold; the side table keeps those anyway.
bool ToHostTime(FileTime ft, fs::file_time_type& out) {
    using namespace std::chrono;
    // Host clocks of 64-bit nanoseconds span about 1678..2262 around their epochs; keep well inside.
    constexpr FileTime kLow = 116'444'736'000'000'000ull - 20'000'000'000'000'000ull;   // ~1906
    constexpr FileTime kHigh = 116'444'736'000'000'000ull + 90'000'000'000'000'000ull;  // ~2255
    if (ft < kLow || ft > kHigh) return false;
    const std::int64_t ticks = static_cast<std::int64_t>(ft) - static_cast<std::int64_t>(kUnixEpochAsFileTime);
    const sys_time<nanoseconds> sys{nanoseconds(ticks * 100)};
    out = file_clock::from_sys(sys);
    return true;
}

// ---- REGEDIT4 text ----------------------------------------------------------------------

// In RootKey order, which is also the order of the sections in the file.
const std::array<const char*, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

std::string RegEscape(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// Reads a quoted string at s[pos] (on the opening quote); pos ends after the closing quote.
bool RegUnquote(std::string_view s, std::size_t& pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"') return false;
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) ++pos;
        out += s[pos];
    }
    return false;
}

// Long hex lines break after a comma as the registry editor writes them.
void AppendHexBytes(std::string& out, std::size_t lineLength, std::string_view bytes) {
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
        if (i + 1 == bytes.size()) break;
        out += ',';
        lineLength += 3;
        if (lineLength >= 77) {
            out += "\\\r\n  ";
            lineLength = 2;
        }
    }
}

bool ParseHexBytes(std::string_view s, std::string& out) {
    out.clear();
    int digits = 0;
    unsigned value = 0;
    for (const char c : s) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (c == ',') {
            if (digits == 0) return false;
            out += char(value);
            digits = 0;
            value = 0;
            continue;
        } else if (c == ' ' || c == '\t') continue;
        else return false;
        if (++digits > 2) return false;
        value = value * 16 + unsigned(v);
    }
    if (digits > 0) out += char(value);
    return true;
}

bool HasControlChars(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string KindName(SimWindowsKind kind) {
    switch (kind) {
        case SimWindowsKind::Win95: return "Win95";
        case SimWindowsKind::Win98: return "Win98";
        case SimWindowsKind::NT351: return "NT351";
        case SimWindowsKind::NT4: return "NT4";
        case SimWindowsKind::Win2000: return "Win2000";
    }
    return "NT4";
}

bool IsNtKind(SimWindowsKind kind) { return kind != SimWindowsKind::Win95 && kind != SimWindowsKind::Win98; }

}  // namespace

// ---- machine state ----------------------------------------------------------------------

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
    WinPath CurrentDir;

    std::map<std::uint64_t, OpenRecord> Opens;
    std::uint64_t NextOpenId = 1;
    std::set<std::string> InUse;
    std::uint32_t NextTempNumber = 0;

    std::array<std::shared_ptr<RegKey>, kRootNames.size()> RegRoots;
    std::map<KeyHandle, KeyRecord> KeyHandles;
    KeyHandle NextKeyHandle = 0x100;
    bool RegistryDenied = false;

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

    bool Fail(std::uint32_t code) {
        Error = code;
        return false;
    }

    // ---- paths ----

    static std::string PathText(const WinPath& w) {
        std::string s(1, w.Drive);
        s += ":\\";
        for (std::size_t i = 0; i < w.Parts.size(); ++i) {
            if (i) s += '\\';
            s += w.Parts[i];
        }
        return s;
    }

    bool Parse(const std::string& path, WinPath& out) {
        if (path.empty()) return Fail(kErrorPathNotFound);
        if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return Fail(kErrorPathNotFound);  // no network here
        std::string_view rest = path;
        out = WinPath{};
        const bool hasDrive = path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
        if (hasDrive) {
            out.Drive = UpperChar(path[0]);
            rest = rest.substr(2);
            if ((rest.empty() || !IsSeparator(rest[0])) && out.Drive == CurrentDir.Drive) out.Parts = CurrentDir.Parts;
        } else if (IsSeparator(path[0])) {
            out.Drive = CurrentDir.Drive;
        } else {
            out = CurrentDir;
        }
        std::size_t pos = 0;
        while (pos <= rest.size()) {
            std::size_t end = pos;
            while (end < rest.size() && !IsSeparator(rest[end])) ++end;
            std::string part(rest.substr(pos, end - pos));
            pos = end + 1;
            if (part.empty() || part == ".") continue;
            if (part == "..") {
                if (!out.Parts.empty()) out.Parts.pop_back();
                continue;
            }
            // Windows drops trailing dots and spaces from names.
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
            if (part.empty()) continue;
            for (const char c : part) {
                const unsigned char u = static_cast<unsigned char>(c);
                if (u < 0x20 || std::strchr("<>:\"|?*", u)) return Fail(kErrorInvalidName);
            }
            out.Parts.push_back(std::move(part));
        }
        return true;
    }

    bool CheckDrive(char letter) {
        const auto it = Drives.find(letter);
        if (it == Drives.end()) return Fail(kErrorPathNotFound);
        if (it->second.NotReady) return Fail(kErrorNotReady);
        return true;
    }

    static std::string DriveKey(char letter) { return std::string(1, LowerChar(letter)); }

    fs::path DriveHost(char letter) const { return Root / std::string(1, letter); }

    // The entry of dir named name, by long name without case or by 8.3 alias.
    bool FindEntry(const fs::path& dir, const std::string& dirKey, const std::string& name, std::string& actual) {
        std::error_code ec;
#ifndef _WIN32
        // The host compares with case: an exact hit is the common case and costs one call.
        if (fs::exists(fs::symlink_status(dir / FromUtf8(name), ec))) {
            actual = name;
            return true;
        }
#endif
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string entry = ToUtf8(it->path().filename());
            if (rt::SameText(entry, name)) {
                actual = entry;
                return true;
            }
        }
        if (name.find('~') != std::string::npos && Is83Name(name)) {
            for (const auto& [entry, alias] : AssignAliases(dir, dirKey))
                if (rt::SameText(alias, name)) {
                    actual = entry;
                    return true;
                }
        }
        return false;
    }

    bool ResolveParsed(const WinPath& w, Resolved& r) {
        if (!CheckDrive(w.Drive)) return false;
        r = Resolved{};
        r.Drive = w.Drive;
        r.Host = DriveHost(w.Drive);
        r.Key = DriveKey(w.Drive);
        r.Given = w.Parts;
        r.Exists = true;
        r.Dir = true;
        std::error_code ec;
        for (std::size_t i = 0; i < w.Parts.size(); ++i) {
            std::string actual;
            if (!FindEntry(r.Host, r.Key, w.Parts[i], actual)) {
                if (i + 1 < w.Parts.size()) return Fail(kErrorPathNotFound);
                actual = w.Parts[i];
                r.Exists = false;
            }
            r.Host /= FromUtf8(actual);
            r.Key += '/';
            r.Key += rt::LowerCase(actual);
            r.Names.push_back(actual);
            if (!r.Exists) {
                r.Dir = r.Link = false;
                break;
            }
            const fs::file_status own = fs::symlink_status(r.Host, ec);
            r.Link = fs::is_symlink(own);
            r.Dir = fs::is_directory(r.Link ? fs::status(r.Host, ec) : own);
            if (i + 1 < w.Parts.size() && !r.Dir) return Fail(kErrorPathNotFound);
        }
        return true;
    }

    bool Resolve(const std::string& path, Resolved& r) {
        WinPath w;
        return Parse(path, w) && ResolveParsed(w, r);
    }

    static std::string ParentKey(const std::string& key) { return key.substr(0, key.rfind('/')); }

    // ---- side table ----

    Meta* FindMeta(const std::string& key) {
        const auto it = Metas.find(key);
        return it == Metas.end() ? nullptr : &it->second;
    }

    void EraseMetaTree(const std::string& key) {
        Metas.erase(key);
        const std::string prefix = key + '/';
        for (auto it = Metas.lower_bound(prefix); it != Metas.end() && it->first.compare(0, prefix.size(), prefix) == 0;)
            it = Metas.erase(it);
        MachineDirty = true;
    }

    void MoveMetaTree(const std::string& from, const std::string& to) {
        std::vector<std::pair<std::string, Meta>> moved;
        const std::string prefix = from + '/';
        if (const auto it = Metas.find(from); it != Metas.end()) moved.emplace_back(to, it->second);
        for (auto it = Metas.lower_bound(prefix); it != Metas.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
            moved.emplace_back(to + it->first.substr(from.size()), it->second);
        EraseMetaTree(from);
        for (auto& [key, meta] : moved) Metas[key] = std::move(meta);
        MachineDirty = true;
    }

    // Long names of dir paired with their 8.3 aliases; names without one are assigned the
    // first free number, in name order, and keep it for good as Windows does.
    std::vector<std::pair<std::string, std::string>> AssignAliases(const fs::path& dir, const std::string& dirKey) {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            names.push_back(ToUtf8(it->path().filename()));
        std::set<std::string> used;
        std::vector<std::string> pending;
        std::vector<std::pair<std::string, std::string>> result;
        for (const auto& name : names) {
            if (Is83Name(name)) {
                used.insert(rt::UpperCase(name));
                continue;
            }
            const Meta* meta = FindMeta(dirKey + '/' + rt::LowerCase(name));
            if (meta && !meta->Alias.empty() && !used.count(meta->Alias)) {
                used.insert(meta->Alias);
                result.emplace_back(name, meta->Alias);
            } else {
                pending.push_back(name);
            }
        }
        std::sort(pending.begin(), pending.end(), [](const std::string& a, const std::string& b) {
            const int c = rt::CompareText(a, b);
            return c != 0 ? c < 0 : a < b;
        });
        for (const auto& name : pending) {
            const std::string alias = MakeAlias(name, used);
            used.insert(alias);
            Metas[dirKey + '/' + rt::LowerCase(name)].Alias = alias;
            result.emplace_back(name, alias);
            MachineDirty = true;
        }
        if (MachineDirty) SaveMachine();
        return result;
    }

    std::string AliasOf(const fs::path& dir, const std::string& dirKey, const std::string& name) {
        if (Is83Name(name)) return {};
        for (const auto& [entry, alias] : AssignAliases(dir, dirKey))
            if (entry == name) return alias;
        return {};
    }

    // Newly made entries get their alias at once, so later neighbours cannot take it.
    void NoteCreated(const Resolved& r) {
        EraseMetaTree(r.Key);
        if (!Is83Name(r.Names.back())) AssignAliases(r.Host.parent_path(), ParentKey(r.Key));
    }

    std::uint32_t Attributes(const Resolved& r) {
        if (r.IsRoot()) return kAttrDirectory;
        const Meta* meta = FindMeta(r.Key);
        std::uint32_t stored = meta && meta->HasAttr ? meta->Attr : (r.Dir ? 0u : std::uint32_t(kAttrArchive));
        if (r.Link) return kAttrReparsePoint | (r.Dir ? std::uint32_t(kAttrDirectory) : 0u) | stored;
        if (r.Dir) return kAttrDirectory | stored;
        return stored ? stored : kAttrNormal;
    }

    bool ReadOnly(const Resolved& r) { return !r.IsRoot() && (Attributes(r) & kAttrReadOnly); }

    void SetArchive(const std::string& key) {
        if (Meta* meta = FindMeta(key); meta && meta->HasAttr && !(meta->Attr & kAttrArchive)) {
            meta->Attr |= kAttrArchive;
            MachineDirty = true;
        }
    }

    // Content changed: the host time is the truth again.
    void DropTime(const std::string& key) {
        if (Meta* meta = FindMeta(key); meta && meta->HasTime) {
            meta->HasTime = false;
            MachineDirty = true;
        }
    }

    bool TimeOf(const Resolved& r, FileTime& ft) {
        std::error_code ec;
        const auto host = fs::last_write_time(r.Host, ec);
        if (ec) return Fail(kErrorAccessDenied);
        if (const Meta* meta = FindMeta(r.Key); meta && meta->HasTime && meta->HostStamp == HostStamp(host)) {
            ft = meta->Time;
            return true;
        }
        ft = FromHostTime(host);
        return true;
    }

    bool SetTimeOf(const Resolved& r, FileTime ft) {
        std::error_code ec;
        fs::file_time_type host;
        if (ToHostTime(ft, host)) fs::last_write_time(r.Host, host, ec);
        const auto now = fs::last_write_time(r.Host, ec);
        if (ec) return Fail(kErrorAccessDenied);
        Meta& meta = Metas[r.Key];
        meta.HasTime = true;
        meta.Time = ft;
        meta.HostStamp = HostStamp(now);
        MachineDirty = true;
        SaveMachine();
        return true;
    }

    // ---- sharing and space ----

    bool Conflicts(const std::string& key, unsigned access, unsigned share) const {
        for (const auto& [id, rec] : Opens) {
            if (rec.Key != key) continue;
            if ((access & ~rec.Share) != 0 || (rec.Access & ~share) != 0) return true;
        }
        return false;
    }

    bool OpenBelow(const std::string& key) const {
        const std::string prefix = key + '/';
        for (const auto& [id, rec] : Opens)
            if (rec.Key == key || rec.Key.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    }

    bool InUseBelow(const std::string& key) const {
        const std::string prefix = key + '/';
        for (const auto& k : InUse)
            if (k == key || k.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    }

    std::uint64_t Available(char letter) const {
        const auto it = Drives.find(letter);
        if (it == Drives.end() || it->second.Full) return 0;
        return it->second.Free;
    }

    // Size changes on a drive: growth takes free space, shrinking gives it back.
    void Account(char letter, std::int64_t delta) {
        auto it = Drives.find(letter);
        if (it == Drives.end() || delta == 0) return;
        Drive& d = it->second;
        if (delta > 0) d.Free = static_cast<std::uint64_t>(delta) > d.Free ? 0 : d.Free - static_cast<std::uint64_t>(delta);
        else d.Free = std::min(d.Total, d.Free + static_cast<std::uint64_t>(-delta));
        MachineDirty = true;
    }

    static std::uint64_t TreeSize(const fs::path& p) {
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(p, ec))) return 0;
        if (!fs::is_directory(p, ec)) {
            const auto size = fs::file_size(p, ec);
            return ec ? 0 : size;
        }
        std::uint64_t total = 0;
        for (fs::recursive_directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec) && !it->is_symlink(ec)) total += it->file_size(ec);
        return total;
    }

    // ---- persistence ----

    fs::path MachineFile() const { return Root / "machine.dat"; }
    fs::path RegistryFile() const { return Root / "registry.reg"; }

    void SaveMachine() {
        std::ostringstream out;
        out << "BrevSimMachine 1\n";
        out << "kind " << KindName(Kind) << "\n";
        for (const auto& [letter, d] : Drives) out << "drive " << letter << ' ' << d.Total << ' ' << d.Free << "\n";
        for (const auto& [key, m] : Metas) {
            if (m.Empty()) continue;
            out << "meta " << (m.HasAttr ? HexUpper(m.Attr) : "-") << ' ';
            if (m.HasTime) out << m.Time << ' ' << m.HostStamp;
            else out << "- -";
            out << ' ' << (m.Alias.empty() ? "-" : m.Alias) << ' ' << key << "\n";
        }
        std::ofstream file(MachineFile(), std::ios::binary | std::ios::trunc);
        file << out.str();
        MachineDirty = false;
    }

    bool LoadMachine() {
        std::ifstream file(MachineFile(), std::ios::binary);
        if (!file) return false;
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream in(line);
            std::string tag;
            in >> tag;
            if (tag == "kind") {
                std::string name;
                in >> name;
                for (auto k : {SimWindowsKind::Win95, SimWindowsKind::Win98, SimWindowsKind::NT351, SimWindowsKind::NT4, SimWindowsKind::Win2000})
                    if (KindName(k) == name) Kind = k;
            } else if (tag == "drive") {
                char letter = 0;
                Drive d;
                if (in >> letter >> d.Total >> d.Free) Drives[UpperChar(letter)] = d;
            } else if (tag == "meta") {
                std::string attr, time, stamp, alias;
                in >> attr >> time >> stamp >> alias;
                std::string key;
                std::getline(in >> std::ws, key);
                if (key.empty()) continue;
                Meta m;
                try {
                    if (attr != "-") {
                        m.HasAttr = true;
                        m.Attr = static_cast<std::uint32_t>(std::stoul(attr, nullptr, 16));
                    }
                    if (time != "-") {
                        m.HasTime = true;
                        m.Time = std::stoull(time);
                        m.HostStamp = std::stoll(stamp);
                    }
                } catch (const std::exception&) {
                    continue;  // a damaged line costs that entry only
                }
                if (alias != "-") m.Alias = alias;
                Metas[key] = m;
            }
        }
        return true;
    }

    std::shared_ptr<RegKey>& RegRoot(RootKey root) { return RegRoots[static_cast<std::size_t>(root)]; }

    static std::shared_ptr<RegKey> FindChild(const RegKey& key, std::string_view name) {
        for (const auto& child : key.Children)
            if (rt::SameText(child->Name, name)) return child;
        return nullptr;
    }

    static std::vector<std::string> SplitKeyPath(std::string_view path) {
        std::vector<std::string> parts;
        std::size_t pos = 0;
        while (pos <= path.size()) {
            std::size_t end = path.find('\\', pos);
            if (end == std::string_view::npos) end = path.size();
            if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
            pos = end + 1;
        }
        return parts;
    }

    // Sections: roots in a fixed order, each only when it holds values; below them every key,
    // parents before children, siblings and values in creation order. Loading keeps the file's
    // order, so a file written here loads and saves back to the same bytes.
    std::string RegistryText() const {
        std::string out = "REGEDIT4\r\n\r\n";
        std::function<void(const RegKey&, const std::string&, bool)> emit = [&](const RegKey& key, const std::string& path, bool isRoot) {
            if (!isRoot || !key.Values.empty()) {
                out += '[' + rt::Utf8ToAnsi(path, kRegCodePage) + "]\r\n";
                for (const auto& [name, value] : key.Values) {
                    const std::string prefix = name.empty() ? "@=" : '"' + RegEscape(rt::Utf8ToAnsi(name, kRegCodePage)) + "\"=";
                    out += prefix;
                    switch (value.Type) {
                        case ValueType::String:
                            if (!HasControlChars(value.Text)) {
                                out += '"' + RegEscape(rt::Utf8ToAnsi(value.Text, kRegCodePage)) + '"';
                            } else {
                                out += "hex(1):";
                                AppendHexBytes(out, prefix.size() + 7, rt::Utf8ToAnsi(value.Text, kRegCodePage) + '\0');
                            }
                            break;
                        case ValueType::ExpandString:
                            out += "hex(2):";
                            AppendHexBytes(out, prefix.size() + 7, rt::Utf8ToAnsi(value.Text, kRegCodePage) + '\0');
                            break;
                        case ValueType::DWord: {
                            char buffer[16];
                            std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(value.DWord));
                            out += "dword:";
                            out += buffer;
                            break;
                        }
                        case ValueType::MultiString: {
                            const std::string raw(value.Data.begin(), value.Data.end());
                            out += "hex(7):";
                            AppendHexBytes(out, prefix.size() + 7, rt::Utf8ToAnsi(raw, kRegCodePage));
                            break;
                        }
                        case ValueType::Binary:
                        case ValueType::None:
                            out += "hex:";
                            AppendHexBytes(out, prefix.size() + 4, std::string(value.Data.begin(), value.Data.end()));
                            break;
                    }
                    out += "\r\n";
                }
                out += "\r\n";
            }
            for (const auto& child : key.Children) emit(*child, path + '\\' + child->Name, false);
        };
        for (std::size_t i = 0; i < RegRoots.size(); ++i) emit(*RegRoots[i], kRootNames[i], true);
        return out;
    }

    void SaveRegistry() {
        const std::string text = RegistryText();
        std::ofstream file(RegistryFile(), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }

    static bool ParseRegValue(std::string_view text, RegValue& value) {
        value = RegValue{};
        if (!text.empty() && text[0] == '"') {
            std::size_t pos = 0;
            std::string s;
            if (!RegUnquote(text, pos, s)) return false;
            value.Type = ValueType::String;
            value.Text = rt::AnsiToUtf8(s, kRegCodePage);
            return true;
        }
        if (text.substr(0, 6) == "dword:") {
            const std::string digits(text.substr(6));
            if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
            value.Type = ValueType::DWord;
            value.DWord = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
            return true;
        }
        if (text.substr(0, 3) != "hex") return false;
        std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) return false;
        int type = 3;
        if (colon > 3) {
            const std::string_view kind = text.substr(3, colon - 3);
            if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')') return false;
            type = std::atoi(std::string(kind.substr(1, kind.size() - 2)).c_str());
        }
        std::string bytes;
        if (!ParseHexBytes(text.substr(colon + 1), bytes)) return false;
        auto withoutTerminator = [](std::string s) {
            if (!s.empty() && s.back() == '\0') s.pop_back();
            return s;
        };
        switch (type) {
            case 1:
                value.Type = ValueType::String;
                value.Text = rt::AnsiToUtf8(withoutTerminator(bytes), kRegCodePage);
                break;
            case 2:
                value.Type = ValueType::ExpandString;
                value.Text = rt::AnsiToUtf8(withoutTerminator(bytes), kRegCodePage);
                break;
            case 4:
                if (bytes.size() != 4) return false;
                value.Type = ValueType::DWord;
                for (int i = 3; i >= 0; --i) value.DWord = (value.DWord << 8) | static_cast<unsigned char>(bytes[std::size_t(i)]);
                break;
            case 7: {
                const std::string utf8 = rt::AnsiToUtf8(bytes, kRegCodePage);
                value.Type = ValueType::MultiString;
                value.Data.assign(utf8.begin(), utf8.end());
                break;
            }
            default:
                value.Type = ValueType::Binary;
                value.Data.assign(bytes.begin(), bytes.end());
                break;
        }
        return true;
    }

    void LoadRegistry() {
        std::ifstream file(RegistryFile(), std::ios::binary);
        if (!file) return;
        std::ostringstream buffer;
        buffer << file.rdbuf();
        std::vector<std::string> lines = rt::SplitLines(buffer.str());
        std::shared_ptr<RegKey> current;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string line = lines[i];
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                current = nullptr;
                const std::size_t close = line.rfind(']');
                if (close == std::string::npos || close < 2 || line[1] == '-') continue;
                const auto parts = SplitKeyPath(rt::AnsiToUtf8(line.substr(1, close - 1), kRegCodePage));
                if (parts.empty()) continue;
                for (std::size_t r = 0; r < kRootNames.size(); ++r)
                    if (rt::SameText(parts[0], kRootNames[r])) current = RegRoots[r];
                for (std::size_t p = 1; current && p < parts.size(); ++p) {
                    auto child = FindChild(*current, parts[p]);
                    if (!child) {
                        child = std::make_shared<RegKey>();
                        child->Name = parts[p];
                        current->Children.push_back(child);
                    }
                    current = child;
                }
                continue;
            }
            if (!current) continue;
            std::string name;
            std::size_t pos = 0;
            if (line[0] == '@') pos = 1;
            else if (!RegUnquote(line, pos, name)) continue;
            if (pos >= line.size() || line[pos] != '=') continue;
            std::string text = line.substr(pos + 1);
            // Hex data continues on the next line after a trailing backslash.
            while (!text.empty() && text.back() == '\\' && text.compare(0, 3, "hex") == 0 && i + 1 < lines.size()) {
                text.pop_back();
                text += rt::Trim(lines[++i]);
            }
            RegValue value;
            if (!ParseRegValue(text, value)) continue;
            name = rt::AnsiToUtf8(name, kRegCodePage);
            auto it = std::find_if(current->Values.begin(), current->Values.end(), [&](const auto& v) { return rt::SameText(v.first, name); });
            if (it != current->Values.end()) it->second = value;
            else current->Values.emplace_back(name, value);
        }
    }

    // ---- registry handles ----

    bool KeyOf(KeyHandle handle, KeyRecord*& rec) {
        const auto it = KeyHandles.find(handle);
        if (it == KeyHandles.end()) return Fail(kErrorInvalidHandle);
        if (it->second.Key->Deleted) return Fail(kErrorKeyDeleted);
        rec = &it->second;
        return true;
    }

    KeyHandle NewKeyHandle(std::shared_ptr<RegKey> key, bool writable) {
        const KeyHandle h = NextKeyHandle;
        NextKeyHandle += 4;
        KeyHandles[h] = KeyRecord{std::move(key), writable};
        return h;
    }

    static void MarkDeleted(RegKey& key) {
        key.Deleted = true;
        for (auto& child : key.Children) MarkDeleted(*child);
    }

    // ---- set-up ----

    std::string WindowsDir() const { return IsNtKind(Kind) ? "C:\\WINNT" : "C:\\WINDOWS"; }
    std::string SystemDir() const { return IsNtKind(Kind) ? "C:\\WINNT\\system32" : "C:\\WINDOWS\\SYSTEM"; }

    void AddDrive(char letter, std::uint64_t total, std::uint64_t free) {
        letter = UpperChar(letter);
        std::error_code ec;
        fs::create_directories(DriveHost(letter), ec);
        Drive& d = Drives[letter];
        d.Total = total;
        d.Free = std::min(free, total);
        SaveMachine();
    }

    // Makes every missing level of an absolute path.
    void EnsureDirectory(const std::string& path) {
        WinPath w;
        if (!Parse(path, w) || !CheckDrive(w.Drive)) return;
        WinPath partial{w.Drive, {}};
        for (const auto& part : w.Parts) {
            partial.Parts.push_back(part);
            Resolved r;
            if (!ResolveParsed(partial, r)) return;
            if (!r.Exists) {
                std::error_code ec;
                fs::create_directory(r.Host, ec);
            }
        }
    }
};

// ---- open files -------------------------------------------------------------------------

namespace {

class SimFile : public IFile {
public:
    SimFile(std::shared_ptr<SimPlatform::Machine> machine, std::uint64_t id) : FMachine(std::move(machine)), FId(id) {}

    ~SimFile() override {
        std::lock_guard lock(FMachine->Mutex);
        FMachine->Opens.erase(FId);
        if (FMachine->MachineDirty) FMachine->SaveMachine();
    }

    std::int64_t Read(void* buffer, std::size_t count) override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(kAccessRead);
        if (!rec) return -1;
        std::error_code ec;
        const std::uint64_t size = fs::file_size(rec->Host, ec);
        if (ec) return Fail(kErrorAccessDenied);
        if (FPosition >= size || count == 0) return 0;
        std::ifstream file(rec->Host, std::ios::binary);
        file.seekg(static_cast<std::streamoff>(FPosition));
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - FPosition));
        file.read(static_cast<char*>(buffer), static_cast<std::streamsize>(wanted));
        const std::int64_t got = file.gcount();
        FPosition += static_cast<std::uint64_t>(got);
        return got;
    }

    std::int64_t Write(const void* buffer, std::size_t count) override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(kAccessWrite);
        if (!rec) return -1;
        std::error_code ec;
        const std::uint64_t size = fs::file_size(rec->Host, ec);
        if (ec) return Fail(kErrorAccessDenied);
        // Bytes up to the old end cost nothing; beyond it they come out of free space.
        const std::uint64_t room = size + FMachine->Available(rec->Drive);
        const std::uint64_t fits = FPosition >= room ? 0 : std::min<std::uint64_t>(count, room - FPosition);
        if (fits > 0) {
            std::fstream file(rec->Host, std::ios::binary | std::ios::in | std::ios::out);
            file.seekp(static_cast<std::streamoff>(FPosition));
            file.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(fits));
            file.close();
            if (!file) return Fail(kErrorAccessDenied);
            FPosition += fits;
            FMachine->Account(rec->Drive, static_cast<std::int64_t>(std::max(FPosition, size) - size));
            FMachine->DropTime(rec->Key);
        }
        if (fits < count) {
            FError = kErrorDiskFull;
            return static_cast<std::int64_t>(fits);
        }
        return static_cast<std::int64_t>(count);
    }

    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(0);
        if (!rec) return -1;
        std::int64_t base = 0;
        if (origin == SeekOrigin::Current) base = static_cast<std::int64_t>(FPosition);
        else if (origin == SeekOrigin::End) {
            std::error_code ec;
            base = static_cast<std::int64_t>(fs::file_size(rec->Host, ec));
            if (ec) return Fail(kErrorAccessDenied);
        }
        const std::int64_t target = base + offset;
        if (target < 0) return Fail(kErrorNegativeSeek);
        FPosition = static_cast<std::uint64_t>(target);
        return target;
    }

    std::int64_t Size() override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(0);
        if (!rec) return -1;
        std::error_code ec;
        const std::uint64_t size = fs::file_size(rec->Host, ec);
        if (ec) return Fail(kErrorAccessDenied);
        return static_cast<std::int64_t>(size);
    }

    bool SetEndOfFile() override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(kAccessWrite);
        if (!rec) return false;
        std::error_code ec;
        const std::uint64_t size = fs::file_size(rec->Host, ec);
        if (ec) return Failed(kErrorAccessDenied);
        if (FPosition > size && FPosition - size > FMachine->Available(rec->Drive)) return Failed(kErrorDiskFull);
        fs::resize_file(rec->Host, FPosition, ec);
        if (ec) return Failed(kErrorAccessDenied);
        FMachine->Account(rec->Drive, static_cast<std::int64_t>(FPosition) - static_cast<std::int64_t>(size));
        FMachine->DropTime(rec->Key);
        return true;
    }

    bool GetTime(FileTime& lastWrite) override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(0);
        if (!rec) return false;
        SimPlatform::Machine::Resolved r;
        r.Host = rec->Host;
        r.Key = rec->Key;
        if (FMachine->TimeOf(r, lastWrite)) return true;
        return Failed(FMachine->Error);
    }

    bool SetTime(FileTime lastWrite) override {
        std::lock_guard lock(FMachine->Mutex);
        SimPlatform::Machine::OpenRecord* rec = Usable(kAccessWrite);
        if (!rec) return false;
        SimPlatform::Machine::Resolved r;
        r.Host = rec->Host;
        r.Key = rec->Key;
        if (FMachine->SetTimeOf(r, lastWrite)) return true;
        return Failed(FMachine->Error);
    }

    std::uint32_t LastError() const override { return FError; }

private:
    // -1 with the error kept, for the callers that return counts.
    std::int64_t Fail(std::uint32_t code) {
        FError = code;
        return -1;
    }

    bool Failed(std::uint32_t code) {
        FError = code;
        return false;
    }

    SimPlatform::Machine::OpenRecord* Usable(unsigned access) {
        const auto it = FMachine->Opens.find(FId);
        if (it == FMachine->Opens.end()) {
            Fail(kErrorInvalidHandle);
            return nullptr;
        }
        if ((it->second.Access & access) != access) {
            Fail(kErrorAccessDenied);
            return nullptr;
        }
        const auto drive = FMachine->Drives.find(it->second.Drive);
        if (drive != FMachine->Drives.end() && drive->second.NotReady) {
            Fail(kErrorNotReady);
            return nullptr;
        }
        return &it->second;
    }

    std::shared_ptr<SimPlatform::Machine> FMachine;
    std::uint64_t FId;
    std::uint64_t FPosition = 0;
    std::uint32_t FError = 0;
};

}  // namespace

// ---- SimPlatform ------------------------------------------------------------------------

using Lock = std::lock_guard<std::recursive_mutex>;
using Resolved = SimPlatform::Machine::Resolved;

SimPlatform::SimPlatform(std::filesystem::path machineRoot, SimWindowsKind kind)
    : FMachine(std::make_shared<Machine>()), FShell(std::make_unique<SimShell>(*this)) {
    Machine& m = *FMachine;
    m.Root = std::move(machineRoot);
    std::error_code ec;
    fs::create_directories(m.Root, ec);
    for (auto& root : m.RegRoots) root = std::make_shared<Machine::RegKey>();
    for (std::size_t i = 0; i < m.RegRoots.size(); ++i) m.RegRoots[i]->Name = kRootNames[i];
    m.CurrentDir = Machine::WinPath{'C', {}};
    if (!m.LoadMachine()) Format(kind);
    m.LoadRegistry();
}

SimPlatform::~SimPlatform() {
    Lock lock(FMachine->Mutex);
    if (FMachine->MachineDirty) FMachine->SaveMachine();
}

const std::filesystem::path& SimPlatform::MachineRoot() const { return FMachine->Root; }

void SimPlatform::Format(SimWindowsKind kind) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    m.Kind = kind;
    if (!m.Drives.count('C')) m.AddDrive('C', kDefaultDriveTotal, kDefaultDriveFree);
    m.EnsureDirectory(m.WindowsDir());
    m.EnsureDirectory(m.SystemDir());
    m.EnsureDirectory("C:\\TEMP");
    m.SaveMachine();
}

void SimPlatform::SetWindowsKind(SimWindowsKind kind) {
    Lock lock(FMachine->Mutex);
    FMachine->Kind = kind;
    FMachine->SaveMachine();
}

SimWindowsKind SimPlatform::WindowsKind() const {
    Lock lock(FMachine->Mutex);
    return FMachine->Kind;
}

void SimPlatform::AddDrive(char letter, std::uint64_t totalBytes, std::uint64_t freeBytes) {
    Lock lock(FMachine->Mutex);
    FMachine->AddDrive(letter, totalBytes, freeBytes);
}

std::filesystem::path SimPlatform::HostPath(const std::string& windowsPath) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(windowsPath, r)) return {};
    return r.Host;
}

void SimPlatform::SetScreenSize(int width, int height) {
    Lock lock(FMachine->Mutex);
    FMachine->ScreenWidth = width;
    FMachine->ScreenHeight = height;
}

void SimPlatform::SetMiddleEast(bool enabled) {
    Lock lock(FMachine->Mutex);
    FMachine->MiddleEast = enabled;
}

void SimPlatform::SetUserDefaultLangId(std::uint16_t langId) {
    Lock lock(FMachine->Mutex);
    FMachine->LangId = langId;
}

void SimPlatform::SetTimeOfDay(std::uint32_t ms) {
    Lock lock(FMachine->Mutex);
    FMachine->ClockMs = ms % kMsPerDay;
}

void SimPlatform::AdvanceClock(std::uint64_t ms) {
    Lock lock(FMachine->Mutex);
    FMachine->ClockMs = static_cast<std::uint32_t>((FMachine->ClockMs + ms % kMsPerDay) % kMsPerDay);
}

void SimPlatform::SetModuleFileName(std::string path) {
    Lock lock(FMachine->Mutex);
    FMachine->ModuleFileName = std::move(path);
}

void SimPlatform::SetCommandLineArgs(std::vector<std::string> args) {
    Lock lock(FMachine->Mutex);
    FMachine->Args = std::move(args);
}

void SimPlatform::SetProcessId(std::uint32_t id) {
    Lock lock(FMachine->Mutex);
    FMachine->ProcessId = id;
}

WindowHandle SimPlatform::AddWindow(std::string className, std::uint32_t processId, SimWindowProc handler) {
    Lock lock(FMachine->Mutex);
    const WindowHandle h = FMachine->NextWindow;
    FMachine->NextWindow += 0x10;
    FMachine->Windows[h] = Machine::Window{std::move(className), processId, std::move(handler)};
    return h;
}

void SimPlatform::RemoveWindow(WindowHandle window) {
    Lock lock(FMachine->Mutex);
    FMachine->Windows.erase(window);
}

void SimPlatform::SetWindowHung(WindowHandle window, bool hung) {
    Lock lock(FMachine->Mutex);
    const auto it = FMachine->Windows.find(window);
    if (it != FMachine->Windows.end()) it->second.Hung = hung;
}

void SimPlatform::SetFileInUse(const std::string& path, bool inUse) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(path, r)) return;
    if (inUse) FMachine->InUse.insert(r.Key);
    else FMachine->InUse.erase(r.Key);
}

void SimPlatform::SetDiskFull(char letter, bool full) {
    Lock lock(FMachine->Mutex);
    const auto it = FMachine->Drives.find(UpperChar(letter));
    if (it != FMachine->Drives.end()) it->second.Full = full;
}

void SimPlatform::SetRegistryDenied(bool denied) {
    Lock lock(FMachine->Mutex);
    FMachine->RegistryDenied = denied;
}

void SimPlatform::SetDriveNotReady(char letter, bool notReady) {
    Lock lock(FMachine->Mutex);
    const auto it = FMachine->Drives.find(UpperChar(letter));
    if (it != FMachine->Drives.end()) it->second.NotReady = notReady;
}

void SimPlatform::SetRecycleFails(bool fails) {
    Lock lock(FMachine->Mutex);
    FMachine->RecycleFails = fails;
}

void SimPlatform::SetStartProcessFails(bool fails) {
    Lock lock(FMachine->Mutex);
    FMachine->StartProcessFails = fails;
}

void SimPlatform::SetWindowsDirFails(bool fails) {
    Lock lock(FMachine->Mutex);
    FMachine->WindowsDirFails = fails;
}

void SimPlatform::SetRestartMovesFail(bool fails) {
    Lock lock(FMachine->Mutex);
    FMachine->RestartMovesFail = fails;
}

void SimPlatform::SetReportedVersion(const OsVersion& version) {
    Lock lock(FMachine->Mutex);
    FMachine->ReportedVersion = version;
}

bool SimPlatform::Fail(std::uint32_t code) {
    Lock lock(FMachine->Mutex);
    return FMachine->Fail(code);
}

void SimPlatform::SetSystemDirFails(bool fails) {
    Lock lock(FMachine->Mutex);
    FMachine->SystemDirFails = fails;
}

std::vector<std::uint32_t> SimPlatform::Beeps() const {
    Lock lock(FMachine->Mutex);
    return FMachine->Beeps;
}

std::vector<SimProcessStart> SimPlatform::StartedProcesses() const {
    Lock lock(FMachine->Mutex);
    return FMachine->Started;
}

std::vector<SimRecycledFile> SimPlatform::RecycledFiles() const {
    Lock lock(FMachine->Mutex);
    return FMachine->Recycled;
}

std::vector<SimPendingRename> SimPlatform::PendingRenames() const {
    Lock lock(FMachine->Mutex);
    return FMachine->PendingRenames;
}

std::uint32_t SimPlatform::LastError() const {
    Lock lock(FMachine->Mutex);
    return FMachine->Error;
}

// ---- files ------------------------------------------------------------------------------

std::uint32_t SimPlatform::GetFileAttributes(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return kInvalidAttributes;
    if (!r.Exists) {
        m.Fail(kErrorFileNotFound);
        return kInvalidAttributes;
    }
    return m.Attributes(r);
}

bool SimPlatform::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return false;
    if (!r.Exists) return m.Fail(kErrorFileNotFound);
    if (r.IsRoot()) return m.Fail(kErrorAccessDenied);
    Machine::Meta& meta = m.Metas[r.Key];
    meta.HasAttr = true;
    meta.Attr = attributes & kAttrStored;
    m.SaveMachine();
    return true;
}

bool SimPlatform::FileExists(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(path, r)) return false;
    if (!r.Exists) return FMachine->Fail(kErrorFileNotFound);
    return !r.Dir;
}

bool SimPlatform::DirectoryExists(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(path, r)) return false;
    if (!r.Exists) return FMachine->Fail(kErrorFileNotFound);
    return r.Dir;
}

bool SimPlatform::CreateDirectory(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return false;
    if (r.Exists) return m.Fail(kErrorAlreadyExists);
    std::error_code ec;
    if (!fs::create_directory(r.Host, ec)) return m.Fail(kErrorAccessDenied);
    m.NoteCreated(r);
    m.SaveMachine();
    return true;
}

bool SimPlatform::RemoveDirectory(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return false;
    if (!r.Exists) return m.Fail(kErrorFileNotFound);
    if (r.IsRoot()) return m.Fail(kErrorAccessDenied);
    std::error_code ec;
    if (r.Link) {
        // A directory link goes; what it points at stays.
        if (!fs::remove(r.Host, ec)) return m.Fail(kErrorAccessDenied);
        m.EraseMetaTree(r.Key);
        m.SaveMachine();
        return true;
    }
    if (!r.Dir) return m.Fail(kErrorDirectory);
    if (m.ReadOnly(r)) return m.Fail(kErrorAccessDenied);
    if (!fs::is_empty(r.Host, ec)) return m.Fail(kErrorDirNotEmpty);
    if (!fs::remove(r.Host, ec)) return m.Fail(kErrorAccessDenied);
    m.EraseMetaTree(r.Key);
    m.SaveMachine();
    return true;
}

bool SimPlatform::DeleteFile(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return false;
    if (!r.Exists) return m.Fail(kErrorFileNotFound);
    if (r.Dir) return m.Fail(kErrorAccessDenied);
    if (m.ReadOnly(r)) return m.Fail(kErrorAccessDenied);
    if (m.InUse.count(r.Key) || m.Conflicts(r.Key, kAccessDelete, kAccessRead | kAccessWrite | kAccessDelete))
        return m.Fail(kErrorSharingViolation);
    const std::uint64_t size = r.Link ? 0 : Machine::TreeSize(r.Host);
    std::error_code ec;
    if (!fs::remove(r.Host, ec)) return m.Fail(kErrorAccessDenied);
    m.Account(r.Drive, -static_cast<std::int64_t>(size));
    m.EraseMetaTree(r.Key);
    m.SaveMachine();
    return true;
}

bool SimPlatform::MoveFile(const std::string& from, const std::string& to) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved src, dst;
    if (!m.Resolve(from, src)) return false;
    if (!src.Exists) return m.Fail(kErrorFileNotFound);
    if (src.IsRoot()) return m.Fail(kErrorAccessDenied);
    if (!m.Resolve(to, dst)) return false;
    if (dst.IsRoot()) return m.Fail(kErrorAccessDenied);
    const bool caseOnly = dst.Exists && dst.Key == src.Key;
    if (dst.Exists && !caseOnly) return m.Fail(kErrorAlreadyExists);
    if (m.InUseBelow(src.Key)) return m.Fail(kErrorSharingViolation);
    if (src.Dir && !src.Link) {
        if (src.Drive != dst.Drive) return m.Fail(kErrorNotSameDevice);
        if (dst.Key.compare(0, src.Key.size() + 1, src.Key + '/') == 0) return m.Fail(kErrorSharingViolation);
        if (m.OpenBelow(src.Key)) return m.Fail(kErrorAccessDenied);
    } else if (m.Conflicts(src.Key, kAccessDelete, kAccessRead | kAccessWrite | kAccessDelete)) {
        return m.Fail(kErrorSharingViolation);
    }
    const std::uint64_t size = src.Link ? 0 : Machine::TreeSize(src.Host);
    if (src.Drive != dst.Drive && size > m.Available(dst.Drive)) return m.Fail(kErrorDiskFull);
    fs::path target = dst.Host;
    if (caseOnly) target = src.Host.parent_path() / FromUtf8(dst.Given.back());
    std::error_code ec;
    fs::rename(src.Host, target, ec);
    if (ec) return m.Fail(kErrorAccessDenied);
    if (src.Drive != dst.Drive) {
        m.Account(src.Drive, -static_cast<std::int64_t>(size));
        m.Account(dst.Drive, static_cast<std::int64_t>(size));
    }
    if (!caseOnly) {
        m.MoveMetaTree(src.Key, dst.Key);
        if (Machine::Meta* meta = m.FindMeta(dst.Key)) meta->Alias.clear();
        for (auto& [id, rec] : m.Opens)
            if (rec.Key == src.Key) {
                rec.Key = dst.Key;
                rec.Host = dst.Host;
                rec.Drive = dst.Drive;
            }
        if (!Is83Name(dst.Names.back())) m.AssignAliases(dst.Host.parent_path(), Machine::ParentKey(dst.Key));
    } else {
        for (auto& [id, rec] : m.Opens)
            if (rec.Key == src.Key) rec.Host = target;
    }
    m.SaveMachine();
    return true;
}

bool SimPlatform::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved src, dst;
    if (!m.Resolve(from, src)) return false;
    if (!src.Exists) return m.Fail(kErrorFileNotFound);
    if (src.Dir) return m.Fail(kErrorAccessDenied);
    if (m.Conflicts(src.Key, kAccessRead, kAccessRead | kAccessDelete)) return m.Fail(kErrorSharingViolation);
    if (!m.Resolve(to, dst)) return false;
    if (dst.Key == src.Key) return m.Fail(kErrorSharingViolation);
    std::uint64_t oldSize = 0;
    std::error_code ec;
    if (dst.Exists) {
        if (dst.Dir) return m.Fail(kErrorAccessDenied);
        if (failIfExists) return m.Fail(kErrorFileExists);
        if (m.ReadOnly(dst)) return m.Fail(kErrorAccessDenied);
        if (m.InUse.count(dst.Key) || m.Conflicts(dst.Key, kAccessWrite, 0)) return m.Fail(kErrorSharingViolation);
        oldSize = fs::file_size(dst.Host, ec);
    }
    const std::uint64_t size = fs::file_size(src.Host, ec);
    if (ec) return m.Fail(kErrorAccessDenied);
    if (size > oldSize && size - oldSize > m.Available(dst.Drive)) return m.Fail(kErrorDiskFull);
    FileTime time = 0;
    if (!m.TimeOf(src, time)) return false;
    if (!CopyHostFile(src.Host, dst.Host)) return m.Fail(kErrorAccessDenied);
    m.Account(dst.Drive, static_cast<std::int64_t>(size) - static_cast<std::int64_t>(oldSize));
    const Machine::Meta* srcMeta = m.FindMeta(src.Key);
    const bool srcHasAttr = srcMeta && srcMeta->HasAttr;
    const std::uint32_t srcAttr = srcHasAttr ? srcMeta->Attr : 0;
    if (!dst.Exists) m.NoteCreated(dst);
    // The copy carries the source's attributes and last write time, as Windows' does.
    Machine::Meta& dstMeta = m.Metas[dst.Key];
    dstMeta.HasAttr = srcHasAttr;
    dstMeta.Attr = srcAttr;
    dst.Exists = true;
    return m.SetTimeOf(dst, time);
}

bool SimPlatform::FindFiles(const std::string& pattern, std::vector<FindData>& result) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    result.clear();
    std::size_t cut = pattern.find_last_of("\\/");
    std::string dirPath, mask;
    if (cut != std::string::npos) {
        dirPath = pattern.substr(0, cut + 1);
        mask = pattern.substr(cut + 1);
    } else if (pattern.size() >= 2 && pattern[1] == ':') {
        dirPath = pattern.substr(0, 2);
        mask = pattern.substr(2);
    } else {
        dirPath = ".";
        mask = pattern;
    }
    Resolved dir;
    if (!m.Resolve(dirPath, dir)) return false;
    if (!dir.Exists || !dir.Dir) return m.Fail(kErrorPathNotFound);
    if (mask.empty()) return m.Fail(kErrorFileNotFound);

    auto describe = [&](const std::string& name, const std::string& alias) {
        Resolved r = dir;
        r.Host /= FromUtf8(name);
        r.Key += '/' + rt::LowerCase(name);
        r.Names.push_back(name);
        std::error_code ec;
        const fs::file_status own = fs::symlink_status(r.Host, ec);
        r.Link = fs::is_symlink(own);
        r.Dir = fs::is_directory(r.Link ? fs::status(r.Host, ec) : own);
        FindData fd;
        fd.Name = name;
        fd.ShortName = alias;
        fd.Attributes = m.Attributes(r);
        fd.Size = r.Dir ? 0 : fs::file_size(r.Host, ec);
        if (ec) fd.Size = 0;
        m.TimeOf(r, fd.LastWrite);
        return fd;
    };

    const auto aliases = m.AssignAliases(dir.Host, dir.Key);
    std::map<std::string, std::string> aliasOf(aliases.begin(), aliases.end());
    std::vector<FindData> found;
    std::error_code ec;
    for (fs::directory_iterator it(dir.Host, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = ToUtf8(it->path().filename());
        const auto a = aliasOf.find(name);
        const std::string alias = a == aliasOf.end() ? std::string() : a->second;
        bool match;
        if (HasWildcards(mask)) {
            const std::string p = DosPattern(mask);
            match = MatchDos(p, name) || (!alias.empty() && MatchDos(p, alias));
        } else {
            match = rt::SameText(name, mask) || (!alias.empty() && rt::SameText(alias, mask));
        }
        if (match) found.push_back(describe(name, alias));
    }
    std::sort(found.begin(), found.end(), [](const FindData& a, const FindData& b) {
        const int c = rt::CompareText(a.Name, b.Name);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });
    // Drive roots have no "." and "..", as on Windows.
    if (!dir.IsRoot() && HasWildcards(mask)) {
        const std::string p = DosPattern(mask);
        for (const char* dots : {"..", "."}) {
            if (!MatchDos(p, dots)) continue;
            FindData fd;
            fd.Name = dots;
            fd.Attributes = kAttrDirectory;
            Resolved self = dir;
            if (std::string(dots) == "..") {
                Machine::WinPath up{dir.Drive, dir.Names};
                up.Parts.pop_back();
                m.ResolveParsed(up, self);
            }
            fd.Attributes = m.Attributes(self);
            m.TimeOf(self, fd.LastWrite);
            found.insert(found.begin(), fd);
        }
    }
    if (found.empty()) return m.Fail(kErrorFileNotFound);
    result = std::move(found);
    return true;
}

std::unique_ptr<IFile> SimPlatform::OpenFile(const std::string& path, OpenMode mode, Disposition disposition, Share share) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return nullptr;
    if (r.Exists && r.Dir) {
        m.Fail(kErrorAccessDenied);
        return nullptr;
    }
    const unsigned access = AccessBits(mode);
    const unsigned shareBits = ShareBits(share);
    const bool truncate = disposition == Disposition::CreateAlways;
    std::error_code ec;
    if (r.Exists) {
        if (disposition == Disposition::CreateNew) {
            m.Fail(kErrorFileExists);
            return nullptr;
        }
        if ((access & kAccessWrite) || truncate) {
            if (m.ReadOnly(r)) {
                m.Fail(kErrorAccessDenied);
                return nullptr;
            }
            if (m.InUse.count(r.Key)) {
                m.Fail(kErrorSharingViolation);
                return nullptr;
            }
        }
        if (m.Conflicts(r.Key, access, shareBits)) {
            m.Fail(kErrorSharingViolation);
            return nullptr;
        }
        if (truncate) {
            const std::uint64_t size = fs::file_size(r.Host, ec);
            fs::resize_file(r.Host, 0, ec);
            if (ec) {
                m.Fail(kErrorAccessDenied);
                return nullptr;
            }
            m.Account(r.Drive, -static_cast<std::int64_t>(size));
            m.DropTime(r.Key);
        }
        if ((access & kAccessWrite) || truncate) m.SetArchive(r.Key);
    } else {
        if (disposition == Disposition::OpenExisting) {
            m.Fail(kErrorFileNotFound);
            return nullptr;
        }
        std::ofstream create(r.Host, std::ios::binary);
        if (!create) {
            m.Fail(kErrorAccessDenied);
            return nullptr;
        }
        create.close();
        m.NoteCreated(r);
    }
    if (m.MachineDirty) m.SaveMachine();
    const std::uint64_t id = m.NextOpenId++;
    m.Opens[id] = Machine::OpenRecord{r.Key, r.Host, r.Drive, access, shareBits};
    return std::make_unique<SimFile>(FMachine, id);
}

bool SimPlatform::GetFileTime(const std::string& path, FileTime& lastWrite) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(path, r)) return false;
    if (!r.Exists) return FMachine->Fail(kErrorFileNotFound);
    return FMachine->TimeOf(r, lastWrite);
}

bool SimPlatform::SetFileTime(const std::string& path, FileTime lastWrite) {
    Lock lock(FMachine->Mutex);
    Resolved r;
    if (!FMachine->Resolve(path, r)) return false;
    if (!r.Exists) return FMachine->Fail(kErrorFileNotFound);
    return FMachine->SetTimeOf(r, lastWrite);
}

bool SimPlatform::GetDiskFreeSpace(const std::string& path, std::uint64_t& freeBytes, std::uint64_t& totalBytes) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::WinPath w;
    if (!m.Parse(path, w) || !m.CheckDrive(w.Drive)) return false;
    freeBytes = m.Available(w.Drive);
    totalBytes = m.Drives[w.Drive].Total;
    return true;
}

std::string SimPlatform::GetTempPath() { return "C:\\TEMP\\"; }

std::string SimPlatform::GetTempFileName(const std::string& dir, const std::string& prefix) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(dir, r)) return {};
    if (!r.Exists || !r.Dir) {
        m.Fail(kErrorDirectory);
        return {};
    }
    // Up to three characters of the prefix, whole UTF-8 sequences only.
    std::string head;
    int chars = 0;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if ((static_cast<unsigned char>(prefix[i]) & 0xC0) != 0x80 && ++chars > 3) break;
        head += prefix[i];
    }
    // Windows starts from the tick count; the simulated clock keeps this repeatable.
    if (m.NextTempNumber == 0) m.NextTempNumber = (m.ClockMs & 0xFFFF) | 1;
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        const std::uint32_t unique = m.NextTempNumber;
        m.NextTempNumber = (m.NextTempNumber % 0xFFFF) + 1;
        const std::string name = head + HexUpper(unique) + ".TMP";
        std::string actual;
        if (m.FindEntry(r.Host, r.Key, name, actual)) continue;
        Resolved file = r;
        file.Host /= FromUtf8(name);
        file.Key += '/' + rt::LowerCase(name);
        file.Names.push_back(name);
        file.Exists = false;
        std::ofstream create(file.Host, std::ios::binary);
        if (!create) {
            m.Fail(kErrorAccessDenied);
            return {};
        }
        m.NoteCreated(file);
        m.SaveMachine();
        return rt::IncludeTrailingBackslash(dir) + name;
    }
    m.Fail(kErrorFileExists);
    return {};
}

std::string SimPlatform::GetShortPathName(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    if (!m.Resolve(path, r)) return {};
    if (!r.Exists) {
        m.Fail(kErrorFileNotFound);
        return {};
    }
    // Windows copies what it need not shorten, the drive letter included.
    std::string out(1, path.size() >= 2 && path[1] == ':' ? path[0] : r.Drive);
    out += ":\\";
    fs::path host = m.DriveHost(r.Drive);
    std::string key = Machine::DriveKey(r.Drive);
    for (std::size_t i = 0; i < r.Names.size(); ++i) {
        if (i) out += '\\';
        const std::string alias = Is83Name(r.Given[i]) ? std::string() : m.AliasOf(host, key, r.Names[i]);
        out += alias.empty() ? r.Given[i] : alias;
        host /= FromUtf8(r.Names[i]);
        key += '/' + rt::LowerCase(r.Names[i]);
    }
    return out;
}

std::string SimPlatform::GetCurrentDirectory() {
    Lock lock(FMachine->Mutex);
    return Machine::PathText(FMachine->CurrentDir);
}

bool SimPlatform::SetCurrentDirectory(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::WinPath w;
    Resolved r;
    if (!m.Parse(path, w) || !m.ResolveParsed(w, r)) return false;
    if (!r.Exists) return m.Fail(kErrorFileNotFound);
    if (!r.Dir) return m.Fail(kErrorDirectory);
    m.CurrentDir = w;
    return true;
}

bool SimPlatform::RecycleFile(const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    if (m.RecycleFails) return m.Fail(kErrorAccessDenied);
    Resolved r;
    if (!m.Resolve(path, r)) return false;
    if (!r.Exists) return m.Fail(kErrorFileNotFound);
    if (r.IsRoot()) return m.Fail(kErrorAccessDenied);
    if (m.InUseBelow(r.Key) || (r.Dir ? m.OpenBelow(r.Key) : m.Conflicts(r.Key, kAccessDelete, kAccessRead | kAccessWrite | kAccessDelete)))
        return m.Fail(kErrorSharingViolation);
    std::error_code ec;
    const fs::path bin = m.Root / "RecycleBin";
    fs::create_directories(bin, ec);
    const fs::path target = bin / FromUtf8(std::to_string(++m.RecycleCounter) + "_" + r.Names.back());
    const std::uint64_t size = Machine::TreeSize(r.Host);
    fs::rename(r.Host, target, ec);
    if (ec) return m.Fail(kErrorAccessDenied);
    m.Account(r.Drive, -static_cast<std::int64_t>(size));
    m.EraseMetaTree(r.Key);
    m.SaveMachine();
    m.Recycled.push_back(SimRecycledFile{path, target});
    return true;
}

bool SimPlatform::MoveFileAtRestart(const std::string& from, const std::string& to) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    if (from.empty()) return m.Fail(kErrorInvalidParameter);
    if (!IsNtKind(m.Kind)) return m.Fail(kErrorCallNotImplemented);
    if (m.RestartMovesFail) return m.Fail(kErrorAccessDenied);
    // Kept where NT's session manager reads it at boot: "\??\" paths in pairs, the target
    // marked "!" because an existing file is to be replaced; an empty target deletes.
    const KeyHandle key = RegCreateKey(RootKey::LocalMachine, kSessionManagerKey);
    if (!key) return false;
    RegValue value;
    std::string data;
    if (RegQueryValue(key, kPendingRenamesValue, value) && value.Type == ValueType::MultiString) {
        data.assign(value.Data.begin(), value.Data.end());
        if (!data.empty()) data.pop_back();  // the list's closing NUL
    }
    data += "\\??\\" + from + '\0';
    data += (to.empty() ? std::string() : "!\\??\\" + to) + '\0';
    data += '\0';
    value = RegValue{};
    value.Type = ValueType::MultiString;
    value.Data.assign(data.begin(), data.end());
    const bool stored = RegSetValue(key, kPendingRenamesValue, value);
    RegCloseKey(key);
    if (!stored) return false;
    m.PendingRenames.push_back(SimPendingRename{from, to});
    return true;
}

bool SimPlatform::GetFileVersionInfo(const std::string& path, std::vector<std::uint8_t>& block) {
    block.clear();
    std::unique_ptr<IFile> file = OpenFile(path, OpenMode::Read, Disposition::OpenExisting, Share::ReadWrite);
    if (!file) return false;
    std::uint32_t error = 0;
    if (ReadPeVersionResource(*file, block, error)) return true;
    Lock lock(FMachine->Mutex);
    return FMachine->Fail(error);
}

// ---- registry ---------------------------------------------------------------------------

IPlatform::KeyHandle SimPlatform::RegOpenKey(RootKey root, const std::string& path, bool writable) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    if (writable && m.RegistryDenied) {
        m.Fail(kErrorAccessDenied);
        return 0;
    }
    std::shared_ptr<Machine::RegKey> key = m.RegRoot(root);
    for (const auto& part : Machine::SplitKeyPath(path)) {
        key = Machine::FindChild(*key, part);
        if (!key) {
            m.Fail(kErrorFileNotFound);
            return 0;
        }
    }
    return m.NewKeyHandle(key, writable);
}

IPlatform::KeyHandle SimPlatform::RegCreateKey(RootKey root, const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    if (m.RegistryDenied) {
        m.Fail(kErrorAccessDenied);
        return 0;
    }
    std::shared_ptr<Machine::RegKey> key = m.RegRoot(root);
    bool created = false;
    for (const auto& part : Machine::SplitKeyPath(path)) {
        auto child = Machine::FindChild(*key, part);
        if (!child) {
            child = std::make_shared<Machine::RegKey>();
            child->Name = part;
            key->Children.push_back(child);
            created = true;
        }
        key = child;
    }
    if (created) m.SaveRegistry();
    return m.NewKeyHandle(key, true);
}

void SimPlatform::RegCloseKey(KeyHandle key) {
    Lock lock(FMachine->Mutex);
    FMachine->KeyHandles.erase(key);
}

bool SimPlatform::RegQueryValue(KeyHandle key, const std::string& name, RegValue& value) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::KeyRecord* rec;
    if (!m.KeyOf(key, rec)) return false;
    for (const auto& [n, v] : rec->Key->Values)
        if (rt::SameText(n, name)) {
            value = v;
            return true;
        }
    return m.Fail(kErrorFileNotFound);
}

bool SimPlatform::RegSetValue(KeyHandle key, const std::string& name, const RegValue& value) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::KeyRecord* rec;
    if (!m.KeyOf(key, rec)) return false;
    if (!rec->Writable || m.RegistryDenied) return m.Fail(kErrorAccessDenied);
    // Keep only what the type uses, so a stored value reads back exactly as Windows returns it.
    RegValue stored;
    stored.Type = value.Type;
    switch (value.Type) {
        case ValueType::String:
        case ValueType::ExpandString: stored.Text = value.Text; break;
        case ValueType::DWord: stored.DWord = value.DWord; break;
        case ValueType::Binary:
        case ValueType::MultiString: stored.Data = value.Data; break;
        case ValueType::None: return m.Fail(kErrorInvalidParameter);
    }
    auto& values = rec->Key->Values;
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return rt::SameText(v.first, name); });
    if (it != values.end()) it->second = std::move(stored);
    else values.emplace_back(name, std::move(stored));
    m.SaveRegistry();
    return true;
}

bool SimPlatform::RegDeleteValue(KeyHandle key, const std::string& name) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::KeyRecord* rec;
    if (!m.KeyOf(key, rec)) return false;
    if (!rec->Writable || m.RegistryDenied) return m.Fail(kErrorAccessDenied);
    auto& values = rec->Key->Values;
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return rt::SameText(v.first, name); });
    if (it == values.end()) return m.Fail(kErrorFileNotFound);
    values.erase(it);
    m.SaveRegistry();
    return true;
}

bool SimPlatform::RegDeleteTree(RootKey root, const std::string& path) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    if (m.RegistryDenied) return m.Fail(kErrorAccessDenied);
    const auto parts = Machine::SplitKeyPath(path);
    if (parts.empty()) return m.Fail(kErrorInvalidParameter);
    std::shared_ptr<Machine::RegKey> parent = m.RegRoot(root);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parent = Machine::FindChild(*parent, parts[i]);
        if (!parent) return m.Fail(kErrorFileNotFound);
    }
    auto& children = parent->Children;
    auto it = std::find_if(children.begin(), children.end(), [&](const auto& c) { return rt::SameText(c->Name, parts.back()); });
    if (it == children.end()) return m.Fail(kErrorFileNotFound);
    Machine::MarkDeleted(**it);
    children.erase(it);
    m.SaveRegistry();
    return true;
}

bool SimPlatform::RegEnumKeys(KeyHandle key, std::vector<std::string>& names) {
    Lock lock(FMachine->Mutex);
    Machine::KeyRecord* rec;
    if (!FMachine->KeyOf(key, rec)) return false;
    names.clear();
    for (const auto& child : rec->Key->Children) names.push_back(child->Name);
    // NT hands out subkeys in name order whatever the order of creation.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return rt::CompareText(a, b) < 0; });
    return true;
}

bool SimPlatform::RegEnumValues(KeyHandle key, std::vector<std::string>& names) {
    Lock lock(FMachine->Mutex);
    Machine::KeyRecord* rec;
    if (!FMachine->KeyOf(key, rec)) return false;
    names.clear();
    for (const auto& [name, value] : rec->Key->Values) names.push_back(name);
    return true;
}

// ---- system -----------------------------------------------------------------------------

bool SimPlatform::GetWindowsDirectory(std::string& dir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->WindowsDirFails) return FMachine->Fail(kErrorPathNotFound);
    dir = FMachine->WindowsDir();
    return true;
}

bool SimPlatform::GetSystemDirectory(std::string& dir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->SystemDirFails) return FMachine->Fail(kErrorPathNotFound);
    dir = FMachine->SystemDir();
    return true;
}

OsVersion SimPlatform::GetVersion() {
    Lock lock(FMachine->Mutex);
    if (FMachine->ReportedVersion) return *FMachine->ReportedVersion;
    switch (FMachine->Kind) {
        case SimWindowsKind::Win95: return OsVersion{PlatformId::Windows, 4, 0, 950, ""};
        case SimWindowsKind::Win98: return OsVersion{PlatformId::Windows, 4, 10, 1998, ""};
        case SimWindowsKind::NT351: return OsVersion{PlatformId::NT, 3, 51, 1057, ""};
        case SimWindowsKind::NT4: return OsVersion{PlatformId::NT, 4, 0, 1381, "Service Pack 6"};
        case SimWindowsKind::Win2000: return OsVersion{PlatformId::NT, 5, 0, 2195, ""};
    }
    return OsVersion{};
}

int SimPlatform::ScreenWidth() {
    Lock lock(FMachine->Mutex);
    return FMachine->ScreenWidth;
}

int SimPlatform::ScreenHeight() {
    Lock lock(FMachine->Mutex);
    return FMachine->ScreenHeight;
}

bool SimPlatform::MiddleEastEnabled() {
    Lock lock(FMachine->Mutex);
    return FMachine->MiddleEast;
}

std::uint16_t SimPlatform::UserDefaultLangId() {
    Lock lock(FMachine->Mutex);
    return FMachine->LangId;
}

void SimPlatform::AddKeyboardLayout(const std::string& layoutId) {
    Lock lock(FMachine->Mutex);
    FMachine->KeyboardLayouts.insert(rt::UpperCase(layoutId));
}

std::string SimPlatform::ActiveKeyboardLayout() const {
    Lock lock(FMachine->Mutex);
    return FMachine->ActiveLayout;
}

bool SimPlatform::LoadKeyboardLayout(const std::string& layoutId, bool activate) {
    Lock lock(FMachine->Mutex);
    const std::string id = rt::UpperCase(layoutId);
    if (!FMachine->KeyboardLayouts.count(id)) return FMachine->Fail(kErrorFileNotFound);
    if (activate) FMachine->ActiveLayout = id;
    return true;
}

std::uint32_t SimPlatform::TimeOfDayMs() {
    Lock lock(FMachine->Mutex);
    return FMachine->ClockMs;
}

void SimPlatform::Sleep(std::uint32_t ms) { AdvanceClock(ms); }

std::string SimPlatform::ModuleFileName() {
    Lock lock(FMachine->Mutex);
    return FMachine->ModuleFileName;
}

std::vector<std::string> SimPlatform::CommandLineArgs() {
    Lock lock(FMachine->Mutex);
    return FMachine->Args;
}

std::uint32_t SimPlatform::CurrentProcessId() {
    Lock lock(FMachine->Mutex);
    return FMachine->ProcessId;
}

WindowHandle SimPlatform::FindWindow(const std::string& className) {
    Lock lock(FMachine->Mutex);
    for (auto it = FMachine->Windows.rbegin(); it != FMachine->Windows.rend(); ++it)
        if (rt::SameText(it->second.ClassName, className)) return it->first;
    FMachine->Fail(kErrorFileNotFound);
    return 0;
}

std::uint32_t SimPlatform::WindowProcessId(WindowHandle window) {
    Lock lock(FMachine->Mutex);
    const auto it = FMachine->Windows.find(window);
    if (it == FMachine->Windows.end()) {
        FMachine->Fail(kErrorInvalidWindowHandle);
        return 0;
    }
    return it->second.ProcessId;
}

std::intptr_t SimPlatform::SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    SimWindowProc handler;
    {
        Lock lock(FMachine->Mutex);
        const auto it = FMachine->Windows.find(window);
        if (it == FMachine->Windows.end()) {
            FMachine->Fail(kErrorInvalidWindowHandle);
            return 0;
        }
        handler = it->second.Handler;
    }
    // Unlocked: the handler may well call back into the machine.
    return handler ? handler(message, wParam, lParam) : 0;
}

bool SimPlatform::SendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     std::uint32_t timeoutMs, std::intptr_t& result) {
    SimWindowProc handler;
    {
        Lock lock(FMachine->Mutex);
        const auto it = FMachine->Windows.find(window);
        if (it == FMachine->Windows.end()) {
            FMachine->Fail(kErrorInvalidWindowHandle);
            return false;
        }
        if (it->second.Hung) {
            AdvanceClock(timeoutMs);
            FMachine->Fail(kErrorTimeout);
            return false;
        }
        handler = it->second.Handler;
    }
    result = handler ? handler(message, wParam, lParam) : 0;
    return true;
}

void SimPlatform::MessageBeep(std::uint32_t type) {
    Lock lock(FMachine->Mutex);
    FMachine->Beeps.push_back(type);
}

bool SimPlatform::StartProcess(const std::string& commandLine, const std::string& currentDir) {
    Lock lock(FMachine->Mutex);
    if (FMachine->StartProcessFails) return FMachine->Fail(kErrorFileNotFound);
    FMachine->Started.push_back(SimProcessStart{commandLine, currentDir});
    return true;
}

// ---- the shell ----

void SimPlatform::SetShellFault(SimShellStep step, std::int32_t result) {
    Lock lock(FMachine->Mutex);
    FShell->SetFault(step, result);
}

void SimPlatform::SetProgramManagerRunning(bool running) {
    Lock lock(FMachine->Mutex);
    FShell->SetProgramManagerRunning(running);
}

void SimPlatform::SetProgramManagerRefuses(const std::string& command, bool refuses) {
    Lock lock(FMachine->Mutex);
    FShell->SetRefused(command, refuses);
}

std::vector<SimProgramGroup> SimPlatform::ProgramGroups() const {
    Lock lock(FMachine->Mutex);
    return FShell->Groups();
}

std::vector<std::string> SimPlatform::ProgramManagerMacros() const {
    Lock lock(FMachine->Mutex);
    return FShell->Executed();
}

std::int32_t SimPlatform::ComInitialize() {
    Lock lock(FMachine->Mutex);
    return FShell->ComInitialize();
}

std::int32_t SimPlatform::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
    Lock lock(FMachine->Mutex);
    return FShell->CreateShellLink(link);
}

DdeConversation SimPlatform::DdeConnect(const std::string& service, const std::string& topic) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    const DdeConversation conversation = FShell->Connect(service, topic, error);
    if (!conversation) FMachine->Fail(error);
    return conversation;
}

void SimPlatform::DdeDisconnect(DdeConversation conversation) {
    Lock lock(FMachine->Mutex);
    if (!FShell->Disconnect(conversation)) FMachine->Fail(kErrorInvalidHandle);
}

bool SimPlatform::DdeExecute(DdeConversation conversation, const std::string& command) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    return FShell->Execute(conversation, command, error) || FMachine->Fail(error);
}

bool SimPlatform::DdeRequest(DdeConversation conversation, const std::string& item, std::string& reply) {
    Lock lock(FMachine->Mutex);
    std::uint32_t error = 0;
    return FShell->Request(conversation, item, reply, error) || FMachine->Fail(error);
}

bool SimPlatform::RunHidden(const std::string& commandLine, std::uint32_t) {
    const std::string program = ProgramOf(commandLine);
    if (!FileExists(program)) return Fail(kErrorFileNotFound);
    {
        auto image = OpenFile(program, OpenMode::Read, Disposition::OpenExisting, Share::Read);
        if (!image || !IsPeImage(*image)) return Fail(kErrorBadExeFormat);
    }
    {
        Lock lock(FMachine->Mutex);
        if (FMachine->StartProcessFails) return FMachine->Fail(kErrorFileNotFound);
        FMachine->Started.push_back(SimProcessStart{commandLine, "", true});
    }
    const auto handler = ProgramHandler();
    // The program runs to its end before the call returns, as the caller waits for it.
    if (handler) handler(commandLine);
    return true;
}

}  // namespace os
