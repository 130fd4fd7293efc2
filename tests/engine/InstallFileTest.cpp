// Install files: the setter rules, the install step with its help entry, shared count and
// registration, replacing a file in use on every kind of Windows, the disk prompt, and the
// uninstall record.
#include <cctype>
#include <functional>
#include <map>

#include "engine/SetupLog.h"
#include "engine/SetupOptions.h"
#include "tests/engine/InstallKit.h"
#include "tests/system/PeImageBuilder.h"

namespace {

using Lines = std::vector<std::string>;

// Stands in for the shortcut component of the system integration: the same registered name
// and published properties, and a log of what the engine set and did.
std::vector<std::string> gLinkLog;

class TFakeShellLink : public TBaseHelperComponent {
    RT_CLASS(TFakeShellLink, TBaseHelperComponent)
public:
    explicit TFakeShellLink(rt::TComponent* owner) : TBaseHelperComponent(owner) { SetOrderNumber(kOrderShortcut); }
    const std::string& LinkName() const { return FLinkName; }
    void SetLinkName(const std::string& v) {
        FLinkName = rt::ChangeFileExt(v, ".LNK");
        gLinkLog.push_back("LinkName=" + v);
    }
    const std::string& ObjectLocation() const { return FObjectLocation; }
    void SetObjectLocation(const std::string& v) {
        FObjectLocation = v;
        gLinkLog.push_back("ObjectLocation=" + v);
    }
    TPathSpecifiers ObjectLocationType() const { return FObjectLocationType; }
    void SetObjectLocationType(TPathSpecifiers v) {
        FObjectLocationType = v;
        gLinkLog.push_back("ObjectLocationType=" + rt::EnumName(v));
    }
    void SetDestDirType(TPathSpecifiers v) override {
        TBaseHelperComponent::SetDestDirType(v);
        gLinkLog.push_back("DestDirType=" + rt::EnumName(v));
    }
    void SetDestDir(const std::string& v) override {
        TBaseHelperComponent::SetDestDir(v);
        gLinkLog.push_back("DestDir=" + v);
    }
    void ProcessHelpers() override { gLinkLog.push_back("install " + Name() + " in " + GetDestDir()); }
    void RecordUninstall(const std::string&) override { gLinkLog.push_back("recorded"); }

private:
    std::string FLinkName, FObjectLocation;
    TPathSpecifiers FObjectLocationType = TPathSpecifiers::ddAbsolute;
};

const rt::TClassInfo& TFakeShellLink::StaticClass() {
    using L = TFakeShellLink;
    static const rt::TClassInfo info{
        "TInstallShellLink", &TBaseHelperComponent::StaticClass(), rt::Factory<TFakeShellLink>(),
        {rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
         rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
         rt::AccessorProperty("LinkName", &L::LinkName, &L::SetLinkName),
         rt::AccessorProperty("ObjectLocation", &L::ObjectLocation, &L::SetObjectLocation),
         rt::AccessorProperty("ObjectLocationType", &L::ObjectLocationType, &L::SetObjectLocationType)},
        {}};
    return info;
}

// A class of that name that cannot be made: as if the shortcuts were not linked in.
const rt::TClassInfo& NoShellLinkClass() {
    static const rt::TClassInfo info{"TInstallShellLink", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

std::vector<std::uint8_t> Library(const std::vector<std::string>& exports, bool selfRegistering = false) {
    testpe::Table table{"040904E4", {{"FileVersion", "3.0"}}};
    if (selfRegistering) table.Strings.push_back({"OLESelfRegister", ""});
    return testpe::PeImage(testpe::VersionBlock(testpe::Fixed{}, {table}), false, 0x0409, exports);
}

class InstallFileTest : public InstallTest {
protected:
    void SetUp() override {
        InstallTest::SetUp();
        gLinkLog.clear();
        rt::RegisterClass(TFakeShellLink::StaticClass());
    }
    void TearDown() override {
        SharedKembCompress().SetVolumeSize(0);
        InstallTest::TearDown();
    }
    // A file in a group whose destination is dir, already installed once and now in use.
    TInstallFile* InUse(const std::string& dir, const std::string& name) {
        auto* group = Group("FileGroup1", root);
        group->SetDestDirType(TPathSpecifiers::ddAbsolute);
        group->SetDestDir(dir);
        auto* file = File(name, group, "new " + name);
        BuildArchive();
        Put(dir + "\\" + name, "old " + name);
        machine->SetFileInUse(dir + "\\" + name, true);
        return file;
    }
    std::map<std::string, std::string> Unfinished() {
        std::map<std::string, std::string> entries;
        rt::TRegistry reg(os::RootKey::LocalMachine);
        if (!reg.OpenKeyReadOnly(kUnfinishedInstallKey)) return entries;
        for (const std::string& name : reg.GetValueNames()) entries[name] = reg.ReadString(name);
        return entries;
    }
};

}  // namespace

TEST_F(InstallFileTest, FileType_MovesTheDestinationAndRefusesLongNames) {
    auto* group = Group("FileGroup1", root);
    auto* msvcrt = File("msvcrt20.dll", group, "m");
    msvcrt->SetFileType(TInstallFileType::iftSystemWideDLL);
    EXPECT_EQ(msvcrt->DestDirType(), TPathSpecifiers::ddSystem);
    EXPECT_EQ(msvcrt->DestDir(), "");
    EXPECT_EQ(msvcrt->OverwriteMode(), TOverwriteType::owVersionDate);
    EXPECT_TRUE(msvcrt->UpdateDLLCounter());
    EXPECT_EQ(msvcrt->TargetPath(), "C:\\WINNT\\system32\\msvcrt20.dll");
    // The type's own destination wins over what is set afterwards.
    msvcrt->SetDestDir("\\Elsewhere");
    EXPECT_EQ(msvcrt->DestDir(), "");
    EXPECT_EQ(Message([&] { msvcrt->SetDestDirType(TPathSpecifiers::ddWindows); }),
              "DestDirType must be set to ddSystem for iftSystemWideDLL files");

    auto* shared = File("shared.dll", group, "s");
    shared->SetFileType(TInstallFileType::iftVendorSharedDLL);
    EXPECT_EQ(shared->DestDirType(), TPathSpecifiers::ddCommonFilesDir);
    EXPECT_EQ(shared->DestDir(), "\\System");
    EXPECT_TRUE(shared->UpdateDLLCounter());
    EXPECT_EQ(Message([&] { shared->SetDestDirType(TPathSpecifiers::ddSystem); }),
              "DestDirType must be set to ddCommonFiles for iftVendorSharedDLL");
    auto* own = File("own.dll", group, "o");
    own->SetFileType(TInstallFileType::iftApplicationSpecificDLL);
    EXPECT_EQ(own->DestDirType(), TPathSpecifiers::ddMainInstallDir);
    EXPECT_EQ(own->TargetPath(), "C:\\App\\System\\own.dll");
    EXPECT_EQ(Message([&] { own->SetDestDirType(TPathSpecifiers::ddContainerDestDir); }),
              "DestDirType must be set to ddMainInstall for iftApplicationSpecificDLL files");
    // A typed DLL keeps its destination when it moves to another group.
    auto* other = Group("FileGroup2", root);
    own->SetContainer(other);
    EXPECT_EQ(own->DestDirType(), TPathSpecifiers::ddMainInstallDir);
    EXPECT_EQ(own->ArchiveFileType(), TPathSpecifiers::ddContainerArchiveFile);

    auto* longName = File("thirteen1.dll", group, "t");
    ASSERT_EQ(longName->DestName().size(), 13u);
    try {
        longName->SetFileType(TInstallFileType::iftVendorSharedDLL);
        ADD_FAILURE() << "a 13-character name was taken";
    } catch (const EAIIFDLLNameConflict& e) {
        EXPECT_EQ(e.Message().substr(0, 40), "The following file :thirteen1.dll: is sp");
    }
    EXPECT_EQ(longName->DestName(), "12345678.DLL");
    EXPECT_EQ(longName->FileType(), TInstallFileType::iftNormal);
    // A DLL type also holds DestName to twelve characters.
    shared->SetDestName("twelve12.dll");
    EXPECT_THROW(shared->SetDestName("thirteen1.dll"), EAIIFDLLNameConflict);
    EXPECT_EQ(shared->DestName(), "12345678.DLL");
}

TEST_F(InstallFileTest, FileNameAndSourceFolder_SetHelpRegistrationAndRefuseDuplicates) {
    auto* group = Group("FileGroup1", root);
    struct Case {
        std::string Name;
        std::vector<std::uint8_t> Content;
        bool Help, DllStyle, ExeStyle, Counter;
    };
    const std::vector<Case> cases{
        {"grid.OCX", {'x'}, false, true, false, true},
        {"guide.hlp", {'h'}, true, false, false, false},
        {"guide.cnt", {'c'}, true, false, false, false},
        {"server.dll", Library({"DllRegisterServer"}, true), false, true, false, true},
        {"plain.dll", Library({"DllRegisterServer"}, false), false, false, false, false},
        {"server.exe", Library({}, true), false, false, true, true},
        {"tool.exe", Library({}, false), false, false, false, false},
    };
    for (const Case& c : cases) {
        PutBytes("C:\\src\\" + c.Name, c.Content);
        auto* f = new TInstallFile(form);
        f->SetIncludeFromDir("C:\\src");
        f->SetFileName(c.Name);
        f->SetContainer(group);
        EXPECT_EQ(f->DestName(), c.Name);
        EXPECT_EQ(f->RegisterAsHelp(), c.Help) << c.Name;
        EXPECT_EQ(f->RegisterAsActiveX_DLLStyle(), c.DllStyle) << c.Name;
        EXPECT_EQ(f->RegisterAsActiveX_EXEStyle(), c.ExeStyle) << c.Name;
        EXPECT_EQ(f->UpdateDLLCounter(), c.Counter) << c.Name;
    }

    // The same source twice in one group is refused, by name, by folder and by moving in.
    auto* dup = new TInstallFile(form);
    dup->SetName("Dup");
    dup->SetIncludeFromDir("C:\\src\\");
    dup->SetContainer(group);
    EXPECT_EQ(Message([&] { dup->SetFileName("GRID.ocx"); }), "There is already a file with the name :C:\\src\\GRID.ocx");
    EXPECT_EQ(dup->FileName(), "");
    dup->SetIncludeFromDir("C:\\other");
    dup->SetFileName("grid.ocx");
    EXPECT_EQ(Message([&] { dup->SetIncludeFromDir("c:\\SRC"); }), "There is already a file with the name :c:\\SRC\\grid.ocx");
    EXPECT_EQ(dup->IncludeFromDir(), "C:\\other");
    auto* loose = new TInstallFile(form);
    loose->SetIncludeFromDir("C:\\src");
    loose->SetFileName("tool.exe");
    EXPECT_THROW(loose->SetContainer(group), EAIIFDuplicateFileInGroup);
    EXPECT_EQ(loose->Container(), nullptr);
    // Its own name in another case is no duplicate.
    auto* tool = group->FindFile("C:\\src\\tool.exe");
    tool->SetFileName("TOOL.EXE");
    EXPECT_EQ(tool->DestName(), "TOOL.EXE");
    // A file changes folders without touching its destination name.
    tool->SetDestName("renamed.exe");
    tool->SetIncludeFromDir("C:\\third");
    EXPECT_EQ(tool->DestName(), "renamed.exe");
}

TEST_F(InstallFileTest, OtherRules_StylesExcludeEachOtherTextLinesAndContainerKind) {
    auto* group = Group("FileGroup1", root);
    auto* f = File("x.dll", group, "x");
    f->SetRegisterAsActiveX_EXEStyle(true);
    EXPECT_TRUE(f->UpdateDLLCounter());
    f->SetRegisterAsActiveX_DLLStyle(true);
    EXPECT_FALSE(f->RegisterAsActiveX_EXEStyle());
    f->SetRegisterAsActiveX_EXEStyle(true);
    EXPECT_FALSE(f->RegisterAsActiveX_DLLStyle());
    EXPECT_EQ(f->InteractiveText()->ToVector(), (Lines{"Please insert disk #"}));
    EXPECT_THROW(f->SetInteractiveText(rt::TStringList{}), EAIIFNotEnoughTextLines);
    EXPECT_EQ(f->InteractiveText()->Count(), 1);
    auto* notAContainer = new TStageRecorder(form);
    notAContainer->SetName("Recorder");
    EXPECT_EQ(Message([&] { f->SetContainer(notAContainer); }),
              "The following TInstallFile component :F_x_dll: requires the Container property to be a component descended from the "
              "TFileContainer component");
    EXPECT_EQ(f->Container(), group);
    EXPECT_EQ(Message([&] { File("missing.dat", group, "m")->SetIncludeFromDir("C:\\nowhere"); f->ReadSourceInfo(); group->ReadSourceInfo(); }),
              "Could not open or find the following file when trying to read the Size, Date, and Version :C:\\nowhere\\missing.dat");
    f->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    f->SetArchiveFile(" ");
    EXPECT_EQ(Message([&] { f->SetState(TInstallFileState::ifsInstall); }),
              "Cannot either compress or decompress the following file because it's archive file property is blank. File is :x.dll");
    EXPECT_EQ(f->State(), TInstallFileState::ifsNone);
}

TEST_F(InstallFileTest, Install_WritesHelpLocationCountsSharedDllsAndRecordsEveryFile) {
    auto* group = Group("FileGroup1", root, "\\Help");
    auto* help = File("guide.hlp", group, "help");
    auto* counted = File("count.dll", group, "c");
    counted->SetUpdateDLLCounter(true);
    auto* fresh = File("fresh.dll", group, "f");
    fresh->SetUpdateDLLCounter(true);
    BuildArchive();
    const std::string sharedDlls = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    SetRegDWord(sharedDlls, "C:\\App\\Help\\count.dll", 3);
    root->Process();
    EXPECT_TRUE(help->Processed());
    EXPECT_EQ(RegString("\\SOFTWARE\\Microsoft\\Windows\\Help", "GUIDE.HLP"), "C:\\App\\Help");
    EXPECT_EQ(RegDWord(sharedDlls, "C:\\App\\Help\\count.dll"), 4);
    EXPECT_EQ(RegDWord(sharedDlls, "C:\\App\\Help\\fresh.dll"), 1);
    const std::string files = UninstallKey() + "\\Files";
    EXPECT_EQ(RegString(files, "File1"), "C:\\App\\Help\\guide.hlp");
    EXPECT_EQ(RegString(files, "File2"), "C:\\App\\Help\\count.dll");
    EXPECT_EQ(RegString(files, "File3"), "C:\\App\\Help\\fresh.dll");
    EXPECT_EQ(RegString(files, "Entries"), "3");
    // A second run appends; a file left in place by its rule (neither copy carries a
    // version, so the archived one is not newer) is recorded all the same, and the log says why.
    counted->SetOverwriteMode(TOverwriteType::owVersion);
    ASSERT_TRUE(SetupLog().Open(*machine, "C:\\setup.log"));
    root->Process();
    SetupLog().Close();
    EXPECT_EQ(RegString(files, "File5"), "C:\\App\\Help\\count.dll");
    EXPECT_EQ(RegString(files, "Entries"), "6");
    EXPECT_EQ(RegDWord(sharedDlls, "C:\\App\\Help\\count.dll"), 5);
    const std::string log = Get("C:\\setup.log");
    for (const char* line : {"File C:\\App\\Help\\count.dll: kept the installed file (rule owVersion, installed version none "
                             "not older than the archived none)",
                             "File C:\\App\\Help\\guide.hlp: written over the installed file (rule owAlways)",
                             "Shared library count of C:\\App\\Help\\count.dll: 5"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

    // A count that cannot be written stops the file.
    machine->SetRegistryDenied(true);
    EXPECT_EQ(Message([&] { counted->SetState(TInstallFileState::ifsInstall); }), "Could not open the key SharedDLLs key in the registry");
}

TEST_F(InstallFileTest, UninstallRecord_ActiveXListAndABoundedSearchForAWritableList) {
    auto* group = Group("FileGroup1", root);
    auto* dll = File("srv.dll", group, "d");
    dll->SetRegisterAsActiveX_DLLStyle(true);
    auto* exe = File("srv.exe", group, "e");
    exe->SetRegisterAsActiveX_EXEStyle(true);
    const std::string activeX = UninstallKey() + "\\ActiveX";
    dll->RecordUninstall(UninstallKey());
    exe->RecordUninstall(UninstallKey());
    EXPECT_EQ(RegString(activeX, "File1"), "C:\\App\\srv.dll;0");
    EXPECT_EQ(RegString(activeX, "File2"), "C:\\App\\srv.exe;1");
    EXPECT_EQ(RegString(activeX, "Entries"), "2");
    EXPECT_EQ(RegString(UninstallKey() + "\\Files", "Entries"), "<none>");

    // Lists whose count is damaged are passed over, but not without end.
    auto* plain = File("plain.txt", group, "p");
    for (int k = 0; k < kUninstallFileLists; ++k)
        WriteRegistryString(TRootKeys::hkLocalMachine, UninstallKey() + "\\Files" + (k ? std::to_string(k) : ""), "Entries", "broken");
    try {
        plain->RecordUninstall(UninstallKey());
        ADD_FAILURE() << "recorded into a damaged list";
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), UninstallKey() + "\\Files" + std::to_string(kUninstallFileLists - 1));
    }
    EXPECT_EQ(RegString(UninstallKey() + "\\Files" + std::to_string(kUninstallFileLists), "Entries"), "<none>");
    WriteRegistryString(TRootKeys::hkLocalMachine, UninstallKey() + "\\Files3", "Entries", "7");
    plain->RecordUninstall(UninstallKey());
    EXPECT_EQ(RegString(UninstallKey() + "\\Files3", "File8"), "C:\\App\\plain.txt");
    EXPECT_EQ(RegString(UninstallKey() + "\\Files3", "Entries"), "8");

    // A registry that cannot be written at all stops the search at the first list.
    machine->SetRegistryDenied(true);
    try {
        File("other.txt", group, "o")->RecordUninstall(kUninstallKeyPrefix + "Other");
        ADD_FAILURE() << "recorded without a registry";
    } catch (const EIRCannotWriteValue& e) {
        EXPECT_EQ(e.Message(), kUninstallKeyPrefix + "Other\\Files");
    }
}

TEST_F(InstallFileTest, InUse_Windows95_TakesTheNextFreeNameAndWritesWininit) {
    Become(os::SimWindowsKind::Win95);
    const std::string dir = "C:\\Program Files\\Common Files\\Microsoft Shared\\DAO";
    auto* dao = InUse(dir, "dao3032.dll");
    PutBytes("C:\\src\\dao3032.dll", Library({"DllRegisterServer"}));
    dao->SetRegisterAsActiveX_DLLStyle(true);
    BuildArchive();
    Put(dir + "\\dao3032.1", "taken");
    Put(dir + "\\dao3032.2", "taken");
    std::vector<std::string> replacing;
    dao->OnReplacing = TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) { replacing.push_back(f->Name()); });

