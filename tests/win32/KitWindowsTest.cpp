// The control kit as real windows: the message box in English and Hebrew and a page built
// from a description with 3D buttons, answered by keystrokes sent through the system's
// input (Enter, Escape, space, Tab), with a screenshot of each.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/DocForm.h"
#include "engine/SetupState.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/FormReader.h"
#include "runtime/Resources.h"
#include "runtime/StdCtrls.h"
#include "runtime/win32/Win32Backend.h"
#include "tests/win32/ScreenShot.h"
#include "ui/Button3D.h"
#include "ui/HebForm.h"
#include "ui/MsgDialog.h"

using namespace rt;
using shot::ClassOf;
using shot::DisplayWorks;
using shot::TextOf;

namespace {

const char* const kPage = R"(object KeysPage: TKeysPage
  BorderStyle = bsDialog
  ClientWidth = 420
  ClientHeight = 200
  Caption = 'Select Program Folder...'
  Color = clNavy
  object Folder: TEdit
    Left = 20
    Top = 40
    Width = 380
    Height = 21
    Text = 'Brevanshaw'
  end
  object ProceedBtn: TButton3D
    Left = 170
    Top = 140
    Width = 110
    Height = 36
    Caption = 'Proceed'
    Default = True
    Font.Height = -17
    Font.Color = clWhite
    ImageControl = MainSetupDlg.GoldBtn
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TButton3D
    Left = 290
    Top = 140
    Width = 110
    Height = 36
    Caption = 'Cancel'
    Cancel = True
    Font.Height = -17
    Font.Color = clWhite
    ImageControl = MainSetupDlg.SilverBtn
    OnClick = CancelBtnClick
  end
end
)";

const char* const kMain = R"(object MainSetupDlg: TForm
  object GoldBtn: TImage
    Picture.ResourceName = 'GOLDBTN.bmp'
    Visible = False
  end
  object SilverBtn: TImage
    Picture.ResourceName = 'SILVERBTN.bmp'
    Visible = False
  end
end
)";

class TKeysPage : public TPageForm {
    RT_CLASS(TKeysPage, TPageForm)
public:
    explicit TKeysPage(TComponent* owner) : TPageForm(owner) {
        ReadRootComponent(kPage, *this);
        PreparePage(420, 200);
        DoCreate();
    }
};

}  // namespace

const TClassInfo& TKeysPage::StaticClass() {
    static const TClassInfo info{"TKeysPage", &TPageForm::StaticClass(), {}, {}, {}};
    return info;
}

