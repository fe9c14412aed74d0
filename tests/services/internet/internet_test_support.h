#pragma once
// The HTTP client's tests: settings of their own ("GMAPS.ini" in a test install folder), the test server,
// and the bytes it serves.
#include "services/internet/internet.h"
#include "tests/services/internet/test_server.h"

#include "platform/internet/internet.h"
#include "platform/system/global_memory.h"
#include "tests/services/settings_fixture.h"

#include <string>

namespace internet_testing {

class InternetTest : public SettingsTest {
protected:
    void TearDown() override {
        platform::internet::setCredentialsHandler({});
        std::filesystem::remove(installFile("GMAPS.ini"));
        CInternet::InitInternetVar(1);
        SettingsTest::TearDown();
    }

    // The install folder's "GMAPS.ini" holds `content`; the statics are read again.
    void writeSetting(const std::string& content) {
        testing_support::writeFile(installFile("GMAPS.ini"), content);
        CInternet::InitInternetVar(1);
    }
};

// The bytes of /bytes/N.
inline std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 256);
    return bytes;
}

// The block's bytes, the block freed; "<null>" for no block.
inline std::string text(platform::HGLOBAL block) {
    if (!block) return "<null>";
    std::string bytes(static_cast<const char*>(platform::GlobalLock(block)), platform::GlobalSize(block));
    platform::GlobalFree(block);
    return bytes;
}

// The body of a GET of `path`, and the header query.
inline std::string get(CInternet& client, const char* path, int headerQuery = 0) {
    return text(client.Request(path, nullptr, nullptr, 0, nullptr, headerQuery));
}

// The body of a POST of `path`, with `body` when given.
inline std::string post(CInternet& client, const char* path, const char* body = nullptr, int length = 0) {
    return text(client.Request(path, "POST", body, length, nullptr, 0));
}

} // namespace internet_testing
