// The 3D button: its caption label split, shrunk and placed, its keys over the form's
// buttons, focus colours, hovering and auto width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/KitFixture.h"
#include "ui/Button3D.h"

using namespace rt;

namespace {

class Button3DTest : public KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        form = new TForm(app);
        form->SetBounds(0, 0, 400, 200);
    }
    // The headless font of a new button: 12 points, 16 pixels high, characters 8 wide,
    // lines 18 high.
    TButton3D* Button(const std::string& name, const std::string& caption, int width = 200, int height = 60) {
        auto* b = new TButton3D(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(10, 10, width, height);
        b->SetCaption(caption);
        b->OnClick = TNotifyEvent(nullptr, [this, name](TObject*) { clicks.push_back(name); });
        return b;
    }
    TForm* form = nullptr;
    std::vector<std::string> clicks;
};

TEST(Button3DCaption, SplitAfterTheGivenWords_LfThenCr_AndJoinedBack) {
    EXPECT_EQ(SplitCaption("Install the product", 2), "Install the\n\rproduct");
    EXPECT_EQ(SplitCaption("Install the product", 3), "Install the product") << "too few blanks";
    EXPECT_EQ(SplitCaption("Install the product", 0), "Install\n\rthe product");
    EXPECT_EQ(JoinCaption("Install the\n\rproduct"), "Install the product");
    EXPECT_EQ(JoinCaption("Proceed"), "Proceed");
    EXPECT_EQ(RoundHalfEven(20.5), 20);
    EXPECT_EQ(RoundHalfEven(21.5), 22);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

TEST_F(Button3DTest, Prepare_MovesTheCaptionToACentredLabelAboveTheMiddle) {
    TButton3D* b = Button("ProceedBtn", "Proceed", 101, 60);
    EXPECT_EQ(b->Font()->Color(), clWhite);
    EXPECT_EQ(b->Font()->Size(), 12);
    EXPECT_TRUE(b->TabStop());
    b->Prepare();
    b->Prepare();  // once only
    TLabel* label = b->CaptionLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Owner(), form) << "owned by the form, parented by the button";
    EXPECT_EQ(label->Parent(), b);
    EXPECT_EQ(b->Caption(), "");
    EXPECT_EQ(b->CaptionText(), "Proceed");
    EXPECT_EQ(label->Width(), 56);
    EXPECT_EQ(label->Left(), 22) << "(101 - 56) / 2 = 22.5, to the even neighbour";
    EXPECT_EQ(label->Top(), 17) << "0.8 × (60 - 18) / 2 = 16.8";
    EXPECT_TRUE(label->Transparent());
    EXPECT_FALSE(label->ShowAccelChar());

    b->SetCaption("Go");
    EXPECT_EQ(label->Caption(), "Go");
    EXPECT_EQ(label->Left(), 42) << "(101 - 16) / 2 = 42.5";
    b->SetWidth(103);
    EXPECT_EQ(label->Left(), 44) << "placed again after a resize: 43.5";
}

TEST_F(Button3DTest, MultiLine_SplitWord2ShowsTwoLines_SplitWord3StaysOnOne) {
    TButton3D* two = Button("A", "Install the product");
    two->SetMultiLine(true);
    two->SetSplitWord(2);
    two->Prepare();
    EXPECT_EQ(two->CaptionLabel()->Caption(), "Install the\n\rproduct");
    EXPECT_EQ(two->CaptionLabel()->Height(), 2 * 18);
    EXPECT_EQ(two->CaptionLabel()->Width(), 11 * 8);

    TButton3D* one = Button("B", "Install the product");
    one->SetMultiLine(true);
    one->SetSplitWord(3);
    one->Prepare();
    EXPECT_EQ(one->CaptionLabel()->Caption(), "Install the product");
    EXPECT_EQ(one->CaptionLabel()->Height(), 18);
}

TEST_F(Button3DTest, ACaptionTooBig_ShrinksAPointAtATime_AndHopelessOnesKeepTheirSize) {
    TButton3D* b = Button("A", "Proceed now please", 100, 40);
    b->Prepare();
    EXPECT_EQ(b->CaptionLabel()->Font()->Size(), 8) << "9 points is 108 pixels wide, 8 points 90";
    EXPECT_LE(b->CaptionLabel()->Width(), 100);

    TButton3D* hopeless = Button("B", std::string(60, 'x'), 20, 40);
    hopeless->Prepare();
    EXPECT_EQ(hopeless->CaptionLabel()->Font()->Size(), 12) << "restored after 4 points did not fit";

    TButton3D* wide = Button("C", "Proceed now please", 100, 40);
    wide->SetAutoWidth(true);
    wide->Prepare();
    EXPECT_EQ(wide->CaptionLabel()->Font()->Size(), 12) << "auto width grows instead";
}

