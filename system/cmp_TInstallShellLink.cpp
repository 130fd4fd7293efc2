// Program folders and shortcuts; see cmp_TInstallShellLink.h.
#include "system/cmp_TInstallShellLink.h"

#include <memory>

#include "archive/BlockIO.h"
#include "engine/SetupLog.h"
#include "engine/cmp_TInstall.h"
#include "engine/cmp_TInstallFile.h"
#include "engine/cmp_TInstallFileGroup.h"
#include "engine/routines_ExpandPaths.h"
#include "engine/routines_Registry.h"
#include "platform/Platform.h"
#include "system/cmp_TProgramManager.h"
#include "system/cmp_TUninstallEXE.h"

RT_DEFINE_ENUM(TShellGroupKind, "gkCustom", "gkMainFolder", "gkMainSubFolder")
RT_DEFINE_ENUM(TShellLinkKind, "lkCustom", "lkMainExecutable", "lkLinkToSubFolder", "lkLinkInSubFolder", "lkLinkInMainFolder")
RT_DEFINE_ENUM(TMethodType, "mtAutoDetect", "mtShellLinkInterface", "mtProgramManager")

using enum TShellGroupKind;
using enum TShellLinkKind;
using enum TPathSpecifiers;

namespace {

template <class C, class Match>
C* FindLast(Match match) {
    const auto& all = InstallComponents();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->InheritsFrom(C::StaticClass()) && match(*static_cast<C*>(*it))) return static_cast<C*>(*it);
    return nullptr;
}

template <class C>
std::vector<C*> AllOf() {
    std::vector<C*> found;
    for (TInstallContainer* c : InstallComponents())
        if (c->InheritsFrom(C::StaticClass())) found.push_back(static_cast<C*>(c));
    return found;
}

TShellLinkGroup* AsFolder(TInstallContainer* c) {
    return c && c->InheritsFrom(TShellLinkGroup::StaticClass()) ? static_cast<TShellLinkGroup*>(c) : nullptr;
}

bool IsFile(const TInstallContainer* c) { return c && c->InheritsFrom(TInstallFile::StaticClass()); }

// The folder a shortcut starts in: the target's folder without its backslash, except a
// drive's root, where "C:" alone would mean the drive's current folder.
std::string TargetFolder(const std::string& target) {
    const std::string folder = rt::ExtractFilePath(target);
    if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') return folder;
    return RemoveBackslash(folder);
}

// Built by appending: GCC 12 warns wrongly about "\"" + text at some optimisation levels.
std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

bool IsUninstaller(const TInstallContainer& c) { return c.InheritsFrom(TUninstallEXE::StaticClass()); }

void RequireRoot() {
    if (!InstallRoot()) throw rt::Exception("Must first have a TInstall component");
}

}  // namespace

TShellLinkGroup* FindMainFolder() {
    return FindLast<TShellLinkGroup>([](const TShellLinkGroup& g) { return g.GroupKind() == gkMainFolder; });
}
TShellLinkGroup* FindMainSubFolder() {
    return FindLast<TShellLinkGroup>([](const TShellLinkGroup& g) { return g.GroupKind() == gkMainSubFolder; });
}
TInstallShellLink* FindMainExecutableLink() {
    return FindLast<TInstallShellLink>([](const TInstallShellLink& l) { return l.LinkKind() == lkMainExecutable; });
}
TInstallShellLink* FindLinkToSubFolder() {
    return FindLast<TInstallShellLink>([](const TInstallShellLink& l) { return l.LinkKind() == lkLinkToSubFolder; });
}

void RegisterShellLinkClasses() {
    rt::RegisterClasses({&TShellLinkGroup::StaticClass(), &TInstallShellLink::StaticClass()});
    SetStartupItemRemover([](const std::string& item) {
        ProgramManager().SelectGroup("Startup");
        ProgramManager().DeleteItem(item);
    });
}

// ---- TShellLinkGroup ----

const rt::TClassInfo& TShellLinkGroup::StaticClass() {
    using G = TShellLinkGroup;
    static const rt::TClassInfo info{
        "TShellLinkGroup", &TBaseHelperComponent::StaticClass(), rt::Factory<TShellLinkGroup>(),
        {rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
         rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
         rt::AccessorProperty("Include", &TInstallContainer::Include, &TInstallContainer::SetInclude),
         rt::AccessorProperty("GroupKind", &G::GroupKind, &G::SetGroupKind),
         rt::Property("OnBeforeProcess", &TInstallContainer::OnBeforeProcess),
         rt::Property("OnAfterProcess", &TInstallContainer::OnAfterProcess)},
        {}};
    return info;
}

