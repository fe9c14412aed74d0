#pragma once
// What the built-in functions ask of their arguments: each helper answers the argument as the C++ type the
// function needs, or throws the LISP's own error ("type d'argument incorrect: numberp nil") naming the test
// the argument failed.
#include <string>
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
// The items of a list argument (nil is the empty list); a dotted pair's cdr counts as its last item.
const std::vector<LispValue>& listArgument(const LispValue& v);
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

} // namespace host
