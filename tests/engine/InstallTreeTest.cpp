// The install component tree: containment, install order, install types, the processing
// skeleton, stage broadcasts, the component registry and the root's rules.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "engine/InstallClasses.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "runtime/FormReader.h"
#include "runtime/Forms.h"
#include "tests/common/SimMachine.h"

namespace {

std::vector<std::string> gLog;

// A helper of any kind: the order number is chosen per test.
class TTestHelper : public TBaseHelperComponent {
    RT_CLASS(TTestHelper, TBaseHelperComponent)
public:
    TTestHelper(rt::TComponent* owner, int orderNumber, bool ordered = true) : TBaseHelperComponent(owner) {
        SetOrderNumber(orderNumber);
        SetOrdered(ordered);
    }
    explicit TTestHelper(rt::TComponent* owner) : TTestHelper(owner, kOrderRegistry) {}
    void ProcessHelpers() override {
        gLog.push_back("process " + Name());
        if (Throw == 1) rt::Abort();
        if (Throw == 2) throw rt::Exception("failed " + Name());
        TBaseHelperComponent::ProcessHelpers();
    }
    void RecordUninstall(const std::string& key) override { gLog.push_back("record " + Name() + " " + key); }
    void DoStage(TInstallContainer* sender, const std::string& stage, rt::TObject*) override {
        gLog.push_back(Name() + " hears " + stage + " from " + sender->Name());
    }
    int Throw = 0;
};

const rt::TClassInfo& TTestHelper::StaticClass() {
    static const rt::TClassInfo info{
        "TTestHelper", &TBaseHelperComponent::StaticClass(), rt::Factory<TTestHelper>(),
        {rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType)}, {}};
    return info;
}

// A file subclass, as the uninstaller is.
class TSpecialFile : public TInstallFile {
    RT_CLASS(TSpecialFile, TInstallFile)
public:
    using TInstallFile::TInstallFile;
};

const rt::TClassInfo& TSpecialFile::StaticClass() {
    static const rt::TClassInfo info{"TSpecialFile", &TInstallFile::StaticClass(), {}, {}, {}};
    return info;
}

// Stands for the database-engine component that always goes first.
class TInstallBDE : public TBaseHelperComponent {
    RT_CLASS(TInstallBDE, TBaseHelperComponent)
public:
    explicit TInstallBDE(rt::TComponent* owner) : TBaseHelperComponent(owner) {}
};

const rt::TClassInfo& TInstallBDE::StaticClass() {
    static const rt::TClassInfo info{"TInstallBDE", &TBaseHelperComponent::StaticClass(), {}, {}, {}};
    return info;
}

std::vector<std::string> Lines(const rt::TStrings* s) { return s->ToVector(); }

class InstallTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        form = new rt::TForm(nullptr);
        root = new TInstall(form);
        root->SetName("Install1");
    }
    void TearDown() override {
        form->Free();
        EXPECT_TRUE(InstallComponents().empty());
        EXPECT_EQ(InstallRoot(), nullptr);
    }
    template <class T, class... A>
    T* Make(const std::string& name, TInstallContainer* container, A... args) {
        T* c = new T(form, args...);
        c->SetName(name);
        // Files of one group need sources of their own.
        if constexpr (std::is_base_of_v<TInstallFile, T>) c->SetFileName(name + ".dat");
        if (container) c->SetContainer(container);
        return c;
    }
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;
};

}  // namespace

TEST_F(InstallTreeTest, AttachingAddsEachKindsOrderNumberOnceInAscendingPlace) {
    auto* group = Make<TInstallFileGroup>("FileGroup1", root);
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"1000"}));
    Make<TInstallFile>("File1", group);
    Make<TInstallFile>("File2", group);
    EXPECT_EQ(Lines(group->InstallOrder()), (std::vector<std::string>{"2000"}));
    Make<TTestHelper>("ShellLink1", root, kOrderShortcut);
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"1000", "8000"}));
    Make<TTestHelper>("InstallRegistry1", root, kOrderRegistry);
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"1000", "8000", "8500"}));
    Make<TTestHelper>("MainFolder1", root, kOrderProgramFolder);
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"1000", "7000", "8000", "8500"}));
    // Dialogs are not ordered: they are reached by stages, never processed.
    Make<TTestHelper>("Dialog1", root, kOrderDialog, false);
    EXPECT_EQ(root->InstallOrder()->Count(), 4);
    EXPECT_EQ(root->HelperCount(), 5);
}

