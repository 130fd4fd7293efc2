// The form-level right-to-left switch and the two process-wide flags it depends on: the
// mirroring flag (Hebrew chosen as the setup language) and the Middle-East flag (the system
// can show right-to-left windows).
#pragma once

#include <cstdint>

#include "runtime/Classes.h"

// True exactly when Hebrew is the setup language: pages are mirrored when shown.
bool MirroringFlag();
// Whether the system reports Middle-East support; read from the platform on first use.
bool MiddleEastFlag();
// Forgets the Middle-East flag so that the next use reads it again (a new run, or a test).
void ResetMiddleEastFlag();

// The window style bits of a right-to-left form: right alignment, right-to-left reading
// order, scroll bar on the left.
constexpr std::uint32_t kRightToLeftExStyle = 0x7000;

// Placed on a form, switches the form's window to right to left. Every THebForm of a form
// carries the same value. On a system without Middle-East support it stays off.
class THebForm : public rt::TComponent {
    RT_CLASS(THebForm, rt::TComponent)
public:
    explicit THebForm(rt::TComponent* owner);

    bool Hebrew() const { return FHebrew; }
    void SetHebrew(bool v);

protected:
    void Loaded() override;
    void BeforeDestruction() override;

private:
    void ApplyToWindow();
    bool FHebrew;
};

// Loads the Hebrew keyboard layout when created; Available tells whether the system had
// one. It becomes the input language only when Hebrew is the setup language (at creation, or
// through Activate once the user chose Hebrew): an English user's typing stays English.
class TCheckHebrewKeyboardLayout : public rt::TComponent {
    RT_CLASS(TCheckHebrewKeyboardLayout, rt::TComponent)
public:
    explicit TCheckHebrewKeyboardLayout(rt::TComponent* owner);
    bool Available() const { return FAvailable; }
    // Makes the Hebrew layout the input language; false when the system has none.
    bool Activate();

private:
    bool FAvailable = false;
};

// Registers the whole control kit (the runtime's controls and this kit's own) for form
// descriptions.
void RegisterKitClasses();
