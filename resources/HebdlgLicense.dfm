// The licence agreement, right to left, with its Hebrew captions and agreement designed in.
object HebdlgLicense: THebdlgLicense
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'הסכם הרישיון של Brevanshaw...'
  ClientHeight = 413
  ClientWidth = 553
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Arial'
  FormStyle = fsStayOnTop
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
        Width = 537
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
        Caption = 'אנא קרא את הסכם הרישיון הבא.'
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
        Height = 8
        Align = alTop
        AutoSize = False
      end
      object HebLabel2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alBottom
        Alignment = taRightJustify
        Caption = 'לחיצה על הלחצן המשך שלהלן מהווה הסכמה לכל התנאים המפורטים בהסכם הרישיון. באפשרותך לבטל את ההתקנה בלחיצה על הלחצן ביטול.'
        Hebrew = True
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: THebLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 8
        Align = alBottom
        AutoSize = False
      end
      object Agreement: THebDMemo
        Left = 12
        Top = 40
        Width = 370
        Height = 240
        Align = alClient
        Alignment = taRightJustify
        Color = clBtnFace
        Hebrew = True
        Lines.Strings = (
          'הסכם רישיון למשתמש קצה של BREVANSHAW'
          ''
          'זכויות יוצרים (c) 1997 Halvernock. כל הזכויות שמורות.'
          ''
          'חשוב: אנא קרא הסכם זה בעיון לפני התקנת התוכנה.'
          ''
          '1. הצדדים'
          ''
          'הסכם רישיון זה למשתמש קצה (להלן: "ההסכם") הוא הסכם משפטי בינך, משתמש הקצה, לבין חברת Halvernock, בנוגע למוצר התוכנה Brevanshaw, לרבות תוכניות המחשב, היישומים המוכנים, נתוני הדוגמה, התוסף ל-Windows והתיעוד המודפס והאלקטרוני (להלן יחד: "התוכנה").'
          ''
          '2. הענקת הרישיון'
          ''
          'חברת Halvernock מעניקה לך רישיון שאינו בלעדי ואינו ניתן להעברה להתקין עותק אחד של התוכנה במחשב אחד ולהשתמש בו. הרישיון ניתן לאדם ששמו הוזן במהלך ההתקנה, ורק אדם זה רשאי להשתמש בתוכנה. כל משתמש נוסף זקוק לרישיון נפרד.'
          ''
          '3. הגבלות'
          ''
          'אינך רשאי לבצע הנדסה לאחור, הידור לאחור או פירוק של התוכנה, אלא במידה שהדין החל מתיר זאת במפורש. אינך רשאי להשכיר, להחכיר או להשאיל את התוכנה, או להעניק בה רישיון משנה. אינך רשאי להעתיק את התוכנה, אולם מותר לך ליצור עותק אחד לצורכי גיבוי בלבד. אינך רשאי להסיר או לשנות הודעת זכויות יוצרים כלשהי.'
          ''
          '4. יישומים מוכנים ונתוני דוגמה'
          ''
          'התוכנה כוללת יישומים מוכנים (מסדי נתונים) ונתוני דוגמה. אתה רשאי להשתמש ביישומים המוכנים ולשנות אותם לצורך ארגון התמונות, הסרטים, הצלילים והקבצים האחרים שלך, ואתה רשאי להפיץ מסדי נתונים שיצרת באמצעותם, ובלבד שאינם מכילים את נתוני הדוגמה.'
          ''
          'התמונות, הסרטים והצלילים לדוגמה מסופקים לצורכי הדגמה בלבד, ואין למכור אותם או להפיץ אותם בנפרד מהתוכנה.'
          ''
          '5. התוסף ל-Windows'
          ''
          'התוכנה כוללת תוסף המרחיב את תיבות הדו-שיח הרגילות לבחירת קבצים ב-Windows 95 וב-Windows NT. התוסף הוא חלק מהתוכנה, חלים עליו אותם תנאים, ומותר להשתמש בו רק יחד עם עותק מורשה של Brevanshaw. באפשרותך להסיר אותו בכל עת באמצעות הסרת התוכנה מהמחשב.'
          ''
          '6. בעלות וזכויות יוצרים'
          ''
          'התוכנה ניתנת לך ברישיון ואינה נמכרת לך. חברת Halvernock וספקיה שומרים לעצמם את מלוא הבעלות, זכויות היוצרים ושאר זכויות הקניין הרוחני בתוכנה ובכל עותק שלה. התוכנה מוגנת על ידי דיני זכויות יוצרים ועל ידי אמנות בין-לאומיות. כל זכות שלא הוענקה לך במפורש בהסכם זה שמורה ל-Halvernock.'
          ''
          '7. אחריות מוגבלת'
          ''
          'חברת Halvernock אחראית לכך שהמדיה שעליה מסופקת התוכנה תהיה נקייה מפגמים בחומרים ובייצור, בשימוש רגיל, למשך תשעים (90) יום ממועד הרכישה. הסעד היחיד העומד לרשותך בגין מדיה פגומה הוא החלפתה על ידי Halvernock, בתנאי שתחזיר אותה במהלך תקופה זו בצירוף העתק של הקבלה.'
          ''
          'פרט לאחריות האמורה לעיל, התוכנה מסופקת "כמות שהיא" (AS IS), ללא אחריות מכל סוג שהוא, מפורשת או משתמעת, לרבות אחריות משתמעת לסחירות ולהתאמה למטרה מסוימת. חברת Halvernock אינה מתחייבת שהתוכנה תהיה נקייה משגיאות או שתפעל ללא הפרעות.'
          ''
          '8. הגבלת חבות'
          ''
          'במידה המרבית המותרת על פי הדין החל, חברת Halvernock וספקיה לא יישאו בחבות כלשהי בגין נזק עקיף, מקרי או תוצאתי, לרבות אובדן נתונים, אובדן רווחים או הפסקת פעילות עסקית, הנובע מהשימוש בתוכנה או מחוסר היכולת להשתמש בה, גם אם הובאה לידיעת Halvernock האפשרות שייגרמו נזקים כאלה.'
          ''
          'בכל מקרה, החבות הכוללת של Halvernock מוגבלת לסכום ששילמת בפועל עבור התוכנה.'
          ''
          '9. סיום'
          ''
          'רישיון זה יעמוד בתוקפו עד לסיומו. אתה רשאי לסיים אותו בכל עת על ידי הסרת התוכנה והשמדת כל העותקים שלה. הרישיון יסתיים מאליו אם תפר תנאי כלשהו מתנאיו. עם סיום הרישיון עליך לחדול מכל שימוש בתוכנה ולהשמיד את כל העותקים שלה, לרבות עותק הגיבוי.'
          ''
          '10. הדין החל'
          ''
          'הסכם זה כפוף לחוקי המדינה שבה רכשת את המוצר. אם ייקבע כי הוראה כלשהי בהסכם זה אינה תקפה או אינה ניתנת לאכיפה, יתר ההוראות יעמדו בתוקפן המלא.'
          ''
          'בהתקנת התוכנה או בלחיצה על "המשך" אתה מאשר שקראת הסכם זה והבנת אותו, ושאתה מסכים להיות מחויב לתנאיו. אם אינך מסכים לתנאים, אל תתקין את התוכנה.')
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 2
      end
    end
  end
  object HebForm1: THebForm
    Hebrew = True
  end
end
