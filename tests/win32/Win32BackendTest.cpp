// The Windows widget backend against a real window system (Wine on a virtual X display in
// the project's runs): window classes, frames, captions, sizes, messages, modal loops,
// activation, text metrics and painting.
#include "runtime/win32/Win32Backend.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/ScreenShot.h"

namespace {

using namespace rt;
using shot::DisplayWorks;

constexpr std::uint32_t kCustomMessage = 1124;  // WM_USER + 100, as a second instance sends it

// A form whose messages a test can answer.
class TProbeForm : public TCustomForm {
    RT_CLASS(TProbeForm, TCustomForm)
public:
    explicit TProbeForm(TComponent* owner) : TCustomForm(owner) {}
    std::function<bool(std::uint32_t, std::uintptr_t, std::intptr_t, std::intptr_t&)> OnMessage;
    bool WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override {
        if (OnMessage && OnMessage(message, wParam, lParam, result)) return true;
        return TCustomForm::WndProc(message, wParam, lParam, result);
    }
};

class TOtherProbeForm : public TCustomForm {
    RT_CLASS(TOtherProbeForm, TCustomForm)
public:
    explicit TOtherProbeForm(TComponent* owner) : TCustomForm(owner) {}
};

}  // namespace

const rt::TClassInfo& TProbeForm::StaticClass() {
    static const rt::TClassInfo info{"TProbeForm", &rt::TCustomForm::StaticClass(), {}, {}, {}};
    return info;
}
const rt::TClassInfo& TOtherProbeForm::StaticClass() {
    static const rt::TClassInfo info{"TOtherProbeForm", &rt::TCustomForm::StaticClass(), {}, {}, {}};
    return info;
}

namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string u = Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

HWND Hwnd(const TControl& c) { return reinterpret_cast<HWND>(c.Handle()); }

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

DWORD StyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)); }
DWORD ExStyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)); }

// Whether windows can be created at all (a display for Wine, a window station on Windows).
void DrainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
}

// A form's client area as it paints itself, read back pixel by pixel.
class Snapshot {
public:
    Snapshot(HWND hwnd, int width, int height) : FWidth(width), FHeight(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, dib);
        // Filled with a colour no test uses, so untouched pixels stand out.
        RECT all{0, 0, width, height};
        HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
        FillRect(mem, &all, marker);
        DeleteObject(marker);
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        FPixels.assign(p, p + std::size_t(width) * std::size_t(height));
        SelectObject(mem, old);
        DeleteObject(dib);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t v = FPixels.at(std::size_t(y) * std::size_t(FWidth) + std::size_t(x));
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int Count(const RECT& r, COLORREF colour) const {
        int n = 0;
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, FHeight); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, FWidth); ++x)
                if (At(x, y) == colour) ++n;
        return n;
    }

private:
    int FWidth, FHeight;
    std::vector<std::uint32_t> FPixels;
};

// A 24-bit bitmap file; pixel(x, y) counts rows from the top.
TBytes Bitmap24(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = std::uint32_t(stride * height), offBits = 14 + 40;
    TBytes b(offBits + imageSize, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) { b[at] = std::uint8_t(v); b[at + 1] = std::uint8_t(v >> 8); };
    auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, std::uint32_t(b.size()));
    put32(10, offBits);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));  // bottom-up
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offBits + std::size_t(height - 1 - y) * std::size_t(stride);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            b[row + std::size_t(x) * 3] = GetBValue(c);
            b[row + std::size_t(x) * 3 + 1] = GetGValue(c);
            b[row + std::size_t(x) * 3 + 2] = GetRValue(c);
        }
    }
    return b;
}

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DisplayWorks()) GTEST_SKIP() << "no display or window station: windows cannot be created";
        SetBackend(&FBackend);
    }
    void TearDown() override {
        for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) (*it)->Free();
        FForms.clear();
        DrainMessages();
        if (TryBackend() == &FBackend) SetBackend(nullptr);
    }

    template <class F = TProbeForm>
    F* NewForm(int width = 300, int height = 200, TFormBorderStyle border = TFormBorderStyle::bsSizeable) {
        auto* f = new F(nullptr);
        FForms.push_back(f);
        f->SetBorderStyle(border);
        f->SetBounds(40, 40, width, height);
        return f;
    }

    // Dispatches messages until done() holds; false after a generous timeout.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            FBackend.ProcessMessages();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    TWin32Backend FBackend;
    std::vector<TCustomForm*> FForms;
};

// ---- a form's window belongs to a class named after the form class ----

using Win32WindowClass = Win32Test;

