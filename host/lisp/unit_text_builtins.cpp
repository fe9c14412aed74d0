// Lengths and angles as text in the CAD program's units, and back: RTOS and DISTOF (1 scientific, 2 decimal,
// 3 engineering, 4 architectural, 5 fractional; LUNITS and LUPREC by default), ANGTOS and ANGTOF (0 degrees,
// 1 degrees/minutes/seconds, 2 grads, 3 radians, 4 surveyor's bearings; AUNITS and AUPREC by default).
// Numbers are written and read without the locale; angles start east and turn counter-clockwise.
#include <charconv>
#include <cmath>
#include <cwctype>
#include <optional>

#include "host/db/system_variables.h"
#include "host/filing/text_codec.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_builtins.h"

namespace host {

namespace {

int variableOr(const wchar_t* name, int fallback) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM || rb.restype != RTSHORT) return fallback;
    return rb.resval.rint;
}

// A mode or a precision: the integer given, else (none, or nil) the system variable's.
int integerOrVariable(const std::optional<LispValue>& given, const wchar_t* variable, int fallback) {
    return given && !given->isNil() ? integerArgument(*given) : variableOr(variable, fallback);
}

// A precision of RTOS and ANGTOS, given or from the system variable.
int precision(const std::optional<LispValue>& given, const wchar_t* variable, int fallback) {
    const int places = integerOrVariable(given, variable, fallback);
    if (places < 0 || places > 16) badArgument("précision", LispValue::fromInteger(places));
    return places;
}

std::wstring fixed(double v, int places) {
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, places);
    return ec == std::errc() ? fromUtf8(std::string_view(buffer, static_cast<std::size_t>(end - buffer)))
                             : L"";
}

// 1.2345E+03.
std::wstring scientific(double v, int places) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, places);
    std::string s(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    std::size_t e = s.find('e');
    if (e != std::string::npos) s[e] = 'E';
    return fromUtf8(s);
}

// 10 1/2: whole part and the fraction to 1/2^places, reduced.
std::wstring fraction(double v, int places) {
    long long denominator = 1LL << std::min(places, 8);
    long long units = std::llround(v * static_cast<double>(denominator));
    long long whole = units / denominator, numerator = units % denominator;
    if (numerator == 0) return std::to_wstring(whole);
    while (numerator % 2 == 0) {
        numerator /= 2;
        denominator /= 2;
    }
    std::wstring f = std::to_wstring(numerator) + L"/" + std::to_wstring(denominator);
    return whole ? std::to_wstring(whole) + L" " + f : f;
}

std::wstring feetAndInches(double inches, int places, bool architectural) {
    double rounded = architectural
                         ? std::round(inches * (1 << std::min(places, 8))) / (1 << std::min(places, 8))
                         : std::round(inches * std::pow(10.0, places)) / std::pow(10.0, places);
    auto feet = static_cast<long long>(std::floor(rounded / 12));
    double rest = rounded - 12.0 * static_cast<double>(feet);
    std::wstring in = architectural ? fraction(rest, places) : fixed(rest, places);
    return std::to_wstring(feet) + L"'-" + in + L"\"";
}

LispValue rtos(double v, std::optional<LispValue> modeGiven, std::optional<LispValue> placesGiven) {
    const int mode = integerOrVariable(modeGiven, L"LUNITS", 2);
    const int places = precision(placesGiven, L"LUPREC", 4);
    std::wstring sign = v < 0 ? L"-" : L"";
    double m = std::fabs(v);
    switch (mode) {
    case 1:
        return LispValue::fromString(scientific(v, places));
    case 2:
        return LispValue::fromString(fixed(v, places));
    case 3:
        return LispValue::fromString(sign + feetAndInches(m, places, false));
    case 4:
        return LispValue::fromString(sign + feetAndInches(m, places, true));
    case 5:
        return LispValue::fromString(sign + fraction(m, places));
    default:
        badArgument("mode d'unités", LispValue::fromInteger(mode));
    }
}

// A number at the start of `text` (from `pos`), which moves past it.
std::optional<double> numberAt(const std::wstring& text, std::size_t& pos) {
    std::size_t end = pos;
    while (end < text.size() && (std::iswdigit(text[end]) || text[end] == L'.' || text[end] == L'-' ||
                                 text[end] == L'+' || text[end] == L'E' || text[end] == L'e'))
        ++end;
    for (std::size_t stop = end; stop > pos; --stop) {
        double v;
        if (parseReal(std::wstring_view(text).substr(pos, stop - pos), v)) {
            pos = stop;
            return v;
        }
    }
    return std::nullopt;
}

