#pragma once
// What a document knows of its file on disk, to tell another program's change from its own saves: whether
// the file is there and a hash of its content, with the file's status when that content was read, so that
// a file whose status has not moved is not read again.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

struct stat;

struct DiskState {
    bool exists = false;
    std::size_t contentHash = 0;
    std::int64_t size = -1;
    ino_t inode = 0;
    timespec modified{};

    bool sameContent(const DiskState& other) const {
        return exists == other.exists && (!exists || contentHash == other.contentHash);
    }
};

// The state of a file that holds `bytes`, with the status it had when they were read.
DiskState diskStateOf(const struct stat& status, std::string_view bytes);
// The state of a file that holds `bytes` (nullopt: there is none), with its status as it is now.
DiskState diskStateOf(const std::string& path, const std::optional<std::string>& bytes);
// The file as it is now; read again only when its status differs from `known`'s.
DiskState currentDiskState(const std::string& path, const DiskState& known);
