#pragma once
// The file functions minizip reads and writes archives with: paths in the system's grammar go through the
// path mapper, and an archive opened for update (unzOpenForUpdate) is opened for reading and writing.
#include <minizip/ioapi.h>

namespace zip_files {

// The table for zipOpen2_64 and unzOpen2_64.
zlib_filefunc64_def* systemPathFunctions();

// The mode bits the next open adds to the unzip layer's read mode (ZLIB_FILEFUNC_MODE_WRITE for an update);
// that open takes them and clears them.
void setNextUnzipModeExtra(int modeBits);

// The stream the last open of this thread made.
void* lastOpenedStream();

// Ties an archive handle to its stream, for the unzip layer's own operations on it; closing the stream
// unties it. streamOf answers null for a handle that is not tied.
void rememberStream(const void* handle, void* stream);
void* streamOf(const void* handle);

} // namespace zip_files
