// The simulated shell; see SimShell.h.
#include "platform/sim/SimShell.h"

#include <algorithm>

#include "platform/sim/ShellLinkFile.h"
#include "platform/sim/SimPlatform.h"
#include "runtime/SysUtils.h"

namespace os {

namespace {

class SimShellLink : public IShellLinkObject {
public:
    SimShellLink(SimShell& shell, SimPlatform& machine) : FShell(shell), FMachine(machine) {}

    std::int32_t SetPath(const std::string& target) override {
        if (const auto r = FShell.Fault(SimShellStep::SetPath)) return r;
        FLink.Target = target;
        const std::uint32_t attributes = FMachine.GetFileAttributes(target);
        FLink.TargetAttributes = attributes == kInvalidAttributes ? 0 : attributes;
        return kHrOk;
    }
    std::int32_t SetHotkey(std::uint16_t hotKey) override {
        if (const auto r = FShell.Fault(SimShellStep::SetHotkey)) return r;
        FLink.HotKey = hotKey;
        return kHrOk;
    }
    std::int32_t SetArguments(const std::string& arguments) override {
        if (const auto r = FShell.Fault(SimShellStep::SetArguments)) return r;
        FLink.Arguments = arguments;
        return kHrOk;
    }
    std::int32_t SetWorkingDirectory(const std::string& directory) override {
        if (const auto r = FShell.Fault(SimShellStep::SetWorkingDirectory)) return r;
        FLink.WorkingDirectory = directory;
        return kHrOk;
    }
    std::int32_t Save(const std::string& linkPath) override {
        if (const auto r = FShell.Fault(SimShellStep::PersistFile)) return r;
        if (const auto r = FShell.Fault(SimShellStep::Save)) return r;
        const std::vector<std::uint8_t> bytes = BuildShellLinkFile(FLink);
        auto file = FMachine.OpenFile(linkPath, OpenMode::Write, Disposition::CreateAlways, Share::None);
        if (!file) return HResultFromWin32(FMachine.LastError());
        if (file->Write(bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size()))
            return HResultFromWin32(file->LastError());
        return kHrOk;
    }

private:
    SimShell& FShell;
    SimPlatform& FMachine;
    ShellLinkData FLink;
};

// One macro: a command and its arguments.
struct Macro {
    std::string Command;
    std::vector<std::string> Args;
};

std::string TrimBlanks(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// An argument that is one quoted string loses its quotes; any other keeps them, so a
// command line such as "C:\A B\X.EXE" /p stays as written.
std::string Unquote(const std::string& arg) {
    if (arg.size() >= 2 && arg.front() == '"' && arg.find('"', 1) == arg.size() - 1) return arg.substr(1, arg.size() - 2);
    return arg;
}

// "[Cmd(a,b)][Cmd2]": quotes group (commas and brackets inside them are text); false when
// the text is not a macro sequence.
bool ParseMacros(const std::string& text, std::vector<Macro>& out) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ') ++i;
    };
    skipBlanks();
    if (i >= text.size()) return false;
    while (i < text.size()) {
        if (text[i] != '[') return false;
        ++i;
        skipBlanks();
        const std::size_t start = i;
        while (i < text.size() && text[i] != '(' && text[i] != ']' && text[i] != ' ') ++i;
        Macro m;
        m.Command = text.substr(start, i - start);
        if (m.Command.empty()) return false;
        skipBlanks();
        if (i < text.size() && text[i] == '(') {
            ++i;
            std::string arg;
            bool quoted = false, closed = false;
            for (; i < text.size(); ++i) {
                const char c = text[i];
                if (c == '"') quoted = !quoted;
                if (!quoted && (c == ',' || c == ')')) {
                    m.Args.push_back(Unquote(TrimBlanks(arg)));
                    arg.clear();
                    if (c == ')') {
                        closed = true;
                        ++i;
                        break;
                    }
                    continue;
                }
                arg.push_back(c);
            }
            if (!closed) return false;
            if (m.Args.size() == 1 && m.Args[0].empty()) m.Args.clear();
        }
        skipBlanks();
        if (i >= text.size() || text[i] != ']') return false;
        ++i;
        skipBlanks();
        out.push_back(std::move(m));
    }
    return true;
}

std::string Arg(const std::vector<std::string>& args, std::size_t i) { return i < args.size() ? args[i] : std::string(); }

// The program of a command line: its first word, a quoted one without its quotes.
std::string ProgramOf(const std::string& commandLine) {
    const std::string s = TrimBlanks(commandLine);
    if (!s.empty() && s.front() == '"') return s.substr(1, s.find('"', 1) == std::string::npos ? std::string::npos : s.find('"', 1) - 1);
    return s.substr(0, s.find(' '));
}

}  // namespace

