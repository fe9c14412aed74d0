#include "tests/host/editor_test_support.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/editor/documents.h"
#include "host/input/input_queue.h"
#include "host/input/script_line.h"

namespace host::test {

EditorSession::EditorSession() {
    resetEditor();
    acDocManager->openDocument(drawing.db.get(), L"test.dxf");
}

EditorSession::~EditorSession() {
    resetEditor();
}

AcDbObjectId EditorSession::addSegment(const AcGePoint3d& a, const AcGePoint3d& b, const wchar_t* layer,
                                       Adesk::UInt16 color) {
    auto* segment = new TestSegment(a, b);
    segment->setLayer(layer);
    segment->setColorIndex(color);
    return addEntity(segment);
}

AcDbObjectId EditorSession::addEntity(AcDbEntity* entity) {
    AcDbBlockTableRecord* model = nullptr;
    EXPECT_EQ(acdbOpenObject(model, drawing.db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(model->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    model->close();
    return id;
}

void EditorSession::addLayer(const wchar_t* name) {
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(drawing.db->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(name);
    EXPECT_EQ(table->add(layer), Acad::eOk);
    layer->close();
    table->close();
}

void EditorSession::type(std::initializer_list<const wchar_t*> lines) {
    for (const wchar_t* line : lines) {
        std::vector<InputItem> items;
        std::wstring error;
        ASSERT_TRUE(parseScriptLine(line, items, error)) << toUtf8(error);
        for (InputItem& item : items)
            inputQueue().push(std::move(item));
    }
}

const std::wstring& EditorSession::transcript() const {
    return commandLineTranscript();
}

} // namespace host::test
