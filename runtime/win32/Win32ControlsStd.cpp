// The standard controls as system windows: buttons (bitmap buttons drawn by the backend
// when they carry a glyph), check boxes, radio buttons, group boxes, radio groups with a
// button window per item, edits, memos, list boxes (the directory list drawn indented) and
// combo boxes. Right-to-left controls carry the system's right-to-left styles.
#include "runtime/win32/Win32Internal.h"

#include <algorithm>

#include "runtime/Buttons.h"
#include "runtime/ExtCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"

namespace rt {

using namespace w32;

namespace {

int ItemHeightOf(TWin32Backend::Impl& impl, const TFont& font) {
    ScreenDC dc;
    Selection sel(dc.get(), impl.FontFor(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight + 2;
}

void SetText(HWND hwnd, const std::string& text) {
    if (WindowText(hwnd) != text) SetWindowTextW(hwnd, Wide(text).c_str());
}

class StandardFamily : public ControlFamily {
public:
    explicit StandardFamily(TWin32Backend::Impl& impl) : FImpl(impl) {}

    bool Describe(TWinControl& control, WindowLook& look) override {
        if (auto* button = dynamic_cast<TButton*>(&control)) {
            look.Class = L"BUTTON";
            auto* bit = dynamic_cast<TBitBtn*>(button);
            if (bit && !bit->Glyph()->Empty()) look.Style = BS_OWNERDRAW;
            else look.Style = button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            look.ExStyle = ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (auto* check = dynamic_cast<TCheckBox*>(&control)) {
            look.Class = L"BUTTON";
            look.Style = (check->AllowGrayed() ? BS_3STATE : BS_CHECKBOX) | (check->CaptionOnLeft() ? BS_LEFTTEXT : 0);
            look.ExStyle = ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (auto* radio = dynamic_cast<TRadioButton*>(&control)) {
            look.Class = L"BUTTON";
            look.Style = BS_RADIOBUTTON | (radio->CaptionOnLeft() ? BS_LEFTTEXT : 0);
            look.ExStyle = ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (dynamic_cast<TCustomRadioGroup*>(&control)) {
            look.Class = L"BUTTON";
            look.Style = BS_GROUPBOX;
            // The item buttons inherit the mirrored layout: box at the right, text before it.
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL;
            look.ExStyle |= ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (dynamic_cast<TCustomGroupBox*>(&control)) {
            look.Class = L"BUTTON";
            look.Style = BS_GROUPBOX;
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
            look.ExStyle |= ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (auto* memo = dynamic_cast<TMemo*>(&control)) {
            look.Class = L"EDIT";
            look.Style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (memo->WordWrap() ? 0 : ES_AUTOHSCROLL);
            const TScrollStyle bars = memo->ScrollBars();
            if (bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth) look.Style |= WS_VSCROLL;
            if (bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth) look.Style |= WS_HSCROLL;
            TAlignment a = memo->Alignment();
            if (control.UseRightToLeftAlignment() && a != TAlignment::taCenter)
                a = a == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
            look.Style |= a == TAlignment::taRightJustify ? ES_RIGHT : a == TAlignment::taCenter ? ES_CENTER : ES_LEFT;
            if (memo->ReadOnly()) look.Style |= ES_READONLY;
            look.ExStyle = (memo->BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0) |
                           ReadingExStyle(control, a == TAlignment::taRightJustify);
            return true;
        }
        if (auto* edit = dynamic_cast<TCustomEdit*>(&control)) {
            look.Class = L"EDIT";
            look.Style = ES_AUTOHSCROLL;
            if (edit->ReadOnly()) look.Style |= ES_READONLY;
            if (edit->CharCase() == TEditCharCase::ecUpperCase) look.Style |= ES_UPPERCASE;
            if (edit->CharCase() == TEditCharCase::ecLowerCase) look.Style |= ES_LOWERCASE;
            // An edit has no alignment of its own: right-to-left text starts at the right.
            const bool right = control.UseRightToLeftAlignment();
            if (right) look.Style |= ES_RIGHT;
            look.ExStyle = (edit->BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0) | ReadingExStyle(control, right);
            return true;
        }
        if (auto* list = dynamic_cast<TCustomListBox*>(&control)) {
            look.Class = L"LISTBOX";
            look.Style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            if (list->IndentsItems()) look.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
            const bool right = (list->Alignment() == TAlignment::taRightJustify) != control.UseRightToLeftAlignment();
            look.ExStyle = (list->BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0) | ReadingExStyle(control, right);
            return true;
        }
        if (auto* combo = dynamic_cast<TCustomComboBox*>(&control)) {
            look.Class = L"COMBOBOX";
            look.Style = WS_VSCROLL | CBS_AUTOHSCROLL;
            switch (combo->Style()) {
            case TComboBoxStyle::csSimple: look.Style |= CBS_SIMPLE; break;
            case TComboBoxStyle::csDropDown: look.Style |= CBS_DROPDOWN; break;
            default: look.Style |= CBS_DROPDOWNLIST; break;
            }
            // The window includes the dropped-down list.
            if (combo->Style() != TComboBoxStyle::csSimple)
                look.ExtraHeight = std::max(combo->DropDownCount(), 1) * ItemHeightOf(FImpl, *control.Font()) + 2;
            look.ExStyle = ReadingExStyle(control, control.UseRightToLeftAlignment());
            return true;
        }
        return false;
    }

    void Sync(TWinControl& control, ChildRecord& record, TControlChange what) override {
        HWND hwnd = record.Hwnd;
        if (auto* group = dynamic_cast<TCustomRadioGroup*>(&control)) return SyncRadioGroup(*group, record, what);
        if (auto* check = dynamic_cast<TCheckBox*>(&control)) {
            if (what == TControlChange::State) {
                const WPARAM state = check->State() == TCheckBoxState::cbChecked ? BST_CHECKED
                                     : check->State() == TCheckBoxState::cbGrayed ? BST_INDETERMINATE
                                                                                   : BST_UNCHECKED;
                SendMessageW(hwnd, BM_SETCHECK, state, 0);
            }
            if (what == TControlChange::Caption) SetText(hwnd, control.Caption());
            return;
        }
        if (auto* radio = dynamic_cast<TRadioButton*>(&control)) {
            if (what == TControlChange::State) SendMessageW(hwnd, BM_SETCHECK, radio->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            if (what == TControlChange::Caption) SetText(hwnd, control.Caption());
            return;
        }
        if (dynamic_cast<TButton*>(&control) || dynamic_cast<TCustomGroupBox*>(&control)) {
            if (what == TControlChange::Caption) SetText(hwnd, control.Caption());
            if (what == TControlChange::Appearance) InvalidateRect(hwnd, nullptr, TRUE);
            return;
        }
        if (auto* edit = dynamic_cast<TCustomEdit*>(&control)) {
            if (what == TControlChange::Caption) SetText(hwnd, edit->Text());
            if (what == TControlChange::Appearance) {
                SendMessageW(hwnd, EM_LIMITTEXT, WPARAM(edit->MaxLength()), 0);
                SendMessageW(hwnd, EM_SETREADONLY, edit->ReadOnly(), 0);
            }
            return;
        }
        if (auto* list = dynamic_cast<TCustomListBox*>(&control)) {
            if (what == TControlChange::Items) {
                SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
                for (int i = 0; i < list->Items()->Count(); ++i)
                    SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(list->Items()->Strings(i)).c_str()));
            }
            if (what == TControlChange::Items || what == TControlChange::State)
                SendMessageW(hwnd, LB_SETCURSEL, WPARAM(list->ItemIndex()), 0);
            return;
        }
        if (auto* combo = dynamic_cast<TCustomComboBox*>(&control)) {
            if (what == TControlChange::Items) {
                SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
                for (int i = 0; i < combo->Items()->Count(); ++i)
                    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(combo->Items()->Strings(i)).c_str()));
            }
            if (what == TControlChange::Items || what == TControlChange::State)
                SendMessageW(hwnd, CB_SETCURSEL, WPARAM(combo->ItemIndex()), 0);
            if ((what == TControlChange::Caption || what == TControlChange::State || what == TControlChange::Items) &&
                combo->Style() != TComboBoxStyle::csDropDownList)
                SetText(hwnd, combo->Text());
            if (what == TControlChange::Appearance) SendMessageW(hwnd, CB_LIMITTEXT, WPARAM(combo->MaxLength()), 0);
            return;
        }
    }

    bool Command(TWinControl& control, ChildRecord& record, HWND from, UINT code) override {
        if (auto* group = dynamic_cast<TCustomRadioGroup*>(&control)) {
            if (record.Part >= 0 && code == BN_CLICKED) {
                group->UserSelect(record.Part);
                // A refused choice leaves the buttons as the model has them.
                if (ChildRecord* g = FImpl.RecordOf(*group)) SyncRadioGroup(*group, *g, TControlChange::State);
                return true;
            }
            return false;
        }
        if (dynamic_cast<TButtonControl*>(&control)) {
            if (code != BN_CLICKED) return false;
            control.MouseClick();
            return true;
        }
        if (auto* edit = dynamic_cast<TCustomEdit*>(&control)) {
            if (code != EN_CHANGE) return false;
            edit->UserEdited(WindowText(from));
            return true;
        }
        if (auto* list = dynamic_cast<TCustomListBox*>(&control)) {
            const int index = int(SendMessageW(from, LB_GETCURSEL, 0, 0));
            if (code == LBN_SELCHANGE) list->UserSelect(index);
            else if (code == LBN_DBLCLK) list->UserDblClick(index);
            else if (code == LBN_SETFOCUS) return Focused(control);
            else return false;
            // The model may have refused or moved the selection.
            if (IsWindow(from) && list->ItemIndex() != int(SendMessageW(from, LB_GETCURSEL, 0, 0))) {
                ApplyingScope scope(FImpl.Applying);
                SendMessageW(from, LB_SETCURSEL, WPARAM(list->ItemIndex()), 0);
            }
            return true;
        }
        if (auto* combo = dynamic_cast<TCustomComboBox*>(&control)) {
            switch (code) {
            case CBN_SELCHANGE: combo->UserSelect(int(SendMessageW(from, CB_GETCURSEL, 0, 0))); return true;
            case CBN_EDITCHANGE: combo->UserEdited(WindowText(from)); return true;
            case CBN_DROPDOWN: combo->OnDropDown(combo); return true;
            // The focus sits in the combo's own edit, which the backend does not watch.
            case CBN_SETFOCUS: return Focused(control);
            default: return false;
            }
        }
        return false;
    }

    bool DrawItem(TWinControl& control, ChildRecord&, DRAWITEMSTRUCT& item) override {
        if (auto* bit = dynamic_cast<TBitBtn*>(&control)) {
            DrawBitButton(*bit, item);
            return true;
        }
        if (auto* list = dynamic_cast<TCustomListBox*>(&control)) {
            DrawListItem(*list, item);
            return true;
        }
        return false;
    }

    bool MeasureItem(TWinControl& control, MEASUREITEMSTRUCT& item) override {
        if (!dynamic_cast<TCustomListBox*>(&control)) return false;
        item.itemHeight = UINT(ItemHeightOf(FImpl, *control.Font()));
        return true;
    }

    HWND FocusWindow(TWinControl& control, ChildRecord& record) override {
        auto* group = dynamic_cast<TCustomRadioGroup*>(&control);
        if (!group || record.Parts.empty()) return record.Hwnd;
        const int index = std::clamp(group->ItemIndex(), 0, int(record.Parts.size()) - 1);
        return record.Parts[std::size_t(index)];
    }

private:
    static bool Focused(TWinControl& control) {
        if (TCustomForm* form = control.ParentForm(); form && form->ActiveControl() != &control) form->FocusControl(&control);
        return true;
    }

    void SyncRadioGroup(TCustomRadioGroup& group, ChildRecord& record, TControlChange what) {
        HWND hwnd = record.Hwnd;
        if (what == TControlChange::Caption) SetText(hwnd, group.Caption());
        const bool rebuild = what == TControlChange::Items || int(record.Parts.size()) != group.Items()->Count();
        if (rebuild) {
            const bool focused = std::find(record.Parts.begin(), record.Parts.end(), GetFocus()) != record.Parts.end();
            for (HWND part : record.Parts)
                if (ChildRecord* p = FImpl.RecordOf(part)) {
                    p->Control = nullptr;
                    DestroyWindow(part);
                }
            record.Parts.clear();
            for (int i = 0; i < group.Items()->Count(); ++i) {
                HWND part = CreateWindowExW(group.UseRightToLeftReading() ? WS_EX_RTLREADING : 0, L"BUTTON",
                                            Wide(group.Items()->Strings(i)).c_str(),
                                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_RADIOBUTTON | (group.Enabled() ? 0 : WS_DISABLED),
                                            0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                            FImpl.Instance, nullptr);
                if (!part) continue;
                auto partRecord = std::make_unique<ChildRecord>();
                partRecord->Owner = &FImpl;
                partRecord->Control = &group;
                partRecord->Family = this;
                partRecord->Hwnd = part;
                partRecord->Part = i;
                SetPropW(part, L"Brevanshaw.Control", partRecord.get());
                partRecord->Original = reinterpret_cast<WNDPROC>(
                    SetWindowLongPtrW(part, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWin32Backend::Impl::ChildProc)));
                FImpl.Children[part] = std::move(partRecord);
                record.Parts.push_back(part);
            }
            if (focused) FImpl.FocusChild(group);
        }
        const HFONT font = FImpl.FontFor(*group.Font());
        for (std::size_t i = 0; i < record.Parts.size(); ++i) {
            HWND part = record.Parts[i];
            if (rebuild || what == TControlChange::Bounds) {
                int l, t, w, h;
                group.ButtonBounds(int(i), l, t, w, h);
                SetWindowPos(part, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (rebuild || what == TControlChange::Font) SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            if (rebuild || what == TControlChange::Enabled) EnableWindow(part, group.Enabled());
            SendMessageW(part, BM_SETCHECK, int(i) == group.ItemIndex() ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    void DrawBitButton(TBitBtn& button, DRAWITEMSTRUCT& item) {
        HDC dc = item.hDC;
        RECT r = item.rcItem;
        const bool pushed = (item.itemState & ODS_SELECTED) != 0;
        const bool disabled = (item.itemState & ODS_DISABLED) != 0;
        if (button.Default()) {
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&r, -1, -1);
        }
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        // The glyph and the caption side by side, centred together.
        Dib dib;
        const bool glyph = LoadDib(button.Glyph()->Bitmap(), dib);
        const int count = std::max(button.NumGlyphs(), 1);
        const int gw = glyph ? dib.Width / count : 0, gh = glyph ? dib.Height : 0;
        const std::wstring text = Wide(button.Caption());
        Selection font(dc, FImpl.FontFor(*button.Font()));
        RECT measured{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), int(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
        const int tw = measured.right - measured.left;
        const int spacing = glyph && !text.empty() ? button.Spacing() : 0;
        const int total = gw + spacing + tw;
        int x = button.Margin() >= 0 ? r.left + button.Margin() : (r.left + r.right - total) / 2;
        const int shift = pushed ? 1 : 0;
        if (glyph) {
            const int index = disabled && count > 1 ? 1 : 0;
            const int y = (r.top + r.bottom - gh) / 2 + shift;
            DrawDib(dc, dib, index * gw, gw, RECT{x + shift, y, x + shift + gw, y + gh}, true);
            x += gw + spacing;
        }
        RECT tr{x + shift, r.top + shift, x + shift + tw, r.bottom + shift};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        UINT flags = DT_SINGLELINE | DT_VCENTER;
        if (button.UseRightToLeftReading()) flags |= DT_RTLREADING;
        DrawTextW(dc, text.c_str(), int(text.size()), &tr, flags);
        if (item.itemState & ODS_FOCUS) {
            RECT focus = r;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    }

    void DrawListItem(TCustomListBox& list, DRAWITEMSTRUCT& item) {
        if (int(item.itemID) < 0) return;
        HDC dc = item.hDC;
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        FillRect(dc, &item.rcItem, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : FImpl.BrushFor(list.Color()));
        const int index = int(item.itemID);
        if (index < list.Items()->Count()) {
            const std::wstring text = Wide(list.Items()->Strings(index));
            RECT r = item.rcItem;
            r.left += 2 + list.ItemIndent(index);
            Selection font(dc, FImpl.FontFor(*list.Font()));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ToColorRef(list.Font()->Color()));
            UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
            if (list.UseRightToLeftReading()) flags |= DT_RTLREADING;
            DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
        }
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    }

    TWin32Backend::Impl& FImpl;
};

}  // namespace

namespace w32 {

std::unique_ptr<ControlFamily> MakeStandardFamily(TWin32Backend::Impl& impl) { return std::make_unique<StandardFamily>(impl); }

}  // namespace w32

}  // namespace rt
