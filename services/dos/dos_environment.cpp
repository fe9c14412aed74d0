// The machine's name, memory figures, and environment variables kept in the registry.
#include "services/dos/dos.h"
#include "services/dos/dos_environment_keys.h"
#include "services/dos/dos_state.h"

#include "platform/base/ascii.h"
#include "platform/settings/registry.h"
#include "platform/system/memory_figures.h"
#include "platform/windows/message_bus.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace registry = platform::registry;

namespace {

constexpr size_t kEnvironmentValueLimit = 10000;
constexpr int kAnnounceTimeoutMs = 10;

char computerName[100];

int inThousands(std::uint64_t bytes) {
    return static_cast<int>(std::min<std::uint64_t>(bytes / 1000, INT_MAX));
}

// PATH, TEMP and TMP hold folders that other variables may make up ("%SystemRoot%\..."): they are stored as
// expandable strings.
bool isExpandable(std::string_view name) {
    return platform::sameNoCase(name, "path") || platform::sameNoCase(name, "temp") ||
           platform::sameNoCase(name, "tmp");
}

void announceEnvironmentChange() {
    platform::broadcastMessage({0, platform::WM_SETTINGCHANGE, 0, 0, "Environment"}, kAnnounceTimeoutMs);
}

} // namespace

const char* const services::kMachineEnvironmentKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char* const services::kUserEnvironmentKey = "Environment";

char* DOS::ComputerName() {
    if (gethostname(computerName, sizeof computerName) != 0) computerName[0] = 0;
    computerName[sizeof computerName - 1] = 0;
    return computerName;
}

char* DOS::GetEnv(const char* name, int flags) {
    if (!name || !*name) return nullptr;
    const registry::Hive hive = (flags & 1) ? registry::Hive::LocalMachine : registry::Hive::CurrentUser;
    const char* key = (flags & 1) ? services::kMachineEnvironmentKey : services::kUserEnvironmentKey;
    if (!registry::keyExists(hive, key)) return nullptr;
    const std::optional<registry::Value> value = registry::queryValue(hive, key, name);
    if (!value || value->type == registry::ValueType::Dword) return services::sharedDosText("");
    return services::sharedDosText(std::string_view(value->text).substr(0, kEnvironmentValueLimit - 1));
}

// Every top-level window then hears that the environment changed; a hung one is passed after 10 ms.
int DOS::SetEnv(const char* name, const char* value, int flags) {
    if (!name || !*name) return 0;
    const registry::Hive hive = (flags & 1) ? registry::Hive::LocalMachine : registry::Hive::CurrentUser;
    const char* key = (flags & 1) ? services::kMachineEnvironmentKey : services::kUserEnvironmentKey;
    if (flags & 2) {
        if (value && *value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    if (!value || !*value) {
        const bool deleted = registry::deleteValue(hive, key, name);
        announceEnvironmentChange();
        return deleted ? 1 : 0;
    }
    registry::Value stored = registry::Value::string(value);
    if (isExpandable(name)) {
        stored.type = registry::ValueType::ExpandString;
    } else if (const std::optional<registry::Value> existing = registry::queryValue(hive, key, name);
               existing && existing->type == registry::ValueType::ExpandString) {
        stored.type = registry::ValueType::ExpandString;
    }
    const bool written = registry::setValue(hive, key, name, stored);
    announceEnvironmentChange();
    return written ? 1 : 0;
}

int DOS::GetMemUsed(int* available) {
    const platform::MemoryFigures figures = platform::memoryFigures();
    if (available) *available = inThousands(figures.availableVirtualBytes);
    return inThousands(figures.privateBytes);
}

// The Windows NT family is the only one the system runs on.
int DOS::WinNT() {
    if (gWinNT < 0) gWinNT = 1;
    return gWinNT;
}
