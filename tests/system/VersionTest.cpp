// The version resource reader on the simulated machine: the comparison and field splitter,
// the language and code-page tables, every text table entry, the string-table prefix rule,
// rereading on every assignment, both PE flavours, and damaged images that must read as
// "no resource". Inputs are made in memory (PeImageBuilder.h).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/Forms.h"
#include "platform/VersionBlock.h"
#include "system/cmp_TVersion.h"
#include "tests/common/SimMachine.h"
#include "tests/system/PeImageBuilder.h"

namespace {

TEST(Version, CompareVersions_ComparesFieldsAsText) {
    struct Case {
        const char *A, *B;
        int Result;
    };
    const Case cases[] = {
        {"1.2.3", "1.2.3", 0}, {"1.3", "1.2.9", 1}, {"1.2", "1.2.0", 2}, {"1.2.0", "1.2", 1}, {"", "1.0", 2},
        {"1.0", "", 1},        {"", "", 0},          {"1.10", "1.9", 2}, {"2", "10", 1},      {"1..5", "1..9", 0},
        {"1.2a", "1.2", 1},    {"4.0.0.950", "4.0.0.1381", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(CompareVersions(c.A, c.B), c.Result) << c.A << " vs " << c.B;
}

TEST(Version, NthField_SplitsAtEveryDelimiter) {
    EXPECT_EQ(NthField("a,b,c", 1, ","), "a");
    EXPECT_EQ(NthField("a,b,c", 3, ","), "c");
    EXPECT_EQ(NthField("a,b,c", 4, ","), "");
    EXPECT_EQ(NthField("a,,c", 2, ","), "");
    EXPECT_EQ(NthField("a,,c", 3, ","), "c");
    EXPECT_EQ(NthField("no delimiter", 1, ";"), "no delimiter");
    EXPECT_EQ(NthField("no delimiter", 2, ";"), "");
    EXPECT_EQ(NthField("x::y::z", 2, "::"), "y");
    EXPECT_EQ(NthField("", 1, ","), "");
}

TEST(Version, Identifiers_OfLanguagesAndCodePages) {
    EXPECT_EQ(LanguageIdentifier(TLanguage::lnArabic), 0x0401);
    EXPECT_EQ(LanguageIdentifier(TLanguage::lnUSEnglish), 0x0409);
    EXPECT_EQ(LanguageIdentifier(TLanguage::lnHebrew), 0x040D);
    EXPECT_EQ(LanguageIdentifier(TLanguage::lnBahasa), 0x0421);
    const std::vector<std::uint16_t> later = {0x0804, 0x0807, 0x0809, 0x080A, 0x080C, 0x0810,
                                              0x0813, 0x0814, 0x0816, 0x081A, 0x0C0C, 0x100C};
    for (std::size_t i = 0; i < later.size(); ++i)
        EXPECT_EQ(LanguageIdentifier(static_cast<TLanguage>(33 + i)), later[i]) << rt::EnumName(static_cast<TLanguage>(33 + i));
    const std::vector<std::uint16_t> pages = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
    for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(CodePageOf(static_cast<TCharacterSet>(i)), pages[i]);
    EXPECT_EQ(rt::EnumName(TLanguage::lnSwissFrench), "lnSwissFrench");
    EXPECT_EQ(rt::EnumName(TCharacterSet::csArabic), "csArabic");
}

TEST(Version, Block_QueriesFollowKeysWithoutRegardToCase) {
    testpe::Fixed f;
    f.FileMS = 0x00040000;
    f.FileLS = 950;
    const auto block = testpe::VersionBlock(f, {{"040904E4", {{"CompanyName", "Halvernock"}, {"Comments", ""}}}});
    TFixedFileInfo info;
    ASSERT_TRUE(QueryFixedFileInfo(block, info));
    EXPECT_EQ(info.Signature, 0xFEEF04BDu);
    EXPECT_EQ(info.FileVersionLS, 950u);
    std::string text;
    EXPECT_TRUE(QueryVersionString(block, "\\StringFileInfo\\040904e4\\companyname", text));
    EXPECT_EQ(text, "Halvernock");
    EXPECT_TRUE(QueryVersionString(block, "\\StringFileInfo\\040904E4\\Comments", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(QueryVersionString(block, "\\StringFileInfo\\040904E4\\ProductName", text));
    EXPECT_FALSE(QueryVersionString(block, "\\StringFileInfo\\040704E4\\CompanyName", text));
    // Every cut of the block reads as missing parts, never past its end.
    for (std::size_t size = 0; size < block.size(); ++size) {
        const std::vector<std::uint8_t> cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
        QueryFixedFileInfo(cut, info);
        QueryVersionString(cut, "\\StringFileInfo\\040904E4\\CompanyName", text);
    }
    EXPECT_FALSE(QueryFixedFileInfo({}, info));
}

class VersionReaderTest : public ::testing::Test {
protected:
    void PutImage(const std::string& path, const testpe::Bytes& image) {
        auto file = machine->OpenFile(path, os::OpenMode::Write, os::Disposition::CreateAlways, os::Share::None);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->Write(image.data(), image.size()), static_cast<std::int64_t>(image.size()));
    }
    TVersionInfo& Read(const std::string& path) {
        reader->SetFileName(path);
        return *reader->VersionInfo();
    }
    void TearDown() override { reader->Free(); }
    SimMachine machine;
    TVersionResource* reader = new TVersionResource(nullptr);
};

TEST_F(VersionReaderTest, FixedInformation_GivesVersionsAndTheTableTexts) {
    struct OsCase {
        std::uint32_t Value;
        const char* Text;
    };
    const OsCase systems[] = {{1, "Windows 3.0 or later"},
                              {2, "16 bit OS/2 Presentation Manager"},
                              {3, "32 bit OS/2 Presentation Manager"},
                              {4, "32 bit Windows"},
                              {0x10000, "MS-Dos"},
                              {0x10001, "Windows 3.0 or later with MS-Dos"},
                              {0x10004, "32 bit Windows with MS-Dos"},
                              {0x20000, "16 bit OS/2"},
                              {0x20002, "16 bit OS/2 with Presentation Manager"},
                              {0x30000, "32 bit OS/2"},
                              {0x30003, "32 bit OS/2 with Presentation Manager"},
                              {0x40000, "Windows NT"},
                              {0x40004, "Windows NT with 32 bit Windows"},
                              {0x50000, "Unknown"},
                              {0, "Unknown"}};
    for (const OsCase& c : systems) {
        testpe::Fixed f;
        f.FileOS = c.Value;
        PutImage("C:\\os.dll", testpe::PeImage(testpe::VersionBlock(f, {}), c.Value % 2 == 0));
        EXPECT_EQ(Read("C:\\os.dll").FileOS, c.Text) << std::hex << c.Value;
    }
    const std::vector<std::pair<std::uint32_t, std::string>> types = {
        {1, "Application"}, {2, "Dynamic-Link Library"}, {3, "Device Driver"}, {4, "Font"}, {5, "Virtual Device Driver"},
        {6, "Unknown"},     {7, "Static-Link Library"},  {0, "Unknown"}};
    for (const auto& [value, text] : types) {
        testpe::Fixed f;
        f.FileType = value;
        f.FileSubtype = 1;
        PutImage("C:\\t.dll", testpe::PeImage(testpe::VersionBlock(f, {}), false));
        EXPECT_EQ(Read("C:\\t.dll").FileType, text);
        EXPECT_EQ(Read("C:\\t.dll").FileSubType, value == 3 ? "Printer" : value == 4 ? "Raster" : "") << value;
    }
    const char* drivers[] = {"Unknown", "Printer", "Keyboard", "Language", "Display", "Mouse", "Network",
                             "System", "Installable", "Sound", "Communications", "Unknown"};
    for (std::uint32_t sub = 0; sub < 12; ++sub) {
        testpe::Fixed f;
        f.FileType = 3;
        f.FileSubtype = sub;
        PutImage("C:\\d.drv", testpe::PeImage(testpe::VersionBlock(f, {}), true));
        EXPECT_EQ(Read("C:\\d.drv").FileSubType, drivers[sub]) << sub;
    }
    const char* fonts[] = {"Unknown", "Raster", "Vector", "TrueType", "Unknown"};
    for (std::uint32_t sub = 0; sub < 5; ++sub) {
        testpe::Fixed f;
        f.FileType = 4;
        f.FileSubtype = sub;
        PutImage("C:\\f.fon", testpe::PeImage(testpe::VersionBlock(f, {}), false));
        EXPECT_EQ(Read("C:\\f.fon").FileSubType, fonts[sub]) << sub;
    }
    testpe::Fixed f;
    f.FileMS = 0xFFFF0000;
    f.FileLS = 0x0001FFFE;
    f.ProductMS = 0x00070008;
    f.ProductLS = 0;
    PutImage("C:\\v.dll", testpe::PeImage(testpe::VersionBlock(f, {}), true));
    EXPECT_EQ(Read("C:\\v.dll").FileVersion, "65535.0.1.65534");
    EXPECT_EQ(Read("C:\\v.dll").ProductVersion, "7.8.0.0");
}

TEST_F(VersionReaderTest, StringTable_OnlyTheGivenLanguageAndCodePage) {
    testpe::Fixed f;
    f.FileMS = 0x00040000;
    f.FileLS = 950;
    const auto block = testpe::VersionBlock(
        f, {{"040D04E7", {{"CompanyName", "\xd7\x94\xd7\x9c"}, {"FileVersion", "9.9.9.9"}, {"ProductVersion", "he"}}},
            {"040904E4", {{"CompanyName", "Halvernock"}, {"FileVersion", "8.8.8.8"}, {"LegalTradeMarks", "TM"}}},
            {"040704E4", {{"CompanyName", "Halvernock GmbH"}}}});
    PutImage("C:\\lib.dll", testpe::PeImage(block, false));
    EXPECT_EQ(reader->StringTablePrefix(), "\\StringFileInfo\\040904E4\\");
    TVersionInfo& en = Read("C:\\lib.dll");
    EXPECT_EQ(en.CompanyName, "Halvernock");
    EXPECT_EQ(en.LegalTradeMarks, "TM");
    EXPECT_EQ(en.FileVersion, "4.0.0.950") << "never from the string table";
    EXPECT_EQ(en.ProductVersion, "1.0.0.0") << "no ProductVersion string in this table";

    reader->SetLanguage(TLanguage::lnHebrew);
    EXPECT_EQ(reader->VersionInfo()->CompanyName, "") << "Hebrew with code page 1252 is not there";
    reader->SetCharacterSet(TCharacterSet::csHebrew);
    EXPECT_EQ(reader->StringTablePrefix(), "\\StringFileInfo\\040D04E7\\");
    EXPECT_EQ(reader->VersionInfo()->CompanyName, "\xd7\x94\xd7\x9c");
    EXPECT_EQ(reader->VersionInfo()->ProductVersion, "he");
    EXPECT_EQ(reader->VersionInfo()->LegalTradeMarks, "");

    reader->SetLanguage(TLanguage::lnSwissGerman);
    reader->SetCharacterSet(TCharacterSet::csMultilingual);
    EXPECT_EQ(reader->VersionInfo()->CompanyName, "") << "0x0807 is not 0x0407";
}

TEST_F(VersionReaderTest, EveryAssignment_ReadsTheFileAgain) {
    PutImage("C:\\app.exe", testpe::VersionedImage(1, 0, 0, 0));
    EXPECT_EQ(Read("C:\\app.exe").FileVersion, "1.0.0.0");
    PutImage("C:\\app.exe", testpe::VersionedImage(2, 5, 0, 0));
    EXPECT_EQ(Read("C:\\app.exe").FileVersion, "2.5.0.0") << "the same name again";
    PutImage("C:\\app.exe", testpe::VersionedImage(3, 0, 0, 0));
    reader->SetLanguage(TLanguage::lnUSEnglish);
    EXPECT_EQ(reader->VersionInfo()->FileVersion, "3.0.0.0") << "an unchanged language rereads too";
    machine->DeleteFile("C:\\app.exe");
    reader->SetCharacterSet(TCharacterSet::csMultilingual);
    EXPECT_EQ(reader->VersionInfo()->FileVersion, "") << "a missing file clears every text";
    EXPECT_EQ(reader->VersionInfo()->CompanyName, "");
}

TEST_F(VersionReaderTest, Defaults_AndTheSharedReaderStartOnTheProgramItself) {
    machine->SetModuleFileName("C:\\SETUP.EXE");
    PutImage("C:\\SETUP.EXE", testpe::VersionedImage(6, 1, 0, 0));
    TVersionResource own(nullptr);
    EXPECT_EQ(own.FileName(), "C:\\SETUP.EXE");
    EXPECT_EQ(own.Language(), TLanguage::lnUSEnglish);
    EXPECT_EQ(own.CharacterSet(), TCharacterSet::csMultilingual);
    EXPECT_EQ(own.VersionInfo()->FileVersion, "6.1.0.0");
    EXPECT_EQ(own.VersionInfo()->CompanyName, "Halvernock");
    TVersionResource& shared = SharedVersionReader();
    EXPECT_EQ(&shared, &SharedVersionReader());
    shared.SetFileName("C:\\SETUP.EXE");
    EXPECT_EQ(shared.VersionInfo()->FileVersion, "6.1.0.0");
    // Published, as a description sets it.
    rt::SetPropValue(own, "Language", std::int64_t(static_cast<int>(TLanguage::lnGerman)));
    EXPECT_EQ(own.Language(), TLanguage::lnGerman);
    EXPECT_EQ(std::get<std::string>(rt::GetPropValue(*own.VersionInfo(), "FileVersion")), "6.1.0.0");
}

TEST_F(VersionReaderTest, DamagedOrForeignFiles_ReadAsNoResource) {
    const auto good = testpe::VersionedImage(1, 2, 3, 4);
    PutImage("C:\\good.dll", good);
    ASSERT_EQ(Read("C:\\good.dll").FileVersion, "1.2.3.4");
    // Every prefix of the image, and single bytes spoilt across its headers and tree.
    for (std::size_t size = 0; size < good.size(); size += 7) {
        PutImage("C:\\cut.dll", testpe::Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
        Read("C:\\cut.dll");
    }
    for (std::size_t at = 0; at < 0x300 && at < good.size(); ++at) {
        auto spoilt = good;
        spoilt[at] ^= 0xFF;
        PutImage("C:\\spoilt.dll", spoilt);
        Read("C:\\spoilt.dll");
    }
    PutImage("C:\\text.txt", {'M', 'Z', 'h', 'i'});
    EXPECT_EQ(Read("C:\\text.txt").FileVersion, "");
    PutImage("C:\\cut.dll", testpe::Bytes(good.begin(), good.begin() + 0x200));
    EXPECT_EQ(Read("C:\\cut.dll").FileType, "") << "the resource section is missing";
    std::vector<std::uint8_t> block;
    EXPECT_FALSE(machine->GetFileVersionInfo("C:\\cut.dll", block));
    EXPECT_TRUE(block.empty());
    EXPECT_TRUE(machine->GetFileVersionInfo("C:\\good.dll", block));
    EXPECT_EQ(block.size(), std::size_t(block[0] | (block[1] << 8)));
}

}  // namespace
