// The change-disk question, right to left.
object HebdlgCD: THebdlgCD
  ActiveControl = Edit1
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Setup Needs The Next Disk'
  ClientHeight = 178
  ClientWidth = 413
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = False
  Position = poScreenCenter
  object ThemeBitmap: TImage
    Left = 346
    Top = 12
    Width = 57
    Height = 113
    Stretch = True
  end
  object Label3: THebLabel
    Left = 10
    Top = 12
    Width = 325
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Please insert disk number'
    Hebrew = True
    Height = 16
    Font.Style = [fsBold]
  end
  object Label2: THebLabel
    Left = 10
    Top = 32
    Width = 325
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'If the files on this disk can be found in another location, for example, in another drive, enter its full path or click the Browse button to select its path.'
    Hebrew = True
    Height = 44
    WordWrap = True
  end
  object Label4: THebLabel
    Left = 235
    Top = 82
    Width = 100
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Path:'
    Hebrew = True
    Height = 14
  end
  object Edit1: THebEdit
    Left = 105
    Top = 98
    Width = 230
    Height = 21
    Hebrew = True
    TabOrder = 0
  end
  object BrowseBtn: TButton
    Left = 10
    Top = 96
    Width = 87
    Height = 25
    Caption = '&Browse...'
    TabOrder = 1
    OnClick = BrowseBtnClick
  end
  object InstallBtn: TBitBtn
    Left = 102
    Top = 140
    Width = 85
    Height = 27
    Caption = 'Proceed'
    Kind = bkOK
    TabOrder = 2
    OnClick = InstallBtnClick
  end
  object CancelBtn: TBitBtn
    Left = 10
    Top = 140
    Width = 85
    Height = 27
    Caption = 'Cancel'
    Kind = bkCancel
    ModalResult = 0
    TabOrder = 3
    OnClick = CancelBtnClick
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
