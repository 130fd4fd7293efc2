// The node walk behind the queries of VersionBlock.h.
// A node is: length (16 bits, whole node), value length, type (1 text, 0 binary), key (UTF-16,
// zero-terminated), padding to 4 bytes, value, padding, children. Offsets are checked against
// the enclosing node, so a damaged block yields "missing", never a read outside it.
#include "platform/VersionBlock.h"

#include "runtime/SysUtils.h"

namespace {

constexpr std::size_t kNodeHead = 6;
constexpr std::size_t kFixedInfoSize = 52;

struct Node {
    std::size_t End = 0;         // one past the node's last byte
    std::size_t Value = 0;       // first byte of the value
    std::size_t ValueBytes = 0;  // clipped to the node
    std::size_t Children = 0;    // first child
    std::u16string Key;
};

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t(3); }

bool ParseNode(const std::vector<std::uint8_t>& block, std::size_t at, std::size_t limit, Node& node) {
    if (at + kNodeHead > limit) return false;
    const std::size_t length = U16(block, at);
    if (length < kNodeHead) return false;
    node.End = at + length < limit ? at + length : limit;
    const std::size_t valueLength = U16(block, at + 2);
    const bool text = U16(block, at + 4) == 1;
    node.Key.clear();
    std::size_t p = at + kNodeHead;
    for (;; p += 2) {
        if (p + 2 > node.End) return false;
        const char16_t c = static_cast<char16_t>(U16(block, p));
        if (c == 0) break;
        node.Key += c;
    }
    node.Value = Align4(p + 2);
    if (node.Value > node.End) node.Value = node.End;
    const std::size_t wanted = text ? valueLength * 2 : valueLength;
    node.ValueBytes = wanted < node.End - node.Value ? wanted : node.End - node.Value;
    node.Children = Align4(node.Value + node.ValueBytes);
    return true;
}

bool SameKey(const std::u16string& key, std::string_view name) {
    if (key.size() != name.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        char16_t a = key[i];
        char16_t b = static_cast<unsigned char>(name[i]);
        if (a >= 'a' && a <= 'z') a = char16_t(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = char16_t(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

// The node a backslash path leads to, from the root.
bool Find(const std::vector<std::uint8_t>& block, std::string_view path, Node& node) {
    if (!ParseNode(block, 0, block.size(), node)) return false;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        Node child;
        bool found = false;
        for (std::size_t at = node.Children; at < node.End;) {
            if (!ParseNode(block, at, node.End, child)) return false;
            if (SameKey(child.Key, part)) {
                found = true;
                break;
            }
            at = Align4(child.End);
        }
        if (!found) return false;
        node = child;
    }
    return true;
}

}  // namespace

bool QueryFixedFileInfo(const std::vector<std::uint8_t>& block, TFixedFileInfo& info) {
    Node root;
    if (!Find(block, "\\", root) || root.ValueBytes < kFixedInfoSize) return false;
    std::uint32_t fields[13];
    for (std::size_t i = 0; i < 13; ++i) {
        const std::size_t at = root.Value + 4 * i;
        fields[i] = std::uint32_t(block[at]) | (std::uint32_t(block[at + 1]) << 8) | (std::uint32_t(block[at + 2]) << 16) |
                    (std::uint32_t(block[at + 3]) << 24);
    }
    info = TFixedFileInfo{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6],
                          fields[7], fields[8], fields[9], fields[10], fields[11], fields[12]};
    return true;
}

bool QueryVersionString(const std::vector<std::uint8_t>& block, std::string_view path, std::string& text) {
    Node node;
    if (!Find(block, path, node)) return false;
    std::u16string value;
    // Up to the terminator; tools disagree on whether the stated length counts it.
    for (std::size_t p = node.Value; p + 2 <= node.End; p += 2) {
        const char16_t c = static_cast<char16_t>(U16(block, p));
        if (c == 0) break;
        value += c;
    }
    text = rt::Utf16ToUtf8(value);
    return true;
}

bool QueryVersionValue(const std::vector<std::uint8_t>& block, std::string_view path, std::vector<std::uint8_t>& value) {
    Node node;
    if (!Find(block, path, node)) return false;
    value.assign(block.begin() + static_cast<std::ptrdiff_t>(node.Value), block.begin() + static_cast<std::ptrdiff_t>(node.Value + node.ValueBytes));
    return true;
}

bool QueryFirstTranslation(const std::vector<std::uint8_t>& block, std::uint16_t& language, std::uint16_t& codePage) {
    std::vector<std::uint8_t> pairs;
    if (!QueryVersionValue(block, "\\VarFileInfo\\Translation", pairs) || pairs.size() < 4) return false;
    language = static_cast<std::uint16_t>(pairs[0] | (pairs[1] << 8));
    codePage = static_cast<std::uint16_t>(pairs[2] | (pairs[3] << 8));
    return true;
}
