// Run-time mirroring: positions moved and restored, the controls that stay, each class's
// right-to-left switch, and the form-level switch with the Middle-East flag.
#include <gtest/gtest.h>

#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/HebCtrls.h"
#include "tests/ui/KitFixture.h"
#include "ui/Button3D.h"
#include "ui/HebForm.h"
#include "ui/HebrewFlip.h"

using namespace rt;

namespace {

class MirroringTest : public KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        form = new TForm(app);
        form->SetBounds(0, 0, 500, 300);
        flipper = new THebrewFlip(form);
    }
    template <class C>
    C* Add(TWinControl* parent, int left, int width) {
        auto* c = new C(form);
        c->SetParent(parent);
        c->SetBounds(left, 10, width, 20);
        return c;
    }
    TForm* form = nullptr;
    THebrewFlip* flipper = nullptr;
};

TEST_F(MirroringTest, ControlsMoveToTheOtherSideAndBack_OnlyWhenHebrewIsChosen) {
    auto* label = Add<THebLabel>(form, 10, 100);
    label->SetAutoSize(false);
    Flip(*flipper, *form);
    EXPECT_EQ(label->Left(), 10) << "English: nothing moves";
    EXPECT_FALSE(flipper->Flipped());

    ChooseHebrew();
    Flip(*flipper, *form);
    EXPECT_EQ(label->Left(), 390);
    EXPECT_TRUE(label->Hebrew());
    EXPECT_EQ(label->Alignment(), TAlignment::taRightJustify);
    EXPECT_TRUE(flipper->Flipped());

    Flip(*flipper, *form);
    EXPECT_EQ(label->Left(), 10);
    EXPECT_FALSE(label->Hebrew());
    EXPECT_EQ(label->Alignment(), TAlignment::taLeftJustify);
}

TEST_F(MirroringTest, ScrollingBoxesKeepTheirContents_TabSheetsStay_Tag1EditsStayLeftToRight) {
    ChooseHebrew();
    auto* box = Add<TScrollBox>(form, 20, 200);
    auto* inBox = Add<TLabel>(box, 5, 50);
    auto* pictures = Add<TMultiplePictureBox>(form, 0, 100);
    auto* inPictures = Add<TLabel>(pictures, 7, 20);
    auto* pages = Add<TPageControl>(form, 0, 300);
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pages);
    const int sheetLeft = sheet->Left();
    auto* path = Add<THebEdit>(form, 50, 100);
    path->SetTag(1);
    auto* name = Add<THebEdit>(form, 50, 100);

    Flip(*flipper, *form);
    EXPECT_EQ(box->Left(), 280);
    EXPECT_EQ(inBox->Left(), 5);
    EXPECT_EQ(inPictures->Left(), 7);
    EXPECT_EQ(sheet->Left(), sheetLeft);
    EXPECT_EQ(path->Left(), 350) << "a Tag 1 edit still moves";
    EXPECT_FALSE(path->Hebrew()) << "but keeps left-to-right entry";
    EXPECT_TRUE(name->Hebrew());
}

TEST_F(MirroringTest, EachClassSwitchesItsOwnWay) {
    ChooseHebrew();
    auto* centred = Add<THebLabel>(form, 0, 40);
    centred->SetAlignment(TAlignment::taCenter);
    auto* check = Add<THebCheckBox>(form, 0, 40);
    auto* memo = Add<THebDMemo>(form, 0, 40);
    auto* list = Add<THebListBox3D>(form, 0, 40);
    auto* combo = Add<THebComboBox>(form, 0, 40);
    combo->Items()->SetText("a\nb\nc");
    combo->SetItemIndex(2);
    auto* button = Add<TButton3D>(form, 0, 40);
    auto* plain = Add<TLabel>(form, 0, 40);

    Flip(*flipper, *form);
    EXPECT_EQ(centred->Alignment(), TAlignment::taCenter);
    EXPECT_TRUE(check->Hebrew());
    EXPECT_EQ(check->Alignment(), TAlignment::taLeftJustify) << "caption left of the box";
    EXPECT_TRUE(memo->Hebrew());
    EXPECT_EQ(memo->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(list->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(combo->ItemIndex(), 2) << "switching the mode keeps the selection";
    EXPECT_TRUE(combo->Hebrew());
    EXPECT_TRUE(button->Hebrew());
    EXPECT_EQ(plain->BiDiMode(), TBiDiMode::bdLeftToRight);

    Flip(*flipper, *form);
    EXPECT_EQ(check->Alignment(), TAlignment::taRightJustify);
    EXPECT_FALSE(memo->Hebrew());
}

TEST_F(MirroringTest, AFormThatMirrorsItself_OrHasNoWay_IsNotCountedAsFlipped) {
    ChooseHebrew();
    auto* label = Add<TLabel>(form, 10, 100);
    flipper->SetUseDefault(false);
    Flip(*flipper, *form);
    EXPECT_FALSE(flipper->Flipped());

    int calls = 0;
    flipper->OnFlip = TNotifyEvent(nullptr, [&](TObject* sender) {
        EXPECT_EQ(sender, flipper);
        ++calls;
    });
    Flip(*flipper, *form);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(flipper->Flipped());
    EXPECT_EQ(label->Left(), 10);
}

TEST_F(MirroringTest, FormSwitch_OnlyOnAMiddleEastSystem) {
    ChooseHebrew();
    auto* heb = new THebForm(form);
    EXPECT_FALSE(heb->Hebrew());
    Flip(*flipper, *form);
    EXPECT_FALSE(heb->Hebrew());
    EXPECT_EQ(form->ExtraExStyle(), 0u) << "the window style is never changed";
}

TEST_F(MirroringTest, FormSwitch_AllSwitchesOfAFormAgree_AndTheLastOneGoingClearsTheWindow) {
    machine->SetMiddleEast(true);
    ResetMiddleEastFlag();
    auto* first = new THebForm(form);
    auto* second = new THebForm(form);
    EXPECT_TRUE(first->Hebrew()) << "a Middle-East system starts right to left";
    EXPECT_EQ(form->ExtraExStyle(), kRightToLeftExStyle);

    first->SetHebrew(false);
    EXPECT_FALSE(second->Hebrew());
    EXPECT_EQ(form->ExtraExStyle(), 0u);
    second->SetHebrew(true);
    EXPECT_TRUE(first->Hebrew());
    EXPECT_EQ(form->ExtraExStyle(), kRightToLeftExStyle);

    first->Free();
    EXPECT_EQ(form->ExtraExStyle(), kRightToLeftExStyle) << "another switch remains";
    second->Free();
    EXPECT_EQ(form->ExtraExStyle(), 0u);
}

TEST_F(MirroringTest, HebrewKeyboardLayout_LoadedWhenTheSystemHasOne_ActiveOnlyForHebrew) {
    TCheckHebrewKeyboardLayout without(nullptr);
    EXPECT_FALSE(without.Available());
    EXPECT_FALSE(without.Activate());
    machine->AddKeyboardLayout("0000040d");
    TCheckHebrewKeyboardLayout english(nullptr);
    EXPECT_TRUE(english.Available());
    EXPECT_EQ(machine->ActiveKeyboardLayout(), "00000409") << "an English user keeps typing English";
    EXPECT_TRUE(english.Activate());
    EXPECT_EQ(machine->ActiveKeyboardLayout(), "0000040D");

    machine->LoadKeyboardLayout("00000409", true);
    ChooseHebrew();
    TCheckHebrewKeyboardLayout hebrew(nullptr);
    EXPECT_EQ(machine->ActiveKeyboardLayout(), "0000040D");
}

}  // namespace
