// Build mode's kit folder prompt and its directory picker, answered as a user would.
#include <gtest/gtest.h>

#include <string>

#include "app/KitFolderForm.h"
#include "dialogs/SelectDirDlg.h"
#include "runtime/FileCtrl.h"
#include "tests/ui/KitFixture.h"

namespace {

class KitFolderTest : public KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        machine->CreateDirectory("C:\\Kit");
        machine->SetCurrentDirectory("C:\\Kit");
    }
    template <class C>
    static C* Part(rt::TCustomForm& form, const std::string& name) {
        auto* c = dynamic_cast<C*>(form.FindComponent(name));
        if (!c) throw rt::Exception("no " + name);
        return c;
    }
};

TEST_F(KitFolderTest, BrowseStartsAtTheCurrentDirectoryAndMayMakeANewOne) {
    std::string startedAt;
    backend.ModalScript = [&](rt::TCustomForm& form) -> rt::TModalResult {
        if (form.ClassName() == "TKitFolderDlg") {
            backend.ClickControl(*Part<rt::TButton>(form, "BrowseBtn"));
            return rt::mrNone;  // Close was not clicked yet: the user closes with the window
        }
        auto* path = Part<rt::TEdit>(form, "PathEdit");
        startedAt = path->Text();
        path->SetText("C:\\Kit\\Quenfold");
        backend.ClickControl(*Part<rt::TButton>(form, "OkBtn"));
        return rt::mrNone;
    };
    EXPECT_EQ(AskKitFolder(), "C:\\Kit\\Quenfold");
    EXPECT_TRUE(rt::SameText(startedAt, "C:\\Kit")) << startedAt;
    EXPECT_TRUE(machine->DirectoryExists("C:\\Kit\\Quenfold"));
}

TEST_F(KitFolderTest, APickerPathThatCannotExistKeepsThePickerUp) {
    std::string dir = "C:\\Kit";
    int tries = 0;
    backend.ModalScript = [&](rt::TCustomForm& form) -> rt::TModalResult {
        Part<rt::TEdit>(form, "PathEdit")->SetText("Q:\\Nowhere");
        backend.ClickControl(*Part<rt::TButton>(form, "OkBtn"));
        tries = form.ModalResult() == rt::mrNone ? tries + 1 : tries;
        return form.ModalResult() == rt::mrNone ? rt::mrCancel : rt::mrNone;
    };
    EXPECT_FALSE(SelectDirectory(dir, true));
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(dir, "C:\\Kit");
}

}  // namespace
