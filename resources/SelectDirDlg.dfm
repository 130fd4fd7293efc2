object SelectDirDlg: TSelectDirDlg
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Select Directory'
  ClientHeight = 290
  ClientWidth = 340
  Position = poScreenCenter
  object PathLabel: TLabel
    Left = 12
    Top = 10
    Caption = '&Directory name:'
    FocusControl = PathEdit
  end
  object PathEdit: TEdit
    Left = 12
    Top = 28
    Width = 316
    Height = 21
  end
  object Dirs: TDirectoryListBox
    Left = 12
    Top = 58
    Width = 316
    Height = 160
    OnChange = DirsChange
  end
  object Drives: TDriveComboBox
    Left = 12
    Top = 226
    Width = 160
    Height = 21
    DirList = Dirs
  end
  object OkBtn: TButton
    Left = 160
    Top = 256
    Width = 80
    Height = 25
    Caption = 'OK'
    Default = True
    OnClick = OkBtnClick
  end
  object CancelBtn: TButton
    Left = 248
    Top = 256
    Width = 80
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
  end
end
