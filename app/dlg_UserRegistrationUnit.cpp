// The user information page; see dlg_UserRegistrationUnit.h.
#include "app/dlg_UserRegistrationUnit.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "runtime/StdCtrls.h"
#include "system/cmp_TInstallRegistry.h"
#include "ui/MsgDialog.h"

using namespace rt;

const TClassInfo& TUserInformationDlg::StaticClass() {
    static const TClassInfo info{"TUserInformationDlg", &TBaseInstallDlg::StaticClass(), Factory<TUserInformationDlg>(), {}, {}};
    return info;
}

TUserInformationDlg::TUserInformationDlg(TComponent* owner) : TBaseInstallDlg(owner) { StoreOrder(11); }

void TUserInformationDlg::DoStage(TInstallContainer* sender, const std::string& stageName, TObject* parameterObject) {
    TBaseInstallDlg::DoStage(sender, stageName, parameterObject);
    RunAtStage(stageName, "eccUserInformation", TPageScript::psEvery, true);
}

TInstallRegistry* TUserInformationDlg::Registry() const {
    auto* registry = Owner() ? dynamic_cast<TInstallRegistry*>(Owner()->FindComponent("InstallRegistry1")) : nullptr;
    if (!registry) throw Exception("The user information page " + Name() + " finds no InstallRegistry1 for its answers");
    return registry;
}

bool TUserInformationDlg::ShowDialog() {
    return ShowPageForm(new TfrmUserInformation(Application()), [](TPageForm& f) {
        SetPageTexts(f, {{"", 30120}, {"HebLabel1", 30140}, {"HebLabel2", 30160}, {"HebLabel3", 30180}, {"HebLabel4", 30200},
                         {"ProceedBtn", 160}, {"CancelBtn", 180}});
    });
}

const TClassInfo& TfrmUserInformation::StaticClass() {
    static const TClassInfo info{"TfrmUserInformation", &TPageForm::StaticClass(), {}, {}, {}};
    return info;
}

TfrmUserInformation::TfrmUserInformation(TComponent* owner) : TPageForm(owner) {
    LoadPage("frmUserInformation.dfm", 507, 372);
    if (!dynamic_cast<TEdit*>(FindComponent("HebEdit1")) || !dynamic_cast<TEdit*>(FindComponent("HebEdit2")))
        throw Exception("The user information page's description lacks its fields");
}

void TfrmUserInformation::ProceedBtnClick(TObject* sender) {
    auto* name = static_cast<TEdit*>(FindComponent("HebEdit1"));
    auto* organisation = static_cast<TEdit*>(FindComponent("HebEdit2"));
    const bool nameBlank = SetupRoutines::IsBlank(name->Text());
    if (nameBlank || SetupRoutines::IsBlank(organisation->Text())) {
        Notice(LocalisedString(30220), LocalisedString(30240), TMsgDlgType::mtConfirmation, 0);
        (nameBlank ? name : organisation)->SetFocus();
        return;
    }
    if (auto* dialog = dynamic_cast<TUserInformationDlg*>(Dialog())) {
        TStrings* entries = dialog->Registry()->Entries();
        entries->SetValue("UserName", SetupRoutines::LiteralEntryText(name->Text()));
        entries->SetValue("Organization", SetupRoutines::LiteralEntryText(organisation->Text()));
    }
    TPageForm::ProceedBtnClick(sender);
}
