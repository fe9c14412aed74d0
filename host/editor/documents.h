#pragma once
// Documents: one per open drawing, each with its database, its lock and its file name; the document manager
// knows the current one and queues typed text for it. The current document's database is the working
// database.
#include <memory>
#include <string>
#include <vector>

#include "host/rx/acad_status.h"
#include "host/rx/adesk.h"

class AcDbDatabase;

namespace AcAp {
enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
};
} // namespace AcAp

class AcApDocument {
public:
    AcApDocument(AcDbDatabase* database, std::wstring fileName, std::unique_ptr<AcDbDatabase> owned);
    ~AcApDocument();
    AcApDocument(const AcApDocument&) = delete;
    AcApDocument& operator=(const AcApDocument&) = delete;

    AcDbDatabase* database() const { return m_database; }
    const ACHAR* fileName() const { return m_fileName.c_str(); }
    void setFileName(std::wstring name) { m_fileName = std::move(name); }
    // The mode of the innermost lock held, kNotLocked without one.
    AcAp::DocLockMode myLockMode() const;
    AcAp::DocLockMode lockMode(bool bIncludeMyLocks = true) const;
    bool isQuiescent() const { return m_locks.empty(); }

    // Host internals: the locks held, innermost last.
    void pushLock(AcAp::DocLockMode mode) { m_locks.push_back(mode); }
    bool popLock();
    int lockDepth() const { return static_cast<int>(m_locks.size()); }

private:
    AcDbDatabase* m_database;
    std::wstring m_fileName;
    std::unique_ptr<AcDbDatabase> m_owned;
    std::vector<AcAp::DocLockMode> m_locks;
};

class AcApDocManager {
public:
    AcApDocument* curDocument() const { return m_current; }
    AcApDocument* mdiActiveDocument() const { return m_current; }
    int documentCount() const { return static_cast<int>(m_documents.size()); }

    // Locks are counted: every lockDocument that succeeds needs its unlockDocument.
    Acad::ErrorStatus lockDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kWrite,
                                   const ACHAR* globalCmdName = nullptr, const ACHAR* localCmdName = nullptr,
                                   bool prompt = true);
    Acad::ErrorStatus unlockDocument(AcApDocument* doc);
    // Types `text` for the document: it goes in front of the input queue, one typed line per carriage
    // return, and is read by the prompt that runs, or by the command line once the command ends.
    Acad::ErrorStatus sendStringToExecute(AcApDocument* doc, const ACHAR* text, bool activate = true,
                                          bool bWrapUpInactiveDoc = false, bool bEchoString = true);

    // Host internals. A document over `database`; with `owned` the document deletes it when closed. The
    // first document opened becomes the current one.
    AcApDocument* openDocument(AcDbDatabase* database, std::wstring fileName,
                               std::unique_ptr<AcDbDatabase> owned = nullptr);
    void closeDocument(AcApDocument* doc);
    void setCurDocument(AcApDocument* doc);
    // How many locks were taken since the last reset (tests count them).
    int lockCalls() const { return m_lockCalls; }
    void reset();

private:
    std::vector<std::unique_ptr<AcApDocument>> m_documents;
    AcApDocument* m_current = nullptr;
    int m_lockCalls = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
AcApDocument* curDoc();

// The view is drawn on demand; these count the requests so that tests can see them.
void acedUpdateDisplay();
int acedRegen();
// What depends on the current drawing's layers is shown again.
Acad::ErrorStatus applyCurDwgLayerTableChanges();

namespace host {
int displayUpdates();
}
