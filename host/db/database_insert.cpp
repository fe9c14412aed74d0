// Inserting a drawing into another as a block: its entities are copied, and the layers and linetypes they
// name are copied too when the target lacks them.
#include <memory>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"

namespace {

// The record `name` in the table `targetTable`, copied from the table `sourceTable` when missing (made
// with that name alone when the source lacks it too).
template <typename Table, typename Record>
void ensureRecord(AcDbObjectId targetTable, AcDbObjectId sourceTable, const std::wstring& name) {
    Table* table = nullptr;
    if (acdbOpenObject(table, targetTable, AcDb::kForWrite) != Acad::eOk) return;
    if (!table->has(name.c_str())) {
        Table* from = nullptr;
        Record* model = nullptr;
        if (acdbOpenObject(from, sourceTable, AcDb::kForRead) == Acad::eOk) {
            from->getAt(name.c_str(), model, AcDb::kForRead);
            from->close();
        }
        auto* record = new Record;
        if (model) {
            record->copyFrom(model);
            model->close();
        } else {
            record->setName(name.c_str());
        }
        if (table->add(record) == Acad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
}

// A layer copied from another database names its linetype by id of that database: by name in this one.
void relinkLayerLinetype(AcDbDatabase* target, AcDbDatabase* source, const std::wstring& layer) {
    AcDbLayerTableRecord* record = nullptr;
    if (acdbOpenObject(record, target->layerId(layer), AcDb::kForWrite) != Acad::eOk) return;
    AcDbObjectId linetype = record->linetypeObjectId();
    if (linetype.database() != target) {
        AcDbLinetypeTableRecord* sourceLinetype = nullptr;
        std::wstring name = L"Continuous";
        if (linetype.database() == source &&
            acdbOpenObject(sourceLinetype, linetype, AcDb::kForRead) == Acad::eOk) {
            name = sourceLinetype->name();
            sourceLinetype->close();
        }
        ensureRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(target->linetypeTableId(),
                                                                 source->linetypeTableId(), name);
        record->setLinetypeObjectId(target->linetypeId(name));
    }
    record->close();
}

} // namespace

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const ACHAR* blockName, AcDbDatabase* source,
                                       bool) {
    blockId.setNull();
    if (!source || source == this || !blockName || !*blockName) return Acad::eInvalidInput;
    if (!this->blockId(blockName).isNull()) return Acad::eDuplicateRecordName;
    AcDbBlockTableRecord* model = nullptr;
    if (acdbOpenObject(model, source->modelSpaceId(), AcDb::kForRead) != Acad::eOk)
        return Acad::eMissingSymbolTableRec;
    std::vector<AcDbObjectId> entities;
    for (AcDbObjectId id : model->entityIds())
        if (!id.isErased()) entities.push_back(id);
    model->close();

    AcDbBlockTable* blocks = nullptr;
    if (Acad::ErrorStatus es = getBlockTable(blocks, AcDb::kForWrite); es != Acad::eOk) return es;
    auto* block = new AcDbBlockTableRecord;
    block->setName(blockName);
    Acad::ErrorStatus es = blocks->add(blockId, block);
    blocks->close();
    if (es != Acad::eOk) {
        delete block;
        return es;
    }
    for (AcDbObjectId id : entities) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(entity->isA()->create()));
        if (copy && copy->copyFrom(entity) == Acad::eOk) {
            std::wstring layer = copy->layer(), linetype = copy->linetype();
            ensureRecord<AcDbLayerTable, AcDbLayerTableRecord>(layerTableId(), source->layerTableId(), layer);
            relinkLayerLinetype(this, source, layer);
            ensureRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(linetypeTableId(),
                                                                     source->linetypeTableId(), linetype);
            if (block->appendAcDbEntity(copy.get()) == Acad::eOk) copy.release()->close();
        }
        entity->close();
    }
    block->close();
    return Acad::eOk;
}
