// Making program folders and shortcuts on a simulated machine: shell link files and what
// they hold, the choice of method, every failure of the shell link object, and the
// shortcuts' part of the uninstall record.
#include "tests/system/ShellLinkKit.h"

#include <cstdio>
#include <memory>

#include "system/cmp_TInstallRegistry.h"
#include "engine/routines_Registry.h"

namespace {

using enum TShellGroupKind;
using enum TShellLinkKind;
using enum TPathSpecifiers;

const std::string kPrograms = "C:\\WINNT\\Startmen\\Programs";

class ShellLinkInstallTest : public ShellLinkTestBase {
protected:
    // The product's folder with a shortcut to its program, as the description holds them.
    TInstallShellLink* ProductShortcut() {
        main = Folder("MainFolder1", gkMainFolder);
        main->SetDestDir("\\Brevanshaw");
        auto* link = Link("ShellLink2", main, program);
        link->SetLinkKind(lkLinkInMainFolder);
        return link;
    }
    TShellLinkGroup* main = nullptr;
};

}  // namespace

TEST_F(ShellLinkInstallTest, ShellLink_FileCarriesTargetArgumentsDirectoryAndHotKey) {
    auto* link = ProductShortcut();
    link->SetParameters("/data=%i\\data /x");
    link->SetHotKey(0x0642);  // Ctrl+Shift+B
    auto* recorder = new TStageRecorder(form);
    recorder->SetContainer(main);

    main->Process();
    EXPECT_EQ(recorder->Stages, (std::vector<std::string>{"eccBeforeProcess", "InstallTypeDialog", "eccSelectFolder", "eccAfterProcess"}));
    const auto written = ReadLink(kPrograms + "\\Brevanshaw\\Brevanshaw.lnk");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->Target, "C:\\Brevanshaw\\Brevanshaw.exe");
    EXPECT_EQ(written->Arguments, "/data=C:\\Brevanshaw\\data /x");
    EXPECT_EQ(written->WorkingDirectory, "C:\\Brevanshaw");
    EXPECT_EQ(written->HotKey, 0x0642);
    EXPECT_TRUE(link->Processed());
}

TEST_F(ShellLinkInstallTest, ShellLink_MakesTheFolderOfAFolderTargetAndKeepsNamesOutsideTheCodePage) {
    Folder("MainFolder1", gkMainFolder)->SetDestDir("\\Brevanshaw");
    auto* sub = Folder("Sub1", gkMainSubFolder);
    sub->SetDestDir("\\Extras");
    auto* toSub = Link("ShellLink1", root);
    toSub->SetLinkKind(lkLinkToSubFolder);
    toSub->CreateShellLinkFile();
    EXPECT_TRUE(machine->DirectoryExists("C:\\Brevanshaw\\Extras"));
    const auto written = ReadLink(kPrograms + "\\Brevanshaw\\Sub1.lnk");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->Target, "C:\\Brevanshaw\\Extras");
    EXPECT_EQ(written->WorkingDirectory, "C:\\Brevanshaw");

    auto* hebrew = Link("ShellLink2", root);
    hebrew->SetObjectLocation("C:\\Brevanshaw\\\xD7\x91\xD7\xA8\xD7\x91.exe");
    hebrew->SetMethod(TMethodType::mtShellLinkInterface);
    hebrew->Process();
    const auto wide = ReadLink("C:\\Brevanshaw\\\xD7\x91\xD7\xA8\xD7\x91.LNK");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->Target, "C:\\Brevanshaw\\\xD7\x91\xD7\xA8\xD7\x91.exe");

    // A program in a drive's root starts in that root, not in the drive's current folder.
    auto* inRoot = Link("ShellLink3", root);
    inRoot->SetObjectLocation("C:\\TOOL.EXE");
    inRoot->SetMethod(TMethodType::mtShellLinkInterface);
    inRoot->Process();
    const auto rooted = ReadLink("C:\\Brevanshaw\\TOOL.LNK");
    ASSERT_TRUE(rooted);
    EXPECT_EQ(rooted->WorkingDirectory, "C:\\");
}

