#include "host/zhost/options.h"

namespace zhost {

const char* const kUsage =
    "usage: zhost [DRAWING] [--host VERSION] [--load MODULE]... [--lisp FILE]... [--script FILE]...\n"
    "             [--save OUT] [--svg OUT.svg] [--window] [--help]\n"
    "  DRAWING        a DXF file or a binary drawing (told by content); none: a new drawing\n"
    "  --host VERSION the host to emulate: 2017, 2018, 2019, 2021 (AutoCAD, the default) or zrx2021 "
    "(ZWCAD);\n"
    "                 modules built for another host are refused\n"
    "  --load MODULE  load a module (plug-in) and send it the application messages\n"
    "  --lisp FILE    load an AutoLISP file before the scripts run (its C:NAME functions are commands)\n"
    "  --script FILE  run the commands of FILE, one a line (';' starts a comment)\n"
    "  --save OUT     save the drawing at the end, even when QUIT was answered Non: DXF when OUT\n"
    "                 ends in .dxf, else the binary drawing\n"
    "  --svg OUT.svg  write a picture of model space\n"
    "  --window       show the CAD window to other programs: what they type into it answers the prompts\n"
    "                 where a script waits with @typed\n";

std::optional<Options> parseOptions(const std::vector<std::string>& arguments, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                error = a + " needs a value";
                return false;
            }
            into = arguments[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--host") {
            std::string name;
            if (!value(name)) return std::nullopt;
            std::optional<host::HostVersion> version = host::hostVersionNamed(name);
            if (!version) {
                error = "unknown host " + name + " (2017, 2018, 2019, 2021 or zrx2021)";
                return std::nullopt;
            }
            options.host = *version;
        } else if (a == "--load") {
            if (!value(options.modules.emplace_back())) return std::nullopt;
        } else if (a == "--lisp") {
            if (!value(options.lispFiles.emplace_back())) return std::nullopt;
        } else if (a == "--script") {
            if (!value(options.scripts.emplace_back())) return std::nullopt;
        } else if (a == "--window") {
            options.window = true;
        } else if (a == "--save") {
            if (!value(options.save)) return std::nullopt;
        } else if (a == "--svg") {
            if (!value(options.svg)) return std::nullopt;
        } else if (a.starts_with("-")) {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (!options.drawing.empty()) {
            error = "only one drawing can be opened (" + options.drawing + " and " + a + ")";
            return std::nullopt;
        } else {
            options.drawing = a;
        }
    }
    return options;
}

} // namespace zhost
