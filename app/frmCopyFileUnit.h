// The product pages' copy window: the system's copy animation and a progress bar while the
// default applications and the add-on library are copied, a file at a time. While it is up
// the program's other windows wait; the user cannot close it.
#pragma once

#include <string>

#include "dialogs/DocForm.h"
#include "runtime/ComCtrls.h"

class TfrmFileCopy : public TDocForm {
    RT_CLASS(TfrmFileCopy, TDocForm)
public:
    explicit TfrmFileCopy(rt::TComponent* owner);
    ~TfrmFileCopy() override;

    // Centred and shown, the animation running, the other windows disabled.
    void Start();
    // Copies one file in 2 KB blocks, the bar following; a file that cannot be copied is
    // tried three times in all, then the failure raises.
    void CopyFileWithProgress(const std::string& source, const std::string& target);

    void SetVisible(bool v) override;

protected:
    void BeforeDestruction() override;

private:
    bool TryCopy(const std::string& source, const std::string& target);
    TOtherWindows FOthers;
};
