#pragma once
// Serves the window bus from Qt's event loop: the bus's descriptor wakes a socket notifier, and a slow timer
// picks up what a wake may have missed.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

class BusPump : public QObject {
    Q_OBJECT
public:
    // Starts serving; call once the first window of the process is on the bus.
    explicit BusPump(QObject* parent = nullptr);

private:
    void pump();

    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer timer_;
};
