// The archive format's records and the header list; see cmp_TFileHeaders.h for the layout.
#include "archive/cmp_TFileHeaders.h"

#include <cmath>
#include <cstring>

#include "archive/ArchiveErrors.h"
#include "runtime/SysUtils.h"
#include "system/cmp_TVersion.h"

namespace {

// Field offsets within a header record.
constexpr std::size_t kOffSequence = 0, kOffFileDate = 4, kOffLastVolume = 12, kOffEndPosition = 16, kOffStoredName = 20,
                      kOffNextHeader = 124, kOffFileSize = 128, kOffDataOffset = 132, kOffStoredSize = 136,
                      kOffFirstVolume = 140, kOffFileVersion = 141, kOffUserByte1 = 162, kOffUserByte2 = 163;

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01, where file times start, to 1899-12-30, where the day count starts.
constexpr std::int64_t kDaysFrom1601To1899 = 109'205;
// The day count's usual range: up to the end of the year 9999.
constexpr double kLastDate = 2'958'466.0;

void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutI32(std::uint8_t* p, std::int32_t v) { PutU32(p, static_cast<std::uint32_t>(v)); }
std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(GetU32(p)); }

void PutDouble(std::uint8_t* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}
double GetDouble(const std::uint8_t* p) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= std::uint64_t(p[i]) << (8 * i);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void PutText(std::uint8_t* p, std::string_view utf8, std::size_t max) {
    std::string ansi;
    os::Current().ToAnsiCodePage(utf8, ansi);
    if (ansi.size() > max) ansi.resize(max);
    p[0] = static_cast<std::uint8_t>(ansi.size());
    std::memcpy(p + 1, ansi.data(), ansi.size());
}
bool GetText(const std::uint8_t* p, std::size_t max, std::string& utf8) {
    if (p[0] > max) return false;
    utf8 = os::Current().FromAnsiCodePage(std::string_view(reinterpret_cast<const char*>(p + 1), p[0]));
    return true;
}

// The reader relies on these; anything else is damage.
bool Plausible(const TFileHeaderRecord& h) {
    if (h.FileSize < 0 || h.StoredSize < 0 || h.DataOffset < 0 || h.EndPosition < -1) return false;
    const bool single = h.FirstVolume == 0 && h.LastVolume == 0;
    if (!single && (h.FirstVolume == 0 || h.FirstVolume > h.LastVolume)) return false;
    if (h.FirstVolume == h.LastVolume) return std::int64_t(h.EndPosition) == std::int64_t(h.DataOffset) + h.StoredSize - 1;
    // Data that continues into a later volume leaves at least one byte there.
    return h.EndPosition >= 0;
}

bool WriteAll(os::IFile& file, const void* data, std::size_t count) {
    return file.Write(data, count) == static_cast<std::int64_t>(count);
}

std::uint8_t LowByte(std::string_view field) {
    if (rt::Trim(field).empty()) return 0;
    return static_cast<std::uint8_t>(static_cast<unsigned>(rt::StrToInt(rt::Trim(field))) & 0xFF);
}

}  // namespace

void EncodeFileHeader(const TFileHeaderRecord& h, THeaderBytes& b) {
    b.fill(0);
    PutI32(&b[kOffSequence], h.Sequence);
    PutDouble(&b[kOffFileDate], h.FileDate);
    b[kOffLastVolume] = h.LastVolume;
    PutI32(&b[kOffEndPosition], h.EndPosition);
    PutText(&b[kOffStoredName], h.StoredName, kMaxStoredName);
    PutI32(&b[kOffNextHeader], h.NextHeader);
    PutI32(&b[kOffFileSize], h.FileSize);
    PutI32(&b[kOffDataOffset], h.DataOffset);
    PutI32(&b[kOffStoredSize], h.StoredSize);
    b[kOffFirstVolume] = h.FirstVolume;
    PutText(&b[kOffFileVersion], h.FileVersion, kMaxFileVersion);
    b[kOffUserByte1] = h.UserByte1;
    b[kOffUserByte2] = h.UserByte2;
}

