// brevarc: the archive tool for people who ship and debug setups. It lists, checks, extracts
// and builds archives (files.1 and the volumes after it) with the very component setup uses.
//
//   brevarc list ARCHIVE
//   brevarc check ARCHIVE
//   brevarc extract ARCHIVE DIR [--overwrite=RULE] [--disks=DIR] [--verbose] [NAME...]
//   brevarc build ARCHIVE [--append] [--volume-size=SIZE] FILE[;a[;b]]... | @LISTFILE
//
// RULE: always, never, version, date, versiondate. SIZE: bytes, or 1.44m, 1.2m, 720k, cd.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "archive/cmp_TKembCompress.h"
#include "archive/tool/HostMachine.h"
#include "runtime/StringList.h"
#include "runtime/SysUtils.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: brevarc list ARCHIVE\n"
    "       brevarc check ARCHIVE\n"
    "       brevarc extract ARCHIVE DIR [--overwrite=RULE] [--disks=DIR] [--verbose] [NAME...]\n"
    "       brevarc build ARCHIVE [--append] [--volume-size=SIZE] FILE[;a[;b]]... | @LISTFILE\n"
    "RULE: always (default), never, version, date, versiondate\n"
    "SIZE: bytes, or 1.44m (1457664), 1.2m (1213952), 720k (730112), cd (681984000)\n";

class UsageError : public rt::Exception {
public:
    using rt::Exception::Exception;
};

// "2001-02-03 04:05:06" (UTC) from the archive's day count.
std::string DateText(double date) {
    if (!std::isfinite(date) || date < -693593 || date > 2958465) return "(no date)";
    const std::int64_t seconds = std::llround(date * 86400.0);
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (1899-12-30 is 25569 days earlier).
    std::int64_t z = days - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2);
    char text[96];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(y), static_cast<long long>(m),
                  static_cast<long long>(d), static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return text;
}

std::string VolumesText(const TFileHeaderRecord& h) {
    if (h.FirstVolume == 0) return "1";
    if (h.FirstVolume == h.LastVolume) return std::to_string(h.FirstVolume);
    return std::to_string(h.FirstVolume) + "-" + std::to_string(h.LastVolume);
}

std::int64_t VolumeSizeOf(const std::string& text) {
    if (text == "1.44m") return 1457664;
    if (text == "1.2m") return 1213952;
    if (text == "720k") return 730112;
    if (text == "cd") return 681984000;
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || used == 0) throw UsageError("not a volume size: " + text);
    return value;
}

TOverwriteType RuleOf(const std::string& text) {
    if (text == "always") return TOverwriteType::owAlways;
    if (text == "never") return TOverwriteType::owNever;
    if (text == "version") return TOverwriteType::owVersion;
    if (text == "date") return TOverwriteType::owDate;
    if (text == "versiondate") return TOverwriteType::owVersionDate;
    throw UsageError("not an overwrite rule: " + text);
}

class Tool : public rt::TObject {
public:
    explicit Tool(THostMachine& host) : FHost(host), FUse(host.Platform()), FArchive(new TKembCompress(nullptr)) {}
    ~Tool() override { FArchive->Free(); }

    int Run(const std::vector<std::string>& args) {
        if (args.size() < 2) throw UsageError("a command and an archive are needed");
        const std::string& command = args[0];
        FArchive->SetCompressedFile(FHost.FromUser(args[1]));
        FVolume1 = FArchive->CompressedFile();
        std::vector<std::string> rest(args.begin() + 2, args.end());
        if (command == "list") return List();
        if (command == "check") return Check();
        if (command == "extract") return Extract(rest);
        if (command == "build") return Build(rest);
        throw UsageError("unknown command: " + command);
    }

private:
    os::IPlatform& P() { return FHost.Platform(); }

    int VolumesPresent(int last) {
        int present = 1;
        for (int n = 2; n <= last; ++n) {
            std::string ext(1, '.');
            ext += std::to_string(n);
            if (P().FileExists(rt::ChangeFileExt(FArchive->CompressedFile(), ext))) ++present;
        }
        return present;
    }

    int List() {
        const int count = FArchive->FileCount();
        const TFileHeaders& headers = FArchive->FileHeaders();
        int last = 1;
        std::int64_t total = 0;
        for (int i = 0; i < count; ++i) {
            last = std::max<int>(last, headers.Items(i)->LastVolume);
            total += headers.Items(i)->FileSize;
        }
        std::cout << FArchive->CompressedFile() << ": " << count << " file(s), "
                  << (headers.HeaderTableFlag ? "header table" : "chained headers") << ", " << last << " volume(s), "
                  << VolumesPresent(last) << " present\n";
        std::printf("%5s %11s  %-19s  %-20s %-7s %-7s %s\n", "#", "Size", "Date (UTC)", "Version", "Volumes", "Bytes", "Name");
        for (int i = 0; i < count; ++i) {
            const TFileHeader h = headers.Get(i);
            std::printf("%5d %11d  %-19s  %-20s %-7s %3u %3u %s\n", i + 1, h.FileSize, DateText(h.FileDate).c_str(),
                        h.FileVersion.c_str(), VolumesText(h).c_str(), h.UserByte1, h.UserByte2, h.StoredName.c_str());
        }
        std::cout << "Total: " << total << " byte(s)\n";
        return 0;
    }

