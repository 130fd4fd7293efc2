// Child windows of the Windows widget backend: every windowed control of a realised form
// becomes a child window of its parent's window, made by the family that knows its kind.
// Native windows are subclassed so focus, keys and painting go through the model; their
// notifications reach the model through the parent. Controls laid out right to left sit in
// mirrored parents, placed so they show where the model says. The backend's own container
// class (panels, scroll boxes, pages) is painted by the backend.
#include "runtime/win32/Win32Internal.h"

#include "platform/win32/SystemLibraries.h"

#include <windowsx.h>

#include <algorithm>

#include "runtime/ExtCtrls.h"
#include "runtime/StdCtrls.h"

namespace rt {

using namespace w32;

namespace {

const wchar_t kRecordProp[] = L"Brevanshaw.Control";
const wchar_t kContainerClass[] = L"BrevanshawContainer";

// Style bits that change what a window is; a change of these makes it anew.
constexpr DWORD kClassStyleBits = 0xFFFF | WS_VSCROLL | WS_HSCROLL;
constexpr DWORD kExStyleBits = WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR | WS_EX_LAYOUTRTL |
                               WS_EX_NOINHERITLAYOUT | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

bool HasGraphicChildren(const TWinControl& c) {
    for (int i = 0; i < c.ControlCount(); ++i)
        if (!dynamic_cast<TWinControl*>(c.Controls(i))) return true;
    return false;
}

}  // namespace

namespace w32 {

HWND ControlFamily::FocusWindow(TWinControl&, ChildRecord& record) { return record.Hwnd; }

DWORD ReadingExStyle(const TControl& control, bool rightAligned) {
    DWORD ex = 0;
    if (control.UseRightToLeftReading()) ex |= WS_EX_RTLREADING;
    if (rightAligned) ex |= WS_EX_RIGHT;
    if (control.UseRightToLeftScrollBar()) ex |= WS_EX_LEFTSCROLLBAR;
    return ex;
}

}  // namespace w32

ChildRecord* TWin32Backend::Impl::RecordOf(HWND hwnd) {
    auto it = Children.find(hwnd);
    return it == Children.end() ? nullptr : it->second.get();
}

ChildRecord* TWin32Backend::Impl::RecordOf(const TControl& control) {
    HWND hwnd = HwndOf(control);
    ChildRecord* r = hwnd ? RecordOf(hwnd) : nullptr;
    return r && r->Part < 0 && r->Control == &control ? r : nullptr;
}

ControlFamily* TWin32Backend::Impl::FamilyOf(TWinControl& control, WindowLook& look) {
    for (auto& family : Families)
        if (family->Describe(control, look)) return family.get();
    return nullptr;
}

void TWin32Backend::Impl::RegisterContainerClass() {
    if (Classes.count(kContainerClass)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &Impl::ChildProc;
    wc.hInstance = Instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* arrow */);
    wc.lpszClassName = kContainerClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register the container window class");
    Classes.insert(kContainerClass);
}

RECT TWin32Backend::Impl::PlacementOf(const TControl& control, int extraHeight) {
    int x = control.Left(), y = control.Top();
    const TWinControl* parent = control.Parent();
    if (auto* box = dynamic_cast<const TScrollBox*>(parent)) {
        x -= box->ScrollLeft();
        y -= box->ScrollTop();
    }
    if (ChildRecord* p = parent ? RecordOf(*parent) : nullptr; p && p->Mirrored) {
        // A mirrored parent counts from its right edge.
        RECT client{};
        GetClientRect(p->Hwnd, &client);
        x = client.right - x - control.Width();
    }
    return RECT{x, y, x + control.Width(), y + control.Height() + extraHeight};
}

void TWin32Backend::Impl::PlaceChild(TWinControl& control) {
    ChildRecord* r = RecordOf(control);
    if (!r) return;
    WindowLook look;
    r->Family->Describe(control, look);
    const RECT p = PlacementOf(control, look.ExtraHeight);
    SetWindowPos(r->Hwnd, nullptr, p.left, p.top, p.right - p.left, p.bottom - p.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Backend::Impl::PlaceChildren(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) PlaceChild(*w);
}

void TWin32Backend::Impl::CreateChildren(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) CreateChild(*w);
}

void TWin32Backend::Impl::CreateChild(TWinControl& control) {
    if (RecordOf(control)) return;
    TWinControl* parent = control.Parent();
    if (!parent || !parent->HandleAllocated()) return;
    WindowLook look;
    ControlFamily* family = FamilyOf(control, look);
    if (!family) return;
    look.Style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (control.Visible()) look.Style |= WS_VISIBLE;
    if (!control.Enabled()) look.Style |= WS_DISABLED;
    if (look.Container || control.ControlCount() > 0) look.Style |= WS_CLIPCHILDREN;

    auto record = std::make_unique<ChildRecord>();
    record->Owner = this;
    record->Control = &control;
    record->Family = family;
    record->Container = look.Container;
    record->Mirrored = (look.ExStyle & WS_EX_LAYOUTRTL) != 0;
    const int id = NextId++;
    const RECT place = PlacementOf(control, look.ExtraHeight);
    if (look.Container) {
        RegisterContainerClass();
        look.Class = kContainerClass;
        record->Original = DefWindowProcW;
    }
    Creating[id] = &control;
    HWND hwnd = CreateWindowExW(look.ExStyle, look.Class.c_str(), look.Container ? L"" : Wide(control.Caption()).c_str(),
                                look.Style, place.left, place.top, place.right - place.left, place.bottom - place.top,
                                HwndOf(*parent), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance,
                                look.Container ? record.get() : nullptr);
    Creating.erase(id);
    // Without its window the control still paints its windowless contents on its parent.
    if (!hwnd) return;
    record->Hwnd = hwnd;
    if (!look.Container) {
        SetPropW(hwnd, kRecordProp, record.get());
        record->Original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Impl::ChildProc)));
    }
    ChildRecord& r = *record;
    Children[hwnd] = std::move(record);
    control.SetHandle(reinterpret_cast<std::uintptr_t>(hwnd));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*control.Font())), FALSE);
    {
        ApplyingScope scope(Applying);
        family->Sync(control, r, TControlChange::Items);
        family->Sync(control, r, TControlChange::State);
        family->Sync(control, r, TControlChange::Caption);
        family->Sync(control, r, TControlChange::Appearance);
    }
    CreateChildren(control);
}

