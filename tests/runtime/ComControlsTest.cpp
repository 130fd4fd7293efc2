// Tree views, page and tab controls, notebooks, progress bars, animations, panels, scroll
// boxes and the multiple-picture box on the headless backend.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/TreeView.h"
#include "runtime/headless/HeadlessBackend.h"

using namespace rt;

namespace {

class ComControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetBackend(&backend);
        form.SetBounds(0, 0, 600, 400);
        form.ShowForm();
    }
    void TearDown() override { SetBackend(nullptr); }

    template <class C>
    C* Add(TWinControl* parent = nullptr) {
        auto* c = new C(&form);
        c->SetParent(parent ? parent : &form);
        return c;
    }

    THeadlessBackend backend;
    TForm form{nullptr};
};

// The groups of the component selection page: state image 1 selected, 2 not.
constexpr int kSelected = 1, kNotSelected = 2;

std::vector<std::string> Texts(TTreeView& tree) {
    std::vector<std::string> texts;
    for (TTreeNode* n = tree.Items()->GetFirstNode(); n; n = n->GetNext())
        texts.push_back(std::string(static_cast<std::size_t>(n->Level()), '>') + n->Text());
    return texts;
}

}  // namespace

TEST_F(ComControls, TreeStateIndexes_MarkEachNodeAndSurviveUpdates) {
    auto* tree = Add<TTreeView>();
    auto* images = new TImageList(&form);
    tree->SetStateImages(images);
    int groupA = 1, groupB = 2;
    tree->Items()->BeginUpdate();
    TTreeNode* a = tree->Items()->AddChildObject(nullptr, "Program files", &groupA);
    TTreeNode* b = tree->Items()->AddChildObject(nullptr, "Tutorial", &groupB);
    TTreeNode* sub = tree->Items()->AddChild(a, "Help");
    a->SetStateIndex(kSelected);
    b->SetStateIndex(kNotSelected);
    sub->SetStateIndex(kSelected);
    tree->Items()->EndUpdate();

    EXPECT_EQ(Texts(*tree), (std::vector<std::string>{"Program files", ">Help", "Tutorial"}));
    EXPECT_EQ(tree->Items()->Count(), 3);
    EXPECT_EQ(tree->Items()->Item(2), b);
    EXPECT_EQ(b->Data(), &groupB);
    EXPECT_EQ(sub->AbsoluteIndex(), 1);
    b->SetStateIndex(b->StateIndex() == kSelected ? kNotSelected : kSelected);
    EXPECT_EQ(b->StateIndex(), kSelected);
    EXPECT_EQ(tree->StateImages(), images);
    images->Free();
    EXPECT_EQ(tree->StateImages(), nullptr) << "a freed image list is let go";
}

TEST_F(ComControls, TreeSelection_ByUserAsksOnChangingThenFiresOnChangeAndOnClick) {
    auto* tree = Add<TTreeView>();
    TTreeNode* a = tree->Items()->Add(nullptr, "A");
    TTreeNode* b = tree->Items()->Add(nullptr, "B");
    std::vector<std::string> log;
    bool allow = true;
    tree->OnChanging = TTVChangingEvent(nullptr, [&](TObject*, TTreeNode* n, bool& ok) {
        log.push_back("changing " + n->Text());
        ok = allow;
    });
    tree->OnChange = TTVChangedEvent(nullptr, [&](TObject*, TTreeNode* n) { log.push_back("change " + n->Text()); });
    tree->OnClick = TNotifyEvent(nullptr, [&](TObject*) {
        log.push_back("click " + (tree->Selected() ? tree->Selected()->Text() : std::string("-")));
    });
    tree->SetSelected(a);
    EXPECT_TRUE(log.empty()) << "selecting by code fires nothing";
    backend.ClickNode(*tree, b);
    allow = false;
    backend.ClickNode(*tree, a);
    EXPECT_EQ(log, (std::vector<std::string>{"changing B", "change B", "click B", "changing A"}));
    EXPECT_EQ(tree->Selected(), b);
    b->Delete();
    EXPECT_EQ(tree->Selected(), nullptr);
}

