// The user's input: GETPOINT, GETDIST, GETANGLE, GETKWORD and the others ask at the command line and are
// answered like every prompt (the script queue or the terminal). INITGET's bits and keywords hold for the
// next of them only. Enter answers nil, a keyword answers its text, a cancel is the error "Fonction
// annulée". Points are in the user's coordinates.
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
    checkArity(a, 0, 2);
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

const wchar_t* promptArgument(const Args& a, std::size_t i) {
    return a.size() > i && !a[i].isNil() ? stringArgument(a[i]).c_str() : L"";
}

LispValue getPoint(const Args& a, bool corner) {
    PointAndPrompt p = pointAndPrompt(a);
    if (corner && !p.hasBase) throw LispError("nombre d'arguments insuffisants");
    applyInitGet(0);
    ads_point base = {p.base.x, p.base.y, p.base.z}, result;
    int rc = acedGetPoint(p.hasBase ? base : nullptr, p.prompt.c_str(), result);
    return answer(rc, [&] { return pointValue(AcGePoint3d(result[0], result[1], result[2])); });
}

// GETDIST: a length typed, or two points (the first may be given).
LispValue getDistance(const Args& a) {
    PointAndPrompt p = pointAndPrompt(a);
    applyInitGet(RSG_OTHER);
    ads_point base = {p.base.x, p.base.y, p.base.z}, first, second;
    int rc = acedGetPoint(p.hasBase ? base : nullptr, p.prompt.c_str(), first);
    if (rc == RTKWORD) {
        double v;
        std::wstring text = lastInput();
        if (parseReal(text, v)) return LispValue::fromReal(v);
        return LispValue::fromString(text);
    }
    if (rc != RTNORM) return answer(rc, [] { return LispValue::nil(); });
    if (p.hasBase) {
        second[0] = first[0], second[1] = first[1], second[2] = first[2];
        first[0] = base[0], first[1] = base[1], first[2] = base[2];
    } else if ((rc = acedGetPoint(first, L"\nDeuxième point: ", second)) != RTNORM) {
        return answer(rc, [] { return LispValue::nil(); });
    }
    return LispValue::fromReal(std::hypot(second[0] - first[0], second[1] - first[1], second[2] - first[2]));
}

// GETANGLE (from ANGBASE) and GETORIENT (from east): an angle typed in degrees, or two points.
LispValue getAngle(const Args& a) {
    PointAndPrompt p = pointAndPrompt(a);
    applyInitGet(RSG_OTHER);
    ads_point base = {p.base.x, p.base.y, p.base.z}, first, second;
    int rc = acedGetPoint(p.hasBase ? base : nullptr, p.prompt.c_str(), first);
    if (rc == RTKWORD) {
        std::wstring text = lastInput();
        LispValue angle = applyLisp(LispValue::fromSymbol(L"ANGTOF"), {LispValue::fromString(text)});
        return angle.isNil() ? LispValue::fromString(text) : angle;
    }
    if (rc != RTNORM) return answer(rc, [] { return LispValue::nil(); });
    if (p.hasBase) {
        second[0] = first[0], second[1] = first[1];
        first[0] = base[0], first[1] = base[1];
    } else if ((rc = acedGetPoint(first, L"\nDeuxième point: ", second)) != RTNORM) {
        return answer(rc, [] { return LispValue::nil(); });
    }
    double angle = std::atan2(second[1] - first[1], second[0] - first[0]);
    return LispValue::fromReal(angle < 0 ? angle + 2 * M_PI : angle);
}

LispValue getReal(const Args& a) {
    checkArity(a, 0, 1);
    applyInitGet(0);
    ads_real v = 0;
    int rc = acedGetReal(promptArgument(a, 0), &v);
    return answer(rc, [&] { return LispValue::fromReal(v); });
}

LispValue getInteger(const Args& a) {
    checkArity(a, 0, 1);
    applyInitGet(0);
    int v = 0;
    int rc = acedGetInt(promptArgument(a, 0), &v);
    return answer(rc, [&] { return LispValue::fromInteger(v); });
}

// (GETSTRING [blanks] [prompt]): with blanks non-nil, spaces belong to the text.
LispValue getString(const Args& a) {
    checkArity(a, 0, 2);
    bool blanks = false;
    std::wstring prompt;
    if (a.size() == 2) {
        blanks = !a[0].isNil();
        prompt = promptArgument(a, 1);
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

LispValue getKeyword(const Args& a) {
    checkArity(a, 0, 1);
    applyInitGet(0);
    ACHAR text[512];
    int rc = acedGetKword(promptArgument(a, 0), text, std::size(text));
    return answer(rc, [&] { return LispValue::fromString(text); });
}

LispValue initGet(const Args& a) {
    checkArity(a, 0, 2);
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
LispValue getFiled(const Args& a) {
    checkArity(a, 4, 4);
    std::wstring prompt = L"\n" + stringArgument(a[0]) + L" <" + stringArgument(a[1]) + L">: ";
    stringArgument(a[2]);
    integerArgument(a[3]);
    AcString text;
    int rc = acedGetString(1, prompt.c_str(), text);
    if (rc == RTCAN) throw LispError("Fonction annulée");
    std::wstring name = rc == RTNORM ? std::wstring(text.kwszPtr()) : L"";
    if (name.empty()) name = a[1].text;
    return name.empty() ? LispValue::nil() : LispValue::fromString(name);
}

LispValue entSel(const Args& a) {
    checkArity(a, 0, 1);
    applyInitGet(0);
    ads_name entity;
    ads_point point;
    int rc = acedEntSel(a.empty() ? L"\nChoisissez un objet: " : stringArgument(a[0]).c_str(), entity, point);
    return answer(rc, [&] {
        return LispValue::list(
            {LispValue::fromName(entity), pointValue(AcGePoint3d(point[0], point[1], point[2]))});
    });
}

} // namespace

const LispBuiltinTable& inputBuiltins() {
    static const LispBuiltinTable table = {
        {L"GETPOINT", [](const Args& a) { return getPoint(a, false); }},
        {L"GETCORNER", [](const Args& a) { return getPoint(a, true); }},
        {L"GETDIST", getDistance},
        {L"GETANGLE", getAngle},
        {L"GETORIENT", getAngle},
        {L"GETREAL", getReal},
        {L"GETINT", getInteger},
        {L"GETSTRING", getString},
        {L"GETKWORD", getKeyword},
        {L"INITGET", initGet},
        {L"GETFILED", getFiled},
        {L"ENTSEL", entSel},
    };
    return table;
}

} // namespace host
