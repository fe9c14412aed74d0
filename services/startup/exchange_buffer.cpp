#include "services/startup/exchange_buffer.h"

#include "platform/ipc/named_mutex.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

#include <chrono>
#include <cstring>

namespace {

constexpr unsigned kBufferSize = sizeof(ZortaGenSeg::exchangeBuffer);
// A process that holds the mutex and never lets go must not block every other one for ever.
constexpr std::chrono::seconds kMutexWait{5};

platform::NamedMutex* exchangeMutex = nullptr; // closed at unload, never by a static destructor

// Copies between the buffer and the caller's memory; `toBuffer` gives the direction.
int copyExchange(void* outside, unsigned offset, unsigned count, int lock, bool toBuffer) {
    if (!outside || !g_pZortaGenSeg || offset >= kBufferSize) return 0;
    count = std::min(count, kBufferSize - offset);
    if (count == 0) return 0;
    // The buffer is never touched without the lock that was asked for.
    if (lock && !exchangeMutex) return 0;
    if (lock && !platform::holds(exchangeMutex->wait(kMutexWait))) {
        mprintf("$G$\n****** Mutex 'vb_mutex' occup\xe9 depuis %d s : tampon d'\xe9"
                "change inaccessible ",
                static_cast<int>(kMutexWait.count()));
        return 0;
    }
    std::uint8_t* inside = g_pZortaGenSeg->exchangeBuffer + offset;
    if (toBuffer)
        std::memcpy(inside, outside, count);
    else
        std::memcpy(outside, inside, count);
    if (lock) exchangeMutex->release();
    return static_cast<int>(count);
}

} // namespace

int vbbuf_read(void* dest, unsigned offset, unsigned count, int lock) {
    return copyExchange(dest, offset, count, lock, false);
}

int vbbuf_write(const void* src, unsigned offset, unsigned count, int lock) {
    return copyExchange(const_cast<void*>(src), offset, count, lock, true);
}

void services::openExchangeMutex() {
    if (exchangeMutex) return;
    exchangeMutex = new platform::NamedMutex("vb_mutex");
    if (!exchangeMutex->isOpen())
        mprintf("$G$\n****** Mutex 'vb_mutex' indisponible : %s ", exchangeMutex->error().c_str());
}

void services::closeExchangeMutex() {
    delete exchangeMutex;
    exchangeMutex = nullptr;
}
