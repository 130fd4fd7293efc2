// The archive benchmark: generates data in the build folder (80 files of mixed sizes, about
// 200 MB; 10,000 and 100,000 small files in a few folders; one 1 GB file), then times adding
// and extracting with the archive component against tar and cp on the same data (the small
// sets once more on a RAM disk, to judge the cost per file apart from the disk), each in a
// process of its own so its peak memory can be read, and prints each ratio with its goal.
// Run by hand: cmake --build build/native --target bench && build/native/bench/archive_bench
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "archive/cmp_TKembCompress.h"
#include "archive/tool/HostMachine.h"
#include "runtime/StringList.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMB = 1 << 20;
constexpr int kRounds = 5;

struct Sample {
    double Seconds = 0;
    long PeakKB = 0;
};

// Runs a program and waits for it: wall time, the child's peak resident memory, and whether
// it ended well.
Sample RunChild(const std::vector<std::string>& args, const fs::path& dir, bool& ok) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, void* data, std::size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Programs are started by a launcher forked while the benchmark is still small: a child's
// peak memory counts the pages of the process it was forked from (Linux keeps the peak across
// exec), and the benchmark comes to hold the names of 100,000 files.
class Launcher {
public:
    Launcher() {
        int requests[2], answers[2];
        if (pipe(requests) != 0 || pipe(answers) != 0) {
            std::perror("archive_bench: pipe");
            std::exit(1);
        }
        FPid = fork();
        if (FPid == 0) {
            close(requests[1]);
            close(answers[0]);
            Serve(requests[0], answers[1]);
            _exit(0);
        }
        close(requests[0]);
        close(answers[1]);
        FRequests = requests[1];
        FAnswers = answers[0];
    }
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;
    ~Launcher() {
        close(FRequests);
        close(FAnswers);
        waitpid(FPid, nullptr, 0);
    }

    Sample Run(const std::vector<std::string>& args, const fs::path& dir) {
        std::vector<std::string> message{dir.string()};
        message.insert(message.end(), args.begin(), args.end());
        Sample sample;
        bool ok = false;
        if (!Send(message) || !ReadAll(FAnswers, &sample, sizeof sample) || !ReadAll(FAnswers, &ok, sizeof ok) || !ok) {
            std::fprintf(stderr, "archive_bench: %s failed\n", args[0].c_str());
            std::exit(1);
        }
        return sample;
    }

private:
    // A message: the count of strings, then each as its length and its bytes.
    bool Send(const std::vector<std::string>& message) {
        const auto count = static_cast<std::uint32_t>(message.size());
        if (!WriteAll(FRequests, &count, sizeof count)) return false;
        for (const auto& m : message) {
            const auto length = static_cast<std::uint32_t>(m.size());
            if (!WriteAll(FRequests, &length, sizeof length) || !WriteAll(FRequests, m.data(), m.size())) return false;
        }
        return true;
    }

    static void Serve(int in, int out) {
        for (std::uint32_t count = 0; ReadAll(in, &count, sizeof count) && count >= 2;) {
            std::vector<std::string> message(count);
            for (auto& m : message) {
                std::uint32_t length = 0;
                if (!ReadAll(in, &length, sizeof length)) return;
                m.resize(length);
                if (!ReadAll(in, m.data(), length)) return;
            }
            const fs::path dir = message.front();
            message.erase(message.begin());
            bool ok = false;
            const Sample sample = RunChild(message, dir, ok);
            if (!WriteAll(out, &sample, sizeof sample) || !WriteAll(out, &ok, sizeof ok)) return;
        }
    }

    pid_t FPid = -1;
    int FRequests = -1, FAnswers = -1;
};

void Sync() { ::sync(); }

void WriteRandom(const fs::path& path, std::uint64_t size, std::uint64_t seed) {
    std::ofstream out(path, std::ios::binary);
    std::vector<std::uint64_t> block(kMB / 8);
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::uint64_t left = size; left > 0;) {
        for (auto& w : block) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            w = x;
        }
        const std::uint64_t n = std::min<std::uint64_t>(left, kMB);
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
        left -= n;
    }
}

