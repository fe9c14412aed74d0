// Field splitting, escaping, the pointer array, the list decoder and wide narrowing.
#include "services/str/str.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fieldsOf(std::string& text, char sep, int max = 0, int flags = 0) {
    MyPCharArray fields;
    const int n = STR::Separe(text.data(), sep, fields, max, flags);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(fields[i]);
    EXPECT_EQ(fields[n], nullptr);
    return out;
}

using Fields = std::vector<std::string>;

TEST(StrSepare, SplitsAndTrimsAroundTheSeparator) {
    std::string text = "a ; b;c";
    EXPECT_EQ(fieldsOf(text, ';'), (Fields{"a", "b", "c"}));
    text = "'comment;x";
    EXPECT_EQ(fieldsOf(text, ';'), Fields{});
    text = "  x;;y; ";
    EXPECT_EQ(fieldsOf(text, ';'), (Fields{"x", "", "y"}));
    text = "a;b\r\nc;d";
    EXPECT_EQ(fieldsOf(text, ';'), (Fields{"a", "b"}));
    text = "a b\x1A"
           "c";
    EXPECT_EQ(fieldsOf(text, ' '), (Fields{"a", "b"}));
}

TEST(StrSepare, NamesCarryTheirSemicolonAsGuillemet) {
    std::string text = "x\xBBy;z";
    EXPECT_EQ(fieldsOf(text, ';'), (Fields{"x;y", "z"}));
    text = "x\xBBy,z";
    EXPECT_EQ(fieldsOf(text, ','), (Fields{"x\xBBy", "z"}));
}

TEST(StrSepare, LimitsAndQuotes) {
    std::string text = "a;b;c;d";
    EXPECT_EQ(fieldsOf(text, ';', 2), (Fields{"a", "b"}));
    text = "\"a;b\";c";
    EXPECT_EQ(fieldsOf(text, ';', 0, 1), (Fields{"\"a;b\"", "c"}));
    text = "\"a;\\\"b\";c";
    EXPECT_EQ(fieldsOf(text, ';', 0, 1 | 2), (Fields{"a;\\\"b", "c"}));
    text = "\"a;b\";c";
    EXPECT_EQ(fieldsOf(text, ';'), (Fields{"\"a", "b\"", "c"}));
}

TEST(StrSepare, AppendsWithFlag4) {
    MyPCharArray fields;
    std::string first = "a;b", second = "c";
    STR::Separe(first.data(), ';', fields, 0, 0);
    EXPECT_EQ(STR::Separe(second.data(), ';', fields, 0, 4), 3);
    EXPECT_STREQ(fields[2], "c");
    EXPECT_EQ(STR::Separe(second.data(), ';', fields, 0, 0), 1);
}

TEST(MyPCharArrayTest, GrowsAndKeepsANullAfterTheLast) {
    MyPCharArray array;
    char a[] = "Alpha", b[] = "beta";
    EXPECT_EQ(array.Add(a), 0);
    EXPECT_EQ(array.capacity, 101);
    array.SetAt(150, b);
    EXPECT_EQ(array.count, 151);
    EXPECT_EQ(array.capacity, 251);
    EXPECT_EQ(array[149], nullptr);
    EXPECT_EQ(array.items[151], nullptr);
    EXPECT_EQ(array.Find("beta"), 150);
    EXPECT_EQ(array.Find("ALPHA"), -1);
    EXPECT_EQ(array.FindNoCase("ALPHA"), 0);
    array.SetSize(1);
    EXPECT_EQ(array[150], nullptr);
    EXPECT_EQ(array.items[150], nullptr);
    EXPECT_EQ(array.Find("beta"), -1);
}

TEST(StrPacking, EscapesAndRestoresSpecialCharacters) {
    const char* pairs = ";s,c";
    char text[32] = ";a;b,\\;";
    EXPECT_EQ(STR::Chr_special_packe(text, pairs, 1, sizeof text), 4);
    EXPECT_STREQ(text, "\\sa\\sb\\c\\s");
    EXPECT_EQ(STR::Chr_special_depacke(text, pairs, 1), 4);
    EXPECT_STREQ(text, ";a;b,;");

    char kept[16] = "x\\;y";
    EXPECT_EQ(STR::Chr_special_packe(kept, pairs, 0), 1);
    EXPECT_STREQ(kept, "x\\sy");
    EXPECT_EQ(STR::Chr_special_depacke(kept, pairs, 0), 1);
    EXPECT_STREQ(kept, "x\\;y");

    char tight[6] = "a;b;";
    EXPECT_EQ(STR::Chr_special_packe(tight, pairs, 1, sizeof tight), 1);
    EXPECT_STREQ(tight, "a\\sb;");
}

class StrDecode : public ::testing::Test {
protected:
    void TearDown() override { STR::Reset(); }
    static std::vector<short> values(const short* list) {
        std::vector<short> out;
        for (; list && *list != -10; ++list)
            out.push_back(*list);
        return out;
    }
};

TEST_F(StrDecode, KeepsListsInSlots) {
    char text[] = "1,2,*";
    short* list = STR::Decode(text);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(values(list), (std::vector<short>{1, 2, -9}));
    EXPECT_EQ(list[3], -10);
    char again[] = "r0";
    EXPECT_EQ(STR::Decode(again), list);

    char other[] = "s5 -7|+8";
    short* fifth = STR::Decode(other);
    EXPECT_EQ(values(fifth), (std::vector<short>{-7, 8}));
    char fetch[] = "R5";
    EXPECT_EQ(STR::Decode(fetch), fifth);
    char erase[] = "E5";
    EXPECT_EQ(STR::Decode(erase), nullptr);
    EXPECT_EQ(STR::Decode(fetch), nullptr);
    char eraseAll[] = "E";
    STR::Decode(eraseAll);
    EXPECT_EQ(STR::Decode(again), nullptr);
}

TEST_F(StrDecode, Slot22BelongsToTheCaller) {
    char text[] = "S22,4";
    short* list = STR::Decode(text);
    EXPECT_EQ(values(list), std::vector<short>{4});
    char slot0[] = "R0";
    EXPECT_EQ(STR::Decode(slot0), nullptr);
    std::free(list);
}

TEST_F(StrDecode, RefusesBadTokens) {
    for (const char* bad : {"1,x", "S23,1", "R22", "70000", "**"}) {
        std::string text = bad;
        EXPECT_EQ(STR::Decode(text.data()), nullptr) << bad;
    }
    char empty[] = " , ";
    EXPECT_EQ(STR::Decode(empty), nullptr);
}

TEST(StrWide, NarrowsUnitsOrCopiesNarrowText) {
    EXPECT_STREQ(STR::WideToChar(L"caf\u00E9"), "caf\xE9");
    // 8-bit text handed over as wide text is copied as it stands.
    const char narrow[] = "deja 8 bits";
    EXPECT_STREQ(STR::WideToChar(reinterpret_cast<const wchar_t*>(narrow)), narrow);
    EXPECT_EQ(STR::WideToChar(nullptr), nullptr);

    char out[16];
    EXPECT_STREQ(WideToMb(static_cast<const wchar_t*>(L"abc"), out), "abc");
    std::wstring inPlace = L"xyz";
    EXPECT_STREQ(WideToMb(inPlace.data()), "xyz");
    alignas(wchar_t) char eight[16] = "ABCDEFG";
    EXPECT_STREQ(WideToMb(reinterpret_cast<const wchar_t*>(eight), out), "ABCDEFG");
}

} // namespace
