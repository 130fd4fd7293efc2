// Painting for the Windows widget backend: colours, bitmaps, and everything that has no
// window of its own (labels, images, bevels, panel frames and captions), drawn on the window
// of its parent, off screen first so nothing flickers. Also printing child windows into a
// parent's picture and the mouse on windowless controls.
#include "runtime/win32/Win32Internal.h"

#include "platform/win32/SystemLibraries.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "runtime/ExtCtrls.h"

namespace rt {

namespace w32 {

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return Narrow(text);
}

COLORREF ToColorRef(TColor color) {
    if ((std::uint32_t(color) & 0xFF000000u) == 0x80000000u) return GetSysColor(int(color & 0xFF));
    return COLORREF(ColorToRGB(color) & 0xFFFFFF);
}

void FillColor(HDC dc, const RECT& r, TColor color) {
    GdiPtr<HBRUSH> brush(CreateSolidBrush(ToColorRef(color)));
    FillRect(dc, &r, brush.get());
}


static std::uint32_t Le32(const TBytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
static std::uint16_t Le16(const TBytes& b, std::size_t at) { return std::uint16_t(b[at] | b[at + 1] << 8); }

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


void DrawDib(HDC dc, const Dib& dib, int srcX, int srcWidth, const RECT& target, bool transparent) {
    const int w = target.right - target.left, h = target.bottom - target.top;
    if (!transparent) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, target.left, target.top, w, h, srcX, 0, srcWidth, dib.Height, dib.Bits(), dib.Header(),
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // Decode to plain RGB first so the key colour is read the same way for every pixel format.
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
    if (const auto transparentBlt = os::win32::Imaging().TransparentBlt)
        transparentBlt(dc, target.left, target.top, w, h, source.get(), srcX, 0, srcWidth, dib.Height, key);
}

}  // namespace w32

using namespace w32;

namespace {

// The scroll offset a parent applies to its children.
POINT ScrollOffset(const TWinControl& parent) {
    if (auto* box = dynamic_cast<const TScrollBox*>(&parent)) return POINT{-box->ScrollLeft(), -box->ScrollTop()};
    return POINT{0, 0};
}

bool HasOwnWindow(const TControl& c) { return c.HandleAllocated() && dynamic_cast<const TWinControl*>(&c); }

void Line(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    GdiPtr<HBRUSH> brush(CreateSolidBrush(colour));
    RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush.get());
}

// A raised or lowered frame width pixels wide, as panels and bevels draw it.
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        Line(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
        Line(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
        Line(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
        Line(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
        InflateRect(&r, -1, -1);
    }
}

}  // namespace

void TWin32Backend::Impl::Paint(HDC target, TWinControl& owner, const RECT& area, bool buffered) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    const POINT scroll = ScrollOffset(owner);
    if (!buffered) {
        FillColor(target, area, owner.Color());
        PaintDecoration(target, owner);
        PaintChildren(target, owner, scroll.x, scroll.y, area);
        return;
    }
    MemoryDC buffer(target);
    GdiPtr<HBITMAP> bitmap(CreateCompatibleBitmap(target, w, h));
    if (!buffer.get() || !bitmap) return;
    Selection sel(buffer.get(), bitmap.get());
    SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
    FillColor(buffer.get(), area, owner.Color());
    PaintDecoration(buffer.get(), owner);
    PaintChildren(buffer.get(), owner, scroll.x, scroll.y, area);
    SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
    BitBlt(target, area.left, area.top, w, h, buffer.get(), 0, 0, SRCCOPY);
}

void TWin32Backend::Impl::PaintDecoration(HDC dc, TWinControl& owner) {
    auto* panel = dynamic_cast<TCustomPanel*>(&owner);
    if (!panel) return;
    if (TPanelFace face; panel->CustomFace(face)) {
        PaintFace(dc, owner, face);
        return;
    }
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    RECT r{0, 0, owner.Width(), owner.Height()};
    if (panel->BorderStyle() == TBorderStyle::bsSingle) Frame3D(dc, r, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME), 1);
    auto bevel = [&](TPanelBevel kind) {
        if (kind == TPanelBevel::bvNone) return;
        if (kind == TPanelBevel::bvSpace) InflateRect(&r, -panel->BevelWidth(), -panel->BevelWidth());
        else Frame3D(dc, r, kind == TPanelBevel::bvRaised ? light : dark, kind == TPanelBevel::bvRaised ? dark : light,
                     panel->BevelWidth());
    };
    bevel(panel->BevelOuter());
    InflateRect(&r, -panel->BorderWidth(), -panel->BorderWidth());
    bevel(panel->BevelInner());
    const std::wstring text = Wide(owner.Caption());
    if (text.empty()) return;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    switch (panel->DrawnAlignment()) {
    case TAlignment::taLeftJustify: flags |= DT_LEFT; break;
    case TAlignment::taRightJustify: flags |= DT_RIGHT; break;
    case TAlignment::taCenter: flags |= DT_CENTER; break;
    }
    if (owner.UseRightToLeftReading()) flags |= DT_RTLREADING;
    Selection font(dc, FontFor(*owner.Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(owner.Font()->Color()));
    DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
}

void TWin32Backend::Impl::PaintFace(HDC dc, TWinControl& owner, const TPanelFace& face) {
    const RECT client{0, 0, owner.Width(), owner.Height()};
    Dib dib;
    if (face.Picture && LoadDib(face.Picture->Bitmap(), dib)) DrawDib(dc, dib, 0, dib.Width, client, false);
    RECT frame = client;
    Frame3D(dc, frame, RGB(255, 255, 255), RGB(255, 255, 255), face.WhiteFrames);
    if (face.Icon && LoadDib(face.Icon->Bitmap(), dib)) {
        const RECT target{face.IconLeft, face.IconTop, face.IconLeft + face.IconWidth, face.IconTop + face.IconHeight};
        DrawDib(dc, dib, 0, dib.Width, target, true);
    }
}

void TWin32Backend::Impl::PaintChildren(HDC dc, TWinControl& parent, int dx, int dy, const RECT& area) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* c = parent.Controls(i);
        if (!c->Visible() || HasOwnWindow(*c)) continue;
        const RECT r{dx + c->Left(), dy + c->Top(), dx + c->Left() + c->Width(), dy + c->Top() + c->Height()};
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            // A container whose window could not be made: its contents still show.
            const POINT scroll = ScrollOffset(*wc);
            PaintChildren(dc, *wc, r.left + scroll.x, r.top + scroll.y, area);
            continue;
        }
        RECT visible;
        if (!IntersectRect(&visible, &r, &area)) continue;
        SavedDC saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        if (auto* label = dynamic_cast<TLabel*>(c)) PaintLabel(dc, *label, r);
        else if (auto* image = dynamic_cast<TImage*>(c)) PaintImage(dc, *image, r);
        else if (dynamic_cast<TBevel*>(c)) PaintBevel(dc, *c, r);
    }
}

