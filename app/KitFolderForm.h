// The forms build mode shows when the registry does not say where the setup kit is: a
// prompt for the kit's folder, and the directory picker its Browse button opens.
#pragma once

#include <string>

#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

class TKitFolderDlg : public rt::TForm {
    RT_CLASS(TKitFolderDlg, rt::TForm)
public:
    explicit TKitFolderDlg(rt::TComponent* owner);
    rt::TEdit* FolderEdit() const { return FFolderEdit; }
    void BrowseBtnClick(rt::TObject* sender);

private:
    rt::TEdit* FFolderEdit = nullptr;
};

// A directory picker starting at dir: its drives, its directories and an edit for a path
// that may not exist yet (created when allowCreate). True and the chosen path on OK.
bool SelectDirectory(std::string& dir, bool allowCreate);

// Shows the prompt modally and returns what its edit box holds when it is closed.
std::string AskKitFolder();
