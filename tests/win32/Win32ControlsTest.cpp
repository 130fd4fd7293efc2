// The page controls as real child windows (Wine on a virtual X display in the project's
// runs): their system classes and styles, the right-to-left styles of the Hebrew variants,
// real input (posted keys and characters, button clicks) reaching the model's routing, text
// and selections going both ways, and screenshots of an English and a Hebrew page.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "runtime/Buttons.h"
#include "runtime/ComCtrls.h"
#include "runtime/ControlClasses.h"
#include "runtime/ExtCtrls.h"
#include "runtime/FileCtrl.h"
#include "runtime/FormReader.h"
#include "runtime/HebCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"
#include "runtime/TreeView.h"
#include "runtime/win32/Win32Backend.h"
#include "tests/win32/ScreenShot.h"

using namespace rt;
using shot::ClassOf;
using shot::DisplayWorks;
using shot::TextOf;

namespace {

// A page whose layout comes from a description text.
class TShotPage : public TForm {
    RT_CLASS(TShotPage, TForm)
public:
    TShotPage(TComponent* owner, const std::string& description) : TForm(owner) { ReadRootComponent(description, *this); }
    template <class C>
    C* Get(const std::string& name) const {
        auto* c = dynamic_cast<C*>(FindComponent(name));
        if (!c) throw Exception("no " + name);
        return c;
    }
};

}  // namespace

const rt::TClassInfo& TShotPage::StaticClass() {
    static const rt::TClassInfo info{"TShotPage", &rt::TForm::StaticClass(), {}, {}, {}};
    return info;
}

namespace {

HWND Hwnd(const TControl& c) { return reinterpret_cast<HWND>(c.Handle()); }
DWORD StyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)); }
DWORD ExStyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)); }



// Where a child window sits inside its parent's client area, as the eye sees it.
RECT PlaceOf(HWND hwnd) {
    RECT r{}, parent{};
    GetWindowRect(hwnd, &r);
    POINT origin{0, 0};
    ClientToScreen(GetParent(hwnd), &origin);
    GetClientRect(GetParent(hwnd), &parent);
    // A mirrored parent's client origin is at its right edge.
    if (GetWindowLongPtrW(GetParent(hwnd), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) origin.x -= parent.right;
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}


class Win32Controls : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DisplayWorks()) GTEST_SKIP() << "no display or window station: windows cannot be created";
        SetBackend(&backend);
        RegisterControlClasses();
        RegisterClasses({&TShotPage::StaticClass()});
    }
    void TearDown() override {
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) (*it)->Free();
        forms.clear();
        backend.ProcessMessages();
        if (TryBackend() == &backend) SetBackend(nullptr);
    }

    TForm* NewForm(int width = 420, int height = 300) {
        auto* f = new TForm(nullptr);
        forms.push_back(f);
        f->SetBorderStyle(TFormBorderStyle::bsDialog);
        f->SetBounds(30, 30, width, height);
        return f;
    }

    template <class C>
    C* Add(TWinControl* parent, int left, int top, int width, int height) {
        auto* c = new C(parent->ParentForm() ? static_cast<TComponent*>(parent->ParentForm()) : parent);
        c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        return c;
    }

    TShotPage* NewPage(const std::string& description) {
        auto* page = new TShotPage(nullptr, description);
        forms.push_back(page);
        return page;
    }

    // Dispatches messages until done() holds; false after a generous safety limit.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            backend.ProcessMessages();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    // A key stroke as the keyboard delivers it to the focused window: down, character, up.
    void Stroke(HWND target, WPARAM key, wchar_t ch = 0) {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        if (ch) PostMessageW(target, WM_CHAR, ch, 1);
        PostMessageW(target, WM_KEYUP, key, LPARAM(0xC0000001));
        backend.ProcessMessages();
    }

    void Type(HWND target, const std::wstring& text) {
        for (wchar_t ch : text) PostMessageW(target, WM_CHAR, ch, 1);
        backend.ProcessMessages();
    }

    TWin32Backend backend;
    std::vector<TCustomForm*> forms;
};

TNotifyEvent Counter(int& n) {
    return TNotifyEvent(nullptr, [&n](TObject*) { ++n; });
}