TEST_F(ShellLinkInstallTest, Uninstaller_GetsTheProductNameAsItsArgument) {
    main = Folder("MainFolder1", gkMainFolder);
    main->SetDestDir("\\Brevanshaw");
    auto* link = Link("ShellLink1", main, uninstaller);
    link->SetParameters("/from-the-description");
    link->Process();
    EXPECT_EQ(link->Parameters(), "Brevanshaw");
    const auto written = ReadLink(kPrograms + "\\Brevanshaw\\Uninstall.lnk");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->Arguments, "Brevanshaw");
    EXPECT_EQ(written->Target, "C:\\Brevanshaw\\Uninstall.exe");

    // An uninstaller outside the tree (the root frees its own files with it), and a
    // shortcut to it, outlive the root.
    auto* orphan = new TUninstallEXE(form);
    orphan->SetName("UninstallEXE2");
    orphan->SetFileName("Uninstall.exe");
    auto* loose = Link("ShellLink9", nullptr, orphan);
    root->Free();
    root = nullptr;
    EXPECT_EQ(MessageOf([&] { loose->ProcessHelpers(); }),
              "Cannot create a link to the uninstall program because there is no TInstall component");
}

TEST_F(ShellLinkInstallTest, Method_FollowsTheWindowsKindUnlessChosen) {
    struct Case {
        os::SimWindowsKind Kind;
        TMethodType Method;
        bool ShellLink;
    };
    const Case cases[] = {{os::SimWindowsKind::Win95, TMethodType::mtAutoDetect, true},
                          {os::SimWindowsKind::Win98, TMethodType::mtAutoDetect, true},
                          {os::SimWindowsKind::NT4, TMethodType::mtAutoDetect, true},
                          {os::SimWindowsKind::Win2000, TMethodType::mtAutoDetect, true},
                          {os::SimWindowsKind::NT351, TMethodType::mtAutoDetect, false},
                          {os::SimWindowsKind::NT351, TMethodType::mtShellLinkInterface, true},
                          {os::SimWindowsKind::NT4, TMethodType::mtProgramManager, false}};
    auto* link = ProductShortcut();
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(run);
        machine->SetWindowsKind(c.Kind);
        link->SetMethod(c.Method);
        const std::string file = kPrograms + "\\Brevanshaw\\Brevanshaw.lnk";
        machine->DeleteFile(file);
        const std::size_t macros = machine->ProgramManagerMacros().size();
        link->ProcessHelpers();
        EXPECT_EQ(machine->FileExists(file), c.ShellLink);
        EXPECT_EQ(machine->ProgramManagerMacros().size() > macros, !c.ShellLink);
        ++run;
    }
}

TEST_F(ShellLinkInstallTest, ProgramManager_OnNt351TheItemGoesIntoTheFolderGroup) {
    machine->SetWindowsKind(os::SimWindowsKind::NT351);
    auto* link = ProductShortcut();
    auto* uninstall = Link("ShellLink1", main, uninstaller);
    uninstall->SetLinkKind(lkLinkInMainFolder);
    main->Process();
    const auto groups = machine->ProgramGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].Name, "Brevanshaw");
    ASSERT_EQ(groups[0].Items.size(), 2u);
    EXPECT_EQ(groups[0].Items[0].Name, "Brevanshaw");
    EXPECT_EQ(groups[0].Items[1].Name, "Uninstall");
    EXPECT_EQ(groups[0].Items[1].CommandLine, "\"C:\\Brevanshaw\\Uninstall.exe\" Brevanshaw");
    EXPECT_EQ(groups[0].Items[1].DefaultDir, "C:\\Brevanshaw");
    // The macros exactly as sent: a trailing blank after the quoted target without
    // parameters, empty positions, the directory in quotes, no hot key.
    const auto macros = machine->ProgramManagerMacros();
    EXPECT_NE(std::find(macros.begin(), macros.end(),
                        "[AddItem(\"C:\\Brevanshaw\\Brevanshaw.exe\" ,\"Brevanshaw\",,0,,,\"C:\\Brevanshaw\",)]"),
              macros.end());
    EXPECT_EQ(macros.front(), "[CreateGroup(\"Brevanshaw\")]");
    EXPECT_EQ(macros[1], "[ShowGroup(\"Brevanshaw\",8)]");
    EXPECT_FALSE(machine->FileExists(kPrograms + "\\Brevanshaw\\Brevanshaw.lnk"));
    (void)link;
}

