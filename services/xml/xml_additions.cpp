// Child-element text and attributes over TinyXML, read and formatted without the locale.
#include "services/xml/xml_additions.h"
#include "services/xml/declaration.h"
#include "services/xml/nesting_depth.h"

#include "platform/base/ascii.h"
#include "platform/base/utf8.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <string_view>

namespace {

// The buffer all formatting functions write into before the text is copied into the node.
char g_formatBuffer[512];

// `x` printed with `format` under the "C" locale, whatever locale the program runs in.
const char* formatReal(const char* format, double x) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = uselocale(cLocale);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int written = std::snprintf(g_formatBuffer, sizeof g_formatBuffer, format, x);
#pragma GCC diagnostic pop
    uselocale(previous);
    if (written < 0) g_formatBuffer[0] = 0;
    return g_formatBuffer;
}

// The number that `text` begins with (blanks and a "+" skipped), as atoi and atof read it; 0 without one.
template <typename Number> Number leadingNumber(const char* text) {
    while (platform::isBlank(*text) || *text == '\n' || *text == '\r')
        ++text;
    if (*text == '+') ++text;
    Number value{};
    if (std::from_chars(text, text + std::strlen(text), value).ec != std::errc()) return Number{};
    return value;
}

template <typename Number>
const TiXmlElement* readChildNumber(const TiXmlNode& node, const char* name, Number& value) {
    const TiXmlElement* element = GetChildElement(node, name);
    if (!element) return nullptr;
    const TiXmlNode* first = element->FirstChild();
    if (first && first->Type() == TiXmlNode::TINYXML_TEXT) value = leadingNumber<Number>(first->Value());
    return element;
}

} // namespace

const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name) {
    return name ? node.FirstChildElement(name) : nullptr;
}

const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name, int& value) {
    return readChildNumber(node, name, value);
}

const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name, double& value) {
    return readChildNumber(node, name, value);
}

TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, const char* text) {
    if (!name || !text) return nullptr;
    TiXmlElement* element = node.FirstChildElement(name);
    if (!element) element = node.LinkEndChild(new TiXmlElement(name))->ToElement();
    TiXmlNode* first = element->FirstChild();
    if (first && first->Type() == TiXmlNode::TINYXML_TEXT) {
        first->SetValue(text);
        return first->ToText();
    }
    return element->LinkEndChild(new TiXmlText(text))->ToText();
}

TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, const char* format, double x) {
    if (!format) return nullptr;
    return UpdateChildElement(node, name, formatReal(format, x));
}

TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, int n) {
    const auto written = std::to_chars(g_formatBuffer, g_formatBuffer + sizeof g_formatBuffer - 1, n);
    *written.ptr = 0;
    return UpdateChildElement(node, name, g_formatBuffer);
}

void SetAttribute(TiXmlElement& element, const char* name, const char* format, double x) {
    if (!name || !format) return;
    element.SetAttribute(name, formatReal(format, x));
}

bool LoadFromBuffer(TiXmlDocument& document, char* buffer, TiXmlEncoding encoding) {
    if (!buffer) return false;
    char* out = buffer;
    for (const char* in = buffer; *in; ++in) {
        if (*in == '\r') {
            *out++ = '\n';
            if (in[1] == '\n') ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = 0;
    if (const char* deep = xml_nesting::tooDeep(buffer)) {
        document.ClearError();
        document.SetError(TiXmlBase::TIXML_ERROR_PARSING_ELEMENT, deep, nullptr, encoding);
        return false;
    }
    // The parser steps over a UTF-8 sequence by the length its lead byte announces: over text that is not
    // UTF-8 the step takes in the quote or "<" after a Windows-1252 accent, or goes beyond the text's end.
    // Such a text is read byte by byte, whatever its declaration says, and its bytes are kept.
    if (!platform::isUtf8(std::string_view(buffer, static_cast<std::size_t>(out - buffer))))
        encoding = TIXML_ENCODING_LEGACY;
    document.Parse(buffer, nullptr, encoding);
    if (!document.Error() && !xml_declaration::wellFormed(document, buffer)) {
        document.Clear();
        document.SetError(TiXmlBase::TIXML_ERROR_PARSING_DECLARATION, nullptr, nullptr, encoding);
    }
    return !document.Error();
}
