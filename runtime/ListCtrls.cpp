// List boxes and combo boxes; see ListCtrls.h.
#include "runtime/ListCtrls.h"

#include <algorithm>

RT_DEFINE_ENUM(rt::TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable")

namespace rt {

// ---- TCustomListBox, TListBox ----

const TClassInfo& TCustomListBox::StaticClass() {
    static const TClassInfo info{
        "TCustomListBox", &TWinControl::StaticClass(), {},
        {StringsProperty("Items", &TCustomListBox::Items, &TCustomListBox::SetItems),
         AccessorProperty("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted),
         AccessorProperty("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex),
         AccessorProperty("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight),
         AccessorProperty("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight),
         AccessorProperty("Alignment", &TCustomListBox::Alignment, &TCustomListBox::SetAlignment),
         AccessorProperty("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)},
        {}};
    return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), FItems(new TStringList) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    FItems->SetDuplicates(TDuplicates::dupAccept);
    FItems->OnChange = TNotifyEvent(this, [this](TObject*) { ItemsChanged(); });
}

TCustomListBox::~TCustomListBox() { delete FItems; }

void TCustomListBox::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    Changed(TControlChange::Items);
}

void TCustomListBox::SetSorted(bool v) {
    if (v == FItems->Sorted()) return;
    // The selected entry stays selected wherever sorting moves it.
    const std::string selected = FItemIndex >= 0 ? FItems->Strings(FItemIndex) : std::string();
    FItems->SetSorted(v);
    if (FItemIndex >= 0) FItemIndex = FItems->IndexOf(selected);
    Changed(TControlChange::Items);
}

void TCustomListBox::SetItemIndex(int v) {
    // While loading the entries may not be there yet; Loaded checks the index.
    if (!IsLoading() && (v < -1 || v >= FItems->Count())) v = -1;
    if (v == FItemIndex) return;
    FItemIndex = v;
    Changed(TControlChange::State);
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
}

void TCustomListBox::SetItemHeight(int v) {
    if (v > 0) FItemHeight = v;
}

void TCustomListBox::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(TControlChange::Appearance);
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Changed(TControlChange::Appearance);
}

void TCustomListBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
    Click();
}

void TCustomListBox::UserDblClick(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    UserSelect(index);
    DblClick();
}

void TCustomListBox::DefaultKeyDown(std::uint16_t key, TShiftState) {
    const int count = FItems->Count();
    if (count == 0) return;
    int next = FItemIndex;
    switch (key) {
    case vkDown: case vkRight: next = std::min(FItemIndex + 1, count - 1); break;
    case vkUp: case vkLeft: next = FItemIndex < 0 ? 0 : std::max(FItemIndex - 1, 0); break;
    case vkHome: next = 0; break;
    case vkEnd: next = count - 1; break;
    default: return;
    }
    if (next != FItemIndex) UserSelect(next);
}

const TClassInfo& TListBox::StaticClass() {
    static const TClassInfo info{"TListBox", &TCustomListBox::StaticClass(), Factory<TListBox>(), {}, {}};
    return info;
}

TListBox::TListBox(TComponent* owner) : TCustomListBox(owner) {}

// ---- TCustomComboBox, TComboBox ----

const TClassInfo& TCustomComboBox::StaticClass() {
    static const TClassInfo info{
        "TCustomComboBox", &TWinControl::StaticClass(), {},
        {StringsProperty("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems),
         AccessorProperty("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted),
         AccessorProperty("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle),
         AccessorProperty("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
         AccessorProperty("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText),
         AccessorProperty("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount),
         AccessorProperty("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength),
         Property("OnChange", &TCustomComboBox::OnChange), Property("OnDropDown", &TCustomComboBox::OnDropDown)},
        {}};
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), FItems(new TStringList) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    FItems->SetDuplicates(TDuplicates::dupAccept);
    FItems->OnChange = TNotifyEvent(this, [this](TObject*) { ItemsChanged(); });
}

TCustomComboBox::~TCustomComboBox() { delete FItems; }

void TCustomComboBox::ItemsChanged() {
    if (FItemIndex >= FItems->Count()) {
        FItemIndex = -1;
        if (FStyle == TComboBoxStyle::csDropDownList) SetCaption("");
    }
    Changed(TControlChange::Items);
}

void TCustomComboBox::SetSorted(bool v) {
    if (v == FItems->Sorted()) return;
    FItems->SetSorted(v);
    if (FItemIndex >= 0) FItemIndex = FItems->IndexOf(Caption());
    Changed(TControlChange::Items);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    Changed(TControlChange::Appearance);
}

void TCustomComboBox::SetItemIndex(int v) {
    if (IsLoading()) {
        FItemIndex = v;
        return;
    }
    if (v < -1 || v >= FItems->Count()) v = -1;
    if (v == FItemIndex) return;
    FItemIndex = v;
    SetCaption(v >= 0 ? FItems->Strings(v) : std::string());
    Changed(TControlChange::State);
}

void TCustomComboBox::SetText(const std::string& v) {
    if (!IsLoading()) {
        // The selection follows the text: the entry equal to it, or none.
        const int index = FItems->IndexOf(v);
        if (FStyle == TComboBoxStyle::csDropDownList && index < 0) return;
        if (index != FItemIndex) {
            FItemIndex = index;
            Changed(TControlChange::State);
        }
    }
    SetCaption(v);
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    if (FItemIndex >= 0) SetCaption(FItems->Strings(FItemIndex));
}

void TCustomComboBox::SetMaxLength(int v) {
    FMaxLength = v < 0 ? 0 : v;
    Changed(TControlChange::Appearance);
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetCaption("");
}

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
    Click();
    Change();
}

void TCustomComboBox::UserEdited(const std::string& text) {
    if (text == Caption()) return;
    const int index = FItems->IndexOf(text);
    if (index != FItemIndex) {
        FItemIndex = index;
        Changed(TControlChange::State);
    }
    SetCaption(text);
    Change();
}

void TCustomComboBox::DefaultKeyDown(std::uint16_t key, TShiftState) {
    const int count = FItems->Count();
    if (count == 0) return;
    int next = FItemIndex;
    if (key == vkDown || key == vkRight) next = std::min(FItemIndex + 1, count - 1);
    else if (key == vkUp || key == vkLeft) next = FItemIndex < 0 ? 0 : std::max(FItemIndex - 1, 0);
    else if (key == vkHome) next = 0;
    else if (key == vkEnd) next = count - 1;
    else return;
    if (next != FItemIndex) UserSelect(next);
}

void TCustomComboBox::DefaultKeyPress(char32_t key) {
    if (FStyle != TComboBoxStyle::csDropDownList) {
        std::u32string text = Utf8ToUtf32(Text());
        if (key == U'\b') {
            if (text.empty()) return;
            text.pop_back();
        } else if (key >= 0x20) {
            if (FMaxLength > 0 && static_cast<int>(text.size()) >= FMaxLength) return;
            text += key;
        } else {
            return;
        }
        UserEdited(Utf32ToUtf8(text));
        return;
    }
    // A letter picks the next entry that starts with it, as the system's list does.
    if (key < 0x20) return;
    const std::string letter = Utf32ToUtf8(std::u32string(1, key));
    const int count = FItems->Count();
    for (int step = 1; step <= count; ++step) {
        const int i = (FItemIndex + step + count) % count;
        if (StartsText(letter, FItems->Strings(i))) {
            if (i != FItemIndex) UserSelect(i);
            return;
        }
    }
}

const TClassInfo& TComboBox::StaticClass() {
    static const TClassInfo info{"TComboBox", &TCustomComboBox::StaticClass(), Factory<TComboBox>(), {}, {}};
    return info;
}

TComboBox::TComboBox(TComponent* owner) : TCustomComboBox(owner) {}

}  // namespace rt
