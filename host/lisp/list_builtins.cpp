// Lists: building, taking apart (CAR, CDR and their compositions to four letters), searching, and the
// functions that apply a function over a list's items.
#include <algorithm>

#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_equal.h"
#include "host/lisp/lisp_eval.h"

namespace host {

namespace {

using Args = LispArgs;

// The items of a proper list argument; a dotted pair's cdr is not one.
std::vector<LispValue> properItems(const LispValue& v) {
    const LispItems& items = listArgument(v);
    return {items.begin(), v.dotted ? items.end() - 1 : items.end()};
}

const LispItems& consArgument(const LispValue& v) {
    if (v.kind != LispValue::Nil && v.kind != LispValue::List) badArgument("consp", v);
    return listArgument(v);
}

LispValue car(const LispValue& v) {
    const LispItems& items = consArgument(v);
    return items.empty() ? LispValue::nil() : items.front();
}

LispValue cdr(const LispValue& v) {
    const LispItems& items = consArgument(v);
    if (v.dotted && items.size() == 2) return items[1];
    return v.tail(1);
}

// CAR, CDR and CxxR to CxxxxR: the letters between C and R applied from the last.
LispValue composition(const std::wstring& letters, LispValue v) {
    for (auto it = letters.rbegin(); it != letters.rend(); ++it)
        v = *it == L'A' ? car(v) : cdr(v);
    return v;
}

void addCompositions(LispBuiltinTable& table) {
    std::vector<std::wstring> letters = {L"A", L"D"};
    for (std::size_t begin = 0; begin < letters.size(); ++begin) {
        if (letters[begin].size() < 4)
            for (const wchar_t* more : {L"A", L"D"})
                letters.push_back(letters[begin] + more);
        std::wstring word = letters[begin];
        table[L"C" + word + L"R"] = lispFunction([word](const LispValue& v) { return composition(word, v); });
    }
}

LispValue cons(const LispValue& first, const LispValue& rest) {
    if (rest.kind == LispValue::Nil || (rest.kind == LispValue::List && rest.items.empty()))
        return LispValue::list({first});
    if (rest.kind == LispValue::List) {
        std::vector<LispValue> items;
        items.reserve(rest.items.size() + 1);
        items.push_back(first);
        items.insert(items.end(), rest.items.begin(), rest.items.end());
        return LispValue::list(std::move(items), rest.dotted);
    }
    return LispValue::list({first, rest}, true);
}

LispValue nth(int n, const LispValue& list) {
    std::vector<LispValue> items = properItems(list);
    return n >= 0 && static_cast<std::size_t>(n) < items.size() ? items[static_cast<std::size_t>(n)]
                                                                : LispValue::nil();
}

LispValue append(const Args& a) {
    std::vector<LispValue> items;
    for (const LispValue& list : a) {
        std::vector<LispValue> more = properItems(list);
        items.insert(items.end(), more.begin(), more.end());
    }
    return listOf(std::move(items));
}

// The list from the first item that `found` holds for, or nil.
template <class Found> LispValue tailFrom(const LispValue& list, Found found) {
    const LispItems& items = listArgument(list);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (found(items[i])) return list.tail(i);
    return LispValue::nil();
}

LispValue assoc(const LispValue& key, const LispValue& list) {
    for (const LispValue& item : properItems(list))
        if (item.kind == LispValue::List && !item.items.empty() && lispEqual(item.items[0], key, 0))
            return item;
    return LispValue::nil();
}

LispValue substitute(const LispValue& replacement, const LispValue& old, const LispValue& in) {
    if (lispEqual(in, old, 0)) return replacement;
    if (in.kind != LispValue::List) return in;
    std::vector<LispValue> items;
    for (const LispValue& item : in.items)
        items.push_back(substitute(replacement, old, item));
    return LispValue::list(std::move(items), in.dotted);
}

// (MAPCAR f list...): f on the first items of every list, then the second ones, as far as the shortest.
LispValue mapcar(const Args& a) {
    std::vector<std::vector<LispValue>> lists;
    std::size_t length = SIZE_MAX;
    for (std::size_t i = 1; i < a.size(); ++i) {
        lists.push_back(properItems(a[i]));
        length = std::min(length, lists.back().size());
    }
    std::vector<LispValue> out;
    out.reserve(length);
    for (std::size_t n = 0; n < length; ++n) {
        Args args;
        for (const std::vector<LispValue>& list : lists)
            args.push_back(list[n]);
        out.push_back(applyLisp(a[0], args));
    }
    return listOf(std::move(out));
}

// The items that the test keeps: those for which it holds when `keep`, else the others.
LispBuiltin filtered(bool keep) {
    return lispFunction([keep](const LispValue& test, const LispValue& list) {
        std::vector<LispValue> out;
        for (const LispValue& item : properItems(list))
            if (applyLisp(test, {item}).isNil() != keep) out.push_back(item);
        return listOf(std::move(out));
    });
}

LispValue sorted(const LispValue& list, const LispValue& before) {
    std::vector<LispValue> items = properItems(list);
    std::stable_sort(items.begin(), items.end(), [&](const LispValue& x, const LispValue& y) {
        return !applyLisp(before, {x, y}).isNil();
    });
    return listOf(std::move(items));
}

} // namespace

const LispBuiltinTable& listBuiltins() {
    static const LispBuiltinTable table = [] {
        LispBuiltinTable t = {
            {L"LIST", [](const Args& a) { return listOf(a); }},
            {L"CONS", lispFunction(cons)},
            {L"NTH", lispFunction(nth)},
            {L"LAST", lispFunction([](const LispValue& list) {
                 const LispItems& items = listArgument(list);
                 return items.empty() ? LispValue::nil() : items.back();
             })},
            {L"LENGTH", lispFunction([](const LispValue& list) {
                 return LispValue::fromInteger(static_cast<long long>(properItems(list).size()));
             })},
            {L"REVERSE", lispFunction([](const LispValue& list) {
                 std::vector<LispValue> items = properItems(list);
                 std::reverse(items.begin(), items.end());
                 return listOf(std::move(items));
             })},
            {L"APPEND", append},
            {L"MEMBER", lispFunction([](const LispValue& x, const LispValue& list) {
                 return tailFrom(list, [&](const LispValue& item) { return lispEqual(item, x, 0); });
             })},
            {L"VL-MEMBER-IF", lispFunction([](const LispValue& test, const LispValue& list) {
                 return tailFrom(list,
                                 [&](const LispValue& item) { return !applyLisp(test, {item}).isNil(); });
             })},
            {L"ASSOC", lispFunction(assoc)},
            {L"SUBST", lispFunction(substitute)},
            {L"MAPCAR", lispFunction(2, kAnyCount, mapcar)},
            {L"VL-SORT", lispFunction(sorted)},
            {L"VL-POSITION", lispFunction([](const LispValue& x, const LispValue& list) {
                 std::vector<LispValue> items = properItems(list);
                 for (std::size_t i = 0; i < items.size(); ++i)
                     if (lispEqual(items[i], x, 0)) return LispValue::fromInteger(static_cast<long long>(i));
                 return LispValue::nil();
             })},
            {L"VL-REMOVE", lispFunction([](const LispValue& x, const LispValue& list) {
                 std::vector<LispValue> items = properItems(list);
                 std::erase_if(items, [&](const LispValue& item) { return lispEqual(item, x, 0); });
                 return listOf(std::move(items));
             })},
            {L"VL-REMOVE-IF", filtered(false)},
            {L"VL-REMOVE-IF-NOT", filtered(true)},
        };
        addCompositions(t);
        return t;
    }();
    return table;
}

} // namespace host
