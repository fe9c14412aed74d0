#pragma once
// Windows-1252, the 8-bit code page of all text inside the system (tables, files, settings, messages).
//
// Wide text is narrowed the way WideCharToMultiByte does for the ANSI code page: a character the code page
// has no place for becomes '?'. wchar_t is 32-bit here (16-bit on Windows), so a wide character is one code
// point. What a person reads on a terminal is turned into UTF-8 at that edge only.
#include <string>
#include <string_view>

namespace platform {

// The Unicode character of a code-page byte; the five bytes the code page leaves undefined keep their value.
char32_t cp1252ToUnicode(unsigned char byte);

// The code-page byte of `c`, or '?' when the code page has none.
char unicodeToCp1252(char32_t c);

// Code-page text as UTF-8, for the terminal.
std::string cp1252ToUtf8(std::string_view text);

} // namespace platform
