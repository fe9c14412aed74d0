// The process-wide settings of the HTTP client, read from the file "GMAPS" of the settings store.
#include "services/internet/internet.h"
#include "services/settings/folders.h"
#include "services/settings/settings_store_internal.h"
#include "services/str/str.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Used when no IGNKEY is set.
constexpr char kBuiltInIgnKey[] = "brindole";

// The whole text of a setting, however long; "" when it is absent.
std::string readText(const char* section, const char* key, const char* letters) {
    std::string text(4096, '\0');
    for (;;) {
        const int length =
            settings::readSetting("GMAPS", section, letters, key, text.data(), static_cast<int>(text.size()));
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) + 1 < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// Replaces a heap text of the statics.
void replace(char*& slot, const std::string& text) {
    std::free(slot);
    slot = strdup(text.c_str());
}

} // namespace

unsigned long CInternet::g_Timeout = 0;
char* CInternet::g_ProxyName = nullptr;
char* CInternet::g_MapImagesDir = nullptr;
char* CInternet::g_GMapsKey = nullptr;
char* CInternet::g_IgnKey = nullptr;

int CInternet::InitInternetVar(int reload) {
    if (!reload && g_MapImagesDir) return 1;

    const std::string timeout = readText("INTERNET", "TIMEOUT", "LR");
    unsigned long milliseconds = 0;
    if (timeout.size() <= 2 ||
        std::from_chars(timeout.data(), timeout.data() + timeout.size(), milliseconds).ec != std::errc())
        milliseconds = 0;
    g_Timeout = milliseconds;

    std::string proxy = readText("INTERNET", "PROXYNAME", "LR");
    STR::Espace_reduit(proxy.data());
    proxy.resize(std::strlen(proxy.c_str()));
    if (proxy.size() <= 2) proxy = readText("GMAPS", "PROXYNAME", "LR");
    if (proxy.size() > 2) replace(g_ProxyName, proxy);

    std::string images = readText("GMAPS", "IMGDIR", "lr");
    images.resize(images.size() + 2);
    directory(images.data(), 1, images.size());
    STR::Espace(images.data());
    images.resize(std::strlen(images.c_str()));
    replace(g_MapImagesDir, images.size() >= 6 ? images : "*");

    const std::string mapsKey = readText("GMAPS", "GMAPKEY", "LR");
    replace(g_GMapsKey, mapsKey.size() >= 3 ? mapsKey : "*");
    const std::string ignKey = readText("GEOPORTAIL", "IGNKEY", "LR");
    replace(g_IgnKey, ignKey.size() >= 3 ? ignKey : kBuiltInIgnKey);
    return 1;
}

unsigned long CInternet::GetTimeout() {
    InitInternetVar(0);
    return g_Timeout;
}

const char* CInternet::GetMapsKey() {
    InitInternetVar(0);
    return g_GMapsKey;
}

const char* CInternet::GetIgnKey() {
    InitInternetVar(0);
    return g_IgnKey;
}
