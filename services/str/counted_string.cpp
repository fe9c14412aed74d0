#include "services/str/counted_string.h"

#include "services/output/output_mode.h"

#include <cstdint>
#include <cstring>

unsigned s_len(const char* text) {
    if (!text) return 0;
    if (!services::countedStringMode()) return static_cast<unsigned>(std::strlen(text));
    std::uint32_t size = 0;
    std::memcpy(&size, text - sizeof size, sizeof size);
    return size;
}
