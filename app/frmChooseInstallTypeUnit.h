// The question asked when the chosen destination already holds the product: keep the
// applications found there, or install over them.
#pragma once

#include <string>

#include "dialogs/DocForm.h"

class TfrmChooseInstallType : public TDocForm {
    RT_CLASS(TfrmChooseInstallType, TDocForm)
public:
    explicit TfrmChooseInstallType(rt::TComponent* owner);

    void ProceedBtnClick(rt::TObject* sender);
    void CancelBtnClick(rt::TObject* sender);
    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;

    // 0 when dir holds no product database (nothing is asked); otherwise the answer: 7 keep
    // the applications, 6 install over them, 2 the user left setup.
    static int Run(const std::string& dir);
};
