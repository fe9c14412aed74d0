#include "host/lisp/lisp_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <iterator>
#include <limits>
#include <string>

#include "host/filing/text_codec.h"
#include "host/input/text_numbers.h"

namespace host {

namespace {

// Lists and quotes nest as deep as values may: text nested deeper (a runaway script, a hostile file) is
// refused as it is read.
constexpr int kMaxNesting = kMaxLispNesting;

// The control characters a string writes as a backslash and a letter, so that reading gives back what
// printing wrote; other control characters are written in octal. The reader takes "\e" (escape) as well.
struct LetterEscape {
    wchar_t letter;
    wchar_t character;
};
constexpr LetterEscape kLetterEscapes[] = {{L'n', L'\n'}, {L'r', L'\r'}, {L't', L'\t'}};

const LetterEscape* escapeNamed(wchar_t letter) {
    auto it = std::ranges::find(kLetterEscapes, letter, &LetterEscape::letter);
    return it == std::end(kLetterEscapes) ? nullptr : it;
}

const LetterEscape* escapeFor(wchar_t character) {
    auto it = std::ranges::find(kLetterEscapes, character, &LetterEscape::character);
    return it == std::end(kLetterEscapes) ? nullptr : it;
}

class Reader {
public:
    explicit Reader(std::wstring_view text) : m_text(text) {}

    std::vector<LispValue> all() {
        std::vector<LispValue> out;
        while (skipBlanks()) {
            if (peek() == L')') throw LispError("parenthèse droite en trop en entrée");
            out.push_back(value());
        }
        return out;
    }

private:
    wchar_t peek() const { return m_pos < m_text.size() ? m_text[m_pos] : 0; }
    bool atEnd() const { return m_pos >= m_text.size(); }

    // Skips blanks and comments; false at the end of the text.
    bool skipBlanks() {
        while (!atEnd()) {
            if (std::iswspace(peek())) {
                ++m_pos;
            } else if (peek() == L';') {
                skipComment();
            } else {
                return true;
            }
        }
        return false;
    }

    // ";" to the end of the line, or ";| ... |;" over any number of lines (to the end when not closed).
    void skipComment() {
        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'|') {
            std::size_t end = m_text.find(L"|;", m_pos + 2);
            m_pos = end == std::wstring_view::npos ? m_text.size() : end + 2;
            return;
        }
        while (!atEnd() && peek() != L'\n')
            ++m_pos;
    }

    LispValue value() {
        const NestingLevel level(*this);
        wchar_t c = peek();
        if (c == L'(') {
            ++m_pos;
            return list();
        }
        if (c == L'\'') {
            ++m_pos;
            // A quote must have something to quote: "')" would read as a symbol of no name.
            if (!skipBlanks() || peek() == L')') throw LispError("liste mal formée en entrée");
            return LispValue::list({LispValue::fromSymbol(L"QUOTE"), value()});
        }
        if (c == L'"') {
            ++m_pos;
            return string();
        }
        return atom();
    }

    LispValue list() {
        LispValue out = LispValue::list({});
        for (;;) {
            if (!skipBlanks()) throw LispError("liste mal formée en entrée");
            if (peek() == L')') {
                ++m_pos;
                return out;
            }
            if (isDot()) {
                ++m_pos;
                if (out.items.empty() || !skipBlanks() || peek() == L')')
                    throw LispError("point mal placé en entrée");
                appendTail(out, value());
                if (!skipBlanks()) throw LispError("liste mal formée en entrée");
                if (peek() != L')') throw LispError("point mal placé en entrée");
                ++m_pos;
                return out;
            }
            out.append(value());
        }
    }

    // What follows the dot: a list goes on with its items, (a . (b c)) being (a b c); nil ends it; another
    // value is the pair's cdr.
    static void appendTail(LispValue& out, LispValue tail) {
        if (tail.kind == LispValue::List) {
            for (const LispValue& item : tail.items)
                out.append(item);
            out.dotted = tail.dotted;
        } else if (tail.kind != LispValue::Nil) {
            out.append(std::move(tail));
            out.dotted = true;
        }
    }

    // A lone "." between blanks or before a bracket.
    bool isDot() const {
        if (peek() != L'.') return false;
        wchar_t next = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : 0;
        return next == 0 || std::iswspace(next) || next == L'(' || next == L')' || next == L'"';
    }

    LispValue string() {
        std::wstring s;
        for (;;) {
            if (atEnd()) throw LispError("chaîne mal formée en entrée");
            wchar_t c = m_text[m_pos++];
            if (c == L'"') return LispValue::fromString(std::move(s));
            if (c != L'\\') {
                s += c;
                continue;
            }
            if (atEnd()) throw LispError("chaîne mal formée en entrée");
            wchar_t e = m_text[m_pos++];
            if (const LetterEscape* named = escapeNamed(e)) {
                s += named->character;
            } else if (e == L'e') {
                s += L'\x1b';
            } else if (e >= L'0' && e <= L'7') {
                int code = e - L'0';
                for (int i = 0; i < 2 && peek() >= L'0' && peek() <= L'7'; ++i)
                    code = code * 8 + (m_text[m_pos++] - L'0');
                s += static_cast<wchar_t>(code);
            } else {
                s += e;
            }
        }
    }

