// The component selection page; see dlgcmp_TInstallFileGroupsDlg.h.
#include "dialogs/dlgcmp_TInstallFileGroupsDlg.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "dialogs/NotifyProgressDlg.h"
#include "dialogs/dlgcmp_TSelectFolderDlg.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "runtime/FileCtrl.h"
#include "runtime/StdCtrls.h"
#include "runtime/SysUtils.h"
#include "runtime/TreeView.h"
#include "system/cmp_TInstallRegistry.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {

constexpr std::uint32_t kBeepHand = 0x10, kBeepExclamation = 0x30;
constexpr int kStateSelected = 1, kStateNotSelected = 2;

TInstallTypeQuestion& InstallTypeQuestion() {
    static TInstallTypeQuestion question;
    return question;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string Normalised(const std::string& path) { return UpperCase(ExcludeTrailingBackslash(Trim(path))); }

}  // namespace

void SetInstallTypeQuestion(TInstallTypeQuestion question) { InstallTypeQuestion() = std::move(question); }

bool GroupSelected(const TInstallContainer& group) {
    const TInstallType selected = group.SelectedInstallType();
    const TInstallTypeSet types = group.InstallTypes();
    return group.Include() && (selected == TInstallType::itAlways || selected == TInstallType::itCustom ||
                               types.Contains(TInstallType::itAlways) || types.Contains(selected));
}

void SelectGroup(TInstallContainer& group, bool selected) {
    group.SetInclude(selected);
    // Chosen by hand, it is installed whatever the type of installation.
    if (selected) group.SetInstallTypes({TInstallType::itAlways});
}

std::string SizeFigure(std::int64_t bytes) {
    const std::string digits = IntToStr(bytes);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        // A comma after every third character from the right, never in front of the first.
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out + " " + LocalisedString(340);
}

std::string FreeSpaceFigure(const std::string& path) {
    if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':') return "";
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    std::uint64_t freeBytes = 0, totalBytes = 0;
    if (!os::Current().GetDiskFreeSpace(std::string(1, drive) + ":\\", freeBytes, totalBytes)) return SizeFigure(-1);
    return SizeFigure(static_cast<std::int64_t>(freeBytes));
}

bool IsDestinationPath(const std::string& path) {
    if (path.size() < 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
    for (std::size_t i = 2; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c < 32 || std::string("<>:\"/|?*").find(static_cast<char>(c)) != std::string::npos) return false;
    }
    // Every step below the drive is a directory's name, never a step back up.
    std::size_t start = 3;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string step = path.substr(start, end - start);
        if (Trim(step).empty() || step == "." || step == "..") return false;
        start = end + 1;
    }
    return true;
}

bool IsProtectedDirectory(const std::string& path) {
    const std::string p = Normalised(path);
    if (p.size() <= 2) return true;  // "C:" and "C:\"
    for (const std::string& dir : {WindowsDir(), SystemDir(), GetProgramFilesDir()})
        if (!dir.empty() && p == Normalised(dir)) return true;
    return false;
}

// ---- the page's component ----

const TClassInfo& TInstallFileGroupsDlg::StaticClass() {
    static const TClassInfo info{"TInstallFileGroupsDlg", &TStagePageDlg::StaticClass(), Factory<TInstallFileGroupsDlg>(),
                                 PageProps(true), {}};
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebInstallFileGroupsDlg, TInstallFileGroupsDlg)

TInstallFileGroupsDlg::TInstallFileGroupsDlg(TComponent* owner) : TStagePageDlg(owner, "eccBeforeInstallFileGroup", true) {
    DialogText()->Add("Select components to install");
    StoreOrder(50);
}

void TInstallFileGroupsDlg::Loaded() {
    TStagePageDlg::Loaded();
    if (Container() && Container()->InstallTypes().Contains(TInstallType::itCustom)) {
        TInstallTypeSet types = InstallTypes();
        types.Include(TInstallType::itCustom);
        SetInstallTypes(types);
    }
}

bool TInstallFileGroupsDlg::ShowDialog() {
    if (!Container()) throw Exception("Cannot run the InstallFileGroupsDlg with no container specified");
    const TInstallType selected = SelectedInstallType();
    if (selected != TInstallType::itAlways && !InstallTypes().Contains(TInstallType::itAlways) &&
        !InstallTypes().Contains(selected))
        return true;
    TdlgFG* form = Script() == TPageScript::psHebrew ? new THebdlgFG(Application()) : new TdlgFG(Application());
    return ShowPageForm(
        form,
        [](TPageForm& f) {
            SetPageTexts(f, {{"", 200}, {"DirectoryGroupBox", 220}, {"BrowseBtn", 240}, {"SpaceRequiredDesc", 260},
                             {"SpaceAvailableDesc", 280}, {"lblInstructions", 30460}, {"ProceedBtn", 300}, {"CancelBtn", 320}});
        },
        {},
        [](TPageForm& f) {
            auto& page = static_cast<TdlgFG&>(f);
            page.FillGroupTree();
            page.ShowCurrentGroup();
        });
}