TEST_F(Win32WindowClass, OtherProgramsFindTheWindowByTheFormClassName) {
    auto* form = NewForm<TProbeForm>();
    form->Show();
    ASSERT_NE(Hwnd(*form), nullptr);
    EXPECT_EQ(FindWindowW(L"TProbeForm", nullptr), Hwnd(*form));
    wchar_t name[64] = {};
    GetClassNameW(Hwnd(*form), name, 64);
    EXPECT_STREQ(name, L"TProbeForm");

    auto* other = NewForm<TOtherProbeForm>();
    other->Show();
    EXPECT_EQ(FindWindowW(L"TOtherProbeForm", nullptr), Hwnd(*other));
    EXPECT_EQ(FindWindowW(L"TProbeForm", nullptr), Hwnd(*form));
}

TEST_F(Win32WindowClass, SecondFormOfTheSameClassGetsItsOwnWindow) {
    auto* first = NewForm<TProbeForm>();
    auto* second = NewForm<TProbeForm>();
    first->Show();
    second->Show();
    ASSERT_NE(Hwnd(*second), nullptr);
    EXPECT_NE(Hwnd(*first), Hwnd(*second));
}

TEST_F(Win32WindowClass, FreeingTheFormDestroysItsWindow) {
    auto* form = NewForm<TProbeForm>();
    form->Show();
    HWND hwnd = Hwnd(*form);
    FForms.erase(std::find(FForms.begin(), FForms.end(), form));
    form->Free();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(FindWindowW(L"TProbeForm", nullptr), nullptr);
}

// ---- the frame follows the border style, icons and form style ----

using Win32Frame = Win32Test;

TEST_F(Win32Frame, ClientAreaIsTheModelsClientSize) {
    auto* form = NewForm(370, 90, TFormBorderStyle::bsSingle);
    form->Show();
    const SIZE client = ClientSize(Hwnd(*form));
    EXPECT_EQ(client.cx, 370);
    EXPECT_EQ(client.cy, 90);
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_EQ(form->ClientHeight(), 90);
}

