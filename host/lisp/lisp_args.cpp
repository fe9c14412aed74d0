#include "host/lisp/lisp_args.h"

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_text.h"

namespace host {

void badArgument(const char* test, const LispValue& value) {
    throw LispError(std::string("type d'argument incorrect: ") + test + " " + toUtf8(printLisp(value)));
}

double realArgument(const LispValue& v) {
    if (v.kind == LispValue::Integer) return static_cast<double>(v.integer);
    if (v.kind != LispValue::Real) badArgument("numberp", v);
    return v.real;
}

int integerArgument(const LispValue& v) {
    if (v.kind != LispValue::Integer) badArgument("fixnump", v);
    return static_cast<int>(v.integer);
}

const std::wstring& stringArgument(const LispValue& v) {
    if (v.kind != LispValue::String) badArgument("stringp", v);
    return v.text;
}

const LispValue& entityNameArgument(const LispValue& v) {
    if (v.kind != LispValue::EntityName) badArgument("lentityp", v);
    return v;
}

const LispValue& pickSetArgument(const LispValue& v) {
    if (v.kind != LispValue::PickSet) badArgument("lselsetp", v);
    return v;
}

const LispItems& listArgument(const LispValue& v) {
    static const LispItems none;
    if (v.kind == LispValue::Nil) return none;
    if (v.kind != LispValue::List) badArgument("listp", v);
    return v.items;
}

bool isPointValue(const LispValue& v) {
    if (v.kind != LispValue::List || v.dotted || v.items.size() < 2 || v.items.size() > 3) return false;
    for (const LispValue& c : v.items)
        if (!c.isNumber()) return false;
    return true;
}

AcGePoint3d pointArgument(const LispValue& v) {
    if (!isPointValue(v)) badArgument("pointp", v);
    return {v.items[0].number(), v.items[1].number(), v.items.size() > 2 ? v.items[2].number() : 0.0};
}

LispValue wrappedInteger(long long v) {
    return LispValue::fromInteger(static_cast<Adesk::Int32>(static_cast<Adesk::UInt32>(v)));
}

LispValue truth(bool v) {
    return v ? LispValue::t() : LispValue::nil();
}

LispValue pointValue(const AcGePoint3d& p) {
    return LispValue::list({LispValue::fromReal(p.x), LispValue::fromReal(p.y), LispValue::fromReal(p.z)});
}

LispValue pointValue(const AcGePoint3d& p, bool twoD) {
    if (!twoD) return pointValue(p);
    return LispValue::list({LispValue::fromReal(p.x), LispValue::fromReal(p.y)});
}

LispValue listOf(std::vector<LispValue> items) {
    return items.empty() ? LispValue::nil() : LispValue::list(std::move(items));
}

} // namespace host
