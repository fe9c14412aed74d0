#include "host/filing/dxf_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "host/filing/text_codec.h"

namespace host {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void fail(int line, const std::string& what) {
    throw DxfError("line " + std::to_string(line) + ": " + what);
}

// A small unsigned decimal as group codes and most integers are written: leading blanks, digits, trailing
// blanks. Anything else is left to the general parse.
std::optional<int> plainDecimal(std::string_view text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && (*p == ' ' || *p == '\t'))
        ++p;
    const char* digits = p;
    int value = 0;
    for (; p != end && p - digits < 9 && static_cast<unsigned>(*p - '0') < 10; ++p)
        value = value * 10 + (*p - '0');
    if (p == digits) return std::nullopt;
    for (; p != end; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\r') return std::nullopt;
    return value;
}

// The number `text` holds, whole, or nullopt.
template <typename T> std::optional<T> parsedNumber(std::string_view text, int base = 10) {
    if constexpr (std::is_integral_v<T> && sizeof(T) >= sizeof(int))
        if (base == 10)
            if (const std::optional<int> plain = plainDecimal(text)) return static_cast<T>(*plain);
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    T value{};
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(t.data(), t.data() + t.size(), value);
    else
        r = std::from_chars(t.data(), t.data() + t.size(), value, base);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
    return value;
}

template <typename T> T number(std::string_view text, int line, int base = 10) {
    const std::optional<T> value = parsedNumber<T>(text, base);
    if (!value)
        fail(line, "'" + std::string(trim(text)) + "' is not a valid " +
                       (std::is_floating_point_v<T> ? "number" : "integer"));
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(*value)) fail(line, "number out of range");
    return *value;
}

// A NUL cannot stand in the host's texts, which end at one as the CAD program's do: the code read (^@, or
// the byte itself) is kept as the non-character U+FFFF and written back as ^@.
constexpr wchar_t kNulCode = 0xFFFF;

// Caret codes as the DXF reference defines them: ^@ to ^_ the control codes 0 to 31, "^ " the caret
// itself; a caret before anything else is the caret.
std::wstring decodeText(std::string_view raw, DxfEncoding encoding) {
    std::wstring text = encoding == DxfEncoding::Utf8 ? fromUtf8(raw) : fromCp1252(raw);
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'^' && i + 1 < text.size()) {
            const wchar_t next = text[i + 1];
            if (next == L' ' || (next >= L'@' && next <= L'_')) {
                c = next == L' ' ? L'^' : next - L'@';
                ++i;
            }
        }
        out += c;
    }
    std::wstring decoded = decodeUnicodeEscapes(out);
    std::ranges::replace(decoded, L'\0', kNulCode);
    return decoded;
}

std::string encodeText(const std::wstring& text, DxfEncoding encoding) {
    std::wstring escaped;
    for (wchar_t c : text) {
        if (c == L'^')
            escaped += L"^ ";
        else if (c < 32 || c == kNulCode) {
            escaped += L'^';
            escaped += c == kNulCode ? L'@' : static_cast<wchar_t>(c + 64);
        } else
            escaped += c;
    }
    return encoding == DxfEncoding::Utf8 ? toUtf8(escaped) : toCp1252(escaped);
}

Bytes hexBytes(std::string_view text, int line) {
    std::string_view t = trim(text);
    if (t.size() % 2) fail(line, "odd number of hexadecimal digits");
    Bytes bytes;
    for (std::size_t i = 0; i < t.size(); i += 2)
        bytes.push_back(number<std::uint8_t>(t.substr(i, 2), line, 16));
    return bytes;
}

constexpr std::size_t kOutBlock = 1 << 20;

// The value of a group of one line pair, typed by its code's kind.
Group singleGroup(int code, const GroupValue& kind, std::string_view value, int at, DxfEncoding encoding) {
    Group g{static_cast<short>(code), {}, kDefaultPrecision};
    if (std::holds_alternative<double>(kind)) {
        g.value = number<double>(value, at + 1);
    } else if (std::holds_alternative<Adesk::Int16>(kind)) {
        int v = number<int>(value, at + 1);
        if (v < -32768 || v > 65535) fail(at + 1, "16-bit value out of range");
        g.value = static_cast<Adesk::Int16>(v);
    } else if (std::holds_alternative<Adesk::Int32>(kind)) {
        g.value = static_cast<Adesk::Int32>(number<long long>(value, at + 1));
    } else if (std::holds_alternative<Adesk::Int64>(kind)) {
        g.value = number<Adesk::Int64>(value, at + 1);
    } else if (std::holds_alternative<AcDbHandle>(kind)) {
        // A reference that is not a handle ("None" for the owner of the root dictionary, as some programs
        // write it) is kept as its text; the reader knows where it can stand.
        if (const std::optional<Adesk::UInt64> handle = parsedNumber<Adesk::UInt64>(value, 16))
            g.value = AcDbHandle(*handle);
        else
            g.value = decodeText(trim(value), encoding);
    } else if (std::holds_alternative<Bytes>(kind)) {
        g.value = hexBytes(value, at + 1);
    } else {
        g.value = decodeText(value, encoding);
    }
    return g;
}

