#pragma once
// The editor link's record: 24 bytes, the same in every build, because the global link lives in the general
// shared segment and the editor program reads and writes a link in another process's memory. The operations
// of the link (starting the editor, text, titles) come with the editor link itself.
#include <cstddef>
#include <cstdint>

class __attribute__((packed)) Tavropad {
public:
    // With `keep` 1 a link that already knows a frame window is left as it is (for links in static or shared
    // memory, which hold zeros or a previous state before construction); otherwise the process id and both
    // windows are cleared. The line limit is left as it is.
    explicit Tavropad(int keep = 0);

    std::uint64_t frameWindow; // the editor's main frame, 0 when none
    std::uint64_t editWindow;  // the edit window of the editor's text screen, 0 when none
    std::int32_t lineLimit;    // the text screen's line limit, as last given by the editor
    std::int32_t processId;    // the caller's id before a start (-1 for the global link), then the editor's
};

static_assert(sizeof(Tavropad) == 24);
static_assert(offsetof(Tavropad, frameWindow) == 0);
static_assert(offsetof(Tavropad, editWindow) == 8);
static_assert(offsetof(Tavropad, lineLimit) == 16);
static_assert(offsetof(Tavropad, processId) == 20);
