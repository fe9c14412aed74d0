#include "services/output/message_boxes.h"

#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace platform;

// Records the boxes shown and answers with a fixed button.
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(int answer = IDOK) {
        setMessageBoxHandler([this, answer](const MessageBoxRequest& box) {
            std::lock_guard lock(mutex);
            shown.push_back(box);
            return answer;
        });
    }
    ~ScriptedBoxes() { setMessageBoxHandler(nullptr); }

    std::mutex mutex;
    std::vector<MessageBoxRequest> shown;
};

TEST(MessageBoxCaption, LeadingCharacterChoosesTheIcon) {
    ScriptedBoxes boxes(IDYES);
    EXPECT_EQ(mMessageBox(0, "!Attention", "%d", 5), IDYES);
    EXPECT_EQ(mMessageBox(0, "*Erreur", "e"), IDYES);
    EXPECT_EQ(mMessageBox(0, "?Question", "q"), IDYES);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "5");
    EXPECT_EQ(boxes.shown[0].caption, "Attention");
    EXPECT_EQ(boxes.shown[0].type, MB_ICONWARNING);
    EXPECT_EQ(boxes.shown[1].caption, "Erreur");
    EXPECT_EQ(boxes.shown[1].type, MB_ICONERROR);
    EXPECT_EQ(boxes.shown[2].caption, "Question");
    EXPECT_EQ(boxes.shown[2].type, MB_ICONQUESTION | MB_YESNO);
}

TEST(MessageBoxCaption, AGivenTypeOrAnOrdinaryCaptionIsKept) {
    ScriptedBoxes boxes;
    mMessageBox(MB_OKCANCEL, "!Attention", "x");
    mMessageBox(0, "Titre", "y");
    mMessageBox(0, nullptr, "z");
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].caption, "!Attention");
    EXPECT_EQ(boxes.shown[0].type, MB_OKCANCEL);
    EXPECT_EQ(boxes.shown[1].caption, "Titre");
    EXPECT_EQ(boxes.shown[1].type, 0u);
    EXPECT_EQ(boxes.shown[2].caption, "Erreur");
}

TEST(MessageBoxText, EmptyOrMissingTextShowsNoBoxAndLongTextIsCut) {
    ScriptedBoxes boxes;
    const char* none = nullptr;
    EXPECT_EQ(mMessageBox(0, "c", "%s", ""), 0);
    EXPECT_EQ(mMessageBox(0, "c", none, ""),
              0); // an argument, so that the null format passes the format check
    EXPECT_TRUE(boxes.shown.empty());
    mMessageBox(0, "c", "%s", std::string(3000, 'a').c_str());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.size(), 1023u);
}

TEST(AsyncErrorBox, CallerGoesOnWhileTheBoxIsOpen) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<MessageBoxRequest> seen;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        seen.set_value(box);
        released.wait();
        return IDOK;
    });
    std::string text = "Erreur fatale";
    showAsyncErrorBox(text.data());
    text = "changed after the call"; // the box has its own copy
    const MessageBoxRequest box = seen.get_future().get();
    release.set_value();
    waitForAsyncErrorBoxes();
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(box.text, "Erreur fatale");
    EXPECT_EQ(box.type, MB_SYSTEMMODAL | MB_ICONERROR);
}

TEST(AsyncErrorBox, NullTextShowsNothing) {
    ScriptedBoxes boxes;
    showAsyncErrorBox(nullptr);
    waitForAsyncErrorBoxes();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(AsyncErrorBox, ManyBoxesAreAllShownAndJoined) {
    ScriptedBoxes boxes;
    for (int i = 0; i < 20; ++i) {
        std::string text = "box " + std::to_string(i);
        showAsyncErrorBox(text.data());
    }
    waitForAsyncErrorBoxes();
    EXPECT_EQ(boxes.shown.size(), 20u);
}

TEST(OncePerProcessBox, ShowsTheFirstProblemOnlyUntilReset) {
    ScriptedBoxes boxes;
    OncePerProcessBox missingFile;
    OncePerProcessBox otherProblem;
    EXPECT_TRUE(missingFile.show("Fichier :'a' Non Trouv\xe9"));
    EXPECT_FALSE(missingFile.show("Fichier :'b' Non Trouv\xe9"));
    EXPECT_TRUE(otherProblem.show("autre"));
    resetOncePerProcessBoxes();
    EXPECT_TRUE(missingFile.show("again"));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].caption, boxes.shown[0].text);
    EXPECT_EQ(boxes.shown[0].type, MB_ICONERROR);
}

} // namespace
