#pragma once
// The application's tests: an editor session with the test's own install folder, the plug-in's start-up
// flags, TEF colours and registrations put back after each test.
#include "entity/poly_arc3d.h"
#include "install_folder.h"
#include "plugin/menu_install.h"
#include "plugin/registration.h"
#include "plugin/tef_colors.h"
#include "plugin_test_support.h"
#include "transcript.h"

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