TEST_F(ShellLinkInstallTest, ProgramManager_ASecondRunReplacesTheItemInItsPlace) {
    machine->SetWindowsKind(os::SimWindowsKind::NT351);
    auto* first = ProductShortcut();
    auto* tool = Link("ShellLink3", main, File("File3", "AppCorrect.exe"));
    tool->SetLinkKind(lkLinkInMainFolder);
    main->Process();
    first->SetParameters("/second");
    main->ProcessHelpers();
    const auto groups = machine->ProgramGroups();
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].Items.size(), 2u);
    EXPECT_EQ(groups[0].Items[0].Name, "Brevanshaw");
    EXPECT_EQ(groups[0].Items[0].CommandLine, "\"C:\\Brevanshaw\\Brevanshaw.exe\" /second");
    EXPECT_EQ(groups[0].Items[1].Name, "AppCorrect");
    const auto macros = machine->ProgramManagerMacros();
    EXPECT_EQ(std::count(macros.begin(), macros.end(), "[ReplaceItem(\"Brevanshaw\")]"), 1);
}

TEST_F(ShellLinkInstallTest, ProgramManager_SkipsShortcutsOutsideTheProgramMenuAndNeedsAGroup) {
    machine->SetWindowsKind(os::SimWindowsKind::NT351);
    auto* startUp = Link("ShellLink6", root, program);
    startUp->SetDestDirType(ddStartUpMenuDir);
    startUp->CreateProgramManagerItem();
    EXPECT_TRUE(machine->ProgramManagerMacros().empty());
    EXPECT_TRUE(machine->ProgramGroups().empty());

    auto* blank = Link("ShellLink7", nullptr, program);
    blank->SetContainer(nullptr);
    blank->SetDestDirType(ddProgramMenuDir);
    blank->SetDestDir("\\ ");
    EXPECT_EQ(MessageOf([&] { blank->CreateProgramManagerItem(); }), "ShellLink7 has a blank group");

    // The record lists the shortcut file whichever way it was made.
    startUp->Process();
    EXPECT_EQ(Read(std::string(kU) + "\\Files", "File1"), "C:\\WINNT\\Startup\\Brevanshaw.lnk");
}

TEST_F(ShellLinkInstallTest, ShellLink_EveryFailureOfTheShellObjectNamesTheShortcut) {
    auto* link = ProductShortcut();
    const std::pair<os::SimShellStep, std::string> steps[] = {
        {os::SimShellStep::SetPath, "Cannot set the path to the link for ShellLink2"},
        {os::SimShellStep::SetHotkey, "Cannot set the hot key to the link for ShellLink2"},
        {os::SimShellStep::SetArguments, "Cannot set the arguments to the link for ShellLink2"},
        {os::SimShellStep::SetWorkingDirectory, "Cannot set the working directory to the link for ShellLink2"},
        {os::SimShellStep::CreateLink, "ShellLink2 could not install itself"},
        {os::SimShellStep::Save, "ShellLink2 could not install itself"},
        // Without IPersistFile nothing is saved; that is no success either.
        {os::SimShellStep::PersistFile, "ShellLink2 could not install itself"},
    };
    for (const auto& [step, message] : steps) {
        machine->SetShellFault(step, os::kHrFail);
        EXPECT_EQ(MessageOf([&] { link->CreateShellLinkFile(); }), message);
        machine->SetShellFault(step, os::kHrOk);
    }
    EXPECT_FALSE(machine->FileExists(kPrograms + "\\Brevanshaw\\Brevanshaw.lnk"));
    link->BeginLoading();
    link->SetLinkName("  ");
    link->EndLoading();
    EXPECT_EQ(MessageOf([&] { link->CreateShellLinkFile(); }), "The LinkName is blank for ShellLink2 and therefore could not be installed");
}

TEST_F(ShellLinkInstallTest, ShellLink_ComStartsOncePerShortcutAndItsFailureKeepsTheCode) {
    auto* link = ProductShortcut();
    link->CreateShellLinkFile();
    // A second shortcut finds COM started already (S_FALSE), which is fine.
    auto* other = Link("ShellLink3", main, File("File3", "AppCorrect.exe"));
    other->CreateShellLinkFile();
    // Once started for a shortcut, COM is not asked again.
    machine->SetShellFault(os::SimShellStep::ComInitialize, os::kHrFail);
    link->CreateShellLinkFile();
    auto* third = Link("ShellLink4", main, File("File4", "AddOnInst.exe"));
    try {
        third->CreateShellLinkFile();
        FAIL() << "no exception";
    } catch (const ESHELLCannotInitialize& e) {
        EXPECT_EQ(e.Code, os::kHrFail);
        EXPECT_EQ(e.Message(), "Could not initialize IShellLink with following error code returned: -2147467259");
    }
}

