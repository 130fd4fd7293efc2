// The shell link file format; see ShellLinkFile.h.
#include "platform/sim/ShellLinkFile.h"

#include "runtime/SysUtils.h"

namespace os {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint8_t kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlag : std::uint32_t {
    kHasIdList = 0x01,
    kHasLinkInfo = 0x02,
    kHasName = 0x04,
    kHasRelativePath = 0x08,
    kHasWorkingDir = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
};

constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kShowNormal = 1;
constexpr int kAnsiCodePage = 1252;

class Writer {
public:
    void U16(std::uint16_t v) { Bytes.insert(Bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) Bytes.push_back(std::uint8_t(v >> (8 * i)));
    }
    void Raw(const std::string& s) { Bytes.insert(Bytes.end(), s.begin(), s.end()); }
    void Text16(const std::u16string& s) {
        for (char16_t c : s) U16(static_cast<std::uint16_t>(c));
    }
    void Zeros(std::size_t n) { Bytes.insert(Bytes.end(), n, 0); }
    void PatchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) Bytes[at + i] = std::uint8_t(v >> (8 * i));
    }
    std::vector<std::uint8_t> Bytes;
};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& b) : B(b) {}
    bool Has(std::size_t at, std::size_t n) const { return at <= B.size() && n <= B.size() - at; }
    std::uint16_t U16(std::size_t at) const { return std::uint16_t(B[at] | (B[at + 1] << 8)); }
    std::uint32_t U32(std::size_t at) const {
        return std::uint32_t(B[at]) | (std::uint32_t(B[at + 1]) << 8) | (std::uint32_t(B[at + 2]) << 16) |
               (std::uint32_t(B[at + 3]) << 24);
    }
    // A NUL-ended string of single bytes or of UTF-16 units, within [at, end).
    bool Sz8(std::size_t at, std::size_t end, std::string& out) const {
        out.clear();
        for (std::size_t i = at; i < end && i < B.size(); ++i) {
            if (B[i] == 0) return true;
            out.push_back(static_cast<char>(B[i]));
        }
        return false;
    }
    bool Sz16(std::size_t at, std::size_t end, std::u16string& out) const {
        out.clear();
        for (std::size_t i = at; i + 1 < end && i + 1 < B.size(); i += 2) {
            const char16_t c = static_cast<char16_t>(U16(i));
            if (c == 0) return true;
            out.push_back(c);
        }
        return false;
    }
    const std::vector<std::uint8_t>& B;
};

// The ANSI form keeps what the code page has; a name that needs more is also kept in UTF-16.
bool NeedsUnicode(const std::string& utf8) { return rt::AnsiToUtf8(rt::Utf8ToAnsi(utf8, kAnsiCodePage), kAnsiCodePage) != utf8; }

void WriteLinkInfo(Writer& w, const std::string& target) {
    const bool unicode = NeedsUnicode(target);
    const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
    const std::size_t start = w.Bytes.size();
    w.U32(0);  // size, patched below
    w.U32(headerSize);
    w.U32(kVolumeIdAndLocalBasePath);
    const std::uint32_t volumeOffset = headerSize;
    const std::uint32_t volumeSize = 0x11;  // the fixed part and an empty label
    const std::uint32_t basePathOffset = volumeOffset + volumeSize;
    const std::string ansi = rt::Utf8ToAnsi(target, kAnsiCodePage);
    const std::uint32_t suffixOffset = basePathOffset + static_cast<std::uint32_t>(ansi.size()) + 1;
    const std::uint32_t basePathUnicodeOffset = suffixOffset + 1;
    const std::u16string wide = rt::Utf8ToUtf16(target);
    const std::uint32_t suffixUnicodeOffset = basePathUnicodeOffset + static_cast<std::uint32_t>(wide.size() + 1) * 2;
    w.U32(volumeOffset);
    w.U32(basePathOffset);
    w.U32(0);  // no network part
    w.U32(suffixOffset);
    if (unicode) {
        w.U32(basePathUnicodeOffset);
        w.U32(suffixUnicodeOffset);
    }
    w.U32(volumeSize);
    w.U32(kDriveFixed);
    w.U32(0x42524556);  // serial number
    w.U32(0x10);        // label follows the fixed part
    w.Zeros(1);
    w.Raw(ansi);
    w.Zeros(1);
    w.Zeros(1);  // empty common path suffix
    if (unicode) {
        w.Text16(wide);
        w.U16(0);
        w.U16(0);
    }
    w.PatchU32(start, static_cast<std::uint32_t>(w.Bytes.size() - start));
}

}  // namespace