const char* const kEnglishPage = R"(
object Page: TShotPage
  BorderStyle = bsDialog
  Caption = 'Select Program Folder...'
  ClientWidth = 600
  ClientHeight = 420
  Position = poScreenCenter
  ActiveControl = FolderEdit
  object ThemePanel: TPanel
    Width = 130
    Align = alLeft
    BevelOuter = bvLowered
    BevelWidth = 2
    Caption = 'Brevanshaw'
    Color = clNavy
    Font.Color = clWhite
    Font.Height = -16
    Font.Style = [fsBold]
  end
  object BottomPanel: TPanel
    Height = 44
    Align = alBottom
    BevelOuter = bvNone
    object Bevel1: TBevel
      Left = 6
      Top = 2
      Width = 458
      Height = 2
      Shape = bsTopLine
    end
    object ProceedBtn: TBitBtn
      Left = 288
      Top = 10
      Caption = '&Proceed'
      Kind = bkOK
    end
    object CancelBtn: TButton
      Left = 376
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
      Top = 6
      Width = 450
      AutoSize = False
      Height = 32
      WordWrap = True
      Caption = 'Setup will add the Brevanshaw program icons to the Program Folder listed below. You may type a new folder name.'
    end
    object ProgramFolders: TLabel
      Left = 8
      Top = 40
      Caption = '&Program Folder:'
    end
    object FolderEdit: TEdit
      Left = 8
      Top = 56
      Width = 220
      MaxLength = 50
      Text = 'Brevanshaw'
    end
    object FolderListBox: TListBox
      Left = 8
      Top = 84
      Width = 220
      Height = 76
      Sorted = True
      Items.Strings = (
        'Startup'
        'Accessories'
        'Brevanshaw'
        'Games')
      ItemIndex = 1
    end
    object Options: TRadioGroup
      Left = 240
      Top = 40
      Width = 220
      Height = 60
      Caption = 'Install type'
      Columns = 2
      ItemIndex = 0
      Items.Strings = (
        'Full'
        'Compact'
        'Custom')
    end
    object Agree: TCheckBox
      Left = 240
      Top = 106
      Width = 200
      Caption = 'Create a desktop icon'
      Checked = True
    end
    object Language: TComboBox
      Left = 240
      Top = 130
      Width = 220
      Style = csDropDownList
      ItemIndex = 0
      Items.Strings = (
        'English'
        'Deutsch'
        'Nederlands')
    end
    object Pages: TPageControl
      Left = 8
      Top = 166
      Width = 452
      Height = 130
      ActivePage = Groups
      object Groups: TTabSheet
        Caption = 'Components'
        object GroupListBox: TTreeView
          Left = 4
          Top = 4
          Width = 200
          Height = 90
          Items.Strings = (
            'Program files'
            '  Help'
            'Tutorial')
        end
        object DescriptionMemo: TMemo
          Left = 212
          Top = 4
          Width = 224
          Height = 90
          ReadOnly = True
          ScrollBars = ssVertical
          Color = clBtnFace
          Lines.Strings = (
            'The program and its help.'
            'About 12 MB.')
        end
      end
      object Progress: TTabSheet
        Caption = 'Progress'
        object ProgressBar1: TProgressBar
          Left = 8
          Top = 8
          Width = 300
          Position = 60
        end
      end
    end
  end
end
)";

