// The Windows widget backend; see Win32Backend.h.
// Forms become top-level windows whose window procedure hands messages to the model;
// controls without a window of their own are painted on their form, double-buffered.

#include "runtime/win32/Win32Backend.h"

#include <windows.h>

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

namespace {

std::wstring Wide(std::string_view utf8) {
    const std::u16string u = Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

// ---- handles that release themselves ----

struct GdiDeleter {
    void operator()(void* object) const {
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    }
};
template <class H>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<H>, GdiDeleter>;

class ScreenDC {
public:
    ScreenDC() : FDC(GetDC(nullptr)) {}
    ~ScreenDC() { if (FDC) ReleaseDC(nullptr, FDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return FDC; }

private:
    HDC FDC;
};

class MemoryDC {
public:
    explicit MemoryDC(HDC like) : FDC(CreateCompatibleDC(like)) {}
    ~MemoryDC() { if (FDC) DeleteDC(FDC); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return FDC; }

private:
    HDC FDC;
};

class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : FHwnd(hwnd) { FDC = BeginPaint(hwnd, &FPS); }
    ~PaintDC() { EndPaint(FHwnd, &FPS); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return FDC; }
    const RECT& Area() const { return FPS.rcPaint; }

private:
    HWND FHwnd;
    PAINTSTRUCT FPS{};
    HDC FDC = nullptr;
};

// Selects an object into a DC for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : FDC(dc), FOld(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { if (FOld) SelectObject(FDC, FOld); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// Saves the DC's clipping and mapping for one scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : FDC(dc), FState(SaveDC(dc)) {}
    ~SavedDC() { if (FState) RestoreDC(FDC, FState); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC FDC;
    int FState;
};

// ---- colours, styles ----

COLORREF ToColorRef(TColor color) {
    if ((std::uint32_t(color) & 0xFF000000u) == 0x80000000u) return GetSysColor(int(color & 0xFF));
    return COLORREF(ColorToRGB(color) & 0xFFFFFF);
}

bool HasColor(TColor color) { return color != clNone && color != clDefault; }

void FillColor(HDC dc, const RECT& r, TColor color) {
    GdiPtr<HBRUSH> brush(CreateSolidBrush(ToColorRef(color)));
    FillRect(dc, &r, brush.get());
}

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

HWND HwndOf(const TControl& control) { return reinterpret_cast<HWND>(control.Handle()); }

// Where a windowless control sits in its form's client area.
RECT RectOnForm(const TControl& control) {
    int x = control.Left(), y = control.Top();
    for (const TControl* p = control.Parent(); p && p->Parent(); p = p->Parent()) {
        x += p->Left();
        y += p->Top();
    }
    return RECT{x, y, x + control.Width(), y + control.Height()};
}

// Activation reaches the model through this posted message, as the headless backend does:
// showing a form completes (and OnShow runs) before the form hears it is active.
UINT SyncActivationMessage() {
    static const UINT message = RegisterWindowMessageW(L"Brevanshaw.Runtime.SyncActivation");
    return message;
}

// ---- bitmaps ----

std::uint32_t Le32(const TBytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t Le16(const TBytes& b, std::size_t at) { return std::uint16_t(b[at] | b[at + 1] << 8); }

// A bitmap file's header and pixels, checked so GDI never reads past the bytes.
struct Dib {
    TBytes File;
    std::vector<std::uint8_t> Info;  // BITMAPINFO with its masks or palette
    std::size_t BitsOffset = 0;
    int Width = 0, Height = 0;
    const BITMAPINFO* Header() const { return reinterpret_cast<const BITMAPINFO*>(Info.data()); }
    const void* Bits() const { return File.data() + BitsOffset; }
};

bool LoadDib(TBytes file, Dib& dib) {
    const std::size_t size = file.size();
    if (size < 26 || file[0] != 'B' || file[1] != 'M') return false;
    const std::size_t offBits = Le32(file, 10);
    const std::size_t headerSize = Le32(file, 14);
    int width = 0, height = 0, bpp = 0;
    std::uint32_t compression = BI_RGB, sizeImage = 0;
    std::vector<std::uint8_t> info;
    if (headerSize == 12) {
        // The old core header: widen it, with its RGB triples as RGBQUADs.
        width = Le16(file, 18);
        height = Le16(file, 20);
        bpp = Le16(file, 24);
        // Writers often store only the colours used; GDI gets a full palette, padded with black.
        const std::size_t colours = bpp <= 8 ? std::size_t(1) << bpp : 0;
        const std::size_t stored = std::min(colours, offBits > 26 && offBits <= size ? (offBits - 26) / 3 : 0);
        info.assign(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD), 0);
        BITMAPINFOHEADER h{};
        h.biSize = sizeof h;
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bpp);
        h.biCompression = BI_RGB;
        std::memcpy(info.data(), &h, sizeof h);
        for (std::size_t i = 0; i < stored; ++i) {
            const std::uint8_t* t = &file[26 + i * 3];
            RGBQUAD q{t[0], t[1], t[2], 0};
            std::memcpy(info.data() + sizeof h + i * sizeof q, &q, sizeof q);
        }
    } else {
        if (headerSize < sizeof(BITMAPINFOHEADER) || 14 + headerSize > size || offBits < 14 + headerSize) return false;
        width = std::int32_t(Le32(file, 18));
        height = std::int32_t(Le32(file, 22));
        bpp = Le16(file, 28);
        compression = Le32(file, 30);
        sizeImage = Le32(file, 34);
        // Header, masks and palette all lie between the file header and the pixels.
        if (offBits > size) return false;
        info.assign(file.begin() + 14, file.begin() + std::ptrdiff_t(offBits));
        if (compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER) && info.size() < headerSize + 12)
            return false;
        // GDI reads the whole palette of a paletted picture.
        const std::uint32_t used = Le32(file, 46);
        const std::size_t colours = bpp <= 8 ? (used ? used : std::size_t(1) << bpp) : 0;
        if (info.size() < headerSize + colours * sizeof(RGBQUAD)) return false;
    }
    if (width <= 0 || height == 0 || width > 32767 || height > 32767 || height < -32767) return false;
    std::size_t needed = 0;
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
        const std::size_t stride = (std::size_t(width) * std::size_t(bpp) + 31) / 32 * 4;
        needed = stride * std::size_t(height < 0 ? -height : height);
    } else if (compression == BI_RLE8 || compression == BI_RLE4) {
        needed = sizeImage;
    } else {
        return false;
    }
    if (offBits > size || needed > size - offBits) return false;
    dib.File = std::move(file);
    dib.Info = std::move(info);
    dib.BitsOffset = offBits;
    dib.Width = width;
    dib.Height = height < 0 ? -height : height;
    return true;
}

}  // namespace

