// The archive format's records and the header list. This is the one place the layout lives;
// every field is read and written one by one, little-endian, so the bytes are the same on
// every platform and bitness.
//
// Volume 1 (volumes 2, 3, ... hold data only, continuing at their offset 0):
//   Offset  Width      Field
//   0       4          header count (signed): files in the archive over all volumes
//   4       1          HeaderTableFlag: 0 = each header stands in front of its data;
//                      nonzero = all headers one after another from offset 5, data after them
//   5       164 each   headers: the first at 5, each next one at the previous NextHeader
//
// Header record (164 bytes; sizes and offsets signed 32-bit):
//   Offset  Width  Field        Meaning
//   0       4      Sequence     number within the batch that added the file, from 1
//   4       8      FileDate     IEEE double: days since 1899-12-30 (UTC), time as fraction,
//                               from the file's date stamp (2-second steps)
//   12      1      LastVolume   volume of the last data byte; 0 in a single-volume archive
//   13      3      (zero)
//   16      4      EndPosition  offset of the last data byte within LastVolume
//                               (DataOffset - 1 for an empty file)
//   20      101    StoredName   length byte (0..100) + ANSI code page text, zero-filled
//   121     3      (zero)
//   124     4      NextHeader   offset in volume 1 of the next header (or the chain's end)
//   128     4      FileSize
//   132     4      DataOffset   offset of the first data byte within FirstVolume
//   136     4      StoredSize   data bytes stored (equal to FileSize: bytes are kept as they are)
//   140     1      FirstVolume  volume of the first data byte; 0 = single volume (volume 1)
//   141     21     FileVersion  length byte (0..20) + ANSI code page text, zero-filled
//   162     1      UserByte1    caller's value, unread by the program
//   163     1      UserByte2
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "runtime/StringList.h"

constexpr std::int64_t kPreambleSize = 5;
constexpr std::int64_t kHeaderSize = 164;
constexpr std::size_t kMaxStoredName = 100;
constexpr std::size_t kMaxFileVersion = 20;
// Sizes and offsets are signed 32-bit on disk.
constexpr std::int64_t kMaxArchiveOffset = 0x7FFFFFFF;
// Volume numbers are one byte.
constexpr int kMaxVolume = 255;

// One header as it is on disk; strings held as UTF-8.
struct TFileHeaderRecord {
    std::int32_t Sequence = 0;
    double FileDate = 0;
    std::uint8_t LastVolume = 0;
    std::int32_t EndPosition = 0;
    std::string StoredName;
    std::int32_t NextHeader = 0;
    std::int32_t FileSize = 0;
    std::int32_t DataOffset = 0;
    std::int32_t StoredSize = 0;
    std::uint8_t FirstVolume = 0;
    std::string FileVersion;
    std::uint8_t UserByte1 = 0;
    std::uint8_t UserByte2 = 0;
};

using THeaderBytes = std::array<std::uint8_t, kHeaderSize>;

void EncodeFileHeader(const TFileHeaderRecord& header, THeaderBytes& bytes);
// Raises EKCFHCannotReadHeaders when a length byte is over its limit.
void DecodeFileHeader(const THeaderBytes& bytes, TFileHeaderRecord& header);

// Text as the format keeps it: in the system's ANSI code page, cut to max characters, back
// as UTF-8. whole, when given, says whether every character had its place in the code page.
std::string ArchiveText(std::string_view utf8, std::size_t max, bool* whole = nullptr);

// A file's date stamp (2-second steps) as the day count the format stores, and back; false
// for a day count no file time can hold.
double FileTimeToArchiveDate(os::FileTime time);
bool ArchiveDateToFileTime(double date, os::FileTime& time);

// A header with what the list knows beyond the record.
struct TFileHeader : TFileHeaderRecord {
    bool FromArchive = false;  // read from an archive, not made for a file being added
    std::string SourcePath;    // full source path of a file being added (StoredName may be cut)
    std::int64_t Offset = 0;   // where the header lies in volume 1, once read or placed
};

// One header of a list, made from its packed form when asked for: Items(i)->FileSize reads
// as it always has. Holds a copy; a change goes back with TFileHeaders::Update.
class THeaderView {
public:
    explicit THeaderView(TFileHeader header) : FHeader(std::move(header)) {}
    const TFileHeader* operator->() const { return &FHeader; }
    TFileHeader operator*() const { return FHeader; }

private:
    TFileHeader FHeader;
};

