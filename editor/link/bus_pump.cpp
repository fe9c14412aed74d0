#include "editor/link/bus_pump.h"

#include "platform/windows/message_bus.h"

#include <chrono>

namespace {

// A program that sends message after message (a listing printed line by line) is served for up to this long
// before the event loop gets its turn: the screen is drawn once a frame, not once a message.
constexpr std::chrono::milliseconds kFrame{40};
// How long a burst may pause between two messages and still be served at once.
constexpr int kBurstGapMs = 5;

} // namespace

BusPump::BusPump(QObject* parent) : QObject(parent) {
    const int fd = platform::messageBusFd();
    if (fd >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &BusPump::pump);
    }
    connect(&timer_, &QTimer::timeout, this, &BusPump::pump);
    timer_.start(50);
}

// A program that sends message after message is served until it pauses or a frame has passed; the text
// screen lays out and draws its edits once the event loop runs again.
void BusPump::pump() {
    const auto frameEnd = std::chrono::steady_clock::now() + kFrame;
    if (platform::pumpMessages(0) <= 0) return;
    while (std::chrono::steady_clock::now() < frameEnd && platform::pumpMessages(kBurstGapMs) > 0) {
    }
}
