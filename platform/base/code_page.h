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

// UTF-8 text (such as a zip entry name flagged as UTF-8) in the code page; a malformed sequence or a
// character the code page has no place for becomes '?'.
std::string utf8ToCp1252(std::string_view text);

// Text of the OEM code page 850 (the names of older zip archives) in the code page, as OemToCharA turns it:
// letters and signs keep their meaning, the line-drawing characters that 1252 lacks become '?'.
std::string oem850ToCp1252(std::string_view text);

} // namespace platform
