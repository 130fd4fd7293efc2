// The message box: its geometry from the font's metrics, the buttons' captions, defaults
// and focus, answers by key, Hebrew mirroring, and the exit confirmation.
#include <gtest/gtest.h>

#include <string>

#include "runtime/HebCtrls.h"
#include "runtime/StdCtrls.h"
#include "tests/ui/KitFixture.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {

class MessageBoxTest : public KitTest {
protected:
    template <class C = TControl>
    static C* Part(TCustomForm& form, const std::string& name) {
        auto* c = dynamic_cast<C*>(form.FindComponent(name));
        if (!c) throw Exception("no " + name);
        return c;
    }
};

TEST(MsgDlgLayout, FromTheFontMetrics) {
    // Average character 6 × 13, text 200 × 26, an icon, two buttons.
    const TMsgDlgLayout l = MsgDlgLayout(6, 13, 200, 26, true, 2);
    EXPECT_EQ(l.HorzMargin, 12);
    EXPECT_EQ(l.VertMargin, 13);
    EXPECT_EQ(l.HorzSpacing, 15);
    EXPECT_EQ(l.VertSpacing, 16);  // 16.25
    EXPECT_EQ(l.ButtonWidth, 75);
    EXPECT_EQ(l.ButtonHeight, 23);  // 22.75
    EXPECT_EQ(l.ButtonSpacing, 6);
    EXPECT_EQ(l.IconTextWidth, 247);
    EXPECT_EQ(l.IconTextHeight, 32) << "at least the icon's height";
    EXPECT_EQ(l.ButtonGroupWidth, 156);
    EXPECT_EQ(l.ClientWidth, 271);
    EXPECT_EQ(l.ClientHeight, 32 + 23 + 16 + 26);
    EXPECT_EQ(l.MessageLeft, 59);
    EXPECT_EQ(l.FirstButtonLeft, 57);
    EXPECT_EQ(l.ButtonTop, 61);

    // Narrow text without an icon: the buttons set the width.
    const TMsgDlgLayout n = MsgDlgLayout(6, 13, 20, 13, false, 1);
    EXPECT_EQ(n.ClientWidth, 75 + 24);
    EXPECT_EQ(n.MessageLeft, 12);
    EXPECT_EQ(n.IconTextHeight, 13);
}

TEST(MsgDlgLayout, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(10, 13, 8), 16);
    EXPECT_EQ(MulDiv(14, 13, 8), 23);
    EXPECT_EQ(MulDiv(5, 3, 2), 8);
    EXPECT_EQ(MulDiv(-5, 3, 2), -8);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MsgDlgTextWidth(1024), 445);  // 445.2
    EXPECT_EQ(MsgDlgTextWidth(800), 348);   // 347.8
}

TEST_F(MessageBoxTest, Question_NoHasTheFocus_YesIsDefault_EscapeAnswersNo) {
    int result = -1;
    backend.ModalScript = [&](TCustomForm& form) {
        auto* yes = Part<TButton>(form, "Yes");
        auto* no = Part<TButton>(form, "No");
        EXPECT_EQ(yes->Caption(), "Yes");
        EXPECT_EQ(no->Caption(), "No");
        EXPECT_TRUE(yes->Default());
        EXPECT_TRUE(no->Cancel());
        EXPECT_EQ(form.ActiveControl(), no);
        EXPECT_LT(yes->Left(), no->Left()) << "kind order on the screen, No first only in tabbing";
        backend.SendKey(form, vkEscape);
        return mrNone;
    };
    result = Question("Replace the file?", "Setup", TMsgDlgType::mtConfirmation, 0);
    EXPECT_EQ(result, mrNo);
}

