// Opening, listing and extracting archives.
#include "services/zip/unzipper.h"

#include "services/dos/dos_path_parts.h"
#include "services/zip/dos_date_time.h"
#include "services/zip/unzip_update.h"
#include "services/zip/zip64_sizes.h"
#include "services/zip/zip_names.h"

#include "platform/base/ascii.h"
#include "platform/base/code_page.h"
#include "platform/files/file_below.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr unsigned kBlockSize = 2048;
constexpr std::uint32_t kDirectoryAttribute = 0x10;
constexpr int kMostMarked = 5;

// Copies `text` into a fixed field, refusing what does not fit.
template <std::size_t N> bool copyField(char (&field)[N], const std::string& text) {
    if (text.size() >= N) return false;
    std::memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

// What the archive declares of an entry's content, checked against what its data inflates to: minizip
// checks the CRC only once every declared byte was read, so data that ends early would pass.
struct DeclaredContent {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

std::optional<DeclaredContent> declaredContent(unzFile archive) {
    unz_file_info64 entry;
    if (unzGetCurrentFileInfo64(archive, &entry, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        !zip64::readRealSizes(archive, entry))
        return std::nullopt;
    return DeclaredContent{entry.uncompressed_size, static_cast<std::uint32_t>(entry.crc)};
}

class ContentCheck {
public:
    void add(const char* bytes, unsigned size) {
        crc_ = crc32(crc_, reinterpret_cast<const Bytef*>(bytes), size);
        size_ += size;
    }
    bool matches(const DeclaredContent& declared) const {
        return size_ == declared.size && crc_ == declared.crc;
    }

private:
    uLong crc_ = crc32(0, nullptr, 0);
    std::uint64_t size_ = 0;
};

// A size of 4 GiB or more shows as the zip64 mark, the format's own word for "see the 64-bit size", so that
// such an entry stays listed, found and extracted as before.
std::uint32_t fitted(std::uint64_t size) {
    return static_cast<std::uint32_t>(std::min(size, zip64::kMark));
}

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

} // namespace

CUnzipper::CUnzipper(const char* zip) {
    OpenZip(zip, false);
}

CUnzipper::CUnzipper(CUnzipper&& other) noexcept {
    *this = std::move(other);
}

CUnzipper& CUnzipper::operator=(CUnzipper&& other) noexcept {
    if (this != &other) {
        CloseZip();
        m_uzFile = std::exchange(other.m_uzFile, nullptr);
        std::memcpy(m_szOutputFolder, other.m_szOutputFolder, sizeof m_szOutputFolder);
        other.m_szOutputFolder[0] = 0;
    }
    return *this;
}

CUnzipper::~CUnzipper() {
    CloseZip();
}

bool CUnzipper::OpenZip(const char* zip, bool update) {
    CloseZip();
    if (!zip || !*zip) return false;
    const auto path = services::fullPath(zip);
    if (!path) return false;
    const services::PathParts parts = services::splitPath(*path);
    if (!copyField(m_szOutputFolder, parts.drive + parts.folder + parts.name)) return false;
    m_uzFile = unzOpenForUpdate(path->c_str(), update);
    if (!m_uzFile) m_szOutputFolder[0] = 0;
    return m_uzFile != nullptr;
}

bool CUnzipper::CloseZip() {
    m_szOutputFolder[0] = 0;
    if (!m_uzFile) return false;
    unzCloseCurrentFile(m_uzFile);
    const bool closed = unzClose(m_uzFile) == UNZ_OK;
    m_uzFile = nullptr;
    return closed;
}

int CUnzipper::GetFileCount() {
    unz_global_info64 global;
    if (!m_uzFile || unzGetGlobalInfo64(m_uzFile, &global) != UNZ_OK) return 0;
    return static_cast<int>(global.number_entry);
}

bool CUnzipper::GetFileInfo(UZ_FileInfo& info) {
    if (!m_uzFile) return false;
    unz_file_info64 entry;
    if (unzGetCurrentFileInfo64(m_uzFile, &entry, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    std::string name(entry.size_filename, '\0');
    std::string comment(entry.size_file_comment, '\0');
    if (unzGetCurrentFileInfo64(m_uzFile, &entry, name.data(), name.size(), nullptr, 0, comment.data(),
                                comment.size()) != UNZ_OK ||
        !zip64::readRealSizes(m_uzFile, entry))
        return false;
    UZ_FileInfo filled{};
    if (!copyField(filled.szFileName, zip_names::shown(name, entry.flag))) return false;
    if (entry.flag & zip_names::kUtf8Flag) comment = platform::utf8ToCp1252(comment);
    comment.resize(std::min(comment.size(), sizeof filled.szComment - 1));
    copyField(filled.szComment, comment);
    filled.dwVersion = static_cast<std::uint32_t>(entry.version);
    filled.dwVersionNeeded = static_cast<std::uint32_t>(entry.version_needed);
    filled.dwFlags = static_cast<std::uint32_t>(entry.flag);
    filled.dwCompressionMethod = static_cast<std::uint32_t>(entry.compression_method);
    filled.dwDosDate = static_cast<std::uint32_t>(entry.dosDate);
    filled.dwCRC = static_cast<std::uint32_t>(entry.crc);
    filled.dwCompressedSize = fitted(entry.compressed_size);
    filled.dwUncompressedSize = fitted(entry.uncompressed_size);
    filled.dwInternalAttrib = static_cast<std::uint32_t>(entry.internal_fa);
    filled.dwExternalAttrib = static_cast<std::uint32_t>(entry.external_fa);
    // Archives made on Unix mark folders by the name's trailing "/" alone.
    filled.bFolder = (entry.external_fa & kDirectoryAttribute) != 0 || (!name.empty() && name.back() == '/');
    info = filled;
    return true;
}

bool CUnzipper::GetFileInfo(int index, UZ_FileInfo& info) {
    return GotoFile(index) && GetFileInfo(info);
}

bool CUnzipper::GotoFile(int index) {
    if (!m_uzFile || index < 0 || index >= GetFileCount()) return false;
    if (unzGoToFirstFile(m_uzFile) != UNZ_OK) return false;
    for (int i = 0; i < index; ++i)
        if (unzGoToNextFile(m_uzFile) != UNZ_OK) return false;
    return true;
}

bool CUnzipper::entryMatches(const char* name, bool byNameAndExtension) {
    UZ_FileInfo info;
    if (!GetFileInfo(info)) return false;
    std::string wanted(name);
    std::replace(wanted.begin(), wanted.end(), '/', '\\');
    const std::string_view entry =
        byNameAndExtension ? zip_names::nameAndExtension(info.szFileName) : std::string_view(info.szFileName);
    return platform::sameNoCase(entry, wanted);
}

bool CUnzipper::GotoFile(const char* name, bool ignorePath) {
    if (!m_uzFile || !name || !*name) return false;
    for (const bool byNameAndExtension : {false, true}) {
        if (byNameAndExtension && !ignorePath) break;
        for (int status = unzGoToFirstFile(m_uzFile); status == UNZ_OK; status = unzGoToNextFile(m_uzFile))
            if (entryMatches(name, byNameAndExtension)) return true;
    }
    return false;
}

bool CUnzipper::findFrom(bool first, const char* ext) {
    if (!m_uzFile) return false;
    int status = first ? unzGoToFirstFile(m_uzFile) : unzGoToNextFile(m_uzFile);
    if (!ext || !*ext) return status == UNZ_OK;
    for (; status == UNZ_OK; status = unzGoToNextFile(m_uzFile)) {
        UZ_FileInfo info;
        if (GetFileInfo(info) && platform::sameNoCase(zip_names::extension(info.szFileName), ext))
            return true;
    }
    return false;
}

bool CUnzipper::GotoFirstFile(const char* ext) {
    return findFrom(true, ext);
}

bool CUnzipper::GotoNextFile(const char* ext) {
    return findFrom(false, ext);
}

bool CUnzipper::SetOutputFolder(const char* folder) {
    if (!folder || !*folder || std::strlen(folder) >= sizeof m_szOutputFolder) return false;
    if (!CreateFolder(folder)) return false;
    std::strcpy(m_szOutputFolder, folder);
    return true;
}

bool CUnzipper::Unzip(bool ignorePath) {
    return UnzipTo(m_szOutputFolder, ignorePath);
}

bool CUnzipper::UnzipTo(const char* folder, bool ignorePath) {
    if (!m_uzFile || !CreateFolder(folder) || GetFileCount() == 0) return false;
    if (!GotoFirstFile()) return false;
    do {
        if (!UnzipFile(folder, ignorePath)) return false;
    } while (GotoNextFile());
    return true;
}

bool CUnzipper::UnzipFile(int index, const char* folder, bool ignorePath) {
    return GotoFile(index) && UnzipFile(folder, ignorePath);
}

bool CUnzipper::UnzipFile(const char* folder, bool ignorePath) {
    if (!m_uzFile) return false;
    const std::string destination = withSeparator(folder ? folder : m_szOutputFolder);
    UZ_FileInfo info;
    if (!CreateFolder(destination.c_str()) || !GetFileInfo(info)) return false;
    if (!zip_names::staysBelow(info.szFileName)) return false;
    if (info.bFolder)
        return destination.size() + std::strlen(info.szFileName) <= zip_names::kMaxPath &&
               platform::createFolderBelow(destination, info.szFileName);

    const std::string name(ignorePath ? zip_names::nameAndExtension(info.szFileName) : info.szFileName);
    const std::string target = destination + name;
    if (name.empty() || !zip_names::staysBelow(name) || target.size() > zip_names::kMaxPath) return false;
    const auto declared = declaredContent(m_uzFile);
    if (!declared) return false;
    platform::FileBelow out(destination, name);
    if (!out.isOpen()) return false;
    bool complete = unzOpenCurrentFile(m_uzFile) == UNZ_OK;
    ContentCheck check;
    std::vector<char> block(kBlockSize);
    int read = 0;
    while (complete && (read = unzReadCurrentFile(m_uzFile, block.data(), kBlockSize)) > 0) {
        check.add(block.data(), static_cast<unsigned>(read));
        complete = out.write(block.data(), static_cast<std::size_t>(read));
    }
    complete = complete && read == 0 && check.matches(*declared);
    if (unzCloseCurrentFile(m_uzFile) != UNZ_OK) complete = false;
    // Through the file written, not its path: no link swapped in meanwhile leads the time elsewhere.
    if (const auto modified = zip_dates::timeOfDosDate(info.dwDosDate)) out.setModified(*modified);
    if (!out.close()) complete = false;
    if (!complete) {
        out.discard();
        return false;
    }
    return true;
}

bool CUnzipper::UnzipToStr(char* buf, int& len) {
    UZ_FileInfo info;
    const int room = len;
    len = 0;
    if (!buf || room <= 0 || !GetFileInfo(info) || info.bFolder) return false;
    const auto declared = declaredContent(m_uzFile);
    if (!declared || unzOpenCurrentFile(m_uzFile) != UNZ_OK) return false;
    int read = 0;
    int status = 0;
    while (read < room &&
           (status = unzReadCurrentFile(m_uzFile, buf + read, static_cast<unsigned>(room - read))) > 0)
        read += status;
    ContentCheck check;
    check.add(buf, static_cast<unsigned>(read));
    // An entry that fits must come whole and sound; a longer one fills the buffer.
    const bool sound =
        status >= 0 &&
        (declared->size > static_cast<std::uint64_t>(room) ? read == room : check.matches(*declared));
    const bool closed = unzCloseCurrentFile(m_uzFile) == UNZ_OK;
    len = sound && closed ? read : 0;
    return len > 0;
}

int CUnzipper::RemoveFile(const char* name, bool ignorePath) {
    if (!m_uzFile || !name || !*name) return 0;
    int marked = 0;
    for (int i = 0; i < kMostMarked && GotoFile(name, ignorePath); ++i) {
        const int result = unzMarkCurrentFileDeleted(m_uzFile);
        if (result <= 0) break;
        marked += result;
    }
    return marked;
}

bool CUnzipper::Unzip(const char* zip, const char* folder, bool ignorePath) {
    CUnzipper archive(zip);
    return archive.UnzipTo(folder, ignorePath);
}
