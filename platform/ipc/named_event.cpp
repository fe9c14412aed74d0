#include "platform/ipc/named_event.h"

#include <cstdint>

namespace platform {

namespace {

struct EventRecord {
    std::int32_t manualReset;
    std::int32_t signalled;
};

std::string eventName(std::string_view name) {
    return "event." + std::string(name);
}

} // namespace

NamedEvent::NamedEvent(std::string_view name, bool manualReset, bool signalled)
    : segment_(eventName(name), sizeof(EventRecord), [&](void* data) {
          auto* record = static_cast<EventRecord*>(data);
          record->manualReset = manualReset ? 1 : 0;
          record->signalled = signalled ? 1 : 0;
      }) {}

bool NamedEvent::manualReset() const {
    return isOpen() && static_cast<const EventRecord*>(segment_.data())->manualReset != 0;
}

bool NamedEvent::signalled() const {
    return isOpen() && static_cast<const EventRecord*>(segment_.data())->signalled != 0;
}

} // namespace platform
