// The destination directory picker, right to left.
object HebSelectDirectoryDlg: THebSelectDirectoryDlg
  ActiveControl = DestinationDirectory
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'בחירת ספריית יעד...'
  ClientHeight = 397
  ClientWidth = 419
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = True
  Position = poScreenCenter
  object HebLabel1: THebLabel
    Left = 12
    Top = 12
    Width = 395
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'בחר את הספרייה להתקנה.'
    Hebrew = True
    Height = 30
    WordWrap = True
  end
  object HebLabel2: THebLabel
    Left = 287
    Top = 48
    Width = 120
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'נתיב:'
    Hebrew = True
    Height = 14
  end
  object DestinationDirectory: THHEdit
    Left = 12
    Top = 64
    Width = 395
    Height = 21
    Hebrew = True
    TabOrder = 0
  end
  object HebLabel3: THebLabel
    Left = 287
    Top = 96
    Width = 120
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'ספריות:'
    Hebrew = True
    Height = 14
  end
  object DirectoriesListBox: TDirectoryListBox
    Left = 12
    Top = 112
    Width = 395
    Height = 170
    TabOrder = 1
    OnChange = DirectoriesListBoxChange
  end
  object HebLabel4: THebLabel
    Left = 287
    Top = 290
    Width = 120
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'כוננים:'
    Hebrew = True
    Height = 14
  end
  object DriveComboBox: TDriveComboBox
    Left = 207
    Top = 306
    Width = 200
    TabOrder = 2
    OnChange = DriveComboBoxChange
  end
  object OkBtn: TButton3D
    Left = 140
    Top = 345
    Width = 116
    Height = 36
    Caption = 'אישור'
    Default = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Hebrew = True
    IconResName = 'SELECT'
    ImageControl = MainSetupDlg.SilverBtn
    TabOrder = 3
    OnClick = OkBtnClick
  end
  object CancelBtn: TButton3D
    Left = 12
    Top = 345
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
    TabOrder = 4
    OnClick = CancelBtnClick
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
