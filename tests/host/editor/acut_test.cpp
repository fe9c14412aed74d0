// The command line's printing: whatever a module prints reaches the transcript, however long it is or
// whatever it holds.
#include "host/editor/acut.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CommandLinePrinting : public ::testing::Test {
protected:
    void SetUp() override { host::clearCommandLineTranscript(); }
    void TearDown() override { host::clearCommandLineTranscript(); }
};

TEST_F(CommandLinePrinting, WideAndNarrowArgumentsTakeTheHostsConventions) {
    EXPECT_EQ(acutPrintf(L"%s|%S|%d\n", L"wide", "narrow", 7), 14);
    EXPECT_EQ(host::commandLineTranscript(), L"wide|narrow|7\n");
}

TEST_F(CommandLinePrinting, AMessageOfMillionsOfCharactersIsPrintedWhole) {
    const std::wstring huge(5'000'000, L'x');
    EXPECT_EQ(acutPrintf(L"<%s>", huge.c_str()), 5'000'002);
    EXPECT_EQ(host::commandLineTranscript().size(), 5'000'002u);
    EXPECT_EQ(host::commandLineTranscript().back(), L'>');
}

TEST_F(CommandLinePrinting, AMessageTooLongIsCutWithANoteRatherThanLost) {
    const std::wstring huge(20'000'000, L'y');
    const int printed = acutPrintf(L"%s", huge.c_str());
    const std::wstring& text = host::commandLineTranscript();
    EXPECT_EQ(printed, static_cast<int>(text.size()));
    EXPECT_GT(text.size(), 16'000'000u);
    EXPECT_LT(text.size(), huge.size());
    EXPECT_NE(text.find(L"[message cut at "), std::wstring::npos);
}

TEST_F(CommandLinePrinting, ACharacterTheCLibraryCannotConvertCutsTheMessageWithANote) {
    // A narrow 8-bit argument that the C locale cannot widen.
    acutPrintf(L"avant %S apr\u00e8s\n", "caf\xe9");
    const std::wstring& text = host::commandLineTranscript();
    EXPECT_EQ(text.rfind(L"avant ", 0), 0u) << "what came before the argument is kept";
    EXPECT_NE(text.find(L"[message cut: a character cannot be shown]"), std::wstring::npos);
}

} // namespace
