#include "platform/system/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace platform;

TEST(GlobalMemory, ABlockGrowsAndShrinksUnderOneHandle) {
    HGLOBAL block = GlobalAlloc(4);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 4u);
    std::memcpy(GlobalLock(block), "abcd", 4);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_EQ(GlobalReAlloc(block, 1000000), block);
    EXPECT_EQ(GlobalSize(block), 1000000u);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(std::memcmp(bytes, "abcd", 4), 0) << "kept";
    EXPECT_EQ(bytes[999999], 0) << "new bytes zeroed";
    EXPECT_EQ(GlobalReAlloc(block, 2), block);
    EXPECT_EQ(GlobalSize(block), 2u);
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalSize(nullptr), 0u);
    EXPECT_EQ(GlobalReAlloc(nullptr, 5), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
}

} // namespace
