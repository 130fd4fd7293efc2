// The component model: ownership, names, notifications, events and class identity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/TypInfo.h"

using namespace rt;

namespace {

std::vector<std::string> gLog;

// Records what it hears and keeps one reference that must be cleared when its target goes.
class TWatcher : public TComponent {
    RT_CLASS(TWatcher, TComponent)
public:
    explicit TWatcher(TComponent* owner) : TComponent(owner) {}
    ~TWatcher() override { gLog.push_back("destroy " + Name()); }
    TComponent* Target = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == Target) {
            gLog.push_back(Name() + " lost " + c->Name());
            Target = nullptr;
        }
    }
};

const TClassInfo& TWatcher::StaticClass() {
    static const TClassInfo info{"TWatcher", &TComponent::StaticClass(), Factory<TWatcher>(), {}, {}};
    return info;
}

}  // namespace

TEST(Component, OwnerFreesOwnedComponentsInReverseCreationOrder) {
    gLog.clear();
    auto* owner = new TWatcher(nullptr);
    owner->SetName("Owner");
    auto* a = new TWatcher(owner);
    a->SetName("A");
    auto* b = new TWatcher(owner);
    b->SetName("B");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    owner->Free();
    EXPECT_EQ(gLog, (std::vector<std::string>{"destroy Owner", "destroy B", "destroy A"}));
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
    TWatcher owner(nullptr);
    auto* a = new TWatcher(&owner);
    a->SetName("Install1");
    auto* b = new TWatcher(&owner);
    EXPECT_THROW(b->SetName("INSTALL1"), EComponentError);
    EXPECT_THROW(b->SetName("1Install"), EComponentError);
    EXPECT_THROW(b->SetName("File Group"), EComponentError);
    b->SetName("_File_2");
    EXPECT_EQ(owner.FindComponent("_FILE_2"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    a->SetName("Install1");  // renaming to its own name is no conflict
}

TEST(Component, SiblingsAndFreeNotifiedComponentsHearOfRemoval) {
    gLog.clear();
    TWatcher owner(nullptr);
    auto* a = new TWatcher(&owner);
    a->SetName("A");
    auto* b = new TWatcher(&owner);
    b->SetName("B");
    a->Target = b;
    TWatcher outsider(nullptr);
    outsider.SetName("Outsider");
    outsider.Target = b;
    b->FreeNotification(&outsider);
    b->Free();
    EXPECT_EQ(a->Target, nullptr);
    EXPECT_EQ(outsider.Target, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    gLog.clear();
}

TEST(Component, EventsFireOnlyWhenAssignedWithTheSenderFirst) {
    TEvent<TObject*, bool&> ev;
    bool flag = true;
    ev(nullptr, flag);  // unassigned: nothing happens
    EXPECT_TRUE(flag);
    TWatcher w(nullptr);
    ev = TEvent<TObject*, bool&>(&w, [&](TObject* sender, bool& f) {
        EXPECT_EQ(sender, &w);
        f = false;
    });
    ASSERT_TRUE(static_cast<bool>(ev));
    EXPECT_EQ(ev.Data(), &w);
    ev(&w, flag);
    EXPECT_FALSE(flag);
    ev.Clear();
    EXPECT_FALSE(static_cast<bool>(ev));
}

TEST(Component, ClassIdentityFollowsTheClassTree) {
    TWatcher w(nullptr);
    EXPECT_EQ(w.ClassName(), "TWatcher");
    EXPECT_TRUE(w.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(w.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(TComponent::StaticClass().InheritsFrom(TWatcher::StaticClass()));
    // Published properties are found through the parents without regard to case.
    EXPECT_NE(TWatcher::StaticClass().FindProp("name"), nullptr);
    EXPECT_EQ(TWatcher::StaticClass().FindProp("Nonexistent"), nullptr);
    SetPropValue(w, "Tag", std::int64_t(42));
    EXPECT_EQ(w.Tag(), 42);
    EXPECT_THROW(SetPropValue(w, "Nonexistent", std::int64_t(1)), EPropertyError);
}

TEST(Component, SetsHoldEnumerationBits) {
    enum class E { a, b, c };
    TSet<E> s{E::a, E::c};
    EXPECT_EQ(s.Bits(), 5u);
    EXPECT_TRUE(s.Contains(E::c));
    EXPECT_FALSE(s.Contains(E::b));
    EXPECT_EQ((s - TSet<E>{E::a}).Bits(), 4u);
    EXPECT_TRUE((s * TSet<E>{E::b}).Empty());
}
