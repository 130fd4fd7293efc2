// The install component base and the helper base; see cmp_TInstallContainer.h.
#include "engine/cmp_TInstallContainer.h"

#include <algorithm>

#include "engine/SetupLog.h"
#include "engine/SetupState.h"
#include "engine/cmp_TFileContainer.h"
#include "engine/cmp_TInstall.h"
#include "engine/routines_ExpandPaths.h"

namespace {

std::vector<TInstallContainer*>& Registry() {
    static std::vector<TInstallContainer*> components;
    return components;
}

TInstall* gInstallRoot = nullptr;

}  // namespace

const std::vector<TInstallContainer*>& InstallComponents() { return Registry(); }
TInstall* InstallRoot() { return gInstallRoot; }
void SetInstallRoot(TInstall* root) { gInstallRoot = root; }

TInstallContainer* FindInstallComponent(const std::string& name) {
    for (TInstallContainer* c : Registry())
        if (rt::SameText(c->Name(), name)) return c;
    return nullptr;
}

TSetupState& SetupState() {
    static TSetupState state;
    return state;
}

int ExitCodeOf(TSetupOutcome outcome) {
    switch (outcome) {
    case TSetupOutcome::soGood: return kExitSuccess;
    case TSetupOutcome::soGoodRestart: return kExitRestartNeeded;
    case TSetupOutcome::soCancelled: return kExitCancelled;
    case TSetupOutcome::soRefused: return kExitRefused;
    case TSetupOutcome::soRunning:
    case TSetupOutcome::soFailed: break;
    }
    return kExitFailure;
}

TSetupOutcome OutcomeOf(const std::exception& e) {
    if (dynamic_cast<const EAIUnattendedRefusal*>(&e)) return TSetupOutcome::soRefused;
    if (dynamic_cast<const EAIUserAbort*>(&e)) return TSetupOutcome::soCancelled;
    return TSetupOutcome::soFailed;
}

EAIUserAbort::EAIUserAbort() : EAI("Installation aborted by the user") { SetupState().RebootNeeded = false; }

// ---- TInstallContainer ----

const rt::TClassInfo& TInstallContainer::StaticClass() {
    static const rt::TClassInfo info{"TInstallContainer", &rt::TComponent::StaticClass(), {}, {}, {}};
    return info;
}

TInstallContainer::TInstallContainer(rt::TComponent* owner)
    : rt::TComponent(owner), FInteractiveText(new rt::TStringList), FInstallOrder(new rt::TStringList) {
    Registry().push_back(this);
}

TInstallContainer::~TInstallContainer() {
    delete FInteractiveText;
    delete FInstallOrder;
    auto& reg = Registry();
    reg.erase(std::remove(reg.begin(), reg.end(), this), reg.end());
}

void TInstallContainer::BeforeDestruction() {
    if (!IsDestroying()) {
        // Every other install component forgets us while we are still whole.
        const std::vector<TInstallContainer*> others = Registry();
        for (auto it = others.rbegin(); it != others.rend(); ++it) {
            TInstallContainer* other = *it;
            if (other == this) continue;
            const auto& live = Registry();
            if (std::find(live.begin(), live.end(), other) != live.end()) other->HelperDestroyed(this);
        }
    }
    rt::TComponent::BeforeDestruction();
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet v) {
    if (IsLoading()) {
        FInstallTypes = v;
        return;
    }
    const TInstallTypeSet always{TInstallType::itAlways};
    const TInstallTypeSet old = FInstallTypes;
    // itAlways is exclusive: adding it clears the others, adding another type removes it,
    // and the set is never empty.
    if (v.Empty() || (v.Contains(TInstallType::itAlways) && !old.Contains(TInstallType::itAlways))) FInstallTypes = always;
    else if (!(v - always).Empty()) FInstallTypes = v - always;
    else FInstallTypes = v;
}

void TInstallContainer::SetInteractiveText(const rt::TStrings& value) { FInteractiveText->Assign(value); }
void TInstallContainer::SetInstallOrder(const rt::TStrings& value) { FInstallOrder->Assign(value); }
void TInstallContainer::SetDestDir(const std::string& value) { FDestDir = value; }

void TInstallContainer::CheckDestDirTypeAllowed(TPathSpecifiers value) const {
    const unsigned ord = static_cast<unsigned>(value);
    if (ord > 15 || (FAllowedDestDirTypes & (1u << ord)) == 0)
        throw rt::Exception("That path specifier is not allowed for the DestDir property for " + Name());
}

void TInstallContainer::SetDestDirType(TPathSpecifiers value) {
    if (!IsLoading()) CheckDestDirTypeAllowed(value);
    FDestDirType = value;
}

int TInstallContainer::FileContainerCount() const { return CompCount(TFileContainer::StaticClass()); }

TFileContainer* TInstallContainer::FileContainers(int index) const {
    return static_cast<TFileContainer*>(Comp(index, TFileContainer::StaticClass()));
}

