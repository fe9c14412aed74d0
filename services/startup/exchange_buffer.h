#pragma once
// The 1,024-byte exchange buffer of the general segment, shared by every process of the machine and guarded,
// when the caller asks for it, by the named mutex "vb_mutex". Copies never leave the buffer: `count` is cut
// to what lies between `offset` and its end. A holder of the mutex that died leaves it abandoned; the next
// caller gets it and copies all the same. A holder that keeps it more than a few seconds makes the copy fail
// with a message.

// Copies up to `count` bytes from the buffer at `offset`; with `lock` non-zero under the mutex. Answers the
// number of bytes copied (0 for an offset of 1024 or more, a null destination, no segment, or a mutex that
// stayed held).
int vbbuf_read(void* dest, unsigned offset, unsigned count, int lock);

// The same into the buffer.
int vbbuf_write(const void* src, unsigned offset, unsigned count, int lock);

namespace services {

// Opens the named mutex "vb_mutex" once (at load); closes it (at unload).
void openExchangeMutex();
void closeExchangeMutex();

} // namespace services