// 80 files from 1 KB to 16 MB, about 200 MB in all.
std::vector<std::uint64_t> MixedSizes() {
    std::vector<std::uint64_t> sizes;
    std::uint64_t x = 12345;
    for (int i = 0; i < 80; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const int kind = i % 8;
        std::uint64_t size;
        if (kind < 4) size = 1024 + (x >> 40) % (200 * 1024);          // small
        else if (kind < 7) size = kMB + (x >> 36) % (4 * kMB);           // medium
        else size = 12 * kMB + (x >> 36) % (4 * kMB);                    // large
        sizes.push_back(size);
    }
    return sizes;
}

struct Dataset {
    std::string Name;
    fs::path Dir;                    // holds data/
    std::vector<std::string> Files;  // relative to Dir, as "data/..."
    std::uint64_t Bytes = 0;
};

Dataset MakeMixed(const fs::path& root) {
    Dataset d{"80 mixed files", root / "mixed", {}, 0};
    fs::create_directories(d.Dir / "data" / "sub");
    int i = 0;
    for (std::uint64_t size : MixedSizes()) {
        const std::string name = std::string(i % 3 ? "data/" : "data/sub/") + "file" + std::to_string(i) + ".bin";
        WriteRandom(d.Dir / name, size, static_cast<std::uint64_t>(i) + 1);
        d.Files.push_back(name);
        d.Bytes += size;
        ++i;
    }
    return d;
}

// count files of 1 KB to 8 KB spread over five folders, named as a product's files are.
Dataset MakeSmall(const fs::path& root, int count) {
    Dataset d{std::to_string(count) + " small files", root / ("small" + std::to_string(count)), {}, 0};
    std::vector<char> bytes(8 * 1024);
    std::uint64_t x = 777;
    for (int folder = 0; folder < 5; ++folder) fs::create_directories(d.Dir / "data" / ("Folder " + std::to_string(folder)));
    // Folder by folder, as a product lists its groups' files.
    for (int i = 0; i < count; ++i) {
        const int folder = i / (count / 5);
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const std::uint64_t size = 1024 + (x >> 40) % (7 * 1024 + 1);
        for (std::size_t b = 0; b < size; ++b) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            bytes[b] = static_cast<char>(x);
        }
        const std::string name = "data/Folder " + std::to_string(folder) + "/Document " + std::to_string(i) + ".data";
        std::ofstream(d.Dir / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
        d.Files.push_back(name);
        d.Bytes += size;
    }
    return d;
}

Dataset MakeBig(const fs::path& root) {
    Dataset d{"one 1 GB file", root / "big", {"data/big.bin"}, 1024 * kMB};
    fs::create_directories(d.Dir / "data");
    WriteRandom(d.Dir / d.Files[0], d.Bytes, 99);
    return d;
}

