#pragma once
// Names of machine-wide objects (shared segments, the named mutex, the message table, sockets).
//
// Windows keeps such names in one global namespace. Here every name is prefixed with the value of the
// environment variable ZORTA_NAMESPACE when it is set, so that test runs and CI jobs on one machine never
// meet each other or a user's session. The prefix is read once per process.
#include <string>
#include <string_view>

namespace platform {

// The prefix in force for this process ("" when ZORTA_NAMESPACE is unset).
const std::string& machineNamespace();

// `name` as it is known machine-wide: the namespace prefix followed by the name.
std::string machineName(std::string_view name);

} // namespace platform
