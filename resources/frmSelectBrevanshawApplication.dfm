// The application page: the catalogue of ready-made applications, and the two default ones Install makes.
object frmSelectBrevanshawApplication: TfrmSelectBrevanshawApplication
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Select Application to Install...'
  ClientHeight = 543
  ClientWidth = 686
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
  Position = poScreenCenter
  object ThemeBitmap: TImage
    Left = 12
    Top = 12
    Width = 121
    Height = 300
    Picture.ResourceName = 'INSTALLTHEME1.bmp'
    Stretch = True
  end
  object Label1: THebLabel
    Left = 148
    Top = 12
    Width = 526
    Height = 32
    AutoSize = False
    Caption = 'Brevanshaw is a very powerful organizer for pictures, movies, sounds and any other file in the system.'
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    ShowAccelChar = False
    WordWrap = True
  end
  object Label2: THebLabel
    Left = 148
    Top = 50
    Width = 526
    Height = 30
    AutoSize = False
    Caption = 'Brevanshaw comes with several ready to use applications designed for home users, doctors, professional users and more...'
    ShowAccelChar = False
    WordWrap = True
  end
  object Label3: THebLabel
    Left = 148
    Top = 84
    Width = 526
    Height = 30
    AutoSize = False
    Caption = 'You may also choose to design your own application to organize any information you have.'
    ShowAccelChar = False
    WordWrap = True
  end
  object Label4: THebLabel
    Left = 148
    Top = 116
    Width = 526
    Height = 14
    AutoSize = False
    Caption = ''
    ShowAccelChar = False
  end
  object TabControl1: THebTabControl
    Left = 148
    Top = 134
    Width = 526
    Height = 190
    TabOrder = 0
    OnChange = TabControl1Change
    object AppListBox: THebListBox3D
      Left = 8
      Top = 30
      Width = 510
      Height = 150
      Enabled = False
      TabOrder = 0
    end
  end
  object optApp1: THebRadioButton
    Left = 148
    Top = 344
    Width = 17
    Height = 17
    Checked = True
    TabOrder = 1
    OnClick = DefaultAppClick
  end
  object lblApp1: THebLabel
    Left = 168
    Top = 345
    Width = 150
    Caption = 'General file organizer'
    ShowAccelChar = False
    OnClick = DefaultAppClick
  end
  object optApp2: THebRadioButton
    Left = 368
    Top = 344
    Width = 17
    Height = 17
    TabOrder = 2
    OnClick = DefaultAppClick
  end
  object lblApp2: THebLabel
    Left = 388
    Top = 345
    Width = 150
    Caption = 'General internet organizer'
    ShowAccelChar = False
    OnClick = DefaultAppClick
  end
  object Label5: THebLabel
    Left = 148
    Top = 384
    Width = 526
    Height = 16
    AutoSize = False
    Caption = 'Enter the name for your application (such as John''s phone book) :'
    ShowAccelChar = False
  end
  object AppNameEdit: THebEdit
    Left = 148
    Top = 402
    Width = 526
    Height = 21
    Enabled = False
    MaxLength = 50
    TabOrder = 3
  end
  object Bevel1: TBevel
    Left = 12
    Top = 473
    Width = 662
    Height = 2
    Shape = bsTopLine
  end
  object InstallBtn: TButton3D
    Left = 430
    Top = 487
    Width = 116
    Height = 36
    Caption = 'Install'
    Default = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    IconResName = 'PROCEED'
    ImageControl = MainSetupDlg.SilverBtn
    TabOrder = 4
    OnClick = InstallBtnClick
  end
  object CancelBtn: TButton3D
    Left = 558
    Top = 487
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
    TabOrder = 5
    OnClick = CancelBtnClick
  end
  object HebrewFlip1: THebrewFlip
  end
  object HebForm1: THebForm
    Hebrew = False
  end
end
