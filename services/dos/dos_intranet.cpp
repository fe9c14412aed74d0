// The trust zone of intranet hosts, so that help and map pages served by them open without warnings.
#include "services/dos/dos.h"
#include "services/settings/settings_store_internal.h"

#include "platform/settings/registry.h"

#include <cstdio>
#include <string>

namespace registry = platform::registry;

namespace {

constexpr const char* kDomainsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
constexpr const char* kLockdownKey =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_LOCALMACHINE_LOCKDOWN";
// The zone of the local intranet.
constexpr uint32_t kIntranetZone = 2;

// Makes the host's key under the domains key; whether it was made.
bool addHost(const std::string& host) {
    if (host.find('\\') != std::string::npos) return false; // a name, not a path of keys
    const std::string key = std::string(kDomainsKey) + "\\" + host;
    if (registry::keyExists(registry::Hive::CurrentUser, key)) return false;
    return registry::setValue(registry::Hive::CurrentUser, key, "*", registry::Value::dword(kIntranetZone));
}

} // namespace

int DOS::UpdateIntranet(const char* host) {
    if (!registry::keyExists(registry::Hive::CurrentUser, kDomainsKey)) return 0;
    if (registry::keyExists(registry::Hive::CurrentUser, kLockdownKey))
        registry::setValue(registry::Hive::CurrentUser, kLockdownKey, "iexplore.exe",
                           registry::Value::dword(0));
    if (host) return host[0] && addHost(host) ? 1 : 0;
    int made = 0;
    for (int n = 1; n <= 19; ++n) {
        char key[3];
        std::snprintf(key, sizeof key, "%02d", n);
        char value[256] = "";
        if (settings::readSetting("GMAPS", "INTRANET", "LR", key, value, sizeof value) < 3) continue;
        if (addHost(value)) ++made;
    }
    return made;
}
