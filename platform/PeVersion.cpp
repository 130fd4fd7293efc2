// The PE walks behind ReadPeVersionResource and PeExportsFunction (see PeVersion.h): DOS
// stub, PE signature, COFF and optional header (PE32 or PE32+), section table, then the
// three-level resource tree (type, name, language) down to the data entry, or the export
// directory's name table.
#include "platform/PeVersion.h"

#include <algorithm>
#include <array>
#include <string>

namespace os {

namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kExportDirectoryIndex = 0;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
// Far more than any library exports; a damaged count cannot make the walk run long.
constexpr std::uint32_t kMaxExportNames = 65536;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVsVersionInfoId = 1;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNameIsStringBit = 0x80000000u;
constexpr std::uint32_t kLangNeutral = 0;
constexpr std::uint32_t kLangUsEnglish = 0x0409;
// A version block states its length in 16 bits.
constexpr std::uint32_t kMaxBlock = 0xFFFF;
// No real image has more sections; the loader refuses more than this too.
constexpr std::uint16_t kMaxSections = 96;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

struct Section {
    std::uint32_t VirtualAddress = 0;
    std::uint32_t VirtualSize = 0;
    std::uint32_t RawSize = 0;
    std::uint32_t RawOffset = 0;
};

class PeReader {
public:
    explicit PeReader(IFile& file) : FFile(file), FSize(file.Size()) {}

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
        if (FSize < 0 || offset > static_cast<std::uint64_t>(FSize) || count > static_cast<std::uint64_t>(FSize) - offset) return false;
        if (FFile.Seek(static_cast<std::int64_t>(offset), SeekOrigin::Begin) < 0) return false;
        return FFile.Read(buffer, count) == static_cast<std::int64_t>(count);
    }

    // File offset of an RVA and the raw bytes its section holds from there on.
    bool Map(std::uint32_t rva, std::uint64_t& offset, std::uint32_t& available) const {
        for (const Section& s : FSections) {
            const std::uint64_t start = s.VirtualAddress;
            const std::uint64_t span = s.VirtualSize > s.RawSize ? s.VirtualSize : s.RawSize;
            if (rva < start || rva >= start + span) continue;
            const std::uint32_t delta = rva - s.VirtualAddress;
            if (delta >= s.RawSize) return false;
            offset = std::uint64_t(s.RawOffset) + delta;
            available = s.RawSize - delta;
            return true;
        }
        return false;
    }

    std::vector<Section> FSections;
    IFile& FFile;
    std::int64_t FSize;
};

// One level of the resource tree: the entry whose id is wanted (or, with wanted empty, the
// preferred language), as an offset relative to the tree's root.
struct Entry {
    std::uint32_t Id = 0;
    std::uint32_t Target = 0;
};

bool ReadDirectory(PeReader& pe, std::uint64_t rootOffset, std::uint32_t rootSize, std::uint32_t dirOffset, std::vector<Entry>& idEntries) {
    std::array<std::uint8_t, 16> head;
    if (dirOffset > rootSize || rootSize - dirOffset < head.size()) return false;
    if (!pe.ReadAt(rootOffset + dirOffset, head.data(), head.size())) return false;
    const std::uint32_t named = U16(&head[12]);
    const std::uint32_t ids = U16(&head[14]);
    const std::uint64_t first = std::uint64_t(dirOffset) + head.size() + 8ull * named;
    if (first + 8ull * ids > rootSize) return false;
    // Named entries come first; the ids that matter follow them. At most 512 KB.
    std::vector<std::uint8_t> raw(8ull * ids);
    if (ids > 0 && !pe.ReadAt(rootOffset + first, raw.data(), raw.size())) return false;
    idEntries.clear();
    for (std::uint32_t i = 0; i < ids; ++i) {
        const std::uint32_t id = U32(&raw[8ull * i]);
        if (id & kNameIsStringBit) continue;
        idEntries.push_back({id, U32(&raw[8ull * i + 4])});
    }
    return true;
}

const Entry* FindId(const std::vector<Entry>& entries, std::uint32_t id) {
    for (const Entry& e : entries)
        if (e.Id == id) return &e;
    return nullptr;
}

