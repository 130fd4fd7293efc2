// The simulated registry (see SimPlatform.h): keys kept in memory, saved after every change
// as a REGEDIT4 file that loads back to the same bytes, and handles that see a deleted key go.
#include "platform/sim/SimMachine.h"

#include "runtime/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace os {

using namespace sim_detail;

namespace {

// Windows codes the simulation reports but callers do not name.
constexpr std::uint32_t kErrorKeyDeleted = 1018;

constexpr int kRegCodePage = 1252;

// ---- REGEDIT4 text ----------------------------------------------------------------------

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

}  // namespace

// ---- keys and the REGEDIT4 file ---------------------------------------------------------

std::shared_ptr<SimPlatform::Machine::RegKey> SimPlatform::Machine::FindChild(const RegKey& key, std::string_view name) {
    for (const auto& child : key.Children)
        if (rt::SameText(child->Name, name)) return child;
    return nullptr;
}

std::vector<std::string> SimPlatform::Machine::SplitKeyPath(std::string_view path) {
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
std::string SimPlatform::Machine::RegistryText() const {
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

void SimPlatform::Machine::SaveRegistry() {
    const std::string text = RegistryText();
    std::ofstream file(RegistryFile(), std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    RegistryDirty = false;
}

bool SimPlatform::Machine::ParseRegValue(std::string_view text, RegValue& value) {
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

void SimPlatform::Machine::LoadRegistry() {
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

// ---- registry handles -------------------------------------------------------------------

bool SimPlatform::Machine::KeyOf(KeyHandle handle, KeyRecord*& rec) {
    const auto it = KeyHandles.find(handle);
    if (it == KeyHandles.end()) return Fail(kErrorInvalidHandle);
    if (it->second.Key->Deleted) return Fail(kErrorKeyDeleted);
    rec = &it->second;
    return true;
}

IPlatform::KeyHandle SimPlatform::Machine::NewKeyHandle(std::shared_ptr<RegKey> key, bool writable) {
    const KeyHandle h = NextKeyHandle;
    NextKeyHandle += 4;
    KeyHandles[h] = KeyRecord{std::move(key), writable};
    return h;
}

void SimPlatform::Machine::MarkDeleted(RegKey& key) {
    key.Deleted = true;
    for (auto& child : key.Children) MarkDeleted(*child);
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
    if (created) m.RegistryDirty = true;
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
    m.RegistryDirty = true;
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
    m.RegistryDirty = true;
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
    m.RegistryDirty = true;
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

}  // namespace os