void SimShell::SetFault(SimShellStep step, std::int32_t result) {
    if (result == kHrOk) FFaults.erase(step);
    else FFaults[step] = result;
}

std::int32_t SimShell::Fault(SimShellStep step) const {
    const auto it = FFaults.find(step);
    return it == FFaults.end() ? kHrOk : it->second;
}

std::int32_t SimShell::ComInitialize() {
    if (const auto r = Fault(SimShellStep::ComInitialize)) return r;
    const bool already = FComInitialized;
    FComInitialized = true;
    return already ? kHrFalse : kHrOk;
}

std::int32_t SimShell::CreateShellLink(std::unique_ptr<IShellLinkObject>& link) {
    link.reset();
    // CoCreateInstance before CoInitialize fails as on Windows.
    if (!FComInitialized) return static_cast<std::int32_t>(0x800401F0);  // CO_E_NOTINITIALIZED
    if (const auto r = Fault(SimShellStep::CreateLink)) return r;
    link = std::make_unique<SimShellLink>(*this, FMachine);
    return kHrOk;
}

void SimShell::SetRefused(const std::string& command, bool refused) {
    FRefused.erase(std::remove_if(FRefused.begin(), FRefused.end(), [&](const std::string& c) { return rt::SameText(c, command); }),
                   FRefused.end());
    if (refused) FRefused.push_back(command);
}

DdeConversation SimShell::Connect(const std::string& service, const std::string& topic, std::uint32_t& error) {
    if (!FProgmanRunning || !rt::SameText(service, "PROGMAN") || !rt::SameText(topic, "PROGMAN")) {
        error = kErrorFileNotFound;
        return 0;
    }
    const DdeConversation conversation = FNextConversation++;
    FConversations[conversation] = true;
    return conversation;
}

bool SimShell::Disconnect(DdeConversation conversation) { return FConversations.erase(conversation) > 0; }

SimProgramGroup* SimShell::FindGroup(const std::string& name) {
    for (auto& g : FGroups)
        if (rt::SameText(g.Name, name)) return &g;
    return nullptr;
}

bool SimShell::Execute(DdeConversation conversation, const std::string& command, std::uint32_t& error) {
    if (!FConversations.count(conversation) || !FProgmanRunning) {
        error = kErrorInvalidHandle;
        return false;
    }
    FExecuted.push_back(command);
    std::vector<Macro> macros;
    if (!ParseMacros(command, macros)) {
        error = kErrorInvalidParameter;
        return false;
    }
    // Macros run in turn; the first that fails ends the transaction, as with the real shell.
    for (const Macro& m : macros) {
        if (!Run(m.Command, m.Args)) {
            error = kErrorInvalidParameter;
            return false;
        }
    }
    return true;
}

void SimShell::Activate(const std::string& group) {
    // A replaced item's place is kept while its group stays the active one.
    if (group != FCurrentGroup) FReplaceAt = -1;
    FCurrentGroup = group;
}

