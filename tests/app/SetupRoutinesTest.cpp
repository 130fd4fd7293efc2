// The setup routines the pages share, on a simulated machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "runtime/Forms.h"
#include "tests/common/SimMachine.h"

using namespace SetupRoutines;

void BrevRegisterEmbeddedResources();

namespace {

void Touch(os::IPlatform& p, const std::string& path) {
    auto f = p.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::Read);
    ASSERT_TRUE(f) << path;
    f->Write("x", 1);
}

}  // namespace

TEST(SetupRoutines, TextHelpers) {
    SetupState().LanguageIndex = 3;
    EXPECT_EQ(LocalisedId(160), 163);
    SetupState().LanguageIndex = 0;
    EXPECT_EQ(LocalisedId(160), 160);

    std::string p = "C:\\App";
    AddBackslash(p);
    EXPECT_EQ(p, "C:\\App\\");
    AddBackslash(p);
    EXPECT_EQ(p, "C:\\App\\");

    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_FALSE(IsBlank(" a "));
    EXPECT_FALSE(IsBlank("\t"));

    EXPECT_EQ(StripFileNameChars("a<b>c:d/e\\f?g*h\"i|j k.txt"), "abcdefghij k.txt");
}

TEST(SetupRoutines, RecyclingFallsBackToDeletion) {
    SimMachine m;
    m->CreateDirectory("C:\\Data");
    Touch(*m, "C:\\Data\\a.txt");
    RecycleFile("C:\\Data\\a.txt");
    EXPECT_FALSE(m->FileExists("C:\\Data\\a.txt"));
    ASSERT_EQ(m->RecycledFiles().size(), 1u);

    m->SetRecycleFails(true);
    Touch(*m, "C:\\Data\\b.txt");
    RecycleFile("C:\\Data\\b.txt");
    EXPECT_FALSE(m->FileExists("C:\\Data\\b.txt"));
    EXPECT_EQ(m->RecycledFiles().size(), 1u);
    RecycleFile("C:\\Data\\missing.txt");  // nothing to do, nothing raised
}

TEST(SetupRoutines, DeleteDirectoryTreeTakesHiddenAndReadOnlyEntries) {
    SimMachine m;
    m->CreateDirectory("C:\\Old");
    m->CreateDirectory("C:\\Old\\Sub");
    m->CreateDirectory("C:\\Old\\Sub\\Deeper");
    Touch(*m, "C:\\Old\\top.txt");
    Touch(*m, "C:\\Old\\Sub\\Deeper\\ro.txt");
    m->SetFileAttributes("C:\\Old\\Sub\\Deeper\\ro.txt", os::kAttrReadOnly | os::kAttrHidden | os::kAttrSystem);
    m->SetFileAttributes("C:\\Old\\Sub", os::kAttrDirectory | os::kAttrHidden);
    DeleteDirectoryTree("C:\\Old");
    EXPECT_FALSE(m->DirectoryExists("C:\\Old"));
    EXPECT_EQ(m->RecycledFiles().size(), 2u);
    DeleteDirectoryTree("C:\\Nowhere");  // errors are ignored
}

TEST(SetupRoutines, DeleteDirectoryTreeNeverFollowsDirectoryLinks) {
    SimMachine m;
    m->CreateDirectory("C:\\Old");
    // Data outside the tree, reachable through a directory link inside it.
    m->CreateDirectory("C:\\Keep");
    Touch(*m, "C:\\Keep\\precious.txt");
    try {
        std::filesystem::create_directory_symlink(m->HostPath("C:\\Keep"), m->HostPath("C:\\Old") / "Link");
    } catch (const std::filesystem::filesystem_error&) {
        GTEST_SKIP() << "this host cannot make directory links";
    }
    ASSERT_NE(m->GetFileAttributes("C:\\Old\\Link") & os::kAttrReparsePoint, 0u);
    DeleteDirectoryTree("C:\\Old");
    EXPECT_FALSE(m->DirectoryExists("C:\\Old"));
    EXPECT_TRUE(m->FileExists("C:\\Keep\\precious.txt"));

    // A link given as the tree itself goes, and what it points at stays.
    std::filesystem::create_directory_symlink(m->HostPath("C:\\Keep"), m->HostPath("C:\\") / "Alias");
    DeleteDirectoryTree("C:\\Alias\\");
    EXPECT_EQ(m->GetFileAttributes("C:\\Alias"), os::kInvalidAttributes);
    EXPECT_TRUE(m->FileExists("C:\\Keep\\precious.txt"));
}

