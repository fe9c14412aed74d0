#include "editor/app/main_frame.h"

#include "editor/app/command_ids.h"
#include "editor/app/key_lock_panes.h"
#include "editor/app/menu_resources.h"
#include "editor/app/pad_frame.h"
#include "editor/app/the_app.h"
#include "editor/app/tool_bar_icons.h"
#include "editor/document/file_names.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using namespace platform;

namespace {

constexpr const char* kProgramTitle = "ZortaPad";

} // namespace

CMainFrame::CMainFrame() {
    setCentralWidget(&area_);
    setAcceptDrops(true);
    frame_.create({"ZortaPad", "ZortaPad", 0, 0, 0},
                  [](Message& message) { return CTheApp::instance().onFrameMessage(message); });
    client_.create({"MDICLIENT", "", frame_.handle(), 0, WS_VISIBLE},
                   [this](Message& message) { return onClientMessage(message); });
    buildToolBar();
    buildStatusBar();
    addAccelerators();
    addDocumentSwitches();
    updateMenus();
    connect(&area_, &QMdiArea::subWindowActivated, this, [this] { updateMenus(); });
    setExplicitTitle(kProgramTitle);
}

CMainFrame::~CMainFrame() {
    area_.closeAllSubWindows();
    client_.reset();
    frame_.reset();
}

QAction* CMainFrame::commandAction(int id, const QString& caption, const char* tip, QObject* owner) {
    auto* action = new QAction(caption, owner);
    action->setData(id);
    action->setStatusTip(QString::fromUtf8(tip));
    action->setToolTip(QString(caption).remove(u'&'));
    connect(action, &QAction::triggered, this,
            [this, id] { CTheApp::instance().routeCommand(id, activeView()); });
    return action;
}

void CMainFrame::refreshStates(const QList<QAction*>& actions) {
    const CommandTable& table = CTheApp::instance().commands();
    CPadView* view = activeView();
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->data().isValid()) continue;
        const int id = action->data().toInt();
        action->setEnabled(table.isEnabled(id, view));
        action->setCheckable(table.isCheckable(id));
        if (action->isCheckable()) action->setChecked(table.isChecked(id, view));
    }
}

void CMainFrame::updateMenus() {
    refreshTitle();
    auto* bar = new QMenuBar;
    const bool withDocuments = !area_.subWindowList().isEmpty();
    for (const MenuColumn& column : withDocuments ? menuWithDocuments() : menuNoDocument()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(column.caption));
        for (const MenuItem& item : column.items) {
            if (!item.caption) {
                menu->addSeparator();
            } else if (item.id == kRecentFilesPlace) {
                const std::vector<std::string>& recent = CTheApp::instance().recentFiles();
                for (std::size_t i = 0; i < recent.size(); ++i)
                    menu->addAction(commandAction(pad_command::kRecentFirst + static_cast<int>(i),
                                                  QString("&%1 %2").arg(i + 1).arg(shownPath(recent[i])),
                                                  item.tip, menu));
            } else {
                menu->addAction(commandAction(item.id, menuCaption(item), item.tip, menu));
            }
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { refreshStates(menu->actions()); });
    }
    setMenuBar(bar);
}

// The caption with its accelerator, which the menu shows in its column after the tab.
QString CMainFrame::menuCaption(const MenuItem& item) {
    QString caption = QString::fromUtf8(item.caption);
    if (const char* keys = acceleratorOf(item.id); *keys)
        caption += u'\t' + QKeySequence(QString::fromLatin1(keys)).toString(QKeySequence::NativeText);
    return caption;
}

// The accelerators belong to the frame, which lives as long as the program, rather than to the menu items,
// which are made again with each menu: two items of one key at once would leave the key doing nothing.
void CMainFrame::addAccelerators() {
    for (const Accelerator& accelerator : accelerators()) {
        QAction* action = commandAction(accelerator.id, QString(), "", this);
        action->setShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)));
        addAction(action);
    }
}

// Ctrl+F6 and Ctrl+Tab go to the next document, with Shift to the one before, as in an MDI frame.
void CMainFrame::addDocumentSwitches() {
    const auto add = [this](QList<QKeySequence> keys, void (QMdiArea::*go)()) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, &area_, go);
        addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::Key_Tab)},
        &QMdiArea::activateNextSubWindow);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
        &QMdiArea::activatePreviousSubWindow);
}

void CMainFrame::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Barre d'outils"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    for (const MenuItem& item : toolBarButtons()) {
        if (item.id == 0)
            bar->addSeparator();
        else {
            QAction* action = commandAction(item.id, QString::fromUtf8(item.caption), item.tip, bar);
            action->setIcon(toolBarIcon(item.id, *style()));
            bar->addAction(action);
        }
    }
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    position_.setMinimumWidth(kPositionPaneWidth);
    bar->addPermanentWidget(&position_);
    new KeyLockPanes(*bar);
}

void CMainFrame::setPositionText(const QString& text) {
    position_.setText(text);
}

void CMainFrame::setExplicitTitle(const std::string& text) {
    explicitTitle_ = text;
    refreshTitle();
}

// The program's own title names the active document as an MDI frame does; a title a caller gave stays
// exactly as given, since callers find the instance by it.
void CMainFrame::refreshTitle() {
    QString title = QStringLiteral("ZortaPad");
    if (explicitTitle_.size() >= 2 && explicitTitle_ != kProgramTitle)
        title = fromCodePage(explicitTitle_);
    else if (CPadFrame* child = activeChild())
        title += QStringLiteral(" - [") + child->windowTitle() + u']';
    setWindowTitle(title);
    frame_.setTitle(title);
}

CPadFrame* CMainFrame::activeChild() const {
    if (auto* child = dynamic_cast<CPadFrame*>(area_.activeSubWindow())) return child;
    // Without a focused window (offscreen, or the frame not active) the sub-window in front acts.
    const QList<QMdiSubWindow*> windows = area_.subWindowList(QMdiArea::StackingOrder);
    return windows.isEmpty() ? nullptr : dynamic_cast<CPadFrame*>(windows.back());
}

CPadView* CMainFrame::activeView() const {
    CPadFrame* child = activeChild();
    return child ? child->view() : nullptr;
}

// Queued: what is done on activation may open a box, which must not run inside the activation itself.
void CMainFrame::announceActivation() {
    QTimer::singleShot(0, this, [this] {
        if (onActivated) onActivated();
    });
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) announceActivation();
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

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (onClosing && !onClosing()) {
        event->ignore();
        return;
    }
    closed_ = true;
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (onFilesDropped && !paths.isEmpty()) onFilesDropped(paths);
    event->acceptProposedAction();
}

// The MDI client activates the child frame it is given.
std::int64_t CMainFrame::onClientMessage(Message& message) {
    if (message.id != WM_MDIACTIVATE) return 0;
    for (QMdiSubWindow* window : area_.subWindowList()) {
        auto* child = dynamic_cast<CPadFrame*>(window);
        if (child && child->handle() == message.wParam) area_.setActiveSubWindow(child);
    }
    return 0;
}
