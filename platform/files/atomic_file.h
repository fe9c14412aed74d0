#pragma once
// Whole-file reads, and rewrites that never leave a file half written and never lose a concurrent writer's
// change: the rewrite runs under an exclusive lock on the file's folder (flock, so across processes), reads
// the current content inside the lock, writes the new content to a temporary file in the same folder and
// renames it over the old one, then flushes the folder. Readers need no lock: they see the old file or the
// new one.
#include <functional>
#include <optional>
#include <string>

namespace platform {

// The file's bytes; nullopt when it cannot be read (missing, a folder, no permission).
std::optional<std::string> readWholeFile(const std::string& path);

// What a rewrite does with the current content (nullopt when the file does not exist yet): the new
// content, or nullopt to leave the file as it is.
using FileEdit = std::function<std::optional<std::string>(const std::optional<std::string>& current)>;

// False when the folder is missing, the file is read-only (no write bit, as Windows' read-only attribute:
// refused even for root), the current file cannot be read, or the new one cannot be written in full; the
// file is then unchanged; when another process holds the folder's lock for 5 s (said on standard error);
// or when the folder cannot be flushed after the rename (the new content is in place
// but may not outlast a crash). A symbolic link is followed and its target rewritten.
bool rewriteFile(const std::string& path, const FileEdit& edit);

// Writes a file that does not exist yet, whole and flushed; false, leaving nothing behind, when it exists
// already or cannot be written in full. Takes no lock, so it may run inside a rewrite's edit.
bool writeNewFile(const std::string& path, const std::string& bytes);

// Creates the folder and its missing parents; false when it does not exist afterwards.
bool makeFolders(const std::string& folder);

} // namespace platform
