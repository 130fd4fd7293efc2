// The control model: fonts, controls with geometry, captions, visibility and focus, the
// containers that parent them, and the first simple controls (labels, images).
// The model holds the state; a widget backend (runtime/WidgetBackend.h) realises it as
// real windows or keeps it headless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/TypInfo.h"

namespace rt {

// Colours as Windows keeps them: 0x00BBGGRR, or 0x800000nn for system colour nn.
using TColor = std::int32_t;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clBlue = 0xFF0000, clGreen = 0x008000,
                 clNavy = 0x800000, clYellow = 0x00FFFF, clGray = 0x808080, clSilver = 0xC0C0C0, clMaroon = 0x000080,
                 clTeal = 0x808000, clPurple = 0x800080, clOlive = 0x008080, clLime = 0x00FF00, clFuchsia = 0xFF00FF,
                 clAqua = 0xFFFF00;
constexpr TColor clBtnFace = TColor(0x8000000F), clWindow = TColor(0x80000005), clWindowText = TColor(0x80000008),
                 clBtnText = TColor(0x80000012), clHighlight = TColor(0x8000000D), clHighlightText = TColor(0x8000000E),
                 clNone = 0x1FFFFFFF, clDefault = 0x20000000;
// Resolves a system colour to its usual RGB value; other colours pass unchanged.
TColor ColorToRGB(TColor color);
// "clWhite", "clBtnFace"... to the colour; false for an unknown name.
bool IdentToColor(const std::string& ident, std::int64_t& color);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
// Frame of a control that can have one (panels draw their own bevels instead).
enum class TBorderStyle { bsNone, bsSingle };

// Virtual key codes the model acts on; the values are the system's.
constexpr std::uint16_t vkBack = 0x08, vkTab = 0x09, vkReturn = 0x0D, vkShift = 0x10, vkControl = 0x11,
                        vkMenu = 0x12, vkEscape = 0x1B, vkSpace = 0x20, vkPrior = 0x21, vkNext = 0x22, vkEnd = 0x23,
                        vkHome = 0x24, vkLeft = 0x25, vkUp = 0x26, vkRight = 0x27, vkDown = 0x28, vkDelete = 0x2E,
                        vkF1 = 0x70;

// Keys a control handles itself, so the form does not treat them as dialog keys.
enum class TWantKey { wkTab, wkArrows, wkReturn, wkEscape };
using TWantKeys = TSet<TWantKey>;

}  // namespace rt

RT_DECLARE_ENUM(rt::TFontStyle)
RT_DECLARE_ENUM(rt::TAlign)
RT_DECLARE_ENUM(rt::TAlignment)
RT_DECLARE_ENUM(rt::TTextLayout)
RT_DECLARE_ENUM(rt::TBiDiMode)
RT_DECLARE_ENUM(rt::TBorderStyle)

namespace rt {

constexpr int kPixelsPerInch = 96;

// A published colour property: a number or a colour name in descriptions.
template <class C, class S>
TPropInfo ColorProperty(const char* name, TColor (C::*getter)() const, S setter) {
    TPropInfo p = AccessorProperty(name, getter, setter);
    p.IdentToInt = &IdentToColor;
    return p;
}

class TFont : public TPersistent {
    RT_CLASS(TFont, TPersistent)
public:
    TFont() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& v);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int v);
    // Points, derived from the height at 96 pixels per inch.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Charset() const { return FCharset; }
    void SetCharset(int v);

    void Assign(const TPersistent& source) override;
    bool operator==(const TFont& o) const;
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    int FCharset = 1;  // DEFAULT_CHARSET
};

class TWinControl;
class TCustomForm;

// What changed on a control, so a backend updates only that. Parent: the control moved to
// another parent (or left its parent). Items: the entries of a list, tree, group or tab row.
// State: a checked mark, a selection, a position or the play state.
enum class TControlChange { Bounds, Caption, Visible, Enabled, Font, Color, Appearance, ZOrder, Parent, Items, State, Cursor };

