#pragma once
// Folders and files made below a folder without ever leaving it: no component below the folder is followed
// when it is a symbolic link, so a name "d\x" never writes through a link "d" that points elsewhere. The
// folder itself is taken as it stands. Paths are in the system's grammar, looked up without case as
// hostPath does.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace platform {

// Creates the folder `relative` and its missing parents below `folder`; true when it is there as a folder
// reached without a link.
bool createFolderBelow(std::string_view folder, std::string_view relative);

// The file `relative` below `folder`, created or emptied, its missing folders made first.
class FileBelow {
public:
    FileBelow(std::string_view folder, std::string_view relative);
    ~FileBelow();
    FileBelow(const FileBelow&) = delete;
    FileBelow& operator=(const FileBelow&) = delete;

    bool isOpen() const { return file_ >= 0; }
    // False when not every byte was written.
    bool write(const void* bytes, std::size_t size);
    // Sets the file's modification time, its access time kept; false when it could not be set.
    bool setModified(std::time_t seconds);
    // Closes the file; false when it could not be closed cleanly.
    bool close();
    // Closes and removes the file: what was written of it is not to be trusted.
    void discard();

private:
    int folder_ = -1; // the folder holding the file
    int file_ = -1;
    std::string name_;
};

} // namespace platform
