// Setup's switches and the answer file; see SetupOptions.h.
#include "engine/SetupOptions.h"

#include "platform/Platform.h"
#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

namespace {

constexpr const char* kSection = "Setup";

struct TLanguageName {
    int Index;
    const char* Names[3];
};
// English names, the language's own name, and the two-letter code.
const TLanguageName kLanguages[] = {{0, {"English", "English", "en"}},
                                    {1, {"Hebrew", "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA", "he"}},
                                    {2, {"Spanish", "Espa\xC3\xB1ol", "es"}},
                                    {3, {"German", "Deutsch", "de"}},
                                    {4, {"Dutch", "Nederlands", "nl"}}};

std::optional<bool> YesNo(const std::string& value) {
    for (const char* yes : {"yes", "1", "true"})
        if (rt::SameText(value, yes)) return true;
    for (const char* no : {"no", "0", "false"})
        if (rt::SameText(value, no)) return false;
    return std::nullopt;
}

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    std::string item;
    for (char c : value + ",") {
        if (c != ',') {
            item += c;
            continue;
        }
        if (!rt::Trim(item).empty()) items.push_back(rt::Trim(item));
        item.clear();
    }
    return items;
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ",") + item;
    return text;
}

// One answer by its switch name; false when the name or the value is not one of ours.
bool SetAnswer(TSetupAnswers& a, const std::string& name, const std::string& value, bool onlyUnset) {
    auto put = [&](auto& field, auto v) {
        if (!onlyUnset || !field) field = v;
        return true;
    };
    if (rt::SameText(name, "LANG")) {
        const std::optional<int> language = LanguageOf(value);
        return language && put(a.Language, *language);
    }
    if (rt::SameText(name, "DIR")) return !value.empty() && put(a.Dir, value);
    if (rt::SameText(name, "GROUP")) return !value.empty() && put(a.Group, value);
    if (rt::SameText(name, "GROUPS")) return put(a.Groups, SplitList(value));
    if (rt::SameText(name, "USERNAME")) return put(a.UserName, value);
    if (rt::SameText(name, "ORG")) return put(a.Organization, value);
    if (rt::SameText(name, "APPS")) {
        if (rt::SameText(value, "keep")) return put(a.KeepApps, true);
        if (rt::SameText(value, "over")) return put(a.KeepApps, false);
        return false;
    }
    if (rt::SameText(name, "ADDON") || rt::SameText(name, "RESTART")) {
        const std::optional<bool> yes = YesNo(value);
        if (!yes) return false;
        return rt::SameText(name, "ADDON") ? put(a.AddOn, *yes) : put(a.Restart, *yes);
    }
    return false;
}

std::string ReadWholeFile(os::IPlatform& platform, const std::string& path) {
    auto file = platform.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    if (!file) throw rt::Exception("Cannot read the answer file " + path);
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(file->Size(), 0)), '\0');
    if (!bytes.empty() && file->Read(bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size()))
        throw rt::Exception("Cannot read the answer file " + path);
    // Notepad may have saved it as UTF-16 or with a UTF-8 mark.
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string wide((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < wide.size(); ++i)
            wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                            static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return rt::Utf16ToUtf8(wide);
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return bytes;
}

}  // namespace

std::optional<int> LanguageOf(const std::string& value) {
    int index = 0;
    if (rt::TryStrToInt(value, index)) return index >= 0 && index <= 4 ? std::optional<int>(index) : std::nullopt;
    for (const TLanguageName& language : kLanguages)
        for (const char* name : language.Names)
            if (rt::SameText(value, name)) return language.Index;
    return std::nullopt;
}

TSetupOptions ParseSetupOptions(const std::vector<std::string>& args) {
    TSetupOptions o;
    for (const std::string& arg : args) {
        if (arg.size() < 2 || arg[0] != '/') {
            o.Arguments.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(1, eq == std::string::npos ? std::string::npos : eq - 1);
        const std::string value = eq == std::string::npos ? std::string() : arg.substr(eq + 1);
        const bool bare = eq == std::string::npos;
        bool known = true;
        if (bare && rt::SameText(name, "SILENT")) {
            if (o.Ui != TUiLevel::uiVerySilent) o.Ui = TUiLevel::uiSilent;
        } else if (bare && rt::SameText(name, "VERYSILENT")) {
            o.Ui = TUiLevel::uiVerySilent;
        } else if (bare && rt::SameText(name, "KEEPAPPS")) {
            o.Answers.KeepApps = true;
        } else if (bare && rt::SameText(name, "OVERAPPS")) {
            o.Answers.KeepApps = false;
        } else if (bare && rt::SameText(name, "NOADDON")) {
            o.Answers.AddOn = false;
        } else if (bare && rt::SameText(name, "NORESTART")) {
            o.Answers.Restart = false;
        } else if (!bare && rt::SameText(name, "LOG") && !value.empty()) {
            o.LogFile = value;
        } else if (!bare && rt::SameText(name, "SAVEINF") && !value.empty()) {
            o.SaveInf = value;
        } else if (!bare && rt::SameText(name, "LOADINF") && !value.empty()) {
            o.LoadInf = value;
        } else {
            known = !bare && SetAnswer(o.Answers, name, value, false);
        }
        if (!known) o.Unknown.push_back(arg);
    }
    return o;
}

TSetupOptions& SetupOptions() {
    static TSetupOptions options;
    return options;
}

std::vector<std::string> SetupArguments() { return ParseSetupOptions(os::Current().CommandLineArgs()).Arguments; }

std::vector<std::string> ReadAnswerFile(os::IPlatform& platform, const std::string& path, TSetupAnswers& answers) {
    const std::string text = ReadWholeFile(platform, path);
    std::vector<std::string> unknown;
    bool inSection = false;
    for (const std::string& raw : rt::SplitLines(text)) {
        const std::string line = rt::Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            inSection = line.back() == ']' && rt::SameText(rt::Trim(line.substr(1, line.size() - 2)), kSection);
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        const std::string key = rt::Trim(line.substr(0, eq));
        const std::string value = eq == std::string::npos ? std::string() : rt::Trim(line.substr(eq + 1));
        if (eq == std::string::npos || !SetAnswer(answers, key, value, true)) unknown.push_back(line);
    }
    return unknown;
}

void WriteAnswerFile(os::IPlatform& platform, const std::string& path, const TSetupAnswers& a) {
    std::string text = std::string("[") + kSection + "]\r\n";
    auto line = [&](const char* key, const std::string& value) { text += std::string(key) + "=" + value + "\r\n"; };
    if (a.Language) line("Lang", rt::IntToStr(*a.Language));
    if (a.UserName) line("UserName", *a.UserName);
    if (a.Organization) line("Org", *a.Organization);
    if (a.Dir) line("Dir", *a.Dir);
    if (a.Groups) line("Groups", JoinList(*a.Groups));
    if (a.Group) line("Group", *a.Group);
    if (a.KeepApps) line("Apps", *a.KeepApps ? "Keep" : "Over");
    if (a.AddOn) line("AddOn", *a.AddOn ? "Yes" : "No");
    if (a.Restart) line("Restart", *a.Restart ? "Yes" : "No");
    auto file = platform.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::Read);
    if (!file || file->Write(text.data(), text.size()) != static_cast<std::int64_t>(text.size()))
        throw rt::Exception("Cannot write the answer file " + path);
}