TEST_F(Win32Frame, SingleBorderHasACaptionButCannotBeResized) {
    auto* form = NewForm(370, 90, TFormBorderStyle::bsSingle);
    form->Show();
    const DWORD style = StyleOf(Hwnd(*form));
    EXPECT_EQ(style & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(style & WS_THICKFRAME, 0u);
    EXPECT_NE(style & WS_SYSMENU, 0u);
}

TEST_F(Win32Frame, NoBorderIsAPopupWithoutCaption) {
    auto* form = NewForm(200, 100, TFormBorderStyle::bsNone);
    form->Show();
    const DWORD style = StyleOf(Hwnd(*form));
    EXPECT_NE(style & WS_POPUP, 0u);
    EXPECT_EQ(style & WS_CAPTION, 0u);
    EXPECT_EQ(style & WS_SYSMENU, 0u);
    EXPECT_EQ(ClientSize(Hwnd(*form)).cx, 200);
}

TEST_F(Win32Frame, SizeableHasAThickFrame) {
    auto* form = NewForm(200, 100, TFormBorderStyle::bsSizeable);
    form->Show();
    EXPECT_NE(StyleOf(Hwnd(*form)) & WS_THICKFRAME, 0u);
    EXPECT_NE(StyleOf(Hwnd(*form)) & WS_MAXIMIZEBOX, 0u);
    EXPECT_EQ(ClientSize(Hwnd(*form)).cy, 100);
}

TEST_F(Win32Frame, DialogHasNoMinimiseOrMaximiseBox) {
    auto* form = NewForm(200, 100, TFormBorderStyle::bsDialog);
    form->Show();
    const DWORD style = StyleOf(Hwnd(*form));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_NE(ExStyleOf(Hwnd(*form)) & WS_EX_DLGMODALFRAME, 0u);
}

TEST_F(Win32Frame, BorderIconsChooseTheCaptionButtons) {
    auto* form = NewForm(200, 100, TFormBorderStyle::bsSizeable);
    form->SetBorderIcons(TBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize});
    form->Show();
    EXPECT_NE(StyleOf(Hwnd(*form)) & WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(StyleOf(Hwnd(*form)) & WS_MAXIMIZEBOX, 0u);

    auto* bare = NewForm(200, 100, TFormBorderStyle::bsSizeable);
    bare->SetBorderIcons(TBorderIcons{});
    bare->Show();
    EXPECT_EQ(StyleOf(Hwnd(*bare)) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
}

TEST_F(Win32Frame, StayOnTopIsATopmostWindow) {
    auto* top = NewForm(200, 100);
    top->SetFormStyle(TFormStyle::fsStayOnTop);
    auto* plain = NewForm(200, 100);
    top->Show();
    plain->Show();
    EXPECT_NE(ExStyleOf(Hwnd(*top)) & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(ExStyleOf(Hwnd(*plain)) & WS_EX_TOPMOST, 0u);
}

TEST_F(Win32Frame, ChangesAfterShowingReachTheWindow) {
    auto* form = NewForm(370, 90, TFormBorderStyle::bsSingle);
    form->Show();
    HWND hwnd = Hwnd(*form);
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    EXPECT_NE(StyleOf(hwnd) & WS_THICKFRAME, 0u);
    EXPECT_EQ(ClientSize(hwnd).cx, 370);
    EXPECT_EQ(ClientSize(hwnd).cy, 90);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    EXPECT_NE(ExStyleOf(hwnd) & WS_EX_TOPMOST, 0u);
    form->SetFormStyle(TFormStyle::fsNormal);
    EXPECT_EQ(ExStyleOf(hwnd) & WS_EX_TOPMOST, 0u);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(Win32Frame, NewBoundsMoveAndSizeTheWindow) {
    auto* form = NewForm(370, 90, TFormBorderStyle::bsSingle);
    form->Show();
    form->SetBounds(60, 70, 400, 120);
    HWND hwnd = Hwnd(*form);
    EXPECT_EQ(ClientSize(hwnd).cx, 400);
    EXPECT_EQ(ClientSize(hwnd).cy, 120);
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 70);
}

TEST_F(Win32Frame, ScreenCentredFormIsCentredWithItsFrame) {
    auto* form = NewForm(370, 90, TFormBorderStyle::bsSingle);
    form->SetPosition(TPosition::poScreenCenter);
    form->Show();
    RECT r{};
    GetWindowRect(Hwnd(*form), &r);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((r.left + r.right) - screenW), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - screenH), 1);
}

// ---- captions go through the wide API ----

using Win32Caption = Win32Test;

TEST_F(Win32Caption, HebrewCaptionRoundTrips) {
    const std::string hebrew = "\xD7\x94\xD7\xAA\xD7\xA7\xD7\xA0\xD7\x94 ! Setup...";  // "התקנה ! Setup..."
    auto* form = NewForm();
    form->SetCaption(hebrew);
    form->Show();
    wchar_t text[128] = {};
    GetWindowTextW(Hwnd(*form), text, 128);
    EXPECT_EQ(std::wstring(text), Wide(hebrew));
}

TEST_F(Win32Caption, ChangedCaptionReachesTheWindow) {
    auto* form = NewForm();
    form->SetCaption("Setup...");
    form->Show();
    const std::string shalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // "שלום"
    form->SetCaption(shalom);
    wchar_t text[64] = {};
    GetWindowTextW(Hwnd(*form), text, 64);
    EXPECT_EQ(std::wstring(text), Wide(shalom));
}

// ---- the window's state and size flow back into the model ----

using Win32WindowState = Win32Test;

TEST_F(Win32WindowState, MaximisedFormTakesTheMaximisedClientSize) {
    auto* form = NewForm(300, 200);
    form->SetWindowState(TWindowState::wsMaximized);
    form->Show();
    HWND hwnd = Hwnd(*form);
    EXPECT_TRUE(IsZoomed(hwnd));
    const SIZE client = ClientSize(hwnd);
    EXPECT_GT(client.cx, 300);
    EXPECT_EQ(form->ClientWidth(), client.cx);
    EXPECT_EQ(form->ClientHeight(), client.cy);
}

TEST_F(Win32WindowState, RestoredByTheUserTheModelFollows) {
    auto* form = NewForm(300, 200);
    form->SetWindowState(TWindowState::wsMaximized);
    form->Show();
    ShowWindow(Hwnd(*form), SW_RESTORE);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->ClientHeight(), 200);
}

TEST_F(Win32WindowState, StateSetByTheModelReachesTheWindow) {
    auto* form = NewForm(300, 200);
    form->Show();
    HWND hwnd = Hwnd(*form);
    form->SetWindowState(TWindowState::wsMaximized);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_EQ(form->ClientWidth(), ClientSize(hwnd).cx);
    form->SetWindowState(TWindowState::wsNormal);
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_EQ(ClientSize(hwnd).cx, 300);
}

TEST_F(Win32WindowState, HidingTheFormHidesTheWindow) {
    auto* form = NewForm();
    form->Show();
    HWND hwnd = Hwnd(*form);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindow(hwnd));
}

// ---- messages reach the model ----

using Win32Messages = Win32Test;

