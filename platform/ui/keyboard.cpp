#include "platform/ui/keyboard.h"

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

} // namespace platform
