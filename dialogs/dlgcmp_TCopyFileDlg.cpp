// The copy window and the change-disk question; see dlgcmp_TCopyFileDlg.h.
#include "dialogs/dlgcmp_TCopyFileDlg.h"

#include "archive/cmp_TKembCompress.h"
#include "dialogs/DocForm.h"
#include "dialogs/SelectDirDlg.h"
#include "engine/SetupState.h"
#include "engine/cmp_TFileContainer.h"
#include "engine/cmp_TInstallFile.h"
#include "runtime/StdCtrls.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

RT_DEFINE_ENUM(TCopyFileDlgPosition, "cfpCenter", "cfpBottom")

// ---- the copy window's component ----

const TClassInfo& TCopyFileDlg::StaticClass() {
    static const TClassInfo info{"TCopyFileDlg", &TStagePageDlg::StaticClass(), Factory<TCopyFileDlg>(),
                                 {DialogTextProp(), OverwriteTextProp(),
                                  AccessorProperty("Position", &TCopyFileDlg::Position, &TCopyFileDlg::SetPosition)},
                                 {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebCopyFileDlg, TCopyFileDlg)

TCopyFileDlg::TCopyFileDlg(TComponent* owner) : TStagePageDlg(owner, "", false) {
    for (const char* line : {"Copying Installation Files", "Extracting file", "File progress", "Total progress", "&Cancel"})
        DialogText()->Add(line);
}

TCopyFileDlg::~TCopyFileDlg() = default;

void TCopyFileDlg::BeforeDestruction() {
    CloseCopyForm();
    TStagePageDlg::BeforeDestruction();
}

void TCopyFileDlg::Notification(TComponent* component, TOperation operation) {
    TStagePageDlg::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FForm) FForm = nullptr;
}

void TCopyFileDlg::DoStage(TInstallContainer* sender, const std::string& stageName, TObject* parameterObject) {
    TBaseInstallDlg::DoStage(sender, stageName, parameterObject);
    if (!LanguageSelects(Script())) return;
    if (SameText(stageName, "CopyingFile")) {
        if (!parameterObject) throw Exception("DoCopyFile got a nil TFileStatusParameter object");
        auto* status = dynamic_cast<TFileStatusParameter*>(parameterObject);
        if (!status) throw Exception("The PO object to the copying file dialog is not a TFileStatusParameter object");
        FFilePercent = status->FilePercentDone;
        FFileName = status->FileName;
        FTotalPercent = status->TotalPercentDone;
        ShowProgress();
    } else if (SameText(stageName, "DoneCopyingFiles")) {
        CloseCopyForm();
    }
}

void TCopyFileDlg::ShowProgress() {
    if (!FForm) {
        FForm = Script() == TPageScript::psHebrew ? new THebdlgCF(Application()) : new TdlgCF(Application());
        FForm->FreeNotification(this);
    }
    if (FPosition == TCopyFileDlgPosition::cfpBottom) {
        // Placed here, not centred again when it shows.
        FForm->SetPosition(TPosition::poDesigned);
        IWidgetBackend& b = Backend();
        FForm->SetBounds(RoundHalfEven(b.ScreenWidth() * 0.5 - FForm->Width() * 0.5),
                         b.ScreenHeight() - b.CaptionHeight() - FForm->Height(), FForm->Width(), FForm->Height());
    }
    if (!FForm->Visible()) {
        FForm->Animation()->SetActive(true);
        FForm->ShowForm();
    }
    FForm->TotalProgress()->SetPosition(FTotalPercent);
    FForm->FileProgress()->SetPosition(FFilePercent);
    FForm->FileLabel()->SetCaption(FFileName);
    if (OverwriteText())
        SetPageTexts(*FForm, {{"", 360}, {"lblCopyFileHeader", 380}, {"Label1", 400}, {"Label2", 420}, {"CancelBtn", 440}});
}

void TCopyFileDlg::CloseCopyForm() {
    if (!FForm) return;
    TdlgCF* form = FForm;
    FForm = nullptr;
    form->Free();
}

void TCopyFileDlg::FocusTarget() {
    if (FForm && FForm->Visible()) FForm->SetFocus();
}

// ---- the copy window ----

const TClassInfo& TdlgCF::StaticClass() {
    static const TClassInfo info{"TdlgCF", &TForm::StaticClass(), {}, {}, {Method("CancelBtnClick", &TdlgCF::CancelBtnClick)}};
    return info;
}

const TClassInfo& THebdlgCF::StaticClass() {
    static const TClassInfo info{"THebdlgCF", &TdlgCF::StaticClass(), {}, {}, {}};
    return info;
}

void TdlgCF::Load(const char* description) {
    LoadDescription(description);
    PrepareButtons3D(*this);
    FCloseAllowed = false;
    OnCloseQuery = TEvent<TObject*, bool&>(this, [this](TObject*, bool& canClose) { canClose = FCloseAllowed; });
    SetupState().CopyPageOpen = true;
    DoCreate();
}

void TdlgCF::BeforeDestruction() {
    SetupState().CopyPageOpen = false;
    // Freed while still up (the folder page closes it): the other windows must not stay dead.
    FOthers.Enable();
    TForm::BeforeDestruction();
}

TProgressBar* TdlgCF::FileProgress() const { return FormPart<TProgressBar>(*this, "ProgressBar1"); }
TProgressBar* TdlgCF::TotalProgress() const { return FormPart<TProgressBar>(*this, "ProgressBar2"); }
TLabel* TdlgCF::FileLabel() const { return FormPart<TLabel>(*this, "lblCopyingFile"); }
TAnimate* TdlgCF::Animation() const { return FormPart<TAnimate>(*this, "Animate1"); }

void TdlgCF::SetVisible(bool v) {
    if (v && !Visible() && !IsLoading()) FOthers.Disable(*this);
    TForm::SetVisible(v);
    if (!v) FOthers.Enable();
}

void TdlgCF::CancelBtnClick(TObject*) {
    TAnimate* animation = Animation();
    animation->SetActive(false);
    if (ConfirmExit(this)) {
        SetupState().UserCancelled = true;
        FCloseAllowed = true;
        // The running extraction stops at its next buffer.
        SharedKembCompress().SetAbort(true);
        SetModalResult(mrCancel);
    }
    animation->SetActive(true);
}

const TPicture* TdlgCF::PalettePicture() const { return SharedBackgroundPalette(); }

// ---- the change-disk question ----

const TClassInfo& TChangeDiskDlg::StaticClass() {
    static const TClassInfo info{"TChangeDiskDlg", &TStagePageDlg::StaticClass(), Factory<TChangeDiskDlg>(),
                                 {DialogTextProp(), OverwriteTextProp(), ThemeBitmapProp(),
                                  Property("OnAfterExecute", &TBaseInstallDlg::OnAfterExecute),
                                  Property("OnBeforeExecute", &TBaseInstallDlg::OnBeforeExecute),
                                  Property("OnInstallClick", &TBaseInstallDlg::OnInstallClick)},
                                 {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebChangeDiskDlg, TChangeDiskDlg)

TChangeDiskDlg::TChangeDiskDlg(TComponent* owner) : TStagePageDlg(owner, "", false) {
    for (const char* line : {"Setup Needs The Next Disk", "Please insert disk number",
                             "If the files on this disk can be found in another location, for example, in another drive, "
                             "enter its full path or click the Browse button to select its path.",
                             "&Path", "&Browse...", "Proceed", "Cancel"})
        DialogText()->Add(line);
    if (!(owner && owner->IsDesigning())) ThemeBitmap()->SetResourceName("CHANGEDISK.bmp");
}

void TChangeDiskDlg::DoStage(TInstallContainer* sender, const std::string& stageName, TObject* parameterObject) {
    TBaseInstallDlg::DoStage(sender, stageName, parameterObject);
    // Both twins answer every request, whatever the language.
    if (!SameText(stageName, "ChangeDisk")) return;
    const std::string me = ClassName();
    if (!parameterObject) throw Exception("The ParameterObject is Nil in the " + me);
    auto* list = dynamic_cast<TList*>(parameterObject);
    if (!list) throw Exception(me + "--PO is not a TList object");
    if (list->Count() < 2) throw Exception(me + "--Not engouh parameters for status event");
    auto* file = dynamic_cast<TInstallFile*>(list->Items(0));
    if (!file) throw Exception(me + " says bad first parameter");
    auto* disk = dynamic_cast<TDiskParameter*>(list->Items(1));
    if (!disk) throw Exception(me + " says bad second parameter");
    FDiskNumber = disk->NewDisk;
    FPath = disk->Path;
    // A page answers the request: the file shows no prompt of its own.
    file->SetTag(1);
    Execute();
    disk->Path = FPath;
}

bool TChangeDiskDlg::ShowDialog() {
    if (!Container()) return false;
    TdlgCD* form = Script() == TPageScript::psHebrew ? new THebdlgCD(Application()) : new TdlgCD(Application());
    bool ok = false;
    try {
        form->Dialog = this;
        form->Path = FPath;
        FormPartOrTwin<TEdit>(*form, "Edit1")->SetText(FPath);
        std::string line;
        GetDialogText(1, line);
        FormPartOrTwin<TLabel>(*form, "Label3")->SetCaption(line + " " + IntToStr(FDiskNumber));
        FormPart<TImage>(*form, "ThemeBitmap")->Picture()->Assign(*ThemeBitmap());
        if (OverwriteText()) {
            GetDialogText(0, line);
            form->SetCaption(line);
            const char* controls[] = {"Label2", "Label4", "BrowseBtn", "InstallBtn", "CancelBtn"};
            for (int i = 0; i < 5; ++i) {
                GetDialogText(i + 2, line);
                FormPartOrTwin<TControl>(*form, controls[i])->SetCaption(line);
            }
        }
        ok = form->ShowModal() == mrOk;
        FPath = FormPartOrTwin<TEdit>(*form, "Edit1")->Text();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return ok;
}

// ---- its form ----

const TClassInfo& TdlgCD::StaticClass() {
    static const TClassInfo info{"TdlgCD", &TForm::StaticClass(), {}, {},
                                 {Method("BrowseBtnClick", &TdlgCD::BrowseBtnClick),
                                  Method("InstallBtnClick", &TdlgCD::InstallBtnClick),
                                  Method("CancelBtnClick", &TdlgCD::CancelBtnClick)}};
    return info;
}

const TClassInfo& THebdlgCD::StaticClass() {
    static const TClassInfo info{"THebdlgCD", &TdlgCD::StaticClass(), {}, {}, {}};
    return info;
}

void TdlgCD::BrowseBtnClick(TObject*) {
    std::string dir;
    if (SelectDirectory(dir, true)) Path = dir;
    FormPartOrTwin<TEdit>(*this, "Edit1")->SetText(Path);
}

void TdlgCD::InstallBtnClick(TObject* sender) {
    // The button's own OK is on the form already: the question closes whatever the handler says.
    if (Dialog) Dialog->InstallClick(sender);
}

void TdlgCD::CancelBtnClick(TObject* sender) {
    if (Dialog) Dialog->CancelClick(sender);
}

const TPicture* TdlgCD::PalettePicture() const { return SharedBackgroundPalette(); }