TEST_F(Win32Messages, CustomMessageReachesTheFormsWndProc) {
    auto* form = NewForm<TProbeForm>();
    std::uintptr_t seenW = 0;
    std::intptr_t seenL = 0;
    int calls = 0;
    form->OnMessage = [&](std::uint32_t msg, std::uintptr_t w, std::intptr_t l, std::intptr_t& result) {
        if (msg != kCustomMessage) return false;
        ++calls;
        seenW = w;
        seenL = l;
        result = 77;
        return true;
    };
    form->Show();
    const LRESULT r = SendMessageW(FindWindowW(L"TProbeForm", nullptr), kCustomMessage, 5, 9);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenW, 5u);
    EXPECT_EQ(seenL, 9);
    EXPECT_EQ(r, 77);
}

TEST_F(Win32Messages, UnhandledMessagesGetDefaultHandling) {
    auto* form = NewForm<TProbeForm>();
    form->SetCaption("Setup...");
    form->Show();
    // WM_GETTEXTLENGTH is answered by the default window procedure only.
    EXPECT_EQ(SendMessageW(Hwnd(*form), WM_GETTEXTLENGTH, 0, 0), 8);
}

TEST_F(Win32Messages, CloseIsDecidedByTheModel) {
    auto* form = NewForm<TProbeForm>();
    bool allow = false;
    form->OnCloseQuery = TEvent<TObject*, bool&>(nullptr, [&](TObject*, bool& canClose) { canClose = allow; });
    form->Show();
    HWND hwnd = Hwnd(*form);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(form->Visible());
    allow = true;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    // Closed means hidden; the window stays until the form is freed.
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(Win32Messages, MessagesAfterTheFormIsGoneAreHarmless) {
    auto* form = NewForm<TProbeForm>();
    int calls = 0;
    form->OnMessage = [&](std::uint32_t msg, std::uintptr_t, std::intptr_t, std::intptr_t&) {
        if (msg == kCustomMessage) ++calls;
        return false;
    };
    form->Show();
    HWND hwnd = Hwnd(*form);
    PostMessageW(hwnd, kCustomMessage, 0, 0);
    FForms.erase(std::find(FForms.begin(), FForms.end(), form));
    form->Free();
    DrainMessages();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

// ---- modal forms run their own loop ----

using Win32Modal = Win32Test;

TEST_F(Win32Modal, PostedMessageSetsTheResult) {
    auto* form = NewForm<TProbeForm>(300, 120, TFormBorderStyle::bsDialog);
    form->OnMessage = [form](std::uint32_t msg, std::uintptr_t w, std::intptr_t, std::intptr_t&) {
        if (msg != WM_USER + 101) return false;
        form->SetModalResult(TModalResult(w));
        return true;
    };
    // Realise the window first, so there is something to post to.
    form->Show();
    form->Hide();
    PostMessageW(Hwnd(*form), WM_USER + 101, WPARAM(mrYes), 0);
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_FALSE(IsWindowVisible(Hwnd(*form)));
}

TEST_F(Win32Modal, CloseEndsItWithCancel) {
    auto* form = NewForm<TProbeForm>(300, 120, TFormBorderStyle::bsDialog);
    form->OnShow = TNotifyEvent(nullptr, [form](TObject*) { PostMessageW(Hwnd(*form), WM_CLOSE, 0, 0); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(Win32Modal, OtherWindowsAreDisabledMeanwhile) {
    auto* owner = NewForm<TOtherProbeForm>();
    owner->Show();
    HWND ownerHwnd = Hwnd(*owner);
    auto* dialog = NewForm<TProbeForm>(300, 120, TFormBorderStyle::bsDialog);
    BOOL enabledDuring = TRUE;
    dialog->OnMessage = [&](std::uint32_t msg, std::uintptr_t, std::intptr_t, std::intptr_t&) {
        if (msg != WM_USER + 102) return false;
        enabledDuring = IsWindowEnabled(ownerHwnd);
        dialog->SetModalResult(mrOk);
        return true;
    };
    dialog->OnShow = TNotifyEvent(nullptr, [&](TObject*) { PostMessageW(Hwnd(*dialog), WM_USER + 102, 0, 0); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(ownerHwnd));
}

TEST_F(Win32Modal, QuitEndsItWithCancelAndStaysQueued) {
    auto* form = NewForm<TProbeForm>(300, 120, TFormBorderStyle::bsDialog);
    form->OnShow = TNotifyEvent(nullptr, [](TObject*) { PostQuitMessage(3); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// ---- always-on-top forms stay on top ----

using Win32StayOnTop = Win32Test;

// The colour the display shows at a screen point, whatever window is there.
COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST_F(Win32StayOnTop, FormShownLaterDoesNotCoverIt) {
    auto* top = NewForm(120, 60, TFormBorderStyle::bsSingle);
    top->SetFormStyle(TFormStyle::fsStayOnTop);
    top->SetColor(TColor(RGB(255, 0, 0)));
    top->Show();
    auto* main = NewForm<TOtherProbeForm>(300, 200, TFormBorderStyle::bsSingle);
    main->SetColor(TColor(RGB(0, 0, 255)));
    main->SetWindowState(TWindowState::wsMaximized);
    main->ShowForm();
    HWND topHwnd = Hwnd(*top);
    // Windows' own order, and what the display shows where the small form is.
    bool topFirst = false;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == Hwnd(*main)) break;
        if (h == topHwnd) topFirst = true;
    }
    EXPECT_TRUE(topFirst);
    POINT centre{60, 30};
    ClientToScreen(topHwnd, &centre);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(centre.x, centre.y) == RGB(255, 0, 0); }, 5000))
        << "the display shows another window over the always-on-top form";
}

// ---- the application loop ----

using Win32Loop = Win32Test;

TEST_F(Win32Loop, HandleMessageIsFalseOnceQuitIsPosted) {
    auto* form = NewForm<TProbeForm>();
    int calls = 0;
    form->OnMessage = [&](std::uint32_t msg, std::uintptr_t, std::intptr_t, std::intptr_t&) {
        if (msg == kCustomMessage) ++calls;
        return msg == kCustomMessage;
    };
    form->Show();
    DrainMessages();
    PostMessageW(Hwnd(*form), kCustomMessage, 0, 0);
    FBackend.PostQuit();
    EXPECT_TRUE(FBackend.HandleMessage());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(FBackend.HandleMessage());
}

TEST_F(Win32Loop, ProcessMessagesLeavesQuitForTheMainLoop) {
    FBackend.PostQuit();
    FBackend.ProcessMessages();
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// ---- activation arrives as a message once the form is shown ----

using Win32Activation = Win32Test;

TEST_F(Win32Activation, OnActivateFollowsShowThroughTheMessageLoop) {
    auto* form = NewForm();
    std::vector<std::string> events;
    form->OnShow = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("show"); });
    form->OnActivate = TNotifyEvent(nullptr, [&](TObject*) { events.push_back("activate"); });
    form->Show();
    EXPECT_EQ(events, std::vector<std::string>{"show"});
    ASSERT_TRUE(PumpUntil([&] { return form->Active(); })) << "the form never became active";
    EXPECT_EQ(events, (std::vector<std::string>{"show", "activate"}));
}

TEST_F(Win32Activation, AnotherFormTakingOverDeactivatesTheFirst) {
    auto* first = NewForm();
    int deactivations = 0;
    first->OnDeactivate = TNotifyEvent(nullptr, [&](TObject*) { ++deactivations; });
    first->Show();
    ASSERT_TRUE(PumpUntil([&] { return first->Active(); }));
    auto* second = NewForm<TOtherProbeForm>();
    second->Show();
    ASSERT_TRUE(PumpUntil([&] { return second->Active(); }));
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(deactivations, 1);
}

// ---- text metrics come from the real font ----

using Win32TextMetrics = Win32Test;

TEST_F(Win32TextMetrics, WidthGrowsWithTheText) {
    TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-13);
    const int one = FBackend.TextWidth(font, "W");
    const int four = FBackend.TextWidth(font, "WWWW");
    EXPECT_GT(one, 0);
    EXPECT_GT(four, one * 3);
    EXPECT_EQ(FBackend.TextWidth(font, ""), 0);
    EXPECT_GT(FBackend.TextWidth(font, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"), 0);  // Hebrew is measured too
}

TEST_F(Win32TextMetrics, BiggerFontsMeasureBigger) {
    TFont small, big;
    small.SetName("Tahoma");
    big.SetName("Tahoma");
    small.SetHeight(-11);
    big.SetHeight(-24);
    EXPECT_GT(FBackend.TextHeight(small), 0);
    EXPECT_GT(FBackend.TextHeight(big), FBackend.TextHeight(small));
    EXPECT_GT(FBackend.TextWidth(big, "Setup"), FBackend.TextWidth(small, "Setup"));
}

TEST_F(Win32TextMetrics, ScreenSizeIsTheDisplays) {
    EXPECT_EQ(FBackend.ScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(FBackend.ScreenHeight(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(FBackend.ScreenWidth(), 0);
}

// ---- painting of controls without windows ----

using Win32Painting = Win32Test;

constexpr COLORREF kRed = RGB(255, 0, 0), kLime = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
                   kYellow = RGB(255, 255, 0), kBlack = RGB(0, 0, 0);

TColor ModelColour(COLORREF c) { return TColor(c); }  // both are 0x00BBGGRR

TEST_F(Win32Painting, FormIsFilledWithItsColour) {
    auto* form = NewForm(120, 80);
    form->SetColor(ModelColour(kRed));
    form->Show();
    Snapshot shot(Hwnd(*form), 120, 80);
    EXPECT_EQ(shot.Count(RECT{0, 0, 120, 80}, kRed), 120 * 80);
}

TEST_F(Win32Painting, OpaqueLabelFillsItsRectangleAndTransparentOneDoesNot) {
    auto* form = NewForm(200, 100);
    form->SetColor(ModelColour(kWhite));
    auto* opaque = new TLabel(form);
    opaque->SetParent(form);
    opaque->SetAutoSize(false);
    opaque->SetBounds(10, 10, 50, 20);
    opaque->SetCaption("");
    opaque->SetColor(ModelColour(kLime));
    auto* clear = new TLabel(form);
    clear->SetParent(form);
    clear->SetAutoSize(false);
    clear->SetBounds(100, 10, 50, 20);
    clear->SetCaption("");
    clear->SetColor(ModelColour(kLime));
    clear->SetTransparent(true);
    form->Show();
    Snapshot shot(Hwnd(*form), 200, 100);
    EXPECT_EQ(shot.Count(RECT{10, 10, 60, 30}, kLime), 50 * 20);
    EXPECT_EQ(shot.Count(RECT{0, 0, 200, 100}, kLime), 50 * 20);  // nothing outside it
    EXPECT_EQ(shot.Count(RECT{100, 10, 150, 30}, kWhite), 50 * 20);
}

TEST_F(Win32Painting, LabelTextIsDrawnInTheFontColourInsideTheLabel) {
    auto* form = NewForm(300, 100);
    form->SetColor(ModelColour(kWhite));
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->Font()->SetName("Tahoma");
    label->Font()->SetHeight(-20);
    label->Font()->SetColor(ModelColour(kBlue));
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 60, 30);
    label->SetTransparent(true);
    label->SetCaption("MMMMMMMMMMMMMMMMMMMM");  // far wider than the label: clipped to it
    form->Show();
    Snapshot shot(Hwnd(*form), 300, 100);
    const int inside = shot.Count(RECT{20, 20, 80, 50}, kBlue);
    EXPECT_GT(inside, 20);
    // Anti-aliased edges may blend; only pure text colour outside counts as a leak.
    EXPECT_EQ(shot.Count(RECT{80, 0, 300, 100}, kBlue), 0);
}

TEST_F(Win32Painting, RightAlignedLabelDrawsAtTheRight) {
    auto* form = NewForm(300, 60);
    form->SetColor(ModelColour(kWhite));
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->Font()->SetName("Tahoma");
    label->Font()->SetHeight(-16);
    label->Font()->SetColor(ModelColour(kBlack));
    label->SetAutoSize(false);
    label->SetBounds(0, 10, 300, 30);
    label->SetAlignment(TAlignment::taRightJustify);
    label->SetTransparent(true);
    label->SetCaption("WW");
    form->Show();
    Snapshot shot(Hwnd(*form), 300, 60);
    EXPECT_GT(shot.Count(RECT{200, 0, 300, 60}, kBlack), 0);
    EXPECT_EQ(shot.Count(RECT{0, 0, 200, 60}, kBlack), 0);
}

TEST_F(Win32Painting, HiddenControlsAreNotPainted) {
    auto* form = NewForm(100, 50);
    form->SetColor(ModelColour(kWhite));
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 40, 20);
    label->SetCaption("");
    label->SetColor(ModelColour(kLime));
    label->SetVisible(false);
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 50);
    EXPECT_EQ(shot.Count(RECT{0, 0, 100, 50}, kLime), 0);
}

TEST_F(Win32Painting, ControlsInsideContainersAreOffsetByTheContainer) {
    auto* form = NewForm(200, 100);
    form->SetColor(ModelColour(kWhite));
    auto* box = new TWinControl(form);
    box->SetParent(form);
    box->SetBounds(50, 30, 100, 60);
    auto* label = new TLabel(form);
    label->SetParent(box);
    label->SetAutoSize(false);
    label->SetBounds(5, 5, 10, 10);
    label->SetCaption("");
    label->SetColor(ModelColour(kLime));
    form->Show();
    Snapshot shot(Hwnd(*form), 200, 100);
    EXPECT_EQ(shot.Count(RECT{55, 35, 65, 45}, kLime), 100);
    EXPECT_EQ(shot.Count(RECT{0, 0, 200, 100}, kLime), 100);
}

// A 4x2 picture: top row red, bottom row blue except a yellow bottom-right pixel.
TBytes TestPicture() {
    return Bitmap24(4, 2, [](int x, int y) { return y == 0 ? kRed : x == 3 ? kYellow : kBlue; });
}

TImage* AddImage(TCustomForm* form, const RECT& r) {
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    image->Picture()->SetData(TestPicture());
    return image;
}

TEST_F(Win32Painting, ImageIsDrawnAtNaturalSizeInTheCorner) {
    auto* form = NewForm(100, 60);
    form->SetColor(ModelColour(kWhite));
    AddImage(form, RECT{10, 10, 50, 40});
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 60);
    EXPECT_EQ(shot.At(10, 10), kRed);
    EXPECT_EQ(shot.At(13, 10), kRed);
    EXPECT_EQ(shot.At(10, 11), kBlue);
    EXPECT_EQ(shot.At(13, 11), kYellow);
    EXPECT_EQ(shot.At(14, 10), kWhite);
    EXPECT_EQ(shot.At(10, 12), kWhite);
}

TEST_F(Win32Painting, StretchedImageFillsTheControl) {
    auto* form = NewForm(100, 60);
    form->SetColor(ModelColour(kWhite));
    AddImage(form, RECT{10, 10, 50, 30})->SetStretch(true);
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 60);
    EXPECT_EQ(shot.Count(RECT{10, 10, 50, 20}, kRed), 40 * 10);
    EXPECT_EQ(shot.Count(RECT{10, 20, 40, 30}, kBlue), 30 * 10);
    EXPECT_EQ(shot.Count(RECT{40, 20, 50, 30}, kYellow), 10 * 10);
    EXPECT_EQ(shot.At(50, 10), kWhite);
}

TEST_F(Win32Painting, CentredImageSitsInTheMiddle) {
    auto* form = NewForm(100, 60);
    form->SetColor(ModelColour(kWhite));
    AddImage(form, RECT{10, 10, 50, 40})->SetCenter(true);
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 60);
    // (40 - 4) / 2 = 18 across, (30 - 2) / 2 = 14 down.
    EXPECT_EQ(shot.At(28, 24), kRed);
    EXPECT_EQ(shot.At(31, 25), kYellow);
    EXPECT_EQ(shot.At(27, 24), kWhite);
    EXPECT_EQ(shot.At(10, 10), kWhite);
}

TEST_F(Win32Painting, TransparentImageLetsTheBottomLeftColourThrough) {
    auto* form = NewForm(100, 60);
    form->SetColor(ModelColour(kWhite));
    AddImage(form, RECT{10, 10, 50, 30});
    auto* image = static_cast<TImage*>(form->Controls(0));
    image->SetStretch(true);
    image->SetTransparent(true);
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 60);
    EXPECT_EQ(shot.Count(RECT{10, 10, 50, 20}, kRed), 40 * 10);
    EXPECT_EQ(shot.Count(RECT{10, 20, 40, 30}, kWhite), 30 * 10);  // blue was the key colour
    EXPECT_EQ(shot.Count(RECT{40, 20, 50, 30}, kYellow), 10 * 10);
    EXPECT_EQ(shot.Count(RECT{0, 0, 100, 60}, kBlue), 0);
}

