// Forms, controls and the application loop on the headless backend.
#include <gtest/gtest.h>

#include "runtime/Forms.h"
#include "runtime/headless/HeadlessBackend.h"

using namespace rt;

namespace {

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { SetBackend(&backend); }
    void TearDown() override { SetBackend(nullptr); }
    THeadlessBackend backend;
};

}  // namespace

TEST_F(FormsTest, ActivationArrivesAsAMessageAfterTheFormIsShown) {
    std::vector<std::string> log;
    TForm form(nullptr);
    form.OnShow = TNotifyEvent(nullptr, [&](TObject*) { log.push_back("show"); });
    form.OnActivate = TNotifyEvent(nullptr, [&](TObject*) { log.push_back("activate"); });
    form.ShowForm();
    EXPECT_EQ(log, (std::vector<std::string>{"show"}));
    EXPECT_TRUE(form.HandleAllocated());
    backend.ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"show", "activate"}));
    EXPECT_TRUE(form.Active());
    EXPECT_EQ(backend.ActiveForm(), &form);
}

TEST_F(FormsTest, ModalFormsEndWithTheScriptedOrClosingResult) {
    TForm dialog(nullptr);
    backend.ModalScript = [](TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_TRUE(f.Modal());
        return mrYes;
    };
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());

    // Closing a modal form without a result cancels it; a veto keeps it open.
    bool allow = false;
    dialog.OnCloseQuery = TEvent<TObject*, bool&>(nullptr, [&](TObject*, bool& canClose) { canClose = allow; });
    backend.ModalScript = [&](TCustomForm& f) {
        f.Close();
        EXPECT_EQ(f.ModalResult(), mrNone);
        allow = true;
        f.Close();
        return f.ModalResult();
    };
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(FormsTest, CentredFormsSitInTheMiddleOfTheScreen) {
    backend.SetScreenSize(1024, 768);
    TForm form(nullptr);
    form.SetClientWidth(370);
    form.SetClientHeight(90);
    form.SetPosition(TPosition::poScreenCenter);
    form.ShowForm();
    EXPECT_EQ(form.Left(), (1024 - 370) / 2);
    EXPECT_EQ(form.Top(), (768 - 90) / 2);
    EXPECT_EQ(form.ClientWidth(), 370);
}

TEST_F(FormsTest, AlignedChildrenShareTheClientArea) {
    TForm form(nullptr);
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    auto* top = new TImage(&form);
    top->SetParent(&form);
    top->SetHeight(50);
    top->SetAlign(TAlign::alTop);
    auto* client = new TImage(&form);
    client->SetParent(&form);
    client->SetAlign(TAlign::alClient);
    EXPECT_EQ(top->Width(), 400);
    EXPECT_EQ(client->Top(), 50);
    EXPECT_EQ(client->Height(), 250);
    form.BackendResized(800, 600);
    EXPECT_EQ(top->Width(), 800);
    EXPECT_EQ(client->Height(), 550);
}

TEST_F(FormsTest, LabelsSizeThemselvesToTheirText) {
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetParentFont(false);
    label->Font()->SetHeight(-10);  // headless: 5 pixels a character, 12 a line
    label->SetCaption("&Next && more");
    EXPECT_EQ(label->DisplayText(), "Next & more");
    EXPECT_EQ(label->Width(), 11 * 5);
    EXPECT_EQ(label->Height(), 12);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->DisplayText(), "&Next && more");
    // Word wrap keeps the width and grows downwards.
    label->SetWordWrap(true);
    label->SetWidth(40);
    label->SetCaption("one two three four");
    EXPECT_EQ(label->Width(), 40);
    EXPECT_EQ(label->Height(), 3 * 12);
}

TEST_F(FormsTest, FontsFollowTheParentUntilSetThemselves) {
    TForm form(nullptr);
    form.Font()->SetName("Arial");
    auto* a = new TLabel(&form);
    a->SetParent(&form);
    EXPECT_EQ(a->Font()->Name(), "Arial");
    a->Font()->SetHeight(-20);
    EXPECT_FALSE(a->ParentFont());
    form.Font()->SetName("Tahoma");
    form.Font()->SetSize(10);
    EXPECT_EQ(form.Font()->Height(), -13);
    EXPECT_EQ(a->Font()->Name(), "Arial");
}

TEST_F(FormsTest, ApplicationRunsUntilTerminatedAndRoutesExceptions) {
    TApplication app(nullptr);
    SetApplication(&app);
    auto* main = app.CreateForm<TForm>();
    EXPECT_EQ(app.MainForm(), main);
    std::string shown;
    app.ShowException = [&](const std::string& m) { shown = m; };
    int activations = 0;
    main->OnActivate = TNotifyEvent(nullptr, [&](TObject*) {
        ++activations;
        backend.Post([] { throw Exception("boom"); });
        backend.Post([] { throw EAbort(); });
        backend.Post([&] { main->Close(); });
    });
    app.Run();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(shown, "boom");
    EXPECT_TRUE(app.Terminated());
    SetApplication(nullptr);
}