void DecodeFileHeader(const THeaderBytes& b, TFileHeaderRecord& h) {
    h.Sequence = GetI32(&b[kOffSequence]);
    h.FileDate = GetDouble(&b[kOffFileDate]);
    h.LastVolume = b[kOffLastVolume];
    h.EndPosition = GetI32(&b[kOffEndPosition]);
    if (!GetText(&b[kOffStoredName], kMaxStoredName, h.StoredName)) throw EKCFHCannotReadHeaders();
    h.NextHeader = GetI32(&b[kOffNextHeader]);
    h.FileSize = GetI32(&b[kOffFileSize]);
    h.DataOffset = GetI32(&b[kOffDataOffset]);
    h.StoredSize = GetI32(&b[kOffStoredSize]);
    h.FirstVolume = b[kOffFirstVolume];
    if (!GetText(&b[kOffFileVersion], kMaxFileVersion, h.FileVersion)) throw EKCFHCannotReadHeaders();
    h.UserByte1 = b[kOffUserByte1];
    h.UserByte2 = b[kOffUserByte2];
}

std::string ArchiveText(std::string_view utf8, std::size_t max, bool* whole) {
    std::string ansi;
    const bool fits = os::Current().ToAnsiCodePage(utf8, ansi);
    if (whole) *whole = fits;
    if (ansi.size() > max) ansi.resize(max);
    return os::Current().FromAnsiCodePage(ansi);
}

double FileTimeToArchiveDate(os::FileTime time) {
    std::int64_t seconds = static_cast<std::int64_t>(time / kTicksPerSecond);
    seconds -= seconds % 2;
    return static_cast<double>(seconds - kDaysFrom1601To1899 * kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
}

bool ArchiveDateToFileTime(double date, os::FileTime& time) {
    if (!std::isfinite(date) || date < -static_cast<double>(kDaysFrom1601To1899) || date >= kLastDate) return false;
    const std::int64_t seconds = std::llround(date * kSecondsPerDay) + kDaysFrom1601To1899 * kSecondsPerDay;
    if (seconds < 0) return false;
    time = static_cast<os::FileTime>(seconds) * kTicksPerSecond;
    return true;
}

std::string LinePath(std::string_view line) { return std::string(line.substr(0, line.find(';'))); }

// ---- TFileHeaders -----------------------------------------------------------------------

namespace {

void PutVarint(std::string& to, std::size_t v) {
    for (; v >= 0x80; v >>= 7) to += static_cast<char>(0x80 | (v & 0x7F));
    to += static_cast<char>(v);
}

std::size_t GetVarint(const char*& p) {
    std::size_t v = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        v |= std::size_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return v;
    }
}

// A text stored as another's beginning must save at least this much.
constexpr std::size_t kLeastShared = 8;

}  // namespace

std::uint32_t TFileHeaders::Keep(std::string_view text) {
    if (text.empty()) return kNoText;
    // A product's names come folder by folder, so most begin as the last whole one does:
    // they are kept as that beginning and their own rest.
    std::uint32_t base = kNoText;
    std::size_t shared = 0;
    if (FLastWhole != kNoText) {
        const std::string_view whole = Parts(FLastWhole).Rest;
        const std::size_t most = std::min(whole.size(), text.size());
        while (shared < most && whole[shared] == text[shared]) ++shared;
        if (shared >= kLeastShared && shared >= text.size() - shared) base = FLastWhole;
        else shared = 0;
    }
    // A text starts in the first 64 KB of its block; a longer one than a block holds gets one
    // of its own.
    const std::size_t cost = kMostTextCost + text.size() - shared;
    if (FText.empty() || FText.back().size() + cost > kTextBlock) {
        if (FText.size() >= 0xFFFF) throw EKCFHCannotReadHeaders();
        FText.emplace_back().reserve(std::max(kTextBlock, cost));
    }
    std::string& block = FText.back();
    const auto at = static_cast<std::uint32_t>((FText.size() - 1) << 16 | block.size());
    std::uint8_t link[4];
    PutU32(link, base);
    block.append(reinterpret_cast<const char*>(link), sizeof link);
    PutVarint(block, shared);
    PutVarint(block, text.size() - shared);
    block.append(text.substr(shared));
    if (base == kNoText) FLastWhole = at;
    return at;
}

