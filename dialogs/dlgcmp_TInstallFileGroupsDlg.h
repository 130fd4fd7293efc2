// The component selection page a file container (the install root) shows before it installs
// its groups: the groups with the one highlighted, the destination directory with Browse,
// the space required and available, and a Proceed that checks the directory (a usable
// path, its length, the free space, an earlier installation there) and makes it the
// installation directory. As this product designs it, the group list is hidden and the page
// reads as the destination directory page. With its Hebrew twin.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/dlgcmp_TWelcomeDlg.h"

class TFileContainer;

// The question the page asks when the chosen directory holds the product's database: 6 to
// install over the existing applications, 7 to keep them, 2 when the user left setup there;
// 0 when nothing was asked. The application registers it; without one the page asks nothing.
using TInstallTypeQuestion = std::function<int(const std::string& dir)>;
void SetInstallTypeQuestion(TInstallTypeQuestion question);

// What every installation needs beyond its files.
constexpr std::int64_t kSpareBytes = 15'728'640;
// The longest relative path the product makes below its directory; the directory must leave
// room for it within the 259 characters of a path.
inline const std::string kDeepestProductPath = "Data\\Html\\Help\\Page\\index.htm";

// "1,234,567 bytes": commas every three digits from the right, whatever the locale, and
// the localised word.
std::string SizeFigure(std::int64_t bytes);
// The free space of the drive a path starts with, as a size figure ("-1 bytes" when the
// drive cannot be read); empty when the path names no drive.
std::string FreeSpaceFigure(const std::string& path);
// An absolute path with a drive letter that a directory can have.
bool IsDestinationPath(const std::string& path);
// Selected for installation: included, and meant for the type chosen.
bool GroupSelected(const TInstallContainer& group);
// What the page's toggle does to a group.
void SelectGroup(TInstallContainer& group, bool selected);
// A place the product's old data must never be removed from: a drive root, the Windows,
// system or program-files directory.
bool IsProtectedDirectory(const std::string& path);

class TInstallFileGroupsDlg : public TStagePageDlg {
    RT_CLASS(TInstallFileGroupsDlg, TStagePageDlg)
public:
    explicit TInstallFileGroupsDlg(rt::TComponent* owner);
    bool ShowDialog() override;

protected:
    void Loaded() override;
};

BREV_HEBREW_TWIN(THebInstallFileGroupsDlg, TInstallFileGroupsDlg)

class TdlgFG : public TPageForm {
    RT_CLASS(TdlgFG, TPageForm)
public:
    explicit TdlgFG(rt::TComponent* owner) : TPageForm(owner) { LoadPage("dlgFG.dfm", 631, 338); }

    // The groups of the page's container as a tree, the first one current.
    void FillGroupTree();
    // The current group's figures, directory and description.
    void ShowCurrentGroup();
    TFileContainer* CurrentGroup() const { return FCurrentGroup; }

    void GroupListBoxClick(rt::TObject* sender);
    void ToggleBtnClick(rt::TObject* sender);
    void BrowseBtnClick(rt::TObject* sender);
    void InstallBtnClick(rt::TObject* sender);
    void ProceedBtnClick(rt::TObject* sender) override;

protected:
    struct TNoLoad {};
    TdlgFG(rt::TComponent* owner, TNoLoad) : TPageForm(owner) {}

private:
    TFileContainer* PageContainer() const;
    // The directory refused with the notice that a directory must be chosen.
    void RefuseDirectory();
    // The checks that may keep the page open; false when one did.
    bool AcceptDirectory(const std::string& dir);
    TFileContainer* FCurrentGroup = nullptr;
};

class THebdlgFG : public TdlgFG {
    RT_CLASS(THebdlgFG, TdlgFG)
public:
    explicit THebdlgFG(rt::TComponent* owner) : TdlgFG(owner, TNoLoad{}) { LoadPage("HebdlgFG.dfm", 631, 338); }
};