TEST_F(ComControls, TreeKeys_WalkTheShownNodesAndOpenAndCloseThem) {
    auto* tree = Add<TTreeView>();
    TTreeNode* a = tree->Items()->Add(nullptr, "A");
    TTreeNode* a1 = tree->Items()->AddChild(a, "A1");
    TTreeNode* b = tree->Items()->Add(nullptr, "B");
    backend.SendKey(*tree, vkDown);
    EXPECT_EQ(tree->Selected(), a);
    backend.SendKey(*tree, vkDown);
    EXPECT_EQ(tree->Selected(), b) << "a closed node's children are skipped";
    backend.SendKey(*tree, vkUp);
    backend.SendKey(*tree, vkRight);
    EXPECT_TRUE(a->Expanded());
    backend.SendKey(*tree, vkDown);
    EXPECT_EQ(tree->Selected(), a1);
    backend.SendKey(*tree, vkLeft);
    EXPECT_EQ(tree->Selected(), a);
    backend.SendKey(*tree, vkLeft);
    EXPECT_FALSE(a->Expanded());
}

TEST_F(ComControls, TreeLines_DescribeTheNodesByIndentation) {
    auto* tree = Add<TTreeView>();
    tree->Items()->SetLines({"Root", "  Child", "    Grandchild", "  Second child", "Other root"});
    EXPECT_EQ(Texts(*tree), (std::vector<std::string>{"Root", ">Child", ">>Grandchild", ">Second child", "Other root"}));
    EXPECT_EQ(tree->Items()->ToLines(),
              (std::vector<std::string>{"Root", "  Child", "    Grandchild", "  Second child", "Other root"}));
}

TEST_F(ComControls, PageControlActivePage_OnlyTheActiveSheetShowsAndFillsTheArea) {
    auto* pages = Add<TPageControl>();
    pages->SetBounds(10, 10, 300, 200);
    auto* first = Add<TTabSheet>(pages);
    first->SetCaption("First");
    auto* second = Add<TTabSheet>(pages);
    second->SetCaption("Second");
    auto* third = Add<TTabSheet>(pages);
    third->SetTabVisible(false);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), first) << "the first page added becomes active";
    EXPECT_TRUE(first->Visible());
    EXPECT_FALSE(second->Visible());
    int l, t, r, b;
    pages->DisplayRect(l, t, r, b);
    EXPECT_EQ(std::vector<int>({second->Left(), second->Top(), second->Width(), second->Height()}),
              std::vector<int>({l, t, r - l, b - t}));
    EXPECT_GT(t, 0) << "below the tab row";

    std::vector<std::string> log;
    pages->OnChange = TNotifyEvent(nullptr, [&](TObject*) { log.push_back(pages->ActivePage()->Caption()); });
    pages->SetActivePage(second);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(second->Visible());
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(third->TabIndex(), -1);
    EXPECT_EQ(pages->TabIndex(), 1);
    backend.ClickItem(*pages, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"First"}));
    pages->OnChanging = TTabChangingEvent(nullptr, [](TObject*, bool& allow) { allow = false; });
    backend.ClickItem(*pages, 1);
    EXPECT_EQ(pages->ActivePage(), first);
    second->SetPageIndex(0);
    EXPECT_EQ(pages->Pages(0), second);
    first->Free();
    EXPECT_EQ(pages->ActivePage(), second) << "another page takes over from a freed active page";
}

TEST_F(ComControls, PageControlFocus_LeavesAPageThatIsHidden) {
    auto* pages = Add<TPageControl>();
    auto* first = Add<TTabSheet>(pages);
    auto* second = Add<TTabSheet>(pages);
    auto* edit = Add<TEdit>(first);
    auto* shown = Add<TEdit>(second);
    edit->SetFocus();
    pages->SetActivePage(second);
    EXPECT_EQ(form.ActiveControl(), pages);
    backend.SendKey(form, vkTab);
    EXPECT_EQ(form.ActiveControl(), shown);
    backend.SendKey(form, vkTab);
    EXPECT_EQ(form.ActiveControl(), pages) << "controls on hidden pages are out of the tab list";
}

TEST_F(ComControls, TabControl_TabIndexMovesByUserWithEvents) {
    auto* tabs = Add<TTabControl>();
    tabs->Tabs()->SetLines({"General", "Internet"});
    EXPECT_EQ(tabs->TabIndex(), 0);
    int changes = 0;
    tabs->OnChange = TNotifyEvent(nullptr, [&](TObject*) { ++changes; });
    backend.SendKey(*tabs, vkRight);
    EXPECT_EQ(tabs->TabIndex(), 1);
    backend.SendKey(*tabs, vkRight);
    EXPECT_EQ(tabs->TabIndex(), 0);
    tabs->SetTabIndex(1);
    EXPECT_EQ(changes, 2);
    auto* inside = Add<TPanel>(tabs);
    inside->SetAlign(TAlign::alClient);
    int l, t, r, b;
    tabs->DisplayRect(l, t, r, b);
    EXPECT_EQ(inside->Top(), t) << "aligned children stay below the tabs";
}

