// Bitmap buttons; see Buttons.h.
#include "runtime/Buttons.h"

#include "runtime/Forms.h"

RT_DEFINE_ENUM(rt::TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
               "bkRetry", "bkIgnore", "bkAll")
RT_DEFINE_ENUM(rt::TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

namespace rt {

const TClassInfo& TBitBtn::StaticClass() {
    static const TClassInfo info{"TBitBtn", &TButton::StaticClass(), Factory<TBitBtn>(),
                                 {AccessorProperty("Kind", &TBitBtn::Kind, &TBitBtn::SetKind),
                                  ObjectProperty("Glyph", &TBitBtn::GlyphObject),
                                  AccessorProperty("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout),
                                  AccessorProperty("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
                                  AccessorProperty("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing),
                                  AccessorProperty("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)},
                                 {}};
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(new TPicture) {
    FGlyph->OnChange = TNotifyEvent(this, [this](TObject*) { Changed(TControlChange::Appearance); });
}

TBitBtn::~TBitBtn() { delete FGlyph; }

std::string TBitBtn::KindCaption(TBitBtnKind kind) {
    switch (kind) {
    case TBitBtnKind::bkCustom: return "";
    case TBitBtnKind::bkOK: return "OK";
    case TBitBtnKind::bkCancel: return "Cancel";
    case TBitBtnKind::bkHelp: return "&Help";
    case TBitBtnKind::bkYes: return "&Yes";
    case TBitBtnKind::bkNo: return "&No";
    case TBitBtnKind::bkClose: return "&Close";
    case TBitBtnKind::bkAbort: return "Abort";
    case TBitBtnKind::bkRetry: return "&Retry";
    case TBitBtnKind::bkIgnore: return "&Ignore";
    case TBitBtnKind::bkAll: return "&All";
    }
    return "";
}

int TBitBtn::KindModalResult(TBitBtnKind kind) {
    switch (kind) {
    case TBitBtnKind::bkOK: return mrOk;
    case TBitBtnKind::bkCancel: return mrCancel;
    case TBitBtnKind::bkYes: return mrYes;
    case TBitBtnKind::bkNo: return mrNo;
    case TBitBtnKind::bkAbort: return mrAbort;
    case TBitBtnKind::bkRetry: return mrRetry;
    case TBitBtnKind::bkIgnore: return mrIgnore;
    case TBitBtnKind::bkAll: return mrAll;
    default: return mrNone;
    }
}

void TBitBtn::SetKind(TBitBtnKind v) {
    if (v == FKind) return;
    FKind = v;
    if (v != TBitBtnKind::bkCustom) {
        SetDefault(v == TBitBtnKind::bkOK || v == TBitBtnKind::bkYes);
        SetCancel(v == TBitBtnKind::bkCancel || v == TBitBtnKind::bkNo);
        SetModalResult(KindModalResult(v));
        // A caption read before the kind is the designer's and stays.
        if (!IsLoading() || Caption().empty()) SetCaption(KindCaption(v));
    }
    Changed(TControlChange::Appearance);
}

void TBitBtn::SetLayout(TButtonLayout v) {
    FLayout = v;
    Changed(TControlChange::Appearance);
}

void TBitBtn::SetMargin(int v) {
    FMargin = v < -1 ? -1 : v;
    Changed(TControlChange::Appearance);
}

void TBitBtn::SetSpacing(int v) {
    FSpacing = v;
    Changed(TControlChange::Appearance);
}

void TBitBtn::SetNumGlyphs(int v) {
    FNumGlyphs = v < 1 ? 1 : v > 4 ? 4 : v;
    Changed(TControlChange::Appearance);
}

void TBitBtn::Click() {
    if (FKind == TBitBtnKind::bkClose) {
        if (TCustomForm* f = ParentForm()) f->Close();
        TControl::Click();
        return;
    }
    TButton::Click();
}

}  // namespace rt