// "10", "10.5", "10 1/2", "1/2".
std::optional<double> fractionalAt(const std::wstring& text, std::size_t& pos) {
    std::optional<double> whole = numberAt(text, pos);
    if (!whole) return std::nullopt;
    if (pos < text.size() && text[pos] == L'/') {
        ++pos;
        std::optional<double> d = numberAt(text, pos);
        if (!d || *d == 0) return std::nullopt;
        return *whole / *d;
    }
    if (pos + 1 < text.size() && text[pos] == L' ' && std::iswdigit(text[pos + 1])) {
        std::size_t at = pos + 1;
        std::optional<double> n = numberAt(text, at);
        if (n && at < text.size() && text[at] == L'/') {
            ++at;
            std::optional<double> d = numberAt(text, at);
            if (!d || *d == 0) return std::nullopt;
            pos = at;
            return *whole + std::copysign(*n / *d, *whole);
        }
    }
    return whole;
}

// Any of the forms RTOS writes: 1234.5, 1.2345E+03, 102'-10.5", 102'-10 1/2", 1234 1/2, 10".
std::optional<double> parseLength(std::wstring text) {
    text = trim(text);
    bool negative = !text.empty() && text[0] == L'-';
    if (negative) text.erase(0, 1);
    std::size_t pos = 0;
    std::optional<double> first = fractionalAt(text, pos);
    if (!first) return std::nullopt;
    double value = *first;
    if (pos < text.size() && text[pos] == L'\'') {
        value *= 12;
        ++pos;
        if (pos < text.size() && text[pos] == L'-') ++pos;
        if (pos < text.size()) {
            std::optional<double> inches = fractionalAt(text, pos);
            if (!inches) return std::nullopt;
            value += *inches;
            if (pos < text.size() && text[pos] == L'"') ++pos;
        }
    } else if (pos < text.size() && text[pos] == L'"') {
        ++pos;
    }
    if (pos != text.size()) return std::nullopt;
    return negative ? -value : value;
}

// (DISTOF text [mode]): the mode, when given, is an integer; every form is read whatever it says.
LispValue distof(const std::wstring& text, std::optional<LispValue> mode) {
    if (mode && !mode->isNil()) integerArgument(*mode);
    std::optional<double> v = parseLength(text);
    return v ? LispValue::fromReal(*v) : LispValue::nil();
}

constexpr double kTwoPi = 2 * M_PI;

double normalized(double angle) {
    angle = std::fmod(angle, kTwoPi);
    return angle < 0 ? angle + kTwoPi : angle;
}

// 45d30'15": degrees, then minutes from precision 1 or 2, seconds from 3 or 4, their decimals beyond.
std::wstring degreesMinutesSeconds(double degrees, int places) {
    int fields = places <= 0 ? 1 : places <= 2 ? 2 : 3;
    int decimals = places > 4 ? places - 4 : 0;
    double unit = fields == 1 ? 1.0 : fields == 2 ? 1.0 / 60 : 1.0 / 3600;
    double steps = std::pow(10.0, decimals);
    double total = std::round(degrees / unit * steps) / steps; // in the last field's unit
    if (fields == 1) return std::to_wstring(std::llround(total)) + L"d";
    auto perDegree = static_cast<long long>(std::llround(1 / unit));
    auto whole = static_cast<long long>(std::floor(total + 1e-9));
    long long d = whole / perDegree;
    double rest = total - static_cast<double>(d * perDegree);
    if (fields == 2) return std::to_wstring(d) + L"d" + std::to_wstring(std::llround(rest)) + L"'";
    auto m = static_cast<long long>(std::floor(rest / 60 + 1e-9));
    double s = rest - 60.0 * static_cast<double>(m);
    return std::to_wstring(d) + L"d" + std::to_wstring(m) + L"'" + fixed(s, decimals) + L"\"";
}

