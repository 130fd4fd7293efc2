// The common controls as system windows: the tree view with its state images (check boxes
// drawn by the backend when the tree has no image list of its own), the progress bar, the
// shell's animations, and tab controls for page controls and tab controls.
#include "runtime/win32/Win32Internal.h"

#include "platform/win32/SystemLibraries.h"

#include <algorithm>

#include "runtime/ComCtrls.h"
#include "runtime/TreeView.h"

namespace rt {

using namespace w32;

namespace {

// An image list of the pictures of a model image list, the bottom-left colour transparent.
HIMAGELIST ImagesOf(const TCustomImageList& list) {
    Dib dib;
    const os::win32::CommonControlsLibrary& comctl = os::win32::CommonControls();
    if (!comctl.ImageList_Create || !comctl.ImageList_AddMasked) return nullptr;
    if (!LoadDib(list.Bitmap()->Bitmap(), dib) || list.Count() == 0) return nullptr;
    HIMAGELIST images = comctl.ImageList_Create(list.Width(), list.Height(), ILC_COLOR24 | ILC_MASK, list.Count(), 0);
    if (!images) return nullptr;
    ScreenDC screen;
    MemoryDC dc(screen.get());
    GdiPtr<HBITMAP> strip(CreateCompatibleBitmap(screen.get(), dib.Width, dib.Height));
    {
        Selection sel(dc.get(), strip.get());
        DrawDib(dc.get(), dib, 0, dib.Width, RECT{0, 0, dib.Width, dib.Height}, false);
    }
    COLORREF key = 0;
    {
        Selection sel(dc.get(), strip.get());
        key = GetPixel(dc.get(), 0, dib.Height - 1);
    }
    comctl.ImageList_AddMasked(images, strip.get(), key);
    return images;
}

// The state images of a tree without its own: 1 a checked box, 2 an empty one; 0 is never
// drawn by the system.
HIMAGELIST CheckStateImages() {
    constexpr int size = 16;
    const os::win32::CommonControlsLibrary& comctl = os::win32::CommonControls();
    if (!comctl.ImageList_Create || !comctl.ImageList_AddMasked) return nullptr;
    HIMAGELIST images = comctl.ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 3, 0);
    if (!images) return nullptr;
    ScreenDC screen;
    MemoryDC dc(screen.get());
    for (int i = 0; i < 3; ++i) {
        GdiPtr<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), size, size));
        {
            Selection sel(dc.get(), bitmap.get());
            RECT all{0, 0, size, size};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            RECT box{2, 2, size - 1, size - 1};
            if (i > 0) DrawFrameControl(dc.get(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (i == 1 ? DFCS_CHECKED : 0));
        }
        comctl.ImageList_AddMasked(images, bitmap.get(), RGB(255, 255, 255));
    }
    return images;
}

class CommonFamily : public ControlFamily {
public:
    explicit CommonFamily(TWin32Backend::Impl& impl) : FImpl(impl) {}

