// The language choice at the start of the installation; each language is named in itself.
object SelectLangDlg: TSelectLangDlg
  ActiveControl = RadioGroup1
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Select Setup Language...'
  ClientHeight = 291
  ClientWidth = 331
  Color = clBtnFace
  Font.Height = -13
  Font.Name = 'MS Sans Serif'
  FormStyle = fsStayOnTop
  KeyPreview = True
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object Image1: TImage
    Left = 16
    Top = 16
    Width = 32
    Height = 32
    Picture.ResourceName = 'setup.bmp'
    Stretch = True
    Transparent = True
  end
  object RadioGroup1: TRadioGroup
    Left = 64
    Top = 12
    Width = 251
    Height = 200
    Caption = 'Select Language for Setup :'
    ItemIndex = 0
    Items.Strings = (
      'English'
      'Hebrew'
      'Spanish'
      'German'
      'Dutch')
    TabOrder = 0
    OnClick = RadioGroup1Click
  end
  object StartBtn: TButton3D
    Left = 108
    Top = 236
    Width = 116
    Height = 36
    Caption = 'Start'
    Default = True
    FocusColor = clYellow
    Font.Color = clWhite
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    IconResName = 'START'
    ImageControl = MainSetupDlg.SilverBtn
    TabOrder = 1
    OnClick = StartBtnClick
  end
end
