// The base forms: scaling to the screen, centring, the show sequence with mirroring, the
// minimise command, and the page conventions (3D buttons, Proceed, Cancel, keys, closing).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DocForm.h"
#include "dialogs/NotifyProgressDlg.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "engine/cmp_TInstall.h"
#include "runtime/FormReader.h"
#include "runtime/StdCtrls.h"
#include "tests/ui/KitFixture.h"
#include "ui/Button3D.h"
#include "ui/HebrewFlip.h"

using namespace rt;

namespace {

const char* const kPage = R"(object TestPage: TTestPage
  ClientWidth = 478
  ClientHeight = 371
  Caption = 'Welcome'
  object Name1: TEdit
    Left = 20
    Top = 40
    Width = 200
    Height = 21
  end
  object ProceedBtn: TButton3D
    Left = 258
    Top = 320
    Width = 100
    Height = 33
    Caption = 'Proceed'
    Default = True
    ImageControl = MainSetupDlg.GoldBtn
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TButton3D
    Left = 368
    Top = 320
    Width = 100
    Height = 33
    Caption = 'Cancel'
    Cancel = True
    ImageControl = MainSetupDlg.SilverBtn
    OnClick = CancelBtnClick
  end
  object HebrewFlip1: THebrewFlip
  end
end
)";

class TTestPage : public TPageForm {
    RT_CLASS(TTestPage, TPageForm)
public:
    explicit TTestPage(TComponent* owner) : TPageForm(owner) {
        ReadRootComponent(kPage, *this);
        PreparePage(478, 371);
        SetMarksUserCancel(true);
        DoCreate();
    }
};

// Answers its page through the test's script.
class TTestPageDlg : public TBaseInstallDlg {
    RT_CLASS(TTestPageDlg, TBaseInstallDlg)
public:
    explicit TTestPageDlg(TComponent* owner) : TBaseInstallDlg(owner) {}
    bool ShowDialog() override {
        return ShowPageForm(new TTestPage(Application()), [](TPageForm& f) { f.SetCaption("Localised"); });
    }
};

}  // namespace

const TClassInfo& TTestPage::StaticClass() {
    static const TClassInfo info{"TTestPage", &TPageForm::StaticClass(), {}, {}, {}};
    return info;
}

const TClassInfo& TTestPageDlg::StaticClass() {
    static const TClassInfo info{"TTestPageDlg", &TBaseInstallDlg::StaticClass(), {}, {}, {}};
    return info;
}

namespace {

class DocFormTest : public KitTest {
protected:
    template <class C>
    static C* Part(TCustomForm& form, const std::string& name) {
        auto* c = dynamic_cast<C*>(form.FindComponent(name));
        if (!c) throw Exception("no " + name);
        return c;
    }
};

TEST_F(DocFormTest, Scaling_ToTheScreenWidthAtTheFirstShowOnly_ThenCentred) {
    backend.SetScreenSize(1024, 768);
    auto* page = new TTestPage(app);
    std::vector<std::string> events;
    page->JustBeforeShow = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("just before"); });
    page->BeforeShowAfterFlip = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("after flip"); });
    page->OnShow = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("show"); });
    page->ShowForm();
    EXPECT_EQ(page->Width(), 611) << "1024 × 478 div 800";
    EXPECT_EQ(page->Height(), 474) << "1024 × 371 div 800";
    EXPECT_EQ(page->Left(), 206) << "(1024 - 611) / 2 = 206.5, to the even neighbour";
    EXPECT_EQ(page->Top(), 147);
    auto* edit = Part<TEdit>(*page, "Name1");
    EXPECT_EQ(edit->Left(), 26) << "20 × 611 / 478 = 25.6";
    EXPECT_EQ(edit->Width(), 255) << "the right edge scaled, 281, less the left";
    EXPECT_EQ(events, (std::vector<std::string>{"just before", "after flip", "show"}));

    page->Hide();
    events.clear();
    page->ShowForm();
    EXPECT_EQ(page->Width(), 611) << "scaled once";
    EXPECT_EQ(events, (std::vector<std::string>{"after flip", "show"}));
    page->Free();
}

TEST_F(DocFormTest, AnEightHundredPixelScreenKeepsTheDesign_NoScaleFormKeepsIt_ButCentres) {
    backend.SetScreenSize(800, 600);
    auto* page = new TTestPage(app);
    page->ShowForm();
    EXPECT_EQ(page->Width(), 478);
    EXPECT_EQ(page->Left(), 161);
    page->Free();

    backend.SetScreenSize(1280, 1024);
    page = new TTestPage(app);
    page->SetNoScaleForm(true);
    page->ShowForm();
    EXPECT_EQ(page->Width(), 478);
    EXPECT_EQ(page->Left(), 401);
    page->Free();
}

