// Dialog components and managers: ordering, language sections, the run of one page, and
// the Proceed and Cancel answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/dlgcmp_TBaseDlg.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "runtime/Forms.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"

namespace {

std::vector<std::string> gLog;

// A page whose form answers as the test says.
class TTestDlg : public TBaseInstallDlg {
    RT_CLASS(TTestDlg, TBaseInstallDlg)
public:
    explicit TTestDlg(rt::TComponent* owner) : TBaseInstallDlg(owner) {}
    bool Answer = true;
    TPageScript Script = TPageScript::psLatin;
    bool ShowDialog() override {
        gLog.push_back("show " + Name());
        return Answer;
    }
    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override {
        TBaseInstallDlg::DoStage(sender, stageName, parameterObject);
        RunAtStage(stageName, "eccWelcomeDialog", Script, true);
    }
};

const rt::TClassInfo& TTestDlg::StaticClass() {
    static const rt::TClassInfo info{"TTestDlg", &TBaseInstallDlg::StaticClass(), {}, {}, {}};
    return info;
}

class DialogFrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        form = new rt::TForm(nullptr);
        root = new TInstall(form);
        root->SetName("Install1");
        manager = new TDialogManager(form);
        manager->SetName("DialogManager1");
        manager->SetContainer(root);
    }
    void TearDown() override { form->Free(); }
    TTestDlg* Page(const std::string& name, int order) {
        auto* d = new TTestDlg(form);
        d->SetName(name);
        d->SetContainer(root);
        d->SetOrder(order);
        d->OnBeforeExecute = rt::TNotifyEvent(nullptr, [name](rt::TObject*) { gLog.push_back("before " + name); });
        d->OnAfterExecute = rt::TNotifyEvent(nullptr, [name](rt::TObject*) { gLog.push_back("after " + name); });
        return d;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> r;
        for (int i = 0; i < manager->DialogCount(); ++i) r.push_back(manager->Dialog(i)->Name());
        return r;
    }
    SimMachine machine;
    rt::TForm* form = nullptr;
    TInstall* root = nullptr;
    TDialogManager* manager = nullptr;
};

}  // namespace

