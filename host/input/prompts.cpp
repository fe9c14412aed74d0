#include "host/input/prompts.h"

#include <cwchar>
#include <limits>

#include "host/editor/editor_variables.h"
#include "host/input/prompt_input.h"
#include "host/input/text_numbers.h"

namespace host {

namespace {

InitGet& pending() {
    static InitGet next;
    return next;
}

std::wstring& lastInput() {
    static std::wstring text;
    return text;
}

// Copies `text` into the caller's buffer; false, with a message, when it does not fit.
bool copyOut(const std::wstring& text, ACHAR* result, std::size_t size) {
    if (!result || size == 0 || text.size() >= size) {
        printMessage(L"\n*** La réponse \"" + text + L"\" dépasse les " +
                     std::to_wstring(size ? size - 1 : 0) + L" caractères que le programme peut recevoir");
        return false;
    }
    std::wmemcpy(result, text.c_str(), text.size() + 1);
    return true;
}

enum class Outcome { Value, Again, Done };

// The code for a typed text that is not a value: a keyword, other input, or a refusal.
Outcome keywordOrOther(const InitGet& rules, const std::wstring& text, const wchar_t* refusal, int& code) {
    int k = rules.keywords.find(text);
    if (k >= 0) {
        lastInput() = rules.keywords.keywords()[k].global;
        code = RTKWORD;
        return Outcome::Done;
    }
    if (rules.flags & RSG_OTHER) {
        lastInput() = text;
        code = RTKWORD;
        return Outcome::Done;
    }
    printMessage(refusal);
    return Outcome::Again;
}

// The loop every value prompt shares. `read` turns a response into a value (Outcome::Value), a request to
// ask again, or a final code.
template <typename Read>
int ask(const ACHAR* prompt, const InitGet& rules, const wchar_t* nullRefusal, Read read) {
    for (;;) {
        Response r = readResponse(prompt);
        if (r.kind == Response::Cancel) return RTCAN;
        if (r.kind == Response::Enter) {
            if (!(rules.flags & RSG_NONULL)) return RTNONE;
            printMessage(nullRefusal);
            continue;
        }
        int code = RTNORM;
        if (read(r, code) == Outcome::Again) continue;
        return code;
    }
}

// A number typed, checked against the zero and negative restrictions.
template <typename T> Outcome checkedNumber(const InitGet& rules, T value, T& out) {
    if ((rules.flags & RSG_NOZERO) && value == 0) {
        printMessage(L"\nLa valeur doit être différente de zéro.");
        return Outcome::Again;
    }
    if ((rules.flags & RSG_NONEG) && value < 0) {
        printMessage(L"\nLa valeur doit être positive.");
        return Outcome::Again;
    }
    out = value;
    return Outcome::Value;
}

} // namespace

InitGet takeInitGet() {
    InitGet rules = std::move(pending());
    pending() = InitGet{};
    return rules;
}

void setLastInput(const std::wstring& text) {
    lastInput() = text;
}

void resetPrompts() {
    pending() = InitGet{};
    lastInput().clear();
}

} // namespace host

using namespace host;

int acedInitGet(int flags, const ACHAR* keywords) {
    InitGet rules;
    rules.flags = flags;
    std::wstring error;
    if (!rules.keywords.parse(keywords, error)) {
        printMessage(L"\n*** acedInitGet: " + error);
        pending() = InitGet{};
        return RTERROR;
    }
    pending() = std::move(rules);
    return RTNORM;
}

