#pragma once
// The application's tests: an editor session with the test's own install folder, the plug-in's start-up
// flags, TEF colours and registrations put back after each test.
#include "entity/core/poly_arc3d.h"
#include "plugin/app/menu_install.h"
#include "plugin/app/registration.h"
#include "plugin/app/tef_colors.h"
#include "tests/cadutil/cadutil_test_support.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/transcript.h"

namespace plugin::test {

struct ApplicationSession : PluginSession {
    ApplicationSession() { resetApplication(); }
    ~ApplicationSession() {
        unloadRegistrations();
        resetApplication();
    }
    static void resetApplication() {
        g_InitFlags = 0;
        resetTefColors();
        CPolyArc3D::resetClassState();
    }
    InstallFolder install;
};

} // namespace plugin::test
