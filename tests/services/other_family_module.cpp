// Stands for the other product family's variables module: it exports a block `vfVar` with the layout of the
// library's, filled as that family's programs would fill it.
#include <cstdint>
#include <cstring>

// Protected: the module's own references stay on its own block, as they do on Windows, even though the
// library loaded before it exports a `vfVar` too.
extern unsigned char vfVar[618];
alignas(8) __attribute__((visibility("protected"))) unsigned char vfVar[618];

namespace {

struct Fill {
    Fill() {
        const std::int32_t size = 618;
        const std::uint64_t word12 = 0x1212121212121212u;
        const std::uint64_t word28 = 0x2828282828282828u;
        std::memcpy(vfVar, &size, 4);
        std::memcpy(vfVar + 12, &word12, 8);
        std::memcpy(vfVar + 28, &word28, 8);
        std::strcpy(reinterpret_cast<char*>(vfVar + 36), "ZONE_QOLMEX");
    }
} fill;

} // namespace
