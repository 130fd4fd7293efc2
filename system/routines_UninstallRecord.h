// The "Files" lists of the uninstall record, shared by everything that records an installed
// file or shortcut: a path goes to the first list (Files, Files1, Files2, ...) that takes it.
#pragma once

#include <string>

// How many lists a record tries before it gives up, so that a registry refusing every write
// cannot hold the run: Files and Files1 to Files15.
constexpr int kUninstallFileListTries = 16;

// The list key of attempt k: U\Files, then U\Files1, U\Files2 and so on.
std::string UninstallFileListKey(const std::string& uninstallKey, int attempt);

// Adds path as "File" + n to the first list whose count reads and whose value writes, and
// stores the new count there. A list key that cannot be created at all ends the search at
// once; after the last try the search gives up. Both raise EIRCannotWriteValue with the key.
void RecordUninstallFile(const std::string& uninstallKey, const std::string& path);
