// The application page; see dlg_SelectBrevanshawApplication.h.
#include "app/dlg_SelectBrevanshawApplication.h"

#include "app/SetupRoutines.h"
#include "app/StringTable.h"
#include "app/frmCopyFileUnit.h"
#include "engine/InstallErrors.h"
#include "engine/SetupLog.h"
#include "engine/SetupState.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "runtime/ComCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"
#include "runtime/SysUtils.h"
#include "system/cmp_TInstallRegistry.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {

constexpr int kGap = 30;  // between the two default applications

[[noreturn]] void CatalogueRefused(int caption, int text) {
    Notice(LocalisedString(text), LocalisedString(caption), TMsgDlgType::mtError, 0);
    throw EAIUserAbort();
}

std::string WithBackslash(std::string path) {
    SetupRoutines::AddBackslash(path);
    return path;
}

// A file that holds a profile in UTF-16, so that names in any language keep their letters.
void StartUnicodeProfile(const std::string& path) {
    os::IPlatform& platform = os::Current();
    if (platform.FileExists(path)) return;
    if (auto file = platform.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateNew, os::Share::None))
        file->Write("\xFF\xFE", 2);
}

}  // namespace

std::vector<TCatalogueTab> ReadCatalogue(const std::string& dir, int language) {
    os::IPlatform& platform = os::Current();
    const std::string file = WithBackslash(dir) + "APPS" + IntToStr(language) + ".INI";
    if (!platform.FileExists(file)) CatalogueRefused(1360, 1380);
    auto number = [&](const std::string& section, const std::string& key) {
        int value = 0;
        return TryStrToInt(Trim(platform.GetProfileString(file, section, key, "0")), value) ? value : 0;
    };
    const int tabs = number("Tabs", "NumOfTabs");
    if (tabs <= 0) CatalogueRefused(1400, 1420);
    std::vector<TCatalogueTab> result;
    for (int i = 1; i <= tabs; ++i) {
        TCatalogueTab tab;
        tab.Caption = platform.GetProfileString(file, "Tabs", "Tab" + IntToStr(i), "");
        // A tab without a caption is left out; the others keep their own sections.
        if (tab.Caption.empty()) continue;
        const std::string section = "Tab" + IntToStr(i);
        const int apps = number(section, "NumOfApps");
        if (apps <= 0) CatalogueRefused(1400, 1420);
        for (int j = 1; j <= apps; ++j) {
            std::string name = platform.GetProfileString(file, section, "App" + IntToStr(j) + "Name", "");
            if (name.empty()) CatalogueRefused(1400, 1420);
            tab.Apps.push_back(std::move(name));
        }
        result.push_back(std::move(tab));
    }
    if (result.empty()) CatalogueRefused(1400, 1420);
    return result;
}

const TClassInfo& TfrmSelectBrevanshawApplication::StaticClass() {
    using F = TfrmSelectBrevanshawApplication;
    static const TClassInfo info{"TfrmSelectBrevanshawApplication", &TProductPage::StaticClass(), {}, {},
                                 {Method("TabControl1Change", &F::TabControl1Change), Method("DefaultAppClick", &F::DefaultAppClick),
                                  Method("InstallBtnClick", &F::InstallBtnClick)}};
    return info;
}

TfrmSelectBrevanshawApplication::TfrmSelectBrevanshawApplication(TComponent* owner) : TProductPage(owner) {
    LoadProductPage("frmSelectBrevanshawApplication.dfm", 686, 543);
    SetPageTexts(*this, {{"", 1520}, {"Label1", 1540}, {"Label2", 1560}, {"Label3", 1580}, {"Label4", 30600}, {"Label5", 1620},
                         {"lblApp1", 30560}, {"lblApp2", 30580}, {"InstallBtn", 1640}, {"CancelBtn", 1680}});
    FTabs = ReadCatalogue(InstallRoot() ? InstallRoot()->DestDir() : std::string(), SetupState().LanguageIndex);
    TTabControl* tabs = FormPart<TTabControl>(*this, "TabControl1");
    for (const TCatalogueTab& tab : FTabs) tabs->Tabs()->Add(tab.Caption);
    tabs->SetTabIndex(0);
    TabControl1Change(tabs);
    LayOutDefaultApps();
    DoCreate();
}

void TfrmSelectBrevanshawApplication::LayOutDefaultApps() {
    // Button and label, a gap, button and label: centred in the window's width. A Hebrew
    // page is mirrored as a whole when it shows.
    TControl* parts[] = {FormPart<TControl>(*this, "optApp1"), FormPart<TControl>(*this, "lblApp1"),
                         FormPart<TControl>(*this, "optApp2"), FormPart<TControl>(*this, "lblApp2")};
    int total = kGap;
    for (TControl* c : parts) total += c->Width();
    int left = (ClientWidth() - total) / 2;
    for (int i = 0; i < 4; ++i) {
        parts[i]->SetLeft(left);
        left += parts[i]->Width() + (i == 1 ? kGap : 0);
    }
}

void TfrmSelectBrevanshawApplication::TabControl1Change(TObject*) {
    const int index = FormPart<TTabControl>(*this, "TabControl1")->TabIndex();
    TStrings* list = FormPart<TListBox>(*this, "AppListBox")->Items();
    list->Clear();
    if (index >= 0 && index < static_cast<int>(FTabs.size()))
        for (const std::string& name : FTabs[static_cast<std::size_t>(index)].Apps) list->Add(name);
}