int acedGetPoint(const ads_point, const ACHAR* prompt, ads_point result) {
    InitGet rules = takeInitGet();
    const wchar_t* refusal =
        rules.keywords.empty() ? L"\nPoint incorrect." : L"\nPoint ou mot-clé d'option requis.";
    AcGePoint3d p;
    int code = ask(prompt, rules, refusal, [&](const Response& r, int& c) {
        if (responsePoint(r, p)) return Outcome::Value;
        if (r.kind == Response::Line && isPointBeyondDrawing(r.text)) {
            printMessage(L"\nPoint incorrect.");
            return Outcome::Again;
        }
        if (r.kind == Response::Line) return keywordOrOther(rules, r.text, refusal, c);
        printMessage(refusal);
        return Outcome::Again;
    });
    if (code == RTNORM) {
        result[0] = p.x;
        result[1] = p.y;
        result[2] = p.z;
        setLastPoint(p);
    }
    return code;
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
    InitGet rules = takeInitGet();
    const wchar_t* refusal = L"\nValeur numérique requise.";
    double value = 0;
    int code = ask(prompt, rules, refusal, [&](const Response& r, int& c) {
        double v;
        if (r.kind == Response::Line && parseReal(r.text, v)) return checkedNumber(rules, v, value);
        if (r.kind == Response::Line) return keywordOrOther(rules, r.text, refusal, c);
        printMessage(refusal);
        return Outcome::Again;
    });
    if (code == RTNORM && result) *result = value;
    return code;
}

int acedGetInt(const ACHAR* prompt, int* result) {
    InitGet rules = takeInitGet();
    const wchar_t* refusal = L"\nNombre entier requis.";
    int value = 0;
    int code = ask(prompt, rules, refusal, [&](const Response& r, int& c) {
        long long v;
        if (r.kind == Response::Line && parseInteger(r.text, v)) {
            if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
                printMessage(L"\nNombre entier hors limites.");
                return Outcome::Again;
            }
            return checkedNumber(rules, static_cast<int>(v), value);
        }
        if (r.kind == Response::Line) return keywordOrOther(rules, r.text, refusal, c);
        printMessage(refusal);
        return Outcome::Again;
    });
    if (code == RTNORM && result) *result = value;
    return code;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t size) {
    InitGet rules = takeInitGet();
    const wchar_t* refusal = L"\nMot-clé d'option incorrect.";
    int code = ask(prompt, rules, refusal, [&](const Response& r, int& c) {
        if (r.kind != Response::Line) {
            printMessage(refusal);
            return Outcome::Again;
        }
        Outcome o = keywordOrOther(rules, r.text, refusal, c);
        if (o == Outcome::Done) c = copyOut(lastInput(), result, size) ? RTNORM : RTERROR;
        return o;
    });
    if (code == RTNONE && result && size) result[0] = 0;
    return code;
}

namespace {

// The text answered, of at most `limit` characters (a longer one is refused and asked again).
int readText(int blanks, const ACHAR* prompt, std::size_t limit, std::wstring& text) {
    takeInitGet();
    ResponseOptions options;
    options.blanksInText = blanks != 0;
    for (;;) {
        Response r = readResponse(prompt, options);
        if (r.kind == Response::Cancel) return RTCAN;
        if (r.kind != Response::Line && r.kind != Response::Enter) {
            printMessage(L"\nTexte requis.");
            continue;
        }
        text = r.kind == Response::Line ? r.text : L"";
        if (text.size() <= limit) return RTNORM;
        printMessage(L"\nLe texte dépasse " + std::to_wstring(limit) + L" caractères.");
    }
}

} // namespace

int acedGetString(int blanks, const ACHAR* prompt, ACHAR* result, std::size_t size) {
    if (!result || !size) return RTERROR;
    std::wstring text;
    int code = readText(blanks, prompt, size - 1, text);
    if (code == RTNORM) std::wmemcpy(result, text.c_str(), text.size() + 1);
    return code;
}

int acedGetString(int blanks, const ACHAR* prompt, AcString& result) {
    std::wstring text;
    int code = readText(blanks, prompt, text.max_size(), text);
    if (code == RTNORM) result = text.c_str();
    return code;
}

int acedGetFullString(int blanks, const ACHAR* prompt, ACHAR* result, int size) {
    return size > 0 ? acedGetString(blanks, prompt, result, static_cast<std::size_t>(size)) : RTERROR;
}

int acedGetInput(ACHAR* result, std::size_t size) {
    return copyOut(lastInput(), result, size) ? RTNORM : RTERROR;
}
