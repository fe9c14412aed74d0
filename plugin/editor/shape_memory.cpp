#include "plugin/editor/shape_memory.h"

namespace shape_memory {

Values& values() {
    static Values state;
    return state;
}

void reset() {
    values() = Values{};
}

} // namespace shape_memory
