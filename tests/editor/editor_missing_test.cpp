// Starting the editor when there is none to start: this test runs from a folder without ZortaPad, with a
// PATH without it either.
#include "platform/ui/message_box.h"
#include "services/startup/shared_records.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EditorLinkWithoutEditor, TheStartFailsClearlyAndFreesTheBusyWord) {
    std::string shown;
    platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
        shown = request.text;
        return platform::IDOK;
    });
    EXPECT_EQ(g_pTpadG->Open(1), 0u);
    EXPECT_EQ(shown.rfind("Impossible de lancer 'ZortaPad.exe /ID=-1,", 0), 0u) << shown;
    EXPECT_EQ(g_pZortaGenSeg->busyWord, 0);
    shown.clear();
    EXPECT_EQ(Tpadl.Text(1), 0u);
    EXPECT_NE(shown.find("/ID=" + std::to_string(getpid()) + ","), std::string::npos) << shown;
    EXPECT_EQ(g_pZortaGenSeg->busyWord, 0);
    platform::setMessageBoxHandler({});
}

} // namespace
