#pragma once
// Start-up and shut-down of the library in a process.
//
// The static initialisers of the start-up unit run first, in this order: the variable block `vfVar` (whose
// construction calls InitZortaGen a first time), then the window messages. Then the load step, the Linux
// place of the Windows process-attach notification, keeps the module handle, makes the output lock and calls
// InitZortaGen again. The unload step (process detach, or dlclose) undoes it.

// Completes the start-up in this process: 2 when it was already completed, 1 otherwise. Safe to call again.
int InitZortaGen();

namespace services {

// The library's module handle: null until the load step, null again after the unload step.
void* libraryModule();

} // namespace services
