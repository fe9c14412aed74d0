#pragma once
// Whole-file reads and atomic writes for drawing files.
#include <optional>
#include <string>

namespace host {
std::optional<std::string> readFileBytes(const std::wstring& fileName);
// Writes through a temporary file renamed into place, so a failed write leaves the old file whole.
bool writeFileBytes(const std::wstring& fileName, const std::string& bytes);
} // namespace host