TFileHeaders::TextParts TFileHeaders::Parts(std::uint32_t at) const {
    if (at == kNoText) return {};
    const char* p = FText[at >> 16].data() + (at & 0xFFFF);
    const std::uint32_t base = GetU32(reinterpret_cast<const std::uint8_t*>(p));
    p += 4;
    const std::size_t shared = GetVarint(p);
    const std::size_t own = GetVarint(p);
    TextParts parts{{}, std::string_view(p, own)};
    if (base != kNoText) parts.Prefix = Parts(base).Rest.substr(0, shared);
    return parts;
}

std::string TFileHeaders::Text(std::uint32_t at) const {
    const TextParts parts = Parts(at);
    std::string text;
    text.reserve(parts.Prefix.size() + parts.Rest.size());
    text.append(parts.Prefix).append(parts.Rest);
    return text;
}

bool TFileHeaders::TextIs(std::uint32_t at, std::string_view text, bool withoutCase) const {
    const TextParts parts = Parts(at);
    if (parts.Prefix.size() + parts.Rest.size() != text.size()) return false;
    const std::string_view head = text.substr(0, parts.Prefix.size()), tail = text.substr(parts.Prefix.size());
    return withoutCase ? rt::SameText(parts.Prefix, head) && rt::SameText(parts.Rest, tail) : parts.Prefix == head && parts.Rest == tail;
}

void TFileHeaders::Pack(int index, const TFileHeader& h) {
    Packed& p = FItems[static_cast<std::size_t>(index)];
    p.FileDate = h.FileDate;
    p.Offset = static_cast<std::int32_t>(h.Offset);
    p.Sequence = h.Sequence;
    p.EndPosition = h.EndPosition;
    p.NextHeader = h.NextHeader;
    p.FileSize = h.FileSize;
    p.DataOffset = h.DataOffset;
    p.StoredSize = h.StoredSize;
    p.LastVolume = h.LastVolume;
    p.FirstVolume = h.FirstVolume;
    p.UserByte1 = h.UserByte1;
    p.UserByte2 = h.UserByte2;
    // Texts that have not changed keep their place: a header updated as its file is added
    // costs no new text.
    if (p.Name == kNoText || !TextIs(p.Name, h.StoredName)) p.Name = Keep(h.StoredName);
    std::uint8_t flags = h.FromArchive ? kFromArchive : 0;
    if (!h.SourcePath.empty() && h.SourcePath == h.StoredName) {
        flags |= kSourceIsName;
    } else if (!h.SourcePath.empty()) {
        flags |= kOwnSource;
        const auto it = FSources.find(index);
        if (it == FSources.end() || !TextIs(it->second, h.SourcePath)) FSources[index] = Keep(h.SourcePath);
    }
    if (!h.FileVersion.empty()) {
        flags |= kHasVersion;
        const auto it = FVersions.find(index);
        if (it == FVersions.end() || !TextIs(it->second, h.FileVersion)) FVersions[index] = Keep(h.FileVersion);
    }
    if (!(flags & kOwnSource)) FSources.erase(index);
    if (!(flags & kHasVersion)) FVersions.erase(index);
    p.Flags = flags;
}

const TFileHeaders::Packed& TFileHeaders::At(int index) const {
    if (index < 0 || index >= Count()) throw EKCFH("GetFileHeaders--module cmp_TFileHeaders--Create constructor");
    return FItems[static_cast<std::size_t>(index)];
}

TFileHeader TFileHeaders::Get(int index) const {
    const Packed& p = At(index);
    TFileHeader h;
    h.Sequence = p.Sequence;
    h.FileDate = p.FileDate;
    h.LastVolume = p.LastVolume;
    h.EndPosition = p.EndPosition;
    h.StoredName = Text(p.Name);
    h.NextHeader = p.NextHeader;
    h.FileSize = p.FileSize;
    h.DataOffset = p.DataOffset;
    h.StoredSize = p.StoredSize;
    h.FirstVolume = p.FirstVolume;
    if (p.Flags & kHasVersion) h.FileVersion = Text(FVersions.at(index));
    h.UserByte1 = p.UserByte1;
    h.UserByte2 = p.UserByte2;
    h.FromArchive = (p.Flags & kFromArchive) != 0;
    if (p.Flags & kSourceIsName) h.SourcePath = h.StoredName;
    else if (p.Flags & kOwnSource) h.SourcePath = Text(FSources.at(index));
    h.Offset = p.Offset;
    return h;
}