TShellLinkGroup::TShellLinkGroup(rt::TComponent* owner) : TBaseHelperComponent(owner) {
    SetOrdered(true);
    SetOrderNumber(kOrderProgramFolder);
}

void TShellLinkGroup::SetContainer(TInstallContainer* value) {
    TBaseHelperComponent::SetContainer(value);
    if (IsLoading()) return;
    // Only a folder of the root can be the main folder or the main sub-folder.
    if ((!InstallRoot() || value != InstallRoot()) && FGroupKind != gkCustom) SetGroupKind(gkCustom);
}

void TShellLinkGroup::SetDestDirType(TPathSpecifiers value) {
    if (!IsLoading()) {
        if (FGroupKind == gkMainFolder) value = ddProgramMenuDir;
        else if (FGroupKind == gkMainSubFolder) value = ddContainerDestDir;
    }
    TBaseHelperComponent::SetDestDirType(value);
}

void TShellLinkGroup::SetGroupKind(TShellGroupKind value) {
    if (IsLoading()) {
        FGroupKind = value;
        return;
    }
    const TShellGroupKind old = FGroupKind;
    switch (value) {
    case gkCustom:
        FGroupKind = gkCustom;
        if (old == gkMainFolder) {
            if (TInstallShellLink* link = FindMainExecutableLink()) link->FLinkKind = lkCustom;
            if (TInstallShellLink* link = FindLinkToSubFolder()) link->FLinkKind = lkCustom;
        } else if (old == gkMainSubFolder) {
            if (TInstallShellLink* link = FindLinkToSubFolder()) link->FLinkKind = lkCustom;
            for (TInstallShellLink* link : AllOf<TInstallShellLink>())
                if (link->FLinkKind == lkLinkInSubFolder) link->FLinkKind = lkCustom;
        }
        return;
    case gkMainFolder: {
        RequireRoot();
        // The previous main folder steps down without its rules: its special shortcuts are
        // about to move here and keep their kinds.
        if (TShellLinkGroup* previous = FindMainFolder(); previous && previous != this) previous->FGroupKind = gkCustom;
        FGroupKind = gkMainFolder;
        for (TInstallShellLink* link : {FindMainExecutableLink(), FindLinkToSubFolder()})
            if (link) link->SetContainer(this);
        SetContainer(InstallRoot());
        SetDestDirType(ddProgramMenuDir);
        if (IsDesigning() && rt::Trim(DestDir()).empty()) SetDestDir("\\" + InstallRoot()->Information()->ProductName());
        return;
    }
    case gkMainSubFolder: {
        RequireRoot();
        if (TShellLinkGroup* previous = FindMainSubFolder(); previous && previous != this) previous->FGroupKind = gkCustom;
        FGroupKind = gkMainSubFolder;
        if (TInstallShellLink* link = FindLinkToSubFolder()) link->SetObjectLink(this);
        for (TInstallShellLink* link : AllOf<TInstallShellLink>())
            if (link->FLinkKind == lkLinkInSubFolder) link->SetContainer(this);
        SetContainer(InstallRoot());
        SetDestDirType(ddContainerDestDir);
        if (IsDesigning() && rt::Trim(DestDir()).empty()) SetDestDir("\\More stuff");
        return;
    }
    }
    FGroupKind = value;
}

void TShellLinkGroup::HelperDestroyed(TInstallContainer* component) {
    const bool containerGone = component && component == Container();
    TBaseHelperComponent::HelperDestroyed(component);
    // A folder outside the tree would never be made; it goes with its container.
    if (containerGone && !IsDestroying()) Free();
}

void TShellLinkGroup::ProcessHelpers() {
    BroadcastStage(this, "eccSelectFolder", nullptr);
    ForceDirectories(os::Current(), GetDestDir());
    TBaseHelperComponent::ProcessHelpers();
}

// ---- TInstallShellLink ----

