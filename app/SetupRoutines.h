// Small routines the setup pages and the main window share: localised ids, path and
// text helpers, and the clean-up of old databases, directories and the updater.
#pragma once

#include <string>

namespace SetupRoutines {

// Base + the chosen language index.
int LocalisedId(int base);
// Appends "\" when the last character is not one (an empty path becomes "\").
void AddBackslash(std::string& path);
bool IsBlank(const std::string& text);
// Text without the characters a file name cannot hold: < > : / \ ? * " |
std::string StripFileNameChars(const std::string& text);
// Whether "document.mdb" exists in dir.
bool DatabaseExists(const std::string& dir);
// Sends an existing file to the recycle bin; deletes it outright when the shell cannot.
void RecycleFile(const std::string& path);
// Removes dir with everything below it, ignoring every error. Links to directories
// (symbolic links, junctions) are removed themselves and never followed.
void DeleteDirectoryTree(const std::string& dir);
// Deletes the product's old databases below dir.
void RemoveOldDatabases(const std::string& dir);
// Deletes the updater from the installation directory, ignoring errors.
void RemoveUpdater();
// Text the user typed or chose as a registry entry's value: its "%" doubled, since the
// entries expand meta variables and the user meant the character itself.
std::string LiteralEntryText(const std::string& text);
// The text such an entry stands for: every "%%" one "%" again.
std::string EntryLiteral(const std::string& entry);

}  // namespace SetupRoutines
