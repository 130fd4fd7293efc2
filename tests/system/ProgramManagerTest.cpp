// The Program Manager client against the simulated machine's Program Manager: groups,
// items and their fields, every refusal with its message, macros that must not be sent,
// and the classification of the running Windows.
#include "tests/system/ShellLinkKit.h"

namespace {

class ProgramManagerTest : public ShellLinkTestBase {
protected:
    TProgramManager& pm = ProgramManager();

    template <class E, class F>
    E Raised(F f) {
        try {
            f();
        } catch (const E& e) {
            return e;
        }
        ADD_FAILURE() << "expected exception not raised";
        throw std::logic_error("no exception");
    }
};

}  // namespace

TEST_F(ProgramManagerTest, GetWindowsKind_ClassifiesEveryKindOfMachine) {
    const std::pair<os::SimWindowsKind, int> kinds[] = {{os::SimWindowsKind::Win95, wkWindows95},
                                                        {os::SimWindowsKind::Win98, wkWindows95},
                                                        {os::SimWindowsKind::NT351, wkWindowsNT35},
                                                        {os::SimWindowsKind::NT4, wkWindowsNT},
                                                        {os::SimWindowsKind::Win2000, wkWindowsNT}};
    for (const auto& [kind, expected] : kinds) {
        machine->SetWindowsKind(kind);
        EXPECT_EQ(GetWindowsKind(), expected);
    }
}

TEST_F(ProgramManagerTest, Groups_AreCreatedListedAndSelectedWithTheirItems) {
    pm.CreateGroup("Brevanshaw");
    pm.CreateGroup("Accessories");
    EXPECT_EQ(pm.CurrentGroup(), "Accessories");
    rt::TStringList groups;
    pm.GetGroups(groups);
    EXPECT_EQ(groups.ToVector(), (std::vector<std::string>{"Brevanshaw", "Accessories"}));
    // An existing group is activated again, not made twice.
    pm.CreateGroup("Brevanshaw");
    EXPECT_EQ(machine->ProgramGroups().size(), 2u);
    EXPECT_EQ(pm.ItemCount(), 0);

    pm.AddItem("\"C:\\P\\A.EXE\" ", "Alpha", "C:\\P\\A.ICO", 2, "\"C:\\P\"", "");
    pm.AddItem("\"C:\\P\\B.EXE\" /b", "Beta", "", 0, "\"C:\\P\"", "");
    EXPECT_EQ(pm.ItemCount(), 2);
    EXPECT_EQ(pm.ItemField(1, 1), "Alpha");
    EXPECT_EQ(pm.ItemField(1, 3), "C:\\P");
    EXPECT_EQ(pm.ItemField(1, 4), "C:\\P\\A.ICO");
    EXPECT_EQ(pm.ItemField(1, 7), "2");
    EXPECT_EQ(pm.ItemField(2, 1), "Beta");
    EXPECT_EQ(pm.ItemField(0, 1), "");
    EXPECT_EQ(pm.ItemField(3, 1), "");
    EXPECT_EQ(pm.ItemField(1, 20), "");
    EXPECT_EQ(pm.IndexOfItem("Beta"), 2);
    EXPECT_EQ(pm.IndexOfItem("beta"), -1);  // names compare exactly

    pm.ReplaceItem("Alpha");
    EXPECT_EQ(pm.ItemCount(), 1);
    pm.AddItem("\"C:\\P\\A2.EXE\" ", "Alpha", "", 0, "\"C:\\P\"", "");
    EXPECT_EQ(pm.IndexOfItem("Alpha"), 1);  // in the old one's place
    pm.DeleteItem("Beta");
    EXPECT_EQ(pm.ItemCount(), 1);

    pm.SelectGroup("No such group");
    EXPECT_EQ(pm.CurrentGroup(), "");
    EXPECT_EQ(pm.ItemCount(), 0);
    // Without a current group item operations do nothing.
    const std::size_t sent = machine->ProgramManagerMacros().size();
    pm.AddItem("x.exe", "X", "", 0, "", "");
    pm.ReplaceItem("Alpha");
    pm.DeleteItem("Alpha");
    pm.CreateGroup("");
    EXPECT_EQ(machine->ProgramManagerMacros().size(), sent);
}

