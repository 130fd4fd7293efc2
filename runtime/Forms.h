// Forms, the application object with its message loop, and the widget backend interface
// through which the model becomes real windows (runtime/win32) or stays headless for tests
// (runtime/headless).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/Controls.h"

namespace rt {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

}  // namespace rt

RT_DECLARE_ENUM(rt::TFormBorderStyle)
RT_DECLARE_ENUM(rt::TBorderIcon)
RT_DECLARE_ENUM(rt::TPosition)
RT_DECLARE_ENUM(rt::TWindowState)
RT_DECLARE_ENUM(rt::TFormStyle)

namespace rt {

// Modal results.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                       mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// Window messages the model understands. The Windows headers define the same names as macros of the
// same values; a unit that includes it first uses those.
#ifndef WM_CLOSE
constexpr std::uint32_t WM_CLOSE = 0x0010;
#endif
#ifndef WM_ACTIVATE
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
#endif
#ifndef WM_USER
constexpr std::uint32_t WM_USER = 0x0400;
#endif

class TCustomForm;

class TCustomForm : public TWinControl {
    RT_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    int ClientWidth() const override { return FClientWidth; }
    int ClientHeight() const override { return FClientHeight; }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    void SetBounds(int left, int top, int width, int height) override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle v);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Set by the focus machinery when a control takes the focus: the old one hears DoExit,
    // the new one DoEnter. Backends call it when the system moves the focus itself.
    void FocusControl(TWinControl* control);
    // Drops the focus without events (the control is going away).
    void ForgetFocus() { FActiveControl = nullptr; }
    // Moves the focus to the next (or previous) control of the tab list after current,
    // wrapping around; the first control when current is not in the list.
    void SelectNext(TWinControl* current, bool forward);
    // The control the focus goes to when the form has none: the first of the tab list.
    TWinControl* FirstFocusable() const;

    // Keyboard routing, the same for both backends. A key stroke for the focused control
    // target (or the form itself): with KeyPreview the form's own KeyDown sees it first,
    // then target's; a key still set and not one target wants is a dialog key: Tab and
    // Shift+Tab move the focus, Enter and Escape are offered to every control (a focused
    // button takes Enter, else the default button; Escape goes to the cancel button).
    // True when the key was consumed and the system's control must not see it; the
    // character of a consumed key stroke is dropped too.
    bool DispatchKeyDown(TWinControl& target, std::uint16_t& key, TShiftState shift);
    bool DispatchKeyPress(TWinControl& target, char32_t& key);
    bool DispatchKeyUp(TWinControl& target, std::uint16_t& key, TShiftState shift);
    int DesignWidth() const { return FDesignWidth; }
    int DesignHeight() const { return FDesignHeight; }
    void SetDesignSize(int width, int height) { FDesignWidth = width; FDesignHeight = height; }

    // Extended window style bits the form adds to its window beyond those of its reading
    // order (right alignment, right-to-left reading, left scroll bar: 0x7000).
    std::uint32_t ExtraExStyle() const { return FExtraExStyle; }
    void SetExtraExStyle(std::uint32_t bits);
    // The picture whose palette the form realises when it comes to the foreground on a
    // palette display; nullptr for the system's.
    virtual const TPicture* PalettePicture() const { return nullptr; }
    // Another window changed the system palette (or this one realised its own).
    virtual void PaletteChanged() {}

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    bool Modal() const { return FModal; }
    bool Active() const { return FActive; }

    void SetVisible(bool v) override;
    // Shows the form and brings it to the front.
    void ShowForm();
    // Shows the form and runs a nested loop until ModalResult is set; returns it.
    virtual TModalResult ShowModal();
    // Asks OnCloseQuery, then closes (a modal form ends with mrCancel unless a result is set).
    void Close();
    bool CloseQuery();
    // Paints the form now, for forms shown before the message loop runs.
    void Update();

    // Called by backends.
    // The window's client area changed size (maximised, restored, resized by the user).
    void BackendResized(int clientWidth, int clientHeight);
    virtual void Activate();
    virtual void Deactivate();
    bool WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override;

    TNotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy;
    TEvent<TObject* /*Sender*/, TCloseAction& /*Action*/> OnClose;
    TEvent<TObject* /*Sender*/, bool& /*CanClose*/> OnCloseQuery;

protected:
    // Runs OnCreate; descendants call it at the end of their construction, once their
    // description has been read.
    void DoCreate();
    // Every show, before the window appears: fires OnShow.
    virtual void DoShow();
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int FClientWidth = 0, FClientHeight = 0;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
    TPosition FPosition = TPosition::poDesigned;
    TWindowState FWindowState = TWindowState::wsNormal;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    bool FKeyPreview = false;
    std::uint32_t FExtraExStyle = 0;
    TWinControl* FActiveControl = nullptr;
    int FDesignWidth = 0, FDesignHeight = 0;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
};

// A form whose layout may come from a description: descendants call LoadDescription in
// their constructor with the name of their built-in description.
class TForm : public TCustomForm {
    RT_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner);

protected:
    void LoadDescription(const std::string& resourceName);
};

// A page component that can give the input focus to its form while that form is up.
class IFocusTarget {
public:
    virtual ~IFocusTarget() = default;
    virtual void FocusTarget() = 0;
};

// The backend realises the model. Every call concerns a control already in the model; the
// model calls Realize before a form is first shown and Unrealize when it goes away.
class IWidgetBackend {
public:
    virtual ~IWidgetBackend() = default;

    virtual void Realize(TCustomForm& form) = 0;
    virtual void Unrealize(TControl& control) = 0;
    virtual void Changed(TControl& control, TControlChange what) = 0;
    virtual void Invalidate(TControl& control) = 0;
    virtual void PaintNow(TCustomForm& form) = 0;
    virtual void SetFocus(TWinControl& control) = 0;
    virtual void BringToFront(TCustomForm& form) = 0;

    // Runs the nested loop of a modal form until its ModalResult is set.
    virtual TModalResult RunModal(TCustomForm& form) = 0;
    // Dispatches every pending message and returns.
    virtual void ProcessMessages() = 0;
    // Waits for a message and dispatches it; false once the application should quit.
    virtual bool HandleMessage() = 0;
    virtual void PostQuit() = 0;
    // Restores the application from the task bar.
    virtual void RestoreApplication() = 0;

    // Text metrics in pixels for a font: one line's height and a string's width.
    virtual int TextHeight(const TFont& font) = 0;
    virtual int TextWidth(const TFont& font, const std::string& text) = 0;
    // The size of text drawn word-wrapped inside maxWidth pixels, tabs expanded.
    virtual void WrappedTextExtent(const TFont& font, const std::string& text, int maxWidth, int& width, int& height);
    // The font the system uses for message boxes.
    virtual void GetMessageFont(TFont& font);
    // Minimises every window of the application.
    virtual void MinimizeApplication() {}
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    // The height of a window's caption bar.
    virtual int CaptionHeight() { return 19; }
};

// Watches every modal form: an unattended run answers forms instead of a person, and a
// recording run reads off the answers the person gave.
class IModalWatcher {
public:
    virtual ~IModalWatcher() = default;
    // Called once the form is up; a result other than mrNone ends the form without its loop.
    virtual TModalResult Answer(TCustomForm& form) = 0;
    // Called while the form still holds what the user left in it.
    virtual void Closed(TCustomForm& form, TModalResult result) = 0;
};
IModalWatcher* ModalWatcher();
void SetModalWatcher(IModalWatcher* watcher);

// The backend in use; the application installs one at start, tests their own.
IWidgetBackend& Backend();
IWidgetBackend* TryBackend();
void SetBackend(IWidgetBackend* backend);

class TApplication : public TComponent {
    RT_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    TCustomForm* MainForm() const { return FMainForm; }

    void Initialize() {}
    // Creates a form owned by the application; the first becomes the main form.
    template <class F>
    F* CreateForm() {
        F* form = new F(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }

    // Shows the main form and dispatches messages until Terminate.
    void Run();
    void ProcessMessages();
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void Restore();
    void Minimize();
    void BringToFront();

    // Routes an exception that escaped an event to OnException, or shows it.
    void HandleException(const std::exception& e);
    TEvent<TObject* /*Sender*/, const std::exception& /*E*/> OnException;
    // Where HandleException reports an exception when no handler is assigned.
    std::function<void(const std::string&)> ShowException;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
};

// The one application object, created at start and freed at the end.
TApplication* Application();
void SetApplication(TApplication* app);

}  // namespace rt
