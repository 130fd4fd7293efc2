// The libraries setup.exe, the loader and Uninstall.exe import are all KnownDLLs: the system
// loads those from its own folder whatever lies beside the program, so a VERSION.dll left in
// the downloads folder never runs with the administrator rights the programs ask for. The
// others are loaded from the system folder by platform/win32/SystemLibraries.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// In the KnownDLLs of every Windows from 7 to 11 (later ones dropped some of 7's, such as
// urlmon, wininet and usp10). ntdll is mapped by the kernel before any search.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll",  "imagehlp.dll", "imm32.dll",  "kernel32.dll",
    "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",    "ntdll.dll",    "ole32.dll",  "oleaut32.dll",
    "psapi.dll",    "rpcrt4.dll",  "sechost.dll",  "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "wldap32.dll",  "ws2_32.dll",
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The names of the import directory and the delay-load directory (which loads by the same
// search at the first call), read from the file; empty for what is no PE image.
class ImportReader {
public:
    explicit ImportReader(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        FData.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::uint32_t pe = U32(0x3C);
        const std::uint32_t sections = pe + 24 + U16(pe + 20);
        for (std::uint16_t i = 0; i < U16(pe + 6); ++i) {
            const std::uint32_t s = sections + i * 40;
            FSections.push_back({U32(s + 12), std::max(U32(s + 8), U32(s + 16)), U32(s + 20)});
        }
    }

    std::vector<std::string> Libraries() const {
        std::vector<std::string> names;
        const std::uint32_t pe = U32(0x3C);
        if (U16(0) != 0x5A4D || U32(pe) != 0x00004550) return names;
        const std::uint32_t optional = pe + 24;
        const bool plus = U16(optional) == 0x20B;
        const std::uint64_t imageBase = plus ? U64(optional + 24) : U32(optional + 28);
        const std::uint32_t directories = optional + (plus ? 112 : 96);
        // Import descriptors are 20 bytes with the name at 12; delay-load ones 32 with it at 4.
        for (std::uint32_t at = Offset(U32(directories + 1 * 8)); at && U32(at + 12); at += 20)
            names.push_back(String(Offset(U32(at + 12))));
        for (std::uint32_t at = Offset(U32(directories + 13 * 8)); at && U32(at + 4); at += 32) {
            // Old-style delay-load tables hold addresses, not offsets from the image base.
            const std::uint32_t name = U32(at) & 1 ? U32(at + 4) : std::uint32_t(U32(at + 4) - imageBase);
            names.push_back(String(Offset(name)));
        }
        return names;
    }

private:
    struct Section {
        std::uint32_t Rva, Size, File;
    };

    std::uint64_t Read(std::uint32_t at, int bytes) const {
        std::uint64_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | (std::size_t(at) + i < FData.size() ? std::uint8_t(FData[at + i]) : 0);
        return v;
    }
    std::uint16_t U16(std::uint32_t at) const { return std::uint16_t(Read(at, 2)); }
    std::uint32_t U32(std::uint32_t at) const { return std::uint32_t(Read(at, 4)); }
    std::uint64_t U64(std::uint32_t at) const { return Read(at, 8); }

    std::uint32_t Offset(std::uint32_t rva) const {
        for (const Section& s : FSections)
            if (rva && rva >= s.Rva && rva < s.Rva + s.Size) return rva - s.Rva + s.File;
        return 0;
    }

    std::string String(std::uint32_t at) const {
        std::string s;
        while (at && at < FData.size() && FData[at]) s += FData[at++];
        return s;
    }

    std::vector<char> FData;
    std::vector<Section> FSections;
};

struct Program {
    const char* Name;
    const char* Path;  // empty when this build does not make the program
};

const Program kPrograms[] = {
    {"setup.exe", BREV_SETUP_EXE},
    {"QuenfoldLoadProgram.exe", BREV_LOADER_EXE},
    {"Uninstall.exe", BREV_UNINSTALL_EXE},
};

std::string ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string narrow;
    for (DWORD i = 0; i < n; ++i) narrow += char(path[i] < 0x80 ? path[i] : '?');
    return narrow;
}

}  // namespace

// The rule itself: every statically imported library of each program is a KnownDLL.
TEST(StaticImports, OfEachProgram_AreKnownDllsOnly) {
    int checked = 0;
    for (const Program& program : kPrograms) {
        if (!*program.Path) continue;
        const std::vector<std::string> libraries = ImportReader(program.Path).Libraries();
        // A reader that found nothing would let everything pass.
        ASSERT_TRUE(std::any_of(libraries.begin(), libraries.end(), [](const std::string& l) { return Lower(l) == "kernel32.dll"; }))
            << program.Name << " (" << program.Path << "): no import table read";
        for (const std::string& library : libraries)
            EXPECT_EQ(kKnownDlls.count(Lower(library)), 1u)
                << program.Name << " imports " << library
                << ", which Windows looks for beside the program first; load it through platform/win32/SystemLibraries";
        ++checked;
    }
    EXPECT_GE(checked, 2) << "setup.exe and the loader are built in every Windows build";
}

// The reader sees an import that is not a KnownDLL: this program imports VERSION.dll itself.
TEST(StaticImports, Reader_FindsVersionDllInThisTestProgram) {
    DWORD ignored = 0;
    EXPECT_NE(GetFileVersionInfoSizeW(L"kernel32.dll", &ignored), 0u);
    const std::vector<std::string> libraries = ImportReader(ThisProgram()).Libraries();
    EXPECT_TRUE(std::any_of(libraries.begin(), libraries.end(), [](const std::string& l) { return Lower(l) == "version.dll"; }))
        << ThisProgram();
    EXPECT_EQ(kKnownDlls.count("version.dll"), 0u);
}
