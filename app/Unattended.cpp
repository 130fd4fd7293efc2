// Setup without a person; see Unattended.h.
#include "app/Unattended.h"

#include <algorithm>

#include "app/SelectLangUnit.h"
#include "app/dlg_InstallDll.h"
#include "app/dlg_UserRegistrationUnit.h"
#include "app/frmChooseInstallTypeUnit.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "dialogs/dlgcmp_TInstallFileGroupsDlg.h"
#include "dialogs/dlgcmp_TRebootDlg.h"
#include "dialogs/dlgcmp_TSelectFolderDlg.h"
#include "engine/InstallErrors.h"
#include "engine/SetupLog.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Registry.h"
#include "runtime/StdCtrls.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {

template <class C>
C* Part(TCustomForm& form, const char* name) {
    return dynamic_cast<C*>(form.FindComponent(name));
}

void SetEdit(TCustomForm& form, const char* name, const std::optional<std::string>& value) {
    if (auto* edit = Part<TCustomEdit>(form, name); edit && value) edit->SetText(*value);
}

std::string EditText(TCustomForm& form, const char* name) {
    auto* edit = Part<TCustomEdit>(form, name);
    return edit ? edit->Text() : std::string();
}

void SetChoice(TCustomForm& form, const char* name, int index) {
    if (auto* group = Part<TCustomRadioGroup>(form, name)) group->SetItemIndex(index);
}

int Choice(TCustomForm& form, const char* name) {
    auto* group = Part<TCustomRadioGroup>(form, name);
    return group ? group->ItemIndex() : -1;
}

// The file groups of the description, in its order.
std::vector<TInstallFileGroup*> FileGroups() {
    std::vector<TInstallFileGroup*> groups;
    for (TInstallContainer* c : InstallComponents())
        if (auto* group = dynamic_cast<TInstallFileGroup*>(c)) groups.push_back(group);
    return groups;
}