void TWin32Backend::Impl::DestroyChild(TWinControl& control) {
    HWND hwnd = RecordOf(control) ? HwndOf(control) : nullptr;
    control.SetHandle(0);
    if (hwnd) DestroyChildWindow(hwnd);
}

void TWin32Backend::Impl::DestroyChildWindow(HWND hwnd) {
    ChildRecord* r = RecordOf(hwnd);
    if (!r) return;
    if (r->Control) r->Family->Destroying(*r->Control, *r);
    // Cut off from the model first: destruction sends notifications of its own.
    r->Control = nullptr;
    for (HWND part : r->Parts)
        if (ChildRecord* p = RecordOf(part)) p->Control = nullptr;
    DestroyWindow(hwnd);
}

void TWin32Backend::Impl::Recreate(TWinControl& control) {
    HWND old = HwndOf(control);
    const bool focused = old && (GetFocus() == old || IsChild(old, GetFocus()));
    DestroyChild(control);
    CreateChild(control);
    if (focused) FocusChild(control);
}

void TWin32Backend::Impl::FocusChild(TWinControl& control) {
    ChildRecord* r = RecordOf(control);
    if (!r) return;
    HWND target = r->Family->FocusWindow(control, *r);
    if (target && GetFocus() != target && !IsChild(target, GetFocus())) ::SetFocus(target);
}