// Whether a code line holds exactly `code`, as a writer puts it (the z of a point is optional and told by
// it).
bool codeLineIs(std::string_view line, int code) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    return trim(line) == std::string_view(digits, static_cast<std::size_t>(end - digits));
}

} // namespace

DxfEncoding declaredEncoding(std::string_view text) {
    std::size_t at = text.find("$ACADVER");
    if (at == std::string_view::npos) return DxfEncoding::Cp1252;
    std::size_t version = text.find("AC1", at);
    if (version == std::string_view::npos || version + 6 > text.size()) return DxfEncoding::Cp1252;
    int number = 0;
    std::from_chars(text.data() + version + 2, text.data() + version + 6, number);
    return number >= 1021 ? DxfEncoding::Utf8 : DxfEncoding::Cp1252;
}

bool DxfLines::nextLine(std::string_view& line) {
    if (m_offset >= m_text.size()) return false;
    const char* begin = m_text.data() + m_offset;
    const char* end = m_text.data() + m_text.size();
    const char* p = begin;
    while (p != end && *p != '\n') // lines are short: a plain loop beats a call per line
        ++p;
    std::size_t length = static_cast<std::size_t>(p - begin);
    if (length && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    m_offset = static_cast<std::size_t>(p - m_text.data()) + 1;
    ++m_line;
    return true;
}

bool DxfLines::nextCodeIs(int code) const {
    DxfLines ahead = *this;
    std::string_view line;
    return ahead.nextLine(line) && codeLineIs(line, code);
}

DxfLines::Step DxfLines::next(RawGroup& group) {
    group.line = m_line;
    if (!nextLine(group.code)) return Step::End;
    if (nextLine(group.value)) return Step::Group;
    return trim(group.code).empty() ? Step::End : Step::Truncated; // a final empty line ends the text
}

std::optional<int> rawCode(const RawGroup& group) {
    return parsedNumber<int>(group.code);
}

std::optional<Adesk::UInt64> rawHandle(const RawGroup& group) {
    return parsedNumber<Adesk::UInt64>(group.value, 16);
}

DxfGroupReader::DxfGroupReader(std::string_view text)
    : m_encoding(declaredEncoding(text)), m_at(text), m_after(text) {}

const Group* DxfGroupReader::upcoming() {
    if (!m_next && !m_ended) parseNext();
    return m_next ? &*m_next : nullptr;
}

Group DxfGroupReader::take() {
    upcoming();
    Group g = std::move(*m_next);
    m_next.reset();
    m_lastLine = m_nextLine;
    m_at = m_after;
    if (g.code == 0)
        m_paperSpace = false;
    else if (g.code == 67)
        m_paperSpace |= g.integer() == 1;
    return g;
}

int DxfGroupReader::nextLine() {
    if (upcoming()) return m_nextLine;
    return m_lastLine ? m_lastLine + 2 : 1;
}

Group DxfGroupReader::typed(int code, std::string_view value, int codeLine) const {
    GroupValue kind = emptyValueFor(code);
    if (std::holds_alternative<std::monostate>(kind))
        fail(codeLine, "unknown group code " + std::to_string(code));
    return singleGroup(code, kind, value, codeLine, m_encoding);
}

void DxfGroupReader::parseNext() {
    for (;;) {
        DxfLines lines = m_at;
        RawGroup raw;
        const DxfLines::Step step = lines.next(raw);
        if (step == DxfLines::Step::End) {
            m_ended = true;
            return;
        }
        const int at = raw.line;
        if (step == DxfLines::Step::Truncated) fail(at, "group code without a value (file truncated)");
        const int code = number<int>(raw.code, at);
        if (code == 999) { // a comment
            m_at = lines;
            continue;
        }
        GroupValue kind = emptyValueFor(code);
        if (!std::holds_alternative<AcGePoint3d>(kind)) {
            Group g = typed(code, raw.value, at);
            if (m_rule && std::holds_alternative<AcDbHandle>(kind)) m_rule->check(g, at);
            m_next = std::move(g);
        } else {
            // x, then y (code + 10) and optionally z (code + 20).
            Group g{static_cast<short>(code), {}, kDefaultPrecision, true};
            AcGePoint3d p(number<double>(raw.value, at + 1), 0, 0);
            RawGroup y;
            if (lines.next(y) != DxfLines::Step::Group || number<int>(y.code, at + 2) != code + 10)
                fail(at + 2, "point " + std::to_string(code) + " without its y coordinate");
            p.y = number<double>(y.value, at + 3);
            DxfLines afterY = lines;
            RawGroup z;
            if (lines.nextCodeIs(code + 20) && lines.next(z) == DxfLines::Step::Group) {
                p.z = number<double>(z.value, at + 5);
                g.planar = false;
            } else {
                lines = afterY;
            }
            g.value = p;
            m_next = std::move(g);
        }
        m_nextLine = at;
        m_after = lines;
        return;
    }
}

DxfGroups parseDxfText(std::string_view text) {
    DxfGroupReader reader(text);
    DxfGroups result;
    while (!reader.atEnd()) {
        result.groups.push_back(reader.take());
        result.lines.push_back(reader.lastLine());
    }
    return result;
}

DxfTextOut::DxfTextOut(DxfEncoding encoding, Sink sink) : m_encoding(encoding), m_sink(std::move(sink)) {
    if (m_sink) m_buffer.reserve(kOutBlock + kOutBlock / 8);
}

void DxfTextOut::code(int code) {
    if (code >= 0 && code < 1000) { // nearly every code: three columns, right-aligned, without a call
        char line[4] = {' ', ' ', ' ', '\n'};
        int at = 2;
        do {
            line[at--] = static_cast<char>('0' + code % 10);
            code /= 10;
        } while (code);
        m_buffer.append(line, sizeof line);
        return;
    }
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    const auto size = static_cast<std::size_t>(end - digits);
    if (size < 3) m_buffer.append(3 - size, ' ');
    m_buffer.append(digits, size);
    m_buffer += '\n';
}

void DxfTextOut::line(int c, std::string_view value) {
    code(c);
    m_buffer += value;
    m_buffer += '\n';
}

void DxfTextOut::real(int c, double v, int precision) {
    // Room for the widest double in fixed notation with a usual precision; a value that does not fit even
    // so goes in its shortest form rather than cut short.
    char digits[400];
    std::to_chars_result r{digits, std::errc::value_too_large};
    if (precision >= 0)
        r = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, precision);
    if (r.ec != std::errc()) r = std::to_chars(digits, digits + sizeof digits, v);
    std::string_view text(digits, static_cast<std::size_t>(r.ptr - digits));
    code(c);
    m_buffer += text;
    // A real reads as one: 1 is written 1.0 (inf and nan are told by their n).
    if (std::none_of(text.begin(), text.end(), [](char c) { return c == '.' || c == 'e' || c == 'n'; }))
        m_buffer += ".0";
    m_buffer += '\n';
}

