#pragma once
// URLs split by libcurl's parser, which the HTTP client itself follows: any scheme is accepted, a missing
// part is "", a host named by an IPv6 address keeps its brackets.
#include <optional>
#include <string>

namespace platform::internet {

struct UrlParts {
    std::string scheme;
    std::string user;
    std::string password;
    std::string host;
    unsigned port = 0;          // as written; 0: none named
    unsigned portOrDefault = 0; // the port named, else the scheme's own; 0 for a scheme libcurl does not know
    std::string path;
    std::string query;
    std::string fragment;
};

// The parts of `url`; nullopt for what is no URL, and when libcurl cannot be loaded (the last response text
// then says why).
std::optional<UrlParts> splitUrl(const std::string& url);

} // namespace platform::internet
