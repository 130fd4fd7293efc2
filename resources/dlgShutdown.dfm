// The restart question: restart now or later.
object dlgShutdown: TdlgShutdown
  ActiveControl = RG
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Reboot Windows...'
  ClientHeight = 366
  ClientWidth = 483
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
      object Bevel1: TBevel
        Left = 8
        Top = 2
        Width = 467
        Height = 2
        Shape = bsTopLine
      end
      object CloseBtn: TButton3D
        Left = 355
        Top = 12
        Width = 116
        Height = 36
        Caption = 'Finish'
        Default = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
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
      object Label1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'To finalize setup, you need to reboot your computer.'
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
        Caption = 'It is recommended that you reboot now.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 16
        Align = alTop
        AutoSize = False
      end
      object RG: TRadioGroup
        Left = 12
        Top = 120
        Width = 300
        Height = 72
        Align = alTop
        ItemIndex = 0
        Items.Strings = (
          'Reboot now (recommended).'
          'Don''t reboot now and I''ll reboot later.')
        TabOrder = 0
      end
    end
  end
end
