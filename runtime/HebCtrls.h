// The right-to-left variants of the controls. Each is its base control with a right-to-left
// mode, published as Hebrew and kept in BiDiMode: off on creation (product pages designed
// left to right use these controls and are mirrored at run time), switched on by a Hebrew
// page's description or by mirroring. What the mode does differs by kind:
// - text controls whose alignment mirroring sets on its own (labels, memos, check boxes,
//   radio buttons, the 3D list box) read right to left and keep Alignment literal
//   (bdRightToLeftNoAlign);
// - edits and combo boxes read right to left with their text at the right (bdRightToLeft);
// - containers (group boxes, radio groups, page and tab controls, notebooks, scroll boxes)
//   lay out their contents from the right (bdRightToLeft).
#pragma once

#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"

namespace rt {

class THebLabel : public TLabel {
    RT_CLASS(THebLabel, TLabel)
public:
    explicit THebLabel(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebEdit : public TEdit {
    RT_CLASS(THebEdit, TEdit)
public:
    explicit THebEdit(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

// The right-to-left edit of the Hebrew pages' forms.
class THHEdit : public THebEdit {
    RT_CLASS(THHEdit, THebEdit)
public:
    explicit THHEdit(TComponent* owner);
};

class THebDMemo : public TMemo {
    RT_CLASS(THebDMemo, TMemo)
public:
    explicit THebDMemo(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebCheckBox : public TCheckBox {
    RT_CLASS(THebCheckBox, TCheckBox)
public:
    explicit THebCheckBox(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebRadioButton : public TRadioButton {
    RT_CLASS(THebRadioButton, TRadioButton)
public:
    explicit THebRadioButton(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebRadioGroup : public TRadioGroup {
    RT_CLASS(THebRadioGroup, TRadioGroup)
public:
    explicit THebRadioGroup(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebGroupBox : public TGroupBox {
    RT_CLASS(THebGroupBox, TGroupBox)
public:
    explicit THebGroupBox(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

// A sunken list box with a right-to-left mode.
class THebListBox3D : public TListBox {
    RT_CLASS(THebListBox3D, TListBox)
public:
    explicit THebListBox3D(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

// Switching the mode keeps the selected entry.
class THebComboBox : public TComboBox {
    RT_CLASS(THebComboBox, TComboBox)
public:
    explicit THebComboBox(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

// The three right-to-left page controls: tabbed pages, a tab row, and tabless pages.
class THebPageControl : public TPageControl {
    RT_CLASS(THebPageControl, TPageControl)
public:
    explicit THebPageControl(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebTabControl : public TTabControl {
    RT_CLASS(THebTabControl, TTabControl)
public:
    explicit THebTabControl(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebNotebook : public TNotebook {
    RT_CLASS(THebNotebook, TNotebook)
public:
    explicit THebNotebook(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

class THebScrollBox : public TScrollBox {
    RT_CLASS(THebScrollBox, TScrollBox)
public:
    explicit THebScrollBox(TComponent* owner);
    bool Hebrew() const { return UseRightToLeftReading(); }
    void SetHebrew(bool v);
};

}  // namespace rt
