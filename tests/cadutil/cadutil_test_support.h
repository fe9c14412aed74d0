#pragma once
// The plug-in's tests: an editor session (see tests/host) with the plug-in's process-wide state reset.
#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/linetypes.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/rb_values.h"
#include "tests/host/editor_test_support.h"

namespace plugin::test {

struct PluginSession : host::test::EditorSession {
    PluginSession() { reset(); }
    ~PluginSession() { reset(); }
    static void reset() {
        resetPrintHooks();
        resetLinetypeCache();
        resetValueCopies();
        CDocLock::reset();
    }
};

} // namespace plugin::test
