// Path specifiers and meta variables: the base directory behind every specifier, the
// resolution of a component's DestDir, and the "%x" variables of registry values and
// shortcut fields.
#pragma once

#include <string>

#include "engine/InstallErrors.h"
#include "engine/InstallTypes.h"

class TInstallContainer;
class TBaseHelperComponent;

class EAICannotGetWindowsDir : public EAI {
public:
    EAICannotGetWindowsDir() : EAI("Cannot get the Windows directory for your computer. Using GetWindowsDirectory API function") {}
};

class EAICannotGetSystemDir : public EAI {
public:
    EAICannotGetSystemDir() : EAI("Cannot get the System directory for your computer. Using GetSystemDir API function") {}
};

class EAICannotExpandContainerDirMV : public EAI {
public:
    using EAI::EAI;
};

class EAICannotExpandInstallDirMV : public EAI {
public:
    using EAI::EAI;
};

// Append "\" to a non-empty string that does not end in one; drop one trailing "\".
std::string AddBackslash(const std::string& s);
std::string RemoveBackslash(const std::string& s);

// Reads the Windows and system directories once, at engine start; a failed read raises.
void InitEngineDirectories();
void DoneEngineDirectories();
const std::string& WindowsDir();
const std::string& SystemDir();

// Machine directories, read from the registry at every call and never creating a key;
// without the value the default applies. No trailing backslash.
std::string GetProgramFilesDir();
std::string GetCommonFilesDir();
std::string GetStartMenuDir();
std::string GetProgramMenuDir();
std::string GetDesktopDir();
std::string GetFontDir();
std::string GetStartUpDir();

// The base directory of a machine specifier; empty for specifiers that name none.
std::string MachineDirectory(TPathSpecifiers specifier);

// A component's resolved DestDir (recursive through containers).
std::string ResolveDestDir(TInstallContainer& component);

std::string ExpandMetaVariables(const std::string& text, TBaseHelperComponent* component);
