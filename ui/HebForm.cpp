// The form-level right-to-left switch; see HebForm.h.
#include "ui/HebForm.h"

#include <optional>

#include "engine/SetupState.h"
#include "platform/Platform.h"
#include "runtime/ControlClasses.h"
#include "runtime/Forms.h"
#include "ui/Button3D.h"
#include "ui/HebrewFlip.h"

using namespace rt;

namespace {
std::optional<bool> gMiddleEast;
}

bool MirroringFlag() { return SetupState().Hebrew; }

bool MiddleEastFlag() {
    if (!gMiddleEast) gMiddleEast = os::Current().MiddleEastEnabled();
    return *gMiddleEast;
}

void ResetMiddleEastFlag() { gMiddleEast.reset(); }

// ---- THebForm ----

const TClassInfo& THebForm::StaticClass() {
    static const TClassInfo info{"THebForm", &TComponent::StaticClass(), Factory<THebForm>(),
                                 {AccessorProperty("Hebrew", &THebForm::Hebrew, &THebForm::SetHebrew)}, {}};
    return info;
}

THebForm::THebForm(TComponent* owner) : TComponent(owner), FHebrew(MiddleEastFlag()) {
    // A form made by code is finished at once; a described one once it is loaded.
    if (!owner || !owner->IsLoading()) ApplyToWindow();
}

void THebForm::SetHebrew(bool v) {
    if (IsLoading()) {
        FHebrew = v && MiddleEastFlag();
        return;
    }
    if (v == FHebrew || !MiddleEastFlag()) return;
    FHebrew = v;
    if (!dynamic_cast<TCustomForm*>(Owner())) return;
    // Every switch of the form says the same; equal values stop the round.
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
        if (auto* other = dynamic_cast<THebForm*>(Owner()->Components(i))) other->SetHebrew(v);
    ApplyToWindow();
}

void THebForm::Loaded() {
    TComponent::Loaded();
    ApplyToWindow();
}

void THebForm::BeforeDestruction() {
    FHebrew = false;
    bool others = false;
    if (Owner())
        for (int i = 0; i < Owner()->ComponentCount(); ++i)
            if (Owner()->Components(i) != this && dynamic_cast<THebForm*>(Owner()->Components(i))) others = true;
    if (!others) ApplyToWindow();
    TComponent::BeforeDestruction();
}

void THebForm::ApplyToWindow() {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form || form->IsDestroying() || !MiddleEastFlag()) return;
    const std::uint32_t bits = form->ExtraExStyle();
    form->SetExtraExStyle(FHebrew ? bits | kRightToLeftExStyle : bits & ~kRightToLeftExStyle);
}

// ---- TCheckHebrewKeyboardLayout ----

const TClassInfo& TCheckHebrewKeyboardLayout::StaticClass() {
    static const TClassInfo info{"TCheckHebrewKeyboardLayout", &TComponent::StaticClass(),
                                 Factory<TCheckHebrewKeyboardLayout>(), {}, {}};
    return info;
}

namespace {
const char kHebrewLayout[] = "0000040D";
}

TCheckHebrewKeyboardLayout::TCheckHebrewKeyboardLayout(TComponent* owner) : TComponent(owner) {
    FAvailable = os::Current().LoadKeyboardLayout(kHebrewLayout, MirroringFlag());
}

bool TCheckHebrewKeyboardLayout::Activate() {
    FAvailable = os::Current().LoadKeyboardLayout(kHebrewLayout, true);
    return FAvailable;
}

void RegisterKitClasses() {
    RegisterControlClasses();
    RegisterClasses({&THebForm::StaticClass(), &TCheckHebrewKeyboardLayout::StaticClass(),
                     &THebrewFlip::StaticClass(), &TButton3D::StaticClass()});
}
