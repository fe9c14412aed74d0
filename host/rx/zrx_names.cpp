#include "host/rx/zrx_names.h"

#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/input/prompts.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/rx_app.h"

bool zcrxUnlockApplication(void* appId) {
    return acrxUnlockApplication(appId);
}

int zcdbRegApp(const ACHAR* appName) {
    return acdbRegApp(appName);
}

int zcedDefun(const ACHAR* name, int funcode) {
    return acedDefun(name, funcode);
}

int zcedUndef(const ACHAR* name, int funcode) {
    return acedUndef(name, funcode);
}

resbuf* zcedGetArgs() {
    return acedGetArgs();
}

Acad::ErrorStatus deleteZcRxClass(AcRxClass* c) {
    return deleteAcRxClass(c);
}

Acad::ErrorStatus zcdbGetZdsName(ads_name& name, AcDbObjectId id) {
    return acdbGetAdsName(name, id);
}

int zcedGetString(int blanks, const ACHAR* prompt, ACHAR* result) {
    return acedGetString(blanks, prompt, result, kUnsizedStringUnits);
}
