// The small borderless notice shown while setup works without a page: installing the
// database runtime, deleting an existing installation.
#pragma once

#include "dialogs/DocForm.h"
#include "runtime/StdCtrls.h"

class TNotifyProgressDlg : public TDocForm {
    RT_CLASS(TNotifyProgressDlg, TDocForm)
public:
    explicit TNotifyProgressDlg(rt::TComponent* owner);
    rt::TLabel* MessageLabel() const { return FMessageLabel; }
    rt::TLabel* HebMessageLabel() const { return FHebMessageLabel; }

private:
    rt::TLabel* FMessageLabel = nullptr;
    rt::TLabel* FHebMessageLabel = nullptr;
};

// Shows the notice with the localised text of base in the label of the current writing
// direction, without waiting, painted at once. The caller frees it when the work is done.
TNotifyProgressDlg* ShowNotifyProgress(int base);
