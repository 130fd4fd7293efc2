// The standard controls of the wizard pages: push buttons with a modal result, check boxes,
// radio buttons, group boxes, single-line edits and memos. List and combo boxes live in
// runtime/ListCtrls.h. Each keeps its whole state in the model; the backends show it.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Controls.h"

namespace rt {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

}  // namespace rt

RT_DECLARE_ENUM(rt::TCheckBoxState)
RT_DECLARE_ENUM(rt::TScrollStyle)
RT_DECLARE_ENUM(rt::TEditCharCase)

namespace rt {

// Base of the controls that are clicked: they take the focus and answer the space bar.
class TButtonControl : public TWinControl {
    RT_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
    // The space bar clicks, as the system's buttons do on its release.
    void DefaultKeyUp(std::uint16_t key, TShiftState shift) override;
};

// A push button. Its click sets the form's ModalResult (ending a modal form) before OnClick.
// Enter clicks the focused button, or the Default button while no button has the focus;
// Escape clicks the Cancel button. Disabled or hidden buttons take neither key.
class TButton : public TButtonControl {
    RT_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }

    void Click() override;
    bool DialogKey(std::uint16_t key, TShiftState shift) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

// A check box. Setting Checked (or State) to a new value outside loading fires OnClick, as
// the user's click does; so code that mirrors the box in OnClick sees every change.
// Alignment is the caption's side: taRightJustify (the default) puts it right of the box.
class TCheckBox : public TButtonControl {
    RT_CLASS(TCheckBox, TButtonControl)
public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // Whether the caption shows left of the box, after right-to-left mirroring.
    bool CaptionOnLeft() const;

    // Unchecked, checked (and grayed when allowed), in turn.
    void Toggle();
    void MouseClick() override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

// A radio button. Checking it unchecks the other radio buttons of the same parent and fires
// OnClick (outside loading); clicking a checked one does nothing more.
class TRadioButton : public TButtonControl {
    RT_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool CaptionOnLeft() const;
    void MouseClick() override;

protected:
    void Loaded() override;

private:
    void TurnSiblingsOff();
    bool FChecked = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

// A frame with a caption that holds other controls; aligned children stay below the caption.
class TCustomGroupBox : public TWinControl {
    RT_CLASS(TCustomGroupBox, TWinControl)
public:
    explicit TCustomGroupBox(TComponent* owner);
    void AdjustClientRect(int& left, int& top, int& right, int& bottom) const override;
};

class TGroupBox : public TCustomGroupBox {
    RT_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner);
};

// An edit: Text is the control's caption. Setting Text fires OnChange (outside loading), as
// typing does. MaxLength (0: no limit) bounds what the user can type, in characters; ReadOnly
// stops typing but not code.
class TCustomEdit : public TWinControl {
    RT_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& v) { SetCaption(v); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // Characters of the text (code points, as the user sees them).
    int TextLength() const;
    void Clear() { SetText(""); }

    // The user changed the text in the system's control: the model takes it over.
    virtual void UserEdited(const std::string& text);
    TNotifyEvent OnChange;

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    // Headless typing: characters are appended, Backspace removes the last one.
    void DefaultKeyPress(char32_t key) override;

protected:
    virtual void Change();
    void TextChanged() override;

private:
    int FMaxLength = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};

class TEdit : public TCustomEdit {
    RT_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner);
};

// A multi-line edit whose text is its Lines, joined with CR LF.
class TMemo : public TCustomEdit {
    RT_CLASS(TMemo, TCustomEdit)
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings* Lines() const { return FLines; }
    void SetLines(const TStrings& lines) { FLines->Assign(lines); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);

    void UserEdited(const std::string& text) override;
    TWantKeys WantKeys() const override;
    // Headless typing: Enter starts a new line when the memo wants returns.
    void DefaultKeyPress(char32_t key) override;

protected:
    void TextChanged() override;

private:
    TStringList* FLines;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FSyncing = false;
};

}  // namespace rt
