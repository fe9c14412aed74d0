#pragma once
// The ZRX host's names for the functions that ObjectARX names with "ac": a module built for ZRX calls these
// (host/target_host.h maps the names). They do what their ac counterparts do.
#include <cstddef>

#include "host/db/db_object_id.h"
#include "host/db/resbuf.h"
#include "host/rx/acad_status.h"
#include "host/rx/rx.h"

bool zcrxUnlockApplication(void* appId);
int zcdbRegApp(const ACHAR* appName);
int zcedDefun(const ACHAR* name, int funcode);
int zcedUndef(const ACHAR* name, int funcode);
resbuf* zcedGetArgs();
Acad::ErrorStatus deleteZcRxClass(AcRxClass* c);
Acad::ErrorStatus zcdbGetZdsName(ads_name& name, AcDbObjectId id);
// The ZRX string prompt writes into a buffer whose size it is not told: it takes answers of at most
// kUnsizedStringUnits - 1 characters and refuses longer ones, as the prompt refuses any answer that does
// not fit.
constexpr std::size_t kUnsizedStringUnits = 133;
int zcedGetString(int blanks, const ACHAR* prompt, ACHAR* result);
