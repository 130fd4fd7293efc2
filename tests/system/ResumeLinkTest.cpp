// The shortcut that resumes setup after a restart: made in the start-up folder, or in
// Program Manager's "Startup" group on shells without shortcut files, recorded in the
// unfinished-install list, and removed again by the resume.
#include "tests/system/ShellLinkKit.h"

namespace {

class ResumeLinkTest : public ShellLinkTestBase {
protected:
    void SetUp() override {
        ShellLinkTestBase::SetUp();
        RegisterShellLinkClasses();
        machine->SetModuleFileName("C:\\Kit\\SETUP.EXE");
    }
    void TearDown() override {
        SetStartupItemRemover(nullptr);
        ShellLinkTestBase::TearDown();
    }
    std::vector<std::string> Unfinished() {
        rt::TStringList list;
        root->ReadUnfinishedList(list);
        std::vector<std::string> lines;
        for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
        return lines;
    }
};

TEST_F(ResumeLinkTest, ShellLinks_TheStartUpFolderHoldsTheLinkUntilTheResume) {
    root->AddResumeLink();
    const std::string path = GetStartUpDir() + "\\SETUP.LNK";
    const auto link = ReadLink(path);
    ASSERT_TRUE(link) << path;
    EXPECT_EQ(link->Target, "C:\\Kit\\SETUP.EXE");
    EXPECT_EQ(link->Arguments, "*ABOOT");
    EXPECT_EQ(Unfinished(), (std::vector<std::string>{path + ";1"}));
    EXPECT_EQ(root->FindComponent("QuenfoldAddLink"), nullptr) << "the temporary shortcut component is freed";
    root->ResumeAfterReboot();
    EXPECT_FALSE(machine->FileExists(path));
    EXPECT_TRUE(Unfinished().empty());
}

TEST_F(ResumeLinkTest, ProgramManager_TheStartupGroupHoldsTheItemUntilTheResume) {
    machine->SetWindowsKind(os::SimWindowsKind::NT351);
    root->AddResumeLink();
    EXPECT_EQ(Unfinished(), (std::vector<std::string>{"SETUP;2"}));
    auto startupItems = [this] {
        std::vector<std::string> names;
        for (const auto& group : machine->ProgramGroups())
            if (group.Name == "Startup")
                for (const auto& item : group.Items) names.push_back(item.Name);
        return names;
    };
    ASSERT_EQ(startupItems(), (std::vector<std::string>{"SETUP"}));
    root->ResumeAfterReboot();
    EXPECT_TRUE(startupItems().empty());
    EXPECT_TRUE(Unfinished().empty());
}

}  // namespace
