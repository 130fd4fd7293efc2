// The Windows widget backend; see Win32Backend.h.
// Forms become top-level windows whose window procedure hands messages to the model;
// controls become child windows (Win32Controls.cpp); controls without a window of their own
// are painted on their parent (Win32Painting.cpp). Keys pass through the model's routing
// before any system control sees them.

#include "runtime/win32/Win32Backend.h"

#include "runtime/win32/Win32Internal.h"

#include "platform/win32/SystemLibraries.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

namespace rt {

using namespace w32;

namespace {

// ---- colours, styles ----

struct WindowStyles {
    DWORD Style = 0;
    DWORD ExStyle = 0;
};

WindowStyles StylesOf(const TCustomForm& form) {
    WindowStyles s;
    s.Style = WS_CLIPCHILDREN;
    bool caption = true, minMax = true;
    switch (form.BorderStyle()) {
    case TFormBorderStyle::bsNone: s.Style |= WS_POPUP; caption = false; break;
    case TFormBorderStyle::bsSingle: s.Style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: s.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog: s.Style |= WS_CAPTION; s.ExStyle |= WS_EX_DLGMODALFRAME; minMax = false; break;
    case TFormBorderStyle::bsToolWindow: s.Style |= WS_CAPTION; s.ExStyle |= WS_EX_TOOLWINDOW; minMax = false; break;
    case TFormBorderStyle::bsSizeToolWin:
        s.Style |= WS_CAPTION | WS_THICKFRAME;
        s.ExStyle |= WS_EX_TOOLWINDOW;
        minMax = false;
        break;
    }
    const TBorderIcons icons = form.BorderIcons();
    if (caption && icons.Contains(TBorderIcon::biSystemMenu)) {
        s.Style |= WS_SYSMENU;
        if (minMax && icons.Contains(TBorderIcon::biMinimize)) s.Style |= WS_MINIMIZEBOX;
        if (minMax && icons.Contains(TBorderIcon::biMaximize)) s.Style |= WS_MAXIMIZEBOX;
        if (form.BorderStyle() == TFormBorderStyle::bsDialog && icons.Contains(TBorderIcon::biHelp))
            s.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (form.FormStyle() == TFormStyle::fsStayOnTop) s.ExStyle |= WS_EX_TOPMOST;
    // A right-to-left form: right alignment, right-to-left reading, scroll bar on the left.
    if (form.UseRightToLeftReading()) s.ExStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    s.ExStyle |= form.ExtraExStyle();
    return s;
}

// The outer window size for the model's client size.
SIZE FrameSize(const TCustomForm& form, DWORD style, DWORD exStyle) {
    RECT r{0, 0, form.ClientWidth(), form.ClientHeight()};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int ShowCommand(const TCustomForm& form) {
    switch (form.WindowState()) {
    case TWindowState::wsMaximized: return SW_SHOWMAXIMIZED;
    case TWindowState::wsMinimized: return SW_SHOWMINIMIZED;
    default: return SW_SHOWNORMAL;
    }
}

// Activation reaches the model through this posted message, as the headless backend does:
// showing a form completes (and OnShow runs) before the form hears it is active.
UINT SyncActivationMessage() {
    static const UINT message = RegisterWindowMessageW(L"Brevanshaw.Runtime.SyncActivation");
    return message;
}

// A window that stays hidden is never activated by the system; the model still needs its
// activation, which starts what a form does when it first comes up.
UINT HiddenActivationMessage() {
    static const UINT message = RegisterWindowMessageW(L"Brevanshaw.Runtime.HiddenActivation");
    return message;
}

// Keys the model routes; other messages go their usual way.
bool IsKeyMessage(UINT msg) { return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR; }

TShiftState CurrentShift() {
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(TShiftStateFlag::ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(TShiftStateFlag::ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(TShiftStateFlag::ssAlt);
    return shift;
}

BOOL CALLBACK FirstIconName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* out = reinterpret_cast<std::wstring*>(param);
    // Resource names are either numbers or strings; keep the number form where there is one.
    if (IS_INTRESOURCE(name)) *out = L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    else *out = name;
    return FALSE;
}

}  // namespace

TWin32Backend::Impl::Impl() {
    // The common controls register their window classes once.
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES |
                ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS;
    if (const auto init = os::win32::CommonControls().InitCommonControlsEx) init(&icc);
    Families.push_back(MakeStandardFamily(*this));
    Families.push_back(MakeCommonFamily(*this));
    Families.push_back(MakeContainerFamily(*this));
}

TWin32Backend::Impl::~Impl() {
    if (Shell) FreeLibrary(Shell);
}

HBRUSH TWin32Backend::Impl::BrushFor(TColor color) {
    const COLORREF c = ToColorRef(color);
    auto it = Brushes.find(c);
    if (it != Brushes.end()) return it->second.get();
    HBRUSH brush = CreateSolidBrush(c);
    Brushes.emplace(c, GdiPtr<HBRUSH>(brush));
    return brush;
}

namespace {

// The system's pointer shape for a model cursor.
LPCWSTR SystemCursor(TCursor cursor) {
    switch (cursor) {
    case crCross: return MAKEINTRESOURCEW(32515);
    case crIBeam: return MAKEINTRESOURCEW(32513);
    case crHourGlass: return MAKEINTRESOURCEW(32514);
    case crNo: return MAKEINTRESOURCEW(32648);
    case crAppStart: return MAKEINTRESOURCEW(32650);
    case crHandPoint: return MAKEINTRESOURCEW(32649);
    default: return MAKEINTRESOURCEW(32512);
    }
}

}  // namespace

bool TWin32Backend::Impl::SetModelCursor(HWND hwnd, TWinControl& owner, WPARAM wParam, LPARAM lParam) {
    // A child window answers for itself; only the client area takes the model's shape.
    if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT) return false;
    TCursor cursor = crDefault;
    POINT p;
    if (GetCursorPos(&p) && ScreenToClient(hwnd, &p))
        if (TControl* graphic = GraphicControlAt(owner, p.x, p.y)) cursor = graphic->Cursor();
    if (cursor == crDefault) cursor = owner.Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(LoadCursorW(nullptr, SystemCursor(cursor)));
    return true;
}

void TWin32Backend::Impl::RefreshCursor(HWND hwnd) {
    // The system asks again only when the mouse moves; a long step under the hourglass
    // would otherwise show it only to a user who moves the mouse.
    POINT p;
    if (!hwnd || !GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    if (under == hwnd || IsChild(hwnd, under))
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

TWinControl* TWin32Backend::Impl::ControlOfWindow(HWND hwnd) {
    // The window itself or the nearest one above it that the model knows (the edit inside a
    // combo box, a radio group's buttons).
    for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
        if (ChildRecord* r = RecordOf(h)) return r->Control;
        auto it = Windows.find(h);
        if (it != Windows.end()) return it->second->Form;
    }
    return nullptr;
}

bool TWin32Backend::Impl::RouteKey(MSG& msg) {
    if (!IsKeyMessage(msg.message)) return false;
    TWinControl* target = ControlOfWindow(msg.hwnd);
    if (!target) return false;
    TCustomForm* form = dynamic_cast<TCustomForm*>(target);
    if (!form) form = target->ParentForm();
    if (!form) return false;
    const TShiftState shift = CurrentShift();
    if (msg.message == WM_CHAR) {
        char32_t key = char32_t(msg.wParam);
        if (form->DispatchKeyPress(*target, key)) return true;
        msg.wParam = WPARAM(key);
        return false;
    }
    std::uint16_t key = std::uint16_t(msg.wParam);
    const bool consumed = msg.message == WM_KEYDOWN ? form->DispatchKeyDown(*target, key, shift)
                                                    : form->DispatchKeyUp(*target, key, shift);
    if (consumed && msg.message == WM_KEYDOWN) {
        // The character of a consumed stroke is dropped (posted input carries one already).
        MSG pending;
        PeekMessageW(&pending, msg.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    if (!consumed) msg.wParam = WPARAM(key);
    return consumed;
}

HICON TWin32Backend::Impl::ProgramIcon() {
    std::wstring name;
    EnumResourceNamesW(Instance, MAKEINTRESOURCEW(14) /* group icons */, FirstIconName, reinterpret_cast<LONG_PTR>(&name));
    HICON icon = name.empty() ? nullptr : LoadIconW(Instance, name.c_str());
    return icon ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* application */);
}

void TWin32Backend::Impl::RegisterFormClass(const std::wstring& name) {
    if (Classes.count(name)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Redraw entirely on resize: labels may be centred or right-aligned.
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &Impl::WindowProc;
    wc.hInstance = Instance;
    wc.hIcon = ProgramIcon();
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* arrow */);
    wc.hbrBackground = nullptr;  // WM_ERASEBKGND paints the form's colour
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register the window class " + Utf16ToUtf8(std::u16string(name.begin(), name.end())));
    Classes.insert(name);
}

HFONT TWin32Backend::Impl::FontFor(const TFont& font) {
    FontKey key{font.Name(), font.Height(), font.Style().Bits(), font.Charset()};
    auto it = Fonts.find(key);
    if (it != Fonts.end()) return it->second.get();
    LOGFONTW lf{};
    lf.lfHeight = font.Height();
    lf.lfWeight = font.Style().Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Style().Contains(TFontStyle::fsItalic);
    lf.lfUnderline = font.Style().Contains(TFontStyle::fsUnderline);
    lf.lfStrikeOut = font.Style().Contains(TFontStyle::fsStrikeOut);
    lf.lfCharSet = BYTE(font.Charset());
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = Wide(font.Name()).substr(0, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    HFONT handle = CreateFontIndirectW(&lf);
    if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else Fonts.emplace(key, GdiPtr<HFONT>(handle));
    return handle;
}

void TWin32Backend::Impl::RethrowPending() {
    if (!Pending) return;
    std::exception_ptr e = Pending;
    Pending = nullptr;
    std::rethrow_exception(e);
}

void TWin32Backend::Impl::Dispatch(MSG& msg) {
    bool consumed = false;
    try {
        consumed = RouteKey(msg);
    } catch (const std::exception& e) {
        consumed = true;
        if (TApplication* app = Application()) app->HandleException(e);
        else Pending = std::current_exception();
    }
    if (!consumed) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    RethrowPending();
}

LRESULT CALLBACK TWin32Backend::Impl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* record = reinterpret_cast<WindowRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!record) return DefWindowProcW(hwnd, msg, wParam, lParam);
    Impl* self = record->Owner;
    // Exceptions must not unwind through the system's frames.
    try {
        return self->Handle(hwnd, msg, wParam, lParam, *record);
    } catch (const std::exception& e) {
        if (TApplication* app = Application()) app->HandleException(e);
        else self->Pending = std::current_exception();
    } catch (...) {
        self->Pending = std::current_exception();
    }
    return 0;
}

LRESULT TWin32Backend::Impl::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WindowRecord& record) {
    TCustomForm& form = *record.Form;
    switch (msg) {
    case WM_NCDESTROY: {
        // Destroyed without Unrealize: the model must not keep a dead handle.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (form.Handle() == reinterpret_cast<std::uintptr_t>(hwnd)) form.SetHandle(0);
        Windows.erase(hwnd);  // frees the record; touch neither it nor the form below
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) form.BackendResized(LOWORD(lParam), HIWORD(lParam));
        SyncWindowState(form, hwnd, wParam);
        return 0;
    case WM_ACTIVATE:
        PostMessageW(hwnd, SyncActivationMessage(), wParam, lParam);
        return DefWindowProcW(hwnd, msg, wParam, lParam);  // gives the window the keyboard focus
    case WM_CLOSE:
        // The model decides: hide, end a modal loop, or end the application.
        form.Perform(WM_CLOSE, wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillColor(reinterpret_cast<HDC>(wParam), r, form.Color());
        return 1;
    }
    case WM_PAINT: {
        PaintDC dc(hwnd);
        Paint(dc.get(), form, dc.Area(), true);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT r;
        GetClientRect(hwnd, &r);
        Paint(reinterpret_cast<HDC>(wParam), form, r, true);
        PrintChildWindows(reinterpret_cast<HDC>(wParam), hwnd);
        return 0;
    }
    case WM_SETFOCUS:
        // The window got the focus back (activation): it goes on to the focused control.
        if (TWinControl* active = form.ActiveControl(); active && active->HandleAllocated() && active->CanFocus()) {
            FocusChild(*active);
            return 0;
        }
        break;
    case WM_QUERYNEWPALETTE:
        return RealizeFormPalette(hwnd, form, false);
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != hwnd) {
            RealizeFormPalette(hwnd, form, true);
            form.PaletteChanged();
        }
        return 0;
    case WM_SETCURSOR:
        if (SetModelCursor(hwnd, form, wParam, lParam)) return TRUE;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        TControl* pressed = record.Pressed;
        const bool handled = MouseMessage(hwnd, form, msg, lParam, pressed);
        // The form may be gone once the click has run.
        if (auto it = Windows.find(hwnd); it != Windows.end()) it->second->Pressed = pressed;
        if (handled) return 0;
        break;
    }
    default: {
        LRESULT result = 0;
        if (ParentMessage(hwnd, msg, wParam, lParam, result)) return result;
        break;
    }
    }
    if (msg == HiddenActivationMessage()) {
        if (form.Visible() && !form.Active()) form.Perform(WM_ACTIVATE, WA_ACTIVE, 0);
        return 0;
    }
    if (msg == SyncActivationMessage()) {
        // Deliver only what is still true once the message arrives.
        const bool activating = LOWORD(wParam) != WA_INACTIVE;
        const bool isActive = GetActiveWindow() == hwnd;
        if (activating == isActive && activating != form.Active() && (!activating || form.Visible()))
            form.Perform(WM_ACTIVATE, wParam, lParam);
        return 0;
    }
    std::intptr_t result = 0;
    if (form.WndProc(msg, wParam, lParam, result)) return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void TWin32Backend::Impl::SyncWindowState(TCustomForm& form, HWND hwnd, WPARAM sizeKind) {
    // The user maximised, minimised or restored the window: the model follows. Sizes sent
    // while the window is created or while we change it ourselves say nothing new.
    if (Applying || !IsWindowVisible(hwnd)) return;
    TWindowState state = TWindowState::wsNormal;
    if (sizeKind == SIZE_MAXIMIZED) state = TWindowState::wsMaximized;
    else if (sizeKind == SIZE_MINIMIZED) state = TWindowState::wsMinimized;
    else if (sizeKind != SIZE_RESTORED) return;
    if (state == form.WindowState()) return;
    ApplyingScope scope(Applying);
    form.SetWindowState(state);
}

LRESULT TWin32Backend::Impl::RealizeFormPalette(HWND hwnd, TCustomForm& form, bool background) {
    const TPicture* picture = form.PalettePicture();
    if (!picture) return 0;
    const std::vector<TColor> colours = picture->Palette();
    if (colours.empty()) return 0;
    std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
    log->palVersion = 0x300;
    log->palNumEntries = WORD(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i)
        log->palPalEntry[i] = PALETTEENTRY{BYTE(colours[i] & 0xFF), BYTE(colours[i] >> 8 & 0xFF), BYTE(colours[i] >> 16 & 0xFF), 0};
    GdiPtr<HPALETTE> palette(CreatePalette(log));
    if (!palette) return 0;
    WindowDC dc(hwnd);
    HPALETTE old = SelectPalette(dc.get(), palette.get(), background ? TRUE : FALSE);
    const UINT changed = RealizePalette(dc.get());
    SelectPalette(dc.get(), old, TRUE);
    // Colours moved in the system palette: draw again with the new mapping.
    if (changed) InvalidateRect(hwnd, nullptr, TRUE);
    return changed;
}

void TWin32Backend::Impl::KeepTopmostOnTop(HWND shown) {
    // Under Wine the X server stacks a window shown or raised later above older always-on-top
    // ones, and raising a window already first in the z-order does not reach X. Taking each
    // back from topmost and making it topmost again, lowest first, moves it in both.
    if (GetWindowLongPtrW(shown, GWL_EXSTYLE) & WS_EX_TOPMOST) return;
    std::vector<HWND> topmost;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) break;
        if (IsWindowVisible(h) && Windows.count(h)) topmost.push_back(h);
    }
    for (auto it = topmost.rbegin(); it != topmost.rend(); ++it) {
        SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TWin32Backend::Impl::ApplyBounds(TCustomForm& form, HWND hwnd) {
    const WindowStyles s{DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)), DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE))};
    const SIZE outer = FrameSize(form, s.Style, s.ExStyle);
    ApplyingScope scope(Applying);
    if (IsZoomed(hwnd) || IsIconic(hwnd)) {
        // Keep the state; the bounds apply once the window is restored.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd, &wp);
        wp.rcNormalPosition = RECT{form.Left(), form.Top(), form.Left() + outer.cx, form.Top() + outer.cy};
        SetWindowPlacement(hwnd, &wp);
        return;
    }
    SetWindowPos(hwnd, nullptr, form.Left(), form.Top(), outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Backend::Impl::ShowState(TCustomForm& form, HWND hwnd) {
    if (Hidden) return;
    const bool wantZoomed = form.WindowState() == TWindowState::wsMaximized;
    const bool wantIconic = form.WindowState() == TWindowState::wsMinimized;
    if (bool(IsZoomed(hwnd)) == wantZoomed && bool(IsIconic(hwnd)) == wantIconic) return;
    ApplyingScope scope(Applying);
    ShowWindow(hwnd, wantZoomed ? SW_MAXIMIZE : wantIconic ? SW_MINIMIZE : SW_RESTORE);
}

void TWin32Backend::Impl::ApplyAppearance(TCustomForm& form, HWND hwnd) {
    const WindowStyles want = StylesOf(form);
    const DWORD kept = WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE;
    const DWORD oldStyle = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD oldEx = DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    const DWORD style = (want.Style & ~kept) | (oldStyle & kept);
    // Topmost is changed through the z-order, never through the style bits.
    const DWORD ex = (want.ExStyle & ~DWORD(WS_EX_TOPMOST)) | (oldEx & WS_EX_TOPMOST);
    {
        ApplyingScope scope(Applying);
        if (style != oldStyle) SetWindowLongPtrW(hwnd, GWL_STYLE, LONG_PTR(style));
        if (ex != oldEx) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, LONG_PTR(ex));
        const bool topmost = (want.ExStyle & WS_EX_TOPMOST) != 0;
        const bool sized = !IsZoomed(hwnd) && !IsIconic(hwnd);
        const SIZE outer = FrameSize(form, style, ex);
        SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | (sized ? 0 : SWP_NOSIZE));
    }
    if (IsWindowVisible(hwnd)) ShowState(form, hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// ---- TWin32Backend ----

TWin32Backend::TWin32Backend() : FImpl(std::make_unique<Impl>()) {}

TWin32Backend::~TWin32Backend() {
    // Windows outliving the backend fall back to default handling and leave the model.
    while (!FImpl->Windows.empty()) {
        auto it = FImpl->Windows.begin();
        HWND hwnd = it->first;
        TCustomForm* form = it->second->Form;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->SetHandle(0);
        FImpl->Windows.erase(it);
        DestroyWindow(hwnd);
    }
}

void TWin32Backend::Realize(TCustomForm& form) {
    if (form.HandleAllocated()) return;
    const std::wstring className = Wide(form.ClassName());
    FImpl->RegisterFormClass(className);
    const WindowStyles s = StylesOf(form);
    const SIZE outer = FrameSize(form, s.Style, s.ExStyle);
    int x = form.Left(), y = form.Top();
    if (form.Position() == TPosition::poScreenCenter || form.Position() == TPosition::poDesktopCenter) {
        // Centre the whole window, frame included; the model centred only the client size.
        x = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
    }
    auto record = std::make_unique<Impl::WindowRecord>(Impl::WindowRecord{FImpl.get(), &form});
    HWND hwnd = CreateWindowExW(s.ExStyle, className.c_str(), Wide(form.Caption()).c_str(), s.Style, x, y, outer.cx,
                                outer.cy, nullptr, nullptr, FImpl->Instance, record.get());
    if (!hwnd) {
        FImpl->RethrowPending();
        throw Exception("Cannot create the window " + form.ClassName() + " (error " +
                        IntToStr(std::int64_t(GetLastError())) + ")");
    }
    FImpl->Windows[hwnd] = std::move(record);
    form.SetHandle(reinterpret_cast<std::uintptr_t>(hwnd));
    FImpl->RethrowPending();
    FImpl->CreateChildren(form);
    FImpl->RethrowPending();
}

void TWin32Backend::Unrealize(TControl& control) {
    // Decided by the window, not the class: a control in its destructor is no longer its class.
    if (HWND hwnd = HwndOf(control); hwnd && FImpl->Children.count(hwnd)) {
        FImpl->DestroyChildWindow(hwnd);
        control.SetHandle(0);
        return;
    }
    HWND hwnd = HwndOf(control);
    control.SetHandle(0);
    if (!hwnd) return;
    auto it = FImpl->Windows.find(hwnd);
    if (it == FImpl->Windows.end()) return;
    // Cut the window off from the model first: destruction sends messages of its own.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    FImpl->Windows.erase(it);
    DestroyWindow(hwnd);
}

void TWin32Backend::Changed(TControl& control, TControlChange what) {
    if (auto* form = dynamic_cast<TCustomForm*>(&control)) {
        HWND hwnd = HwndOf(*form);
        if (!hwnd) return;
        switch (what) {
        case TControlChange::Visible:
            if (form->Visible() && FImpl->Hidden) {
                PostMessageW(hwnd, HiddenActivationMessage(), 0, 0);
                break;
            }
            if (form->Visible()) {
                ApplyingScope scope(FImpl->Applying);
                ShowWindow(hwnd, ShowCommand(*form));
                FImpl->KeepTopmostOnTop(hwnd);
            } else {
                ShowWindow(hwnd, SW_HIDE);
            }
            break;
        case TControlChange::Caption: SetWindowTextW(hwnd, Wide(form->Caption()).c_str()); break;
        case TControlChange::Bounds: FImpl->ApplyBounds(*form, hwnd); break;
        case TControlChange::Enabled: EnableWindow(hwnd, form->Enabled()); break;
        case TControlChange::Appearance:
            // A state the window reported itself needs nothing done.
            if (!FImpl->Applying) FImpl->ApplyAppearance(*form, hwnd);
            break;
        case TControlChange::ZOrder:
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case TControlChange::Font:
        case TControlChange::Color:
        case TControlChange::Items:
        case TControlChange::State: InvalidateRect(hwnd, nullptr, TRUE); break;
        case TControlChange::Cursor: FImpl->RefreshCursor(hwnd); break;
        case TControlChange::Parent: break;
        }
        return;
    }
    FImpl->ChildChanged(control, what);
}

void TWin32Backend::Invalidate(TControl& control) {
    if (auto* form = dynamic_cast<TCustomForm*>(&control)) {
        if (form->HandleAllocated()) InvalidateRect(HwndOf(*form), nullptr, FALSE);
        return;
    }
    FImpl->ChildChanged(control, TControlChange::Appearance);
}

void TWin32Backend::PaintNow(TCustomForm& form) {
    if (HWND hwnd = HwndOf(form)) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWin32Backend::SetFocus(TWinControl& control) {
    if (dynamic_cast<TCustomForm*>(&control)) {
        if (HWND hwnd = HwndOf(control)) ::SetFocus(hwnd);
        return;
    }
    FImpl->FocusChild(control);
}

HWND TWin32Backend::Impl::FrontWindowOf(HWND hwnd) const {
    // Activating a window that waits on another hides the question behind a window that
    // takes no input. A window that takes input (a question being shown) comes up itself;
    // one that waits brings up the innermost modal form, else a system box it owns.
    if (IsWindowEnabled(hwnd)) return hwnd;
    for (auto it = Modal.rbegin(); it != Modal.rend(); ++it)
        if (*it != hwnd && IsWindowVisible(*it) && IsWindowEnabled(*it)) return *it;
    HWND popup = GetLastActivePopup(hwnd);
    if (popup && popup != hwnd && IsWindowVisible(popup) && IsWindowEnabled(popup)) return popup;
    // A modeless window that holds the others (the copy window), the highest of ours.
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h != hwnd && Windows.count(h) && IsWindowVisible(h) && IsWindowEnabled(h)) return h;
    return hwnd;
}

void TWin32Backend::SetWindowsHidden(bool hidden) { FImpl->Hidden = hidden; }

void TWin32Backend::BringToFront(TCustomForm& form) {
    HWND hwnd = HwndOf(form);
    if (!hwnd || FImpl->Hidden) return;
    // Asked before raising: activating the window would make it its own last active popup.
    HWND front = FImpl->FrontWindowOf(hwnd);
    if (front == hwnd) {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else if (FImpl->Modal.empty() || FImpl->Modal.back() != front) {
        // An owned popup stays above its owner whatever is raised.
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        // A page or question is a window of its own: raising the window it stands over would
        // bury it, so only the question comes up.
        SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    SetForegroundWindow(front);
    FImpl->KeepTopmostOnTop(front);
}

namespace {

struct DisabledWindows {
    HWND Modal = nullptr;
    std::vector<HWND> List;
    ~DisabledWindows() {
        for (HWND h : List)
            if (IsWindow(h)) EnableWindow(h, TRUE);
    }
};

BOOL CALLBACK DisableOther(HWND hwnd, LPARAM param) {
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (hwnd != d->Modal && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        d->List.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

TModalResult TWin32Backend::RunModal(TCustomForm& form) {
    TModalResult result = mrNone;
    {
        // Re-enabled before the form hides, so the window under it becomes active again.
        DisabledWindows disabled;
        disabled.Modal = HwndOf(form);
        EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
        struct ModalEntry {
            std::vector<HWND>& Stack;
            ~ModalEntry() { Stack.pop_back(); }
        } entry{FImpl->Modal};
        FImpl->Modal.push_back(disabled.Modal);
        while ((result = form.ModalResult()) == mrNone) {
            if (!form.HandleAllocated()) {
                result = mrCancel;
                break;
            }
            MSG msg;
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The application is ending: the outer loop must see the quit as well.
                PostQuitMessage(int(msg.wParam));
                result = mrCancel;
                break;
            }
            if (got == -1) {
                result = mrCancel;
                break;
            }
            FImpl->Dispatch(msg);
        }
    }
    form.SetModalResult(result);
    return result;
}

void TWin32Backend::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return;
        }
        FImpl->Dispatch(msg);
    }
}

bool TWin32Backend::HandleMessage() {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) return false;
    FImpl->Dispatch(msg);
    return true;
}

void TWin32Backend::PostQuit() { PostQuitMessage(0); }

void TWin32Backend::RestoreApplication() {
    TApplication* app = Application();
    TCustomForm* main = app ? app->MainForm() : nullptr;
    HWND hwnd = main ? HwndOf(*main) : nullptr;
    if (!hwnd || FImpl->Hidden) return;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(FImpl->FrontWindowOf(hwnd));
}

void TWin32Backend::MinimizeApplication() {
    std::vector<HWND> shown;
    for (const auto& [hwnd, record] : FImpl->Windows)
        if (IsWindowVisible(hwnd)) shown.push_back(hwnd);
    for (HWND hwnd : shown) {
        EnableWindow(hwnd, TRUE);
        ShowWindow(hwnd, SW_MINIMIZE);
    }
}

void TWin32Backend::WrappedTextExtent(const TFont& font, const std::string& text, int maxWidth, int& width, int& height) {
    ScreenDC dc;
    Selection sel(dc.get(), FImpl->FontFor(font));
    const std::wstring wide = Wide(text);
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc.get(), wide.c_str(), int(wide.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

void TWin32Backend::GetMessageFont(TFont& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        IWidgetBackend::GetMessageFont(font);
        return;
    }
    font.SetName(Utf16ToUtf8(reinterpret_cast<const char16_t*>(metrics.lfMessageFont.lfFaceName)));
    font.SetHeight(metrics.lfMessageFont.lfHeight);
    font.SetCharset(metrics.lfMessageFont.lfCharSet);
}

int TWin32Backend::TextHeight(const TFont& font) {
    ScreenDC dc;
    Selection sel(dc.get(), FImpl->FontFor(font));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), L"Wg", 2, &size);
    return size.cy;
}

int TWin32Backend::TextWidth(const TFont& font, const std::string& text) {
    const std::wstring w = Wide(text);
    ScreenDC dc;
    Selection sel(dc.get(), FImpl->FontFor(font));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), w.c_str(), int(w.size()), &size);
    return size.cx;
}

int TWin32Backend::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int TWin32Backend::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int TWin32Backend::CaptionHeight() { return GetSystemMetrics(SM_CYCAPTION); }

void InstallWin32ExceptionBox(TApplication& app) {
    TApplication* a = &app;
    app.ShowException = [a](const std::string& message) {
        MessageBoxW(GetActiveWindow(), Wide(message).c_str(), Wide(a->Title()).c_str(),
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    };
}

}  // namespace rt
