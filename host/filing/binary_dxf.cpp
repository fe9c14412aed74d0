#include "host/filing/binary_dxf.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <variant>

#include "host/filing/dxf_text.h"
#include "host/filing/group.h"

namespace host {
namespace {

constexpr std::string_view kSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
static_assert(kSentinel.size() == 22);
static_assert(sizeof(double) == 8);

// The value layouts of binary DXF, by code.
enum class Layout { Real, Int16, Int32, Int64, Boolean, Text, Chunk };

std::optional<Layout> layoutOf(int code) {
    if (code >= 290 && code <= 299) return Layout::Boolean;
    const GroupValue kind = emptyValueFor(code);
    if (std::holds_alternative<double>(kind) || std::holds_alternative<AcGePoint3d>(kind))
        return Layout::Real;
    if (std::holds_alternative<Adesk::Int16>(kind)) return Layout::Int16;
    if (std::holds_alternative<Adesk::Int32>(kind)) return Layout::Int32;
    if (std::holds_alternative<Adesk::Int64>(kind)) return Layout::Int64;
    if (std::holds_alternative<Bytes>(kind)) return Layout::Chunk;
    if (std::holds_alternative<std::wstring>(kind) || std::holds_alternative<AcDbHandle>(kind))
        return Layout::Text;
    return std::nullopt;
}

class Converter {
public:
    explicit Converter(std::string_view content) : m_in(content), m_at(kSentinel.size()) {
        // R12 writes one byte for a code: the first group, 0 SECTION, then has no second zero byte.
        m_shortCodes = m_in.size() > m_at + 1 && m_in[m_at + 1] != '\0';
    }

    BinaryDxfText convert() {
        while (m_at < m_in.size()) {
            m_out.offsets.push_back(m_at);
            const int code = readCode();
            const std::optional<Layout> layout = layoutOf(code);
            if (!layout) fail("group code " + std::to_string(code) + " of no known type");
            appendNumber(code);
            const std::size_t valueStart = m_out.text.size();
            value(*layout);
            if (code == 0 && std::string_view(m_out.text).substr(valueStart) == "EOF\n") break;
        }
        return std::move(m_out);
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw DxfError("byte " + std::to_string(m_out.offsets.back()) + ": " + what);
    }

    // A little-endian value of the file.
    template <typename T> T fixed() {
        static_assert(sizeof(T) <= sizeof(std::uint64_t));
        if (m_in.size() - m_at < sizeof(T)) fail("a value past the end of the file");
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits |= std::uint64_t(static_cast<unsigned char>(m_in[m_at + i])) << (8 * i);
        m_at += sizeof(T);
        if constexpr (std::is_floating_point_v<T>)
            return std::bit_cast<T>(bits);
        else
            return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
    }

    int readCode() {
        if (!m_shortCodes) return fixed<std::int16_t>();
        const int code = fixed<std::uint8_t>();
        return code == 255 ? fixed<std::int16_t>() : code;
    }

    template <typename T> void appendNumber(T value) {
        char digits[32];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_out.text.append(digits, result.ptr);
        m_out.text += '\n';
    }

    void value(Layout layout) {
        switch (layout) {
        case Layout::Real:
            return appendNumber(fixed<double>());
        case Layout::Int16:
            return appendNumber(fixed<std::int16_t>());
        case Layout::Int32:
            return appendNumber(fixed<std::int32_t>());
        case Layout::Int64:
            return appendNumber(fixed<std::int64_t>());
        case Layout::Boolean:
            return appendNumber(int(fixed<std::uint8_t>()));
        case Layout::Text:
            return text();
        case Layout::Chunk:
            return chunk();
        }
    }

    // The text's bytes as they are (in the file's encoding), its carets and control characters as caret codes
    // so that each stays on its line.
    void text() {
        const std::size_t end = m_in.find('\0', m_at);
        if (end == std::string_view::npos) fail("a text without its end");
        for (const char c : m_in.substr(m_at, end - m_at)) {
            if (c == '^') {
                m_out.text += "^ ";
            } else if (static_cast<unsigned char>(c) < 32) {
                m_out.text += '^';
                m_out.text += static_cast<char>(c + 64);
            } else {
                m_out.text += c;
            }
        }
        m_out.text += '\n';
        m_at = end + 1;
    }

    void chunk() {
        const std::size_t size = fixed<std::uint8_t>();
        if (m_in.size() - m_at < size) fail("binary data past the end of the file");
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (const char c : m_in.substr(m_at, size)) {
            m_out.text += kHex[static_cast<unsigned char>(c) >> 4];
            m_out.text += kHex[static_cast<unsigned char>(c) & 15];
        }
        m_out.text += '\n';
        m_at += size;
    }

    std::string_view m_in;
    std::size_t m_at;
    bool m_shortCodes = false;
    BinaryDxfText m_out;
};

} // namespace

bool isBinaryDxf(std::string_view content) {
    return content.starts_with(kSentinel);
}

BinaryDxfText binaryDxfAsText(std::string_view content) {
    return Converter(content).convert();
}

std::string placedInBinary(const std::string& message, const BinaryDxfText& converted) {
    constexpr std::string_view kLine = "line ";
    if (!message.starts_with(kLine)) return message;
    int line = 0;
    const char* digits = message.data() + kLine.size();
    const auto [end, error] = std::from_chars(digits, message.data() + message.size(), line);
    if (error != std::errc() || line < 1) return message;
    // Each group is two lines; a line past the last group is the end of the file.
    const std::size_t group = static_cast<std::size_t>(line - 1) / 2;
    const std::string place = group < converted.offsets.size()
                                  ? "byte " + std::to_string(converted.offsets[group])
                                  : "the end of the file";
    return place + std::string(end, message.data() + message.size());
}

} // namespace host
