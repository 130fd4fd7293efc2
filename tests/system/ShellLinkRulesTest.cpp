// Program folders and shortcuts: the property rules and their messages, the target path of
// every location type, the lookups, and what happens when a target or container goes away.
#include "tests/system/ShellLinkKit.h"

#include "runtime/TypInfo.h"

namespace {

using enum TShellGroupKind;
using enum TShellLinkKind;
using enum TPathSpecifiers;

class ShellLinkRulesTest : public ShellLinkTestBase {};

}  // namespace

TEST_F(ShellLinkRulesTest, FreshComponents_HaveTheirDefaultsAndPublishTheirProperties) {
    auto* link = Link("ShellLink1", nullptr);
    EXPECT_EQ(link->HotKey(), 0);
    EXPECT_TRUE(link->Include());
    EXPECT_EQ(link->LinkKind(), lkCustom);
    EXPECT_EQ(link->Method(), TMethodType::mtAutoDetect);
    EXPECT_EQ(link->ObjectLink(), nullptr);
    EXPECT_EQ(link->ObjectLocationType(), ddAbsolute);
    EXPECT_EQ(link->OrderNumber(), 8000);
    EXPECT_TRUE(link->Ordered());
    auto* folder = Folder("MainFolder1");
    EXPECT_EQ(folder->GroupKind(), gkCustom);
    EXPECT_EQ(folder->OrderNumber(), 7000);
    EXPECT_TRUE(folder->Ordered());

    // Other units create both by class name and set them by property name.
    RegisterShellLinkClasses();
    const rt::TClassInfo* linkClass = rt::FindClass("TInstallShellLink");
    const rt::TClassInfo* folderClass = rt::FindClass("TShellLinkGroup");
    ASSERT_NE(linkClass, nullptr);
    ASSERT_NE(folderClass, nullptr);
    for (const char* name : {"Container", "DestDir", "DestDirType", "HotKey", "Include", "InstallTypes", "LinkKind", "LinkName", "Method",
                             "ObjectLink", "ObjectLocation", "ObjectLocationType", "Parameters", "OnBeforeProcess", "OnAfterProcess"})
        EXPECT_NE(linkClass->FindProp(name), nullptr) << name;
    for (const char* name : {"Container", "DestDir", "DestDirType", "Include", "GroupKind", "InstallTypes", "OnBeforeProcess", "OnAfterProcess"})
        EXPECT_NE(folderClass->FindProp(name), nullptr) << name;
    rt::TComponent* made = linkClass->Create(form);
    ASSERT_TRUE(made->InheritsFrom(TInstallShellLink::StaticClass()));
    rt::SetPropValue(*made, "ObjectLocation", std::string("C:\\TEMP\\bat1A.bat"));
    rt::SetPropValue(*made, "DestDirType", std::int64_t(static_cast<int>(ddStartUpMenuDir)));
    EXPECT_EQ(static_cast<TInstallShellLink*>(made)->LinkName(), "bat1A.LNK");
    EXPECT_EQ(static_cast<TInstallShellLink*>(made)->DestDirType(), ddStartUpMenuDir);
}

