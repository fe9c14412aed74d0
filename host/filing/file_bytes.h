#pragma once
// Whole-file reads and safe replacement of drawing files.
//
// A save writes a temporary of a unique name beside the drawing (created exclusively, so two writers never
// share one), flushes it to the disk and renames it over the drawing, then flushes the folder: a reader, a
// second writer or a process killed at any moment sees the old drawing or a new one whole. The temporary's
// name carries the writer's process id, so a later save or open removes those that dead processes left.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace host {

// The whole content of a regular file; nothing, with `reason` (when given) saying why, for a file that cannot
// be read or is no regular file (a device or a pipe, which may never end).
std::optional<std::string> readFileBytes(const std::wstring& fileName, std::string* reason = nullptr);

// The same, taking a pipe too, read until its writer closes it: a script may come from another program.
std::optional<std::string> readFileOrPipeBytes(const std::wstring& fileName, std::string* reason = nullptr);

// Replaces the file's content. A symbolic link is followed and its target replaced; the file keeps its
// permission bits (a new one takes those the umask leaves); a read-only file (no write bit) is refused, as a
// CAD program refuses to save over it, even for root. On failure the file is unchanged, no temporary is left
// and `reason` (when given) says why in the system's words: disk full, permission denied, no such folder.
bool writeFileBytes(const std::wstring& fileName, const std::string& bytes, std::string* reason = nullptr);

// The same for content made while it is written: `produce` hands its bytes, in as many pieces as it likes, to
// the writer it is given, so a large drawing never waits whole in memory. An exception from `produce` leaves
// the file unchanged, removes the temporary and goes on to the caller.
using ByteWriter = std::function<void(std::string_view)>;
bool writeFileBytes(const std::wstring& fileName, const std::function<void(const ByteWriter&)>& produce,
                    std::string* reason = nullptr);

// Removes the temporaries that processes no longer running left beside the file.
void removeStaleTemporaries(const std::wstring& fileName);

} // namespace host
