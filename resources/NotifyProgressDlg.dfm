object NotifyProgressDlg: TNotifyProgressDlg
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 78
  ClientWidth = 547
  Color = clBtnFace
  NoScaleForm = True
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 547
    Height = 78
    Align = alClient
    BevelInner = bvRaised
    BevelOuter = bvRaised
    BevelWidth = 2
    object MessageLabel: TLabel
      Left = 8
      Top = 26
      Width = 531
      Height = 24
      Alignment = taCenter
      AutoSize = False
      Font.Color = clNavy
      Font.Height = -19
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
      Visible = False
    end
    object HebMessageLabel: THebLabel
      Left = 8
      Top = 26
      Width = 531
      Height = 24
      Alignment = taCenter
      AutoSize = False
      Font.Color = clNavy
      Font.Height = -19
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      Hebrew = True
      ParentFont = False
      Transparent = True
      Visible = False
    end
  end
end
