#include "services/xml/declaration.h"

#include <cstring>
#include <string_view>

namespace xml_declaration {
namespace {

// Counts the declarations of a document, at any depth.
class DeclarationCount : public TiXmlVisitor {
public:
    bool Visit(const TiXmlDeclaration&) override {
        ++count;
        return true;
    }
    int count = 0;
};

// A cursor over the declaration's text; each step answers whether the grammar's item is there, and moves
// past it when it is.
class Reader {
public:
    explicit Reader(const char* at) : m_at(at) {}

    bool spaces() {
        const char* start = m_at;
        while (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r')
            ++m_at;
        return m_at != start;
    }

    bool word(std::string_view expected) {
        if (std::strncmp(m_at, expected.data(), expected.size()) != 0) return false;
        m_at += expected.size();
        return true;
    }

    // S name Eq quoted-value, the value checked by `valueIsValid`; absent when no S name comes.
    enum class Attribute { absent, valid, invalid };
    template <typename Check> Attribute attribute(std::string_view name, Check valueIsValid) {
        const char* start = m_at;
        if (!spaces() || !word(name)) {
            m_at = start;
            return Attribute::absent;
        }
        spaces();
        if (!word("=")) return Attribute::invalid;
        spaces();
        const char quote = *m_at;
        if (quote != '"' && quote != '\'') return Attribute::invalid;
        const char* end = std::strchr(m_at + 1, quote);
        if (!end || !valueIsValid(std::string_view(m_at + 1, static_cast<std::size_t>(end - m_at - 1))))
            return Attribute::invalid;
        m_at = end + 1;
        return Attribute::valid;
    }

private:
    const char* m_at;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isVersion(std::string_view value) {
    if (value.size() < 3 || value.substr(0, 2) != "1.") return false;
    for (char c : value.substr(2))
        if (!isDigit(c)) return false;
    return true;
}

bool isEncodingName(std::string_view value) {
    if (value.empty() || !isLetter(value[0])) return false;
    for (char c : value)
        if (!isLetter(c) && !isDigit(c) && c != '.' && c != '_' && c != '-') return false;
    return true;
}

bool isYesOrNo(std::string_view value) {
    return value == "yes" || value == "no";
}

bool declarationIsWellFormed(const char* declaration) {
    using Attribute = Reader::Attribute;
    Reader reader(declaration);
    if (!reader.word("<?xml") || reader.attribute("version", isVersion) != Attribute::valid) return false;
    if (reader.attribute("encoding", isEncodingName) == Attribute::invalid) return false;
    if (reader.attribute("standalone", isYesOrNo) == Attribute::invalid) return false;
    reader.spaces();
    return reader.word("?>");
}

} // namespace

bool wellFormed(const TiXmlDocument& document, const char* text) {
    DeclarationCount declarations;
    document.Accept(&declarations);
    if (declarations.count == 0) return true;
    const TiXmlNode* first = document.FirstChild();
    if (declarations.count > 1 || !first || first->Type() != TiXmlNode::TINYXML_DECLARATION) return false;
    // Only white space and byte order marks come before the document's first node.
    const char* declaration = std::strchr(text, '<');
    return declaration && declarationIsWellFormed(declaration);
}

} // namespace xml_declaration
