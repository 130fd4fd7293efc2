// Test inputs made in memory: version-information blocks (VS_VERSIONINFO) and minimal PE
// images (32- or 64-bit) carrying one as their RT_VERSION resource. Used by the version and
// archive tests to cover every table entry and damaged images without a resource compiler.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/SysUtils.h"

namespace testpe {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void Pad4(Bytes& b) {
    while (b.size() % 4) b.push_back(0);
}

// One node: key, value (text or binary), children; lengths filled in as the system's
// resource compiler does (text value lengths in characters, with the terminator).
inline Bytes Node(const std::string& key, const Bytes& value, bool text, const std::vector<Bytes>& children) {
    Bytes b(6, 0);
    for (char16_t c : rt::Utf8ToUtf16(key)) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    b.push_back(0);
    b.push_back(0);
    Pad4(b);
    b.insert(b.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        Pad4(b);
        b.insert(b.end(), child.begin(), child.end());
    }
    Put16(b, 0, static_cast<std::uint32_t>(b.size()));
    Put16(b, 2, static_cast<std::uint32_t>(text ? value.size() / 2 : value.size()));
    Put16(b, 4, text ? 1 : 0);
    return b;
}

inline Bytes Text(const std::string& utf8) {
    Bytes v;
    for (char16_t c : rt::Utf8ToUtf16(utf8)) {
        v.push_back(static_cast<std::uint8_t>(c));
        v.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    v.push_back(0);
    v.push_back(0);
    return v;
}

struct Fixed {
    std::uint32_t FileMS = 0x00010000, FileLS = 0, ProductMS = 0x00010000, ProductLS = 0;
    std::uint32_t FileOS = 4, FileType = 1, FileSubtype = 0;
};

struct Table {
    std::string Key;  // "040904E4"
    std::vector<std::pair<std::string, std::string>> Strings;
};

inline Bytes VersionBlock(const Fixed& f, const std::vector<Table>& tables) {
    Bytes fixed(52, 0);
    const std::uint32_t fields[13] = {0xFEEF04BD, 0x00010000, f.FileMS, f.FileLS, f.ProductMS, f.ProductLS, 0x3F, 0,
                                      f.FileOS, f.FileType, f.FileSubtype, 0, 0};
    for (std::size_t i = 0; i < 13; ++i) Put32(fixed, 4 * i, fields[i]);
    std::vector<Bytes> stringTables;
    Bytes translation;
    for (const Table& t : tables) {
        std::vector<Bytes> strings;
        for (const auto& [key, value] : t.Strings) strings.push_back(Node(key, Text(value), true, {}));
        stringTables.push_back(Node(t.Key, {}, true, strings));
        const std::uint32_t lang = std::stoul(t.Key.substr(0, 4), nullptr, 16), cp = std::stoul(t.Key.substr(4), nullptr, 16);
        translation.insert(translation.end(), {std::uint8_t(lang), std::uint8_t(lang >> 8), std::uint8_t(cp), std::uint8_t(cp >> 8)});
    }
    std::vector<Bytes> children;
    if (!tables.empty()) {
        children.push_back(Node("StringFileInfo", {}, true, stringTables));
        children.push_back(Node("VarFileInfo", {}, true, {Node("Translation", translation, false, {})}));
    }
    return Node("VS_VERSION_INFO", fixed, false, children);
}

// A PE image whose only section holds a resource tree with the block as RT_VERSION id 1 and,
// when exports are named, an export table listing them (for lookups; nothing runs).
inline Bytes PeImage(const Bytes& block, bool pe32plus, std::uint16_t language = 0x0409, const std::vector<std::string>& exports = {}) {
    constexpr std::uint32_t kRawStart = 0x200, kSectionRva = 0x1000;
    const std::uint32_t optionalSize = pe32plus ? 240 : 224;
    Bytes tree(0x58, 0);
    // Three directories with one id entry each, then the data entry.
    const std::uint32_t dirs[3][2] = {{16, 0x18}, {1, 0x30}, {language, 0x48}};
    for (int level = 0; level < 3; ++level) {
        const std::size_t at = 0x18 * static_cast<std::size_t>(level);
        Put16(tree, at + 14, 1);
        Put32(tree, at + 16, dirs[level][0]);
        Put32(tree, at + 20, dirs[level][1] | (level < 2 ? 0x80000000u : 0u));
    }
    Put32(tree, 0x48, kSectionRva + 0x58);
    Put32(tree, 0x4C, static_cast<std::uint32_t>(block.size()));
    tree.insert(tree.end(), block.begin(), block.end());
    Pad4(tree);
    const std::uint32_t exportAt = static_cast<std::uint32_t>(tree.size());
    if (!exports.empty()) {
        const std::uint32_t n = static_cast<std::uint32_t>(exports.size());
        const std::uint32_t functions = exportAt + 40, names = functions + 4 * n, ordinals = names + 4 * n;
        tree.resize(ordinals + 2 * n, 0);
        Put32(tree, exportAt + 16, 1);
        Put32(tree, exportAt + 20, n);
        Put32(tree, exportAt + 24, n);
        Put32(tree, exportAt + 28, kSectionRva + functions);
        Put32(tree, exportAt + 32, kSectionRva + names);
        Put32(tree, exportAt + 36, kSectionRva + ordinals);
        for (std::uint32_t i = 0; i < n; ++i) {
            Put32(tree, functions + 4 * i, kSectionRva);
            Put32(tree, names + 4 * i, kSectionRva + static_cast<std::uint32_t>(tree.size()));
            Put16(tree, ordinals + 2 * i, i);
            tree.insert(tree.end(), exports[i].begin(), exports[i].end());
            tree.push_back(0);
        }
    }
    const std::uint32_t exportSize = static_cast<std::uint32_t>(tree.size()) - exportAt;
    const std::uint32_t rawSize = (static_cast<std::uint32_t>(tree.size()) + 0x1FF) & ~0x1FFu;

    Bytes image(kRawStart, 0);
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, 0x40);
    image[0x40] = 'P';
    image[0x41] = 'E';
    const std::size_t coff = 0x44;
    Put16(image, coff, pe32plus ? 0x8664 : 0x14C);
    Put16(image, coff + 2, 1);
    Put16(image, coff + 16, optionalSize);
    Put16(image, coff + 18, pe32plus ? 0x2022 : 0x2102);
    const std::size_t opt = coff + 20;
    Put16(image, opt, pe32plus ? 0x20B : 0x10B);
    Put32(image, opt + (pe32plus ? 24 : 28), 0x10000000);                  // image base
    Put32(image, opt + 32, 0x1000);                                         // section alignment
    Put32(image, opt + 36, 0x200);                                          // file alignment
    Put16(image, opt + 40, 4);                                              // OS version
    Put16(image, opt + 48, 4);                                              // subsystem version
    Put32(image, opt + 56, kSectionRva + ((rawSize + 0xFFF) & ~0xFFFu));    // size of image
    Put32(image, opt + 60, kRawStart);                                      // size of headers
    Put16(image, opt + 68, 2);                                              // subsystem: GUI
    const std::size_t countField = pe32plus ? opt + 108 : opt + 92;
    Put32(image, countField, 16);
    const std::size_t directories = countField + 4;
    if (!exports.empty()) {
        Put32(image, directories, kSectionRva + exportAt);
        Put32(image, directories + 4, exportSize);
    }
    Put32(image, directories + 16, kSectionRva);
    Put32(image, directories + 20, exportAt);
    const std::size_t section = opt + optionalSize;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (int i = 0; i < 8; ++i) image[section + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(name[i]);
    Put32(image, section + 8, static_cast<std::uint32_t>(tree.size()));
    Put32(image, section + 12, kSectionRva);
    Put32(image, section + 16, rawSize);
    Put32(image, section + 20, kRawStart);
    Put32(image, section + 36, 0x40000040);
    tree.resize(rawSize, 0);
    image.insert(image.end(), tree.begin(), tree.end());
    return image;
}

// The common case: a program file with the given numeric file version and US English strings.
inline Bytes VersionedImage(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    Fixed f;
    f.FileMS = (std::uint32_t(a) << 16) | b;
    f.FileLS = (std::uint32_t(c) << 16) | d;
    return PeImage(VersionBlock(f, {{"040904E4", {{"CompanyName", "Halvernock"}}}}), false);
}

}  // namespace testpe
