// The component selection page: shown as the destination directory page, its group list hidden.
object dlgFG: TdlgFG
  ActiveControl = DirectoryLabel
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Select Destination Directory...'
  ClientHeight = 338
  ClientWidth = 631
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
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
        Width = 615
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 375
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
        Left = 503
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
      object lblInstructions: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Click ''Proceed'' to install in the default directory or enter a different directory.'
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object TopDescriptionLabel: TLabel
        Left = 12
        Top = 40
        Caption = ''
        Visible = False
      end
      object GroupListBox: TTreeView
        Left = 12
        Top = 40
        Width = 200
        Height = 100
        ReadOnly = True
        StateImages = ImageList1
        TabOrder = 3
        Visible = False
        OnClick = GroupListBoxClick
      end
      object GroupDescLabel: TLabel
        Left = 222
        Top = 40
        Caption = 'Description'
        Visible = False
      end
      object DescriptionMemo: TMemo
        Left = 222
        Top = 56
        Width = 250
        Height = 60
        Color = clBtnFace
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 4
        Visible = False
      end
      object ToggleBtn: TBitBtn
        Left = 222
        Top = 120
        Width = 250
        Height = 25
        Caption = '&Exclude/Include highlighted group'
        TabOrder = 5
        Visible = False
        OnClick = ToggleBtnClick
      end
      object DirectoryGroupBox: TGroupBox
        Left = 12
        Top = 70
        Width = 470
        Height = 64
        Caption = 'Destination Directory'
        TabOrder = 0
        object DirectoryLabel: TEdit
          Left = 12
          Top = 26
          Width = 320
          Height = 21
          TabOrder = 0
        end
        object BrowseBtn: TButton3D
          Left = 342
          Top = 18
          Width = 116
          Height = 36
          Caption = 'Browse...'
          FocusColor = clYellow
          Font.Color = clWhite
          Font.Height = -15
          Font.Name = 'MS Sans Serif'
          Font.Style = [fsBold]
          IconResName = 'BROWSE'
          ImageControl = MainSetupDlg.SilverBtn
          TabOrder = 1
          OnClick = BrowseBtnClick
        end
      end
      object SpaceRequiredDesc: TLabel
        Left = 12
        Top = 152
        Width = 140
        AutoSize = False
        Caption = 'Space Required:'
        Height = 14
      end
      object SpaceRequiredLabel: TLabel
        Left = 162
        Top = 152
        Width = 320
        AutoSize = False
        Caption = ''
        Height = 14
      end
      object SpaceAvailableDesc: TLabel
        Left = 12
        Top = 174
        Width = 140
        AutoSize = False
        Caption = 'Space Available:'
        Height = 14
      end
      object SpaceAvailableLabel: TLabel
        Left = 162
        Top = 174
        Width = 320
        AutoSize = False
        Caption = ''
        Height = 14
      end
    end
  end
  object ImageList1: TImageList
    Bitmap.ResourceName = 'STATEIMAGES.bmp'
  end
end
