// The destination directory picker: a path, the directories and the drives.
object SelectDirectoryDlg: TSelectDirectoryDlg
  ActiveControl = DestinationDirectory
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'Select Destination Directory...'
  ClientHeight = 397
  ClientWidth = 419
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
  Position = poScreenCenter
  object Label1: TLabel
    Left = 12
    Top = 12
    Width = 395
    AutoSize = False
    Caption = 'Please choose the directory for installation.'
    Height = 30
    WordWrap = True
  end
  object Label2: TLabel
    Left = 12
    Top = 48
    Width = 120
    AutoSize = False
    Caption = 'Path:'
    Height = 14
  end
  object DestinationDirectory: TEdit
    Left = 12
    Top = 64
    Width = 395
    Height = 21
    TabOrder = 0
  end
  object Label3: TLabel
    Left = 12
    Top = 96
    Width = 120
    AutoSize = False
    Caption = 'Directories:'
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
  object Label4: TLabel
    Left = 12
    Top = 290
    Width = 120
    AutoSize = False
    Caption = 'Drives:'
    Height = 14
  end
  object DriveComboBox: TDriveComboBox
    Left = 12
    Top = 306
    Width = 200
    TabOrder = 2
    OnChange = DriveComboBoxChange
  end
  object OkBtn: TButton3D
    Left = 163
    Top = 345
    Width = 116
    Height = 36
    Caption = 'OK'
    Default = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    IconResName = 'SELECT'
    ImageControl = MainSetupDlg.SilverBtn
    TabOrder = 3
    OnClick = OkBtnClick
  end
  object CancelBtn: TButton3D
    Left = 291
    Top = 345
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
    TabOrder = 4
    OnClick = CancelBtnClick
  end
end
