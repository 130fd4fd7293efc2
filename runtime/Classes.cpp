// The component model; see Classes.h.
#include "runtime/Classes.h"

#include <algorithm>

#include "runtime/TypInfo.h"

namespace rt {

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info{"TObject", nullptr, {}, {}, {}};
    return info;
}

const std::string& TObject::ClassName() const { return ClassType().Name; }

bool TObject::InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info{"TPersistent", &TObject::StaticClass(), {}, {}, {}};
    return info;
}

const TClassInfo& TList::StaticClass() {
    static const TClassInfo info{"TList", &TObject::StaticClass(), {}, {}, {}};
    return info;
}

TObject* TList::Items(int index) const {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + IntToStr(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

int TList::Add(TObject* item) {
    FItems.push_back(item);
    return Count() - 1;
}

void TPersistent::Assign(const TPersistent& source) {
    throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo info{"TComponent", &TPersistent::StaticClass(), {},
                                 {AccessorProperty("Name", &TComponent::Name, &TComponent::SetName),
                                  AccessorProperty("Tag", &TComponent::Tag, &TComponent::SetTag)},
                                 {}};
    return info;
}

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Reached through Free() normally; a plain delete still leaves the owner consistent.
    if (!IsDestroying()) TComponent::BeforeDestruction();
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    if (IsDestroying()) return;
    FComponentState.Include(TComponentStateFlag::csDestroying);
    // Those who asked hear of our going first; a notified component may remove itself.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        c->Free();  // removes itself from FComponents
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (!name.empty() && !IsValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
    if (!name.empty() && FOwner) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this) throw EComponentError("A component named " + name + " already exists");
    }
    FName = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) throw EComponentError("List index out of bounds (" + IntToStr(index) + ")");
    return FComponents[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetDesigning(bool value) {
    if (value) FComponentState.Include(TComponentStateFlag::csDesigning);
    else FComponentState.Exclude(TComponentStateFlag::csDesigning);
}

void TComponent::Loaded() {}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::InsertComponent(TComponent* component) {
    if (!component->FName.empty() && FindComponent(component->FName))
        throw EComponentError("A component named " + component->FName + " already exists");
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end()) return;
    Notification(component, TOperation::opRemove);
    FComponents.erase(std::find(FComponents.begin(), FComponents.end(), component));
    component->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    auto add = [](std::vector<TComponent*>& v, TComponent* c) {
        if (std::find(v.begin(), v.end(), c) == v.end()) v.push_back(c);
    };
    add(FFreeNotifies, component);
    add(component->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto drop = [](std::vector<TComponent*>& v, TComponent* c) { v.erase(std::remove(v.begin(), v.end(), c), v.end()); };
    drop(FFreeNotifies, component);
    drop(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // Owned components hear of each other's removal, so references between them are cleared.
    if (operation == TOperation::opRemove && component != this) {
        const std::vector<TComponent*> owned = FComponents;
        for (TComponent* c : owned)
            if (c != component && std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
                c->Notification(component, operation);
    }
}

}  // namespace rt
