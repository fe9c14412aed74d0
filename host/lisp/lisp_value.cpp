#include "host/lisp/lisp_value.h"

#include <algorithm>
#include <limits>

namespace host {

void checkArity(const std::vector<LispValue>& args, std::size_t least, std::size_t most) {
    if (args.size() < least) throw LispError("nombre d'arguments insuffisants");
    if (args.size() > most) throw LispError("trop d'arguments");
}

LispValue LispValue::t() {
    LispValue v;
    v.kind = True;
    return v;
}

LispValue LispValue::fromInteger(long long i) {
    LispValue v;
    v.kind = Integer;
    v.integer = i;
    return v;
}

LispValue LispValue::fromReal(double r) {
    LispValue v;
    v.kind = Real;
    v.real = r;
    return v;
}

LispValue LispValue::fromString(std::wstring s) {
    LispValue v;
    v.kind = String;
    v.text = std::move(s);
    return v;
}

LispValue LispValue::fromSymbol(std::wstring s) {
    LispValue v;
    v.kind = Symbol;
    v.text = std::move(s);
    return v;
}

LispValue LispValue::named(Kind kind, std::wstring text) {
    LispValue v;
    v.kind = kind;
    v.text = std::move(text);
    return v;
}

LispValue LispValue::fromName(const ads_name n, Kind kind) {
    LispValue v;
    v.kind = kind;
    v.name[0] = n[0];
    v.name[1] = n[1];
    return v;
}

namespace {
void checkNesting(int nesting) {
    if (nesting > kMaxLispNesting) throw LispError("imbrication trop profonde");
}
} // namespace

LispValue LispValue::list(LispItems items, bool dotted) {
    LispValue v;
    v.kind = List;
    v.nesting = 1;
    for (const LispValue& item : items)
        v.nesting = std::max(v.nesting, item.nesting + 1);
    checkNesting(v.nesting);
    v.items = std::move(items);
    v.dotted = dotted;
    return v;
}

LispValue LispValue::tail(std::size_t first) const {
    if (first >= items.size()) return nil();
    LispValue v;
    v.kind = List;
    v.nesting = nesting; // an upper bound, as the items left may nest less
    v.items = items.tail(first);
    v.dotted = dotted;
    return v;
}

void LispValue::append(LispValue item) {
    checkNesting(item.nesting + 1);
    nesting = std::max(nesting, item.nesting + 1);
    items.push_back(std::move(item));
}

namespace {

class ChainBuilder {
public:
    resbuf* add(int type) {
        resbuf* rb = acutNewRb(type);
        *m_tail = rb;
        m_tail = &rb->rbnext;
        return rb;
    }
    void append(resbuf* chain) {
        *m_tail = chain;
        while (*m_tail)
            m_tail = &(*m_tail)->rbnext;
    }
    resbuf* take() {
        resbuf* head = m_head;
        m_head = nullptr;
        m_tail = &m_head;
        return head;
    }
    ~ChainBuilder() { acutRelRb(m_head); }

private:
    resbuf* m_head = nullptr;
    resbuf** m_tail = &m_head;
};

// Two or three reals; integers count too where `integersAllowed`.
bool isPoint(const LispValue& v, bool integersAllowed = false) {
    if (v.kind != LispValue::List || v.dotted || v.items.size() < 2 || v.items.size() > 3) return false;
    for (const LispValue& i : v.items)
        if (i.kind != LispValue::Real && !(integersAllowed && i.kind == LispValue::Integer)) return false;
    return true;
}

void setPoint(resbuf* rb, std::span<const LispValue> coordinates) {
    for (std::size_t i = 0; i < 3; ++i)
        rb->resval.rpoint[i] = i < coordinates.size() ? coordinates[i].number() : 0.0;
}

std::string describe(const LispValue& pair) {
    std::string s = "groupe DXF incorrect: (" + std::to_string(pair.items[0].integer) + " . ...)";
    return s;
}

bool addGroup(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch);

bool isApplicationData(const LispValue& v) {
    return v.kind == LispValue::List && !v.dotted && !v.items.empty() && v.items[0].kind == LispValue::String;
}

// Extended data (-3 ("APP" (1000 . "text") ...) ...): -3, then each application's name (1001) and groups;
// false when `v` does not have that shape.
bool addExtendedData(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch) {
    if (v.items.size() < 2 || !std::all_of(v.items.begin() + 1, v.items.end(), isApplicationData))
        return false;
    out.add(-3);
    for (std::size_t i = 1; i < v.items.size(); ++i) {
        const LispValue& app = v.items[i];
        out.add(1001)->resval.rstring = acutNewString(app.items[0].text.c_str());
        for (std::size_t j = 1; j < app.items.size(); ++j)
            if (!addGroup(out, app.items[j], mismatch)) throw LispError("groupe DXF incorrect: (-3 ...)");
    }
    return true;
}

bool addSuitedGroup(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch);

// The group (code . value), or (code x y z), as one result buffer; false when it is not such a group, or
// when its value does not suit its code and the mismatch passes it on as a list.
bool addGroup(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch) {
    if (mismatch == GroupMismatch::Fails) return addSuitedGroup(out, v, mismatch);
    ChainBuilder group;
    try {
        if (!addSuitedGroup(group, v, mismatch)) return false;
    } catch (const LispError&) {
        return false;
    }
    out.append(group.take());
    return true;
}

bool addSuitedGroup(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch) {
    if (v.kind != LispValue::List || v.items.empty() || v.items[0].kind != LispValue::Integer) return false;
    long long code = v.items[0].integer;
    if (code == -3 && !v.dotted) return addExtendedData(out, v, mismatch);
    if (code >= 5000 || code < -5 || code > 1071) return false;
    short type = resbufValueType(static_cast<int>(code));
    if (!v.dotted) {
        // Entity data takes (10 0 0 0) as a point, as routines write it; elsewhere a list of integers stays
        // a list, as a value passed on to a module is.
        const LispValue rest = v.tail(1);
        if (type != RT3DPOINT) return false;
        if (!isPoint(rest, mismatch == GroupMismatch::Fails)) {
            if (mismatch == GroupMismatch::Fails) throw LispError(describe(v)); // never made at the origin
            return false;
        }
        setPoint(out.add(static_cast<int>(code)), rest.items);
        return true;
    }
    if (v.items.size() != 2) return false;
    const LispValue& value = v.items[1];
    bool ok = true;
    resbuf* rb = out.add(static_cast<int>(code));
    switch (type) {
    case RTREAL:
        ok = value.isNumber();
        rb->resval.rreal = value.number();
        break;
    case RTSHORT:
        ok = value.kind == LispValue::Integer && value.integer >= std::numeric_limits<short>::min() &&
             value.integer <= std::numeric_limits<short>::max();
        rb->resval.rint = static_cast<short>(value.integer);
        break;
    case RTLONG:
        ok = value.kind == LispValue::Integer && value.integer >= std::numeric_limits<Adesk::Int32>::min() &&
             value.integer <= std::numeric_limits<Adesk::Int32>::max();
        rb->resval.rlong = static_cast<Adesk::Int32>(value.integer);
        break;
    case RTINT64:
        ok = value.kind == LispValue::Integer;
        rb->resval.mnInt64 = value.integer;
        break;
    case RTSTR:
        ok = value.kind == LispValue::String;
        rb->resval.rstring = acutNewString(value.text.c_str());
        break;
    case RTENAME:
        ok = value.kind == LispValue::EntityName;
        rb->resval.rlname[0] = value.name[0];
        rb->resval.rlname[1] = value.name[1];
        break;
    case RT3DPOINT:
        ok = isPoint(value, mismatch == GroupMismatch::Fails);
        if (ok) setPoint(rb, value.items);
        break;
    default:
        ok = false;
        break;
    }
    if (!ok) throw LispError(describe(v));
    return true;
}

void add(ChainBuilder& out, const LispValue& v, GroupMismatch mismatch) {
    switch (v.kind) {
    case LispValue::Nil:
        out.add(RTNIL);
        return;
    case LispValue::True:
        out.add(RTT);
        return;
    case LispValue::Integer:
        if (v.integer >= std::numeric_limits<short>::min() && v.integer <= std::numeric_limits<short>::max())
            out.add(RTSHORT)->resval.rint = static_cast<short>(v.integer);
        else
            out.add(RTLONG)->resval.rlong = static_cast<Adesk::Int32>(v.integer);
        return;
    case LispValue::Real:
        out.add(RTREAL)->resval.rreal = v.real;
        return;
    case LispValue::String:
    case LispValue::Symbol:
        out.add(RTSTR)->resval.rstring = acutNewString(v.text.c_str());
        return;
    case LispValue::EntityName:
    case LispValue::PickSet: {
        resbuf* rb = out.add(v.kind == LispValue::EntityName ? RTENAME : RTPICKS);
        rb->resval.rlname[0] = v.name[0];
        rb->resval.rlname[1] = v.name[1];
        return;
    }
    case LispValue::Function:
    case LispValue::Builtin:
    case LispValue::File:
    case LispValue::CaughtError:
        throw LispError("type d'argument incorrect: valeur hors de LISP");
    case LispValue::List:
        if (v.items.empty()) {
            out.add(RTNIL);
        } else if (isPoint(v)) {
            setPoint(out.add(v.items.size() == 3 ? RT3DPOINT : RTPOINT), v.items);
        } else if (!addGroup(out, v, mismatch)) {
            out.add(RTLB);
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (v.dotted && i + 1 == v.items.size()) out.add(RTDOTE);
                add(out, v.items[i], mismatch);
            }
            out.add(RTLE);
        }
        return;
    }
}

// A list of one value per item, made at its size and without the checks of LispValue::list.
LispValue flatList(LispItems items, bool dotted = false) {
    LispValue v;
    v.kind = LispValue::List;
    v.nesting = 1;
    v.items = std::move(items);
    v.dotted = dotted;
    return v;
}

// The n coordinates of a point, after `code` when one is given (a point group).
LispValue point(const resbuf& rb, int n, const LispValue* code = nullptr) {
    LispItems items;
    items.reserve(static_cast<std::size_t>(n) + (code ? 1 : 0));
    if (code) items.push_back(*code);
    for (int i = 0; i < n; ++i)
        items.emplaceWith([&] { return LispValue::fromReal(rb.resval.rpoint[i]); });
    return flatList(std::move(items));
}

// The value of a group (code . value) of the given value type.
LispValue groupAtom(const resbuf& rb, short type) {
    switch (type) {
    case RTREAL:
        return LispValue::fromReal(rb.resval.rreal);
    case RTSHORT:
        return LispValue::fromInteger(rb.resval.rint);
    case RTLONG:
        return LispValue::fromInteger(rb.resval.rlong);
    case RTINT64:
        return LispValue::fromInteger(rb.resval.mnInt64);
    case RTSTR:
        return LispValue::fromString(rb.resval.rstring ? rb.resval.rstring : L"");
    case RTENAME:
        return LispValue::fromName(rb.resval.rlname);
    default:
        return LispValue::nil();
    }
}

LispValue groupValue(const resbuf& rb) {
    const short type = resbufValueType(rb.restype);
    if (type == RT3DPOINT) {
        const LispValue code = LispValue::fromInteger(rb.restype);
        return point(rb, 3, &code);
    }
    // Each item made where it stays: an entity list is mostly such pairs.
    LispItems pair;
    pair.reserve(2);
    pair.emplaceWith([&] { return LispValue::fromInteger(rb.restype); });
    pair.emplaceWith([&] { return groupAtom(rb, type); });
    return flatList(std::move(pair), true);
}

LispValue readOne(const resbuf*& rb, int depth);

// How many values a list holds, from its first item to its RTLE: the list is made once at its size rather
// than grown value by value.
std::size_t itemsBefore(const resbuf* rb) {
    std::size_t count = 0;
    for (int depth = 0; rb; rb = rb->rbnext) {
        if (rb->restype == RTLE && depth-- == 0) break;
        if (depth == 0 && rb->restype != RTDOTE && rb->restype != RTLE) ++count;
        if (rb->restype == RTLB) ++depth;
    }
    return count;
}

// What follows a -3 group: (-3 ("APP" groups...) ...).
LispValue readExtendedData(const resbuf*& rb, int depth) {
    LispValue out = LispValue::list({LispValue::fromInteger(-3)});
    while (rb && rb->restype >= 1000 && rb->restype <= 1071) {
        if (rb->restype == 1001) {
            out.append(
                LispValue::list({LispValue::fromString(rb->resval.rstring ? rb->resval.rstring : L"")}));
            rb = rb->rbnext;
        } else if (out.items.size() > 1) {
            LispValue& app = out.items.mutableBack();
            app.append(readOne(rb, depth + 2));
            out.nesting = std::max(out.nesting, app.nesting + 1);
        } else {
            rb = rb->rbnext; // data before any application name
        }
    }
    return out;
}

// The value that starts at `rb`, inside `depth` lists; `rb` moves past it. The depth is checked before a
// list is read: a chain from a module can nest deeper than the stack holds.
LispValue readOne(const resbuf*& rb, int depth) {
    const resbuf& r = *rb;
    rb = rb->rbnext;
    switch (r.restype) {
    case RTNIL:
    case RTNONE:
    case RTVOID:
        return LispValue::nil();
    case RTT:
        return LispValue::t();
    case RTSHORT:
        return LispValue::fromInteger(r.resval.rint);
    case RTLONG:
        return LispValue::fromInteger(r.resval.rlong);
    case RTREAL:
    case RTANG:
    case RTORINT:
        return LispValue::fromReal(r.resval.rreal);
    case RTSTR:
        return LispValue::fromString(r.resval.rstring ? r.resval.rstring : L"");
    case RTENAME:
        return LispValue::fromName(r.resval.rlname);
    case RTPICKS:
        return LispValue::fromName(r.resval.rlname, LispValue::PickSet);
    case RTPOINT:
        return point(r, 2);
    case RT3DPOINT:
        return point(r, 3);
    case -3:
        return readExtendedData(rb, depth);
    case RTLB: {
        checkNesting(depth + 1);
        LispValue list = LispValue::list({});
        list.items.reserve(itemsBefore(rb));
        while (rb && rb->restype != RTLE) {
            if (rb->restype == RTDOTE) {
                rb = rb->rbnext;
                list.dotted = true;
                continue;
            }
            const LispValue& item = list.items.emplaceWith([&] { return readOne(rb, depth + 1); });
            list.nesting = std::max(list.nesting, item.nesting + 1);
            checkNesting(list.nesting);
        }
        if (rb) rb = rb->rbnext; // RTLE
        return list;
    }
    default:
        return groupValue(r);
    }
}

} // namespace

