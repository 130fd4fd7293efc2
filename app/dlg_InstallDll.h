// The add-on page: the product's add-on to the system's open and save dialogs, installed or
// not. Installing stages the add-on library in place of the system's common dialog library
// for the next restart.
#pragma once

#include <string>

#include "app/ProductPage.h"

class TfrmInstallDll : public TProductPage {
    RT_CLASS(TfrmInstallDll, TProductPage)
public:
    explicit TfrmInstallDll(rt::TComponent* owner);

    void OptionLabelClick(rt::TObject* sender);
    // 6 when a replacement was staged (a restart is needed), 7 when nothing was.
    void ProceedBtnClick(rt::TObject* sender);

protected:
    void Proceed() override { ProceedBtnClick(this); }
};

// The system directory in its short 8.3 form with a trailing backslash; the long form where
// the short one cannot be read.
std::string ShortSystemDir();
// Asks the system to put the staged copy sys + "COMDLG32.1" in place of the common dialog
// library at the next restart, keeping the system's own as COMDLGOL.DLL unless the add-on is
// the live library already. False when nothing was staged (no staged copy, or a system that
// has no way to do it).
bool StageAddOnReplacement(const std::string& sys);
