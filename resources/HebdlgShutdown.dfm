// The restart question, right to left.
object HebdlgShutdown: THebdlgShutdown
  ActiveControl = RG
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'הפעלה מחדש של Windows...'
  ClientHeight = 366
  ClientWidth = 483
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = True
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
        Width = 467
        Height = 2
        Shape = bsTopLine
      end
      object CloseBtn: TButton3D
        Left = 12
        Top = 12
        Width = 116
        Height = 36
        Caption = 'סיום'
        Default = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        Hebrew = True
        IconResName = 'PROCEED'
        ImageControl = MainSetupDlg.GoldBtn
        TabOrder = 1
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
        Caption = 'כדי להשלים את ההתקנה, עליך להפעיל מחדש את המחשב.'
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
      object HebLabel2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'מומלץ להפעיל מחדש את המחשב כעת.'
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 16
        Align = alTop
        AutoSize = False
      end
      object RG: THebRadioGroup
        Left = 12
        Top = 120
        Width = 300
        Height = 72
        Align = alTop
        Hebrew = True
        ItemIndex = 0
        Items.Strings = (
          'הפעל מחדש כעת (מומלץ).'
          'אל תפעיל מחדש כעת, אפעיל מחדש מאוחר יותר.')
        TabOrder = 0
      end
    end
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