void TFileHeaders::Update(int index, const TFileHeader& header) {
    At(index);
    // The name index finds a header by the name it was added with.
    const std::uint32_t name = FItems[static_cast<std::size_t>(index)].Name;
    Pack(index, header);
    FItems[static_cast<std::size_t>(index)].Name = name;
}

void TFileHeaders::Add(std::unique_ptr<TFileHeader> header) {
    if (!header || rt::Trim(header->StoredName).empty()) throw EKCFHInvalidNewFileHeader();
    FItems.emplace_back();
    Pack(Count() - 1, *header);
    IndexName(Count() - 1);
}

void TFileHeaders::Clear() {
    FItems.clear();
    FItems.shrink_to_fit();
    FText.clear();
    FText.shrink_to_fit();
    FExpected = 0;
    FSlots.clear();
    FSlots.shrink_to_fit();
    FSources.clear();
    FVersions.clear();
    FLastWhole = kNoText;
}

std::size_t TFileHeaders::NameHash(std::string_view name) {
    std::size_t h = 14695981039346656037ull;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        h *= 1099511628211ull;
    }
    return h;
}

void TFileHeaders::IndexName(int index) {
    // Kept at most half full, so a probe ends after a slot or two.
    if (FSlots.size() < 2 * FItems.size()) {
        std::size_t size = 64;
        while (size < 2 * std::max(FItems.size(), FExpected)) size *= 2;  // a power of two, for the mask
        std::vector<std::int32_t> slots(size, -1);
        FSlots.swap(slots);
        for (int i = 0; i < index; ++i) IndexName(i);
    }
    const std::string name = Text(FItems[static_cast<std::size_t>(index)].Name);
    const std::size_t mask = FSlots.size() - 1;
    for (std::size_t at = NameHash(name) & mask;; at = (at + 1) & mask) {
        const std::int32_t there = FSlots[at];
        if (there < 0) {
            FSlots[at] = index;
            return;
        }
        // A name met before keeps answering with its first header.
        if (TextIs(FItems[static_cast<std::size_t>(there)].Name, name, true)) return;
    }
}

