// The form-description reader. A description is text of the form
//
//   object MainSetupDlg: TMainSetupDlg
//     Caption = 'Brevanshaw Setup'#13#10'second line'
//     InstallTypes = [itFull, itDefault]
//     Description.Strings = ( 'one' 'two' )
//     object Install1: TInstall
//       Information.CompanyName = 'Halvernock'
//       OnStartInstall = Install1StartInstall
//     end
//   end
//
// Loading happens in the framework's order: components are created by registered class
// name and their properties set while they are in the loading state; component and
// method references are resolved once the whole text has been read; then every component's
// Loaded runs in creation order. A malformed description raises EReadError naming the
// line, and every component the read created is freed again.
#pragma once

#include <string>

#include "runtime/Classes.h"

namespace rt {

class EReadError : public Exception {
public:
    EReadError(int line, const std::string& what)
        : Exception("Error reading form description, line " + IntToStr(line) + ": " + what), FLine(line) {}
    int Line() const { return FLine; }

private:
    int FLine;
};

// Reads the description into an existing root: the top object's class must be the root's
// class, its properties are set on root, and nested objects are created owned by root.
void ReadRootComponent(const std::string& text, TComponent& root);

// Creates the top object by its class name, owned by owner, and reads it.
TComponent* ReadComponent(const std::string& text, TComponent* owner);


}  // namespace rt