void TWin32Backend::Impl::PaintLabel(HDC dc, TLabel& label, const RECT& bounds) {
    if (!label.Transparent() && HasColor(label.Color())) FillColor(dc, bounds, label.Color());
    // DrawText reads the accelerator marks itself and underlines the accelerator.
    std::wstring text = Wide(label.Caption());
    if (text.empty()) return;
    // The system would draw LF CR as two breaks; the model counts it as one.
    for (std::size_t at = text.find(L"\n\r"); at != std::wstring::npos; at = text.find(L"\n\r", at + 2)) text.replace(at, 2, L"\r\n");
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
    if (image.SystemIcon() != TSystemIcon::siNone) {
        static const LPCWSTR icons[] = {nullptr, IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};
        HICON icon = LoadIconW(nullptr, icons[int(image.SystemIcon())]);
        if (icon) DrawIconEx(dc, bounds.left, bounds.top, icon, 32, 32, 0, nullptr, DI_NORMAL);
        return;
    }
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
    // Transparent: the picture's bottom-left colour lets the background through.
    DrawDib(dc, dib, 0, dib.Width, RECT{x, y, x + w, y + h}, image.Transparent());
}


void TWin32Backend::Impl::PaintBevel(HDC dc, const TControl& control, const RECT& r) {
    const auto& bevel = static_cast<const TBevel&>(control);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF first = bevel.Style() == TBevelStyle::bsLowered ? dark : light;
    const COLORREF second = bevel.Style() == TBevelStyle::bsLowered ? light : dark;
    switch (bevel.Shape()) {
    case TBevelShape::bsBox: {
        RECT box = r;
        Frame3D(dc, box, first, second, 1);
        break;
    }
    case TBevelShape::bsFrame: {
        // Etched: a frame in the first colour with one in the second a pixel inside it.
        RECT outer{r.left, r.top, r.right - 1, r.bottom - 1}, inner{r.left + 1, r.top + 1, r.right, r.bottom};
        Frame3D(dc, inner, second, second, 1);
        Frame3D(dc, outer, first, first, 1);
        break;
    }
    case TBevelShape::bsTopLine:
        Line(dc, r.left, r.top, r.right, r.top + 1, first);
        Line(dc, r.left, r.top + 1, r.right, r.top + 2, second);
        break;
    case TBevelShape::bsBottomLine:
        Line(dc, r.left, r.bottom - 2, r.right, r.bottom - 1, first);
        Line(dc, r.left, r.bottom - 1, r.right, r.bottom, second);
        break;
    case TBevelShape::bsLeftLine:
        Line(dc, r.left, r.top, r.left + 1, r.bottom, first);
        Line(dc, r.left + 1, r.top, r.left + 2, r.bottom, second);
        break;
    case TBevelShape::bsRightLine:
        Line(dc, r.right - 2, r.top, r.right - 1, r.bottom, first);
        Line(dc, r.right - 1, r.top, r.right, r.bottom, second);
        break;
    case TBevelShape::bsSpacer: break;
    }
}

