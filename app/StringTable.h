// The program's string table: every language-dependent text under base + language index.
// On Windows the texts come from the program's string-table resource; elsewhere from the
// same table compiled in ("StringTable.txt": one "id<TAB>text" line each, UTF-8).
#pragma once

#include <functional>
#include <string>

// The text with that id; empty when the table has none (never an error).
std::string LoadStr(int id);
// The text of base in the chosen language.
std::string LocalisedString(int base);

// Where texts come from: true and the text, or false when the id has none. Without a
// source the compiled-in table answers.
using TStringSource = std::function<bool(int id, std::string& text)>;
void SetStringSource(TStringSource source);
// The compiled-in table itself, for the Windows build's resource check.
bool CompiledInString(int id, std::string& text);
