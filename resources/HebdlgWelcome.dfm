// The welcome page, right to left: the theme at the right, Cancel before Proceed.
object HebdlgWelcome: THebdlgWelcome
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'ברוכים הבאים...'
  ClientHeight = 370
  ClientWidth = 475
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = False
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
        Width = 459
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
      object HebLabel1: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'תוכנית זו תתקין את Brevanshaw במחשב שלך.'
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
        Caption = 'מומלץ מאוד לצאת מכל תוכניות Windows לפני הפעלת תוכנית זו.'
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 10
        Align = alTop
        AutoSize = False
      end
      object HebLabel3: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Alignment = taRightJustify
        Caption = 'לחץ על ביטול כדי לצאת מההתקנה, ולאחר מכן סגור את כל התוכניות הפועלות.  לחץ על המשך כדי להמשיך בהתקנה.'
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object HebLabel4: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alBottom
        Alignment = taRightJustify
        Caption = 'אזהרה: תוכנית זו מוגנת על ידי חוקי זכויות יוצרים ואמנות בינלאומיות. מותר להתקין עותק אחד בלבד של Brevanshaw על מחשב יחיד.'
        Font.Color = clMaroon
        Font.Name = 'Arial'
        ParentFont = False
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
