#include "host/lisp/lisp_symbols.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

#include "host/db/db_object.h"

namespace host {

namespace {

// The symbols AutoLISP binds before any routine runs.
std::unordered_map<std::wstring, LispValue> startSymbols() {
    return {{L"PI", LispValue::fromReal(3.14159265358979323846)}, {L"PAUSE", LispValue::fromString(L"\\")}};
}

std::unordered_map<std::wstring, LispValue>& symbols() {
    static std::unordered_map<std::wstring, LispValue> table = startSymbols();
    return table;
}

std::wstring key(const std::wstring& name) {
    if (std::none_of(name.begin(), name.end(), [](wchar_t c) { return std::iswlower(c); })) return name;
    std::wstring k = name;
    for (wchar_t& c : k)
        c = static_cast<wchar_t>(std::towupper(c));
    return k;
}

} // namespace

LispValue lispSymbol(const std::wstring& name) {
    auto it = symbols().find(key(name));
    return it == symbols().end() ? LispValue::nil() : it->second;
}

void setLispSymbol(const std::wstring& name, LispValue value) {
    auto it = symbols().find(name); // names are upper case already but for callers outside LISP
    if (it == symbols().end()) it = symbols().find(key(name));
    if (value.isNil()) {
        if (it != symbols().end()) symbols().erase(it);
    } else if (it != symbols().end()) {
        it->second = std::move(value);
    } else {
        symbols().emplace(key(name), std::move(value));
    }
}

const LispValue* findLispSymbol(const std::wstring& upperName) {
    auto it = symbols().find(upperName);
    return it == symbols().end() ? nullptr : &it->second;
}

bool lispSymbolEntity(const std::wstring& name, AcDbObjectId& id) {
    LispValue v = lispSymbol(name);
    return v.kind == LispValue::EntityName && acdbGetObjectId(id, v.name) == Acad::eOk;
}

void resetLispSymbols() {
    symbols() = startSymbols();
}

} // namespace host

int acedGetSym(const ACHAR* name, resbuf** value) {
    if (!name || !value) return RTERROR;
    try {
        *value = host::toResbufs({host::lispSymbol(name)});
        return RTNORM;
    } catch (const host::LispError&) {
        *value = nullptr;
        return RTERROR;
    }
}

int acedPutSym(const ACHAR* name, resbuf* value) {
    if (!name || !*name) return RTERROR;
    host::setLispSymbol(name, host::valueOfChain(value));
    return RTNORM;
}
