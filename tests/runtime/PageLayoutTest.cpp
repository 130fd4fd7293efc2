// Page layouts read from form descriptions: every control class can be created by name, its
// published properties and references are set, aligned panels share the page, and the
// loaded page works under the keyboard. The right-to-left variants load the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Buttons.h"
#include "runtime/ComCtrls.h"
#include "runtime/ControlClasses.h"
#include "runtime/ExtCtrls.h"
#include "runtime/FileCtrl.h"
#include "runtime/FormReader.h"
#include "runtime/Forms.h"
#include "runtime/HebCtrls.h"
#include "runtime/TreeView.h"
#include "runtime/headless/HeadlessBackend.h"
#include "tests/common/SimMachine.h"

using namespace rt;

namespace {

// A page form with the handlers its description names.
class TTestPage : public TForm {
    RT_CLASS(TTestPage, TForm)
public:
    explicit TTestPage(TComponent* owner, const std::string& description) : TForm(owner) {
        ReadRootComponent(description, *this);
    }
    template <class C>
    C* Get(const std::string& name) const {
        auto* c = dynamic_cast<C*>(FindComponent(name));
        if (!c) throw Exception("no " + name);
        return c;
    }
    std::vector<std::string> Log;
    void ProceedBtnClick(TObject*) { Log.push_back("proceed"); }
    void FolderListBoxClick(TObject*) {
        auto* list = Get<TListBox>("FolderListBox");
        Get<TEdit>("FolderEdit")->SetText(list->Items()->Strings(list->ItemIndex()));
    }
    void FormKeyDown(TObject*, std::uint16_t& key, TShiftState) {
        if (key == vkF1) {
            Log.push_back("help");
            key = 0;
        }
    }
};

const char* const kProgramFolderPage = R"(
object TestPage: TTestPage
  BorderStyle = bsDialog
  Caption = 'Select Program Folder...'
  ClientWidth = 508
  ClientHeight = 379
  KeyPreview = True
  ActiveControl = FolderEdit
  OnKeyDown = FormKeyDown
  object ClientPanel: TPanel
    Align = alClient
    BevelOuter = bvNone
    object ThemePanel: TPanel
      Width = 129
      Align = alLeft
      BevelOuter = bvLowered
      object ThemeBitmap: TImage
        Left = 4
        Top = 4
        Width = 121
        Height = 305
        Stretch = True
      end
    end
    object BottomPanel: TPanel
      Height = 41
      Align = alBottom
      BevelOuter = bvNone
      object Bevel1: TBevel
        Left = 8
        Top = 2
        Width = 492
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TBitBtn
        Left = 320
        Top = 10
        Caption = 'Proceed'
        Kind = bkOK
        OnClick = ProceedBtnClick
      end
      object CancelBtn: TButton
        Left = 410
        Top = 10
        Caption = 'Cancel'
        Cancel = True
        ModalResult = 2
      end
    end
    object TextPanel: TPanel
      Align = alClient
      BevelOuter = bvNone
      object TopDescriptionLabel: TLabel
        Left = 8
        Top = 8
        Width = 360
        WordWrap = True
        Caption = 'Setup will add program icons to the Program Folder listed below.'
      end
      object ProgramFolders: TLabel
        Left = 8
        Top = 40
        Caption = '&Program Folders:'
        FocusControl = FolderEdit
      end
      object FolderEdit: TEdit
        Left = 8
        Top = 56
        Width = 360
        MaxLength = 50
      end
      object FolderListBox: TListBox
        Left = 8
        Top = 100
        Width = 170
        Height = 90
        Sorted = True
        Items.Strings = (
          'Startup'
          'Accessories'
          'Games')
        OnClick = FolderListBoxClick
      end
      object Options: TRadioGroup
        Left = 190
        Top = 100
        Width = 170
        Height = 60
        Caption = 'Options'
        Columns = 2
        ItemIndex = 1
        Items.Strings = (
          'Full'
          'Compact')
      end
      object Agree: TCheckBox
        Left = 190
        Top = 170
        Caption = 'I agree'
        Checked = True
      end
      object Language: TComboBox
        Left = 190
        Top = 190
        Style = csDropDownList
        ItemIndex = 1
        Items.Strings = (
          'English'
          'Deutsch')
      end
      object Agreement: TMemo
        Left = 8
        Top = 196
        Width = 170
        Height = 40
        ReadOnly = True
        ScrollBars = ssVertical
        Color = clBtnFace
        Lines.Strings = (
          'Line one'
          'Line two')
      end
      object Pages: TPageControl
        Left = 8
        Top = 240
        Width = 360
        Height = 80
        ActivePage = Second
        object First: TTabSheet
          Caption = 'Groups'
          object GroupListBox: TTreeView
            Left = 0
            Top = 0
            StateImages = ImageList1
            Items.Strings = (
              'Program'
              '  Help'
              'Tutorial')
          end
        end
        object Second: TTabSheet
          Caption = 'Progress'
          object ProgressBar1: TProgressBar
            Max = 200
            Position = 50
          end
          object Animate1: TAnimate
            CommonAVI = aviCopyFiles
            StopFrame = 26
          end
        end
      end
      object Drives: TDriveComboBox
        Left = 190
        Top = 100
        DirList = Dirs
        Visible = False
      end
      object Dirs: TDirectoryListBox
        Left = 190
        Top = 130
        Directory = 'C:\Program Files'
        Visible = False
      end
    end
  end
  object ImageList1: TImageList
    Width = 13
  end
end
)";

