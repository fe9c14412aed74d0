#pragma once
// Binary DXF files: the sentinel "AutoCAD Binary DXF\r\n\x1a\0", then groups of a code (two bytes, little
// endian, from R13 on; one byte in R12, 255 announcing two more) and a value of the code's type: 8-byte
// reals (each coordinate a group of its own), integers of 2, 4 or 8 bytes, a byte for booleans (290-299),
// texts and handles ended by a NUL, binary chunks after a length byte. They are read as the ASCII text of
// the same groups, so that both forms share one reader.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

bool isBinaryDxf(std::string_view content);

struct BinaryDxfText {
    std::string text;                 // the groups as ASCII DXF
    std::vector<std::size_t> offsets; // where each group starts in the binary file
};

// Throws DxfError naming the byte where a group cannot be read (a code of no known type, a value past the
// end of the file).
BinaryDxfText binaryDxfAsText(std::string_view content);

// A reader's message about the text ("line N: ...") said of the binary file ("byte B: ...").
std::string placedInBinary(const std::string& message, const BinaryDxfText& converted);

} // namespace host