// ---- the backend's state ----

struct TWin32Backend::Impl {
    // What a window's user data points at: the form it realises.
    struct WindowRecord {
        Impl* Owner;
        TCustomForm* Form;
    };

    using FontKey = std::tuple<std::string, int, std::uint64_t, int>;

    HINSTANCE Instance = GetModuleHandleW(nullptr);
    std::set<std::wstring> Classes;
    std::map<HWND, std::unique_ptr<WindowRecord>> Windows;
    std::map<FontKey, GdiPtr<HFONT>> Fonts;
    // Set while the backend itself changes a window's state, so WM_SIZE does not copy the
    // half-done state back into the model.
    int Applying = 0;
    // An exception raised in a handler with no application to show it; rethrown by the
    // loop that dispatched the message.
    std::exception_ptr Pending;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WindowRecord& record);

    void RegisterFormClass(const std::wstring& name);
    HICON ProgramIcon();
    HFONT FontFor(const TFont& font);
    void Dispatch(MSG& msg);
    void RethrowPending();

    void KeepTopmostOnTop(HWND shown);
    void ApplyBounds(TCustomForm& form, HWND hwnd);
    void ApplyAppearance(TCustomForm& form, HWND hwnd);
    void ShowState(TCustomForm& form, HWND hwnd);
    void SyncWindowState(TCustomForm& form, HWND hwnd, WPARAM sizeKind);

    void Paint(HDC dc, TCustomForm& form, const RECT& area);
    void PaintChildren(HDC dc, TWinControl& parent, int dx, int dy, const RECT& area);
    void PaintLabel(HDC dc, TLabel& label, const RECT& r);
    void PaintImage(HDC dc, TImage& image, const RECT& r);
};

