// Narrowing the host's wide texts in their own buffer, whichever kind of text the buffer holds.
#include <gtest/gtest.h>

#include <cstring>

#include "cadutil/resbuf/text_convert.h"

namespace {

TEST(WideToStrInPlace, AWideTextIsNarrowedToItsLowBytes) {
    ACHAR text[] = {L'A', L'B', 0xE9, L'C', 0};
    EXPECT_STREQ(wideToStrInPlace(text), "AB\xE9"
                                         "C");
}

TEST(WideToStrInPlace, AnEightBitTextIsLeftAlone) {
    // The buffer is wide enough to be read as wide units, so a wrong guess would narrow it to "AE".
    alignas(ACHAR) char text[4 * sizeof(ACHAR)] = "ABCDEFGH";
    EXPECT_STREQ(wideToStrInPlace(reinterpret_cast<ACHAR*>(text)), "ABCDEFGH");
}

TEST(WideToStrInPlace, AnEmptyWideTextStaysEmpty) {
    ACHAR text[] = {0, L'X'};
    EXPECT_STREQ(wideToStrInPlace(text), "");
}

} // namespace
