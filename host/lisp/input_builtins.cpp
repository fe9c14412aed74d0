// The user's input: GETPOINT, GETDIST, GETANGLE, GETKWORD and the others ask at the command line and are
// answered like every prompt (the script queue or the terminal). INITGET's bits and keywords hold for the
// next of them only. Enter answers nil, a keyword answers its text, a cancel is the error "Fonction
// annulée". Points are in the user's coordinates.
#include <algorithm>
#include <cmath>

#include "host/input/prompts.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_eval.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

using Args = LispArgs;

struct PendingInitGet {
    int bits = 0;
    std::wstring keywords;
    bool set = false;
};

PendingInitGet& pendingInitGet() {
    static PendingInitGet pending;
    return pending;
}

// Hands INITGET's restrictions to the host's next prompt, with the bits the function itself needs.
void applyInitGet(int extraBits) {
    PendingInitGet pending = pendingInitGet();
    pendingInitGet() = {};
    if (pending.set || extraBits)
        acedInitGet(pending.bits | extraBits, pending.keywords.empty() ? nullptr : pending.keywords.c_str());
}

std::wstring lastInput() {
    ACHAR text[512];
    return acedGetInput(text, std::size(text)) == RTNORM ? std::wstring(text) : L"";
}

// The value of a prompt's answer: `value` on RTNORM, nil on Enter, the keyword's text.
template <class Value> LispValue answer(int rc, Value value) {
    switch (rc) {
    case RTNORM:
        return value();
    case RTKWORD:
        return LispValue::fromString(lastInput());
    case RTCAN:
        throw LispError("Fonction annulée");
    default:
        return LispValue::nil();
    }
}

// The optional point then the optional prompt of GETPOINT, GETDIST, GETANGLE...: either may be left out.
struct PointAndPrompt {
    bool hasBase = false;
    AcGePoint3d base;
    std::wstring prompt;
};

PointAndPrompt pointAndPrompt(const Args& a) {
    PointAndPrompt out;
    for (const LispValue& v : a) {
        if (v.kind == LispValue::String) {
            out.prompt = v.text;
        } else if (!v.isNil()) {
            out.base = pointArgument(v);
            out.hasBase = true;
        }
    }
    return out;
}

// A prompt that may be left out or given as nil.
const wchar_t* promptArgument(const std::optional<LispValue>& v) {
    return v && !v->isNil() ? stringArgument(*v).c_str() : L"";
}

LispValue getPoint(const Args& a, bool corner) {
    PointAndPrompt p = pointAndPrompt(a);
    if (corner && !p.hasBase) throw LispError("nombre d'arguments insuffisants");
    applyInitGet(0);
    ads_point base = {p.base.x, p.base.y, p.base.z}, result;
    int rc = acedGetPoint(p.hasBase ? base : nullptr, p.prompt.c_str(), result);
    return answer(rc, [&] { return pointValue(AcGePoint3d(result[0], result[1], result[2])); });
}

// GETDIST and GETANGLE: a value typed (a keyword to the prompt), else one measured from the first point
// (given, or picked) to the second.
template <class Typed, class Measured>
LispValue typedOrMeasured(const Args& a, Typed typed, Measured measured) {
    PointAndPrompt p = pointAndPrompt(a);
    applyInitGet(RSG_OTHER);
    ads_point base = {p.base.x, p.base.y, p.base.z}, first, second;
    int rc = acedGetPoint(p.hasBase ? base : nullptr, p.prompt.c_str(), first);
    if (rc == RTKWORD) return typed(lastInput());
    if (rc != RTNORM) return answer(rc, [] { return LispValue::nil(); });
    if (p.hasBase) {
        std::copy(first, first + 3, second);
        std::copy(base, base + 3, first);
    } else if ((rc = acedGetPoint(first, L"\nDeuxième point: ", second)) != RTNORM) {
        return answer(rc, [] { return LispValue::nil(); });
    }
    return measured(AcGePoint3d(first[0], first[1], first[2]), AcGePoint3d(second[0], second[1], second[2]));
}

LispValue getDistance(const Args& a) {
    return typedOrMeasured(
        a,
        [](const std::wstring& text) {
            double v;
            return parseReal(text, v) ? LispValue::fromReal(v) : LispValue::fromString(text);
        },
        [](const AcGePoint3d& p, const AcGePoint3d& q) {
            return LispValue::fromReal(std::hypot(q.x - p.x, q.y - p.y, q.z - p.z));
        });
}