TEST_F(ShellLinkRulesTest, GroupKind_MainFolderTakesTheRootAndTheSpecialShortcuts) {
    auto* old = Folder("Old", gkMainFolder);
    auto* sub = Folder("Sub", gkMainSubFolder);
    auto* exe = Link("ShellLink1", old, program);
    exe->SetLinkKind(lkMainExecutable);
    auto* toSub = Link("ShellLink2", old);
    toSub->SetLinkKind(lkLinkToSubFolder);
    ASSERT_EQ(toSub->ObjectLink(), sub);

    auto* other = new TShellLinkGroup(form);
    other->SetName("MainFolder1");
    other->SetContainer(group);
    other->SetGroupKind(gkMainFolder);
    EXPECT_EQ(old->GroupKind(), gkCustom);
    EXPECT_EQ(other->Container(), root);
    EXPECT_EQ(other->DestDirType(), ddProgramMenuDir);
    EXPECT_EQ(other->DestDir(), "");  // only the designer names the folder
    EXPECT_EQ(exe->Container(), other);
    EXPECT_EQ(exe->LinkKind(), lkMainExecutable);
    EXPECT_EQ(toSub->Container(), other);
    EXPECT_EQ(toSub->LinkKind(), lkLinkToSubFolder);
    EXPECT_EQ(FindMainFolder(), other);

    // A main folder's destination stays in the program menu.
    other->SetDestDirType(ddWindows);
    EXPECT_EQ(other->DestDirType(), ddProgramMenuDir);
    // Leaving the root ends its role, and the special shortcuts lose theirs.
    other->SetContainer(group);
    EXPECT_EQ(other->GroupKind(), gkCustom);
    EXPECT_EQ(exe->LinkKind(), lkCustom);
    EXPECT_EQ(toSub->LinkKind(), lkCustom);
}

TEST_F(ShellLinkRulesTest, GroupKind_MainSubFolderTakesItsShortcutsAndTheLinkToIt) {
    Folder("MainFolder1", gkMainFolder);
    auto* first = Folder("Sub1", gkMainSubFolder);
    auto* inSub = Link("ShellLink1", first, program);
    inSub->SetLinkKind(lkLinkInSubFolder);
    auto* toSub = Link("ShellLink2", root);
    toSub->SetLinkKind(lkLinkToSubFolder);
    EXPECT_EQ(toSub->ObjectLink(), first);
    EXPECT_EQ(toSub->LinkName(), "Sub1.lnk");

    auto* second = Folder("Sub2", gkMainSubFolder);
    EXPECT_EQ(first->GroupKind(), gkCustom);
    EXPECT_EQ(toSub->ObjectLink(), second);
    EXPECT_EQ(inSub->Container(), second);
    EXPECT_EQ(inSub->LinkKind(), lkLinkInSubFolder);
    EXPECT_EQ(second->DestDirType(), ddContainerDestDir);
    second->SetDestDirType(ddAbsolute);
    EXPECT_EQ(second->DestDirType(), ddContainerDestDir);

    second->SetGroupKind(gkCustom);
    EXPECT_EQ(toSub->LinkKind(), lkCustom);
    EXPECT_EQ(inSub->LinkKind(), lkCustom);
}

TEST_F(ShellLinkRulesTest, GroupKind_NeedsTheRootAndNamesTheFolderInTheDesigner) {
    auto* main = Folder("MainFolder1");
    auto* sub = Folder("Sub1");
    for (auto* f : {main, sub}) f->SetDesigning(true);
    main->SetGroupKind(gkMainFolder);
    EXPECT_EQ(main->DestDir(), "\\Brevanshaw");
    sub->SetGroupKind(gkMainSubFolder);
    EXPECT_EQ(sub->DestDir(), "\\More stuff");
    // A name the designer already gave stays.
    main->SetGroupKind(gkCustom);
    main->SetDestDir("\\Mine");
    main->SetGroupKind(gkMainFolder);
    EXPECT_EQ(main->DestDir(), "\\Mine");
    for (auto* f : {main, sub}) f->SetDesigning(false);

    // A folder goes with its container, so the loose one is made once the root has gone.
    root->Free();
    root = nullptr;
    auto* loose = Folder("Loose");
    EXPECT_EQ(MessageOf([&] { loose->SetGroupKind(gkMainFolder); }), "Must first have a TInstall component");
    EXPECT_EQ(MessageOf([&] { loose->SetGroupKind(gkMainSubFolder); }), "Must first have a TInstall component");
    EXPECT_EQ(loose->GroupKind(), gkCustom);
}

