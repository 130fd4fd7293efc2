// The main setup window and the install description of Brevanshaw it carries.
// Component names are the names the window's handlers use.
object MainSetupDlg: TMainSetupDlg
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMaximize]
  BorderStyle = bsSingle
  Caption = 'Brevanshaw Setup'
  ClientHeight = 565
  ClientWidth = 750
  Color = clWhite
  Font.Name = 'MS Sans Serif'
  Font.Height = -13
  Position = poScreenCenter
  WindowState = wsMaximized
  OnCreate = FormCreate
  OnShow = FormShow
  OnActivate = FormActivate
  object imgLightBackground: TImage
    Align = alClient
    Picture.ResourceName = 'background.bmp'
    Stretch = True
  end
  object Image1: TImage
    Left = 24
    Top = 24
    Width = 96
    Height = 96
    Picture.ResourceName = 'logo.bmp'
    Stretch = True
    Transparent = True
  end
  object ProductLabel: TLabel
    Left = 136
    Top = 40
    Caption = 'Brevanshaw ! Setup'
    Font.Color = clNavy
    Font.Height = -37
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Transparent = True
  end
  object lblLE: TLabel
    Left = 20
    Top = 64
    Caption = 'Limited Edition'
    Font.Color = clWhite
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object ByLabel: TLabel
    Left = 560
    Top = 540
    Caption = 'by Halvernock'
    Font.Color = clNavy
    Font.Height = -16
    Font.Name = 'Times New Roman'
    Font.Style = [fsItalic]
    ParentFont = False
    Transparent = True
  end
  object GoldBtn: TImage
    Left = 0
    Top = 0
    Width = 120
    Height = 36
    Picture.ResourceName = 'GOLDBTN.bmp'
    Visible = False
  end
  object SilverBtn: TImage
    Left = 0
    Top = 0
    Width = 120
    Height = 36
    Picture.ResourceName = 'SILVERBTN.bmp'
    Visible = False
  end
  object Install1: TInstall
    ArchiveFile = '\files.1'
    ArchiveFileType = ddLoading
    DestDir = 'C:\Brevanshaw'
    DestDirType = ddAbsolute
    Information.CompanyName = 'Halvernock'
    Information.ProductName = 'Brevanshaw'
    Information.Version = '1.0'
    InstallOrder.Strings = (
      '1000')
    DistributionFolders.Strings = (
      'APPS')
    UseLoadingProgram = False
    State = fcsNone
    OnStartInstall = Install1StartInstall
    OnShowCopyFileDlg = Install1ShowCopyFileDlg
    OnCloseCopyFileDlg = Install1CloseCopyFileDlg
  end
  object InstallRegistry1: TInstallRegistry
    Container = Install1
    Key = '\SOFTWARE\Halvernock\Brevanshaw\1.0'
    KeySpecifierType = ksAbsolute
    Entries.Strings = (
      'InstallDir=C:\Brevanshaw'
      'LID=0'
      'Organization=Halvernock ltd.'
      'SourceDir=D:\Brevanshaw\'
      'UserName=Your name')
  end
  object FileGroup4: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    Description.Strings = (
      'Dao Installation')
    DestDirType = ddContainerDestDir
    GroupName = 'DAO_FILES'
    State = fcsNone
  end
  object FileGroup1: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    Description.Strings = (
      'Lead tools files')
    DestDirType = ddSystem
    GroupName = 'LEAD_FILES'
    State = fcsNone
  end
  object FileGroup2: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    Description.Strings = (
      'Brevanshaw files')
    DestDirType = ddContainerDestDir
    GroupName = 'Brevanshaw_FILES'
    State = fcsNone
  end
  object FileGroup3: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    GroupName = 'APP_CONFIGURATION_FILES'
    State = fcsNone
  end
  object FileGroup5: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    Description.Strings = (
      'Brevanshaw Help Files')
    DestDirType = ddContainerDestDir
    GroupName = 'HELP_FILES'
    State = fcsNone
  end
  object FileGroup6: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddSystem
    GroupName = 'Dlls'
    State = fcsNone
  end
  object FileGroup7: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    DestDir = '\BITMAPS'
    DestDirType = ddContainerDestDir
    GroupName = 'Apps Bitmaps'
    State = fcsNone
  end
  object FileGroup8: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    Description.Strings = (
      'SHAREWARE VERSION FILES')
    DestDirType = ddContainerDestDir
    GroupName = 'SHAREWAREFILES'
    State = fcsNone
  end
  object FileGroup9: TInstallFileGroup
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    GroupName = 'HTML files'
    State = fcsNone
  end
  object File1: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'dao3032.dll'
    FileName = 'dao3032.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File2: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjint32.dll'
    FileName = 'msjint32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File3: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjt3032.dll'
    FileName = 'msjt3032.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File4: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjter32.dll'
    FileName = 'msjter32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File5: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Msvcrt20.dll'
    FileName = 'Msvcrt20.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File6: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'vbajet32.dll'
    FileName = 'vbajet32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File7: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'vbar2232.dll'
    FileName = 'vbar2232.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File8: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'ven2232.olb'
    FileName = 'ven2232.olb'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File9: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfavi70n.dll'
    FileName = 'Lfavi70n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File10: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg01n.dll'
    FileName = 'Lfimg01n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File11: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg02n.dll'
    FileName = 'Lfimg02n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File12: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg03n.dll'
    FileName = 'Lfimg03n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File13: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg04n.dll'
    FileName = 'Lfimg04n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File14: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg05n.dll'
    FileName = 'Lfimg05n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File15: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg06n.dll'
    FileName = 'Lfimg06n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File16: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg07n.dll'
    FileName = 'Lfimg07n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File17: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg08n.dll'
    FileName = 'Lfimg08n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File18: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg09n.dll'
    FileName = 'Lfimg09n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File19: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg10n.dll'
    FileName = 'Lfimg10n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File20: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg11n.dll'
    FileName = 'Lfimg11n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File21: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg12n.dll'
    FileName = 'Lfimg12n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File22: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg13n.dll'
    FileName = 'Lfimg13n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File23: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg14n.dll'
    FileName = 'Lfimg14n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File24: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg15n.dll'
    FileName = 'Lfimg15n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File25: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg16n.dll'
    FileName = 'Lfimg16n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File26: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg17n.dll'
    FileName = 'Lfimg17n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File27: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg18n.dll'
    FileName = 'Lfimg18n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File28: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg19n.dll'
    FileName = 'Lfimg19n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File29: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg20n.dll'
    FileName = 'Lfimg20n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File30: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg21n.dll'
    FileName = 'Lfimg21n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File31: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg22n.dll'
    FileName = 'Lfimg22n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File32: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg23n.dll'
    FileName = 'Lfimg23n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File33: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg24n.dll'
    FileName = 'Lfimg24n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File34: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg25n.dll'
    FileName = 'Lfimg25n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File35: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg26n.dll'
    FileName = 'Lfimg26n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File36: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg27n.dll'
    FileName = 'Lfimg27n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File37: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg28n.dll'
    FileName = 'Lfimg28n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File38: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg29n.dll'
    FileName = 'Lfimg29n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File39: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg30n.dll'
    FileName = 'Lfimg30n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File40: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg31n.dll'
    FileName = 'Lfimg31n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File41: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Lfimg32n.dll'
    FileName = 'Lfimg32n.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File42: TInstallFile
    Container = FileGroup1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Pcdlib32.dll'
    FileName = 'Pcdlib32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File43: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Brevanshaw.exe'
    FileName = 'Brevanshaw.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File52: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevView.exe'
    FileName = 'BrevView.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File45: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'KalAgent.exe'
    FileName = 'KalAgent.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File46: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'AppCorrect.exe'
    FileName = 'AppCorrect.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File47: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'AddOnInst.exe'
    FileName = 'AddOnInst.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File48: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'KalImport.exe'
    FileName = 'KalImport.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File69: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Tutorial.exe'
    FileName = 'Tutorial.exe'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File50: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Kalupdt.EXE'
    FileName = 'Kalupdt.EXE'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File51: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'KALADDON.DLL'
    FileName = 'KALADDON.DLL'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File44: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'document.mdb'
    FileName = 'document.mdb'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File53: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'db1.mdb'
    FileName = 'db1.mdb'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File54: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'test.mdb'
    FileName = 'test.mdb'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File55: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Readme.doc'
    FileName = 'Readme.doc'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File56: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'oem.bmp'
    FileName = 'oem.bmp'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File57: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps0.ini'
    FileName = 'apps0.ini'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File58: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps1.ini'
    FileName = 'apps1.ini'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File59: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps2.ini'
    FileName = 'apps2.ini'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File60: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps3.ini'
    FileName = 'apps3.ini'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File61: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps4.ini'
    FileName = 'apps4.ini'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File62: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Brevanshaw.hlp'
    FileName = 'Brevanshaw.hlp'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
    RegisterAsHelp = True
  end
  object File63: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Brevanshaw.cnt'
    FileName = 'Brevanshaw.cnt'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File64: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'KalAddOn.hlp'
    FileName = 'KalAddOn.hlp'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
    RegisterAsHelp = True
  end
  object File65: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'KalAddOn.cnt'
    FileName = 'KalAddOn.cnt'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File66: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Tutorial.hlp'
    FileName = 'Tutorial.hlp'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
    RegisterAsHelp = True
  end
  object File67: TInstallFile
    Container = FileGroup5
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Tutorial.cnt'
    FileName = 'Tutorial.cnt'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File68: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevDb32.dll'
    FileName = 'BrevDb32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File49: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevCat32.dll'
    FileName = 'BrevCat32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File70: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevImg32.dll'
    FileName = 'BrevImg32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File71: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevCtl32.dll'
    FileName = 'BrevCtl32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File72: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevSnd32.dll'
    FileName = 'BrevSnd32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File73: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevVid32.dll'
    FileName = 'BrevVid32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File74: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevTxt32.dll'
    FileName = 'BrevTxt32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File75: TInstallFile
    Container = FileGroup6
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'BrevNet32.dll'
    FileName = 'BrevNet32.dll'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File76: TInstallFile
    Container = FileGroup7
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Blank.jpg'
    FileName = 'Blank.jpg'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File77: TInstallFile
    Container = FileGroup8
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'orderfrm.rtf'
    FileName = 'orderfrm.rtf'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File78: TInstallFile
    Container = FileGroup9
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Halvernock.htm'
    FileName = 'Halvernock.htm'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File79: TInstallFile
    Container = FileGroup9
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'logo_anim.gif'
    FileName = 'logo_anim.gif'
    IncludeFromDir = 'C:\Brevanshaw Product'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object UninstallEXE1: TUninstallEXE
    Container = Install1
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Uninstall.exe'
    FileName = 'Uninstall.exe'
    IncludeFromDir = 'C:\Brevanshaw UnInstall'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object MainFolder1: TShellLinkGroup
    Container = Install1
    DestDir = '\Brevanshaw'
    DestDirType = ddProgramMenuDir
    GroupKind = gkMainFolder
  end
  object ShellLink1: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Uninstall.lnk'
    ObjectLink = UninstallEXE1
    ObjectLocationType = ddObjectLink
  end
  object ShellLink2: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Brevanshaw.lnk'
    ObjectLink = File43
    ObjectLocationType = ddObjectLink
  end
  object ShellLink3: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Application Correction Utility.LNK'
    ObjectLink = File46
    ObjectLocationType = ddObjectLink
  end
  object ShellLink4: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Add-On Configuration.LNK'
    ObjectLink = File47
    ObjectLocationType = ddObjectLink
  end
  object ShellLink5: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Windows Add-On Agent.LNK'
    ObjectLink = File45
    ObjectLocationType = ddObjectLink
  end
  object ShellLink6: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddStartUpMenuDir
    HotKey = 0
    LinkKind = lkCustom
    LinkName = 'Windows Office Add-On Agent.LNK'
    ObjectLink = File45
    ObjectLocationType = ddObjectLink
  end
  object ShellLink7: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Read-me !.LNK'
    ObjectLink = File55
    ObjectLocationType = ddObjectLink
  end
  object ShellLink8: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Import Utility.LNK'
    ObjectLink = File48
    ObjectLocationType = ddObjectLink
  end
  object ShellLink9: TInstallShellLink
    Container = Install1
    DestDirType = ddStartMenuDir
    HotKey = 0
    LinkKind = lkCustom
    LinkName = 'Brevanshaw.lnk'
    ObjectLink = File43
    ObjectLocationType = ddObjectLink
  end
  object ShellLink10: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Halvernock Internet Web Site.LNK'
    ObjectLink = File78
    ObjectLocationType = ddObjectLink
  end
  object ShellLink11: TInstallShellLink
    Container = MainFolder1
    DestDirType = ddContainerDestDir
    HotKey = 0
    LinkKind = lkLinkInMainFolder
    LinkName = 'Brevanshaw Interactive Tutorial.LNK'
    ObjectLink = File69
    ObjectLocationType = ddObjectLink
  end
  object WelcomeDlg1: TWelcomeDlg
    Container = Install1
    DialogText.Strings = (
      'Welcome')
    Order = 10
  end
  object HebWelcomeDlg1: THebWelcomeDlg
    Container = Install1
    DialogText.Strings = (
      'Welcome')
    Order = 10
  end
  object Dialog8: TLicenseDlg
    Container = Install1
    Order = 20
  end
  object HebLicenseDlg1: THebLicenseDlg
    Container = Install1
    Order = 20
  end
  object UserInformationDlg1: TUserInformationDlg
    Container = Install1
  end
  object Dialog7: TInstallFileGroupsDlg
    Container = Install1
    DialogText.Strings = (
      'Select components to install')
    Order = 50
  end
  object HebInstallFileGroupsDlg1: THebInstallFileGroupsDlg
    Container = Install1
    DialogText.Strings = (
      'Select components to install')
    Order = 50
  end
  object Dialog5: TSelectFolderDlg
    Container = MainFolder1
    DialogText.Strings = (
      'Select Program Folder'
      'Setup will add program icons to the Program Folder listed below. You may type a new folder name , or select from the existing Folders list. Click Proceed to continue.'
      '&Program Folders:'
      '&Existing Folders:'
      'Proceed'
      'Cancel')
    Order = 60
  end
  object HebSelectFolderDlg1: THebSelectFolderDlg
    Container = MainFolder1
    DialogText.Strings = (
      'Select Program Folder'
      'Setup will add program icons to the Program Folder listed below. You may type a new folder name , or select from the existing Folders list. Click Proceed to continue.'
      '&Program Folders:'
      '&Existing Folders:'
      'Proceed'
      'Cancel')
    Order = 60
  end
  object Dialog3: TCopyFileDlg
    Container = Install1
    DialogText.Strings = (
      'Copying Installation Files'
      'Extracting file'
      'File progress'
      'Total progress'
      '&Cancel')
  end
  object HebCopyFileDlg1: THebCopyFileDlg
    Container = Install1
    DialogText.Strings = (
      'Copying Installation Files'
      'Extracting file'
      'File progress'
      'Total progress'
      '&Cancel')
  end
  object Dialog2: TChangeDiskDlg
    Container = Install1
    DialogText.Strings = (
      'Setup Needs The Next Disk'
      'Please insert disk number'
      'If the files on this disk can be found in another location, for example, in another drive, enter its full path or click the Browse button to select its path.'
      '&Path'
      '&Browse...'
      'Proceed'
      'Cancel')
  end
  object HebChangeDiskDlg1: THebChangeDiskDlg
    Container = Install1
    DialogText.Strings = (
      'Setup Needs The Next Disk'
      'Please insert disk number'
      'If the files on this disk can be found in another location, for example, in another drive, enter its full path or click the Browse button to select its path.'
      '&Path'
      '&Browse...'
      'Proceed'
      'Cancel')
  end
  object Dialog6: TRebootDlg
    Container = Install1
    DialogText.Strings = (
      'Reboot windows'
      'Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
      'Yes, I would like to reboot windows'
      'No, I would not like to reboot windows'
      '&Close')
  end
  object HebRebootDlg1: THebRebootDlg
    Container = Install1
    DialogText.Strings = (
      'Reboot windows'
      'Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
      'Yes, I would like to reboot windows'
      'No, I would not like to reboot windows'
      '&Close')
  end
  object Dialog4: TGoodInstallationDlg
    Container = Install1
    DialogText.Strings = (
      'Setup complete'
      'The software has been properly installed. You may start the software by clicking on the icon.'
      ''
      ''
      '&Close')
  end
  object HebGoodInstallationDlg1: THebGoodInstallationDlg
    Container = Install1
    DialogText.Strings = (
      'Setup complete'
      'The software has been properly installed. You may start the software by clicking on the icon.'
      ''
      ''
      '&Close')
  end
  object Dialog1: TBadInstallationDlg
    Container = Install1
    DialogText.Strings = (
      'Setup incomplete'
      'This software has not been properly installed and will not work correctly if you try to use it.'
      ''
      ''
      ''
      '&Close')
  end
  object HebBadInstallationDlg1: THebBadInstallationDlg
    Container = Install1
    DialogText.Strings = (
      'Setup incomplete'
      'This software has not been properly installed and will not work correctly if you try to use it.'
      ''
      ''
      ''
      '&Close')
  end
  object HebForm1: THebForm
    Hebrew = False
  end
  object CheckHebrewKeyboardLayout1: TCheckHebrewKeyboardLayout
  end
end
