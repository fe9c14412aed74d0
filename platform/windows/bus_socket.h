#pragma once
// The sockets of the window bus: one listening socket per process (abstract Unix-domain name made of the
// namespace and the pid), connections checked to come from the same user, frames written and read whole.
#include "platform/windows/bus_frame.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::bus {

using Clock = std::chrono::steady_clock;

struct Frame {
    FrameHeader header{};
    std::string text;
};

// Listens for this process; -1 on failure.
int listenForProcess();
// Accepts one waiting connection from the same user; -1 when none waits (refused peers are closed).
int acceptPeer(int listener);
// Connects to the socket of `process`, waiting at most until `deadline`; -1 when it cannot be reached.
int connectToProcess(pid_t process, Clock::time_point deadline);

// Writes the whole frame to a non-blocking socket, waiting for room until `deadline`; false on failure.
bool writeFrame(int fd, const Frame& frame, Clock::time_point deadline);
// Writes the frames in one go, so that the peer wakes once for all of them.
bool writeFrames(int fd, const std::vector<Frame>& frames, Clock::time_point deadline);

// Takes the first whole frame off `buffer`, nullopt when it holds none yet; `malformed` is set when the
// buffer cannot hold a frame.
std::optional<Frame> takeFrame(std::string& buffer, bool& malformed);
// Appends what the socket holds to `buffer`; false when the peer closed it or it failed.
bool readAvailable(int fd, std::string& buffer);

} // namespace platform::bus
