// Image lists, progress bars, animations, page controls and tab controls; see ComCtrls.h.
#include "runtime/ComCtrls.h"

#include <algorithm>

#include "runtime/Forms.h"

RT_DEFINE_ENUM(rt::TCommonAVI, "aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles",
               "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile")

namespace rt {

namespace {

// The tab row and the frame round the pages, the same for page and tab controls: the row is
// a line of the font plus a margin; the frame keeps 4 pixels on the other three sides.
void TabbedDisplayRect(const TWinControl& c, int& left, int& top, int& right, int& bottom) {
    left = 4;
    top = LineHeightOf(*c.Font()) + 6 + 2;
    right = std::max(c.Width() - 4, left);
    bottom = std::max(c.Height() - 4, top);
}

}  // namespace

// ---- TCustomImageList, TImageList ----

const TClassInfo& TCustomImageList::StaticClass() {
    static const TClassInfo info{"TCustomImageList", &TComponent::StaticClass(), {},
                                 {AccessorProperty("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth),
                                  AccessorProperty("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight),
                                  ObjectProperty("Bitmap", &TCustomImageList::BitmapObject)},
                                 {}};
    return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner), FBitmap(new TPicture) {
    FBitmap->OnChange = TNotifyEvent(this, [this](TObject*) { OnChange(this); });
}

TCustomImageList::~TCustomImageList() { delete FBitmap; }

void TCustomImageList::SetWidth(int v) {
    if (v < 1 || v == FWidth) return;
    FWidth = v;
    OnChange(this);
}

void TCustomImageList::SetHeight(int v) {
    if (v < 1 || v == FHeight) return;
    FHeight = v;
    OnChange(this);
}

int TCustomImageList::Count() const { return FBitmap->Width() / FWidth; }

const TClassInfo& TImageList::StaticClass() {
    static const TClassInfo info{"TImageList", &TCustomImageList::StaticClass(), Factory<TImageList>(), {}, {}};
    return info;
}

TImageList::TImageList(TComponent* owner) : TCustomImageList(owner) {}

// ---- TProgressBar ----

const TClassInfo& TProgressBar::StaticClass() {
    static const TClassInfo info{"TProgressBar", &TWinControl::StaticClass(), Factory<TProgressBar>(),
                                 {AccessorProperty("Min", &TProgressBar::Min, &TProgressBar::SetMin),
                                  AccessorProperty("Max", &TProgressBar::Max, &TProgressBar::SetMax),
                                  AccessorProperty("Position", &TProgressBar::Position, &TProgressBar::SetPosition),
                                  AccessorProperty("Step", &TProgressBar::Step, &TProgressBar::SetStep)},
                                 {}};
    return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetMin(int v) {
    if (v == FMin) return;
    FMin = v;
    if (IsLoading()) return;
    if (FMax < FMin) FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Changed(TControlChange::State);
}

void TProgressBar::SetMax(int v) {
    if (v == FMax) return;
    FMax = v;
    if (IsLoading()) return;
    if (FMin > FMax) FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Changed(TControlChange::State);
}

void TProgressBar::SetPosition(int v) {
    if (!IsLoading()) v = std::clamp(v, FMin, FMax);
    if (v == FPosition) return;
    FPosition = v;
    Changed(TControlChange::State);
}

void TProgressBar::Loaded() {
    TWinControl::Loaded();
    if (FMax < FMin) FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
}

// ---- TAnimate ----

const TClassInfo& TAnimate::StaticClass() {
    static const TClassInfo info{"TAnimate", &TWinControl::StaticClass(), Factory<TAnimate>(),
                                 {AccessorProperty("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI),
                                  AccessorProperty("FileName", &TAnimate::FileName, &TAnimate::SetFileName),
                                  AccessorProperty("Active", &TAnimate::Active, &TAnimate::SetActive),
                                  AccessorProperty("Center", &TAnimate::Center, &TAnimate::SetCenter),
                                  AccessorProperty("Transparent", &TAnimate::Transparent, &TAnimate::SetTransparent),
                                  AccessorProperty("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame),
                                  AccessorProperty("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame),
                                  AccessorProperty("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions)},
                                 {}};
    return info;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 80); }

int TAnimate::CommonAVIResource(TCommonAVI avi) {
    switch (avi) {
    case TCommonAVI::aviNone: return 0;
    case TCommonAVI::aviFindFolder: return 150;
    case TCommonAVI::aviFindFile: return 151;
    case TCommonAVI::aviFindComputer: return 152;
    case TCommonAVI::aviCopyFiles: return 161;
    case TCommonAVI::aviCopyFile: return 160;
    case TCommonAVI::aviRecycleFile: return 162;
    case TCommonAVI::aviEmptyRecycle: return 163;
    case TCommonAVI::aviDeleteFile: return 164;
    }
    return 0;
}

void TAnimate::SetCommonAVI(TCommonAVI v) {
    if (v == FCommonAVI) return;
    FCommonAVI = v;
    if (v != TCommonAVI::aviNone) FFileName.clear();
    if (!Open()) FActive = false;
    Changed(TControlChange::Appearance);
}

void TAnimate::SetFileName(const std::string& v) {
    if (v == FFileName) return;
    FFileName = v;
    if (!v.empty()) FCommonAVI = TCommonAVI::aviNone;
    if (!Open()) FActive = false;
    Changed(TControlChange::Appearance);
}

void TAnimate::SetActive(bool v) {
    // Without an animation there is nothing to play; loading may name it later.
    if (v && !Open() && !IsLoading()) v = false;
    if (v == FActive) return;
    FActive = v;
    if (v) ++FPlayCount;
    Changed(TControlChange::State);
}

void TAnimate::Play(int fromFrame, int toFrame, int count) {
    FStartFrame = fromFrame;
    FStopFrame = toFrame;
    FRepetitions = count;
    if (FActive) {
        ++FPlayCount;
        Changed(TControlChange::State);
    } else {
        SetActive(true);
    }
}

void TAnimate::SetCenter(bool v) {
    FCenter = v;
    Changed(TControlChange::Appearance);
}

void TAnimate::SetTransparent(bool v) {
    FTransparent = v;
    Changed(TControlChange::Appearance);
}

void TAnimate::SetStartFrame(int v) {
    FStartFrame = std::max(v, 1);
    if (FActive) Changed(TControlChange::State);
}

void TAnimate::SetStopFrame(int v) {
    FStopFrame = std::max(v, 0);
    if (FActive) Changed(TControlChange::State);
}

void TAnimate::SetRepetitions(int v) {
    FRepetitions = std::max(v, 0);
    if (FActive) Changed(TControlChange::State);
}

// ---- TTabSheet ----

const TClassInfo& TTabSheet::StaticClass() {
    static const TClassInfo info{"TTabSheet", &TWinControl::StaticClass(), Factory<TTabSheet>(),
                                 {AccessorProperty("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl),
                                  AccessorProperty("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex),
                                  AccessorProperty("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible),
                                  AccessorProperty("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)},
                                 {}};
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

void TTabSheet::SetParent(TWinControl* parent) {
    if (FPageControl) FPageControl->RemovePage(this);
    TWinControl::SetParent(parent);
    if (auto* pages = dynamic_cast<TPageControl*>(parent)) pages->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int v) {
    if (FPageControl) FPageControl->MovePage(this, v);
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == FTabVisible) return;
    FTabVisible = v;
    if (FPageControl) FPageControl->Changed(TControlChange::Items);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    const auto tabs = FPageControl->VisibleTabs();
    return static_cast<int>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void TTabSheet::TextChanged() {
    if (FPageControl) FPageControl->Changed(TControlChange::Items);
}

// ---- TPageControl ----

const TClassInfo& TPageControl::StaticClass() {
    static const TClassInfo info{"TPageControl", &TWinControl::StaticClass(), Factory<TPageControl>(),
                                 {AccessorProperty("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage),
                                  AccessorProperty("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine),
                                  Property("OnChange", &TPageControl::OnChange),
                                  Property("OnChanging", &TPageControl::OnChanging)},
                                 {}};
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TPageControl::InsertPage(TTabSheet* page) {
    page->FPageControl = this;
    FPages.push_back(page);
    LayoutPages();
    if (!FActivePage && !IsLoading()) SetActivePage(page);
    Changed(TControlChange::Items);
}

void TPageControl::RemovePage(TTabSheet* page) {
    page->FPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) {
        FActivePage = nullptr;
        // Another page takes over, unless the whole control is going.
        if (!IsDestroying() && !FPages.empty()) SetActivePage(FPages.front());
    }
    if (!IsDestroying()) Changed(TControlChange::Items);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    Changed(TControlChange::Items);
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FActivePage) FActivePage = nullptr;
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* p : FPages)
        if (p->TabVisible()) tabs.push_back(p);
    return tabs;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    if (IsLoading()) {
        FActivePage = page;
        return;
    }
    if (page == FActivePage) return;
    // The focus cannot stay on a page that disappears.
    TCustomForm* form = ParentForm();
    const bool focusInside = form && FActivePage && FActivePage->ContainsControl(form->ActiveControl());
    FActivePage = page;
    LayoutPages();
    if (focusInside && CanFocus()) SetFocus();
    Changed(TControlChange::State);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v) {
    if (v >= 0 && v < PageCount()) SetActivePage(Pages(v));
    else SetActivePage(nullptr);
}

void TPageControl::SetMultiLine(bool v) {
    if (v == FMultiLine) return;
    FMultiLine = v;
    Changed(TControlChange::Appearance);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward) const {
    const auto tabs = VisibleTabs();
    if (tabs.empty()) return nullptr;
    const auto it = std::find(tabs.begin(), tabs.end(), current);
    const int n = static_cast<int>(tabs.size());
    if (it == tabs.end()) return forward ? tabs.front() : tabs.back();
    const int at = static_cast<int>(it - tabs.begin());
    return tabs[static_cast<std::size_t>(forward ? (at + 1) % n : (at + n - 1) % n)];
}

void TPageControl::SelectNextPage(bool forward) {
    if (TTabSheet* next = FindNextPage(FActivePage, forward)) UserSelectTab(next->TabIndex());
}

void TPageControl::DisplayRect(int& left, int& top, int& right, int& bottom) const {
    TabbedDisplayRect(*this, left, top, right, bottom);
}

void TPageControl::AdjustClientRect(int& left, int& top, int& right, int& bottom) const {
    DisplayRect(left, top, right, bottom);
}

void TPageControl::LayoutPages() {
    int left, top, right, bottom;
    DisplayRect(left, top, right, bottom);
    for (TTabSheet* p : FPages) {
        p->SetBounds(left, top, right - left, bottom - top);
        if (!IsLoading()) p->SetVisible(p == FActivePage);
    }
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TWinControl::SetBounds(left, top, width, height);
    if (resized) LayoutPages();
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    if (!FActivePage) {
        const auto tabs = VisibleTabs();
        if (!tabs.empty()) FActivePage = tabs.front();
    }
    LayoutPages();
}

void TPageControl::UserSelectTab(int tabIndex) {
    const auto tabs = VisibleTabs();
    if (!Enabled() || tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return;
    TTabSheet* page = tabs[static_cast<std::size_t>(tabIndex)];
    if (page == FActivePage) return;
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) return;
    SetActivePage(page);
    OnChange(this);
}

void TPageControl::DefaultKeyDown(std::uint16_t key, TShiftState) {
    if (key == vkRight) SelectNextPage(true);
    else if (key == vkLeft) SelectNextPage(false);
}

// ---- TTabControl ----

const TClassInfo& TTabControl::StaticClass() {
    static const TClassInfo info{"TTabControl", &TWinControl::StaticClass(), Factory<TTabControl>(),
                                 {StringsProperty("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs),
                                  AccessorProperty("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex),
                                  AccessorProperty("MultiLine", &TTabControl::MultiLine, &TTabControl::SetMultiLine),
                                  Property("OnChange", &TTabControl::OnChange),
                                  Property("OnChanging", &TTabControl::OnChanging)},
                                 {}};
    return info;
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner), FTabs(new TStringList) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
    FTabs->OnChange = TNotifyEvent(this, [this](TObject*) {
        if (!IsLoading()) {
            if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
            if (FTabIndex < 0 && FTabs->Count() > 0) FTabIndex = 0;
        }
        Changed(TControlChange::Items);
    });
}

TTabControl::~TTabControl() { delete FTabs; }

void TTabControl::SetTabIndex(int v) {
    if (IsLoading()) {
        FTabIndex = v;
        return;
    }
    if (v < -1 || v >= FTabs->Count()) return;
    if (v == FTabIndex) return;
    FTabIndex = v;
    Changed(TControlChange::State);
}

void TTabControl::SetMultiLine(bool v) {
    if (v == FMultiLine) return;
    FMultiLine = v;
    Changed(TControlChange::Appearance);
}

void TTabControl::DisplayRect(int& left, int& top, int& right, int& bottom) const {
    TabbedDisplayRect(*this, left, top, right, bottom);
}

void TTabControl::AdjustClientRect(int& left, int& top, int& right, int& bottom) const {
    DisplayRect(left, top, right, bottom);
}

void TTabControl::Loaded() {
    TWinControl::Loaded();
    if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
}

void TTabControl::UserSelectTab(int tabIndex) {
    if (!Enabled() || tabIndex < 0 || tabIndex >= FTabs->Count() || tabIndex == FTabIndex) return;
    bool allow = true;
    OnChanging(this, allow);
    if (!allow) return;
    SetTabIndex(tabIndex);
    OnChange(this);
}

void TTabControl::DefaultKeyDown(std::uint16_t key, TShiftState) {
    const int count = FTabs->Count();
    if (count == 0) return;
    if (key == vkRight) UserSelectTab((FTabIndex + 1) % count);
    else if (key == vkLeft) UserSelectTab((FTabIndex + count - 1) % count);
}

}  // namespace rt
