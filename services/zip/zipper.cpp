// Creating and extending archives from files and folders.
#include "services/zip/zipper.h"

#include "services/dos/dos_path_parts.h"
#include "services/zip/zip_file_functions.h"
#include "services/zip/zip_names.h"

#include "platform/base/ascii.h"
#include "platform/files/file_attributes.h"
#include "platform/files/path_map.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr unsigned kBlockSize = 2048;
// Entries of this size or more need the zip64 extension.
constexpr std::uintmax_t kZip64Size = 0xFFFFFFFFu;
// Made on NTFS (host 11) by zip 2.0: the external attributes are Windows ones. A FAT host would make Info-ZIP
// take the UTF-8 names for OEM text.
constexpr int kVersionMadeBy = 11 << 8 | 20;

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

bool beginsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::sameNoCase(text.substr(0, prefix.size()), prefix);
}

// The entry's time: the file's last write, in local time.
zip_fileinfo entryInfo(const struct stat& st, std::uint32_t attributes) {
    zip_fileinfo info{};
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
    info.external_fa = attributes;
    return info;
}

} // namespace

CZipper::CZipper(const char* zip, const char* root, bool append) {
    if (zip) OpenZip(zip, root, append);
}

CZipper::CZipper(CZipper&& other) noexcept {
    *this = std::move(other);
}

CZipper& CZipper::operator=(CZipper&& other) noexcept {
    if (this != &other) {
        CloseZip();
        m_uzFile = std::exchange(other.m_uzFile, nullptr);
        std::memcpy(m_szRootFolder, other.m_szRootFolder, sizeof m_szRootFolder);
        m_info = other.m_info;
        other.reset();
    }
    return *this;
}

CZipper::~CZipper() {
    CloseZip();
}

void CZipper::reset() {
    m_szRootFolder[0] = 0;
    m_info = {};
}

bool CZipper::CloseZip() {
    const bool closed = m_uzFile && zipClose(m_uzFile, nullptr) == ZIP_OK;
    m_uzFile = nullptr;
    reset();
    return closed;
}

bool CZipper::OpenZip(const char* zip, const char* root, bool append) {
    CloseZip();
    if (!zip || !*zip) return false;
    const auto path = services::fullPath(zip);
    if (!path) return false;
    std::string rootFolder;
    if (root && *root) {
        const auto full = services::fullPath(root);
        if (!full) return false;
        rootFolder = withoutTrailingSeparators(*full);
        if (rootFolder.back() != '\\') rootFolder += '\\';
    } else {
        rootFolder = path->substr(0, path->find_last_of("\\/:") + 1);
        if (rootFolder.empty() || rootFolder.back() == ':')
            rootFolder += '\\';
        else
            rootFolder.back() = '\\';
    }
    if (rootFolder.size() > zip_names::kMaxPath) return false;
    struct stat st;
    if (append && stat(platform::hostPath(*path).c_str(), &st) != 0) append = false;
    m_uzFile = zipOpen2_64(path->c_str(), append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE, nullptr,
                           zip_files::systemPathFunctions());
    if (m_uzFile) std::strcpy(m_szRootFolder, rootFolder.c_str());
    return m_uzFile != nullptr;
}

void CZipper::PrepareSourcePath(char* path) const {
    if (!path || std::strchr(path, ':')) return;
    const std::string prepared = std::string(m_szRootFolder) + path;
    if (prepared.size() > zip_names::kMaxPath) return;
    std::strcpy(path, prepared.c_str());
}

void CZipper::GetFileInfo(Z_FileInfo& info) const {
    info = m_info;
}

bool CZipper::AddFileToZip(const char* path, bool ignorePath) {
    if (!m_uzFile || !path || !*path || std::strlen(path) > zip_names::kMaxPath) return false;
    const std::string_view given(path);
    if (!ignorePath && (given.starts_with("..\\") || given.starts_with("../"))) return false;
    std::string stored;
    if (ignorePath) {
        stored = zip_names::nameAndExtension(given);
    } else if (given.find(':') != std::string_view::npos) {
        if (!beginsWithNoCase(given, m_szRootFolder)) return false;
        stored = given.substr(std::strlen(m_szRootFolder));
    } else {
        stored = given.starts_with(".\\") || given.starts_with("./") ? given.substr(2) : given;
    }
    char source[261];
    std::strcpy(source, path);
    PrepareSourcePath(source);
    return addEntry(source, stored.c_str(), false);
}