    bool Describe(TWinControl& control, WindowLook& look) override {
        if (auto* tree = dynamic_cast<TTreeView*>(&control)) {
            look.Class = WC_TREEVIEWW;
            look.Style = TVS_SHOWSELALWAYS;
            if (tree->ShowButtons()) look.Style |= TVS_HASBUTTONS;
            if (tree->ShowLines()) look.Style |= TVS_HASLINES;
            if (tree->ShowRoot()) look.Style |= TVS_LINESATROOT;
            look.ExStyle = tree->BorderStyle() == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0;
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL;
            look.ExStyle |= ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (dynamic_cast<TProgressBar*>(&control)) {
            look.Class = PROGRESS_CLASSW;
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL;
            return true;
        }
        if (auto* animate = dynamic_cast<TAnimate*>(&control)) {
            look.Class = ANIMATE_CLASSW;
            // Played on the window's own timer, without a thread of the system's.
            look.Style = ACS_TIMER | (animate->Center() ? ACS_CENTER : 0) | (animate->Transparent() ? ACS_TRANSPARENT : 0);
            return true;
        }
        if (auto* pages = dynamic_cast<TPageControl*>(&control)) {
            look.Class = WC_TABCONTROLW;
            look.Style = TCS_TABS | TCS_FOCUSONBUTTONDOWN | (pages->MultiLine() ? TCS_MULTILINE : 0);
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
            look.ExStyle |= ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        if (auto* tabs = dynamic_cast<TTabControl*>(&control)) {
            look.Class = WC_TABCONTROLW;
            look.Style = TCS_TABS | TCS_FOCUSONBUTTONDOWN | (tabs->MultiLine() ? TCS_MULTILINE : 0);
            if (control.UseRightToLeftAlignment()) look.ExStyle |= WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
            look.ExStyle |= ReadingExStyle(control, false) & WS_EX_RTLREADING;
            return true;
        }
        return false;
    }

    void Sync(TWinControl& control, ChildRecord& record, TControlChange what) override {
        HWND hwnd = record.Hwnd;
        if (auto* tree = dynamic_cast<TTreeView*>(&control)) {
            if (what == TControlChange::Items) BuildTree(*tree, record);
            if (what == TControlChange::State) SyncTree(*tree, hwnd);
            return;
        }
        if (auto* bar = dynamic_cast<TProgressBar*>(&control)) {
            if (what == TControlChange::State || what == TControlChange::Items) {
                SendMessageW(hwnd, PBM_SETRANGE32, WPARAM(bar->Min()), LPARAM(bar->Max()));
                SendMessageW(hwnd, PBM_SETPOS, WPARAM(bar->Position()), 0);
            }
            return;
        }
        if (auto* animate = dynamic_cast<TAnimate*>(&control)) {
            if (what == TControlChange::Appearance) OpenAnimation(*animate, hwnd);
            if (what == TControlChange::State || what == TControlChange::Appearance) PlayAnimation(*animate, hwnd);
            return;
        }
        if (auto* pages = dynamic_cast<TPageControl*>(&control)) {
            if (what == TControlChange::Items || what == TControlChange::Caption) {
                std::vector<std::string> captions;
                for (TTabSheet* sheet : pages->VisibleTabs()) captions.push_back(sheet->Caption());
                SetTabs(hwnd, captions);
            }
            if (what == TControlChange::Items || what == TControlChange::State || what == TControlChange::Caption)
                SendMessageW(hwnd, TCM_SETCURSEL, WPARAM(pages->TabIndex()), 0);
            return;
        }
        if (auto* tabs = dynamic_cast<TTabControl*>(&control)) {
            if (what == TControlChange::Items) SetTabs(hwnd, tabs->Tabs()->ToVector());
            if (what == TControlChange::Items || what == TControlChange::State)
                SendMessageW(hwnd, TCM_SETCURSEL, WPARAM(tabs->TabIndex()), 0);
        }
    }

    bool Notify(TWinControl& control, ChildRecord& record, NMHDR& header, LRESULT& result) override {
        if (auto* tree = dynamic_cast<TTreeView*>(&control)) return TreeNotify(*tree, record, header, result);
        if (header.code != UINT(TCN_SELCHANGE)) return false;
        const int chosen = int(SendMessageW(record.Hwnd, TCM_GETCURSEL, 0, 0));
        int shown = chosen;
        if (auto* pages = dynamic_cast<TPageControl*>(&control)) {
            pages->UserSelectTab(chosen);
            shown = pages->TabIndex();
        } else if (auto* tabs = dynamic_cast<TTabControl*>(&control)) {
            tabs->UserSelectTab(chosen);
            shown = tabs->TabIndex();
        } else {
            return false;
        }
        // A change the model refused puts the tab back.
        if (IsWindow(record.Hwnd) && shown != chosen) {
            ApplyingScope scope(FImpl.Applying);
            SendMessageW(header.hwndFrom, TCM_SETCURSEL, WPARAM(shown), 0);
        }
        result = 0;
        return true;
    }

    void Destroying(TWinControl& control, ChildRecord& record) override {
        // The nodes stay; their item handles die with the window.
        if (auto* tree = dynamic_cast<TTreeView*>(&control))
            for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) n->ItemId = 0;
        (void)record;
    }

private:
    static void SetTabs(HWND hwnd, const std::vector<std::string>& captions) {
        SendMessageW(hwnd, TCM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            std::wstring text = Wide(captions[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }

    void BuildTree(TTreeView& tree, ChildRecord& record) {
        HWND hwnd = record.Hwnd;
        if (record.Images) {
            SendMessageW(hwnd, TVM_SETIMAGELIST, TVSIL_STATE, 0);
            if (const auto destroy = os::win32::CommonControls().ImageList_Destroy) destroy(record.Images);
            record.Images = nullptr;
        }
        record.Images = tree.StateImages() ? ImagesOf(*tree.StateImages()) : CheckStateImages();
        SendMessageW(hwnd, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(record.Images));
        SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        for (TTreeNode* n = tree.Items()->GetFirstNode(); n; n = n->GetNext()) {
            std::wstring text = Wide(n->Text());
            TVINSERTSTRUCTW insert{};
            insert.hParent = n->Parent() ? reinterpret_cast<HTREEITEM>(n->Parent()->ItemId) : TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_PARAM;
            insert.item.pszText = text.data();
            insert.item.lParam = reinterpret_cast<LPARAM>(n);
            n->ItemId = reinterpret_cast<std::uintptr_t>(
                reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
        }
        SyncTree(tree, hwnd);
    }

    static void SyncTree(TTreeView& tree, HWND hwnd) {
        for (TTreeNode* n = tree.Items()->GetFirstNode(); n; n = n->GetNext()) {
            auto item = reinterpret_cast<HTREEITEM>(n->ItemId);
            if (!item) continue;
            std::wstring text = Wide(n->Text());
            TVITEMW tv{};
            tv.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
            tv.hItem = item;
            tv.pszText = text.data();
            tv.stateMask = TVIS_STATEIMAGEMASK;
            tv.state = n->StateIndex() > 0 ? INDEXTOSTATEIMAGEMASK(n->StateIndex()) : 0;
            SendMessageW(hwnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
            const bool open = (SendMessageW(hwnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
            if (open != n->Expanded()) SendMessageW(hwnd, TVM_EXPAND, n->Expanded() ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
        }
        const auto selected = tree.Selected() ? reinterpret_cast<HTREEITEM>(tree.Selected()->ItemId) : nullptr;
        if (reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0)) != selected)
            SendMessageW(hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected));
    }

    bool TreeNotify(TTreeView& tree, ChildRecord& record, NMHDR& header, LRESULT& result) {
        auto nodeOf = [&](LPARAM param) {
            auto* node = reinterpret_cast<TTreeNode*>(param);
            return node && tree.Items()->Contains(node) ? node : nullptr;
        };
        switch (header.code) {
        case TVN_SELCHANGEDW: {
            const auto& info = reinterpret_cast<NMTREEVIEWW&>(header);
            if (FImpl.Applying || info.action == TVC_UNKNOWN) return false;
            if (TTreeNode* node = nodeOf(info.itemNew.lParam)) {
                tree.UserSelect(node);
                // A choice OnChanging refused puts the selection back.
                if (IsWindow(record.Hwnd) && tree.Selected() != node) {
                    ApplyingScope scope(FImpl.Applying);
                    SyncTree(tree, record.Hwnd);
                }
            }
            result = 0;
            return true;
        }
        case TVN_ITEMEXPANDEDW: {
            const auto& info = reinterpret_cast<NMTREEVIEWW&>(header);
            if (FImpl.Applying) return false;
            if (TTreeNode* node = nodeOf(info.itemNew.lParam)) tree.UserExpand(node, info.action == TVE_EXPAND);
            result = 0;
            return true;
        }
        case UINT(NM_CLICK):
            tree.MouseClick();
            result = 0;
            return true;
        case UINT(NM_DBLCLK):
            tree.MouseDblClick();
            result = 0;
            return true;
        default: return false;
        }
    }

    void OpenAnimation(TAnimate& animate, HWND hwnd) {
        SendMessageW(hwnd, ACM_OPENW, 0, 0);
        if (animate.CommonAVI() != TCommonAVI::aviNone) {
            // The shell library holds the system's animations; without them nothing shows.
            if (!FImpl.Shell) FImpl.Shell = os::win32::LoadSystemLibrary(L"shell32.dll");
            if (FImpl.Shell)
                SendMessageW(hwnd, ACM_OPENW, reinterpret_cast<WPARAM>(FImpl.Shell),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(TAnimate::CommonAVIResource(animate.CommonAVI()))));
        } else if (!animate.FileName().empty()) {
            SendMessageW(hwnd, ACM_OPENW, 0, reinterpret_cast<LPARAM>(Wide(animate.FileName()).c_str()));
        }
    }

    static void PlayAnimation(TAnimate& animate, HWND hwnd) {
        if (!animate.Active()) {
            SendMessageW(hwnd, ACM_STOP, 0, 0);
            return;
        }
        // Frames count from 1 in the model and from 0 in the system; 0xFFFF is the last.
        const WORD from = WORD(std::max(animate.StartFrame() - 1, 0));
        const WORD to = animate.StopFrame() > 0 ? WORD(animate.StopFrame() - 1) : WORD(0xFFFF);
        const WPARAM times = animate.Repetitions() > 0 ? WPARAM(animate.Repetitions()) : WPARAM(-1);
        SendMessageW(hwnd, ACM_PLAY, times, MAKELPARAM(from, to));
    }

    TWin32Backend::Impl& FImpl;
};

}  // namespace

namespace w32 {

std::unique_ptr<ControlFamily> MakeCommonFamily(TWin32Backend::Impl& impl) { return std::make_unique<CommonFamily>(impl); }

}  // namespace w32

}  // namespace rt
