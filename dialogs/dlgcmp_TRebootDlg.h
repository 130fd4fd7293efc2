// The pages at the end of the run: the restart question, and the good and bad installation
// pages, each with its Hebrew twin. They answer their stage even under a dialog manager and
// always let the run go on.
#pragma once

#include "dialogs/dlgcmp_TWelcomeDlg.h"

class TRebootDlg : public TStagePageDlg {
    RT_CLASS(TRebootDlg, TStagePageDlg)
public:
    explicit TRebootDlg(rt::TComponent* owner);
    // Sets the reboot-needed flag from the user's choice; true in every case.
    bool ShowDialog() override;
};

BREV_HEBREW_TWIN(THebRebootDlg, TRebootDlg)

class TGoodInstallationDlg : public TStagePageDlg {
    RT_CLASS(TGoodInstallationDlg, TStagePageDlg)
public:
    explicit TGoodInstallationDlg(rt::TComponent* owner);
    bool ShowDialog() override;

protected:
    TGoodInstallationDlg(rt::TComponent* owner, const char* stage);
};

BREV_HEBREW_TWIN(THebGoodInstallationDlg, TGoodInstallationDlg)

// The bad installation page; showing it cancels any restart a failed run still wanted.
class TBadInstallationDlg : public TGoodInstallationDlg {
    RT_CLASS(TBadInstallationDlg, TGoodInstallationDlg)
public:
    explicit TBadInstallationDlg(rt::TComponent* owner);
    bool ShowDialog() override;
};

BREV_HEBREW_TWIN(THebBadInstallationDlg, TBadInstallationDlg)

// The restart page: Enter runs Close unless a 3D button takes it; Escape does nothing, the
// page has no Cancel.
class TdlgShutdown : public TPageForm {
    RT_CLASS(TdlgShutdown, TPageForm)
public:
    explicit TdlgShutdown(rt::TComponent* owner) : TPageForm(owner) { Load("dlgShutdown.dfm"); }
    void CloseBtnClick(rt::TObject* sender);
    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;
    // The restart option chosen: 0 now, 1 later.
    int Choice() const;

protected:
    // A description names the class it describes, so each class reads its own once whole.
    struct TNoLoad {};
    TdlgShutdown(rt::TComponent* owner, TNoLoad) : TPageForm(owner) {}
    void Load(const char* description);
};

class THebdlgShutdown : public TdlgShutdown {
    RT_CLASS(THebdlgShutdown, TdlgShutdown)
public:
    explicit THebdlgShutdown(rt::TComponent* owner) : TdlgShutdown(owner, TNoLoad{}) { Load("HebdlgShutdown.dfm"); }
};

// The outcome pages close with Abort, through their one button.
class TOutcomeForm : public TPageForm {
    RT_CLASS(TOutcomeForm, TPageForm)
public:
    explicit TOutcomeForm(rt::TComponent* owner) : TPageForm(owner) {}
    void CloseBtnClick(rt::TObject* sender);
};

BREV_PAGE_FORM(TdlgGI, TOutcomeForm, "dlgGI.dfm", 478, 370)
BREV_PAGE_FORM(THebdlgGI, TOutcomeForm, "HebdlgGI.dfm", 478, 368)
BREV_PAGE_FORM(TdlgBI, TOutcomeForm, "dlgBI.dfm", 478, 372)
BREV_PAGE_FORM(THebdlgBI, TOutcomeForm, "HebdlgBI.dfm", 478, 370)

// Registers the wizard's dialog components and page forms for descriptions.
void RegisterPageClasses();