TEST_F(ShellLinkInstallTest, ShellLink_APathTooLongForTheShellIsRefusedNotCut) {
    auto* link = ProductShortcut();
    const std::string folder = kPrograms + "\\Brevanshaw\\";
    // 259 characters is the most the shell saves; one more is refused.
    link->SetLinkName(std::string(259 - folder.size() - 4, 'a') + ".lnk");
    link->CreateShellLinkFile();
    EXPECT_TRUE(machine->FileExists(folder + link->LinkName()));
    link->SetLinkName(std::string(260 - folder.size() - 4, 'b') + ".lnk");
    EXPECT_EQ(MessageOf([&] { link->CreateShellLinkFile(); }), "ShellLink2 could not install itself");
    std::vector<os::FindData> found;
    machine->FindFiles(folder + "b*", found);
    EXPECT_TRUE(found.empty());
}

TEST_F(ShellLinkInstallTest, UninstallRecord_TwoRunsListTheSameShortcutTwice) {
    auto* link = ProductShortcut();
    const std::string list = std::string(kU) + "\\Files";
    Write(list, "Entries", "3");  // files recorded before the shortcut
    link->Process();
    link->Process();
    EXPECT_EQ(Read(list, "Entries"), "5");
    EXPECT_EQ(Read(list, "File4"), kPrograms + "\\Brevanshaw\\Brevanshaw.lnk");
    EXPECT_EQ(Read(list, "File5"), kPrograms + "\\Brevanshaw\\Brevanshaw.lnk");
    EXPECT_EQ(Read(list + "1", "Entries"), "<none>");
}

namespace {
// The list key of attempt k: U\Files, then U\Files1, U\Files2 and so on.
std::string ListKey(const std::string& u, int k) { return u + "\\Files" + (k > 0 ? std::to_string(k) : ""); }
}  // namespace

TEST_F(ShellLinkInstallTest, UninstallRecord_MovesOnPastAListItCannotUse) {
    const std::string u = kU;
    Write(u + "\\Files", "Entries", "many");
    Write(u + "\\Files1", "Entries", "");
    AddUninstallFileEntry(u + "\\", "C:\\X.lnk");
    EXPECT_EQ(Read(u + "\\Files2", "Entries"), "1");
    EXPECT_EQ(Read(u + "\\Files2", "File1"), "C:\\X.lnk");
    EXPECT_EQ(Read(u + "\\Files", "Entries"), "many");
}

TEST_F(ShellLinkInstallTest, UninstallRecord_GivesUpAfterItsTriesOrAtOnceWhenNothingCanBeWritten) {
    const std::string u = kU;
    for (int k = 0; k < kUninstallFileLists; ++k) Write(ListKey(u, k), "Entries", "x");
    try {
        AddUninstallFileEntry(u, "C:\\X.lnk");
        FAIL() << "no exception";
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), u + "\\Files" + std::to_string(kUninstallFileLists - 1));
    }
    rt::TRegistry reg(os::RootKey::LocalMachine);
    EXPECT_FALSE(reg.KeyExists(ListKey(u, kUninstallFileLists)));

    machine->SetRegistryDenied(true);
    const std::string other = u + "Other";
    try {
        AddUninstallFileEntry(other, "C:\\X.lnk");
        FAIL() << "no exception";
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), other + "\\Files");  // the first list: no later one was tried
    }
}

TEST_F(ShellLinkInstallTest, Lnkinfo_ReadsTheSimulatedShellsLinkAsTheRealShellsOwn) {
    if (std::system("lnkinfo -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    auto* link = ProductShortcut();
    link->SetParameters("/open \"%i\\Readme.doc\"");
    link->CreateShellLinkFile();
    const std::string host = machine->HostPath(kPrograms + "\\Brevanshaw\\Brevanshaw.lnk").string();
    std::string out;
    if (FILE* pipe = popen(("lnkinfo '" + host + "' 2>&1").c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    auto field = [&](const std::string& name) {
        const std::size_t at = out.find("\t" + name);
        if (at == std::string::npos) return std::string("<missing>");
        const std::size_t colon = out.find(": ", at);
        return out.substr(colon + 2, out.find('\n', colon) - colon - 2);
    };
    EXPECT_EQ(field("Local path"), "C:\\Brevanshaw\\Brevanshaw.exe") << out;
    EXPECT_EQ(field("Working directory"), "C:\\Brevanshaw") << out;
    EXPECT_EQ(field("Command line arguments"), "/open \"C:\\Brevanshaw\\Readme.doc\"") << out;
}
