// The add-on page; see dlg_InstallDll.h.
#include "app/dlg_InstallDll.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "app/frmCopyFileUnit.h"
#include "engine/SetupLog.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "runtime/StdCtrls.h"
#include "system/cmp_TProgramManager.h"

using namespace rt;

namespace {

const char* const kOfficeAgent = "Brevanshaw Office Add-On Agent.lnk";
const char* const kWindowsAgent = "Brevanshaw Windows Add-On Agent.lnk";

}  // namespace

std::string ShortSystemDir() {
    const std::string shortName = os::Current().GetShortPathName(SystemDir());
    return AddBackslash(shortName.empty() ? SystemDir() : shortName);
}

bool StageAddOnReplacement(const std::string& sys) {
    os::IPlatform& platform = os::Current();
    const std::string staged = sys + "COMDLG32.1", live = sys + "COMDLG32.DLL", kept = sys + "COMDLGOL.DLL";
    if (!platform.FileExists(staged)) return false;
    // Only the add-on exports this: installed once already, it is simply replaced.
    const bool addOnIsLive = platform.LibraryExports(live, "ComDlgVerInfo");
    const int kind = GetWindowsKind();
    // The uninstaller puts the system's own library back at the next restart; a copy that
    // never went live is simply deleted.
    AddUninstallFileEntry(UninstallRecordKey(), staged);
    if (!addOnIsLive && (kind == wkWindows95 || kind == wkWindowsNT || kind == wkWindowsNT35))
        AddUninstallItem(kUninstallRestore, kept + ";" + live);
    if (kind == wkWindows95) {
        const std::string wininit = AddBackslash(WindowsDir()) + "WinInit.Ini";
        if (!addOnIsLive) platform.WriteProfileString(wininit, "Rename", kept, live);
        platform.WriteProfileString(wininit, "Rename", live, staged);
        LogLine("Add-on " + staged + " replaces " + live + " at the restart (WinInit.Ini)");
        return true;
    }
    if (kind == wkWindowsNT || kind == wkWindowsNT35) {
        if (!addOnIsLive) {
            platform.MoveFileAtRestart(kept, "");
            platform.MoveFileAtRestart(live, kept);
        }
        platform.MoveFileAtRestart(live, "");
        platform.MoveFileAtRestart(staged, live);
        LogLine("Add-on " + staged + " replaces " + live + " at the restart");
        return true;
    }
    return false;
}

const TClassInfo& TfrmInstallDll::StaticClass() {
    using F = TfrmInstallDll;
    static const TClassInfo info{"TfrmInstallDll", &TProductPage::StaticClass(), {}, {},
                                 {Method("OptionLabelClick", &F::OptionLabelClick), Method("ProceedBtnClick", &F::ProceedBtnClick)}};
    return info;
}

TfrmInstallDll::TfrmInstallDll(TComponent* owner) : TProductPage(owner) {
    LoadProductPage("frmInstallDll.dfm", 714, 561);
    SetPageTexts(*this, {{"", 1800}, {"Label1", 1820}, {"Label2", 1840}, {"Label3", 1860}, {"Label4", 1880}, {"Label5", 1900},
                         {"Label6", 1920}, {"Label7", 1940}, {"Label8", 1960}, {"ProceedBtn", 1980}, {"CancelBtn", 2000}});
    DoCreate();
}

void TfrmInstallDll::OptionLabelClick(TObject* sender) {
    FormPart<TRadioButton>(*this, sender == FindComponent("Label8") ? "optDontInstall" : "optInstall")->SetChecked(true);
}

void TfrmInstallDll::ProceedBtnClick(TObject*) {
    os::IPlatform& platform = os::Current();
    const TCursor saved = Cursor();
    SetCursor(crHourGlass);
    const std::string startup = AddBackslash(GetStartUpDir());
    platform.DeleteFile(startup + kOfficeAgent);
    if (FormPart<TRadioButton>(*this, "optDontInstall")->Checked()) {
        platform.DeleteFile(startup + kWindowsAgent);
        SetCursor(saved);
        SetModalResult(mrNo);
        return;
    }
    const std::string sys = ShortSystemDir();
    // A copy left from an earlier attempt must not be staged in place of this one.
    platform.DeleteFile(sys + "COMDLG32.1");
    auto* copy = new TfrmFileCopy(Application());
    try {
        copy->Start();
        Hide();
        copy->CopyFileWithProgress(AddBackslash(InstallRoot() ? InstallRoot()->DestDir() : std::string()) + "KALADDON.DLL",
                                   sys + "COMDLG32.1");
    } catch (const Exception&) {
        // Nothing staged: the installation goes on without the add-on.
    }
    copy->Free();
    SetCursor(saved);
    SetModalResult(StageAddOnReplacement(sys) ? mrYes : mrNo);
}