namespace {

struct ApplyingScope {
    explicit ApplyingScope(int& counter) : FCounter(counter) { ++FCounter; }
    ~ApplyingScope() { --FCounter; }
    ApplyingScope(const ApplyingScope&) = delete;
    ApplyingScope& operator=(const ApplyingScope&) = delete;
    int& FCounter;
};

BOOL CALLBACK FirstIconName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* out = reinterpret_cast<std::wstring*>(param);
    // Resource names are either numbers or strings; keep the number form where there is one.
    if (IS_INTRESOURCE(name)) *out = L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    else *out = name;
    return FALSE;
}

}  // namespace

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
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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
        Paint(dc.get(), form, dc.Area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT r;
        GetClientRect(hwnd, &r);
        Paint(reinterpret_cast<HDC>(wParam), form, r);
        return 0;
    }
    default:
        break;
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

// ---- painting ----

void TWin32Backend::Impl::Paint(HDC target, TCustomForm& form, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    // Everything is drawn off screen and copied in one go, so nothing flickers.
    MemoryDC buffer(target);
    GdiPtr<HBITMAP> bitmap(CreateCompatibleBitmap(target, w, h));
    if (!buffer.get() || !bitmap) return;
    {
        Selection sel(buffer.get(), bitmap.get());
        SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
        FillColor(buffer.get(), area, form.Color());
        PaintChildren(buffer.get(), form, 0, 0, area);
        SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
        BitBlt(target, area.left, area.top, w, h, buffer.get(), 0, 0, SRCCOPY);
    }
}

void TWin32Backend::Impl::PaintChildren(HDC dc, TWinControl& parent, int dx, int dy, const RECT& area) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* c = parent.Controls(i);
        if (!c->Visible()) continue;
        const RECT r{dx + c->Left(), dy + c->Top(), dx + c->Left() + c->Width(), dy + c->Top() + c->Height()};
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            PaintChildren(dc, *wc, r.left, r.top, area);
            continue;
        }
        RECT visible;
        if (!IntersectRect(&visible, &r, &area)) continue;
        SavedDC saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        if (auto* label = dynamic_cast<TLabel*>(c)) PaintLabel(dc, *label, r);
        else if (auto* image = dynamic_cast<TImage*>(c)) PaintImage(dc, *image, r);
    }
}