TEST_F(ComControls, Notebook_ShowsOnePageByIndexOrName) {
    auto* book = Add<TNotebook>();
    auto* one = Add<TPage>(book);
    one->SetCaption("Default");
    auto* two = Add<TPage>(book);
    two->SetCaption("Custom");
    EXPECT_TRUE(one->Visible());
    EXPECT_FALSE(two->Visible());
    book->SetActivePage("custom");
    EXPECT_EQ(book->PageIndex(), 1);
    EXPECT_TRUE(two->Visible());
    EXPECT_FALSE(one->Visible());
    EXPECT_EQ(two->Width(), book->Width());
}

TEST_F(ComControls, ProgressBar_PositionStaysInsideTheRange) {
    auto* bar = Add<TProgressBar>();
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
    bar->SetMin(10);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 10);
    bar->SetStep(15);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 25);
}

TEST_F(ComControls, Animate_RecordsWhatItPlaysAndNeedsAnAnimation) {
    auto* animate = Add<TAnimate>();
    animate->SetActive(true);
    EXPECT_FALSE(animate->Active()) << "nothing to play";
    animate->SetCommonAVI(TCommonAVI::aviCopyFiles);
    animate->SetStopFrame(26);
    animate->SetActive(true);
    EXPECT_TRUE(animate->Active());
    animate->Stop();
    animate->Play(1, 26, 0);
    EXPECT_TRUE(animate->Active());
    EXPECT_EQ(animate->PlayCount(), 2);
    EXPECT_EQ(TAnimate::CommonAVIResource(TCommonAVI::aviCopyFiles), 161);
    animate->SetCommonAVI(TCommonAVI::aviNone);
    EXPECT_FALSE(animate->Active());
}

TEST_F(ComControls, PanelBevels_NarrowTheAreaOfAlignedChildren) {
    auto* panel = Add<TPanel>();
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelInner(TPanelBevel::bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* top = Add<TPanel>(panel);
    top->SetHeight(20);
    top->SetAlign(TAlign::alTop);
    auto* rest = Add<TPanel>(panel);
    rest->SetAlign(TAlign::alClient);
    // 3 border + 2 outer + 2 inner bevel on every side.
    EXPECT_EQ(std::vector<int>({top->Left(), top->Top(), top->Width()}), std::vector<int>({7, 7, 186}));
    EXPECT_EQ(std::vector<int>({rest->Top(), rest->Height()}), std::vector<int>({27, 66}));
    panel->SetAlignment(TAlignment::taLeftJustify);
    panel->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(panel->DrawnAlignment(), TAlignment::taRightJustify);
}

TEST_F(ComControls, ScrollBox_ScrollsWithinItsContent) {
    auto* box = Add<TScrollBox>();
    box->SetBounds(0, 0, 104, 54);  // a 100 x 50 client area inside the frame
    auto* far = Add<TPanel>(box);
    far->SetBounds(20, 200, 50, 50);
    EXPECT_EQ(box->ContentHeight(), 250);
    box->ScrollTo(0, 1000);
    EXPECT_EQ(box->ScrollTop(), 200);
    box->ScrollTo(-5, 0);
    EXPECT_EQ(box->ScrollLeft(), 0);
    box->ScrollInView(far);
    EXPECT_EQ(box->ScrollTop(), 200);
    EXPECT_EQ(far->Top(), 200) << "children keep their positions";
}

TEST_F(ComControls, MultiplePictureBox_ArrangesPicturesInRowsFromTheReadingStart) {
    auto* box = Add<TMultiplePictureBox>();
    box->SetBorderStyle(TBorderStyle::bsNone);
    box->SetBounds(0, 0, 100, 200);
    std::vector<TImage*> images;
    for (int i = 0; i < 3; ++i) {
        auto* image = Add<TImage>(box);
        image->SetBounds(0, 0, 40, 30);
        images.push_back(image);
    }
    box->Arrange();
    EXPECT_EQ(std::vector<int>({images[0]->Left(), images[1]->Left(), images[2]->Left(), images[2]->Top()}),
              std::vector<int>({4, 48, 4, 38}));
    box->SetBiDiMode(TBiDiMode::bdRightToLeft);
    box->Arrange();
    EXPECT_EQ(std::vector<int>({images[0]->Left(), images[1]->Left(), images[2]->Left()}), std::vector<int>({56, 12, 56}));
}