    root->Process();

    EXPECT_EQ(replacing, (Lines{"F_dao3032_dll"}));
    EXPECT_EQ(Get(dir + "\\dao3032.dll"), "old dao3032.dll");
    EXPECT_EQ(Get(dir + "\\dao3032.3"), Get("C:\\src\\dao3032.dll"));
    EXPECT_EQ(Get("C:\\WINDOWS\\WININIT.INI"),
              "[Rename]\r\nC:\\PROGRA~1\\COMMON~1\\MICROS~1\\DAO\\dao3032.dll=C:\\PROGRA~1\\COMMON~1\\MICROS~1\\DAO\\dao3032.3\r\n");
    EXPECT_TRUE(SetupState().RebootNeeded);
    EXPECT_TRUE(dao->ReplacedAtRestart());
    EXPECT_EQ(Unfinished(), (std::map<std::string, std::string>{{"F_dao3032_dll", "0"}}));
    // Registration waits for the file to be in place; the resumed run does it.
    EXPECT_TRUE(machine->LibraryCalls().empty());
    machine->SetFileInUse(dir + "\\dao3032.dll", false);
    machine->MoveFile(dir + "\\dao3032.3", dir + "\\dao3032.new");
    machine->DeleteFile(dir + "\\dao3032.dll");
    machine->MoveFile(dir + "\\dao3032.new", dir + "\\dao3032.dll");
    dao->ResumeAfterReboot();
    ASSERT_EQ(machine->LibraryCalls().size(), 1u);
    EXPECT_EQ(machine->LibraryCalls()[0].Path, dir + "\\dao3032.dll");
    // The uninstall record names the file under its own name.
    EXPECT_EQ(RegString(UninstallKey() + "\\ActiveX", "File1"), dir + "\\dao3032.dll;0");

