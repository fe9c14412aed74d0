#pragma once
// Registered window messages (RegisterWindowMessageA).
//
// One table shared by the processes of the machine gives the same name the same identifier everywhere, from
// 0xC000 up to 0xFFFF; names are compared without case and hold at most 255 characters. The table lives while
// any process maps it, so identifiers may change from one session to the next, as they do on Windows from one
// boot to the next. The table takes the ZORTA_NAMESPACE prefix.
#include <cstdint>

namespace platform {

// The identifier of `name`; 0 for a null, empty or over-long name, when the table is full or cannot be
// opened.
std::uint32_t registerWindowMessage(const char* name);

// Unmaps the table of this process (at unload); the next registration maps it again.
void closeWindowMessageTable();

} // namespace platform
