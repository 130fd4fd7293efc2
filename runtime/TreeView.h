// The tree view: nodes with a text, a state image (the component selection page marks its
// groups selected or not with state images 1 and 2), data and children.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ComCtrls.h"
#include "runtime/Controls.h"

namespace rt {

class TTreeView;
class TTreeNodes;

// One node. Nodes belong to their tree's Items and are made and deleted through it.
class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;
    ~TTreeNode();

    TTreeNodes* Owner() const { return FOwner; }
    TTreeView* TreeView() const;
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    // -1: none. Images come from the tree's Images, state images from its StateImages.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int v);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int v);
    void* Data() const { return FData; }
    void SetData(void* v) { FData = v; }

    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool v);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool v);
    // Shown: every parent is expanded.
    bool IsVisible() const;

    TTreeNode* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FChildren.size()); }
    bool HasChildren() const { return !FChildren.empty(); }
    TTreeNode* Item(int index) const { return FChildren.at(static_cast<std::size_t>(index)).get(); }
    int Index() const;
    int Level() const;
    // Position in the whole tree, counted depth first.
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // Depth first: the first child, else the next sibling of this node or of a parent.
    TTreeNode* GetNext() const;
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    void Delete();

    // The backend's handle of the node's item; 0 while none.
    std::uintptr_t ItemId = 0;

private:
    friend class TTreeNodes;
    TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text);
    std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;
    void Changed(TControlChange what);

    TTreeNodes* FOwner;
    TTreeNode* FParent;
    std::string FText;
    int FImageIndex = -1, FSelectedIndex = -1, FStateIndex = -1;
    void* FData = nullptr;
    bool FExpanded = false;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

// The nodes of one tree, in a forest of top-level nodes.
class TTreeNodes : public TPersistent {
    RT_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TTreeView* owner);
    ~TTreeNodes() override;

    TTreeView* Owner() const { return FOwner; }
    // All nodes, depth first.
    int Count() const;
    TTreeNode* Item(int absoluteIndex) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
    int RootCount() const { return static_cast<int>(FRoots.size()); }
    TTreeNode* Root(int index) const { return FRoots.at(static_cast<std::size_t>(index)).get(); }
    bool Contains(const TTreeNode* node) const;

    // A node after the last sibling of sibling (a top-level node when sibling is null).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
    // A node after the last child of parent (top level when parent is null).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    // A node just before node, as its sibling.
    TTreeNode* Insert(TTreeNode* node, const std::string& text);
    void Delete(TTreeNode* node);
    void Clear();

    // Changes between these reach the tree once, at the outermost EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // The nodes as lines of text, a child indented deeper than its parent (descriptions
    // store a tree this way); reading accepts any consistent indentation.
    std::vector<std::string> ToLines() const;
    void SetLines(const std::vector<std::string>& lines);
    void Assign(const TPersistent& source) override;

private:
    friend class TTreeNode;
    TTreeNode* InsertAt(TTreeNode* parent, std::size_t position, const std::string& text, void* data);
    void Changed(TControlChange what);

    TTreeView* FOwner;
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    int FUpdateCount = 0;
    bool FPendingItems = false, FPendingState = false;
};

using TTVChangedEvent = TEvent<TObject* /*Sender*/, TTreeNode* /*Node*/>;
using TTVChangingEvent = TEvent<TObject* /*Sender*/, TTreeNode* /*Node*/, bool& /*AllowChange*/>;
using TTVExpandedEvent = TEvent<TObject* /*Sender*/, TTreeNode* /*Node*/>;

// A tree of nodes with one selected node. Selecting by code fires nothing; a node chosen by
// the user asks OnChanging, then fires OnChange; a click fires OnClick after that.
class TTreeView : public TWinControl {
    RT_CLASS(TTreeView, TWinControl)
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;

    TTreeNodes* Items() const { return FItems; }
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* node);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool v);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool v);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    void FullExpand();
    void FullCollapse();

    // The user chose a node (mouse or keys); false when OnChanging refused it.
    bool UserSelect(TTreeNode* node);
    // The user clicked a node: it is chosen, then OnClick fires.
    void UserClickNode(TTreeNode* node);
    // The user opened or closed a node.
    void UserExpand(TTreeNode* node, bool expanded);

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandedEvent OnExpanded, OnCollapsed;

    TWantKeys WantKeys() const override { return {TWantKey::wkArrows}; }
    // Headless: the arrows walk the shown nodes, Left closes or climbs, Right opens.
    void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    void NodeDeleting(TTreeNode* node);
    TTreeNodes* FItems;
    TTreeNode* FSelected = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TCustomImageList* FImages = nullptr;
    bool FReadOnly = false, FShowButtons = true, FShowLines = true, FShowRoot = true, FHideSelection = true;
    int FIndent = 19;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
};

}  // namespace rt