void Remove(const fs::path& p) {
    std::error_code ec;
    fs::remove_all(p, ec);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Result {
    std::vector<double> Seconds;
    long PeakKB = 0;
    void Add(const Sample& s) {
        Seconds.push_back(s.Seconds);
        PeakKB = std::max(PeakKB, s.PeakKB);
    }
};

double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

struct Best {
    double Add = 0, Extract = 0, TarC = 0, TarX = 0, Cp = 0;
    long PeakKB = 0;
};

// A ratio and its goal, with the verdict; higher is better unless atMost.
void Ratio(const char* what, double ratio) { std::printf("  %-34s %6.2f\n", what, ratio); }

void Goal(const char* what, double ratio, double goal, bool atMost = false) {
    const bool met = atMost ? ratio <= goal : ratio >= goal;
    std::printf("  %-34s %6.2f (goal %s %.2f) %s\n", what, ratio, atMost ? "<=" : ">=", goal, met ? "met" : "NOT MET");
}

Best Measure(Launcher& launcher, const Dataset& d, const std::string& self, int rounds) {
    std::ofstream(d.Dir / "list.txt") << [&] {
        std::string s;
        for (const auto& f : d.Files) s += f + "\n";
        return s;
    }();
    Result add, tarC, extract, tarX, cp;
    // The machine is shared and its page cache costs vary with what ran just before, so the
    // tools take turns in a rotating order on a quiet disk, and the best of the rounds counts.
    const std::vector<std::function<void()>> writers = {
        [&] { add.Add(launcher.Run({self, "--add", "out/files.1", "list.txt"}, d.Dir)); },
        [&] { tarC.Add(launcher.Run({"tar", "-cf", "out.tar", "data"}, d.Dir)); },
        [&] {
            cp.Add(launcher.Run({"cp", "-r", "data", "x-cp"}, d.Dir));
            Remove(d.Dir / "x-cp");
        }};
    const std::vector<std::function<void()>> readers = {
        [&] {
            extract.Add(launcher.Run({self, "--extract", "out/files.1", "x-archive", "list.txt"}, d.Dir));
            Remove(d.Dir / "x-archive");
        },
        [&] {
            fs::create_directories(d.Dir / "x-tar");
            tarX.Add(launcher.Run({"tar", "-xf", "../out.tar"}, d.Dir / "x-tar"));
            Remove(d.Dir / "x-tar");
        }};
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < writers.size(); ++i) {
            Sync();
            writers[(i + static_cast<std::size_t>(round)) % writers.size()]();
        }
        for (std::size_t i = 0; i < readers.size(); ++i) {
            Sync();
            readers[(i + static_cast<std::size_t>(round)) % readers.size()]();
        }
        Remove(d.Dir / "out");
        Remove(d.Dir / "out.tar");
    }
    const double mb = static_cast<double>(d.Bytes) / kMB;
    const auto line = [mb](const char* what, const Result& r) {
        const double best = Fastest(r.Seconds);
        std::printf("  %-16s best %7.3f s (%7.1f MB/s)  median %7.3f s  peak %6.1f MB\n", what, best, mb / best, Median(r.Seconds),
                    r.PeakKB / 1024.0);
    };
    std::printf("%s (%.1f MB), %d rounds\n", d.Name.c_str(), mb, rounds);
    line("archive add", add);
    line("tar -cf", tarC);
    line("archive extract", extract);
    line("tar -xf", tarX);
    line("cp -r", cp);
    return {Fastest(add.Seconds), Fastest(extract.Seconds), Fastest(tarC.Seconds), Fastest(tarX.Seconds), Fastest(cp.Seconds),
            std::max(add.PeakKB, extract.PeakKB)};
}

void Peak(const Best& b) { Goal("peak memory (MB)", static_cast<double>(b.PeakKB) / 1024.0, 16.0, true); }

// The cost per file whatever the count, judged where the file system's costs do not grow
// with it: 10,000 and 100,000 small files on a RAM disk, when the machine has one with room.
void MeasureScale(Launcher& launcher, const std::string& self) {
    const fs::path ram = "/dev/shm";
    std::error_code ec;
    const fs::space_info space = fs::space(ram, ec);
    if (ec || space.available < 2048 * kMB) {
        std::printf("no RAM disk with 2 GB free at %s: the scale of 100,000 files is not judged\n\n", ram.c_str());
        return;
    }
    const fs::path root = ram / ("archive_bench." + std::to_string(::getpid()));
    std::printf("On the RAM disk %s:\n", ram.c_str());
    Best ten, hundred;
    {
        const Dataset d = MakeSmall(root, 10000);
        ten = Measure(launcher, d, self, kRounds);
        Remove(d.Dir);
    }
    {
        const Dataset d = MakeSmall(root, 100000);
        hundred = Measure(launcher, d, self, 3);
        Remove(d.Dir);
    }
    Remove(root);
    Goal("add: 100,000 / 10,000 files", hundred.Add / ten.Add, 12.0, true);
    Goal("extract: 100,000 / 10,000 files", hundred.Extract / ten.Extract, 12.0, true);
    Ratio("  tar -xf: 100,000 / 10,000 files", hundred.TarX / ten.TarX);
    Peak(hundred);
    std::printf("\n");
}

// Calls each for every non-empty line of the list file, reading it as it goes.
void ForEachLine(const std::string& path, const std::function<void(const std::string&)>& each) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) each(line);
}

