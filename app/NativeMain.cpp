// Entry of the native setup program: the same start-up against a simulated machine in a
// folder, with headless windows. A build server packs a distribution with it:
//   setup [--machine DIR] [--program WINDOWS-PATH] [setup arguments...]
// --program names where the setup program lies inside the machine (C:\SETUP.EXE unless
// given): build mode reads BUILD.INF beside it and copies it into the distribution.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/sim/SimPlatform.h"
#include "runtime/headless/HeadlessBackend.h"

void BrevRegisterEmbeddedResources();

int main(int argc, char** argv) {
    BrevRegisterEmbeddedResources();
    std::string machine = "machine";
    std::string program;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--machine") == 0 && i + 1 < argc) machine = argv[++i];
        else if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc) program = argv[++i];
        else args.push_back(argv[i]);
    }
    os::SimPlatform platform(machine);
    if (!program.empty()) platform.SetModuleFileName(program);
    platform.SetCommandLineArgs(args);
    os::ScopedPlatform usePlatform(platform);
    rt::THeadlessBackend backend;
    rt::SetBackend(&backend);
    int code = 1;
    try {
        code = SetupMain();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "setup: %s\n", e.what());
    }
    rt::SetBackend(nullptr);
    return code;
}