TEST_F(ShellLinkRulesTest, Shortcut_ContainerDestinationAndNameRules) {
    auto* main = Folder("MainFolder1", gkMainFolder);
    auto* sub = Folder("Sub1", gkMainSubFolder);
    auto* inMain = Link("ShellLink1", main, program);
    inMain->SetLinkKind(lkLinkInMainFolder);
    EXPECT_EQ(inMain->LinkName(), "Brevanshaw.lnk");  // the file's name, as the file names it
    // Special kinds keep their folder's destination.
    inMain->SetDestDirType(ddStartUpMenuDir);
    EXPECT_EQ(inMain->DestDirType(), ddContainerDestDir);
    // A special shortcut outside its folder kind becomes a custom one.
    inMain->SetContainer(sub);
    EXPECT_EQ(inMain->LinkKind(), lkCustom);
    inMain->SetDestDirType(ddStartUpMenuDir);
    EXPECT_EQ(inMain->DestDirType(), ddStartUpMenuDir);

    auto* inSub = Link("ShellLink2", sub, program);
    inSub->SetLinkKind(lkLinkInSubFolder);
    inSub->SetContainer(main);
    EXPECT_EQ(inSub->LinkKind(), lkCustom);
    // Leaving every container is allowed for a special kind too: it becomes custom first.
    inSub->SetLinkKind(lkLinkInSubFolder);
    inSub->SetContainer(nullptr);
    EXPECT_EQ(inSub->LinkKind(), lkCustom);
    EXPECT_EQ(inSub->DestDirType(), ddAbsolute);

    inMain->SetLinkName("Read-me !.doc");
    EXPECT_EQ(inMain->LinkName(), "Read-me !.LNK");
    inMain->SetLinkName("Tool");
    EXPECT_EQ(inMain->LinkName(), "Tool.LNK");
}

TEST_F(ShellLinkRulesTest, ObjectLocation_IsClearedForObjectLinksAndNamesABlankLink) {
    auto* link = Link("ShellLink1", root);
    link->SetObjectLocation("C:\\Tools\\Viewer.exe");
    EXPECT_EQ(link->ObjectLocation(), "C:\\Tools\\Viewer.exe");
    EXPECT_EQ(link->LinkName(), "Viewer.LNK");
    link->SetObjectLocation("C:\\Tools\\Other.exe");
    EXPECT_EQ(link->LinkName(), "Viewer.LNK");  // a name once given stays
    link->SetLinkName(".lnk");
    link->SetObjectLocation("C:\\Tools\\Third.exe");
    EXPECT_EQ(link->LinkName(), "Third.LNK");

    link->SetObjectLink(program);
    link->SetObjectLocation("C:\\Ignored.exe");
    EXPECT_EQ(link->ObjectLocation(), "");
}

TEST_F(ShellLinkRulesTest, ObjectLocationType_AcceptsItsSpecifiersWithTheirMessages) {
    auto* main = Folder("MainFolder1", gkMainFolder);
    auto* link = Link("ShellLink1", main, program);
    link->SetLinkKind(lkLinkInMainFolder);
    link->SetObjectLocationType(ddWindows);
    EXPECT_EQ(link->LinkKind(), lkCustom);
    EXPECT_EQ(link->ObjectLocationType(), ddWindows);
    for (auto t : {ddAbsolute, ddSystem, ddProgramFilesDir, ddCommonFilesDir, ddDesktopMenuDir, ddProgramMenuDir, ddStartMenuDir,
                   ddContainerDestDir}) {
        link->SetObjectLocationType(t);
        EXPECT_EQ(link->ObjectLocationType(), t);
    }
    link->SetObjectLocation("\\x.exe");
    link->SetObjectLocationType(ddObjectLink);
    EXPECT_EQ(link->ObjectLocation(), "");
    for (auto t : {ddLoading, ddContainerArchiveFile, ddBDEDLLDir, ddMainInstallDir, ddFontDir, ddStartUpMenuDir}) {
        EXPECT_EQ(MessageOf([&] { link->SetObjectLocationType(t); }),
                  "That path specifier is not allowed for the ObjectLocation property for ShellLink1");
        EXPECT_EQ(link->ObjectLocationType(), ddObjectLink);
    }

    auto* loose = Link("ShellLink2", nullptr);
    EXPECT_EQ(MessageOf([&] { loose->SetObjectLocationType(ddContainerDestDir); }),
              "Cannot set the ObjectLocation property of ShellLink2 because the Container property is Nil");
    EXPECT_EQ(MessageOf([&] { loose->SetObjectLocationType(ddObjectLink); }),
              "Cannot set the ObjectLocation property of ShellLink2 because the ObjectLink property is Nil");
    EXPECT_EQ(loose->ObjectLocationType(), ddAbsolute);
}