    // Without its WININIT.INI entry nothing would replace the file: that is no success.
    machine->SetFileInUse(dir + "\\dao3032.dll", true);
    ASSERT_TRUE(machine->SetFileAttributes("C:\\WINDOWS\\WININIT.INI", os::kAttrReadOnly));
    const std::string refused = Message([&] { root->Process(); });
    EXPECT_TRUE(rt::StartsText("Cannot write the following entry to C:\\WINDOWS\\WININIT.INI: C:\\PROGRA~1\\", refused)) << refused;
}

TEST_F(InstallFileTest, InUse_FreeNamesEndAt999) {
    const std::string dir = "C:\\App\\Busy";
    InUse(dir, "busy.dll");
    for (int k = 1; k <= kMaxFreeNameNumber; ++k) Put(dir + "\\busy." + std::to_string(k), "");
    EXPECT_EQ(Message([&] { root->Process(); }),
              "Cannot find a free name beside the file in use C:\\App\\Busy\\busy.dll: busy.1 to busy.999 are all taken");
    EXPECT_EQ(Get(dir + "\\busy.dll"), "old busy.dll");
}

TEST_F(InstallFileTest, InUse_NT_AsksForAMoveThatReplacesTheFileAtRestart) {
    auto* file = InUse("C:\\Program Files\\Brevanshaw", "engine.dll");
    root->Process();
    EXPECT_EQ(Get("C:\\Program Files\\Brevanshaw\\engine.1"), "new engine.dll");
    const auto pending = machine->PendingRenames();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].From, "C:\\Program Files\\Brevanshaw\\engine.1");
    EXPECT_EQ(pending[0].To, "C:\\Program Files\\Brevanshaw\\engine.dll");
    // NT's session manager replaces an existing file only when the target is marked "!".
    const auto key = machine->RegOpenKey(os::RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", false);
    os::RegValue value;
    ASSERT_TRUE(machine->RegQueryValue(key, "PendingFileRenameOperations", value));
    machine->RegCloseKey(key);
    const std::string expected = std::string("\\??\\C:\\Program Files\\Brevanshaw\\engine.1") + '\0' +
                                 "!\\??\\C:\\Program Files\\Brevanshaw\\engine.dll" + '\0' + '\0';
    EXPECT_EQ(std::string(value.Data.begin(), value.Data.end()), expected);
    EXPECT_TRUE(SetupState().RebootNeeded);
    EXPECT_EQ(Unfinished(), (std::map<std::string, std::string>{{file->Name(), "0"}}));
    EXPECT_TRUE(gLinkLog.empty());
    EXPECT_FALSE(machine->FileExists("C:\\WINNT\\WININIT.INI"));
}

