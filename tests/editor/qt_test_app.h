#pragma once
// One QApplication for a test executable (offscreen), and message boxes answered by script.
#include "platform/ui/message_box.h"

#include <QApplication>

#include <deque>
#include <string>
#include <vector>

namespace testing_support {

inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "zortapad_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// Answers each box with the next scripted answer (cancel once they run out) and keeps its text.
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::deque<int> answers = {}) : answers_(std::move(answers)) {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            texts.push_back(request.text);
            types.push_back(request.type);
            if (answers_.empty()) return platform::IDCANCEL;
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~ScriptedBoxes() { platform::setMessageBoxHandler({}); }

    std::vector<std::string> texts;
    std::vector<unsigned> types;

private:
    std::deque<int> answers_;
};

} // namespace testing_support
