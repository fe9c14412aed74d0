// Rewriting an archive without one entry: the others are copied raw, without recompression.
#include "services/dos/dos_path_parts.h"
#include "services/zip/zip64_sizes.h"
#include "services/zip/zip_file_functions.h"
#include "services/zip/zip_names.h"
#include "services/zip/zipper.h"

#include "platform/base/ascii.h"
#include "platform/base/code_page.h"
#include "platform/files/path_map.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr unsigned kBlockSize = 65536;

// The name as the system knows it: flagged names are UTF-8, older ones are in the OEM code page.
std::string systemName(const std::string& stored, unsigned long flags) {
    return zip_names::shown(flags & zip_names::kUtf8Flag ? stored : platform::oem850ToCp1252(stored), flags);
}

// Copies the current entry of `from` as a new raw entry of `to`.
bool copyRaw(unzFile from, zipFile to, const unz_file_info64& entry, const std::string& name,
             std::vector<char> centralExtra, const std::string& comment) {
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(from, &method, &level, 1) != UNZ_OK) return false;
    const int localSize = unzGetLocalExtrafield(from, nullptr, 0);
    std::vector<char> localExtra(static_cast<std::size_t>(std::max(localSize, 0)));
    if (localSize > 0 &&
        unzGetLocalExtrafield(from, localExtra.data(), static_cast<unsigned>(localSize)) != localSize)
        return unzCloseCurrentFile(from), false;
    // minizip writes its own zip64 block; a copied one would stand twice.
    zip64::dropField(localExtra);
    zip64::dropField(centralExtra);

    zip_fileinfo info{};
    info.dosDate = entry.dosDate;
    info.internal_fa = entry.internal_fa;
    info.external_fa = entry.external_fa;
    const int zip64 = entry.compressed_size >= 0xFFFFFFFFu || entry.uncompressed_size >= 0xFFFFFFFFu ? 1 : 0;
    bool copied = zipOpenNewFileInZip4_64(
                      to, name.c_str(), &info, localExtra.data(), static_cast<uInt>(localExtra.size()),
                      centralExtra.data(), static_cast<uInt>(centralExtra.size()),
                      comment.empty() ? nullptr : comment.c_str(), method, level, 1, -MAX_WBITS,
                      DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, static_cast<int>(entry.version),
                      static_cast<uLong>(entry.flag & zip_names::kUtf8Flag), zip64) == ZIP_OK;
    std::vector<char> block(kBlockSize);
    std::uint64_t total = 0;
    int read = 0;
    while (copied && (read = unzReadCurrentFile(from, block.data(), kBlockSize)) > 0) {
        copied = zipWriteInFileInZip(to, block.data(), static_cast<unsigned>(read)) == ZIP_OK;
        total += static_cast<std::uint64_t>(read);
    }
    copied = copied && read == 0 && total == entry.compressed_size;
    if (unzCloseCurrentFile(from) != UNZ_OK) copied = false;
    if (zipCloseFileInZipRaw64(to, entry.uncompressed_size, entry.crc) != ZIP_OK) copied = false;
    return copied;
}

std::string globalComment(unzFile archive) {
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK || global.size_comment == 0) return {};
    std::string comment(global.size_comment + 1, '\0');
    const int read = unzGetGlobalComment(archive, comment.data(), comment.size());
    comment.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return comment;
}

// Copies every entry but `name`; true when one was left out and all others were copied. `remaining`
// counts the entries copied.
bool copyAllBut(unzFile from, zipFile to, const std::string& name, int& remaining) {
    bool skipped = false;
    int status = unzGoToFirstFile(from);
    for (; status == UNZ_OK; status = unzGoToNextFile(from)) {
        unz_file_info64 entry;
        if (unzGetCurrentFileInfo64(from, &entry, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
        std::string stored(entry.size_filename, '\0');
        std::vector<char> extra(entry.size_file_extra);
        std::string comment(entry.size_file_comment, '\0');
        if (unzGetCurrentFileInfo64(from, &entry, stored.data(), stored.size(), extra.data(), extra.size(),
                                    comment.data(), comment.size()) != UNZ_OK ||
            !zip64::readRealSizes(from, entry))
            return false;
        if (!skipped && platform::sameNoCase(systemName(stored, entry.flag), name)) {
            skipped = true;
            continue;
        }
        if (!copyRaw(from, to, entry, stored, std::move(extra), comment)) return false;
        ++remaining;
    }
    return skipped && status == UNZ_END_OF_LIST_OF_FILE;
}

} // namespace

int DeleteFileFromZIP(const char* zip, const char* name) {
    if (!zip || !name || !*name) return -1;
    const auto path = services::fullPath(zip);
    if (!path) return -1;
    const std::string temporary = *path + ".tmp";
    unzFile from = unzOpen2_64(path->c_str(), zip_files::systemPathFunctions());
    if (!from) return -1;
    zipFile to =
        zipOpen2_64(temporary.c_str(), APPEND_STATUS_CREATE, nullptr, zip_files::systemPathFunctions());
    const std::string host = platform::hostPath(*path);
    const std::string hostTemporary = platform::hostPath(temporary);
    if (!to) {
        unzClose(from);
        return -1;
    }
    std::string wanted(name);
    std::replace(wanted.begin(), wanted.end(), '/', '\\');
    const std::string comment = globalComment(from);
    int remaining = 0;
    bool rewritten = copyAllBut(from, to, wanted, remaining);
    rewritten = zipClose(to, comment.empty() ? nullptr : comment.c_str()) == ZIP_OK && rewritten;
    unzClose(from);
    if (!rewritten || std::rename(hostTemporary.c_str(), host.c_str()) != 0) {
        std::remove(hostTemporary.c_str());
        return -1;
    }
    if (remaining == 0) std::remove(host.c_str());
    return 0;
}
