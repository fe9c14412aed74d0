#pragma once
// One run of zhost: open the drawing, load the modules, run the scripts, save, unload.
#include <string>

#include "host/zhost/options.h"

namespace zhost {

// Runs the session; messages go to stderr. Answers the exit status: 0 on success.
int runSession(const Options& options);

} // namespace zhost
