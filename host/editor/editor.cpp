#include "host/editor/editor.h"

#include <algorithm>

#include "host/rx/host_versions.h"

HOST_DEFINE_ABSTRACT(AcEditorReactor, AcRxObject)
HOST_DEFINE_MEMBERS_WITH(AcEditor, AcRxObject, L"", nullptr)

AcEditor* acedEditor = [] {
    auto* editor = new AcEditor;
    acrxSysRegistry()->atPut(host::editorKey(false), editor);
    return editor;
}();

void AcEditor::addReactor(AcEditorReactor* reactor) {
    if (reactor && std::find(m_reactors.begin(), m_reactors.end(), reactor) == m_reactors.end())
        m_reactors.push_back(reactor);
}

void AcEditor::removeReactor(AcEditorReactor* reactor) {
    std::erase(m_reactors, reactor);
}

template <typename F> void AcEditor::fire(F event) {
    // A reactor may remove itself while it is told: walk a copy.
    std::vector<AcEditorReactor*> current = m_reactors;
    for (AcEditorReactor* r : current)
        if (std::find(m_reactors.begin(), m_reactors.end(), r) != m_reactors.end()) event(r);
}

void AcEditor::fireCommandWillStart(const ACHAR* name) {
    fire([&](AcEditorReactor* r) { r->commandWillStart(name); });
}
void AcEditor::fireCommandEnded(const ACHAR* name) {
    fire([&](AcEditorReactor* r) { r->commandEnded(name); });
}
void AcEditor::fireCommandFailed(const ACHAR* name) {
    fire([&](AcEditorReactor* r) { r->commandFailed(name); });
}
void AcEditor::fireDwgFileOpened(AcDbDatabase* database, const ACHAR* fileName) {
    fire([&](AcEditorReactor* r) { r->dwgFileOpened(database, fileName); });
}
void AcEditor::fireBeginSave(AcDbDatabase* database, const ACHAR* intendedName) {
    fire([&](AcEditorReactor* r) { r->beginSave(database, intendedName); });
}
void AcEditor::fireSaveComplete(AcDbDatabase* database, const ACHAR* actualName) {
    fire([&](AcEditorReactor* r) { r->saveComplete(database, actualName); });
}
