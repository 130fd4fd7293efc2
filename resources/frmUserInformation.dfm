// The user information page: the name and organisation the licence is granted to. Designed
// left to right; mirrored as a whole when Hebrew is the setup language.
object frmUserInformation: TfrmUserInformation
  ActiveControl = HebEdit1
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Name and Organization Information...'
  ClientHeight = 372
  ClientWidth = 507
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
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
      TabOrder = 1
      object Bevel1: TBevel
        Left = 8
        Top = 2
        Width = 491
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 251
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
        Left = 379
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
      TabOrder = 0
      object HebLabel1: THebLabel
        Left = 12
        Top = 12
        Width = 346
        Align = alTop
        Caption = 'Enter your full name and your organization/company name.'
        Font.Height = -13
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: TLabel
        Left = 12
        Top = 40
        Width = 346
        Height = 12
        Align = alTop
        AutoSize = False
      end
      object HebLabel2: THebLabel
        Left = 12
        Top = 52
        Width = 346
        Align = alTop
        Caption = 
          'The sole lincense to use Brevanshaw ! will be granted to the pers' +
          'on whose details are entered below.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 90
        Width = 346
        Height = 16
        Align = alTop
        AutoSize = False
      end
      object GroupBox1: THebGroupBox
        Left = 12
        Top = 106
        Width = 346
        Height = 124
        Align = alTop
        TabOrder = 0
        object HebLabel3: THebLabel
          Left = 16
          Top = 20
          Caption = 'Name :'
          FocusControl = HebEdit1
        end
        object HebEdit1: THebEdit
          Left = 16
          Top = 38
          Width = 314
          Height = 21
          MaxLength = 50
          TabOrder = 0
        end
        object HebLabel4: THebLabel
          Left = 16
          Top = 70
          Caption = 'Organization :'
          FocusControl = HebEdit2
        end
        object HebEdit2: THebEdit
          Left = 16
          Top = 88
          Width = 314
          Height = 21
          MaxLength = 50
          TabOrder = 1
        end
      end
    end
  end
  object HebrewFlip1: THebrewFlip
  end
  object HebForm1: THebForm
  end
end