void TWin32Backend::Impl::ChildChanged(TControl& control, TControlChange what) {
    auto* w = dynamic_cast<TWinControl*>(&control);
    if (!w) {
        // Windowless: its parent's window paints it again.
        TWinControl* parent = control.Parent();
        HWND ph = parent ? HwndOf(*parent) : nullptr;
        if (!ph) return;
        if (what == TControlChange::Cursor) {
            RefreshCursor(ph);
            return;
        }
        ChildRecord* pr = RecordOf(*parent);
        const bool whole = what == TControlChange::Bounds || what == TControlChange::Visible ||
                           what == TControlChange::ZOrder || what == TControlChange::Parent || (pr && pr->Mirrored);
        if (whole) {
            InvalidateRect(ph, nullptr, FALSE);
        } else {
            const RECT r = PlacementOf(control);
            InvalidateRect(ph, &r, FALSE);
        }
        return;
    }
    ChildRecord* r = RecordOf(*w);
    if (what == TControlChange::Parent) {
        // A control that moves is made anew under its new parent, contents and all.
        if (r) DestroyChild(*w);
        if (w->Parent()) CreateChild(*w);
        return;
    }
    if (!r) {
        CreateChild(*w);
        return;
    }
    HWND hwnd = r->Hwnd;
    switch (what) {
    case TControlChange::Bounds:
        PlaceChild(*w);
        if (r->Mirrored || dynamic_cast<TScrollBox*>(w)) PlaceChildren(*w);
        r->Family->Sync(*w, *r, what);
        break;
    case TControlChange::Visible:
        ShowWindow(hwnd, w->Visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case TControlChange::Enabled:
        EnableWindow(hwnd, w->Enabled());
        r->Family->Sync(*w, *r, what);
        break;
    case TControlChange::Font:
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*w->Font())), TRUE);
        r->Family->Sync(*w, *r, what);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case TControlChange::Color: InvalidateRect(hwnd, nullptr, TRUE); break;
    case TControlChange::ZOrder: SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); break;
    case TControlChange::Appearance: {
        WindowLook look;
        r->Family->Describe(*w, look);
        const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
        const DWORD ex = DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        if ((style & kClassStyleBits) != (look.Style & kClassStyleBits) || (ex & kExStyleBits) != (look.ExStyle & kExStyleBits)) {
            Recreate(*w);
            return;
        }
        ApplyingScope scope(Applying);
        r->Family->Sync(*w, *r, what);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    }
    case TControlChange::Caption:
    case TControlChange::Items:
    case TControlChange::State: {
        ApplyingScope scope(Applying);
        r->Family->Sync(*w, *r, what);
        break;
    }
    case TControlChange::Cursor: RefreshCursor(hwnd); break;
    case TControlChange::Parent: break;
    }
}

bool TWin32Backend::Impl::ParentMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lParam);
        ChildRecord* r = from ? RecordOf(from) : nullptr;
        if (!r || !r->Control) return false;
        // The backend's own changes notify too; the model already knows them.
        if (Applying) {
            result = 0;
            return true;
        }
        result = 0;
        return r->Family->Command(*r->Control, *r, from, HIWORD(wParam));
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        ChildRecord* r = header ? RecordOf(header->hwndFrom) : nullptr;
        if (!r || !r->Control) return false;
        return r->Family->Notify(*r->Control, *r, *header, result);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        TWinControl* c = ControlOfWindow(reinterpret_cast<HWND>(lParam));
        if (!c || dynamic_cast<TCustomForm*>(c)) return false;
        HDC dc = reinterpret_cast<HDC>(wParam);
        // A push button's surroundings are its parent's colour.
        const bool pushButton = msg == WM_CTLCOLORBTN && dynamic_cast<TButton*>(c);
        const TColor back = pushButton && c->Parent() ? c->Parent()->Color() : c->Color();
        if (c->Enabled()) SetTextColor(dc, ToColorRef(c->Font()->Color()));
        SetBkColor(dc, ToColorRef(back));
        result = reinterpret_cast<LRESULT>(BrushFor(back));
        return true;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        ChildRecord* r = item ? RecordOf(item->hwndItem) : nullptr;
        if (!r || !r->Control) return false;
        result = TRUE;
        return r->Family->DrawItem(*r->Control, *r, *item);
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!item) return false;
        auto it = Creating.find(int(item->CtlID));
        TWinControl* c = it != Creating.end() ? it->second : nullptr;
        for (auto& [hwnd, r] : Children)
            if (!c && r->Part < 0 && r->Control && GetDlgCtrlID(hwnd) == int(item->CtlID)) c = r->Control;
        if (!c) return false;
        for (auto& family : Families)
            if (family->MeasureItem(*c, *item)) {
                result = TRUE;
                return true;
            }
        return false;
    }
    default: return false;
    }
}