const char* const kHebrewPage = R"(
object Page: TShotPage
  BorderStyle = bsDialog
  Caption = #$05D1#$05D7#$05E8' '#$05EA#$05D9#$05E7#$05D9#$05D9#$05D4
  ClientWidth = 600
  ClientHeight = 420
  Position = poScreenCenter
  BiDiMode = bdRightToLeft
  object ThemePanel: TPanel
    Width = 130
    Align = alRight
    BevelOuter = bvLowered
    BevelWidth = 2
    Color = clNavy
  end
  object BottomPanel: TPanel
    Height = 44
    Align = alBottom
    BevelOuter = bvNone
    object CancelBtn: TButton
      Left = 8
      Top = 10
      Caption = #$05D1#$05D9#$05D8#$05D5#$05DC
      Cancel = True
      ModalResult = 2
      BiDiMode = bdRightToLeft
    end
    object ProceedBtn: TButton
      Left = 96
      Top = 10
      Caption = #$05D4#$05DE#$05E9#$05DA
      Default = True
      ModalResult = 1
      BiDiMode = bdRightToLeft
    end
  end
  object TextPanel: TPanel
    Align = alClient
    BevelOuter = bvNone
    object HebLabel1: THebLabel
      Left = 8
      Top = 6
      Width = 450
      AutoSize = False
      Height = 30
      WordWrap = True
      Alignment = taRightJustify
      Hebrew = True
      Caption = #$05EA#$05D5#$05DB#$05E0#$05D9#$05EA' '#$05D4#$05D4#$05EA#$05E7#$05E0#$05D4' '#$05EA#$05D5#$05E1#$05D9#$05E3' '#$05E1#$05DE#$05DC#$05D9#$05DD' '#$05DC#$05EA#$05D9#$05E7#$05D9#$05D9#$05D4' '#$05E9#$05DC#$05D4#$05DC#$05DF'.'
    end
    object FolderEdit: THHEdit
      Left = 238
      Top = 40
      Width = 220
      Hebrew = True
      Text = #$05D1#$05E8#$05D1#$05E0#$05E9#$05D5
    end
    object FolderListBox: THebListBox3D
      Left = 238
      Top = 68
      Width = 220
      Height = 76
      Hebrew = True
      Alignment = taRightJustify
      Items.Strings = (
        #$05D0#$05D1#$05D6#$05E8#$05D9#$05DD
        #$05DE#$05E9#$05D7#$05E7#$05D9#$05DD
        #$05D4#$05E4#$05E2#$05DC#$05D4)
      ItemIndex = 0
    end
    object RG: THebRadioGroup
      Left = 8
      Top = 40
      Width = 220
      Height = 60
      Hebrew = True
      Caption = #$05E1#$05D5#$05D2' '#$05D4#$05EA#$05E7#$05E0#$05D4
      ItemIndex = 0
      Items.Strings = (
        #$05DE#$05DC#$05D0#$05D4
        #$05DE#$05E6#$05D5#$05DE#$05E6#$05DE#$05EA)
    end
    object HebCheckBox1: THebCheckBox
      Left = 8
      Top = 106
      Width = 220
      Hebrew = True
      Alignment = taLeftJustify
      Caption = #$05E6#$05D5#$05E8' '#$05E1#$05DE#$05DC' '#$05D1#$05E9#$05D5#$05DC#$05D7#$05DF' '#$05D4#$05E2#$05D1#$05D5#$05D3#$05D4
      Checked = True
    end
    object HebComboBox1: THebComboBox
      Left = 8
      Top = 130
      Width = 220
      Hebrew = True
      Style = csDropDownList
      ItemIndex = 0
      Items.Strings = (
        #$05E2#$05D1#$05E8#$05D9#$05EA
        'English')
    end
    object DirectoryGroupBox: THebGroupBox
      Left = 8
      Top = 166
      Width = 452
      Height = 60
      Hebrew = True
      Caption = #$05EA#$05D9#$05E7#$05D9#$05D9#$05EA' '#$05D9#$05E2#$05D3
      object DirectoryLabel: THebEdit
        Left = 10
        Top = 24
        Width = 330
        Hebrew = True
        Text = 'C:\Brevanshaw'
      end
    end
    object Agreement: THebDMemo
      Left = 8
      Top = 234
      Width = 452
      Height = 60
      Hebrew = True
      Alignment = taRightJustify
      ReadOnly = True
      ScrollBars = ssVertical
      Lines.Strings = (
        #$05D4#$05E1#$05DB#$05DD' '#$05E8#$05D9#$05E9#$05D9#$05D5#$05DF' '#$05DC#$05DE#$05E9#$05EA#$05DE#$05E9' '#$05D4#$05E7#$05E6#$05D4)
    end
    object HebPageControl1: THebPageControl
      Left = 238
      Top = 300
      Width = 222
      Height = 30
      Hebrew = True
      object Sheet1: TTabSheet
        Caption = #$05DB#$05DC#$05DC#$05D9
      end
      object Sheet2: TTabSheet
        Caption = #$05DE#$05EA#$05E7#$05D3#$05DD
      end
    end
  end
end
)";

void SaveShot(TCustomForm& form, const wchar_t* name) {
    int width = 0, height = 0;
    const auto rgb = shot::CaptureWindow(Hwnd(form), width, height);
    ASSERT_GT(width, 0);
    // A screenshot of something: more than one colour.
    EXPECT_TRUE(shot::Varied(rgb)) << "the captured window is a single colour";
    EXPECT_TRUE(shot::SavePng(shot::ScreenshotDir() + L"\\" + name, width, height, rgb));
}

}  // namespace

// ---- every control becomes a window of the system's class ----

TEST_F(Win32Controls, ChildWindows_HaveTheSystemClassesAndStyles) {
    TForm* form = NewForm(600, 400);
    auto* panel = Add<TPanel>(form, 0, 0, 600, 40);
    auto* edit = Add<TEdit>(panel, 8, 8, 120, 21);
    edit->SetMaxLength(5);
    auto* memo = Add<TMemo>(form, 8, 48, 150, 60);
    memo->SetReadOnly(true);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    auto* ok = Add<TButton>(form, 170, 48, 75, 25);
    ok->SetDefault(true);
    auto* check = Add<TCheckBox>(form, 170, 80, 100, 17);
    auto* radio = Add<TRadioButton>(form, 170, 100, 100, 17);
    auto* box = Add<TGroupBox>(form, 300, 48, 200, 60);
    auto* list = Add<TListBox>(form, 8, 120, 150, 60);
    auto* combo = Add<TComboBox>(form, 170, 120, 150, 21);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    auto* tree = Add<TTreeView>(form, 330, 120, 150, 80);
    auto* bar = Add<TProgressBar>(form, 8, 190, 150, 16);
    auto* animate = Add<TAnimate>(form, 170, 190, 80, 60);
    animate->SetCommonAVI(TCommonAVI::aviCopyFiles);
    auto* pages = Add<TPageControl>(form, 8, 260, 300, 100);
    auto* sheet = Add<TTabSheet>(pages, 0, 0, 0, 0);
    auto* scroll = Add<TScrollBox>(form, 330, 260, 150, 100);
    form->Show();

    EXPECT_EQ(ClassOf(Hwnd(*panel)), L"BrevanshawContainer");
    EXPECT_EQ(GetParent(Hwnd(*edit)), Hwnd(*panel));
    EXPECT_EQ(_wcsicmp(ClassOf(Hwnd(*edit)).c_str(), L"Edit"), 0);
    EXPECT_EQ(SendMessageW(Hwnd(*edit), EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_EQ(StyleOf(Hwnd(*memo)) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), DWORD(ES_MULTILINE | ES_READONLY | WS_VSCROLL));
    EXPECT_EQ(_wcsicmp(ClassOf(Hwnd(*ok)).c_str(), L"Button"), 0);
    EXPECT_EQ(StyleOf(Hwnd(*ok)) & BS_TYPEMASK, DWORD(BS_DEFPUSHBUTTON));
    EXPECT_EQ(StyleOf(Hwnd(*check)) & BS_TYPEMASK, DWORD(BS_CHECKBOX));
    EXPECT_EQ(StyleOf(Hwnd(*radio)) & BS_TYPEMASK, DWORD(BS_RADIOBUTTON));
    EXPECT_EQ(StyleOf(Hwnd(*box)) & BS_TYPEMASK, DWORD(BS_GROUPBOX));
    EXPECT_EQ(_wcsicmp(ClassOf(Hwnd(*list)).c_str(), L"ListBox"), 0);
    EXPECT_EQ(_wcsicmp(ClassOf(Hwnd(*combo)).c_str(), L"ComboBox"), 0);
    EXPECT_EQ(StyleOf(Hwnd(*combo)) & 3, DWORD(CBS_DROPDOWNLIST));
    EXPECT_EQ(ClassOf(Hwnd(*tree)), WC_TREEVIEWW);
    EXPECT_EQ(ClassOf(Hwnd(*bar)), PROGRESS_CLASSW);
    EXPECT_EQ(ClassOf(Hwnd(*animate)), ANIMATE_CLASSW);
    EXPECT_TRUE(StyleOf(Hwnd(*animate)) & ACS_TIMER);
    EXPECT_EQ(ClassOf(Hwnd(*pages)), WC_TABCONTROLW);
    EXPECT_EQ(GetParent(Hwnd(*sheet)), Hwnd(*pages));
    EXPECT_TRUE(ExStyleOf(Hwnd(*scroll)) & WS_EX_CLIENTEDGE);
}

TEST_F(Win32Controls, ChildWindows_SitWhereTheModelSaysAndFollowItsChanges) {
    TForm* form = NewForm();
    auto* panel = Add<TPanel>(form, 20, 30, 300, 200);
    auto* edit = Add<TEdit>(panel, 10, 12, 120, 21);
    form->Show();
    const RECT at = PlaceOf(Hwnd(*edit));
    EXPECT_EQ(std::vector<LONG>({at.left, at.top, at.right, at.bottom}), std::vector<LONG>({10, 12, 130, 33}));
    edit->SetBounds(40, 50, 100, 24);
    const RECT moved = PlaceOf(Hwnd(*edit));
    EXPECT_EQ(std::vector<LONG>({moved.left, moved.top, moved.right, moved.bottom}), std::vector<LONG>({40, 50, 140, 74}));
    edit->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(Hwnd(*edit)));
    panel->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(Hwnd(*edit)));
    panel->SetVisible(true);

    // Moved to the form, the edit's window follows; freed, it goes.
    edit->SetParent(form);
    EXPECT_EQ(GetParent(Hwnd(*edit)), Hwnd(*form));
    // Added after the form was shown, a control gets its window at once.
    auto* late = Add<TButton>(panel, 5, 5, 60, 25);
    ASSERT_TRUE(late->HandleAllocated());
    HWND lateWindow = Hwnd(*late);
    late->Free();
    EXPECT_FALSE(IsWindow(lateWindow));
    HWND panelWindow = Hwnd(*panel);
    panel->Free();
    EXPECT_FALSE(IsWindow(panelWindow));
}

