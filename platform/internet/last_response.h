#pragma once
// This thread's text of the last answer or error, which lastResponseText() reads: each call of the folder
// that ends a request, or fails for want of libcurl, writes it.
#include <string>

namespace platform::internet {

void setLastResponseText(std::string text);

} // namespace platform::internet
