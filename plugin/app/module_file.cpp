#include "plugin/app/module_file.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <string>

extern "C" unsigned long GetZortapolyFileName(char* buffer, unsigned long size) {
    Dl_info info{};
    if (!buffer || size == 0) return 0;
    if (!dladdr(reinterpret_cast<void*>(&GetZortapolyFileName), &info) || !info.dli_fname) {
        buffer[0] = 0;
        return 0;
    }
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
    const std::string name = error ? std::string(info.dli_fname) : path.lexically_normal().string();
    const bool cut = name.size() >= size;
    const std::size_t length = cut ? size - 1 : name.size();
    std::memcpy(buffer, name.data(), length);
    buffer[length] = 0;
    return cut ? size : static_cast<unsigned long>(length);
}
