// Edits, memos, check boxes, radio buttons and groups, list and combo boxes and bitmap
// buttons on the headless backend: what the user can do with them and what events follow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Buttons.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"
#include "runtime/headless/HeadlessBackend.h"

using namespace rt;

namespace {

class StdControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetBackend(&backend);
        form.ShowForm();
    }
    void TearDown() override { SetBackend(nullptr); }

    template <class C>
    C* Add(TWinControl* parent = nullptr) {
        auto* c = new C(&form);
        c->SetParent(parent ? parent : &form);
        return c;
    }

    TNotifyEvent Count(int& n) {
        return TNotifyEvent(nullptr, [&n](TObject*) { ++n; });
    }

    THeadlessBackend backend;
    TForm form{nullptr};
};

}  // namespace

TEST_F(StdControls, EditMaxLength_TypingStopsAtTheLimitButCodeMayExceedIt) {
    auto* edit = Add<TEdit>();
    edit->SetMaxLength(5);
    backend.Type(*edit, "abcdefgh");
    EXPECT_EQ(edit->Text(), "abcde");
    // Hebrew letters count as one character each, though UTF-8 stores them in two bytes.
    edit->Clear();
    backend.Type(*edit, "\u05E9\u05DC\u05D5\u05DD\u05D0\u05D1");
    EXPECT_EQ(edit->Text(), "\u05E9\u05DC\u05D5\u05DD\u05D0");
    EXPECT_EQ(edit->TextLength(), 5);
    edit->SetText("longer than five");
    EXPECT_EQ(edit->Text(), "longer than five");
    backend.SendKey(*edit, vkBack);
    EXPECT_EQ(edit->Text(), "longer than fiv");
}

TEST_F(StdControls, EditChanges_FireOnChangeByCodeAndByTypingButNotWhenReadOnly) {
    auto* edit = Add<TEdit>();
    int changes = 0;
    edit->OnChange = Count(changes);
    edit->SetText("C:\\");
    EXPECT_EQ(changes, 1);
    edit->SetText("C:\\");
    EXPECT_EQ(changes, 1) << "the same text is no change";
    backend.Type(*edit, "Dir");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(edit->Text(), "C:\\Dir");
    edit->SetReadOnly(true);
    backend.Type(*edit, "x");
    backend.SendKey(*edit, vkBack);
    EXPECT_EQ(edit->Text(), "C:\\Dir");
    EXPECT_EQ(changes, 4);
}

TEST_F(StdControls, MemoLines_AreItsTextJoinedByLineBreaks) {
    auto* memo = Add<TMemo>();
    int changes = 0;
    memo->OnChange = Count(changes);
    memo->Lines()->SetLines({"first", "second"});
    EXPECT_EQ(memo->Text(), "first\r\nsecond");
    EXPECT_EQ(changes, 1);
    memo->SetText("a\r\nb\r\nc");
    EXPECT_EQ(memo->Lines()->ToVector(), (std::vector<std::string>{"a", "b", "c"}));
    memo->SetReadOnly(true);
    backend.SendKey(*memo, vkReturn);
    backend.Type(*memo, "x");
    EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(StdControls, CheckBox_ClicksToggleAndEveryChangeFiresOnClick) {
    auto* box = Add<TCheckBox>();
    int clicks = 0;
    box->OnClick = Count(clicks);
    backend.ClickControl(*box);
    EXPECT_TRUE(box->Checked());
    backend.SendKey(*box, vkSpace);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 3) << "user clicks and a change by code fire, setting the same value does not";
    box->SetAllowGrayed(true);
    backend.ClickControl(*box);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
    backend.ClickControl(*box);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
}

TEST_F(StdControls, CheckBoxCaptionSide_FollowsAlignmentAndRightToLeftMirroring) {
    auto* box = Add<TCheckBox>();
    EXPECT_FALSE(box->CaptionOnLeft());
    box->SetAlignment(TAlignment::taLeftJustify);
    EXPECT_TRUE(box->CaptionOnLeft());
    box->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_FALSE(box->CaptionOnLeft()) << "mirrored alignment";
    box->SetBiDiMode(TBiDiMode::bdRightToLeftNoAlign);
    EXPECT_TRUE(box->CaptionOnLeft()) << "literal alignment";
}

TEST_F(StdControls, RadioButtons_OneCheckedPerParent) {
    auto* a = Add<TRadioButton>();
    auto* b = Add<TRadioButton>();
    auto* panel = Add<TPanel>();
    auto* c = Add<TRadioButton>(panel);
    int clicks = 0;
    b->OnClick = Count(clicks);
    backend.ClickControl(*a);
    c->SetChecked(true);
    EXPECT_TRUE(a->Checked());
    EXPECT_TRUE(c->Checked()) << "another parent is another group";
    backend.ClickControl(*b);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    backend.ClickControl(*b);
    EXPECT_EQ(clicks, 1) << "clicking a checked radio button changes nothing";
}