TEST_F(InstallTreeTest, ADesignersOrderIsKeptAndNewKindsFindTheirPlace) {
    rt::TStringList order{"8500", "1000"};
    root->SetInstallOrder(order);
    Make<TInstallFileGroup>("FileGroup1", root);
    Make<TTestHelper>("InstallRegistry1", root, kOrderRegistry);
    Make<TTestHelper>("Files", root, kOrderFile);
    // 2000 goes before the first number not below it, which is the designer's 8500.
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"2000", "8500", "1000"}));
}

TEST_F(InstallTreeTest, ProcessingFollowsInstallOrderThenAttachmentOrder) {
    rt::TStringList order{"8500", "1000"};
    root->SetInstallOrder(order);
    auto* g1 = Make<TInstallFileGroup>("FileGroup1", root);
    Make<TTestHelper>("Registry1", root, kOrderRegistry);
    Make<TTestHelper>("Registry2", root, kOrderRegistry);
    auto* g2 = Make<TInstallFileGroup>("FileGroup2", root);
    Make<TTestHelper>("Orphan", g1, 4242);
    g1->InstallOrder()->Clear();  // Orphan's number has no line: it is never processed
    for (auto* g : {g1, g2})
        g->OnBeforeProcess = TInstallContainerNotifyEvent(nullptr, [](TInstallContainer* c) { gLog.push_back("process " + c->Name()); });
    root->ProcessHelpers();
    EXPECT_EQ(gLog, (std::vector<std::string>{"process Registry1", "record Registry1 " + kUninstallKeyPrefix + "Default Product Name",
                                              "process Registry2", "record Registry2 " + kUninstallKeyPrefix + "Default Product Name",
                                              "process FileGroup1", "process FileGroup2"}));
    EXPECT_TRUE(root->Processed());
    EXPECT_TRUE(g1->Processed());
}

TEST_F(InstallTreeTest, AnInstallOrderLineThatIsNoNumberFailsTheFirstPass) {
    Make<TTestHelper>("Registry1", root, kOrderRegistry);
    rt::TStringList order{"8500", "abc"};
    root->SetInstallOrder(order);
    try {
        root->ProcessHelpers();
        FAIL() << "no error";
    } catch (const EAIICNotValidHelperInOrder& e) {
        EXPECT_EQ(e.Message(), "There is an invalid value in the InstallOrder property");
    }
    // Lines before the bad one have run.
    EXPECT_EQ(gLog.front(), "process Registry1");
}

TEST_F(InstallTreeTest, TheOrderLineGoesOnlyWithTheLastHelperOfThatNumber) {
    auto* group = Make<TInstallFileGroup>("FileGroup1", root);
    auto* f1 = Make<TInstallFile>("File1", group);
    auto* f2 = Make<TInstallFile>("File2", group);
    f1->Free();
    EXPECT_EQ(Lines(group->InstallOrder()), (std::vector<std::string>{"2000"}));
    f2->SetContainer(nullptr);
    EXPECT_TRUE(group->InstallOrder()->Count() == 0);
    EXPECT_EQ(f2->Container(), nullptr);
    EXPECT_EQ(f2->DestDirType(), TPathSpecifiers::ddAbsolute);

    // A file subclass beside plain files: taking it away must not drop the plain files' line.
    auto* special = Make<TSpecialFile>("Uninstaller", root);
    auto* plain = Make<TInstallFile>("Plain", root);
    EXPECT_EQ(root->InstallOrder()->IndexOf("2000"), 1);
    special->Free();
    EXPECT_GE(root->InstallOrder()->IndexOf("2000"), 0);
    // The plain file is still reached; it goes no further than being reached.
    plain->OnBeforeProcess = TInstallContainerNotifyEvent(nullptr, [](TInstallContainer* c) {
        gLog.push_back("reached " + c->Name());
        rt::Abort();
    });
    root->TInstallContainer::ProcessHelpers();
    EXPECT_EQ(gLog, (std::vector<std::string>{"reached Plain"}));
}

