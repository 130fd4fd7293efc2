// Tree nodes and the tree view; see TreeView.h.
#include "runtime/TreeView.h"

#include <algorithm>

namespace rt {

// ---- TTreeNode ----

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text)
    : FOwner(owner), FParent(parent), FText(std::move(text)) {}

TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

void TTreeNode::Changed(TControlChange what) { FOwner->Changed(what); }

void TTreeNode::SetText(const std::string& v) {
    if (v == FText) return;
    FText = v;
    Changed(TControlChange::State);
}

void TTreeNode::SetImageIndex(int v) {
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed(TControlChange::State);
}

void TTreeNode::SetSelectedIndex(int v) {
    if (v == FSelectedIndex) return;
    FSelectedIndex = v;
    Changed(TControlChange::State);
}

void TTreeNode::SetStateIndex(int v) {
    if (v == FStateIndex) return;
    FStateIndex = v;
    Changed(TControlChange::State);
}

void TTreeNode::SetExpanded(bool v) {
    if (v == FExpanded) return;
    FExpanded = v;
    Changed(TControlChange::State);
}

void TTreeNode::Expand(bool recurse) {
    SetExpanded(true);
    if (recurse)
        for (auto& c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    SetExpanded(false);
    if (recurse)
        for (auto& c : FChildren) c->Collapse(true);
}

bool TTreeNode::Selected() const { return TreeView() && TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool v) {
    if (!TreeView()) return;
    if (v) TreeView()->SetSelected(this);
    else if (Selected()) TreeView()->SetSelected(nullptr);
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) return false;
    return true;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const {
    return FParent ? FParent->FChildren : FOwner->FRoots;
}

int TTreeNode::Index() const {
    const auto& list = Siblings();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return static_cast<int>(i);
    return -1;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = FParent; p; p = p->FParent) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const {
    int i = 0;
    for (const TTreeNode* n = FOwner->GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this) return i;
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& list = Siblings();
    const int i = Index();
    return i >= 0 && i + 1 < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const int i = Index();
    return i > 0 ? Siblings()[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetNextVisible() const {
    if (FExpanded && !FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return FParent;
    // The deepest shown node under the previous sibling.
    while (prev->FExpanded && !prev->FChildren.empty()) prev = prev->FChildren.back().get();
    return prev;
}

void TTreeNode::Delete() { FOwner->Delete(this); }

// ---- TTreeNodes ----

const TClassInfo& TTreeNodes::StaticClass() {
    static const TClassInfo info{"TTreeNodes", &TPersistent::StaticClass(), {}, {}, {}};
    return info;
}

TTreeNodes::TTreeNodes(TTreeView* owner) : FOwner(owner) {}

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const {
    int n = 0;
    for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
    int i = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext(), ++i)
        if (i == absoluteIndex) return node;
    throw EComponentError("Tree node index out of bounds (" + IntToStr(absoluteIndex) + ")");
}

bool TTreeNodes::Contains(const TTreeNode* node) const {
    for (const TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
        if (n == node) return true;
    return false;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, std::size_t position, const std::string& text, void* data) {
    auto& list = parent ? parent->FChildren : FRoots;
    position = std::min(position, list.size());
    std::unique_ptr<TTreeNode> node(new TTreeNode(this, parent, text));
    node->FData = data;
    TTreeNode* result = node.get();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
    Changed(TControlChange::Items);
    return result;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
    TTreeNode* parent = sibling ? sibling->Parent() : nullptr;
    return InsertAt(parent, parent ? parent->FChildren.size() : FRoots.size(), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
    return InsertAt(sibling ? sibling->Parent() : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) { return AddChildObject(parent, text, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
    return InsertAt(parent, parent ? parent->FChildren.size() : FRoots.size(), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) { return InsertAt(parent, 0, text, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* node, const std::string& text) {
    if (!node) return Add(nullptr, text);
    return InsertAt(node->Parent(), static_cast<std::size_t>(node->Index()), text, nullptr);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->FOwner != this) return;
    if (FOwner) FOwner->NodeDeleting(node);
    auto& list = node->Siblings();
    const auto it = std::find_if(list.begin(), list.end(), [node](const auto& p) { return p.get() == node; });
    if (it != list.end()) list.erase(it);  // frees the node and its children
    Changed(TControlChange::Items);
}

void TTreeNodes::Clear() {
    if (FRoots.empty()) return;
    if (FOwner) FOwner->SetSelected(nullptr);
    FRoots.clear();
    Changed(TControlChange::Items);
}

void TTreeNodes::Changed(TControlChange what) {
    if (FUpdateCount > 0) {
        (what == TControlChange::Items ? FPendingItems : FPendingState) = true;
        return;
    }
    if (FOwner) FOwner->Changed(what);
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0) return;
    // A rebuilt tree carries every node's state as well.
    if (FPendingItems) Changed(TControlChange::Items);
    else if (FPendingState) Changed(TControlChange::State);
    FPendingItems = FPendingState = false;
}

std::vector<std::string> TTreeNodes::ToLines() const {
    std::vector<std::string> lines;
    for (const TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
        lines.push_back(std::string(static_cast<std::size_t>(n->Level()) * 2, ' ') + n->Text());
    return lines;
}

void TTreeNodes::SetLines(const std::vector<std::string>& lines) {
    BeginUpdate();
    Clear();
    // The open nodes on the way down, each with its indentation.
    std::vector<std::pair<std::size_t, TTreeNode*>> path;
    for (const std::string& line : lines) {
        const std::size_t indent = line.find_first_not_of(" \t");
        if (indent == std::string::npos) continue;
        while (!path.empty() && path.back().first >= indent) path.pop_back();
        TTreeNode* node = AddChild(path.empty() ? nullptr : path.back().second, line.substr(indent));
        path.emplace_back(indent, node);
    }
    EndUpdate();
}

void TTreeNodes::Assign(const TPersistent& source) {
    if (!source.InheritsFrom(TTreeNodes::StaticClass())) return TPersistent::Assign(source);
    SetLines(static_cast<const TTreeNodes&>(source).ToLines());
}

// ---- TTreeView ----

namespace {

// The nodes are published as indented lines.
TPropInfo TreeItemsProperty() {
    TPropInfo p;
    p.Name = "Items";
    p.Kind = TTypeKind::tkStrings;
    p.Get = [](const TPersistent& o) { return TPropValue(static_cast<const TTreeView&>(o).Items()->ToLines()); };
    p.Set = [](TPersistent& o, const TPropValue& v) {
        static_cast<TTreeView&>(o).Items()->SetLines(std::get<std::vector<std::string>>(v));
    };
    return p;
}

}  // namespace

const TClassInfo& TTreeView::StaticClass() {
    static const TClassInfo info{
        "TTreeView", &TWinControl::StaticClass(), Factory<TTreeView>(),
        {TreeItemsProperty(),
         AccessorProperty("StateImages", &TTreeView::StateImages, &TTreeView::SetStateImages),
         AccessorProperty("Images", &TTreeView::Images, &TTreeView::SetImages),
         AccessorProperty("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly),
         AccessorProperty("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons),
         AccessorProperty("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines),
         AccessorProperty("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot),
         AccessorProperty("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection),
         AccessorProperty("Indent", &TTreeView::Indent, &TTreeView::SetIndent),
         AccessorProperty("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle),
         Property("OnChange", &TTreeView::OnChange), Property("OnChanging", &TTreeView::OnChanging),
         Property("OnExpanded", &TTreeView::OnExpanded), Property("OnCollapsed", &TTreeView::OnCollapsed)},
        {}};
    return info;
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), FItems(new TTreeNodes(this)) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
    FSelected = nullptr;
    delete FItems;
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (node && node->Owner() != FItems) return;
    if (node == FSelected) return;
    FSelected = node;
    Changed(TControlChange::State);
}

void TTreeView::NodeDeleting(TTreeNode* node) {
    if (!FSelected) return;
    for (const TTreeNode* n = FSelected; n; n = n->Parent())
        if (n == node) {
            FSelected = nullptr;
            return;
        }
}

void TTreeView::SetStateImages(TCustomImageList* v) {
    if (v == FStateImages) return;
    FStateImages = v;
    if (v) v->FreeNotification(this);
    Changed(TControlChange::Items);
}

void TTreeView::SetImages(TCustomImageList* v) {
    if (v == FImages) return;
    FImages = v;
    if (v) v->FreeNotification(this);
    Changed(TControlChange::Items);
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == FStateImages) FStateImages = nullptr;
    if (component == FImages) FImages = nullptr;
}

void TTreeView::SetReadOnly(bool v) {
    FReadOnly = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::SetShowButtons(bool v) {
    FShowButtons = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::SetShowLines(bool v) {
    FShowLines = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::SetShowRoot(bool v) {
    FShowRoot = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::SetHideSelection(bool v) {
    FHideSelection = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::SetIndent(int v) {
    FIndent = std::max(v, 0);
    Changed(TControlChange::Appearance);
}

void TTreeView::SetBorderStyle(TBorderStyle v) {
    FBorderStyle = v;
    Changed(TControlChange::Appearance);
}

void TTreeView::FullExpand() {
    FItems->BeginUpdate();
    for (int i = 0; i < FItems->RootCount(); ++i) FItems->Root(i)->Expand(true);
    FItems->EndUpdate();
}

void TTreeView::FullCollapse() {
    FItems->BeginUpdate();
    for (int i = 0; i < FItems->RootCount(); ++i) FItems->Root(i)->Collapse(true);
    FItems->EndUpdate();
}

bool TTreeView::UserSelect(TTreeNode* node) {
    if (!Enabled() || !node || !FItems->Contains(node)) return false;
    if (node == FSelected) return true;
    bool allow = true;
    OnChanging(this, node, allow);
    if (!allow) return false;
    SetSelected(node);
    OnChange(this, node);
    return true;
}

void TTreeView::UserClickNode(TTreeNode* node) {
    if (!Enabled()) return;
    if (node && !UserSelect(node)) return;
    Click();
}

void TTreeView::UserExpand(TTreeNode* node, bool expanded) {
    if (!node || !FItems->Contains(node) || node->Expanded() == expanded) return;
    node->SetExpanded(expanded);
    if (expanded) OnExpanded(this, node);
    else OnCollapsed(this, node);
}

void TTreeView::DefaultKeyDown(std::uint16_t key, TShiftState) {
    TTreeNode* first = FItems->GetFirstNode();
    if (!first) return;
    if (!FSelected) {
        if (key == vkDown || key == vkUp || key == vkHome || key == vkEnd) UserSelect(first);
        return;
    }
    switch (key) {
    case vkDown:
        if (TTreeNode* n = FSelected->GetNextVisible()) UserSelect(n);
        break;
    case vkUp:
        if (TTreeNode* n = FSelected->GetPrevVisible()) UserSelect(n);
        break;
    case vkHome: UserSelect(first); break;
    case vkEnd: {
        TTreeNode* last = first;
        for (TTreeNode* n = first; n; n = n->GetNextVisible()) last = n;
        UserSelect(last);
        break;
    }
    case vkRight:
        if (FSelected->HasChildren() && !FSelected->Expanded()) UserExpand(FSelected, true);
        else if (FSelected->HasChildren()) UserSelect(FSelected->GetFirstChild());
        break;
    case vkLeft:
        if (FSelected->Expanded()) UserExpand(FSelected, false);
        else if (FSelected->Parent()) UserSelect(FSelected->Parent());
        break;
    default: break;
    }
}

}  // namespace rt