// A one-row 8-bit picture with a palette, with the old core header (RGB triples) or the
// usual one (RGBQUADs).
TBytes PalettedRow(const std::vector<COLORREF>& palette, const std::vector<std::uint8_t>& indexes, bool coreHeader) {
    const std::size_t header = coreHeader ? 12 : 40, entry = coreHeader ? 3 : 4;
    const std::size_t offBits = 14 + header + palette.size() * entry;
    const std::size_t stride = (indexes.size() + 3) / 4 * 4;
    TBytes b(offBits + stride, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) { b[at] = std::uint8_t(v); b[at + 1] = std::uint8_t(v >> 8); };
    auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, std::uint32_t(b.size()));
    put32(10, std::uint32_t(offBits));
    put32(14, std::uint32_t(header));
    if (coreHeader) {
        put16(18, std::uint32_t(indexes.size()));
        put16(20, 1);
        put16(22, 1);
        put16(24, 8);
    } else {
        put32(18, std::uint32_t(indexes.size()));
        put32(22, 1);
        put16(26, 1);
        put16(28, 8);
        put32(46, std::uint32_t(palette.size()));
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::size_t at = 14 + header + i * entry;
        b[at] = GetBValue(palette[i]);
        b[at + 1] = GetGValue(palette[i]);
        b[at + 2] = GetRValue(palette[i]);
    }
    for (std::size_t i = 0; i < indexes.size(); ++i) b[offBits + i] = indexes[i];
    return b;
}

