// Layout controls of the pages: panels with bevels, bevel lines, radio groups, scroll boxes,
// the multiple-picture box and notebooks of pages without tabs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/StdCtrls.h"

namespace rt {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

}  // namespace rt

RT_DECLARE_ENUM(rt::TPanelBevel)
RT_DECLARE_ENUM(rt::TBevelShape)
RT_DECLARE_ENUM(rt::TBevelStyle)

namespace rt {

// What a panel that draws its own face wants drawn, in this order, in place of its bevels
// and caption.
struct TPanelFace {
    const TPicture* Picture = nullptr;  // stretched over the client area
    int WhiteFrames = 0;                 // 1-pixel white rectangles from the edge inwards
    const TPicture* Icon = nullptr;      // drawn into IconLeft.. IconTop..
    int IconLeft = 0, IconTop = 0, IconWidth = 0, IconHeight = 0;
};

// A panel: an outer and an inner bevel BevelWidth wide, BorderWidth apart, an optional
// single frame, and a caption placed by Alignment. Aligned children share what lies inside
// the bevels.
class TCustomPanel : public TWinControl {
    RT_CLASS(TCustomPanel, TWinControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel v);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    // Where the caption is drawn, right-to-left mirroring applied.
    TAlignment DrawnAlignment() const;

    void AdjustClientRect(int& left, int& top, int& right, int& bottom) const override;
    // True when the panel paints its own face.
    virtual bool CustomFace(TPanelFace&) const { return false; }

private:
    void Rearrange();
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = TBorderStyle::bsNone;
    TAlignment FAlignment = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
    RT_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner);
};

// A bevelled box or line drawn on its parent.
class TBevel : public TGraphicControl {
    RT_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle v);

private:
    TBevelShape FShape = TBevelShape::bsBox;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};

// A group box of radio buttons, one per line of Items, in Columns columns. ItemIndex (-1:
// none) is the checked one, so exactly one item is checked once one has been chosen.
// Changing ItemIndex outside loading fires OnClick, by code as by the user; the arrow keys
// move the choice while the group has the focus.
class TCustomRadioGroup : public TCustomGroupBox {
    RT_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return FItems; }
    void SetItems(const TStrings& items) { FItems->Assign(items); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int v);
    int Columns() const { return FColumns; }
    void SetColumns(int v);
    // Where item index's button sits inside the group.
    void ButtonBounds(int index, int& left, int& top, int& width, int& height) const;

    void UserSelect(int index);
    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

protected:
    void Loaded() override;

private:
    TStringList* FItems;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    RT_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner);
};

// A box whose children may reach beyond it; the view is scrolled by ScrollLeft/ScrollTop.
// Children keep their designed positions in the model; the backend shows them moved by the
// scroll offsets.
class TScrollBox : public TWinControl {
    RT_CLASS(TScrollBox, TWinControl)
public:
    explicit TScrollBox(TComponent* owner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool v);
    int ClientWidth() const override;
    int ClientHeight() const override;
    // The extent of the children (at least the client size).
    int ContentWidth() const;
    int ContentHeight() const;
    int ScrollLeft() const { return FScrollLeft; }
    int ScrollTop() const { return FScrollTop; }
    // Scrolls to a position, kept inside the content.
    void ScrollTo(int left, int top);
    void ScrollInView(const TControl* control);

private:
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    bool FAutoScroll = true;
    int FScrollLeft = 0, FScrollTop = 0;
};

// A scroll box of pictures: the images (and any other controls) placed in it are arranged
// in rows, Spacing apart, from the reading start of each row.
class TMultiplePictureBox : public TScrollBox {
    RT_CLASS(TMultiplePictureBox, TScrollBox)
public:
    explicit TMultiplePictureBox(TComponent* owner);

    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    bool AutoArrange() const { return FAutoArrange; }
    void SetAutoArrange(bool v);
    void Arrange();
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Loaded() override;

private:
    int FSpacing = 4;
    bool FAutoArrange = true;
    bool FArranging = false;
};

// One page of a notebook; it fills the notebook and shows only while it is the active one.
class TPage : public TWinControl {
    RT_CLASS(TPage, TWinControl)
public:
    explicit TPage(TComponent* owner);
    ~TPage() override;
    void SetParent(TWinControl* parent) override;
};

// Pages without tabs: code switches them by PageIndex or by name (ActivePage).
class TNotebook : public TWinControl {
    RT_CLASS(TNotebook, TWinControl)
public:
    explicit TNotebook(TComponent* owner);

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TPage* Page(int index) const { return FPages.at(static_cast<std::size_t>(index)); }
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int v);
    std::string ActivePage() const;
    void SetActivePage(const std::string& name);
    TNotifyEvent OnPageChanged;

protected:
    void Loaded() override;

private:
    friend class TPage;
    void AddPage(TPage* page);
    void RemovePage(TPage* page);
    void ShowActive();
    std::vector<TPage*> FPages;
    int FPageIndex = 0;
};

}  // namespace rt
