#include "cadutil/command_line/distance_input.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "cadutil/command_line/coordinates.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/input/prompts.h"
#include "services/str/str.h"

namespace {

double withSign(double value, int sign) {
    return sign == 0 ? value : sign * std::fabs(value);
}

// The whole text as a number, or false.
bool readNumber(const ACHAR* typed, double& value) {
    char text[256];
    const std::size_t length = std::wcslen(typed);
    if (length == 0 || length >= sizeof text) return false;
    wideToStr(text, typed);
    if (STR::Num(text, 0) != static_cast<int>(length)) return false;
    const char* begin = text[0] == '+' ? text + 1 : text;
    const auto [end, ec] = std::from_chars(begin, text + length, value);
    return ec == std::errc() && end == text + length;
}

} // namespace

double askDistance(double defaultValue, const char* label, const char* keywords, char* text) {
    double value = defaultValue;
    int sign = 0;
    for (;;) {
        char prompt[512];
        if (label)
            std::snprintf(prompt, sizeof prompt, " %s <%10.4f> ?", label, withSign(value, sign));
        else
            std::snprintf(prompt, sizeof prompt, " Distance <%10.4f> ?", withSign(value, sign));
        acedInitGet(RSG_OTHER, keywords ? codePageToWide(keywords).c_str() : nullptr);
        ads_point first;
        const int rc = getWorldPoint(nullptr, prompt, first);
        if (rc == RTNONE) return withSign(value, sign);
        if (rc == RTNORM) {
            ads_point second;
            if (getWorldPoint(first, " Fin Distance ?", second) != RTNORM) return defaultValue;
            wcsToUcs(first, first);
            wcsToUcs(second, second);
            const double distance = std::hypot(second[0] - first[0], second[1] - first[1]);
            return sign < 0 ? -distance : distance;
        }
        if (rc != RTKWORD) return defaultValue;
        ACHAR typed[256] = {};
        if (acedGetInput(typed, 256) != RTNORM) return defaultValue;
        if (std::wcscmp(typed, L"-") == 0 || std::wcscmp(typed, L"+") == 0) {
            sign = typed[0] == L'-' ? -1 : 1;
            continue;
        }
        double number = 0;
        if (readNumber(typed, number)) return number;
        if (text) wideToStr(text, typed);
        return withSign(value, sign);
    }
}
