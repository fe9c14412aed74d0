#include "services/str/str.h"
#include "services/str/str_internal.h"

#include <algorithm>
#include <cstdlib>

namespace str_detail {
namespace {
char* buffer = nullptr;
size_t capacity = 0;
} // namespace

char* resultBuffer(size_t size) {
    size = std::max<size_t>(size, 260);
    if (size > capacity) {
        char* grown = static_cast<char*>(std::realloc(buffer, size));
        if (!grown) return nullptr;
        buffer = grown;
        capacity = size;
    }
    return buffer;
}

void releaseResultBuffer() {
    std::free(buffer);
    buffer = nullptr;
    capacity = 0;
}

} // namespace str_detail

void STR::Reset() {
    str_detail::releaseResultBuffer();
    str_detail::releaseUriBuffer();
    str_detail::releaseDecoderSlots();
}
