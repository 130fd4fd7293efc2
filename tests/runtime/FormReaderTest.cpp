// The form-description reader: every value form, the loading order, and malformed input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/FormReader.h"
#include "runtime/TypInfo.h"

using namespace rt;

namespace {

enum class TKind { kOne, kTwo, kThree };

}  // namespace

RT_DECLARE_ENUM(TKind)
RT_DEFINE_ENUM(TKind, "kOne", "kTwo", "kThree")

namespace {

std::vector<std::string> gEvents;
int gLiveThings = 0;

class TInner : public TPersistent {
    RT_CLASS(TInner, TPersistent)
public:
    std::string Text;
};

const TClassInfo& TInner::StaticClass() {
    static const TClassInfo info{"TInner", &TPersistent::StaticClass(), {}, {Property("Text", &TInner::Text)}, {}};
    return info;
}

class TThing : public TComponent {
    RT_CLASS(TThing, TComponent)
public:
    explicit TThing(TComponent* owner) : TComponent(owner) { ++gLiveThings; }
    ~TThing() override { --gLiveThings; }

    int Count = 0;
    bool CountSetWhileLoading = false;
    void SetCount(int v) {
        Count = v;
        CountSetWhileLoading = IsLoading();
    }
    std::string Title;
    bool Flag = false;
    double Ratio = 0;
    TKind Kind = TKind::kOne;
    TSet<TKind> Kinds;
    TBytes Data;
    TStringList LinesList;
    TStrings* Lines() const { return const_cast<TStringList*>(&LinesList); }
    void SetLines(const TStrings& s) { LinesList.Assign(s); }
    TThing* Buddy = nullptr;
    TNotifyEvent OnPing;
    TEvent<TThing*, int> OnCount;
    TInner InnerObj;
    TPersistent* Inner() const { return const_cast<TInner*>(&InnerObj); }
    std::string BuddyAtLoaded;

protected:
    void Loaded() override {
        TComponent::Loaded();
        BuddyAtLoaded = Buddy ? Buddy->Name() : "nil";
        gEvents.push_back("Loaded " + Name() + (IsLoading() ? " (loading)" : ""));
    }
};

const TClassInfo& TThing::StaticClass() {
    static const TClassInfo info{"TThing", &TComponent::StaticClass(), Factory<TThing>(),
                                 {Property("Count", &TThing::Count, &TThing::SetCount), Property("Title", &TThing::Title),
                                  Property("Flag", &TThing::Flag), Property("Ratio", &TThing::Ratio),
                                  Property("Kind", &TThing::Kind), Property("Kinds", &TThing::Kinds),
                                  Property("Data", &TThing::Data), StringsProperty("Lines", &TThing::Lines, &TThing::SetLines),
                                  Property("Buddy", &TThing::Buddy), Property("OnPing", &TThing::OnPing),
                                  Property("OnCount", &TThing::OnCount), ObjectProperty("Inner", &TThing::Inner)},
                                 {}};
    return info;
}

class TRoot : public TComponent {
    RT_CLASS(TRoot, TComponent)
public:
    explicit TRoot(TComponent* owner) : TComponent(owner) {}
    std::string Caption;
    void Ping(TObject* sender) { gEvents.push_back("Ping from " + static_cast<TComponent*>(sender)->Name()); }

protected:
    void Loaded() override {
        TComponent::Loaded();
        gEvents.push_back("Loaded root");
    }
};

const TClassInfo& TRoot::StaticClass() {
    static const TClassInfo info{"TRoot", &TComponent::StaticClass(), Factory<TRoot>(), {Property("Caption", &TRoot::Caption)},
                                 {Method("Ping", &TRoot::Ping)}};
    return info;
}

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses({&TThing::StaticClass(), &TRoot::StaticClass()});
        gEvents.clear();
    }
    TThing* Thing(TRoot& root, const char* name) { return static_cast<TThing*>(root.FindComponent(name)); }
};

const char* const kGood = R"(object Root1: TRoot
  Caption = 'It''s '#$05D0#13#10'two' +
    ' lines'
  object Thing1: TThing
    Count = -12
    Title = 'first'
    Flag = True
    Ratio = 1.5
    Kind = KTWO
    Kinds = [kOne, kThree]
    Data = {
      0A0B
      FF}
    Lines.Strings = (
      'a=1'
      'b')
    Buddy = Thing2
    OnPing = Ping
    Inner.Text = 'nested'
  end
  // Components may refer to one another in any order.
  object Thing2: TThing
    Buddy = Thing1
  end
end
)";

}  // namespace

