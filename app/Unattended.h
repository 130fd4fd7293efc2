// Setup without a person, and the record of a person's answers. The watcher sees every modal
// window of the run: in an unattended run it fills in the answers it was given (or the ones
// the page proposes) and presses the button a person would press; a page that will not take
// them ends the run as refused. In every run it notes what the user chose, for /SAVEINF.
#pragma once

#include <string>

#include "engine/SetupOptions.h"
#include "runtime/Forms.h"

class TSetupWatcher : public rt::IModalWatcher {
public:
    TSetupWatcher(const TSetupAnswers& given, bool unattended) : FGiven(given), FUnattended(unattended) {}

    rt::TModalResult Answer(rt::TCustomForm& form) override;
    void Closed(rt::TCustomForm& form, rt::TModalResult result) override;

    // What was chosen on the pages passed so far.
    const TSetupAnswers& Chosen() const { return FChosen; }

private:
    rt::TModalResult AnswerMessage(rt::TCustomForm& form);
    // Presses the form's default button; a form that stays up has refused its answers.
    rt::TModalResult PressDefault(rt::TCustomForm& form);

    TSetupAnswers FGiven;
    TSetupAnswers FChosen;
    bool FUnattended;
    // The last notice a page showed: the reason it gives when it refuses.
    std::string FLastNotice;
};

// The user's name and organisation Windows was registered to: what an unattended run puts on
// the user information page when it was told nothing.
std::string RegisteredOwner();
std::string RegisteredOrganization();
