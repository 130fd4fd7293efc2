// The widget backend that makes forms real Windows windows: one window class per form
// class, painting of labels and images, and the application's message loops.
// Only the wide API is used, so Hebrew captions show on any system.
#pragma once

#include <memory>
#include <string>

#include "runtime/Forms.h"

namespace rt {

class TWin32Backend : public IWidgetBackend {
public:
    TWin32Backend();
    ~TWin32Backend() override;
    TWin32Backend(const TWin32Backend&) = delete;
    TWin32Backend& operator=(const TWin32Backend&) = delete;

    // A run nobody may see: windows are made and work as ever, but none is shown.
    void SetWindowsHidden(bool hidden);

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
    int TextHeight(const TFont& font) override;
    int TextWidth(const TFont& font, const std::string& text) override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    int CaptionHeight() override;
    void WrappedTextExtent(const TFont& font, const std::string& text, int maxWidth, int& width, int& height) override;
    void GetMessageFont(TFont& font) override;
    void MinimizeApplication() override;

    struct Impl;

private:
    std::unique_ptr<Impl> FImpl;
};

// Shows exceptions that reach the application in an error box titled with its title.
void InstallWin32ExceptionBox(TApplication& app);

}  // namespace rt