    LispValue atom() {
        std::size_t start = m_pos;
        while (!atEnd() && !std::iswspace(peek()) && peek() != L'(' && peek() != L')' && peek() != L'"' &&
               peek() != L'\'' && peek() != L';')
            ++m_pos;
        std::wstring_view word = m_text.substr(start, m_pos - start);
        // A dot that no list takes (after a quote, before a quote): no symbol, which no text would give back.
        if (word == L".") throw LispError("point mal placé en entrée");
        long long i;
        if (parseInteger(word, i)) {
            // Integers are 32 bits; larger ones are read as reals.
            if (i >= std::numeric_limits<int>::min() && i <= std::numeric_limits<int>::max())
                return LispValue::fromInteger(i);
            return LispValue::fromReal(static_cast<double>(i));
        }
        double r;
        if (parseReal(word, r)) return LispValue::fromReal(r);
        std::wstring name(word);
        for (wchar_t& c : name)
            c = static_cast<wchar_t>(std::towupper(c));
        if (name == L"NIL") return LispValue::nil();
        if (name == L"T") return LispValue::t();
        return LispValue::fromSymbol(std::move(name));
    }

    // One level of nesting for the length of a value's reading.
    class NestingLevel {
    public:
        explicit NestingLevel(Reader& reader) : m_reader(reader) {
            if (++m_reader.m_depth > kMaxNesting)
                throw LispError("imbrication trop profonde en entrée, ligne " +
                                std::to_string(reader.line()));
        }
        ~NestingLevel() { --m_reader.m_depth; }
        NestingLevel(const NestingLevel&) = delete;
        NestingLevel& operator=(const NestingLevel&) = delete;

    private:
        Reader& m_reader;
    };

    int line() const {
        return 1 + static_cast<int>(std::count(m_text.begin(), m_text.begin() + m_pos, L'\n'));
    }

    std::wstring_view m_text;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

std::wstring quoted(const std::wstring& s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (const LetterEscape* named = escapeFor(c)) {
            out += L'\\';
            out += named->letter;
        } else if (c < 32) {
            wchar_t octal[5] = {L'\\', wchar_t(L'0' + (c >> 6)), wchar_t(L'0' + ((c >> 3) & 7)),
                                wchar_t(L'0' + (c & 7)), 0};
            out += octal;
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

// As the AutoLISP console prints reals: six significant digits, always with a decimal point (3.0, 0.333333,
// 1.23457e+06, 1.0e+30).
std::wstring formatLispReal(double v) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
    std::string text(buffer, ec == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    if (std::isfinite(v)) {
        std::size_t e = text.find('e');
        std::size_t mantissaEnd = e == std::string::npos ? text.size() : e;
        if (text.find('.') == std::string::npos) text.insert(mantissaEnd, ".0");
    }
    return fromUtf8(text);
}

std::wstring hex(Adesk::Int64 v) {
    static const wchar_t digits[] = L"0123456789abcdef";
    auto u = static_cast<Adesk::UInt64>(v);
    std::wstring out;
    do {
        out.insert(out.begin(), digits[u & 15]);
        u >>= 4;
    } while (u);
    return out;
}

} // namespace

std::vector<LispValue> readLisp(std::wstring_view text) {
    return Reader(text).all();
}

std::wstring printLisp(const LispValue& v, bool readable) {
    switch (v.kind) {
    case LispValue::Nil:
        return L"nil";
    case LispValue::True:
        return L"T";
    case LispValue::Integer:
        return std::to_wstring(v.integer);
    case LispValue::Real:
        return formatLispReal(v.real);
    case LispValue::String:
        return readable ? quoted(v.text) : v.text;
    case LispValue::Symbol:
        return v.text;
    case LispValue::EntityName:
        return L"<Nom d'entité: " + hex(v.name[0]) + (v.name[1] ? L" " + hex(v.name[1]) : L"") + L">";
    case LispValue::PickSet:
        return L"<Jeu de sélection: " + hex(v.name[0]) + L">";
    case LispValue::Function:
        return L"#<USUBR " + (v.text.empty() ? std::wstring(L"-lambda-") : v.text) + L">";
    case LispValue::Builtin:
        return L"#<SUBR " + v.text + L">";
    case LispValue::File:
        return L"#<file " + quoted(v.text) + L">";
    case LispValue::CaughtError:
        return L"#<%catch-all-apply-error%>";
    case LispValue::List: {
        if (v.items.empty()) return L"nil";
        std::wstring out = L"(";
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (i) out += v.dotted && i + 1 == v.items.size() ? L" . " : L" ";
            out += printLisp(v.items[i], readable);
        }
        return out + L")";
    }
    }
    return L"nil";
}

} // namespace host

namespace host {

LispTextEnd lispTextEnd(std::wstring_view text) {
    LispTextEnd end;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'"') {
            for (++i; i < text.size() && text[i] != L'"'; ++i)
                if (text[i] == L'\\') ++i;
            if (i >= text.size()) end.inString = true;
        } else if (c == L';') {
            if (i + 1 < text.size() && text[i + 1] == L'|') {
                std::size_t close = text.find(L"|;", i + 2);
                if (close == std::wstring_view::npos) {
                    end.inBlockComment = true;
                    break;
                }
                i = close + 1;
            } else {
                while (i < text.size() && text[i] != L'\n')
                    ++i;
                end.inLineComment = i >= text.size();
            }
        } else if (c == L'(') {
            ++end.openLists;
        } else if (c == L')' && end.openLists > 0) {
            --end.openLists;
        }
    }
    return end;
}

bool lispFormGoesOn(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    return first != std::wstring_view::npos && text[first] == L'(' && lispTextEnd(text).open();
}

} // namespace host

namespace host {

std::wstring decodeLispFile(std::string_view bytes) {
    std::wstring text = fromUtf8(bytes);
    if (text.find(L'\xFFFD') != std::wstring::npos && bytes.find("\xEF\xBF\xBD") == std::string_view::npos)
        return fromCp1252(bytes);
    return text;
}

} // namespace host