    // Every file is read in full across its volumes, into a scratch folder, and sized.
    int Check() {
        const int count = FArchive->FileCount();
        const std::string scratch = P().GetTempPath() + "brevarc-check-" + std::to_string(P().CurrentProcessId());
        P().CreateDirectory(scratch);
        const std::string archive = FArchive->CompressedFile();
        int failed = 0;
        for (int i = 0; i < count; ++i) {
            const std::string name = FArchive->FileHeaders().Items(i)->StoredName;
            FArchive->SetCompressedFile(archive);
            FArchive->SetExtractDirectory(scratch);
            FArchive->SetDestFileName("check.tmp");
            rt::TStringList one;
            one.Add(name);
            FArchive->SetFilesToProcess(one);
            try {
                FArchive->ExtractFiles();
                std::cout << "ok      " << name << "\n";
            } catch (const std::exception& e) {
                ++failed;
                std::cout << "FAILED  " << name << ": " << e.what() << "\n";
            }
            P().DeleteFile(scratch + "\\check.tmp");
        }
        P().RemoveDirectory(scratch);
        std::cout << (failed ? std::to_string(failed) + " of " + std::to_string(count) + " file(s) damaged\n"
                             : "All " + std::to_string(count) + " file(s) read back in full\n");
        return failed ? kExitError : 0;
    }

    int Extract(const std::vector<std::string>& args) {
        if (args.empty()) throw UsageError("extract needs a directory");
        FArchive->SetExtractDirectory(FHost.FromUser(args[0]));
        rt::TStringList names;
        bool verbose = false;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (rt::StartsText("--overwrite=", args[i])) FArchive->SetOverwrite(RuleOf(args[i].substr(12)));
            else if (rt::StartsText("--disks=", args[i])) FDisks = FHost.FromUser(args[i].substr(8));
            else if (args[i] == "--verbose") verbose = true;
            else names.Add(args[i]);
        }
        if (names.Count() == 0) {
            const int count = FArchive->FileCount();
            for (int i = 0; i < count; ++i) names.Add(FArchive->FileHeaders().Items(i)->StoredName);
        }
        FArchive->OnNewDisk = TlzhNewDiskEvent(this, &Tool::NewDisk);
        bool aborted = false;
        FArchive->OnAborted = rt::TNotifyEvent(nullptr, [&aborted](rt::TObject*) { aborted = true; });
        // A line per file only when asked: a console (Wine's above all) takes longer to show
        // thousands of lines than the files take to extract.
        int extracted = 0;
        FArchive->OnAfterExtracting = TlzhFileStatsEvent(nullptr, [&extracted, verbose](TKembCompress*, TlzhFileStats& s) {
            ++extracted;
            if (verbose) std::cout << "extracted " << s.Name << "\n";
        });
        FArchive->SetFilesToProcess(names);
        FArchive->ExtractFiles();
        if (aborted) {
            std::cerr << "brevarc: cancelled\n";
            return kExitError;
        }
        std::cout << FVolume1 << ": " << extracted << " file(s) extracted\n";
        return 0;
    }

    // A volume that is not beside the last one found: the --disks folder and the archive's own
    // folder are tried, then the user is asked; end of input cancels.
    void NewDisk(TKembCompress* kc, std::int32_t disk, std::string& path) {
        std::string ext(1, '.');
        ext += std::to_string(disk);
        const std::string name = rt::ChangeFileExt(rt::ExtractFileName(FVolume1), ext);
        const std::string home = rt::ExcludeTrailingBackslash(rt::ExtractFilePath(FVolume1));
        for (const std::string& dir : {FDisks, home}) {
            if (dir == path) continue;
            if (P().FileExists((dir.empty() ? std::string() : rt::IncludeTrailingBackslash(dir)) + name)) {
                path = dir;
                return;
            }
        }
        std::cerr << "Volume " << disk << " is not in " << path << ". Insert it, then press Enter or type its folder: ";
        std::string line;
        if (!std::getline(std::cin, line)) {
            kc->SetAbort(true);
            return;
        }
        if (!rt::Trim(line).empty()) path = rt::ExcludeTrailingBackslash(FHost.FromUser(rt::Trim(line)));
    }

    int Build(const std::vector<std::string>& args) {
        TlzhCommand command = TlzhCommand::lzcOverwrite;
        rt::TStringList lines;
        for (const std::string& arg : args) {
            if (arg == "--append") command = TlzhCommand::lzcOnlyAdd;
            else if (rt::StartsText("--volume-size=", arg)) FArchive->SetVolumeSize(VolumeSizeOf(arg.substr(14)));
            else if (!arg.empty() && arg[0] == '@') ReadList(FHost.FromUser(arg.substr(1)), lines);
            else lines.Add(FHost.FromUser(arg));
        }
        if (lines.Count() == 0) throw UsageError("build needs files");
        FArchive->SetFilesToProcess(lines);
        FArchive->AddFiles(command);
        std::cout << FArchive->CompressedFile() << ": " << FArchive->FileCount() << " file(s)\n";
        return 0;
    }

    void ReadList(const std::string& path, rt::TStringList& lines) {
        auto file = P().OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
        if (!file) throw EKCCouldNotOpenFile(path);
        std::string text(static_cast<std::size_t>(std::max<std::int64_t>(0, file->Size())), '\0');
        if (!text.empty() && file->Read(text.data(), text.size()) != static_cast<std::int64_t>(text.size())) throw EKCCouldNotOpenFile(path);
        for (const std::string& line : rt::SplitLines(text))
            if (!rt::Trim(line).empty()) lines.Add(FHost.FromUser(rt::Trim(line)));
    }

    THostMachine& FHost;
    os::ScopedPlatform FUse;
    TKembCompress* FArchive;
    std::string FVolume1;  // as given, for the volumes' own folder
    std::string FDisks;
};

}  // namespace

int main(int argc, char** argv) {
    try {
        THostMachine host;
        Tool tool(host);
        return tool.Run(host.Arguments(argc, argv));
    } catch (const UsageError& e) {
        std::cerr << "brevarc: " << e.what() << "\n" << kUsage;
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "brevarc: " << e.what() << "\n";
        return kExitError;
    }
}
