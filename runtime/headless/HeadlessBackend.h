// The headless widget backend: no windows, fixed text metrics, a queue of posted messages,
// and modal forms answered by a script. Tests and the native build tool run on it, and
// tests drive forms through it as a user would: keys, typing and clicks.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "runtime/Forms.h"

namespace rt {

class TTreeView;
class TTreeNode;

class THeadlessBackend : public IWidgetBackend {
public:
    THeadlessBackend();
    ~THeadlessBackend() override;

    // Answers a modal form: set its controls, then return the modal result. A script that
    // returns mrNone leaves the result the form has by then (a button it clicked); without a
    // script, or with no result at all, a modal form ends with mrCancel.
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
    int Minimizes() const { return FMinimizes; }
    TCustomForm* ActiveForm() const { return FActive; }
    void SetScreenSize(int width, int height) { FScreenWidth = width; FScreenHeight = height; }

    // The user's input, through the same model paths the Win32 backend takes for real
    // input. Keys go to target, focused first (a form passes them to its focused control):
    // the form's routing (preview, the control's events, Tab, Enter, Escape), then what the
    // system's control would do, then the character, then the key's release.
    void SendKey(TWinControl& target, std::uint16_t key, TShiftState shift = {});
    // Types text into target, a character at a time (line breaks as Enter).
    void Type(TWinControl& target, const std::string& text);
    // A mouse click: the control takes the focus if it can, then does what a click does.
    // Disabled or hidden controls ignore it.
    void ClickControl(TControl& control);
    void DblClickControl(TControl& control);
    // A click on an entry of a list box or combo box, a radio group's button, or a tab of a
    // page or tab control.
    void ClickItem(TWinControl& control, int index);
    void DblClickItem(TWinControl& control, int index);
    void ClickNode(TTreeView& tree, TTreeNode* node);
    void ExpandNode(TTreeView& tree, TTreeNode* node, bool expanded);
    // The character a key stroke types, 0 for none.
    static char32_t CharOfKey(std::uint16_t key, TShiftState shift);

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
    void MinimizeApplication() override { ++FMinimizes; }
    // Every character is half the font's pixel height wide (at least 1); a line is the
    // pixel height plus 2.
    int TextHeight(const TFont& font) override;
    int TextWidth(const TFont& font, const std::string& text) override;
    int ScreenWidth() override { return FScreenWidth; }
    int ScreenHeight() override { return FScreenHeight; }

private:
    void ActivateForm(TCustomForm* form);
    static bool Reachable(const TControl& control);

    std::deque<std::function<void()>> FQueue;
    std::uintptr_t FNextHandle = 1;
    // The handles of forms still realised: a queued message asks here whether its form is
    // there, as a form already freed cannot be asked.
    std::unordered_set<std::uintptr_t> FLive;
    TCustomForm* FActive = nullptr;
    bool FQuit = false;
    int FRepaints = 0;
    int FRestores = 0;
    int FMinimizes = 0;
    int FScreenWidth = 800, FScreenHeight = 600;
};

}  // namespace rt
