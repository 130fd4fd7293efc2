// The version reader against real program files (built with the resource compiler, see
// versions/*.rc): the same fifteen texts on the simulated machine and, under Wine, through
// the system's version functions, and the same raw block from both platforms.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "system/cmp_TVersion.h"
#include "tests/common/Flavours.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace {

namespace fs = std::filesystem;

const char* const kInputs[] = {"app_en.exe", "lib_he.dll", "drv_de.dll", "font_uni.dll", "novers.exe"};
// Built into the test's working folder by the build.
const fs::path kInputDir = "versions";

// A platform that sees the inputs under Dir.
class Env {
public:
    virtual ~Env() = default;
    virtual os::IPlatform& Platform() = 0;
    std::string Dir;
};

class SimEnv : public Env {
public:
    SimEnv() {
        std::random_device random;
        FRoot = fs::temp_directory_path() / (std::string("brev-version-contract-") + std::to_string(random()));
        fs::create_directories(FRoot);
        FSim = std::make_unique<os::SimPlatform>(FRoot);
        FSim->CreateDirectory("C:\\versions");
        for (const char* name : kInputs) fs::copy_file(kInputDir / name, FSim->HostPath(std::string("C:\\versions\\") + name));
        Dir = "C:\\versions\\";
    }
    ~SimEnv() override {
        FSim.reset();
        std::error_code ec;
        fs::remove_all(FRoot, ec);
    }
    os::IPlatform& Platform() override { return *FSim; }

private:
    fs::path FRoot;
    std::unique_ptr<os::SimPlatform> FSim;
};

#ifdef _WIN32
class Win32Env : public Env {
public:
    Win32Env() { Dir = "versions\\"; }
    os::IPlatform& Platform() override { return FWin; }

private:
    os::Win32Platform FWin;
};
#endif

using Flavour = TFlavour<Env>;

std::vector<Flavour> Flavours() {
#ifdef _WIN32
    return FlavoursOf<Env, SimEnv, Win32Env>();
#else
    return FlavoursOf<Env, SimEnv>();
#endif
}

using Texts = std::vector<std::string>;

Texts TextsOf(const TVersionInfo& v) {
    return {v.Comment,         v.CompanyName, v.FileDescription, v.FileVersion,    v.InternalName,
            v.LegalCopyright,  v.LegalTradeMarks, v.OriginalFileName, v.PrivateBuild, v.ProductName,
            v.ProductVersion,  v.SpecialBuild, v.FileOS,          v.FileType,       v.FileSubType};
}

struct Case {
    const char* File;
    TLanguage Language;
    TCharacterSet CharacterSet;
    Texts Expected;  // in TVersionInfo order, from the .rc sources
};

const Texts kNone(15);