TEST_F(InstallFileTest, InUse_NT4_FallsBackToAGuardedBatchFileStartedFromTheStartupFolder) {
    auto* file = InUse("C:\\Program Files\\Brevanshaw", "engine.dll");
    machine->SetRestartMovesFail(true);
    root->Process();
    const auto unfinished = Unfinished();
    ASSERT_EQ(unfinished.size(), 3u);
    std::string batch, link;
    for (const auto& [name, code] : unfinished) {
        if (rt::ExtractFileExt(name) == ".bat") batch = name;
        if (rt::ExtractFileExt(name) == ".LNK") link = name;
    }
    ASSERT_FALSE(batch.empty());
    EXPECT_EQ(rt::ExtractFilePath(batch), "C:\\TEMP\\");
    EXPECT_EQ(unfinished.at(batch), "1");
    EXPECT_EQ(unfinished.at(file->Name()), "0");
    EXPECT_EQ(link, "C:\\WINNT\\Startup\\" + rt::ChangeFileExt(rt::ExtractFileName(batch), ".LNK"));
    EXPECT_EQ(unfinished.at(link), "1");
    // Quoted, and harmless when it runs again after the file is in place.
    EXPECT_EQ(Get(batch),
              "if exist \"C:\\PROGRA~1\\BREVAN~1\\engine.1\" erase \"C:\\PROGRA~1\\BREVAN~1\\engine.dll\"\r\n"
              "if exist \"C:\\PROGRA~1\\BREVAN~1\\engine.1\" move \"C:\\PROGRA~1\\BREVAN~1\\engine.1\" \"C:\\PROGRA~1\\BREVAN~1\\engine.dll\"\r\n");
    EXPECT_FALSE(machine->FileExists(rt::ChangeFileExt(batch, ".TMP")));
    EXPECT_EQ(gLinkLog, (Lines{"ObjectLocationType=ddAbsolute", "ObjectLocation=" + batch,
                               "LinkName=" + rt::ChangeFileExt(rt::ExtractFileName(batch), ".LNK"), "DestDirType=ddStartUpMenuDir",
                               "DestDir=", "install QuenfoldBatLink in C:\\WINNT\\Startup", "recorded"}));
    EXPECT_TRUE(SetupState().RebootNeeded);
    EXPECT_EQ(Get("C:\\Program Files\\Brevanshaw\\engine.1"), "new engine.dll");
    // The shortcut component was only lent for the step.
    EXPECT_EQ(root->FindComponent("QuenfoldBatLink"), nullptr);
}

