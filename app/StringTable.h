// The program's string table: every language-dependent text under base + language index.
// The table is a built-in resource ("StringTable.txt": one "id<TAB>text" line each, UTF-8).
#pragma once

#include <string>

// The text with that id; empty when the table has none.
std::string LoadStr(int id);
// The text of base in the chosen language.
std::string LocalisedStr(int base);
