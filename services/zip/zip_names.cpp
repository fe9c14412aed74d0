#include "services/zip/zip_names.h"

#include "platform/base/code_page.h"

#include <algorithm>

namespace zip_names {

std::string stored(std::string_view systemName) {
    std::string name = platform::cp1252ToUtf8(systemName);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string shown(std::string_view storedName, unsigned long flags) {
    std::string name = flags & kUtf8Flag ? platform::utf8ToCp1252(storedName) : std::string(storedName);
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

bool staysBelow(std::string_view systemName) {
    if (systemName.empty() || systemName.front() == '\\' || systemName.front() == '/') return false;
    if (systemName.find(':') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start <= systemName.size()) {
        const std::size_t end = std::min(systemName.find_first_of("\\/", start), systemName.size());
        if (systemName.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

std::string_view nameAndExtension(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view extension(std::string_view name) {
    const std::string_view last = nameAndExtension(name);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : last.substr(dot);
}

} // namespace zip_names
