#include "services/output/output.h"

#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

#include <string>

using services::TextScreen;
using testing_support::RecordingScreens;

namespace {

class OutputRouting : public ::testing::Test {
protected:
    void SetUp() override { mprintEnabled = 1; }
    void TearDown() override { mprintEnabled = 1; }
    RecordingScreens screens;
};

TEST_F(OutputRouting, PrefixesOpenTheGlobalScreenBringItToTheFrontAndPrintTheRest) {
    EXPECT_EQ(mprintf("$G$$S$Hello"), 1);
    EXPECT_EQ(screens.global.openRequests, 1);
    EXPECT_EQ(screens.global.shows, 1);
    EXPECT_EQ(screens.global.printed, "Hello");
    EXPECT_FALSE(screens.local.open);
}

TEST_F(OutputRouting, TextWithoutPrefixIsDroppedWhileNoScreenIsOpen) {
    EXPECT_EQ(mprintf("Hello"), 0);
    EXPECT_EQ(mprint("Hello", 0), 1); // the unformatted variant answers 1 all the same
    EXPECT_EQ(screens.global.printed, "");
    EXPECT_EQ(screens.local.printed, "");
}

TEST_F(OutputRouting, APrefixAloneOpensTheScreenAndPrintsNothing) {
    EXPECT_EQ(mprintf("$G$"), 1);
    EXPECT_TRUE(screens.global.open);
    EXPECT_EQ(screens.global.printed, "");
}

TEST_F(OutputRouting, TextGoesIntoEveryOpenScreen) {
    mprintf("$L$first ");
    EXPECT_EQ(screens.local.printed, "first ");
    EXPECT_EQ(screens.global.printed, "");
    mprintf("$G$second %d", 2);
    mprintf(" third");
    EXPECT_EQ(screens.global.printed, "second 2 third");
    EXPECT_EQ(screens.local.printed, "first second 2 third");
}

TEST_F(OutputRouting, OnlyLeadingPrefixesRoute) {
    mprintf("$L$a$G$b");
    EXPECT_EQ(screens.local.printed, "a$G$b");
    EXPECT_FALSE(screens.global.open);
}

TEST_F(OutputRouting, DisabledOutputPrintsNothingAndOpensNothing) {
    mprintEnabled = 0;
    EXPECT_EQ(mprintf("$G$x"), 0);
    EXPECT_EQ(mprint("$G$x", 0), 0);
    EXPECT_EQ(mprint(L"$G$x", 0), 0);
    EXPECT_EQ(mprintf(L"$G$x"), 0);
    EXPECT_FALSE(screens.global.open);
}

TEST_F(OutputRouting, LengthLimitsTheUnformattedText) {
    EXPECT_EQ(mprint("$L$abcdef", 5), 1);
    EXPECT_EQ(screens.local.printed, "ab");
}

TEST_F(OutputRouting, NullTextsAreRefusedWithoutHarm) {
    const char* none = nullptr;
    const wchar_t* wideNone = nullptr;
    EXPECT_EQ(mprint(none, 0), 0);
    EXPECT_EQ(mprint(wideNone, 0), 0);
    EXPECT_EQ(mprintf(wideNone), 0);
}

TEST_F(OutputRouting, FormattedTextIsCutAt8191Characters) {
    const std::string longText(9000, 'x');
    EXPECT_EQ(mprintf("$L$%s", longText.c_str()), 1);
    EXPECT_EQ(screens.local.printed.size(), 8191u - 3u);
}

TEST_F(OutputRouting, EmptyFormattedResultPrintsNothing) {
    mprintf("$L$");
    EXPECT_EQ(mprintf("%s", ""), 0);
}

TEST_F(OutputRouting, WideTextIsNarrowedToTheCodePage) {
    EXPECT_EQ(mprint(L"$L$caf\u00e9 \u20ac \u4e2d", 0), 1);
    EXPECT_EQ(screens.local.printed, "caf\xe9 \x80 ?");
}

TEST_F(OutputRouting, WideFormatsKeepTheWindowsMeaningsOfTextConversions) {
    EXPECT_EQ(mprintf(L"$L$%s|%S|%hs|%ls|%c|%C|%5.1f|%I64d", L"wide", "narrow", "short", L"long", L'w', 'n',
                      2.25, static_cast<long long>(1) << 40),
              1);
    EXPECT_EQ(screens.local.printed, "wide|narrow|short|long|w|n|  2.2|1099511627776");
}

TEST_F(OutputRouting, NarrowArgumentsOfWideFormatsKeepTheirAccents) {
    EXPECT_EQ(mprintf(L"$G$[%S|%d]\n", "caf\xE9", 2), 1);
    EXPECT_EQ(screens.global.printed, "[caf\xE9|2]\n");
    EXPECT_EQ(mprintf(L"$L$%hs|%-6S|%.4S|%*hs|%C|%hc|%ls\n", "\x80uro", "\xE0 la", "\xE7\xE0 et l\xE0", 5,
                      "\xFF", '\xE9', '\x9C', L"\u00e9t\u00e9"),
              1);
    EXPECT_EQ(screens.local.printed, "\x80uro|\xE0 la  |\xE7\xE0 e|    \xFF|\xE9|\x9C|\xE9t\xE9\n");
}

TEST_F(OutputRouting, WideFormatsTakeEveryArgumentSize) {
    EXPECT_EQ(mprintf(L"$L$%hd|%ld|%lld|%Iu|%zu|%I32d|%Lg|%p|%5.2f%%|%q", static_cast<short>(-3), -4L, -5LL,
                      std::size_t{6}, std::size_t{7}, 8, 9.5L, nullptr, 1.125),
              1);
    EXPECT_EQ(screens.local.printed, "-3|-4|-5|6|7|8|9.5|(nil)| 1.12%|%q");
}

TEST_F(OutputRouting, WideFormattedTextIsCutAt4095Characters) {
    const std::wstring longText(5000, L'y');
    EXPECT_EQ(mprintf(L"$L$%s", longText.c_str()), 1);
    EXPECT_EQ(screens.local.printed.size(), 4095u - 3u);
}

TEST_F(OutputRouting, WideTextWithoutPrefixNeedsAnOpenScreen) {
    EXPECT_EQ(mprint(L"hello", 0), 0);
    EXPECT_EQ(mprintf(L"hello"), 0);
    mprintf("$G$");
    EXPECT_EQ(mprint(L"hello", 0), 1);
    EXPECT_EQ(screens.global.printed, "hello");
}

TEST_F(OutputRouting, FindingAScreenSwitchesOutputBackOnOnlyFromZero) {
    mprintf("$G$");
    mprintEnabled = 0;
    mprintf("ignored"); // disabled: the screens are not even looked at
    EXPECT_EQ(mprintEnabled, 0);
    EXPECT_EQ(mprint(L"ignored", 0), 0);
    mprintEnabled = -1;
    EXPECT_EQ(mprintf("$G$ignored"), 0);
    EXPECT_EQ(mprintEnabled, -1);
    EXPECT_EQ(screens.global.printed, "");
}

TEST_F(OutputRouting, ClearAndShowReachTheOpenScreensOnly) {
    EXPECT_EQ(mcls(), 1);
    EXPECT_EQ(mshow(1), 0);
    EXPECT_EQ(screens.global.clears + screens.local.clears, 0);
    mprintf("$G$");
    EXPECT_EQ(mshow(1), 1);
    EXPECT_EQ(mcls(), 1);
    EXPECT_EQ(screens.global.clears, 1);
    EXPECT_EQ(screens.local.clears, 0);
}

TEST(ConsoleScreens, ShowTheOpenScreensOnStandardOutputInUtf8) {
    services::resetConsoleScreens();
    testing::internal::CaptureStdout();
    mprintf("not shown\n");
    mprintf("$L$caf\xe9 %d\n", 1);
    mprintf("again\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "caf\xc3\xa9 1\nagain\n");
    services::resetConsoleScreens();
}

} // namespace
