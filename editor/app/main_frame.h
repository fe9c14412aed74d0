#pragma once
// The editor's main frame: a main window with an MDI area. On the bus it is the frame "ZortaPad", whose
// first child is the MDI client ("MDICLIENT"), under which the child frames of the documents lie. It holds
// the menus (menu 1 without a document, menu 2 with one), the toolbar and the status bar with its position
// pane; every item runs its command through the application's command table.
#include "editor/link/bus_window.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>

#include <functional>
#include <string>

class CPadFrame;
struct MenuItem;
class CPadView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kPositionPaneWidth = 60;

    CMainFrame();
    ~CMainFrame() override;

    platform::Hwnd handle() const { return frame_.handle(); }
    platform::Hwnd clientHandle() const { return client_.handle(); }
    QMdiArea& mdiArea() { return area_; }
    // The title: exactly this text when it holds 2 characters or more and is not the program's name, else
    // the program's name and the active document's title ("ZortaPad - [liste.txt]").
    void setExplicitTitle(const std::string& text);
    // Shows the explicit title, or the program's name and the active document's title.
    void refreshTitle();
    CPadFrame* activeChild() const;
    CPadView* activeView() const;

    // Pane 1 of the status bar.
    void setPositionText(const QString& text);
    QString positionText() const { return position_.text(); }
    // Menu 1 or 2, by whether a document is open, with the recent files as they stand; the title follows the
    // active document.
    void updateMenus();
    // Called before the frame closes (the window placement is stored there); false stops the close.
    std::function<bool()> onClosing;
    // Whether the frame was closed (it may be, by a message on the bus, before the event loop runs).
    bool wasClosed() const { return closed_; }
    // Called when the frame comes to the front, once the event loop runs.
    std::function<void()> onActivated;
    // Called with the paths of files dropped on the frame.
    std::function<void(const QStringList&)> onFilesDropped;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::int64_t onClientMessage(platform::Message& message);
    void announceActivation();
    static QString menuCaption(const MenuItem& item);
    void addAccelerators();
    void addDocumentSwitches();
    void buildToolBar();
    void buildStatusBar();
    QAction* commandAction(int id, const QString& caption, const char* tip, QObject* owner);
    void refreshStates(const QList<QAction*>& actions);

    QMdiArea area_;
    BusWindow frame_;
    BusWindow client_;
    QLabel position_;
    std::string explicitTitle_;
    bool closed_ = false;
};