std::wstring bearing(double angle, int places) {
    double degrees = angle * 180 / M_PI;
    const double kEdge = 1e-9;
    if (std::fabs(degrees) < kEdge || std::fabs(degrees - 360) < kEdge) return L"E";
    if (std::fabs(degrees - 90) < kEdge) return L"N";
    if (std::fabs(degrees - 180) < kEdge) return L"W";
    if (std::fabs(degrees - 270) < kEdge) return L"S";
    if (degrees < 90) return L"N " + degreesMinutesSeconds(90 - degrees, places) + L" E";
    if (degrees < 180) return L"N " + degreesMinutesSeconds(degrees - 90, places) + L" W";
    if (degrees < 270) return L"S " + degreesMinutesSeconds(270 - degrees, places) + L" W";
    return L"S " + degreesMinutesSeconds(degrees - 270, places) + L" E";
}

LispValue angtos(double radians, std::optional<LispValue> modeGiven, std::optional<LispValue> placesGiven) {
    const double angle = normalized(radians);
    const int mode = integerOrVariable(modeGiven, L"AUNITS", 0);
    const int places = precision(placesGiven, L"AUPREC", 0);
    switch (mode) {
    case 0:
        return LispValue::fromString(fixed(angle * 180 / M_PI, places));
    case 1:
        return LispValue::fromString(degreesMinutesSeconds(angle * 180 / M_PI, places));
    case 2:
        return LispValue::fromString(fixed(angle * 200 / M_PI, places) + L"g");
    case 3:
        return LispValue::fromString(fixed(angle, places) + L"r");
    case 4:
        return LispValue::fromString(bearing(angle, places));
    default:
        badArgument("mode d'angle", LispValue::fromInteger(mode));
    }
}

// 45.5, 45d30'15", 50g, 0.7854r: degrees unless marked.
std::optional<double> parseAngleDegrees(const std::wstring& text) {
    std::size_t pos = 0;
    std::optional<double> first = numberAt(text, pos);
    if (!first) return std::nullopt;
    if (pos == text.size()) return *first;
    if (text[pos] == L'g' && pos + 1 == text.size()) return *first * 0.9;
    if (text[pos] == L'r' && pos + 1 == text.size()) return *first * 180 / M_PI;
    if (text[pos] != L'd' && text[pos] != L'D' && text[pos] != L'\xB0') return std::nullopt;
    double degrees = *first;
    ++pos;
    for (auto [mark, unit] : {std::pair{L'\'', 60.0}, std::pair{L'"', 3600.0}}) {
        if (pos == text.size()) break;
        std::optional<double> part = numberAt(text, pos);
        if (!part || pos == text.size() || text[pos] != mark) return std::nullopt;
        degrees += *part / unit;
        ++pos;
    }
    return pos == text.size() ? std::optional(degrees) : std::nullopt;
}

// (ANGTOF text [mode]): as DISTOF, every form is read whatever the mode says.
LispValue angtof(const std::wstring& given, std::optional<LispValue> mode) {
    if (mode && !mode->isNil()) integerArgument(*mode);
    std::wstring text = trim(given);
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c) == L'D' ? L'd' : c);
    // A bearing: N/S, an angle, E/W; or one of the four quarters alone.
    struct Quarter {
        const wchar_t* name;
        double degrees;
    };
    for (Quarter q : {Quarter{L"E", 0}, Quarter{L"N", 90}, Quarter{L"W", 180}, Quarter{L"S", 270}})
        if (text == q.name) return LispValue::fromReal(q.degrees * M_PI / 180);
    std::optional<double> degrees;
    if (text.size() > 4 && (text[0] == L'N' || text[0] == L'S') &&
        (text.back() == L'E' || text.back() == L'W')) {
        std::optional<double> off = parseAngleDegrees(trim(text.substr(1, text.size() - 2)));
        if (!off) return LispValue::nil();
        bool north = text[0] == L'N', east = text.back() == L'E';
        degrees = north ? (east ? 90 - *off : 90 + *off) : (east ? 270 + *off : 270 - *off);
    } else {
        degrees = parseAngleDegrees(text);
    }
    return degrees ? LispValue::fromReal(normalized(*degrees * M_PI / 180)) : LispValue::nil();
}

} // namespace

const LispBuiltinTable& unitTextBuiltins() {
    static const LispBuiltinTable table = {
        {L"RTOS", lispFunction(rtos)},
        {L"DISTOF", lispFunction(distof)},
        {L"ANGTOS", lispFunction(angtos)},
        {L"ANGTOF", lispFunction(angtof)},
    };
    return table;
}

} // namespace host
