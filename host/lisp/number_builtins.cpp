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

LispValue divide(const Args& a) {
    checkArity(a, 1, SIZE_MAX);
    if (allIntegers(a)) {
        long long r = a[0].integer;
        for (std::size_t i = 1; i < a.size(); ++i) {
            if (a[i].integer == 0) throw LispError("division par zéro");
            r = wrappedInteger(r / a[i].integer).integer;
        }
        return LispValue::fromInteger(r);
    }
    double r = realArgument(a[0]);
    for (std::size_t i = 1; i < a.size(); ++i) {
        double d = realArgument(a[i]);
        if (d == 0) throw LispError("division par zéro");
        r /= d;
    }
    return LispValue::fromReal(r);
}

LispValue remainder(const Args& a) {
    checkArity(a, 1, SIZE_MAX);
    if (allIntegers(a)) {
        long long r = a[0].integer;
        for (std::size_t i = 1; i < a.size(); ++i) {
            if (a[i].integer == 0) throw LispError("division par zéro");
            r %= a[i].integer;
        }
        return LispValue::fromInteger(r);
    }
    double r = realArgument(a[0]);
    for (std::size_t i = 1; i < a.size(); ++i) {
        double d = realArgument(a[i]);
        if (d == 0) throw LispError("division par zéro");
        r = std::fmod(r, d);
    }
    return LispValue::fromReal(r);
}

LispValue extreme(const Args& a, bool greatest) {
    checkArity(a, 1, SIZE_MAX);
    bool integers = allIntegers(a);
    std::size_t best = 0;
    for (std::size_t i = 1; i < a.size(); ++i)
        if (greatest ? a[i].number() > a[best].number() : a[i].number() < a[best].number()) best = i;
    return integers ? a[best] : LispValue::fromReal(a[best].number());
}

using RealFunction = double (*)(double);

// One real argument; `valid` says where the function is defined.
LispValue realFunction(const Args& a, RealFunction f, bool (*valid)(double) = nullptr) {
    checkArity(a, 1, 1);
    double x = realArgument(a[0]);
    if (valid && !valid(x))
        throw LispError("fonction non définie pour l'argument: " + toUtf8(printLisp(a[0])));
    return LispValue::fromReal(f(x));
}

LispValue power(const Args& a) {
    checkArity(a, 2, 2);
    if (allIntegers(a) && a[1].integer >= 0) {
        long long r = 1;
        for (long long i = 0; i < a[1].integer; ++i)
            r = wrappedInteger(r * a[0].integer).integer;
        return LispValue::fromInteger(r);
    }
    return LispValue::fromReal(std::pow(realArgument(a[0]), realArgument(a[1])));
}

