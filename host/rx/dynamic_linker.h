#pragma once
// The dynamic linker: the system registry's entry "DynamicLinker". Modules tell it that they can work with
// several drawings open at once.
#include "host/rx/rx.h"

class AcRxDynamicLinker : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcRxDynamicLinker)
public:
    // False for a handle that is not a loaded module's.
    bool registerAppMDIAware(void* appId);
    bool isAppMDIAware(void* appId) const;
};

extern AcRxDynamicLinker* acrxDynamicLinker;
