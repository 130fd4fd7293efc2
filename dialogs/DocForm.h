// TDocForm, the base of the program's own windows: scaled from its 800-pixel design to the
// screen width at the first show, centred, mirrored for Hebrew, sharing the main window's
// palette. TPageForm adds what every wizard page form does: 3D buttons prepared, closing
// only through its buttons, Proceed and Cancel handlers, Enter and Escape.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/Forms.h"

class TBaseInstallDlg;

class TDocForm : public rt::TForm {
    RT_CLASS(TDocForm, rt::TForm)
public:
    explicit TDocForm(rt::TComponent* owner);

    int RealWidth() const { return FRealWidth; }
    void SetRealWidth(int v) { FRealWidth = v; }
    int RealHeight() const { return FRealHeight; }
    void SetRealHeight(int v) { FRealHeight = v; }
    bool NoScaleForm() const { return FNoScaleForm; }
    void SetNoScaleForm(bool v) { FNoScaleForm = v; }
    bool Scaled() const { return FScaled; }

    // At the first show of a form that gets scaled, after scaling and centring, before
    // mirroring; and at every show after mirroring.
    rt::TNotifyEvent JustBeforeShow, BeforeShowAfterFlip;

    const rt::TPicture* PalettePicture() const override;
    void PaletteChanged() override;
    bool WndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override;

protected:
    void DoShow() override;

private:
    void CentreOnScreen();
    int FRealWidth = 0, FRealHeight = 0;
    bool FNoScaleForm = false;
    bool FScaled = false;
};

// A page form that is its description and nothing more: the class reads Description at its
// design size. The description names the class, so each form class reads its own.
#define BREV_PAGE_FORM(Cls, Base, Description, RealWidth, RealHeight)                                    \
    class Cls : public Base {                                                                            \
        RT_CLASS(Cls, Base)                                                                              \
    public:                                                                                              \
        explicit Cls(rt::TComponent* owner) : Base(owner) { LoadPage(Description, RealWidth, RealHeight); } \
    };
#define BREV_DEFINE_PAGE_FORM(Cls, Base)                                         \
    const rt::TClassInfo& Cls::StaticClass() {                                   \
        static const rt::TClassInfo info{#Cls, &Base::StaticClass(), {}, {}, {}}; \
        return info;                                                             \
    }

// The program's other windows, disabled while a modeless window that must be dealt with
// first is up (a copy window), and enabled again when it goes.
class TOtherWindows {
public:
    void Disable(const rt::TCustomForm& except);
    void Enable();

private:
    std::vector<rt::TCustomForm*> FDisabled;
};

// The form's component of that name and class; a description that lacks it raises.
template <class C>
C* FormPart(const rt::TComponent& form, const std::string& name) {
    auto* c = dynamic_cast<C*>(form.FindComponent(name));
    if (!c) throw rt::Exception("The form " + form.Name() + " lacks " + name);
    return c;
}
// The same, or the Hebrew twin's "Heb" + name.
template <class C>
C* FormPartOrTwin(const rt::TComponent& form, const std::string& name) {
    if (auto* c = dynamic_cast<C*>(form.FindComponent(name))) return c;
    return FormPart<C>(form, "Heb" + name);
}

// The keys of a page: unless a 3D button has the focus (it answers them itself), Enter runs
// onEnter and Escape onEscape; an empty one takes the key and does nothing.
void PageKeys(rt::TCustomForm& form, std::uint16_t& key, const std::function<void()>& onEnter,
              const std::function<void()>& onEscape);

// One caption a page takes from the string table: the control's name ("" for the form's
// own caption) and the id base of its text.
struct TPageText {
    const char* Control;
    int Base;
};
// Sets each caption to the localised text of its base. A Hebrew twin calls its labels
// "Heb" + the Latin name; either is found. A name the form lacks is a fault of its
// description and raises.
void SetPageTexts(rt::TCustomForm& form, std::initializer_list<TPageText> texts);

// The main window's background picture, whose palette the program's windows share;
// nullptr when there is no main window, no such image or no palette.
const rt::TPicture* SharedBackgroundPalette();

class TPageForm : public TDocForm {
    RT_CLASS(TPageForm, TDocForm)
public:
    explicit TPageForm(rt::TComponent* owner);

    // The dialog component that shows the form.
    TBaseInstallDlg* Dialog() const { return FDialog; }
    void SetDialog(TBaseInstallDlg* dialog) { FDialog = dialog; }
    bool CloseAllowed() const { return FCloseAllowed; }
    // Pages whose Cancel also marks the whole setup as cancelled by the user (published, so
    // a page's description says it).
    bool MarksUserCancel() const { return FMarksUserCancel; }
    void SetMarksUserCancel(bool v) { FMarksUserCancel = v; }

    // Proceed: the dialog may veto through its InstallClick; the form ends OK.
    virtual void ProceedBtnClick(rt::TObject* sender);
    // Cancel: the exit confirmation; on Yes the dialog's CancelClick, and the form ends Cancel.
    void CancelBtnClick(rt::TObject* sender);

    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;

protected:
    // The end of every page form's construction, once its description is read: prepares
    // the 3D buttons and records the design size.
    void PreparePage(int realWidth, int realHeight);
    // The whole construction of a page designed in a description: read, prepared, created.
    void LoadPage(const std::string& description, int realWidth, int realHeight);
    // A closing button of the page's own (not Proceed or Cancel) lets the form close.
    void AllowClose() { FCloseAllowed = true; }

private:
    TBaseInstallDlg* FDialog = nullptr;
    bool FCloseAllowed = false;
    bool FMarksUserCancel = false;
};
