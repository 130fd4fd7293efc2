// The directory selection dialog; see SelectDirDlg.h.
#include "dialogs/SelectDirDlg.h"

#include "archive/BlockIO.h"
#include "dialogs/DocForm.h"
#include "platform/Platform.h"
#include "runtime/FileCtrl.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/SysUtils.h"

using namespace rt;

namespace {

class TSelectDirDlg : public TForm {
    RT_CLASS(TSelectDirDlg, TForm)
public:
    explicit TSelectDirDlg(TComponent* owner) : TForm(owner) {
        LoadDescription("SelectDirDlg.dfm");
        FPath = FormPart<TEdit>(*this, "PathEdit");
        FDirs = FormPart<TDirectoryListBox>(*this, "Dirs");
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

