#pragma once
// ASCII DXF text: pairs of lines (group code, value) turned into typed groups and back. Texts are
// Windows-1252 with \U+XXXX escapes up to AC1018, UTF-8 from AC1021; control characters use the caret
// notation (^J for a line feed, "^ " for a caret).
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/filing/group.h"

namespace host {

// A fault in a DXF file; the message names the line.
struct DxfError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class DxfEncoding { Cp1252, Utf8 };

// The groups of a DXF text with the line of each group's code (from 1). Point coordinates (x, y and z
// groups) become one point group. A reference whose value is not a handle is kept as text. Throws DxfError
// for a truncated file, a group code that is not a number or not a known code, or a value of the wrong type.
struct DxfGroups {
    std::vector<Group> groups;
    std::vector<int> lines;
};
DxfGroups parseDxfText(std::string_view text);

// The encoding a DXF text declares by its $ACADVER (UTF-8 from AC1021).
DxfEncoding declaredEncoding(std::string_view text);

std::string formatDxfGroups(const std::vector<Group>& groups, DxfEncoding encoding = DxfEncoding::Cp1252);

} // namespace host
