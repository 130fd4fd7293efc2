// A file group: the selectable part of the product a user sees on the component page.
#pragma once

#include "engine/cmp_TFileContainer.h"

class TInstallFileGroup : public TFileContainer {
    RT_CLASS(TInstallFileGroup, TFileContainer)
public:
    explicit TInstallFileGroup(rt::TComponent* owner);
    ~TInstallFileGroup() override;

    const std::string& GroupName() const { return FGroupName; }
    void SetGroupName(const std::string& v) { FGroupName = v; }
    rt::TStrings* Description() const { return FDescription; }
    void SetDescription(const rt::TStrings& v) { FDescription->Assign(v); }
    bool AllowChoice() const { return FAllowChoice; }
    void SetAllowChoice(bool v) { FAllowChoice = v; }
    bool AllowChangeDir() const { return FAllowChangeDir; }
    void SetAllowChangeDir(bool v) { FAllowChangeDir = v; }

    // Takes every member whose source file is missing out of the group and destroys it.
    virtual void RemoveMissingFiles();

private:
    std::string FGroupName;
    rt::TStringList* FDescription;
    bool FAllowChoice = true;
    bool FAllowChangeDir = true;
};