// ---- its form ----

const TClassInfo& TdlgFG::StaticClass() {
    static const TClassInfo info{"TdlgFG", &TPageForm::StaticClass(), {}, {},
                                 {Method("GroupListBoxClick", &TdlgFG::GroupListBoxClick),
                                  Method("ToggleBtnClick", &TdlgFG::ToggleBtnClick),
                                  Method("BrowseBtnClick", &TdlgFG::BrowseBtnClick),
                                  Method("InstallBtnClick", &TdlgFG::InstallBtnClick)}};
    return info;
}

BREV_DEFINE_PAGE_FORM(THebdlgFG, TdlgFG)

TFileContainer* TdlgFG::PageContainer() const {
    TInstallContainer* container = Dialog() ? Dialog()->Container() : nullptr;
    if (!container) throw Exception("Cannot show the install file groups dialog for blank container property");
    auto* files = dynamic_cast<TFileContainer*>(container);
    if (!files) throw Exception("Container for " + Name() + " must be TFileContainer descendant");
    return files;
}

void TdlgFG::FillGroupTree() {
    TFileContainer* container = PageContainer();
    TTreeView* tree = FormPart<TTreeView>(*this, "GroupListBox");
    TTreeNodes* nodes = tree->Items();
    nodes->BeginUpdate();
    nodes->Clear();
    std::function<void(TFileContainer&, TTreeNode*)> add = [&](TFileContainer& parent, TTreeNode* parentNode) {
        for (int i = 0; i < parent.FileContainerCount(); ++i) {
            TFileContainer* child = parent.FileContainers(i);
            const std::string text = child->InheritsFrom(TInstallFileGroup::StaticClass())
                                         ? static_cast<TInstallFileGroup*>(child)->GroupName()
                                         : child->Name();
            TTreeNode* node = nodes->AddChildObject(parentNode, text, child);
            node->SetStateIndex(GroupSelected(*child) ? kStateSelected : kStateNotSelected);
            add(*child, node);
        }
    };
    add(*container, nullptr);
    nodes->EndUpdate();
    TTreeNode* top = nodes->GetFirstNode();
    FCurrentGroup = top ? static_cast<TFileContainer*>(top->Data()) : nullptr;
    if (top) tree->SetSelected(top);
}

void TdlgFG::ShowCurrentGroup() {
    if (!FCurrentGroup) return;
    FormPart<TLabel>(*this, "SpaceRequiredLabel")->SetCaption(SizeFigure(PageContainer()->FileBytes(false) + kSpareBytes));
    TEdit* directory = FormPart<TEdit>(*this, "DirectoryLabel");
    directory->SetText(InstallRoot() ? InstallRoot()->DestDir() : std::string());
    FormPart<TLabel>(*this, "SpaceAvailableLabel")->SetCaption(FreeSpaceFigure(directory->Text()));
    auto* group = dynamic_cast<TInstallFileGroup*>(FCurrentGroup);
    FormPart<TControl>(*this, "BrowseBtn")->SetEnabled(!group || group->AllowChangeDir());
    if (group) FormPart<TMemo>(*this, "DescriptionMemo")->SetLines(*group->Description());
    TTreeView* tree = FormPart<TTreeView>(*this, "GroupListBox");
    tree->Invalidate();
    FormPart<TControl>(*this, "ToggleBtn")->SetEnabled(!group || group->AllowChoice());
    if (TTreeNode* node = tree->Selected()) node->SetStateIndex(GroupSelected(*FCurrentGroup) ? kStateSelected : kStateNotSelected);
}

void TdlgFG::GroupListBoxClick(TObject*) {
    if (TTreeNode* node = FormPart<TTreeView>(*this, "GroupListBox")->Selected()) {
        FCurrentGroup = static_cast<TFileContainer*>(node->Data());
        ShowCurrentGroup();
    }
}

void TdlgFG::ToggleBtnClick(TObject*) {
    TTreeView* tree = FormPart<TTreeView>(*this, "GroupListBox");
    if (tree->CanFocus()) tree->SetFocus();
    if (!FCurrentGroup) return;
    SelectGroup(*FCurrentGroup, !GroupSelected(*FCurrentGroup));
    ShowCurrentGroup();
}

