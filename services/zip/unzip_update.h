#pragma once
// Two operations the library adds to minizip's unzip layer: opening an archive for update, and marking the
// current entry deleted in place by writing "~" over the first byte of its name in the central directory
// (the entry stays in the archive under a name beginning with "~").
#include <minizip/unzip.h>

// Opens the archive at `path` (the system's path grammar) for reading, and for writing too when `update` is
// set; null when it cannot be opened.
unzFile unzOpenForUpdate(const char* path, bool update);

// The number of bytes written (1, or 0 when the archive was not opened for update or the write failed);
// UNZ_PARAMERROR (-102) without an archive, UNZ_END_OF_LIST_OF_FILE (-100) without a current entry.
int unzMarkCurrentFileDeleted(unzFile file);
