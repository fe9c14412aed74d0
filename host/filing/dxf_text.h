#pragma once
// ASCII DXF text: pairs of lines (group code, value) turned into typed groups and back. Texts are
// Windows-1252 with \U+XXXX escapes up to AC1018, UTF-8 from AC1021; control characters use the caret
// notation (^J for a line feed, "^ " for a caret).
//
// Both directions work in place on the bytes: a reader parses one group at a time where it stands in the
// text, a writer formats each group straight into a buffer that is handed on in large blocks, so a drawing's
// memory is its objects, not copies of its groups.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/filing/group.h"

namespace host {

// A fault in a DXF file; the message names the line.
struct DxfError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class DxfEncoding { Cp1252, Utf8 };

// The encoding a DXF text declares by its $ACADVER (UTF-8 from AC1021).
DxfEncoding declaredEncoding(std::string_view text);

// One group as it stands in the text, nothing parsed: the code's line, its number (from 1) and the value's
// line.
struct RawGroup {
    std::string_view code;
    std::string_view value;
    int line = 0;
};

// The pairs of lines of a DXF text from a position on. A copy is a bookmark: reading ahead on a copy leaves
// the original where it was.
class DxfLines {
public:
    enum class Step { Group, End, Truncated };

    explicit DxfLines(std::string_view text) : m_text(text) {}

    // The next pair. A final empty line ends the text; a code line without its value is Truncated (`group`
    // then holds the code and its line).
    Step next(RawGroup& group);
    // The number of the next line to read.
    int line() const { return m_line; }
    // Whether the next pair's code line holds exactly `code`, as a writer puts it; nothing is read.
    bool nextCodeIs(int code) const;

private:
    bool nextLine(std::string_view& line);

    std::string_view m_text;
    std::size_t m_offset = 0;
    int m_line = 1;
};

// The code of a raw group, or nullopt when it is not a number.
std::optional<int> rawCode(const RawGroup& group);
// The handle a raw group's value names, or nullopt when it is not a hexadecimal number.
std::optional<Adesk::UInt64> rawHandle(const RawGroup& group);

// Judges references (groups of handle codes) as a reader parses them.
class DxfReferenceRule {
public:
    // Throws DxfError naming `line` to refuse `group`: the reader then stands on it as on a group that does
    // not parse, so that an object's own reader ends there and the file's reader meets the fault.
    virtual void check(const Group& group, int line) = 0;

protected:
    ~DxfReferenceRule() = default;
};

// The typed groups of a DXF text, one at a time. Point coordinates (x, y and z groups) become one point
// group; comments (999) are passed over. A reference whose value is not a handle is kept as text. Throws
// DxfError, naming the line, for a truncated file, a group code that is not a number or not a known code,
// or a value of the wrong type.
class DxfGroupReader {
public:
    explicit DxfGroupReader(std::string_view text);

    bool atEnd() { return !upcoming(); }
    // The next group, parsed but not taken; null at the end.
    const Group* upcoming();
    // Takes the next group (there must be one).
    Group take();
    // The line of the next group's code; at the end, two lines past the last group's (1 for an empty text).
    int nextLine();
    // The line of the last group taken.
    int lastLine() const { return m_lastLine; }
    // The text from the next group on, for a look ahead that parses only what it needs.
    DxfLines ahead() const { return m_at; }
    // A group of a single line pair (not a point), typed as parsing would type it.
    Group typed(int code, std::string_view value, int codeLine) const;
    // Has every reference judged as it is parsed, here and in copies made from now on (null: none is).
    void judgeReferences(DxfReferenceRule* rule) { m_rule = rule; }
    // Whether the object being read (the groups taken since the last group 0) lies in paper space (67 1).
    bool inPaperSpace() const { return m_paperSpace; }

private:
    void parseNext();

    DxfEncoding m_encoding;
    DxfLines m_at;    // where the next group starts
    DxfLines m_after; // past the parsed next group
    std::optional<Group> m_next;
    int m_nextLine = 0;
    int m_lastLine = 0;
    bool m_ended = false;
    bool m_paperSpace = false;
    DxfReferenceRule* m_rule = nullptr;
};

// Every group of a DXF text with the line of each group's code (from 1).
struct DxfGroups {
    std::vector<Group> groups;
    std::vector<int> lines;
};
DxfGroups parseDxfText(std::string_view text);

// Formats groups into a buffer. With a sink the buffer is handed to it whenever it grows past a block and
// by flush(); without one it keeps the whole text.
class DxfTextOut {
public:
    using Sink = std::function<void(std::string_view)>;

    explicit DxfTextOut(DxfEncoding encoding = DxfEncoding::Cp1252, Sink sink = {});

    void put(const Group& group);
    void flush();
    std::string& text() { return m_buffer; }

private:
    void line(int code, std::string_view value);
    void real(int code, double value, int precision);
    void integer(int code, long long value);
    void code(int code);

    DxfEncoding m_encoding;
    Sink m_sink;
    std::string m_buffer;
};

std::string formatDxfGroups(const std::vector<Group>& groups, DxfEncoding encoding = DxfEncoding::Cp1252);

} // namespace host
