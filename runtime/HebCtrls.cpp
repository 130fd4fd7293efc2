// The right-to-left variants; see HebCtrls.h.
#include "runtime/HebCtrls.h"

namespace rt {

// ---- THebLabel ----

const TClassInfo& THebLabel::StaticClass() {
    static const TClassInfo info{"THebLabel", &TLabel::StaticClass(), Factory<THebLabel>(),
                                 {AccessorProperty("Hebrew", &THebLabel::Hebrew, &THebLabel::SetHebrew)}, {}};
    return info;
}

THebLabel::THebLabel(TComponent* owner) : TLabel(owner) {}

void THebLabel::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeftNoAlign : TBiDiMode::bdLeftToRight);
}

// ---- THebEdit ----

const TClassInfo& THebEdit::StaticClass() {
    static const TClassInfo info{"THebEdit", &TEdit::StaticClass(), Factory<THebEdit>(),
                                 {AccessorProperty("Hebrew", &THebEdit::Hebrew, &THebEdit::SetHebrew)}, {}};
    return info;
}

THebEdit::THebEdit(TComponent* owner) : TEdit(owner) {}

void THebEdit::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THHEdit ----

const TClassInfo& THHEdit::StaticClass() {
    static const TClassInfo info{"THHEdit", &THebEdit::StaticClass(), Factory<THHEdit>(), {}, {}};
    return info;
}

THHEdit::THHEdit(TComponent* owner) : THebEdit(owner) {}

// ---- THebDMemo ----

const TClassInfo& THebDMemo::StaticClass() {
    static const TClassInfo info{"THebDMemo", &TMemo::StaticClass(), Factory<THebDMemo>(),
                                 {AccessorProperty("Hebrew", &THebDMemo::Hebrew, &THebDMemo::SetHebrew)}, {}};
    return info;
}

THebDMemo::THebDMemo(TComponent* owner) : TMemo(owner) {}

void THebDMemo::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeftNoAlign : TBiDiMode::bdLeftToRight);
}

// ---- THebCheckBox ----

const TClassInfo& THebCheckBox::StaticClass() {
    static const TClassInfo info{"THebCheckBox", &TCheckBox::StaticClass(), Factory<THebCheckBox>(),
                                 {AccessorProperty("Hebrew", &THebCheckBox::Hebrew, &THebCheckBox::SetHebrew)}, {}};
    return info;
}

THebCheckBox::THebCheckBox(TComponent* owner) : TCheckBox(owner) {}

void THebCheckBox::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeftNoAlign : TBiDiMode::bdLeftToRight);
}

// ---- THebRadioButton ----

const TClassInfo& THebRadioButton::StaticClass() {
    static const TClassInfo info{"THebRadioButton", &TRadioButton::StaticClass(), Factory<THebRadioButton>(),
                                 {AccessorProperty("Hebrew", &THebRadioButton::Hebrew, &THebRadioButton::SetHebrew)}, {}};
    return info;
}

THebRadioButton::THebRadioButton(TComponent* owner) : TRadioButton(owner) {}

void THebRadioButton::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeftNoAlign : TBiDiMode::bdLeftToRight);
}

// ---- THebRadioGroup ----

const TClassInfo& THebRadioGroup::StaticClass() {
    static const TClassInfo info{"THebRadioGroup", &TRadioGroup::StaticClass(), Factory<THebRadioGroup>(),
                                 {AccessorProperty("Hebrew", &THebRadioGroup::Hebrew, &THebRadioGroup::SetHebrew)}, {}};
    return info;
}

THebRadioGroup::THebRadioGroup(TComponent* owner) : TRadioGroup(owner) {}

void THebRadioGroup::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THebGroupBox ----

const TClassInfo& THebGroupBox::StaticClass() {
    static const TClassInfo info{"THebGroupBox", &TGroupBox::StaticClass(), Factory<THebGroupBox>(),
                                 {AccessorProperty("Hebrew", &THebGroupBox::Hebrew, &THebGroupBox::SetHebrew)}, {}};
    return info;
}

THebGroupBox::THebGroupBox(TComponent* owner) : TGroupBox(owner) {}

void THebGroupBox::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THebListBox3D ----

const TClassInfo& THebListBox3D::StaticClass() {
    static const TClassInfo info{"THebListBox3D", &TListBox::StaticClass(), Factory<THebListBox3D>(),
                                 {AccessorProperty("Hebrew", &THebListBox3D::Hebrew, &THebListBox3D::SetHebrew)}, {}};
    return info;
}

THebListBox3D::THebListBox3D(TComponent* owner) : TListBox(owner) {}

void THebListBox3D::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeftNoAlign : TBiDiMode::bdLeftToRight);
}

// ---- THebComboBox ----

const TClassInfo& THebComboBox::StaticClass() {
    static const TClassInfo info{"THebComboBox", &TComboBox::StaticClass(), Factory<THebComboBox>(),
                                 {AccessorProperty("Hebrew", &THebComboBox::Hebrew, &THebComboBox::SetHebrew)}, {}};
    return info;
}

THebComboBox::THebComboBox(TComponent* owner) : TComboBox(owner) {}

void THebComboBox::SetHebrew(bool v) {
    const int index = ItemIndex();
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
    SetItemIndex(index);
}

// ---- THebPageControl ----

const TClassInfo& THebPageControl::StaticClass() {
    static const TClassInfo info{"THebPageControl", &TPageControl::StaticClass(), Factory<THebPageControl>(),
                                 {AccessorProperty("Hebrew", &THebPageControl::Hebrew, &THebPageControl::SetHebrew)}, {}};
    return info;
}

THebPageControl::THebPageControl(TComponent* owner) : TPageControl(owner) {}

void THebPageControl::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THebTabControl ----

const TClassInfo& THebTabControl::StaticClass() {
    static const TClassInfo info{"THebTabControl", &TTabControl::StaticClass(), Factory<THebTabControl>(),
                                 {AccessorProperty("Hebrew", &THebTabControl::Hebrew, &THebTabControl::SetHebrew)}, {}};
    return info;
}

THebTabControl::THebTabControl(TComponent* owner) : TTabControl(owner) {}

void THebTabControl::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THebNotebook ----

const TClassInfo& THebNotebook::StaticClass() {
    static const TClassInfo info{"THebNotebook", &TNotebook::StaticClass(), Factory<THebNotebook>(),
                                 {AccessorProperty("Hebrew", &THebNotebook::Hebrew, &THebNotebook::SetHebrew)}, {}};
    return info;
}

THebNotebook::THebNotebook(TComponent* owner) : TNotebook(owner) {}

void THebNotebook::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

// ---- THebScrollBox ----

const TClassInfo& THebScrollBox::StaticClass() {
    static const TClassInfo info{"THebScrollBox", &TScrollBox::StaticClass(), Factory<THebScrollBox>(),
                                 {AccessorProperty("Hebrew", &THebScrollBox::Hebrew, &THebScrollBox::SetHebrew)}, {}};
    return info;
}

THebScrollBox::THebScrollBox(TComponent* owner) : TScrollBox(owner) {}

void THebScrollBox::SetHebrew(bool v) {
    SetBiDiMode(v ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
}

}  // namespace rt