void TFileHeaders::TakeFromList(rt::TStrings& lines, bool keep) {
    if (!keep) Clear();
    FExpected = FItems.size() + static_cast<std::size_t>(lines.Count());
    os::IPlatform& platform = os::Current();
    for (int i = 0; lines.Count() > 0; ++i) {
        const std::string& line = lines.Strings(0);
        auto header = std::make_unique<TFileHeader>();
        header->SourcePath = LinePath(line);
        bool whole = true;
        header->StoredName = ArchiveText(header->SourcePath, kMaxStoredName, &whole);
        // Stored damaged, the name would never be found again at install time.
        if (!whole) throw EKCNameOutsideCodePage(header->SourcePath);
        header->UserByte1 = LowByte(NthField(line, 2, ";"));
        header->UserByte2 = LowByte(NthField(line, 3, ";"));
        header->Sequence = i + 1;
        bool image = false;
        {
            const auto source = platform.OpenFile(header->SourcePath, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
            if (!source) throw EKCCouldNotOpenFile(header->SourcePath);
            const std::int64_t size = source->Size();
            os::FileTime stamp = 0;
            if (size < 0 || !source->GetTime(stamp)) throw EKCCouldNotOpenFile(header->SourcePath);
            if (size > kMaxArchiveOffset)
                throw EKCArchiveTooLarge("The following file is too large for the archive (2 GB or more): ", header->SourcePath);
            header->FileSize = static_cast<std::int32_t>(size);
            header->FileDate = FileTimeToArchiveDate(stamp);
            // Only a program image can carry a version; for any other file the version reader
            // would open it again to find nothing.
            char magic[2] = {};
            image = source->Read(magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
        }
        if (image) {
            TVersionResource& versions = SharedVersionReader();
            versions.SetFileName(header->SourcePath);
            header->FileVersion = ArchiveText(versions.VersionInfo()->FileVersion, kMaxFileVersion);
        }
        Add(std::move(header));
        lines.Delete(0);
    }
}

int TFileHeaders::IndexOf(std::string_view name) const {
    if (FSlots.empty()) return -1;
    const std::size_t mask = FSlots.size() - 1;
    for (std::size_t at = NameHash(name) & mask;; at = (at + 1) & mask) {
        const std::int32_t there = FSlots[at];
        if (there < 0) return -1;
        if (TextIs(FItems[static_cast<std::size_t>(there)].Name, name, true)) return there;
    }
}

void TFileHeaders::LoadFromStream(os::IFile& volume1) {
    Clear();
    const std::int64_t size = volume1.Size();
    std::uint8_t preamble[kPreambleSize];
    if (size < kPreambleSize || volume1.Seek(0, os::SeekOrigin::Begin) != 0 ||
        volume1.Read(preamble, sizeof preamble) != kPreambleSize)
        throw EKCFHCannotReadHeaderCount();
    const std::int32_t count = GetI32(preamble);
    HeaderTableFlag = preamble[4];
    // Every header takes its 164 bytes of volume 1.
    if (count < 0 || count > (size - kPreambleSize) / kHeaderSize) throw EKCFHCannotReadHeaderCount();
    FExpected = static_cast<std::size_t>(count);

    std::int64_t next = kPreambleSize;
    std::int64_t lowest = kPreambleSize;
    for (std::int32_t i = 0; i < count; ++i) {
        // Headers follow one another in volume 1 without overlapping.
        if (next < lowest || next > size - kHeaderSize) throw EKCFHCannotReadHeaders();
        THeaderBytes bytes;
        if (volume1.Seek(next, os::SeekOrigin::Begin) != next ||
            volume1.Read(bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size()))
            throw EKCFHCannotReadHeaders();
        auto header = std::make_unique<TFileHeader>();
        DecodeFileHeader(bytes, *header);
        if (!Plausible(*header)) throw EKCFHCannotReadHeaders();
        header->FromArchive = true;
        header->Offset = next;
        lowest = next + kHeaderSize;
        next = header->NextHeader;
        Add(std::move(header));
    }
}

void TFileHeaders::SaveToStream(os::IFile& volume1) {
    std::uint8_t preamble[kPreambleSize];
    PutI32(preamble, Count());
    preamble[4] = HeaderTableFlag;
    if (volume1.Seek(0, os::SeekOrigin::Begin) != 0 || !WriteAll(volume1, preamble, sizeof preamble)) throw EKCFHCannotWriteHeaders();
    if (HeaderTableFlag == 0) return;
    std::int64_t offset = kPreambleSize;
    for (int i = 0; i < Count(); ++i) {
        TFileHeader header = Get(i);
        header.Offset = offset;
        header.NextHeader = static_cast<std::int32_t>(offset + kHeaderSize);
        WriteHeader(volume1, header);
        Packed& p = FItems[static_cast<std::size_t>(i)];
        p.Offset = header.Offset;
        p.NextHeader = header.NextHeader;
        offset += kHeaderSize;
    }
}

void TFileHeaders::WriteHeader(os::IFile& volume1, const TFileHeader& header) {
    THeaderBytes bytes;
    EncodeFileHeader(header, bytes);
    if (volume1.Seek(header.Offset, os::SeekOrigin::Begin) != header.Offset || !WriteAll(volume1, bytes.data(), bytes.size()))
        throw EKCFHCannotWriteHeaders();
}

std::int64_t TFileHeaders::TotalStoredSize() const {
    std::int64_t sum = 0;
    for (const Packed& h : FItems) sum += h.StoredSize;
    return sum;
}

std::int64_t TFileHeaders::TotalFileSize() const {
    std::int64_t sum = 0;
    for (const Packed& h : FItems) sum += h.FileSize;
    return sum;
}
