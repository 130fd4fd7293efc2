// The inside of the Windows widget backend, shared by its units: handles that release
// themselves, colours, bitmaps, the backend's state, and the families that turn each kind of
// model control into a child window (Win32ControlsStd.cpp, Win32ControlsCom.cpp).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "runtime/ExtCtrls.h"
#include "runtime/win32/Win32Backend.h"

namespace rt::w32 {

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string u = Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(const std::wstring& wide) { return Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

// The text of a window, in UTF-8.
std::string WindowText(HWND hwnd);

inline HWND HwndOf(const TControl& control) { return reinterpret_cast<HWND>(control.Handle()); }

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

class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : FHwnd(hwnd), FDC(GetDC(hwnd)) {}
    ~WindowDC() { if (FDC) ReleaseDC(FHwnd, FDC); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return FDC; }

private:
    HWND FHwnd;
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

struct ApplyingScope {
    explicit ApplyingScope(int& counter) : FCounter(counter) { ++FCounter; }
    ~ApplyingScope() { --FCounter; }
    ApplyingScope(const ApplyingScope&) = delete;
    ApplyingScope& operator=(const ApplyingScope&) = delete;
    int& FCounter;
};

// ---- colours and bitmaps ----

COLORREF ToColorRef(TColor color);
inline bool HasColor(TColor color) { return color != clNone && color != clDefault; }
void FillColor(HDC dc, const RECT& r, TColor color);

// A bitmap file's header and pixels, checked so GDI never reads past the bytes.
struct Dib {
    TBytes File;
    std::vector<std::uint8_t> Info;  // BITMAPINFO with its masks or palette
    std::size_t BitsOffset = 0;
    int Width = 0, Height = 0;
    const BITMAPINFO* Header() const { return reinterpret_cast<const BITMAPINFO*>(Info.data()); }
    const void* Bits() const { return File.data() + BitsOffset; }
};
bool LoadDib(TBytes file, Dib& dib);
// Draws part of a picture, the colour of its bottom-left pixel let through when transparent.
void DrawDib(HDC dc, const Dib& dib, int srcX, int srcWidth, const RECT& target, bool transparent);

// ---- child windows ----

// The window a model control becomes: its class and styles.
struct WindowLook {
    std::wstring Class;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    // The window class is the backend's own container, painted by the backend.
    bool Container = false;
    // Extra height of the window beyond the control's (a combo box's drop-down list).
    int ExtraHeight = 0;
};

struct ChildRecord;

// One family of controls: how they look as windows and how the windows' notifications
// reach the model. Families answer only for the controls they know.
class ControlFamily {
public:
    virtual ~ControlFamily() = default;
    virtual bool Describe(TWinControl& control, WindowLook& look) = 0;
    // Brings the window up to the model after a change; every kind once after creation.
    virtual void Sync(TWinControl& control, ChildRecord& record, TControlChange what) = 0;
    // WM_COMMAND from the control's window (or one of its parts).
    virtual bool Command(TWinControl&, ChildRecord&, HWND, UINT) { return false; }
    virtual bool Notify(TWinControl&, ChildRecord&, NMHDR&, LRESULT&) { return false; }
    virtual bool DrawItem(TWinControl&, ChildRecord&, DRAWITEMSTRUCT&) { return false; }
    virtual bool MeasureItem(TWinControl&, MEASUREITEMSTRUCT&) { return false; }
    // Where the keyboard focus goes when the model focuses the control.
    virtual HWND FocusWindow(TWinControl&, ChildRecord& record);
    // Called before the window goes, to release what the family made for it.
    virtual void Destroying(TWinControl&, ChildRecord&) {}
};

std::unique_ptr<ControlFamily> MakeStandardFamily(TWin32Backend::Impl& impl);
std::unique_ptr<ControlFamily> MakeCommonFamily(TWin32Backend::Impl& impl);
// The backend's own containers: panels, scroll boxes, pages, and any other control.
std::unique_ptr<ControlFamily> MakeContainerFamily(TWin32Backend::Impl& impl);

// What a child window's property points at.
struct ChildRecord {
    TWin32Backend::Impl* Owner = nullptr;
    TWinControl* Control = nullptr;
    ControlFamily* Family = nullptr;
    HWND Hwnd = nullptr;
    WNDPROC Original = nullptr;
    // A window the backend made inside a control (a radio group's buttons): its index.
    int Part = -1;
    std::vector<HWND> Parts;
    // Laid out right to left: children are placed mirrored so they show where the model says.
    bool Mirrored = false;
    bool Container = false;
    HIMAGELIST Images = nullptr;
    TControl* Pressed = nullptr;
    // The mouse is over the window and its leaving is being tracked.
    bool Hovering = false;
};

// Right-to-left extended styles for a control's reading order and alignment.
DWORD ReadingExStyle(const TControl& control, bool rightAligned);

}  // namespace rt::w32

namespace rt {

struct TWin32Backend::Impl {
    // What a top-level window's user data points at: the form it realises.
    struct WindowRecord {
        Impl* Owner;
        TCustomForm* Form;
        TControl* Pressed = nullptr;  // where the left button went down
    };