void TInstallContainer::HelperDestroyed(TInstallContainer* component) {
    if (component && component->InheritsFrom(TBaseHelperComponent::StaticClass()))
        RemoveHelper(static_cast<TBaseHelperComponent*>(component));
}

void TInstallContainer::DoInformationEventControl(TInstallContainer*, const std::string&, rt::TObject*) {}
void TInstallContainer::DoStage(TInstallContainer*, const std::string&, rt::TObject*) {}

std::string TInstallContainer::GetDestDir() { return ResolveDestDir(*this); }

void TInstallContainer::DestroyHelpers() {
    while (!FHelpers.empty()) {
        TBaseHelperComponent* helper = FHelpers.back();
        helper->DestroyHelpers();
        // Freeing detaches it from us through HelperDestroyed; make sure it is gone even
        // if it was attached twice.
        helper->Free();
        FHelpers.erase(std::remove(FHelpers.begin(), FHelpers.end(), helper), FHelpers.end());
    }
}

bool TInstallContainer::HasHelper(const TInstallContainer* component) const {
    for (auto it = FHelpers.rbegin(); it != FHelpers.rend(); ++it)
        if (*it == component || (*it)->HasHelper(component)) return true;
    return false;
}

void TInstallContainer::Process() {
    try {
        OnBeforeProcess(this);
        BroadcastStage(this, "eccBeforeProcess", nullptr);
        if (!FInclude) return;
        OnShowInstallTypeDlg(this);
        BroadcastStage(this, "InstallTypeDialog", nullptr);
        if (FSelectedInstallType != TInstallType::itAlways && FSelectedInstallType != TInstallType::itCustom &&
            !FInstallTypes.Contains(TInstallType::itAlways) && !FInstallTypes.Contains(FSelectedInstallType))
            return;
        ProcessHelpers();
        FProcessed = true;
        if (InstallRoot()) RecordUninstall(kUninstallKeyPrefix + InstallRoot()->Information()->ProductName());
        OnAfterProcess(this);
        BroadcastStage(this, "eccAfterProcess", nullptr);
    } catch (const rt::EAbort&) {
        // A silent abort ends only this component; its container goes on with the next.
    }
}

void TInstallContainer::ProcessHelpers() {
    FProcessed = true;
    // Helpers may leave the tree while the run goes on (a group drops a file whose source
    // is missing), so each pass looks at the lists as they are now.
    for (int line = 0; line < FInstallOrder->Count(); ++line) {
        int number = 0;
        if (!rt::TryStrToInt(FInstallOrder->Strings(line), number)) throw EAIICNotValidHelperInOrder();
        const std::vector<TBaseHelperComponent*> snapshot = FHelpers;
        for (TBaseHelperComponent* helper : snapshot) {
            if (std::find(FHelpers.begin(), FHelpers.end(), helper) == FHelpers.end()) continue;
            if (helper->OrderNumber() == number) helper->Process();
        }
    }
}

void TInstallContainer::ResumeAfterReboot() {}
void TInstallContainer::RecordUninstall(const std::string&) {}

TBaseHelperComponent* TInstallContainer::Helpers(int index) const {
    if (index < 0 || index >= HelperCount())
        throw rt::Exception("Tried to reference a helper component in the following component: " + Name() +
                            ". The following index was used: " + rt::IntToStr(index));
    return FHelpers[static_cast<std::size_t>(index)];
}

int TInstallContainer::CompCount(const rt::TClassInfo& classType) const {
    return static_cast<int>(std::count_if(FHelpers.begin(), FHelpers.end(),
                                          [&](const TBaseHelperComponent* h) { return h->InheritsFrom(classType); }));
}

TBaseHelperComponent* TInstallContainer::Comp(int index, const rt::TClassInfo& classType) const {
    int seen = 0;
    for (TBaseHelperComponent* h : FHelpers)
        if (h->InheritsFrom(classType) && seen++ == index) return h;
    throw EAIICBadCompCall(index, &classType);
}

void TInstallContainer::AddHelper(TBaseHelperComponent* component) {
    if (!component) throw EAIICAddingNilHelperComponent(this, Name());
    if (component == this) throw EAIICCircularInstallContainer("Circular reference");
    for (TInstallContainer* c = this; c;) {
        if (c == component)
            throw EAIICCircularInstallContainer("Circular reference: Tried to add: " + component->Name() + " to: " + Name());
        if (!c->InheritsFrom(TBaseHelperComponent::StaticClass())) break;
        c = static_cast<TBaseHelperComponent*>(c)->Container();
    }

    if (rt::SameText(component->ClassName(), "TINSTALLBDE")) FHelpers.insert(FHelpers.begin(), component);
    else FHelpers.push_back(component);

    if (!component->Ordered()) return;
    const std::string number = rt::IntToStr(component->OrderNumber());
    if (FInstallOrder->IndexOf(number) >= 0) return;
    for (int i = 0; i < FInstallOrder->Count(); ++i) {
        int value = 0;
        if (rt::TryStrToInt(FInstallOrder->Strings(i), value) && value >= component->OrderNumber()) {
            FInstallOrder->Insert(i, number);
            return;
        }
    }
    FInstallOrder->Add(number);
}