TEST_F(InstallTreeTest, InstallTypesKeepItAlwaysExclusive) {
    using T = TInstallType;
    auto* h = Make<TTestHelper>("H", root);
    EXPECT_EQ(h->InstallTypes(), TInstallTypeSet{T::itAlways});
    h->SetInstallTypes({});
    EXPECT_EQ(h->InstallTypes(), TInstallTypeSet{T::itAlways});
    h->SetInstallTypes({T::itAlways, T::itFull});
    EXPECT_EQ(h->InstallTypes(), TInstallTypeSet{T::itFull});
    h->SetInstallTypes({T::itFull, T::itAlways});
    EXPECT_EQ(h->InstallTypes(), TInstallTypeSet{T::itAlways});
    h->SetInstallTypes({T::itAlways});
    EXPECT_EQ(h->InstallTypes(), TInstallTypeSet{T::itAlways});
    h->SetInstallTypes({T::itCompact, T::itDefault});
    EXPECT_EQ(h->InstallTypes(), (TInstallTypeSet{T::itCompact, T::itDefault}));
}

TEST_F(InstallTreeTest, ProcessAnnouncesEveryStepInOrder) {
    auto* h = Make<TTestHelper>("Registry1", root);
    auto* dlg = Make<TTestHelper>("Dialog1", root, kOrderDialog, false);
    (void)dlg;
    auto note = [](const char* what) {
        return TInstallContainerNotifyEvent(nullptr, [what](TInstallContainer* c) { gLog.push_back(std::string(what) + " " + c->Name()); });
    };
    root->OnBeforeProcess = note("before");
    root->OnShowInstallTypeDlg = note("typedlg");
    root->OnAfterProcess = note("after");
    // The skeleton itself; the root's own Process is the whole run around it.
    root->TFileContainer::Process();
    (void)h;
    const std::string key = kUninstallKeyPrefix + "Default Product Name";
    EXPECT_EQ(gLog, (std::vector<std::string>{
                        "before Install1", "Dialog1 hears eccBeforeProcess from Install1", "typedlg Install1",
                        "Dialog1 hears InstallTypeDialog from Install1", "Dialog1 hears eccBeforeInstallFileGroup from Install1",
                        "process Registry1", "record Registry1 " + key, "Dialog1 hears DoneCopyingFiles from Install1",
                        "after Install1", "Dialog1 hears eccAfterProcess from Install1"}));
    EXPECT_TRUE(root->Processed());
}

TEST_F(InstallTreeTest, ExcludedComponentsOnlyAnnounceThatTheyWereReached) {
    auto* h = Make<TTestHelper>("Registry1", root);
    Make<TTestHelper>("Dialog1", root, kOrderDialog, false);
    root->SetInclude(false);
    root->OnAfterProcess = TInstallContainerNotifyEvent(nullptr, [](TInstallContainer*) { gLog.push_back("after"); });
    root->TFileContainer::Process();
    EXPECT_EQ(gLog, (std::vector<std::string>{"Dialog1 hears eccBeforeProcess from Install1"}));
    EXPECT_FALSE(root->Processed());
    EXPECT_FALSE(h->Processed());
}

TEST_F(InstallTreeTest, TheInstallTypeFilterSkipsComponentsOfOtherTypes) {
    using T = TInstallType;
    auto* h = Make<TTestHelper>("Registry1", root);
    h->SetInstallTypes({T::itFull});
    h->SetSelectedInstallType(T::itCompact);
    h->Process();
    EXPECT_FALSE(h->Processed());
    h->SetSelectedInstallType(T::itFull);
    h->Process();
    EXPECT_TRUE(h->Processed());
    auto* custom = Make<TTestHelper>("Registry2", root);
    custom->SetInstallTypes({T::itFull});
    custom->SetSelectedInstallType(T::itCustom);
    custom->Process();
    EXPECT_TRUE(custom->Processed());
}

