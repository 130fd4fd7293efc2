// Keyboard and focus on the headless backend: tab order, key preview, default and cancel
// buttons, modal results, and the focus events, driven as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Buttons.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/headless/HeadlessBackend.h"

using namespace rt;

namespace {

class KeyboardFocus : public ::testing::Test {
protected:
    void SetUp() override { SetBackend(&backend); }
    void TearDown() override { SetBackend(nullptr); }

    template <class C>
    C* Add(TWinControl* parent, const std::string& name) {
        auto* c = new C(&form);
        c->SetName(name);
        c->SetParent(parent);
        return c;
    }

    std::string FocusedName() const { return form.ActiveControl() ? form.ActiveControl()->Name() : "(none)"; }

    THeadlessBackend backend;
    TForm form{nullptr};
};

TNotifyEvent Log(std::vector<std::string>& log, const std::string& what) {
    return TNotifyEvent(nullptr, [&log, what](TObject*) { log.push_back(what); });
}

TKeyEvent LogKey(std::vector<std::string>& log, const std::string& who, bool swallow = false) {
    return TKeyEvent(nullptr, [&log, who, swallow](TObject*, std::uint16_t& key, TShiftState) {
        log.push_back(who + ":" + std::to_string(key));
        if (swallow) key = 0;
    });
}

}  // namespace