// The mouse pointer over a control: one of the system's shapes. crDefault leaves the choice
// to the parent (and finally the system).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHandPoint = -21;

using TKeyEvent = TEvent<TObject* /*Sender*/, std::uint16_t& /*Key*/, TShiftState /*Shift*/>;
using TKeyPressEvent = TEvent<TObject* /*Sender*/, char32_t& /*Key*/>;

class IWidgetBackend;
// Text broken into lines at blanks so that each fits maxWidth pixels where it can (a word
// longer than the width has a line of its own); line breaks in the text are kept.
std::vector<std::string> WrapText(IWidgetBackend& backend, const TFont& font, const std::string& text, int maxWidth);

// One line of text in a font: the backend's measure, or the headless rule without a backend.
int LineHeightOf(const TFont& font);

class TControl : public TComponent {
    RT_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    // The client area; for plain controls the whole control.
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a showing form.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    TFont* Font() const { return FFont; }
    TPersistent* FontObject() const { return FFont; }
    void SetFont(const TFont& f) { FFont->Assign(f); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode v);
    // Right-to-left reading order (every mode but left to right).
    bool UseRightToLeftReading() const { return FBiDiMode != TBiDiMode::bdLeftToRight; }
    // Alignments are mirrored: "left" means where reading starts.
    bool UseRightToLeftAlignment() const { return FBiDiMode == TBiDiMode::bdRightToLeft; }
    // Scroll bars and the layout of contents move to the other side.
    bool UseRightToLeftScrollBar() const {
        return FBiDiMode != TBiDiMode::bdLeftToRight && FBiDiMode != TBiDiMode::bdRightToLeftReadingOnly;
    }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);

    // The form that finally holds this control, or nullptr.
    TCustomForm* ParentForm() const;

    // Backend bookkeeping: the realised window or record, 0 while none exists.
    std::uintptr_t Handle() const { return FHandle; }
    void SetHandle(std::uintptr_t h) { FHandle = h; }
    bool HandleAllocated() const { return FHandle != 0; }

    // Sends a window message to the control as the backend would deliver it.
    std::intptr_t Perform(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // Messages the control understands; return true when handled.
    virtual bool WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);

    void Invalidate();
    void Repaint();
    void BringToFront();

    TNotifyEvent OnClick, OnDblClick;
    virtual void Click();
    virtual void DblClick();
    // What a click or double click of the mouse on the control does; both backends call
    // these when the user clicks. Buttons click, check boxes toggle, others fire OnClick.
    virtual void MouseClick();
    virtual void MouseDblClick();
    // The mouse pointer arrives over the control or leaves it (Win32 only: headless tests
    // call these themselves).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

    // Tells the backend of a change (no-op before the control is realised).
    void Changed(TControlChange what);

protected:
    void Loaded() override;
    // Switch point for descendants that adjust themselves to a new reading order.
    virtual void BiDiModeChanged() { Changed(TControlChange::Appearance); }
    virtual void FontChanged();
    virtual void ParentFontChanged();
    virtual void TextChanged() {}
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    std::string FCaption;
    bool FVisible = true;
    bool FEnabled = true;
    TFont* FFont;
    bool FParentFont = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    TAlign FAlign = TAlign::alNone;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    std::string FHint;
    TCursor FCursor = crDefault;
    std::uintptr_t FHandle = 0;
    bool FUpdatingFont = false;
};

