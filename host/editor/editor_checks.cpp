#include "host/editor/editor_checks.h"

#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/editor/acut.h"
#include "host/editor/documents.h"

namespace host {

namespace {

std::wstring describe(const AcDbObject* object) {
    return std::wstring(object->isA()->name()) + L" " + object->handle().text();
}

} // namespace

void EditorChecks::fail(std::wstring message) {
    acutPrintf(L"\n*** Host check: %s", message.c_str());
    m_failures.push_back(std::move(message));
}

void EditorChecks::atPrompt(const wchar_t* what) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    for (ObjectStub* stub : db->stubs())
        if (stub->object && stub->object->isWriteEnabled() && stub->object->isOpen())
            fail(describe(stub->object) + L" is open for write while " + what + L" waits for input");
}

EditorChecks::CommandState EditorChecks::commandStarts() const {
    CommandState state;
    if (AcApDocument* doc = curDoc()) state.lockDepth = doc->lockDepth();
    if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase())
        state.undoDepth = db->undoGroupDepth();
    return state;
}

void EditorChecks::balance(int difference, const std::wstring& what, const std::wstring& command,
                           const std::function<void()>& putBack) {
    if (difference > 0) {
        fail(std::to_wstring(difference) + L" " + what + L" left by the command " + command);
        while (difference-- > 0)
            putBack();
    } else if (difference < 0) {
        fail(std::to_wstring(-difference) + L" " + what + L" released by the command " + command +
             L" that it did not take");
    }
}

void EditorChecks::commandEnded(const std::wstring& command, const CommandState& start) {
    if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase()) {
        for (ObjectStub* stub : db->stubs())
            if (stub->object && stub->object->isOpen())
                fail(describe(stub->object) + L" is still open after the command " + command);
        balance(db->undoGroupDepth() - start.undoDepth, L"undo group(s)", command,
                [db] { db->endUndoGroup(); });
    }
    if (AcApDocument* doc = curDoc())
        balance(doc->lockDepth() - start.lockDepth, L"document lock(s)", command, [doc] { doc->popLock(); });
}

EditorChecks& editorChecks() {
    static EditorChecks checks;
    return checks;
}

} // namespace host
