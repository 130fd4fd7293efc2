// The control model; see Controls.h.
#include "runtime/Controls.h"

#include <algorithm>

#include "runtime/Forms.h"
#include "runtime/Resources.h"

RT_DEFINE_ENUM(rt::TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
RT_DEFINE_ENUM(rt::TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")
RT_DEFINE_ENUM(rt::TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
RT_DEFINE_ENUM(rt::TTextLayout, "tlTop", "tlCenter", "tlBottom")
RT_DEFINE_ENUM(rt::TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")
RT_DEFINE_ENUM(rt::TBorderStyle, "bsNone", "bsSingle")

namespace rt {

TColor ColorToRGB(TColor color) {
    if ((std::uint32_t(color) & 0xFF000000u) != 0x80000000u) return color;
    switch (color & 0xFF) {
    case 0x05: return clWhite;          // window
    case 0x08: return clBlack;          // window text
    case 0x0D: return 0x6A240A;         // highlight
    case 0x0E: return clWhite;          // highlight text
    case 0x0F: return 0xC8D0D4;         // button face
    case 0x12: return clBlack;          // button text
    default: return clSilver;
    }
}

std::vector<std::string> WrapText(IWidgetBackend& backend, const TFont& font, const std::string& text, int maxWidth) {
    std::vector<std::string> lines;
    for (const auto& para : SplitLines(text)) {
        std::string line;
        std::size_t pos = 0;
        bool any = false;
        while (pos <= para.size()) {
            const std::size_t next = para.find(' ', pos);
            const std::string word = para.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
            const std::string candidate = any ? line + " " + word : word;
            if (any && backend.TextWidth(font, candidate) > maxWidth) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            any = true;
            if (next == std::string::npos) break;
            pos = next + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

int LineHeightOf(const TFont& font) {
    if (auto* b = TryBackend()) return b->TextHeight(font);
    return (font.Height() < 0 ? -font.Height() : font.Height()) + 2;
}

bool IdentToColor(const std::string& ident, std::int64_t& color) {
    static const std::pair<const char*, TColor> names[] = {
        {"clBlack", clBlack}, {"clWhite", clWhite}, {"clRed", clRed}, {"clBlue", clBlue}, {"clGreen", clGreen},
        {"clNavy", clNavy}, {"clYellow", clYellow}, {"clGray", clGray}, {"clSilver", clSilver}, {"clMaroon", clMaroon},
        {"clTeal", clTeal}, {"clPurple", clPurple}, {"clOlive", clOlive}, {"clLime", clLime}, {"clFuchsia", clFuchsia},
        {"clAqua", clAqua}, {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
        {"clBtnText", clBtnText}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clNone", clNone},
        {"clDefault", clDefault}};
    for (const auto& [n, c] : names)
        if (SameText(n, ident)) {
            color = c;
            return true;
        }
    return false;
}

// ---- TFont ----

const TClassInfo& TFont::StaticClass() {
    static const TClassInfo info{"TFont", &TPersistent::StaticClass(), {},
                                 {AccessorProperty("Name", &TFont::Name, &TFont::SetName),
                                  AccessorProperty("Height", &TFont::Height, &TFont::SetHeight),
                                  AccessorProperty("Size", &TFont::Size, &TFont::SetSize),
                                  AccessorProperty("Style", &TFont::Style, &TFont::SetStyle),
                                  ColorProperty("Color", &TFont::Color, &TFont::SetColor),
                                  AccessorProperty("Charset", &TFont::Charset, &TFont::SetCharset)},
                                 {}};
    return info;
}

void TFont::SetName(const std::string& v) { if (v != FName) { FName = v; Changed(); } }
void TFont::SetHeight(int v) { if (v != FHeight) { FHeight = v; Changed(); } }
void TFont::SetStyle(TFontStyles v) { if (!(v == FStyle)) { FStyle = v; Changed(); } }
void TFont::SetColor(TColor v) { if (v != FColor) { FColor = v; Changed(); } }
void TFont::SetCharset(int v) { if (v != FCharset) { FCharset = v; Changed(); } }

int TFont::Size() const {
    // Points from pixels, rounded as MulDiv rounds.
    const int h = -FHeight;
    const long long n = static_cast<long long>(h) * 72;
    const long long r = n >= 0 ? (n + kPixelsPerInch / 2) / kPixelsPerInch : -((-n + kPixelsPerInch / 2) / kPixelsPerInch);
    return static_cast<int>(r);
}

void TFont::SetSize(int points) {
    const long long n = static_cast<long long>(points) * kPixelsPerInch;
    const long long r = n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
    SetHeight(-static_cast<int>(r));
}

void TFont::Assign(const TPersistent& source) {
    if (!source.InheritsFrom(TFont::StaticClass())) return TPersistent::Assign(source);
    const auto& f = static_cast<const TFont&>(source);
    if (*this == f) return;
    FName = f.FName;
    FHeight = f.FHeight;
    FStyle = f.FStyle;
    FColor = f.FColor;
    FCharset = f.FCharset;
    Changed();
}

bool TFont::operator==(const TFont& o) const {
    return FName == o.FName && FHeight == o.FHeight && FStyle == o.FStyle && FColor == o.FColor && FCharset == o.FCharset;
}

// ---- TControl ----

const TClassInfo& TControl::StaticClass() {
    static const TClassInfo info{
        "TControl", &TComponent::StaticClass(), {},
        {AccessorProperty("Left", &TControl::Left, &TControl::SetLeft),
         AccessorProperty("Top", &TControl::Top, &TControl::SetTop),
         AccessorProperty("Width", &TControl::Width, &TControl::SetWidth),
         AccessorProperty("Height", &TControl::Height, &TControl::SetHeight),
         AccessorProperty("Caption", &TControl::Caption, &TControl::SetCaption),
         AccessorProperty("Visible", &TControl::Visible, &TControl::SetVisible),
         AccessorProperty("Enabled", &TControl::Enabled, &TControl::SetEnabled),
         ObjectProperty("Font", &TControl::FontObject),
         AccessorProperty("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
         ColorProperty("Color", &TControl::Color, &TControl::SetColor),
         AccessorProperty("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
         AccessorProperty("Align", &TControl::Align, &TControl::SetAlign),
         AccessorProperty("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode),
         AccessorProperty("Hint", &TControl::Hint, &TControl::SetHint),
         Property("OnClick", &TControl::OnClick), Property("OnDblClick", &TControl::OnDblClick)},
        {}};
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(new TFont) {
    FFont->OnChange = TNotifyEvent(this, [this](TObject*) {
        if (!FUpdatingFont) FParentFont = false;
        FontChanged();
    });
}

TControl::~TControl() {
    if (FHandle && TryBackend()) TryBackend()->Unrealize(*this);
    if (FParent) FParent->RemoveControl(this);
    delete FFont;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EComponentError("A control cannot have itself as its parent");
    // The old place shows what was under the control again.
    if (FParent && !IsLoading()) Invalidate();
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    Changed(TControlChange::Parent);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (parent && parent->InheritsFrom(TWinControl::StaticClass())) SetParent(static_cast<TWinControl*>(parent));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Changed(TControlChange::Bounds);
    if (FParent && FAlign != TAlign::alNone && !IsLoading()) FParent->Realign();
}

void TControl::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    Changed(TControlChange::Caption);
    TextChanged();
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    Changed(TControlChange::Visible);
    if (FParent && FAlign != TAlign::alNone && !IsLoading()) FParent->Realign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetCursor(TCursor v) {
    if (v == FCursor) return;
    FCursor = v;
    Changed(TControlChange::Cursor);
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Changed(TControlChange::Enabled);
}

void TControl::SetParentFont(bool v) {
    FParentFont = v;
    if (v && FParent) ParentFontChanged();
}

void TControl::SetColor(TColor v) {
    FParentColor = false;
    if (v == FColor) return;
    FColor = v;
    Changed(TControlChange::Color);
}

void TControl::SetParentColor(bool v) {
    FParentColor = v;
    if (v && FParent && FParent->Color() != FColor) {
        FColor = FParent->Color();
        Changed(TControlChange::Color);
    }
}

void TControl::SetAlign(TAlign v) {
    if (v == FAlign) return;
    FAlign = v;
    if (FParent && !IsLoading()) FParent->Realign();
}

void TControl::SetBiDiMode(TBiDiMode v) {
    if (v == FBiDiMode) return;
    FBiDiMode = v;
    BiDiModeChanged();
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->FParent) c = c->FParent;
    return c->InheritsFrom(TCustomForm::StaticClass()) ? const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c)) : nullptr;
}

std::intptr_t TControl::Perform(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::intptr_t result = 0;
    WndProc(message, wParam, lParam, result);
    return result;
}

bool TControl::WndProc(std::uint32_t, std::uintptr_t, std::intptr_t, std::intptr_t&) { return false; }

void TControl::Invalidate() {
    if (FHandle || (FParent && FParent->HandleAllocated()))
        if (auto* b = TryBackend()) b->Invalidate(*this);
}

void TControl::Repaint() {
    Invalidate();
    if (TCustomForm* f = ParentForm(); f && f->HandleAllocated())
        if (auto* b = TryBackend()) b->PaintNow(*f);
}

void TControl::BringToFront() {
    if (FParent) {
        auto& list = FParent->FControls;
        list.erase(std::find(list.begin(), list.end(), this));
        list.push_back(this);
    }
    Changed(TControlChange::ZOrder);
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseClick() {
    if (Enabled()) Click();
}
void TControl::MouseDblClick() {
    if (Enabled()) DblClick();
}

void TControl::Changed(TControlChange what) {
    if (IsLoading()) return;
    const bool realised = FHandle || (FParent && ParentForm() && ParentForm()->HandleAllocated());
    // A control leaving a realised form still has its window to take down.
    if (realised || (what == TControlChange::Parent && FParent == nullptr && FHandle))
        if (auto* b = TryBackend()) b->Changed(*this, what);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParentFont && FParent) ParentFontChanged();
    if (FParentColor && FParent) FColor = FParent->Color();
}

void TControl::FontChanged() { Changed(TControlChange::Font); }

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FUpdatingFont = true;
    FFont->Assign(*FParent->Font());
    FUpdatingFont = false;
}

// ---- TWinControl ----

const TClassInfo& TWinControl::StaticClass() {
    static const TClassInfo info{"TWinControl", &TControl::StaticClass(), {},
                                 {AccessorProperty("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
                                  AccessorProperty("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
                                  Property("OnKeyDown", &TWinControl::OnKeyDown),
                                  Property("OnKeyPress", &TWinControl::OnKeyPress),
                                  Property("OnKeyUp", &TWinControl::OnKeyUp),
                                  Property("OnEnter", &TWinControl::OnEnter),
                                  Property("OnExit", &TWinControl::OnExit)},
                                 {}};
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children outlive their parent only when another owner frees them later.
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* control) {
    control->FParent = this;
    FControls.push_back(control);
    if (control->InheritsFrom(TWinControl::StaticClass())) FTabOrderList.push_back(static_cast<TWinControl*>(control));
    if (control->FParentFont) control->ParentFontChanged();
    if (control->FParentColor) control->FColor = Color();
    if (!IsLoading() && control->Align() != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    FTabOrderList.erase(std::remove(FTabOrderList.begin(), FTabOrderList.end(), control), FTabOrderList.end());
    control->FParent = nullptr;
    // The focus cannot stay inside a control that left the form; no events, the control may be
    // half destroyed.
    if (TCustomForm* f = ParentForm(); f && f->ActiveControl()) {
        TControl* active = f->ActiveControl();
        bool inside = active == control;
        for (TControl* c = active; c && !inside; c = c->Parent()) inside = c == control;
        if (inside) f->ForgetFocus();
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabOrderList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
    if (!Parent()) return;
    auto& list = Parent()->FTabOrderList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const int pos = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + pos, this);
}

std::vector<TWinControl*> TWinControl::TabList() const {
    std::vector<TWinControl*> result;
    for (TWinControl* c : FTabOrderList) {
        if (c->TabStop() && c->CanFocus()) result.push_back(c);
        for (TWinControl* inner : c->TabList()) result.push_back(inner);
    }
    return result;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EComponentError("Cannot focus a disabled or invisible window");
    if (TCustomForm* f = ParentForm()) f->FocusControl(this);
    if (HandleAllocated() || (ParentForm() && ParentForm()->HandleAllocated()))
        if (auto* b = TryBackend()) b->SetFocus(*this);
}

bool TWinControl::Focused() const {
    const TCustomForm* f = ParentForm();
    return f && f->ActiveControl() == this;
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::AdjustClientRect(int&, int&, int&, int&) const {}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyPress(char32_t& key) { OnKeyPress(this, key); }
void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift) { OnKeyUp(this, key, shift); }

bool TWinControl::DialogKey(std::uint16_t key, TShiftState shift) {
    for (std::size_t i = 0; i < FControls.size(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(FControls[i]);
        if (w && w->Visible() && w->DialogKey(key, shift)) return true;
    }
    return false;
}

void TWinControl::DefaultKeyDown(std::uint16_t, TShiftState) {}
void TWinControl::DefaultKeyPress(char32_t) {}
void TWinControl::DefaultKeyUp(std::uint16_t, TShiftState) {}
void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::Realign() {
    int left = 0, top = 0, right = ClientWidth(), bottom = ClientHeight();
    AdjustClientRect(left, top, right, bottom);
    auto place = [&](TAlign which) {
        for (TControl* c : FControls) {
            if (c->Align() != which || !c->Visible()) continue;
            switch (which) {
            case TAlign::alTop: c->SetBounds(left, top, right - left, c->Height()); top += c->Height(); break;
            case TAlign::alBottom: bottom -= c->Height(); c->SetBounds(left, bottom, right - left, c->Height()); break;
            case TAlign::alLeft: c->SetBounds(left, top, c->Width(), bottom - top); left += c->Width(); break;
            case TAlign::alRight: right -= c->Width(); c->SetBounds(right, top, c->Width(), bottom - top); break;
            case TAlign::alClient: c->SetBounds(left, top, right - left, bottom - top); break;
            case TAlign::alNone: break;
            }
        }
    };
    // Each SetBounds above may ask for another realign; the placement is idempotent.
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TControl::SetBounds(left, top, width, height);
    if (resized && !IsLoading()) Realign();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Sizes set while loading did not lay out the aligned children yet.
    Realign();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : FControls) c->ParentFontChanged();
}

void TWinControl::ParentFontChanged() {
    // Taking the parent's font is a font change, which passes it on to the children.
    TControl::ParentFontChanged();
}

// ---- TGraphicControl, TLabel ----

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo info{"TGraphicControl", &TControl::StaticClass(), {}, {}, {}};
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

const TClassInfo& TLabel::StaticClass() {
    static const TClassInfo info{"TLabel", &TGraphicControl::StaticClass(), Factory<TLabel>(),
                                 {AccessorProperty("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
                                  AccessorProperty("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap),
                                  AccessorProperty("Alignment", &TLabel::Alignment, &TLabel::SetAlignment),
                                  AccessorProperty("Layout", &TLabel::Layout, &TLabel::SetLayout),
                                  AccessorProperty("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
                                  AccessorProperty("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar),
                                  AccessorProperty("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)},
                                 {}};
    return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 13); }

void TLabel::SetAutoSize(bool v) { FAutoSize = v; AdjustBounds(); }
void TLabel::SetWordWrap(bool v) { FWordWrap = v; AdjustBounds(); Changed(TControlChange::Appearance); }
void TLabel::SetAlignment(TAlignment v) { FAlignment = v; Changed(TControlChange::Appearance); }
void TLabel::SetLayout(TTextLayout v) { FLayout = v; Changed(TControlChange::Appearance); }
void TLabel::SetTransparent(bool v) { FTransparent = v; Changed(TControlChange::Appearance); }
void TLabel::SetShowAccelChar(bool v) { FShowAccelChar = v; AdjustBounds(); Changed(TControlChange::Caption); }

void TLabel::SetFocusControl(TWinControl* control) {
    FFocusControl = control;
    if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

std::string TLabel::DisplayText() const {
    if (!FShowAccelChar) return Caption();
    std::string r;
    const std::string& c = Caption();
    for (std::size_t i = 0; i < c.size(); ++i) {
        // "&x" shows x (underlined as the accelerator), "&&" shows one ampersand.
        if (c[i] == '&' && i + 1 < c.size()) ++i;
        r += c[i];
    }
    return r;
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    IWidgetBackend* b = TryBackend();
    if (!b) return;
    const std::string text = DisplayText();
    const int lineHeight = b->TextHeight(*Font());
    if (!FWordWrap) {
        int w = 0;
        int lines = 0;
        for (const auto& line : SplitLines(text.empty() ? std::string(" ") : text)) {
            w = std::max(w, b->TextWidth(*Font(), line));
            ++lines;
        }
        int left = Left();
        if (FAlignment == TAlignment::taRightJustify) left = Left() + Width() - w;
        else if (FAlignment == TAlignment::taCenter) left = Left() + (Width() - w) / 2;
        SetBounds(left, Top(), w, lineHeight * std::max(lines, 1));
        return;
    }
    // Word wrap keeps the width and grows or shrinks the height.
    const int lines = static_cast<int>(WrapText(*b, *Font(), text, Width()).size());
    SetBounds(Left(), Top(), Width(), lineHeight * std::max(lines, 1));
}

void TWinControl::ScaleControls(int m, int d) {
    if (d == 0) return;
    const auto scale = [m, d](int v) { return MulDiv(v, m, d); };
    for (TControl* c : FControls) {
        // Contents first: a control that lays out its contents when its own font or size
        // changes then works with contents already scaled.
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->ScaleControls(m, d);
        if (!c->ParentFont()) c->Font()->SetHeight(scale(c->Font()->Height()));
        const int left = scale(c->Left()), top = scale(c->Top());
        c->SetBounds(left, top, scale(c->Left() + c->Width()) - left, scale(c->Top() + c->Height()) - top);
    }
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

// ---- TPicture, TImage ----

const TClassInfo& TPicture::StaticClass() {
    static const TClassInfo info{"TPicture", &TPersistent::StaticClass(), {},
                                 {AccessorProperty("Data", &TPicture::Data, &TPicture::SetData),
                                  AccessorProperty("ResourceName", &TPicture::ResourceName, &TPicture::SetResourceName)},
                                 {}};
    return info;
}

void TPicture::SetData(const TBytes& data) {
    FData = data;
    FResourceName.clear();
    OnChange(this);
}

void TPicture::SetResourceName(const std::string& name) {
    FResourceName = name;
    FData.clear();
    OnChange(this);
}

TBytes TPicture::Bitmap() const {
    if (!FData.empty()) return FData;
    if (FResourceName.empty()) return {};
    const std::string r = FindResource(FResourceName);
    return TBytes(r.begin(), r.end());
}

std::vector<TColor> TPicture::Palette() const {
    const TBytes b = Bitmap();
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return {};
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + std::size_t(i)];
        return v;
    };
    const std::uint32_t headerSize = le(14, 4);
    const bool core = headerSize == 12;
    const std::uint32_t bpp = core ? le(24, 2) : le(28, 2);
    if (bpp == 0 || bpp > 8) return {};
    std::uint32_t count = core ? 0 : le(46, 4);
    if (count == 0 || count > (1u << bpp)) count = 1u << bpp;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t first = 14 + headerSize;
    std::vector<TColor> colours;
    for (std::uint32_t i = 0; i < count && first + (i + 1) * entry <= b.size(); ++i) {
        const std::size_t at = first + i * entry;  // blue, green, red
        colours.push_back(TColor(b[at + 2] | b[at + 1] << 8 | b[at] << 16));
    }
    return colours;
}

int TPicture::Width() const {
    int w = 0, h = 0;
    return BitmapSize(Bitmap(), w, h) ? w : 0;
}

int TPicture::Height() const {
    int w = 0, h = 0;
    return BitmapSize(Bitmap(), w, h) ? h : 0;
}

void TPicture::Assign(const TPersistent& source) {
    if (!source.InheritsFrom(TPicture::StaticClass())) return TPersistent::Assign(source);
    const auto& p = static_cast<const TPicture&>(source);
    FData = p.FData;
    FResourceName = p.FResourceName;
    OnChange(this);
}

bool BitmapSize(const TBytes& bmp, int& width, int& height) {
    if (bmp.size() < 26 || bmp[0] != 'B' || bmp[1] != 'M') return false;
    auto le32 = [&](std::size_t at) {
        return std::int32_t(std::uint32_t(bmp[at]) | std::uint32_t(bmp[at + 1]) << 8 | std::uint32_t(bmp[at + 2]) << 16 |
                            std::uint32_t(bmp[at + 3]) << 24);
    };
    const std::int32_t headerSize = le32(14);
    if (headerSize == 12) {  // the old core header has 16-bit sizes
        width = bmp[18] | bmp[19] << 8;
        height = bmp[20] | bmp[21] << 8;
        return true;
    }
    width = le32(18);
    height = le32(22);
    if (height < 0) height = -height;  // stored top-down
    return true;
}

const TClassInfo& TImage::StaticClass() {
    static const TClassInfo info{"TImage", &TGraphicControl::StaticClass(), Factory<TImage>(),
                                 {ObjectProperty("Picture", &TImage::PictureObject),
                                  AccessorProperty("Stretch", &TImage::Stretch, &TImage::SetStretch),
                                  AccessorProperty("Center", &TImage::Center, &TImage::SetCenter),
                                  AccessorProperty("Transparent", &TImage::Transparent, &TImage::SetTransparent),
                                  AccessorProperty("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)},
                                 {}};
    return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(new TPicture) {
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = TNotifyEvent(this, [this](TObject*) {
        if (FAutoSize && FPicture->Width() > 0) SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
        Changed(TControlChange::Appearance);
    });
}

TImage::~TImage() { delete FPicture; }

void TImage::SetStretch(bool v) { FStretch = v; Changed(TControlChange::Appearance); }
void TImage::SetCenter(bool v) { FCenter = v; Changed(TControlChange::Appearance); }
void TImage::SetTransparent(bool v) { FTransparent = v; Changed(TControlChange::Appearance); }
void TImage::SetAutoSize(bool v) {
    FAutoSize = v;
    if (v && FPicture->Width() > 0) SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
}

}  // namespace rt
