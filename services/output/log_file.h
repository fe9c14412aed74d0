#pragma once
// The log file that one task opens and closes around its work, and the printing variants that also write to
// it. The log file's name is the given name with its extension replaced by ".Log"; it is opened for
// appending.
#include <cstdio>

// The current log file, null when none.
extern FILE* g_FileLF;

// Closes the current log file and opens the log file of `name`; answers it, or null (also for a null or empty
// name, or when it cannot be opened).
FILE* OpenLF(const char* name);

// Closes the current log file.
void CloseLF();

// Writes `length` bytes of `text` (0 or less: up to its terminating zero) to the log file when one is open,
// prefixes included, then routes the text as mprint does; answers mprint's result.
int mprintLF(const char* text, int length);

// Formats as mprintf does, writes the text to the log file when one is open, then routes it; answers mprint's
// result, 0 when there is neither a log file nor anything to show.
int mprintfLF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A log file for the life of a scope. The log file current before it is set aside (not closed) and current
// again when the scope ends, so scopes nest: after an inner scope, output goes on into the outer log file.
class CPrintToLogFile {
public:
    explicit CPrintToLogFile(const char* name);
    ~CPrintToLogFile();
    CPrintToLogFile(const CPrintToLogFile&) = delete;
    CPrintToLogFile& operator=(const CPrintToLogFile&) = delete;

private:
    FILE* previous_;
};
