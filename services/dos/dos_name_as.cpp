// New names made from a source path and a pattern with wildcards.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"
#include "services/dos/dos_state.h"

#include <string>

using services::PathParts;
using services::splitPath;

namespace {

// Results are at most 360 characters; a longer one is refused rather than cut.
constexpr size_t kMaxNameAs = 360;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// "*" stands for the rest of the source's part, "?" for the source's character at that place; other
// characters are kept.
std::string applyWildcards(const std::string& pattern, const std::string& source) {
    std::string result;
    size_t at = 0; // place in the source
    for (const char c : pattern) {
        if (c == '*') {
            if (at < source.size()) result += source.substr(at);
            at = source.size();
        } else if (c == '?') {
            if (at < source.size()) result += source[at];
            ++at;
        } else {
            result += c;
            ++at;
        }
    }
    return result;
}

std::string collapseDoubledBackslashes(const std::string& folder, bool network) {
    std::string result;
    for (size_t i = 0; i < folder.size(); ++i) {
        const bool keepNetworkPrefix = network && i == 1;
        if (folder[i] == '\\' && !result.empty() && result.back() == '\\' && !keepNetworkPrefix) continue;
        result += folder[i];
    }
    return result;
}

std::string driveOf(const PathParts& source, const PathParts& pattern, bool network) {
    if (pattern.drive.find('*') != std::string::npos) return source.drive;
    if (pattern.drive.empty()) return network ? std::string() : source.drive;
    const size_t colon = pattern.drive.find("::");
    return colon == std::string::npos ? pattern.drive : pattern.drive.substr(0, colon + 1);
}

std::string folderOf(const PathParts& source, const PathParts& pattern) {
    const std::string& folder = pattern.folder;
    if (folder.empty()) return source.folder;
    if (folder[0] == '*') {
        size_t rest = 1;
        if (rest < folder.size() && isSeparator(folder[rest])) ++rest;
        return source.folder + folder.substr(rest);
    }
    if (pattern.drive.empty() && !isSeparator(folder[0])) return source.folder + folder;
    return folder;
}

} // namespace

char* DOS::GetNameAs(const char* source, const char* pattern) {
    if (!pattern || !*pattern) return services::sharedDosText(source ? source : "");
    if (!source || !*source) return services::sharedDosText(pattern);
    const PathParts from = splitPath(source);
    const PathParts with = splitPath(pattern);
    const bool network = with.drive.empty() && with.folder.size() >= 2 && isSeparator(with.folder[0]) &&
                         isSeparator(with.folder[1]);

    PathParts result;
    result.drive = driveOf(from, with, network);
    result.folder = collapseDoubledBackslashes(folderOf(from, with), network);
    result.name = with.name.empty() ? from.name : applyWildcards(with.name, from.name);
    if (!with.extension.empty() && with.extension != ".")
        result.extension = applyWildcards(with.extension, from.extension);
    const std::string joined = result.joined();
    return services::sharedDosText(joined.size() <= kMaxNameAs ? joined : std::string());
}