TEST_F(StdControls, RadioGroup_KeepsOneItemCheckedAndReportsChanges) {
    auto* group = Add<TRadioGroup>();
    group->Items()->SetLines({"Reboot now", "Reboot later"});
    std::vector<int> seen;
    group->OnClick = TNotifyEvent(nullptr, [&](TObject*) { seen.push_back(group->ItemIndex()); });
    EXPECT_EQ(group->ItemIndex(), -1);
    backend.ClickItem(*group, 1);
    backend.ClickItem(*group, 1);
    group->SetItemIndex(0);
    group->SetItemIndex(7);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1})) << "an index past the end checks the last item";
    EXPECT_TRUE(group->Focused());
    group->Items()->Delete(1);
    EXPECT_EQ(group->ItemIndex(), -1) << "the checked item went away";
}

TEST_F(StdControls, RadioGroupLayout_ButtonsFillColumnsBelowTheCaption) {
    auto* group = Add<TRadioGroup>();
    group->Font()->SetHeight(-10);  // a line is 12 pixels headless
    group->SetBounds(0, 0, 210, 77);
    group->Items()->SetLines({"a", "b", "c", "d", "e"});
    group->SetColumns(2);
    int l, t, w, h;
    group->ButtonBounds(0, l, t, w, h);
    // Three rows share 77 - 12 - 5 = 60 pixels; columns are (210 - 10) / 2 wide.
    EXPECT_EQ(std::vector<int>({l, t, w, h}), std::vector<int>({8, 13, 100, 20}));
    group->ButtonBounds(4, l, t, w, h);
    EXPECT_EQ(std::vector<int>({l, t, w, h}), std::vector<int>({108, 33, 100, 20}));
}

TEST_F(StdControls, SortedListBox_KeepsEntriesInOrderAndTheSelectionOnItsEntry) {
    auto* list = Add<TListBox>();
    list->Items()->SetLines({"Startup", "Accessories", "games"});
    list->SetItemIndex(0);
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->ToVector(), (std::vector<std::string>{"Accessories", "games", "Startup"}));
    EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "Startup");
    list->Items()->Add("Brevanshaw");
    EXPECT_EQ(list->Items()->Strings(1), "Brevanshaw");
    list->SetItemIndex(9);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(StdControls, ListBoxSelection_ByUserFiresOnClickByCodeNothing) {
    auto* list = Add<TListBox>();
    list->Items()->SetLines({"a", "b", "c"});
    int clicks = 0, doubles = 0;
    list->OnClick = Count(clicks);
    list->OnDblClick = Count(doubles);
    list->SetItemIndex(1);
    EXPECT_EQ(clicks, 0);
    backend.ClickItem(*list, 2);
    backend.SendKey(*list, vkUp);
    backend.SendKey(*list, vkHome);
    backend.SendKey(*list, vkHome);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(clicks, 3) << "a key that does not move the selection reports nothing";
    backend.DblClickItem(*list, 1);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(doubles, 1);
}

TEST_F(StdControls, ComboBox_ItemIndexAndTextFollowEachOther) {
    auto* combo = Add<TComboBox>();
    combo->Items()->SetLines({"English", "Hebrew", "Spanish"});
    int changes = 0;
    combo->OnChange = Count(changes);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "Hebrew");
    combo->SetText("spanish");
    EXPECT_EQ(combo->ItemIndex(), 2) << "entries match without regard to case";
    combo->SetText("Other");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0) << "code changes fire nothing";
    backend.ClickItem(*combo, 0);
    EXPECT_EQ(combo->Text(), "English");
    backend.Type(*combo, "!");
    EXPECT_EQ(combo->Text(), "English!");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 2);
}

TEST_F(StdControls, DropDownListCombo_TextIsAlwaysAnEntry) {
    auto* combo = Add<TComboBox>();
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->Items()->SetLines({"Deutsch", "Dutch", "English"});
    combo->SetItemIndex(2);
    combo->SetText("Klingon");
    EXPECT_EQ(combo->Text(), "English");
    backend.Type(*combo, "d");
    EXPECT_EQ(combo->Text(), "Deutsch") << "a letter picks the next entry starting with it";
    backend.Type(*combo, "d");
    EXPECT_EQ(combo->Text(), "Dutch");
    backend.SendKey(*combo, vkDown);
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(StdControls, BitBtnKind_BringsCaptionResultAndRole) {
    auto* ok = Add<TBitBtn>();
    ok->SetKind(TBitBtnKind::bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    auto* no = Add<TBitBtn>();
    no->SetKind(TBitBtnKind::bkNo);
    EXPECT_EQ(no->Caption(), "&No");
    EXPECT_EQ(no->ModalResult(), mrNo);
    EXPECT_TRUE(no->Cancel());
    EXPECT_FALSE(no->Default());
    auto* help = Add<TBitBtn>();
    help->SetKind(TBitBtnKind::bkHelp);
    EXPECT_EQ(help->ModalResult(), mrNone);
    // A close button closes its form.
    backend.ModalScript = [&](TCustomForm&) {
        auto* close = Add<TBitBtn>();
        close->SetKind(TBitBtnKind::bkClose);
        backend.ClickControl(*close);
        return mrNone;
    };
    form.Hide();
    EXPECT_EQ(form.ShowModal(), mrCancel);
}
