#include "services/startup/system_var.h"

#include "platform/ui/screens.h"

int CSystemVar::ReadVarSystem() {
    const int width = platform::systemMetric(platform::SM_CXVIRTUALSCREEN);
    const int height = platform::systemMetric(platform::SM_CYVIRTUALSCREEN);
    // A one-pixel screen would divide by zero; it takes the largest scale instead.
    mouseScaleX = 65535.0f / static_cast<float>(width > 1 ? width - 1 : 1);
    mouseScaleY = 65535.0f / static_cast<float>(height > 1 ? height - 1 : 1);
    mouseStepX = static_cast<std::int32_t>(static_cast<double>(mouseScaleX) * 0.25);
    mouseStepY = static_cast<std::int32_t>(static_cast<double>(mouseScaleY) * 0.25);
    thirty = 30;
    screenLeft = platform::systemMetric(platform::SM_XVIRTUALSCREEN);
    screenTop = platform::systemMetric(platform::SM_YVIRTUALSCREEN);
    screenRight = screenLeft + width;
    screenBottom = screenTop + height;
    if (clipRight == 0 && clipLeft == 0) {
        clipLeft = screenLeft;
        clipTop = screenTop;
        clipRight = screenRight;
        clipBottom = screenBottom;
    }
    return 1;
}

int CSystemVar::SetCurSorPos(int x, int y) {
    return platform::setCursorPos(x, y) ? 1 : 0;
}
