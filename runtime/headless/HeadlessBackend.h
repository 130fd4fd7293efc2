// The headless widget backend: no windows, fixed text metrics, a queue of posted messages,
// and modal forms answered by a script. Tests and the native build tool run on it.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Forms.h"

namespace rt {

class THeadlessBackend : public IWidgetBackend {
public:
    THeadlessBackend();
    ~THeadlessBackend() override;

    // Answers a modal form: set its controls, then return the modal result. Without a
    // script a modal form ends with mrCancel.
    std::function<TModalResult(TCustomForm&)> ModalScript;
    // Every form realised so far, by class name, in order (for tests that follow a run).
    std::vector<std::string> FormsShown;
    // Called whenever the loop waits for a message with nothing queued; tests advance a
    // simulated clock here. Without it, an empty queue ends HandleMessage with false.
    std::function<void()> OnIdle;

    // Queues a call as if a message had been posted.
    void Post(std::function<void()> message);
    int PendingMessages() const { return static_cast<int>(FQueue.size()); }
    int Repaints() const { return FRepaints; }
    int Restores() const { return FRestores; }
    TCustomForm* ActiveForm() const { return FActive; }
    void SetScreenSize(int width, int height) { FScreenWidth = width; FScreenHeight = height; }

    void Realize(TCustomForm& form) override;
    void Unrealize(TControl& control) override;
    void Changed(TControl& control, TControlChange what) override;
    void Invalidate(TControl& control) override;
    void PaintNow(TCustomForm& form) override;
    void SetFocus(TWinControl& control) override;
    void BringToFront(TCustomForm& form) override;
    TModalResult RunModal(TCustomForm& form) override;
    void ProcessMessages() override;
    bool HandleMessage() override;
    void PostQuit() override;
    void RestoreApplication() override;
    // Every character is half the font's pixel height wide (at least 1); a line is the
    // pixel height plus 2.
    int TextHeight(const TFont& font) override;
    int TextWidth(const TFont& font, const std::string& text) override;
    int ScreenWidth() override { return FScreenWidth; }
    int ScreenHeight() override { return FScreenHeight; }

private:
    void ActivateForm(TCustomForm* form);

    std::deque<std::function<void()>> FQueue;
    std::uintptr_t FNextHandle = 1;
    TCustomForm* FActive = nullptr;
    bool FQuit = false;
    int FRepaints = 0;
    int FRestores = 0;
    int FScreenWidth = 800, FScreenHeight = 600;
};

}  // namespace rt
