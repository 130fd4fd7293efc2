// The language choice; see SelectLangUnit.h.
#include "app/SelectLangUnit.h"

#include "app/StringTable.h"
#include "engine/SetupState.h"
#include "runtime/ExtCtrls.h"
#include "ui/Button3D.h"
#include "ui/MsgDialog.h"

using namespace rt;

namespace {
// Before a language is chosen each item names itself, and the start button takes the word of
// the item selected: these ids are not localised by the index.
constexpr int kLanguageNames = 30480;
constexpr int kStartCaptions = 30000;
}  // namespace

void SetSetupLanguage(int index) {
    TSetupState& state = SetupState();
    state.LanguageIndex = index;
    state.Hebrew = index == 1;
    SetMsgDlgLanguage(index);
}

const TClassInfo& TSelectLangDlg::StaticClass() {
    using D = TSelectLangDlg;
    static const TClassInfo info{"TSelectLangDlg", &TDocForm::StaticClass(), {}, {},
                                 {Method("FormCreate", &D::FormCreate), Method("RadioGroup1Click", &D::RadioGroup1Click),
                                  Method("StartBtnClick", &D::StartBtnClick), Method("FormKeyDown", &D::FormKeyDown),
                                  Method("FormCloseQuery", &D::FormCloseQuery)}};
    return info;
}

TSelectLangDlg::TSelectLangDlg(TComponent* owner) : TDocForm(owner) {
    LoadDescription("SelectLangDlg.dfm");
    if (!dynamic_cast<TRadioGroup*>(FindComponent("RadioGroup1")) || !dynamic_cast<TButton3D*>(FindComponent("StartBtn")))
        throw Exception("The language choice's description lacks its list or its start button");
    DoCreate();
}

void TSelectLangDlg::FormCreate(TObject*) {
    PrepareButtons3D(*this);
    SetRealHeight(291);
    SetRealWidth(331);
    TStrings* items = static_cast<TRadioGroup*>(FindComponent("RadioGroup1"))->Items();
    for (int i = 0; i < items->Count(); ++i) items->SetStrings(i, LoadStr(kLanguageNames + i));
    FCloseAllowed = false;
}

int TSelectLangDlg::SelectedLanguage() const { return static_cast<TRadioGroup*>(FindComponent("RadioGroup1"))->ItemIndex(); }

void TSelectLangDlg::RadioGroup1Click(TObject*) {
    auto* start = static_cast<TButton3D*>(FindComponent("StartBtn"));
    const std::string caption = LoadStr(kStartCaptions + SelectedLanguage());
    if (start->CaptionText() != caption) start->SetCaption(caption);
}

void TSelectLangDlg::StartBtnClick(TObject*) {
    FCloseAllowed = true;
    SetModalResult(mrOk);
}

void TSelectLangDlg::FormKeyDown(TObject*, std::uint16_t& key, TShiftState) {
    if (dynamic_cast<TButton3D*>(ActiveControl())) return;
    if (key == vkReturn || key == vkSpace) {
        key = 0;
        StartBtnClick(this);
    }
}

void TSelectLangDlg::FormCloseQuery(TObject*, bool& canClose) {
    TApplication* app = Application();
    canClose = FCloseAllowed || (app && app->Terminated());
}