TEST_F(InstallFileTest, InUse_NT351_PutsTheBatchFileIntoTheProgramManagersStartupGroup) {
    Become(os::SimWindowsKind::NT351);
    InUse("C:\\App", "engine.dll");
    machine->SetRestartMovesFail(true);
    root->Process();
    const auto unfinished = Unfinished();
    std::string item;
    for (const auto& [name, code] : unfinished)
        if (code == "2") item = name;
    ASSERT_FALSE(item.empty());
    EXPECT_EQ(rt::ExtractFileExt(item), "");
    EXPECT_TRUE(rt::StartsText("bat", item));
    ASSERT_GE(gLinkLog.size(), 3u);
    EXPECT_EQ(gLinkLog[3], "DestDirType=ddProgramMenuDir");
    EXPECT_EQ(gLinkLog[4], "DestDir=\\Startup");
    // The folder resolves to the program menu's "Startup", the group the resume clears.
    EXPECT_EQ(gLinkLog[gLinkLog.size() - 2], "install QuenfoldBatLink in C:\\WINNT\\Startmen\\Programs\\Startup");
}

TEST_F(InstallFileTest, InUse_Win32sAndUnknownSystemsLeaveTheFileUnderItsFreeName) {
    for (os::PlatformId platform : {os::PlatformId::Win32s, static_cast<os::PlatformId>(3)}) {
        SCOPED_TRACE(static_cast<int>(platform));
        machine->SetReportedVersion(os::OsVersion{platform, 3, 10, 0, ""});
        auto* file = InUse("C:\\App", "engine.dll");
        machine->SetRestartMovesFail(true);
        root->Process();
        EXPECT_EQ(Get("C:\\App\\engine.1"), "new engine.dll");
        EXPECT_EQ(Unfinished(), (std::map<std::string, std::string>{{file->Name(), "0"}}));
        EXPECT_TRUE(gLinkLog.empty());
        EXPECT_TRUE(SetupState().RebootNeeded);
        std::vector<os::FindData> batches;
        EXPECT_FALSE(machine->FindFiles("C:\\TEMP\\*.bat", batches));
        // Next round from scratch.
        file->Container()->Free();
        machine->SetFileInUse("C:\\App\\engine.dll", false);
        machine->DeleteFile("C:\\App\\engine.1");
        machine->RegDeleteTree(os::RootKey::LocalMachine, "SOFTWARE\\QUENFOLDINSTALLING");
        SetupState().RebootNeeded = false;
    }
}