void TdlgFG::BrowseBtnClick(TObject*) {
    TEdit* directory = FormPart<TEdit>(*this, "DirectoryLabel");
    const std::string typed = directory->Text();
    // The picker opens in the deepest directory of the field that exists.
    std::string start = typed.empty() ? std::string("c:\\") : AddBackslash(typed);
    os::IPlatform& platform = os::Current();
    while (!start.empty() && !platform.DirectoryExists(start)) start.pop_back();
    if (start.find('\\') != std::string::npos)
        while (!start.empty() && start.back() != '\\') start.pop_back();
    if (start.size() > 3) start.pop_back();
    if (start.empty()) start = "c:\\";

    TSelectDirectoryDlg* picker = dynamic_cast<THebdlgFG*>(this) ? new THebSelectDirectoryDlg(Application())
                                                                 : new TSelectDirectoryDlg(Application());
    try {
        const char drive = IsDriveLetter(typed.empty() ? 'x' : typed[0]) ? typed[0] : start[0];
        picker->DriveComboBox()->SetDrive(static_cast<char>(std::tolower(static_cast<unsigned char>(drive))));
        picker->DirectoriesListBox()->SetDirectory(start);
        picker->DirectoriesListBox()->SetDrive(picker->DriveComboBox()->Drive());
        picker->DestinationDirectory()->SetText(typed);
        if (picker->ShowModal() == mrOk) {
            directory->SetText(picker->DestinationDirectory()->Text());
            FormPart<TLabel>(*this, "SpaceAvailableLabel")->SetCaption(FreeSpaceFigure(directory->Text()));
        }
    } catch (...) {
        picker->Free();
        throw;
    }
    picker->Free();
}

void TdlgFG::InstallBtnClick(TObject* sender) {
    if (Dialog()) Dialog()->InstallClick(sender);
}

void TdlgFG::RefuseDirectory() {
    os::Current().MessageBeep(kBeepHand);
    Notice(LocalisedString(1260), LocalisedString(1240), TMsgDlgType::mtError, 0);
    TEdit* directory = FormPart<TEdit>(*this, "DirectoryLabel");
    if (directory->CanFocus()) directory->SetFocus();
}

bool TdlgFG::AcceptDirectory(const std::string& dir) {
    if (!IsDestinationPath(dir)) {
        RefuseDirectory();
        return false;
    }
    if ((AddBackslash(dir) + kDeepestProductPath).size() > 259) {
        Notice(LocalisedString(30060), LocalisedString(30080), TMsgDlgType::mtConfirmation, 0);
        return false;
    }
    std::uint64_t freeBytes = 0, totalBytes = 0;
    const std::string drive = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(dir[0])))) + ":\\";
    const bool known = os::Current().GetDiskFreeSpace(drive, freeBytes, totalBytes);
    if (!known || static_cast<std::int64_t>(freeBytes) < PageContainer()->FileBytes(false) + kSpareBytes) {
        os::Current().MessageBeep(kBeepHand);
        Notice(LocalisedString(1080), LocalisedString(1060), TMsgDlgType::mtError, 0);
        return false;
    }
    return true;
}

void TdlgFG::ProceedBtnClick(TObject* sender) {
    SetupState().UpdateInstall = false;
    const std::string dir = FormPart<TEdit>(*this, "DirectoryLabel")->Text();
    if (!AcceptDirectory(dir)) return;
    // Old product data is removed from the directory chosen: never a root or a directory of
    // the system.
    if (IsProtectedDirectory(dir)) {
        RefuseDirectory();
        return;
    }
    os::IPlatform& platform = os::Current();
    if (platform.DirectoryExists(dir)) {
        bool removeOld = false;
        if (SetupRoutines::DatabaseExists(dir)) {
            Hide();
            Application()->ProcessMessages();
            const int answer = InstallTypeQuestion() ? InstallTypeQuestion()(dir) : 0;
            if (answer == mrCancel) {
                // The user left setup from the question: the page ends as cancelled.
                AllowClose();
                SetModalResult(mrCancel);
                return;
            }
            if (answer == mrYes) {
                removeOld = true;
            } else if (answer == mrNo) {
                // The user's data stays: the product's database is not installed over it.
                SetupState().UpdateInstall = true;
                for (TInstallContainer* c : InstallComponents())
                    if (auto* file = dynamic_cast<TInstallFile*>(c); file && SameText(file->DestName(), "document.mdb")) {
                        file->Free();
                        break;
                    }
            }
        } else {
            platform.MessageBeep(kBeepExclamation);
            if (Question(LocalisedString(1180) + "\r\n\r\n" + LocalisedString(1200), LocalisedString(1160),
                         TMsgDlgType::mtConfirmation, 0) == mrNo)
                return;
            Hide();
            Application()->ProcessMessages();
            removeOld = true;
        }
        if (removeOld) {
            TNotifyProgressDlg* notice = ShowNotifyProgress(1220);
            Application()->ProcessMessages();
            SetupRoutines::RemoveOldDatabases(dir);
            notice->Free();
            Application()->ProcessMessages();
        }
    }
    if (TInstall* root = InstallRoot()) {
        root->SetDestDirType(TPathSpecifiers::ddAbsolute);
        root->SetDestDir(dir);
    }
    if (TComponent* main = Dialog() ? Dialog()->Owner() : nullptr)
        if (auto* registry = dynamic_cast<TInstallRegistry*>(main->FindComponent("InstallRegistry1")))
            registry->Entries()->SetValue("InstallDir", SetupRoutines::LiteralEntryText(dir));
    TPageForm::ProceedBtnClick(sender);
}
