#pragma once
// The plug-in module's own file.

// The module's full file name in `buffer` (cut to size - 1 characters and terminated); the number of
// characters written, `size` when the name was cut, 0 when there is no buffer or the name is unknown.
extern "C" unsigned long GetZortapolyFileName(char* buffer, unsigned long size);