bool SimShell::Run(const std::string& command, const std::vector<std::string>& args) {
    for (const auto& refused : FRefused)
        if (rt::SameText(refused, command)) return false;
    SimProgramGroup* current = FindGroup(FCurrentGroup);
    if (rt::SameText(command, "CreateGroup")) {
        if (Arg(args, 0).empty()) return false;
        // An existing group is activated, not made again.
        if (!FindGroup(args[0])) FGroups.push_back({args[0], {}});
        Activate(FindGroup(args[0])->Name);
        return true;
    }
    if (rt::SameText(command, "ShowGroup")) {
        if (args.size() < 2 || !FindGroup(args[0])) return false;
        Activate(FindGroup(args[0])->Name);
        return true;
    }
    if (rt::SameText(command, "DeleteGroup")) {
        SimProgramGroup* g = args.empty() ? nullptr : FindGroup(args[0]);
        if (!g) return false;
        if (g == current) FCurrentGroup.clear();
        FGroups.erase(FGroups.begin() + (g - FGroups.data()));
        return true;
    }
    if (rt::SameText(command, "AddItem")) {
        if (!current || TrimBlanks(Arg(args, 0)).empty()) return false;
        SimProgramItem item;
        item.CommandLine = args[0];
        item.Name = Arg(args, 1);
        if (item.Name.empty()) item.Name = rt::ChangeFileExt(rt::ExtractFileName(ProgramOf(args[0])), "");
        item.IconPath = Arg(args, 2);
        if (!Arg(args, 3).empty() && !rt::TryStrToInt(args[3], item.IconIndex)) return false;
        item.DefaultDir = Arg(args, 6);
        item.HotKey = Arg(args, 7);
        auto& items = current->Items;
        const auto at = FReplaceAt >= 0 && FReplaceAt <= static_cast<int>(items.size()) ? items.begin() + FReplaceAt : items.end();
        items.insert(at, item);
        FReplaceAt = -1;
        return true;
    }
    if (rt::SameText(command, "ReplaceItem") || rt::SameText(command, "DeleteItem")) {
        if (!current || args.empty()) return false;
        auto& items = current->Items;
        const auto it = std::find_if(items.begin(), items.end(), [&](const SimProgramItem& i) { return rt::SameText(i.Name, args[0]); });
        if (it == items.end()) return false;
        const int position = static_cast<int>(it - items.begin());
        items.erase(it);
        FReplaceAt = rt::SameText(command, "ReplaceItem") ? position : -1;
        return true;
    }
    return rt::SameText(command, "ExitProgman");
}

bool SimShell::Request(DdeConversation conversation, const std::string& item, std::string& reply, std::uint32_t& error) {
    reply.clear();
    if (!FConversations.count(conversation) || !FProgmanRunning) {
        error = kErrorInvalidHandle;
        return false;
    }
    if (rt::SameText(item, "Groups")) {
        for (const auto& g : FGroups) reply += g.Name + "\r\n";
        return true;
    }
    const SimProgramGroup* g = FindGroup(item);
    if (!g) {
        error = kErrorFileNotFound;
        return false;
    }
    // The group line, then one line per item: name, command line, directory, icon, x, y,
    // icon index, hot key, minimised.
    std::string windows;
    FMachine.GetWindowsDirectory(windows);
    reply = '"' + g->Name + "\"," + windows + "\\" + rt::UpperCase(g->Name.substr(0, 8)) + ".GRP," +
            rt::IntToStr(static_cast<std::int64_t>(g->Items.size())) + ",1\r\n";
    for (std::size_t i = 0; i < g->Items.size(); ++i) {
        const SimProgramItem& it = g->Items[i];
        reply += '"' + it.Name + "\",\"" + it.CommandLine + "\"," + it.DefaultDir + "," + it.IconPath + "," +
                 rt::IntToStr(static_cast<std::int64_t>(16 + 72 * (i % 4))) + "," +
                 rt::IntToStr(static_cast<std::int64_t>(8 + 64 * (i / 4))) + "," + rt::IntToStr(it.IconIndex) + "," +
                 (it.HotKey.empty() ? std::string("0") : it.HotKey) + ",0\r\n";
    }
    return true;
}

}  // namespace os
