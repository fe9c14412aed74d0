#include "services/startup/busy_word.h"

#include "platform/ipc/robust_mutex.h"
#include "platform/ipc/shared_segment.h"
#include "services/startup/shared_records.h"

#include <atomic>
#include <thread>
#include <utility>

namespace services {

namespace {

constexpr std::int32_t kBits[] = {kBusyOutputMode, kBusyEditorStart};

struct BusyRecord {
    platform::RobustMutex holders[2]; // one per bit, held with it
    platform::RobustMutex globalScreen;
};

platform::SharedSegment* side = nullptr;

BusyRecord* busyRecord() {
    return side ? static_cast<BusyRecord*>(side->data()) : nullptr;
}

platform::RobustMutex& holderOf(BusyRecord& record, std::int32_t bit) {
    return record.holders[bit == kBusyOutputMode ? 0 : 1];
}

// The word sits at an aligned place of a page-aligned mapping, as atomic operations need.
static_assert(offsetof(ZortaGenSeg, busyWord) % std::atomic_ref<std::int32_t>::required_alignment == 0);
std::atomic_ref<std::int32_t> busyWord() {
    auto* word = reinterpret_cast<std::int32_t*>(reinterpret_cast<char*>(g_pZortaGenSeg) +
                                                 offsetof(ZortaGenSeg, busyWord));
    return std::atomic_ref<std::int32_t>(*word);
}

// Clears the bits whose holder died.
void takeBackAbandonedBits(BusyRecord& record) {
    const std::int32_t word = busyWord().load();
    for (std::int32_t bit : kBits) {
        if (!(word & bit)) continue;
        platform::RobustMutex& holder = holderOf(record, bit);
        const platform::LockResult result = holder.tryLock();
        if (result == platform::LockResult::Abandoned) busyWord().fetch_and(~bit);
        if (platform::holds(result)) holder.unlock();
    }
}

} // namespace

std::optional<BusyClaim> BusyClaim::tryClaim(std::int32_t bit) {
    BusyRecord* record = busyRecord();
    if (!g_pZortaGenSeg || !record) return BusyClaim(0);
    takeBackAbandonedBits(*record);
    platform::RobustMutex& holder = holderOf(*record, bit);
    if (!platform::holds(holder.tryLock())) return std::nullopt;
    std::int32_t expected = 0;
    if (!busyWord().compare_exchange_strong(expected, bit)) {
        holder.unlock();
        return std::nullopt;
    }
    return BusyClaim(bit);
}

std::optional<BusyClaim> BusyClaim::claimAfterOutputMode(std::int32_t bit,
                                                         std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (std::optional<BusyClaim> claim = tryClaim(bit)) return claim;
        if (!g_pZortaGenSeg || (busyWord().load() & ~kBusyOutputMode) != 0) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

BusyClaim::BusyClaim(BusyClaim&& other) noexcept : bit_(std::exchange(other.bit_, 0)) {}

BusyClaim::~BusyClaim() {
    BusyRecord* record = busyRecord();
    if (bit_ == 0 || !g_pZortaGenSeg || !record) return;
    busyWord().fetch_and(~bit_);
    holderOf(*record, bit_).unlock();
}

GlobalScreenLock::GlobalScreenLock(std::chrono::milliseconds patience) {
    BusyRecord* record = busyRecord();
    if (record && platform::holds(record->globalScreen.lock(patience))) held_ = &record->globalScreen;
}

GlobalScreenLock::~GlobalScreenLock() {
    if (held_) held_->unlock();
}

void openBusyRecord() {
    if (!side)
        side = new platform::SharedSegment("GlobalZortaGenSeg.busy", sizeof(BusyRecord), [](void* data) {
            auto* record = static_cast<BusyRecord*>(data);
            for (platform::RobustMutex& holder : record->holders)
                holder.initialise(false);
            record->globalScreen.initialise(false);
        });
}

void closeBusyRecord() {
    delete side;
    side = nullptr;
}

} // namespace services
