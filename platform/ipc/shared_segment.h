#pragma once
// Named shared memory (CreateFileMappingA, OpenFileMappingA, MapViewOfFile).
//
// Windows keeps a mapping while any process holds it and frees it with the last handle. POSIX shared memory
// outlives its processes, so every segment here has a users file on which each process that maps the segment
// holds a shared flock; opening and closing run under a second, exclusive lock file. Hence:
// - the creator is the process that finds no other user. It makes the segment anew, zero-filled: a segment
//   left behind by processes that died (stale) is made anew the same way. It may initialise the segment
//   before any other process can open it;
// - the last process to close the segment removes it.
// Names take the ZORTA_NAMESPACE prefix and the user's id. Objects are made with mode 0600: a segment is
// shared by the processes of one user, as a mapping without "Global\" is shared within one Windows session;
// a segment, users file or lock file that another user owns, or that others may write, is refused.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

class SharedSegment {
public:
    using Initialiser = std::function<void(void* data)>;

    SharedSegment() = default;
    // Opens the segment `name` with `size` bytes, creating it when no other process uses it; `initialise`
    // runs on a segment this call created. A segment that exists with fewer bytes is not mapped.
    SharedSegment(std::string_view name, std::size_t size, const Initialiser& initialise = {});
    ~SharedSegment();

    SharedSegment(SharedSegment&& other) noexcept;
    SharedSegment& operator=(SharedSegment&& other) noexcept;
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    bool isOpen() const { return data_ != nullptr; }
    void* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Whether this process created the segment (it was zero-filled then).
    bool created() const { return created_; }
    // Why the segment could not be opened; empty when it is open.
    const std::string& error() const { return error_; }

    // Unmaps the segment; the last user removes it. Safe to call again.
    void close();

private:
    void open(const Initialiser& initialise);

    std::string name_;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    bool created_ = false;
    int usersFd_ = -1;
    pid_t openedBy_ = 0;
    std::string error_;
};

// The name of the POSIX object behind the segment `name` (its users and lock files add ".users", ".lock").
std::string segmentObjectName(std::string_view name);

// Removes the segment `name` when no process uses it: what a killed last user left behind.
void removeStaleSegment(std::string_view name);

} // namespace platform
