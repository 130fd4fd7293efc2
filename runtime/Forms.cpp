// Forms and the application object; see Forms.h.
#include "runtime/Forms.h"

#include <algorithm>
#include <cstdio>

#include "runtime/FormReader.h"
#include "runtime/Resources.h"

RT_DEFINE_ENUM(rt::TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
RT_DEFINE_ENUM(rt::TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
RT_DEFINE_ENUM(rt::TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
RT_DEFINE_ENUM(rt::TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
RT_DEFINE_ENUM(rt::TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

namespace rt {

namespace {
IWidgetBackend* gBackend = nullptr;
TApplication* gApplication = nullptr;
}  // namespace

IWidgetBackend& Backend() {
    if (!gBackend) throw Exception("No widget backend is installed");
    return *gBackend;
}
IWidgetBackend* TryBackend() { return gBackend; }

namespace {
IModalWatcher* gModalWatcher = nullptr;
}

IModalWatcher* ModalWatcher() { return gModalWatcher; }
void SetModalWatcher(IModalWatcher* watcher) { gModalWatcher = watcher; }

void IWidgetBackend::WrappedTextExtent(const TFont& font, const std::string& text, int maxWidth, int& width, int& height) {
    // Tab stops every eight average characters, as the system expands them.
    std::string expanded;
    for (char c : text) {
        if (c == '\t') expanded.append(8 - expanded.size() % 8, ' ');
        else expanded += c;
    }
    const auto lines = WrapText(*this, font, expanded, maxWidth);
    width = 0;
    for (const auto& line : lines) width = std::max(width, TextWidth(font, line));
    height = TextHeight(font) * static_cast<int>(lines.size());
}

void IWidgetBackend::GetMessageFont(TFont& font) {
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
}
void SetBackend(IWidgetBackend* backend) { gBackend = backend; }

TApplication* Application() { return gApplication; }
void SetApplication(TApplication* app) { gApplication = app; }

// ---- TCustomForm ----

const TClassInfo& TCustomForm::StaticClass() {
    static const TClassInfo info{
        "TCustomForm", &TWinControl::StaticClass(), {},
        {AccessorProperty("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
         AccessorProperty("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
         AccessorProperty("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle),
         AccessorProperty("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons),
         AccessorProperty("Position", &TCustomForm::Position, &TCustomForm::SetPosition),
         AccessorProperty("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState),
         AccessorProperty("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle),
         AccessorProperty("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
         AccessorProperty("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl),
         Property("OnCreate", &TCustomForm::OnCreate), Property("OnShow", &TCustomForm::OnShow),
         Property("OnHide", &TCustomForm::OnHide), Property("OnActivate", &TCustomForm::OnActivate),
         Property("OnDeactivate", &TCustomForm::OnDeactivate), Property("OnDestroy", &TCustomForm::OnDestroy),
         Property("OnClose", &TCustomForm::OnClose), Property("OnCloseQuery", &TCustomForm::OnCloseQuery)},
        {}};
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    FClientWidth = 0;
    FClientHeight = 0;
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::BeforeDestruction() {
    if (!IsDestroying()) {
        OnDestroy(this);
        if (HandleAllocated())
            if (auto* b = TryBackend()) b->Unrealize(*this);
        SetHandle(0);
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::SetClientWidth(int v) {
    FClientWidth = v;
    TWinControl::SetBounds(Left(), Top(), v, Height());
}

void TCustomForm::SetClientHeight(int v) {
    FClientHeight = v;
    TWinControl::SetBounds(Left(), Top(), Width(), v);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    // The model keeps no frame: the outer size is the client size; the window backend adds
    // its frame around it.
    FClientWidth = width;
    FClientHeight = height;
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) { FBorderStyle = v; Changed(TControlChange::Appearance); }
void TCustomForm::SetBorderIcons(TBorderIcons v) { FBorderIcons = v; Changed(TControlChange::Appearance); }
void TCustomForm::SetPosition(TPosition v) { FPosition = v; }
void TCustomForm::SetFormStyle(TFormStyle v) { FFormStyle = v; Changed(TControlChange::Appearance); }

void TCustomForm::SetWindowState(TWindowState v) {
    if (v == FWindowState) return;
    FWindowState = v;
    Changed(TControlChange::Appearance);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (IsLoading() || !Visible() || !control || !control->CanFocus()) {
        FActiveControl = control;
        return;
    }
    control->SetFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (control == FActiveControl) return;
    TWinControl* old = FActiveControl;
    FActiveControl = control;
    if (IsLoading() || IsDestroying()) return;
    if (old) old->DoExit();
    // An exit handler may have moved the focus elsewhere already.
    if (control && FActiveControl == control) control->DoEnter();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FActiveControl) FActiveControl = nullptr;
}

TWinControl* TCustomForm::FirstFocusable() const {
    const auto list = TabList();
    return list.empty() ? nullptr : list.front();
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
    const auto list = TabList();
    if (list.empty()) return;
    const auto it = std::find(list.begin(), list.end(), current);
    const int n = static_cast<int>(list.size());
    int next = 0;
    if (it != list.end()) {
        const int at = static_cast<int>(it - list.begin());
        next = forward ? (at + 1) % n : (at + n - 1) % n;
    } else if (!forward) {
        next = n - 1;
    }
    list[static_cast<std::size_t>(next)]->SetFocus();
}

bool TCustomForm::DispatchKeyDown(TWinControl& target, std::uint16_t& key, TShiftState shift) {
    if (FKeyPreview && &target != this) {
        KeyDown(key, shift);
        if (key == 0) return true;
    }
    target.KeyDown(key, shift);
    if (key == 0) return true;
    const TWantKeys wants = target.WantKeys();
    const bool ctrlOrAlt = shift.Contains(TShiftStateFlag::ssCtrl) || shift.Contains(TShiftStateFlag::ssAlt);
    if (key == vkTab && !ctrlOrAlt && !wants.Contains(TWantKey::wkTab)) {
        SelectNext(&target == this ? nullptr : &target, !shift.Contains(TShiftStateFlag::ssShift));
        return true;
    }
    if ((key == vkReturn && !wants.Contains(TWantKey::wkReturn)) || (key == vkEscape && !wants.Contains(TWantKey::wkEscape)))
        return DialogKey(key, shift);
    return false;
}

bool TCustomForm::DispatchKeyPress(TWinControl& target, char32_t& key) {
    if (FKeyPreview && &target != this) {
        KeyPress(key);
        if (key == 0) return true;
    }
    target.KeyPress(key);
    return key == 0;
}

bool TCustomForm::DispatchKeyUp(TWinControl& target, std::uint16_t& key, TShiftState shift) {
    if (FKeyPreview && &target != this) {
        KeyUp(key, shift);
        if (key == 0) return true;
    }
    target.KeyUp(key, shift);
    return key == 0;
}

void TCustomForm::SetVisible(bool v) {
    if (v == Visible()) return;
    if (v) {
        if (IsLoading()) {
            TWinControl::SetVisible(true);
            return;
        }
        if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter) {
            if (auto* b = TryBackend())
                TWinControl::SetBounds((b->ScreenWidth() - Width()) / 2, (b->ScreenHeight() - Height()) / 2, Width(), Height());
        }
        if (!HandleAllocated()) Backend().Realize(*this);
        DoShow();
        TWinControl::SetVisible(true);
        // The focus goes where the description put it, else to the first control of the tab list.
        if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
        else if (TWinControl* first = FirstFocusable()) first->SetFocus();
    } else {
        TWinControl::SetVisible(false);
        OnHide(this);
        if (FActive) Deactivate();
    }
}

void TCustomForm::DoShow() { OnShow(this); }

void TCustomForm::SetExtraExStyle(std::uint32_t bits) {
    if (bits == FExtraExStyle) return;
    FExtraExStyle = bits;
    Changed(TControlChange::Appearance);
}

void TCustomForm::ShowForm() {
    SetVisible(true);
    if (HandleAllocated()) Backend().BringToFront(*this);
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || FModal) throw EComponentError("Cannot make a visible window modal");
    FModal = true;
    FModalResult = mrNone;
    TModalResult result = mrNone;
    try {
        ShowForm();
        if (gModalWatcher) result = gModalWatcher->Answer(*this);
        if (result == mrNone) result = Backend().RunModal(*this);
        if (gModalWatcher) gModalWatcher->Closed(*this, result);
    } catch (...) {
        FModal = false;
        SetVisible(false);
        throw;
    }
    FModal = false;
    SetVisible(false);
    return result;
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (FModal) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        return;
    }
    if (Application() && Application()->MainForm() == this) {
        Application()->Terminate();
        return;
    }
    if (action == TCloseAction::caMinimize) SetWindowState(TWindowState::wsMinimized);
    else SetVisible(false);
}

void TCustomForm::Update() {
    if (HandleAllocated()) Backend().PaintNow(*this);
}

void TCustomForm::BackendResized(int clientWidth, int clientHeight) {
    if (clientWidth == FClientWidth && clientHeight == FClientHeight) return;
    FClientWidth = clientWidth;
    FClientHeight = clientHeight;
    FWidth = clientWidth;
    FHeight = clientHeight;
    Realign();
}

void TCustomForm::Activate() {
    FActive = true;
    OnActivate(this);
}

void TCustomForm::Deactivate() {
    FActive = false;
    OnDeactivate(this);
}

bool TCustomForm::WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    switch (message) {
    case WM_CLOSE:
        Close();
        result = 0;
        return true;
    case WM_ACTIVATE:
        if ((wParam & 0xFFFF) != 0) Activate();
        else Deactivate();
        result = 0;
        return true;
    default:
        return TWinControl::WndProc(message, wParam, lParam, result);
    }
}

void TCustomForm::DoCreate() { OnCreate(this); }

// ---- TForm ----

const TClassInfo& TForm::StaticClass() {
    static const TClassInfo info{"TForm", &TCustomForm::StaticClass(), Factory<TForm>(), {}, {}};
    return info;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

void TForm::LoadDescription(const std::string& resourceName) {
    if (!ResourceExists(resourceName)) throw EReadError(0, "no built-in description " + resourceName);
    ReadRootComponent(FindResource(resourceName), *this);
}

// ---- TApplication ----

const TClassInfo& TApplication::StaticClass() {
    static const TClassInfo info{"TApplication", &TComponent::StaticClass(), {}, {}, {}};
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    ShowException = [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); };
}

TApplication::~TApplication() {
    DestroyComponents();
    if (gApplication == this) gApplication = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
    if (FMainForm) {
        try {
            FMainForm->ShowForm();
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
    while (!FTerminated) {
        try {
            if (!Backend().HandleMessage()) break;
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
}

void TApplication::ProcessMessages() { Backend().ProcessMessages(); }

void TApplication::HandleMessage() {
    if (!Backend().HandleMessage()) FTerminated = true;
}

void TApplication::Terminate() {
    FTerminated = true;
    if (auto* b = TryBackend()) b->PostQuit();
}

void TApplication::Restore() {
    if (auto* b = TryBackend()) b->RestoreApplication();
}

void TApplication::Minimize() {
    if (auto* b = TryBackend()) b->MinimizeApplication();
}

void TApplication::BringToFront() {
    if (FMainForm && FMainForm->HandleAllocated()) Backend().BringToFront(*FMainForm);
}

void TApplication::HandleException(const std::exception& e) {
    if (dynamic_cast<const EAbort*>(&e)) return;
    if (OnException) OnException(this, e);
    else if (ShowException) ShowException(e.what());
}

}  // namespace rt