namespace {



// A key pressed and released through the system's input queue, as a keyboard does.
void Press(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// The active window of a form class: a modal box or page once it is up and painted.
HWND ActiveOf(const wchar_t* formClass) {
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) && ClassOf(active) == formClass ? active : nullptr;
}

void SaveShot(HWND hwnd, const wchar_t* name) {
    UpdateWindow(hwnd);
    int width = 0, height = 0;
    const auto rgb = shot::CaptureWindow(hwnd, width, height);
    ASSERT_GT(width, 0);
    EXPECT_TRUE(shot::Varied(rgb)) << "the captured window is a single colour";
    EXPECT_TRUE(shot::SavePng(shot::ScreenshotDir() + L"\\" + name, width, height, rgb));
}

// What the user does, one step at a time, while modal windows run their loops: each step
// waits until the window of its form class is active, then acts on it. Keys pressed in a
// step arrive through the input queue, so what they did is checked in a later step.
struct Step {
    const wchar_t* FormClass;
    std::function<void(HWND)> Act;
};
std::deque<Step> gSteps;
std::chrono::steady_clock::time_point gDeadline;
bool gTimedOut = false;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR, DWORD) {
    if (gSteps.empty()) return;
    if (std::chrono::steady_clock::now() > gDeadline) {
        // Nobody answers: close whatever is up so that the test fails instead of hanging.
        gTimedOut = true;
        gSteps.clear();
        if (HWND active = GetActiveWindow()) PostMessageW(active, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    HWND window = ActiveOf(gSteps.front().FormClass);
    if (!window) return;
    Step step = std::move(gSteps.front());
    gSteps.pop_front();
    step.Act(window);
}


class KitWindows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DisplayWorks()) GTEST_SKIP() << "no display: windows cannot be created";
        BrevRegisterEmbeddedResources();
        RegisterKitClasses();
        RegisterClasses({&TKeysPage::StaticClass(), &TForm::StaticClass()});
        SetBackend(&backend);
        app = new TApplication(nullptr);
        app->SetTitle("Brevanshaw ! Setup");
        SetApplication(app);
        SetupState() = TSetupState{};
        ResetMiddleEastFlag();
        gSteps.clear();
        gTimedOut = false;
        gDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        timer = SetTimer(nullptr, 0, 100, RunSteps);
    }
    void TearDown() override {
        if (!app) return;
        KillTimer(nullptr, timer);
        EXPECT_TRUE(gSteps.empty()) << "steps left unanswered";
        EXPECT_FALSE(gTimedOut);
        SetupState() = TSetupState{};
        SetMsgDlgLanguage(0);
        SetApplication(nullptr);
        app->Free();
        backend.ProcessMessages();
        SetBackend(nullptr);
    }
    void ChooseHebrew() {
        SetupState().LanguageIndex = 1;
        SetupState().Hebrew = true;
        SetMsgDlgLanguage(1);
    }
    // The button of a box by its caption.
    static HWND ButtonOf(HWND box, const std::wstring& caption) {
        return FindWindowExW(box, nullptr, L"BUTTON", caption.c_str());
    }

    os::Win32Platform platform;
    os::ScopedPlatform use{platform};
    TWin32Backend backend;
    TApplication* app = nullptr;
    UINT_PTR timer = 0;
};

TEST_F(KitWindows, Notice_English_EnterAnswersOk) {
    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          EXPECT_EQ(TextOf(box), L"Brevanshaw ! Setup") << "the application title for an empty caption";
                          EXPECT_NE(ButtonOf(box, L"OK"), nullptr);
                          SaveShot(box, L"msgbox-notice-english.png");
                          Press(VK_RETURN);
                      }});
    EXPECT_EQ(Notice("The file C:\\Brevanshaw\\Brevanshaw.exe is in use. It will be replaced when Windows restarts.", "",
                     TMsgDlgType::mtInformation, 0),
              mrOk);
}

TEST_F(KitWindows, Question_English_NoHasTheFocus_EscapeAnswersNo_TabAndSpaceAnswerYes) {
    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          EXPECT_EQ(GetFocus(), ButtonOf(box, L"No"));
                          SaveShot(box, L"msgbox-question-english.png");
                          Press(VK_ESCAPE);
                      }});
    EXPECT_EQ(Question("Do you want to continue ?", "Directory Already Exists...", TMsgDlgType::mtConfirmation, 0), mrNo);

    gSteps.push_back({L"TMessageForm", [](HWND) { Press(VK_TAB); }});
    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          EXPECT_EQ(GetFocus(), ButtonOf(box, L"Yes")) << "No, then Yes";
                          Press(VK_SPACE);
                      }});
    EXPECT_EQ(Question("Do you want to continue ?", "Directory Already Exists...", TMsgDlgType::mtConfirmation, 0), mrYes);
}

