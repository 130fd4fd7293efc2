// The simulated machine's shell: the shell link object, which writes real .lnk files onto the
// machine's drives, and a Program Manager that answers DDE on service and topic "PROGMAN",
// keeps groups of items and parses the same group and item macros the real one does.
// Used only by SimPlatform; tests reach it through SimPlatform's switches and snapshots.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace os {

class SimPlatform;

// The steps of making a shell link that a test can make fail.
enum class SimShellStep { ComInitialize, CreateLink, SetPath, SetHotkey, SetArguments, SetWorkingDirectory, PersistFile, Save };

struct SimProgramItem {
    std::string Name;
    std::string CommandLine;
    std::string DefaultDir;
    std::string IconPath;
    int IconIndex = 0;
    std::string HotKey;
};

struct SimProgramGroup {
    std::string Name;
    std::vector<SimProgramItem> Items;
};

class SimShell {
public:
    explicit SimShell(SimPlatform& machine) : FMachine(machine) {}

    void SetFault(SimShellStep step, std::int32_t result);  // kHrOk clears
    std::int32_t Fault(SimShellStep step) const;

    std::int32_t ComInitialize();
    std::int32_t CreateShellLink(std::unique_ptr<IShellLinkObject>& link);

    // Program Manager. Groups live as long as the machine object.
    void SetProgramManagerRunning(bool running) { FProgmanRunning = running; }
    void SetRefused(const std::string& command, bool refused);
    const std::vector<SimProgramGroup>& Groups() const { return FGroups; }
    const std::vector<std::string>& Executed() const { return FExecuted; }

    DdeConversation Connect(const std::string& service, const std::string& topic, std::uint32_t& error);
    bool Disconnect(DdeConversation conversation);
    bool Execute(DdeConversation conversation, const std::string& command, std::uint32_t& error);
    bool Request(DdeConversation conversation, const std::string& item, std::string& reply, std::uint32_t& error);

private:
    SimProgramGroup* FindGroup(const std::string& name);
    void Activate(const std::string& group);
    bool Run(const std::string& command, const std::vector<std::string>& args);

    SimPlatform& FMachine;
    std::map<SimShellStep, std::int32_t> FFaults;
    bool FComInitialized = false;

    bool FProgmanRunning = true;
    std::vector<std::string> FRefused;  // command names that fail
    std::vector<SimProgramGroup> FGroups;
    std::string FCurrentGroup;
    int FReplaceAt = -1;  // where the next AddItem goes after a ReplaceItem
    std::vector<std::string> FExecuted;
    std::map<DdeConversation, bool> FConversations;
    DdeConversation FNextConversation = 0x51;
};

}  // namespace os