const rt::TClassInfo& TInstallShellLink::StaticClass() {
    using L = TInstallShellLink;
    static const rt::TClassInfo info{
        "TInstallShellLink", &TBaseHelperComponent::StaticClass(), rt::Factory<TInstallShellLink>(),
        {rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
         rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
         rt::AccessorProperty("HotKey", &L::HotKey, &L::SetHotKey),
         rt::AccessorProperty("Include", &TInstallContainer::Include, &TInstallContainer::SetInclude),
         rt::AccessorProperty("LinkKind", &L::LinkKind, &L::SetLinkKind),
         rt::AccessorProperty("LinkName", &L::LinkName, &L::SetLinkName),
         rt::AccessorProperty("Method", &L::Method, &L::SetMethod),
         rt::AccessorProperty("ObjectLink", &L::ObjectLink, &L::SetObjectLink),
         rt::AccessorProperty("ObjectLocation", &L::ObjectLocation, &L::SetObjectLocation),
         rt::AccessorProperty("ObjectLocationType", &L::ObjectLocationType, &L::SetObjectLocationType),
         rt::AccessorProperty("Parameters", &L::Parameters, &L::SetParameters),
         rt::Property("OnBeforeProcess", &TInstallContainer::OnBeforeProcess),
         rt::Property("OnAfterProcess", &TInstallContainer::OnAfterProcess)},
        {}};
    return info;
}

TInstallShellLink::TInstallShellLink(rt::TComponent* owner) : TBaseHelperComponent(owner) {
    SetOrdered(true);
    SetOrderNumber(kOrderShortcut);
}

bool TInstallShellLink::IsFileLinkKind() const {
    return FLinkKind == lkMainExecutable || FLinkKind == lkLinkInSubFolder || FLinkKind == lkLinkInMainFolder;
}

void TInstallShellLink::SetContainer(TInstallContainer* value) {
    const TShellLinkKind old = FLinkKind;
    if (!IsLoading()) {
        // The special kinds live only in their folder; decided first, since the move resets
        // DestDirType by the kind's rule.
        const TShellLinkGroup* folder = AsFolder(value);
        const TShellGroupKind needed = FLinkKind == lkLinkInSubFolder ? gkMainSubFolder : gkMainFolder;
        if (FLinkKind != lkCustom && (!folder || folder->GroupKind() != needed)) FLinkKind = lkCustom;
    }
    try {
        TBaseHelperComponent::SetContainer(value);
    } catch (...) {
        FLinkKind = old;
        throw;
    }
}

void TInstallShellLink::SetDestDirType(TPathSpecifiers value) {
    if (!IsLoading() && FLinkKind != lkCustom) value = ddContainerDestDir;
    TBaseHelperComponent::SetDestDirType(value);
}

void TInstallShellLink::SetLinkName(const std::string& value) { FLinkName = IsLoading() ? value : rt::ChangeFileExt(value, ".LNK"); }

void TInstallShellLink::SetObjectLocation(const std::string& value) {
    if (IsLoading()) {
        FObjectLocation = value;
        return;
    }
    FObjectLocation = FObjectLocationType == ddObjectLink ? std::string() : value;
    if (rt::Trim(FLinkName).empty() || rt::SameText(FLinkName, ".LNK"))
        FLinkName = rt::ChangeFileExt(rt::ExtractFileName(value), "") + ".LNK";
}

void TInstallShellLink::SetObjectLocationType(TPathSpecifiers value) {
    if (IsLoading()) {
        FObjectLocationType = value;
        return;
    }
    switch (value) {
    case ddAbsolute:
    case ddSystem:
    case ddWindows:
    case ddProgramFilesDir:
    case ddCommonFilesDir:
    case ddDesktopMenuDir:
    case ddProgramMenuDir:
    case ddStartMenuDir:
        FLinkKind = lkCustom;
        break;
    case ddContainerDestDir:
        if (!Container())
            throw rt::Exception("Cannot set the ObjectLocation property of " + Name() + " because the Container property is Nil");
        FLinkKind = lkCustom;
        break;
    case ddObjectLink:
        if (!FObjectLink)
            throw rt::Exception("Cannot set the ObjectLocation property of " + Name() + " because the ObjectLink property is Nil");
        FObjectLocation.clear();
        break;
    default:
        throw rt::Exception("That path specifier is not allowed for the ObjectLocation property for " + Name());
    }
    FObjectLocationType = value;
}