bool CZipper::AddFileToZip(const char* path, const char* zipFolder) {
    if (!m_uzFile || !path || !zipFolder || std::strchr(zipFolder, ':') ||
        std::strlen(path) > zip_names::kMaxPath)
        return false;
    std::string stored(zipFolder);
    if (!stored.empty() && stored.back() != '\\' && stored.back() != '/') stored += '\\';
    stored += zip_names::nameAndExtension(path);
    char source[261];
    std::strcpy(source, path);
    PrepareSourcePath(source);
    return addEntry(source, stored.c_str(), false);
}

bool CZipper::AddFolderToZip(const char* path, bool ignorePath) {
    if (!m_uzFile || !path || !*path || std::strlen(path) > zip_names::kMaxPath) return false;
    ++m_info.nFolderCount;
    char prepared[261];
    std::strcpy(prepared, path);
    PrepareSourcePath(prepared);
    const std::string folder = withoutTrailingSeparators(prepared);
    std::string stored;
    if (ignorePath) {
        stored = zip_names::nameAndExtension(folder);
    } else {
        const std::string root = m_szRootFolder;
        if (!beginsWithNoCase(folder, root)) return false;
        stored = folder.substr(root.size());
    }
    if (!addEntry(folder.c_str(), (stored + '\\').c_str(), true)) return false;

    std::vector<std::filesystem::directory_entry> items;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(platform::hostPath(folder), error))
        if (item.path().filename().string().front() != '.') items.push_back(item);
    std::sort(items.begin(), items.end());
    for (const auto& item : items) {
        const std::string child = folder + '\\' + item.path().filename().string();
        if (item.is_directory(error))
            AddFolderToZip(child.c_str(), ignorePath);
        else
            AddFileToZip(child.c_str(), ignorePath);
    }
    return true;
}

bool CZipper::addEntry(const char* sourcePath, const char* storedName, bool folder) {
    const std::string_view name(storedName);
    if (name.size() > zip_names::kMaxPath || !zip_names::staysBelow(name)) return false;
    const std::string host = platform::hostPath(sourcePath);
    struct stat st;
    const auto attributes = platform::fileAttributes(host);
    if (stat(host.c_str(), &st) != 0 || !attributes || S_ISDIR(st.st_mode) != folder) return false;
    std::FILE* in = folder ? nullptr : std::fopen(host.c_str(), "rb");
    if (!folder && !in) return false;

    const zip_fileinfo info = entryInfo(st, *attributes);
    const std::string stored = zip_names::stored(name);
    const int zip64 = static_cast<std::uintmax_t>(st.st_size) >= kZip64Size ? 1 : 0;
    bool written = zipOpenNewFileInZip4_64(m_uzFile, stored.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                           folder ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                           DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, kVersionMadeBy,
                                           zip_names::kUtf8Flag, zip64) == ZIP_OK;
    std::uint64_t total = 0;
    if (written && in) {
        std::vector<char> block(kBlockSize);
        std::size_t read;
        while (written && (read = std::fread(block.data(), 1, kBlockSize, in)) > 0) {
            written = zipWriteInFileInZip(m_uzFile, block.data(), static_cast<unsigned>(read)) == ZIP_OK;
            total += read;
        }
        written = written && !std::ferror(in);
    }
    if (in) std::fclose(in);
    if (zipCloseFileInZip(m_uzFile) != ZIP_OK) written = false;
    if (written && !folder) {
        ++m_info.nFileCount;
        m_info.dwUncompressedSize += total;
    }
    return written;
}

bool CZipper::ZipFile(const char* path) {
    const auto full = path ? services::fullPath(path) : std::nullopt;
    if (!full) return false;
    const services::PathParts parts = services::splitPath(*full);
    CZipper archive((parts.drive + parts.folder + parts.name + ".zip").c_str());
    return archive.AddFileToZip(full->c_str(), false) && archive.CloseZip();
}

bool CZipper::ZipFolder(const char* path, bool ignorePath) {
    const auto full = path ? services::fullPath(path) : std::nullopt;
    if (!full) return false;
    const std::string folder = withoutTrailingSeparators(*full);
    CZipper archive((folder + ".zip").c_str());
    return archive.AddFolderToZip(folder.c_str(), ignorePath) && archive.CloseZip();
}
