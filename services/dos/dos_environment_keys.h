#pragma once
// The registry keys that hold environment variables: the machine's (under HKEY_LOCAL_MACHINE) and the
// current user's (under HKEY_CURRENT_USER).
namespace services {

extern const char* const kMachineEnvironmentKey;
extern const char* const kUserEnvironmentKey;

} // namespace services
