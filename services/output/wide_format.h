#pragma once
// Wide formats as the library's callers write them, with the Windows meanings: in a wide format "%s" and "%c"
// take wide text and "%S", "%C", "%hs", "%hc" narrow text, and "%I64" is a 64-bit size. The C library here
// reads "%s" as narrow in wide formats too, so formats are translated before they are used.
#include <cstdarg>
#include <string>

namespace services {

// `format` with the C library's spelling of each conversion.
std::wstring translateWideFormat(const wchar_t* format);

// Formats with Windows meanings; the whole result, however long.
std::wstring formatWide(const wchar_t* format, va_list arguments);

} // namespace services
