#include "cadutil/command_line/prompt_defaults.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

#include "cadutil/command_line/coordinates.h"
#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/input/prompts.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

int g_smoothLinesAnswer = 7;

namespace {

// Whether `format` holds exactly one conversion, of one of `kinds`, and no other "%" than "%%".
bool oneConversion(const char* format, const char* kinds) {
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        if (*++p == '%') continue;
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.')
            for (++p; *p >= '0' && *p <= '9'; ++p) {
            }
        if (*p == 'l') ++p;
        if (!*p || !std::strchr(kinds, *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

// The prompt with its default shown: "<value> :" after the prompt, or the prompt itself as the format.
template <typename T>
std::wstring withDefault(const char* prompt, const char* defaultFormat, const char* kinds, T value) {
    char text[2048];
    if (!prompt) {
        std::snprintf(text, sizeof text, (std::string(defaultFormat) + " :").c_str(), value);
    } else if (std::strchr(prompt, '%') && oneConversion(prompt, kinds)) {
        std::snprintf(text, sizeof text, prompt, value);
    } else {
        std::snprintf(text, sizeof text, (std::string("%s ") + defaultFormat + " :").c_str(), prompt, value);
    }
    return codePageToWide(text);
}

bool tracing() {
    return pvg && pvg->pvDeb == 768;
}

} // namespace

int getr_def(const char* prompt, double* value) {
    acedInitGet(0, nullptr);
    double answer = 0;
    int rc = acedGetReal(withDefault(prompt, "<%f>", "fFeEgG", *value).c_str(), &answer);
    if (rc == RTNORM) *value = answer;
    return rc;
}

int geti_def(const char* prompt, int* value) {
    acedInitGet(0, nullptr);
    int answer = 0;
    int rc = acedGetInt(withDefault(prompt, "<%d>", "di", *value).c_str(), &answer);
    if (rc == RTNORM) *value = answer;
    return rc;
}

int getIntOrKeyword(int defaultValue, const char* prompt, const char* keywords) {
    acedInitGet(RSG_NONEG, codePageToWide(keywords ? keywords : "").c_str());
    char text[2048];
    std::snprintf(text, sizeof text, "%s <%d> ", prompt ? prompt : "", defaultValue);
    int answer = 0;
    int rc = acedGetInt(codePageToWide(text).c_str(), &answer);
    if (rc == RTNORM) return answer;
    if (rc != RTKWORD) return defaultValue;
    ACHAR word[100];
    if (acedGetInput(word, 100) != RTNORM) return defaultValue;
    std::size_t end = std::wcslen(word), start = end;
    while (start > 0 && std::iswdigit(word[start - 1]))
        --start;
    int number = 0;
    for (std::size_t i = start; i < end && number < 100000000; ++i)
        number = number * 10 + (word[i] - L'0');
    return number;
}

int askSmoothLines() {
    int value = std::abs(g_smoothLinesAnswer);
    for (;;) {
        const char* shown = value == 6 ? " <Oui> :" : value == 7 ? " <Non> :" : ":";
        g_printHook("%s%s%s", "Lisser \xe9galement les Droites (Lissage complet) ", " (Oui,Non)", shown);
        acedInitGet(RSG_NONEG, L"Oui Non _ Yes No ");
        ACHAR answer[10];
        int rc = acedGetKword(nullptr, answer, 10);
        if (rc == RTNONE) {
            if (value == 6 || value == 7) return value;
            continue;
        }
        if (rc != RTNORM) return -value;
        wchar_t first = static_cast<wchar_t>(std::towupper(answer[0]));
        if (first == L'N') return 7;
        if (first == L'O' || first == L'Y') return 6;
    }
}

int getWorldPoint(const ads_point base, const char* prompt, ads_point result) {
    if (tracing()) mprintf("\nBeg getWorldPoint");
    ads_point userBase;
    if (base) wcsToUcs(base, userBase);
    int rc = acedGetPoint(base ? userBase : nullptr, codePageToWide(prompt ? prompt : "").c_str(), result);
    if (rc == RTNORM) ucsToWcsInPlace(result);
    if (tracing()) mprintf("\nEnd getWorldPoint:%d", rc);
    return rc;
}
