#include "editor/link/my_parse.h"

#include "editor/link/handshake.h"
#include "editor/link/instance_search.h"
#include "platform/base/ascii.h"

#include <charconv>
#include <cstring>
#include <unistd.h>

namespace {

// Copies `text` into a field, cut to fit with its terminating zero.
template <std::size_t N> void copyField(char (&field)[N], std::string_view text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

bool startsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::sameNoCase(text.substr(0, prefix.size()), prefix);
}

bool flagValue(std::string_view value) {
    return value.empty() || value[0] != '0';
}

// A "Stop=" id: a process other than this one, above 0; 0 for anything else.
std::int32_t stopId(std::string_view value) {
    std::int32_t id = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), id);
    if (error != std::errc() || id <= 0 || id == getpid()) return 0;
    return id;
}

void parseSwitch(std::string_view text, CMyParse& parse, ParseActions& actions) {
    if (startsNoCase(text, "id=")) {
        if (const std::optional<platform::Hwnd> caller = runHandshake(text.substr(3), actions.mainFrame))
            actions.callerWindow = *caller;
    } else if (startsNoCase(text, "fen=")) {
        copyField(parse.windowPrefix, text.substr(4));
        if (actions.setExplicitTitle) actions.setExplicitTitle(parse.windowPrefix);
        parse.foundWindow = findInstanceByTitle(parse.windowPrefix);
    } else if (startsNoCase(text, "titre=")) {
        copyField(parse.titleSuffix, text.substr(6));
    } else if (startsNoCase(text, "ro=")) {
        parse.readOnly = flagValue(text.substr(3)) ? 1 : 0;
    } else if (startsNoCase(text, "on=")) {
        parse.bringToFront = flagValue(text.substr(3)) ? 1 : 0;
    } else if (text.starts_with("Stop=")) {
        parse.stopProcessId = stopId(text.substr(5));
    } else if (text == "G") {
        parse.globalScreen = 1;
    }
}

} // namespace

CMyParse::CMyParse() = default;

bool CMyParse::assignReceived(const void* bytes, std::size_t size) {
    if (size != sizeof(CMyParse) || !bytes) return false;
    std::memcpy(static_cast<void*>(this), bytes, sizeof(CMyParse));
    fileName[sizeof fileName - 1] = '\0';
    titleSuffix[sizeof titleSuffix - 1] = '\0';
    windowPrefix[sizeof windowPrefix - 1] = '\0';
    return true;
}

bool isSwitch(std::string_view argument) {
    if (argument.size() < 2) return false;
    if (argument[0] == '-') return true;
    if (argument[0] != '/') return false;
    const std::size_t equals = argument.find('=');
    const std::size_t slash = argument.find('/', 1);
    return slash == std::string_view::npos || (equals != std::string_view::npos && equals < slash);
}

void parseCommandLine(const std::vector<std::string>& arguments, CMyParse& parse, ParseActions& actions) {
    bool fileNamed = false;
    for (const std::string& argument : arguments) {
        if (isSwitch(argument)) {
            parseSwitch(std::string_view(argument).substr(1), parse, actions);
        } else if (!fileNamed) {
            copyField(parse.fileName, argument);
            fileNamed = true;
        }
    }
}
