// Case tables, code pages, blanks and character operations.
#include "services/str/str.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string through(char* (*member)(char*), std::string text) {
    return member(text.data());
}

TEST(StrCase, FoldsTheFrenchLettersOfTheCodePage) {
    EXPECT_EQ(through(STR::Majuscules, "\xE9"
                                       "cole"),
              "ECOLE");
    EXPECT_EQ(through(STR::Majuscules_ASCII, "\xE9"
                                             "cole"),
              "\xE9"
              "COLE");
    EXPECT_EQ(through(STR::AsciiToUtf8, "\xC9l\xE9phant"), "Elephant");
    EXPECT_EQ(through(STR::Minuscules, "\xC9T\xC9 \xD1"), "ete n");
    EXPECT_EQ(through(STR::Minuscules_ASCII, "ABC\xC9"), "abc\xC9");
    // Ñ has no accent-free upper case in that table; À is left as it stands.
    EXPECT_EQ(through(STR::Majuscules, "\xF1\xC0\xFF"), "\xF1\xC0Y");
    EXPECT_EQ(STR::Majuscules(static_cast<char*>(nullptr)), nullptr);
}

TEST(StrCase, TablesLeaveEveryUnlistedCodeAlone) {
    for (int c = 0; c < 128; ++c) {
        const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
        EXPECT_EQ(STR::Chr_majuscule[c], lower ? c - 32 : c);
        EXPECT_EQ(STR::Chr_minuscule[c], upper ? c + 32 : c);
        EXPECT_EQ(STR::Chr_Utf8[c], c);
    }
    EXPECT_EQ(STR::Chr_Utf8[0xD7], 'O'); // × goes with the O range
    EXPECT_EQ(STR::Chr_Utf8[0xD0], 0xD0);
    EXPECT_EQ(STR::Chr_Utf8[0xB0], 'o');
}

TEST(StrCase, InitTablesRebuildsThem) {
    STR::Chr_majuscule['e'] = '?';
    STR::Init_tables_car();
    EXPECT_EQ(STR::Chr_majuscule['e'], 'E');
}

TEST(StrCase, WideTextKeepsItsHighBits) {
    std::wstring text = L"\u00E9t\u0161";
    STR::Majuscules(text.data());
    EXPECT_EQ(text[0], L'E');
    EXPECT_EQ(text[1], L'T');
    EXPECT_EQ(static_cast<unsigned>(text[2]), 0x141u); // low byte 'a' folded, high part kept
}

TEST(StrCodePage, DosAndWinRoundTripTheFrenchCharacters) {
    std::string text = "\xE0\xE9\xE8\xE7\xF9";
    EXPECT_EQ(STR::Dos(text.data()), 5);
    EXPECT_EQ(text, "\x85\x82\x8A\x87\x97");
    EXPECT_EQ(STR::Win(text.data()), 5);
    EXPECT_EQ(text, "\xE0\xE9\xE8\xE7\xF9");
    EXPECT_EQ(STR::Dos(nullptr), 0);
}

TEST(StrCodePage, EveryByteEitherRoundTripsOrStaysAlone) {
    int converted = 0;
    for (int c = 1; c < 256; ++c) {
        char text[2] = {static_cast<char>(c), 0};
        const int changed = STR::Win_dos(text, 1);
        if (changed) {
            ++converted;
            EXPECT_EQ(STR::Win_dos(text, 0), 1) << c;
        }
        EXPECT_EQ(static_cast<unsigned char>(text[0]), c) << "byte " << c;
    }
    EXPECT_EQ(converted, 21);
}

TEST(StrBlanks, TrimAndReduce) {
    EXPECT_EQ(through(STR::Espace, " \t a  b \t"), "a  b");
    EXPECT_EQ(through(STR::Espace_reduit, "  a \t  b  "), "a b");
    EXPECT_EQ(through(STR::Espace_tous, " a\tb c "), "abc");
    EXPECT_EQ(through(STR::Espace, "   "), "");
    std::string text = "--a--b--";
    EXPECT_EQ(std::string(STR::Chr_reduit(text.data(), '-', 1)), "a--b--");
    text = "\t--a--b--";
    EXPECT_EQ(std::string(STR::Chr_reduit(text.data(), '-', 3 | 4)), "a-b");
    text = "line\r\n\n";
    int found = 0;
    EXPECT_EQ(std::string(STR::CR_LF(text.data(), &found)), "line");
    EXPECT_EQ(found, 1);
    found = 0;
    STR::CR_LF(text.data(), &found);
    EXPECT_EQ(found, 0);
}

