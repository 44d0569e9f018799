#include "platform/base/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, UnmappableAndMalformedUtf8BecomeQuestionMarks) {
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xE2\x82\xAC 5"), "\x80 5"); // euro sign
    EXPECT_EQ(rigel::Windows1252FromUtf8("a\xE4\xB8\xAD"
                                         "b"),
              "a?b");                                               // CJK
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xF0\x9F\x98\x80"), "?"); // emoji
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xC3"), "?");             // cut short
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xC0\xA7x"), "?x");       // overlong
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xA7\xC3\xA5"), "?\xE5"); // stray continuation
    EXPECT_EQ(rigel::Windows1252FromUtf8("\xED\xA0\x80"), "?");     // surrogate
}

} // namespace
