#include "host/zhost/help.h"

#include <vector>

#include "host/editor/host_commands.h"
#include "host/filing/text_codec.h"
#include "host/lisp/lisp_eval.h"
#include "host/zhost/options.h"

namespace zhost {
namespace {

// The names after a heading, on indented lines of at most 100 characters.
std::string nameList(const char* heading, const std::vector<std::wstring>& names) {
    constexpr std::size_t kWidth = 100;
    std::string text = std::string(heading) + "\n";
    std::string line;
    for (const std::wstring& name : names) {
        const std::string word = host::toUtf8(name);
        if (!line.empty() && line.size() + 1 + word.size() > kWidth) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "  " : " ") + word;
    }
    return text + line + "\n";
}

} // namespace

std::string helpText() {
    return kUsage +
           nameList("Host commands (with a leading ' ZOOM runs inside another command; modules add theirs):",
                    host::hostCommandNames()) +
           nameList("LISP functions (a function C:NAME is also a command; modules add theirs):",
                    host::hostLispFunctionNames());
}

} // namespace zhost
