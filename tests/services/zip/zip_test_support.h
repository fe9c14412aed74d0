#pragma once
// Folders and files for the archive tests, named both ways: the host path to make and read them, the system
// path (drive and backslashes) to hand to the archive classes.
#include "platform/files/path_map.h"

#include "tests/support/temp_folder.h"

#include <filesystem>
#include <string>

namespace zip_testing {

class ArchiveFolder {
public:
    std::string host(const std::string& relative = "") const {
        return relative.empty() ? folder_.path() : folder_ / relative;
    }
    std::string system(const std::string& relative = "") const {
        return platform::systemPath(host(relative));
    }

    // Writes a file (its folders made first) and answers its host path.
    std::string write(const std::string& relative, const std::string& bytes) const {
        const std::string path = host(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        testing_support::writeFile(path, bytes);
        return path;
    }

private:
    testing_support::TempFolder folder_;
};

// Bytes that deflate poorly, so that a large file stays large in the archive.
inline std::string noise(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

} // namespace zip_testing