resbuf* toResbufs(std::span<const LispValue> values, GroupMismatch mismatch) {
    ChainBuilder out;
    for (const LispValue& v : values)
        add(out, v, mismatch);
    return out.take();
}

namespace {

// Each value of the chain in turn to `take`.
template <typename Take> void readChain(const resbuf* chain, Take take) {
    while (chain) {
        if (chain->restype == RTLE || chain->restype == RTDOTE) {
            chain = chain->rbnext; // unbalanced: skipped
            continue;
        }
        take(readOne(chain, 0));
    }
}

} // namespace

std::vector<LispValue> fromResbufs(const resbuf* chain) {
    std::vector<LispValue> out;
    readChain(chain, [&](LispValue v) { out.push_back(std::move(v)); });
    return out;
}

LispValue valueOfChain(const resbuf* chain) {
    // One value, the usual answer, is taken as it comes; several are gathered into a list.
    LispValue first;
    LispValue list;
    std::size_t count = 0;
    readChain(chain, [&](LispValue v) {
        if (++count == 1) {
            first = std::move(v);
            return;
        }
        if (count == 2) {
            list = LispValue::list(LispItems{});
            list.append(std::move(first));
        }
        list.append(std::move(v));
    });
    return count > 1 ? list : first;
}

} // namespace host
