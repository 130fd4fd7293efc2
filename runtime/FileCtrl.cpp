// The drive list and the directory list; see FileCtrl.h.
#include "runtime/FileCtrl.h"

#include <algorithm>

#include "platform/Platform.h"

RT_DEFINE_ENUM(rt::TTextCase, "tcLowerCase", "tcUpperCase")

namespace rt {

namespace {

os::IPlatform* Machine() { return os::ScopedPlatform::TryCurrent(); }

char LowerDrive(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
char UpperDrive(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// "C:\Dir\Sub" as "C:\", "Dir", "Sub".
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    if (path.size() < 2) return parts;
    parts.push_back(path.substr(0, 2) + "\\");
    std::size_t start = 3;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& dir, const std::string& name) { return IncludeTrailingBackslash(dir) + name; }

// "c:\dir\" and "C:\Dir" both become "C:\Dir"; a root keeps its backslash.
std::string Normalise(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.size() >= 2 && path[1] == ':') path[0] = UpperDrive(path[0]);
    if (path.size() == 2 && path[1] == ':') return path + "\\";
    if (path.size() > 3) path = ExcludeTrailingBackslash(path);
    return path;
}

}  // namespace

// ---- TDriveComboBox ----

const TClassInfo& TDriveComboBox::StaticClass() {
    static const TClassInfo info{"TDriveComboBox", &TCustomComboBox::StaticClass(), Factory<TDriveComboBox>(),
                                 {AccessorProperty("Drive", &TDriveComboBox::DriveText, &TDriveComboBox::SetDriveText),
                                  AccessorProperty("DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList),
                                  AccessorProperty("TextCase", &TDriveComboBox::TextCase, &TDriveComboBox::SetTextCase)},
                                 {}};
    return info;
}

TDriveComboBox::TDriveComboBox(TComponent* owner) : TCustomComboBox(owner) {
    SetStyle(TComboBoxStyle::csDropDownList);
    UpdateDrives();
}

void TDriveComboBox::UpdateDrives() {
    const char current = Drive();
    FItems->BeginUpdate();
    FItems->Clear();
    if (os::IPlatform* m = Machine()) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            std::uint64_t freeBytes = 0, totalBytes = 0;
            const std::string root = std::string(1, letter) + ":\\";
            // A drive that is there but not ready still belongs in the list.
            if (m->GetDiskFreeSpace(root, freeBytes, totalBytes) || m->LastError() == os::kErrorNotReady) {
                const char shown = FTextCase == TTextCase::tcLowerCase ? LowerDrive(letter) : letter;
                FItems->Add(std::string(1, shown) + ":");
            }
        }
    }
    FItems->EndUpdate();
    int index = IndexOfDrive(current);
    if (index < 0 && Machine()) {
        const std::string cwd = Machine()->GetCurrentDirectory();
        if (cwd.size() >= 2 && cwd[1] == ':') index = IndexOfDrive(cwd[0]);
    }
    if (index < 0 && FItems->Count() > 0) index = 0;
    SetItemIndex(index);
}

int TDriveComboBox::IndexOfDrive(char letter) const {
    if (!letter) return -1;
    for (int i = 0; i < FItems->Count(); ++i)
        if (LowerDrive(FItems->Strings(i)[0]) == LowerDrive(letter)) return i;
    return -1;
}

char TDriveComboBox::Drive() const {
    if (ItemIndex() < 0 || ItemIndex() >= FItems->Count()) return 0;
    return LowerDrive(FItems->Strings(ItemIndex())[0]);
}

void TDriveComboBox::SetDrive(char letter) {
    if (IsLoading()) {
        FLoadedDrive = letter;
        return;
    }
    const int index = IndexOfDrive(letter);
    if (index < 0 || index == ItemIndex()) return;
    SetItemIndex(index);
    if (FDirList) FDirList->SetDrive(Drive());
    Change();
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    FDirList = list;
    if (list) list->FreeNotification(this);
}

void TDriveComboBox::SetTextCase(TTextCase v) {
    if (v == FTextCase) return;
    FTextCase = v;
    UpdateDrives();
}

void TDriveComboBox::UserSelect(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    SetItemIndex(index);
    Click();
    if (FDirList) FDirList->SetDrive(Drive());
    Change();
}

void TDriveComboBox::Loaded() {
    TCustomComboBox::Loaded();
    if (FLoadedDrive) {
        const int index = IndexOfDrive(FLoadedDrive);
        if (index >= 0) SetItemIndex(index);
    }
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FDirList) FDirList = nullptr;
}

// ---- TDirectoryListBox ----

