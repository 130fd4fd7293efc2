// Path specifiers and meta variables against a simulated machine.
#include <gtest/gtest.h>

#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "runtime/Forms.h"
#include "tests/common/SimMachine.h"

namespace {

class ExpandPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DoneEngineDirectories();
        InitEngineDirectories();
        form = new rt::TForm(nullptr);
        root = new TInstall(form);
        root->SetName("Install1");
        group = new TInstallFileGroup(form);
        group->SetName("FileGroup7");
        group->SetContainer(root);
        file = new TInstallFile(form);
        file->SetName("File1");
        file->SetContainer(group);
    }
    void TearDown() override {
        form->Free();
        DoneEngineDirectories();
    }
    void SetValue(os::RootKey root, const std::string& key, const std::string& name, const std::string& value) {
        auto k = machine->RegCreateKey(root, key);
        ASSERT_NE(k, 0u);
        os::RegValue v;
        v.Type = os::ValueType::String;
        v.Text = value;
        ASSERT_TRUE(machine->RegSetValue(k, name, v));
        machine->RegCloseKey(k);
    }
    SimMachine machine;
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;
    TInstallFileGroup* group = nullptr;
    TInstallFile* file = nullptr;
};

const char* const kVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

TEST_F(ExpandPathsTest, DestDirFollowsTheContainersUpToTheRoot) {
    SetValue(os::RootKey::LocalMachine, kVersionKey, "ProgramFilesDir", "C:\\Program Files\\");
    EXPECT_EQ(root->GetDestDir(), "C:\\Program Files\\MyApplication");
    root->SetDestDirType(TPathSpecifiers::ddAbsolute);
    root->SetDestDir("C:\\App\\");
    EXPECT_EQ(root->GetDestDir(), "C:\\App");
    group->SetDestDir("\\BITMAPS");
    EXPECT_EQ(group->GetDestDir(), "C:\\App\\BITMAPS");
    EXPECT_EQ(file->GetDestDir(), "C:\\App\\BITMAPS");
    file->SetDestDirType(TPathSpecifiers::ddMainInstallDir);
    file->SetDestDir("\\data\\");
    EXPECT_EQ(file->GetDestDir(), "C:\\App\\data");
    file->SetDestDirType(TPathSpecifiers::ddWindows);
    file->SetDestDir("\\Fonts");
    EXPECT_EQ(file->GetDestDir(), "C:\\WINNT\\Fonts");
}

TEST_F(ExpandPathsTest, ResolutionErrorsNameTheComponent) {
    auto expectError = [](TInstallContainer& c, const std::string& message) {
        try {
            c.GetDestDir();
            ADD_FAILURE() << message;
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    file->BeginLoading();
    file->SetDestDirType(TPathSpecifiers::ddLoading);
    file->EndLoading();
    expectError(*file, "That path specifier is not allowed for the DestDir property for File1");
    file->SetContainer(nullptr);
    file->BeginLoading();
    file->SetDestDirType(TPathSpecifiers::ddContainerDestDir);
    file->EndLoading();
    expectError(*file, "Cannot expand the DestDir of File1 because the Container is Nil");
    // The root is a helper class as well; against itself it has no base.
    root->BeginLoading();
    root->SetDestDirType(TPathSpecifiers::ddMainInstallDir);
    root->EndLoading();
    expectError(*root, "That path specifier is not allowed for the DestDir property for Install1");
}

TEST_F(ExpandPathsTest, MachineDirectoriesFallBackToTheirDefaultsWithoutCreatingKeys) {
    ASSERT_TRUE(machine->SetCurrentDirectory("C:\\TEMP"));
    EXPECT_EQ(GetProgramFilesDir(), "C:\\Program Files");
    EXPECT_EQ(GetCommonFilesDir(), "C:\\Program Files\\Common Files");
    EXPECT_EQ(GetStartMenuDir(), "C:\\WINNT\\Startmen");
    EXPECT_EQ(GetProgramMenuDir(), "C:\\WINNT\\Startmen\\Programs");
    EXPECT_EQ(GetDesktopDir(), "C:\\WINNT\\Desktop");
    EXPECT_EQ(GetFontDir(), "C:\\WINNT\\system32");
    EXPECT_EQ(GetStartUpDir(), "C:\\WINNT\\Startup");
    EXPECT_EQ(machine->RegOpenKey(os::RootKey::CurrentUser, kFolders, false), 0u);

    SetValue(os::RootKey::CurrentUser, kFolders, "Start Menu", "D:\\Menu\\");
    EXPECT_EQ(GetProgramMenuDir(), "D:\\Menu\\Programs");
    SetValue(os::RootKey::CurrentUser, kFolders, "Fonts", "");
    EXPECT_EQ(GetFontDir(), "");  // an existing empty value is used as it is
}

TEST_F(ExpandPathsTest, MetaVariablesExpandLetterByLetter) {
    root->SetDestDirType(TPathSpecifiers::ddAbsolute);
    root->SetDestDir("C:\\App");
    group->SetDestDir("\\Sub");
    EXPECT_EQ(ExpandMetaVariables("%i\\data", file), "C:\\App\\data");
    EXPECT_EQ(ExpandMetaVariables("100%%", file), "100%");
    EXPECT_EQ(ExpandMetaVariables("%x", file), "");
    EXPECT_EQ(ExpandMetaVariables("a%", file), "a");
    // A letter of several bytes goes whole; the text after it stays intact.
    EXPECT_EQ(ExpandMetaVariables("x%\u00e9y %\u05d0\u05d1 %\U0001F600!", file), "xy \u05d1 !");
    EXPECT_EQ(ExpandMetaVariables("%S|%s", file), "C:\\WINNT\\system32|C:\\WINNT\\system32");
    file->SetDestDir("\\Own");
    EXPECT_EQ(ExpandMetaVariables("%a;%c;%w", file), "C:\\App\\Sub\\Own;C:\\App\\Sub;C:\\WINNT");
    try {
        ExpandMetaVariables("%c", nullptr);
        FAIL();
    } catch (const EAICannotExpandContainerDirMV& e) {
        EXPECT_EQ(e.Message(), "Cannot expand the %c meta variable because the component is Nil");
    }
    file->SetContainer(nullptr);
    try {
        ExpandMetaVariables("%c", file);
        FAIL();
    } catch (const EAICannotExpandContainerDirMV& e) {
        EXPECT_EQ(e.Message(), "Cannot expand the %c meta variable because the Container property is Nil");
    }
    root->Free();
    root = nullptr;
    try {
        ExpandMetaVariables("%i", file);
        FAIL();
    } catch (const EAICannotExpandInstallDirMV& e) {
        EXPECT_EQ(e.Message(), "Cannot expand the %i meta variable because there is no TInstall component");
    }
}

TEST_F(ExpandPathsTest, EngineStartFailsWhenTheSystemDirectoriesCannotBeRead) {
    DoneEngineDirectories();
    machine->SetSystemDirFails(true);
    try {
        InitEngineDirectories();
        FAIL();
    } catch (const EAICannotGetSystemDir& e) {
        EXPECT_EQ(e.Message(), "Cannot get the System directory for your computer. Using GetSystemDir API function");
    }
    machine->SetWindowsDirFails(true);
    EXPECT_THROW(InitEngineDirectories(), EAICannotGetWindowsDir);
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("C:"), "C:\\");
    EXPECT_EQ(RemoveBackslash("C:\\x\\\\"), "C:\\x\\");
}
