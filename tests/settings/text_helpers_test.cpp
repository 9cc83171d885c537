#include "settings/opened_files.h"
#include "settings/text_helpers.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(OpenedFiles, KeepsNineNewestFirst) {
    TListOpenedFiles list;
    for (int i = 0; i < 10; ++i) {
        list.Add(QStringLiteral("/charts/f%1.fml").arg(i));
    }
    ASSERT_EQ(list.GetCount(), 9);
    EXPECT_EQ(list.Get(0), "/charts/f9.fml");
    EXPECT_EQ(list.Get(8), "/charts/f1.fml");
}

TEST(OpenedFiles, AddingAKnownNameInAnyCaseChangesNothing) {
    TListOpenedFiles list;
    list.Add("C:\\a.fml");
    list.Add("C:\\b.fml");
    list.Add("c:\\A.FML");
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0), "C:\\b.fml");
    EXPECT_EQ(list.Get(1), "C:\\a.fml");
}

TEST(OpenedFiles, ANameHoldingALineBreakIsNotListed) {
    // One line of "Config.ini" could not hold it: it would come back as
    // another name.
    TListOpenedFiles list;
    list.Add("/charts/a\nb.fml");
    list.Add("/charts/a\rb.fml");
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(OpenedFiles, ShortNamesDeleteAndIndexErrors) {
    TListOpenedFiles list;
    list.Add("plain.fml");
    list.Add("D:chart.fml");
    list.Add("C:\\dir\\chart.fml");
    list.Add("/home/user/chart.fml");
    EXPECT_EQ(list.GetShortName(0), "chart.fml");
    EXPECT_EQ(list.GetShortName(1), "chart.fml");
    EXPECT_EQ(list.GetShortName(2), "chart.fml");
    EXPECT_EQ(list.GetShortName(3), "plain.fml");
    list.Delete(1);
    EXPECT_EQ(list.Get(1), "D:chart.fml");
    try {
        list.Get(3);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_EQ(list.GetCount(), 3);

    TListOpenedFiles copy;
    copy.Add("x");
    copy.Assign(list);
    EXPECT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.Get(2), "plain.fml");
}

TEST(TextHelpers, ShrinkRectDoesNotNormalise) {
    EXPECT_EQ(ShrinkRect(Rect(0, 0, 100, 40), 3), Rect(3, 3, 97, 37));
    EXPECT_EQ(ShrinkRect(Rect(0, 0, 10, 10), 8), Rect(8, 8, 2, 2));
}

TEST(TextHelpers, ReplaceAllNeverRescansInsertedText) {
    EXPECT_EQ(ReplaceAll("a\r\n\r\nb", "\r\n", " "), "a  b");
    EXPECT_EQ(ReplaceAll("xyz", "x", "--"), "--yz");
    EXPECT_EQ(ReplaceAll("ab\n", "\n", " "), "ab ");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("Aa", "a", "b"), "Ab");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(TextHelpers, CollapseRepeatsKeepsOneOfEachRun) {
    EXPECT_EQ(CollapseRepeats("  a   b ", " "), " a b ");
    EXPECT_EQ(CollapseRepeats("ababXab", "ab"), "abXab");
    EXPECT_EQ(CollapseRepeats("aaaaa", "aa"), "aaa");
    EXPECT_EQ(CollapseRepeats("abc", ""), "abc");
}
