// Value names of the engine's enumerations, as descriptions spell them.
#include "engine/InstallTypes.h"

RT_DEFINE_ENUM(TInstallType, "itFull", "itDefault", "itCompact", "itAlways", "itCustom")
RT_DEFINE_ENUM(TPathSpecifiers, "ddAbsolute", "ddSystem", "ddWindows", "ddProgramFilesDir", "ddCommonFilesDir", "ddLoading",
               "ddContainerDestDir", "ddContainerArchiveFile", "ddObjectLink", "ddBDEDLLDir", "ddMainInstallDir",
               "ddDesktopMenuDir", "ddProgramMenuDir", "ddStartMenuDir", "ddFontDir", "ddStartUpMenuDir")
RT_DEFINE_ENUM(TFileContainerState, "fcsNone", "fcsCompress", "fcsInstall", "fcsCopy")
RT_DEFINE_ENUM(TInstallFileState, "ifsNone", "ifsCompress", "ifsInstall", "ifsCopying")
RT_DEFINE_ENUM(TlzhCommand, "lzcOverwrite", "lzcOnlyAdd")
RT_DEFINE_ENUM(TInstallFileType, "iftNormal", "iftJustADLL", "iftApplicationSpecificDLL", "iftVendorSharedDLL",
               "iftSystemWideDLL")
RT_DEFINE_ENUM(TOverwriteType, "owAlways", "owNever", "owVersion", "owDate", "owVersionDate")
