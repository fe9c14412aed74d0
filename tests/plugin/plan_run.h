// zhost run as a separate process on a drawing with a plug-in module loaded, as a user runs a script.
#pragma once

#include <string>
#include <unistd.h>

#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"
#include "tests/plugin/install_folder.h"
#include "tests/support/program_run.h"

namespace plugin::test {

// Writes `scriptText` to `script`, runs `zhost` on `drawing` with `module` loaded and `output` (such as
// "--save F" or "--svg F") after the script, in a namespace of its own named by `tag`; zhost's transcript.
inline std::string runScriptOnDrawing(const InstallFolder& install, const host::test::TemporaryFile& script,
                                      const std::string& tag, const std::string& zhost,
                                      const std::string& drawing, const std::string& module,
                                      const std::string& scriptText, const std::string& output) {
    host::writeFileBytes(script.wide(), scriptText);
    const std::string environment = "ZORTA_NAMESPACE=" + tag + "_" + std::to_string(getpid()) +
                                    "_ ZORTA=" + install.root.path() + "/install/";
    const auto run = testing_support::runProgram(environment + " " + zhost + " " + drawing + " --load " +
                                                 module + " --script " + script.path + " " + output);
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
}

} // namespace plugin::test
