#pragma once
// The store's entry for the library's own callers: plain buffers of the given size, whatever the
// counted-string mode of the process.
#include <cstddef>

namespace settings {

// As gets_ini; `registryLimit` is the most a registry value may take (5,000 bytes for plain buffers).
int readSetting(const char* file, const char* section, const char* letters, const char* key, char* buffer,
                int size, size_t registryLimit = 5000);

} // namespace settings
