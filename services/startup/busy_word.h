#pragma once
// The busy word of the general segment (byte 4): bit value 1 while i_mode runs, bit value 2 while an editor
// is being started. A claim succeeds only on a word that is 0, with a compare-and-swap, so that two processes
// never both see it free. Each bit also has a robust mutex in a small side segment, held with the bit: a
// process that dies holding a bit leaves its mutex abandoned, and the next claim clears the bit it left. A
// bit set by a program that does not take the mutex is respected.
#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {
struct RobustMutex;
}

namespace services {

constexpr std::int32_t kBusyOutputMode = 1;
constexpr std::int32_t kBusyEditorStart = 2;

class BusyClaim {
public:
    // Claims `bit`; empty when the word is not 0. Without a general segment there is nothing to guard and the
    // claim succeeds.
    static std::optional<BusyClaim> tryClaim(std::int32_t bit);
    // Claims `bit`, waiting at most `patience` while the word holds only the output-mode bit, which an
    // i_mode of any process sets for a moment; empty when another bit is set or the wait runs out.
    static std::optional<BusyClaim> claimAfterOutputMode(std::int32_t bit,
                                                         std::chrono::milliseconds patience);

    BusyClaim(BusyClaim&& other) noexcept;
    BusyClaim& operator=(BusyClaim&&) = delete;
    BusyClaim(const BusyClaim&) = delete;
    // Clears the bit.
    ~BusyClaim();

private:
    explicit BusyClaim(std::int32_t bit) : bit_(bit) {}
    std::int32_t bit_;
};

// Keeps one process's append to the global text screen whole while others print into it too: an append is
// a few window messages, and another process's messages in between would split it or land inside it. Held
// for one append; after `patience` (a holder that hangs) the append goes on without it.
class GlobalScreenLock {
public:
    explicit GlobalScreenLock(std::chrono::milliseconds patience);
    ~GlobalScreenLock();
    GlobalScreenLock(const GlobalScreenLock&) = delete;
    GlobalScreenLock& operator=(const GlobalScreenLock&) = delete;

private:
    platform::RobustMutex* held_ = nullptr;
};

// Maps the side segment of the busy word; unmaps it.
void openBusyRecord();
void closeBusyRecord();

} // namespace services