TEST_F(Win32Painting, PalettedPicturesDrawInTheirPaletteColours) {
    for (bool core : {false, true}) {
        SCOPED_TRACE(core ? "core header" : "info header");
        auto* form = NewForm(60, 30);
        form->SetColor(ModelColour(kWhite));
        auto* image = AddImage(form, RECT{5, 5, 25, 15});
        image->Picture()->SetData(PalettedRow({kRed, kLime, kBlue}, {2, 0, 1}, core));
        form->Show();
        Snapshot shot(Hwnd(*form), 60, 30);
        EXPECT_EQ(shot.At(5, 5), kBlue);
        EXPECT_EQ(shot.At(6, 5), kRed);
        EXPECT_EQ(shot.At(7, 5), kLime);
        EXPECT_EQ(shot.At(8, 5), kWhite);
    }
}

TEST_F(Win32Painting, PalettedPictureWithoutItsPaletteDrawsNothing) {
    auto* form = NewForm(60, 30);
    form->SetColor(ModelColour(kWhite));
    TBytes bytes = PalettedRow({kRed, kLime, kBlue}, {2, 0, 1}, false);
    // Claim 200 palette entries where there are 3.
    bytes[46] = 200;
    AddImage(form, RECT{5, 5, 25, 15})->Picture()->SetData(bytes);
    form->Show();
    Snapshot shot(Hwnd(*form), 60, 30);
    EXPECT_EQ(shot.Count(RECT{0, 0, 60, 30}, kWhite), 60 * 30);
}

