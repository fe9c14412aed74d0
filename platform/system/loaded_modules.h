#pragma once
// Modules already loaded in the process (GetModuleHandleA, GetProcAddress).
//
// Windows names a module "NAME.DLL"; the same module here is the shared object "libNAME.so". A look-up never
// loads anything: a module that is not loaded yet stays absent, like GetModuleHandleA.
#include <string>
#include <string_view>

namespace platform {

// The shared-object name that stands for the Windows module name `windowsName` ("QOLMEX64.DLL" gives
// "libQOLMEX64.so"; a name without ".DLL" only gets the "lib" prefix and ".so" suffix).
std::string sharedObjectName(std::string_view windowsName);

// The handle of the loaded module, or null when it is not loaded.
void* findLoadedModule(std::string_view windowsName);

// An exported symbol of a loaded module, or null.
void* findModuleSymbol(void* module, const char* symbol);

// The base address of the module that holds `address` (the Windows module handle is that base address too).
void* moduleOfAddress(const void* address);

} // namespace platform
