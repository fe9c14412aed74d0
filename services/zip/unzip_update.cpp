#include "services/zip/unzip_update.h"

#include "services/zip/zip_file_functions.h"

#include <cstdio>

namespace {

// The central-directory record's fixed part; the name follows it.
constexpr ZPOS64_T kCentralRecordSize = 46;

} // namespace

unzFile unzOpenForUpdate(const char* path, bool update) {
    if (!path) return nullptr;
    zip_files::setNextUnzipModeExtra(update ? ZLIB_FILEFUNC_MODE_WRITE : 0);
    unzFile file = unzOpen2_64(path, zip_files::systemPathFunctions());
    zip_files::setNextUnzipModeExtra(0);
    if (file) zip_files::rememberStream(file, zip_files::lastOpenedStream());
    return file;
}

int unzMarkCurrentFileDeleted(unzFile file) {
    if (!file) return UNZ_PARAMERROR;
    const ZPOS64_T record = unzGetOffset64(file);
    if (record == 0) return UNZ_END_OF_LIST_OF_FILE;
    auto* stream = static_cast<std::FILE*>(zip_files::streamOf(file));
    if (!stream || fseeko(stream, static_cast<off_t>(record + kCentralRecordSize), SEEK_SET) != 0) return 0;
    const int written = static_cast<int>(std::fwrite("~", 1, 1, stream));
    // A stream opened for reading only keeps its error; clear it for the unzip layer's next reads.
    std::clearerr(stream);
    std::fflush(stream);
    return written;
}