void TWin32Backend::Impl::PaintLabel(HDC dc, TLabel& label, const RECT& bounds) {
    if (!label.Transparent() && HasColor(label.Color())) FillColor(dc, bounds, label.Color());
    // DrawText reads the accelerator marks itself and underlines the accelerator.
    const std::wstring text = Wide(label.Caption());
    if (text.empty()) return;
    UINT flags = DT_EXPANDTABS;
    if (label.WordWrap()) flags |= DT_WORDBREAK;
    if (!label.ShowAccelChar()) flags |= DT_NOPREFIX;
    TAlignment alignment = label.Alignment();
    if (label.BiDiMode() != TBiDiMode::bdLeftToRight) flags |= DT_RTLREADING;
    // Right-to-left labels mirror their alignment, so "left" means the reading start.
    if (label.BiDiMode() == TBiDiMode::bdRightToLeft) {
        if (alignment == TAlignment::taLeftJustify) alignment = TAlignment::taRightJustify;
        else if (alignment == TAlignment::taRightJustify) alignment = TAlignment::taLeftJustify;
    }
    flags |= alignment == TAlignment::taRightJustify ? DT_RIGHT : alignment == TAlignment::taCenter ? DT_CENTER : DT_LEFT;

    Selection font(dc, FontFor(*label.Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(label.Font()->Color()));
    RECT r = bounds;
    if (label.Layout() != TTextLayout::tlTop) {
        RECT measured = bounds;
        DrawTextW(dc, text.c_str(), int(text.size()), &measured, flags | DT_CALCRECT);
        const int spare = (bounds.bottom - bounds.top) - (measured.bottom - measured.top);
        r.top += label.Layout() == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
}

void TWin32Backend::Impl::PaintImage(HDC dc, TImage& image, const RECT& bounds) {
    Dib dib;
    if (!LoadDib(image.Picture()->Bitmap(), dib)) return;
    const int cw = bounds.right - bounds.left, ch = bounds.bottom - bounds.top;
    int x = bounds.left, y = bounds.top, w = dib.Width, h = dib.Height;
    if (image.Stretch()) {
        w = cw;
        h = ch;
    } else if (image.Center()) {
        x += (cw - w) / 2;
        y += (ch - h) / 2;
    }
    if (!image.Transparent()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, x, y, w, h, 0, 0, dib.Width, dib.Height, dib.Bits(), dib.Header(), DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // Transparent: the picture's bottom-left colour lets the background through. Decode to
    // plain RGB first so the key colour is read the same way for every pixel format.
    MemoryDC source(dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = dib.Width;
    bi.bmiHeader.biHeight = -dib.Height;  // top-down: row 0 first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    GdiPtr<HBITMAP> decoded(CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!source.get() || !decoded || !pixels) return;
    Selection sel(source.get(), decoded.get());
    StretchDIBits(source.get(), 0, 0, dib.Width, dib.Height, 0, 0, dib.Width, dib.Height, dib.Bits(), dib.Header(),
                  DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    const auto* bottomLeft = static_cast<const std::uint8_t*>(pixels) + std::size_t(dib.Height - 1) * std::size_t(dib.Width) * 4;
    const COLORREF key = RGB(bottomLeft[2], bottomLeft[1], bottomLeft[0]);
    TransparentBlt(dc, x, y, w, h, source.get(), 0, 0, dib.Width, dib.Height, key);
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
}

void TWin32Backend::Unrealize(TControl& control) {
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
        case TControlChange::Color: InvalidateRect(hwnd, nullptr, TRUE); break;
        }
        return;
    }
    TCustomForm* form = control.ParentForm();
    if (!form || !form->HandleAllocated()) return;
    HWND hwnd = HwndOf(*form);
    // A move, a hide or a restack also uncovers where the control was before.
    const bool wholeForm = what == TControlChange::Bounds || what == TControlChange::Visible ||
                           what == TControlChange::ZOrder || !dynamic_cast<TGraphicControl*>(&control);
    if (wholeForm) {
        InvalidateRect(hwnd, nullptr, FALSE);
    } else {
        const RECT r = RectOnForm(control);
        InvalidateRect(hwnd, &r, FALSE);
    }
}

void TWin32Backend::Invalidate(TControl& control) {
    if (auto* form = dynamic_cast<TCustomForm*>(&control)) {
        if (form->HandleAllocated()) InvalidateRect(HwndOf(*form), nullptr, FALSE);
        return;
    }
    TCustomForm* form = control.ParentForm();
    if (!form || !form->HandleAllocated()) return;
    const RECT r = RectOnForm(control);
    InvalidateRect(HwndOf(*form), &r, FALSE);
}

void TWin32Backend::PaintNow(TCustomForm& form) {
    if (HWND hwnd = HwndOf(form)) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWin32Backend::SetFocus(TWinControl& control) {
    // Only forms have windows so far; a control without one is focused in the model only.
    if (HWND hwnd = HwndOf(control)) ::SetFocus(hwnd);
}

void TWin32Backend::BringToFront(TCustomForm& form) {
    HWND hwnd = HwndOf(form);
    if (!hwnd) return;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
    FImpl->KeepTopmostOnTop(hwnd);
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
    if (!hwnd) return;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
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

void InstallWin32ExceptionBox(TApplication& app) {
    TApplication* a = &app;
    app.ShowException = [a](const std::string& message) {
        MessageBoxW(GetActiveWindow(), Wide(message).c_str(), Wide(a->Title()).c_str(),
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    };
}

}  // namespace rt
