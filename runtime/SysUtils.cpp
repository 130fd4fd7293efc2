// String helpers and code-page tables; see SysUtils.h.
#include "runtime/SysUtils.h"

#include <array>
#include <cstdlib>
#include <limits>

namespace rt {

void Abort() { throw EAbort(); }

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

}  // namespace

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const unsigned char cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiUpper(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiLower(c);
    return r;
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

bool StartsText(std::string_view prefix, std::string_view s) {
    return s.size() >= prefix.size() && SameText(prefix, s.substr(0, prefix.size()));
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToInt(std::string_view s, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > std::int64_t(std::numeric_limits<int>::max()) + 1) return false;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
    return v;
}

namespace {

std::size_t LastDelimiter(std::string_view path, std::string_view delims) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (delims.find(path[i - 1]) != std::string_view::npos) return i - 1;
    return std::string_view::npos;
}

}  // namespace

std::string ExtractFilePath(std::string_view path) {
    const std::size_t i = LastDelimiter(path, "\\:");
    return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view path) {
    const std::size_t i = LastDelimiter(path, "\\:");
    return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string ExtractFileExt(std::string_view path) {
    const std::size_t i = LastDelimiter(path, ".\\:");
    if (i == std::string_view::npos || path[i] != '.') return {};
    return std::string(path.substr(i));
}

std::string ExtractFileDrive(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // "\\server\share": stop before the backslash that follows the share name.
        std::size_t slashes = 0, i = 2;
        for (; i < path.size(); ++i)
            if (path[i] == '\\' && ++slashes == 2) break;
        return std::string(path.substr(0, i));
    }
    return {};
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::size_t i = LastDelimiter(path, ".\\:");
    if (i == std::string_view::npos || path[i] != '.') return std::string(path) + std::string(ext);
    return std::string(path.substr(0, i)) + std::string(ext);
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string r(path);
    if (r.empty() || r.back() != '\\') r += '\\';
    return r;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
    std::string r(path);
    if (!r.empty() && r.back() == '\\') r.pop_back();
    return r;
}

namespace {

// Code points of bytes 0x80..0xFF; 0 marks a byte the code page leaves undefined.
constexpr std::array<char16_t, 128> kCp1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr std::array<char16_t, 128> kCp1255 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0,      0x2039, 0,      0,      0,      0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0,      0x203A, 0,      0,      0,      0,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AA, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00D7, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00F7, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x05B0, 0x05B1, 0x05B2, 0x05B3, 0x05B4, 0x05B5, 0x05B6, 0x05B7, 0x05B8, 0x05B9, 0x05BA, 0x05BB, 0x05BC, 0x05BD, 0x05BE, 0x05BF,
    0x05C0, 0x05C1, 0x05C2, 0x05C3, 0x05F0, 0x05F1, 0x05F2, 0x05F3, 0x05F4, 0,      0,      0,      0,      0,      0,      0,
    0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7, 0x05D8, 0x05D9, 0x05DA, 0x05DB, 0x05DC, 0x05DD, 0x05DE, 0x05DF,
    0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4, 0x05E5, 0x05E6, 0x05E7, 0x05E8, 0x05E9, 0x05EA, 0,      0,      0x200E, 0x200F, 0,
};

const std::array<char16_t, 128>& TableFor(int codePage) {
    return codePage == 1255 ? kCp1255 : kCp1252;
}

// Decodes one UTF-8 sequence at s[i], advancing i; malformed input yields U+FFFD.
char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8, int codePage) {
    const auto& table = TableFor(codePage);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        if (cp < 0x80) {
            out += char(cp);
            continue;
        }
        char mapped = '?';
        for (std::size_t k = 0; k < table.size(); ++k)
            if (table[k] != 0 && table[k] == cp) {
                mapped = char(0x80 + k);
                break;
            }
        out += mapped;
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi, int codePage) {
    const auto& table = TableFor(codePage);
    std::string out;
    out.reserve(ansi.size());
    for (const char ch : ansi) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) out += ch;
        else EncodeUtf8(table[c - 0x80] ? table[c - 0x80] : char32_t(0xFFFD), out);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = DecodeUtf8(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        EncodeUtf8(cp, out);
    }
    return out;
}

std::u32string Utf8ToUtf32(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) out += DecodeUtf8(utf8, i);
    return out;
}

std::string Utf32ToUtf8(std::u32string_view utf32) {
    std::string out;
    for (char32_t cp : utf32) EncodeUtf8(cp, out);
    return out;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t n = static_cast<std::int64_t>(a) * b;
    const bool negative = (n < 0) != (c < 0);
    const std::int64_t an = n < 0 ? -n : n, ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t q = (an + ac / 2) / ac;
    return static_cast<int>(negative ? -q : q);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            // CR LF and LF CR are each one break (captions split in two use LF CR).
            if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != text[i]) ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

int PercentOf(std::int64_t a, std::int64_t b) {
    if (b == 0) return 0;
    // Exact integer arithmetic: q = floor(200a / b), then halve with ties to even.
    const std::int64_t num = a * 100, den = b;
    std::int64_t q = num / den, r = num % den;
    if ((r != 0) && ((r < 0) != (den < 0))) { --q; r += den; }
    const std::int64_t twice = 2 * (r < 0 ? -r : r), absDen = den < 0 ? -den : den;
    if (twice > absDen || (twice == absDen && (q % 2 != 0))) ++q;
    return static_cast<int>(q);
}

}  // namespace rt
