#pragma once
// Numbers and coordinates as a user types them and as the command line shows them, read and written without
// the locale: a decimal point is always ".", whatever the language of the machine.
#include <string>
#include <string_view>
#include <vector>

#include "host/ge/ge.h"

namespace host {

// The whole text (blanks around it allowed) as a number; false otherwise.
bool parseReal(std::wstring_view text, double& value);
bool parseInteger(std::wstring_view text, long long& value);
// "x,y" or "x,y,z"; a missing z is `defaultZ`.
bool parsePoint(std::wstring_view text, AcGePoint3d& point, double defaultZ = 0.0);

// The shortest text that reads back as the same value, with a decimal point ("1.0", "0.25", "1e+30").
std::wstring formatReal(double value);
// "x,y,z" in the shortest form.
std::wstring formatPoint(const AcGePoint3d& point);

std::wstring trim(std::wstring_view text);
// The blank-separated words of a text.
std::vector<std::wstring> words(std::wstring_view text);

} // namespace host
