#pragma once
// The plug-in's tests: an editor session (see tests/host) with the plug-in's process-wide state reset.
#include "../host/editor_test_support.h"
#include "plugin/cresbuf.h"
#include "plugin/doc_lock.h"
#include "plugin/linetypes.h"
#include "plugin/print.h"
#include "plugin/rb_values.h"

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
