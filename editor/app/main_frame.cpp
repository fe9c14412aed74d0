#include "editor/app/main_frame.h"

#include "editor/app/child_frame.h"
#include "editor/app/the_app.h"

#include <QEvent>

using namespace platform;

CMainFrame::CMainFrame() {
    setCentralWidget(&area_);
    frame_.create({"ZortaPad", "ZortaPad", 0, 0, 0},
                  [](Message& message) { return CTheApp::instance().onFrameMessage(message); });
    client_.create({"MDICLIENT", "", frame_.handle(), 0, WS_VISIBLE},
                   [this](Message& message) { return onClientMessage(message); });
    setExplicitTitle("ZortaPad");
}

CMainFrame::~CMainFrame() {
    area_.closeAllSubWindows();
    client_.reset();
    frame_.reset();
}

void CMainFrame::setExplicitTitle(const std::string& text) {
    const QString title = text.size() >= 2 ? fromCodePage(text) : QStringLiteral("ZortaPad");
    setWindowTitle(title);
    frame_.setTitle(title);
}

CChildFrame* CMainFrame::activeChild() const {
    return dynamic_cast<CChildFrame*>(area_.activeSubWindow());
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        frame_.setStyle(WS_MINIMIZE, isMinimized());
        frame_.setStyle(WS_MAXIMIZE, isMaximized());
    }
    QMainWindow::changeEvent(event);
}

void CMainFrame::showEvent(QShowEvent* event) {
    frame_.setStyle(WS_VISIBLE, true);
    QMainWindow::showEvent(event);
}

void CMainFrame::hideEvent(QHideEvent* event) {
    frame_.setStyle(WS_VISIBLE, false);
    QMainWindow::hideEvent(event);
}

// The MDI client activates the child frame it is given.
std::int64_t CMainFrame::onClientMessage(Message& message) {
    if (message.id != WM_MDIACTIVATE) return 0;
    for (QMdiSubWindow* window : area_.subWindowList()) {
        auto* child = dynamic_cast<CChildFrame*>(window);
        if (child && child->handle() == message.wParam) area_.setActiveSubWindow(child);
    }
    return 0;
}
