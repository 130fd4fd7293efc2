// The headless widget backend; see HeadlessBackend.h.
#include "runtime/headless/HeadlessBackend.h"

#include <cstdlib>

namespace rt {

THeadlessBackend::THeadlessBackend() = default;
THeadlessBackend::~THeadlessBackend() = default;

void THeadlessBackend::Post(std::function<void()> message) { FQueue.push_back(std::move(message)); }

void THeadlessBackend::Realize(TCustomForm& form) {
    form.SetHandle(FNextHandle++);
    FormsShown.push_back(form.ClassName());
}

void THeadlessBackend::Unrealize(TControl& control) {
    if (FActive == &control) FActive = nullptr;
    // Messages already queued for the form must not reach it once it is gone.
    control.SetHandle(0);
}

void THeadlessBackend::Changed(TControl& control, TControlChange what) {
    if (what != TControlChange::Visible || !control.InheritsFrom(TCustomForm::StaticClass())) return;
    auto* form = static_cast<TCustomForm*>(&control);
    if (form->Visible()) {
        // As with real windows, activation arrives as a message once the form is shown.
        const std::uintptr_t handle = form->Handle();
        Post([this, form, handle] {
            if (form->Handle() == handle && form->Visible()) ActivateForm(form);
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
    if (result == mrNone) result = ModalScript ? ModalScript(form) : mrCancel;
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
    if (FQuit) return false;
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

}  // namespace rt