TEST_F(ProgramManagerTest, Refusals_RaiseTheOperationsExceptionWithItsMessage) {
    machine->SetProgramManagerRunning(false);
    EXPECT_EQ(Raised<EAIPMCannotOpen>([&] { pm.SelectGroup("Main"); }).Message(),
              "The TProgramManager object was unable to establish a link with Program Manager");
    machine->SetProgramManagerRunning(true);

    machine->SetProgramManagerRefuses("CreateGroup", true);
    auto create = Raised<EAIPMCannotCreateGroup>([&] { pm.CreateGroup("Brevanshaw"); });
    EXPECT_EQ(create.Message(), "The TProgramManager object was unable to create the following program group: Brevanshaw");
    EXPECT_EQ(create.Group, "Brevanshaw");
    machine->SetProgramManagerRefuses("CreateGroup", false);
    pm.CreateGroup("Brevanshaw");

    machine->SetProgramManagerRefuses("AddItem", true);
    auto add = Raised<EAIPMCannotAddItem>([&] { pm.AddItem("\"C:\\A.EXE\" ", "A", "", 0, "\"C:\\\"", ""); });
    EXPECT_EQ(add.Message(),
              "The TProgramManager object was unable to add the following program item: A to the following group: Brevanshaw. "
              "The arguments passed to  Program Manager were: [AddItem(\"C:\\A.EXE\" ,\"A\",,0,,,\"C:\\\",)]");
    EXPECT_EQ(add.Item, "A");
    EXPECT_EQ(add.Group, "Brevanshaw");
    machine->SetProgramManagerRefuses("AddItem", false);
    pm.AddItem("\"C:\\A.EXE\" ", "A", "", 0, "\"C:\\\"", "");

    machine->SetProgramManagerRefuses("ReplaceItem", true);
    EXPECT_EQ(Raised<EAIPMCannotReplaceItem>([&] { pm.ReplaceItem("A"); }).Message(),
              "The TProgramManager object was unable to replace the following program item: A to the following group: Brevanshaw");
    EXPECT_EQ(Raised<EAIPMCannotDeleteItem>([&] { pm.DeleteItem("Missing"); }).Message(),
              "The TProgramManager object was unable to delete the following program item: Missing to the following group: Brevanshaw");

    machine->SetProgramManagerRefuses("ShowGroup", true);
    EXPECT_EQ(Raised<EAIPMCannotOpenGroup>([&] { pm.DeleteItem("A"); }).Message(),
              "The TProgramManager object was unable to open the following program group: Brevanshaw");
    EXPECT_STREQ(EAIPMError().what(), "The TProgramManager object was unable to communicate with Program Manager");
}

TEST_F(ProgramManagerTest, Macros_QuoteEveryNameAndRefuseWhatAQuoteCannotHoldOrTooLong) {
    pm.CreateGroup("Brevanshaw");
    const std::size_t before = machine->ProgramManagerMacros().size();
    // "[AddItem(" + command + ",\"N\",,0,,,,)]" is 22 characters around the command line.
    const std::string fits(255 - 22, 'x');
    pm.AddItem(fits, "N", "", 0, "", "");
    EXPECT_EQ(machine->ProgramManagerMacros().back().size(), 255u);
    EXPECT_THROW(pm.AddItem(fits + "y", "M", "", 0, "", ""), EAIPMCannotAddItem);
    EXPECT_EQ(machine->ProgramManagerMacros().size(), before + 2);  // ShowGroup and the macro that fit
    EXPECT_EQ(pm.IndexOfItem("M"), -1);
    EXPECT_THROW(pm.CreateGroup(std::string(250, 'g')), EAIPMCannotCreateGroup);

    for (const char* name : {"A\"B", "A\tB", "A\x01"}) {
        SCOPED_TRACE(name);
        const std::size_t sent = machine->ProgramManagerMacros().size();
        EXPECT_THROW(pm.CreateGroup(name), EAIPMCannotCreateGroup);
        EXPECT_THROW(pm.AddItem("\"C:\\A.EXE\" ", name, "", 0, "", ""), EAIPMCannotAddItem);
        EXPECT_THROW(pm.ReplaceItem(name), EAIPMCannotReplaceItem);
        EXPECT_THROW(pm.DeleteItem(name), EAIPMCannotDeleteItem);
        EXPECT_EQ(machine->ProgramManagerMacros().size(), sent);
    }
    EXPECT_EQ(machine->ProgramGroups().size(), 1u);
    EXPECT_EQ(machine->ProgramGroups()[0].Items.size(), 1u);

    // Brackets, parentheses and commas are plain text inside the quotes.
    pm.CreateGroup("Brevanshaw (2)");
    pm.AddItem("\"C:\\A.EXE\" ", "Read me [1], (draft)", "", 0, "", "");
    EXPECT_EQ(machine->ProgramManagerMacros().back(), "[AddItem(\"C:\\A.EXE\" ,\"Read me [1], (draft)\",,0,,,,)]");
    EXPECT_EQ(pm.IndexOfItem("Read me [1], (draft)"), 1);
    pm.ReplaceItem("Read me [1], (draft)");
    pm.AddItem("\"C:\\B.EXE\" ", "Read me [1], (draft)", "", 0, "", "");
    ASSERT_EQ(machine->ProgramGroups().size(), 2u);
    EXPECT_EQ(machine->ProgramGroups()[1].Items.at(0).CommandLine, "C:\\B.EXE");
    pm.DeleteItem("Read me [1], (draft)");
    ASSERT_EQ(machine->ProgramGroups().size(), 2u);
    EXPECT_EQ(machine->ProgramGroups()[1].Name, "Brevanshaw (2)");
    EXPECT_TRUE(machine->ProgramGroups()[1].Items.empty());
}

TEST_F(ProgramManagerTest, Shortcut_TooLongForAMacroIsRefusedWithTheAddItemError) {
    machine->SetWindowsKind(os::SimWindowsKind::NT351);
    auto* main = Folder("MainFolder1", TShellGroupKind::gkMainFolder);
    main->SetDestDir("\\Brevanshaw");
    auto* link = Link("ShellLink2", main, program);
    link->SetLinkKind(TShellLinkKind::lkLinkInMainFolder);
    link->SetParameters(std::string(260, 'p'));
    EXPECT_THROW(link->CreateProgramManagerItem(), EAIPMCannotAddItem);
    ASSERT_EQ(machine->ProgramGroups().size(), 1u);
    EXPECT_TRUE(machine->ProgramGroups()[0].Items.empty());
}
