// The user information page: the full name and organisation the licence is granted to,
// handed to the registry entries of the install description. One page for every language:
// it is designed left to right and mirrors itself for Hebrew.
#pragma once

#include "dialogs/DocForm.h"
#include "dialogs/dlgcmp_TBaseDlg.h"

class TInstallRegistry;

class TUserInformationDlg : public TBaseInstallDlg {
    RT_CLASS(TUserInformationDlg, TBaseInstallDlg)
public:
    explicit TUserInformationDlg(rt::TComponent* owner);
    bool ShowDialog() override;
    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override;
    // The registry entries the answers go to: InstallRegistry1 of the description.
    TInstallRegistry* Registry() const;
};

class TfrmUserInformation : public TPageForm {
    RT_CLASS(TfrmUserInformation, TPageForm)
public:
    explicit TfrmUserInformation(rt::TComponent* owner);
    // Both fields must hold more than blanks; the answers then go to the registry entries.
    void ProceedBtnClick(rt::TObject* sender) override;
};