TEST_F(MessageBoxTest, Notice_EnterAnswersOk_AndTheBoxIsLaidOutFromTheMessageFont) {
    backend.SetScreenSize(1024, 768);
    backend.ModalScript = [&](TCustomForm& form) {
        // The headless message font: 11 pixels, so characters 5 wide and lines 13 high.
        auto* message = Part<TLabel>(form, "Message");
        auto* image = Part<TImage>(form, "Image");
        auto* ok = Part<TButton>(form, "OK");
        EXPECT_EQ(image->Left(), 10);
        EXPECT_EQ(image->Top(), 13);
        EXPECT_EQ(image->Width(), 32);
        EXPECT_EQ(message->Left(), 10 + 32 + 13);  // margin, icon, spacing (12.5 rounded up)
        EXPECT_EQ(message->Width(), 5 * 12);       // "Disk is full"
        EXPECT_EQ(message->Caption(), "Disk is full");
        EXPECT_FALSE(message->ShowAccelChar());
        EXPECT_EQ(ok->Width(), MulDiv(50, 5, 4));
        EXPECT_EQ(ok->Top(), 32 + 13 + 16);
        EXPECT_EQ(form.ClientWidth(), 13 + 32 + 60 + 2 * 10);
        EXPECT_EQ(form.ClientHeight(), 32 + 23 + 16 + 2 * 13);
        EXPECT_EQ(form.Caption(), "Setup of Brevanshaw");
        backend.SendKey(form, vkReturn);
        return mrNone;
    };
    app->SetTitle("Setup of Brevanshaw");
    EXPECT_EQ(Notice("Disk is full", "", TMsgDlgType::mtWarning, 0), mrOk);
}

TEST_F(MessageBoxTest, LongText_WrapsAtTenTwentyThirdsOfTheScreen) {
    backend.SetScreenSize(800, 600);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word ";
    TMessageForm* form = CreateMessageDialog(text, "x", TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK});
    auto* message = Part<TLabel>(*form, "Message");
    EXPECT_LE(message->Width(), MsgDlgTextWidth(800));
    EXPECT_GT(message->Width(), MsgDlgTextWidth(800) - 30);
    EXPECT_GE(message->Height(), 3 * 13);
    EXPECT_EQ(message->Left(), 10) << "no icon";
    EXPECT_EQ(form->FindComponent("Image"), nullptr);
    form->Free();
}

TEST_F(MessageBoxTest, Hebrew_ButtonsInHebrew_EverythingMirrored) {
    ChooseHebrew();
    TMessageForm* form = CreateMessageDialog("הקובץ בשימוש", "התקנה", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    auto* ok = Part<TButton>(*form, "OK");
    auto* image = Part<TImage>(*form, "Image");
    auto* message = Part<THebLabel>(*form, "Message");
    EXPECT_EQ(ok->Caption(), "אישור");
    EXPECT_EQ(image->Left(), form->ClientWidth() - 10 - 32) << "the icon moves to the right";
    EXPECT_TRUE(message->Hebrew());
    EXPECT_EQ(message->Alignment(), TAlignment::taRightJustify);
    EXPECT_NE(form->FindComponent("HebForm1"), nullptr);
    form->Free();
}

TEST_F(MessageBoxTest, ConfirmExit_BeepsAndAsksInTheChosenLanguage) {
    SetupState().LanguageIndex = 3;  // German
    SetMsgDlgLanguage(3);
    std::string caption, yes;
    backend.ModalScript = [&](TCustomForm& form) {
        caption = form.Caption();
        yes = Part<TButton>(form, "Yes")->Caption();
        return mrNo;
    };
    EXPECT_FALSE(ConfirmExit(nullptr));
    ASSERT_EQ(machine->Beeps().size(), 1u);
    EXPECT_EQ(machine->Beeps()[0], 0x20u);
    EXPECT_EQ(caption, "Brevanshaw-Installation beenden...");
    EXPECT_EQ(yes, "Ja");
    backend.ModalScript = [](TCustomForm&) { return mrYes; };
    EXPECT_TRUE(ConfirmExit(nullptr));
}

}  // namespace