const TClassInfo& TDirectoryListBox::StaticClass() {
    static const TClassInfo info{
        "TDirectoryListBox", &TCustomListBox::StaticClass(), Factory<TDirectoryListBox>(),
        {AccessorProperty("Directory", &TDirectoryListBox::Directory, &TDirectoryListBox::SetDirectory),
         AccessorProperty("DirLabel", &TDirectoryListBox::DirLabel, &TDirectoryListBox::SetDirLabel),
         Property("OnChange", &TDirectoryListBox::OnChange)},
        {}};
    return info;
}

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TCustomListBox(owner) {
    SetBounds(0, 0, 145, 97);
    if (os::IPlatform* m = Machine()) {
        FDirectory = Normalise(m->GetCurrentDirectory());
        Build();
    }
}

char TDirectoryListBox::Drive() const { return FDirectory.empty() ? 0 : UpperDrive(FDirectory[0]); }

void TDirectoryListBox::SetDirectory(const std::string& path) {
    if (IsLoading()) {
        if (path.size() >= 2 && path[1] == ':') FDirectory = Normalise(path);
        return;
    }
    Move(path, true);
}

void TDirectoryListBox::Move(const std::string& path, bool notify) {
    if (path.size() < 2 || path[1] != ':') return;
    std::string dir = Normalise(path);
    if (os::IPlatform* m = Machine())
        while (dir.size() > 3 && !m->DirectoryExists(dir)) dir = Normalise(ExtractFilePath(dir));
    if (SameText(dir, FDirectory) && FItems->Count() > 0) return;
    FDirectory = dir;
    Build();
    if (notify) OnChange(this);
}

void TDirectoryListBox::SetDrive(char letter) {
    letter = UpperDrive(letter);
    if (letter < 'A' || letter > 'Z' || letter == Drive()) return;
    const auto it = FLastOnDrive.find(letter);
    SetDirectory(it != FLastOnDrive.end() ? it->second : std::string(1, letter) + ":\\");
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
    FDirLabel = label;
    if (label) {
        label->FreeNotification(this);
        if (!IsLoading()) label->SetCaption(FDirectory);
    }
}

void TDirectoryListBox::Build() {
    if (Drive()) FLastOnDrive[Drive()] = FDirectory;
    std::vector<std::string> texts;
    FLevels.clear();
    FPaths.clear();
    const auto parts = PathParts(FDirectory);
    std::string path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path = i == 0 ? parts[0] : Join(path, parts[i]);
        texts.push_back(parts[i]);
        FLevels.push_back(static_cast<int>(i));
        FPaths.push_back(path);
    }
    std::vector<std::string> subdirs;
    std::vector<os::FindData> found;
    if (os::IPlatform* m = Machine(); m && !FDirectory.empty() && m->FindFiles(Join(FDirectory, "*"), found)) {
        for (const auto& f : found) {
            if (!(f.Attributes & os::kAttrDirectory) || f.Name == "." || f.Name == "..") continue;
            if (f.Attributes & (os::kAttrHidden | os::kAttrSystem)) continue;
            subdirs.push_back(f.Name);
        }
    }
    std::sort(subdirs.begin(), subdirs.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const auto& name : subdirs) {
        texts.push_back(name);
        FLevels.push_back(static_cast<int>(parts.size()));
        FPaths.push_back(Join(FDirectory, name));
    }
    FItems->SetLines(texts);
    SetItemIndex(parts.empty() ? -1 : static_cast<int>(parts.size()) - 1);
    if (FDirLabel) FDirLabel->SetCaption(FDirectory);
}

void TDirectoryListBox::Update() { Build(); }

std::string TDirectoryListBox::GetItemPath(int index) const {
    return index >= 0 && index < static_cast<int>(FPaths.size()) ? FPaths[static_cast<std::size_t>(index)] : std::string();
}

int TDirectoryListBox::ItemLevel(int index) const {
    return index >= 0 && index < static_cast<int>(FLevels.size()) ? FLevels[static_cast<std::size_t>(index)] : 0;
}

int TDirectoryListBox::ItemIndent(int index) const { return ItemLevel(index) * 8; }

void TDirectoryListBox::OpenCurrent() {
    const std::string path = GetItemPath(ItemIndex());
    if (!path.empty()) SetDirectory(path);
}

void TDirectoryListBox::UserDblClick(int index) {
    if (!Enabled() || index < 0 || index >= FItems->Count()) return;
    UserSelect(index);
    OpenCurrent();
    DblClick();
}

void TDirectoryListBox::Loaded() {
    TCustomListBox::Loaded();
    const std::string wanted = FDirectory;
    FDirectory.clear();
    if (!wanted.empty()) {
        Move(wanted, false);
    } else if (os::IPlatform* m = Machine()) {
        FDirectory = Normalise(m->GetCurrentDirectory());
        Build();
    }
    if (FDirLabel) FDirLabel->SetCaption(FDirectory);
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TCustomListBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FDirLabel) FDirLabel = nullptr;
}

}  // namespace rt
