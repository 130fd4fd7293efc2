// The framework's directory selection dialog: drives, directories and a path that may not
// exist yet. Build mode's kit-folder prompt and the change-disk page's Browse open it.
#pragma once

#include <string>

// A directory picker starting at dir: its drives, its directories and an edit for a path
// that may not exist yet (created when allowCreate). True and the chosen path on OK.
bool SelectDirectory(std::string& dir, bool allowCreate);