void TInstallContainer::RemoveHelper(TBaseHelperComponent* component) { RemoveHelper(component, component->OrderNumber()); }

void TInstallContainer::RemoveHelper(TBaseHelperComponent* component, int number) {
    FHelpers.erase(std::remove(FHelpers.begin(), FHelpers.end(), component), FHelpers.end());
    // The order line goes only when no helper of that number is left; a subclass beside
    // its base class (the uninstaller beside plain files) keeps the line for both.
    if (std::any_of(FHelpers.begin(), FHelpers.end(), [&](const TBaseHelperComponent* h) { return h->OrderNumber() == number; }))
        return;
    const int line = FInstallOrder->IndexOf(rt::IntToStr(number));
    if (line >= 0) FInstallOrder->Delete(line);
}

void TInstallContainer::SetOrdered(bool v) {
    FOrdered = v;
    OrderChanged(FOrderNumber);
}

void TInstallContainer::SetOrderNumber(int v) {
    const int old = FOrderNumber;
    FOrderNumber = v;
    OrderChanged(old);
}

void TInstallContainer::OrderChanged(int) {}

void TInstallContainer::BroadcastStage(TInstallContainer* sender, const std::string& stageName, rt::TObject* parameterObject) {
    // Progress of one file is not a step worth a line.
    if (!rt::SameText(stageName, "CopyingFile")) LogLine("Stage " + stageName + (sender ? " (" + sender->Name() + ")" : ""));
    const std::vector<TBaseHelperComponent*> snapshot = FHelpers;
    for (TBaseHelperComponent* helper : snapshot)
        if (helper->OrderNumber() == kOrderDialog) helper->DoStage(sender, stageName, parameterObject);
}

void TInstallContainer::Loaded() {
    rt::TComponent::Loaded();
    if (FInstallTypes.Contains(TInstallType::itDefault)) FSelectedInstallType = TInstallType::itDefault;
    else if (FInstallTypes.Contains(TInstallType::itCompact)) FSelectedInstallType = TInstallType::itCompact;
    else if (FInstallTypes.Contains(TInstallType::itFull)) FSelectedInstallType = TInstallType::itFull;
    else if (FInstallTypes.Contains(TInstallType::itCustom)) FSelectedInstallType = TInstallType::itCustom;
}

// ---- TBaseHelperComponent ----

const rt::TClassInfo& TBaseHelperComponent::StaticClass() {
    static const rt::TClassInfo info{
        "TBaseHelperComponent", &TInstallContainer::StaticClass(), {},
        {rt::AccessorProperty("Container", &TBaseHelperComponent::Container, &TBaseHelperComponent::SetContainer),
         rt::AccessorProperty("InstallTypes", &TInstallContainer::InstallTypes, &TInstallContainer::SetInstallTypes)},
        {}};
    return info;
}

TBaseHelperComponent::TBaseHelperComponent(rt::TComponent* owner) : TInstallContainer(owner) {
    WidenAllowedDestDirTypes(kHelperDestDirTypes);
    if (owner && owner->IsDesigning() && InstallRoot()) SetContainer(InstallRoot());
}

void TBaseHelperComponent::SetContainer(TInstallContainer* value) {
    if (value == FContainer) return;
    if (value) value->AddHelper(this);
    if (FContainer) FContainer->RemoveHelper(this);
    FContainer = value;
    if (IsLoading()) return;
    if (FContainer) {
        SetDestDirType(TPathSpecifiers::ddContainerDestDir);
        SetDestDir("");
    } else {
        SetDestDirType(TPathSpecifiers::ddAbsolute);
    }
}

// A designer's new component joins the root inside the base constructor, before the derived
// constructors have numbered it; its line in the container's order comes when they do.
void TBaseHelperComponent::OrderChanged(int oldNumber) {
    if (!FContainer) return;
    FContainer->RemoveHelper(this, oldNumber);
    FContainer->AddHelper(this);
}

void TBaseHelperComponent::SetDestDirType(TPathSpecifiers value) {
    if (!IsLoading()) {
        if (value == TPathSpecifiers::ddContainerDestDir && !FContainer)
            throw rt::Exception("Cannot set the DestDir property of " + Name() + " because the Container property is Nil");
        if (value == TPathSpecifiers::ddMainInstallDir && !InstallRoot())
            throw rt::Exception("Cannot set the DestDir property of " + Name() + " because there is no Install component");
        CheckDestDirTypeAllowed(value);
    }
    StoreDestDirType(value);
}

void TBaseHelperComponent::HelperDestroyed(TInstallContainer* component) {
    TInstallContainer::HelperDestroyed(component);
    if (component == FContainer) FContainer = nullptr;
}

std::string TBaseHelperComponent::GetDestDir() { return ResolveDestDir(*this); }
