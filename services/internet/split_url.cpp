// Splitting URLs after the service keys were put in place of their placeholders.
#include "services/internet/internet.h"

#include "platform/base/ascii.h"
#include "platform/internet/internet.h"

#include <curl/curl.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// The URL with "{GMapKey}" and "{IgnKey}" (case ignored) replaced by the keys; other braces are kept.
std::string withKeys(std::string_view url) {
    CInternet::InitInternetVar(0);
    constexpr std::string_view kMapsPlaceholder = "{GMapKey}";
    constexpr std::string_view kIgnPlaceholder = "{IgnKey}";
    std::string out;
    for (std::size_t i = 0; i < url.size();) {
        const std::string_view rest = url.substr(i);
        if (platform::sameNoCase(rest.substr(0, kMapsPlaceholder.size()), kMapsPlaceholder)) {
            out += CInternet::g_GMapsKey;
            i += kMapsPlaceholder.size();
        } else if (platform::sameNoCase(rest.substr(0, kIgnPlaceholder.size()), kIgnPlaceholder)) {
            out += CInternet::g_IgnKey;
            i += kIgnPlaceholder.size();
        } else {
            out += url[i++];
        }
    }
    return out;
}

// One part of the parsed URL; "" when it has none.
std::string part(CURLU* url, CURLUPart which, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, flags) != CURLUE_OK || !text) return {};
    std::string value(text);
    curl_free(text);
    return value;
}

char* copied(const char* text) {
    return text ? strdup(text) : nullptr;
}

template <std::size_t N> bool fits(char (&field)[N], const std::string& text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

CInternet::CSPlitURL::CSPlitURL(const char* url) {
    if (url) SPlit(url);
}

CInternet::CSPlitURL::CSPlitURL(const CSPlitURL& other) {
    copyFrom(other);
}

CInternet::CSPlitURL& CInternet::CSPlitURL::operator=(const CSPlitURL& other) {
    if (this != &other) {
        clear();
        copyFrom(other);
    }
    return *this;
}

CInternet::CSPlitURL::~CSPlitURL() {
    clear();
}

void CInternet::CSPlitURL::clear() {
    std::free(lpszScheme);
    std::free(lpszHostName);
    std::free(lpszUrlPath);
    std::free(lpszExtraInfo);
    lpszScheme = lpszHostName = lpszUrlPath = lpszExtraInfo = nullptr;
    nScheme = 0;
    nPort = 0;
    lpszUserName[0] = 0;
    lpszPassword[0] = 0;
}

void CInternet::CSPlitURL::copyFrom(const CSPlitURL& other) {
    lpszScheme = copied(other.lpszScheme);
    nScheme = other.nScheme;
    lpszHostName = copied(other.lpszHostName);
    nPort = other.nPort;
    std::memcpy(lpszUserName, other.lpszUserName, sizeof lpszUserName);
    std::memcpy(lpszPassword, other.lpszPassword, sizeof lpszPassword);
    lpszUrlPath = copied(other.lpszUrlPath);
    lpszExtraInfo = copied(other.lpszExtraInfo);
}

int CInternet::CSPlitURL::SPlit(const char* url) {
    clear();
    if (!url || !*url) return 0;
    const std::string full = withKeys(url);
    CURLU* parsed = curl_url();
    if (!parsed) return 0;
    bool split = curl_url_set(parsed, CURLUPART_URL, full.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK;
    if (split) {
        const std::string scheme = part(parsed, CURLUPART_SCHEME);
        const std::string port = part(parsed, CURLUPART_PORT, CURLU_DEFAULT_PORT);
        const std::string query = part(parsed, CURLUPART_QUERY);
        const std::string fragment = part(parsed, CURLUPART_FRAGMENT);
        std::string extra = query.empty() ? "" : "?" + query;
        if (!fragment.empty()) extra += "#" + fragment;
        split = fits(lpszUserName, part(parsed, CURLUPART_USER)) &&
                fits(lpszPassword, part(parsed, CURLUPART_PASSWORD));
        lpszScheme = strdup(scheme.c_str());
        nScheme = platform::internet::schemeCode(scheme);
        lpszHostName = strdup(part(parsed, CURLUPART_HOST).c_str());
        std::uint16_t number = 0;
        std::from_chars(port.data(), port.data() + port.size(), number);
        nPort = number;
        lpszUrlPath = strdup(part(parsed, CURLUPART_PATH).c_str());
        lpszExtraInfo = strdup(extra.c_str());
    }
    curl_url_cleanup(parsed);
    if (!split) clear();
    return split ? 1 : 0;
}
