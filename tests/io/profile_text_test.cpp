#include "io/profile_text.h"

#include <gtest/gtest.h>

namespace ai {
namespace {

TEST(ProfileText, FindsValuesBySectionAndKeyWhateverTheCaseBlanksAndLineEnds)
{
    const ProfileText crlf("[init]\r\nnode=3\r\nmesh=1\r\n[freenodelist]\r\nnodex1=12,5\r\n");
    EXPECT_EQ(crlf.value("init", "node"), "3");
    EXPECT_EQ(crlf.value("init", "mesh"), "1");
    EXPECT_EQ(crlf.value("freenodelist", "nodex1"), "12,5");

    // Hand-written: LF only, upper case, blanks and tabs around names and values,
    // no line end after the last line.
    const ProfileText hand("  [ INIT ]  \n\tNode = 3 \nMESH\t=\t1\n[FreeNodeList]\nNODEX1 =  12,5");
    EXPECT_EQ(hand.value("init", "node"), "3");
    EXPECT_EQ(hand.value("Init", "MESH"), "1");
    EXPECT_EQ(hand.value("freenodelist", "nodex1"), "12,5");

    // The same key in another section is another value.
    EXPECT_FALSE(crlf.value("loadnodelist", "nodex1").has_value());
    EXPECT_FALSE(crlf.value("init", "nodex1").has_value());
    EXPECT_FALSE(crlf.value("nosection", "node").has_value());
}

TEST(ProfileText, KeepsTheFirstOfARepeatedKeyAndSkipsWhatIsNotAKeyValueLine)
{
    const ProfileText text("node=9\n"               // before any section: skipped
                           "[init]\n"
                           "; a comment\n"
                           "garbage line\n"
                           "=5\n"                   // no name
                           "[broken\n"              // no closing bracket: not a header
                           "node=3\n"
                           "NODE=4\n"
                           "mesh=\n"
                           "formula=a=b\n"
                           "[other]\n"
                           "node=7\n"
                           "[init]\n"               // a repeated section continues the first
                           "mesh=8\n"
                           "extra=1\n");
    EXPECT_EQ(text.value("init", "node"), "3");
    EXPECT_EQ(text.value("init", "mesh"), "") << "present but empty is not absent";
    EXPECT_EQ(text.value("init", "formula"), "a=b");
    EXPECT_EQ(text.value("init", "extra"), "1");
    EXPECT_EQ(text.value("other", "node"), "7");
    EXPECT_FALSE(text.value("init", "").has_value());
    EXPECT_FALSE(text.value("init", "; a comment").has_value());
}

} // namespace
} // namespace ai
