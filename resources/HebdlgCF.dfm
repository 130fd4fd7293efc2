// The copy window, right to left.
object HebdlgCF: THebdlgCF
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'העתקת קובצי התוכנית...'
  ClientHeight = 185
  ClientWidth = 523
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = False
  Position = poScreenCenter
  object UnZipImage: TImage
    Left = 477
    Top = 14
    Width = 32
    Height = 32
    Picture.ResourceName = 'setup.bmp'
    Stretch = True
    Transparent = True
  end
  object Animate1: TAnimate
    Left = 143
    Top = 6
    Width = 320
    Height = 60
    CommonAVI = aviCopyFiles
    StopFrame = 26
  end
  object HeblblCopyFileHeader: THebLabel
    Left = 373
    Top = 72
    Width = 90
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'מעתיק'
    Hebrew = True
    Height = 14
    Font.Style = [fsBold]
  end
  object lblCopyingFile: THebLabel
    Left = 13
    Top = 72
    Width = 356
    Alignment = taRightJustify
    AutoSize = False
    Caption = '---'
    Hebrew = True
    Height = 14
    ShowAccelChar = False
  end
  object HebLabel1: THebLabel
    Left = 263
    Top = 96
    Width = 200
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'התקדמות הקובץ'
    Hebrew = True
    Height = 14
  end
  object ProgressBar1: TProgressBar
    Left = 143
    Top = 112
    Width = 320
    Height = 16
  end
  object HebLabel2: THebLabel
    Left = 263
    Top = 136
    Width = 200
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'התקדמות כוללת'
    Hebrew = True
    Height = 14
  end
  object ProgressBar2: TProgressBar
    Left = 143
    Top = 152
    Width = 320
    Height = 16
  end
  object CancelBtn: TButton3D
    Left = 14
    Top = 132
    Width = 116
    Height = 36
    Caption = 'ביטול'
    Cancel = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Hebrew = True
    IconResName = 'CANCEL'
    ImageControl = MainSetupDlg.GoldBtn
    TabOrder = 0
    OnClick = CancelBtnClick
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