TEST_F(FormReaderTest, SetsEveryKindOfValueAndResolvesReferencesAfterReading) {
    TRoot root(nullptr);
    ReadRootComponent(kGood, root);

    EXPECT_EQ(root.Name(), "Root1");
    EXPECT_EQ(root.Caption, "It's \xD7\x90\r\ntwo lines");
    TThing* t1 = Thing(root, "Thing1");
    TThing* t2 = Thing(root, "thing2");
    ASSERT_NE(t1, nullptr);
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t1->Owner(), &root);
    EXPECT_EQ(t1->Count, -12);
    EXPECT_TRUE(t1->CountSetWhileLoading);
    EXPECT_EQ(t1->Title, "first");
    EXPECT_TRUE(t1->Flag);
    EXPECT_DOUBLE_EQ(t1->Ratio, 1.5);
    EXPECT_EQ(t1->Kind, TKind::kTwo);
    EXPECT_EQ(t1->Kinds, (TSet<TKind>{TKind::kOne, TKind::kThree}));
    EXPECT_EQ(t1->Data, (TBytes{0x0A, 0x0B, 0xFF}));
    EXPECT_EQ(t1->LinesList.ToVector(), (std::vector<std::string>{"a=1", "b"}));
    EXPECT_EQ(t1->InnerObj.Text, "nested");
    EXPECT_EQ(t1->Buddy, t2);
    EXPECT_EQ(t2->Buddy, t1);
    // The forward reference was resolved before any Loaded ran.
    EXPECT_EQ(t1->BuddyAtLoaded, "Thing2");
    EXPECT_EQ(gEvents, (std::vector<std::string>{"Loaded root", "Loaded Thing1", "Loaded Thing2"}));
    EXPECT_FALSE(t1->IsLoading());
    t1->OnPing(t1);
    EXPECT_EQ(gEvents.back(), "Ping from Thing1");
}

TEST_F(FormReaderTest, CreatesTheTopObjectByItsClass) {
    TComponent* made = ReadComponent("object R: TRoot\n  object T: TThing\n  end\nend\n", nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), "TRoot");
    EXPECT_EQ(made->ComponentCount(), 1);
    made->Free();
    EXPECT_EQ(gLiveThings, 0);
}

TEST_F(FormReaderTest, MalformedDescriptionsNameTheLineAndLeaveNothingBehind) {
    struct Case {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"object R: TRoot\n  object T: TThing\n    Count = 1\n", 4, "'end' expected"},
        {"object R: TRoot\n  object T: TNoSuchClass\n  end\nend\n", 2, "class TNoSuchClass not found"},
        {"object R: TRoot\n  object T: TThing\n    Colour = 1\n  end\nend\n", 3, "property Colour does not exist"},
        {"object R: TRoot\n  object T: TThing\n    Kind = kFour\n  end\nend\n", 3, "'kFour' is not a value of TKind"},
        {"object R: TRoot\n  object T: TThing\n    Count = 'x'\n  end\nend\n", 3, "integer for Count expected"},
        {"object R: TRoot\n  object T: TThing\n    Buddy = Ghost\n  end\nend\n", 3, "component Ghost not found"},
        {"object R: TRoot\n  object T: TThing\n    OnCount = Ping\n  end\nend\n", 3, "does not match"},
        {"object R: TRoot\n  object T: TThing\n    OnPing = Pong\n  end\nend\n", 3, "method Pong not found"},
        {"object R: TRoot\n  object T: TThing\n    Title = 'open\n  end\nend\n", 3, "unterminated string"},
        {"object R: TRoot\n  object T: TThing\n  end\n  object T: TThing\n  end\nend\n", 4, "already exists"},
        {"object R: TThing\nend\n", 1, "not TRoot"},
        {"object R: TRoot\n  object T: TThing\n    Kinds = [kOne kTwo]\n  end\nend\n", 3, "',' or ']' expected"},
        {"object R: TRoot\nend\nend\n", 3, "end of description expected"},
    };
    for (const Case& c : cases) {
        TRoot root(nullptr);
        try {
            ReadRootComponent(c.text, root);
            ADD_FAILURE() << "no error for:\n" << c.text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Line(), c.line) << e.Message();
            EXPECT_NE(e.Message().find(c.says), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find("line " + IntToStr(c.line)), std::string::npos) << e.Message();
        }
        EXPECT_EQ(root.ComponentCount(), 0) << c.text;
        EXPECT_EQ(gLiveThings, 0) << c.text;
        EXPECT_FALSE(root.IsLoading());
    }
}