std::string CurrentVersionValue(const char* name) {
    try {
        TRegistry reg(os::RootKey::LocalMachine);
        if (reg.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion") && reg.ValueExists(name))
            return reg.ReadString(name);
        if (reg.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion") && reg.ValueExists(name))
            return reg.ReadString(name);
    } catch (const std::exception&) {
    }
    return {};
}

}  // namespace

std::string RegisteredOwner() { return CurrentVersionValue("RegisteredOwner"); }
std::string RegisteredOrganization() { return CurrentVersionValue("RegisteredOrganization"); }

TModalResult TSetupWatcher::Answer(TCustomForm& form) {
    if (!FUnattended) return mrNone;
    if (dynamic_cast<TMessageForm*>(&form)) return AnswerMessage(form);

    if (dynamic_cast<TSelectLangDlg*>(&form)) {
        if (FGiven.Language) SetChoice(form, "RadioGroup1", *FGiven.Language);
    } else if (dynamic_cast<TfrmUserInformation*>(&form)) {
        // Told nothing, the run names whom Windows was registered to, as a person would type.
        SetEdit(form, "HebEdit1", FGiven.UserName.value_or(RegisteredOwner()));
        SetEdit(form, "HebEdit2", FGiven.Organization.value_or(RegisteredOrganization()));
    } else if (dynamic_cast<TdlgFG*>(&form)) {
        SetEdit(form, "DirectoryLabel", FGiven.Dir);
        if (FGiven.Groups)
            for (TInstallFileGroup* group : FileGroups()) {
                const bool wanted = std::any_of(FGiven.Groups->begin(), FGiven.Groups->end(),
                                                [&](const std::string& name) { return SameText(name, group->Name()); });
                if (group->AllowChoice() && wanted != GroupSelected(*group)) SelectGroup(*group, wanted);
            }
    } else if (dynamic_cast<TfrmChooseInstallType*>(&form)) {
        if (FGiven.KeepApps) SetChoice(form, "RadioGroup1", *FGiven.KeepApps ? 0 : 1);
    } else if (auto* folder = dynamic_cast<TdlgSF*>(&form)) {
        if (FGiven.Group) folder->FolderEdit()->SetText(*FGiven.Group);
    } else if (dynamic_cast<TfrmInstallDll*>(&form)) {
        if (FGiven.AddOn)
            if (auto* option = Part<TRadioButton>(form, *FGiven.AddOn ? "optInstall" : "optDontInstall")) option->SetChecked(true);
    } else if (dynamic_cast<TdlgShutdown*>(&form)) {
        if (FGiven.Restart) SetChoice(form, "RG", *FGiven.Restart ? 0 : 1);
    } else if (auto* disk = dynamic_cast<TdlgCD*>(&form)) {
        // Nobody is there to put the disk in: asking again would wait for ever.
        auto* question = dynamic_cast<TChangeDiskDlg*>(disk->Dialog);
        const int number = question ? question->DiskNumber() : 0;
        throw EAIUnattendedRefusal("Setup needs disk " + IntToStr(number) + " of the distribution, which is not in " + disk->Path);
    }
    return PressDefault(form);
}

TModalResult TSetupWatcher::AnswerMessage(TCustomForm& form) {
    auto* message = Part<TLabel>(form, "Message");
    const std::string text = message ? message->Caption() : std::string();
    // A question is answered with Yes: each one setup asks (remove the old data, leave)
    // is one whose Yes carries the installation on or is never asked unattended.
    if (auto* yes = Part<TButton>(form, "Yes")) {
        LogLine("Question answered Yes: " + text);
        yes->Click();
        return form.ModalResult() == mrNone ? mrYes : form.ModalResult();
    }
    LogLine("Message: " + text);
    FLastNotice = text;
    return mrOk;
}

TModalResult TSetupWatcher::PressDefault(TCustomForm& form) {
    FLastNotice.clear();
    TControl* button = nullptr;
    for (int i = 0; i < form.ComponentCount() && !button; ++i) {
        auto* control = dynamic_cast<TControl*>(form.Components(i));
        if (!control || !control->Visible() || !control->Enabled()) continue;
        if (auto* b = dynamic_cast<TButton3D*>(control); b && b->Default()) button = b;
        if (auto* b = dynamic_cast<TButton*>(control); b && b->Default()) button = b;
    }
    if (!button) throw EAIUnattendedRefusal("Setup cannot answer the window " + form.Name() + " without a person");
    LogLine("Page " + form.Name() + " answered");
    button->Click();
    if (form.ModalResult() == mrNone)
        throw EAIUnattendedRefusal(FLastNotice.empty() ? "The page " + form.Name() + " did not take its answers" : FLastNotice);
    return form.ModalResult();
}

void TSetupWatcher::Closed(TCustomForm& form, TModalResult result) {
    if (result == mrCancel || result == mrNone) return;
    if (auto* language = dynamic_cast<TSelectLangDlg*>(&form)) {
        FChosen.Language = language->SelectedLanguage();
    } else if (dynamic_cast<TfrmUserInformation*>(&form)) {
        FChosen.UserName = EditText(form, "HebEdit1");
        FChosen.Organization = EditText(form, "HebEdit2");
    } else if (dynamic_cast<TdlgFG*>(&form)) {
        FChosen.Dir = EditText(form, "DirectoryLabel");
        std::vector<std::string> chosen;
        for (TInstallFileGroup* group : FileGroups())
            if (GroupSelected(*group)) chosen.push_back(group->Name());
        FChosen.Groups = chosen;
    } else if (dynamic_cast<TfrmChooseInstallType*>(&form)) {
        FChosen.KeepApps = Choice(form, "RadioGroup1") == 0;
    } else if (auto* folder = dynamic_cast<TdlgSF*>(&form)) {
        FChosen.Group = folder->FolderEdit()->Text();
    } else if (dynamic_cast<TfrmInstallDll*>(&form)) {
        auto* install = Part<TRadioButton>(form, "optInstall");
        FChosen.AddOn = install && install->Checked();
    } else if (dynamic_cast<TdlgShutdown*>(&form)) {
        FChosen.Restart = Choice(form, "RG") == 0;
    }
}
