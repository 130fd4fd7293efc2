// The kit folder prompt; see KitFolderForm.h.
#include "app/KitFolderForm.h"

#include "dialogs/DocForm.h"
#include "dialogs/SelectDirDlg.h"
#include "platform/Platform.h"
#include "runtime/SysUtils.h"

using namespace rt;

const TClassInfo& TKitFolderDlg::StaticClass() {
    static const TClassInfo info{"TKitFolderDlg", &TForm::StaticClass(), {}, {},
                                 {Method("BrowseBtnClick", &TKitFolderDlg::BrowseBtnClick)}};
    return info;
}

TKitFolderDlg::TKitFolderDlg(TComponent* owner) : TForm(owner) {
    LoadDescription("KitFolderDlg.dfm");
    FFolderEdit = FormPart<TEdit>(*this, "FolderEdit");
    DoCreate();
}

void TKitFolderDlg::BrowseBtnClick(TObject*) {
    std::string dir = os::Current().GetCurrentDirectory();
    if (SelectDirectory(dir, true)) FFolderEdit->SetText(dir);
}

std::string AskKitFolder() {
    auto* form = new TKitFolderDlg(Application());
    std::string folder;
    try {
        form->ShowModal();
        folder = Trim(form->FolderEdit()->Text());
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return folder;
}
