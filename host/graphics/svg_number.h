#pragma once
// A number as the SVG files write it: to a ten-thousandth of a drawing unit, in the shortest form that reads
// back the same, whatever the locale.
#include <charconv>
#include <cmath>
#include <string>

namespace host {

inline std::string svgNumber(double v) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::round(v * 1e4) / 1e4);
    return std::string(buffer, written.ptr);
}

} // namespace host
