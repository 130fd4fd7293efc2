// Panels, bevels, radio groups, scroll boxes, the multiple-picture box and notebooks; see
// ExtCtrls.h.
#include "runtime/ExtCtrls.h"

#include <algorithm>

RT_DEFINE_ENUM(rt::TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")
RT_DEFINE_ENUM(rt::TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer")
RT_DEFINE_ENUM(rt::TBevelStyle, "bsLowered", "bsRaised")

namespace rt {

// ---- TCustomPanel, TPanel ----

const TClassInfo& TCustomPanel::StaticClass() {
    static const TClassInfo info{
        "TCustomPanel", &TWinControl::StaticClass(), {},
        {AccessorProperty("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner),
         AccessorProperty("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter),
         AccessorProperty("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
         AccessorProperty("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth),
         AccessorProperty("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle),
         AccessorProperty("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)},
        {}};
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::Rearrange() {
    Changed(TControlChange::Appearance);
    if (!IsLoading()) Realign();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
    if (v == FBevelInner) return;
    FBevelInner = v;
    Rearrange();
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
    if (v == FBevelOuter) return;
    FBevelOuter = v;
    Rearrange();
}

void TCustomPanel::SetBevelWidth(int v) {
    if (v < 1) v = 1;
    if (v == FBevelWidth) return;
    FBevelWidth = v;
    Rearrange();
}

void TCustomPanel::SetBorderWidth(int v) {
    if (v < 0) v = 0;
    if (v == FBorderWidth) return;
    FBorderWidth = v;
    Rearrange();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Rearrange();
}

void TCustomPanel::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Changed(TControlChange::Appearance);
}

TAlignment TCustomPanel::DrawnAlignment() const {
    if (!UseRightToLeftAlignment() || FAlignment == TAlignment::taCenter) return FAlignment;
    return FAlignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
}

void TCustomPanel::AdjustClientRect(int& left, int& top, int& right, int& bottom) const {
    int inset = FBorderWidth + (FBorderStyle == TBorderStyle::bsSingle ? 1 : 0);
    if (FBevelOuter != TPanelBevel::bvNone) inset += FBevelWidth;
    if (FBevelInner != TPanelBevel::bvNone) inset += FBevelWidth;
    left += inset;
    top += inset;
    right -= inset;
    bottom -= inset;
}

const TClassInfo& TPanel::StaticClass() {
    static const TClassInfo info{"TPanel", &TCustomPanel::StaticClass(), Factory<TPanel>(), {}, {}};
    return info;
}

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {}

// ---- TBevel ----

const TClassInfo& TBevel::StaticClass() {
    static const TClassInfo info{"TBevel", &TGraphicControl::StaticClass(), Factory<TBevel>(),
                                 {AccessorProperty("Shape", &TBevel::Shape, &TBevel::SetShape),
                                  AccessorProperty("Style", &TBevel::Style, &TBevel::SetStyle)},
                                 {}};
    return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape v) {
    if (v == FShape) return;
    FShape = v;
    Changed(TControlChange::Appearance);
}

void TBevel::SetStyle(TBevelStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    Changed(TControlChange::Appearance);
}

// ---- TCustomRadioGroup, TRadioGroup ----

const TClassInfo& TCustomRadioGroup::StaticClass() {
    static const TClassInfo info{
        "TCustomRadioGroup", &TCustomGroupBox::StaticClass(), {},
        {StringsProperty("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems),
         AccessorProperty("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
         AccessorProperty("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns)},
        {}};
    return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner), FItems(new TStringList) {
    SetTabStop(true);
    FItems->SetDuplicates(TDuplicates::dupAccept);
    FItems->OnChange = TNotifyEvent(this, [this](TObject*) {
        if (!IsLoading() && FItemIndex >= FItems->Count()) FItemIndex = -1;
        Changed(TControlChange::Items);
    });
}

TCustomRadioGroup::~TCustomRadioGroup() { delete FItems; }

void TCustomRadioGroup::SetItemIndex(int v) {
    if (IsLoading()) {
        FItemIndex = v;
        return;
    }
    if (v < -1) v = -1;
    if (v >= FItems->Count()) v = FItems->Count() - 1;
    if (v == FItemIndex) return;
    FItemIndex = v;
    Changed(TControlChange::State);
    Click();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
}

void TCustomRadioGroup::SetColumns(int v) {
    v = std::clamp(v, 1, 16);
    if (v == FColumns) return;
    FColumns = v;
    Changed(TControlChange::Items);
}

void TCustomRadioGroup::ButtonBounds(int index, int& left, int& top, int& width, int& height) const {
    const int count = FItems->Count();
    left = top = width = height = 0;
    if (count == 0 || index < 0 || index >= count) return;
    // Buttons fill the space below the caption, column by column, each row the same height.
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int lineHeight = LineHeightOf(*Font());
    const int spare = std::max(Height() - lineHeight - 5, 0);
    width = (Width() - 10) / FColumns;
    height = spare / perColumn;
    const int topMargin = lineHeight + 1 + (spare % perColumn) / 2;
    left = (index / perColumn) * width + 8;
    top = (index % perColumn) * height + topMargin;
}

void TCustomRadioGroup::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
}

void TCustomRadioGroup::KeyDown(std::uint16_t& key, TShiftState shift) {
    TCustomGroupBox::KeyDown(key, shift);
    const int count = FItems->Count();
    if (count == 0) return;
    // The arrows step through the items and wrap around, as a group of radio buttons does.
    if (key == vkDown || key == vkRight) {
        UserSelect((FItemIndex + 1) % count);
        key = 0;
    } else if (key == vkUp || key == vkLeft) {
        UserSelect(FItemIndex <= 0 ? count - 1 : FItemIndex - 1);
        key = 0;
    }
}

const TClassInfo& TRadioGroup::StaticClass() {
    static const TClassInfo info{"TRadioGroup", &TCustomRadioGroup::StaticClass(), Factory<TRadioGroup>(), {}, {}};
    return info;
}

TRadioGroup::TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}

// ---- TScrollBox ----

const TClassInfo& TScrollBox::StaticClass() {
    static const TClassInfo info{"TScrollBox", &TWinControl::StaticClass(), Factory<TScrollBox>(),
                                 {AccessorProperty("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle),
                                  AccessorProperty("AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll)},
                                 {}};
    return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Changed(TControlChange::Appearance);
    if (!IsLoading()) Realign();
}

void TScrollBox::SetAutoScroll(bool v) {
    if (v == FAutoScroll) return;
    FAutoScroll = v;
    if (!v) ScrollTo(0, 0);
    Changed(TControlChange::Appearance);
}

// The sunken frame is two pixels on each side, outside the client area.
int TScrollBox::ClientWidth() const { return std::max(Width() - (FBorderStyle == TBorderStyle::bsSingle ? 4 : 0), 0); }
int TScrollBox::ClientHeight() const { return std::max(Height() - (FBorderStyle == TBorderStyle::bsSingle ? 4 : 0), 0); }

int TScrollBox::ContentWidth() const {
    int w = ClientWidth();
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) w = std::max(w, Controls(i)->Left() + Controls(i)->Width());
    return w;
}

int TScrollBox::ContentHeight() const {
    int h = ClientHeight();
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) h = std::max(h, Controls(i)->Top() + Controls(i)->Height());
    return h;
}

void TScrollBox::ScrollTo(int left, int top) {
    left = std::clamp(left, 0, ContentWidth() - ClientWidth());
    top = std::clamp(top, 0, ContentHeight() - ClientHeight());
    if (left == FScrollLeft && top == FScrollTop) return;
    FScrollLeft = left;
    FScrollTop = top;
    Changed(TControlChange::State);
}

void TScrollBox::ScrollInView(const TControl* control) {
    if (!control || control->Parent() != this) return;
    int left = FScrollLeft, top = FScrollTop;
    if (control->Left() < left) left = control->Left();
    else if (control->Left() + control->Width() > left + ClientWidth()) left = control->Left() + control->Width() - ClientWidth();
    if (control->Top() < top) top = control->Top();
    else if (control->Top() + control->Height() > top + ClientHeight()) top = control->Top() + control->Height() - ClientHeight();
    ScrollTo(left, top);
}

// ---- TMultiplePictureBox ----

const TClassInfo& TMultiplePictureBox::StaticClass() {
    static const TClassInfo info{
        "TMultiplePictureBox", &TScrollBox::StaticClass(), Factory<TMultiplePictureBox>(),
        {AccessorProperty("Spacing", &TMultiplePictureBox::Spacing, &TMultiplePictureBox::SetSpacing),
         AccessorProperty("AutoArrange", &TMultiplePictureBox::AutoArrange, &TMultiplePictureBox::SetAutoArrange)},
        {}};
    return info;
}

TMultiplePictureBox::TMultiplePictureBox(TComponent* owner) : TScrollBox(owner) {}

void TMultiplePictureBox::SetSpacing(int v) {
    FSpacing = std::max(v, 0);
    if (FAutoArrange && !IsLoading()) Arrange();
}

void TMultiplePictureBox::SetAutoArrange(bool v) {
    FAutoArrange = v;
    if (v && !IsLoading()) Arrange();
}

void TMultiplePictureBox::Arrange() {
    if (FArranging) return;
    FArranging = true;
    const int width = ClientWidth();
    int x = FSpacing, y = FSpacing, rowHeight = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        if (x > FSpacing && x + c->Width() + FSpacing > width) {
            x = FSpacing;
            y += rowHeight + FSpacing;
            rowHeight = 0;
        }
        // Right-to-left boxes fill each row from the right.
        const int left = UseRightToLeftScrollBar() ? width - x - c->Width() : x;
        c->SetBounds(left, y, c->Width(), c->Height());
        x += c->Width() + FSpacing;
        rowHeight = std::max(rowHeight, c->Height());
    }
    FArranging = false;
}

void TMultiplePictureBox::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width();
    TScrollBox::SetBounds(left, top, width, height);
    if (resized && FAutoArrange && !IsLoading()) Arrange();
}

void TMultiplePictureBox::Loaded() {
    TScrollBox::Loaded();
    if (FAutoArrange) Arrange();
}

// ---- TPage, TNotebook ----

const TClassInfo& TPage::StaticClass() {
    static const TClassInfo info{"TPage", &TWinControl::StaticClass(), Factory<TPage>(), {}, {}};
    return info;
}

TPage::TPage(TComponent* owner) : TWinControl(owner) {}

TPage::~TPage() {
    if (auto* book = dynamic_cast<TNotebook*>(Parent())) book->RemovePage(this);
}

void TPage::SetParent(TWinControl* parent) {
    if (auto* old = dynamic_cast<TNotebook*>(Parent())) old->RemovePage(this);
    TWinControl::SetParent(parent);
    if (auto* book = dynamic_cast<TNotebook*>(parent)) book->AddPage(this);
}

const TClassInfo& TNotebook::StaticClass() {
    static const TClassInfo info{"TNotebook", &TWinControl::StaticClass(), Factory<TNotebook>(),
                                 {AccessorProperty("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex),
                                  AccessorProperty("ActivePage", &TNotebook::ActivePage, &TNotebook::SetActivePage),
                                  Property("OnPageChanged", &TNotebook::OnPageChanged)},
                                 {}};
    return info;
}

TNotebook::TNotebook(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 150); }

void TNotebook::AddPage(TPage* page) {
    FPages.push_back(page);
    page->SetAlign(TAlign::alClient);
    ShowActive();
}

void TNotebook::RemovePage(TPage* page) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (!IsDestroying()) ShowActive();
}

void TNotebook::ShowActive() {
    if (IsLoading()) return;
    for (std::size_t i = 0; i < FPages.size(); ++i) FPages[i]->SetVisible(static_cast<int>(i) == FPageIndex);
}

void TNotebook::SetPageIndex(int v) {
    if (!IsLoading() && (v < 0 || v >= PageCount())) return;
    if (v == FPageIndex) return;
    FPageIndex = v;
    ShowActive();
    if (!IsLoading()) OnPageChanged(this);
}

std::string TNotebook::ActivePage() const {
    return FPageIndex >= 0 && FPageIndex < PageCount() ? FPages[static_cast<std::size_t>(FPageIndex)]->Caption() : std::string();
}

void TNotebook::SetActivePage(const std::string& name) {
    for (int i = 0; i < PageCount(); ++i)
        if (SameText(FPages[static_cast<std::size_t>(i)]->Caption(), name)) {
            if (IsLoading()) FPageIndex = i;
            else SetPageIndex(i);
            return;
        }
}

void TNotebook::Loaded() {
    TWinControl::Loaded();
    if (FPageIndex >= PageCount()) FPageIndex = 0;
    ShowActive();
}

}  // namespace rt
