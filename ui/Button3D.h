// The 3D page button: a focusable panel whose face is a picture borrowed from an image
// elsewhere, with its caption on a centred label that shrinks to fit, can split over two
// lines, highlights on focus, and which answers Enter, Escape and space itself.
#pragma once

#include <string>

#include "runtime/Controls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/HebCtrls.h"

// The caption split after the first words words (0 counts as 1) with LF then CR between
// the parts; unchanged when it has too few blanks.
std::string SplitCaption(const std::string& caption, int words);
// The caption as one line again: the two parts around the LF CR pair joined by a blank.
std::string JoinCaption(const std::string& text);
// Prepares every 3D button a form owns, as each form's creation does.
void PrepareButtons3D(rt::TComponent& form);
// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

class TButton3D : public rt::TCustomPanel {
    RT_CLASS(TButton3D, rt::TCustomPanel)
public:
    explicit TButton3D(rt::TComponent* owner);
    ~TButton3D() override;

    rt::TImage* ImageControl() const { return FImageControl; }
    void SetImageControl(rt::TImage* v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    int SplitWord() const { return FSplitWord; }
    void SetSplitWord(int v);
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool v);
    bool Default() const { return FDefault; }
    void SetDefault(bool v) { FDefault = v; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    bool DefaultKeyHandler() const { return FDefaultKeyHandler; }
    void SetDefaultKeyHandler(bool v) { FDefaultKeyHandler = v; }
    rt::TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(rt::TColor v) { FFocusColor = v; }
    bool ShowTheIcon() const { return FShowTheIcon; }
    void SetShowTheIcon(bool v) { FShowTheIcon = v; }
    const std::string& IconResName() const { return FIconResName; }
    void SetIconResName(const std::string& v) { FIconResName = v; }
    rt::TPicture* Icon() const { return FIcon; }
    rt::TPersistent* IconObject() const { return FIcon; }
    bool Hebrew() const { return FHebrew; }
    void SetHebrew(bool v);

    // Turns the designed button into a 3D button: its caption moves to a label on top.
    void Prepare();
    bool Prepared() const { return FPrepared; }
    // The label that shows the caption (after Prepare), and the caption as one line.
    rt::THebLabel* CaptionLabel() const { return FLabel; }
    std::string CaptionText() const;
    bool Hovering() const { return FHover; }
    bool IconShown() const { return FIconShown; }

    void Click() override;
    void MouseClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetEnabled(bool v) override;
    void SetBounds(int left, int top, int width, int height) override;
    void KeyDown(std::uint16_t& key, rt::TShiftState shift) override;
    rt::TWantKeys WantKeys() const override;
    void DoEnter() override;
    void DoExit() override;
    bool CustomFace(rt::TPanelFace& face) const override;

protected:
    void TextChanged() override;
    void FontChanged() override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    void LayoutCaption();
    void FitCaption();
    void PlaceLabel();
    void ApplyAutoWidth();
    void RestoreCaption();
    // The first 3D button of the form, in component order, that takes the key.
    TButton3D* FirstOnForm(bool wantDefault) const;

    rt::TImage* FImageControl = nullptr;
    bool FMultiLine = false;
    int FSplitWord = 0;
    bool FAutoWidth = false;
    bool FDefault = false;
    bool FCancel = false;
    bool FDefaultKeyHandler = true;
    rt::TColor FFocusColor = rt::clYellow;
    bool FShowTheIcon = false;
    std::string FIconResName;
    rt::TPicture* FIcon;
    bool FHebrew = false;

    bool FPrepared = false;
    rt::THebLabel* FLabel = nullptr;
    std::string FText;  // the caption, one line
    bool FHover = false;
    bool FIconShown = false;
    bool FSettingCaption = false;
    double FVerticalFactor = 0.8;
};
