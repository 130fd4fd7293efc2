// The language choice at the start of the installation, and the one place that sets the
// chosen language for the whole program.
#pragma once

#include <cstdint>

#include "dialogs/DocForm.h"

// The setup language from now on: the language index, the Hebrew flag and the message box's
// own copy of the index, all at once. 0 English, 1 Hebrew, 2 Spanish, 3 German, 4 Dutch.
void SetSetupLanguage(int index);

// Five languages, each named in itself; the start button speaks the language selected. Only
// the start button (or Enter and the space bar) closes it.
class TSelectLangDlg : public TDocForm {
    RT_CLASS(TSelectLangDlg, TDocForm)
public:
    explicit TSelectLangDlg(rt::TComponent* owner);

    void FormCreate(rt::TObject* sender);
    void RadioGroup1Click(rt::TObject* sender);
    void StartBtnClick(rt::TObject* sender);
    void FormKeyDown(rt::TObject* sender, std::uint16_t& key, rt::TShiftState shift);
    void FormCloseQuery(rt::TObject* sender, bool& canClose);

    // The language index of the item selected.
    int SelectedLanguage() const;

private:
    bool FCloseAllowed = false;
};
