// The switches of setup's command line and the answer file: how much of the wizard a person
// sees, the answers an administrator gives in advance, the log. The modes of the first
// parameter ("*BUILD", "*ABOOT") and the source directory the loader passes stay with the
// arguments that are not switches, exactly as they were read before switches existed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace os {
class IPlatform;
}

enum class TUiLevel { uiInteractive, uiSilent, uiVerySilent };

// What the user chose, or what an unattended run is told to choose. Unset is "as the page
// proposes".
struct TSetupAnswers {
    std::optional<int> Language;  // 0 English, 1 Hebrew, 2 Spanish, 3 German, 4 Dutch
    std::optional<std::string> UserName, Organization, Dir, Group;
    std::optional<std::vector<std::string>> Groups;  // file groups chosen, by component name
    std::optional<bool> KeepApps;                    // the existing-installation question
    std::optional<bool> AddOn;
    std::optional<bool> Restart;

    bool operator==(const TSetupAnswers&) const = default;
};

struct TSetupOptions {
    TUiLevel Ui = TUiLevel::uiInteractive;
    TSetupAnswers Answers;
    std::string LogFile, SaveInf, LoadInf;
    // Switches this version does not know, as given: told in the log, otherwise ignored.
    std::vector<std::string> Unknown;
    // The command line without the switches; the modes and the source directory read these.
    std::vector<std::string> Arguments;

    bool Unattended() const { return Ui != TUiLevel::uiInteractive; }
};

// Switches start with "/" and are case-insensitive: "/NAME" or "/NAME=value" (the shell has
// taken the quotes off a value with blanks by now). A value that does not fit its switch
// (an unknown language) goes to Unknown. Throws nothing.
TSetupOptions ParseSetupOptions(const std::vector<std::string>& args);
// The language of "/LANG=": an index 0-4 or a name (English or as the language calls itself).
std::optional<int> LanguageOf(const std::string& value);

// The options of this run; the program entry sets them before anything reads them.
TSetupOptions& SetupOptions();
// The command line without its switches: what the modes and the loader's source directory read.
std::vector<std::string> SetupArguments();

// The answer file: an INI file with the section [Setup] and the switches' names as keys.
// ReadAnswerFile fills only what the command line left unset (the command line wins) and
// returns the keys it did not know; it throws rt::Exception when the file cannot be read.
std::vector<std::string> ReadAnswerFile(os::IPlatform& platform, const std::string& path, TSetupAnswers& answers);
// Throws rt::Exception when the file cannot be written.
void WriteAnswerFile(os::IPlatform& platform, const std::string& path, const TSetupAnswers& answers);