TEST_F(KitWindows, Hebrew_NoticeAndQuestion_HebrewCaptionsAndMirrored) {
    ChooseHebrew();
    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          HWND ok = ButtonOf(box, L"\u05D0\u05D9\u05E9\u05D5\u05E8");
                          EXPECT_NE(ok, nullptr) << "OK in Hebrew";
                          SaveShot(box, L"msgbox-notice-hebrew.png");
                          Press(VK_RETURN);
                      }});
    EXPECT_EQ(Notice("\u05D4\u05E7\u05D5\u05D1\u05E5 \u05D1\u05E9\u05D9\u05DE\u05D5\u05E9.", "\u05D4\u05EA\u05E7\u05E0\u05D4",
                     TMsgDlgType::mtWarning, 0),
              mrOk);

    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          HWND yes = ButtonOf(box, L"\u05DB\u05DF");
                          HWND no = ButtonOf(box, L"\u05DC\u05D0");
                          ASSERT_NE(yes, nullptr);
                          ASSERT_NE(no, nullptr);
                          RECT ry{}, rn{};
                          GetWindowRect(yes, &ry);
                          GetWindowRect(no, &rn);
                          EXPECT_GT(ry.left, rn.left) << "mirrored: Yes on the right";
                          EXPECT_EQ(GetFocus(), no);
                          SaveShot(box, L"msgbox-question-hebrew.png");
                          Press(VK_ESCAPE);
                      }});
    EXPECT_FALSE(ConfirmExit(nullptr));
}

TEST_F(KitWindows, PageWith3DButtons_AnsweredByKeys) {
    auto* main = static_cast<TForm*>(ReadComponent(kMain, app));
    ASSERT_EQ(main->Name(), "MainSetupDlg");
    std::vector<std::string> log;

    // Tab to Proceed (caption turns yellow), Tab to Cancel, Enter: proceeds all the same.
    auto* page = new TKeysPage(app);
    auto* proceed = dynamic_cast<TButton3D*>(page->FindComponent("ProceedBtn"));
    auto* cancel = dynamic_cast<TButton3D*>(page->FindComponent("CancelBtn"));
    ASSERT_TRUE(proceed && cancel);
    EXPECT_NE(proceed->ImageControl(), nullptr) << "the face from the main window";
    proceed->OnClick = TNotifyEvent(nullptr, [&](TObject* s) { log.push_back("proceed"); page->ProceedBtnClick(s); });
    gSteps.push_back({L"TKeysPage", [&](HWND hwnd) {
                          SaveShot(hwnd, L"page-3d-buttons.png");
                          Press(VK_TAB);
                      }});
    gSteps.push_back({L"TKeysPage", [&](HWND hwnd) {
                          EXPECT_EQ(page->ActiveControl(), proceed);
                          EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(proceed->Handle()));
                          EXPECT_EQ(proceed->CaptionLabel()->Font()->Color(), clYellow);
                          EXPECT_EQ(cancel->CaptionLabel()->Font()->Color(), clWhite);
                          SaveShot(hwnd, L"page-3d-proceed-focused.png");
                          Press(VK_TAB);
                      }});
    gSteps.push_back({L"TKeysPage", [&](HWND) {
                          EXPECT_EQ(page->ActiveControl(), cancel);
                          Press(VK_RETURN);
                      }});
    EXPECT_EQ(page->ShowModal(), mrOk);
    EXPECT_EQ(log, std::vector<std::string>{"proceed"});
    page->Free();

    // Space on the focused Cancel asks; No keeps the page; Escape asks again; Yes cancels.
    page = new TKeysPage(app);
    cancel = dynamic_cast<TButton3D*>(page->FindComponent("CancelBtn"));
    gSteps.push_back({L"TKeysPage", [&](HWND) {
                          Press(VK_TAB);
                          Press(VK_TAB);
                      }});
    gSteps.push_back({L"TKeysPage", [&](HWND) {
                          EXPECT_EQ(page->ActiveControl(), cancel);
                          Press(VK_SPACE);
                      }});
    gSteps.push_back({L"TMessageForm", [](HWND box) {
                          SaveShot(box, L"page-3d-confirm-exit.png");
                          Press(VK_RETURN);  // No has the focus
                      }});
    gSteps.push_back({L"TKeysPage", [](HWND) { Press(VK_ESCAPE); }});
    gSteps.push_back({L"TMessageForm", [](HWND) { Press(VK_TAB); }});
    gSteps.push_back({L"TMessageForm", [](HWND) { Press(VK_SPACE); }});
    EXPECT_EQ(page->ShowModal(), mrCancel);
    page->Free();
}

}  // namespace