// Checks the image's headers and loads its section table; rva and size are the data
// directory at index (zero when the image has none). error tells why an image is refused.
bool ReadImage(PeReader& pe, std::uint32_t index, std::uint32_t& rva, std::uint32_t& size, std::uint32_t& error) {
    error = kErrorBadExeFormat;
    rva = size = 0;
    std::array<std::uint8_t, 64> dos;
    if (!pe.ReadAt(0, dos.data(), dos.size()) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const std::uint32_t peOffset = U32(&dos[0x3C]);
    std::array<std::uint8_t, 24> coff;
    if (!pe.ReadAt(peOffset, coff.data(), coff.size())) return false;
    if (coff[0] != 'P' || coff[1] != 'E' || coff[2] != 0 || coff[3] != 0) return false;
    const std::uint16_t sectionCount = U16(&coff[6]);
    const std::uint16_t optionalSize = U16(&coff[20]);
    if (sectionCount > kMaxSections) return false;

    const std::uint64_t optional = std::uint64_t(peOffset) + coff.size();
    std::array<std::uint8_t, 2> magicBytes;
    if (optionalSize < 2 || !pe.ReadAt(optional, magicBytes.data(), 2)) return false;
    const std::uint16_t magic = U16(magicBytes.data());
    std::uint32_t countField, directories;
    if (magic == kMagicPe32) {
        countField = 92;
        directories = 96;
    } else if (magic == kMagicPe32Plus) {
        countField = 108;
        directories = 112;
    } else {
        return false;
    }
    std::array<std::uint8_t, 4> countBytes;
    if (optionalSize < countField + 4 || !pe.ReadAt(optional + countField, countBytes.data(), 4)) return false;
    const std::uint32_t directoryCount = U32(countBytes.data());

    const std::uint64_t sectionTable = optional + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        std::array<std::uint8_t, 40> raw;
        if (!pe.ReadAt(sectionTable + 40ull * i, raw.data(), raw.size())) return false;
        pe.FSections.push_back({U32(&raw[12]), U32(&raw[8]), U32(&raw[16]), U32(&raw[20])});
    }
    error = 0;
    if (directoryCount <= index || optionalSize < directories + 8 * (index + 1)) return true;
    std::array<std::uint8_t, 8> entry;
    if (!pe.ReadAt(optional + directories + 8 * index, entry.data(), 8)) return true;
    rva = U32(&entry[0]);
    size = U32(&entry[4]);
    return true;
}

}  // namespace

bool ReadPeVersionResource(IFile& file, std::vector<std::uint8_t>& block, std::uint32_t& error) {
    block.clear();
    PeReader pe(file);
    std::uint32_t resourceRva = 0, resourceSize = 0;
    if (!ReadImage(pe, kResourceDirectoryIndex, resourceRva, resourceSize, error)) return false;
    error = kErrorResourceDataNotFound;
    if (resourceRva == 0 || resourceSize == 0) return false;

    // The tree may be shorter in the file than the directory says; walk only what is there.
    std::uint64_t root = 0;
    std::uint32_t rootSize = 0;
    if (!pe.Map(resourceRva, root, rootSize)) return false;
    if (resourceSize < rootSize) rootSize = resourceSize;

    error = kErrorResourceTypeNotFound;
    std::vector<Entry> entries;
    if (!ReadDirectory(pe, root, rootSize, 0, entries)) return false;
    const Entry* type = FindId(entries, kRtVersion);
    if (!type || !(type->Target & kSubdirectoryBit)) return false;
    if (!ReadDirectory(pe, root, rootSize, type->Target & ~kSubdirectoryBit, entries)) return false;
    const Entry* name = FindId(entries, kVsVersionInfoId);
    if (!name || !(name->Target & kSubdirectoryBit)) return false;
    if (!ReadDirectory(pe, root, rootSize, name->Target & ~kSubdirectoryBit, entries) || entries.empty()) return false;
    const Entry* language = FindId(entries, kLangNeutral);
    if (!language) language = FindId(entries, kLangUsEnglish);
    if (!language) language = &entries.front();
    if (language->Target & kSubdirectoryBit) return false;

    error = kErrorResourceDataNotFound;
    std::array<std::uint8_t, 16> data;
    if (language->Target > rootSize || rootSize - language->Target < data.size()) return false;
    if (!pe.ReadAt(root + language->Target, data.data(), data.size())) return false;
    const std::uint32_t dataRva = U32(&data[0]);
    std::uint32_t dataSize = U32(&data[4]);
    if (dataSize > kMaxBlock) dataSize = kMaxBlock;
    std::uint64_t dataOffset = 0;
    std::uint32_t available = 0;
    if (dataSize < 6 || !pe.Map(dataRva, dataOffset, available) || available < dataSize) return false;
    block.resize(dataSize);
    if (!pe.ReadAt(dataOffset, block.data(), dataSize)) {
        block.clear();
        return false;
    }
    const std::uint16_t ownLength = U16(block.data());
    if (ownLength < 6) {
        block.clear();
        return false;
    }
    if (ownLength < block.size()) block.resize(ownLength);
    error = 0;
    return true;
}