TEST_F(DocFormTest, Hebrew_ThePageIsMirroredBeforeItShows) {
    ChooseHebrew();
    auto* page = new TTestPage(app);
    int proceedLeft = -1;
    page->BeforeShowAfterFlip = TNotifyEvent(nullptr, [&](TObject*) { proceedLeft = Part<TControl>(*page, "ProceedBtn")->Left(); });
    page->ShowForm();
    EXPECT_EQ(proceedLeft, 478 - 258 - 100);
    EXPECT_TRUE(Part<TButton3D>(*page, "ProceedBtn")->Hebrew());
    page->Free();
}

TEST_F(DocFormTest, Page_ButtonsPrepared_ClosesOnlyThroughThem) {
    auto* page = new TTestPage(app);
    EXPECT_TRUE(Part<TButton3D>(*page, "ProceedBtn")->Prepared());
    EXPECT_TRUE(page->KeyPreview());
    page->ShowForm();
    page->Perform(WM_CLOSE, 0, 0);
    EXPECT_TRUE(page->Visible()) << "the window's close command does nothing";
    page->Free();
}

TEST_F(DocFormTest, Page_KeysAndButtonsRunTheDialog) {
    auto* form = new TForm(app);
    auto* root = new TInstall(form);
    root->SetName("Install1");
    auto* dlg = new TTestPageDlg(form);
    dlg->SetContainer(root);
    int confirmations = 0;
    std::string caption;

    // Enter in the edit proceeds.
    backend.ModalScript = [&](TCustomForm& page) {
        caption = page.Caption();
        backend.SendKey(page, vkReturn);
        return mrNone;
    };
    EXPECT_TRUE(dlg->Execute());
    EXPECT_EQ(caption, "Localised");

    // Escape asks; No keeps the page, Yes cancels it and the run.
    backend.ModalScript = [&](TCustomForm& page) -> TModalResult {
        if (page.ClassName() != "TTestPage") {
            ++confirmations;
            return confirmations == 1 ? mrNo : mrYes;
        }
        backend.SendKey(page, vkEscape);
        EXPECT_EQ(page.ModalResult(), mrNone);
        backend.SendKey(page, vkEscape);
        return mrNone;
    };
    EXPECT_THROW(dlg->Execute(), EAIUserAbort);
    EXPECT_EQ(confirmations, 2);
    EXPECT_TRUE(SetupState().UserCancelled);
    form->Free();
}

TEST_F(DocFormTest, ButtonFaces_BorrowedFromTheMainWindow_WhenItExists) {
    auto* alone = new TTestPage(app);
    EXPECT_EQ(Part<TButton3D>(*alone, "ProceedBtn")->ImageControl(), nullptr);
    alone->Free();

    auto* main = new TForm(app);
    main->SetName("MainSetupDlg");
    auto* gold = new TImage(main);
    gold->SetName("GoldBtn");
    auto* silver = new TImage(main);
    silver->SetName("SilverBtn");
    auto* page = new TTestPage(app);
    EXPECT_EQ(Part<TButton3D>(*page, "ProceedBtn")->ImageControl(), gold);
    EXPECT_EQ(Part<TButton3D>(*page, "CancelBtn")->ImageControl(), silver);
    main->Free();
    EXPECT_EQ(Part<TButton3D>(*page, "ProceedBtn")->ImageControl(), nullptr) << "the main window went first";
    page->Free();
}

TEST_F(DocFormTest, MinimiseCommand_MinimisesTheWholeApplication) {
    auto* page = new TTestPage(app);
    page->Perform(0x0112, 0xF022, 0);  // the low bits carry how it was asked
    EXPECT_EQ(backend.Minimizes(), 1);
    page->Perform(0x0112, 0xF060, 0);
    EXPECT_EQ(backend.Minimizes(), 1);
    page->Free();
}

TEST_F(DocFormTest, Palette_TheMainWindowsBackgroundUnlessTheFormHasItsOwn) {
    auto* main = new TForm(app);
    app->SetMainForm(main);
    auto* background = new TImage(main);
    background->SetName("imgLightBackGround");
    background->Picture()->SetResourceName("INSTALLTHEME1.bmp");  // 8-bit: it has a palette
    auto* page = new TTestPage(app);
    EXPECT_EQ(page->PalettePicture(), background->Picture());
    auto* own = new TImage(page);
    own->SetName("imgBackGround");
    EXPECT_EQ(page->PalettePicture(), nullptr);
    page->Free();
}

TEST_F(DocFormTest, NotifyProgress_TheLabelOfTheWritingDirection) {
    TNotifyProgressDlg* english = ShowNotifyProgress(1140);
    EXPECT_TRUE(english->MessageLabel()->Visible());
    EXPECT_FALSE(english->HebMessageLabel()->Visible());
    EXPECT_EQ(english->MessageLabel()->Caption(), "Installing Brevanshaw Engine...");
    EXPECT_EQ(english->Width(), 547) << "never rescaled";
    english->Free();

    ChooseHebrew();
    TNotifyProgressDlg* hebrew = ShowNotifyProgress(1140);
    EXPECT_TRUE(hebrew->HebMessageLabel()->Visible());
    EXPECT_FALSE(hebrew->MessageLabel()->Visible());
    EXPECT_FALSE(hebrew->HebMessageLabel()->Caption().empty());
    hebrew->Free();
}

}  // namespace
