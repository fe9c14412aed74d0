#pragma once
// What the output variants share: the screen checks and the one output buffer of the formatted variants.
#include <cstdarg>

namespace services {

// Whether the global or the local text screen is open.
bool anyScreenOpen();

// Whether a text or format would be shown: output is enabled and the text begins with "$" (its prefixes may
// open a screen) or a screen is open.
bool wouldShow(bool beginsWithDollar);

// Formats into the output buffer, cut at 8,191 characters; answers the buffer. The caller holds the output
// lock while it uses the buffer.
const char* formatIntoOutputBuffer(const char* format, va_list arguments);

} // namespace services