// The measured operations, each run as a process of its own.
int ArchiveOperation(int argc, char** argv) {
    THostMachine host;
    os::ScopedPlatform use(host.Platform());
    TKembCompress* kc = new TKembCompress(nullptr);
    const std::string mode = argv[1];
    kc->SetCompressedFile(host.FromUser(argv[2]));
    if (mode == "--add" && argc == 4) {
        // Straight into the component's own list: the names are held once.
        ForEachLine(argv[3], [&](const std::string& f) { kc->FilesToProcess()->Add(host.FromUser(f)); });
        kc->AddFiles(TlzhCommand::lzcOverwrite);
    } else if (mode == "--extract" && argc == 5) {
        // Into one folder per source folder, as tar and cp lay them out: one extraction for
        // each folder's files, as setup extracts a group, each as its names are read.
        std::string folder;
        const auto extract = [&] {
            if (kc->FilesToProcess()->Count() == 0) return;
            kc->SetExtractDirectory(host.FromUser(std::string(argv[3]) + "/" + folder));
            kc->ExtractFiles();
        };
        ForEachLine(argv[4], [&](const std::string& f) {
            const std::string parent = fs::path(f).parent_path().string();
            if (parent != folder) {
                extract();
                folder = parent;
            }
            kc->FilesToProcess()->Add(host.FromUser(f));
        });
        extract();
    } else {
        kc->Free();
        return 2;
    }
    kc->Free();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0 && std::strcmp(argv[1], "--dir") != 0) {
        try {
            return ArchiveOperation(argc, argv);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "archive_bench: %s\n", e.what());
            return 1;
        }
    }
    Launcher launcher;
    const fs::path root = argc >= 3 ? fs::path(argv[2]) : fs::path(BREV_BENCH_DIR);
    const std::string self = fs::canonical("/proc/self/exe").string();
    fs::create_directories(root);
    // The data, one archive and one copy at a time, with room to spare.
    const std::uint64_t needed = 3200 * kMB;
    const fs::space_info space = fs::space(root);
    if (space.available < needed) {
        std::fprintf(stderr, "archive_bench: %s has %llu MB free; the benchmark needs %llu MB\n", root.c_str(),
                     static_cast<unsigned long long>(space.available / kMB), static_cast<unsigned long long>(needed / kMB));
        return 1;
    }
    std::printf("Generating data in %s ...\n\n", root.c_str());
    {
        const Dataset mixed = MakeMixed(root);
        const Best b = Measure(launcher, mixed, self, kRounds);
        Goal("add / tar -cf", b.TarC / b.Add, 0.9);
        Goal("extract / cp -r", b.Cp / b.Extract, 0.9);
        Ratio("extract / tar -xf", b.TarX / b.Extract);
        Peak(b);
        std::printf("\n");
        Remove(mixed.Dir);
    }
    Best small;
    {
        const Dataset d = MakeSmall(root, 10000);
        small = Measure(launcher, d, self, kRounds);
        Goal("add / tar -cf", small.TarC / small.Add, 0.5);
        Goal("extract / tar -xf", small.TarX / small.Extract, 0.5);
        Peak(small);
        std::printf("\n");
        Remove(d.Dir);
    }
    {
        // On this disk the file system's own cost per new file grows with the count (tar's
        // too), so the scale is shown beside tar's; the goal is judged on a RAM disk below.
        const Dataset d = MakeSmall(root, 100000);
        const Best b = Measure(launcher, d, self, 3);
        Ratio("add: 100,000 / 10,000 files", b.Add / small.Add);
        Ratio("  tar -cf: 100,000 / 10,000 files", b.TarC / small.TarC);
        Ratio("extract: 100,000 / 10,000 files", b.Extract / small.Extract);
        Ratio("  tar -xf: 100,000 / 10,000 files", b.TarX / small.TarX);
        Ratio("add / tar -cf", b.TarC / b.Add);
        Ratio("extract / tar -xf", b.TarX / b.Extract);
        Peak(b);
        std::printf("\n");
        Remove(d.Dir);
    }
    MeasureScale(launcher, self);
    {
        const Dataset big = MakeBig(root);
        const Best b = Measure(launcher, big, self, kRounds);
        Ratio("add / tar -cf", b.TarC / b.Add);
        Ratio("extract / cp -r", b.Cp / b.Extract);
        Peak(b);
        Remove(big.Dir);
    }
    Remove(root);
    return 0;
}