TEST_F(DialogFrameworkTest, ManagersRunTheirPagesInOrderAndResortOnChange) {
    auto* a = Page("Folder", 60);
    auto* b = Page("Welcome", 10);
    auto* c = Page("License", 20);
    for (auto* d : {a, b, c}) d->SetDialogManager(manager);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Welcome", "License", "Folder"}));
    b->SetOrder(70);
    EXPECT_EQ(Names(), (std::vector<std::string>{"License", "Folder", "Welcome"}));
    b->SetOrder(10);

    root->BroadcastStage(root, "ECCBEGINNINGDIALOGMANAGER", nullptr);
    EXPECT_EQ(gLog, (std::vector<std::string>{"before Welcome", "show Welcome", "after Welcome", "before License",
                                              "show License", "after License", "before Folder", "show Folder",
                                              "after Folder"}));

    // The first cancelled page ends the run of the rest.
    gLog.clear();
    c->Answer = false;
    EXPECT_THROW(root->BroadcastStage(root, "eccBeginningDialogManager", nullptr), EAIUserAbort);
    EXPECT_EQ(gLog, (std::vector<std::string>{"before Welcome", "show Welcome", "after Welcome", "before License",
                                              "show License"}));

    gLog.clear();
    manager->SetManagerType(TManagerType::dmAfterGoodInstall);
    root->BroadcastStage(root, "eccBeginningDialogManager", nullptr);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(DialogFrameworkTest, ManagerListsFollowTheirPagesAndRefuseBadCalls) {
    auto* a = Page("A", 1);
    a->SetDialogManager(manager);
    try {
        manager->AddDialog(nullptr);
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot add a NIL Dialog to the Dialog Manager");
    }
    try {
        manager->Dialog(1);
        FAIL();
    } catch (const rt::Exception& e) {
        EXPECT_EQ(e.Message(), "Out of bounds for getting dialog in DialogManager1 with the index of 1");
    }
    auto* other = new TDialogManager(form);
    a->SetDialogManager(other);
    EXPECT_EQ(manager->DialogCount(), 0);
    EXPECT_EQ(other->DialogCount(), 1);
    other->Free();
    EXPECT_EQ(a->DialogManager(), nullptr);
    a->SetDialogManager(manager);
    a->Free();
    EXPECT_EQ(manager->DialogCount(), 0);
}

TEST_F(DialogFrameworkTest, LanguageSectionsPickTheUsersLines) {
    auto* d = Page("Page", 0);
    rt::TStringList lines{"[[[american", "A", "B", "[[[ Israel ", "C", "D"};
    d->SetDialogText(lines);
    auto line = [&](int i) {
        std::string t;
        d->GetDialogText(i, t);
        return t;
    };
    machine->SetUserDefaultLangId(1033);
    EXPECT_EQ(line(0), "A");
    EXPECT_EQ(line(1), "B");
    machine->SetUserDefaultLangId(1037);
    EXPECT_EQ(line(0), "C");
    EXPECT_EQ(line(1), "D");
    EXPECT_EQ(line(2), kNotEnoughLines);
    machine->SetUserDefaultLangId(1031);  // no German section: read from the top
    EXPECT_EQ(line(0), "[[[american");
    machine->SetUserDefaultLangId(9999);  // unknown identifiers count as "English"
    EXPECT_EQ(line(5), "D");

    machine->SetUserDefaultLangId(1033);
    d->SetDialogText(rt::TStringList{"[[[American", "old", "[[[", "[[[AMERICAN", "new"});
    EXPECT_EQ(line(0), "new");
    d->SetDialogText(rt::TStringList{"[[[", "x"});
    EXPECT_EQ(line(0), "[[[");
    d->SetDialogText(rt::TStringList{"1", "2", "3", "4", "5", "6", "7"});
    EXPECT_EQ(line(6), "7");
    EXPECT_EQ(line(7), kNotEnoughLines);
    EXPECT_EQ(LocaleName(1037), "Israel");
    EXPECT_EQ(LocaleName(2073), "Moldavia");
    EXPECT_EQ(LocaleName(1064), "English");
}

TEST_F(DialogFrameworkTest, ProceedAndCancelAnswerThroughTheButtonsForm) {
    rt::THeadlessBackend backend;
    rt::SetBackend(&backend);
    auto* d = Page("Welcome", 10);
    rt::TForm page(nullptr);
    auto* button = new rt::TLabel(&page);
    button->SetParent(&page);

    bool allowQuit = false;
    root->OnUserAbort = TUserAbortEvent(nullptr, [&](TInstall* install, bool& quitOut) {
        EXPECT_EQ(install, root);
        EXPECT_TRUE(quitOut);
        quitOut = allowQuit;
    });
    d->CancelClick(button);
    EXPECT_EQ(page.ModalResult(), rt::mrNone);
    allowQuit = true;
    d->CancelClick(button);
    EXPECT_EQ(page.ModalResult(), rt::mrCancel);
    d->CancelClick(nullptr);  // no control: nothing

    page.SetModalResult(rt::mrNone);
    bool allowProceed = false;
    d->OnInstallClick = TContinueEvent(nullptr, [&](rt::TObject* sender, bool& go) {
        EXPECT_EQ(sender, d);
        go = allowProceed;
    });
    d->InstallClick(button);
    EXPECT_EQ(page.ModalResult(), rt::mrNone);
    allowProceed = true;
    d->InstallClick(button);
    EXPECT_EQ(page.ModalResult(), rt::mrOk);
    rt::SetBackend(nullptr);
}

TEST_F(DialogFrameworkTest, ExecuteRaisesTheUsersAbortAfterTheFormIsGone) {
    auto* d = Page("Welcome", 10);
    d->Answer = false;
    try {
        d->Execute();
        FAIL();
    } catch (const EAIUserAbort& e) {
        EXPECT_EQ(e.Message(), "Installation aborted by the user");
    }
    EXPECT_EQ(gLog, (std::vector<std::string>{"before Welcome", "show Welcome"}));
    EXPECT_EQ(d->OrderNumber(), kOrderDialog);
    EXPECT_FALSE(d->Ordered());
    EXPECT_TRUE(d->OverwriteText());
    EXPECT_EQ(d->ThemeBitmap()->ResourceName(), "INSTALLTHEME1.bmp");
}

TEST_F(DialogFrameworkTest, PagesReactToTheirStageInTheirLanguage_UnlessManaged) {
    auto* latin = Page("Welcome", 10);
    auto* hebrew = Page("HebWelcome", 10);
    hebrew->Script = TPageScript::psHebrew;
    auto* every = Page("UserInfo", 11);
    every->Script = TPageScript::psEvery;
    for (int language : {0, 1, 2, 3, 4}) {
        SetupState().LanguageIndex = language;
        gLog.clear();
        root->BroadcastStage(root, "ECCWELCOMEDIALOG", nullptr);
        const std::string shown = language == 1 ? "show HebWelcome" : "show Welcome";
        EXPECT_EQ(std::count(gLog.begin(), gLog.end(), shown), 1) << language;
        EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "show UserInfo"), 1) << language;
        EXPECT_EQ(gLog.size(), 6u) << "two pages, each with its events";
    }
    SetupState().LanguageIndex = 0;
    gLog.clear();
    latin->SetDialogManager(manager);
    root->BroadcastStage(root, "eccWelcomeDialog", nullptr);
    root->BroadcastStage(root, "eccLicenseAgreement", nullptr);
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "show Welcome"), 0) << "its manager runs it";
}
