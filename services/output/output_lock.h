#pragma once
// The output lock: one recursive lock per process, made at the library's load step and never destroyed. It
// serialises the formatted output variants, which share one output buffer. Before the load step there is no
// lock (only the static initialisers run then, on one thread) and taking it does nothing.
#include <mutex>

namespace services {

// Makes the lock, once.
void createOutputLock();

// Holds the lock while it lives; holds nothing before the lock exists.
std::unique_lock<std::recursive_mutex> lockOutput();

} // namespace services