TEST(SetupRoutines, RemoveOldDatabasesTakesOnlyDatabaseFolders) {
    SimMachine m;
    m->CreateDirectory("C:\\Brev");
    Touch(*m, "C:\\Brev\\Document.mdb");
    EXPECT_TRUE(DatabaseExists("C:\\Brev"));
    EXPECT_TRUE(DatabaseExists("C:\\Brev\\"));
    for (const char* d : {"C:\\Brev\\Clients", "C:\\Brev\\Letters", "C:\\Brev\\Other"}) m->CreateDirectory(d);
    Touch(*m, "C:\\Brev\\Clients\\clients.mdb");
    Touch(*m, "C:\\Brev\\Letters\\notes.mdb");
    Touch(*m, "C:\\Brev\\Other\\readme.txt");
    RemoveOldDatabases("C:\\Brev");
    EXPECT_FALSE(DatabaseExists("C:\\Brev"));
    EXPECT_FALSE(m->DirectoryExists("C:\\Brev\\Clients"));
    EXPECT_TRUE(m->DirectoryExists("C:\\Brev\\Letters"));
    EXPECT_TRUE(m->DirectoryExists("C:\\Brev\\Other"));
}

TEST(SetupRoutines, RemoveUpdaterUsesTheRootsDestDir) {
    SimMachine m;
    rt::TForm form(nullptr);
    auto* root = new TInstall(&form);
    m->CreateDirectory("C:\\Brevanshaw");
    Touch(*m, "C:\\Brevanshaw\\Kalupdt.EXE");
    root->SetDestDir("C:\\Brevanshaw");
    RemoveUpdater();
    EXPECT_FALSE(m->FileExists("C:\\Brevanshaw\\Kalupdt.EXE"));
    Touch(*m, "C:\\Brevanshaw\\Kalupdt.EXE");
    m->SetFileInUse("C:\\Brevanshaw\\Kalupdt.EXE", true);
    root->SetDestDir("C:\\Brevanshaw\\");
    RemoveUpdater();  // in use: ignored
    EXPECT_TRUE(m->FileExists("C:\\Brevanshaw\\Kalupdt.EXE"));
}

TEST(StringTable, TextsFollowTheLanguageAndMissingOnesAreEmpty) {
    BrevRegisterEmbeddedResources();
    SetupState().LanguageIndex = 3;
    EXPECT_EQ(LocalisedString(60060), "Abbrechen");
    EXPECT_EQ(LocalisedString(60180), "");  // no German text for this one
    SetupState().LanguageIndex = 1;
    EXPECT_EQ(LocalisedString(60000), "\xD7\x9B\xD7\x9F");
    SetupState().LanguageIndex = 0;
    EXPECT_EQ(LocalisedString(1300), "Are you sure you want to quit the Brevanshaw installation program ?");
    EXPECT_EQ(LoadStr(12345), "");
    // Another source (the Windows resource) takes over when installed.
    SetStringSource([](int id, std::string& text) {
        text = std::to_string(id);
        text.insert(text.begin(), '#');
        return id != 7;
    });
    EXPECT_EQ(LoadStr(20), "#20");
    EXPECT_EQ(LoadStr(7), "");
    SetStringSource(nullptr);
    EXPECT_EQ(LoadStr(20), "Brevanshaw ! Setup...");
}

TEST(StringTable, EveryBaseHasItsFiveLanguagesButTheKnownGaps) {
    BrevRegisterEmbeddedResources();
    // Translations the table has never had; their captions come out empty.
    const std::set<int> gaps{1204, 1402, 1403, 1404, 1604, 30501, 30521, 30541, 60182, 60183, 60184};
    std::set<int> bases;
    std::string text;
    for (int id = 0; id < 65216; ++id) {
        if (!CompiledInString(id, text)) continue;
        EXPECT_LT(id % 20, 5) << id << " lies outside the five languages of its base";
        EXPECT_FALSE(text.empty()) << id;
        bases.insert(id - id % 20);
    }
    EXPECT_GT(bases.size(), 120u);
    for (int base : bases)
        for (int lang = 0; lang < 5; ++lang)
            EXPECT_EQ(CompiledInString(base + lang, text), gaps.count(base + lang) == 0) << base + lang;
    // Bases nobody wrote: empty in every language, never an error.
    for (int id : {620, 621, 644, 740, 30600}) EXPECT_EQ(LoadStr(id), "") << id;
    // Each language speaks for itself in its slot.
    EXPECT_NE(LoadStr(60164), LoadStr(60163));
    EXPECT_EQ(LoadStr(83), "Willkommen...");
    EXPECT_EQ(LoadStr(163), "Weitergehen");
}
