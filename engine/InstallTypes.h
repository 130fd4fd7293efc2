// Enumerations and event types shared by the install engine and everything that
// describes or reacts to an installation.
#pragma once

#include <string>

#include "runtime/Classes.h"
#include "runtime/TypInfo.h"

enum class TInstallType { itFull, itDefault, itCompact, itAlways, itCustom };
using TInstallTypeSet = rt::TSet<TInstallType>;

// Base directories of path properties; ordinals are stored in descriptions and masks.
enum class TPathSpecifiers {
    ddAbsolute,
    ddSystem,
    ddWindows,
    ddProgramFilesDir,
    ddCommonFilesDir,
    ddLoading,
    ddContainerDestDir,
    ddContainerArchiveFile,
    ddObjectLink,
    ddBDEDLLDir,
    ddMainInstallDir,
    ddDesktopMenuDir,
    ddProgramMenuDir,
    ddStartMenuDir,
    ddFontDir,
    ddStartUpMenuDir,
};

enum class TFileContainerState { fcsNone, fcsCompress, fcsInstall, fcsCopy };
enum class TInstallFileState { ifsNone, ifsCompress, ifsInstall, ifsCopying };
enum class TlzhCommand { lzcOverwrite, lzcOnlyAdd };
enum class TInstallFileType { iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL, iftSystemWideDLL };
enum class TOverwriteType { owAlways, owNever, owVersion, owDate, owVersionDate };

RT_DECLARE_ENUM(TInstallType)
RT_DECLARE_ENUM(TPathSpecifiers)
RT_DECLARE_ENUM(TFileContainerState)
RT_DECLARE_ENUM(TInstallFileState)
RT_DECLARE_ENUM(TlzhCommand)
RT_DECLARE_ENUM(TInstallFileType)
RT_DECLARE_ENUM(TOverwriteType)

// Order numbers: a container processes its helpers kind by kind in this order unless the
// description reorders its InstallOrder.
constexpr int kOrderFileGroup = 1000;
constexpr int kOrderFile = 2000;
constexpr int kOrderProgramFolder = 7000;
constexpr int kOrderShortcut = 8000;
constexpr int kOrderRegistry = 8500;
constexpr int kOrderDialog = 9000;

class TInstallContainer;
class TInstall;
class TInstallFile;

using TInstallContainerNotifyEvent = rt::TEvent<TInstallContainer* /*Container*/>;
using TUserAbortEvent = rt::TEvent<TInstall* /*Install*/, bool& /*QuitOut*/>;
using TCleanupEvent = rt::TEvent<TInstall* /*Install*/, bool& /*Continue*/>;
using TRebootWindowsEvent = rt::TEvent<TInstall* /*Install*/, bool& /*Continue*/>;
using TInstallFileNotifyEvent = rt::TEvent<TInstallFile* /*InstallFile*/>;
using TInstallFileStatusEvent = rt::TEvent<TInstallFile* /*InstallFile*/, int /*FilePercentDone*/, int /*TotalPercentDone*/>;
using TInstallFileNewDiskEvent = rt::TEvent<TInstallFile* /*InstallFile*/, int /*NewDisk*/, std::string& /*Path*/>;
