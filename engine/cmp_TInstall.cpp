// The install root; see cmp_TInstall.h.
#include "engine/cmp_TInstall.h"

#include "engine/routines_Registry.h"
#include "runtime/Forms.h"

const rt::TClassInfo& TInstallInformation::StaticClass() {
    using I = TInstallInformation;
    static const rt::TClassInfo info{"TInstallInformation", &rt::TPersistent::StaticClass(), {},
                                     {rt::AccessorProperty("CompanyName", &I::CompanyName, &I::SetCompanyName),
                                      rt::AccessorProperty("ProductName", &I::ProductName, &I::SetProductName),
                                      rt::AccessorProperty("Version", &I::Version, &I::SetVersion)},
                                     {}};
    return info;
}

void TInstallInformation::Assign(const rt::TPersistent& source) {
    if (!source.InheritsFrom(StaticClass())) return rt::TPersistent::Assign(source);
    const auto& other = static_cast<const TInstallInformation&>(source);
    FCompanyName = other.FCompanyName;
    FProductName = other.FProductName;
    FVersion = other.FVersion;
}

const rt::TClassInfo& TInstall::StaticClass() {
    static const rt::TClassInfo info = [] {
        using I = TInstall;
        std::vector<rt::TPropInfo> props = ContainerProps();
        for (auto& p : std::vector<rt::TPropInfo>{
                 rt::AccessorProperty("AutoMaximizeWindow", &I::AutoMaximizeWindow, &I::SetAutoMaximizeWindow),
                 rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
                 rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
                 rt::ObjectProperty("Information", &I::InformationObject),
                 rt::StringsProperty("InstallOrder", &TInstallContainer::InstallOrder, &TInstallContainer::SetInstallOrder),
                 rt::StringsProperty("PresetupFiles", &I::PresetupFiles, &I::SetPresetupFiles),
                 rt::AccessorProperty("RunAutomatic", &I::RunAutomatic, &I::SetRunAutomatic),
                 rt::AccessorProperty("UseLoadingProgram", &I::UseLoadingProgram, &I::SetUseLoadingProgram),
                 rt::Property("OnAfterReadArchiveInfo", &I::OnAfterReadArchiveInfo),
                 rt::Property("OnBeforeReadArchiveInfo", &I::OnBeforeReadArchiveInfo),
                 rt::Property("OnShowBadInstall", &I::OnShowBadInstall), rt::Property("OnShowGoodInstall", &I::OnShowGoodInstall),
                 rt::Property("OnStartInstall", &I::OnStartInstall), rt::Property("OnBeforeTerminateApp", &I::OnBeforeTerminateApp),
                 rt::Property("OnUserAbort", &I::OnUserAbort), rt::Property("OnCleanup", &I::OnCleanup),
                 rt::Property("OnRebootWindows", &I::OnRebootWindows),
                 rt::Property("OnShowInstallTypeDlg", &TInstallContainer::OnShowInstallTypeDlg)})
            props.push_back(std::move(p));
        return rt::TClassInfo{"TInstall", &TFileContainer::StaticClass(), rt::Factory<TInstall>(), std::move(props), {}};
    }();
    return info;
}

TInstall::TInstall(rt::TComponent* owner)
    : TFileContainer(owner), FInformation(new TInstallInformation), FPresetupFiles(new rt::TStringList) {
    // The rules are checked before this becomes the root; a throw here unwinds the bases,
    // which take the half-made component out of its owner and the registry again.
    auto release = [this] {
        delete FInformation;
        delete FPresetupFiles;
    };
    if (InstallRoot()) {
        release();
        throw EAITwoInstallComponents();
    }
    if (!owner || !owner->InheritsFrom(rt::TCustomForm::StaticClass())) {
        release();
        throw EAIParentNotForm(this);
    }
    SetInstallRoot(this);
    SetDestDir("\\MyApplication");
    StoreDestDirType(TPathSpecifiers::ddProgramFilesDir);
    TFileRelated::SetArchiveFile("\\files.1");
    TFileRelated::SetArchiveFileType(TPathSpecifiers::ddLoading);
}

TInstall::~TInstall() {
    if (InstallRoot() == this) SetInstallRoot(nullptr);
    delete FInformation;
    delete FPresetupFiles;
}

void TInstall::SetPresetupFiles(const rt::TStrings& v) {
    FPresetupFiles->BeginUpdate();
    FPresetupFiles->Clear();
    for (int i = 0; i < v.Count(); ++i)
        if (!rt::Trim(v.Strings(i)).empty()) FPresetupFiles->Add(v.Strings(i));
    FPresetupFiles->EndUpdate();
}

void TInstall::SetUseLoadingProgram(bool v) {
    FUseLoadingProgram = v;
    if (v && !IsLoading()) {
        SetArchiveFileType(TPathSpecifiers::ddLoading);
        SetArchiveFile("\\files.1");
    }
}

bool TInstall::UserAbortQuery() {
    bool quitOut = true;
    OnUserAbort(this, quitOut);
    return quitOut;
}

void TInstall::AddUnfinishedEntry(const std::string& subject, int action) {
    WriteRegistryString(TRootKeys::hkLocalMachine, kUnfinishedInstallKey, subject, rt::IntToStr(action));
}
