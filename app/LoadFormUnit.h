// The small loading form shown while the main setup window is being created; it stays
// up for a few seconds so the user sees that setup has started.
#pragma once

#include "runtime/Forms.h"

class TfrmLoad : public rt::TForm {
    RT_CLASS(TfrmLoad, rt::TForm)
public:
    // Reads its layout and records the start time that the minimum display time counts from.
    explicit TfrmLoad(rt::TComponent* owner);
};

// The loading form while it is up; the start-up handler frees it and clears this.
extern TfrmLoad* frmLoad;
