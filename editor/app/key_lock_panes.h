#pragma once
// The status bar's panes of the lock keys: "CAP", "NUM" and "SCRL" while Caps Lock, Num Lock and Scroll Lock
// are on, blank while they are off. The keyboard's indicators are read from the X server a few times a
// second, as the platform's status bar reads the keys when idle, so that a key locked in another window
// shows too; without an X display the panes stay blank.
#include <QObject>
#include <QTimer>

#include <array>

class QLabel;
class QStatusBar;

class KeyLockPanes : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMilliseconds = 250;

    explicit KeyLockPanes(QStatusBar& bar);
    // Reads the indicators now and shows them.
    void refresh();

private:
    struct Pane {
        QLabel* label = nullptr;
        int indicator = -1; // the server's index of the key's indicator; -1 when it has none
    };

    std::array<Pane, 3> panes_;
    void* display_ = nullptr;
    QTimer timer_;
};
