#include "services/startup/startup.h"

#include "platform/ipc/registered_messages.h"
#include "platform/ipc/shared_segment.h"
#include "platform/system/loaded_modules.h"
#include "services/dos/dos.h"
#include "services/output/message_boxes.h"
#include "services/output/output.h"
#include "services/output/output_lock.h"
#include "services/settings/folders.h"
#include "services/startup/busy_word.h"
#include "services/startup/exchange_buffer.h"
#include "services/startup/fvar.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"
#include "services/str/str.h"

#include <cstring>

ZortaGenSeg* g_pZortaGenSeg = nullptr;
var_gen* pvg = nullptr;
CSystemVar* g_pSystemVar = nullptr;
Tavropad* g_pTpadG = nullptr;
SZortaTAVRO* g_pSZortaTAVRO = nullptr;
std::int32_t SelectAcAdInputEnCours = 0;

namespace {

void* moduleHandle = nullptr;
bool initialised = false;
// Never destroyed by a static destructor: the unload step, which runs after them, unmaps them.
platform::SharedSegment* qolmexSegment = nullptr;
platform::SharedSegment* generalSegment = nullptr;

} // namespace

// The static initialisers in the order of start-up: the variable block (its construction calls InitZortaGen a
// first time), the local editor link, the window messages. Their priorities place them before the load step.
fVar vfVar __attribute__((init_priority(1000))) (0);
Tavropad Tpadl __attribute__((init_priority(1001))) (1);
std::uint32_t wm_Tavro = 0;
std::uint32_t wm_TavroMem = 0;
std::uint32_t wm_ZortaMouse = 0;
std::uint32_t wm_ZortaPalet = 0;

namespace {
struct WindowMessageRegistration {
    WindowMessageRegistration() {
        wm_Tavro = platform::registerWindowMessage("WM_TAVRO");
        wm_TavroMem = platform::registerWindowMessage("WM_TAVROMEM");
        wm_ZortaMouse = platform::registerWindowMessage("WM_ZORTAMOUSE");
        wm_ZortaPalet = platform::registerWindowMessage("WM_ZORTPALET");
    }
} windowMessageRegistration __attribute__((init_priority(1002)));
} // namespace

namespace {

platform::SharedSegment* openSegment(const char* name, std::size_t size,
                                     const platform::SharedSegment::Initialiser& initialise) {
    auto* segment = new platform::SharedSegment(name, size, initialise);
    if (segment->isOpen()) return segment;
    mprintf("$G$\n****** Segment '%s' indisponible : %s ", name, segment->error().c_str());
    delete segment;
    return nullptr;
}

void mapQolmexSegment() {
    qolmexSegment = openSegment("GlobalZortaQolmexSeg", sizeof(SZortaTAVRO),
                                [](void* data) { static_cast<SZortaTAVRO*>(data)->size = kZortaTavroSize; });
    g_pSZortaTAVRO = qolmexSegment ? static_cast<SZortaTAVRO*>(qolmexSegment->data()) : nullptr;
}

void mapGeneralSegment() {
    STR::Init_tables_car();
    wm_Tavro = platform::registerWindowMessage("WM_TAVRO");
    generalSegment = openSegment("GlobalZortaGenSeg", sizeof(ZortaGenSeg), [](void* data) {
        auto* segment = static_cast<ZortaGenSeg*>(data);
        segment->size = kZortaGenSegSize;
        segment->general.size = kVarGenSize;
    });
    if (!generalSegment) return;
    services::openBusyRecord();
    g_pZortaGenSeg = static_cast<ZortaGenSeg*>(generalSegment->data());
    pvg = &g_pZortaGenSeg->general;
    g_pSystemVar = &g_pZortaGenSeg->systemVar;
    g_pSystemVar->ReadVarSystem();
}

// Sizes written by the creator, compared by every process; a mismatch is reported and start-up goes on.
void checkSegmentSizes() {
    if (g_pZortaGenSeg->size != kZortaGenSegSize)
        mprintf("$G$******** Probleme de taille de 'ZortaGenSeg' %d au lieu de %d ", g_pZortaGenSeg->size,
                kZortaGenSegSize);
    if (pvg->size != kVarGenSize)
        mprintf("$G$******** Probleme de taille de 'ZortaGenSeg' %d au lieu de %d ",
                static_cast<int>(pvg->size), static_cast<int>(kVarGenSize));
    if (g_pSZortaTAVRO && g_pSZortaTAVRO->size != kZortaTavroSize)
        mprintf("$G$\n****** ERREUR Taille de 'SZortaTAVRO' Incoh\xe9rante entre TAVRO et ZORTA %d au lieu "
                "de %d ",
                g_pSZortaTAVRO->size, kZortaTavroSize);
    if (pvg->pvDeb)
        mprintf("\nZortaGenSeg=%p pvg=%p pvDeb=%d", static_cast<void*>(g_pZortaGenSeg),
                static_cast<void*>(pvg), pvg->pvDeb);
}

void unmapSegments() {
    g_pZortaGenSeg = nullptr;
    pvg = nullptr;
    g_pSystemVar = nullptr;
    g_pTpadG = nullptr;
    g_pSZortaTAVRO = nullptr;
    services::closeBusyRecord();
    delete generalSegment;
    generalSegment = nullptr;
    delete qolmexSegment;
    qolmexSegment = nullptr;
}

// The Windows process-attach notification.
__attribute__((constructor(1100))) void onLibraryLoad() {
    moduleHandle = platform::moduleOfAddress(&vfVar);
    services::createOutputLock();
    services::openExchangeMutex();
    InitZortaGen();
    DOS::UpdateIntranet(nullptr);
    vfVar.SynchronizeTavroZorta();
}

// The Windows process-detach notification. Windows frees the mutex and the message table with the process;
// here the last process that uses them removes them, so they are closed too.
__attribute__((destructor(1100))) void onLibraryUnload() {
    waitForAsyncErrorBoxes();
    unmapSegments();
    services::closeExchangeMutex();
    platform::closeWindowMessageTable();
    moduleHandle = nullptr;
    initialised = false;
    vfVar.SynchronizeTavroZorta();
}

} // namespace

int InitZortaGen() {
    if (initialised) return 2;
    if (!qolmexSegment) mapQolmexSegment();
    if (!generalSegment) mapGeneralSegment();
    const bool completing = moduleHandle != nullptr;
    if (completing) {
        initialised = true;
        get_env();
    }
    if (!g_pZortaGenSeg) return 1;
    g_pTpadG = &g_pZortaGenSeg->globalPad;
    if (completing) checkSegmentSizes();
    return 1;
}

void* services::libraryModule() {
    return moduleHandle;
}
