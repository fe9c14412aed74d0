#pragma once
// The command line of zhost:
//   zhost [DRAWING] [--host VERSION] [--load MODULE]... [--lisp FILE]... [--script FILE]... [--save OUT]
//   [--svg OUT.svg]
//   [--window] [--help]
#include <optional>
#include <string>
#include <vector>

#include "host/rx/host_versions.h"

namespace zhost {

struct Options {
    std::string drawing; // empty: a new drawing
    host::HostVersion host = host::HostVersion::Acad2021;
    std::vector<std::string> modules;
    std::vector<std::string> lispFiles; // loaded before the scripts run
    std::vector<std::string> scripts;
    std::string save;
    std::string svg;
    bool window = false; // the CAD window on the window bus, which other programs type into
    bool help = false;
};

// The options, or nothing with `error` set for a command line that makes no sense.
std::optional<Options> parseOptions(const std::vector<std::string>& arguments, std::string& error);
extern const char* const kUsage;

} // namespace zhost
