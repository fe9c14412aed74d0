#include "services/startup/fvar.h"

#include "platform/ui/message_box.h"
#include "services/output/message_boxes.h"
#include "services/startup/startup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

TEST(VariableBlock, HoldsItsStartValues) {
    EXPECT_EQ(vfVar.size, 618);
    EXPECT_EQ(vfVar.returnsZero(), 0);
    EXPECT_EQ(vfVar.htcMode, 2.0);
    EXPECT_EQ(vfVar.earthRadius, 6378137.0);
    EXPECT_DOUBLE_EQ(vfVar.earthRadiusInverse * 6378137.0, 1.0);
    EXPECT_EQ(vfVar.equirectangularFactor, 4390419.788351634);
    EXPECT_EQ(vfVar.signature438, 123456);
    EXPECT_EQ(vfVar.colourScale478, 255.0f);
    EXPECT_EQ(vfVar.colourScale482, 255.0f);
    EXPECT_EQ(vfVar.maxSagitta, 0.1);
    EXPECT_EQ(vfVar.zoneNameOverride[0], '\0');
}

TEST(VariableBlock, EveryByteOutsideItsFieldsIsZero) {
    fVar copy = vfVar; // the copy keeps all 618 bytes
    copy.size = 0;
    copy.moduleHandle = nullptr;
    copy.returnsZero = nullptr;
    copy.asyncErrorBox = nullptr;
    copy.htcMode = copy.earthRadius = copy.earthRadiusInverse = copy.equirectangularFactor = copy.maxSagitta =
        0;
    copy.signature438 = 0;
    copy.colourScale478 = copy.colourScale482 = 0;
    copy.jigFlags = copy.pluginFlags = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&copy);
    for (std::size_t i = 0; i < sizeof copy; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(VariableBlock, KnowsTheLoadedLibrary) {
    EXPECT_NE(services::libraryModule(), nullptr);
    EXPECT_EQ(vfVar.moduleHandle, services::libraryModule());
    EXPECT_EQ(InitZortaGen(), 2); // start-up completed at load
}

TEST(VariableBlock, AsyncErrorBoxIsReachedThroughTheBlock) {
    std::string seen;
    platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& box) {
        seen = box.text;
        return platform::IDOK;
    });
    char text[] = "erreur";
    vfVar.asyncErrorBox(text);
    waitForAsyncErrorBoxes();
    platform::setMessageBoxHandler(nullptr);
    EXPECT_EQ(seen, "erreur");
}

TEST(OtherFamilyBlock, AbsentModuleGivesAnEmptyZoneAndClearedWords) {
    vfVar.fromOther12 = 5;
    vfVar.fromOther28 = 6;
    EXPECT_EQ(vfVar.SynchronizeTavroZorta(), 0);
    EXPECT_STREQ(GetZoneQEL(), "");
    EXPECT_EQ(vfVar.fromOther12, 0u);
    EXPECT_EQ(vfVar.fromOther28, 0u);
}

TEST(OtherFamilyBlock, LoadedModuleExchangesItsWordsAndZoneName) {
    void* module = dlopen(OTHER_FAMILY_MODULE, RTLD_NOW);
    ASSERT_NE(module, nullptr) << dlerror();
    auto* other = static_cast<unsigned char*>(dlsym(module, "vfVar"));
    ASSERT_NE(other, nullptr);
    vfVar.exchanged = 0x0404040404040404u;

    EXPECT_EQ(vfVar.SynchronizeTavroZorta(), 1);
    EXPECT_STREQ(GetZoneQEL(), "ZONE_QOLMEX");
    EXPECT_EQ(vfVar.fromOther12, 0x1212121212121212u);
    EXPECT_EQ(vfVar.fromOther28, 0x2828282828282828u);
    // The handle sits in an 8-byte slot in either build, zero-extended by the 32-bit one.
    std::uint64_t exchanged = 0;
    std::uint64_t handle = 0;
    std::memcpy(&exchanged, other + 4, 8);
    std::memcpy(&handle, other + 20, 8);
    EXPECT_EQ(exchanged, 0x0404040404040404u);
    EXPECT_EQ(handle, reinterpret_cast<std::uintptr_t>(services::libraryModule()));

    // A zone name that fills its field without an end is cut, never read past.
    std::memset(other + 36, 'Z', 40);
    EXPECT_EQ(std::strlen(GetZoneQEL()), 39u);

    dlclose(module);
    EXPECT_STREQ(GetZoneQEL(), "");
    vfVar.exchanged = 0;
}

} // namespace
