#pragma once
// Named events (CreateEventA): a flag in a small shared segment, made by the first process that asks for the
// name. Only creation and the state given at creation are needed: nothing here waits on an event.
#include "platform/ipc/shared_segment.h"

#include <string_view>

namespace platform {

class NamedEvent {
public:
    // Opens the event `name`, creating it with `manualReset` and `signalled` when it does not exist yet.
    NamedEvent(std::string_view name, bool manualReset, bool signalled);

    bool isOpen() const { return segment_.isOpen(); }
    bool manualReset() const;
    bool signalled() const;

private:
    SharedSegment segment_;
};

} // namespace platform
