// zhost: the headless CAD host. Opens a drawing, loads modules, runs scripts, saves drawings and pictures.
#include <cstdio>
#include <exception>

#include "host/zhost/help.h"
#include "host/zhost/options.h"
#include "host/zhost/session.h"

int main(int argc, char** argv) {
    std::string error;
    std::optional<zhost::Options> options =
        zhost::parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "zhost: %s\n%s", error.c_str(), zhost::kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(zhost::helpText().c_str(), stdout);
        return 0;
    }
    try {
        return zhost::runSession(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zhost: %s\n", e.what());
        return 1;
    }
}