TEST_F(InstallTreeTest, ASilentAbortEndsOnlyThatComponent) {
    auto* a = Make<TTestHelper>("A", root);
    auto* b = Make<TTestHelper>("B", root);
    a->Throw = 1;
    root->ProcessHelpers();
    EXPECT_FALSE(a->Processed());
    EXPECT_TRUE(b->Processed());
    b->Throw = 2;
    EXPECT_THROW(root->ProcessHelpers(), rt::Exception);
}

TEST_F(InstallTreeTest, StagesReachOnlyTheDialogsOfThatContainer) {
    auto* folder = Make<TTestHelper>("MainFolder1", root, kOrderProgramFolder);
    Make<TTestHelper>("Dialog7", root, kOrderDialog, false);
    Make<TTestHelper>("Dialog5", folder, kOrderDialog, false);
    root->BroadcastStage(root, "eccSelectFolder", nullptr);
    folder->BroadcastStage(folder, "eccSelectFolder", nullptr);
    EXPECT_EQ(gLog, (std::vector<std::string>{"Dialog7 hears eccSelectFolder from Install1",
                                              "Dialog5 hears eccSelectFolder from MainFolder1"}));
}

TEST_F(InstallTreeTest, CircularContainmentIsRefusedAndChangesNothing) {
    auto* a = Make<TTestHelper>("A", root);
    auto* b = Make<TTestHelper>("B", a);
    try {
        a->SetContainer(b);
        FAIL();
    } catch (const EAIICCircularInstallContainer& e) {
        EXPECT_EQ(e.Message(), "Circular reference: Tried to add: A to: B");
    }
    EXPECT_EQ(a->Container(), root);
    EXPECT_EQ(b->HelperCount(), 0);
    try {
        a->SetContainer(a);
        FAIL();
    } catch (const EAIICCircularInstallContainer& e) {
        EXPECT_EQ(e.Message(), "Circular reference");
    }
    try {
        root->AddHelper(nullptr);
        FAIL();
    } catch (const EAIICAddingNilHelperComponent& e) {
        EXPECT_EQ(e.Message(), "Tried to add a NIL helper component to the following container: Install1");
        EXPECT_EQ(e.Container, root);
    }
    EXPECT_TRUE(root->HasHelper(b));
    EXPECT_FALSE(b->HasHelper(a));
}

TEST_F(InstallTreeTest, HelperLookupsReportBadIndexes) {
    auto* group = Make<TInstallFileGroup>("FileGroup4", root);
    for (int i = 0; i < 3; ++i) Make<TInstallFile>("File" + std::to_string(i), group);
    Make<TTestHelper>("Other", group);
    EXPECT_EQ(group->CompCount(TInstallFile::StaticClass()), 3);
    EXPECT_EQ(group->Comp(2, TInstallFile::StaticClass())->Name(), "File2");
    try {
        group->Comp(5, TInstallFile::StaticClass());
        FAIL();
    } catch (const EAIICBadCompCall& e) {
        EXPECT_EQ(e.Index, 5);
        EXPECT_EQ(e.ClassType, &TInstallFile::StaticClass());
        EXPECT_NE(e.Message().find("The parameters are probably reversed."), std::string::npos);
    }
    try {
        group->Helpers(-1);
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Tried to reference a helper component in the following component: FileGroup4. The following index was used: -1");
    }
    EXPECT_EQ(root->FileContainerCount(), 1);
    EXPECT_EQ(root->FileContainers(0), group);
}

