// The two pages before the installation: the welcome page (go on or quit) and the licence
// agreement (accept or quit), each with its Hebrew twin. A page's texts come from the string
// table in the chosen language; the twins are designed right to left.
#pragma once

#include "dialogs/DocForm.h"
#include "dialogs/dlgcmp_TBaseDlg.h"

// A page that answers one stage of the root, alone or run by a dialog manager, and shows a
// form of its own class; the Hebrew twin of a page is the same page with the other script
// and form.
class TStagePageDlg : public TBaseInstallDlg {
    RT_CLASS(TStagePageDlg, TBaseInstallDlg)
public:
    TStagePageDlg(rt::TComponent* owner, const char* stage, bool canBeManaged);
    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override;
    // The script of the page: its Latin form, or the Hebrew twin's.
    virtual TPageScript Script() const { return TPageScript::psLatin; }

protected:
    // Managed pages publish these besides Container and InstallTypes; the end-of-run pages
    // leave out Order.
    static std::vector<rt::TPropInfo> PageProps(bool withOrder);

private:
    const char* FStage;
    bool FCanBeManaged;
};

// The Hebrew twin of a page: the same page with its right-to-left form, reacting only when
// Hebrew is the language.
#define BREV_HEBREW_TWIN(Twin, Latin)                                         \
    class Twin : public Latin {                                               \
        RT_CLASS(Twin, Latin)                                                 \
    public:                                                                   \
        explicit Twin(rt::TComponent* owner) : Latin(owner) {}                \
        TPageScript Script() const override { return TPageScript::psHebrew; } \
    };
#define BREV_DEFINE_HEBREW_TWIN(Twin, Latin)                                                                 \
    const rt::TClassInfo& Twin::StaticClass() {                                                              \
        static const rt::TClassInfo info{#Twin, &Latin::StaticClass(), rt::Factory<Twin>(), {}, {}};        \
        return info;                                                                                         \
    }

class TWelcomeDlg : public TStagePageDlg {
    RT_CLASS(TWelcomeDlg, TStagePageDlg)
public:
    explicit TWelcomeDlg(rt::TComponent* owner);
    bool ShowDialog() override;
};

BREV_HEBREW_TWIN(THebWelcomeDlg, TWelcomeDlg)

class TLicenseDlg : public TStagePageDlg {
    RT_CLASS(TLicenseDlg, TStagePageDlg)
public:
    explicit TLicenseDlg(rt::TComponent* owner);
    ~TLicenseDlg() override;
    bool ShowDialog() override;

    // Kept with the description; the pages show the agreement designed into their forms.
    rt::TStrings* Agreement() const { return FAgreement; }
    void SetAgreement(const rt::TStrings& v) { FAgreement->Assign(v); }

private:
    rt::TStringList* FAgreement;
};

BREV_HEBREW_TWIN(THebLicenseDlg, TLicenseDlg)

// The page forms. The welcome page takes Enter and Escape through its default and cancel
// buttons only; the licence page previews them.
BREV_PAGE_FORM(TdlgWelcome, TPageForm, "dlgWelcome.dfm", 478, 371)
BREV_PAGE_FORM(THebdlgWelcome, TPageForm, "HebdlgWelcome.dfm", 475, 370)

class TdlgLicense : public TPageForm {
    RT_CLASS(TdlgLicense, TPageForm)
public:
    explicit TdlgLicense(rt::TComponent* owner);
    // Shows the agreement memo of the chosen language in the text panel's free area and
    // hides the others.
    void ShowAgreementOf(int languageIndex);
};

BREV_PAGE_FORM(THebdlgLicense, TPageForm, "HebdlgLicense.dfm", 553, 413)
