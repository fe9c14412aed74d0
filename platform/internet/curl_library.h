#pragma once
// libcurl, opened by name at its first use rather than linked: it and its TLS stack cost every program that
// loads the library several milliseconds at start, though only the map services ever use them. curl.h is
// included for its types and constants only; its functions are called through this table, so a stray direct
// call fails to link. Only the files of this folder include this header.
#include <curl/curl.h>

#include <string>

namespace platform::internet {

struct CurlFunctions {
    decltype(&curl_global_init) global_init;
    decltype(&curl_global_cleanup) global_cleanup;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_reset) easy_reset;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_perform) easy_perform;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
    decltype(&curl_url) url;
    decltype(&curl_url_set) url_set;
    decltype(&curl_url_get) url_get;
    decltype(&curl_url_cleanup) url_cleanup;
    decltype(&curl_free) free;
};

// The functions, opened, resolved and set up once (thread-safe); null when libcurl.so.4, one of its
// functions or its set-up is missing, and then curlMissingText() says which.
const CurlFunctions* curlLibrary();
const std::string& curlMissingText();

} // namespace platform::internet
