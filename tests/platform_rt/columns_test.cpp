#include <gtest/gtest.h>

#include <string>

#include "platform/rt/array.h"
#include "platform/rt/columns.h"
#include "platform/rt/error.h"
#include "platform/rt/text.h"

namespace {

TEST(ColumnWriter, TabPadsOrMovesToNextLine) {
    rt::ColumnWriter w;
    w.tab(5).text("ab").tab(10).text("c");
    EXPECT_EQ(w.currentLine(), "    ab   c");
    w.tab(11).text("d");  // exactly at column 11: same line
    EXPECT_EQ(w.currentLine(), "    ab   cd");
    w.tab(3).text("x");  // line reaches past column 3: next line
    ASSERT_EQ(w.lines().size(), 1u);
    EXPECT_EQ(w.lines()[0], "    ab   cd");
    EXPECT_EQ(w.currentLine(), "  x");
    w.tab(3).text("y");  // column 3 is taken: another line
    EXPECT_EQ(w.lines().size(), 2u);
    EXPECT_EQ(w.currentLine(), "  y");
    w.endLine().endLine();
    EXPECT_EQ(w.lines().size(), 4u);
    EXPECT_EQ(w.lines()[3], "");
    w.tab(0).text("z").tab(-5).text("w");
    EXPECT_EQ(w.currentLine(), "w");
    EXPECT_EQ(w.lines().back(), "z");
    auto taken = w.takeLines();
    EXPECT_EQ(taken.size(), 5u);
    EXPECT_TRUE(w.lines().empty());
}

TEST(ColumnWriter, ValueReachingNextColumnPushesItToNewLine) {
    rt::ColumnWriter w;
    w.tab(1).text("123456789").tab(10).text("x").endLine();
    w.tab(1).text("1234567890").tab(10).text("x").endLine();
    ASSERT_EQ(w.lines().size(), 3u);
    EXPECT_EQ(w.lines()[0], "123456789x");
    EXPECT_EQ(w.lines()[1], "1234567890");
    EXPECT_EQ(w.lines()[2], "         x");
}

TEST(ColumnWriter, NumberItems) {
    rt::ColumnWriter w;
    w.number(5).number(-2.5).text("end").tab(20).number(12.5f).endLine();
    EXPECT_EQ(w.lines()[0], " 5 -2.5 end" + std::string(8, ' ') + " 12.5 ");
}

TEST(Text, TrimCaseAndSlices) {
    EXPECT_EQ(rt::trim("  a b  "), "a b");
    EXPECT_EQ(rt::ltrim("  a "), "a ");
    EXPECT_EQ(rt::rtrim("  a "), "  a");
    EXPECT_EQ(rt::trim("\tx\t"), "\tx\t");  // blanks only
    EXPECT_EQ(rt::trim("    "), "");
    EXPECT_EQ(rt::ucase("abc Z1"), "ABC Z1");
    EXPECT_EQ(rt::lcase("ABC z1"), "abc z1");
    EXPECT_EQ(rt::left("abcdef", 2), "ab");
    EXPECT_EQ(rt::left("ab", 10), "ab");
    EXPECT_EQ(rt::right("abcdef", 2), "ef");
    EXPECT_EQ(rt::right("ab", 10), "ab");
    EXPECT_EQ(rt::mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(rt::mid("abcdef", 5), "ef");
    EXPECT_EQ(rt::mid("abc", 9), "");
    EXPECT_THROW(rt::mid("abc", 0), rt::Error);
    EXPECT_THROW(rt::left("abc", -1), rt::Error);
}

// A path too long for its room loses the middle of its folders; the name
// and the separator before it stay whole, whichever separator it uses.
TEST(Text, AShortenedPathKeepsItsNameWholeAndLosesItsFoldersMiddle) {
    EXPECT_EQ(rt::shortenedPath("/a/b/demo.flw", 13), "/a/b/demo.flw");
    EXPECT_EQ(rt::shortenedPath("/abcdefgh/ijklmnop/demo.flw", 20), "/abc...mnop/demo.flw");
    EXPECT_EQ(rt::shortenedPath("C:\\abcdefgh\\ijklmnop\\demo.flw", 20), "C:\\a...mnop\\demo.flw");
    EXPECT_EQ(rt::shortenedPath("/abcdefgh/ijklmnop/demo.flw", 20).size(), 20u);
    EXPECT_EQ(rt::shortenedPath("abcdefgh/name.flw", 14), "a...h/name.flw");
    EXPECT_EQ(rt::shortenedPath("abcdefgh/name.flw", 13), "a.../name.flw");
    EXPECT_EQ(rt::shortenedPath("abcdefgh/name.flw", 12), ".../name.flw");
    // No separator, or a name that leaves no room for "..." beside it.
    EXPECT_EQ(rt::shortenedPath("abcdefghijklmnop", 9), "abc...nop");
    EXPECT_EQ(rt::shortenedPath("abcdefgh/name.flw", 11), "abcd....flw");
    EXPECT_EQ(rt::shortenedPath("/name.flw", 6), "/n...w");
    EXPECT_EQ(rt::shortenedPath("abcdef", 3), "abc");
    EXPECT_EQ(rt::shortenedPath("abcdef", 0), "");
}

// A line around a path keeps to its room: the texts before and after stay
// whole, a path too long for what they leave loses its padding, then the
// middle of its folders; without room left beside them the path goes.
TEST(Text, ALineWithAPathKeepsToItsRoomAndItsTextsWhole) {
    EXPECT_EQ(rt::lineWithPath("** ", "/abcdefgh/ijklmnop/demo.flw", " **", 33), "** /abcdefgh/ijklmnop/demo.flw **");
    EXPECT_EQ(rt::lineWithPath("** ", "/abcdefgh/ijklmnop/demo.flw", " **", 26), "** /abc...mnop/demo.flw **");
    EXPECT_EQ(rt::lineWithPath("F: ", "/a/demo.flw    ", "", 18), "F: /a/demo.flw    ");
    EXPECT_EQ(rt::lineWithPath("F: ", "/a/demo.flw    ", "", 17), "F: /a/demo.flw");
    EXPECT_EQ(rt::lineWithPath("F: ", "/abcdefgh/ijklmnop/demo.flw   ", "", 23), "F: /abc...mnop/demo.flw");
    EXPECT_EQ(rt::lineWithPath("File : ", "/a/demo.flw", " **", 8), "File :  **");
}

TEST(Array, BoundsRedimAndPreserve) {
    rt::Array<int> a;
    EXPECT_FALSE(a.dimensioned());
    EXPECT_THROW(a.ubound(), rt::Error);
    EXPECT_THROW(a[0], rt::Error);
    a.redim(1, 3);
    EXPECT_EQ(a.lbound(), 1);
    EXPECT_EQ(a.ubound(), 3);
    a[1] = 10;
    a[3] = 30;
    EXPECT_THROW(a[0], rt::Error);
    EXPECT_THROW(a[4], rt::Error);
    a.redimPreserve(5);
    EXPECT_EQ(a[1], 10);
    EXPECT_EQ(a[3], 30);
    EXPECT_EQ(a[5], 0);
    a.redimPreserve(2);
    EXPECT_EQ(a.ubound(), 2);
    EXPECT_EQ(a[1], 10);
    try {
        a.redimPreserve(0, 4);
        FAIL();
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::kSubscriptOutOfRange);
    }
    a.redim(0, 1);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 0);
    a.redim(0, -1);  // dimensioned, empty
    EXPECT_EQ(a.ubound(), -1);
    EXPECT_EQ(a.size(), 0u);
    EXPECT_THROW(a.redim(5, 2), rt::Error);
    EXPECT_THROW(a.redim(-2147483647L, 2147483647L), rt::Error);
    a.erase();
    EXPECT_THROW(a.lbound(), rt::Error);
}

}  // namespace
