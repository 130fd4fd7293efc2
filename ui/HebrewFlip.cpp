// Run-time mirroring; see HebrewFlip.h.
#include "ui/HebrewFlip.h"

#include <vector>

#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/HebCtrls.h"
#include "ui/Button3D.h"
#include "ui/HebForm.h"

using namespace rt;

const TClassInfo& THebrewFlip::StaticClass() {
    static const TClassInfo info{"THebrewFlip", &TComponent::StaticClass(), Factory<THebrewFlip>(),
                                 {Property("UseDefault", &THebrewFlip::FUseDefault), Property("OnFlip", &THebrewFlip::OnFlip)},
                                 {}};
    return info;
}

THebrewFlip::THebrewFlip(TComponent* owner) : TComponent(owner) {}

void Flip(THebrewFlip& flipper, TCustomForm& form) {
    (void)form;  // the flipper's owner is the form that is mirrored
    if (!MirroringFlag()) return;
    if (flipper.FUseDefault) {
        if (flipper.Owner()) DefaultFlip(*flipper.Owner(), !flipper.FFlipped);
    } else if (flipper.OnFlip) {
        flipper.OnFlip(&flipper);
    } else {
        return;
    }
    flipper.FFlipped = !flipper.FFlipped;
}

void FlipForm(TCustomForm& form) {
    std::vector<THebrewFlip*> flippers;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* f = dynamic_cast<THebrewFlip*>(form.Components(i))) flippers.push_back(f);
    for (THebrewFlip* f : flippers) Flip(*f, form);
}

namespace {

// Contents of boxes that scroll keep their places; the box itself moves.
bool MovesWithMirror(const TControl& control) {
    if (dynamic_cast<const TTabSheet*>(&control)) return false;
    TWinControl* parent = control.Parent();
    return parent && !dynamic_cast<TScrollBox*>(parent);
}

TAlignment Side(bool on) { return on ? TAlignment::taRightJustify : TAlignment::taLeftJustify; }

void SwitchReading(TComponent& c, bool on) {
    if (auto* f = dynamic_cast<THebForm*>(&c)) {
        f->SetHebrew(on);
    } else if (auto* l = dynamic_cast<THebLabel*>(&c)) {
        l->SetHebrew(on);
        if (l->Alignment() != TAlignment::taCenter) l->SetAlignment(Side(on));
    } else if (auto* m = dynamic_cast<THebDMemo*>(&c)) {
        // Tag 1 marks entry that stays left to right (paths, serial numbers).
        if (m->Tag() != 1) m->SetHebrew(on);
        m->SetAlignment(Side(on));
    } else if (auto* e = dynamic_cast<THebEdit*>(&c)) {
        if (e->Tag() != 1) e->SetHebrew(on);
    } else if (auto* cb = dynamic_cast<THebCheckBox*>(&c)) {
        cb->SetHebrew(on);
        cb->SetAlignment(on ? TAlignment::taLeftJustify : TAlignment::taRightJustify);
    } else if (auto* rb = dynamic_cast<THebRadioButton*>(&c)) {
        rb->SetHebrew(on);
        rb->SetAlignment(on ? TAlignment::taLeftJustify : TAlignment::taRightJustify);
    } else if (auto* lb = dynamic_cast<THebListBox3D*>(&c)) {
        lb->SetHebrew(on);
        lb->SetAlignment(Side(on));
    } else if (auto* combo = dynamic_cast<THebComboBox*>(&c)) {
        const int index = combo->ItemIndex();
        combo->SetHebrew(on);
        combo->SetItemIndex(index);
    } else if (auto* b = dynamic_cast<TButton3D*>(&c)) {
        b->SetHebrew(on);
    } else if (auto* s = dynamic_cast<THebScrollBox*>(&c)) {
        s->SetHebrew(on);
    } else if (auto* pc = dynamic_cast<THebPageControl*>(&c)) {
        pc->SetHebrew(on);
    } else if (auto* tc = dynamic_cast<THebTabControl*>(&c)) {
        tc->SetHebrew(on);
    } else if (auto* nb = dynamic_cast<THebNotebook*>(&c)) {
        nb->SetHebrew(on);
    } else if (auto* gb = dynamic_cast<THebGroupBox*>(&c)) {
        gb->SetHebrew(on);
    } else if (auto* rg = dynamic_cast<THebRadioGroup*>(&c)) {
        rg->SetHebrew(on);
    }
}

}  // namespace

void DefaultFlip(TComponent& owner, bool on) {
    // The list may grow while pages are activated; components made then are not flipped.
    const int count = owner.ComponentCount();
    for (int i = 0; i < count; ++i) {
        TComponent* c = owner.Components(i);
        if (auto* pages = dynamic_cast<TPageControl*>(c)) {
            // Every page once, so that the controls of each exist, then the one that was up.
            TTabSheet* active = pages->ActivePage();
            for (int p = 0; p < pages->PageCount(); ++p) pages->SetActivePageIndex(p);
            pages->SetActivePage(active);
        }
        if (auto* control = dynamic_cast<TControl*>(c); control && MovesWithMirror(*control)) {
            const int width = control->Parent()->ClientWidth();
            control->SetLeft(width - control->Left() - control->Width());
        }
        SwitchReading(*c, on);
    }
}
