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

TEST(CodePage1252, Utf8TextComesBackToTheCodePage) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToCp1252("\xe4\xb8\xad|\xf0\x9f\x98\x80|"), "?|?|") << "no place in the code page";
    EXPECT_EQ(utf8ToCp1252("a\xc3"), "a?") << "cut sequence";
    EXPECT_EQ(utf8ToCp1252("\xa9z\xc3(\xff"), "?z?(?") << "stray and invalid bytes";
}

TEST(CodePage1252, OverlongSurrogateAndOutOfRangeFormsAreMalformed) {
    EXPECT_EQ(utf8ToCp1252("\xc0\xaf|\xe0\x80\xaf|\xf0\x80\x80\xaf"), "??|???|????") << "overlong '/'";
    EXPECT_EQ(utf8ToCp1252("\xc0\xae\xc0\xae\xc0\xaf"), "??????") << "no climbing out of a folder";
    EXPECT_EQ(utf8ToCp1252(std::string_view("\xc0\x80z", 3)), "??z") << "no hidden NUL";
    EXPECT_EQ(utf8ToCp1252("\xed\xa0\x80|\xf4\x90\x80\x80"), "???|????") << "a surrogate, beyond U+10FFFF";
    EXPECT_EQ(utf8ToCp1252("\xc2\x81\xe0\xa0\x80\xef\xbf\xbd\xf4\x8f\xbf\xbf"), "\x81???")
        << "the shortest forms at each length's bounds are characters";
}

TEST(CodePage1252, Oem850LettersKeepTheirMeaning) {
    EXPECT_EQ(oem850ToCp1252("caf\x82 \x85 \x87\x90\x9c\xe1 plain"), "caf\xe9 \xe0 \xe7\xc9\xa3\xdf plain");
    EXPECT_EQ(oem850ToCp1252("\x9f\xd5\xb3\xff"), "\x83??\xa0")
        << "florin, dotless i, a line, no-break space";
}

} // namespace