void TInstallShellLink::SetObjectLink(TInstallContainer* value) {
    if (IsLoading()) {
        FObjectLink = value;
        return;
    }
    if (!value) {
        FObjectLink = nullptr;
        FObjectLocationType = ddAbsolute;
        if (IsFileLinkKind()) FLinkKind = lkCustom;
        return;
    }
    if (IsFileLinkKind() && !IsFile(value))
        throw rt::Exception("For lkMainExecutable, lkLinkInSubFolder, or lkLinkMainFolder ObjectLink must be a TInstallFile");
    if (FLinkKind == lkLinkToSubFolder) {
        const TShellLinkGroup* folder = AsFolder(value);
        if (!folder || folder->GroupKind() != gkMainSubFolder)
            throw rt::Exception("For lkLinkToSubFolder, ObjectLink must be a ShellLinkGroup that is the main sub folder");
    }
    FObjectLink = value;
    FObjectLocationType = ddObjectLink;
    FObjectLocation.clear();
    if (IsFile(value)) FLinkName = rt::ChangeFileExt(static_cast<TInstallFile*>(value)->DestName(), ".lnk");
    else if (value->InheritsFrom(TInstallFileGroup::StaticClass())) FLinkName = static_cast<TInstallFileGroup*>(value)->GroupName() + ".lnk";
    else FLinkName = value->Name() + ".lnk";
    if (!Container()) SetContainer(value);
}

void TInstallShellLink::SetLinkKind(TShellLinkKind value) {
    if (IsLoading()) {
        FLinkKind = value;
        return;
    }
    auto mainFolder = [] {
        TShellLinkGroup* folder = FindMainFolder();
        if (!folder) throw rt::Exception("You must first specify a folder as the main folder");
        return folder;
    };
    auto mainSubFolder = [] {
        TShellLinkGroup* folder = FindMainSubFolder();
        if (!folder) throw rt::Exception("You must first specify a folder as the main sub folder");
        return folder;
    };
    auto requireFileTarget = [this] {
        if (!IsFile(FObjectLink)) throw rt::Exception("You must be pointing to a TInstallFile component with the ObjectLink property");
    };
    switch (value) {
    case lkMainExecutable:
    case lkLinkInMainFolder: {
        TShellLinkGroup* folder = mainFolder();
        if (FObjectLocationType != ddObjectLink) throw rt::Exception("You must the ObjectLocationType set to ddObjectLink");
        requireFileTarget();
        if (value == lkMainExecutable)
            if (TInstallShellLink* previous = FindMainExecutableLink(); previous && previous != this) previous->FLinkKind = lkCustom;
        FLinkKind = value;
        SetContainer(folder);
        return;
    }
    case lkLinkInSubFolder: {
        TShellLinkGroup* folder = mainSubFolder();
        if (FObjectLocationType != ddObjectLink) throw rt::Exception("You must set the ObjectLocationType to ddObjectLink");
        requireFileTarget();
        FLinkKind = value;
        SetContainer(folder);
        return;
    }
    case lkLinkToSubFolder: {
        TShellLinkGroup* folder = mainFolder();
        TShellLinkGroup* subFolder = mainSubFolder();
        if (TInstallShellLink* previous = FindLinkToSubFolder(); previous && previous != this) previous->FLinkKind = lkCustom;
        FLinkKind = value;
        SetContainer(folder);
        SetObjectLink(subFolder);
        return;
    }
    case lkCustom:
        break;
    }
    FLinkKind = value;
}

void TInstallShellLink::HelperDestroyed(TInstallContainer* component) {
    const bool targetGone = component && (component == FObjectLink || component == Container());
    if (component && component == FObjectLink) FObjectLink = nullptr;
    TBaseHelperComponent::HelperDestroyed(component);
    // A shortcut to nothing, or outside the tree, has no reason to be.
    if (targetGone && !IsDestroying()) Free();
}

std::string TInstallShellLink::GetObjectLocation() {
    switch (FObjectLocationType) {
    case ddAbsolute:
        return RemoveBackslash(FObjectLocation);
    case ddSystem:
    case ddWindows:
        return RemoveBackslash(RemoveBackslash(MachineDirectory(FObjectLocationType)) + FObjectLocation);
    case ddProgramFilesDir:
    case ddCommonFilesDir:
    case ddDesktopMenuDir:
    case ddProgramMenuDir:
    case ddStartMenuDir:
        return RemoveBackslash(MachineDirectory(FObjectLocationType)) + FObjectLocation;
    case ddContainerDestDir:
        if (!Container())
            throw rt::Exception("Cannot expand the ObjectLocation property of " + Name() + " because the Container is Nil");
        return RemoveBackslash(Container()->GetDestDir()) + FObjectLocation;
    case ddObjectLink:
        if (!FObjectLink) throw rt::Exception("Cannot expand the ObjectLocation property of " + Name() + " because the ObjectLink is Nil");
        if (IsFile(FObjectLink)) return AddBackslash(FObjectLink->GetDestDir()) + static_cast<TInstallFile*>(FObjectLink)->DestName();
        return RemoveBackslash(FObjectLink->GetDestDir());
    default:
        break;
    }
    throw rt::Exception("That path specifier is not allowed for the ObjectLocation property for " + Name());
}