const char* const kHebrewPage = R"(
object TestPage: TTestPage
  ClientWidth = 400
  ClientHeight = 300
  BiDiMode = bdRightToLeft
  object HebLabel1: THebLabel
    Alignment = taRightJustify
    Caption = #$05E9#$05DC#$05D5#$05DD
    Hebrew = True
  end
  object FolderEdit: THHEdit
    Hebrew = True
    Text = #$05D0#$05D1
  end
  object HebEdit2: THebEdit
    Tag = 1
  end
  object Agreement: THebDMemo
    Hebrew = True
    Alignment = taRightJustify
  end
  object HebCheckBox1: THebCheckBox
    Hebrew = True
    Alignment = taLeftJustify
  end
  object HebRadioButton1: THebRadioButton
    Hebrew = True
  end
  object RG: THebRadioGroup
    Hebrew = True
    Items.Strings = (
      'One'
      'Two')
    ItemIndex = 0
  end
  object DirectoryGroupBox: THebGroupBox
    Hebrew = True
  end
  object FolderListBox: THebListBox3D
    Hebrew = True
    Alignment = taRightJustify
  end
  object HebComboBox1: THebComboBox
    Hebrew = True
  end
  object HebPageControl1: THebPageControl
    Hebrew = True
  end
  object HebTabControl1: THebTabControl
    Hebrew = True
  end
  object HebNotebook1: THebNotebook
    Hebrew = True
  end
  object HebScrollBox1: THebScrollBox
    Hebrew = True
  end
end
)";

class PageLayout : public ::testing::Test {
protected:
    void SetUp() override {
        SetBackend(&backend);
        RegisterControlClasses();
        RegisterClass(TTestPage::StaticClass());
        sim->CreateDirectory("C:\\Program Files");
        sim->CreateDirectory("C:\\Program Files\\Brevanshaw");
    }
    void TearDown() override { SetBackend(nullptr); }

    SimMachine sim;
    THeadlessBackend backend;
};

}  // namespace

const rt::TClassInfo& TTestPage::StaticClass() {
    static const rt::TClassInfo info{"TTestPage", &rt::TForm::StaticClass(), {}, {},
                                     {rt::Method("ProceedBtnClick", &TTestPage::ProceedBtnClick),
                                      rt::Method("FolderListBoxClick", &TTestPage::FolderListBoxClick),
                                      rt::Method("FormKeyDown", &TTestPage::FormKeyDown)}};
    return info;
}

TEST_F(PageLayout, Description_CreatesEveryControlWithItsPropertiesAndReferences) {
    TTestPage page(nullptr, kProgramFolderPage);
    EXPECT_EQ(page.Get<TListBox>("FolderListBox")->Items()->ToVector(),
              (std::vector<std::string>{"Accessories", "Games", "Startup"}));
    EXPECT_EQ(page.Get<TRadioGroup>("Options")->ItemIndex(), 1);
    EXPECT_EQ(page.Get<TRadioGroup>("Options")->Columns(), 2);
    EXPECT_TRUE(page.Get<TCheckBox>("Agree")->Checked());
    EXPECT_EQ(page.Get<TComboBox>("Language")->Text(), "Deutsch");
    EXPECT_EQ(page.Get<TMemo>("Agreement")->Text(), "Line one\r\nLine two");
    EXPECT_EQ(page.Get<TMemo>("Agreement")->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_EQ(page.Get<TEdit>("FolderEdit")->MaxLength(), 50);
    EXPECT_EQ(page.Get<TLabel>("ProgramFolders")->FocusControl(), page.Get<TEdit>("FolderEdit"));
    EXPECT_EQ(page.Get<TBitBtn>("ProceedBtn")->Caption(), "Proceed") << "the designed caption beats the kind's";
    EXPECT_EQ(page.Get<TBitBtn>("ProceedBtn")->ModalResult(), mrOk);
    EXPECT_EQ(page.Get<TBevel>("Bevel1")->Shape(), TBevelShape::bsTopLine);

    auto* pages = page.Get<TPageControl>("Pages");
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), page.Get<TTabSheet>("Second"));
    EXPECT_FALSE(page.Get<TTabSheet>("First")->Visible());
    EXPECT_EQ(page.Get<TProgressBar>("ProgressBar1")->Position(), 50);
    EXPECT_EQ(page.Get<TAnimate>("Animate1")->CommonAVI(), TCommonAVI::aviCopyFiles);
    auto* tree = page.Get<TTreeView>("GroupListBox");
    EXPECT_EQ(tree->Items()->Count(), 3);
    EXPECT_EQ(tree->Items()->GetFirstNode()->GetFirstChild()->Text(), "Help");
    EXPECT_EQ(tree->StateImages(), page.Get<TImageList>("ImageList1"));

    EXPECT_EQ(page.Get<TDriveComboBox>("Drives")->DirList(), page.Get<TDirectoryListBox>("Dirs"));
    EXPECT_EQ(page.Get<TDirectoryListBox>("Dirs")->Items()->ToVector(),
              (std::vector<std::string>{"C:\\", "Program Files", "Brevanshaw"}));
}

