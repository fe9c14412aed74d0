#include "host/lisp/lisp_equal.h"

#include <cmath>

namespace host {

bool lispEqual(const LispValue& a, const LispValue& b, double fuzz) {
    if (a.isNumber() && b.isNumber()) return std::fabs(a.number() - b.number()) <= fuzz;
    if (a.isNil() || b.isNil()) return a.isNil() && b.isNil();
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case LispValue::List:
        if (a.dotted != b.dotted || a.items.size() != b.items.size()) return false;
        for (std::size_t i = 0; i < a.items.size(); ++i)
            if (!lispEqual(a.items[i], b.items[i], fuzz)) return false;
        return true;
    case LispValue::Function:
        // A defun or lambda is equal only to itself (its copies share its items), not to one spelled alike.
        return a.items.data() == b.items.data();
    case LispValue::EntityName:
    case LispValue::PickSet:
    case LispValue::File:
        return a.name[0] == b.name[0] && a.name[1] == b.name[1];
    default:
        return a.text == b.text;
    }
}

} // namespace host
