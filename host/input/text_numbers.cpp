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

template <typename T> bool parseWhole(std::wstring_view text, T& value) {
    std::string s = ascii(trim(text));
    if (s.empty()) return false;
    const char* first = s.data();
    if (*first == '+' && s.size() > 1) ++first;
    T v{};
    auto [end, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    value = v;
    return true;
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
    double c[3] = {0, 0, defaultZ};
    int n = 0;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(L',', start);
        if (n == 3 || !parseReal(text.substr(start, comma - start), c[n])) return false;
        ++n;
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (n < 2) return false;
    point = AcGePoint3d(c[0], c[1], c[2]);
    return true;
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