LRESULT CALLBACK TWin32Backend::Impl::ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* record = static_cast<ChildRecord*>(GetPropW(hwnd, kRecordProp));
    if (!record && msg == WM_NCCREATE) {
        // The backend's own containers bring their record along.
        record = static_cast<ChildRecord*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (record) {
            SetPropW(hwnd, kRecordProp, record);
            record->Hwnd = hwnd;
        }
    }
    if (!record) return DefWindowProcW(hwnd, msg, wParam, lParam);
    Impl* self = record->Owner;
    const WNDPROC original = record->Original ? record->Original : DefWindowProcW;
    // Exceptions must not unwind through the system's frames.
    try {
        return self->HandleChild(*record, hwnd, msg, wParam, lParam);
    } catch (const std::exception& e) {
        if (TApplication* app = Application()) app->HandleException(e);
        else self->Pending = std::current_exception();
    } catch (...) {
        self->Pending = std::current_exception();
    }
    return msg == WM_NCDESTROY ? CallWindowProcW(original, hwnd, msg, wParam, lParam) : 0;
}

LRESULT TWin32Backend::Impl::HandleChild(ChildRecord& record, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = record.Original ? record.Original : DefWindowProcW;
    TWinControl* control = record.Control;
    if (msg == WM_NCDESTROY) {
        if (!record.Container) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(hwnd, kRecordProp);
        if (control && record.Part < 0 && control->Handle() == reinterpret_cast<std::uintptr_t>(hwnd)) control->SetHandle(0);
        if (const auto destroy = os::win32::CommonControls().ImageList_Destroy; record.Images && destroy) destroy(record.Images);
        Children.erase(hwnd);  // frees the record; touch neither it nor the control below
        return CallWindowProcW(original, hwnd, msg, wParam, lParam);
    }
    if (!control) return CallWindowProcW(original, hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_SETCURSOR:
        if (SetModelCursor(hwnd, *control, wParam, lParam)) return TRUE;
        break;
    case WM_SETFOCUS:
        if (TCustomForm* form = control->ParentForm(); form && form->ActiveControl() != control && control->CanFocus())
            form->FocusControl(control);
        if (!IsWindow(hwnd)) return 0;
        break;
    case WM_ERASEBKGND:
        if (record.Container || dynamic_cast<TCustomGroupBox*>(control)) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillColor(reinterpret_cast<HDC>(wParam), r, control->Color());
            return 1;
        }
        break;
    case WM_PAINT:
        if (record.Container) {
            PaintDC dc(hwnd);
            RECT area = dc.Area();
            if (record.Mirrored) {
                // Drawn in the model's coordinates, all of it.
                SetLayout(dc.get(), 0);
                GetClientRect(hwnd, &area);
            }
            Paint(dc.get(), *control, area, true);
            return 0;
        }
        if (HasGraphicChildren(*control)) {
            // A system window with windowless controls on it: those go on top.
            const LRESULT done = CallWindowProcW(original, hwnd, msg, wParam, lParam);
            WindowDC dc(hwnd);
            if (record.Mirrored) SetLayout(dc.get(), 0);
            RECT client;
            GetClientRect(hwnd, &client);
            PaintChildren(dc.get(), *control, 0, 0, client);
            return done;
        }
        break;
    case WM_PRINTCLIENT:
        if (record.Container) {
            RECT client;
            GetClientRect(hwnd, &client);
            Paint(reinterpret_cast<HDC>(wParam), *control, client, true);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        if (record.Container) {
            TControl* pressed = record.Pressed;
            const bool handled = MouseMessage(hwnd, *control, msg, lParam, pressed);
            if (ChildRecord* again = RecordOf(hwnd)) again->Pressed = pressed;
            if (handled) return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (record.Container && !record.Hovering) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            if (TrackMouseEvent(&track)) {
                record.Hovering = true;
                control->MouseEnter();
            }
        }
        break;
    case WM_MOUSELEAVE:
        if (record.Container && record.Hovering) {
            record.Hovering = false;
            control->MouseLeave();
        }
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (auto* box = dynamic_cast<TScrollBox*>(control); box && lParam == 0) {
            const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_ALL;
            GetScrollInfo(hwnd, bar, &si);
            const int page = bar == SB_VERT ? box->ClientHeight() : box->ClientWidth();
            int pos = bar == SB_VERT ? box->ScrollTop() : box->ScrollLeft();
            switch (LOWORD(wParam)) {
            case SB_LINEUP: pos -= 8; break;
            case SB_LINEDOWN: pos += 8; break;
            case SB_PAGEUP: pos -= page; break;
            case SB_PAGEDOWN: pos += page; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: pos = si.nTrackPos; break;
            case SB_TOP: pos = 0; break;
            case SB_BOTTOM: pos = si.nMax; break;
            default: break;
            }
            if (bar == SB_VERT) box->ScrollTo(box->ScrollLeft(), pos);
            else box->ScrollTo(pos, box->ScrollTop());
            return 0;
        }
        break;
    default: {
        LRESULT result = 0;
        if (ParentMessage(hwnd, msg, wParam, lParam, result)) return result;
        break;
    }
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

// ---- the backend's own containers ----

namespace {

class ContainerFamily : public ControlFamily {
public:
    explicit ContainerFamily(TWin32Backend::Impl& impl) : FImpl(impl) {}

    bool Describe(TWinControl& control, WindowLook& look) override {
        look.Container = true;
        if (auto* box = dynamic_cast<TScrollBox*>(&control); box && box->BorderStyle() == TBorderStyle::bsSingle)
            look.ExStyle |= WS_EX_CLIENTEDGE;
        // Contents laid out from the right: the children keep the places the model gives them.
        if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
        if (control.UseRightToLeftScrollBar()) look.ExStyle |= WS_EX_LEFTSCROLLBAR;
        return true;
    }

    void Sync(TWinControl& control, ChildRecord& record, TControlChange what) override {
        auto* box = dynamic_cast<TScrollBox*>(&control);
        if (box && (what == TControlChange::Bounds || what == TControlChange::State || what == TControlChange::Items)) {
            ScrollBars(*box, record.Hwnd);
            FImpl.PlaceChildren(control);
            InvalidateRect(record.Hwnd, nullptr, TRUE);
        }
        if (what == TControlChange::Caption || what == TControlChange::Font) InvalidateRect(record.Hwnd, nullptr, TRUE);
    }

private:
    static void ScrollBars(TScrollBox& box, HWND hwnd) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        const bool scrolls = box.AutoScroll();
        si.nMax = scrolls ? box.ContentHeight() - 1 : 0;
        si.nPage = UINT(box.ClientHeight());
        si.nPos = box.ScrollTop();
        SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
        si.nMax = scrolls ? box.ContentWidth() - 1 : 0;
        si.nPage = UINT(box.ClientWidth());
        si.nPos = box.ScrollLeft();
        SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    }

    TWin32Backend::Impl& FImpl;
};

}  // namespace

namespace w32 {

std::unique_ptr<ControlFamily> MakeContainerFamily(TWin32Backend::Impl& impl) {
    return std::make_unique<ContainerFamily>(impl);
}

}  // namespace w32

}  // namespace rt
