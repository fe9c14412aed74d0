#pragma once
// Numbers and coordinates as a user types them and as the command line shows them, read and written without
// the locale: a decimal point is always ".", whatever the language of the machine.
#include <string>
#include <string_view>
#include <vector>

#include "host/ge/ge.h"

namespace host {

// The largest coordinate a drawing holds, either way: the bound CAD drawings keep for empty extents, far
// beyond any survey and far below where the squares of lengths and areas overflow.
constexpr double kLargestCoordinate = 1e20;

// The whole text (blanks around it allowed) as a number; false otherwise.
bool parseReal(std::wstring_view text, double& value);
bool parseInteger(std::wstring_view text, long long& value);
// "x,y" or "x,y,z" with every coordinate within kLargestCoordinate; a missing z is `defaultZ`.
bool parsePoint(std::wstring_view text, AcGePoint3d& point, double defaultZ = 0.0);
// Whether the text is written as a point but holds a coordinate that is not finite or that the drawing
// cannot hold ("nan,0", "1e308,1e308"): a point prompt refuses it rather than take it for other input.
bool isPointBeyondDrawing(std::wstring_view text);

// The shortest text that reads back as the same value, with a decimal point ("1.0", "0.25", "1e+30").
std::wstring formatReal(double value);
// "x,y,z" in the shortest form.
std::wstring formatPoint(const AcGePoint3d& point);

std::wstring trim(std::wstring_view text);
// The blank-separated words of a text.
std::vector<std::wstring> words(std::wstring_view text);

} // namespace host
