// The bad installation page, right to left: one button closes it.
object HebdlgBI: THebdlgBI
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'ההתקנה לא הושלמה...'
  ClientHeight = 370
  ClientWidth = 478
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  FormStyle = fsStayOnTop
  KeyPreview = False
  Position = poScreenCenter
  object ClientPanel: TPanel
    Align = alClient
    BevelOuter = bvNone
    object ThemePanel: TPanel
      Width = 137
      Align = alRight
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
      object CloseBtn: TButton3D
        Left = 12
        Top = 12
        Width = 116
        Height = 36
        Caption = 'סגור'
        Default = True
        Cancel = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        Hebrew = True
        IconResName = 'PROCEED'
        ImageControl = MainSetupDlg.SilverBtn
        TabOrder = 0
        OnClick = CloseBtnClick
      end
    end
    object TextPanel: TPanel
      Align = alClient
      BevelOuter = bvNone
      BorderWidth = 12
      object HebLabel1: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'Brevanshaw לא הותקנה כראוי ולא תפעל כהלכה אם תנסה להשתמש בה.'
        Font.Height = -13
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 12
        Align = alTop
        AutoSize = False
      end
      object HebLabel3: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = ''
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 12
        Align = alTop
        AutoSize = False
      end
      object HebLabel5: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = ''
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
    end
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
