// The program folder page: the Start menu folder for the shortcuts, typed or picked.
object dlgSF: TdlgSF
  ActiveControl = FolderEdit
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Select Program Folder...'
  ClientHeight = 411
  ClientWidth = 516
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  FormStyle = fsStayOnTop
  KeyPreview = True
  MarksUserCancel = True
  Position = poScreenCenter
  object ClientPanel: TPanel
    Align = alClient
    BevelOuter = bvNone
    object ThemePanel: TPanel
      Width = 137
      Align = alLeft
      BevelOuter = bvNone
      object ThemeBitmap: TImage
        Left = 8
        Top = 8
        Width = 121
        Height = 265
        Stretch = True
      end
    end
    object BottomPanel: TPanel
      Height = 56
      Align = alBottom
      BevelOuter = bvNone
      object Bevel1: TBevel
        Left = 8
        Top = 2
        Width = 500
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 260
        Top = 12
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
        TabOrder = 0
        OnClick = ProceedBtnClick
      end
      object CancelBtn: TButton3D
        Left = 388
        Top = 12
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
        TabOrder = 1
        OnClick = CancelBtnClick
      end
    end
    object TextPanel: TPanel
      Align = alClient
      BevelOuter = bvNone
      BorderWidth = 12
      object TopDescriptionLabel: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Setup will add the Brevanshaw program icons to the Program Folder listed below. You may type a new folder name, or select from the existing Folders list. Click Proceed to continue.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 14
        Align = alTop
        AutoSize = False
      end
      object ProgramFolders: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Program Folder'
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 4
        Align = alTop
        AutoSize = False
      end
      object FolderEdit: TEdit
        Left = 12
        Top = 100
        Width = 300
        Height = 21
        Align = alTop
        MaxLength = 100
        TabOrder = 0
      end
      object Spacer3: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 14
        Align = alTop
        AutoSize = False
      end
      object ExistingFolders: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Existing Folders'
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer4: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 4
        Align = alTop
        AutoSize = False
      end
      object FolderListBox: TListBox
        Left = 12
        Top = 200
        Width = 300
        Height = 120
        Align = alClient
        Sorted = True
        TabOrder = 1
        OnClick = FolderListBoxClick
      end
    end
  end
end