TEST(StrChars, SearchAndCount) {
    const char* text = "a/b/c/d";
    EXPECT_EQ(STR::Chr_cherche(text, '/', 0), text + 1);
    EXPECT_EQ(STR::Chr_cherche(text, '/', 1), text + 1);
    EXPECT_EQ(STR::Chr_cherche(text, '/', 3), text + 5);
    EXPECT_EQ(STR::Chr_cherche(text, '/', 4), nullptr);
    EXPECT_EQ(STR::Chr_cherche(text, '/', -1), text + 5);
    EXPECT_EQ(STR::Chr_cherche(text, '/', -3), text + 1);
    char* last = nullptr;
    EXPECT_EQ(STR::Chr_compte(text, '/', 0, &last), 3);
    EXPECT_EQ(last, text + 5);
    EXPECT_EQ(STR::Chr_compte(text, '/', 4, &last), 2);
    EXPECT_EQ(last, text + 3);
    EXPECT_EQ(STR::Chr_compte(text, 'x', 0, &last), 0);
    EXPECT_EQ(last, text);
}

TEST(StrChars, SlashesAndAppending) {
    std::string text = "c:/a\\b/c";
    EXPECT_EQ(STR::C47_92(text.data()), 2);
    EXPECT_EQ(text, "c:\\a\\b\\c");
    EXPECT_EQ(STR::C92_47(text.data()), 3);
    EXPECT_EQ(text, "c:/a/b/c");
    char buffer[8] = "ab";
    EXPECT_EQ(STR::Chr_cat(buffer, 'c'), 3);
    EXPECT_STREQ(buffer, "abc");
}

TEST(StrChars, EraseAndInsertStayInsideTheBuffer) {
    char text[8] = "abcdef";
    EXPECT_EQ(STR::Efface(text, 1, 2, 0), 1);
    EXPECT_STREQ(text, "adef");
    EXPECT_EQ(STR::Efface(text, 2, 0, 0), 1);
    EXPECT_STREQ(text, "adf");
    EXPECT_EQ(STR::Efface(text, 1, 50, 0), 1);
    EXPECT_STREQ(text, "a");
    EXPECT_EQ(STR::Efface(text, 1, 1, 0), 0);

    char small[5] = "abc";
    EXPECT_EQ(STR::Insere(small, 1, 'x', 5), 1);
    EXPECT_STREQ(small, "axbc");
    // Five bytes hold four characters and the terminator: a fifth character is refused.
    EXPECT_EQ(STR::Insere(small, -1, 'y', 5), 0);
    EXPECT_STREQ(small, "axbc");
    char room[8] = "ab";
    EXPECT_EQ(STR::Insere(room, -1, 'c', 8), 2);
    EXPECT_STREQ(room, "abc");
    EXPECT_EQ(STR::Insere(room, 9, 'd', 8), 0);
}

TEST(StrChars, Substitutions) {
    std::string text = "a-b-c";
    EXPECT_EQ(STR::Replace(text.data(), '-', '+'), 2);
    EXPECT_EQ(text, "a+b+c");
    EXPECT_EQ(STR::Replace(text.data(), '+', '\0'), 2);
    EXPECT_EQ(std::string(text.c_str()), "abc");

    char* grown = STR::Replace("one two one", "one", "three", nullptr);
    EXPECT_STREQ(grown, "three two three");
    std::free(grown);
    char out[8];
    EXPECT_EQ(STR::Replace("aXa", "X", "yy", out, sizeof out), out);
    EXPECT_STREQ(out, "ayya");
    EXPECT_EQ(STR::Replace("aXaXaX", "X", "yy", out, sizeof out), nullptr);
    EXPECT_EQ(STR::Replace("abc", "", "z", out, sizeof out), out);
    EXPECT_STREQ(out, "abc");

    text = "a,b;c";
    EXPECT_EQ(STR::Remplace(text.data(), ",.;^"), 2);
    EXPECT_EQ(std::string(text.c_str()), "a.bc");
}

} // namespace
