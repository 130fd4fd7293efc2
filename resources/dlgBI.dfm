// The bad installation page: one button closes it.
object dlgBI: TdlgBI
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Setup Not Completed...'
  ClientHeight = 372
  ClientWidth = 478
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  FormStyle = fsStayOnTop
  KeyPreview = False
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
      object CloseBtn: TButton3D
        Left = 350
        Top = 12
        Width = 116
        Height = 36
        Caption = 'Close'
        Default = True
        Cancel = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
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
      object Label1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Brevanshaw has not been properly installed and will not work correctly if you try to use it.'
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
      object Label3: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = ''
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 12
        Align = alTop
        AutoSize = False
      end
      object Label5: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = ''
        ShowAccelChar = False
        WordWrap = True
      end
    end
  end
end
