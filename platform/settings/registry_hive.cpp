#include "platform/settings/registry_hive.h"

#include "platform/base/ascii.h"

#include <charconv>

namespace platform::registry {
namespace {

constexpr std::string_view kHeader = "ZORTA registry hive 1";
constexpr char kHex[] = "0123456789ABCDEF";

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
}

// Reads one quoted text at the start of `line` and takes it (and one following blank) off.
std::optional<std::string> takeQuoted(std::string_view& line) {
    if (line.empty() || line.front() != '"') return std::nullopt;
    std::string text;
    size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            text += line[i];
            continue;
        }
        if (++i >= line.size()) return std::nullopt;
        if (line[i] == 'x') {
            if (i + 2 >= line.size() || hexDigit(line[i + 1]) < 0 || hexDigit(line[i + 2]) < 0)
                return std::nullopt;
            text += static_cast<char>(hexDigit(line[i + 1]) << 4 | hexDigit(line[i + 2]));
            i += 2;
        } else {
            text += line[i];
        }
    }
    if (i >= line.size()) return std::nullopt;
    line.remove_prefix(i + 1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return text;
}

std::string_view takeWord(std::string_view& line) {
    const size_t blank = line.find(' ');
    const std::string_view word = line.substr(0, blank);
    line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
    return word;
}

std::optional<Value> parseValue(std::string_view& line) {
    const std::string_view type = takeWord(line);
    if (type == "dword") {
        Value value = Value::dword(0);
        const auto result = std::from_chars(line.data(), line.data() + line.size(), value.number);
        if (result.ec != std::errc() || result.ptr != line.data() + line.size()) return std::nullopt;
        return value;
    }
    if (type != "sz" && type != "expand") return std::nullopt;
    std::optional<std::string> text = takeQuoted(line);
    if (!text || !line.empty()) return std::nullopt;
    Value value = Value::string(*text);
    if (type == "expand") value.type = ValueType::ExpandString;
    return value;
}

} // namespace

std::string cleanPath(std::string_view path) {
    std::string clean;
    for (const char c : path) {
        if (c == '\\' && (clean.empty() || clean.back() == '\\')) continue;
        clean += c;
    }
    if (!clean.empty() && clean.back() == '\\') clean.pop_back();
    return clean;
}

std::string foldedPath(std::string_view path) {
    std::string folded = cleanPath(path);
    for (char& c : folded)
        c = asciiLower(c);
    return folded;
}

ParsedHive parseHive(const std::string& text) {
    ParsedHive hive;
    HiveKey* current = nullptr;
    bool first = true;
    for (size_t begin = 0; begin < text.size();) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + begin, end - begin);
        begin = end + 1;
        if (first) {
            first = false;
            if (line == kHeader) continue;
            hive.damaged = true;
        }
        if (line.empty()) continue;
        const std::string_view kind = takeWord(line);
        std::optional<std::string> name = takeQuoted(line);
        if (name && kind == "key" && line.empty()) {
            current = &hive.keys[foldedPath(*name)];
            current->path = *name;
            continue;
        }
        std::optional<Value> value;
        if (name && kind == "value") value = parseValue(line);
        if (value && current) {
            current->values.emplace_back(std::move(*name), std::move(*value));
            continue;
        }
        hive.damaged = true;
        // A key line that cannot be read takes its values with it: they belong to no key that was read.
        if (kind != "value") current = nullptr;
    }
    return hive;
}

std::string formatHive(const HiveKeys& keys) {
    std::string out(kHeader);
    out += '\n';
    for (const auto& [folded, key] : keys) {
        out += "key ";
        appendQuoted(out, key.path);
        out += '\n';
        for (const auto& [name, value] : key.values) {
            out += "value ";
            appendQuoted(out, name);
            switch (value.type) {
            case ValueType::Dword:
                out += " dword " + std::to_string(value.number);
                break;
            case ValueType::String:
            case ValueType::ExpandString:
                out += value.type == ValueType::String ? " sz " : " expand ";
                appendQuoted(out, value.text);
                break;
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace platform::registry
