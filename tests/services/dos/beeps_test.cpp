// The PC speaker driven through the port-access module (a recording stand-in found on LD_LIBRARY_PATH).
#include "services/dos/dos.h"

#include "platform/ui/speaker.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

struct Recording {
    int16_t (*writes)[2];
    int* count;
};

Recording recording() {
    void* module = dlopen(PORT_MODULE_NAME, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(module, nullptr);
    Recording found{reinterpret_cast<int16_t(*)[2]>(dlsym(module, "g_portWrites")),
                    static_cast<int*>(dlsym(module, "g_portWriteCount"))};
    dlclose(module);
    return found;
}

TEST(Beeps, ANegativeToneDrivesTheSpeakerForTheAbsoluteDuration) {
    const BeepRecord beep{-1000, -20, 0};
    EXPECT_EQ(_bip(&beep), 1);
    const Recording ports = recording();
    ASSERT_EQ(*ports.count, 5);
    const int16_t expected[5][2] = {{0x43, 0xB6}, {0x42, 0xE8}, {0x42, 0x03}, {0x61, 0x13}, {0x61, 0x10}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ports.writes[i][0], expected[i][0]) << i;
        EXPECT_EQ(ports.writes[i][1], expected[i][1]) << i;
    }

    *ports.count = 0;
    const BeepRecord twice{-500, 1, 1};
    EXPECT_EQ(DOS::Bip(&twice), 1);
    EXPECT_EQ(*ports.count, 10);
    platform::resetPortAccess();
}

} // namespace
