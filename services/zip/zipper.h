#pragma once
// CZipper creates or extends a zip archive from files and folders; DeleteFileFromZIP rewrites an archive
// without one entry. Paths are in the system's grammar; names are stored in UTF-8 with "/" and the
// language-encoding flag. Names and paths over 260 characters are refused, never cut.
//
// An object owns its archive handle: it can be moved, not copied.
#include <minizip/zip.h>

#include <cstddef>
#include <cstdint>

// What CZipper added since the archive was opened.
struct Z_FileInfo {
    int nFileCount;
    int nFolderCount;
    std::uint64_t dwUncompressedSize; // bytes read from the added files
};
static_assert(offsetof(Z_FileInfo, dwUncompressedSize) == 8);
static_assert(sizeof(Z_FileInfo) == 16);

class CZipper {
public:
    CZipper() = default;
    explicit CZipper(const char* zip, const char* root = nullptr, bool append = false);
    CZipper(CZipper&& other) noexcept;
    CZipper& operator=(CZipper&& other) noexcept;
    CZipper(const CZipper&) = delete;
    CZipper& operator=(const CZipper&) = delete;
    virtual ~CZipper();

    // Creates the archive, or adds to it with `append` when it exists. The root folder, against which
    // relative paths are read and stored names made, is `root` or else the archive's folder.
    bool OpenZip(const char* zip, const char* root = nullptr, bool append = false);
    bool CloseZip();

    // Adds a file, stored under its path below the root folder, or under its name with ignorePath.
    bool AddFileToZip(const char* path, bool ignorePath = false);
    // Adds a file stored as zipFolder followed by its name and extension.
    bool AddFileToZip(const char* path, const char* zipFolder);
    // Adds a folder entry and, recursively, the folder's content (names beginning with "." left out).
    bool AddFolderToZip(const char* path, bool ignorePath = false);

    void GetFileInfo(Z_FileInfo& info) const;

    // A path without ":" is prefixed with the root folder; `path` holds 261 characters.
    void PrepareSourcePath(char* path) const;

    // An archive beside the file or folder, named like it with the extension "zip".
    static bool ZipFile(const char* path);
    static bool ZipFolder(const char* path, bool ignorePath = false);

private:
    bool addEntry(const char* sourcePath, const char* storedName, bool folder);
    void reset();

    zipFile m_uzFile = nullptr;
    char m_szRootFolder[261] = {};
    Z_FileInfo m_info = {};
};

// Rewrites the archive `zip` without the entry `name` (case ignored): 0 when it was removed and the archive
// replaced (an archive left empty is deleted), -1 otherwise with the archive unchanged. The other entries are
// copied without recompression.
int DeleteFileFromZIP(const char* zip, const char* name);
