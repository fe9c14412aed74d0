#include "platform/base/code_page.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(CodePage1252, EveryByteRoundTripsThroughUnicode) {
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(
            static_cast<unsigned char>(unicodeToCp1252(cp1252ToUnicode(static_cast<unsigned char>(byte)))),
            byte);
}

TEST(CodePage1252, HighControlRowHoldsTheWindowsCharacters) {
    EXPECT_EQ(cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(cp1252ToUnicode(0x9C), U'\u0153');
    EXPECT_EQ(cp1252ToUnicode(0xE9), U'\u00E9');
    EXPECT_EQ(unicodeToCp1252(U'\u2019'), '\x92');
}

TEST(CodePage1252, CharactersWithoutAPlaceBecomeQuestionMarks) {
    EXPECT_EQ(unicodeToCp1252(U'\u4E2D'), '?');
    EXPECT_EQ(unicodeToCp1252(U'\U0001F600'), '?');
    EXPECT_EQ(unicodeToCp1252(U'\u0100'), '?');
}

TEST(CodePage1252, TerminalTextIsUtf8) {
    EXPECT_EQ(cp1252ToUtf8("R\xe9pertoire \x80"), "R\xc3\xa9pertoire \xe2\x82\xac");
    EXPECT_EQ(cp1252ToUtf8(""), "");
}

} // namespace
