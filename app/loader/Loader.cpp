// The distribution's loader; see Loader.h.
#include "app/loader/Loader.h"

#include <vector>

#include "archive/cmp_TKembCompress.h"
#include "runtime/StringList.h"
#include "runtime/SysUtils.h"

namespace {

// A folder of our own under the temporary directory: one per process, and never one that
// exists already, so a stale folder of an earlier run is left alone.
std::string NewScratchFolder(os::IPlatform& p) {
    const std::string base = rt::IncludeTrailingBackslash(p.GetTempPath()) + "BrevSetup" + std::to_string(p.CurrentProcessId());
    for (int n = 0; n < 1000; ++n) {
        const std::string dir = n == 0 ? base : base + "." + std::to_string(n);
        if (p.GetFileAttributes(dir) == os::kInvalidAttributes && p.CreateDirectory(dir)) return dir;
    }
    return {};
}

}  // namespace

std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each needs its twin.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

TLoaderResult RunLoader(os::IPlatform& p, const std::string& loaderPath, const TRunAndWait& runAndWait) {
    TLoaderResult result;
    result.ExitCode = 1;
    // Setup's switches pass through; the loader takes nothing from its command line itself.
    std::string switches;
    for (const std::string& arg : p.CommandLineArgs()) {
        switches += " " + QuoteArgument(arg);
        if (rt::SameText(arg, "/SILENT") || rt::SameText(arg, "/VERYSILENT")) result.Unattended = true;
    }
    // A root stays "D:" so that quoting it cannot turn its backslash into an escape.
    const std::string source = rt::ExcludeTrailingBackslash(rt::ExtractFilePath(loaderPath));
    const std::string archive = source + "\\setup.1";
    if (!p.FileExists(archive)) {
        result.Error = "The setup files were not found: " + archive;
        return result;
    }
    const std::string scratch = NewScratchFolder(p);
    if (scratch.empty()) {
        result.Error = "Cannot create a temporary folder in " + p.GetTempPath();
        return result;
    }

    std::vector<std::string> unpacked;
    auto* kc = new TKembCompress(nullptr);
    try {
        kc->SetCompressedFile(archive);
        const int count = kc->FileCount();
        if (count == 0) throw rt::Exception("The setup files hold no program: " + archive);
        rt::TStringList names;
        for (int i = 0; i < count; ++i) names.Add(kc->FileHeaders().Items(i)->StoredName);
        kc->SetExtractDirectory(scratch);
        kc->SetFilesToProcess(names);
        kc->ExtractFiles();
        for (int i = 0; i < count; ++i) unpacked.push_back(scratch + "\\" + rt::ExtractFileName(names.Strings(i)));
        result.SetupPath = unpacked.front();
        result.ExitCode = runAndWait("\"" + result.SetupPath + "\" \"" + source + "\"" + switches, scratch);
        if (result.ExitCode < 0) {
            result.Error = "Cannot start " + result.SetupPath;
            result.ExitCode = 1;
        }
    } catch (const std::exception& e) {
        result.Error = e.what();
        result.ExitCode = 1;
    }
    kc->Free();
    // Setup has ended; what it left of its own files goes too. Errors are not the user's.
    for (const std::string& file : unpacked) p.DeleteFile(file);
    p.RemoveDirectory(scratch);
    return result;
}
