#pragma once
// The one QApplication that a test suite of widgets needs, made when the suite starts and deleted when it
// ends.
#include <QApplication>

namespace testing_support {

inline QApplication*& qtApplication() {
    static QApplication* application = nullptr;
    return application;
}

inline void startQtApplication() {
    static int argc = 1;
    static char name[] = "zorta_editor_test";
    static char* argv[] = {name, nullptr};
    qtApplication() = new QApplication(argc, argv);
}

inline void stopQtApplication() {
    delete qtApplication();
    qtApplication() = nullptr;
}

} // namespace testing_support
