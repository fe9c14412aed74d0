#include "services/startup/fvar.h"

#include "platform/system/loaded_modules.h"
#include "services/output/message_boxes.h"
#include "services/startup/startup.h"

#include <cstring>

namespace {

// The 32-bit build looks for the other family's 32-bit module.
constexpr const char* kOtherFamilyModule = sizeof(void*) == 8 ? "QOLMEX64.DLL" : "QOLMEX.DLL";

int answerZero() {
    return 0;
}

} // namespace

fVar::fVar(int) {
    std::memset(reinterpret_cast<char*>(this) + 4, 0, sizeof(fVar) - 4);
    size = sizeof(fVar);
    InitZortaGen();
    returnsZero = answerZero;
    asyncErrorBox = showAsyncErrorBox;
    htcMode = 2.0;
    earthRadius = 6378137.0;
    earthRadiusInverse = 1.0 / 6378137.0;
    equirectangularFactor = 4390419.788351634;
    signature438 = 123456;
    colourScale478 = 255.0f;
    colourScale482 = 255.0f;
    maxSagitta = 0.1;
}

int fVar::SynchronizeTavroZorta() {
    moduleHandle = services::libraryModule();
    auto* other = static_cast<fVar*>(
        platform::findModuleSymbol(platform::findLoadedModule(kOtherFamilyModule), "vfVar"));
    if (!other) {
        fromOther12 = 0;
        fromOther28 = 0;
        zoneName[0] = '\0';
        return 0;
    }
    other->exchanged = exchanged;
    other->moduleHandle = moduleHandle;
    fromOther12 = other->fromOther12;
    fromOther28 = other->fromOther28;
    // The other block is trusted to end its zone name within its field; never copy past ours.
    std::memcpy(zoneName, other->zoneName, sizeof zoneName);
    zoneName[sizeof zoneName - 1] = '\0';
    return 1;
}

const char* GetZoneQEL() {
    vfVar.SynchronizeTavroZorta();
    return vfVar.zoneName;
}
