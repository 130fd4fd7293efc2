// The restart and outcome pages; see dlgcmp_TRebootDlg.h.
#include "dialogs/dlgcmp_TRebootDlg.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallFileGroupsDlg.h"
#include "dialogs/dlgcmp_TSelectFolderDlg.h"
#include "engine/SetupState.h"
#include "runtime/ExtCtrls.h"
#include "ui/Button3D.h"

using namespace rt;

// ---- reboot ----

const TClassInfo& TRebootDlg::StaticClass() {
    static const TClassInfo info{"TRebootDlg", &TStagePageDlg::StaticClass(), Factory<TRebootDlg>(), PageProps(false), {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebRebootDlg, TRebootDlg)

TRebootDlg::TRebootDlg(TComponent* owner) : TStagePageDlg(owner, "ShutDownDialog", false) {
    for (const char* line :
         {"Reboot windows",
          "Several components could not be installed on your system because they were in use. For the installation to "
          "proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably "
          "not work until you do reboot.",
          "Yes, I would like to reboot windows", "No, I would not like to reboot windows", "&Close"})
        DialogText()->Add(line);
}

bool TRebootDlg::ShowDialog() {
    TPageForm* form = Script() == TPageScript::psHebrew ? new THebdlgShutdown(Application()) : new TdlgShutdown(Application());
    ShowPageForm(
        form,
        [](TPageForm& f) {
            SetPageTexts(f, {{"", 2020}, {"Label1", 2040}, {"Label2", 2060}, {"CloseBtn", 2120}});
            // The two options are replaced in place, so the designed choice stays selected.
            TStrings* items = static_cast<TRadioGroup*>(f.FindComponent("RG"))->Items();
            items->SetStrings(0, LocalisedString(2080));
            items->SetStrings(1, LocalisedString(2100));
        },
        [](TPageForm& f) { SetupState().RebootNeeded = static_cast<TdlgShutdown&>(f).Choice() == 0; });
    return true;
}

const TClassInfo& TdlgShutdown::StaticClass() {
    static const TClassInfo info{"TdlgShutdown", &TPageForm::StaticClass(), {}, {},
                                 {Method("CloseBtnClick", &TdlgShutdown::CloseBtnClick)}};
    return info;
}

const TClassInfo& THebdlgShutdown::StaticClass() {
    static const TClassInfo info{"THebdlgShutdown", &TdlgShutdown::StaticClass(), {}, {}, {}};
    return info;
}

void TdlgShutdown::Load(const char* description) {
    LoadPage(description, 483, 366);
    if (!dynamic_cast<TRadioGroup*>(FindComponent("RG"))) throw Exception("The restart page's description lacks its options");
}

int TdlgShutdown::Choice() const { return static_cast<TRadioGroup*>(FindComponent("RG"))->ItemIndex(); }

void TdlgShutdown::CloseBtnClick(TObject*) {
    AllowClose();
    SetupRoutines::RemoveUpdater();
    SetModalResult(mrOk);
}

void TdlgShutdown::KeyDown(std::uint16_t& key, TShiftState shift) {
    TDocForm::KeyDown(key, shift);
    PageKeys(*this, key, [this] { CloseBtnClick(this); }, nullptr);
}

// ---- good and bad installation ----

const TClassInfo& TGoodInstallationDlg::StaticClass() {
    static const TClassInfo info{"TGoodInstallationDlg", &TStagePageDlg::StaticClass(), Factory<TGoodInstallationDlg>(),
                                 PageProps(false), {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebGoodInstallationDlg, TGoodInstallationDlg)

const TClassInfo& TBadInstallationDlg::StaticClass() {
    static const TClassInfo info{"TBadInstallationDlg", &TGoodInstallationDlg::StaticClass(), Factory<TBadInstallationDlg>(), {}, {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebBadInstallationDlg, TBadInstallationDlg)

TGoodInstallationDlg::TGoodInstallationDlg(TComponent* owner, const char* stage) : TStagePageDlg(owner, stage, false) {}

TGoodInstallationDlg::TGoodInstallationDlg(TComponent* owner) : TGoodInstallationDlg(owner, "GoodInstallation") {
    for (const char* line : {"Setup complete",
                             "The software has been properly installed. You may start the software by clicking on the icon.", "",
                             "", "&Close"})
        DialogText()->Add(line);
}

bool TGoodInstallationDlg::ShowDialog() {
    TPageForm* form = Script() == TPageScript::psHebrew ? static_cast<TPageForm*>(new THebdlgGI(Application()))
                                                         : new TdlgGI(Application());
    ShowPageForm(form, [](TPageForm& f) {
        SetPageTexts(f, {{"", 580}, {"Label1", 600}, {"Label3", 620}, {"Label5", 640}, {"CloseBtn", 660}});
    });
    return true;
}

TBadInstallationDlg::TBadInstallationDlg(TComponent* owner) : TGoodInstallationDlg(owner, "BadInstallation") {
    for (const char* line : {"Setup incomplete",
                             "This software has not been properly installed and will not work correctly if you try to use it.",
                             "", "", "", "&Close"})
        DialogText()->Add(line);
}

bool TBadInstallationDlg::ShowDialog() {
    // A failed installation never restarts the machine.
    SetupState().RebootNeeded = false;
    TPageForm* form = Script() == TPageScript::psHebrew ? static_cast<TPageForm*>(new THebdlgBI(Application()))
                                                         : new TdlgBI(Application());
    ShowPageForm(form, [](TPageForm& f) {
        SetPageTexts(f, {{"", 680}, {"Label1", 700}, {"Label3", 720}, {"Label5", 740}, {"CloseBtn", 760}});
    });
    return true;
}

const TClassInfo& TOutcomeForm::StaticClass() {
    static const TClassInfo info{"TOutcomeForm", &TPageForm::StaticClass(), {}, {},
                                 {Method("CloseBtnClick", &TOutcomeForm::CloseBtnClick)}};
    return info;
}

void TOutcomeForm::CloseBtnClick(TObject*) {
    AllowClose();
    SetupRoutines::RemoveUpdater();
    SetModalResult(mrAbort);
}

BREV_DEFINE_PAGE_FORM(TdlgGI, TOutcomeForm)
BREV_DEFINE_PAGE_FORM(THebdlgGI, TOutcomeForm)
BREV_DEFINE_PAGE_FORM(TdlgBI, TOutcomeForm)
BREV_DEFINE_PAGE_FORM(THebdlgBI, TOutcomeForm)

void RegisterPageClasses() {
    RegisterClasses({&TWelcomeDlg::StaticClass(), &THebWelcomeDlg::StaticClass(), &TLicenseDlg::StaticClass(),
                     &THebLicenseDlg::StaticClass(), &TRebootDlg::StaticClass(), &THebRebootDlg::StaticClass(),
                     &TGoodInstallationDlg::StaticClass(), &THebGoodInstallationDlg::StaticClass(),
                     &TBadInstallationDlg::StaticClass(), &THebBadInstallationDlg::StaticClass(),
                     &TInstallFileGroupsDlg::StaticClass(), &THebInstallFileGroupsDlg::StaticClass(),
                     &TSelectFolderDlg::StaticClass(), &THebSelectFolderDlg::StaticClass(), &TCopyFileDlg::StaticClass(),
                     &THebCopyFileDlg::StaticClass(), &TChangeDiskDlg::StaticClass(), &THebChangeDiskDlg::StaticClass(),
                     &TDialogManager::StaticClass()});
}
