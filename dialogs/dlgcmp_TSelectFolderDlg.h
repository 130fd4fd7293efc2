// Two pages that let the user name a place: the program folder page, which names the Start
// menu folder (or Program Manager group) of the product's shortcuts and clears shortcuts an
// earlier installation left there, and the destination directory picker that the component
// selection page's Browse opens. Each with its Hebrew twin.
#pragma once

#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "runtime/FileCtrl.h"
#include "runtime/StdCtrls.h"

class TShellLinkGroup;

// Whether a name the user gave the program folder stays inside the program menu and can be
// a folder's name: not blank, no drive, no leading backslash, no ".." step, none of the
// characters a folder name cannot hold.
bool IsProgramFolderName(const std::string& name);

class TSelectFolderDlg : public TStagePageDlg {
    RT_CLASS(TSelectFolderDlg, TStagePageDlg)
public:
    explicit TSelectFolderDlg(rt::TComponent* owner);

    // The program folder the page names; a container of another kind raises.
    TShellLinkGroup* GetFolderContainer() const;
    void SetFolderContainer(TShellLinkGroup* value);
    // The folders of the program menu, or Program Manager's groups where there is no menu.
    virtual void ListExistingFolders(rt::TStrings& items);
    // The folder's name as the description gives it ("\Brevanshaw" in the program menu).
    std::string DefaultFolderName() const;

    bool ShowDialog() override;
};

BREV_HEBREW_TWIN(THebSelectFolderDlg, TSelectFolderDlg)

// The program folder page's form: the folder typed or picked from the existing ones.
class TdlgSF : public TPageForm {
    RT_CLASS(TdlgSF, TPageForm)
public:
    explicit TdlgSF(rt::TComponent* owner) : TPageForm(owner) { LoadPage("dlgSF.dfm", 516, 411); }

    rt::TEdit* FolderEdit() const;
    rt::TListBox* FolderListBox() const;
    void FolderListBoxClick(rt::TObject* sender);
    // A blank name, or one that would leave the program menu, keeps the page open.
    void ProceedBtnClick(rt::TObject* sender) override;
    // Removes shortcuts an earlier installation left in the chosen folder, in any language.
    void RemoveExistingLinks(rt::TObject* sender);

protected:
    struct TNoLoad {};
    TdlgSF(rt::TComponent* owner, TNoLoad) : TPageForm(owner) {}
};

class THebdlgSF : public TdlgSF {
    RT_CLASS(THebdlgSF, TdlgSF)
public:
    explicit THebdlgSF(rt::TComponent* owner) : TdlgSF(owner, TNoLoad{}) { LoadPage("HebdlgSF.dfm", 521, 407); }
};

// The destination directory picker: a path, the directory tree and the drives. Its caller
// sets the three before showing it and reads the path on OK. A drive that is not ready is
// refused without a message.
class TSelectDirectoryDlg : public TDocForm {
    RT_CLASS(TSelectDirectoryDlg, TDocForm)
public:
    explicit TSelectDirectoryDlg(rt::TComponent* owner) : TDocForm(owner) { Load("SelectDirectoryDlg.dfm"); }

    rt::TEdit* DestinationDirectory() const;
    rt::TDirectoryListBox* DirectoriesListBox() const;
    rt::TDriveComboBox* DriveComboBox() const;

    void DirectoriesListBoxChange(rt::TObject* sender);
    void DriveComboBoxChange(rt::TObject* sender);
    void OkBtnClick(rt::TObject* sender);
    void CancelBtnClick(rt::TObject* sender);
    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;

protected:
    struct TNoLoad {};
    TSelectDirectoryDlg(rt::TComponent* owner, TNoLoad) : TDocForm(owner) {}
    void Load(const char* description);

private:
    int FLastGoodDrive = 0;
    bool FChangingDrive = false;
    bool FCloseAllowed = false;
};

class THebSelectDirectoryDlg : public TSelectDirectoryDlg {
    RT_CLASS(THebSelectDirectoryDlg, TSelectDirectoryDlg)
public:
    explicit THebSelectDirectoryDlg(rt::TComponent* owner) : TSelectDirectoryDlg(owner, TNoLoad{}) {
        Load("HebSelectDirectoryDlg.dfm");
    }
};
