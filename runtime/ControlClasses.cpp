// Registration of the control classes; see ControlClasses.h.
#include "runtime/ControlClasses.h"

#include "runtime/Buttons.h"
#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/FileCtrl.h"
#include "runtime/HebCtrls.h"
#include "runtime/ListCtrls.h"
#include "runtime/StdCtrls.h"
#include "runtime/TreeView.h"

namespace rt {

void RegisterControlClasses() {
    RegisterClasses({
        &TLabel::StaticClass(), &TImage::StaticClass(),
        &TButton::StaticClass(), &TCheckBox::StaticClass(), &TRadioButton::StaticClass(), &TGroupBox::StaticClass(),
        &TEdit::StaticClass(), &TMemo::StaticClass(),
        &TListBox::StaticClass(), &TComboBox::StaticClass(),
        &TPanel::StaticClass(), &TBevel::StaticClass(), &TRadioGroup::StaticClass(), &TScrollBox::StaticClass(),
        &TMultiplePictureBox::StaticClass(), &TNotebook::StaticClass(), &TPage::StaticClass(),
        &TImageList::StaticClass(), &TProgressBar::StaticClass(), &TAnimate::StaticClass(),
        &TPageControl::StaticClass(), &TTabSheet::StaticClass(), &TTabControl::StaticClass(),
        &TTreeView::StaticClass(),
        &TBitBtn::StaticClass(),
        &TDriveComboBox::StaticClass(), &TDirectoryListBox::StaticClass(),
        &THebLabel::StaticClass(), &THebEdit::StaticClass(), &THHEdit::StaticClass(), &THebDMemo::StaticClass(),
        &THebCheckBox::StaticClass(), &THebRadioButton::StaticClass(), &THebRadioGroup::StaticClass(),
        &THebGroupBox::StaticClass(), &THebListBox3D::StaticClass(), &THebComboBox::StaticClass(),
        &THebPageControl::StaticClass(), &THebTabControl::StaticClass(), &THebNotebook::StaticClass(),
        &THebScrollBox::StaticClass(),
    });
}

}  // namespace rt
