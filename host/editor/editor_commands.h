#pragma once
// The command stack: commands registered by modules in groups, under a global and a local name, and run
// by name (a leading "_" or "." is the global form of a name).
#include <string>
#include <vector>

#include "host/rx/acad_status.h"
#include "host/rx/rx.h"

using AcRxFunctionPtr = void (*)();
class AcEdUIContext;

namespace Acad {
enum CommandFlags { kModal = 0, kTransparent = 1, kUsePickSet = 2, kRedraw = 4 };
}

class AcEdCommand {
public:
    const ACHAR* groupName() const { return m_group.c_str(); }
    const ACHAR* globalName() const { return m_global.c_str(); }
    const ACHAR* localName() const { return m_local.c_str(); }
    Adesk::Int32 commandFlags() const { return m_flags; }
    AcRxFunctionPtr functionAddr() const { return m_function; }
    int functionCode() const { return m_code; }

private:
    friend class AcEdCommandStack;
    std::wstring m_group, m_global, m_local;
    Adesk::Int32 m_flags = 0;
    AcRxFunctionPtr m_function = nullptr;
    int m_code = -1;
};

class AcEdCommandStack : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcEdCommandStack)
public:
    ~AcEdCommandStack() override;
    // A global name already registered (in any group) answers eDuplicateKey.
    Acad::ErrorStatus addCommand(const ACHAR* groupName, const ACHAR* globalName, const ACHAR* localName,
                                 Adesk::Int32 flags, AcRxFunctionPtr function,
                                 AcEdUIContext* uiContext = nullptr, int functionCode = -1,
                                 void* resourceHandle = nullptr, AcEdCommand** commandOut = nullptr);
    Acad::ErrorStatus removeCmd(const ACHAR* groupName, const ACHAR* globalName);
    Acad::ErrorStatus removeGroup(const ACHAR* groupName);
    AcEdCommand* lookupGlobalCmd(const ACHAR* globalName) const;
    AcEdCommand* lookupLocalCmd(const ACHAR* localName) const;
    // The command a typed name stands for: "_NAME" and ".NAME" by global name, "NAME" by local then global.
    AcEdCommand* lookupCmd(const ACHAR* typedName) const;
    int commandCount() const { return static_cast<int>(m_commands.size()); }
    // Test support: every command removed.
    void removeAll();

private:
    std::vector<AcEdCommand*> m_commands;
};

// The host's command stack, also in the system registry under "ACAD_REGISTERED_COMMANDS".
extern AcEdCommandStack* acedRegCmds;
