#pragma once
// What the built-in functions ask of their arguments: each helper answers the argument as the C++ type the
// function needs, or throws the LISP's own error ("type d'argument incorrect: numberp nil") naming the test
// the argument failed. `lispFunction` makes a built-in of a function from its signature, so that the tables
// of built-ins say what each one takes and no function checks it again.
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/ge/ge.h"
#include "host/lisp/lisp_value.h"

namespace host {

using LispArgs = std::vector<LispValue>;

[[noreturn]] void badArgument(const char* test, const LispValue& value);

double realArgument(const LispValue& v);
// An integer argument (fixnump).
int integerArgument(const LispValue& v);
const std::wstring& stringArgument(const LispValue& v);
// An entity name (lentityp), a selection set (lselsetp).
const LispValue& entityNameArgument(const LispValue& v);
const LispValue& pickSetArgument(const LispValue& v);
// The items of a list argument (nil is the empty list); a dotted pair's cdr counts as its last item.
const LispItems& listArgument(const LispValue& v);
// The items of a list as the arguments of a call (APPLY).
inline LispArgs argumentsOf(const LispItems& items) {
    return {items.begin(), items.end()};
}
// A point of two or three numbers (z 0 when two).
AcGePoint3d pointArgument(const LispValue& v);
bool isPointValue(const LispValue& v);

// The 32-bit integer AutoLISP's arithmetic gives (wrapping as its integers do).
LispValue wrappedInteger(long long v);
LispValue truth(bool v);
// (x y z) of reals.
LispValue pointValue(const AcGePoint3d& p);
// A point as wide as the one it came from: (x y) when `twoD`.
LispValue pointValue(const AcGePoint3d& p, bool twoD);
// A list built from items (nil when empty).
LispValue listOf(std::vector<LispValue> items);

// Parameters that take an entity name or a selection set, as the value given.
struct LispEntityName {
    const LispValue& value;
};
struct LispPickSet {
    const LispValue& value;
};

// No most for a built-in that takes any number of arguments.
constexpr std::size_t kAnyCount = SIZE_MAX;

namespace lisp_signature {

// How one argument is taken as a parameter of the type T.
template <class T> struct Parameter;
template <> struct Parameter<LispValue> {
    static const LispValue& take(const LispValue& v) { return v; }
};
template <> struct Parameter<double> {
    static double take(const LispValue& v) { return realArgument(v); }
};
template <> struct Parameter<bool> {
    static bool take(const LispValue& v) { return !v.isNil(); }
};
template <> struct Parameter<int> {
    static int take(const LispValue& v) { return integerArgument(v); }
};
template <> struct Parameter<std::wstring> {
    static const std::wstring& take(const LispValue& v) { return stringArgument(v); }
};
template <> struct Parameter<AcGePoint3d> {
    static AcGePoint3d take(const LispValue& v) { return pointArgument(v); }
};
template <> struct Parameter<LispEntityName> {
    static LispEntityName take(const LispValue& v) { return {entityNameArgument(v)}; }
};
template <> struct Parameter<LispPickSet> {
    static LispPickSet take(const LispValue& v) { return {pickSetArgument(v)}; }
};

template <class T> constexpr bool isOptional = false;
template <class T> constexpr bool isOptional<std::optional<T>> = true;

template <class P> decltype(auto) take(const LispArgs& a, std::size_t i) {
    using T = std::remove_cvref_t<P>;
    if constexpr (isOptional<T>) {
        if (i >= a.size()) return T{};
        return T{Parameter<typename T::value_type>::take(a[i])};
    } else {
        return Parameter<T>::take(a[i]);
    }
}

template <class F> struct Parameters : Parameters<decltype(&F::operator())> {};
template <class R, class... P> struct Parameters<R (*)(P...)> { using Types = std::tuple<P...>; };
template <class C, class R, class... P> struct Parameters<R (C::*)(P...) const> {
    using Types = std::tuple<P...>;
};

template <class F, class... P> LispValue call(const F& f, const LispArgs& a, std::tuple<P...>*) {
    constexpr bool optional[] = {isOptional<std::remove_cvref_t<P>>..., false};
    constexpr std::size_t least = (std::size_t{0} + ... + (isOptional<std::remove_cvref_t<P>> ? 0 : 1));
    static_assert(
        [&] {
            for (std::size_t i = 0; i < least; ++i)
                if (optional[i]) return false;
            return true;
        }(),
        "the arguments that may be left out come last");
    checkArity(a, least, sizeof...(P));
    const auto takeAll = [&]<std::size_t... I>(std::index_sequence<I...>) {
        // Taken within braces, the arguments are checked in order: an error names the first that fails.
        return std::tuple<P...>{take<P>(a, I)...};
    };
    return std::apply(f, takeAll(std::index_sequence_for<P...>{}));
}

} // namespace lisp_signature

// A built-in from a function of the arguments it takes, by their types: `const LispValue&` any value,
// `bool` any value as a flag (nil is false), `double` a number, `int` an integer, `const std::wstring&` a
// string, `AcGePoint3d` a point, `LispEntityName` an entity name, `LispPickSet` a selection set, and
// `std::optional` of one of these an argument that may be left out (after those that may not). The count is
// checked first ("nombre d'arguments insuffisants", "trop d'arguments"), then each argument in turn ("type
// d'argument incorrect: ...").
template <class F> auto lispFunction(F f) {
    return [f](const LispArgs& a) -> LispValue {
        return lisp_signature::call(f, a,
                                    static_cast<typename lisp_signature::Parameters<F>::Types*>(nullptr));
    };
}
// A built-in that takes its arguments as they come, from `least` to `most` of them.
template <class F> auto lispFunction(std::size_t least, std::size_t most, F f) {
    return [least, most, f](const LispArgs& a) -> LispValue {
        checkArity(a, least, most);
        return f(a);
    };
}

} // namespace host
