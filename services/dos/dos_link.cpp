// Shortcuts and the folder picker.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"

#include "platform/base/ascii.h"
#include "platform/base/code_page.h"
#include "platform/files/path_map.h"
#include "platform/ui/user_dialogs.h"

#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr long S_OK = 0;
constexpr long E_INVALIDARG = static_cast<long>(static_cast<int>(0x80070057));
constexpr long E_FAIL = static_cast<long>(static_cast<int>(0x80004005));

// An argument of an Exec line: quoted, with the characters the desktop entry format reserves escaped.
std::string execArgument(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

// A value of a desktop entry is one line: line ends are written as the format's escapes.
std::string entryValue(const std::string& utf8) {
    std::string value;
    for (const char c : utf8) {
        if (c == '\n')
            value += "\\n";
        else if (c == '\r')
            value += "\\r";
        else if (c == '\\')
            value += "\\\\";
        else
            value += c;
    }
    return value;
}

} // namespace

// The shell link of Windows is a desktop entry here: a ".lnk" shortcut name is written with ".desktop"
// instead. The target may be followed by "|" and its arguments.
long DOS::CreateLink(const char* target, const char* shortcut, const char* description) {
    if (!target || !*target || !shortcut || !*shortcut) return E_INVALIDARG;
    const std::string_view given(target);
    const size_t bar = given.find('|');
    const std::string program(given.substr(0, bar));
    const std::string arguments(bar == std::string_view::npos ? std::string_view() : given.substr(bar + 1));

    std::string file(shortcut);
    if (file.size() > services::kMaxPath) return E_INVALIDARG;
    const services::PathParts parts = services::splitPath(file);
    if (platform::sameNoCase(parts.extension, ".lnk"))
        file = parts.drive + parts.folder + parts.name + ".desktop";
    const std::string label = description && *description ? description : parts.name;

    std::string entry = "[Desktop Entry]\nType=Application\n";
    entry += "Name=" + entryValue(platform::cp1252ToUtf8(label)) + "\n";
    if (description && *description)
        entry += "Comment=" + entryValue(platform::cp1252ToUtf8(description)) + "\n";
    entry += "Exec=" + execArgument(platform::cp1252ToUtf8(platform::hostPath(program)));
    if (!arguments.empty()) entry += " " + entryValue(platform::cp1252ToUtf8(arguments));
    entry += "\n";

    const std::string path = platform::hostPath(file);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0) return E_FAIL;
    const bool written = write(fd, entry.data(), entry.size()) == static_cast<ssize_t>(entry.size());
    return close(fd) == 0 && written ? S_OK : E_FAIL;
}

int DOS::GetFolder(std::uint64_t owner, const char* startFolder, char* out, const char* title) {
    if (!out) return 0;
    out[0] = 0;
    const platform::FolderRequest request{owner, title ? title : "Choisissez un r\xE9pertoire",
                                          startFolder ? startFolder : ""};
    const std::optional<std::string> chosen = platform::pickFolder(request);
    if (!chosen || chosen->empty() || chosen->size() > services::kMaxPath) return 0;
    std::memcpy(out, chosen->c_str(), chosen->size() + 1);
    return 1;
}
