// The product's own pages; see ProductPage.h.
#include "app/ProductPage.h"

#include "engine/SetupState.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

const TClassInfo& TProductPage::StaticClass() {
    static const TClassInfo info{"TProductPage", &TDocForm::StaticClass(), {}, {},
                                 {Method("CancelBtnClick", &TProductPage::CancelBtnClick)}};
    return info;
}

TProductPage::TProductPage(TComponent* owner) : TDocForm(owner) {}

void TProductPage::LoadProductPage(const std::string& description, int realWidth, int realHeight) {
    LoadDescription(description);
    PrepareButtons3D(*this);
    SetRealWidth(realWidth);
    SetRealHeight(realHeight);
}

void TProductPage::CancelBtnClick(TObject*) {
    if (!ConfirmExit(this)) return;
    SetupState().UserCancelled = true;
    SetModalResult(mrCancel);
}

void TProductPage::KeyDown(std::uint16_t& key, TShiftState shift) {
    TDocForm::KeyDown(key, shift);
    PageKeys(*this, key, [this] { Proceed(); }, [this] { CancelBtnClick(this); });
}
