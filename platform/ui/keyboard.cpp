#include "platform/ui/keyboard.h"

#include <string_view>

namespace platform {

namespace {
bool controlDown = false;
}

bool isControlKeyDown() {
    return controlDown;
}

void setControlKeyDown(bool down) {
    controlDown = down;
}

int scanCodeOf(unsigned char c) {
    // Set 1 scan codes, row by row; a shifted character shares its key's code.
    static constexpr std::string_view kRows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`",
                                                 "zxcvbnm,./"};
    static constexpr std::string_view kShifted[] = {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"~",
                                                    "ZXCVBNM<>?"};
    static constexpr int kFirstCode[] = {0x02, 0x10, 0x1E, 0x2C};
    switch (c) {
    case ' ':
        return 0x39;
    case '\r':
    case '\n':
        return 0x1C;
    case '\t':
        return 0x0F;
    case 8:
        return 0x0E;
    case 27:
        return 0x01;
    case '\\':
    case '|':
        return 0x2B;
    default:
        break;
    }
    for (int row = 0; row < 4; ++row) {
        std::size_t place = kRows[row].find(static_cast<char>(c));
        if (place == std::string_view::npos) place = kShifted[row].find(static_cast<char>(c));
        if (place != std::string_view::npos) return kFirstCode[row] + static_cast<int>(place);
    }
    return 0;
}

} // namespace platform