std::vector<Case> Cases() {
    const auto L = TLanguage::lnUSEnglish;
    const auto W = TCharacterSet::csMultilingual;
    return {
        {"app_en.exe", L, W,
         {"Built for the version contract", "Halvernock", "Brevanshaw test program", "1.2.3.4", "app_en",
          "\xc2\xa9 Halvernock", "Brevanshaw\xe2\x84\xa2", "app_en.exe", "private", "Brevanshaw", "5.6 Beta", "special",
          "Windows NT with 32 bit Windows", "Application", ""}},
        // The string FileVersion (9.9.9.9) never replaces the fixed one.
        {"lib_he.dll", L, W,
         {"", "Halvernock", "Test library", "4.0.0.950", "", "", "", "", "", "", "4.0.0.0", "", "32 bit Windows",
          "Dynamic-Link Library", ""}},
        {"lib_he.dll", TLanguage::lnHebrew, TCharacterSet::csHebrew,
         {"", "\xd7\x94\xd7\x9c\xd7\x95\xd7\x95\xd7\xa8\xd7\xa0\xd7\x95\xd7\xa7",
          "\xd7\xa1\xd7\xa4\xd7\xa8\xd7\x99\xd7\x99\xd7\xaa \xd7\x91\xd7\x93\xd7\x99\xd7\xa7\xd7\x94", "4.0.0.950", "", "", "",
          "", "", "\xd7\x91\xd7\xa8\xd7\x91\xd7\xa0\xd7\xa9\xd7\x95", "4.0.0.0", "", "32 bit Windows", "Dynamic-Link Library",
          ""}},
        {"lib_he.dll", TLanguage::lnHebrew, W,
         {"", "", "", "4.0.0.950", "", "", "", "", "", "", "4.0.0.0", "", "32 bit Windows", "Dynamic-Link Library", ""}},
        // Strings for 0x0407 only: none with the default language.
        {"drv_de.dll", L, W,
         {"", "", "", "3.10.0.0", "", "", "", "", "", "", "3.10.0.0", "", "Windows 3.0 or later with MS-Dos", "Device Driver",
          "Unknown"}},
        {"drv_de.dll", TLanguage::lnGerman, W,
         {"", "Halvernock GmbH", "Ger\xc3\xa4tetreiber f\xc3\xbcr Pr\xc3\xbc" "fungen", "3.10.0.0", "", "", "", "", "", "",
          "3.10.0.0", "", "Windows 3.0 or later with MS-Dos", "Device Driver", "Unknown"}},
        {"font_uni.dll", L, TCharacterSet::csUnicode,
         {"", "Halvernock Type", "", "2.0.0.1", "\xce\xa9mega", "", "", "", "", "", "2.0.0.1", "", "Windows NT", "Font",
          "TrueType"}},
        {"font_uni.dll", L, W,
         {"", "", "", "2.0.0.1", "", "", "", "", "", "", "2.0.0.1", "", "Windows NT", "Font", "TrueType"}},
        {"novers.exe", L, W, kNone},
        {"missing.dll", L, W, kNone},
    };
}

class VersionContract : public testing::TestWithParam<Flavour> {
protected:
    void SetUp() override { FEnv = GetParam().Make(); }
    std::unique_ptr<Env> FEnv;
};

TEST_P(VersionContract, FifteenTexts_OfEveryInputInEveryLanguageAsked) {
    os::ScopedPlatform use(FEnv->Platform());
    TVersionResource reader(nullptr);
    for (const Case& c : Cases()) {
        reader.SetLanguage(c.Language);
        reader.SetCharacterSet(c.CharacterSet);
        reader.SetFileName(FEnv->Dir + c.File);
        EXPECT_EQ(TextsOf(*reader.VersionInfo()), c.Expected)
            << c.File << " " << rt::EnumName(c.Language) << " " << rt::EnumName(c.CharacterSet);
    }
}

TEST_P(VersionContract, Blocks_AreTheResourceBytesOfBothBitnesses) {
    os::IPlatform& p = FEnv->Platform();
    std::vector<std::uint8_t> block;
    for (const char* name : {"app_en.exe", "lib_he.dll", "drv_de.dll", "font_uni.dll"}) {
        ASSERT_TRUE(p.GetFileVersionInfo(FEnv->Dir + name, block)) << name;
        ASSERT_GE(block.size(), 6u);
        EXPECT_EQ(block.size(), std::size_t(block[0] | (block[1] << 8))) << name << ": cut to its own length";
    }
    EXPECT_FALSE(p.GetFileVersionInfo(FEnv->Dir + "novers.exe", block));
    EXPECT_FALSE(p.GetFileVersionInfo(FEnv->Dir + "missing.dll", block));
}

// A product may ship a runtime under the name of a system library; its own version counts,
// whatever library of that name the system itself carries.
TEST_P(VersionContract, FileNamedLikeASystemLibrary_KeepsItsOwnVersion) {
    os::IPlatform& p = FEnv->Platform();
    os::ScopedPlatform use(p);
    TVersionResource reader(nullptr);
    for (const char* name : {"Msvcrt20.dll", "msvcrt.dll", "ole32.dll"}) {
        const std::string copy = FEnv->Dir + name;
        ASSERT_TRUE(p.CopyFile(FEnv->Dir + "lib_he.dll", copy, false)) << name;
        reader.SetFileName(copy);
        EXPECT_EQ(reader.VersionInfo()->FileVersion, "4.0.0.950") << name;
        p.DeleteFile(copy);
    }
}


INSTANTIATE_TEST_SUITE_P(AllPlatforms, VersionContract, testing::ValuesIn(Flavours()),
                         [](const testing::TestParamInfo<Flavour>& info) { return info.param.Name; });

}  // namespace
