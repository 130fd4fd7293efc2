// The install type question; see frmChooseInstallTypeUnit.h.
#include "app/frmChooseInstallTypeUnit.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "engine/SetupState.h"
#include "platform/Platform.h"
#include "runtime/ExtCtrls.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

const TClassInfo& TfrmChooseInstallType::StaticClass() {
    using F = TfrmChooseInstallType;
    static const TClassInfo info{"TfrmChooseInstallType", &TDocForm::StaticClass(), {}, {},
                                 {Method("ProceedBtnClick", &F::ProceedBtnClick), Method("CancelBtnClick", &F::CancelBtnClick)}};
    return info;
}

TfrmChooseInstallType::TfrmChooseInstallType(TComponent* owner) : TDocForm(owner) {
    LoadDescription("frmChooseInstallType.dfm");
    PrepareButtons3D(*this);
    SetRealWidth(545);
    SetRealHeight(351);
    SetPageTexts(*this, {{"", 30340}, {"Label1", 30260}, {"Label2", 30280}, {"ProceedBtn", 160}, {"CancelBtn", 180}});
    TStrings* items = FormPart<TRadioGroup>(*this, "RadioGroup1")->Items();
    items->SetStrings(0, LocalisedString(30320));
    items->SetStrings(1, LocalisedString(30300));
    // The window's close command leaves setup without a question, as the product's pages do.
    DoCreate();
}

void TfrmChooseInstallType::ProceedBtnClick(TObject*) {
    SetModalResult(FormPart<TRadioGroup>(*this, "RadioGroup1")->ItemIndex() == 0 ? mrNo : mrYes);
}

void TfrmChooseInstallType::CancelBtnClick(TObject*) {
    if (!ConfirmExit(this)) return;
    SetupState().UserCancelled = true;
    SetModalResult(mrCancel);
}

void TfrmChooseInstallType::KeyDown(std::uint16_t& key, TShiftState shift) {
    TDocForm::KeyDown(key, shift);
    PageKeys(*this, key, [this] { ProceedBtnClick(this); }, [this] { CancelBtnClick(this); });
}

int TfrmChooseInstallType::Run(const std::string& dir) {
    std::string path = dir;
    SetupRoutines::AddBackslash(path);
    if (!os::Current().FileExists(path + "DOCUMENT.MDB")) return 0;
    auto* form = new TfrmChooseInstallType(Application());
    int result = mrCancel;
    try {
        result = form->ShowModal();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result == mrYes || result == mrNo ? result : mrCancel;
}
