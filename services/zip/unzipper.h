#pragma once
// CUnzipper reads, lists and extracts a zip archive, and marks entries deleted in place. Paths are in the
// system's grammar; names and paths are limited to 260 characters and a longer one is refused, never cut.
// Entries whose name would leave the destination ("..\x", "\x", "C:\x") are refused, and extraction never
// goes through a symbolic link below the destination: nothing is written outside it.
//
// An object owns its archive handle: it can be moved, not copied.
#include <minizip/unzip.h>

#include <cstddef>
#include <cstdint>

// One entry as CUnzipper::GetFileInfo reports it.
struct UZ_FileInfo {
    char szFileName[261]; // the entry name in the code page, "/" shown as "\"
    char szComment[255];
    std::uint32_t dwVersion; // version made by
    std::uint32_t dwVersionNeeded;
    std::uint32_t dwFlags;
    std::uint32_t dwCompressionMethod;
    std::uint32_t dwDosDate; // DOS date (high 16 bits) and time (low 16 bits)
    std::uint32_t dwCRC;
    std::uint32_t dwCompressedSize;
    std::uint32_t dwUncompressedSize;
    std::uint32_t dwInternalAttrib;
    std::uint32_t dwExternalAttrib;
    bool bFolder; // the directory attribute (0x10) of the external attributes
};
static_assert(offsetof(UZ_FileInfo, szComment) == 261);
static_assert(offsetof(UZ_FileInfo, dwVersion) == 516);
static_assert(offsetof(UZ_FileInfo, dwExternalAttrib) == 552);
static_assert(offsetof(UZ_FileInfo, bFolder) == 556);
static_assert(sizeof(UZ_FileInfo) == 560);

class CUnzipper {
public:
    CUnzipper() = default;
    explicit CUnzipper(const char* zip);
    CUnzipper(CUnzipper&& other) noexcept;
    CUnzipper& operator=(CUnzipper&& other) noexcept;
    CUnzipper(const CUnzipper&) = delete;
    CUnzipper& operator=(const CUnzipper&) = delete;
    virtual ~CUnzipper();

    // Opens the archive (for reading and writing with `update`); the output folder becomes its path
    // without the extension.
    bool OpenZip(const char* zip, bool update);
    bool CloseZip();

    int GetFileCount();
    // The current entry; a size of 4 GiB or more, which its field cannot hold, shows as 0xFFFFFFFF.
    bool GetFileInfo(UZ_FileInfo& info);
    bool GetFileInfo(int index, UZ_FileInfo& info);

    bool GotoFile(int index);
    // The entry of that full name, case ignored; failing that and with ignorePath, the first entry whose
    // name and extension are `name`.
    bool GotoFile(const char* name, bool ignorePath);
    // The first / next entry; with a non-empty `ext` (".txt"), the first / next one of that extension.
    bool GotoFirstFile(const char* ext = nullptr);
    bool GotoNextFile(const char* ext = nullptr);

    bool SetOutputFolder(const char* folder);

    bool Unzip(bool ignorePath = false);
    bool UnzipTo(const char* folder, bool ignorePath = false);
    // Extracts the current entry below `folder` (null: the output folder). False when the entry cannot be
    // read to its end, its size or CRC is not the one the archive declares (the partial file is removed),
    // or its name would leave the folder.
    bool UnzipFile(const char* folder = nullptr, bool ignorePath = false);
    bool UnzipFile(int index, const char* folder = nullptr, bool ignorePath = false);
    // Reads the current entry into buf, at most len bytes; len becomes the number read. An entry that fits
    // must be read whole with its declared CRC, else the answer is false with len 0.
    bool UnzipToStr(char* buf, int& len);

    // Marks up to 5 entries of that name deleted in an archive opened for update; the number marked.
    int RemoveFile(const char* name, bool ignorePath);

    static bool Unzip(const char* zip, const char* folder, bool ignorePath = false);
    static bool CreateFolder(const char* path);
    static bool CreateFilePath(const char* path);
    static bool SetFileModTime(const char* file, unsigned long dosDateTime);

private:
    bool entryMatches(const char* name, bool byNameAndExtension);
    bool findFrom(bool first, const char* ext);

    unzFile m_uzFile = nullptr;
    char m_szOutputFolder[261] = {};
};
