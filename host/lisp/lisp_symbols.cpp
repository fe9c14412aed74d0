#include "host/lisp/lisp_symbols.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

#include "host/db/db_object.h"

namespace host {

namespace {

// The symbols AutoLISP binds before any routine runs.
void bindStartSymbols(std::unordered_map<std::wstring, LispSymbolSlot>& table) {
    bindSlot(table[L"PI"], LispValue::fromReal(3.14159265358979323846));
    bindSlot(table[L"PAUSE"], LispValue::fromString(L"\\"));
}

std::unordered_map<std::wstring, LispSymbolSlot>& symbols() {
    static std::unordered_map<std::wstring, LispSymbolSlot> table = [] {
        std::unordered_map<std::wstring, LispSymbolSlot> t;
        bindStartSymbols(t);
        return t;
    }();
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

LispSymbolSlot& lispSymbolSlot(const std::wstring& upperName) {
    return symbols()[upperName];
}

LispSymbolSlot& slotOf(const LispValue& symbol) {
    if (!symbol.symbolSlot) symbol.symbolSlot = &lispSymbolSlot(key(symbol.text));
    return *static_cast<LispSymbolSlot*>(symbol.symbolSlot);
}

void bindSlot(LispSymbolSlot& slot, LispValue value) {
    slot.bound = !value.isNil();
    slot.value = slot.bound ? std::move(value) : LispValue::nil();
}

LispValue lispSymbol(const std::wstring& name) {
    const LispSymbolSlot& slot = lispSymbolSlot(key(name));
    return slot.bound ? slot.value : LispValue::nil();
}

void setLispSymbol(const std::wstring& name, LispValue value) {
    bindSlot(lispSymbolSlot(key(name)), std::move(value));
}

const LispValue* findLispSymbol(const std::wstring& upperName) {
    const LispSymbolSlot& slot = lispSymbolSlot(upperName);
    return slot.bound ? &slot.value : nullptr;
}

bool lispSymbolEntity(const std::wstring& name, AcDbObjectId& id) {
    LispValue v = lispSymbol(name);
    return v.kind == LispValue::EntityName && acdbGetObjectId(id, v.name) == Acad::eOk;
}

void resetLispSymbols() {
    for (auto& [name, slot] : symbols())
        bindSlot(slot, LispValue::nil());
    bindStartSymbols(symbols());
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
