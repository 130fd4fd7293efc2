// The component selection page, right to left.
object HebdlgFG: THebdlgFG
  ActiveControl = DirectoryLabel
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'בחירת ספריית יעד...'
  ClientHeight = 338
  ClientWidth = 631
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = True
  MarksUserCancel = True
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
        Width = 615
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 140
        Top = 12
        Width = 116
        Height = 36
        Caption = 'המשך'
        Default = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        Hebrew = True
        IconResName = 'PROCEED'
        ImageControl = MainSetupDlg.SilverBtn
        TabOrder = 0
        OnClick = ProceedBtnClick
      end
      object CancelBtn: TButton3D
        Left = 12
        Top = 12
        Width = 116
        Height = 36
        Caption = 'ביטול'
        Cancel = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        Hebrew = True
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
      object lblInstructions: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'לחץ על ''המשך'' כדי להתקין בספריית ברירת המחדל, או הזן ספרייה אחרת.'
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object TopDescriptionLabel: THebLabel
        Left = 12
        Top = 40
        Caption = ''
        Visible = False
      end
      object GroupListBox: TTreeView
        Left = 282
        Top = 40
        Width = 200
        Height = 100
        ReadOnly = True
        StateImages = ImageList1
        TabOrder = 3
        Visible = False
        OnClick = GroupListBoxClick
      end
      object GroupDescLabel: THebLabel
        Left = 172
        Top = 40
        Caption = 'Description'
        Visible = False
      end
      object DescriptionMemo: THebDMemo
        Left = 22
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
        Left = 22
        Top = 120
        Width = 250
        Height = 25
        Caption = '&Exclude/Include highlighted group'
        TabOrder = 5
        Visible = False
        OnClick = ToggleBtnClick
      end
      object DirectoryGroupBox: THebGroupBox
        Left = 12
        Top = 70
        Width = 470
        Height = 64
        Hebrew = True
        Caption = 'ספריית יעד'
        TabOrder = 0
        object DirectoryLabel: THHEdit
          Left = 138
          Top = 26
          Width = 320
          Height = 21
          Hebrew = True
          TabOrder = 0
        end
        object BrowseBtn: TButton3D
          Left = 12
          Top = 18
          Width = 116
          Height = 36
          Caption = 'עיון...'
          FocusColor = clYellow
          Font.Color = clWhite
          Font.Height = -15
          Font.Name = 'Arial'
          Font.Style = [fsBold]
          Hebrew = True
          IconResName = 'BROWSE'
          ImageControl = MainSetupDlg.SilverBtn
          TabOrder = 1
          OnClick = BrowseBtnClick
        end
      end
      object SpaceRequiredDesc: THebLabel
        Left = 342
        Top = 152
        Width = 140
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'שטח נדרש:'
        Hebrew = True
        Height = 14
      end
      object SpaceRequiredLabel: THebLabel
        Left = 12
        Top = 152
        Width = 320
        Alignment = taRightJustify
        AutoSize = False
        Caption = ''
        Hebrew = True
        Height = 14
      end
      object SpaceAvailableDesc: THebLabel
        Left = 342
        Top = 174
        Width = 140
        Alignment = taRightJustify
        AutoSize = False
        Caption = 'שטח פנוי:'
        Hebrew = True
        Height = 14
      end
      object SpaceAvailableLabel: THebLabel
        Left = 12
        Top = 174
        Width = 320
        Alignment = taRightJustify
        AutoSize = False
        Caption = ''
        Hebrew = True
        Height = 14
      end
    end
  end
  object ImageList1: TImageList
    Bitmap.ResourceName = 'STATEIMAGES.bmp'
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