void TfrmSelectBrevanshawApplication::DefaultAppClick(TObject* sender) {
    const bool second = sender == FindComponent("optApp2") || sender == FindComponent("lblApp2");
    FormPart<TRadioButton>(*this, second ? "optApp2" : "optApp1")->SetChecked(true);
    FormPart<TEdit>(*this, "AppNameEdit")->SetText(FormPart<TLabel>(*this, second ? "lblApp2" : "lblApp1")->Caption());
}

void TfrmSelectBrevanshawApplication::RecordCopy(const std::string& target) {
    // A database becomes the user's own work from its first use: the uninstaller asks first.
    if (SameText(ExtractFileExt(target), ".MDB")) AddUninstallItem(kUninstallUserData, target);
    else AddUninstallFileEntry(UninstallRecordKey(), target);
}

void TfrmSelectBrevanshawApplication::CopyTree(const std::string& from, const std::string& to) {
    os::IPlatform& platform = os::Current();
    std::vector<os::FindData> entries;
    platform.FindFiles(WithBackslash(from) + "*.*", entries);
    for (const os::FindData& e : entries) {
        if (e.Name == "." || e.Name == "..") continue;
        const std::string source = WithBackslash(from) + e.Name, target = WithBackslash(to) + e.Name;
        if (e.Attributes & os::kAttrDirectory) {
            ForceRecordedDirectories(target);
            CopyTree(source, target);
            continue;
        }
        try {
            FCopy->CopyFileWithProgress(source, target);
            RecordCopy(target);
        } catch (const Exception&) {
            Notice(LocalisedString(1340), LocalisedString(1320), TMsgDlgType::mtError, 0);
            return;
        }
    }
}

void TfrmSelectBrevanshawApplication::InstallBtnClick(TObject*) {
    os::IPlatform& platform = os::Current();
    // Both default applications are always installed.
    FormPart<TRadioButton>(*this, "optApp1")->SetChecked(true);
    FormPart<TRadioButton>(*this, "optApp2")->SetChecked(true);
    const std::string dest = WithBackslash(InstallRoot() ? InstallRoot()->DestDir() : std::string());
    std::string sourceEntry;
    if (TComponent* main = Application() ? Application()->MainForm() : nullptr)
        if (auto* registry = dynamic_cast<TInstallRegistry*>(main->FindComponent("InstallRegistry1")))
            sourceEntry = SetupRoutines::EntryLiteral(registry->Entries()->Values("SourceDir"));
    const std::string source = WithBackslash(sourceEntry) + "APPS\\DEFAULT\\";
    const std::string language = IntToStr(SetupState().LanguageIndex);
    const std::string first = SetupRoutines::StripFileNameChars(FormPart<TLabel>(*this, "lblApp1")->Caption());
    const std::string second = SetupRoutines::StripFileNameChars(FormPart<TLabel>(*this, "lblApp2")->Caption());
    ForceRecordedDirectories(dest + first);
    ForceRecordedDirectories(dest + second);

    FCopy = new TfrmFileCopy(Application());
    try {
        FCopy->SetCursor(crHourGlass);
        FCopy->Start();
        Hide();
        // A copy that fails tells the user and the next step goes on.
        auto copy = [this](const std::string& from, const std::string& to) {
            try {
                FCopy->CopyFileWithProgress(from, to);
                RecordCopy(to);
            } catch (const Exception&) {
                Notice(LocalisedString(1340), LocalisedString(1320), TMsgDlgType::mtError, 0);
            }
        };
        copy(source + "GFO\\" + language + "\\KAL1.MDB", dest + first + "\\" + first + ".MDB");
        copy(source + "GIO\\" + language + "\\KAL1.MDB", dest + second + "\\" + second + ".MDB");
        copy(dest + "BITMAPS\\BLANK.JPG", dest + "00000000.JPG");
        copy(dest + "BITMAPS\\BLANK.JPG", dest + "00000001.JPG");
        CopyTree(source + "GFO\\Data", dest + first);
        CopyTree(source + "GIO\\Data", dest + second);
    } catch (...) {
        FCopy->Free();
        FCopy = nullptr;
        throw;
    }
    FCopy->Free();
    FCopy = nullptr;

    // The product's first start finds its applications here.
    const std::string record = AddBackslash(WindowsDir()) + "KalInst.Ini";
    StartUnicodeProfile(record);
    AddUninstallFileEntry(UninstallRecordKey(), record);
    auto* apps = FormPart<TListBox>(*this, "AppListBox");
    platform.WriteProfileString(record, "InstallApp", "Name", first);
    platform.WriteProfileString(record, "InstallApp", "Tab", IntToStr(FormPart<TTabControl>(*this, "TabControl1")->TabIndex() + 1));
    platform.WriteProfileString(record, "InstallApp", "Offset", IntToStr(apps->ItemIndex() + 1));
    platform.WriteProfileString(record, "InstallApp", "Lang", language);
    platform.WriteProfileString(record, "InstallApp", "Name2", second);
    LogLine("Applications " + first + " and " + second + " recorded in " + record);
    SetModalResult(mrOk);
}