TEST_F(ShellLinkRulesTest, ObjectLink_ChecksTheTargetNamesTheLinkAndAdoptsAContainer) {
    auto* main = Folder("MainFolder1", gkMainFolder);
    auto* sub = Folder("Sub1", gkMainSubFolder);
    auto* link = Link("ShellLink1", main, program);
    link->SetLinkKind(lkMainExecutable);
    EXPECT_EQ(MessageOf([&] { link->SetObjectLink(group); }),
              "For lkMainExecutable, lkLinkInSubFolder, or lkLinkMainFolder ObjectLink must be a TInstallFile");
    EXPECT_EQ(link->ObjectLink(), program);

    auto* toSub = Link("ShellLink2", main);
    toSub->SetLinkKind(lkLinkToSubFolder);
    EXPECT_EQ(MessageOf([&] { toSub->SetObjectLink(main); }),
              "For lkLinkToSubFolder, ObjectLink must be a ShellLinkGroup that is the main sub folder");
    EXPECT_EQ(toSub->ObjectLink(), sub);

    // Names: a file's destination name, a group's name, any other component's name.
    auto* custom = Link("ShellLink3", root);
    custom->SetObjectLocation("C:\\x.exe");
    custom->SetObjectLink(uninstaller);
    EXPECT_EQ(custom->LinkName(), "Uninstall.lnk");
    EXPECT_EQ(custom->ObjectLocationType(), ddObjectLink);
    EXPECT_EQ(custom->ObjectLocation(), "");
    custom->SetObjectLink(group);
    EXPECT_EQ(custom->LinkName(), "Brevanshaw_FILES.lnk");
    custom->SetObjectLink(main);
    EXPECT_EQ(custom->LinkName(), "MainFolder1.lnk");
    EXPECT_EQ(custom->Container(), root);

    auto* orphan = Link("ShellLink4", nullptr, program);
    EXPECT_EQ(orphan->Container(), program);

    // No target: back to an absolute location, and a file kind becomes custom.
    link->SetObjectLink(nullptr);
    EXPECT_EQ(link->ObjectLocationType(), ddAbsolute);
    EXPECT_EQ(link->LinkKind(), lkCustom);
}

