#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace platform;

class DefaultAnswer : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("ZORTA_MESSAGEBOX_ANSWER"); }
};

TEST_F(DefaultAnswer, IsTheDefaultButtonOfTheBox) {
    EXPECT_EQ(defaultMessageBoxAnswer(MB_OK), IDOK);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_OK | MB_DEFBUTTON3), IDOK); // no third button
}

TEST_F(DefaultAnswer, ConfiguredButtonIsUsedWhenTheBoxHasIt) {
    setenv("ZORTA_MESSAGEBOX_ANSWER", "No", 1);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_YESNO), IDNO);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_OKCANCEL), IDOK); // no "no" button here
    setenv("ZORTA_MESSAGEBOX_ANSWER", "cancel", 1);
    EXPECT_EQ(defaultMessageBoxAnswer(MB_OKCANCEL), IDCANCEL);
}

TEST_F(DefaultAnswer, DefaultHandlerWritesTheBoxToStandardError) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(0, "Fichier introuvable \xe9", nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Erreur] Fichier introuvable \xc3\xa9 -> ok\n");
}

TEST(MessageBoxHandler, ScriptedHandlerSeesTheBoxAndAnswers) {
    MessageBoxRequest seen;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        seen = box;
        return IDRETRY;
    });
    EXPECT_EQ(messageBox(7, nullptr, "Titre", MB_RETRYCANCEL), IDRETRY);
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(seen.owner, 7u);
    EXPECT_EQ(seen.text, "");
    EXPECT_EQ(seen.caption, "Titre");
    EXPECT_EQ(seen.type, MB_RETRYCANCEL);
}

} // namespace
