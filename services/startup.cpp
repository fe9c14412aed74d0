#include "services/startup.h"

#include "platform/loaded_modules.h"
#include "services/fvar.h"
#include "services/message_boxes.h"
#include "services/output_lock.h"

// Everything the load step relies on is built before it: the objects of this unit carry init priorities
// below the load step's, and nothing in other units is needed before it.
fVar vfVar __attribute__((init_priority(1000))) (0);

namespace {

void* moduleHandle = nullptr;
bool initialised = false;

// The Windows process-attach notification.
__attribute__((constructor(1100))) void onLibraryLoad() {
    moduleHandle = platform::moduleOfAddress(&vfVar);
    services::createOutputLock();
    InitZortaGen();
    vfVar.SynchronizeTavroZorta();
}

// The Windows process-detach notification.
__attribute__((destructor(1100))) void onLibraryUnload() {
    waitForAsyncErrorBoxes();
    moduleHandle = nullptr;
    vfVar.SynchronizeTavroZorta();
}

} // namespace

int InitZortaGen() {
    if (initialised) return 2;
    if (moduleHandle) initialised = true;
    return 1;
}

void* services::libraryModule() {
    return moduleHandle;
}
