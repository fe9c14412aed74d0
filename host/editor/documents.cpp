#include "host/editor/documents.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/editor/file_commands.h"
#include "host/input/input_queue.h"
#include "host/input/script_line.h"

namespace {
int& updates() {
    static int n = 0;
    return n;
}
} // namespace

AcApDocument::AcApDocument(AcDbDatabase* database, std::wstring fileName, std::unique_ptr<AcDbDatabase> owned)
    : m_database(database), m_fileName(std::move(fileName)), m_owned(std::move(owned)) {}

AcApDocument::~AcApDocument() = default;

AcAp::DocLockMode AcApDocument::myLockMode() const {
    return m_locks.empty() ? AcAp::kNotLocked : m_locks.back();
}

AcAp::DocLockMode AcApDocument::lockMode(bool) const {
    return myLockMode();
}

bool AcApDocument::popLock() {
    if (m_locks.empty()) return false;
    m_locks.pop_back();
    return true;
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* doc, AcAp::DocLockMode mode, const ACHAR*,
                                               const ACHAR*, bool) {
    if (!doc) return Acad::eNullObjectPointer;
    ++m_lockCalls;
    doc->pushLock(mode);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* doc) {
    if (!doc) return Acad::eNullObjectPointer;
    return doc->popLock() ? Acad::eOk : Acad::eNotApplicable;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* doc, const ACHAR* text, bool, bool,
                                                      bool echo) {
    if (!doc || !text) return Acad::eInvalidInput;
    std::vector<host::InputItem> items = host::typedItems(text);
    for (host::InputItem& item : items) {
        item.sent = true;
        if (!echo) item.echo.clear();
    }
    host::inputQueue().pushFront(std::move(items));
    return Acad::eOk;
}

AcApDocument* AcApDocManager::openDocument(AcDbDatabase* database, std::wstring fileName,
                                           std::unique_ptr<AcDbDatabase> owned) {
    m_documents.push_back(std::make_unique<AcApDocument>(database, std::move(fileName), std::move(owned)));
    AcApDocument* doc = m_documents.back().get();
    if (!m_current) setCurDocument(doc);
    return doc;
}

void AcApDocManager::closeDocument(AcApDocument* doc) {
    if (doc == m_current) setCurDocument(nullptr);
    std::erase_if(m_documents, [doc](const auto& d) { return d.get() == doc; });
    if (!m_current && !m_documents.empty()) setCurDocument(m_documents.front().get());
}

void AcApDocManager::setCurDocument(AcApDocument* doc) {
    m_current = doc;
    host::publishDocumentVariables(doc);
    acdbHostApplicationServices()->setWorkingDatabase(doc ? doc->database() : nullptr);
}

void AcApDocManager::reset() {
    setCurDocument(nullptr);
    m_documents.clear();
    m_lockCalls = 0;
    updates() = 0;
}

AcApDocManager* acDocManagerPtr() {
    static AcApDocManager manager;
    return &manager;
}

AcApDocument* curDoc() {
    return acDocManagerPtr()->curDocument();
}

void acedUpdateDisplay() {
    ++updates();
}

int acedRegen() {
    ++updates();
    return 5100;
}

Acad::ErrorStatus applyCurDwgLayerTableChanges() {
    ++updates();
    return Acad::eOk;
}

namespace host {
int displayUpdates() {
    return updates();
}
} // namespace host