TEST_F(ShellLinkRulesTest, LinkKind_RequiresItsFoldersAndAFileTarget) {
    auto* link = Link("ShellLink1", root);
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkMainExecutable); }), "You must first specify a folder as the main folder");
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkInMainFolder); }), "You must first specify a folder as the main folder");
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkToSubFolder); }), "You must first specify a folder as the main folder");
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkInSubFolder); }), "You must first specify a folder as the main sub folder");
    auto* main = Folder("MainFolder1", gkMainFolder);
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkToSubFolder); }), "You must first specify a folder as the main sub folder");
    auto* sub = Folder("Sub1", gkMainSubFolder);
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkMainExecutable); }), "You must the ObjectLocationType set to ddObjectLink");
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkInSubFolder); }), "You must set the ObjectLocationType to ddObjectLink");
    link->SetObjectLink(group);
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkInMainFolder); }),
              "You must be pointing to a TInstallFile component with the ObjectLink property");
    EXPECT_EQ(MessageOf([&] { link->SetLinkKind(lkLinkInSubFolder); }),
              "You must be pointing to a TInstallFile component with the ObjectLink property");
    EXPECT_EQ(link->LinkKind(), lkCustom);

    link->SetObjectLink(program);
    link->SetLinkKind(lkMainExecutable);
    EXPECT_EQ(link->Container(), main);
    EXPECT_EQ(FindMainExecutableLink(), link);
    auto* second = Link("ShellLink2", root, program);
    second->SetLinkKind(lkMainExecutable);
    EXPECT_EQ(link->LinkKind(), lkCustom);  // one main executable at a time
    EXPECT_EQ(FindMainExecutableLink(), second);

    link->SetLinkKind(lkLinkInSubFolder);
    EXPECT_EQ(link->Container(), sub);

    auto* toSub = Link("ShellLink3", root, program);
    toSub->SetLinkKind(lkLinkToSubFolder);
    EXPECT_EQ(toSub->Container(), main);
    EXPECT_EQ(toSub->ObjectLink(), sub);
    EXPECT_EQ(toSub->ObjectLocationType(), ddObjectLink);
    auto* toSub2 = Link("ShellLink4", root);
    toSub2->SetLinkKind(lkLinkToSubFolder);
    EXPECT_EQ(toSub->LinkKind(), lkCustom);
    EXPECT_EQ(FindLinkToSubFolder(), toSub2);

    toSub2->SetLinkKind(lkCustom);
    EXPECT_EQ(toSub2->LinkKind(), lkCustom);
}

TEST_F(ShellLinkRulesTest, Loading_StoresValuesWithoutRules) {
    auto* link = new TInstallShellLink(form);
    link->SetName("ShellLink1");
    link->BeginLoading();
    link->SetLinkName("Brevanshaw.lnk");
    link->SetLinkKind(lkLinkInMainFolder);
    link->SetObjectLocationType(ddObjectLink);
    link->SetObjectLocation("kept");
    link->SetDestDirType(ddStartUpMenuDir);
    link->SetContainer(root);
    link->EndLoading();
    EXPECT_EQ(link->LinkName(), "Brevanshaw.lnk");
    EXPECT_EQ(link->LinkKind(), lkLinkInMainFolder);
    EXPECT_EQ(link->ObjectLocationType(), ddObjectLink);
    EXPECT_EQ(link->ObjectLocation(), "kept");
    EXPECT_EQ(link->DestDirType(), ddStartUpMenuDir);

    auto* folder = new TShellLinkGroup(form);
    folder->BeginLoading();
    folder->SetGroupKind(gkMainFolder);
    folder->SetDestDirType(ddStartMenuDir);
    folder->EndLoading();
    EXPECT_EQ(folder->GroupKind(), gkMainFolder);
    EXPECT_EQ(folder->DestDirType(), ddStartMenuDir);
}

TEST_F(ShellLinkRulesTest, Lookups_ReturnTheLastMatchOrNone) {
    EXPECT_EQ(FindMainFolder(), nullptr);
    EXPECT_EQ(FindMainSubFolder(), nullptr);
    EXPECT_EQ(FindMainExecutableLink(), nullptr);
    EXPECT_EQ(FindLinkToSubFolder(), nullptr);
    auto* a = Folder("A");
    auto* b = Folder("B");
    for (auto* f : {a, b}) {
        f->BeginLoading();  // loaded descriptions may hold two of a kind
        f->SetGroupKind(gkMainSubFolder);
        f->EndLoading();
    }
    EXPECT_EQ(FindMainSubFolder(), b);
    EXPECT_EQ(FindMainFolder(), nullptr);
    auto* main = Folder("Main", gkMainFolder);
    EXPECT_EQ(FindMainFolder(), main);
    auto* exe = Link("ShellLink1", main, program);
    exe->SetLinkKind(lkMainExecutable);
    EXPECT_EQ(FindMainExecutableLink(), exe);
    EXPECT_EQ(FindLinkToSubFolder(), nullptr);
}

