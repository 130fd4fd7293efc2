// Texts of the running program's string-table resource (UTF-16 in the file, UTF-8 here).
#pragma once

#include <string>

// False when the program has no text under that id.
bool ResourceString(int id, std::string& text);
