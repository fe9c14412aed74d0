#pragma once
// Starts a program named as on Windows: "X.exe" is the program "X" here. A path goes through the path mapper;
// a bare name is looked for along PATH, first as given, then without its ".exe".
#include <string>
#include <sys/types.h>
#include <vector>

namespace services {

// The child's id, or -errno; `inheritOutput` as for platform::spawnProcess.
pid_t startProgram(std::vector<std::string> argv, bool detached, bool inheritOutput = true);

} // namespace services
