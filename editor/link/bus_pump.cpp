#include "editor/link/bus_pump.h"

#include "platform/windows/message_bus.h"

BusPump::BusPump(QObject* parent) : QObject(parent) {
    const int fd = platform::messageBusFd();
    if (fd >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &BusPump::pump);
    }
    connect(&timer_, &QTimer::timeout, this, &BusPump::pump);
    timer_.start(50);
}

void BusPump::pump() {
    while (platform::pumpMessages(0) > 0) {
    }
}
