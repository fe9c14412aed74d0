#include "host/filing/dxf_text.h"

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

// The number `text` holds, whole, or nullopt.
template <typename T> std::optional<T> parsedNumber(std::string_view text, int base = 10) {
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

// Texts hold no NUL: the host's texts end at one, so it would cut what follows.
std::wstring decodeText(std::string_view raw, DxfEncoding encoding, int line) {
    std::wstring text = encoding == DxfEncoding::Utf8 ? fromUtf8(raw) : fromCp1252(raw);
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'^' && i + 1 < text.size()) {
            wchar_t c = text[++i];
            out += c == L' ' ? L'^' : static_cast<wchar_t>(c >= 64 ? c - 64 : c);
        } else {
            out += text[i];
        }
    }
    std::wstring decoded = decodeUnicodeEscapes(out);
    if (decoded.find(L'\0') != std::wstring::npos) fail(line, "a text with a NUL character");
    return decoded;
}

std::string encodeText(const std::wstring& text, DxfEncoding encoding) {
    std::wstring escaped;
    for (wchar_t c : text) {
        if (c == L'^')
            escaped += L"^ ";
        else if (c < 32) {
            escaped += L'^';
            escaped += static_cast<wchar_t>(c + 64);
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

std::string formatReal(double v, int precision) {
    char buffer[64];
    auto r = precision >= 0
                 ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, precision)
                 : std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string s(buffer, r.ptr);
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

void line(std::string& out, int code, const std::string& value) {
    std::string c = std::to_string(code);
    if (c.size() < 3) out.append(3 - c.size(), ' ');
    out += c;
    out += '\n';
    out += value;
    out += '\n';
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

DxfGroups parseDxfText(std::string_view text) {
    DxfEncoding encoding = declaredEncoding(text);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(start, end - start);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        lines.push_back(l);
        start = end + 1;
    }
    DxfGroups result;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        int at = static_cast<int>(i) + 1;
        if (trim(lines[i]).empty() && i + 1 == lines.size()) break; // a final empty line
        if (i + 1 >= lines.size()) fail(at, "group code without a value (file truncated)");
        int code = number<int>(lines[i], at);
        std::string_view value = lines[i + 1];
        if (code == 999) continue;
        GroupValue kind = emptyValueFor(code);
        if (std::holds_alternative<std::monostate>(kind))
            fail(at, "unknown group code " + std::to_string(code));
        Group g{static_cast<short>(code), {}, kDefaultPrecision};
        if (std::holds_alternative<AcGePoint3d>(kind)) {
            // x, then y (code + 10) and optionally z (code + 20).
            AcGePoint3d p(number<double>(value, at + 1), 0, 0);
            if (i + 3 >= lines.size() || number<int>(lines[i + 2], at + 2) != code + 10)
                fail(at + 2, "point " + std::to_string(code) + " without its y coordinate");
            p.y = number<double>(lines[i + 3], at + 3);
            i += 2;
            g.planar = true;
            if (i + 3 < lines.size() && trim(lines[i + 2]) == std::to_string(code + 20)) {
                p.z = number<double>(lines[i + 3], at + 5);
                i += 2;
                g.planar = false;
            }
            g.value = p;
        } else if (std::holds_alternative<double>(kind)) {
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
                g.value = decodeText(trim(value), encoding, at + 1);
        } else if (std::holds_alternative<Bytes>(kind)) {
            g.value = hexBytes(value, at + 1);
        } else {
            g.value = decodeText(value, encoding, at + 1);
        }
        result.groups.push_back(std::move(g));
        result.lines.push_back(at);
    }
    return result;
}

std::string formatDxfGroups(const std::vector<Group>& groups, DxfEncoding encoding) {
    std::string out;
    for (const Group& g : groups) {
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, double>) {
                    line(out, g.code, formatReal(v, g.precision));
                } else if constexpr (std::is_same_v<T, AcGePoint3d>) {
                    line(out, g.code, formatReal(v.x, g.precision));
                    line(out, g.code + 10, formatReal(v.y, g.precision));
                    if (!g.planar) line(out, g.code + 20, formatReal(v.z, g.precision));
                } else if constexpr (std::is_same_v<T, Adesk::Int16> || std::is_same_v<T, Adesk::Int32> ||
                                     std::is_same_v<T, Adesk::Int64>) {
                    line(out, g.code, std::to_string(v));
                } else if constexpr (std::is_same_v<T, std::wstring>) {
                    line(out, g.code, encodeText(v, encoding));
                } else if constexpr (std::is_same_v<T, Bytes>) {
                    static const char digits[] = "0123456789ABCDEF";
                    std::string hex;
                    for (std::uint8_t b : v) {
                        hex += digits[b >> 4];
                        hex += digits[b & 15];
                    }
                    line(out, g.code, hex);
                } else if constexpr (std::is_same_v<T, AcDbHandle>) {
                    line(out, g.code, toUtf8(v.text()));
                } else {
                    line(out, g.code, "");
                }
            },
            g.value);
    }
    return out;
}

} // namespace host
