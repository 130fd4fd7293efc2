// The simulated machine itself (see SimMachine.h): Windows path rules over host folders, the
// side table and machine.dat that keep what the host does not, and SimPlatform's set-up, fault
// switches and snapshots. Only std::filesystem touches the host, so the same code runs on Linux
// and on Windows.
#include "platform/sim/SimMachine.h"

#include "runtime/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace os {

using namespace sim_detail;

namespace {

// Windows codes the simulation reports but callers do not name.
constexpr std::uint32_t kErrorInvalidName = 123;

constexpr std::uint64_t kDefaultDriveTotal = 2ull << 30;
constexpr std::uint64_t kDefaultDriveFree = 1ull << 30;
constexpr std::uint32_t kMsPerDay = 86'400'000;

char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

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

}  // namespace

// ---- paths ------------------------------------------------------------------------------

std::string SimPlatform::Machine::PathText(const WinPath& w) {
    std::string s(1, w.Drive);
    s += ":\\";
    for (std::size_t i = 0; i < w.Parts.size(); ++i) {
        if (i) s += '\\';
        s += w.Parts[i];
    }
    return s;
}

bool SimPlatform::Machine::Parse(const std::string& path, WinPath& out) {
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

bool SimPlatform::Machine::CheckDrive(char letter) {
    const auto it = Drives.find(letter);
    if (it == Drives.end()) return Fail(kErrorPathNotFound);
    if (it->second.NotReady) return Fail(kErrorNotReady);
    return true;
}

std::string SimPlatform::Machine::DriveKey(char letter) { return std::string(1, LowerChar(letter)); }

#ifdef _WIN32
constexpr bool kHostFindsWithoutCase = true;
#else
constexpr bool kHostFindsWithoutCase = false;
#endif
// A resolution from a remembered folder has looked its last name up as given already.
constexpr bool kExactTried = !kHostFindsWithoutCase;

// The entry of dir named name, by long name without case or by 8.3 alias.
bool SimPlatform::Machine::FindEntry(const fs::path& dir, const std::string& dirKey, const std::string& name, std::string& actual,
                                     fs::file_status* status, const fs::file_time_type* dirStamp, [[maybe_unused]] bool exactMissed) {
    std::error_code ec;
#ifndef _WIN32
    // The host compares with case: an exact hit is the common case and costs one call, whose
    // answer the caller keeps.
    if (!exactMissed) {
        if (const fs::file_status own = fs::symlink_status(dir / FromUtf8(name), ec); fs::exists(own)) {
            actual = name;
            if (status) *status = own;
            return true;
        }
    }
#endif
    if (Folder* folder = FolderOf(dir, dirStamp)) {
        auto it = folder->Names.find(name);
        // The index against the host: a name it holds that is gone, or (where the host finds
        // names without case) one the host knows and it lacks, was changed behind the
        // machine's back in the clock tick of its own last change in the folder, which the
        // folder's time cannot tell. The folder is read again.
        fs::file_status own;
        const bool stale = it != folder->Names.end() ? !fs::exists(own = fs::symlink_status(dir / FromUtf8(*it), ec))
                                                     : kHostFindsWithoutCase && fs::exists(own = fs::symlink_status(dir / FromUtf8(name), ec));
        if (stale) {
            folder->Stamp = {};
            folder = FolderOf(dir);
            if (folder && (it = folder->Names.find(name)) != folder->Names.end()) own = fs::symlink_status(dir / FromUtf8(*it), ec);
        }
        if (folder && it != folder->Names.end()) {
            actual = *it;
            if (status) *status = own;
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

SimPlatform::Machine::Folder* SimPlatform::Machine::FolderOf(const fs::path& dir, const fs::file_time_type* known) {
    std::error_code ec;
    const fs::file_time_type stamp = known ? *known : fs::last_write_time(dir, ec);
    if (ec) return nullptr;
    Folder& folder = Folders[ToUtf8(dir)];
    if (folder.Stamp == stamp && stamp != fs::file_time_type{}) return &folder;
    folder = Folder{};
    folder.Stamp = stamp;
    ++FolderReads;
    // Two host names that differ only in case: the first one read answers, as before.
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) folder.Names.insert(ToUtf8(it->path().filename()));
    TrimFolders(&folder);
    return &folder;
}

bool SimPlatform::Machine::Folder::NoCase::operator()(const std::string& a, const std::string& b) const { return rt::SameText(a, b); }

void SimPlatform::Machine::TrimFolders(const Folder* keep) {
    std::size_t names = 0;
    for (const auto& [path, folder] : Folders) names += folder.Names.size();
    if (names <= kFolderNamesKept) return;
    for (auto it = Folders.begin(); it != Folders.end();) {
        if (&it->second == keep) ++it;
        else it = Folders.erase(it);
    }
}

void SimPlatform::Machine::Refile(const fs::path& host, bool created) {
    const fs::path dir = host.parent_path();
    const auto found = Folders.find(ToUtf8(dir));
    if (found == Folders.end()) return;
    Folder& folder = found->second;
    std::error_code ec;
    const std::string name = ToUtf8(host.filename());
    if (created || fs::exists(fs::symlink_status(host, ec))) {
        const auto [it, added] = folder.Names.insert(name);
        if (!added && *it != name) {
            // Renamed in its case only; its alias is filed by the name without case and stays.
            folder.Names.erase(it);
            folder.Names.insert(name);
        }
        if (added && folder.Aliased && Is83Name(name)) folder.Used.insert(rt::UpperCase(name));
    } else if (const auto it = folder.Names.find(name); it != folder.Names.end()) {
        const std::string lower = rt::LowerCase(name);
        const auto alias = folder.Aliases.find(lower);
        if (folder.Aliased) folder.Used.erase(alias == folder.Aliases.end() ? rt::UpperCase(*it) : alias->second);
        folder.NextNumber.clear();  // a number may be free again
        if (alias != folder.Aliases.end()) folder.Aliases.erase(alias);
        folder.Names.erase(it);
    }
    folder.Stamp = fs::last_write_time(dir, ec);
    if (ec) Folders.erase(found);
}

void SimPlatform::Machine::ForgetFolders(const fs::path& host) {
    ResolvedFolders.clear();
    const std::string own = ToUtf8(host);
    const std::string below = ToUtf8(host / "");
    for (auto it = Folders.begin(); it != Folders.end();) {
        if (it->first == own || it->first.compare(0, below.size(), below) == 0) it = Folders.erase(it);
        else ++it;
    }
}

bool SimPlatform::Machine::ResolveParsed(const WinPath& w, Resolved& r) {
    if (!CheckDrive(w.Drive)) return false;
    const std::size_t folderParts = w.Parts.empty() ? 0 : w.Parts.size() - 1;
    // The folder part comes from the cache while that folder is still there on the host: its
    // host path names every level, so a level renamed or gone takes the folder with it.
    std::string folderKey;
    std::size_t first = 0;
    fs::file_time_type folderStamp{};
    fs::file_status lastOwn{fs::file_type::none};
    bool lastFound = false;
    std::error_code ec;
    if (folderParts > 0) {
        folderKey = DriveKey(w.Drive);
        for (std::size_t i = 0; i < folderParts; ++i) {
            folderKey += '/';
            folderKey += rt::LowerCase(w.Parts[i]);
        }
        if (const auto it = ResolvedFolders.find(folderKey); it != ResolvedFolders.end()) {
#ifndef _WIN32
            // The last name found as given proves its folder is there too: one call, where the
            // host compares with case, instead of the folder's time and then the name.
            lastOwn = fs::symlink_status(it->second.Host / FromUtf8(w.Parts[folderParts]), ec);
            lastFound = fs::exists(lastOwn);
#endif
            // Otherwise one call proves the folder is there and gives the time its index is
            // checked by.
            if (!lastFound) folderStamp = fs::last_write_time(it->second.Host, ec);
            if (lastFound || !ec) {
                r = it->second;
                first = folderParts;
            } else {
                ResolvedFolders.erase(it);
            }
        }
    }
    if (first == 0) {
        r = Resolved{};
        r.Drive = w.Drive;
        r.Host = DriveHost(w.Drive);
        r.Key = DriveKey(w.Drive);
        r.Exists = true;
        r.Dir = true;
    }
    r.Given = w.Parts;
    for (std::size_t i = first; i < w.Parts.size(); ++i) {
        if (i == folderParts && first == 0 && folderParts > 0 && !r.Link) {
            if (ResolvedFolders.size() >= kResolvedFoldersKept) ResolvedFolders.clear();
            ResolvedFolders.emplace(folderKey, r);
        }
        std::string actual;
        fs::file_status own{fs::file_type::none};
        const bool inCached = i == first && first > 0;
        if (inCached && lastFound) {
            actual = w.Parts[i];
            own = lastOwn;
        } else if (!FindEntry(r.Host, r.Key, w.Parts[i], actual, &own, inCached ? &folderStamp : nullptr, inCached && kExactTried)) {
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
        if (own.type() == fs::file_type::none) own = fs::symlink_status(r.Host, ec);
        r.Link = fs::is_symlink(own);
        r.Dir = fs::is_directory(r.Link ? fs::status(r.Host, ec) : own);
        if (i + 1 < w.Parts.size() && !r.Dir) return Fail(kErrorPathNotFound);
    }
    return true;
}

bool SimPlatform::Machine::Resolve(const std::string& path, Resolved& r) {
    WinPath w;
    return Parse(path, w) && ResolveParsed(w, r);
}

// ---- side table -------------------------------------------------------------------------

void SimPlatform::Machine::EraseMetaTree(const std::string& key) {
    Metas.erase(key);
    const std::string prefix = key + '/';
    for (auto it = Metas.lower_bound(prefix); it != Metas.end() && it->first.compare(0, prefix.size(), prefix) == 0;)
        it = Metas.erase(it);
    MachineDirty = true;
}

void SimPlatform::Machine::MoveMetaTree(const std::string& from, const std::string& to) {
    std::vector<std::pair<std::string, Meta>> moved;
    const std::string prefix = from + '/';
    if (const auto it = Metas.find(from); it != Metas.end()) moved.emplace_back(to, it->second);
    for (auto it = Metas.lower_bound(prefix); it != Metas.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
        moved.emplace_back(to + it->first.substr(from.size()), it->second);
    EraseMetaTree(from);
    for (auto& [key, meta] : moved) Metas[key] = std::move(meta);
    MachineDirty = true;
}

// ---- persistence ------------------------------------------------------------------------

void SimPlatform::Machine::SaveMachine() {
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

bool SimPlatform::Machine::LoadMachine() {
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

// ---- set-up -----------------------------------------------------------------------------

std::string SimPlatform::Machine::WindowsDir() const { return IsNtKind(Kind) ? "C:\\WINNT" : "C:\\WINDOWS"; }
std::string SimPlatform::Machine::SystemDir() const { return IsNtKind(Kind) ? "C:\\WINNT\\system32" : "C:\\WINDOWS\\SYSTEM"; }

void SimPlatform::Machine::AddDrive(char letter, std::uint64_t total, std::uint64_t free) {
    letter = UpperChar(letter);
    std::error_code ec;
    fs::create_directories(DriveHost(letter), ec);
    Drive& d = Drives[letter];
    d.Total = total;
    d.Free = std::min(free, total);
    SaveMachine();
}

// Makes every missing level of an absolute path.
void SimPlatform::Machine::EnsureDirectory(const std::string& path) {
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
            Refile(r.Host);
        }
    }
}

// ---- SimPlatform ------------------------------------------------------------------------

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
    FMachine->Save();
}

SimPlatform::Machine::~Machine() { Save(); }

void SimPlatform::Machine::Save() {
    if (MachineDirty) SaveMachine();
    if (RegistryDirty) SaveRegistry();
}

std::uint64_t SimPlatform::FolderReads() const {
    Lock lock(FMachine->Mutex);
    return FMachine->FolderReads;
}

void SimPlatform::Flush() {
    Lock lock(FMachine->Mutex);
    FMachine->Save();
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
    std::filesystem::path host;
    bool exists = false, directory = false;
    return Locate(windowsPath, host, exists, directory) ? host : std::filesystem::path();
}

bool SimPlatform::Locate(const std::string& windowsPath, std::filesystem::path& host, bool& exists, bool& directory) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved& r = m.Located;
    m.LocatedPath.clear();
    if (!m.Resolve(windowsPath, r)) return false;
    m.LocatedPath = windowsPath;
    host = r.Host;
    exists = r.Exists;
    directory = r.Exists && r.Dir;
    return true;
}

bool SimPlatform::HostPathAsGiven(const std::string& windowsPath, std::filesystem::path& host) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Machine::WinPath w;
    if (!m.Parse(windowsPath, w) || !m.CheckDrive(w.Drive)) return false;
    host = m.DriveHost(w.Drive);
    for (const std::string& part : w.Parts) host /= FromUtf8(part);
    return true;
}

void SimPlatform::NoteHostCreated(const std::string& windowsPath) {
    Lock lock(FMachine->Mutex);
    Machine& m = *FMachine;
    Resolved r;
    // A file made where it was just located is where the location said, under the name as
    // given: no need to look again.
    if (m.LocatedPath == windowsPath && !m.Located.Exists && !m.Located.IsRoot()) {
        r = std::move(m.Located);
        r.Exists = true;
        r.Dir = r.Link = false;
    } else if (!m.Resolve(windowsPath, r) || !r.Exists || r.IsRoot()) {
        m.LocatedPath.clear();
        return;
    }
    m.LocatedPath.clear();
    // Its alias is made when someone asks for one, which a tool that writes thousands of
    // files on the host never does.
    m.NoteCreated(r, false);
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

}  // namespace os
