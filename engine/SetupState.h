// Process-wide values of one setup run. Everything runs on the user-interface thread, so
// plain fields serve; pages, the engine and the main window read and set them.
#pragma once

#include <cstdint>

struct TSetupState {
    std::uint32_t StartTime = 0;  // ms since midnight when the loading form appeared
    int LanguageIndex = 0;        // 0 English, 1 Hebrew, 2 Spanish, 3 German, 4 Dutch
    bool Hebrew = false;
    bool UserCancelled = false;
    bool UpdateInstall = false;
    bool CopyPageOpen = false;
    bool RebootNeeded = false;
};

TSetupState& SetupState();
