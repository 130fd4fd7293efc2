// Buttons, check boxes, radio buttons, group boxes, edits and memos; see StdCtrls.h.
#include "runtime/StdCtrls.h"

#include "runtime/Forms.h"

RT_DEFINE_ENUM(rt::TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
RT_DEFINE_ENUM(rt::TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
RT_DEFINE_ENUM(rt::TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

namespace rt {

// ---- TButtonControl, TButton ----

const TClassInfo& TButtonControl::StaticClass() {
    static const TClassInfo info{"TButtonControl", &TWinControl::StaticClass(), {}, {}, {}};
    return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::DefaultKeyUp(std::uint16_t key, TShiftState) {
    if (key == vkSpace) MouseClick();
}

const TClassInfo& TButton::StaticClass() {
    static const TClassInfo info{"TButton", &TButtonControl::StaticClass(), Factory<TButton>(),
                                 {AccessorProperty("Default", &TButton::Default, &TButton::SetDefault),
                                  AccessorProperty("Cancel", &TButton::Cancel, &TButton::SetCancel),
                                  AccessorProperty("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)},
                                 {}};
    return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool v) {
    if (v == FDefault) return;
    FDefault = v;
    Changed(TControlChange::Appearance);
}

void TButton::Click() {
    // The result is set first, so OnClick can still take it back.
    if (FModalResult != 0)
        if (TCustomForm* f = ParentForm()) f->SetModalResult(FModalResult);
    TButtonControl::Click();
}

bool TButton::DialogKey(std::uint16_t key, TShiftState) {
    if (!CanFocus()) return false;
    if (key == vkReturn) {
        const TCustomForm* f = ParentForm();
        const TWinControl* focused = f ? f->ActiveControl() : nullptr;
        const bool buttonFocused = dynamic_cast<const TButton*>(focused) != nullptr;
        if (focused == this || (FDefault && !buttonFocused)) {
            Click();
            return true;
        }
    } else if (key == vkEscape && FCancel) {
        Click();
        return true;
    }
    return false;
}

// ---- TCheckBox ----

const TClassInfo& TCheckBox::StaticClass() {
    static const TClassInfo info{"TCheckBox", &TButtonControl::StaticClass(), Factory<TCheckBox>(),
                                 {AccessorProperty("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked),
                                  AccessorProperty("State", &TCheckBox::State, &TCheckBox::SetState),
                                  AccessorProperty("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed),
                                  AccessorProperty("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment)},
                                 {}};
    return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::SetState(TCheckBoxState v) {
    if (v == FState) return;
    FState = v;
    Changed(TControlChange::State);
    if (!IsLoading()) Click();
}

void TCheckBox::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(TControlChange::Appearance);
}

bool TCheckBox::CaptionOnLeft() const { return (FAlignment == TAlignment::taLeftJustify) != UseRightToLeftAlignment(); }

void TCheckBox::Toggle() {
    switch (FState) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
        SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCheckBox::MouseClick() {
    if (Enabled()) Toggle();
}

// ---- TRadioButton ----

const TClassInfo& TRadioButton::StaticClass() {
    static const TClassInfo info{"TRadioButton", &TButtonControl::StaticClass(), Factory<TRadioButton>(),
                                 {AccessorProperty("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked),
                                  AccessorProperty("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)},
                                 {}};
    return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool v) {
    if (v == FChecked) return;
    FChecked = v;
    Changed(TControlChange::State);
    if (!v || IsLoading()) return;
    TurnSiblingsOff();
    Click();
}

void TRadioButton::TurnSiblingsOff() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
        if (other && other != this && other->FChecked) {
            other->FChecked = false;
            other->Changed(TControlChange::State);
        }
    }
}

void TRadioButton::Loaded() {
    TButtonControl::Loaded();
    if (FChecked) TurnSiblingsOff();
}

void TRadioButton::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(TControlChange::Appearance);
}

bool TRadioButton::CaptionOnLeft() const {
    return (FAlignment == TAlignment::taLeftJustify) != UseRightToLeftAlignment();
}

void TRadioButton::MouseClick() {
    if (Enabled()) SetChecked(true);
}

// ---- TCustomGroupBox, TGroupBox ----

const TClassInfo& TCustomGroupBox::StaticClass() {
    static const TClassInfo info{"TCustomGroupBox", &TWinControl::StaticClass(), {}, {}, {}};
    return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TCustomGroupBox::AdjustClientRect(int& left, int& top, int& right, int& bottom) const {
    // Inside the frame and below the caption line.
    top += LineHeightOf(*Font()) + 2;
    left += 2;
    right -= 2;
    bottom -= 2;
}

const TClassInfo& TGroupBox::StaticClass() {
    static const TClassInfo info{"TGroupBox", &TCustomGroupBox::StaticClass(), Factory<TGroupBox>(), {}, {}};
    return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}

// ---- TCustomEdit, TEdit ----

const TClassInfo& TCustomEdit::StaticClass() {
    static const TClassInfo info{"TCustomEdit", &TWinControl::StaticClass(), {},
                                 {AccessorProperty("Text", &TCustomEdit::Text, &TCustomEdit::SetText),
                                  AccessorProperty("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
                                  AccessorProperty("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
                                  AccessorProperty("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase),
                                  AccessorProperty("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect),
                                  AccessorProperty("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle),
                                  Property("OnChange", &TCustomEdit::OnChange)},
                                 {}};
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetMaxLength(int v) {
    if (v < 0) v = 0;
    if (v == FMaxLength) return;
    FMaxLength = v;
    Changed(TControlChange::Appearance);
}

void TCustomEdit::SetReadOnly(bool v) {
    if (v == FReadOnly) return;
    FReadOnly = v;
    Changed(TControlChange::Appearance);
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
    FCharCase = v;
    if (IsLoading() || v == TEditCharCase::ecNormal) return;
    SetText(v == TEditCharCase::ecUpperCase ? UpperCase(Text()) : LowerCase(Text()));
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Changed(TControlChange::Appearance);
}

int TCustomEdit::TextLength() const { return static_cast<int>(Utf8ToUtf32(Text()).size()); }

void TCustomEdit::UserEdited(const std::string& text) { SetText(text); }

void TCustomEdit::DefaultKeyPress(char32_t key) {
    if (FReadOnly) return;
    std::u32string text = Utf8ToUtf32(Text());
    if (key == U'\b') {
        if (text.empty()) return;
        text.pop_back();
        UserEdited(Utf32ToUtf8(text));
        return;
    }
    if (key < 0x20) return;  // other control characters insert nothing
    if (FMaxLength > 0 && static_cast<int>(text.size()) >= FMaxLength) return;
    if (FCharCase == TEditCharCase::ecUpperCase && key >= U'a' && key <= U'z') key -= 32;
    if (FCharCase == TEditCharCase::ecLowerCase && key >= U'A' && key <= U'Z') key += 32;
    text += key;
    UserEdited(Utf32ToUtf8(text));
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::TextChanged() {
    if (!IsLoading()) Change();
}

const TClassInfo& TEdit::StaticClass() {
    static const TClassInfo info{"TEdit", &TCustomEdit::StaticClass(), Factory<TEdit>(), {}, {}};
    return info;
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

// ---- TMemo ----

const TClassInfo& TMemo::StaticClass() {
    static const TClassInfo info{"TMemo", &TCustomEdit::StaticClass(), Factory<TMemo>(),
                                 {StringsProperty("Lines", &TMemo::Lines, &TMemo::SetLines),
                                  AccessorProperty("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars),
                                  AccessorProperty("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap),
                                  AccessorProperty("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns),
                                  AccessorProperty("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs),
                                  AccessorProperty("Alignment", &TMemo::Alignment, &TMemo::SetAlignment)},
                                 {}};
    return info;
}

namespace {

std::string JoinLines(const TStrings& lines) {
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i) text += "\r\n";
        text += lines.Strings(i);
    }
    return text;
}

}  // namespace

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), FLines(new TStringList) {
    SetBounds(0, 0, 185, 89);
    FLines->OnChange = TNotifyEvent(this, [this](TObject*) {
        if (FSyncing) return;
        FSyncing = true;
        SetCaption(JoinLines(*FLines));
        FSyncing = false;
    });
}

TMemo::~TMemo() { delete FLines; }

void TMemo::TextChanged() {
    if (!FSyncing) {
        FSyncing = true;
        FLines->SetText(Caption());
        FSyncing = false;
    }
    TCustomEdit::TextChanged();
}

void TMemo::SetScrollBars(TScrollStyle v) {
    if (v == FScrollBars) return;
    FScrollBars = v;
    Changed(TControlChange::Appearance);
}

void TMemo::SetWordWrap(bool v) {
    if (v == FWordWrap) return;
    FWordWrap = v;
    Changed(TControlChange::Appearance);
}

void TMemo::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(TControlChange::Appearance);
}

void TMemo::UserEdited(const std::string& text) { SetText(text); }

TWantKeys TMemo::WantKeys() const {
    TWantKeys keys{TWantKey::wkArrows};
    if (FWantReturns) keys.Include(TWantKey::wkReturn);
    if (FWantTabs) keys.Include(TWantKey::wkTab);
    return keys;
}

void TMemo::DefaultKeyPress(char32_t key) {
    if (key == U'\r' && FWantReturns && !ReadOnly()) {
        if (MaxLength() > 0 && TextLength() + 2 > MaxLength()) return;
        UserEdited(Text() + "\r\n");
        return;
    }
    if (key == U'\t' && FWantTabs && !ReadOnly()) {
        UserEdited(Text() + "\t");
        return;
    }
    TCustomEdit::DefaultKeyPress(key);
}

}  // namespace rt
