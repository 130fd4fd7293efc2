// Process-wide values of one setup run. Everything runs on the user-interface thread, so
// plain fields serve; pages, the engine and the main window read and set them.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// How a run ended, which the exit code tells a script that started setup.
enum class TSetupOutcome { soRunning, soGood, soGoodRestart, soCancelled, soRefused, soFailed };

// The exit codes (documented in the README).
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitCancelled = 2;
constexpr int kExitRefused = 3;           // a page refused its answer in an unattended run
constexpr int kExitSecondInstance = 4;    // another setup is running
constexpr int kExitRestartNeeded = 3010;  // installed; files wait for the restart

struct TSetupState {
    std::uint32_t StartTime = 0;  // ms since midnight when the loading form appeared
    int LanguageIndex = 0;        // 0 English, 1 Hebrew, 2 Spanish, 3 German, 4 Dutch
    bool Hebrew = false;
    bool UserCancelled = false;
    bool UpdateInstall = false;
    bool CopyPageOpen = false;
    bool RebootNeeded = false;
    TSetupOutcome Outcome = TSetupOutcome::soRunning;
};

// The exit code of an outcome.
int ExitCodeOf(TSetupOutcome outcome);
// The outcome of an exception that ended the run.
TSetupOutcome OutcomeOf(const std::exception& e);

TSetupState& SetupState();