TEST_F(KeyboardFocus, TabOrder_TabAndShiftTabWalkTheTabListAndWrap) {
    auto* a = Add<TEdit>(&form, "A");
    auto* panel = Add<TPanel>(&form, "Panel");
    auto* b = Add<TEdit>(panel, "B");
    auto* c = Add<TButton>(&form, "C");
    auto* hidden = Add<TEdit>(&form, "Hidden");
    hidden->SetVisible(false);
    auto* disabled = Add<TEdit>(&form, "Disabled");
    disabled->SetEnabled(false);
    auto* noStop = Add<TEdit>(&form, "NoStop");
    noStop->SetTabStop(false);
    // The button goes first in the form's order; the panel (not a tab stop) passes the focus
    // through to its edit.
    c->SetTabOrder(0);
    form.ShowForm();
    EXPECT_EQ(FocusedName(), "C") << "the first control of the tab list has the focus when the form shows";

    std::vector<std::string> forward;
    for (int i = 0; i < 4; ++i) {
        backend.SendKey(form, vkTab);
        forward.push_back(FocusedName());
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"A", "B", "C", "A"}));

    std::vector<std::string> backward;
    for (int i = 0; i < 3; ++i) {
        backend.SendKey(form, vkTab, {TShiftStateFlag::ssShift});
        backward.push_back(FocusedName());
    }
    EXPECT_EQ(backward, (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(b->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
}

TEST_F(KeyboardFocus, ActiveControl_SetBeforeShowingTakesTheFocus) {
    Add<TEdit>(&form, "First");
    auto* second = Add<TEdit>(&form, "Second");
    form.SetActiveControl(second);
    form.ShowForm();
    EXPECT_EQ(FocusedName(), "Second");
    EXPECT_TRUE(second->Focused());
}

TEST_F(KeyboardFocus, FocusEvents_ExitOfTheOldControlComesBeforeEnterOfTheNew) {
    auto* a = Add<TEdit>(&form, "A");
    auto* b = Add<TEdit>(&form, "B");
    std::vector<std::string> log;
    a->OnEnter = Log(log, "enter A");
    a->OnExit = Log(log, "exit A");
    b->OnEnter = Log(log, "enter B");
    form.ShowForm();
    backend.SendKey(form, vkTab);
    EXPECT_EQ(log, (std::vector<std::string>{"enter A", "exit A", "enter B"}));
    // A focused control that is freed takes the focus with it, without events.
    b->Free();
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST_F(KeyboardFocus, KeyPreview_TheFormSeesKeysBeforeTheControlAndMaySwallowThem) {
    auto* edit = Add<TEdit>(&form, "Edit");
    std::vector<std::string> log;
    form.OnKeyDown = LogKey(log, "form");
    edit->OnKeyDown = LogKey(log, "edit");
    form.ShowForm();

    backend.SendKey(*edit, 'X');
    EXPECT_EQ(log, (std::vector<std::string>{"edit:88"})) << "without key preview the form hears nothing";
    EXPECT_EQ(edit->Text(), "x");

    log.clear();
    form.SetKeyPreview(true);
    backend.SendKey(*edit, 'Y');
    EXPECT_EQ(log, (std::vector<std::string>{"form:89", "edit:89"}));

    log.clear();
    form.OnKeyDown = LogKey(log, "form", true);
    backend.SendKey(*edit, 'Z');
    EXPECT_EQ(log, (std::vector<std::string>{"form:90"}));
    EXPECT_EQ(edit->Text(), "xy") << "a swallowed key types nothing";

    // Characters are previewed the same way.
    form.OnKeyPress = TKeyPressEvent(nullptr, [](TObject*, char32_t& key) {
        if (key == U'q') key = 0;
        else if (key == U'a') key = U'b';
    });
    backend.Type(*edit, "qa");
    EXPECT_EQ(edit->Text(), "xyb");
}

TEST_F(KeyboardFocus, DefaultButton_EnterClicksItUnlessAButtonHasTheFocus) {
    auto* edit = Add<TEdit>(&form, "Edit");
    auto* ok = Add<TButton>(&form, "OK");
    ok->SetDefault(true);
    auto* other = Add<TButton>(&form, "Other");
    std::vector<std::string> log;
    ok->OnClick = Log(log, "OK");
    other->OnClick = Log(log, "Other");
    form.ShowForm();

    backend.SendKey(*edit, vkReturn);
    EXPECT_EQ(log, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(edit->Text(), "") << "Enter taken by the default button types nothing";

    log.clear();
    backend.SendKey(*other, vkReturn);
    EXPECT_EQ(log, (std::vector<std::string>{"Other"})) << "a focused button takes Enter itself";

    log.clear();
    backend.SendKey(*other, vkSpace);
    EXPECT_EQ(log, (std::vector<std::string>{"Other"})) << "the space bar clicks the focused button";
}

TEST_F(KeyboardFocus, DefaultButton_ADisabledOrHiddenDefaultIsNotClicked) {
    auto* edit = Add<TEdit>(&form, "Edit");
    auto* ok = Add<TButton>(&form, "OK");
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = TNotifyEvent(nullptr, [&](TObject*) { ++clicks; });
    form.ShowForm();
    ok->SetEnabled(false);
    backend.SendKey(*edit, vkReturn);
    EXPECT_EQ(clicks, 0);
    ok->SetEnabled(true);
    ok->SetVisible(false);
    backend.SendKey(*edit, vkReturn);
    EXPECT_EQ(clicks, 0);
    ok->SetVisible(true);
    backend.SendKey(*edit, vkReturn);
    EXPECT_EQ(clicks, 1);
}

TEST_F(KeyboardFocus, CancelButton_EscapeClicksIt) {
    auto* edit = Add<TEdit>(&form, "Edit");
    auto* ok = Add<TButton>(&form, "OK");
    ok->SetDefault(true);
    auto* cancel = Add<TButton>(&form, "Cancel");
    cancel->SetCancel(true);
    std::vector<std::string> log;
    ok->OnClick = Log(log, "OK");
    cancel->OnClick = Log(log, "Cancel");
    form.ShowForm();
    backend.SendKey(*edit, vkEscape);
    backend.SendKey(*ok, vkEscape);
    EXPECT_EQ(log, (std::vector<std::string>{"Cancel", "Cancel"}));
}

TEST_F(KeyboardFocus, ModalResult_AButtonsResultEndsShowModalWithIt) {
    auto* edit = Add<TEdit>(&form, "Edit");
    auto* ok = Add<TBitBtn>(&form, "OK");
    ok->SetKind(TBitBtnKind::bkOK);
    auto* cancel = Add<TBitBtn>(&form, "Cancel");
    cancel->SetKind(TBitBtnKind::bkCancel);
    auto* no = Add<TButton>(&form, "No");
    no->SetModalResult(mrNo);

    backend.ModalScript = [&](TCustomForm&) {
        backend.Type(*edit, "name");
        backend.SendKey(*edit, vkReturn);
        return mrNone;
    };
    EXPECT_EQ(form.ShowModal(), mrOk);
    backend.ModalScript = [&](TCustomForm&) {
        backend.SendKey(*edit, vkEscape);
        return mrNone;
    };
    EXPECT_EQ(form.ShowModal(), mrCancel);
    backend.ModalScript = [&](TCustomForm&) {
        backend.ClickControl(*no);
        return mrNone;
    };
    EXPECT_EQ(form.ShowModal(), mrNo);
    EXPECT_EQ(edit->Text(), "name");
}

TEST_F(KeyboardFocus, ModalResult_OnClickSeesTheResultAlreadySetAndMayTakeItBack) {
    auto* ok = Add<TButton>(&form, "OK");
    ok->SetModalResult(mrOk);
    bool allow = false;
    ok->OnClick = TNotifyEvent(nullptr, [&](TObject*) {
        EXPECT_EQ(form.ModalResult(), mrOk);
        if (!allow) form.SetModalResult(mrNone);
    });
    backend.ModalScript = [&](TCustomForm&) {
        backend.ClickControl(*ok);
        EXPECT_EQ(form.ModalResult(), mrNone);
        allow = true;
        backend.ClickControl(*ok);
        return mrNone;
    };
    EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST_F(KeyboardFocus, WantedKeys_AMemoKeepsEnterAndARadioGroupItsArrows) {
    auto* memo = Add<TMemo>(&form, "Memo");
    auto* ok = Add<TButton>(&form, "OK");
    ok->SetDefault(true);
    auto* group = Add<TRadioGroup>(&form, "Group");
    group->Items()->SetLines({"one", "two", "three"});
    int clicks = 0;
    ok->OnClick = TNotifyEvent(nullptr, [&](TObject*) { ++clicks; });
    form.ShowForm();

    backend.Type(*memo, "a");
    backend.SendKey(*memo, vkReturn);
    backend.Type(*memo, "b");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(memo->Lines()->ToVector(), (std::vector<std::string>{"a", "b"}));
    memo->SetWantReturns(false);
    backend.SendKey(*memo, vkReturn);
    EXPECT_EQ(clicks, 1);

    backend.SendKey(*group, vkDown);
    EXPECT_EQ(group->ItemIndex(), 0);
    backend.SendKey(*group, vkDown);
    backend.SendKey(*group, vkDown);
    EXPECT_EQ(group->ItemIndex(), 2);
    backend.SendKey(*group, vkDown);
    EXPECT_EQ(group->ItemIndex(), 0) << "the arrows wrap around";
    backend.SendKey(*group, vkUp);
    EXPECT_EQ(group->ItemIndex(), 2);
}

TEST_F(KeyboardFocus, Clicks_FocusTheControlButDisabledOrHiddenOnesIgnoreThem) {
    auto* edit = Add<TEdit>(&form, "Edit");
    auto* check = Add<TCheckBox>(&form, "Check");
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    int labelClicks = 0;
    label->OnClick = TNotifyEvent(nullptr, [&](TObject*) { ++labelClicks; });
    form.ShowForm();
    EXPECT_EQ(FocusedName(), "Edit");
    backend.ClickControl(*check);
    EXPECT_EQ(FocusedName(), "Check");
    EXPECT_TRUE(check->Checked());
    backend.ClickControl(*label);
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(FocusedName(), "Check") << "a label takes no focus";

    check->SetEnabled(false);
    backend.ClickControl(*check);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(FocusedName(), "Check");
    edit->SetVisible(false);
    backend.ClickControl(*edit);
    EXPECT_EQ(FocusedName(), "Check");
}