// ---- what the user types and chooses reaches the model ----

TEST_F(Win32Controls, Typing_IntoARealEditUpdatesTheModel) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form, 10, 10, 200, 21);
    edit->SetMaxLength(6);
    int changes = 0;
    edit->OnChange = Counter(changes);
    form->Show();
    edit->SetFocus();
    EXPECT_EQ(GetFocus(), Hwnd(*edit));
    Type(Hwnd(*edit), L"Brevanshaw");
    EXPECT_EQ(edit->Text(), "Brevan") << "the system's edit keeps the limit";
    EXPECT_EQ(changes, 6);
    // A paste or any other change in the window comes over as well.
    SetWindowTextW(Hwnd(*edit), L"C:\\Dir");
    EXPECT_EQ(edit->Text(), "C:\\Dir");
    edit->SetText("From code");
    EXPECT_EQ(TextOf(Hwnd(*edit)), L"From code");
}

TEST_F(Win32Controls, Keys_ReachTheDefaultAndCancelButtonsThroughTheModel) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form, 10, 10, 200, 21);
    auto* ok = Add<TButton>(form, 10, 60, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Add<TButton>(form, 100, 60, 75, 25);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    std::vector<std::string> log;
    ok->OnClick = TNotifyEvent(nullptr, [&](TObject*) { log.push_back("ok"); });
    cancel->OnClick = TNotifyEvent(nullptr, [&](TObject*) { log.push_back("cancel"); });

    form->OnShow = TNotifyEvent(nullptr, [&](TObject*) { PostMessageW(Hwnd(*edit), WM_KEYDOWN, VK_RETURN, 1); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    form->OnShow = TNotifyEvent(nullptr, [&](TObject*) {
        PostMessageW(Hwnd(*edit), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(Hwnd(*edit), WM_CHAR, 27, 1);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel"}));
}

TEST_F(Win32Controls, Keys_TabMovesTheRealFocusAndKeyPreviewSeesKeysFirst) {
    TForm* form = NewForm();
    auto* first = Add<TEdit>(form, 10, 10, 200, 21);
    auto* second = Add<TEdit>(form, 10, 40, 200, 21);
    auto* button = Add<TButton>(form, 10, 70, 75, 25);
    int clicks = 0;
    button->OnClick = Counter(clicks);
    form->Show();
    first->SetFocus();
    Stroke(Hwnd(*first), VK_TAB, L'\t');
    EXPECT_EQ(GetFocus(), Hwnd(*second));
    EXPECT_EQ(form->ActiveControl(), second);
    EXPECT_EQ(second->Text(), "") << "the Tab character goes nowhere";
    Stroke(Hwnd(*second), VK_TAB, L'\t');
    EXPECT_EQ(GetFocus(), Hwnd(*button));
    // Enter on a focused button clicks it.
    Stroke(Hwnd(*button), VK_RETURN, L'\r');
    EXPECT_EQ(clicks, 1);

    form->SetKeyPreview(true);
    form->OnKeyPress = TKeyPressEvent(nullptr, [](TObject*, char32_t& key) {
        if (key == U'x') key = 0;
    });
    first->SetFocus();
    Type(Hwnd(*first), L"axb");
    EXPECT_EQ(first->Text(), "ab");
}

TEST_F(Win32Controls, Choices_InRealButtonsListsAndTreesReachTheModel) {
    TForm* form = NewForm(600, 400);
    auto* check = Add<TCheckBox>(form, 10, 10, 120, 17);
    auto* group = Add<TRadioGroup>(form, 10, 40, 200, 80);
    group->Items()->SetLines({"Now", "Later"});
    auto* list = Add<TListBox>(form, 220, 10, 150, 80);
    list->Items()->SetLines({"a", "b", "c"});
    auto* combo = Add<TComboBox>(form, 220, 100, 150, 21);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->Items()->SetLines({"one", "two"});
    combo->SetItemIndex(0);
    auto* tree = Add<TTreeView>(form, 380, 10, 150, 100);
    TTreeNode* a = tree->Items()->Add(nullptr, "A");
    TTreeNode* b = tree->Items()->Add(nullptr, "B");
    tree->SetSelected(a);
    auto* pages = Add<TPageControl>(form, 10, 200, 300, 120);
    auto* first = Add<TTabSheet>(pages, 0, 0, 0, 0);
    first->SetCaption("First");
    auto* second = Add<TTabSheet>(pages, 0, 0, 0, 0);
    second->SetCaption("Second");
    int listClicks = 0, comboChanges = 0, treeChanges = 0, pageChanges = 0;
    list->OnClick = Counter(listClicks);
    combo->OnChange = Counter(comboChanges);
    tree->OnChange = TTVChangedEvent(nullptr, [&](TObject*, TTreeNode*) { ++treeChanges; });
    pages->OnChange = Counter(pageChanges);
    form->Show();

    SendMessageW(Hwnd(*check), BM_CLICK, 0, 0);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(SendMessageW(Hwnd(*check), BM_GETCHECK, 0, 0), BST_CHECKED);
    check->SetChecked(false);
    EXPECT_EQ(SendMessageW(Hwnd(*check), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    HWND later = FindWindowExW(Hwnd(*group), nullptr, L"Button", L"Later");
    ASSERT_NE(later, nullptr);
    SendMessageW(later, BM_CLICK, 0, 0);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(form->ActiveControl(), group) << "the focus on an item's button is the group's";

    list->SetFocus();
    Stroke(Hwnd(*list), VK_DOWN);
    Stroke(Hwnd(*list), VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(listClicks, 2);

    combo->SetFocus();
    Stroke(Hwnd(*combo), VK_DOWN);
    EXPECT_EQ(combo->Text(), "two");
    EXPECT_EQ(comboChanges, 1);

    tree->SetFocus();
    Stroke(Hwnd(*tree), VK_DOWN);
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(treeChanges, 1);
    tree->SetSelected(a);
    EXPECT_EQ(reinterpret_cast<TTreeNode*>([&] {
                  TVITEMW item{};
                  item.mask = TVIF_PARAM;
                  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(Hwnd(*tree), TVM_GETNEXTITEM, TVGN_CARET, 0));
                  SendMessageW(Hwnd(*tree), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
                  return item.lParam;
              }()),
              a);
    EXPECT_EQ(treeChanges, 1) << "a selection by code is no change the user made";

    pages->SetFocus();
    Stroke(Hwnd(*pages), VK_RIGHT);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_EQ(pageChanges, 1);
    EXPECT_TRUE(IsWindowVisible(Hwnd(*second)));
    EXPECT_FALSE(IsWindowVisible(Hwnd(*first)));
}

TEST_F(Win32Controls, TreeStateImages_ShowTheModelsStateIndexes) {
    TForm* form = NewForm();
    auto* tree = Add<TTreeView>(form, 10, 10, 200, 120);
    TTreeNode* selected = tree->Items()->Add(nullptr, "Program");
    TTreeNode* excluded = tree->Items()->Add(nullptr, "Tutorial");
    selected->SetStateIndex(1);
    excluded->SetStateIndex(2);
    form->Show();
    auto stateOf = [&](TTreeNode* node) {
        return int((SendMessageW(Hwnd(*tree), TVM_GETITEMSTATE, node->ItemId, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12);
    };
    EXPECT_EQ(stateOf(selected), 1);
    EXPECT_EQ(stateOf(excluded), 2);
    EXPECT_NE(SendMessageW(Hwnd(*tree), TVM_GETIMAGELIST, TVSIL_STATE, 0), 0);
    excluded->SetStateIndex(1);
    EXPECT_EQ(stateOf(excluded), 1);
}

// ---- Hebrew text and right-to-left layout ----

TEST_F(Win32Controls, HebrewText_RoundTripsThroughARealEditAndListBox) {
    TForm* form = NewForm();
    auto* edit = Add<THebEdit>(form, 10, 10, 200, 21);
    edit->SetHebrew(true);
    auto* list = Add<THebListBox3D>(form, 10, 40, 200, 80);
    const std::string shalom = "\u05E9\u05DC\u05D5\u05DD";
    list->Items()->SetLines({shalom, "\u05D0\u05D1\u05D2"});
    form->Show();
    edit->SetText(shalom);
    EXPECT_EQ(TextOf(Hwnd(*edit)), L"\u05E9\u05DC\u05D5\u05DD");
    edit->SetFocus();
    Stroke(Hwnd(*edit), VK_END);  // the caret starts at the reading start
    Type(Hwnd(*edit), L"\u05D0");
    EXPECT_EQ(edit->Text(), shalom + "\u05D0");
    wchar_t item[64] = {};
    SendMessageW(Hwnd(*list), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), L"\u05E9\u05DC\u05D5\u05DD");
    list->SetItemIndex(0);
    list->SetFocus();
    Stroke(Hwnd(*list), VK_DOWN);
    EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "\u05D0\u05D1\u05D2");
}

TEST_F(Win32Controls, RightToLeftVariants_CarryTheSystemsRightToLeftStyles) {
    TShotPage* page = NewPage(kHebrewPage);
    page->Show();
    auto ex = [&](const char* name) { return ExStyleOf(Hwnd(*page->Get<TControl>(name))); };
    EXPECT_EQ(ex("FolderEdit") & (WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR),
              DWORD(WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR));
    EXPECT_TRUE(StyleOf(Hwnd(*page->Get<TControl>("FolderEdit"))) & ES_RIGHT);
    EXPECT_EQ(ex("FolderListBox") & (WS_EX_RTLREADING | WS_EX_RIGHT), DWORD(WS_EX_RTLREADING | WS_EX_RIGHT));
    EXPECT_TRUE(ex("Agreement") & WS_EX_RTLREADING);
    EXPECT_TRUE(StyleOf(Hwnd(*page->Get<TControl>("Agreement"))) & ES_RIGHT);
    EXPECT_TRUE(ex("HebCheckBox1") & WS_EX_RTLREADING);
    EXPECT_TRUE(StyleOf(Hwnd(*page->Get<TControl>("HebCheckBox1"))) & BS_LEFTTEXT) << "the caption left of the box";
    EXPECT_TRUE(ex("HebComboBox1") & WS_EX_RTLREADING);
    EXPECT_TRUE(ex("RG") & WS_EX_LAYOUTRTL);
    EXPECT_TRUE(ex("DirectoryGroupBox") & WS_EX_LAYOUTRTL);
    EXPECT_TRUE(ex("HebPageControl1") & WS_EX_LAYOUTRTL);
    EXPECT_TRUE(ExStyleOf(Hwnd(*page)) & WS_EX_RTLREADING) << "a right-to-left form";

    // Inside a mirrored group box a control still shows where the model put it.
    const RECT at = PlaceOf(Hwnd(*page->Get<TControl>("DirectoryLabel")));
    EXPECT_EQ(std::vector<LONG>({at.left, at.top}), std::vector<LONG>({10, 24}));
    // The radio group's buttons are laid out from the right.
    HWND firstItem = GetWindow(Hwnd(*page->Get<TControl>("RG")), GW_CHILD);
    ASSERT_NE(firstItem, nullptr);
    RECT item{}, group{};
    GetWindowRect(firstItem, &item);
    GetWindowRect(Hwnd(*page->Get<TControl>("RG")), &group);
    EXPECT_GT(item.right, (group.left + group.right) / 2);

    // Switched back, the edit's window is made anew without the styles.
    page->Get<THebEdit>("FolderEdit")->SetHebrew(false);
    EXPECT_EQ(ex("FolderEdit") & (WS_EX_RTLREADING | WS_EX_RIGHT), DWORD(0));
    EXPECT_EQ(TextOf(Hwnd(*page->Get<TControl>("FolderEdit"))), L"\u05D1\u05E8\u05D1\u05E0\u05E9\u05D5");
}

// ---- windowless controls on containers ----

TEST_F(Win32Controls, WindowlessControls_OnPanelsAreClickable) {
    TForm* form = NewForm();
    auto* panel = Add<TPanel>(form, 20, 20, 300, 120);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetBounds(30, 40, 80, 16);
    label->SetAutoSize(false);
    label->SetCaption("Click me");
    int labelClicks = 0, panelClicks = 0;
    label->OnClick = Counter(labelClicks);
    panel->OnClick = Counter(panelClicks);
    form->Show();
    HWND hwnd = Hwnd(*panel);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 45));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(40, 45));
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(panelClicks, 1);
}

TEST_F(Win32Controls, CopyAnimation_PlaysWhereTheSystemHasItAndIsKeptRegardless) {
    TForm* form = NewForm();
    auto* animate = Add<TAnimate>(form, 10, 10, 272, 60);
    animate->SetCommonAVI(TCommonAVI::aviCopyFiles);
    animate->SetStopFrame(26);
    form->Show();
    animate->SetActive(true);
    EXPECT_TRUE(animate->Active());
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    const bool present = shell && FindResourceW(shell, MAKEINTRESOURCEW(161), L"AVI");
    RecordProperty("shell_copy_animation", present ? "present" : "absent");
    if (shell) FreeLibrary(shell);
    animate->SetActive(false);
    EXPECT_FALSE(animate->Active());
    EXPECT_TRUE(IsWindow(Hwnd(*animate)));
}

// ---- screenshots ----

TEST_F(Win32Controls, Screenshot_EnglishPage) {
    os::Win32Platform platform;
    os::ScopedPlatform use(platform);
    TShotPage* page = NewPage(kEnglishPage);
    page->Show();
    ASSERT_TRUE(PumpUntil([&] { return page->Active(); }));
    EXPECT_EQ(GetFocus(), Hwnd(*page->Get<TEdit>("FolderEdit")));
    page->Update();
    SaveShot(*page, L"controls-english.png");
}

TEST_F(Win32Controls, Screenshot_HebrewPage) {
    TShotPage* page = NewPage(kHebrewPage);
    page->Show();
    ASSERT_TRUE(PumpUntil([&] { return page->Active(); }));
    page->Update();
    SaveShot(*page, L"controls-hebrew.png");
}
