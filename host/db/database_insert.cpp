// Inserting a drawing into another as a block based at the drawing's INSBASE: its entities are copied, and
// the layers, linetypes and blocks they name are copied too when the target lacks them.
#include <memory>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
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

// The live entities of a block.
std::vector<AcDbObjectId> entitiesOf(AcDbObjectId block) {
    std::vector<AcDbObjectId> entities;
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, block, AcDb::kForRead) != Acad::eOk) return entities;
    for (AcDbObjectId id : record->entityIds())
        if (!id.isErased()) entities.push_back(id);
    record->close();
    return entities;
}

AcDbObjectId copyBlock(AcDbDatabase* target, AcDbDatabase* source, AcDbObjectId sourceBlock);

// A reference copied from another database names its block by id of that database: the block of the same
// name in this one, copied from the source when missing. False when it cannot be had.
bool relinkBlock(AcDbDatabase* target, AcDbDatabase* source, AcDbBlockReference& reference) {
    const AcDbObjectId block = reference.blockTableRecord();
    if (block.database() == target) return true;
    if (block.database() != source) return false;
    const AcDbObjectId copied = copyBlock(target, source, block);
    return !copied.isNull() && reference.setBlockTableRecord(copied) == Acad::eOk;
}

// Copies the entities of `source` into `block`, with the layers, linetypes and blocks they name.
void copyEntities(AcDbDatabase* target, AcDbDatabase* source, const std::vector<AcDbObjectId>& entities,
                  AcDbBlockTableRecord* block) {
    for (AcDbObjectId id : entities) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(entity->isA()->create()));
        const bool copied = copy && copy->copyFrom(entity) == Acad::eOk;
        entity->close();
        if (!copied) continue;
        if (auto* reference = AcDbBlockReference::cast(copy.get());
            reference && !relinkBlock(target, source, *reference))
            continue;
        std::wstring layer = copy->layer(), linetype = copy->linetype();
        ensureRecord<AcDbLayerTable, AcDbLayerTableRecord>(target->layerTableId(), source->layerTableId(),
                                                           layer);
        relinkLayerLinetype(target, source, layer);
        ensureRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(target->linetypeTableId(),
                                                                 source->linetypeTableId(), linetype);
        if (block->appendAcDbEntity(copy.get()) == Acad::eOk) copy.release()->close();
    }
}

// Adds `block` (named and based already, not in a database) holding copies of `entities`; null when it cannot
// be added.
AcDbObjectId addBlock(AcDbDatabase* target, AcDbDatabase* source, std::unique_ptr<AcDbBlockTableRecord> block,
                      const std::vector<AcDbObjectId>& entities, Acad::ErrorStatus& es) {
    AcDbBlockTable* blocks = nullptr;
    AcDbObjectId id;
    if (es = target->getBlockTable(blocks, AcDb::kForWrite); es != Acad::eOk) return id;
    es = blocks->add(id, block.get());
    blocks->close();
    if (es != Acad::eOk) return {};
    // Added before its entities, so that a block its own entities name is found rather than copied again.
    AcDbBlockTableRecord* added = block.release();
    copyEntities(target, source, entities, added);
    added->close();
    return id;
}

// The block of this name in `target`, copied from `sourceBlock` when missing.
AcDbObjectId copyBlock(AcDbDatabase* target, AcDbDatabase* source, AcDbObjectId sourceBlock) {
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, sourceBlock, AcDb::kForRead) != Acad::eOk) return {};
    const std::wstring name = record->name();
    // An external reference stays one: its file and flags come along with its name and base point.
    auto copy = std::make_unique<AcDbBlockTableRecord>();
    copy->setName(name.c_str());
    copy->setOrigin(record->origin());
    copy->setPathName(record->pathName());
    copy->setComments(record->comments());
    copy->setMarkerFlags(record->markerFlags());
    record->close();
    if (const AcDbObjectId existing = target->blockId(name); !existing.isNull()) return existing;
    Acad::ErrorStatus es = Acad::eOk;
    return addBlock(target, source, std::move(copy), entitiesOf(sourceBlock), es);
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
    model->close();
    host::Group base;
    const AcGePoint3d origin =
        source->getHeaderVariable(L"INSBASE", base) && std::holds_alternative<AcGePoint3d>(base.value)
            ? base.point()
            : AcGePoint3d();
    auto block = std::make_unique<AcDbBlockTableRecord>();
    block->setName(blockName);
    block->setOrigin(origin);
    Acad::ErrorStatus es = Acad::eOk;
    blockId = addBlock(this, source, std::move(block), entitiesOf(source->modelSpaceId()), es);
    return es;
}
