// minizip's file functions over stdio, with the system's path grammar and the update mode.
#include "services/zip/zip_file_functions.h"

#include "platform/files/path_map.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace zip_files {

namespace {

// Process-wide like the unzip layer's own mode word: set just before an open, taken by it.
int g_nextModeExtra = 0;
thread_local void* t_lastOpened = nullptr;

std::mutex g_streamsLock;
std::map<const void*, void*> g_streams;

const char* stdioMode(int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ) return "rb";
    return mode & ZLIB_FILEFUNC_MODE_EXISTING ? "r+b" : "wb";
}

voidpf ZCALLBACK openFile(voidpf, const void* name, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ &&
        (mode & ZLIB_FILEFUNC_MODE_EXISTING)) {
        mode |= g_nextModeExtra;
        g_nextModeExtra = 0;
    }
    t_lastOpened =
        name ? std::fopen(platform::hostPath(static_cast<const char*>(name)).c_str(), stdioMode(mode))
             : nullptr;
    return t_lastOpened;
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void* buffer, uLong size) {
    return std::fread(buffer, 1, size, static_cast<std::FILE*>(stream));
}

uLong ZCALLBACK writeFile(voidpf, voidpf stream, const void* buffer, uLong size) {
    return std::fwrite(buffer, 1, size, static_cast<std::FILE*>(stream));
}

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream) {
    const off_t at = ftello(static_cast<std::FILE*>(stream));
    return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    const int whence = origin == ZLIB_FILEFUNC_SEEK_CUR   ? SEEK_CUR
                       : origin == ZLIB_FILEFUNC_SEEK_END ? SEEK_END
                                                          : SEEK_SET;
    return fseeko(static_cast<std::FILE*>(stream), static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}

int ZCALLBACK closeFile(voidpf, voidpf stream) {
    {
        const std::lock_guard lock(g_streamsLock);
        std::erase_if(g_streams, [stream](const auto& tie) { return tie.second == stream; });
    }
    return std::fclose(static_cast<std::FILE*>(stream));
}

int ZCALLBACK errorFile(voidpf, voidpf stream) {
    return std::ferror(static_cast<std::FILE*>(stream));
}

} // namespace

zlib_filefunc64_def* systemPathFunctions() {
    static zlib_filefunc64_def functions = {openFile, readFile,  writeFile, tellFile,
                                            seekFile, closeFile, errorFile, nullptr};
    return &functions;
}

void setNextUnzipModeExtra(int modeBits) {
    g_nextModeExtra = modeBits;
}

void* lastOpenedStream() {
    return t_lastOpened;
}

void rememberStream(const void* handle, void* stream) {
    const std::lock_guard lock(g_streamsLock);
    g_streams[handle] = stream;
}

void* streamOf(const void* handle) {
    const std::lock_guard lock(g_streamsLock);
    const auto found = g_streams.find(handle);
    return found == g_streams.end() ? nullptr : found->second;
}

} // namespace zip_files
