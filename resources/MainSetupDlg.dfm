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
    UseLoadingProgram = False
    State = fcsNone
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
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File2: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjint32.dll'
    FileName = 'msjint32.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File3: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjt3032.dll'
    FileName = 'msjt3032.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File4: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'msjter32.dll'
    FileName = 'msjter32.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File5: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Msvcrt20.dll'
    FileName = 'Msvcrt20.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File6: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'vbajet32.dll'
    FileName = 'vbajet32.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File7: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'vbar2232.dll'
    FileName = 'vbar2232.dll'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File8: TInstallFile
    Container = FileGroup4
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'ven2232.olb'
    FileName = 'ven2232.olb'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File44: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'document.mdb'
    FileName = 'document.mdb'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File69: TInstallFile
    Container = FileGroup2
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Tutorial.exe'
    FileName = 'Tutorial.exe'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File9: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps0.ini'
    FileName = 'apps0.ini'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File10: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps1.ini'
    FileName = 'apps1.ini'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File11: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps2.ini'
    FileName = 'apps2.ini'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File12: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps3.ini'
    FileName = 'apps3.ini'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File13: TInstallFile
    Container = FileGroup3
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'apps4.ini'
    FileName = 'apps4.ini'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File14: TInstallFile
    Container = FileGroup7
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'Blank.jpg'
    FileName = 'Blank.jpg'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
  object File15: TInstallFile
    Container = FileGroup8
    ArchiveFileType = ddContainerArchiveFile
    DestDirType = ddContainerDestDir
    DestName = 'orderfrm.rtf'
    FileName = 'orderfrm.rtf'
    InteractiveText.Strings = (
      'Please insert disk #')
  end
end