TEST_F(Win32Painting, BrokenPictureBytesDrawNothing) {
    auto* form = NewForm(100, 60);
    form->SetColor(ModelColour(kWhite));
    TBytes truncated = TestPicture();
    truncated.resize(truncated.size() - 10);  // pixels cut short
    auto* image = AddImage(form, RECT{10, 10, 50, 40});
    image->Picture()->SetData(truncated);
    form->Show();
    Snapshot shot(Hwnd(*form), 100, 60);
    EXPECT_EQ(shot.Count(RECT{0, 0, 100, 60}, kWhite), 100 * 60);
}

TEST_F(Win32Painting, WindowOnScreenShowsThePaintedControls) {
    auto* form = NewForm(120, 80);
    form->SetColor(ModelColour(kWhite));
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 30, 30);
    label->SetCaption("");
    label->SetColor(ModelColour(kLime));
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    form->Show();
    form->Update();
    HDC dc = GetDC(Hwnd(*form));
    const COLORREF inside = GetPixel(dc, 30, 30), outside = GetPixel(dc, 5, 5);
    ReleaseDC(Hwnd(*form), dc);
    EXPECT_EQ(inside, kLime);
    EXPECT_EQ(outside, kWhite);
}

// ---- errors are shown in a message box ----

using Win32ExceptionBox = Win32Test;

