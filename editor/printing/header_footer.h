#pragma once
// The header and footer lines of printed pages, made from the page-setup templates.
#include <ctime>
#include <string>
#include <string_view>

// At most this many characters of a header or footer line are kept.
constexpr std::size_t kHeaderFooterLimit = 127;

// The first "&p" becomes the page number, the first "&f" the path, the first "&t" the title; then every
// strftime code of the template takes `time` in local time, in the code page whatever the locale's encoding.
// A "%" inside the path or title stays as it is.
std::string FormatHeaderFooter(std::string_view pattern, std::time_t time, std::string_view path,
                               std::string_view title, int page);
