#pragma once
// The editor's reactors: modules watch commands and drawings through them.
#include <vector>

#include "host/rx/rx.h"

class AcDbDatabase;

class AcEditorReactor : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcEditorReactor)
public:
    virtual void commandWillStart(const ACHAR* /*commandName*/) {}
    virtual void commandEnded(const ACHAR* /*commandName*/) {}
    virtual void commandCancelled(const ACHAR* /*commandName*/) {}
    virtual void commandFailed(const ACHAR* /*commandName*/) {}
    virtual void dwgFileOpened(AcDbDatabase* /*database*/, const ACHAR* /*fileName*/) {}
    virtual void beginSave(AcDbDatabase* /*database*/, const ACHAR* /*intendedName*/) {}
    virtual void saveComplete(AcDbDatabase* /*database*/, const ACHAR* /*actualName*/) {}
};

class AcEditor : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcEditor)
public:
    void addReactor(AcEditorReactor* reactor);
    void removeReactor(AcEditorReactor* reactor);
    const std::vector<AcEditorReactor*>& reactors() const { return m_reactors; }

    // Host side: each event goes to every reactor, in the order they were added.
    void fireCommandWillStart(const ACHAR* name);
    void fireCommandEnded(const ACHAR* name);
    void fireCommandFailed(const ACHAR* name);
    void fireDwgFileOpened(AcDbDatabase* database, const ACHAR* fileName);
    void fireBeginSave(AcDbDatabase* database, const ACHAR* intendedName);
    void fireSaveComplete(AcDbDatabase* database, const ACHAR* actualName);

private:
    template <typename F> void fire(F event);
    std::vector<AcEditorReactor*> m_reactors;
};

// The host's editor, also in the system registry under "AcEditor".
extern AcEditor* acedEditor;
