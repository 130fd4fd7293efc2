// The common base of every install component: the helper list and its install order,
// install types, the processing skeleton and stage broadcasts; and TBaseHelperComponent,
// a component that hangs inside a container. The install component registry lives here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/InstallErrors.h"
#include "engine/InstallTypes.h"
#include "runtime/Classes.h"
#include "runtime/StringList.h"

class TBaseHelperComponent;
class TFileContainer;

// Specifier masks (bit n = TPathSpecifiers value n).
constexpr std::uint16_t kBaseDestDirTypes = 0xF81F;
constexpr std::uint16_t kHelperDestDirTypes = 0x0440;  // ddContainerDestDir, ddMainInstallDir

// The uninstall record's key; the product name follows.
inline const std::string kUninstallKeyPrefix = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class TInstallContainer : public rt::TComponent {
    RT_CLASS(TInstallContainer, rt::TComponent)
public:
    explicit TInstallContainer(rt::TComponent* owner);
    ~TInstallContainer() override;

    std::uint16_t AllowedDestDirTypes() const { return FAllowedDestDirTypes; }
    bool Ordered() const { return FOrdered; }
    bool Include() const { return FInclude; }
    void SetInclude(bool v) { FInclude = v; }
    bool Processed() const { return FProcessed; }
    TInstallTypeSet InstallTypes() const { return FInstallTypes; }
    void SetInstallTypes(TInstallTypeSet v);
    TInstallType SelectedInstallType() const { return FSelectedInstallType; }
    void SetSelectedInstallType(TInstallType v) { FSelectedInstallType = v; }
    rt::TStrings* InteractiveText() const { return FInteractiveText; }
    virtual void SetInteractiveText(const rt::TStrings& value);
    rt::TStrings* InstallOrder() const { return FInstallOrder; }
    virtual void SetInstallOrder(const rt::TStrings& value);
    int OrderNumber() const { return FOrderNumber; }
    const std::string& DestDir() const { return FDestDir; }
    virtual void SetDestDir(const std::string& value);
    TPathSpecifiers DestDirType() const { return FDestDirType; }
    // Validated outside loading; a refused value raises a plain exception and is not stored.
    virtual void SetDestDirType(TPathSpecifiers value);

    TInstallContainerNotifyEvent OnAfterProcess, OnBeforeProcess, OnShowInstallTypeDlg;

    // Helpers that are file containers (descendants count), and the Index-th of them.
    virtual int FileContainerCount() const;
    virtual TFileContainer* FileContainers(int index) const;

    // Called on every other install component when component goes away.
    virtual void HelperDestroyed(TInstallContainer* component);
    // A child reports an information event ("eie..." names) to its container.
    virtual void DoInformationEventControl(TInstallContainer* sender, const std::string& eventName, rt::TObject* parameterObject);
    // A stage announced by the container this component is attached to.
    virtual void DoStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject);
    // The resolved destination directory, without a trailing backslash.
    virtual std::string GetDestDir();
    // Frees every helper, deepest first.
    virtual void DestroyHelpers();
    // Whether component is a helper here or, recursively, of one of the helpers.
    virtual bool HasHelper(const TInstallContainer* component) const;
    // The processing skeleton every component runs when its container processes it.
    virtual void Process();
    virtual void ProcessHelpers();
    virtual void ResumeAfterReboot();
    virtual void RecordUninstall(const std::string& uninstallKey);

    int HelperCount() const { return static_cast<int>(FHelpers.size()); }
    // Raises a plain exception naming this component and the index when out of range.
    TBaseHelperComponent* Helpers(int index) const;
    int CompCount(const rt::TClassInfo& classType) const;
    // The Index-th helper that is a classType; EAIICBadCompCall when there is none.
    TBaseHelperComponent* Comp(int index, const rt::TClassInfo& classType) const;
    void AddHelper(TBaseHelperComponent* component);
    void RemoveHelper(TBaseHelperComponent* component);
    // As above, for a helper whose order line is still the one of number.
    void RemoveHelper(TBaseHelperComponent* component, int number);
    // Announces a stage to this container's dialog helpers (not recursive).
    void BroadcastStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject);

protected:
    void Loaded() override;
    void BeforeDestruction() override;
    void SetOrdered(bool v);
    void SetOrderNumber(int v);
    // A helper that is already in a container when its order changes has its order line
    // follow (see TBaseHelperComponent).
    virtual void OrderChanged(int oldNumber);
    void SetProcessed(bool v) { FProcessed = v; }
    void WidenAllowedDestDirTypes(std::uint16_t mask) { FAllowedDestDirTypes |= mask; }
    // The base rule: the value must be one the component allows.
    void CheckDestDirTypeAllowed(TPathSpecifiers value) const;
    void StoreDestDirType(TPathSpecifiers value) { FDestDirType = value; }

private:
    std::uint16_t FAllowedDestDirTypes = kBaseDestDirTypes;
    bool FOrdered = false;
    std::vector<TBaseHelperComponent*> FHelpers;
    bool FInclude = true;
    bool FProcessed = false;
    TInstallTypeSet FInstallTypes{TInstallType::itAlways};
    rt::TStringList* FInteractiveText;
    rt::TStringList* FInstallOrder;
    int FOrderNumber = 0;
    TInstallType FSelectedInstallType = TInstallType::itAlways;
    std::string FDestDir;
    TPathSpecifiers FDestDirType = TPathSpecifiers::ddAbsolute;
};

class TBaseHelperComponent : public TInstallContainer {
    RT_CLASS(TBaseHelperComponent, TInstallContainer)
public:
    explicit TBaseHelperComponent(rt::TComponent* owner);

    TInstallContainer* Container() const { return FContainer; }
    // Attaches to value (which may refuse) and detaches from the old container.
    virtual void SetContainer(TInstallContainer* value);

    void SetDestDirType(TPathSpecifiers value) override;
    void HelperDestroyed(TInstallContainer* component) override;
    std::string GetDestDir() override;

protected:
    void OrderChanged(int oldNumber) override;

private:
    TInstallContainer* FContainer = nullptr;
};

// Every live install component in creation order.
const std::vector<TInstallContainer*>& InstallComponents();
// The one TInstall, or nullptr.
TInstall* InstallRoot();
void SetInstallRoot(TInstall* root);
// The install component with that name (without regard to case), or nullptr.
TInstallContainer* FindInstallComponent(const std::string& name);
