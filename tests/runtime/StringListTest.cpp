// String lists as install descriptions use them: orders, entries and texts.
#include <gtest/gtest.h>

#include "runtime/StringList.h"

using namespace rt;

TEST(StringList, IndexOfIgnoresCaseAndFindsTheFirst) {
    TStringList l{"Alpha", "beta", "BETA"};
    EXPECT_EQ(l.IndexOf("BETA"), 1);
    EXPECT_EQ(l.IndexOf("gamma"), -1);
    l.Insert(0, "beta");
    EXPECT_EQ(l.IndexOf("Beta"), 0);
    EXPECT_THROW(l.Insert(9, "x"), EStringListError);
    EXPECT_THROW(l.Strings(-1), EStringListError);
}

TEST(StringList, NameValueLinesSplitAtTheFirstEquals) {
    TStringList l{"InstallDir=C:\\App", "Formula=a=b", "NoValue", "=default"};
    EXPECT_EQ(l.Values("installdir"), "C:\\App");
    EXPECT_EQ(l.Values("Formula"), "a=b");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.Names(3), "");
    EXPECT_EQ(l.ValueFromIndex(3), "default");
    l.SetValue("SourceDir", "D:\\");
    EXPECT_EQ(l.Strings(4), "SourceDir=D:\\");
    l.SetValue("INSTALLDIR", "E:\\X");
    EXPECT_EQ(l.Strings(0), "INSTALLDIR=E:\\X");
    // An empty value takes the line away.
    l.SetValue("Formula", "");
    EXPECT_EQ(l.IndexOfName("Formula"), -1);
    EXPECT_EQ(l.Count(), 4);
}

TEST(StringList, TextJoinsWithCrLfAndSplitsAnyBreak) {
    TStringList l;
    l.SetText("one\ntwo\r\nthree");
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Text(), "one\r\ntwo\r\nthree\r\n");
    TStringList copy;
    copy.Assign(l);
    EXPECT_TRUE(copy.Equals(l));
    l.Clear();
    EXPECT_EQ(l.Text(), "");
}

TEST(StringList, ChangeNotificationsBatchInsideUpdates) {
    TStringList l;
    int changes = 0;
    l.OnChange = TNotifyEvent(nullptr, [&](TObject* sender) {
        EXPECT_EQ(sender, &l);
        ++changes;
    });
    l.Add("a");
    EXPECT_EQ(changes, 1);
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.Delete(0);
    EXPECT_EQ(changes, 1);
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    TStringList other{"x", "y"};
    l.Assign(other);
    EXPECT_EQ(changes, 3);
}

TEST(StringList, SortedListsKeepOrderAndHonourDuplicates) {
    TStringList l;
    l.SetSorted(true);
    l.Add("pear");
    l.Add("Apple");
    l.Add("banana");
    EXPECT_EQ(l.ToVector(), (std::vector<std::string>{"Apple", "banana", "pear"}));
    EXPECT_EQ(l.Add("APPLE"), 0);
    EXPECT_EQ(l.Count(), 3);
    l.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(l.Add("PEAR"), EStringListError);
    EXPECT_EQ(l.IndexOf("BANANA"), 1);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
}