TEST_F(InstallFileTest, InUse_WithoutTheShortcutClassTheFallbackSaysWhy) {
    rt::RegisterClass(NoShellLinkClass());
    InUse("C:\\App", "engine.dll");
    machine->SetRestartMovesFail(true);
    EXPECT_EQ(Message([&] { root->Process(); }),
              "Cannot create the shortcut QuenfoldBatLink that replaces C:\\App\\engine.dll at the next logon: the class "
              "TInstallShellLink is not registered");
}

TEST_F(InstallFileTest, DiskPrompt_ShowsTheTextForTheVolumeAndCancelEndsTheRun) {
    auto* group = Group("FileGroup1", root, "\\Disk");
    auto* big = File("big.bin", group, std::string(5000, 'v'));
    SharedKembCompress().SetVolumeSize(3000);
    BuildArchive();
    SharedKembCompress().SetVolumeSize(0);
    ASSERT_TRUE(machine->FileExists("C:\\dist\\files.2"));
    ForceDirectories(*machine, "C:\\disk2");
    ASSERT_TRUE(machine->MoveFile("C:\\dist\\files.2", "C:\\disk2\\files.2"));

    EXPECT_THROW(root->Process(), EAIUserAbort);
    auto boxes = machine->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Please insert disk #2");
    EXPECT_EQ(boxes[0].Type, static_cast<std::uint32_t>(os::kMbOkCancel | os::kMbIconInformation));

    // OK without the disk: asked again until the archive gives up.
    rt::TStringList prompt{"Insert the Brevanshaw disk "};
    big->SetInteractiveText(prompt);
    for (int i = 0; i < 4; ++i) machine->QueueMessageBoxAnswer(os::kIdOk);
    EXPECT_EQ(Message([&] { root->Process(); }), "Could not open the correct disk file 2");
    boxes = machine->MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes.back().Text, "Insert the Brevanshaw disk 2");

    // Nobody to put the disk in: the run is refused at once, naming the disk, and asks nobody.
    SetupOptions().Ui = TUiLevel::uiSilent;
    EXPECT_EQ(Message([&] { root->Process(); }), "Setup needs disk 2 of the distribution, which is not in C:\\dist");
    SetupOptions() = TSetupOptions{};
    EXPECT_EQ(machine->MessageBoxes().size(), 5u);

    // A container that answers: the path it gives is used, and nobody is asked.
    std::vector<std::string> asked;
    group->OnNewDisk = TInstallFileNewDiskEvent(nullptr, [&](TInstallFile*, int disk, std::string& path) {
        asked.push_back(std::to_string(disk) + " " + path);
        path = "C:\\disk2\\";
    });
    root->Process();
    EXPECT_EQ(asked.front(), "2 C:\\dist");
    EXPECT_EQ(Get("C:\\App\\Disk\\big.bin"), std::string(5000, 'v'));
    EXPECT_EQ(machine->MessageBoxes().size(), 5u);
    EXPECT_EQ(big->Tag(), 1);
}