void DxfTextOut::integer(int c, long long v) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    line(c, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void DxfTextOut::put(const Group& g) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>) {
                real(g.code, v, g.precision);
            } else if constexpr (std::is_same_v<T, AcGePoint3d>) {
                real(g.code, v.x, g.precision);
                real(g.code + 10, v.y, g.precision);
                if (!g.planar) real(g.code + 20, v.z, g.precision);
            } else if constexpr (std::is_same_v<T, Adesk::Int16> || std::is_same_v<T, Adesk::Int32> ||
                                 std::is_same_v<T, Adesk::Int64>) {
                integer(g.code, v);
            } else if constexpr (std::is_same_v<T, std::wstring>) {
                line(g.code, encodeText(v, m_encoding));
            } else if constexpr (std::is_same_v<T, Bytes>) {
                static const char digits[] = "0123456789ABCDEF";
                code(g.code);
                for (std::uint8_t b : v) {
                    m_buffer += digits[b >> 4];
                    m_buffer += digits[b & 15];
                }
                m_buffer += '\n';
            } else if constexpr (std::is_same_v<T, AcDbHandle>) {
                line(g.code, toUtf8(v.text()));
            } else {
                line(g.code, "");
            }
        },
        g.value);
    if (m_sink && m_buffer.size() >= kOutBlock) flush();
}

void DxfTextOut::flush() {
    if (!m_sink || m_buffer.empty()) return;
    m_sink(m_buffer);
    m_buffer.clear();
}

std::string formatDxfGroups(const std::vector<Group>& groups, DxfEncoding encoding) {
    DxfTextOut out(encoding);
    for (const Group& g : groups)
        out.put(g);
    return std::move(out.text());
}

} // namespace host
