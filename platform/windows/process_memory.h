#pragma once
// Another process's memory (OpenProcess, ReadProcessMemory, WriteProcessMemory).
//
// process_vm_readv and process_vm_writev need the right to trace the other process. Where the Yama module
// restricts tracing to ancestors, the side that is read or written first allows the other, naming that one
// process (never "any process").
#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace platform {

// Copies `size` bytes at `address` of `process` into `out`; false unless every byte was copied.
bool readProcessMemory(pid_t process, std::uint64_t address, void* out, std::size_t size);
// Copies `size` bytes into `process` at `address`; false unless every byte was copied.
bool writeProcessMemory(pid_t process, std::uint64_t address, const void* data, std::size_t size);
// Lets `process` read and write this process's memory where Yama asks for it; a no-op elsewhere.
void allowMemoryAccessBy(pid_t process);

} // namespace platform
