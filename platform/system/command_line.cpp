#include "platform/system/command_line.h"

#include "platform/base/ascii.h"

namespace platform {
namespace {

void skipBlanks(std::string_view line, size_t& at) {
    while (at < line.size() && isBlank(line[at]))
        ++at;
}

std::string takeProgram(std::string_view line, size_t& at) {
    std::string program;
    if (line[at] == '"') {
        const size_t end = line.find('"', at + 1);
        program = line.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        at = end == std::string_view::npos ? line.size() : end + 1;
    } else {
        while (at < line.size() && !isBlank(line[at]))
            program += line[at++];
    }
    return program;
}

std::string takeArgument(std::string_view line, size_t& at) {
    std::string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !isBlank(line[at]))) {
        const char c = line[at];
        if (c == '\\') {
            size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                    ++at;
                }
            } else {
                argument.append(backslashes, '\\');
            }
        } else if (c == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                argument += '"';
                at += 2;
            } else {
                quoted = !quoted;
                ++at;
            }
        } else {
            argument += c;
            ++at;
        }
    }
    return argument;
}

} // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> items;
    size_t at = 0;
    skipBlanks(line, at);
    if (at == line.size()) return items;
    items.push_back(takeProgram(line, at));
    for (skipBlanks(line, at); at < line.size(); skipBlanks(line, at))
        items.push_back(takeArgument(line, at));
    return items;
}

} // namespace platform