void TWin32Backend::Impl::PrintChildWindows(HDC dc, HWND parent) {
    // Bottom of the z-order first, so windows on top are printed over those below.
    HWND child = GetWindow(parent, GW_CHILD);
    if (!child) return;
    for (child = GetWindow(child, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        if (r.left > r.right) std::swap(r.left, r.right);  // a mirrored parent maps right to left
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SavedDC saved(dc);
        SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        PrintChildWindows(dc, child);
    }
}

TControl* TWin32Backend::Impl::GraphicControlAt(TWinControl& parent, int x, int y) {
    const POINT scroll = ScrollOffset(parent);
    for (int i = parent.ControlCount() - 1; i >= 0; --i) {
        TControl* c = parent.Controls(i);
        if (!c->Visible() || dynamic_cast<TWinControl*>(c)) continue;
        const int left = c->Left() + scroll.x, top = c->Top() + scroll.y;
        if (x >= left && x < left + c->Width() && y >= top && y < top + c->Height()) return c;
    }
    return nullptr;
}

bool TWin32Backend::Impl::MouseMessage(HWND hwnd, TWinControl& owner, UINT msg, LPARAM lParam, TControl*& pressed) {
    int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
        RECT client{};
        GetClientRect(hwnd, &client);
        x = client.right - 1 - x;  // the model counts from the left
    }
    TControl* hit = GraphicControlAt(owner, x, y);
    TControl* target = hit ? hit : &owner;
    switch (msg) {
    case WM_LBUTTONDOWN:
        pressed = target;
        if (!hit && !dynamic_cast<TCustomForm*>(&owner) && owner.TabStop() && owner.CanFocus()) owner.SetFocus();
        return false;
    case WM_LBUTTONUP: {
        const bool same = pressed == target;
        pressed = nullptr;
        if (same) target->MouseClick();
        return same;
    }
    case WM_LBUTTONDBLCLK:
        target->MouseDblClick();
        return true;
    default: return false;
    }
}

}  // namespace rt