bool IsPeImage(IFile& file) {
    PeReader pe(file);
    std::uint32_t rva = 0, size = 0, error = 0;
    return ReadImage(pe, 0, rva, size, error);
}

bool PeExports(IFile& file, std::vector<PeExport>& exports, std::uint32_t& error) {
    exports.clear();
    PeReader pe(file);
    std::uint32_t exportRva = 0, exportSize = 0;
    if (!ReadImage(pe, kExportDirectoryIndex, exportRva, exportSize, error)) return false;
    error = 0;
    std::uint64_t directory = 0;
    std::uint32_t available = 0;
    std::array<std::uint8_t, 40> head;
    if (exportRva == 0) return true;
    if (!pe.Map(exportRva, directory, available) || available < head.size() || !pe.ReadAt(directory, head.data(), head.size()))
        return false;
    const std::uint32_t functions = U32(&head[20]), names = U32(&head[24]);
    const std::uint32_t functionsRva = U32(&head[28]), namesRva = U32(&head[32]), ordinalsRva = U32(&head[36]);
    if (names > kMaxExportNames || functions > kMaxExportNames) return false;
    // A string read up to its terminating zero, within what the section holds.
    auto text = [&](std::uint32_t rva, std::string& out) {
        std::uint64_t at = 0;
        std::uint32_t room = 0;
        if (!pe.Map(rva, at, room)) return false;
        out.assign(std::min<std::uint32_t>(room, 1024), '\0');
        if (!pe.ReadAt(at, out.data(), out.size())) return false;
        out.resize(out.find('\0') == std::string::npos ? out.size() : out.find('\0'));
        return true;
    };
    auto word = [&](std::uint32_t rva, std::size_t size, std::uint32_t& value) {
        std::uint64_t at = 0;
        std::uint32_t room = 0;
        std::array<std::uint8_t, 4> bytes{};
        if (!pe.Map(rva, at, room) || room < size || !pe.ReadAt(at, bytes.data(), size)) return false;
        value = size == 2 ? U16(bytes.data()) : U32(bytes.data());
        return true;
    };
    for (std::uint32_t i = 0; i < names; ++i) {
        std::uint32_t nameRva = 0, ordinal = 0, functionRva = 0;
        PeExport entry;
        if (!word(namesRva + 4 * i, 4, nameRva) || !text(nameRva, entry.Name)) return false;
        // A function whose address lies inside the export directory is a forward: the
        // address names "LIBRARY.Function".
        if (word(ordinalsRva + 2 * i, 2, ordinal) && ordinal < functions && word(functionsRva + 4 * ordinal, 4, functionRva) &&
            functionRva >= exportRva && functionRva < exportRva + exportSize)
            text(functionRva, entry.ForwardedTo);
        exports.push_back(std::move(entry));
    }
    return true;
}

bool PeExportsFunction(IFile& file, const std::string& name, std::uint32_t& error) {
    std::vector<PeExport> exports;
    if (!PeExports(file, exports, error)) return false;
    // Names compare with case, as GetProcAddress compares them.
    for (const PeExport& e : exports)
        if (e.Name == name) return true;
    error = kErrorProcNotFound;
    return false;
}

}  // namespace os
