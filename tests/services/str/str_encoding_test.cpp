// Numbers, hexadecimal, URI encoding, dates, durations and patterns.
#include "services/str/str.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

TEST(StrNumbers, IntegerText) {
    std::string text = "- 42  ";
    EXPECT_EQ(STR::Entier(text.data()), 1);
    EXPECT_EQ(text, std::string("- 42\0\0", 6));
    text = "+";
    EXPECT_EQ(STR::Entier(text.data()), 1);
    text = " 42";
    EXPECT_EQ(STR::Entier(text.data()), 0);
    text = "4.2";
    EXPECT_EQ(STR::Entier(text.data()), 0);
    EXPECT_EQ(STR::Entier(nullptr), 0);
}

TEST(StrNumbers, NumericRuns) {
    EXPECT_EQ(STR::Num("12.5abc", 0), 4);
    EXPECT_EQ(STR::Num("-12+3", 0), 3);
    EXPECT_EQ(STR::Num("-", 0), 0);
    EXPECT_EQ(STR::Num(".", 1), 0);
    EXPECT_EQ(STR::Num("7", 0), 1);
    EXPECT_EQ(STR::Num("abc-", -1), 0);
    EXPECT_EQ(STR::Num("x1-23", -1), 3);
    EXPECT_EQ(STR::Num("abc12.5", -1), 4);
    EXPECT_EQ(STR::Num(L"-3.5m", 0), 4);
    EXPECT_EQ(STR::Num(static_cast<const char*>(nullptr), 0), 0);
}

TEST(StrHex, BytesToTextAndBack) {
    const unsigned char bytes[] = {0x01, 0xAB};
    char text[16];
    EXPECT_EQ(STR::HexFromBin(bytes, 2, text, ':'), 2);
    EXPECT_STREQ(text, "01:AB");
    EXPECT_EQ(STR::HexFromBin(bytes, 0, text, ':'), 0);
    EXPECT_STREQ(text, "");
    EXPECT_STREQ(STR::HexFromBin(bytes, 2), "01AB");
    // "01:AB" needs six bytes.
    EXPECT_EQ(STR::HexFromBin(bytes, 2, text, 5, ':'), 0);
    EXPECT_EQ(STR::HexFromBin(bytes, 2, text, 6, ':'), 2);

    unsigned char back[8] = {};
    EXPECT_EQ(STR::BinFromHex("01ab", back), 2);
    EXPECT_EQ(back[0], 0x01);
    EXPECT_EQ(back[1], 0xAB);
    EXPECT_EQ(STR::BinFromHex("1:ab-f", back), 3);
    EXPECT_EQ(back[0], 0x01);
    EXPECT_EQ(back[2], 0x0F);
    EXPECT_EQ(STR::BinFromHex("0102030405", back, 2), 2);
}

TEST(StrUri, EncodesEverythingButLettersAndDigits) {
    EXPECT_STREQ(STR::UriEncode("a-b.c_d~e f\xE9"), "a%2Db%2Ec%5Fd%7Ee%20f%E9");
    EXPECT_STREQ(STR::UriEncode(""), "");
}

TEST(StrUri, DecodeRoundTripsEveryByte) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    std::string encoded = STR::UriEncode(all.c_str());
    EXPECT_EQ(std::string(STR::UriDecode(encoded.data())), all);
}

TEST(StrUri, DecodesReferencesAndLeavesBrokenEscapes) {
    std::string text = "caf&#xC3;&#xA9; &#x41;%41%G1&#xZZ;ab";
    EXPECT_EQ(std::string(STR::UriDecode(text.data())), "caf\xE9"
                                                        " AA%G1&#xZZ;ab");
    // An escape in the last two characters is copied as it stands.
    text = "ab%4";
    EXPECT_EQ(std::string(STR::UriDecode(text.data())), "ab%4");
    text = "%41";
    EXPECT_EQ(std::string(STR::UriDecode(text.data())), "A");
}

TEST(StrDate, ReadsFromTheEndWithPeriodDefaults) {
    long long when = 0;
    EXPECT_STREQ(STR::StrDate("2/2021", 1, &when), "28/02/2021");
    EXPECT_STREQ(STR::StrDate("2/2024", 1, nullptr), "29/02/2024");
    EXPECT_STREQ(STR::StrDate("2/2021", 0, nullptr), "01/02/2021");
    EXPECT_STREQ(STR::StrDate("2021", 1, nullptr), "31/12/2021");
    EXPECT_STREQ(STR::StrDate("le 31/4/21", 0, nullptr), "30/04/2021");
    EXPECT_STREQ(STR::StrDate("1/1/99", 0, &when), "01/01/1999");
    std::tm expected{};
    expected.tm_mday = 1;
    expected.tm_year = 99;
    expected.tm_isdst = -1;
    EXPECT_EQ(when, static_cast<long long>(std::mktime(&expected)));
}

TEST(StrDate, RefusesWhatIsNoDate) {
    EXPECT_STREQ(STR::StrDate("", 0, nullptr), "");
    EXPECT_STREQ(STR::StrDate(nullptr, 0, nullptr), "");
    EXPECT_STREQ(STR::StrDate("1/13/2021", 0, nullptr), "");
    EXPECT_STREQ(STR::StrDate("0/1/2021", 0, nullptr), "");
    EXPECT_STREQ(STR::StrDate("hier", 0, nullptr), "");
    EXPECT_STREQ(STR::StrDate("1/1/99999999999", 0, nullptr), "");
}

TEST(StrDate, StarMeansNow) {
    long long when = 0;
    const std::string today = STR::StrDate("*", 0, &when);
    const std::time_t now = std::time(nullptr);
    EXPECT_LE(now - when, 5);
    std::tm local{};
    const std::time_t stamp = when;
    localtime_r(&stamp, &local);
    char expected[16];
    std::strftime(expected, sizeof expected, "%d/%m/%Y", &local);
    EXPECT_EQ(today, expected);
}

TEST(StrTimeSpace, HoursMinutesSeconds) {
    EXPECT_STREQ(STR::TimeSpace(3725), "1h 2m 5sec");
    EXPECT_STREQ(STR::TimeSpace(59), "59sec");
    EXPECT_STREQ(STR::TimeSpace(3600), "1h 0sec");
    EXPECT_STREQ(STR::TimeSpace(120), "2m 0sec");
}

TEST(StrPattern, AlternativesWildcardsAndInversion) {
    EXPECT_EQ(STR::Teste_ASCII("ZORTAPOLY", "TAVROPOLY,ZORTAPOLY"), 1);
    EXPECT_EQ(STR::Teste_ASCII("ZORTA", "ZOR*"), 1);
    EXPECT_EQ(STR::Teste_ASCII("ZORTA", "Z?RTA"), 1);
    EXPECT_EQ(STR::Teste_ASCII("ZORTA", "Z?RT"), 0);
    EXPECT_EQ(STR::Teste_ASCII("ZORTA", "~TAV*"), 1);
    EXPECT_EQ(STR::Teste_ASCII("TAVRO", "~TAV*"), 0);
    EXPECT_EQ(STR::Teste_ASCII("anything", ""), 1);
    EXPECT_EQ(STR::Teste_ASCII(nullptr, nullptr), 1);
    EXPECT_EQ(STR::Teste_ASCII("", "*"), 0);
    EXPECT_EQ(STR::Teste_ASCII("a;b", "a#b;x#x", ";%!#"), 1);
}

} // namespace
