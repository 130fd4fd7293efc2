// The question asked when the chosen destination already holds the product: keep the
// applications found there, or install over them.
#pragma once

#include <string>

#include "app/ProductPage.h"

class TfrmChooseInstallType : public TProductPage {
    RT_CLASS(TfrmChooseInstallType, TProductPage)
public:
    explicit TfrmChooseInstallType(rt::TComponent* owner);

    void ProceedBtnClick(rt::TObject* sender);

    // 0 when dir holds no product database (nothing is asked); otherwise the answer: 7 keep
    // the applications, 6 install over them, 2 the user left setup.
    static int Run(const std::string& dir);

protected:
    void Proceed() override { ProceedBtnClick(this); }
};
