// The 3D page button; see Button3D.h.
#include "ui/Button3D.h"

#include <algorithm>
#include <cmath>

#include "runtime/Forms.h"
#include "runtime/SysUtils.h"

using namespace rt;

std::string SplitCaption(const std::string& caption, int words) {
    const int n = words <= 0 ? 1 : words;
    std::size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t blank = caption.find(' ', pos);
        if (blank == std::string::npos) return caption;
        pos = blank + 1;
    }
    // pos is just after the blank that ends the n-th word; the blank itself is dropped.
    return caption.substr(0, pos - 1) + "\n\r" + caption.substr(pos);
}

std::string JoinCaption(const std::string& text) {
    const std::size_t mark = text.find("\n\r");
    if (mark == std::string::npos) return text;
    return text.substr(0, mark) + " " + text.substr(mark + 2);
}

void PrepareButtons3D(TComponent& form) {
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton3D*>(form.Components(i))) b->Prepare();
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// ---- TButton3D ----

const TClassInfo& TButton3D::StaticClass() {
    static const TClassInfo info{
        "TButton3D", &TCustomPanel::StaticClass(), Factory<TButton3D>(),
        {AccessorProperty("ImageControl", &TButton3D::ImageControl, &TButton3D::SetImageControl),
         AccessorProperty("MultiLine", &TButton3D::MultiLine, &TButton3D::SetMultiLine),
         AccessorProperty("SplitWord", &TButton3D::SplitWord, &TButton3D::SetSplitWord),
         AccessorProperty("AutoWidth", &TButton3D::AutoWidth, &TButton3D::SetAutoWidth),
         AccessorProperty("Default", &TButton3D::Default, &TButton3D::SetDefault),
         AccessorProperty("Cancel", &TButton3D::Cancel, &TButton3D::SetCancel),
         AccessorProperty("DefaultKeyHandler", &TButton3D::DefaultKeyHandler, &TButton3D::SetDefaultKeyHandler),
         ColorProperty("FocusColor", &TButton3D::FocusColor, &TButton3D::SetFocusColor),
         AccessorProperty("ShowTheIcon", &TButton3D::ShowTheIcon, &TButton3D::SetShowTheIcon),
         AccessorProperty("IconResName", &TButton3D::IconResName, &TButton3D::SetIconResName),
         ObjectProperty("Icon", &TButton3D::IconObject),
         AccessorProperty("Hebrew", &TButton3D::Hebrew, &TButton3D::SetHebrew)},
        {}};
    return info;
}

TButton3D::TButton3D(TComponent* owner) : TCustomPanel(owner), FIcon(new TPicture) {
    SetBevelInner(TPanelBevel::bvNone);
    SetBevelOuter(TPanelBevel::bvNone);
    SetTabStop(true);
    SetParentFont(false);
    Font()->SetSize(12);
    Font()->SetColor(clWhite);
    FIcon->OnChange = TNotifyEvent(this, [this](TObject*) { Invalidate(); });
}

TButton3D::~TButton3D() { delete FIcon; }

