// Splitting URLs after the service keys were put in place of their placeholders.
#include "services/internet/internet.h"

#include "platform/base/ascii.h"
#include "platform/internet/internet.h"
#include "platform/internet/url.h"

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
    const std::optional<platform::internet::UrlParts> parts = platform::internet::splitUrl(withKeys(url));
    if (!parts || !fits(lpszUserName, parts->user) || !fits(lpszPassword, parts->password)) {
        clear();
        return 0;
    }
    std::string extra = parts->query.empty() ? "" : "?" + parts->query;
    if (!parts->fragment.empty()) extra += "#" + parts->fragment;
    lpszScheme = strdup(parts->scheme.c_str());
    nScheme = platform::internet::schemeCode(parts->scheme);
    lpszHostName = strdup(parts->host.c_str());
    nPort = static_cast<std::uint16_t>(parts->portOrDefault);
    lpszUrlPath = strdup(parts->path.c_str());
    lpszExtraInfo = strdup(extra.c_str());
    return 1;
}
