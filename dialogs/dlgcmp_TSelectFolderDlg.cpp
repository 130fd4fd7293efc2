// The program folder page and the destination directory picker; see dlgcmp_TSelectFolderDlg.h.
#include "dialogs/dlgcmp_TSelectFolderDlg.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "dialogs/dlgcmp_TCopyFileDlg.h"
#include "engine/routines_ExpandPaths.h"
#include "platform/Platform.h"
#include "runtime/Registry.h"
#include "runtime/SysUtils.h"
#include "system/cmp_TInstallShellLink.h"
#include "system/cmp_TProgramManager.h"
#include "ui/Button3D.h"

using namespace rt;

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

bool IsProgramFolderName(const std::string& name) {
    if (SetupRoutines::IsBlank(name) || name[0] == '\\') return false;
    for (unsigned char c : name)
        if (c < 32 || std::string("<>:\"/|?*").find(static_cast<char>(c)) != std::string::npos) return false;
    // Every step of a nested name ("Brevanshaw\Tools") must be a folder of its own.
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('\\', start);
        const std::string step = Trim(name.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (step.empty() || step == "." || step == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

// ---- the program folder page ----

const TClassInfo& TSelectFolderDlg::StaticClass() {
    static const TClassInfo info = [] {
        std::vector<TPropInfo> props{
            AccessorProperty("Container", &TSelectFolderDlg::GetFolderContainer, &TSelectFolderDlg::SetFolderContainer)};
        for (TPropInfo& p : PageProps(true)) props.push_back(std::move(p));
        props.push_back(Property("OnInstallClick", &TBaseInstallDlg::OnInstallClick));
        return TClassInfo{"TSelectFolderDlg", &TStagePageDlg::StaticClass(), Factory<TSelectFolderDlg>(), std::move(props), {}};
    }();
    return info;
}

BREV_DEFINE_HEBREW_TWIN(THebSelectFolderDlg, TSelectFolderDlg)

TSelectFolderDlg::TSelectFolderDlg(TComponent* owner) : TStagePageDlg(owner, "eccSelectFolder", true) {
    for (const char* line :
         {"Select Program Folder",
          "Setup will add program icons to the Program Folder listed below. You may type a new folder name , or select from "
          "the existing Folders list. Click Proceed to continue.",
          "&Program Folders:", "&Existing Folders:", "Proceed", "Cancel"})
        DialogText()->Add(line);
    StoreOrder(60);
    // The product's main folder, if the description has made one yet; a stored Container
    // replaces this choice when the description is resolved.
    if (TShellLinkGroup* folder = FindMainFolder()) SetContainer(folder);
}

TShellLinkGroup* TSelectFolderDlg::GetFolderContainer() const {
    if (!Container()) return nullptr;
    auto* folder = dynamic_cast<TShellLinkGroup*>(Container());
    if (!folder) throw Exception("The container for " + Name() + " must be a TShellLinkGroup");
    return folder;
}

void TSelectFolderDlg::SetFolderContainer(TShellLinkGroup* value) { SetContainer(value); }

std::string TSelectFolderDlg::DefaultFolderName() const {
    TShellLinkGroup* folder = GetFolderContainer();
    if (!folder || folder->DestDirType() != TPathSpecifiers::ddProgramMenuDir) return "";
    return ExtractFileName(ExcludeTrailingBackslash(folder->DestDir()));
}

void TSelectFolderDlg::ListExistingFolders(TStrings& items) {
    items.Clear();
    const int kind = GetWindowsKind();
    if (kind == wkWindows95 || kind == wkWindowsNT) {
        const std::string menu = AddBackslash(GetProgramMenuDir());
        std::vector<os::FindData> entries;
        os::Current().FindFiles(menu + "*.*", entries);
        for (const os::FindData& e : entries)
            if ((e.Attributes & os::kAttrDirectory) && !IsDotEntry(e.Name)) items.Add(e.Name);
    } else {
        ProgramManager().GetGroups(items);
    }
}

bool TSelectFolderDlg::ShowDialog() {
    bool result = true;
    const TInstallType selected = SelectedInstallType();
    if (selected != TInstallType::itAlways && !InstallTypes().Contains(TInstallType::itAlways) &&
        !InstallTypes().Contains(selected))
        return true;
    try {
        // The copy window of this script would stand in front of the question.
        if (Owner())
            for (int i = 0; i < Owner()->ComponentCount(); ++i)
                if (auto* copy = dynamic_cast<TCopyFileDlg*>(Owner()->Components(i)); copy && copy->Script() == Script())
                    copy->CloseCopyForm();
        TdlgSF* form = Script() == TPageScript::psHebrew ? new THebdlgSF(Application()) : new TdlgSF(Application());
        std::string folderName;
        result = ShowPageForm(
            form,
            [](TPageForm& f) {
                SetPageTexts(f, {{"", 460}, {"TopDescriptionLabel", 480}, {"ProgramFolders", 500}, {"ExistingFolders", 520},
                                 {"ProceedBtn", 540}, {"CancelBtn", 560}});
            },
            [&folderName](TPageForm& f) { folderName = static_cast<TdlgSF&>(f).FolderEdit()->Text(); },
            [this](TPageForm& f) {
                auto& page = static_cast<TdlgSF&>(f);
                page.FolderEdit()->SetText(DefaultFolderName());
                TListBox* list = page.FolderListBox();
                list->Items()->Clear();
                ListExistingFolders(*list->Items());
                if (!page.FolderEdit()->Text().empty()) list->SetItemIndex(list->Items()->IndexOf(page.FolderEdit()->Text()));
                else if (list->Items()->Count() > 0) page.FolderEdit()->SetText(list->Items()->Strings(0));
            });
        // The folder is stored whatever the answer, before the run goes on or ends.
        if (TShellLinkGroup* folder = GetFolderContainer()) {
            folder->SetDestDirType(TPathSpecifiers::ddProgramMenuDir);
            folder->SetDestDir("\\" + folderName);
        }
    } catch (const EAbort&) {
    }
    return result;
}

// ---- its form ----

const TClassInfo& TdlgSF::StaticClass() {
    static const TClassInfo info{"TdlgSF", &TPageForm::StaticClass(), {}, {},
                                 {Method("FolderListBoxClick", &TdlgSF::FolderListBoxClick),
                                  Method("RemoveExistingLinks", &TdlgSF::RemoveExistingLinks)}};
    return info;
}

BREV_DEFINE_PAGE_FORM(THebdlgSF, TdlgSF)

TEdit* TdlgSF::FolderEdit() const { return FormPart<TEdit>(*this, "FolderEdit"); }
TListBox* TdlgSF::FolderListBox() const { return FormPart<TListBox>(*this, "FolderListBox"); }

void TdlgSF::FolderListBoxClick(TObject*) {
    TListBox* list = FolderListBox();
    if (list->ItemIndex() >= 0) FolderEdit()->SetText(list->Items()->Strings(list->ItemIndex()));
}

void TdlgSF::ProceedBtnClick(TObject* sender) {
    if (!IsProgramFolderName(FolderEdit()->Text())) return;
    RemoveExistingLinks(sender);
    TPageForm::ProceedBtnClick(sender);
}

void TdlgSF::RemoveExistingLinks(TObject*) {
    std::string programs;
    try {
        TRegistry reg(os::RootKey::CurrentUser);
        if (!reg.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders") ||
            !reg.ValueExists("Programs"))
            return;
        programs = reg.ReadString("Programs");
    } catch (const std::exception&) {
        return;
    }
    if (programs.empty()) return;
    const std::string folder = AddBackslash(AddBackslash(programs) + FolderEdit()->Text());
    os::IPlatform& platform = os::Current();
    if (TComponent* main = Dialog() ? Dialog()->Owner() : nullptr)
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* link = dynamic_cast<TInstallShellLink*>(main->Components(i))) platform.DeleteFile(folder + link->LinkName());
    // The product's shortcut names in every language an earlier installation may have used.
    for (int id = 40000; id < 40060; ++id) platform.DeleteFile(folder + LoadStr(id) + ".lnk");
}

// ---- the destination directory picker ----

const TClassInfo& TSelectDirectoryDlg::StaticClass() {
    using D = TSelectDirectoryDlg;
    static const TClassInfo info{"TSelectDirectoryDlg", &TDocForm::StaticClass(), {}, {},
                                 {Method("DirectoriesListBoxChange", &D::DirectoriesListBoxChange),
                                  Method("DriveComboBoxChange", &D::DriveComboBoxChange), Method("OkBtnClick", &D::OkBtnClick),
                                  Method("CancelBtnClick", &D::CancelBtnClick)}};
    return info;
}

const TClassInfo& THebSelectDirectoryDlg::StaticClass() {
    static const TClassInfo info{"THebSelectDirectoryDlg", &TSelectDirectoryDlg::StaticClass(), {}, {}, {}};
    return info;
}

void TSelectDirectoryDlg::Load(const char* description) {
    LoadDescription(description);
    FCloseAllowed = false;
    FLastGoodDrive = DriveComboBox()->ItemIndex();
    FChangingDrive = false;
    PrepareButtons3D(*this);
    // The picker always speaks the setup's language.
    SetPageTexts(*this, {{"", 920}, {"Label1", 940}, {"Label2", 960}, {"Label3", 980}, {"Label4", 1000}, {"OkBtn", 1020},
                         {"CancelBtn", 1040}});
    SetRealHeight(397);
    SetRealWidth(419);
    // The window's own close command cannot end the picker; its buttons can.
    OnCloseQuery = TEvent<TObject*, bool&>(this, [this](TObject*, bool& canClose) { canClose = FCloseAllowed; });
    DoCreate();
}

TEdit* TSelectDirectoryDlg::DestinationDirectory() const { return FormPart<TEdit>(*this, "DestinationDirectory"); }
TDirectoryListBox* TSelectDirectoryDlg::DirectoriesListBox() const {
    return FormPart<TDirectoryListBox>(*this, "DirectoriesListBox");
}
TDriveComboBox* TSelectDirectoryDlg::DriveComboBox() const { return FormPart<TDriveComboBox>(*this, "DriveComboBox"); }

void TSelectDirectoryDlg::DirectoriesListBoxChange(TObject*) {
    DestinationDirectory()->SetText(DirectoriesListBox()->Directory());
}

void TSelectDirectoryDlg::DriveComboBoxChange(TObject*) {
    if (FChangingDrive) return;
    TDriveComboBox* drives = DriveComboBox();
    char letter = drives->Drive();
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') throw EConvertError("Not a valid drive ID");
    // A drive is ready when its size can be read: an empty floppy or CD drive cannot.
    std::uint64_t freeBytes = 0, totalBytes = 0;
    if (os::Current().GetDiskFreeSpace(std::string(1, letter) + ":\\", freeBytes, totalBytes)) {
        FLastGoodDrive = drives->ItemIndex();
        DirectoriesListBox()->SetDrive(letter);
    } else {
        FChangingDrive = true;
        drives->SetItemIndex(FLastGoodDrive);
        FChangingDrive = false;
    }
}

void TSelectDirectoryDlg::OkBtnClick(TObject*) {
    FCloseAllowed = true;
    SetModalResult(mrOk);
}

void TSelectDirectoryDlg::CancelBtnClick(TObject*) {
    FCloseAllowed = true;
    SetModalResult(mrCancel);
}

void TSelectDirectoryDlg::KeyDown(std::uint16_t& key, TShiftState shift) {
    TDocForm::KeyDown(key, shift);
    PageKeys(*this, key, [this] { OkBtnClick(this); }, [this] { CancelBtnClick(this); });
}
