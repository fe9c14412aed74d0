// Dates read from text, and durations written as text.
#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

namespace {

struct Date {
    int day = 0, month = 0, year = 0;
};

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int month, int year) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// The number that ends `text` (its digits are taken off the view); false when there is none.
bool takeTrailingNumber(std::string_view& text, int& value, size_t& digits) {
    size_t start = text.size();
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9')
        --start;
    digits = text.size() - start;
    if (digits == 0) return false;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    text.remove_suffix(digits);
    return result.ec == std::errc();
}

// "day/month/year" read from the end; the missing parts are the start or the end of the period.
bool parseDate(std::string_view text, bool endOfPeriod, Date& date) {
    size_t digits = 0;
    if (!takeTrailingNumber(text, date.year, digits)) return false;
    if (digits <= 2) date.year += date.year <= 50 ? 2000 : 1900;
    date.month = endOfPeriod ? 12 : 1;
    date.day = endOfPeriod ? 31 : 1;
    if (!text.empty() && text.back() == '/') {
        text.remove_suffix(1);
        if (!takeTrailingNumber(text, date.month, digits)) return false;
        if (!text.empty() && text.back() == '/') {
            text.remove_suffix(1);
            if (!takeTrailingNumber(text, date.day, digits)) return false;
        }
    }
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
    // A day past the month's end is lowered to its last day (28 at the least).
    if (date.day > daysInMonth(date.month, date.year)) date.day = daysInMonth(date.month, date.year);
    return true;
}

char timeSpaceBuffer[48];

} // namespace

char* STR::StrDate(const char* text, int endOfPeriod, long long* time) {
    char* out = str_detail::resultBuffer(40);
    if (!out) return nullptr;
    *out = 0;
    if (!text) return out;
    std::string_view view(text);
    while (!view.empty() && str_detail::isBlank(view.front()))
        view.remove_prefix(1);
    while (!view.empty() && str_detail::isBlank(view.back()))
        view.remove_suffix(1);
    if (view.empty()) return out;

    std::tm when{};
    if (view == "*") {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &when);
        if (time) *time = now;
    } else {
        Date date;
        if (!parseDate(view, endOfPeriod != 0, date)) return out;
        when.tm_mday = date.day;
        when.tm_mon = date.month - 1;
        when.tm_year = date.year - 1900;
        when.tm_isdst = -1;
        std::tm normalised = when;
        const std::time_t value = std::mktime(&normalised);
        if (time) *time = value;
    }
    std::snprintf(out, 40, "%02d/%02d/%04d", when.tm_mday, when.tm_mon + 1, when.tm_year + 1900);
    return out;
}

char* STR::TimeSpace(int seconds) {
    const int hours = seconds / 3600;
    const int minutes = seconds % 3600 / 60;
    char* out = timeSpaceBuffer;
    size_t room = sizeof timeSpaceBuffer;
    auto append = [&](const char* format, int value) {
        const int written = std::snprintf(out, room, format, value);
        out += written;
        room -= static_cast<size_t>(written);
    };
    if (hours != 0) append("%dh ", hours);
    if (minutes != 0) append("%dm ", minutes);
    append("%dsec", seconds % 60);
    return timeSpaceBuffer;
}