// The ordered header list of an archive and its HeaderTableFlag. An archive of a hundred
// thousand files is held in a few megabytes: headers packed, their texts in small blocks
// (most names as the beginning of an earlier one and a rest), and the name index by position
// in the list.
class TFileHeaders {
public:
    TFileHeaders() = default;
    TFileHeaders(const TFileHeaders&) = delete;
    TFileHeaders& operator=(const TFileHeaders&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EKCFH for an index out of range.
    THeaderView Items(int index) const { return THeaderView(Get(index)); }
    TFileHeader Get(int index) const;
    // Stores header as item index; the item keeps the name it was added with.
    void Update(int index, const TFileHeader& header);
    // Takes the header; raises EKCFHInvalidNewFileHeader when its name is blank.
    void Add(std::unique_ptr<TFileHeader> header);
    void Clear();
    // One new header per line ("path;a;b"): name, user bytes, and the size, date and version
    // of the file, which must open (EKCCouldNotOpenFile) and be under 2 GB (EKCArchiveTooLarge).
    // Empties the list first unless keep is set. Each line leaves lines once its header is
    // made, so a long list and its headers are never both held whole; on an exception the
    // lines not taken yet stay.
    void TakeFromList(rt::TStrings& lines, bool keep);
    // First header whose StoredName equals name without regard to case; -1 when none. A list
    // of thousands is asked once per file, so names are looked up, not searched for.
    int IndexOf(std::string_view name) const;

    // Reads the preamble and follows the header chain of volume 1. Damage raises
    // EKCFHCannotReadHeaderCount (short preamble, impossible count) or EKCFHCannotReadHeaders
    // (short or misplaced header, length bytes or fields out of range), before anything is
    // allocated by a count the file states.
    void LoadFromStream(os::IFile& volume1);
    // Writes count and flag at offset 0 and, with the flag set, the whole table from offset 5
    // (giving each header its slot and NextHeader). Short writes raise EKCFHCannotWriteHeaders.
    void SaveToStream(os::IFile& volume1);
    // Writes one header at its Offset.
    static void WriteHeader(os::IFile& volume1, const TFileHeader& header);

    // The sums that start the status record.
    std::int64_t TotalStoredSize() const;
    std::int64_t TotalFileSize() const;
    std::int64_t FileSize(int index) const { return FItems.at(static_cast<std::size_t>(index)).FileSize; }

    std::uint8_t HeaderTableFlag = 0;

private:
    static constexpr std::uint32_t kNoText = 0xFFFFFFFF;  // an empty text
    // A text in FText: the place of the whole text it begins as (kNoText: none), how many of
    // that one's bytes it begins with, and the count and bytes of its own rest; its bytes
    // beyond those of the text itself come to this at most. A text's place is its block and
    // where it starts there.
    static constexpr std::size_t kMostTextCost = 4 + 1 + 5;
    static constexpr std::size_t kTextBlock = 64 * 1024;
    // A header without its texts, which lie in FText.
    // A source path other than the name and a version are rare (the version is a program
    // image's only), so they are kept beside the list, by index.
    struct Packed {
        double FileDate = 0;
        std::int32_t Offset = 0;  // volume 1 offsets are under 2 GB
        std::int32_t Sequence = 0, EndPosition = 0, NextHeader = 0, FileSize = 0, DataOffset = 0, StoredSize = 0;
        std::uint32_t Name = kNoText;
        std::uint8_t LastVolume = 0, FirstVolume = 0, UserByte1 = 0, UserByte2 = 0;
        std::uint8_t Flags = 0;
    };
    enum : std::uint8_t { kFromArchive = 1, kSourceIsName = 2, kOwnSource = 4, kHasVersion = 8 };
    struct TextParts {
        std::string_view Prefix, Rest;
    };
    std::uint32_t Keep(std::string_view text);
    TextParts Parts(std::uint32_t at) const;
    std::string Text(std::uint32_t at) const;
    bool TextIs(std::uint32_t at, std::string_view text, bool withoutCase = false) const;
    void Pack(int index, const TFileHeader& header);
    const Packed& At(int index) const;
    // The name index: open addressing over positions in FItems (-1 empty), by the name's hash
    // without case.
    void IndexName(int index);
    static std::size_t NameHash(std::string_view name);

    // Headers and texts are held in small blocks: while a list's lines are taken and freed,
    // the headers made of them grow into the memory the lines leave, where one large block
    // would be set aside beside them.
    std::deque<Packed> FItems;
    std::vector<std::string> FText;
    std::size_t FExpected = 0;  // headers the name index is made ready for
    std::uint32_t FLastWhole = kNoText;  // the text the next ones may begin as
    std::vector<std::int32_t> FSlots;
    std::unordered_map<int, std::uint32_t> FSources, FVersions;  // texts in FText
};

// The path part of a FilesToProcess line: the text before the first ";".
std::string LinePath(std::string_view line);
