// Writes the archive fuzz target's starting inputs: real archives made by the component
// (chained, cut into volumes, with empty files and user bytes), in the target's input form.
//   archive_fuzz_seeds <seed folder> <corpus folder>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/cmp_TKembCompress.h"
#include "runtime/StringList.h"
#include "tests/archive/fuzz/FuzzInput.h"
#include "tests/archive/fuzz/FuzzMachine.h"

namespace {

void PutFile(os::IPlatform& p, const std::string& path, const std::string& content) {
    auto f = p.OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
    if (f) f->Write(content.data(), content.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::filesystem::path seeds = argv[1];
    std::filesystem::create_directories(seeds);
    std::filesystem::create_directories(argv[2]);
    TFuzzMachine machine;
    os::IPlatform& p = machine.Sim();
    p.CreateDirectory("C:\\src");
    PutFile(p, "C:\\src\\a.txt", "alpha");
    PutFile(p, "C:\\src\\empty", "");
    PutFile(p, "C:\\src\\b.bin", std::string(700, 'b'));
    TKembCompress* kc = new TKembCompress(nullptr);
    int n = 0;
    for (const std::int64_t volumeSize : {0, 600, 1000}) {
        rt::TStringList lines{"C:\\src\\a.txt;1;2", "C:\\src\\empty", "C:\\src\\b.bin"};
        kc->SetFilesToProcess(lines);
        kc->SetVolumeSize(volumeSize);
        kc->SetCompressedFile("C:\\arc\\files.1");
        kc->AddFiles(TlzhCommand::lzcOverwrite);
        std::ofstream(seeds / ("archive-" + std::to_string(n++)), std::ios::binary)
            << JoinFuzzInput(machine.GetVolume(1), volumeSize ? machine.GetVolume(2) : std::string());
    }
    kc->Free();
    return 0;
}
