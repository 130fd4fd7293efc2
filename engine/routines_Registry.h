// The shared single-value registry functions every install component uses, the mapping of
// the description's root keys onto the system's, and the lists of the uninstall record that
// install files and shortcuts append to. The registry entries component builds on these.
#pragma once

#include <cstdint>
#include <string>

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