void TButton3D::SetImageControl(TImage* v) {
    if (v == FImageControl) return;
    if (FImageControl) FImageControl->RemoveFreeNotification(this);
    FImageControl = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TButton3D::SetMultiLine(bool v) {
    if (v == FMultiLine) return;
    FMultiLine = v;
    if (FPrepared) LayoutCaption();
}

void TButton3D::SetSplitWord(int v) {
    if (v == FSplitWord) return;
    FSplitWord = v;
    if (FPrepared) LayoutCaption();
}

void TButton3D::SetAutoWidth(bool v) {
    if (v == FAutoWidth) return;
    FAutoWidth = v;
    if (FPrepared) ApplyAutoWidth();
}

void TButton3D::SetHebrew(bool v) {
    FHebrew = v;
    if (FLabel) FLabel->SetHebrew(v);
}

std::string TButton3D::CaptionText() const { return FPrepared ? FText : Caption(); }

void TButton3D::Prepare() {
    if (FPrepared) return;
    Invalidate();  // the face picture at once
    FText = Caption();
    FLabel = new THebLabel(Owner());
    FLabel->FreeNotification(this);
    FLabel->SetParent(this);
    FLabel->SetHebrew(FHebrew);
    FLabel->SetAutoSize(true);
    FLabel->SetAlignment(TAlignment::taCenter);
    FLabel->SetShowAccelChar(false);
    FLabel->SetParentFont(false);
    FLabel->SetFont(*Font());
    FSettingCaption = true;
    SetCaption("");
    FSettingCaption = false;
    LayoutCaption();
    FLabel->BringToFront();
    FLabel->OnClick = TNotifyEvent(this, [this](TObject*) { MouseClick(); });
    FPrepared = true;
    PlaceLabel();
    FLabel->SetTransparent(true);
}

void TButton3D::LayoutCaption() {
    if (!FLabel) return;
    FLabel->SetCaption(FMultiLine ? SplitCaption(FText, FSplitWord) : FText);
    if (!FAutoWidth) FitCaption();
    PlaceLabel();
}

void TButton3D::FitCaption() {
    TFont& font = *FLabel->Font();
    const int original = font.Size();
    auto tooBig = [&] { return FLabel->Height() > Height() || FLabel->Width() > Width(); };
    while (tooBig()) {
        const int before = font.Size();
        if (before <= 4) {
            // Unreadably small and still too big: better cut off than shrunk.
            font.SetSize(original);
            break;
        }
        font.SetSize(before - 1);
        if (font.Size() == before) break;
    }
}

void TButton3D::PlaceLabel() {
    if (!FLabel) return;
    const int top = RoundHalfEven(FVerticalFactor * (Height() - FLabel->Height()) / 2.0);
    const int left = RoundHalfEven((Width() - FLabel->Width()) / 2.0);
    FLabel->SetBounds(left, top, FLabel->Width(), FLabel->Height());
}

void TButton3D::ApplyAutoWidth() {
    IWidgetBackend* backend = TryBackend();
    if (!FAutoWidth || !FLabel || !backend) return;
    int widest = 0;
    for (const auto& line : SplitLines(FLabel->Caption())) widest = std::max(widest, backend->TextWidth(*FLabel->Font(), line));
    const int width = widest + 20;
    // The centre stays where it was.
    SetBounds(Left() + RoundHalfEven((Width() - width) / 2.0), Top(), width, Height());
}

void TButton3D::TextChanged() {
    TCustomPanel::TextChanged();
    if (!FPrepared || FSettingCaption) return;
    FText = Caption();
    if (!FText.empty()) {
        FSettingCaption = true;
        SetCaption("");
        FSettingCaption = false;
    }
    LayoutCaption();
    ApplyAutoWidth();
}

void TButton3D::FontChanged() {
    TCustomPanel::FontChanged();
    if (!FLabel) return;
    FLabel->SetFont(*Font());
    if (Focused()) FLabel->Font()->SetColor(FFocusColor);
    PlaceLabel();
}

void TButton3D::SetBounds(int left, int top, int width, int height) {
    TCustomPanel::SetBounds(left, top, width, height);
    if (FPrepared) PlaceLabel();
}

void TButton3D::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == FImageControl) FImageControl = nullptr;
    if (component == FLabel) FLabel = nullptr;
}

void TButton3D::Click() {
    if (CanFocus()) SetFocus();
    Repaint();
    TCustomPanel::Click();
}

void TButton3D::MouseClick() {
    RestoreCaption();
    TCustomPanel::MouseClick();
}

void TButton3D::MouseEnter() {
    FHover = true;
    if (Enabled() && Visible() && FShowTheIcon && !FIcon->Empty() && FLabel) {
        FLabel->Hide();
        FIconShown = true;
    }
    Invalidate();
}

void TButton3D::MouseLeave() {
    FHover = false;
    RestoreCaption();
    Invalidate();
}

void TButton3D::RestoreCaption() {
    if (!FIconShown) return;
    FIconShown = false;
    if (FLabel) FLabel->Show();
    Invalidate();
}

void TButton3D::SetEnabled(bool v) {
    TCustomPanel::SetEnabled(v);
    if (FLabel) FLabel->SetEnabled(v);
}

void TButton3D::DoEnter() {
    TCustomPanel::DoEnter();
    if (FLabel) FLabel->Font()->SetColor(FFocusColor);
}

void TButton3D::DoExit() {
    TCustomPanel::DoExit();
    if (FLabel) FLabel->Font()->SetColor(Font()->Color());
}

TWantKeys TButton3D::WantKeys() const {
    if (!FDefaultKeyHandler) return {};
    return {TWantKey::wkReturn, TWantKey::wkEscape};
}

TButton3D* TButton3D::FirstOnForm(bool wantDefault) const {
    TCustomForm* form = ParentForm();
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* b = dynamic_cast<TButton3D*>(form->Components(i));
        if (!b || !b->Visible() || !b->Enabled()) continue;
        if (wantDefault ? b->FDefault && b->CanFocus() : b->FCancel) return b;
    }
    return nullptr;
}

void TButton3D::KeyDown(std::uint16_t& key, TShiftState shift) {
    TCustomPanel::KeyDown(key, shift);
    if (!FDefaultKeyHandler || key == 0) return;
    if (key == vkSpace) {
        key = 0;
        Click();
    } else if (key == vkReturn || key == vkEscape) {
        TButton3D* target = FirstOnForm(key == vkReturn);
        key = 0;
        if (target) target->Click();
    }
}

bool TButton3D::CustomFace(TPanelFace& face) const {
    if (!FPrepared) return false;
    if (FImageControl && !FImageControl->Picture()->Empty()) face.Picture = FImageControl->Picture();
    face.WhiteFrames = FHover ? 2 : 0;
    if (FIconShown && !FIcon->Empty()) {
        const int iw = FIcon->Width(), ih = FIcon->Height();
        face.Icon = FIcon;
        face.IconLeft = RoundHalfEven((Width() - iw) / 2.0);
        face.IconWidth = iw;
        if (ih > Height() - 5) {
            face.IconTop = 2;
            face.IconHeight = Height() - 5;
        } else {
            face.IconTop = (Height() - ih) / 2;
            face.IconHeight = ih;
        }
    }
    return true;
}
