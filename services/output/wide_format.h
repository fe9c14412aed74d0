#pragma once
// Wide formats as the library's callers write them, with the Windows meanings: in a wide format "%s" and "%c"
// take wide text and "%S", "%C", "%hs", "%hc" narrow text, and "%I64" is a 64-bit size. The C library here
// reads "%s" as narrow in wide formats too, and turns narrow text to wide through its locale (which stops at
// the first byte above 0x7F in the "C" locale), so each conversion is read here and narrow text is widened
// through the code page.
#include <cstdarg>
#include <string>

namespace services {

// Formats with Windows meanings; the whole result, however long.
std::wstring formatWide(const wchar_t* format, va_list arguments);

} // namespace services
