// The form build mode shows when the registry does not say where the setup kit is: a prompt
// for the kit's folder, whose Browse button opens the directory selection dialog.
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

// Shows the prompt modally and returns what its edit box holds when it is closed.
std::string AskKitFolder();