TEST_F(Button3DTest, AutoWidth_FitsTheCaptionAndKeepsTheCentre) {
    TButton3D* b = Button("A", "Go", 100, 40);
    b->SetAutoWidth(true);
    b->Prepare();
    b->SetCaption("Browse");
    EXPECT_EQ(b->Width(), 6 * 8 + 20);
    EXPECT_EQ(b->Left(), 10 + 16);
    b->SetMultiLine(true);
    b->SetCaption("Select a folder");
    EXPECT_EQ(b->Width(), 8 * 8 + 20) << "the wider line: \"a folder\"";
}

TEST_F(Button3DTest, Keys_EnterProceedsFromAnyButton_EscapeCancels_SpaceClicksTheFocusedOne) {
    TButton3D* proceed = Button("Proceed", "Proceed");
    proceed->SetDefault(true);
    TButton3D* cancel = Button("Cancel", "Cancel");
    cancel->SetCancel(true);
    cancel->SetLeft(220);
    proceed->Prepare();
    cancel->Prepare();
    form->ShowForm();
    cancel->SetFocus();

    backend.SendKey(*form, vkReturn);
    EXPECT_EQ(clicks, std::vector<std::string>{"Proceed"}) << "Enter on a focused Cancel proceeds";
    cancel->SetFocus();
    backend.SendKey(*form, vkEscape);
    backend.SendKey(*form, vkSpace);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Proceed", "Cancel", "Cancel"}));

    clicks.clear();
    proceed->SetEnabled(false);
    EXPECT_FALSE(proceed->CaptionLabel()->Enabled()) << "the label follows the button";
    backend.SendKey(*form, vkReturn);
    EXPECT_TRUE(clicks.empty()) << "a disabled default is skipped and there is no other";

    cancel->SetDefaultKeyHandler(false);
    backend.SendKey(*form, vkSpace);
    EXPECT_TRUE(clicks.empty()) << "the framework's keys: a panel ignores the space bar";
}

TEST_F(Button3DTest, Focus_YellowCaptionWhileFocused_WhiteOtherwise) {
    TButton3D* a = Button("A", "Proceed");
    TButton3D* b = Button("B", "Cancel");
    a->Prepare();
    b->Prepare();
    form->ShowForm();
    a->SetFocus();
    EXPECT_EQ(a->CaptionLabel()->Font()->Color(), clYellow);
    EXPECT_EQ(b->CaptionLabel()->Font()->Color(), clWhite);
    b->SetFocus();
    EXPECT_EQ(a->CaptionLabel()->Font()->Color(), clWhite);
    EXPECT_EQ(b->CaptionLabel()->Font()->Color(), clYellow);
}

TEST_F(Button3DTest, Hover_FramesTheFace_AndShowsTheIconOnlyWhenAskedAndPresent) {
    auto* face = new TImage(form);
    face->Picture()->SetResourceName("INSTALLTHEME1.bmp");
    TButton3D* b = Button("A", "Proceed");
    b->SetImageControl(face);
    TPanelFace painted;
    EXPECT_FALSE(b->CustomFace(painted)) << "unprepared: a plain panel";
    b->Prepare();
    ASSERT_TRUE(b->CustomFace(painted));
    EXPECT_EQ(painted.Picture, face->Picture());
    EXPECT_EQ(painted.WhiteFrames, 0);

    b->MouseEnter();
    painted = {};
    b->CustomFace(painted);
    EXPECT_EQ(painted.WhiteFrames, 2);
    EXPECT_TRUE(b->CaptionLabel()->Visible()) << "no icon asked for";

    b->MouseLeave();
    b->SetShowTheIcon(true);
    b->Icon()->SetResourceName("CHANGEDISK.bmp");
    b->MouseEnter();
    EXPECT_TRUE(b->IconShown());
    EXPECT_FALSE(b->CaptionLabel()->Visible());
    painted = {};
    b->CustomFace(painted);
    EXPECT_EQ(painted.Icon, b->Icon());
    EXPECT_EQ(painted.IconTop, 2) << "taller than the button: stretched into it";
    EXPECT_EQ(painted.IconHeight, 60 - 5);

    b->MouseClick();
    EXPECT_FALSE(b->IconShown()) << "a click restores the caption first";
    EXPECT_TRUE(b->CaptionLabel()->Visible());
    EXPECT_EQ(clicks, std::vector<std::string>{"A"});

    face->Free();
    EXPECT_EQ(b->ImageControl(), nullptr);
}

}  // namespace
