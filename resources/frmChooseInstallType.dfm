// The question about the applications an earlier installation left in the chosen directory.
object frmChooseInstallType: TfrmChooseInstallType
  ActiveControl = RadioGroup1
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Applications Found...'
  ClientHeight = 351
  ClientWidth = 545
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
  Position = poScreenCenter
  object ThemeBitmap: TImage
    Left = 12
    Top = 12
    Width = 121
    Height = 265
    Picture.ResourceName = 'INSTALLTHEME1.bmp'
    Stretch = True
  end
  object Label1: THebLabel
    Left = 148
    Top = 16
    Width = 385
    Height = 40
    AutoSize = False
    Caption = 'Brevanshaw has already been installed on this computer and contains applications.'
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    ShowAccelChar = False
    WordWrap = True
  end
  object Label2: THebLabel
    Left = 148
    Top = 70
    Width = 385
    Height = 32
    AutoSize = False
    Caption = 'What do you want to do with the existing applications ?'
    ShowAccelChar = False
    WordWrap = True
  end
  object RadioGroup1: THebRadioGroup
    Left = 148
    Top = 120
    Width = 385
    Height = 90
    ItemIndex = 0
    Items.Strings = (
      'Keep applications (no change)'
      'Install over the applications')
    TabOrder = 0
  end
  object Bevel1: TBevel
    Left = 12
    Top = 291
    Width = 521
    Height = 2
    Shape = bsTopLine
  end
  object ProceedBtn: TButton3D
    Left = 289
    Top = 303
    Width = 116
    Height = 36
    Caption = 'Proceed'
    Default = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    IconResName = 'PROCEED'
    ImageControl = MainSetupDlg.SilverBtn
    TabOrder = 1
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TButton3D
    Left = 417
    Top = 303
    Width = 116
    Height = 36
    Caption = 'Cancel'
    Cancel = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    IconResName = 'CANCEL'
    ImageControl = MainSetupDlg.GoldBtn
    TabOrder = 2
    OnClick = CancelBtnClick
  end
  object HebrewFlip1: THebrewFlip
  end
  object HebForm1: THebForm
    Hebrew = False
  end
end
