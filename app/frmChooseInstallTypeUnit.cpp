// The install type question; see frmChooseInstallTypeUnit.h.
#include "app/frmChooseInstallTypeUnit.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "platform/Platform.h"
#include "runtime/ExtCtrls.h"

using namespace rt;

const TClassInfo& TfrmChooseInstallType::StaticClass() {
    using F = TfrmChooseInstallType;
    static const TClassInfo info{"TfrmChooseInstallType", &TProductPage::StaticClass(), {}, {},
                                 {Method("ProceedBtnClick", &F::ProceedBtnClick)}};
    return info;
}

TfrmChooseInstallType::TfrmChooseInstallType(TComponent* owner) : TProductPage(owner) {
    LoadProductPage("frmChooseInstallType.dfm", 545, 351);
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

int TfrmChooseInstallType::Run(const std::string& dir) {
    std::string path = dir;
    SetupRoutines::AddBackslash(path);
    if (!os::Current().FileExists(path + "DOCUMENT.MDB")) return 0;
    const int result = RunProductPage<TfrmChooseInstallType>();
    return result == mrYes || result == mrNo ? result : mrCancel;
}