std::vector<std::uint8_t> BuildShellLinkFile(const ShellLinkData& link) {
    std::uint32_t flags = kIsUnicode;
    if (!link.Target.empty()) flags |= kHasLinkInfo;
    if (!link.WorkingDirectory.empty()) flags |= kHasWorkingDir;
    if (!link.Arguments.empty()) flags |= kHasArguments;

    Writer w;
    w.U32(kHeaderSize);
    for (std::uint8_t b : kLinkClsid) w.Bytes.push_back(b);
    w.U32(flags);
    w.U32(link.TargetAttributes);
    w.Zeros(24);  // creation, access and write times
    w.U32(0);     // target size
    w.U32(0);     // icon index
    w.U32(kShowNormal);
    w.U16(link.HotKey);
    w.Zeros(10);
    if (flags & kHasLinkInfo) WriteLinkInfo(w, link.Target);
    for (const std::string* s : {&link.WorkingDirectory, &link.Arguments}) {
        if (s->empty()) continue;
        const std::u16string wide = rt::Utf8ToUtf16(*s);
        w.U16(static_cast<std::uint16_t>(wide.size()));
        w.Text16(wide);
    }
    w.U32(0);  // no extra data
    return w.Bytes;
}

std::optional<ShellLinkData> ReadShellLinkFile(const std::vector<std::uint8_t>& bytes) {
    const Reader r(bytes);
    if (!r.Has(0, kHeaderSize) || r.U32(0) != kHeaderSize) return std::nullopt;
    for (std::size_t i = 0; i < 16; ++i)
        if (bytes[4 + i] != kLinkClsid[i]) return std::nullopt;
    ShellLinkData link;
    const std::uint32_t flags = r.U32(0x14);
    link.TargetAttributes = r.U32(0x18);
    link.HotKey = r.U16(0x40);
    std::size_t at = kHeaderSize;
    if (flags & kHasIdList) {
        if (!r.Has(at, 2)) return std::nullopt;
        at += 2 + r.U16(at);
    }
    if (flags & kHasLinkInfo) {
        if (!r.Has(at, 0x1C)) return std::nullopt;
        const std::uint32_t size = r.U32(at);
        const std::uint32_t headerSize = r.U32(at + 4);
        if (!r.Has(at, size)) return std::nullopt;
        const std::size_t end = at + size;
        if (r.U32(at + 8) & kVolumeIdAndLocalBasePath) {
            std::u16string wide;
            if (headerSize >= 0x24 && r.U32(at + 0x1C) != 0 && r.Sz16(at + r.U32(at + 0x1C), end, wide)) {
                link.Target = rt::Utf16ToUtf8(wide);
            } else {
                std::string ansi;
                if (!r.Sz8(at + r.U32(at + 0x10), end, ansi)) return std::nullopt;
                link.Target = rt::AnsiToUtf8(ansi, kAnsiCodePage);
            }
        }
        at = end;
    }
    const bool unicode = flags & kIsUnicode;
    for (std::uint32_t flag : {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation}) {
        if (!(flags & flag)) continue;
        if (!r.Has(at, 2)) return std::nullopt;
        const std::size_t count = r.U16(at);
        const std::size_t length = unicode ? count * 2 : count;
        if (!r.Has(at + 2, length)) return std::nullopt;
        std::string text;
        if (unicode) {
            std::u16string wide;
            for (std::size_t i = 0; i < count; ++i) wide.push_back(static_cast<char16_t>(r.U16(at + 2 + 2 * i)));
            text = rt::Utf16ToUtf8(wide);
        } else {
            text = rt::AnsiToUtf8(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(at + 2 + length)),
                                  kAnsiCodePage);
        }
        // Some writers count the terminating zero as a character.
        while (!text.empty() && text.back() == '\0') text.pop_back();
        if (flag == kHasWorkingDir) link.WorkingDirectory = text;
        if (flag == kHasArguments) link.Arguments = text;
        at += 2 + length;
    }
    return link;
}

}  // namespace os
