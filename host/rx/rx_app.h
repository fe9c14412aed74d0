#pragma once
// Application messages the host sends to a module through its entry point, and the module's lock.
#include "host/rx/adesk.h"

namespace AcRx {
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
} // namespace AcRx

// What a module exports under this plain name: it answers every application message.
using AcRxEntryPointFunction = AcRx::AppRetCode (*)(AcRx::AppMsgCode message, void* appId);

// A module is locked (stays loaded until the host ends) until it unlocks itself with the packet it was
// given at initialisation.
bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const ACHAR* moduleName);