LispValue integerFold(const Args& a, int none, int (*step)(int, int)) {
    int r = none;
    for (std::size_t i = 0; i < a.size(); ++i)
        r = i == 0 ? integerArgument(a[0]) : step(r, integerArgument(a[i]));
    return LispValue::fromInteger(r);
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
LispValue comparison(const Args& a, bool (*holds)(int)) {
    checkArity(a, 1, SIZE_MAX);
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        if (!holds(compareNumbersOrTexts(a[i], a[i + 1]))) return LispValue::nil();
    return LispValue::t();
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
LispValue step(const Args& a, int by) {
    checkArity(a, 1, 1);
    if (a[0].kind == LispValue::Integer) return wrappedInteger(a[0].integer + by);
    return LispValue::fromReal(realArgument(a[0]) + by);
}

} // namespace

const LispBuiltinTable& numberBuiltins() {
    static const LispBuiltinTable table = {
        {L"+", plus},
        {L"-", minus},
        {L"*", times},
        {L"/", divide},
        {L"REM", remainder},
        {L"1+", [](const Args& a) { return step(a, 1); }},
        {L"1-", [](const Args& a) { return step(a, -1); }},
        {L"ABS",
         [](const Args& a) {
             checkArity(a, 1, 1);
             if (realArgument(a[0]) >= 0) return a[0];
             return minus(a);
         }},
        {L"MIN", [](const Args& a) { return extreme(a, false); }},
        {L"MAX", [](const Args& a) { return extreme(a, true); }},
        {L"SQRT", [](const Args& a) { return realFunction(a, std::sqrt, [](double x) { return x >= 0; }); }},
        {L"EXPT", power},
        {L"EXP", [](const Args& a) { return realFunction(a, std::exp); }},
        {L"LOG", [](const Args& a) { return realFunction(a, std::log, [](double x) { return x > 0; }); }},
        {L"SIN", [](const Args& a) { return realFunction(a, std::sin); }},
        {L"COS", [](const Args& a) { return realFunction(a, std::cos); }},
        {L"ATAN",
         [](const Args& a) {
             checkArity(a, 1, 2);
             double y = realArgument(a[0]);
             return LispValue::fromReal(a.size() == 1 ? std::atan(y) : std::atan2(y, realArgument(a[1])));
         }},
        {L"FIX",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return wrappedInteger(static_cast<long long>(std::trunc(realArgument(a[0]))));
         }},
        {L"FLOAT",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromReal(realArgument(a[0]));
         }},
        {L"GCD",
         [](const Args& a) {
             checkArity(a, 2, SIZE_MAX);
             return integerFold(a, 0, [](int x, int y) { return std::gcd(x, y); });
         }},
        {L"LOGAND", [](const Args& a) { return integerFold(a, -1, [](int x, int y) { return x & y; }); }},
        {L"LOGIOR", [](const Args& a) { return integerFold(a, 0, [](int x, int y) { return x | y; }); }},
        {L"LSH",
         [](const Args& a) {
             checkArity(a, 0, 2);
             auto x = static_cast<Adesk::UInt32>(a.empty() ? 0 : integerArgument(a[0]));
             int n = a.size() > 1 ? integerArgument(a[1]) : 0;
             if (n >= 32 || n <= -32) return LispValue::fromInteger(0);
             return wrappedInteger(n >= 0 ? x << n : x >> -n);
         }},
        {L"~",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return LispValue::fromInteger(~integerArgument(a[0]));
         }},
        {L"BOOLE",
         [](const Args& a) {
             checkArity(a, 2, SIZE_MAX);
             int op = integerArgument(a[0]);
             int r = integerArgument(a[1]);
             for (std::size_t i = 2; i < a.size(); ++i)
                 r = boole(op, r, integerArgument(a[i]));
             return LispValue::fromInteger(r);
         }},
        {L"=", [](const Args& a) { return comparison(a, [](int c) { return c == 0; }); }},
        {L"/=", [](const Args& a) { return comparison(a, [](int c) { return c != 0; }); }},
        {L"<", [](const Args& a) { return comparison(a, [](int c) { return c < 0; }); }},
        {L">", [](const Args& a) { return comparison(a, [](int c) { return c > 0; }); }},
        {L"<=", [](const Args& a) { return comparison(a, [](int c) { return c <= 0; }); }},
        {L">=", [](const Args& a) { return comparison(a, [](int c) { return c >= 0; }); }},
        {L"EQ",
         [](const Args& a) {
             checkArity(a, 2, 2);
             return truth(lispEqual(a[0], a[1], 0));
         }},
        {L"EQUAL",
         [](const Args& a) {
             checkArity(a, 2, 3);
             return truth(lispEqual(a[0], a[1], a.size() > 2 ? realArgument(a[2]) : 0));
         }},
        {L"MINUSP",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return truth(realArgument(a[0]) < 0);
         }},
        {L"ZEROP",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return truth(realArgument(a[0]) == 0);
         }},
        {L"NUMBERP",
         [](const Args& a) {
             checkArity(a, 1, 1);
             return truth(a[0].isNumber());
         }},
    };
    return table;
}

} // namespace host
