// Arithmetic, comparisons and bits. Integers are AutoLISP's 32 bits and wrap as they do; a real among the
// arguments makes the result real.
#include <cmath>
#include <numeric>

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_builtins.h"
#include "host/lisp/lisp_equal.h"
#include "host/lisp/lisp_text.h"

namespace host {

namespace {

using Args = LispArgs;

bool allIntegers(const Args& a) {
    for (const LispValue& v : a)
        if (realArgument(v), v.kind != LispValue::Integer) return false;
    return true;
}

// The fold of + - * over the arguments; `unary` for - with one argument.
template <class IntegerStep, class RealStep>
LispValue arithmetic(const Args& a, long long none, IntegerStep integerStep, RealStep realStep) {
    if (a.empty()) return LispValue::fromInteger(none);
    if (allIntegers(a)) {
        long long r = a[0].integer;
        for (std::size_t i = 1; i < a.size(); ++i)
            r = wrappedInteger(integerStep(r, a[i].integer)).integer;
        return wrappedInteger(r);
    }
    double r = realArgument(a[0]);
    for (std::size_t i = 1; i < a.size(); ++i)
        r = realStep(r, realArgument(a[i]));
    return LispValue::fromReal(r);
}

// / and REM: each argument in turn divides what the ones before it gave; none may be zero.
template <class IntegerStep, class RealStep>
LispBuiltin division(IntegerStep integerStep, RealStep realStep) {
    return lispFunction(1, kAnyCount, [integerStep, realStep](const Args& a) {
        if (allIntegers(a)) {
            long long r = a[0].integer;
            for (std::size_t i = 1; i < a.size(); ++i) {
                if (a[i].integer == 0) throw LispError("division par zéro");
                r = wrappedInteger(integerStep(r, a[i].integer)).integer;
            }
            return LispValue::fromInteger(r);
        }
        double r = realArgument(a[0]);
        for (std::size_t i = 1; i < a.size(); ++i) {
            double d = realArgument(a[i]);
            if (d == 0) throw LispError("division par zéro");
            r = realStep(r, d);
        }
        return LispValue::fromReal(r);
    });
}

LispBuiltin extreme(bool greatest) {
    return lispFunction(1, kAnyCount, [greatest](const Args& a) {
        bool integers = allIntegers(a);
        std::size_t best = 0;
        for (std::size_t i = 1; i < a.size(); ++i)
            if (greatest ? a[i].number() > a[best].number() : a[i].number() < a[best].number()) best = i;
        return integers ? a[best] : LispValue::fromReal(a[best].number());
    });
}

using RealFunction = double (*)(double);

// One real argument; `valid` says where the function is defined.
LispBuiltin realFunction(RealFunction f, bool (*valid)(double) = nullptr) {
    return lispFunction([f, valid](const LispValue& v) {
        double x = realArgument(v);
        if (valid && !valid(x))
            throw LispError("fonction non définie pour l'argument: " + toUtf8(printLisp(v)));
        return LispValue::fromReal(f(x));
    });
}

LispValue power(const Args& a) {
    if (allIntegers(a) && a[1].integer >= 0) {
        long long r = 1;
        for (long long i = 0; i < a[1].integer; ++i)
            r = wrappedInteger(r * a[0].integer).integer;
        return LispValue::fromInteger(r);
    }
    return LispValue::fromReal(std::pow(realArgument(a[0]), realArgument(a[1])));
}

LispBuiltin integerFold(std::size_t least, int none, int (*step)(int, int)) {
    return lispFunction(least, kAnyCount, [none, step](const Args& a) {
        int r = none;
        for (std::size_t i = 0; i < a.size(); ++i)
            r = i == 0 ? integerArgument(a[0]) : step(r, integerArgument(a[i]));
        return LispValue::fromInteger(r);
    });
}

// BOOLE's operator: bit 1 both set, 2 only the first, 4 only the second, 8 neither.
int boole(int op, int x, int y) {
    int r = 0;
    if (op & 1) r |= x & y;
    if (op & 2) r |= x & ~y;
    if (op & 4) r |= ~x & y;
    if (op & 8) r |= ~x & ~y;
    return r;
}

// (BOOLE operator x y...): the operator between each integer and the next.
LispValue booleFold(const Args& a) {
    int op = integerArgument(a[0]);
    int r = integerArgument(a[1]);
    for (std::size_t i = 2; i < a.size(); ++i)
        r = boole(op, r, integerArgument(a[i]));
    return LispValue::fromInteger(r);
}

int compareNumbersOrTexts(const LispValue& x, const LispValue& y) {
    if (x.kind == LispValue::String || y.kind == LispValue::String) {
        const std::wstring& s = stringArgument(x);
        const std::wstring& t = stringArgument(y);
        return s < t ? -1 : s > t ? 1 : 0;
    }
    double dx = realArgument(x), dy = realArgument(y);
    return dx < dy ? -1 : dx > dy ? 1 : 0;
}

// Each argument against the next.
LispBuiltin comparison(bool (*holds)(int)) {
    return lispFunction(1, kAnyCount, [holds](const Args& a) {
        for (std::size_t i = 0; i + 1 < a.size(); ++i)
            if (!holds(compareNumbersOrTexts(a[i], a[i + 1]))) return LispValue::nil();
        return LispValue::t();
    });
}

LispValue plus(const Args& a) {
    return arithmetic(a, 0, std::plus<long long>(), std::plus<double>());
}

LispValue times(const Args& a) {
    return arithmetic(a, 0, std::multiplies<long long>(), std::multiplies<double>());
}

LispValue minus(const Args& a) {
    if (a.size() == 1)
        return arithmetic({LispValue::fromInteger(0), a[0]}, 0, std::minus<long long>(),
                          std::minus<double>());
    return arithmetic(a, 0, std::minus<long long>(), std::minus<double>());
}

// 1+ and 1-, the steps of every counting loop: computed in place.
LispBuiltin step(int by) {
    return lispFunction([by](const LispValue& v) {
        if (v.kind == LispValue::Integer) return wrappedInteger(v.integer + by);
        return LispValue::fromReal(realArgument(v) + by);
    });
}

} // namespace

const LispBuiltinTable& numberBuiltins() {
    static const LispBuiltinTable table = {
        {L"+", plus},
        {L"-", minus},
        {L"*", times},
        {L"/", division(std::divides<long long>(), std::divides<double>())},
        {L"REM", division(std::modulus<long long>(), [](double x, double y) { return std::fmod(x, y); })},
        {L"1+", step(1)},
        {L"1-", step(-1)},
        {L"ABS", lispFunction([](const LispValue& x) { return realArgument(x) >= 0 ? x : minus({x}); })},
        {L"MIN", extreme(false)},
        {L"MAX", extreme(true)},
        {L"SQRT", realFunction(std::sqrt, [](double x) { return x >= 0; })},
        {L"EXPT", lispFunction(2, 2, power)},
        {L"EXP", realFunction(std::exp)},
        {L"LOG", realFunction(std::log, [](double x) { return x > 0; })},
        {L"SIN", realFunction(std::sin)},
        {L"COS", realFunction(std::cos)},
        {L"ATAN", lispFunction([](double y, std::optional<double> x) {
             return LispValue::fromReal(x ? std::atan2(y, *x) : std::atan(y));
         })},
        {L"FIX",
         lispFunction([](double x) { return wrappedInteger(static_cast<long long>(std::trunc(x))); })},
        {L"FLOAT", lispFunction([](double x) { return LispValue::fromReal(x); })},
        {L"GCD", integerFold(2, 0, [](int x, int y) { return std::gcd(x, y); })},
        {L"LOGAND", integerFold(0, -1, [](int x, int y) { return x & y; })},
        {L"LOGIOR", integerFold(0, 0, [](int x, int y) { return x | y; })},
        {L"LSH", lispFunction([](std::optional<int> value, std::optional<int> by) {
             auto x = static_cast<Adesk::UInt32>(value.value_or(0));
             int n = by.value_or(0);
             if (n >= 32 || n <= -32) return LispValue::fromInteger(0);
             return wrappedInteger(n >= 0 ? x << n : x >> -n);
         })},
        {L"~", lispFunction([](int x) { return LispValue::fromInteger(~x); })},
        {L"BOOLE", lispFunction(2, kAnyCount, booleFold)},
        {L"=", comparison([](int c) { return c == 0; })},
        {L"/=", comparison([](int c) { return c != 0; })},
        {L"<", comparison([](int c) { return c < 0; })},
        {L">", comparison([](int c) { return c > 0; })},
        {L"<=", comparison([](int c) { return c <= 0; })},
        {L">=", comparison([](int c) { return c >= 0; })},
        {L"EQ",
         lispFunction([](const LispValue& x, const LispValue& y) { return truth(lispEqual(x, y, 0)); })},
        {L"EQUAL", lispFunction([](const LispValue& x, const LispValue& y, std::optional<double> fuzz) {
             return truth(lispEqual(x, y, fuzz.value_or(0)));
         })},
        {L"MINUSP", lispFunction([](double x) { return truth(x < 0); })},
        {L"ZEROP", lispFunction([](double x) { return truth(x == 0); })},
        {L"NUMBERP", lispFunction([](const LispValue& v) { return truth(v.isNumber()); })},
    };
    return table;
}

} // namespace host
