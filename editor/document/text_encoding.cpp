#include "editor/document/text_encoding.h"

#include "editor/link/bus_window.h"
#include "platform/base/code_page.h"
#include "platform/base/utf8.h"

#include <QStringDecoder>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool isUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

bool isUtf8(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
}

struct Utf8Scan {
    bool valid = true;
    bool nonAscii = false;
};

Utf8Scan scanUtf8(std::string_view bytes) {
    Utf8Scan scan;
    for (std::size_t i = 0; i < bytes.size() && scan.valid;) {
        const platform::Utf8Char c = platform::decodeUtf8At(bytes, i);
        scan.valid = c.valid;
        scan.nonAscii |= c.length > 1;
        i += c.length;
    }
    return scan;
}

} // namespace

// An odd length is no UTF-16, and a malformed sequence no UTF-8: such a file is kept as bytes rather than
// losing any.
TextEncoding detectEncoding(std::string_view bytes) {
    if (bytes.size() % 2 == 0 && bytes.starts_with(kUtf16LeBom)) return TextEncoding::Utf16Le;
    if (bytes.size() % 2 == 0 && bytes.starts_with(kUtf16BeBom)) return TextEncoding::Utf16Be;
    const Utf8Scan scan = scanUtf8(bytes);
    if (!scan.valid) return TextEncoding::Windows1252;
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8Bom;
    // Plain ASCII reads the same in every encoding here.
    return scan.nonAscii ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string_view byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return kUtf8Bom;
    case TextEncoding::Utf16Le:
        return kUtf16LeBom;
    case TextEncoding::Utf16Be:
        return kUtf16BeBom;
    default:
        return {};
    }
}

// UTF-16 is taken unit by unit, so that even a lone surrogate comes back as it was.
QString decodeText(std::string_view bytes, TextEncoding encoding) {
    bytes.remove_prefix(std::min(bytes.size(), byteOrderMark(encoding).size()));
    if (isUtf8(encoding)) {
        // A mark after the file's own is a character of its text, kept so that it is saved again.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    if (!isUtf16(encoding)) return fromCodePage(bytes);
    const bool little = encoding == TextEncoding::Utf16Le;
    QString text(static_cast<qsizetype>(bytes.size() / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i + (little ? 0 : 1)]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + (little ? 1 : 0)]);
        text[i] = QChar(static_cast<char16_t>(low | high << 8));
    }
    return text;
}

std::string encodeText(const QString& text, TextEncoding encoding) {
    if (isUtf8(encoding)) return text.toStdString();
    if (!isUtf16(encoding)) return toCodePage(text);
    const bool little = encoding == TextEncoding::Utf16Le;
    std::string bytes(static_cast<std::size_t>(text.size()) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        bytes[2 * i + (little ? 0 : 1)] = static_cast<char>(unit & 0xFF);
        bytes[2 * i + (little ? 1 : 0)] = static_cast<char>(unit >> 8);
    }
    return bytes;
}

qsizetype firstUnheldCharacter(const QString& text, TextEncoding encoding) {
    if (isUtf16(encoding)) return -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isUtf8(encoding)) {
            // UTF-8 holds every character, but not half of one.
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                return i;
        } else if (c.unicode() >= 0x80 && platform::unicodeToCp1252(c.unicode()) == '?') {
            return i;
        }
    }
    return -1;
}

const char* encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Windows1252:
        return "Windows-1252";
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf8Bom:
        return "UTF-8 avec BOM";
    case TextEncoding::Utf16Le:
        return "UTF-16 LE";
    case TextEncoding::Utf16Be:
        return "UTF-16 BE";
    }
    return "";
}