TEST_F(ShellLinkRulesTest, GoingAway_ATargetOrContainerTakesItsShortcutsAndFoldersAlong) {
    auto* main = Folder("MainFolder1", gkMainFolder);
    auto* toFile = Link("ShellLink1", main, program);
    auto* inMain = Link("ShellLink2", main);
    auto* other = Link("ShellLink3", root, uninstaller);
    auto* folderInGroup = new TShellLinkGroup(form);
    folderInGroup->SetName("Nested");
    folderInGroup->SetContainer(group);
    (void)toFile, (void)inMain, (void)other;

    program->Free();
    EXPECT_EQ(form->FindComponent("ShellLink1"), nullptr);
    EXPECT_NE(form->FindComponent("ShellLink2"), nullptr);
    main->Free();
    EXPECT_EQ(form->FindComponent("ShellLink2"), nullptr);
    group->Free();
    EXPECT_EQ(form->FindComponent("Nested"), nullptr);
    EXPECT_NE(form->FindComponent("ShellLink3"), nullptr);
}

TEST_F(ShellLinkRulesTest, GetObjectLocation_ForEveryLocationType) {
    auto* link = Link("ShellLink1", root);
    auto at = [&](TPathSpecifiers type, const std::string& location) {
        link->SetObjectLink(nullptr);
        link->SetObjectLocationType(type);
        link->SetObjectLocation(location);
        return link->GetObjectLocation();
    };
    EXPECT_EQ(at(ddAbsolute, "C:\\Tools\\"), "C:\\Tools");
    EXPECT_EQ(at(ddSystem, "\\Calc.exe"), "C:\\WINNT\\system32\\Calc.exe");
    EXPECT_EQ(at(ddWindows, "\\Help\\"), "C:\\WINNT\\Help");
    EXPECT_EQ(at(ddProgramFilesDir, "\\Viewer.exe"), "C:\\Program Files\\Viewer.exe");
    EXPECT_EQ(at(ddCommonFilesDir, "\\Shared"), "C:\\Program Files\\Common Files\\Shared");
    EXPECT_EQ(at(ddDesktopMenuDir, "\\Notes.txt"), "C:\\WINNT\\Desktop\\Notes.txt");
    EXPECT_EQ(at(ddStartMenuDir, "\\x"), "C:\\WINNT\\Startmen\\x");
    EXPECT_EQ(at(ddProgramMenuDir, "\\y\\"), "C:\\WINNT\\Startmen\\Programs\\y\\");  // only the two system folders lose it
    EXPECT_EQ(at(ddContainerDestDir, "\\Brev.exe"), "C:\\Brevanshaw\\Brev.exe");

    link->SetObjectLink(program);
    EXPECT_EQ(link->GetObjectLocation(), "C:\\Brevanshaw\\Brevanshaw.exe");
    auto* folder = Folder("MainFolder1", gkMainFolder);
    folder->SetDestDir("\\Brevanshaw\\");
    link->SetObjectLink(folder);
    EXPECT_EQ(link->GetObjectLocation(), "C:\\WINNT\\Startmen\\Programs\\Brevanshaw");

    auto* loose = Link("ShellLink2", nullptr);
    loose->BeginLoading();
    loose->SetObjectLocationType(ddContainerDestDir);
    loose->EndLoading();
    EXPECT_EQ(MessageOf([&] { loose->GetObjectLocation(); }),
              "Cannot expand the ObjectLocation property of ShellLink2 because the Container is Nil");
    loose->BeginLoading();
    loose->SetObjectLocationType(ddObjectLink);
    loose->EndLoading();
    EXPECT_EQ(MessageOf([&] { loose->GetObjectLocation(); }),
              "Cannot expand the ObjectLocation property of ShellLink2 because the ObjectLink is Nil");
    loose->BeginLoading();
    loose->SetObjectLocationType(ddFontDir);
    loose->EndLoading();
    EXPECT_EQ(MessageOf([&] { loose->GetObjectLocation(); }),
              "That path specifier is not allowed for the ObjectLocation property for ShellLink2");
}
