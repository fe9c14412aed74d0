#include "host/editor/editor_commands.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/rx/host_versions.h"

HOST_DEFINE_MEMBERS_WITH(AcEdCommandStack, AcRxObject, L"", nullptr)

AcEdCommandStack* acedRegCmds = [] {
    auto* stack = new AcEdCommandStack;
    acrxSysRegistry()->atPut(host::commandStackKey(false), stack);
    return stack;
}();

AcEdCommandStack::~AcEdCommandStack() {
    removeAll();
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* groupName, const ACHAR* globalName,
                                               const ACHAR* localName, Adesk::Int32 flags,
                                               AcRxFunctionPtr function, AcEdUIContext*, int functionCode,
                                               void*, AcEdCommand** commandOut) {
    if (!groupName || !*groupName || !globalName || !*globalName || !function) return Acad::eInvalidInput;
    if (lookupGlobalCmd(globalName)) return Acad::eDuplicateKey;
    auto* c = new AcEdCommand;
    c->m_group = groupName;
    c->m_global = globalName;
    c->m_local = localName && *localName ? localName : globalName;
    c->m_flags = flags;
    c->m_function = function;
    c->m_code = functionCode;
    m_commands.push_back(c);
    if (commandOut) *commandOut = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* groupName, const ACHAR* globalName) {
    auto it = std::find_if(m_commands.begin(), m_commands.end(), [&](const AcEdCommand* c) {
        return groupName && globalName && host::sameSymbolName(c->m_group, groupName) &&
               host::sameSymbolName(c->m_global, globalName);
    });
    if (it == m_commands.end()) return Acad::eKeyNotFound;
    delete *it;
    m_commands.erase(it);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
    auto inGroup = [&](const AcEdCommand* c) {
        return groupName && host::sameSymbolName(c->m_group, groupName);
    };
    if (std::none_of(m_commands.begin(), m_commands.end(), inGroup)) return Acad::eKeyNotFound;
    auto removed = std::stable_partition(m_commands.begin(), m_commands.end(),
                                         [&](const AcEdCommand* c) { return !inGroup(c); });
    for (auto it = removed; it != m_commands.end(); ++it)
        delete *it;
    m_commands.erase(removed, m_commands.end());
    return Acad::eOk;
}

void AcEdCommandStack::removeAll() {
    for (AcEdCommand* c : m_commands)
        delete c;
    m_commands.clear();
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const ACHAR* globalName) const {
    for (AcEdCommand* c : m_commands)
        if (globalName && host::sameSymbolName(c->m_global, globalName)) return c;
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const ACHAR* localName) const {
    for (AcEdCommand* c : m_commands)
        if (localName && host::sameSymbolName(c->m_local, localName)) return c;
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* typedName) const {
    if (!typedName) return nullptr;
    std::wstring name = typedName;
    bool global = false;
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) {
        global = global || name[0] == L'_';
        name.erase(0, 1);
    }
    if (global) return lookupGlobalCmd(name.c_str());
    AcEdCommand* local = lookupLocalCmd(name.c_str());
    return local ? local : lookupGlobalCmd(name.c_str());
}
