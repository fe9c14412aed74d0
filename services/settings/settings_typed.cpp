// Integers and reals over the text store. Numbers are read and written without the locale, so a French
// locale never turns the decimal point into a comma.
#include "services/settings/settings_store.h"
#include "services/settings/settings_store_internal.h"

#include "platform/base/ascii.h"

#include <charconv>
#include <string_view>

namespace {

constexpr int kTypedSize = 5000;

// The leading numeric part of a setting, as from_chars reads it (blanks and a "+" sign skipped).
template <typename Number> Number leadingNumber(std::string_view text) {
    while (!text.empty() && platform::isBlank(text.front()))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    Number value{};
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return Number{};
    return value;
}

template <typename Number>
int readNumber(const char* file, const char* section, const char* letters, const char* key, Number* out) {
    if (!out) return -1;
    char text[kTypedSize];
    const int result = settings::readSetting(file, section, letters, key, text, kTypedSize);
    *out = result > 0 ? leadingNumber<Number>(std::string_view(text, static_cast<size_t>(result))) : Number{};
    return result;
}

template <typename Number>
int writeNumber(const char* file, const char* section, const char* letters, const char* key,
                const Number* value) {
    if (!value) return -1;
    char text[64];
    std::to_chars_result written;
    if constexpr (std::is_floating_point_v<Number>)
        written = std::to_chars(text, text + sizeof text - 1, *value, std::chars_format::general, 16);
    else
        written = std::to_chars(text, text + sizeof text - 1, *value);
    if (written.ec != std::errc()) return -1;
    *written.ptr = 0;
    return sets_ini(file, section, letters, key, text);
}

} // namespace

int geti_ini(const char* file, const char* section, const char* letters, const char* key, int* out) {
    return readNumber(file, section, letters, key, out);
}

int getr_ini(const char* file, const char* section, const char* letters, const char* key, double* out) {
    return readNumber(file, section, letters, key, out);
}

int seti_ini(const char* file, const char* section, const char* letters, const char* key, const int* value) {
    return writeNumber(file, section, letters, key, value);
}

int setr_ini(const char* file, const char* section, const char* letters, const char* key,
             const double* value) {
    return writeNumber(file, section, letters, key, value);
}