void TInstallShellLink::ProcessHelpers() {
    if (FObjectLink && IsUninstaller(*FObjectLink)) {
        if (!InstallRoot()) throw rt::Exception("Cannot create a link to the uninstall program because there is no TInstall component");
        // The uninstaller finds the product's record by the name it is given.
        FParameters = InstallRoot()->Information()->ProductName();
    }
    bool shellLink = FMethod == TMethodType::mtShellLinkInterface;
    if (FMethod == TMethodType::mtAutoDetect) {
        const int kind = GetWindowsKind();
        shellLink = kind == wkWindows95 || kind == wkWindowsNT;
    }
    if (shellLink) CreateShellLinkFile();
    else CreateProgramManagerItem();
    TBaseHelperComponent::ProcessHelpers();
}

void TInstallShellLink::InitializeShell() {
    if (FShellInitialized) return;
    const std::int32_t result = os::Current().ComInitialize();
    if (result != os::kHrOk && result != os::kHrFalse) throw ESHELLCannotInitialize(result);
    FShellInitialized = true;
}

void TInstallShellLink::CreateShellLinkFile() {
    InitializeShell();
    os::IPlatform& platform = os::Current();
    // A shortcut to a folder needs the folder to be there.
    if (AsFolder(FObjectLink)) ForceDirectories(platform, FObjectLink->GetDestDir());
    if (rt::Trim(FLinkName).empty()) throw rt::Exception("The LinkName is blank for " + Name() + " and therefore could not be installed");
    const std::string folder = RemoveBackslash(GetDestDir());
    ForceDirectories(platform, folder);

    std::unique_ptr<os::IShellLinkObject> link;
    std::int32_t result = platform.CreateShellLink(link);
    if (result == os::kHrOk && link) {
        const std::string target = GetObjectLocation();
        if (link->SetPath(target) < 0) throw rt::Exception("Cannot set the path to the link for " + Name());
        if (link->SetHotkey(FHotKey) < 0) throw rt::Exception("Cannot set the hot key to the link for " + Name());
        if (link->SetArguments(ExpandMetaVariables(FParameters, this)) < 0)
            throw rt::Exception("Cannot set the arguments to the link for " + Name());
        if (link->SetWorkingDirectory(TargetFolder(target)) < 0)
            throw rt::Exception("Cannot set the working directory to the link for " + Name());
        const std::string linkPath = AddBackslash(folder) + FLinkName;
        // A path the shell cannot hold is refused rather than cut to another file's name.
        if (rt::Utf8ToUtf16(linkPath).size() >= kMaxShellLinkPath) throw rt::Exception(Name() + " could not install itself");
        // Without IPersistFile nothing is saved, and that is a failure too.
        result = link->Save(linkPath);
        if (result == os::kHrOk) LogLine("Shortcut " + linkPath + " -> " + target);
    } else if (result == os::kHrOk) {
        result = os::kHrNoInterface;
    }
    if (result != os::kHrOk) throw rt::Exception(Name() + " could not install itself");
}

void TInstallShellLink::CreateProgramManagerItem() {
    // Program Manager has groups, not folders: only shortcuts of the program menu become items.
    if (FLinkKind != lkLinkInMainFolder && DestDirType() != ddProgramMenuDir) return;
    const std::string group = rt::Trim(rt::ExtractFileName(RemoveBackslash(GetDestDir())));
    if (group.empty()) throw rt::Exception(Name() + " has a blank group");
    TProgramManager& manager = ProgramManager();
    manager.CreateGroup(group);
    const std::string item = rt::ChangeFileExt(FLinkName, "");
    // Replacing first puts the new item in the old one's place instead of adding a second.
    if (manager.IndexOfItem(item) > 0) manager.ReplaceItem(item);
    const std::string target = GetObjectLocation();
    manager.AddItem(Quoted(target) + " " + ExpandMetaVariables(FParameters, this), item, "", 0,
                    Quoted(TargetFolder(target)), "");
    LogLine("Program Manager item " + group + "\\" + item + " -> " + target);
}

void TInstallShellLink::RecordUninstall(const std::string& uninstallKey) {
    AddUninstallFileEntry(uninstallKey, AddBackslash(GetDestDir()) + FLinkName);
}
