// The shared single-value registry functions every install component uses, the mapping of
// the description's root keys onto the system's, and the lists of the uninstall record that
// install files and shortcuts append to. The registry entries component builds on these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "runtime/SysUtils.h"
#include "runtime/TypInfo.h"

enum class TRootKeys { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };

RT_DECLARE_ENUM(TRootKeys)

// The system root a stored root value stands for; only its low 7 bits count, and a value
// outside the table means HKEY_CURRENT_USER.
os::RootKey RootKeyOf(int storedRoot);

// The key path alone is the message.
class EIRCannotWriteValue : public rt::Exception {
public:
    using rt::Exception::Exception;
};

// Default unless the key exists and holds the value as text; never creates anything.
std::string ReadRegistryString(TRootKeys root, const std::string& key, const std::string& name, const std::string& defaultValue);
// Create the key with its parents and write; EIRCannotWriteValue(key) when either fails.
void WriteRegistryString(TRootKeys root, const std::string& key, const std::string& name, const std::string& value);
void WriteRegistryInteger(TRootKeys root, const std::string& key, const std::string& name, std::int32_t value);

// Adds one to the DWORD count called name under key of HKEY_LOCAL_MACHINE (shared library
// counts), creating the key; a missing or non-numeric count counts as 0. Raises
// EIRCannotWriteValue(key) when the key cannot be opened; false when the count is not written.
bool IncrementRegistryCount(const std::string& key, const std::string& name);

// How many lists ("Files", "Files1", ...) an entry of the uninstall record tries before it
// gives up: a registry that refuses every write must not hold the run.
constexpr int kUninstallFileLists = 16;

// Appends path as "File" + n to the first list under uninstallKey that takes it and counts
// it in that list's "Entries". EIRCannotWriteValue names the key where the search ended:
// at once when a list key cannot be created at all, else after kUninstallFileLists lists.
void AddUninstallFileEntry(const std::string& uninstallKey, const std::string& path);

// The record's lists added after "Files", "ActiveX" and "RegistryKeys", each under a key of
// its own so that records of earlier setups read as before: "Entries" and "Item1",
// "Item2", ... (see docs/uninstall-record.md for what each list holds).
inline const char* const kUninstallHelpList = "HelpFiles";       // "<value name>;<folder>"
inline const char* const kUninstallCreatedKeys = "CreatedKeys";  // "<root 0-5>;<key path>", outer first
inline const char* const kUninstallFolders = "Folders";          // folders setup made, outer first
inline const char* const kUninstallUserData = "UserData";        // files that may hold the user's work
inline const char* const kUninstallRestore = "RestoreAtRestart"; // "<kept copy>;<its own name>"

// The uninstall record of the running installation; empty while there is no install root.
std::string UninstallRecordKey();
// Appends value to one of the lists above in the running installation's record (nothing
// without an install root). EIRCannotWriteValue names the list when it cannot be written.
void AddUninstallItem(const char* list, const std::string& value);
// The levels of key that do not exist yet, outer first; asked before setup writes into it.
std::vector<std::string> MissingRegistryKeys(TRootKeys root, const std::string& key);
// Notes those levels in the record once setup has made them: the uninstaller takes such
// keys away again when they are empty. Keys of the record itself are not noted.
void NoteCreatedRegistryKeys(TRootKeys root, const std::vector<std::string>& levels);
// Creates a folder with its parents, noting in the record each one that was not there.
bool ForceRecordedDirectories(const std::string& dir);
