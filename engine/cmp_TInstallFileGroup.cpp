// File groups; see cmp_TInstallFileGroup.h.
#include "engine/cmp_TInstallFileGroup.h"

#include "engine/cmp_TInstallFile.h"
#include "platform/Platform.h"

const rt::TClassInfo& TInstallFileGroup::StaticClass() {
    static const rt::TClassInfo info = [] {
        std::vector<rt::TPropInfo> props = ContainerProps();
        for (auto& p : std::vector<rt::TPropInfo>{
                 rt::AccessorProperty("AllowChoice", &TInstallFileGroup::AllowChoice, &TInstallFileGroup::SetAllowChoice),
                 rt::AccessorProperty("AllowChangeDir", &TInstallFileGroup::AllowChangeDir, &TInstallFileGroup::SetAllowChangeDir),
                 rt::StringsProperty("Description", &TInstallFileGroup::Description, &TInstallFileGroup::SetDescription),
                 rt::AccessorProperty("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir),
                 rt::AccessorProperty("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType),
                 rt::AccessorProperty("GroupName", &TInstallFileGroup::GroupName, &TInstallFileGroup::SetGroupName),
                 rt::AccessorProperty("Include", &TInstallContainer::Include, &TInstallContainer::SetInclude),
                 rt::Property("OnAfterProcess", &TInstallContainer::OnAfterProcess),
                 rt::Property("OnBeforeProcess", &TInstallContainer::OnBeforeProcess)})
            props.push_back(std::move(p));
        return rt::TClassInfo{"TInstallFileGroup", &TFileContainer::StaticClass(), rt::Factory<TInstallFileGroup>(),
                              std::move(props), {}};
    }();
    return info;
}

TInstallFileGroup::TInstallFileGroup(rt::TComponent* owner) : TFileContainer(owner), FDescription(new rt::TStringList) {
    SetOrdered(true);
    SetOrderNumber(kOrderFileGroup);
    // A group placed into a container by the designer is numbered among its siblings.
    FGroupName = Container() ? "Group #" + rt::IntToStr(Container()->FileContainerCount()) : "Unnamed File Group";
}

TInstallFileGroup::~TInstallFileGroup() { delete FDescription; }

void TInstallFileGroup::RemoveMissingFiles() {
    for (int i = HelperCount() - 1; i >= 0; --i) {
        if (!Helpers(i)->InheritsFrom(TInstallFile::StaticClass())) continue;
        auto* file = static_cast<TInstallFile*>(Helpers(i));
        if (os::Current().FileExists(file->SourcePath())) continue;
        RemoveHelper(file);
        file->Free();
    }
}