TEST_F(InstallTreeTest, DestDirTypeRulesApplyOutsideLoadingOnly) {
    auto* h = Make<TTestHelper>("H", nullptr);
    EXPECT_EQ(h->AllowedDestDirTypes(), 0xFC5F);
    EXPECT_EQ(root->AllowedDestDirTypes(), 0xFC5F);  // the root is a helper component too
    TInstallContainer bare(nullptr);
    bare.SetName("Bare");
    EXPECT_EQ(bare.AllowedDestDirTypes(), 0xF81F);
    auto expectRefused = [&](TInstallContainer* c, TPathSpecifiers v, const std::string& message) {
        const TPathSpecifiers before = c->DestDirType();
        try {
            c->SetDestDirType(v);
            ADD_FAILURE() << message;
        } catch (const EAI&) {
            ADD_FAILURE() << "not a plain exception";
        } catch (const rt::Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(c->DestDirType(), before);
    };
    expectRefused(h, TPathSpecifiers::ddContainerDestDir, "Cannot set the DestDir property of H because the Container property is Nil");
    expectRefused(h, TPathSpecifiers::ddLoading, "That path specifier is not allowed for the DestDir property for H");
    expectRefused(&bare, TPathSpecifiers::ddMainInstallDir, "That path specifier is not allowed for the DestDir property for Bare");
    expectRefused(root, TPathSpecifiers::ddContainerDestDir, "Cannot set the DestDir property of Install1 because the Container property is Nil");
    h->SetDestDirType(TPathSpecifiers::ddMainInstallDir);
    h->SetContainer(root);
    EXPECT_EQ(h->DestDirType(), TPathSpecifiers::ddContainerDestDir);
    h->BeginLoading();
    h->SetDestDirType(TPathSpecifiers::ddObjectLink);
    h->EndLoading();
    EXPECT_EQ(h->DestDirType(), TPathSpecifiers::ddObjectLink);

    root->Free();
    root = nullptr;
    auto* lone = Make<TTestHelper>("Lone", nullptr);
    expectRefused(lone, TPathSpecifiers::ddMainInstallDir, "Cannot set the DestDir property of Lone because there is no Install component");
}

TEST_F(InstallTreeTest, DestroyedComponentsLeaveEveryContainerAndTheRegistry) {
    auto* group = Make<TInstallFileGroup>("FileGroup1", root);
    auto* file = Make<TInstallFile>("File1", group);
    const auto count = InstallComponents().size();
    EXPECT_EQ(FindInstallComponent("file1"), file);
    group->Free();
    // A file container takes its member files with it.
    EXPECT_EQ(FindInstallComponent("File1"), nullptr);
    EXPECT_EQ(root->HelperCount(), 0);
    EXPECT_EQ(InstallComponents().size(), count - 2);
    EXPECT_EQ(FindInstallComponent("FileGroup1"), nullptr);

    auto* g2 = Make<TInstallFileGroup>("FileGroup2", root);
    Make<TInstallFile>("File2", g2);
    root->DestroyHelpers();
    EXPECT_EQ(FindInstallComponent("FileGroup2"), nullptr);
    EXPECT_EQ(FindInstallComponent("File2"), nullptr);
    EXPECT_EQ(root->HelperCount(), 0);
}

TEST_F(InstallTreeTest, TheDatabaseEngineComponentAlwaysComesFirst) {
    Make<TTestHelper>("A", root, kOrderRegistry);
    auto* bde = Make<TInstallBDE>("BDE", root);
    EXPECT_EQ(root->Helpers(0), bde);
}

TEST_F(InstallTreeTest, OnlyOneRootAndOnlyOnAForm) {
    EXPECT_THROW(new TInstall(form), EAITwoInstallComponents);
    EXPECT_EQ(InstallRoot(), root);
    root->Free();
    root = nullptr;
    rt::TComponent plainOwner(nullptr);
    try {
        new TInstall(&plainOwner);
        ADD_FAILURE() << "a root needs a form";
    } catch (const EAIParentNotForm& e) {
        EXPECT_EQ(e.Owner, &plainOwner) << "the error names what outlives the half-made root";
    }
    EXPECT_EQ(plainOwner.ComponentCount(), 0);
    EXPECT_EQ(InstallRoot(), nullptr);
    EXPECT_THROW(new TInstall(nullptr), EAIParentNotForm);
}

TEST_F(InstallTreeTest, NewComponentsStartWithTheirDefaults) {
    EXPECT_EQ(root->DestDir(), "\\MyApplication");
    EXPECT_EQ(root->DestDirType(), TPathSpecifiers::ddProgramFilesDir);
    EXPECT_EQ(root->ArchiveFile(), "\\files.1");
    EXPECT_EQ(root->ArchiveFileType(), TPathSpecifiers::ddLoading);
    EXPECT_TRUE(root->RunAutomatic());
    EXPECT_TRUE(root->UseLoadingProgram());
    EXPECT_TRUE(root->AutoMaximizeWindow());
    EXPECT_EQ(root->Information()->CompanyName(), "Default Company Name");
    EXPECT_EQ(root->Information()->ProductName(), "Default Product Name");
    EXPECT_EQ(root->Information()->Version(), "1.0");
    EXPECT_FALSE(root->Ordered());

    auto* file = Make<TInstallFile>("File1", nullptr);
    EXPECT_EQ(file->OrderNumber(), kOrderFile);
    EXPECT_TRUE(file->Ordered());
    EXPECT_EQ(Lines(file->InteractiveText()), (std::vector<std::string>{"Please insert disk #"}));
    EXPECT_EQ(file->OverwriteMode(), TOverwriteType::owAlways);
    EXPECT_EQ(file->FileType(), TInstallFileType::iftNormal);
    EXPECT_TRUE(file->Include());

    auto* group = Make<TInstallFileGroup>("G", nullptr);
    EXPECT_EQ(group->GroupName(), "Unnamed File Group");
    EXPECT_TRUE(group->AllowChoice());
    EXPECT_TRUE(group->AllowChangeDir());
    EXPECT_EQ(group->OrderNumber(), kOrderFileGroup);

    rt::TStringList presetup{"a.dll", "", "  ", "b.dll"};
    root->SetPresetupFiles(presetup);
    EXPECT_EQ(Lines(root->PresetupFiles()), (std::vector<std::string>{"a.dll", "b.dll"}));
    root->SetArchiveFile("\\other.1");
    root->SetArchiveFileType(TPathSpecifiers::ddAbsolute);
    root->SetUseLoadingProgram(true);
    EXPECT_EQ(root->ArchiveFile(), "\\files.1");
    EXPECT_EQ(root->ArchiveFileType(), TPathSpecifiers::ddLoading);
}

TEST(InstallDescription, LoadingAttachesHelpersAfterTheStoredOrderAndDerivesInstallTypes) {
    SimMachine machine;  // the loaded root reads its command line
    RegisterInstallClasses();
    rt::RegisterClasses({&rt::TForm::StaticClass(), &TTestHelper::StaticClass()});
    const char* text = R"(object Form1: TForm
  object Install1: TInstall
    InstallOrder.Strings = (
      '1000')
    UseLoadingProgram = False
    ArchiveFile = '\custom.1'
  end
  object Registry1: TTestHelper
    Container = Install1
    DestDirType = ddObjectLink
  end
  object FileGroup1: TInstallFileGroup
    Container = Install1
    InstallTypes = [itFull, itCompact]
    DestDir = '\BITMAPS'
    DestDirType = ddContainerDestDir
  end
  object File1: TInstallFile
    Container = FileGroup1
    FileName = 'Blank.jpg'
  end
end
)";
    auto* form = static_cast<rt::TForm*>(rt::ReadComponent(text, nullptr));
    auto* root = static_cast<TInstall*>(form->FindComponent("Install1"));
    auto* group = static_cast<TInstallFileGroup*>(form->FindComponent("FileGroup1"));
    EXPECT_EQ(Lines(root->InstallOrder()), (std::vector<std::string>{"1000", "8500"}));
    EXPECT_EQ(Lines(group->InstallOrder()), (std::vector<std::string>{"2000"}));
    // Loading stores values without the setters' rules.
    EXPECT_EQ(root->ArchiveFile(), "\\custom.1");
    EXPECT_EQ(static_cast<TTestHelper*>(form->FindComponent("Registry1"))->DestDirType(), TPathSpecifiers::ddObjectLink);
    EXPECT_EQ(group->DestDir(), "\\BITMAPS");
    EXPECT_EQ(group->SelectedInstallType(), TInstallType::itCompact);
    EXPECT_EQ(root->SelectedInstallType(), TInstallType::itAlways);
    form->Free();
    EXPECT_TRUE(InstallComponents().empty());
}
