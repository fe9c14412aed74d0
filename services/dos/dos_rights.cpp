// Access rights: elevation, membership of the administrators, full access to files and registry keys.
#include "services/dos/dos.h"
#include "services/output/output.h"

#include "platform/files/file_rights.h"
#include "platform/files/path_map.h"
#include "platform/settings/registry.h"

int DOS::RightIsElevated() {
    return platform::isElevated() ? 1 : 0;
}

int DOS::RightIsRunAsAdmin() {
    return platform::isAdministrator() ? 1 : 0;
}

// Full access for everyone; when the file's owner refuses it, the administrators take the file over first,
// which only an elevated process may do.
int DOS::RightTakeOwnership(const char* path, int) {
    if (!path || !*path) return 0;
    const std::string file = platform::hostPath(path);
    if (platform::grantFullAccess(file) == 0) {
        mprintf(" DACL est D\xE9ja OK\n");
        return 1;
    }
    if (!platform::isElevated()) {
        mprintf("You must be logged on as Administrator.\n");
        return 0;
    }
    if (const int error = platform::giveToAdministrators(file)) {
        mprintf("Could not set owner. Error: %u\n", static_cast<unsigned>(error));
        return 0;
    }
    if (const int error = platform::grantFullAccess(file)) {
        mprintf("Second SetNamedSecurityInfo call failed: %u\n", static_cast<unsigned>(error));
        return 0;
    }
    mprintf("Successfully changed DACL\n");
    return 1;
}

// Every key of a hive lives in the hive's one file: giving everyone full access to the key gives it to the
// file. 0 on success, the errno otherwise.
long DOS::SetRegKeySecurityAllAccess(int machine, const char* key) {
    namespace registry = platform::registry;
    const registry::Hive hive = machine ? registry::Hive::LocalMachine : registry::Hive::CurrentUser;
    if (!key || !registry::keyExists(hive, key)) return -1;
    return platform::grantFullAccess(registry::hiveFile(hive));
}
