// The kit folder prompt and the directory picker; see KitFolderForm.h.
#include "app/KitFolderForm.h"

#include "archive/BlockIO.h"
#include "platform/Platform.h"
#include "runtime/FileCtrl.h"
#include "runtime/SysUtils.h"

using namespace rt;

namespace {

template <class C>
C* Part(TComponent& form, const std::string& name) {
    auto* c = dynamic_cast<C*>(form.FindComponent(name));
    if (!c) throw Exception("The form " + form.Name() + " lacks " + name);
    return c;
}

class TSelectDirDlg : public TForm {
    RT_CLASS(TSelectDirDlg, TForm)
public:
    explicit TSelectDirDlg(TComponent* owner) : TForm(owner) {
        LoadDescription("SelectDirDlg.dfm");
        FPath = Part<TEdit>(*this, "PathEdit");
        FDirs = Part<TDirectoryListBox>(*this, "Dirs");
        DoCreate();
    }
    bool AllowCreate = false;
    TEdit* Path() const { return FPath; }
    TDirectoryListBox* Dirs() const { return FDirs; }

    void DirsChange(TObject*) { FPath->SetText(FDirs->Directory()); }
    // A path typed in must exist, or be made when that is allowed; otherwise the picker
    // stays up.
    void OkBtnClick(TObject*) {
        const std::string path = ExcludeTrailingBackslash(Trim(FPath->Text()));
        if (path.empty()) return;
        os::IPlatform& p = os::Current();
        if (!p.DirectoryExists(path) && !(AllowCreate && ForceDirectories(p, path))) return;
        FPath->SetText(path);
        SetModalResult(mrOk);
    }

private:
    TEdit* FPath;
    TDirectoryListBox* FDirs;
};

}  // namespace

const TClassInfo& TSelectDirDlg::StaticClass() {
    static const TClassInfo info{"TSelectDirDlg", &TForm::StaticClass(), {}, {},
                                 {Method("DirsChange", &TSelectDirDlg::DirsChange),
                                  Method("OkBtnClick", &TSelectDirDlg::OkBtnClick)}};
    return info;
}

const TClassInfo& TKitFolderDlg::StaticClass() {
    static const TClassInfo info{"TKitFolderDlg", &TForm::StaticClass(), {}, {},
                                 {Method("BrowseBtnClick", &TKitFolderDlg::BrowseBtnClick)}};
    return info;
}

TKitFolderDlg::TKitFolderDlg(TComponent* owner) : TForm(owner) {
    LoadDescription("KitFolderDlg.dfm");
    FFolderEdit = Part<TEdit>(*this, "FolderEdit");
    DoCreate();
}

void TKitFolderDlg::BrowseBtnClick(TObject*) {
    std::string dir = os::Current().GetCurrentDirectory();
    if (SelectDirectory(dir, true)) FFolderEdit->SetText(dir);
}

bool SelectDirectory(std::string& dir, bool allowCreate) {
    auto* picker = new TSelectDirDlg(Application());
    bool chosen = false;
    try {
        picker->AllowCreate = allowCreate;
        picker->Dirs()->SetDirectory(dir);
        picker->Path()->SetText(picker->Dirs()->Directory());
        chosen = picker->ShowModal() == mrOk;
        if (chosen) dir = picker->Path()->Text();
    } catch (...) {
        picker->Free();
        throw;
    }
    picker->Free();
    return chosen;
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
