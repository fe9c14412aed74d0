#include "platform/settings/private_profile.h"

#include "platform/base/ascii.h"

#include "platform/files/atomic_file.h"

namespace platform {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// One line of the file as the parser sees it.
struct Line {
    size_t begin = 0, end = 0; // byte range in the file, line end included
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;  // section or key name
    std::string_view value; // trimmed value, without its quotes
};

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

Line parseLine(std::string_view text, size_t begin, size_t end) {
    Line line;
    line.begin = begin;
    line.end = end;
    const std::string_view content = trimmed(text.substr(begin, end - begin));
    if (content.empty() || content.front() == ';') return line;
    if (content.front() == '[') {
        const size_t close = content.find(']');
        line.kind = Line::Section;
        line.name = trimmed(content.substr(1, close == std::string_view::npos ? close : close - 1));
        return line;
    }
    line.kind = Line::Key;
    const size_t equals = content.find('=');
    line.name = trimmed(content.substr(0, equals));
    if (equals != std::string_view::npos) line.value = unquoted(trimmed(content.substr(equals + 1)));
    return line;
}

std::vector<Line> parse(std::string_view text) {
    std::vector<Line> lines;
    for (size_t begin = 0; begin < text.size();) {
        const size_t newline = text.find('\n', begin);
        const size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        lines.push_back(parseLine(text, begin, end));
        begin = end;
    }
    return lines;
}

// The lines [first, last) of the first section named `section`: first is its header.
struct SectionRange {
    size_t first = 0, last = 0;
    bool found = false;
};

// Names are asked for as they are stored: without surrounding blanks.
SectionRange findSection(const std::vector<Line>& lines, std::string_view section) {
    section = trimmed(section);
    SectionRange range;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Section) continue;
        if (range.found) {
            range.last = i;
            return range;
        }
        if (sameNoCase(lines[i].name, section)) {
            range.first = i;
            range.found = true;
        }
    }
    range.last = lines.size();
    return range;
}

const Line* findKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
    key = trimmed(key);
    for (size_t i = range.first + 1; i < range.last; ++i)
        if (lines[i].kind == Line::Key && sameNoCase(lines[i].name, key)) return &lines[i];
    return nullptr;
}

bool isBlankLine(std::string_view text, const Line& line) {
    return trimmed(text.substr(line.begin, line.end - line.begin)).empty();
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool validSection(std::string_view section) {
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos;
}

bool validKey(std::string_view key) {
    const std::string_view name = trimmed(key);
    return !name.empty() && !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
           name.front() != '[' && name.front() != ';';
}

// The file with `section`'s `key` set, removed (null value) or the section removed (null key).
std::string edited(const std::string& text, std::string_view section, const char* key, const char* value) {
    const std::vector<Line> lines = parse(text);
    const SectionRange range = findSection(lines, section);
    const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    if (!key) {
        if (!range.found) return text;
        const size_t end = range.last < lines.size() ? lines[range.last].begin : text.size();
        return text.substr(0, lines[range.first].begin) + text.substr(end);
    }
    const Line* line = range.found ? findKey(lines, range, key) : nullptr;
    if (!value) {
        if (!line) return text;
        return text.substr(0, line->begin) + text.substr(line->end);
    }
    const std::string entry = std::string(line ? line->name : trimmed(key)) + "=" + value + eol;
    if (line) return text.substr(0, line->begin) + entry + text.substr(line->end);

    // A new section goes at the end, after a blank line; a new key after its section's last line that is
    // not blank.
    size_t after = lines.size();
    if (range.found) {
        after = range.first;
        for (size_t i = range.first + 1; i < range.last; ++i)
            if (!isBlankLine(text, lines[i])) after = i;
    }
    const size_t at = after < lines.size() ? lines[after].end : text.size();
    std::string out = text.substr(0, at);
    if (!out.empty() && out.back() != '\n') out += eol;
    if (!range.found) {
        if (!lines.empty() && !isBlankLine(text, lines.back())) out += eol;
        out += "[" + std::string(trimmed(section)) + "]" + eol;
    }
    return out + entry + text.substr(at);
}

} // namespace

std::optional<std::string> profileString(const std::string& path, std::string_view section,
                                         std::string_view key) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return std::nullopt;
    const std::vector<Line> lines = parse(*text);
    const SectionRange range = findSection(lines, section);
    if (!range.found) return std::nullopt;
    const Line* line = findKey(lines, range, key);
    if (!line) return std::nullopt;
    return std::string(line->value);
}

std::optional<std::vector<std::string>> profileSections(const std::string& path) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return std::nullopt;
    std::vector<std::string> names;
    for (const Line& line : parse(*text)) {
        if (line.kind != Line::Section) continue;
        bool seen = false;
        for (const std::string& name : names)
            seen = seen || sameNoCase(name, line.name);
        if (!seen) names.emplace_back(line.name);
    }
    return names;
}

std::optional<std::vector<std::string>> profileKeys(const std::string& path, std::string_view section) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return std::nullopt;
    const std::vector<Line> lines = parse(*text);
    const SectionRange range = findSection(lines, section);
    if (!range.found) return std::nullopt;
    std::vector<std::string> names;
    for (size_t i = range.first + 1; i < range.last; ++i)
        if (lines[i].kind == Line::Key) names.emplace_back(lines[i].name);
    return names;
}

bool writeProfileString(const std::string& path, std::string_view section, const char* key,
                        const char* value) {
    if (!validSection(section) || (key && !validKey(key)) || (value && hasLineBreak(value))) return false;
    return rewriteFile(path, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        const std::string text = current.value_or("");
        std::string updated = edited(text, section, key, value);
        if (updated == text) return std::nullopt;
        return updated;
    });
}

} // namespace platform
