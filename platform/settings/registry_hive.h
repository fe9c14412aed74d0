#pragma once
// The in-memory form of one hive file and its text format (one "key" line per key, one "value" line per
// value under it; names and texts quoted, with \\, \" and \xHH escapes for control bytes).
#include "platform/settings/registry.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::registry {

struct HiveKey {
    std::string path; // as first spelled, components joined by "\"
    std::vector<std::pair<std::string, Value>> values;
};

// Keys by their folded path.
using HiveKeys = std::map<std::string, HiveKey>;

// The path without leading, trailing or doubled backslashes, spelled as given; folded: in lower case too.
std::string cleanPath(std::string_view path);
std::string foldedPath(std::string_view path);

// What could be read of a hive's text. A damaged hive (a line that cannot be read, or no header) gives the
// keys and values of its sound lines; the values under a damaged key line are dropped with it.
struct ParsedHive {
    HiveKeys keys;
    bool damaged = false;
};
ParsedHive parseHive(const std::string& text);
std::string formatHive(const HiveKeys& keys);

} // namespace platform::registry
