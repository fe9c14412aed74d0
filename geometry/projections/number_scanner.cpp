#include "geometry/projections/number_scanner.h"

#include <charconv>
#include <cstring>

namespace geometry::projections {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

void NumberScanner::skipBlanks() {
    while (!rest_.empty() && isSpace(rest_.front()))
        rest_.remove_prefix(1);
}

bool NumberScanner::more() {
    skipBlanks();
    return !rest_.empty();
}

bool NumberScanner::real(double& value) {
    skipBlanks();
    std::string_view text = rest_;
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own but "-"; the sign is applied here so that "+1" reads as C does.
    double magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || (!text.empty() && (text.front() == '+' || text.front() == '-'))) return false;
    value = negative ? -magnitude : magnitude;
    rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
    return true;
}

bool NumberScanner::integer(int& value) {
    skipBlanks();
    std::string_view text = rest_;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return false;
    rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
    return true;
}

bool NumberScanner::literal(char c, bool blanksFirst) {
    if (blanksFirst) skipBlanks();
    if (rest_.empty() || rest_.front() != c) return false;
    rest_.remove_prefix(1);
    return true;
}

bool NumberScanner::word(char* out, std::size_t size) {
    if (size == 0) return false;
    out[0] = 0;
    skipBlanks();
    std::size_t n = 0;
    while (n < rest_.size() && !isSpace(rest_[n]))
        ++n;
    if (n == 0 || n >= size) return false;
    std::memcpy(out, rest_.data(), n);
    out[n] = 0;
    rest_.remove_prefix(n);
    return true;
}

int NumberScanner::reals(double* values, int n, char separator) {
    int read = 0;
    for (; read < n; ++read) {
        if (read > 0 && separator != ' ' && !literal(separator)) break;
        if (!real(values[read])) break;
    }
    return read;
}

} // namespace geometry::projections
