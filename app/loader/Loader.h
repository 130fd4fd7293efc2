// The loader that a distribution built with a loading program ships as "setup.exe": it
// unpacks "setup.1" (the setup program and its presetup files) beside it into a fresh
// temporary folder, runs the setup program there with the distribution's folder as its
// command line followed by the loader's own switches (/SILENT, /LOG=... and the rest), and
// removes what it unpacked once setup has ended.
#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"

// Runs a program and waits for it to end: its exit code, or -1 when it could not start.
using TRunAndWait = std::function<int(const std::string& commandLine, const std::string& currentDir)>;

struct TLoaderResult {
    int ExitCode = 0;        // setup's, or 1 when the loader failed
    std::string Error;       // what went wrong, for the user; empty on success
    std::string SetupPath;   // the unpacked setup program
    bool Unattended = false; // started with /SILENT or /VERYSILENT: nobody to show an error to
};

// One argument as the C runtime and CommandLineToArgvW read it back: quoted when it holds a
// blank or a quote, backslashes before a quote doubled.
std::string QuoteArgument(const std::string& arg);

// loaderPath: the full path of the running loader. The setup program is the first file of
// setup.1, as the build puts it there.
TLoaderResult RunLoader(os::IPlatform& platform, const std::string& loaderPath, const TRunAndWait& runAndWait);
