// The welcome page: go on with the installation or quit.
object dlgWelcome: TdlgWelcome
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Welcome...'
  ClientHeight = 371
  ClientWidth = 478
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = False
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
        Width = 462
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 222
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
        Left = 350
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
      object Label1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'This program will install Brevanshaw on your computer.'
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 12
        Align = alTop
        AutoSize = False
      end
      object Label2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'It is strongly recommended that you exit all Windows programs before running this program.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 10
        Align = alTop
        AutoSize = False
      end
      object Label3: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Click Cancel to quit setup and then close any programs you have running.  Click Proceed to continue with the installation.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Label4: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alBottom
        Caption = 'Warning: This program is protected by copyright law and international treaties. Only ONE copy of Brevanshaw may be installed on a single computer.'
        Font.Color = clMaroon
        Font.Name = 'MS Sans Serif'
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
    end
  end
end