TEST_F(PageLayout, AlignedPanels_ShareThePageAfterLoading) {
    TTestPage page(nullptr, kProgramFolderPage);
    auto bounds = [&](const char* name) {
        auto* c = page.Get<TControl>(name);
        return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
    };
    EXPECT_EQ(bounds("ClientPanel"), (std::vector<int>{0, 0, 508, 379}));
    EXPECT_EQ(bounds("ThemePanel"), (std::vector<int>{0, 0, 129, 338}));
    EXPECT_EQ(bounds("BottomPanel"), (std::vector<int>{0, 338, 508, 41}));
    EXPECT_EQ(bounds("TextPanel"), (std::vector<int>{129, 0, 379, 338}));
    page.BackendResized(600, 400);
    EXPECT_EQ(bounds("TextPanel"), (std::vector<int>{129, 0, 471, 359}));
}

TEST_F(PageLayout, LoadedPage_WorksUnderTheKeyboard) {
    TTestPage page(nullptr, kProgramFolderPage);
    backend.ModalScript = [&](TCustomForm&) {
        EXPECT_EQ(page.ActiveControl(), page.Get<TEdit>("FolderEdit"));
        backend.ClickItem(*page.Get<TListBox>("FolderListBox"), 1);
        backend.SendKey(page, vkF1);
        backend.SendKey(page, vkReturn);
        return mrNone;
    };
    EXPECT_EQ(page.ShowModal(), mrOk);
    EXPECT_EQ(page.Get<TEdit>("FolderEdit")->Text(), "Games");
    EXPECT_EQ(page.Log, (std::vector<std::string>{"help", "proceed"}));
    backend.ModalScript = [&](TCustomForm&) {
        backend.SendKey(page, vkEscape);
        return mrNone;
    };
    EXPECT_EQ(page.ShowModal(), mrCancel);
}

TEST_F(PageLayout, HebrewVariants_LoadInRightToLeftModeWithTheirAlignmentRules) {
    TTestPage page(nullptr, kHebrewPage);
    auto* label = page.Get<THebLabel>("HebLabel1");
    EXPECT_TRUE(label->Hebrew());
    EXPECT_EQ(label->Caption(), "\u05E9\u05DC\u05D5\u05DD");
    EXPECT_FALSE(label->UseRightToLeftAlignment()) << "a right-to-left label keeps its alignment literal";
    EXPECT_EQ(page.Get<THHEdit>("FolderEdit")->BiDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_EQ(page.Get<THHEdit>("FolderEdit")->Text(), "\u05D0\u05D1");
    EXPECT_FALSE(page.Get<THebEdit>("HebEdit2")->Hebrew()) << "off unless switched on";
    EXPECT_EQ(page.Get<THebEdit>("HebEdit2")->Tag(), 1);
    EXPECT_EQ(page.Get<THebDMemo>("Agreement")->BiDiMode(), TBiDiMode::bdRightToLeftNoAlign);
    EXPECT_TRUE(page.Get<THebCheckBox>("HebCheckBox1")->CaptionOnLeft());
    EXPECT_TRUE(page.Get<THebRadioButton>("HebRadioButton1")->Hebrew());
    EXPECT_EQ(page.Get<THebRadioGroup>("RG")->ItemIndex(), 0);
    EXPECT_TRUE(page.Get<THebRadioGroup>("RG")->UseRightToLeftAlignment());
    EXPECT_TRUE(page.Get<THebGroupBox>("DirectoryGroupBox")->UseRightToLeftScrollBar());
    EXPECT_EQ(page.Get<THebListBox3D>("FolderListBox")->Alignment(), TAlignment::taRightJustify);
    for (const char* name : {"HebPageControl1", "HebTabControl1", "HebNotebook1", "HebScrollBox1"})
        EXPECT_EQ(page.Get<TControl>(name)->BiDiMode(), TBiDiMode::bdRightToLeft) << name;
    EXPECT_EQ(page.BiDiMode(), TBiDiMode::bdRightToLeft);
}

TEST_F(PageLayout, HebrewSwitch_TurnsBackAndKeepsTheComboSelection) {
    TTestPage page(nullptr, kHebrewPage);
    auto* combo = page.Get<THebComboBox>("HebComboBox1");
    combo->Items()->SetLines({"a", "b"});
    combo->SetItemIndex(1);
    combo->SetHebrew(false);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_FALSE(combo->Hebrew());
    combo->SetHebrew(true);
    EXPECT_EQ(combo->Text(), "b");
    auto* label = page.Get<THebLabel>("HebLabel1");
    label->SetHebrew(false);
    EXPECT_EQ(label->BiDiMode(), TBiDiMode::bdLeftToRight);
    EXPECT_FALSE(std::get<bool>(GetPropValue(*label, "Hebrew")));
}