// A control that can hold others and take the focus.
class TWinControl : public TControl {
    RT_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }
    int TabOrder() const;
    void SetTabOrder(int v);
    // Children that take part in tabbing, in tab order.
    std::vector<TWinControl*> TabList() const;

    virtual bool CanFocus() const;
    void SetFocus();
    bool Focused() const;
    // True for the control itself and everything inside it.
    bool ContainsControl(const TControl* control) const;

    // Lays out aligned children (top, bottom, left, right, then client).
    void Realign();
    // Multiplies the positions and sizes of every control inside by m / d, and their fonts
    // where they do not follow their parent's; the control's own bounds stay.
    void ScaleControls(int m, int d);
    void SetBounds(int left, int top, int width, int height) override;
    // The part of the client area that aligned children share; panels leave out their
    // bevels, group boxes their caption, page controls their tabs.
    virtual void AdjustClientRect(int& left, int& top, int& right, int& bottom) const;

    // Keyboard. The form routes every key (see TCustomForm::DispatchKeyDown): its own
    // preview, then the focused control's KeyDown/KeyPress/KeyUp, then the dialog keys.
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;
    // These fire the events; descendants act after them when the key is still set.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    virtual TWantKeys WantKeys() const { return {}; }
    // Enter or Escape offered to every control of the form; true when one took it.
    virtual bool DialogKey(std::uint16_t key, TShiftState shift);
    // What the system's own control does with a key the model let through. Real windows do
    // it themselves; the headless backend calls these in their place.
    virtual void DefaultKeyDown(std::uint16_t key, TShiftState shift);
    virtual void DefaultKeyPress(char32_t key);
    virtual void DefaultKeyUp(std::uint16_t key, TShiftState shift);
    // Focus arrives and leaves (the form calls these).
    virtual void DoEnter();
    virtual void DoExit();

protected:
    void Loaded() override;
    // A new font reaches every child that takes its parent's (a form scaled to the screen,
    // and the labels of its panels with it).
    void FontChanged() override;
    void ParentFontChanged() override;

private:
    friend class TControl;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabOrderList;
    bool FTabStop = false;
};

// Drawn on its parent; has no window of its own.
class TGraphicControl : public TControl {
    RT_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
};

class TLabel : public TGraphicControl {
    RT_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // When True, "&x" marks an accelerator and "&&" shows one ampersand.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    // The control a click on the label (or its accelerator) focuses.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* control);
    // The caption as it is drawn.
    std::string DisplayText() const;
    // Fits the size to the text (width kept when word-wrapping).
    void AdjustBounds();

protected:
    void Loaded() override;
    void FontChanged() override;
    void TextChanged() override { AdjustBounds(); }
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    bool FWordWrap = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FTransparent = false;
    bool FShowAccelChar = true;
};

// A picture: the bytes of a Windows bitmap file, or the name of one built into the program.
class TPicture : public TPersistent {
    RT_CLASS(TPicture, TPersistent)
public:
    const TBytes& Data() const { return FData; }
    void SetData(const TBytes& data);
    const std::string& ResourceName() const { return FResourceName; }
    void SetResourceName(const std::string& name);
    // The bitmap file's bytes from either source; empty when there is no picture.
    TBytes Bitmap() const;
    bool Empty() const { return FData.empty() && FResourceName.empty(); }
    // A picture of 256 colours or fewer carries a palette; pages that share one picture's
    // palette ask for it so a 256-colour display shows them without colour shifts.
    bool HasPalette() const { return !Palette().empty(); }
    std::vector<TColor> Palette() const;
    int Width() const;
    int Height() const;
    void Assign(const TPersistent& source) override;
    TNotifyEvent OnChange;

private:
    TBytes FData;
    std::string FResourceName;
};

// The system's message icons, drawn by the backend in place of a picture.
enum class TSystemIcon { siNone, siExclamation, siHand, siAsterisk, siQuestion };

class TImage : public TGraphicControl {
    RT_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TSystemIcon SystemIcon() const { return FSystemIcon; }
    void SetSystemIcon(TSystemIcon v) {
        FSystemIcon = v;
        Invalidate();
    }

    TPicture* Picture() const { return FPicture; }
    TPersistent* PictureObject() const { return FPicture; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);

private:
    TPicture* FPicture;
    TSystemIcon FSystemIcon = TSystemIcon::siNone;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// Reads the pixel size of a Windows bitmap file; false when the bytes are not one.
bool BitmapSize(const TBytes& bmp, int& width, int& height);

}  // namespace rt