// Keeps the text of the message box's static control (the icon's static has none).
BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    wchar_t cls[32] = {}, text[256] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 256);
    if (lstrcmpiW(cls, L"Static") == 0 && text[0]) *reinterpret_cast<std::wstring*>(param) = text;
    return TRUE;
}

TEST_F(Win32ExceptionBox, ShowsTheMessageUnderTheApplicationTitle) {
    TApplication app(nullptr);
    app.SetTitle("Brevanshaw Setup");
    InstallWin32ExceptionBox(app);
    const std::string message = "\xD7\xA9\xD7\x92\xD7\x99\xD7\x90\xD7\x94: disk full";  // "שגיאה: disk full"
    // The box is modal: another thread finds it, reads it and dismisses it.
    std::wstring seenText;
    bool found = false;
    std::thread closer([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            if (HWND box = FindWindowW(L"#32770", L"Brevanshaw Setup")) {
                EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&seenText));
                found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    });
    app.HandleException(Exception(message));
    closer.join();
    ASSERT_TRUE(found) << "no message box titled with the application title appeared";
    EXPECT_EQ(seenText, Wide(message));
}

// ---- the mouse pointer follows the model's cursors ----

using Win32Cursor = Win32Test;

TEST_F(Win32Cursor, FormAndWindowlessControlShowTheirShapesAndDefaultFallsBackToTheArrow) {
    auto* form = NewForm(300, 200);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 30);
    label->SetCursor(crHandPoint);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Hwnd(*form)) != 0; }));
    HWND hwnd = Hwnd(*form);
    auto pointTo = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        SetCursorPos(p.x, p.y);
        PumpUntil([] { return true; });
    };
    auto ask = [&] { SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); };
    HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));
    HCURSOR hand = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));

    pointTo(150, 100);
    SetCursor(arrow);
    form->SetCursor(crHourGlass);  // shown at once, without a mouse move
    EXPECT_EQ(GetCursor(), wait);
    pointTo(20, 20);
    ask();
    EXPECT_EQ(GetCursor(), hand) << "the label's own shape wins over the form's";
    pointTo(150, 100);
    form->SetCursor(crDefault);
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
