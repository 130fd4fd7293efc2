// The program folder page, right to left.
object HebdlgSF: THebdlgSF
  ActiveControl = FolderEdit
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'בחירת תיקיית תוכניות...'
  ClientHeight = 407
  ClientWidth = 521
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  FormStyle = fsStayOnTop
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
        Width = 505
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
      object TopDescriptionLabel: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'תוכנית ההתקנה תוסיף את סמלי התוכנית של Brevanshaw לתיקיית התוכניות המופיעה להלן. באפשרותך להקליד שם תיקייה חדש, או לבחור תיקייה מתוך רשימת התיקיות הקיימות. לחץ על המשך כדי להמשיך.'
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 14
        Align = alTop
        AutoSize = False
      end
      object ProgramFolders: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'תיקיית תוכניות'
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 4
        Align = alTop
        AutoSize = False
      end
      object FolderEdit: THHEdit
        Left = 12
        Top = 100
        Width = 300
        Height = 21
        Align = alTop
        Hebrew = True
        MaxLength = 100
        TabOrder = 0
      end
      object Spacer3: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 14
        Align = alTop
        AutoSize = False
      end
      object ExistingFolders: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'תיקיות קיימות'
        Font.Name = 'Arial'
        Font.Style = [fsBold]
        ParentFont = False
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer4: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 4
        Align = alTop
        AutoSize = False
      end
      object FolderListBox: THebListBox3D
        Left = 12
        Top = 200
        Width = 300
        Height = 120
        Align = alClient
        Hebrew = True
        Sorted = True
        TabOrder = 1
        OnClick = FolderListBoxClick
      end
    end
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
