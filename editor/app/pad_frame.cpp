#include "editor/app/pad_frame.h"

#include "editor/app/the_app.h"
#include "editor/document/pad_view.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMenu>

using namespace platform;

CPadFrame::CPadFrame(Hwnd mdiClient) : document_(std::make_unique<CPadDoc>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    bus_.create({"ZortaPadChild", "", mdiClient, 0, WS_VISIBLE},
                [this](Message& message) { return onMessage(message); });
    view_ = new CPadView(*document_, bus_.handle());
    setWidget(view_);
    // Ctrl+F4 is the frame's "Fermer", which asks about the changes; the same key here would leave it dead.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions())
            action->setShortcut({});
    connect(view_, &CPadView::titleShown, this, [this](const QString& title) {
        setWindowTitle(title);
        bus_.setTitle(title);
    });
}

CPadFrame::~CPadFrame() {
    delete view_; // before the document it shows, and while the bus still knows this frame
    view_ = nullptr;
    bus_.reset();
}

void CPadFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        bus_.setStyle(WS_MINIMIZE, isMinimized());
        bus_.setStyle(WS_MAXIMIZE, isMaximized());
        // The child show state that new frames open with follows the user.
        if (isVisible() && !isMinimized())
            CTheApp::instance().settings().showCmd = isMaximized() ? SW_MAXIMIZE : SW_SHOWNORMAL;
    }
    QMdiSubWindow::changeEvent(event);
}

void CPadFrame::closeEvent(QCloseEvent* event) {
    if (!document_->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

std::int64_t CPadFrame::onMessage(Message& message) {
    if (message.id != WM_SHOWWINDOW) return defWindowProc(message);
    const int command = static_cast<int>(message.wParam);
    if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED)
        showMinimized();
    else if (command == SW_RESTORE || command == SW_SHOWNORMAL)
        showNormal();
    else if (command == SW_HIDE)
        hide();
    else
        show();
    return 0;
}
