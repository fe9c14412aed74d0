#include "platform/windows/bus_socket.h"

#include "platform/ipc/machine_names.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::bus {

namespace {

socklen_t addressOf(pid_t process, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string name = machineName("zorta-window-bus-" + std::to_string(process));
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length); // abstract: no file to clean up
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

bool sameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

int listenForProcess() {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_un address;
    const socklen_t length = addressOf(getpid(), address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int acceptPeer(int listener) {
    for (;;) {
        const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return -1;
        if (sameUser(fd)) return fd;
        ::close(fd);
    }
}

int connectToProcess(pid_t process, Clock::time_point deadline) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    // A full backlog makes connect wait; the send time-out bounds that wait.
    const int waitMs = std::max(remainingMs(deadline), 1);
    timeval limit{waitMs / 1000, (waitMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_un address;
    const socklen_t length = addressOf(process, address);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || !sameUser(fd)) {
        ::close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

bool writeFrames(int fd, const std::vector<Frame>& frames, Clock::time_point deadline) {
    std::string bytes;
    for (const Frame& frame : frames) {
        FrameHeader header = frame.header;
        header.textLength = static_cast<std::uint32_t>(frame.text.size());
        bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
        bytes += frame.text;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
        pollfd ready{fd, POLLOUT, 0};
        if (poll(&ready, 1, std::min(remainingMs(deadline), 100)) < 0 && errno != EINTR) return false;
        if (!(ready.revents & POLLOUT) && Clock::now() >= deadline) return false;
    }
    return true;
}

bool writeFrame(int fd, const Frame& frame, Clock::time_point deadline) {
    return writeFrames(fd, {frame}, deadline);
}

std::optional<Frame> takeFrame(std::string& buffer, bool& malformed) {
    malformed = false;
    if (buffer.size() < sizeof(FrameHeader)) return std::nullopt;
    Frame frame;
    std::memcpy(&frame.header, buffer.data(), sizeof frame.header);
    if (frame.header.textLength > kFrameTextLimit) {
        malformed = true;
        return std::nullopt;
    }
    const std::size_t total = sizeof(FrameHeader) + frame.header.textLength;
    if (buffer.size() < total) return std::nullopt;
    frame.text = buffer.substr(sizeof(FrameHeader), frame.header.textLength);
    buffer.erase(0, total);
    return frame;
}

bool readAvailable(int fd, std::string& buffer) {
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            buffer.append(chunk, static_cast<std::size_t>(got));
            if (static_cast<std::size_t>(got) < sizeof chunk) return true; // drained: no read just to hear so
            continue;
        }
        if (got == 0) return false;
        return errno == EAGAIN || errno == EINTR;
    }
}

} // namespace platform::bus
