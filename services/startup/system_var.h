#pragma once
// Screen metrics kept in the general segment (13 fields of 4 bytes at byte 2144), read by every process that
// starts the library. The clip rectangle is fixed by the first reading of the segment's life.
#include <cstddef>
#include <cstdint>

class __attribute__((packed)) CSystemVar {
public:
    float mouseScaleX;        // 65535 / (virtual screen width - 1)
    float mouseScaleY;        // 65535 / (virtual screen height - 1)
    std::int32_t mouseStepX;  // mouseScaleX * 0.25, truncated
    std::int32_t mouseStepY;  // mouseScaleY * 0.25, truncated
    std::int32_t thirty;      // 30
    std::int32_t screenLeft;  // the virtual screen
    std::int32_t screenTop;   //
    std::int32_t screenRight; // left + width
    std::int32_t screenBottom;
    std::int32_t clipLeft; // set from the virtual screen while clipRight and clipLeft are both 0
    std::int32_t clipTop;
    std::int32_t clipRight;
    std::int32_t clipBottom;

    // Reads the virtual screen and fills the fields; 1.
    int ReadVarSystem();
    // Moves the cursor; 1 when it was moved, else 0.
    static int SetCurSorPos(int x, int y);
};

static_assert(sizeof(CSystemVar) == 52);
static_assert(offsetof(CSystemVar, thirty) == 16);
static_assert(offsetof(CSystemVar, clipLeft) == 36);
static_assert(offsetof(CSystemVar, clipBottom) == 48);
