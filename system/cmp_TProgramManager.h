// The Program Manager client: groups and items of Program Manager (or a shell that answers
// for it) through its DDE command interface, for shells without shell links. The program
// keeps one shared instance. Also the classification of the running Windows that decides
// between shell links and Program Manager.
#pragma once

#include <string>

#include "engine/InstallErrors.h"
#include "runtime/DdeMan.h"
#include "runtime/StringList.h"

enum TWindowsKind { wkWin32s = 0, wkWindows95 = 1, wkWindowsNT = 2, wkWindowsNT35 = 3, wkUnknown = 4 };

// Which Windows runs: Win32s, the Windows 95 family, Windows NT 4 and later, NT 3.5x, or
// another; raises when the system will not say.
int GetWindowsKind();

class EAIPMError : public EAI {
public:
    EAIPMError() : EAI("The TProgramManager object was unable to communicate with Program Manager") {}

protected:
    explicit EAIPMError(const std::string& message) : EAI(message) {}
};

class EAIPMCannotOpen : public EAIPMError {
public:
    EAIPMCannotOpen() : EAIPMError("The TProgramManager object was unable to establish a link with Program Manager") {}
};

class EAIPMCannotOpenGroup : public EAIPMError {
public:
    explicit EAIPMCannotOpenGroup(const std::string& group)
        : EAIPMError("The TProgramManager object was unable to open the following program group: " + group), Group(group) {}
    std::string Group;
};

class EAIPMCannotCreateGroup : public EAIPMError {
public:
    explicit EAIPMCannotCreateGroup(const std::string& group)
        : EAIPMError("The TProgramManager object was unable to create the following program group: " + group), Group(group) {}
    std::string Group;
};

class EAIPMCannotAddItem : public EAIPMError {
public:
    EAIPMCannotAddItem(const std::string& group, const std::string& item, const std::string& command)
        : EAIPMError("The TProgramManager object was unable to add the following program item: " + item +
                     " to the following group: " + group + ". The arguments passed to " + " Program Manager were: " + command),
          Group(group),
          Item(item),
          Command(command) {}
    std::string Group, Item, Command;
};

class EAIPMCannotReplaceItem : public EAIPMError {
public:
    EAIPMCannotReplaceItem(const std::string& group, const std::string& item)
        : EAIPMError("The TProgramManager object was unable to replace the following program item: " + item +
                     " to the following group: " + group),
          Group(group),
          Item(item) {}
    std::string Group, Item;
};

class EAIPMCannotDeleteItem : public EAIPMError {
public:
    EAIPMCannotDeleteItem(const std::string& group, const std::string& item)
        : EAIPMError("The TProgramManager object was unable to delete the following program item: " + item +
                     " to the following group: " + group),
          Group(group),
          Item(item) {}
    std::string Group, Item;
};

// The longest macro Program Manager takes: its command buffer holds 256 characters with
// the terminating zero.
constexpr std::size_t kMaxProgramManagerMacro = 255;

class TProgramManager : public rt::TComponent {
    RT_CLASS(TProgramManager, rt::TComponent)
public:
    explicit TProgramManager(rt::TComponent* owner);
    ~TProgramManager() override;

    // Every operation opens the link first; EAIPMCannotOpen when no Program Manager answers.
    void OpenLink();
    // Loads the group's description; without a reply there is no current group.
    void SelectGroup(const std::string& name);
    // Creates (or, when it exists, activates) the group and selects it.
    void CreateGroup(const std::string& name);
    // The names of all groups, one a line.
    void GetGroups(rt::TStrings& strings);
    // Items of the current group; nothing happens without one.
    void AddItem(const std::string& commandLine, const std::string& name, const std::string& iconPath, int iconIndex,
                 const std::string& defaultDir, const std::string& hotKey);
    void ReplaceItem(const std::string& name);
    void DeleteItem(const std::string& name);

    const std::string& CurrentGroup() const { return FCurrentGroup; }
    // Items of the current group, counted from 1 (line 0 of the description is the group).
    int ItemCount() const;
    // Field 1 name, 2 command line, 3 directory, 4 icon path, 5 x, 6 y, 7 icon index, 8 hot key.
    std::string ItemField(int index, int field) const;
    // The first item whose name is exactly name, or -1.
    int IndexOfItem(const std::string& name) const;
    const rt::TStrings& GroupLines() const { return *FGroupLines; }

private:
    // Sends one macro; a macro too long for Program Manager's buffer is not sent.
    bool ExecuteMacro(const std::string& macro);
    void ShowCurrentGroup();

    rt::TDdeClientConv* FConversation;
    bool FConnected = false;
    std::string FCurrentGroup;
    rt::TStringList* FGroupLines;
};

// The shared client, made on first use and owned by the application object when there is
// one; ReleaseProgramManager frees it (and closes its conversation).
TProgramManager& ProgramManager();
void ReleaseProgramManager();

// Whether a group or item name can travel as a quoted macro argument: no double quote and
// no control character.
bool IsSafeProgramManagerName(const std::string& name);
