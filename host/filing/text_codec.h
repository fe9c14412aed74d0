#pragma once
// Conversions between the host's wide text and the byte encodings at its edges: UTF-8 for terminals and
// newer drawing files, Windows-1252 for drawing files up to AC1018.
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

} // namespace host
