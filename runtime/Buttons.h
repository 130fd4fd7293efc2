// Bitmap buttons: push buttons with a kind that brings its caption, modal result and
// default or cancel role, and an optional glyph drawn beside the caption.
#pragma once

#include "runtime/StdCtrls.h"

namespace rt {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

}  // namespace rt

RT_DECLARE_ENUM(rt::TBitBtnKind)
RT_DECLARE_ENUM(rt::TButtonLayout)

namespace rt {

// Setting Kind (other than bkCustom) makes OK and Yes the default button, Cancel and No the
// cancel button, sets the kind's modal result, and its caption unless a description already
// gave one. A bkClose button closes its form.
class TBitBtn : public TButton {
    RT_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind v);
    TPicture* Glyph() const { return FGlyph; }
    TPersistent* GlyphObject() const { return FGlyph; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    // Pixels from the edge to the glyph; -1 centres glyph and caption together.
    int Margin() const { return FMargin; }
    void SetMargin(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    // Images side by side in Glyph: up, disabled, down, held down. The first shows.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);

    void Click() override;

    static std::string KindCaption(TBitBtnKind kind);
    static int KindModalResult(TBitBtnKind kind);

private:
    TBitBtnKind FKind = TBitBtnKind::bkCustom;
    TPicture* FGlyph;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FNumGlyphs = 1;
};

}  // namespace rt
