// The simulated machine's files (see SimPlatform.h): 8.3 aliases, wildcards, attributes and exact
// file times, share modes, free space and open files, which Windows keeps and the host folders
// do not, so the machine keeps them itself.
#include "platform/sim/SimMachine.h"
#include "platform/PeVersion.h"

#include "runtime/SysUtils.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>

namespace os {

using namespace sim_detail;

namespace {

// Windows codes the simulation reports but callers do not name.
constexpr std::uint32_t kErrorNotSameDevice = 17;
constexpr std::uint32_t kErrorNegativeSeek = 131;
constexpr std::uint32_t kErrorDirectory = 267;

constexpr std::uint32_t kAttrStored = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr FileTime kUnixEpochAsFileTime = 116'444'736'000'000'000ull;
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

// ---- 8.3 names --------------------------------------------------------------------------

bool Is83Char(unsigned char c) {
    if (c >= 0x80 || c <= 0x20) return false;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

}  // namespace

// Letter case does not matter: "readme.txt" needs no alias.
bool sim_detail::Is83Name(std::string_view name) {
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

namespace {

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

// The part of a long name its alias keeps before the number, with the extension.
std::string StemOf(std::string_view longName) {
    std::size_t start = 0;
    while (start < longName.size() && longName[start] == '.') ++start;
    const std::string_view name = longName.substr(start);
    const std::size_t dot = name.rfind('.');
    return Clean83(dot == std::string_view::npos ? name : name.substr(0, dot), 8) + "." +
           (dot == std::string_view::npos ? std::string() : Clean83(name.substr(dot + 1), 3));
}

// "Program Files" -> "PROGRA~1": the first free number among names already in use, from
// first on (a caller that knows the lower numbers taken says so); next is the number after
// the one given.
std::string MakeAlias(std::string_view longName, const std::set<std::string>& used, std::uint32_t first = 1,
                      std::uint32_t* next = nullptr) {
    std::size_t start = 0;
    while (start < longName.size() && longName[start] == '.') ++start;
    std::string_view name = longName.substr(start);
    const std::size_t dot = name.rfind('.');
    std::string base = Clean83(dot == std::string_view::npos ? name : name.substr(0, dot), 8);
    const std::string ext = dot == std::string_view::npos ? std::string() : Clean83(name.substr(dot + 1), 3);
    if (base.empty()) base = "_";
    for (std::uint32_t n = first;; ++n) {
        const std::string suffix = "~" + std::to_string(n);
        const std::string candidate = base.substr(0, 8 - std::min<std::size_t>(suffix.size(), 7)) + suffix + (ext.empty() ? "" : "." + ext);
        if (used.count(candidate)) continue;
        if (next) *next = n + 1;
        return candidate;
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

}  // namespace

// ---- 8.3 aliases ------------------------------------------------------------------------

// Long names of dir paired with their 8.3 aliases; names without one are assigned the
// first free number, in name order, and keep it for good as Windows does.
std::vector<std::pair<std::string, std::string>> SimPlatform::Machine::AssignAliases(const fs::path& dir, const std::string& dirKey) {
    std::vector<std::string> names;
    std::error_code ec;
    ++FolderReads;
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
    // The folder's index now knows every alias and can give the next one without a reading.
    if (Folder* folder = FolderOf(dir)) {
        for (const auto& [name, alias] : result)
            if (folder->Names.count(name)) folder->Aliases[rt::LowerCase(name)] = alias;
        folder->Used = std::move(used);
        folder->Aliased = true;
    }
    return result;
}

std::string SimPlatform::Machine::AliasOf(const fs::path& dir, const std::string& dirKey, const std::string& name) {
    if (Is83Name(name)) return {};
    if (const Folder* folder = FolderOf(dir); folder && folder->Aliased)
        if (folder->Names.count(name)) {
            const auto alias = folder->Aliases.find(rt::LowerCase(name));
            return alias == folder->Aliases.end() ? std::string() : alias->second;
        }
    for (const auto& [entry, alias] : AssignAliases(dir, dirKey))
        if (entry == name) return alias;
    return {};
}

// Newly made entries get their alias at once, so later neighbours cannot take it.
void SimPlatform::Machine::NoteCreated(const Resolved& r, bool aliasNow) {
    EraseMetaTree(r.Key);
    Refile(r.Host, true);
    if (aliasNow) AssignAlias(r);
    else if (!Is83Name(r.Names.back()))
        if (const auto found = Folders.find(ToUtf8(r.Host.parent_path())); found != Folders.end()) found->second.Aliased = false;
}

void SimPlatform::Machine::AssignAlias(const Resolved& r) {
    const std::string& name = r.Names.back();
    if (Is83Name(name)) return;
    const fs::path dir = r.Host.parent_path();
    // Its callers have just filed the name, so an index that is there is current.
    const auto found = Folders.find(ToUtf8(dir));
    Folder* folder = found == Folders.end() ? nullptr : &found->second;
    if (!folder || !folder->Aliased || !folder->Names.count(name)) {
        AssignAliases(dir, ParentKey(r.Key));
        return;
    }
    // Many names of one stem would otherwise try every taken number each time.
    std::uint32_t& first = folder->NextNumber[StemOf(name)];
    const std::string alias = MakeAlias(name, folder->Used, std::max<std::uint32_t>(first, 1), &first);
    folder->Used.insert(alias);
    folder->Aliases[rt::LowerCase(name)] = alias;
    Metas[r.Key].Alias = alias;
    MachineDirty = true;
}

// ---- attributes and times ---------------------------------------------------------------

std::uint32_t SimPlatform::Machine::Attributes(const Resolved& r) {
    if (r.IsRoot()) return kAttrDirectory;
    const Meta* meta = FindMeta(r.Key);
    std::uint32_t stored = meta && meta->HasAttr ? meta->Attr : (r.Dir ? 0u : std::uint32_t(kAttrArchive));
    if (r.Link) return kAttrReparsePoint | (r.Dir ? std::uint32_t(kAttrDirectory) : 0u) | stored;
    if (r.Dir) return kAttrDirectory | stored;
    return stored ? stored : kAttrNormal;
}

bool SimPlatform::Machine::ReadOnly(const Resolved& r) { return !r.IsRoot() && (Attributes(r) & kAttrReadOnly); }

void SimPlatform::Machine::SetArchive(const std::string& key) {
    if (Meta* meta = FindMeta(key); meta && meta->HasAttr && !(meta->Attr & kAttrArchive)) {
        meta->Attr |= kAttrArchive;
        MachineDirty = true;
    }
}

// Content changed: the host time is the truth again.
void SimPlatform::Machine::DropTime(const std::string& key) {
    if (Meta* meta = FindMeta(key); meta && meta->HasTime) {
        meta->HasTime = false;
        MachineDirty = true;
    }
}

bool SimPlatform::Machine::TimeOf(const Resolved& r, FileTime& ft) {
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

bool SimPlatform::Machine::SetTimeOf(const Resolved& r, FileTime ft) {
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
    return true;
}

// ---- sharing and space ------------------------------------------------------------------

bool SimPlatform::Machine::Conflicts(const std::string& key, unsigned access, unsigned share) const {
    for (const auto& [id, rec] : Opens) {
        if (rec.Key != key) continue;
        if ((access & ~rec.Share) != 0 || (rec.Access & ~share) != 0) return true;
    }
    return false;
}

bool SimPlatform::Machine::OpenBelow(const std::string& key) const {
    const std::string prefix = key + '/';
    for (const auto& [id, rec] : Opens)
        if (rec.Key == key || rec.Key.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

bool SimPlatform::Machine::InUseBelow(const std::string& key) const {
    const std::string prefix = key + '/';
    for (const auto& k : InUse)
        if (k == key || k.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

std::uint64_t SimPlatform::Machine::Available(char letter) const {
    const auto it = Drives.find(letter);
    if (it == Drives.end() || it->second.Full) return 0;
    return it->second.Free;
}

// Size changes on a drive: growth takes free space, shrinking gives it back.
void SimPlatform::Machine::Account(char letter, std::int64_t delta) {
    auto it = Drives.find(letter);
    if (it == Drives.end() || delta == 0) return;
    Drive& d = it->second;
    if (delta > 0) d.Free = static_cast<std::uint64_t>(delta) > d.Free ? 0 : d.Free - static_cast<std::uint64_t>(delta);
    else d.Free = std::min(d.Total, d.Free + static_cast<std::uint64_t>(-delta));
    MachineDirty = true;
}

std::uint64_t SimPlatform::Machine::TreeSize(const fs::path& p) {
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

// ---- open files -------------------------------------------------------------------------

namespace {

class SimFile : public IFile {
public:
    SimFile(std::shared_ptr<SimPlatform::Machine> machine, std::uint64_t id) : FMachine(std::move(machine)), FId(id) {}

    ~SimFile() override {
        std::lock_guard lock(FMachine->Mutex);
        FMachine->Opens.erase(FId);
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
    m.MachineDirty = true;
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
    // A directory link goes whatever it points at, which stays.
    if (!r.Link) {
        if (!r.Dir) return m.Fail(kErrorDirectory);
        if (m.ReadOnly(r)) return m.Fail(kErrorAccessDenied);
        if (!fs::is_empty(r.Host, ec)) return m.Fail(kErrorDirNotEmpty);
    }
    if (!fs::remove(r.Host, ec)) return m.Fail(kErrorAccessDenied);
    m.EraseMetaTree(r.Key);
    m.Refile(r.Host);
    m.ForgetFolders(r.Host);
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
    m.Refile(r.Host);
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
    // A change of case only keeps the entry (and its alias) under its new spelling.
    if (!caseOnly) m.Refile(src.Host);
    m.Refile(target);
    if (src.Dir) m.ForgetFolders(src.Host);
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
        m.AssignAlias(dst);
    } else {
        for (auto& [id, rec] : m.Opens)
            if (rec.Key == src.Key) rec.Host = target;
    }
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

    // One name is looked up, not searched for: the folder's index answers.
    if (!HasWildcards(mask)) {
        std::string actual;
        if (mask == "." || mask == ".." || !m.FindEntry(dir.Host, dir.Key, mask, actual)) return m.Fail(kErrorFileNotFound);
        result.push_back(describe(actual, m.AliasOf(dir.Host, dir.Key, actual)));
        return true;
    }
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
    m.Refile(r.Host);
    if (r.Dir) m.ForgetFolders(r.Host);
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

}  // namespace os
