// XML documents and URLs as settings and users give them. The first byte chooses the reader, the rest is
// the text: a document that parses prints to one that parses too, its child texts read as numbers; a URL
// splits into parts that end within their fields, or into no parts at all.
#include "services/internet/internet.h"
#include "services/xml/xml_additions.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstring>
#include <vector>

namespace {

bool load(TiXmlDocument& document, std::string text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return LoadFromBuffer(document, buffer.data());
}

void readChildren(const TiXmlNode& node, int depth) {
    for (const TiXmlElement* child = node.FirstChildElement(); child && depth < 8;
         child = child->NextSiblingElement()) {
        int whole = 0;
        double real = 0;
        GetChildElement(node, child->Value(), whole);
        GetChildElement(node, child->Value(), real);
        readChildren(*child, depth + 1);
    }
}

void parseXml(const std::string& text) {
    TiXmlDocument document;
    if (!load(document, text)) return;
    readChildren(document, 0);
    TiXmlPrinter printer;
    document.Accept(&printer);
    // A document of declarations or comments alone has no element for the parser to accept again.
    if (!document.RootElement()) return;
    TiXmlDocument again;
    fuzz::check(load(again, printer.CStr()),
                "a printed document does not parse: " + std::string(printer.CStr()));
}

bool empty(const char* part) {
    return part == nullptr || *part == '\0';
}

void splitUrl(const std::string& text) {
    CInternet::CSPlitURL url;
    const int split = url.SPlit(text.c_str());
    fuzz::check(split == 0 || split == 1, "a split answers neither 0 nor 1");
    fuzz::check(memchr(url.lpszUserName, 0, sizeof url.lpszUserName) &&
                    memchr(url.lpszPassword, 0, sizeof url.lpszPassword),
                "a user or password fills its field without its end");
    if (split == 0)
        fuzz::check(empty(url.lpszScheme) && empty(url.lpszHostName) && empty(url.lpszUrlPath) &&
                        empty(url.lpszExtraInfo) && !*url.lpszUserName && !*url.lpszPassword,
                    "a URL not split keeps parts");
    const CInternet::CSPlitURL copy(url);
    fuzz::check(copy.nPort == url.nPort && copy.nScheme == url.nScheme &&
                    std::strcmp(copy.lpszUserName, url.lpszUserName) == 0,
                "a copied split differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Both readers take zero-terminated text: what follows a zero byte is never seen.
    const std::string text = fuzz::bytes(data + 1, size - 1).c_str();
    if (data[0] % 2 == 0)
        parseXml(text);
    else
        splitUrl(text);
    return 0;
}
