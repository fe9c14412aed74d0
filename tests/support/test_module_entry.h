#pragma once
// What the modules that tests load into the host share: the version handshake (test_module_entry.cpp, built
// into each module so that it answers the host that module is built for) and the messages of a module that
// defines LISP functions.
#include <span>

#include "host/rx/rx_app.h"

namespace testing_support {

struct LispFunction {
    const ACHAR* name;
    int code;
};

// Registers the module as able to serve several drawings, defines `functions` in each drawing and takes them
// back when it closes, and hands each call to `call`, which answers false for a code it does not serve (the
// call then fails).
AcRx::AppRetCode answerLispModule(AcRx::AppMsgCode message, void* appId,
                                  std::span<const LispFunction> functions, bool (*call)(int code));

} // namespace testing_support
