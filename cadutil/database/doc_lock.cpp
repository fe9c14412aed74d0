#include "cadutil/database/doc_lock.h"

#include "host/editor/documents.h"

namespace {

// The plug-in's flag word; bit 0 is set while a guard is active.
unsigned& flagWord() {
    static unsigned flags = 0;
    return flags;
}
constexpr unsigned kGuardActive = 1;

} // namespace

CDocLock::CDocLock() {
    if (active()) return;
    AcApDocument* doc = acDocManager->curDocument();
    if (!doc) return;
    flagWord() |= kGuardActive;
    if (doc->myLockMode() != AcAp::kWrite &&
        acDocManager->lockDocument(doc, AcAp::kWrite, nullptr, nullptr, true) == Acad::eOk) {
        m_held = Held::Document;
        m_document = doc;
    } else {
        m_held = Held::Marker;
    }
}

CDocLock::~CDocLock() {
    if (m_held == Held::Nothing) return;
    if (m_held == Held::Document) acDocManager->unlockDocument(m_document);
    flagWord() &= ~kGuardActive;
}

bool CDocLock::active() {
    return flagWord() & kGuardActive;
}

void CDocLock::reset() {
    flagWord() = 0;
}
