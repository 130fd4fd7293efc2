object KitFolderDlg: TKitFolderDlg
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Setup kit folder'
  ClientHeight = 150
  ClientWidth = 420
  Position = poScreenCenter
  object Explanation: TLabel
    Left = 12
    Top = 12
    Width = 396
    Height = 52
    AutoSize = False
    Caption = 'The registry entry that locates the setup kit is missing or incorrect. Enter the directory of the kit (the folder that holds QuenfoldLoadProgram.exe), or browse for it.'
    WordWrap = True
  end
  object FolderEdit: TEdit
    Left = 12
    Top = 76
    Width = 300
    Height = 21
  end
  object BrowseBtn: TButton
    Left = 320
    Top = 74
    Width = 88
    Height = 25
    Caption = '&Browse...'
    OnClick = BrowseBtnClick
  end
  object CloseBtn: TButton
    Left = 320
    Top = 114
    Width = 88
    Height = 25
    Caption = '&Close'
    Default = True
    ModalResult = 1
  end
end
