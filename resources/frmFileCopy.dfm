// The copy window of the product pages: the file being copied and how far it is.
object frmFileCopy: TfrmFileCopy
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Installing Application...'
  ClientHeight = 158
  ClientWidth = 446
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = False
  Position = poScreenCenter
  object lbl1: THebLabel
    Left = 12
    Top = 12
    Width = 422
    Height = 16
    AutoSize = False
    Caption = ''
    ShowAccelChar = False
  end
  object Animate1: TAnimate
    Left = 63
    Top = 36
    Width = 320
    Height = 60
    CommonAVI = aviCopyFiles
  end
  object ProgressBar1: TProgressBar
    Left = 12
    Top = 112
    Width = 422
    Height = 18
  end
  object HebrewFlip1: THebrewFlip
  end
  object HebForm1: THebForm
    Hebrew = False
  end
end
