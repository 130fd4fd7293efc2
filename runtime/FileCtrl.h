// The drive list and the directory list of the destination directory picker. Both read the
// machine through os::Current(), so they list the simulated machine in tests and the real
// one in setup.exe. A drive list linked to a directory list (DirList) moves it to the drive
// the user picks.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/ListCtrls.h"

namespace rt {

enum class TTextCase { tcLowerCase, tcUpperCase };

}  // namespace rt

RT_DECLARE_ENUM(rt::TTextCase)

namespace rt {

class TDirectoryListBox;

// The drives of the machine as "c:", "d:"...: every letter whose root answers, including
// drives that are not ready (an empty floppy or CD drive). Drive is the selected letter.
// Setting Drive by code or choosing one fires OnChange; setting ItemIndex by code does not.
class TDriveComboBox : public TCustomComboBox {
    RT_CLASS(TDriveComboBox, TCustomComboBox)
public:
    explicit TDriveComboBox(TComponent* owner);

    // Lower case, or 0 when there is no drive at all.
    char Drive() const;
    void SetDrive(char letter);
    // Drive as descriptions write it ('c').
    std::string DriveText() const { return Drive() ? std::string(1, Drive()) : std::string(); }
    void SetDriveText(const std::string& v) { SetDrive(v.empty() ? '\0' : v[0]); }
    TDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TDirectoryListBox* list);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase v);
    // Lists the drives again (a drive may have come or gone).
    void UpdateDrives();

    void UserSelect(int index) override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int IndexOfDrive(char letter) const;
    TDirectoryListBox* FDirList = nullptr;
    TTextCase FTextCase = TTextCase::tcLowerCase;
    char FLoadedDrive = 0;
};

// The directory tree down to Directory (the drive's root, then each directory on the way,
// the current one selected) followed by the current directory's subdirectories, sorted.
// A double click (UserDblClick) opens a directory. Setting Directory or Drive by code, or
// opening one, fires OnChange. A directory that does not exist falls back to its nearest
// existing parent, and an unreadable drive shows its root alone.
class TDirectoryListBox : public TCustomListBox {
    RT_CLASS(TDirectoryListBox, TCustomListBox)
public:
    explicit TDirectoryListBox(TComponent* owner);

    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& path);
    // Upper case, 0 before a directory is set.
    char Drive() const;
    // Moves to the directory last shown on that drive, or its root.
    void SetDrive(char letter);
    TLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TLabel* label);
    // The full path an entry stands for.
    std::string GetItemPath(int index) const;
    int ItemLevel(int index) const;
    // Rereads the directories (the disk may have changed).
    void Update();
    void OpenCurrent();
    TNotifyEvent OnChange;

    void UserDblClick(int index) override;
    int ItemIndent(int index) const override;
    bool IndentsItems() const override { return true; }

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Move(const std::string& path, bool notify);
    void Build();
    std::string FDirectory;
    std::vector<int> FLevels;
    std::vector<std::string> FPaths;
    std::map<char, std::string> FLastOnDrive;
    TLabel* FDirLabel = nullptr;
};

}  // namespace rt