TEST_F(InstallFileTest, Registration_DllStyleCallsTheEntryAndNamesEachFailure) {
    auto* group = Group("FileGroup1", root);
    PutBytes("C:\\src\\srv.dll", Library({"DllCanUnloadNow", "DllRegisterServer"}));
    auto* srv = new TInstallFile(form);
    srv->SetName("Server1");
    srv->SetIncludeFromDir("C:\\src");
    srv->SetFileName("srv.dll");
    srv->SetContainer(group);
    srv->SetRegisterAsActiveX_DLLStyle(true);
    EXPECT_EQ(Message([&] { srv->RegisterDLLStyle(); }), "Cannot get support information for the following file C:\\App\\srv.dll");
    BuildArchive();
    root->Process();
    ASSERT_EQ(machine->LibraryCalls().size(), 1u);
    EXPECT_EQ(machine->LibraryCalls()[0].Function, "DllRegisterServer");

    machine->SetLibraryFunctionResult("DllRegisterServer", -2147467259);
    EXPECT_EQ(Message([&] { srv->RegisterDLLStyle(); }), "DllRegisterServer returned an error of -2147467259 for Server1");
    PutBytes("C:\\App\\srv.dll", Library({"DllUnregisterServer"}));
    EXPECT_EQ(Message([&] { srv->RegisterDLLStyle(); }),
              "Cannot load the DllRegisterServer routine for the ActiveX component when trying to register it. Server1");
    Put("C:\\App\\srv.dll", "not a program");
    EXPECT_EQ(Message([&] { srv->RegisterDLLStyle(); }),
              "Could load the ActiveX component when trying to register it. File component is Server1 The following value is the value "
              "of the GetLastError: 193");
}

