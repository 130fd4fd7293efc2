// The Program Manager client and the Windows classification; see cmp_TProgramManager.h.
#include "system/cmp_TProgramManager.h"

#include <algorithm>

#include "runtime/Forms.h"

int GetWindowsKind() {
    const os::OsVersion version = os::Current().GetVersion();
    // No Windows has a major version 0; the boundary reports that when the system would not say.
    if (version.Major == 0) throw rt::Exception("Could not get information about the current version of Windows");
    switch (version.Platform) {
    case os::PlatformId::Win32s:
        return wkWin32s;
    case os::PlatformId::Windows:
        return wkWindows95;
    case os::PlatformId::NT: {
        const std::string text = rt::IntToStr(version.Major) + "." + rt::IntToStr(version.Minor);
        return text.find("3.5") != std::string::npos ? wkWindowsNT35 : wkWindowsNT;
    }
    }
    return wkUnknown;
}

// Inside double quotes brackets and commas are plain text.
bool IsSafeProgramManagerName(const std::string& name) {
    return std::none_of(name.begin(), name.end(), [](char c) { return c == '"' || (static_cast<unsigned char>(c) < 0x20 || c == 0x7F); });
}

namespace {

TProgramManager* gProgramManager = nullptr;

// One leading and one trailing double quote go, when present.
std::string StripQuotes(std::string s) {
    if (!s.empty() && s.front() == '"') s.erase(0, 1);
    if (!s.empty() && s.back() == '"') s.pop_back();
    return s;
}

std::size_t CharacterCount(const std::string& utf8) { return rt::Utf8ToUtf32(utf8).size(); }

}  // namespace

TProgramManager& ProgramManager() {
    if (!gProgramManager) gProgramManager = new TProgramManager(rt::Application());
    return *gProgramManager;
}

void ReleaseProgramManager() {
    if (gProgramManager) gProgramManager->Free();
}

const rt::TClassInfo& TProgramManager::StaticClass() {
    static const rt::TClassInfo info{"TProgramManager", &rt::TComponent::StaticClass(), rt::Factory<TProgramManager>(), {}, {}};
    return info;
}

TProgramManager::TProgramManager(rt::TComponent* owner)
    : rt::TComponent(owner), FConversation(new rt::TDdeClientConv(nullptr)), FGroupLines(new rt::TStringList) {}

TProgramManager::~TProgramManager() {
    if (FConnected) FConversation->CloseLink();
    FConversation->Free();
    delete FGroupLines;
    if (gProgramManager == this) gProgramManager = nullptr;
}

void TProgramManager::OpenLink() {
    if (FConnected) return;
    FConversation->SetConnectMode(rt::TDataMode::ddeManual);
    FConversation->SetLink("PROGMAN", "PROGMAN");
    if (!FConversation->OpenLink()) throw EAIPMCannotOpen();
    FConnected = true;
}

bool TProgramManager::ExecuteMacro(const std::string& macro) {
    if (CharacterCount(macro) > kMaxProgramManagerMacro) return false;
    return FConversation->ExecuteMacro(macro);
}

void TProgramManager::SelectGroup(const std::string& groupName) {
    const std::string name = groupName;  // the caller may pass CurrentGroup itself, cleared below
    OpenLink();
    FCurrentGroup.clear();
    FGroupLines->Clear();
    std::string reply;
    if (!FConversation->RequestData(name, reply)) return;
    FGroupLines->SetText(reply);
    FCurrentGroup = name;
}

void TProgramManager::CreateGroup(const std::string& name) {
    OpenLink();
    if (name.empty()) return;
    if (!IsSafeProgramManagerName(name) || !ExecuteMacro("[CreateGroup(\"" + name + "\")]")) throw EAIPMCannotCreateGroup(name);
    SelectGroup(name);
}

void TProgramManager::GetGroups(rt::TStrings& strings) {
    OpenLink();
    std::string reply;
    FConversation->RequestData("Groups", reply);
    strings.SetText(reply);
}

void TProgramManager::ShowCurrentGroup() {
    if (!IsSafeProgramManagerName(FCurrentGroup) || !ExecuteMacro("[ShowGroup(\"" + FCurrentGroup + "\",8)]"))
        throw EAIPMCannotOpenGroup(FCurrentGroup);
}

void TProgramManager::AddItem(const std::string& commandLine, const std::string& name, const std::string& iconPath, int iconIndex,
                              const std::string& defaultDir, const std::string& hotKey) {
    OpenLink();
    if (FCurrentGroup.empty()) return;
    const std::string macro = "[AddItem(" + commandLine + ",\"" + name + "\"," + iconPath + "," + rt::IntToStr(iconIndex) + "," + ",," +
                              defaultDir + "," + hotKey + ")]";
    // Refused before anything is sent, so a bad item leaves the group as it was.
    if (!IsSafeProgramManagerName(name) || CharacterCount(macro) > kMaxProgramManagerMacro)
        throw EAIPMCannotAddItem(FCurrentGroup, name, macro);
    ShowCurrentGroup();
    if (!ExecuteMacro(macro)) throw EAIPMCannotAddItem(FCurrentGroup, name, macro);
    SelectGroup(FCurrentGroup);
}

void TProgramManager::ReplaceItem(const std::string& name) {
    OpenLink();
    if (FCurrentGroup.empty()) return;
    if (!IsSafeProgramManagerName(name)) throw EAIPMCannotReplaceItem(FCurrentGroup, name);
    ShowCurrentGroup();
    if (!ExecuteMacro("[ReplaceItem(\"" + name + "\")]")) throw EAIPMCannotReplaceItem(FCurrentGroup, name);
    SelectGroup(FCurrentGroup);
}

void TProgramManager::DeleteItem(const std::string& name) {
    OpenLink();
    if (FCurrentGroup.empty()) return;
    if (!IsSafeProgramManagerName(name)) throw EAIPMCannotDeleteItem(FCurrentGroup, name);
    ShowCurrentGroup();
    if (!ExecuteMacro("[DeleteItem(\"" + name + "\")]")) throw EAIPMCannotDeleteItem(FCurrentGroup, name);
    SelectGroup(FCurrentGroup);
}

int TProgramManager::ItemCount() const { return FGroupLines->Count() < 2 ? 0 : FGroupLines->Count() - 1; }

std::string TProgramManager::ItemField(int index, int field) const {
    if (index < 1 || index > FGroupLines->Count() - 1 || field < 1) return {};
    // Names come back quoted and may hold commas of their own.
    int current = 1;
    bool quoted = false;
    std::string value;
    for (const char c : FGroupLines->Strings(index)) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            if (current++ == field) break;
            continue;
        }
        if (current == field) value.push_back(c);
    }
    if (current < field) return {};
    value = StripQuotes(value);
    // Program Manager quotes names and command lines once more.
    if (field <= 2) value = StripQuotes(value);
    return value;
}

int TProgramManager::IndexOfItem(const std::string& name) const {
    for (int i = 1; i <= ItemCount(); ++i)
        if (ItemField(i, 1) == name) return i;
    return -1;
}
