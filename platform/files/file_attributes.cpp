#include "platform/files/file_attributes.h"

#include <sys/stat.h>

namespace platform {

std::optional<std::uint32_t> fileAttributes(const std::string& hostPath) {
    struct stat st;
    if (stat(hostPath.c_str(), &st) != 0) return std::nullopt;
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    const std::size_t slash = hostPath.find_last_of('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    if (nameAt < hostPath.size() && hostPath[nameAt] == '.') attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

} // namespace platform
