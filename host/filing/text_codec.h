#pragma once
// Conversions between the host's wide text and the encodings at its edges: UTF-8 for terminals and newer
// drawing files, Windows-1252 for drawing files up to AC1018, UTF-16 for the texts of proxy graphics.
#include <string>
#include <string_view>

namespace host {

std::string toUtf8(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring fromUtf8(std::string_view text);
std::wstring fromCp1252(std::string_view text);
// Characters outside Windows-1252 are written as the drawing-file escape \U+XXXX.
std::string toCp1252(std::wstring_view text);
// Replaces every \U+XXXX escape by its character.
std::wstring decodeUnicodeEscapes(std::wstring_view text);
// UTF-16 code units: a character beyond 16 bits as its surrogate pair, one beyond U+10FFFF as U+FFFD.
std::u16string toUtf16(std::wstring_view text);
// Surrogate pairs joined into their character; a lone half stays the unit it is.
std::wstring fromUtf16(std::u16string_view text);

} // namespace host
