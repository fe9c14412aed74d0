#include "host/input/text_numbers.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>

namespace host {

namespace {

// The ASCII text of `text`, or empty when it holds anything else (no number has other characters).
std::string ascii(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        if (c <= 0 || c > 0x7e) return {};
        out += static_cast<char>(c);
    }
    return out;
}

// Whether the whole text is written as a number; `value` is what it reads as, and `inRange` false for a
// magnitude the type cannot hold.
template <typename T> bool readWhole(std::wstring_view text, T& value, bool& inRange) {
    std::string s = ascii(trim(text));
    if (s.empty()) return false;
    const char* first = s.data();
    if (*first == '+' && s.size() > 1) ++first;
    T v{};
    auto [end, ec] = std::from_chars(first, s.data() + s.size(), v);
    if ((ec != std::errc() && ec != std::errc::result_out_of_range) || end != s.data() + s.size())
        return false;
    inRange = ec == std::errc();
    value = v;
    return true;
}

template <typename T> bool parseWhole(std::wstring_view text, T& value) {
    bool inRange = false;
    T v{};
    if (!readWhole(text, v, inRange) || !inRange) return false;
    value = v;
    return true;
}

// The comma-separated parts of a point text: two or three, or none.
std::vector<std::wstring_view> pointParts(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(L',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) parts.clear();
    return parts;
}

bool isHeldCoordinate(double value) {
    return std::fabs(value) <= kLargestCoordinate; // false for NaN too
}

} // namespace

std::wstring trim(std::wstring_view text) {
    const wchar_t* blanks = L" \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) return {};
    std::size_t last = text.find_last_not_of(blanks);
    return std::wstring(text.substr(first, last - first + 1));
}

std::vector<std::wstring> words(std::wstring_view text) {
    std::vector<std::wstring> out;
    std::wistringstream in{std::wstring(text)};
    std::wstring w;
    while (in >> w)
        out.push_back(w);
    return out;
}

bool parseReal(std::wstring_view text, double& value) {
    double v;
    if (!parseWhole(text, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parseInteger(std::wstring_view text, long long& value) {
    return parseWhole(text, value);
}

bool parsePoint(std::wstring_view text, AcGePoint3d& point, double defaultZ) {
    const std::vector<std::wstring_view> parts = pointParts(text);
    if (parts.empty()) return false;
    double c[3] = {0, 0, defaultZ};
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!parseReal(parts[i], c[i]) || !isHeldCoordinate(c[i])) return false;
    point = AcGePoint3d(c[0], c[1], c[2]);
    return true;
}

bool isPointBeyondDrawing(std::wstring_view text) {
    const std::vector<std::wstring_view> parts = pointParts(text);
    bool beyond = false;
    for (std::wstring_view part : parts) {
        double value = 0;
        bool inRange = false;
        if (!readWhole(part, value, inRange)) return false;
        beyond |= !inRange || !isHeldCoordinate(value);
    }
    return beyond;
}

std::wstring formatReal(double value) {
    char buffer[40];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string s(buffer, end);
    if (std::isfinite(value) && s.find_first_of(".e") == std::string::npos) s += ".0";
    return std::wstring(s.begin(), s.end());
}

std::wstring formatPoint(const AcGePoint3d& p) {
    return formatReal(p.x) + L"," + formatReal(p.y) + L"," + formatReal(p.z);
}

} // namespace host
