#pragma once
// The editor's main frame: a main window with an MDI area. On the bus it is the frame "ZortaPad", whose
// first child is the MDI client ("MDICLIENT"), under which the child frames of the documents lie.
#include "editor/link/bus_window.h"

#include <QMainWindow>
#include <QMdiArea>

#include <string>

class CChildFrame;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    platform::Hwnd handle() const { return frame_.handle(); }
    platform::Hwnd clientHandle() const { return client_.handle(); }
    QMdiArea& mdiArea() { return area_; }
    // The title: exactly this text when it holds 2 characters or more, else the program's name.
    void setExplicitTitle(const std::string& text);
    CChildFrame* activeChild() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::int64_t onClientMessage(platform::Message& message);

    QMdiArea area_;
    BusWindow frame_;
    BusWindow client_;
};
