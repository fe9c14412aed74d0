#include "host/lisp/lisp_symbols.h"

#include <cwctype>
#include <map>

#include "host/db/db_object.h"

namespace host {

namespace {

std::map<std::wstring, LispValue>& symbols() {
    static std::map<std::wstring, LispValue> table;
    return table;
}

std::wstring key(const std::wstring& name) {
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
    if (value.isNil())
        symbols().erase(key(name));
    else
        symbols()[key(name)] = std::move(value);
}

bool lispSymbolEntity(const std::wstring& name, AcDbObjectId& id) {
    LispValue v = lispSymbol(name);
    return v.kind == LispValue::EntityName && acdbGetObjectId(id, v.name) == Acad::eOk;
}

void resetLispSymbols() {
    symbols().clear();
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
