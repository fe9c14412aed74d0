#include "platform/ipc/registered_messages.h"

#include "platform/ipc/robust_mutex.h"
#include "platform/ipc/shared_segment.h"

#include <cstring>
#include <mutex>
#include <strings.h>

namespace platform {

namespace {

constexpr std::uint32_t kFirstId = 0xC000;
constexpr std::uint32_t kIdCount = 0x4000;
constexpr std::size_t kNameSize = 256;

struct MessageTable {
    RobustMutex mutex;
    std::uint32_t count;
    char names[kIdCount][kNameSize]; // zero-filled pages cost nothing until a name is written
};

std::mutex tableLock;
SharedSegment* table = nullptr; // never destroyed by a static destructor: closed at unload

MessageTable* openTable() {
    if (!table || !table->isOpen()) {
        delete table;
        table = new SharedSegment("RegisteredWindowMessages", sizeof(MessageTable), [](void* data) {
            static_cast<MessageTable*>(data)->mutex.initialise(false);
        });
    }
    return static_cast<MessageTable*>(table->data());
}

} // namespace

std::uint32_t registerWindowMessage(const char* name) {
    if (!name || !name[0] || std::strlen(name) >= kNameSize) return 0;
    std::lock_guard processLock(tableLock);
    MessageTable* messages = openTable();
    if (!messages || !holds(messages->mutex.lock())) return 0;
    // A holder that died cannot have left a half-written entry counted: the count is raised after the name.
    std::uint32_t id = 0;
    const std::uint32_t count = messages->count < kIdCount ? messages->count : kIdCount;
    for (std::uint32_t i = 0; i < count && id == 0; ++i)
        if (strcasecmp(messages->names[i], name) == 0) id = kFirstId + i;
    if (id == 0 && count < kIdCount) {
        std::strcpy(messages->names[count], name);
        messages->count = count + 1;
        id = kFirstId + count;
    }
    messages->mutex.unlock();
    return id;
}

void closeWindowMessageTable() {
    std::lock_guard processLock(tableLock);
    delete table;
    table = nullptr;
}

} // namespace platform
