// The common controls the pages use besides the tree view (runtime/TreeView.h): image
// lists, the progress bar, the system's animations (the file-copy one above all), and tabbed
// page controls and tab controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Controls.h"

namespace rt {

enum class TCommonAVI {
    aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile, aviRecycleFile, aviEmptyRecycle,
    aviDeleteFile
};

}  // namespace rt

RT_DECLARE_ENUM(rt::TCommonAVI)

namespace rt {

// Small pictures of one size cut from one strip: image i is the square at i * Width.
class TCustomImageList : public TComponent {
    RT_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    TPicture* Bitmap() const { return FBitmap; }
    TPersistent* BitmapObject() const { return FBitmap; }
    // Images in the strip; 0 without one.
    int Count() const;
    TNotifyEvent OnChange;

private:
    int FWidth = 16, FHeight = 16;
    TPicture* FBitmap;
};

class TImageList : public TCustomImageList {
    RT_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner);
};

// A bar that fills from Min to Max as Position grows; Position stays inside the range.
class TProgressBar : public TWinControl {
    RT_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v) { FStep = v; }
    void StepIt() { SetPosition(FPosition + FStep); }
    void StepBy(int delta) { SetPosition(FPosition + delta); }

protected:
    void Loaded() override;

private:
    int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
};

// An animation: one of the system's (CommonAVI) or a file. Active plays it from StartFrame
// to StopFrame (0: the last frame) Repetitions times (0: for ever). Where the system has no
// such animation nothing is shown; the state is kept all the same.
class TAnimate : public TWinControl {
    RT_CLASS(TAnimate, TWinControl)
public:
    explicit TAnimate(TComponent* owner);

    TCommonAVI CommonAVI() const { return FCommonAVI; }
    void SetCommonAVI(TCommonAVI v);
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& v);
    bool Active() const { return FActive; }
    void SetActive(bool v);
    // An animation is chosen (the system may still fail to load it).
    bool Open() const { return FCommonAVI != TCommonAVI::aviNone || !FFileName.empty(); }
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    int StartFrame() const { return FStartFrame; }
    void SetStartFrame(int v);
    int StopFrame() const { return FStopFrame; }
    void SetStopFrame(int v);
    int Repetitions() const { return FRepetitions; }
    void SetRepetitions(int v);
    // How often playing started, for tests that follow a page.
    int PlayCount() const { return FPlayCount; }

    void Play(int fromFrame, int toFrame, int count);
    void Stop() { SetActive(false); }
    // The system's resource number of a common animation in its shell library; 0 for none.
    static int CommonAVIResource(TCommonAVI avi);

private:
    TCommonAVI FCommonAVI = TCommonAVI::aviNone;
    std::string FFileName;
    bool FActive = false;
    bool FCenter = true;
    bool FTransparent = true;
    int FStartFrame = 1, FStopFrame = 0, FRepetitions = 0;
    int FPlayCount = 0;
};

class TPageControl;

// One tabbed page of a page control. TabVisible False keeps the page but hides its tab.
class TTabSheet : public TWinControl {
    RT_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* control);
    int PageIndex() const;
    void SetPageIndex(int v);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    // Position among the visible tabs; -1 while the tab is hidden.
    int TabIndex() const;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    void SetParent(TWinControl* parent) override;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

using TTabChangingEvent = TEvent<TObject* /*Sender*/, bool& /*AllowChange*/>;

// Pages with a row of tabs. The tab sheets fill the area below the tabs; only ActivePage
// shows. A tab chosen by the user asks OnChanging first and fires OnChange after; setting
// ActivePage by code fires neither.
class TPageControl : public TWinControl {
    RT_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* owner);

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int v);
    // The visible tab of the active page, -1 without one.
    int TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }
    // The pages whose tabs show, in order.
    std::vector<TTabSheet*> VisibleTabs() const;
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    // The next (or previous) page with a visible tab after current, wrapping around.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward) const;
    void SelectNextPage(bool forward);

    // The area the pages fill: below the tab row, inside the frame.
    void DisplayRect(int& left, int& top, int& right, int& bottom) const;
    void AdjustClientRect(int& left, int& top, int& right, int& bottom) const override;
    void SetBounds(int left, int top, int width, int height) override;

    // The user chose the tab at tabIndex (among the visible tabs).
    void UserSelectTab(int tabIndex);
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void LayoutPages();
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    bool FMultiLine = false;
};

// A row of tabs over one client area; the program changes what the area shows when
// TabIndex changes.
class TTabControl : public TWinControl {
    RT_CLASS(TTabControl, TWinControl)
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    TStrings* Tabs() const { return FTabs; }
    void SetTabs(const TStrings& tabs) { FTabs->Assign(tabs); }
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    void DisplayRect(int& left, int& top, int& right, int& bottom) const;
    void AdjustClientRect(int& left, int& top, int& right, int& bottom) const override;

    void UserSelectTab(int tabIndex);
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

protected:
    void Loaded() override;

private:
    TStringList* FTabs;
    int FTabIndex = -1;
    bool FMultiLine = false;
};

}  // namespace rt
