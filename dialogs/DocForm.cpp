// The base forms of the program's windows and pages; see DocForm.h.
#include "dialogs/DocForm.h"

#include "app/StringTable.h"
#include "dialogs/dlgcmp_TBaseDlg.h"
#include "engine/SetupState.h"
#include "runtime/SysUtils.h"
#include "ui/Button3D.h"
#include "ui/HebrewFlip.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uintptr_t kMinimizeCommand = 0xF020;
}  // namespace

const TPicture* SharedBackgroundPalette() {
    TApplication* app = Application();
    TCustomForm* main = app ? app->MainForm() : nullptr;
    auto* image = main ? dynamic_cast<TImage*>(main->FindComponent("imgLightBackGround")) : nullptr;
    return image && image->Picture()->HasPalette() ? image->Picture() : nullptr;
}

void SetPageTexts(TCustomForm& form, std::initializer_list<TPageText> texts) {
    for (const TPageText& t : texts) {
        TControl* target = &form;
        if (*t.Control) {
            TComponent* c = form.FindComponent(t.Control);
            if (!c) c = form.FindComponent(std::string("Heb") + t.Control);
            target = dynamic_cast<TControl*>(c);
            if (!target) throw Exception("The page " + form.ClassName() + " has no control " + t.Control);
        }
        target->SetCaption(LocalisedString(t.Base));
    }
}

void TOtherWindows::Disable(const TCustomForm& except) {
    TApplication* app = Application();
    for (int i = 0; app && i < app->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TCustomForm*>(app->Components(i));
        if (!other || other == &except || !other->Visible() || !other->Enabled()) continue;
        other->SetEnabled(false);
        FDisabled.push_back(other);
    }
}

void TOtherWindows::Enable() {
    TApplication* app = Application();
    for (TCustomForm* other : FDisabled) {
        // Only forms the application still has; one may have gone meanwhile.
        bool alive = false;
        for (int i = 0; app && i < app->ComponentCount() && !alive; ++i) alive = app->Components(i) == other;
        if (alive) other->SetEnabled(true);
    }
    FDisabled.clear();
}

void PageKeys(TCustomForm& form, std::uint16_t& key, const std::function<void()>& onEnter,
              const std::function<void()>& onEscape) {
    if (key == 0 || dynamic_cast<TButton3D*>(form.ActiveControl())) return;
    const std::function<void()>* action = key == vkReturn ? &onEnter : key == vkEscape ? &onEscape : nullptr;
    if (!action) return;
    key = 0;
    if (*action) (*action)();
}

// ---- TDocForm ----

const TClassInfo& TDocForm::StaticClass() {
    static const TClassInfo info{"TDocForm", &TForm::StaticClass(), Factory<TDocForm>(),
                                 {AccessorProperty("RealWidth", &TDocForm::RealWidth, &TDocForm::SetRealWidth),
                                  AccessorProperty("RealHeight", &TDocForm::RealHeight, &TDocForm::SetRealHeight),
                                  AccessorProperty("NoScaleForm", &TDocForm::NoScaleForm, &TDocForm::SetNoScaleForm),
                                  Property("JustBeforeShow", &TDocForm::JustBeforeShow),
                                  Property("BeforeShowAfterFlip", &TDocForm::BeforeShowAfterFlip)},
                                 {}};
    return info;
}

TDocForm::TDocForm(TComponent* owner) : TForm(owner) {}

void TDocForm::CentreOnScreen() {
    IWidgetBackend& b = Backend();
    SetBounds(RoundHalfEven((b.ScreenWidth() - Width()) * 0.5), RoundHalfEven((b.ScreenHeight() - Height()) * 0.5),
              Width(), Height());
}

void TDocForm::DoShow() {
    if (!FScaled && !FNoScaleForm && WindowState() != TWindowState::wsMaximized) {
        FScaled = true;
        const int screen = Backend().ScreenWidth();
        if (screen != 800 && FRealWidth > 0) {
            // Designed for an 800-pixel screen; the same share of any other.
            const int m = static_cast<int>(static_cast<long long>(screen) * FRealWidth / 800);
            Font()->SetHeight(MulDiv(Font()->Height(), m, FRealWidth));
            ScaleControls(m, FRealWidth);
            if (!FNoScaleForm)
                SetBounds(Left(), Top(), m, static_cast<int>(static_cast<long long>(screen) * FRealHeight / 800));
        }
        CentreOnScreen();
        JustBeforeShow(this);
    }
    FlipForm(*this);
    BeforeShowAfterFlip(this);
    CentreOnScreen();
    TForm::DoShow();
}

bool TDocForm::WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    if (message == kSysCommand && (wParam & 0xFFF0) == kMinimizeCommand) {
        // A page is modal over the main window: minimising it alone would leave the main
        // window up and disabled, so the whole application goes.
        if (TApplication* app = Application()) app->Minimize();
        result = 0;
        return true;
    }
    return TForm::WndProc(message, wParam, lParam, result);
}

const TPicture* TDocForm::PalettePicture() const {
    if (FindComponent("imgBackGround")) return nullptr;
    return SharedBackgroundPalette();
}

void TDocForm::PaletteChanged() {
    if (!Active()) return;
    TApplication* app = Application();
    if (TCustomForm* main = app ? app->MainForm() : nullptr)
        if (auto* image = dynamic_cast<TControl*>(main->FindComponent("imgLightBackGround"))) image->Invalidate();
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton3D*>(Components(i)); b && b->Visible()) b->Invalidate();
}

// ---- TPageForm ----

const TClassInfo& TPageForm::StaticClass() {
    static const TClassInfo info{"TPageForm", &TDocForm::StaticClass(), {},
                                 {AccessorProperty("MarksUserCancel", &TPageForm::MarksUserCancel, &TPageForm::SetMarksUserCancel)},
                                 {Method("ProceedBtnClick", &TPageForm::ProceedBtnClick),
                                  Method("CancelBtnClick", &TPageForm::CancelBtnClick)}};
    return info;
}

TPageForm::TPageForm(TComponent* owner) : TDocForm(owner) {
    SetKeyPreview(true);
    // The window's own close command cannot end a page; its buttons can.
    OnCloseQuery = TEvent<TObject*, bool&>(this, [this](TObject*, bool& canClose) { canClose = FCloseAllowed; });
}

void TPageForm::PreparePage(int realWidth, int realHeight) {
    PrepareButtons3D(*this);
    SetRealWidth(realWidth);
    SetRealHeight(realHeight);
    FCloseAllowed = false;
}

void TPageForm::LoadPage(const std::string& description, int realWidth, int realHeight) {
    LoadDescription(description);
    PreparePage(realWidth, realHeight);
    DoCreate();
}

void TPageForm::ProceedBtnClick(TObject* sender) {
    FCloseAllowed = true;
    if (FDialog) FDialog->InstallClick(sender);
    SetModalResult(mrOk);
}

void TPageForm::CancelBtnClick(TObject* sender) {
    if (!ConfirmExit(this)) return;
    FCloseAllowed = true;
    if (FMarksUserCancel) SetupState().UserCancelled = true;
    if (FDialog) FDialog->CancelClick(sender);
    SetModalResult(mrCancel);
}

void TPageForm::KeyDown(std::uint16_t& key, TShiftState shift) {
    TDocForm::KeyDown(key, shift);
    if (!KeyPreview()) return;
    PageKeys(*this, key, [this] { ProceedBtnClick(FindComponent("ProceedBtn")); },
             [this] { CancelBtnClick(FindComponent("CancelBtn")); });
}
