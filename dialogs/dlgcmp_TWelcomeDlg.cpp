// The welcome and licence pages; see dlgcmp_TWelcomeDlg.h.
#include "dialogs/dlgcmp_TWelcomeDlg.h"

#include "engine/SetupState.h"
#include "runtime/ExtCtrls.h"
#include "runtime/SysUtils.h"

using namespace rt;

// ---- TStagePageDlg ----

const TClassInfo& TStagePageDlg::StaticClass() {
    static const TClassInfo info{"TStagePageDlg", &TBaseInstallDlg::StaticClass(), {}, {}, {}};
    return info;
}

std::vector<TPropInfo> TStagePageDlg::PageProps(bool withOrder) {
    std::vector<TPropInfo> props{DialogManagerProp(), DialogTextProp()};
    if (withOrder) props.push_back(OrderProp());
    props.push_back(OverwriteTextProp());
    props.push_back(ThemeBitmapProp());
    props.push_back(Property("OnAfterExecute", &TBaseInstallDlg::OnAfterExecute));
    props.push_back(Property("OnBeforeExecute", &TBaseInstallDlg::OnBeforeExecute));
    return props;
}

TStagePageDlg::TStagePageDlg(TComponent* owner, const char* stage, bool canBeManaged)
    : TBaseInstallDlg(owner), FStage(stage), FCanBeManaged(canBeManaged) {}

void TStagePageDlg::DoStage(TInstallContainer* sender, const std::string& stageName, TObject* parameterObject) {
    TBaseInstallDlg::DoStage(sender, stageName, parameterObject);
    RunAtStage(stageName, FStage, Script(), FCanBeManaged);
}

// ---- welcome ----

const TClassInfo& TWelcomeDlg::StaticClass() {
    static const TClassInfo info{"TWelcomeDlg", &TStagePageDlg::StaticClass(), Factory<TWelcomeDlg>(), PageProps(true), {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebWelcomeDlg, TWelcomeDlg)

TWelcomeDlg::TWelcomeDlg(TComponent* owner) : TStagePageDlg(owner, "eccWelcomeDialog", true) {
    DialogText()->Add("Welcome");
    StoreOrder(10);
}

bool TWelcomeDlg::ShowDialog() {
    TPageForm* form = Script() == TPageScript::psHebrew ? static_cast<TPageForm*>(new THebdlgWelcome(Application()))
                                                         : new TdlgWelcome(Application());
    return ShowPageForm(form, [](TPageForm& f) {
        SetPageTexts(f, {{"", 80}, {"Label1", 100}, {"Label2", 120}, {"Label3", 140}, {"Label4", 30100},
                         {"ProceedBtn", 160}, {"CancelBtn", 180}});
    });
}

BREV_DEFINE_PAGE_FORM(TdlgWelcome, TPageForm)
BREV_DEFINE_PAGE_FORM(THebdlgWelcome, TPageForm)

// ---- licence agreement ----

const TClassInfo& TLicenseDlg::StaticClass() {
    static const TClassInfo info = [] {
        std::vector<TPropInfo> props = PageProps(true);
        props.push_back(StringsProperty("Agreement", &TLicenseDlg::Agreement, &TLicenseDlg::SetAgreement));
        return TClassInfo{"TLicenseDlg", &TStagePageDlg::StaticClass(), Factory<TLicenseDlg>(), std::move(props), {}};
    }();
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebLicenseDlg, TLicenseDlg)

TLicenseDlg::TLicenseDlg(TComponent* owner)
    : TStagePageDlg(owner, "eccLicenseAgreement", true), FAgreement(new TStringList) {
    StoreOrder(20);
}

TLicenseDlg::~TLicenseDlg() { delete FAgreement; }

bool TLicenseDlg::ShowDialog() {
    // The Hebrew form is designed with its own captions and agreement.
    if (Script() == TPageScript::psHebrew) return ShowPageForm(new THebdlgLicense(Application()), nullptr);
    return ShowPageForm(new TdlgLicense(Application()), [](TPageForm& f) {
        SetPageTexts(f, {{"", 30540}, {"Label1", 30500}, {"Label2", 30520}, {"ProceedBtn", 160}, {"CancelBtn", 180}});
        static_cast<TdlgLicense&>(f).ShowAgreementOf(SetupState().LanguageIndex);
    });
}

const TClassInfo& TdlgLicense::StaticClass() {
    static const TClassInfo info{"TdlgLicense", &TPageForm::StaticClass(), {}, {}, {}};
    return info;
}

TdlgLicense::TdlgLicense(TComponent* owner) : TPageForm(owner) { LoadPage("dlgLicense.dfm", 553, 413); }

void TdlgLicense::ShowAgreementOf(int languageIndex) {
    // Room is made for more languages than the page has memos for: Agreement0 to Agreement19.
    for (int n = 0; n < 20; ++n) {
        auto* memo = dynamic_cast<TControl*>(FindComponent("Agreement" + IntToStr(n)));
        if (!memo) continue;
        if (n == languageIndex) {
            memo->SetAlign(TAlign::alClient);
            memo->Show();
        } else {
            memo->Hide();
        }
    }
}

BREV_DEFINE_PAGE_FORM(THebdlgLicense, TPageForm)
