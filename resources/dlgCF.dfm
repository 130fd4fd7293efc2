// The copy window: the file being copied, its progress and the whole run's, and Cancel.
object dlgCF: TdlgCF
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Copy Program Files...'
  ClientHeight = 185
  ClientWidth = 523
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = False
  Position = poScreenCenter
  object UnZipImage: TImage
    Left = 14
    Top = 14
    Width = 32
    Height = 32
    Picture.ResourceName = 'setup.bmp'
    Stretch = True
    Transparent = True
  end
  object Animate1: TAnimate
    Left = 60
    Top = 6
    Width = 320
    Height = 60
    CommonAVI = aviCopyFiles
    StopFrame = 26
  end
  object lblCopyFileHeader: TLabel
    Left = 60
    Top = 72
    Width = 90
    AutoSize = False
    Caption = 'Copying'
    Height = 14
    Font.Style = [fsBold]
  end
  object lblCopyingFile: TLabel
    Left = 154
    Top = 72
    Width = 356
    AutoSize = False
    Caption = '---'
    Height = 14
    ShowAccelChar = False
  end
  object Label1: TLabel
    Left = 60
    Top = 96
    Width = 200
    AutoSize = False
    Caption = 'File progress'
    Height = 14
  end
  object ProgressBar1: TProgressBar
    Left = 60
    Top = 112
    Width = 320
    Height = 16
  end
  object Label2: TLabel
    Left = 60
    Top = 136
    Width = 200
    AutoSize = False
    Caption = 'Total progress'
    Height = 14
  end
  object ProgressBar2: TProgressBar
    Left = 60
    Top = 152
    Width = 320
    Height = 16
  end
  object CancelBtn: TButton3D
    Left = 393
    Top = 132
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
    TabOrder = 0
    OnClick = CancelBtnClick
  end
end
