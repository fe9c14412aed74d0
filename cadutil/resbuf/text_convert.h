#pragma once
// Conversions between the plug-in's 8-bit texts and the host's wide ones, one unit per byte (for the ASCII
// texts of keywords, names and group values).
#include <cstddef>
#include <string>
#include <string_view>

#include "host/rx/adesk.h"

// Each byte into one wide unit, then a terminator; answers `dest`.
ACHAR* strToWide(ACHAR* dest, const char* source);
// The same for at most `n` units; the terminator is written only when fewer than `n` units were.
ACHAR* strnToWide(ACHAR* dest, const char* source, std::size_t n);
// The low byte of each wide unit, then a terminator; answers `dest`.
char* wideToStr(char* dest, const ACHAR* source);
// A text of the Windows code page as the host's wide text (for what a person reads: prompts, messages).
std::wstring codePageToWide(std::string_view text);
// Narrows a wide text into its own buffer (the bytes are written at its start); a buffer whose first two
// bytes are both non-zero holds 8-bit text already and is left alone. Answers the narrow text.
char* wideToStrInPlace(ACHAR* text);