// GETANGLE (from ANGBASE) and GETORIENT (from east): an angle typed in degrees, or two points.
LispValue getAngle(const Args& a) {
    return typedOrMeasured(
        a,
        [](const std::wstring& text) {
            LispValue angle = applyLisp(LispValue::fromSymbol(L"ANGTOF"), {LispValue::fromString(text)});
            return angle.isNil() ? LispValue::fromString(text) : angle;
        },
        [](const AcGePoint3d& p, const AcGePoint3d& q) {
            double angle = std::atan2(q.y - p.y, q.x - p.x);
            return LispValue::fromReal(angle < 0 ? angle + 2 * M_PI : angle);
        });
}

LispValue getReal(std::optional<LispValue> prompt) {
    applyInitGet(0);
    ads_real v = 0;
    int rc = acedGetReal(promptArgument(prompt), &v);
    return answer(rc, [&] { return LispValue::fromReal(v); });
}

LispValue getInteger(std::optional<LispValue> prompt) {
    applyInitGet(0);
    int v = 0;
    int rc = acedGetInt(promptArgument(prompt), &v);
    return answer(rc, [&] { return LispValue::fromInteger(v); });
}

// (GETSTRING [blanks] [prompt]): with blanks non-nil, spaces belong to the text.
LispValue getString(const Args& a) {
    bool blanks = false;
    std::wstring prompt;
    if (a.size() == 2) {
        blanks = !a[0].isNil();
        if (!a[1].isNil()) prompt = stringArgument(a[1]);
    } else if (a.size() == 1) {
        if (a[0].kind == LispValue::String)
            prompt = a[0].text;
        else
            blanks = !a[0].isNil();
    }
    pendingInitGet() = {};
    AcString text;
    int rc = acedGetString(blanks ? 1 : 0, prompt.c_str(), text);
    if (rc == RTCAN) throw LispError("Fonction annulée");
    return LispValue::fromString(rc == RTNORM ? std::wstring(text.kwszPtr()) : L"");
}

LispValue getKeyword(std::optional<LispValue> prompt) {
    applyInitGet(0);
    ACHAR text[512];
    int rc = acedGetKword(promptArgument(prompt), text, std::size(text));
    return answer(rc, [&] { return LispValue::fromString(text); });
}

LispValue initGet(const Args& a) {
    PendingInitGet pending{0, L"", true};
    for (const LispValue& v : a) {
        if (v.kind == LispValue::Integer)
            pending.bits = static_cast<int>(v.integer);
        else
            pending.keywords = stringArgument(v);
    }
    pendingInitGet() = pending;
    return LispValue::nil();
}

// (GETFILED title default extension flags): the file name typed, as with FILEDIA 0; nil for Enter.
LispValue getFiled(const std::wstring& title, const std::wstring& fallback, const std::wstring&, int) {
    std::wstring prompt = L"\n" + title + L" <" + fallback + L">: ";
    AcString text;
    int rc = acedGetString(1, prompt.c_str(), text);
    if (rc == RTCAN) throw LispError("Fonction annulée");
    std::wstring name = rc == RTNORM ? std::wstring(text.kwszPtr()) : L"";
    if (name.empty()) name = fallback;
    return name.empty() ? LispValue::nil() : LispValue::fromString(name);
}

LispValue entSel(std::optional<std::wstring> prompt) {
    applyInitGet(0);
    ads_name entity;
    ads_point point;
    int rc = acedEntSel(prompt ? prompt->c_str() : L"\nChoisissez un objet: ", entity, point);
    return answer(rc, [&] {
        return LispValue::list(
            {LispValue::fromName(entity), pointValue(AcGePoint3d(point[0], point[1], point[2]))});
    });
}

} // namespace

const LispBuiltinTable& inputBuiltins() {
    static const LispBuiltinTable table = {
        {L"GETPOINT", lispFunction(0, 2, [](const Args& a) { return getPoint(a, false); })},
        {L"GETCORNER", lispFunction(0, 2, [](const Args& a) { return getPoint(a, true); })},
        {L"GETDIST", lispFunction(0, 2, getDistance)},
        {L"GETANGLE", lispFunction(0, 2, getAngle)},
        {L"GETORIENT", lispFunction(0, 2, getAngle)},
        {L"GETREAL", lispFunction(getReal)},
        {L"GETINT", lispFunction(getInteger)},
        {L"GETSTRING", lispFunction(0, 2, getString)},
        {L"GETKWORD", lispFunction(getKeyword)},
        {L"INITGET", lispFunction(0, 2, initGet)},
        {L"GETFILED", lispFunction(getFiled)},
        {L"ENTSEL", lispFunction(entSel)},
    };
    return table;
}

} // namespace host
