// List boxes and combo boxes: a list of strings, optionally kept sorted, with one selected
// entry. The drive and directory lists (runtime/FileCtrl.h) build on them.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Controls.h"
#include "runtime/StdCtrls.h"

namespace rt {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

}  // namespace rt

RT_DECLARE_ENUM(rt::TComboBoxStyle)

namespace rt {

// A single-selection list. ItemIndex is -1 when nothing is selected; setting it by code
// fires nothing, a selection by the user (UserSelect) fires OnClick. Sorted keeps Items in
// case-insensitive order, also for entries added later.
class TCustomListBox : public TWinControl {
    RT_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems; }
    void SetItems(const TStrings& items) { FItems->Assign(items); }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v) { FIntegralHeight = v; }
    // Where the entries' text sits; right-to-left lists mirror it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    void Clear() { FItems->Clear(); }
    // How far an entry's text is indented, in pixels (a directory list nests its entries).
    virtual int ItemIndent(int) const { return 0; }
    virtual bool IndentsItems() const { return false; }

    // The user selected an entry (a click or the arrow keys in the system's list).
    virtual void UserSelect(int index);
    // The user double-clicked an entry: it is selected, then OnDblClick fires.
    virtual void UserDblClick(int index);

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    // Headless arrows, Home and End move the selection as the system's list does.
    void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

protected:
    void Loaded() override;
    virtual void ItemsChanged();
    TStringList* FItems;

private:
    int FItemIndex = -1;
    int FItemHeight = 13;
    bool FIntegralHeight = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};

class TListBox : public TCustomListBox {
    RT_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner);
};

// A combo box. Text is its caption. In the drop-down-list style the text is always the
// selected entry's. Setting ItemIndex or Text by code fires nothing; the user's choice of an
// entry fires OnClick then OnChange, typing fires OnChange.
class TCustomComboBox : public TWinControl {
    RT_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems; }
    void SetItems(const TStrings& items) { FItems->Assign(items); }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool v);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& v);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v) { FDropDownCount = v; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    void Clear();

    virtual void UserSelect(int index);
    virtual void UserEdited(const std::string& text);
    TNotifyEvent OnChange, OnDropDown;

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    // Headless: arrows move the selection; in the drop-down-list style a letter selects the
    // next entry starting with it, otherwise characters are typed into the text.
    void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
    void DefaultKeyPress(char32_t key) override;

protected:
    virtual void Change();
    void Loaded() override;
    virtual void ItemsChanged();
    TStringList* FItems;

private:
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    int FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
    RT_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner);
};

}  // namespace rt
