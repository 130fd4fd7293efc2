// libFuzzer target over the archive reader: any bytes as volumes 1 and 2 are loaded, listed
// and extracted. Damage must end in the program's own exceptions; anything else (a crash, a
// hang, a sanitizer report, a foreign exception such as bad_alloc) is a finding. The version
// block reader gets the same bytes as a program file. Run by ctest for a few seconds; run it
// longer by hand: archive_fuzz -max_total_time=600 corpus seeds
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/cmp_TKembCompress.h"
#include "runtime/StringList.h"
#include "platform/VersionBlock.h"
#include "system/cmp_TVersion.h"
#include "tests/archive/fuzz/FuzzInput.h"
#include "tests/archive/fuzz/FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzMachine machineOfTheRun;
    TFuzzMachine* machine = &machineOfTheRun;
    const TFuzzVolumes volumes = SplitFuzzInput(data, size);
    machine->PutVolume(1, volumes.Volume1);
    machine->PutVolume(2, volumes.Volume2);
    machine->ClearOutput();

    TKembCompress* kc = new TKembCompress(nullptr);
    try {
        kc->SetCompressedFile("C:\\arc\\files.1");
        kc->SetExtractDirectory("C:\\out");
        const int count = kc->FileCount();
        rt::TStringList names;
        for (int i = 0; i < count && i < 16; ++i) {
            TlzhFileStats stats;
            kc->GetFileStats(i, stats);
            names.Add(stats.Name);
        }
        for (const auto rule : {TOverwriteType::owAlways, TOverwriteType::owVersionDate}) {
            kc->SetOverwrite(rule);
            kc->SetFilesToProcess(names);
            try {
                kc->ExtractFiles();
            } catch (const rt::Exception&) {
            }
        }
    } catch (const rt::Exception&) {
    }
    kc->Free();

    std::vector<std::uint8_t> block;
    if (machine->Sim().GetFileVersionInfo("C:\\arc\\files.1", block)) {
        TFixedFileInfo info;
        QueryFixedFileInfo(block, info);
        std::string text;
        QueryVersionString(block, "\\StringFileInfo\\040904E4\\CompanyName", text);
    }
    TVersionResource& versions = SharedVersionReader();
    versions.SetFileName("C:\\arc\\files.2");
    return 0;
}
