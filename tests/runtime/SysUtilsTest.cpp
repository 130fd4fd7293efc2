// String helpers: Windows name comparison, paths, integers and code pages.
#include <gtest/gtest.h>

#include "runtime/SysUtils.h"

using namespace rt;

TEST(SysUtils, NamesCompareWithoutCaseButKeepOrder) {
    EXPECT_TRUE(SameText("Install1", "INSTALL1"));
    EXPECT_FALSE(SameText("Install1", "Install12"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_EQ(CompareText("", ""), 0);
}

TEST(SysUtils, StrToIntAcceptsOnlyDecimal32BitIntegers) {
    EXPECT_EQ(StrToInt("2000"), 2000);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "abc", "12a", " 12", "2147483648", "+", "1.5"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    }
    try {
        StrToInt("abc");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(SysUtils, PathPartsFollowBackslashRules) {
    EXPECT_EQ(ExtractFilePath("C:\\Dir\\File.txt"), "C:\\Dir\\");
    EXPECT_EQ(ExtractFilePath("C:File.txt"), "C:");
    EXPECT_EQ(ExtractFilePath("File.txt"), "");
    EXPECT_EQ(ExtractFileName("C:\\Dir\\File.txt"), "File.txt");
    EXPECT_EQ(ExtractFileExt("C:\\Dir.d\\File"), "");
    EXPECT_EQ(ExtractFileExt("a.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileDrive("C:\\Dir"), "C:");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("\\Dir"), "");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\setup.exe", ".1"), "C:\\a.b\\setup.1");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\setup", ".1"), "C:\\a.b\\setup.1");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\"), "C:\\x");
}

TEST(SysUtils, AnsiCodePagesRoundTripTheirCharacters) {
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // shalom in UTF-8
    const std::string ansi = Utf8ToAnsi(hebrew, 1255);
    EXPECT_EQ(ansi, "\xF9\xEC\xE5\xED");
    EXPECT_EQ(AnsiToUtf8(ansi, 1255), hebrew);
    EXPECT_EQ(Utf8ToAnsi("Espa\xC3\xB1ol \xE2\x82\xAC", 1252), "Espa\xF1ol \x80");
    EXPECT_EQ(AnsiToUtf8("Espa\xF1ol", 1252), "Espa\xC3\xB1ol");
    // A Hebrew letter has no place in the Western code page.
    EXPECT_EQ(Utf8ToAnsi("\xD7\xA9", 1252), "?");
}

TEST(SysUtils, Utf16ConversionKeepsSurrogatePairs) {
    const std::string text = "a\xD7\xA9\xF0\x9F\x98\x80";  // a, shin, an emoji outside the BMP
    const std::u16string wide = Utf8ToUtf16(text);
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_EQ(wide[1], 0x05E9);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(SysUtils, SplitLinesAcceptsEveryLineBreak) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
}

TEST(SysUtils, PercentRoundsHalfToEven) {
    EXPECT_EQ(PercentOf(0, 0), 0);
    EXPECT_EQ(PercentOf(1, 8), 12);    // 12.5 -> 12
    EXPECT_EQ(PercentOf(3, 8), 38);    // 37.5 -> 38
    EXPECT_EQ(PercentOf(1, 3), 33);
    EXPECT_EQ(PercentOf(2, 3), 67);
    EXPECT_EQ(PercentOf(5, 5), 100);
    EXPECT_EQ(PercentOf(2147483647, 2147483647), 100);
}
