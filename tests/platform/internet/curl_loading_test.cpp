// libcurl stays out of the process until the HTTP client first needs it.
#include "platform/internet/url.h"

#include <gtest/gtest.h>

#include <link.h>

#include <string_view>

namespace {

bool curlLoaded() {
    bool found = false;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            if (std::string_view(info->dlpi_name).find("libcurl") != std::string_view::npos)
                *static_cast<bool*>(data) = true;
            return 0;
        },
        &found);
    return found;
}

TEST(CurlLoading, WaitsForTheFirstUse) {
    EXPECT_FALSE(curlLoaded());
    EXPECT_TRUE(platform::internet::splitUrl("http://h/"));
    EXPECT_TRUE(curlLoaded());
}

} // namespace
