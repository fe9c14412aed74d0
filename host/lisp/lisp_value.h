#pragma once
// LISP values of the host's small LISP, and their result-buffer form, which is how values travel to and
// from the functions that modules define. In that form an association whose key is a DXF group code,
// (8 . "0") or (10 1.0 2.0 3.0), is one result buffer of that group code, as in entity lists; a list of two
// or three reals is a point; any other list runs from RTLB to RTLE (with RTDOTE before the last item of a
// dotted pair).
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/db/resbuf.h"
#include "host/lisp/shared_items.h"

namespace host {

// Lists nest this deep at most, whether read or built: reading, evaluating, copying, printing and freeing a
// value recurse once per level, and a value nested deeper would overflow the stack.
constexpr int kMaxLispNesting = 2000;

struct LispValue;
using LispItems = SharedItems<LispValue>;

struct LispValue {
    // Function: a defun or lambda, items = (arguments, locals, body...), text = its name ("" for a lambda).
    // Builtin: a function of the host or of a module, text = its name. File: a file descriptor of OPEN,
    // name[0] = its number. CaughtError: what VL-CATCH-ALL-APPLY answers for an error, text = the message.
    enum Kind : std::uint8_t {
        Nil,
        True,
        Integer,
        Real,
        String,
        EntityName,
        PickSet,
        Symbol,
        List,
        Function,
        Builtin,
        File,
        CaughtError
    };
    Kind kind = Nil;
    bool dotted = false; // List: the last item is the cdr
    int nesting = 0;     // List: at most how deep lists nest in it, itself counted
    long long integer = 0;
    double real = 0;
    std::wstring text;                  // String; Symbol (upper case)
    Adesk::Int64 name[2] = {0, 0};      // EntityName, PickSet
    LispItems items;                    // List: shared by its copies and its tails
    mutable void* symbolSlot = nullptr; // Symbol: its place among the symbols once looked up (lisp_symbols.h)

    static LispValue nil() { return {}; }
    static LispValue t();
    static LispValue fromInteger(long long v);
    static LispValue fromReal(double v);
    static LispValue fromString(std::wstring s);
    static LispValue fromSymbol(std::wstring s);
    static LispValue fromName(const ads_name n, Kind kind = EntityName);
    // A value of the kinds that carry only a text (Symbol, Builtin, CaughtError).
    static LispValue named(Kind kind, std::wstring text);
    // Throw LispError ("imbrication trop profonde") for a list nested deeper than kMaxLispNesting.
    static LispValue list(LispItems items, bool dotted = false);
    // The list of the items from `first` on, sharing this list's, dotted as it is; nil when none is left.
    LispValue tail(std::size_t first) const;
    void append(LispValue item);

    bool isNil() const { return kind == Nil || (kind == List && items.empty()); }
    bool isNumber() const { return kind == Integer || kind == Real; }
    double number() const { return kind == Integer ? static_cast<double>(integer) : real; }
};

// An error of the LISP; its message is what the console shows after "; error: ".
struct LispError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// The same error once *ERROR* has been given it where it happened, on its way out to the top.
struct ReportedLispError : LispError {
    using LispError::LispError;
};

// Throws LispError ("nombre d'arguments insuffisants", "trop d'arguments") unless a function called with
// `args` has between `least` and `most` of them.
void checkArity(const std::vector<LispValue>& args, std::size_t least, std::size_t most);

// What becomes of an association whose value does not suit its group code: an error where the host reads
// it as entity data, a plain list of its own items where it travels to or from a module's function as a
// value (the function judges its arguments).
enum class GroupMismatch { Fails, PassedAsList };

// The result-buffer form of a sequence of values (each value one after the other).
resbuf* toResbufs(std::span<const LispValue> values, GroupMismatch mismatch = GroupMismatch::Fails);
inline resbuf* toResbufs(std::initializer_list<LispValue> values,
                         GroupMismatch mismatch = GroupMismatch::Fails) {
    return toResbufs(std::span(values.begin(), values.size()), mismatch);
}
// The values a chain holds.
std::vector<LispValue> fromResbufs(const resbuf* chain);
// The value that a chain returned by a function stands for: nothing is nil, one value is itself, several
// values are the list of them.
LispValue valueOfChain(const resbuf* chain);

} // namespace host
