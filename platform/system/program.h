#pragma once
// The running program (GetModuleFileNameA of the executable).
#include <string>

namespace platform {

// The executable's full path in the system's path grammar: "/" written "\" (as Windows writes it), so that
// callers look for "ZORTA\DLL" or cut at "\" as they do on Windows. Empty when it cannot be read.
std::string programFileName();

} // namespace platform