TEST_F(InstallFileTest, Registration_ExeStyleQuotesTheProgramsPath) {
    root->SetDestDir("C:\\Program Files\\Brevanshaw");
    auto* group = Group("FileGroup1", root);
    auto* server = File("server.exe", group, "");
    PutBytes("C:\\src\\server.exe", Library({}));
    server->SetRegisterAsActiveX_EXEStyle(true);
    // The program an unquoted command line would start instead.
    PutBytes("C:\\Program.exe", Library({}));
    std::vector<std::string> ran;
    machine->SetProgramHandler([&](const std::string& commandLine) { ran.push_back(commandLine); });
    BuildArchive();
    root->Process();
    EXPECT_EQ(ran, (Lines{"\"C:\\Program Files\\Brevanshaw\\server.exe\" /REGSERVER"}));
    ASSERT_FALSE(machine->StartedProcesses().empty());
    EXPECT_TRUE(machine->StartedProcesses().back().Hidden);
    Put("C:\\Program Files\\Brevanshaw\\server.exe", "not a program");
    EXPECT_EQ(Message([&] { server->RegisterEXEStyle(); }),
              "Could not execute /REGSERVER parameter for file: C:\\Program Files\\Brevanshaw\\server.exe for file comp: "
              "F_server_exe The following error code was reported by Windows 193");
}

TEST_F(InstallFileTest, Copy_UsesTheFilesOwnRuleAndReplacesAFileInUse) {
    auto* group = Group("FileGroup1", root, "\\Copy");
    auto* keep = File("keep.txt", group, "new keep");
    keep->SetOverwriteMode(TOverwriteType::owNever);
    Put("C:\\App\\Copy\\keep.txt", "old keep");
    auto* busy = File("busy.txt", group, "new busy");
    Put("C:\\App\\Copy\\busy.txt", "old busy");
    machine->SetFileInUse("C:\\App\\Copy\\busy.txt", true);
    SharedKembCompress().SetOverwrite(TOverwriteType::owAlways);
    std::vector<std::string> events;
    group->OnReplacing = TInstallFileNotifyEvent(nullptr, [&](TInstallFile* f) { events.push_back("replacing " + f->FileName()); });
    group->CopyFiles();
    EXPECT_EQ(Get("C:\\App\\Copy\\keep.txt"), "old keep");
    EXPECT_EQ(Get("C:\\App\\Copy\\busy.1"), "new busy");
    EXPECT_EQ(events, (Lines{"replacing busy.txt"}));
    EXPECT_EQ(busy->State(), TInstallFileState::ifsNone);
    EXPECT_EQ(machine->PendingRenames().size(), 1u);
    // The archive component calls no file between operations.
    EXPECT_FALSE(SharedKembCompress().OnStatus);
    EXPECT_FALSE(SharedKembCompress().OnReplace);
}
