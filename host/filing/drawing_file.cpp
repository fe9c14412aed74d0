#include "host/filing/drawing_file.h"

#include <set>

#include "host/db/database.h"
#include "host/db/db_object.h"
#include "host/db/dictionary.h"
#include "host/db/kept_tables.h"
#include "host/db/resbuf.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/block_reference.h"
#include "host/filing/arrow_blocks.h"
#include "host/filing/block_cycles.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/group_binary.h"
#include "host/filing/layer_linetypes.h"
#include "host/filing/proxies.h"
#include "host/filing/text_codec.h"
#include "host/graphics/proxy_graphics_writer.h"

namespace host {
namespace {

constexpr char kMagic[] = "ZHOSTDWG\n";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
// A sane bound on one object's record, so a damaged length cannot ask for the whole memory.
constexpr Adesk::UInt32 kMaxObjectSize = 1u << 28;

std::string toBytes(const std::vector<std::uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// A new object of a database class by name, null for an unknown or abstract class.
AcDbObject* createObject(const std::wstring& className) {
    AcRxClass* c = acrxFindAcRxClass(className.c_str());
    AcRxObject* created = c ? c->create() : nullptr;
    AcDbObject* object = AcDbObject::cast(created);
    if (!object) delete created;
    return object;
}

// A name and value a DXF header can hold: a name of its own (not the seed, which the file writes itself) and
// a value that is neither a section's nor a variable's marker. The version read is kept, for a DXF save.
bool isHeaderVariable(const std::wstring& name, const Group& value) {
    return !name.empty() && name != L"HANDSEED" && value.code != 0 && value.code != 9 &&
           (name != L"ACADVER" || std::holds_alternative<std::wstring>(value.value));
}

Acad::ErrorStatus fail(AcDbDatabase& database, Acad::ErrorStatus status, const std::string& message) {
    database.setLastFileError(message);
    return status;
}

// The proxy graphics filed with an object: a proxy's kept image, or, when the drawing saves them, what an
// entity of a module's class draws for them. Built-in classes need none: every host draws them itself.
Bytes proxyGraphicsFor(const AcDbDatabase& database, AcDbObject* object,
                       const std::set<AcRxClass*>& modules) {
    if (const ProxyContent* proxy = proxyContent(object)) return proxy->graphics;
    auto* entity = AcDbEntity::cast(object);
    if (!entity || !database.saveProxyGraphics() || !modules.contains(object->isA())) return {};
    ScopedRead access(object);
    return proxyGraphicsOf(entity);
}

void writeSized(DwgMemoryFiler& out, const std::vector<std::uint8_t>& bytes) {
    out.writeUInt32(static_cast<Adesk::UInt32>(bytes.size()));
    out.writeBytes(bytes.data(), bytes.size());
}

// A length and that many bytes; false when the length passes the bound or the end of the file.
bool readSized(DwgMemoryFiler& in, std::vector<std::uint8_t>& bytes) {
    Adesk::UInt32 size = 0;
    in.readUInt32(&size);
    if (in.filerStatus() != Acad::eOk || size > kMaxObjectSize || size > in.bytes().size() - in.position())
        return false;
    bytes.resize(size);
    return in.readBytes(bytes.data(), size) == Acad::eOk;
}

} // namespace

bool isBinaryDrawing(const std::string& content) {
    return content.compare(0, kMagicSize, kMagic) == 0;
}

Acad::ErrorStatus writeDrawing(AcDbDatabase& database, std::string& bytes) {
    DwgMemoryFiler out(AcDb::kFileFiler, &database);
    out.writeBytes(kMagic, kMagicSize);
    out.writeUInt32(kDrawingVersion);
    out.writeAcDbHandle(database.handseed());
    for (AcDbObjectId id :
         {database.blockTableId(), database.layerTableId(), database.linetypeTableId(),
          database.regAppTableId(), database.textStyleTableId(), database.namedObjectsDictionaryId()})
        out.writeHardOwnershipId(id);
    out.writeInt32(static_cast<Adesk::Int32>(database.headerVariables().size()));
    for (const auto& [name, value] : database.headerVariables()) {
        out.writeString(name);
        writeGroup(&out, value);
    }
    std::vector<ObjectStub*> objects;
    for (ObjectStub* stub : database.stubs())
        if (stub->object) objects.push_back(stub);
    out.writeInt32(static_cast<Adesk::Int32>(objects.size()));
    const std::vector<AcRxClass*> moduleList = moduleClasses();
    const std::set<AcRxClass*> modules(moduleList.begin(), moduleList.end());
    for (ObjectStub* stub : objects) {
        AcDbObject* object = stub->object;
        const ProxyContent* proxy = proxyContent(object);
        std::wstring className = object->isA()->name();
        DwgMemoryFiler record(AcDb::kFileFiler, &database);
        if (proxy && !proxy->fromDxf) {
            // The record of a class not loaded goes back as it came.
            className = proxy->className;
            record.writeBytes(proxy->record.data(), proxy->record.size());
        } else {
            ScopedRead access(object);
            if (Acad::ErrorStatus es = object->dwgOut(&record); es != Acad::eOk)
                return fail(database, es, "cannot file object " + toUtf8(stub->handle.text()));
        }
        out.writeString(className);
        out.writeBool(AcDbEntity::cast(object) != nullptr);
        out.writeAcDbHandle(stub->handle);
        out.writeBool(stub->erased);
        out.writeUInt32(proxy && !proxy->fromDxf ? proxy->recordVersion : kDrawingVersion);
        writeSized(out, record.bytes());
        writeSized(out, proxyGraphicsFor(database, object, modules));
    }
    bytes = toBytes(out.bytes());
    return Acad::eOk;
}

Acad::ErrorStatus writeDrawingFile(AcDbDatabase& database, const std::wstring& fileName) {
    std::string bytes;
    if (Acad::ErrorStatus es = writeDrawing(database, bytes); es != Acad::eOk) return es;
    if (std::string reason; !writeFileBytes(fileName, bytes, &reason))
        return fail(database, Acad::eFileAccessErr, "cannot write " + toUtf8(fileName) + ": " + reason);
    return Acad::eOk;
}

namespace {

std::string handleText(AcDbObjectId id) {
    return toUtf8(id.handle().text());
}

// The end of sequence, or a part of the owner's kind (an attribute of a block reference, a vertex of
// anything else), that `owner` owns.
bool isSequencePart(AcDbObjectId part, const AcDbEntity* owner) {
    AcDbObject* object = part.isValid() ? part.stub()->object : nullptr;
    if (!object || object->ownerId() != owner->objectId()) return false;
    const std::wstring_view name = object->isA()->dxfName();
    return name == L"SEQEND" || name == (AcDbBlockReference::cast(owner) ? L"ATTRIB" : L"VERTEX");
}

// Why the tables, records and entities read do not hang together, or empty when they do: each table is of
// its kind and owns records of its kind that name it as owner; each block's entities are entities it owns.
std::string ownershipFault(const AcDbObjectId (&tables)[6]) {
    AcRxClass* const kinds[] = {AcDbBlockTable::desc(),     AcDbLayerTable::desc(),
                                AcDbLinetypeTable::desc(),  AcDbRegAppTable::desc(),
                                AcDbTextStyleTable::desc(), AcDbDictionary::desc()};
    for (int i = 0; i < 6; ++i) {
        AcDbObject* object =
            tables[i].isValid() && !tables[i].isErased() ? tables[i].stub()->object : nullptr;
        if (!object || !object->isKindOf(kinds[i]))
            return "object " + handleText(tables[i]) + " is not the " + toUtf8(kinds[i]->name()) +
                   " it stands for";
    }
    auto* blocks = static_cast<AcDbSymbolTable*>(tables[0].stub()->object);
    std::vector<AcDbObjectId> every(tables, tables + 5);
    for (const auto& [name, id] : keptTables(*blocks->database()))
        every.push_back(id);
    for (AcDbObjectId tableId : every) {
        auto* table = static_cast<AcDbSymbolTable*>(tableId.stub()->object);
        std::set<AcDbObjectId> records;
        for (AcDbObjectId id : table->recordIds()) {
            AcDbObject* record = id.isValid() ? id.stub()->object : nullptr;
            if (!record || !record->isKindOf(table->recordClass()) || record->ownerId() != tableId)
                return "table " + handleText(tableId) + " holds " + handleText(id) +
                       ", which is not its record";
            if (!records.insert(id).second) // its DXF would hold the record twice
                return "table " + handleText(tableId) + " lists " + handleText(id) + " twice";
        }
    }
    std::set<AcDbObjectId> listed;
    std::set<Adesk::UInt64> markers;
    for (AcDbObjectId blockId : blocks->recordIds()) {
        auto* block = static_cast<AcDbBlockTableRecord*>(blockId.stub()->object);
        for (AcDbHandle marker : {block->beginHandle(), block->endHandle()}) {
            // A DXF file names the markers as it names objects: by handles of their own.
            AcDbObjectId taken;
            if (marker.isNull() || marker.value() >= AcDbDatabase::kHandleLimit)
                return "block " + handleText(blockId) + " has a marker handle that cannot be followed";
            if (!markers.insert(marker.value()).second ||
                (blocks->database()->getAcDbObjectId(taken, false, marker) == Acad::eOk &&
                 taken.stub()->object))
                return "block " + handleText(blockId) + " has a marker handle " + toUtf8(marker.text()) +
                       " that another object has";
        }
        for (AcDbObjectId id : block->entityIds()) {
            AcDbObject* entity = id.isValid() ? id.stub()->object : nullptr;
            if (!AcDbEntity::cast(entity) || entity->ownerId() != blockId)
                return "block " + handleText(blockId) + " holds " + handleText(id) +
                       ", which is not its entity";
            if (!listed.insert(id).second)
                return "block " + handleText(blockId) + " lists " + handleText(id) + " twice";
            for (AcDbObjectId partId : AcDbEntity::cast(entity)->sequenceIds())
                if (!isSequencePart(partId, AcDbEntity::cast(entity)))
                    return "entity " + handleText(id) + " holds " + handleText(partId) +
                           ", which is not its part";
            if (std::optional<SequenceFault> fault = AcDbEntity::cast(entity)->sequenceFault())
                return "entity " + handleText(id) + ": " + fault->what;
        }
    }
    // An entity its block does not list would be lost by the next save.
    for (ObjectStub* stub : blocks->database()->stubs()) {
        auto* entity = AcDbEntity::cast(stub->object);
        const AcDbObjectId owner = entity ? entity->ownerId() : AcDbObjectId();
        if (owner.isValid() && AcDbBlockTableRecord::cast(owner.stub()->object) &&
            !listed.contains(entity->objectId()))
            return "block " + handleText(owner) + " owns " + toUtf8(stub->handle.text()) +
                   " but does not list it";
    }
    return {};
}

// The groups kept from a DXF file by a proxy or a table record; null for other objects.
const std::vector<Group>* keptGroups(const AcDbObject* object) {
    if (const ProxyContent* proxy = proxyContent(object); proxy && proxy->fromDxf) return &proxy->groups;
    if (auto* record = AcDbSymbolTableRecord::cast(object)) return &record->keptGroups();
    return nullptr;
}

// A DXF reading makes room for every handle an object's groups refer to (a handle written as text, as a
// second group 5, names no object and takes none). The groups kept from a DXF file are read so only when
// it is saved as DXF again: the seed makes room for them now, so that the drawing saves the same before
// and after that reading.
void raiseSeedOverKeptReferences(AcDbDatabase& database) {
    for (ObjectStub* stub : database.stubs())
        if (const std::vector<Group>* groups = keptGroups(stub->object))
            for (const Group& g : *groups)
                if (const AcDbHandle* h = std::get_if<AcDbHandle>(&g.value);
                    h && resbufValueType(g.code) == RTENAME)
                    database.setHandseed(AcDbHandle(h->value() + 1));
}

Acad::ErrorStatus readBinary(AcDbDatabase& database, const std::string& content) {
    AcDbDatabase scratch(false);
    DwgMemoryFiler in(AcDb::kFileFiler, &scratch, std::vector<std::uint8_t>(content.begin(), content.end()));
    char magic[kMagicSize];
    in.readBytes(magic, kMagicSize);
    Adesk::UInt32 version = 0;
    in.readUInt32(&version);
    if (version < 1 || version > kDrawingVersion)
        return fail(database, Acad::eInvalidDwgVersion,
                    "unknown binary drawing version " + std::to_string(version));
    AcDbHandle seed;
    in.readAcDbHandle(&seed);
    AcDbObjectId ids[6];
    for (AcDbObjectId& id : ids)
        in.readHardOwnershipId(&id);
    Adesk::Int32 count = 0;
    in.readInt32(&count);
    for (Adesk::Int32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
        std::wstring name;
        Group value;
        in.readString(name);
        readGroup(&in, value);
        if (in.filerStatus() != Acad::eOk) break;
        if (!isHeaderVariable(name, value))
            return fail(database, Acad::eFilerError,
                        "header variable " + std::to_string(i) + " (" + toUtf8(name) +
                            ") is not one a drawing has");
        scratch.setHeaderVariable(name, value);
    }
    in.readInt32(&count);
    for (Adesk::Int32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
        std::wstring className;
        AcDbHandle handle;
        bool entity = false, erased = false;
        std::vector<std::uint8_t> bytes, graphics;
        in.readString(className);
        if (version >= 2) in.readBool(&entity);
        in.readAcDbHandle(&handle);
        in.readBool(&erased);
        Adesk::UInt32 recordVersion = version;
        if (version >= 5) in.readUInt32(&recordVersion);
        if (recordVersion < 1 || recordVersion > version)
            return fail(database, Acad::eFilerError,
                        "object " + std::to_string(i) + " names record version " +
                            std::to_string(recordVersion));
        if (!in.fault().empty())
            return fail(database, Acad::eFilerError,
                        "binary drawing damaged at object " + std::to_string(i) + ": " + in.fault());
        if (!readSized(in, bytes) || (version >= 3 && !readSized(in, graphics)))
            return fail(database, Acad::eFilerError,
                        "binary drawing truncated at object " + std::to_string(i));
        AcDbObject* object = createObject(className);
        const bool proxy = !object && version >= 2;
        // Only a proxy keeps the image: an object of a loaded class draws itself.
        if (proxy)
            object = makeProxy(
                entity, {className, L"", L"", 0, false, {}, bytes, recordVersion, std::move(graphics)});
        if (!object) return fail(database, Acad::eWrongObjectType, "unknown class " + toUtf8(className));
        AcDbObjectId id;
        if (scratch.getAcDbObjectId(id, true, handle) != Acad::eOk || id.stub()->object) {
            delete object;
            return fail(database, Acad::eHandleExists,
                        "bad or repeated handle in object " + std::to_string(i));
        }
        id.stub()->object = object;
        id.stub()->erased = erased;
        object->attachStub(id.stub(), false);
        // A proxy reads the owner and reactors that begin every record, and an entity's fields after them;
        // the rest is kept as it came.
        DwgMemoryFiler record(AcDb::kFileFiler, &scratch, std::move(bytes));
        record.setDrawingVersion(recordVersion);
        auto* proxyEntity = proxy ? AcDbEntity::cast(object) : nullptr;
        const Acad::ErrorStatus es = proxyEntity ? proxyEntity->AcDbEntity::dwgInFields(&record)
                                     : proxy     ? object->AcDbObject::dwgInFields(&record)
                                                 : object->dwgIn(&record);
        if (es != Acad::eOk || record.filerStatus() != Acad::eOk)
            return fail(
                database, Acad::eFilerError,
                "object " + toUtf8(handle.text()) + " of class " + toUtf8(className) + " cannot be read" +
                    (record.fault().empty() ? std::string() : ": " + record.fault() + " of its record"));
    }
    if (!in.fault().empty())
        return fail(database, Acad::eFilerError, "binary drawing damaged: " + in.fault());
    if (in.filerStatus() != Acad::eOk) return fail(database, Acad::eFilerError, "binary drawing truncated");
    for (AcDbObjectId id : ids)
        if (!id.isValid())
            return fail(database, Acad::eMissingSymbolTable, "binary drawing without its tables");
    if (const std::string fault = ownershipFault(ids); !fault.empty())
        return fail(database, Acad::eFilerError, "binary drawing damaged: " + fault);
    if (const std::wstring cyclic = blockInsertingItself(ids[0]); !cyclic.empty())
        return fail(database, Acad::eFilerError, "block " + toUtf8(cyclic) + " inserts itself");
    scratch.closeOpenObjects();
    scratch.setTableIds(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]);
    referArrowBlocks(scratch); // as a DXF reading does, so that a DXF saved from it reads back the same
    scratch.setHandseed(seed);
    raiseSeedOverKeptReferences(scratch);
    // A layer left naming an erased linetype is drawn Continuous, and saved so.
    const std::wstring repairs = repairLayerLinetypes(scratch, [](AcDbLayerTableRecord& layer) {
        const AcDbObjectId named = layer.linetypeObjectId();
        auto* record = named.isValid() ? AcDbSymbolTableRecord::cast(named.stub()->object) : nullptr;
        return record           ? std::wstring(record->name())
               : named.isNull() ? std::wstring()
                                : named.handle().text();
    });
    const std::wstring made = addLayersEntitiesName(scratch);
    try {
        restoreProxies(scratch);
    } catch (const std::exception& e) {
        return fail(database, Acad::eFilerError, e.what());
    }
    database.takeContentsOf(scratch);
    for (const std::wstring& note : {repairs, made})
        if (!note.empty()) acutPrintf(L"\n%ls", note.c_str());
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus readDrawing(AcDbDatabase& database, const std::wstring& fileName) {
    std::string reason;
    std::optional<std::string> content = readFileBytes(fileName, &reason);
    if (!content)
        return fail(database, Acad::eFileNotFound, "cannot read " + toUtf8(fileName) + ": " + reason);
    removeStaleTemporaries(fileName);
    return readDrawingContent(database, *content);
}

Acad::ErrorStatus readDrawingContent(AcDbDatabase& database, const std::string& content) {
    if (isBinaryDrawing(content)) return readBinary(database, content);
    return readDxf(database, content);
}

} // namespace host
