// The work-in-progress notice; see NotifyProgressDlg.h.
#include "dialogs/NotifyProgressDlg.h"

#include "app/StringTable.h"
#include "ui/HebForm.h"

using namespace rt;

const TClassInfo& TNotifyProgressDlg::StaticClass() {
    static const TClassInfo info{"TNotifyProgressDlg", &TDocForm::StaticClass(), {}, {}, {}};
    return info;
}

TNotifyProgressDlg::TNotifyProgressDlg(TComponent* owner) : TDocForm(owner) {
    LoadDescription("NotifyProgressDlg.dfm");
    FMessageLabel = dynamic_cast<TLabel*>(FindComponent("MessageLabel"));
    FHebMessageLabel = dynamic_cast<TLabel*>(FindComponent("HebMessageLabel"));
    if (!FMessageLabel || !FHebMessageLabel) throw Exception("The notice window's description lacks its labels");
    DoCreate();
}

TNotifyProgressDlg* ShowNotifyProgress(int base) {
    auto* dlg = new TNotifyProgressDlg(Application());
    try {
        TLabel* label = MirroringFlag() ? dlg->HebMessageLabel() : dlg->MessageLabel();
        label->SetCaption(LocalisedString(base));
        label->Show();
        dlg->ShowForm();
        dlg->Update();
    } catch (...) {
        dlg->Free();
        throw;
    }
    return dlg;
}
