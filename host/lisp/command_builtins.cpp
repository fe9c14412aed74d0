// The host's system variables (GETVAR, SETVAR) and its commands run from LISP (COMMAND, VL-CMDF).
#include <limits>

#include "host/db/database.h"
#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/editor/command_line.h"
#include "host/filing/text_codec.h"
#include "host/input/input_queue.h"
#include "host/lisp/lisp_answers.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = LispArgs;

// The value of a system variable as SETVAR hands it over: a list of two or three numbers is a point.
LispValue setVariable(const std::wstring& name, const LispValue& value) {
    resbuf rb{};
    std::wstring text;
    switch (value.kind) {
    case LispValue::Integer:
        // Beyond 16 bits an integer goes as a long: a short variable refuses it rather than take it wrapped.
        if (value.integer < std::numeric_limits<short>::min() ||
            value.integer > std::numeric_limits<short>::max()) {
            rb.restype = RTLONG;
            rb.resval.rlong = static_cast<Adesk::Int32>(value.integer);
            break;
        }
        rb.restype = RTSHORT;
        rb.resval.rint = static_cast<short>(value.integer);
        break;
    case LispValue::Real:
        rb.restype = RTREAL;
        rb.resval.rreal = value.real;
        break;
    case LispValue::String:
        text = value.text;
        rb.restype = RTSTR;
        rb.resval.rstring = text.data();
        break;
    case LispValue::List: {
        AcGePoint3d p = pointArgument(value);
        rb.restype = RT3DPOINT;
        rb.resval.rpoint[0] = p.x;
        rb.resval.rpoint[1] = p.y;
        rb.resval.rpoint[2] = p.z;
        break;
    }
    default:
        badArgument("valeur de variable", value);
    }
    if (acedSetVar(name.c_str(), &rb) != RTNORM)
        throw LispError("rejet de (SETVAR \"" + toUtf8(name) + "\" " + toUtf8(printLisp(value)) + ")");
    return value;
}

LispValue getVariable(const std::wstring& name) {
    resbuf rb{};
    if (acedGetVar(name.c_str(), &rb) != RTNORM) return LispValue::nil();
    rb.rbnext = nullptr;
    std::vector<LispValue> values = fromResbufs(&rb);
    if (rb.restype == RTSTR) acutDelString(rb.resval.rstring);
    return values.empty() ? LispValue::nil() : values.front();
}

// (COMMAND name answers... [name answers...]): each name runs its command with the answers that follow it;
// what a command leaves unused names the next command. PAUSE takes the user's next answer (in a script, its
// next line) in its place. nil arguments are skipped. False when a name names no command.
bool runCommands(const Args& a) {
    const int owner = newArgumentOwner();
    std::vector<InputItem> items;
    for (const LispValue& v : a) {
        if (v.isNil()) continue;
        InputItem item;
        if (lispAnswerItem(v, item)) {
            item.owner = owner;
        } else if (const InputItem* next = inputQueue().front(); next && !next->owner) {
            item = inputQueue().take();
        } else {
            continue; // no answer waiting: the command asks the user when it gets there
        }
        items.push_back(std::move(item));
    }
    inputQueue().pushFront(std::move(items));
    struct Drop {
        int owner;
        ~Drop() { inputQueue().dropOwned(owner); }
    } drop{owner};
    bool ran = true;
    for (const InputItem* next = inputQueue().front();
         next && next->owner == owner && next->kind == InputKind::Line; next = inputQueue().front()) {
        std::wstring name = inputQueue().take().text;
        acutPrintf(L"\nCommande: %s", name.c_str());
        ran = runCommand(name) && ran;
    }
    return ran;
}

} // namespace

const LispBuiltinTable& commandBuiltins() {
    static const LispBuiltinTable table = {
        {L"SETVAR", lispFunction(setVariable)},
        {L"COMMAND",
         [](const Args& a) {
             runCommands(a);
             return LispValue::nil();
         }},
        {L"VL-CMDF", [](const Args& a) { return truth(runCommands(a)); }},
        {L"GETVAR", lispFunction(getVariable)},
    };
    return table;
}

} // namespace host
