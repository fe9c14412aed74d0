#pragma once
// A whole buffer written to a descriptor, however many writes it takes. Header only: the host, which does not
// link the library, writes its drawings with it too.
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string_view>

namespace platform {

// 0 once every byte is written, or the errno of the failure (EIO for a write that took nothing).
inline int writeAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace platform