    using FontKey = std::tuple<std::string, int, std::uint64_t, int>;

    Impl();
    ~Impl();

    HINSTANCE Instance = GetModuleHandleW(nullptr);
    std::set<std::wstring> Classes;
    std::map<HWND, std::unique_ptr<WindowRecord>> Windows;
    std::map<HWND, std::unique_ptr<w32::ChildRecord>> Children;
    std::map<FontKey, w32::GdiPtr<HFONT>> Fonts;
    std::map<COLORREF, w32::GdiPtr<HBRUSH>> Brushes;
    std::vector<std::unique_ptr<w32::ControlFamily>> Families;
    HMODULE Shell = nullptr;  // the shell library, for its animations
    bool Hidden = false;      // no top-level window is ever shown
    int NextId = 100;
    // Control ids of windows being created, for messages that arrive before CreateWindowEx returns.
    std::map<int, TWinControl*> Creating;
    // Set while the backend itself changes a window's state, so the window's notifications
    // do not copy the half-done state back into the model.
    int Applying = 0;
    // An exception raised in a handler with no application to show it; rethrown by the
    // loop that dispatched the message.
    std::exception_ptr Pending;
    // The forms running a modal loop, innermost last: the program's pages and questions are
    // windows of their own, not owned popups the system would name.
    std::vector<HWND> Modal;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, WindowRecord& record);

    void RegisterFormClass(const std::wstring& name);
    HICON ProgramIcon();
    HFONT FontFor(const TFont& font);
    HBRUSH BrushFor(TColor color);
    void Dispatch(MSG& msg);
    void RethrowPending();

    void KeepTopmostOnTop(HWND shown);
    // The window that should take the keyboard when hwnd is brought up: the question or page
    // the program waits on, or the window itself.
    HWND FrontWindowOf(HWND hwnd) const;
    // Realises the palette of the form's palette picture; the number of colours that moved.
    LRESULT RealizeFormPalette(HWND hwnd, TCustomForm& form, bool background);
    void ApplyBounds(TCustomForm& form, HWND hwnd);
    void ApplyAppearance(TCustomForm& form, HWND hwnd);
    void ShowState(TCustomForm& form, HWND hwnd);
    void SyncWindowState(TCustomForm& form, HWND hwnd, WPARAM sizeKind);

    // Keys: the model routes them before the system's control sees them (Win32Backend.cpp).
    bool RouteKey(MSG& msg);
    TWinControl* ControlOfWindow(HWND hwnd);

    // Painting of what has no window of its own (Win32Painting.cpp).
    void Paint(HDC dc, TWinControl& owner, const RECT& area, bool buffered);
    void PaintDecoration(HDC dc, TWinControl& owner);
    void PaintFace(HDC dc, TWinControl& owner, const TPanelFace& face);
    void PaintChildren(HDC dc, TWinControl& parent, int dx, int dy, const RECT& area);
    void PaintLabel(HDC dc, TLabel& label, const RECT& r);
    void PaintImage(HDC dc, TImage& image, const RECT& r);
    void PaintBevel(HDC dc, const TControl& bevel, const RECT& r);
    // Prints child windows into dc, for WM_PRINTCLIENT of their parent.
    void PrintChildWindows(HDC dc, HWND parent);
    // The windowless control under a point of parent's client area, topmost first.
    TControl* GraphicControlAt(TWinControl& parent, int x, int y);
    // Mouse clicks on a window's graphic children and on the window itself.
    bool MouseMessage(HWND hwnd, TWinControl& owner, UINT msg, LPARAM lParam, TControl*& pressed);
    // WM_SETCURSOR of a window: the model's cursor of the windowless control under the mouse
    // or of the window's own control; false leaves the pointer to the system (crDefault).
    bool SetModelCursor(HWND hwnd, TWinControl& owner, WPARAM wParam, LPARAM lParam);
    // A cursor changed in the model: shown at once when the mouse is over the window.
    void RefreshCursor(HWND hwnd);

    // Child windows (Win32Controls.cpp).
    void CreateChildren(TWinControl& parent);
    void CreateChild(TWinControl& control);
    void DestroyChild(TWinControl& control);
    void DestroyChildWindow(HWND hwnd);
    void Recreate(TWinControl& control);
    void ChildChanged(TControl& control, TControlChange what);
    void FocusChild(TWinControl& control);
    // The position of a control's window inside its parent's window, mirrored and scrolled.
    RECT PlacementOf(const TControl& control, int extraHeight = 0);
    void PlaceChild(TWinControl& control);
    void PlaceChildren(TWinControl& parent);
    w32::ChildRecord* RecordOf(HWND hwnd);
    w32::ChildRecord* RecordOf(const TControl& control);
    w32::ControlFamily* FamilyOf(TWinControl& control, w32::WindowLook& look);
    // Notifications and colour requests that reach a parent window from its children.
    bool ParentMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleChild(w32::ChildRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void RegisterContainerClass();
};

}  // namespace rt
