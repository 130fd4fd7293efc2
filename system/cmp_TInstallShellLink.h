// Program folders and shortcuts: the start-menu folder that receives the product's shortcuts
// (TShellLinkGroup) and one shortcut (TInstallShellLink), made as a shell link file or, on
// shells without shell links, as a Program Manager item. Also the lookups of the main folder,
// the main sub-folder and the special shortcuts.
#pragma once

#include <cstdint>
#include <string>

#include "engine/cmp_TInstallContainer.h"

enum class TShellGroupKind { gkCustom, gkMainFolder, gkMainSubFolder };
enum class TShellLinkKind { lkCustom, lkMainExecutable, lkLinkToSubFolder, lkLinkInSubFolder, lkLinkInMainFolder };
enum class TMethodType { mtAutoDetect, mtShellLinkInterface, mtProgramManager };

RT_DECLARE_ENUM(TShellGroupKind)
RT_DECLARE_ENUM(TShellLinkKind)
RT_DECLARE_ENUM(TMethodType)

// COM would not start for the shell link object; keeps the result code.
class ESHELLCannotInitialize : public rt::Exception {
public:
    explicit ESHELLCannotInitialize(std::int32_t code)
        : rt::Exception("Could not initialize IShellLink with following error code returned: " + rt::IntToStr(code)), Code(code) {}
    std::int32_t Code;
};

// The longest shortcut file path the shell saves, with its terminating zero (MAX_PATH).
constexpr std::size_t kMaxShellLinkPath = 260;

class TShellLinkGroup : public TBaseHelperComponent {
    RT_CLASS(TShellLinkGroup, TBaseHelperComponent)
public:
    explicit TShellLinkGroup(rt::TComponent* owner);

    TShellGroupKind GroupKind() const { return FGroupKind; }
    // Makes this the main folder or main sub-folder, moving the special shortcuts along.
    void SetGroupKind(TShellGroupKind value);

    void SetContainer(TInstallContainer* value) override;
    void SetDestDirType(TPathSpecifiers value) override;
    void HelperDestroyed(TInstallContainer* component) override;
    // Announces "eccSelectFolder" (the folder page may rename it), makes the folder, then
    // its shortcuts.
    void ProcessHelpers() override;

private:
    TShellGroupKind FGroupKind = TShellGroupKind::gkCustom;
};

class TInstallShellLink : public TBaseHelperComponent {
    RT_CLASS(TInstallShellLink, TBaseHelperComponent)
public:
    explicit TInstallShellLink(rt::TComponent* owner);

    std::uint16_t HotKey() const { return FHotKey; }
    void SetHotKey(std::uint16_t v) { FHotKey = v; }
    TShellLinkKind LinkKind() const { return FLinkKind; }
    void SetLinkKind(TShellLinkKind value);
    const std::string& LinkName() const { return FLinkName; }
    void SetLinkName(const std::string& value);
    TMethodType Method() const { return FMethod; }
    void SetMethod(TMethodType v) { FMethod = v; }
    TInstallContainer* ObjectLink() const { return FObjectLink; }
    void SetObjectLink(TInstallContainer* value);
    const std::string& ObjectLocation() const { return FObjectLocation; }
    void SetObjectLocation(const std::string& value);
    TPathSpecifiers ObjectLocationType() const { return FObjectLocationType; }
    void SetObjectLocationType(TPathSpecifiers value);
    const std::string& Parameters() const { return FParameters; }
    void SetParameters(const std::string& v) { FParameters = v; }

    // The path the shortcut points at.
    std::string GetObjectLocation();

    void SetContainer(TInstallContainer* value) override;
    void SetDestDirType(TPathSpecifiers value) override;
    void HelperDestroyed(TInstallContainer* component) override;
    // Makes the shortcut by the chosen method, then runs its own helpers.
    void ProcessHelpers() override;
    // Lists the shortcut file, whichever method made the shortcut.
    void RecordUninstall(const std::string& uninstallKey) override;

    void CreateShellLinkFile();
    void CreateProgramManagerItem();

private:
    friend class TShellLinkGroup;  // a folder's kind change re-kinds its special shortcuts
    void InitializeShell();
    bool IsFileLinkKind() const;

    std::uint16_t FHotKey = 0;
    TShellLinkKind FLinkKind = TShellLinkKind::lkCustom;
    std::string FLinkName;
    TMethodType FMethod = TMethodType::mtAutoDetect;
    TInstallContainer* FObjectLink = nullptr;
    std::string FObjectLocation;
    TPathSpecifiers FObjectLocationType = TPathSpecifiers::ddAbsolute;
    std::string FParameters;
    bool FShellInitialized = false;
};

// The last program folder or shortcut of that kind among all install components, or nullptr.
TShellLinkGroup* FindMainFolder();
TShellLinkGroup* FindMainSubFolder();
TInstallShellLink* FindMainExecutableLink();
TInstallShellLink* FindLinkToSubFolder();

// Makes both classes creatable by name from descriptions and by code that configures them
// through their published properties, and gives the engine's resume the Program Manager
// client that removes start-up items.
void RegisterShellLinkClasses();
