// The add-on page: what the add-on does, and whether to install it.
object frmInstallDll: TfrmInstallDll
  ActiveControl = optInstall
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Install Brevanshaw Add-On ?'
  ClientHeight = 561
  ClientWidth = 714
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
  object TextPanel: TPanel
    Left = 148
    Top = 12
    Width = 554
    Height = 360
    BevelOuter = bvNone
    object Label1: THebLabel
      Left = 0
      Top = 0
      Width = 554
      Caption = 'Brevanshaw has a built-in Add-On to Windows 95/NT which lets you integrate Brevanshaw into the operating system.'
      Font.Height = -12
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer1: TLabel
      Top = 40
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
    object Label2: THebLabel
      Left = 0
      Top = 50
      Width = 554
      Caption = 'Once you see how simple and powerful Brevanshaw is, you''ll soon want to use it not just to store your pictures and movies but also to organize your entire system.'
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer2: TLabel
      Top = 90
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
    object Label3: THebLabel
      Left = 0
      Top = 100
      Width = 554
      Caption = 'Once the add-on is active, whenever you''ll save or open files from most applications, you''ll see an additional "Brevanshaw" button.'
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer3: TLabel
      Top = 140
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
    object Label4: THebLabel
      Left = 0
      Top = 150
      Width = 554
      Caption = 'Click that button and a wizard will guide you through 3 simple steps that will let you describe the file you''re opening/saving using the categories in any Brevanshaw application and thus automatically importing the file into Brevanshaw.'
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer4: TLabel
      Top = 190
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
    object Label5: THebLabel
      Left = 0
      Top = 200
      Width = 554
      Caption = 'You can find that file in the future by remembering just a phrase or number that you used to describe it, and Brevanshaw will locate it for you.'
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer5: TLabel
      Top = 240
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
    object Label6: THebLabel
      Left = 0
      Top = 250
      Width = 554
      Caption = 'The Brevanshaw ! Add-On lets you "Remember" and locate your files like a human and not like a computer.'
      Font.Height = -12
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      ShowAccelChar = False
      WordWrap = True
      Align = alTop
    end
    object Spacer6: TLabel
      Top = 290
      Width = 554
      Height = 10
      Align = alTop
      AutoSize = False
    end
  end
  object optInstall: THebRadioButton
    Left = 148
    Top = 392
    Width = 17
    Height = 17
    Checked = True
    TabOrder = 0
  end
  object Label7: THebLabel
    Left = 170
    Top = 393
    Width = 532
    Caption = 'Install the Brevanshaw Add-On.'
    Font.Height = -12
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    ShowAccelChar = False
    OnClick = OptionLabelClick
  end
  object optDontInstall: THebRadioButton
    Left = 148
    Top = 422
    Width = 17
    Height = 17
    TabOrder = 1
  end
  object Label8: THebLabel
    Left = 170
    Top = 423
    Width = 532
    Caption = 'Don''t install the Add-On.'
    ShowAccelChar = False
    OnClick = OptionLabelClick
  end
  object Bevel1: TBevel
    Left = 12
    Top = 491
    Width = 690
    Height = 2
    Shape = bsTopLine
  end
  object ProceedBtn: TButton3D
    Left = 458
    Top = 505
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
    TabOrder = 2
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TButton3D
    Left = 586
    Top = 505
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
    TabOrder = 3
    OnClick = CancelBtnClick
  end
  object HebrewFlip1: THebrewFlip
  end
  object HebForm1: THebForm
    Hebrew = False
  end
end
