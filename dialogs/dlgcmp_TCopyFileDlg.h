// The two dialogs that serve the extraction rather than the wizard's sequence: the copy
// window (modeless, shown from the first file's progress to the end of the extraction, with
// the file and both percentages and a Cancel that stops the archive at its next buffer), and
// the change-disk question for a volume that is not where it was expected. Each with its
// Hebrew twin; their forms are plain forms, not scaled pages.
#pragma once

#include <vector>

#include "dialogs/DocForm.h"
#include "dialogs/dlgcmp_TWelcomeDlg.h"
#include "runtime/ComCtrls.h"

enum class TCopyFileDlgPosition { cfpCenter, cfpBottom };
RT_DECLARE_ENUM(TCopyFileDlgPosition)

class TdlgCF;

class TCopyFileDlg : public TStagePageDlg, public rt::IFocusTarget {
    RT_CLASS(TCopyFileDlg, TStagePageDlg)
public:
    explicit TCopyFileDlg(rt::TComponent* owner);
    ~TCopyFileDlg() override;

    TCopyFileDlgPosition Position() const { return FPosition; }
    void SetPosition(TCopyFileDlgPosition v) { FPosition = v; }
    TdlgCF* Form() const { return FForm; }
    int FilePercent() const { return FFilePercent; }
    int TotalPercent() const { return FTotalPercent; }

    // Frees the copy window, if there is one.
    virtual void CloseCopyForm();
    // Makes and shows the copy window if needed, then shows the current progress.
    virtual void ShowProgress();

    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override;
    // The main window gives the copy window the focus while it is up.
    void FocusTarget() override;

protected:
    void BeforeDestruction() override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    TdlgCF* FForm = nullptr;
    int FFilePercent = 0;
    std::string FFileName;
    int FTotalPercent = 0;
    TCopyFileDlgPosition FPosition = TCopyFileDlgPosition::cfpCenter;
};

BREV_HEBREW_TWIN(THebCopyFileDlg, TCopyFileDlg)

// The copy window. While it is up the program's other windows are disabled, so it behaves
// as a modal window; they come back when it hides or goes.
class TdlgCF : public rt::TForm {
    RT_CLASS(TdlgCF, rt::TForm)
public:
    explicit TdlgCF(rt::TComponent* owner) : rt::TForm(owner) { Load("dlgCF.dfm"); }

    rt::TProgressBar* FileProgress() const;
    rt::TProgressBar* TotalProgress() const;
    rt::TLabel* FileLabel() const;
    rt::TAnimate* Animation() const;

    void CancelBtnClick(rt::TObject* sender);
    void SetVisible(bool v) override;
    const rt::TPicture* PalettePicture() const override;

protected:
    struct TNoLoad {};
    TdlgCF(rt::TComponent* owner, TNoLoad) : rt::TForm(owner) {}
    void Load(const char* description);
    void BeforeDestruction() override;

private:
    TOtherWindows FOthers;
    bool FCloseAllowed = false;
};

class THebdlgCF : public TdlgCF {
    RT_CLASS(THebdlgCF, TdlgCF)
public:
    explicit THebdlgCF(rt::TComponent* owner) : TdlgCF(owner, TNoLoad{}) { Load("HebdlgCF.dfm"); }
};

class TChangeDiskDlg : public TStagePageDlg {
    RT_CLASS(TChangeDiskDlg, TStagePageDlg)
public:
    explicit TChangeDiskDlg(rt::TComponent* owner);

    int DiskNumber() const { return FDiskNumber; }
    const std::string& Path() const { return FPath; }

    void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) override;
    bool ShowDialog() override;

private:
    int FDiskNumber = 0;
    std::string FPath;
};

BREV_HEBREW_TWIN(THebChangeDiskDlg, TChangeDiskDlg)

// The change-disk question: the disk number and the folder where its volume is, typed or
// browsed for.
class TdlgCD : public rt::TForm {
    RT_CLASS(TdlgCD, rt::TForm)
public:
    explicit TdlgCD(rt::TComponent* owner) : rt::TForm(owner) { LoadDescription("dlgCD.dfm"); DoCreate(); }

    TBaseInstallDlg* Dialog = nullptr;
    // The folder the form opened with, which Browse puts back when nothing is chosen.
    std::string Path;

    void BrowseBtnClick(rt::TObject* sender);
    void InstallBtnClick(rt::TObject* sender);
    void CancelBtnClick(rt::TObject* sender);
    const rt::TPicture* PalettePicture() const override;

protected:
    struct TNoLoad {};
    TdlgCD(rt::TComponent* owner, TNoLoad) : rt::TForm(owner) {}
};

class THebdlgCD : public TdlgCD {
    RT_CLASS(THebdlgCD, TdlgCD)
public:
    explicit THebdlgCD(rt::TComponent* owner) : TdlgCD(owner, TNoLoad{}) { LoadDescription("HebdlgCD.dfm"); DoCreate(); }
};
