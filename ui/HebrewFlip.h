// Run-time mirroring of pages designed left to right: controls move to the other side of
// their parent, right-to-left-capable controls switch their mode and text alignments swap.
// A second flip restores the page.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Forms.h"

class THebrewFlip : public rt::TComponent {
    RT_CLASS(THebrewFlip, rt::TComponent)
public:
    explicit THebrewFlip(rt::TComponent* owner);

    // False: the form mirrors itself in OnFlip instead.
    bool UseDefault() const { return FUseDefault; }
    void SetUseDefault(bool v) { FUseDefault = v; }
    bool Flipped() const { return FFlipped; }

    rt::TNotifyEvent OnFlip;

private:
    friend void Flip(THebrewFlip& flipper, rt::TCustomForm& form);
    bool FUseDefault = true;
    bool FFlipped = false;
};

// Mirrors the flipper's form when Hebrew is the setup language; nothing otherwise.
void Flip(THebrewFlip& flipper, rt::TCustomForm& form);
// Runs Flip for every THebrewFlip on the form.
void FlipForm(rt::TCustomForm& form);
// The default mirroring of every component of owner; on: switching to right to left.
void DefaultFlip(rt::TComponent& owner, bool on);
