// The headless widget backend; see HeadlessBackend.h.
#include "runtime/headless/HeadlessBackend.h"

#include <cstdlib>

#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/TreeView.h"

namespace rt {

THeadlessBackend::THeadlessBackend() = default;
THeadlessBackend::~THeadlessBackend() = default;

void THeadlessBackend::Post(std::function<void()> message) { FQueue.push_back(std::move(message)); }

void THeadlessBackend::Realize(TCustomForm& form) {
    FLive.insert(FNextHandle);
    form.SetHandle(FNextHandle++);
    FormsShown.push_back(form.ClassName());
}

void THeadlessBackend::Unrealize(TControl& control) {
    if (FActive == &control) FActive = nullptr;
    // Messages already queued for the form must not reach it once it is gone.
    FLive.erase(control.Handle());
    control.SetHandle(0);
}

void THeadlessBackend::Changed(TControl& control, TControlChange what) {
    if (what != TControlChange::Visible || !control.InheritsFrom(TCustomForm::StaticClass())) return;
    auto* form = static_cast<TCustomForm*>(&control);
    if (form->Visible()) {
        // As with real windows, activation arrives as a message once the form is shown.
        const std::uintptr_t handle = form->Handle();
        Post([this, form, handle] {
            if (FLive.count(handle) && form->Visible()) ActivateForm(form);
        });
    } else if (FActive == form) {
        FActive = nullptr;
    }
}

void THeadlessBackend::ActivateForm(TCustomForm* form) {
    if (FActive == form) return;
    TCustomForm* previous = FActive;
    FActive = form;
    if (previous && previous->Active()) previous->Perform(WM_ACTIVATE, 0, 0);
    form->Perform(WM_ACTIVATE, 1, 0);
}

void THeadlessBackend::Invalidate(TControl&) {}
void THeadlessBackend::PaintNow(TCustomForm&) { ++FRepaints; }
void THeadlessBackend::SetFocus(TWinControl&) {}
void THeadlessBackend::BringToFront(TCustomForm&) {}

TModalResult THeadlessBackend::RunModal(TCustomForm& form) {
    ProcessMessages();
    TModalResult result = form.ModalResult();
    if (result == mrNone && ModalScript) {
        result = ModalScript(form);
        if (result == mrNone) result = form.ModalResult();
    }
    if (result == mrNone) result = mrCancel;
    form.SetModalResult(result);
    return result;
}

void THeadlessBackend::ProcessMessages() {
    while (!FQueue.empty()) {
        auto message = std::move(FQueue.front());
        FQueue.pop_front();
        message();
    }
}

bool THeadlessBackend::HandleMessage() {
    // Taken off the queue as the quit message is on Windows: the next loop runs afresh.
    if (FQuit) {
        FQuit = false;
        return false;
    }
    if (FQueue.empty()) {
        if (!OnIdle) return false;
        OnIdle();
        if (FQueue.empty()) return !FQuit;
    }
    auto message = std::move(FQueue.front());
    FQueue.pop_front();
    message();
    return !FQuit;
}

void THeadlessBackend::PostQuit() { FQuit = true; }

void THeadlessBackend::RestoreApplication() { ++FRestores; }

int THeadlessBackend::TextHeight(const TFont& font) { return std::abs(font.Height()) + 2; }

int THeadlessBackend::TextWidth(const TFont& font, const std::string& text) {
    int chars = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++chars;  // count code points, not UTF-8 bytes
    const int w = std::abs(font.Height()) / 2;
    return chars * (w < 1 ? 1 : w);
}

// ---- the user's input ----

namespace {

// Where keys for target go: a form hands them to its focused control.
TWinControl* KeyTarget(TWinControl& target) {
    if (auto* form = dynamic_cast<TCustomForm*>(&target)) return form->ActiveControl() ? form->ActiveControl() : form;
    if (!target.Focused() && target.CanFocus()) target.SetFocus();
    return &target;
}

TCustomForm* FormOf(TWinControl& control) {
    if (auto* form = dynamic_cast<TCustomForm*>(&control)) return form;
    return control.ParentForm();
}

void FocusForClick(TControl& control) {
    auto* w = dynamic_cast<TWinControl*>(&control);
    if (w && w->TabStop() && w->CanFocus() && !w->Focused()) w->SetFocus();
}

}  // namespace

bool THeadlessBackend::Reachable(const TControl& control) {
    for (const TControl* c = &control; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

char32_t THeadlessBackend::CharOfKey(std::uint16_t key, TShiftState shift) {
    const bool upper = shift.Contains(TShiftStateFlag::ssShift);
    if (shift.Contains(TShiftStateFlag::ssCtrl) || shift.Contains(TShiftStateFlag::ssAlt)) return 0;
    switch (key) {
    case vkBack: return U'\b';
    case vkTab: return U'\t';
    case vkReturn: return U'\r';
    case vkEscape: return 0x1B;
    case vkSpace: return U' ';
    default: break;
    }
    if (key >= 'A' && key <= 'Z') return upper ? char32_t(key) : char32_t(key - 'A' + 'a');
    if (key >= '0' && key <= '9') return char32_t(key);
    return 0;
}

void THeadlessBackend::SendKey(TWinControl& target, std::uint16_t key, TShiftState shift) {
    TCustomForm* form = FormOf(target);
    if (!form) return;
    TWinControl* down = KeyTarget(target);
    std::uint16_t k = key;
    const bool consumed = form->DispatchKeyDown(*down, k, shift);
    if (!consumed) {
        down->DefaultKeyDown(k, shift);
        char32_t ch = CharOfKey(k, shift);
        if (ch && !form->DispatchKeyPress(*down, ch)) down->DefaultKeyPress(ch);
    }
    // The release reaches whatever has the focus by now, as with real keys.
    TWinControl* up = form->ActiveControl() ? form->ActiveControl() : form;
    std::uint16_t released = key;
    if (!form->DispatchKeyUp(*up, released, shift)) up->DefaultKeyUp(released, shift);
}

void THeadlessBackend::Type(TWinControl& target, const std::string& text) {
    TCustomForm* form = FormOf(target);
    if (!form) return;
    for (char32_t ch : Utf8ToUtf32(text)) {
        if (ch == U'\n') ch = U'\r';
        TWinControl* t = KeyTarget(target);
        if (!form->DispatchKeyPress(*t, ch)) t->DefaultKeyPress(ch);
    }
}

void THeadlessBackend::ClickControl(TControl& control) {
    if (!Reachable(control)) return;
    FocusForClick(control);
    control.MouseClick();
}

void THeadlessBackend::DblClickControl(TControl& control) {
    if (!Reachable(control)) return;
    FocusForClick(control);
    control.MouseClick();
    control.MouseDblClick();
}

void THeadlessBackend::ClickItem(TWinControl& control, int index) {
    if (!Reachable(control)) return;
    FocusForClick(control);
    if (auto* list = dynamic_cast<TCustomListBox*>(&control)) list->UserSelect(index);
    else if (auto* combo = dynamic_cast<TCustomComboBox*>(&control)) {
        combo->OnDropDown(combo);
        combo->UserSelect(index);
    } else if (auto* group = dynamic_cast<TCustomRadioGroup*>(&control)) group->UserSelect(index);
    else if (auto* pages = dynamic_cast<TPageControl*>(&control)) pages->UserSelectTab(index);
    else if (auto* tabs = dynamic_cast<TTabControl*>(&control)) tabs->UserSelectTab(index);
}

void THeadlessBackend::DblClickItem(TWinControl& control, int index) {
    if (!Reachable(control)) return;
    FocusForClick(control);
    if (auto* list = dynamic_cast<TCustomListBox*>(&control)) list->UserDblClick(index);
    else ClickItem(control, index);
}

void THeadlessBackend::ClickNode(TTreeView& tree, TTreeNode* node) {
    if (!Reachable(tree)) return;
    FocusForClick(tree);
    tree.UserClickNode(node);
}

void THeadlessBackend::ExpandNode(TTreeView& tree, TTreeNode* node, bool expanded) {
    if (!Reachable(tree)) return;
    tree.UserExpand(node, expanded);
}

}  // namespace rt
