// URL splitting through libcurl's URL handle.
#include "platform/internet/url.h"

#include "platform/internet/curl_library.h"
#include "platform/internet/last_response.h"

#include <charconv>

namespace platform::internet {

namespace {

// One part of the parsed URL; "" when it has none.
std::string part(const CurlFunctions& curl, CURLU* url, CURLUPart which, unsigned flags = 0) {
    char* text = nullptr;
    if (curl.url_get(url, which, &text, flags) != CURLUE_OK || !text) return {};
    std::string value(text);
    curl.free(text);
    return value;
}

unsigned number(const std::string& digits) {
    unsigned value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

} // namespace

std::optional<UrlParts> splitUrl(const std::string& url) {
    const CurlFunctions* curl = curlLibrary();
    if (!curl) {
        setLastResponseText(curlMissingText());
        return std::nullopt;
    }
    CURLU* parsed = curl->url();
    if (!parsed) return std::nullopt;
    std::optional<UrlParts> parts;
    if (curl->url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) {
        parts.emplace();
        parts->scheme = part(*curl, parsed, CURLUPART_SCHEME);
        parts->user = part(*curl, parsed, CURLUPART_USER);
        parts->password = part(*curl, parsed, CURLUPART_PASSWORD);
        parts->host = part(*curl, parsed, CURLUPART_HOST);
        parts->port = number(part(*curl, parsed, CURLUPART_PORT));
        parts->portOrDefault = number(part(*curl, parsed, CURLUPART_PORT, CURLU_DEFAULT_PORT));
        parts->path = part(*curl, parsed, CURLUPART_PATH);
        parts->query = part(*curl, parsed, CURLUPART_QUERY);
        parts->fragment = part(*curl, parsed, CURLUPART_FRAGMENT);
    }
    curl->url_cleanup(parsed);
    return parts;
}

} // namespace platform::internet
