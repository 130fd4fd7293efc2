// The Windows string-table resource against the table it was generated from.
#include <gtest/gtest.h>

#include "app/StringTable.h"
#include "app/win32/ResourceStrings.h"
#include "runtime/Resources.h"
#include "runtime/SysUtils.h"

void BrevRegisterEmbeddedResources();

TEST(ResourceStrings, EveryTextOfTheTableIsInTheResourceUnchanged) {
    BrevRegisterEmbeddedResources();
    int checked = 0;
    for (const std::string& line : rt::SplitLines(rt::FindResource("StringTable.txt"))) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const int id = rt::StrToInt(line.substr(0, tab));
        std::string fromResource;
        ASSERT_TRUE(ResourceString(id, fromResource)) << id;
        EXPECT_EQ(fromResource, line.substr(tab + 1)) << id;
        ++checked;
    }
    EXPECT_GT(checked, 60);
    std::string none;
    EXPECT_FALSE(ResourceString(60183, none));  // a translation that is missing stays missing
    SetStringSource(&ResourceString);
    EXPECT_EQ(LoadStr(60001), "\xD7\x9B\xD7\x9F");
    EXPECT_EQ(LoadStr(60183), "");
    SetStringSource(nullptr);
}
