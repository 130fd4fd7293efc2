object frmLoad: TfrmLoad
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'Setup...'
  ClientHeight = 90
  ClientWidth = 370
  Color = clWhite
  FormStyle = fsStayOnTop
  Position = poScreenCenter
  object Image1: TImage
    Left = 32
    Top = 8
    Width = 32
    Height = 32
    Picture.ResourceName = 'setup.bmp'
    Stretch = True
    Transparent = True
  end
  object Label1: TLabel
    Left = 88
    Top = 16
    Caption = 'Initializing Brevanshaw ! Setup...'
    Font.Color = clBlue
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Transparent = True
  end
  object Label2: TLabel
    Left = 72
    Top = 56
    Width = 225
    Height = 21
    Alignment = taCenter
    AutoSize = False
    Caption = 'Please Wait...'
    Font.Color = clRed
    Font.Height = -17
    Font.Name = 'MS Sans Serif'
    Transparent = True
  end
end
