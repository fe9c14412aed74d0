#include "host/db/symbol_tables.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/db/enum_values.h"
#include "host/entities/attributes.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group_binary.h"

HOST_DEFINE_ABSTRACT(AcDbSymbolTable, AcDbObject)
HOST_DEFINE_ABSTRACT(AcDbSymbolTableRecord, AcDbObject)
HOST_DEFINE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, L"BLOCK_RECORD")
HOST_DEFINE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, L"LAYER")
HOST_DEFINE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, L"LTYPE")
HOST_DEFINE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, L"APPID")
HOST_DEFINE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, L"STYLE")

namespace {

std::wstring recordName(AcDbObjectId id) {
    AcDbSymbolTableRecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead, true) != Acad::eOk) return {};
    std::wstring name = record->name();
    record->close();
    return name;
}

} // namespace

// Iterators over a snapshot of ids.

namespace host {

void IdCursor::start(bool atBeginning, bool skipErased) {
    m_skipErased = skipErased;
    m_index = atBeginning ? 0 : static_cast<int>(m_ids.size()) - 1;
    skip(atBeginning);
}

void IdCursor::step(bool forward, bool skipErased) {
    m_skipErased = skipErased;
    m_index += forward ? 1 : -1;
    skip(forward);
}

void IdCursor::skip(bool forward) {
    while (m_skipErased && !done() && m_ids[m_index].isErased())
        m_index += forward ? 1 : -1;
}

Acad::ErrorStatus IdCursor::current(AcDbObjectId& id) const {
    if (done()) return Acad::eIteratorDone;
    id = m_ids[m_index];
    return Acad::eOk;
}

Acad::ErrorStatus IdCursor::seek(AcDbObjectId id) {
    auto it = std::find(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end()) return Acad::eKeyNotFound;
    m_index = static_cast<int>(it - m_ids.begin());
    return Acad::eOk;
}

} // namespace host

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErased) const {
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = current(id);
    return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErased) : es;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
    entity = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = current(id);
    return es == Acad::eOk ? acdbOpenObject(entity, id, mode, openErased) : es;
}

// Tables.

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const {
    assertReadEnabled();
    id.setNull();
    if (!name) return Acad::eInvalidInput;
    id = recordNamed(name, getErasedRecord);
    return id.isNull() ? Acad::eKeyNotFound : Acad::eOk;
}

AcDbObjectId AcDbSymbolTable::recordNamed(std::wstring_view name, bool erasedToo) const {
    return m_byName.find(m_records, name, erasedToo);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
    return !id.isErased() && std::find(m_records.begin(), m_records.end(), id) != m_records.end();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    id.setNull();
    if (!record || !record->isKindOf(recordClass())) return Acad::eWrongObjectType;
    if (!database()) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!*record->name()) return Acad::eInvalidSymbolTableName;
    if (has(record->name())) return Acad::eDuplicateRecordName;
    assertWriteEnabled();
    if (Acad::ErrorStatus es = database()->addAcDbObject(id, record); es != Acad::eOk) return es;
    record->setOwnerId(objectId());
    m_records.push_back(id);
    record->subObjectAddedToDatabase();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
    AcDbObjectId id;
    return add(id, record);
}

void AcDbSymbolTable::adoptRecord(AcDbObjectId id) {
    m_records.push_back(id);
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
    assertReadEnabled();
    iterator = new AcDbSymbolTableIterator(m_records, skipDeleted);
    iterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dwgInFields(AcDbDwgFiler* filer) {
    AcDbObject::dwgInFields(filer);
    m_byName.reset();
    return filer->readIdList(m_records);
}

Acad::ErrorStatus AcDbSymbolTable::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbObject::dwgOutFields(filer);
    return filer->writeIdList(m_records);
}

Acad::ErrorStatus AcDbSymbolTable::dxfInFields(AcDbDxfFiler* filer) {
    // The records follow the table in the file and join it as they are read; the count is not kept.
    if (Acad::ErrorStatus es = AcDbObject::dxfInFields(filer); es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbSymbolTable");
    return host::readSubclassGroups(filer, [](const resbuf&) {});
}

Acad::ErrorStatus AcDbSymbolTable::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(100, L"AcDbSymbolTable");
    int live = 0;
    for (AcDbObjectId id : m_records)
        live += id.isErased() ? 0 : 1;
    return filer->writeInt16(70, static_cast<Adesk::Int16>(live));
}

// Records.

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const {
    assertReadEnabled();
    name = m_name.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
    if (!name || !*name) return Acad::eInvalidSymbolTableName;
    std::wstring candidate = name;
    if (candidate.find_first_of(L"<>/\\\":;?*|=`") != std::wstring::npos && candidate[0] != L'*')
        return Acad::eInvalidSymbolTableName;
    assertWriteEnabled();
    rename(std::move(candidate));
    return Acad::eOk;
}

void AcDbSymbolTableRecord::rename(std::wstring name) {
    if (m_indexed && !host::sameSymbolName(m_name, name)) host::symbolNamesChanged();
    m_name = std::move(name);
}

// Binary drawings before version 5 keep neither flags nor groups.
Acad::ErrorStatus AcDbSymbolTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbObject::dwgInFields(filer);
    std::wstring name;
    filer->readString(name);
    rename(std::move(name)); // undo and copies restore names this way
    if (filer->drawingVersion() < 5) return filer->filerStatus();
    filer->readInt16(&m_flags);
    return host::readObjectGroups(filer, m_kept);
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbObject::dwgOutFields(filer);
    filer->writeString(m_name);
    filer->writeInt16(m_flags);
    return host::writeGroups(filer, m_kept);
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbObject::dxfInFields(filer); es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"AcDbSymbolTableRecord")) return Acad::eBadDxfSequence;
    // The name and flags sit in the class's own subclass, after its marker; a later 70 is a group of the
    // class (a dimension style's fill colour). Groups of further subclasses, which newer writers may add,
    // are kept with the rest.
    Acad::ErrorStatus es = host::readSubclassGroups(filer, [](const resbuf&) {});
    resbuf marker;
    if (es != Acad::eOk || filer->readItem(&marker) != Acad::eOk) return es;
    m_kept.clear();
    bool flagsRead = false;
    resbuf rb;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (rb.restype == 2 && m_kept.empty()) {
            rename(rb.resval.rstring);
        } else if (rb.restype == 70 && !flagsRead) {
            setDxfFlags(rb.resval.rint);
            flagsRead = true;
        } else if (!readDxfGroup(rb)) {
            m_kept.push_back(filer->lastGroupRead());
        }
    }
    return es == Acad::eEndOfFile ? Acad::eOk : es;
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(100, L"AcDbSymbolTableRecord");
    filer->writeString(100, subclassMarker());
    filer->writeString(2, m_name);
    filer->writeInt16(70, dxfFlags());
    writeDxfGroups(filer);
    for (const host::Group& g : m_kept)
        filer->writeGroup(g);
    writeDxfGroupsAfterKept(filer);
    return filer->filerStatus();
}

// Layers: colour (negative when off), linetype, lineweight, plotting.

Adesk::Int16 AcDbLayerTableRecord::dxfFlags() const {
    return static_cast<Adesk::Int16>((m_frozen ? 1 : 0) | (m_vpdflt ? 2 : 0) | (m_locked ? 4 : 0));
}

void AcDbLayerTableRecord::setDxfFlags(Adesk::Int16 flags) {
    m_frozen = flags & 1;
    m_vpdflt = flags & 2;
    m_locked = flags & 4;
}

bool AcDbLayerTableRecord::readDxfGroup(const resbuf& rb) {
    switch (rb.restype) {
    case 62:
        m_off = rb.resval.rint < 0;
        m_color.setColorIndex(
            static_cast<Adesk::UInt16>(rb.resval.rint < 0 ? -rb.resval.rint : rb.resval.rint));
        break;
    case 6:
        if (AcDbDatabase* db = database()) setLinetypeObjectId(db->linetypeId(rb.resval.rstring));
        if (m_linetype.isNull()) m_linetypeName = rb.resval.rstring;
        break;
    case 290:
        m_plottable = rb.resval.rint != 0;
        break;
    case 370:
        m_lineWeight = host::lineWeightOrDefault(rb.resval.rint);
        break;
    default:
        return false;
    }
    return true;
}

void AcDbLayerTableRecord::writeDxfGroups(AcDbDxfFiler* filer) const {
    auto colour = static_cast<Adesk::Int16>(m_color.colorIndex());
    filer->writeInt16(62, m_off ? static_cast<Adesk::Int16>(-colour) : colour);
    std::wstring linetype = recordName(m_linetype);
    filer->writeString(6, linetype.empty() ? L"Continuous" : linetype);
    if (!m_plottable) filer->writeInt16(290, 0);
    filer->writeInt16(370, static_cast<Adesk::Int16>(m_lineWeight));
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbSymbolTableRecord::dwgInFields(filer);
    Adesk::UInt16 colour = 7;
    Adesk::UInt8 bits = 0;
    Adesk::Int16 weight = 0;
    filer->readUInt16(&colour);
    filer->readHardPointerId(&m_linetype);
    filer->readUInt8(&bits);
    filer->readInt16(&weight);
    m_color.setColorIndex(colour);
    m_off = bits & 1;
    m_frozen = bits & 2;
    m_locked = bits & 4;
    m_hidden = bits & 8;
    m_vpdflt = bits & 16;
    m_plottable = !(bits & 32);
    m_lineWeight = host::lineWeightOrDefault(weight);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbSymbolTableRecord::dwgOutFields(filer);
    filer->writeUInt16(m_color.colorIndex());
    filer->writeHardPointerId(m_linetype);
    filer->writeUInt8(static_cast<Adesk::UInt8>((m_off ? 1 : 0) | (m_frozen ? 2 : 0) | (m_locked ? 4 : 0) |
                                                (m_hidden ? 8 : 0) | (m_vpdflt ? 16 : 0) |
                                                (m_plottable ? 0 : 32)));
    return filer->writeInt16(static_cast<Adesk::Int16>(m_lineWeight));
}

// Linetypes: description and dash pattern.

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text) {
    assertWriteEnabled();
    m_comments = text ? text : L"";
    return Acad::eOk;
}

namespace {
// The groups that describe a dash's shape or text element, after its length (49).
bool isDashElementGroup(int code) {
    for (int element : {74, 75, 340, 46, 50, 44, 45, 9})
        if (code == element) return true;
    return false;
}
} // namespace

// The alignment (72) is always "A" and the count of dashes (73) is not trusted: the dashes are those given.
bool AcDbLinetypeTableRecord::readDxfGroup(const resbuf& rb) {
    switch (rb.restype) {
    case 3:
        m_comments = rb.resval.rstring;
        break;
    case 40:
        m_patternLength = rb.resval.rreal;
        break;
    case 49:
        m_dashes.push_back({rb.resval.rreal, {}});
        break;
    case 72:
    case 73:
        break;
    default:
        if (m_dashes.empty() || !isDashElementGroup(rb.restype)) return false;
        m_dashes.back().element.push_back(host::fromResbuf(rb));
    }
    return true;
}

void AcDbLinetypeTableRecord::writeDxfGroups(AcDbDxfFiler* filer) const {
    filer->writeString(3, m_comments);
    filer->writeInt16(72, 65);
    filer->writeInt16(73, static_cast<Adesk::Int16>(m_dashes.size()));
    filer->writeDouble(40, m_patternLength);
}

void AcDbLinetypeTableRecord::writeDxfGroupsAfterKept(AcDbDxfFiler* filer) const {
    for (const Dash& dash : m_dashes) {
        filer->writeDouble(49, dash.length);
        if (dash.element.empty()) filer->writeInt16(74, 0);
        for (const host::Group& g : dash.element)
            filer->writeGroup(g);
    }
}

// Binary drawings before version 5 keep no dash elements.
Acad::ErrorStatus AcDbLinetypeTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbSymbolTableRecord::dwgInFields(filer);
    filer->readString(m_comments);
    filer->readDouble(&m_patternLength);
    Adesk::Int32 n = 0;
    filer->readInt32(&n);
    m_dashes.clear();
    for (Adesk::Int32 i = 0; i < n && filer->filerStatus() == Acad::eOk; ++i) {
        Dash dash;
        filer->readDouble(&dash.length);
        if (filer->drawingVersion() >= 5) host::readObjectGroups(filer, dash.element);
        m_dashes.push_back(std::move(dash));
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbSymbolTableRecord::dwgOutFields(filer);
    filer->writeString(m_comments);
    filer->writeDouble(m_patternLength);
    filer->writeInt32(static_cast<Adesk::Int32>(m_dashes.size()));
    for (const Dash& dash : m_dashes) {
        filer->writeDouble(dash.length);
        host::writeGroups(filer, dash.element);
    }
    return filer->filerStatus();
}

// Text styles: height, width factor and font file.

// The obliquing angle, generation flags, last height and big font file are written as a new style has them.
bool AcDbTextStyleTableRecord::readDxfGroup(const resbuf& rb) {
    switch (rb.restype) {
    case 40:
        m_textSize = rb.resval.rreal;
        break;
    case 41:
        m_xScale = rb.resval.rreal;
        break;
    case 3:
        m_fileName = rb.resval.rstring;
        break;
    case 50:
    case 71:
    case 42:
    case 4:
        break;
    default:
        return false;
    }
    return true;
}

void AcDbTextStyleTableRecord::writeDxfGroups(AcDbDxfFiler* filer) const {
    filer->writeDouble(40, m_textSize);
    filer->writeDouble(41, m_xScale);
    filer->writeDouble(50, 0.0);
    filer->writeInt16(71, 0);
    filer->writeDouble(42, m_textSize > 0 ? m_textSize : 2.5);
    filer->writeString(3, m_fileName);
    filer->writeString(4, L"");
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbSymbolTableRecord::dwgInFields(filer);
    filer->readDouble(&m_textSize);
    filer->readDouble(&m_xScale);
    return filer->readString(m_fileName);
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbSymbolTableRecord::dwgOutFields(filer);
    filer->writeDouble(m_textSize);
    filer->writeDouble(m_xScale);
    return filer->writeString(m_fileName);
}

// Blocks: the entities they hold, their base point, and the handles of their markers in drawing files.

bool AcDbBlockTableRecord::isLayout() const {
    // Names of blocks ignore case: files write "*PAPER_SPACE1" as well as "*Paper_Space1".
    const std::wstring_view paper = host::kPaperSpace;
    const std::wstring_view own = name();
    return host::sameSymbolName(own, host::kModelSpace) ||
           (own.size() >= paper.size() && host::sameSymbolName(own.substr(0, paper.size()), paper));
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
    return std::ranges::any_of(m_entities, [](AcDbObjectId id) {
        return host::liveObjectOf<AcDbAttributeDefinition>(id) != nullptr;
    });
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    id.setNull();
    if (!entity) return Acad::eNullEntityPointer;
    if (!database()) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (entity->database()) return Acad::eAlreadyInDb;
    assertWriteEnabled();
    if (Acad::ErrorStatus es = database()->addAcDbObject(id, entity); es != Acad::eOk) return es;
    entity->setOwnerId(objectId());
    m_entities.push_back(id);
    entity->subObjectAddedToDatabase();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
    assertReadEnabled();
    iterator = new AcDbBlockTableRecordIterator(m_entities, skipDeleted);
    iterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

void AcDbBlockTableRecord::subObjectAddedToDatabase() {
    if (m_beginHandle.isNull()) m_beginHandle = database()->allocateHandle();
    if (m_endHandle.isNull()) m_endHandle = database()->allocateHandle();
}

void AcDbBlockTableRecord::setMarkerHandles(AcDbHandle begin, AcDbHandle end) {
    m_beginHandle = begin;
    m_endHandle = end;
}

// Binary drawings before version 6 keep neither the marker's flags, the path nor the description.
Acad::ErrorStatus AcDbBlockTableRecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbSymbolTableRecord::dwgInFields(filer);
    filer->readPoint3d(&m_origin);
    filer->readAcDbHandle(&m_beginHandle);
    filer->readAcDbHandle(&m_endHandle);
    if (filer->drawingVersion() >= 6) {
        filer->readInt16(&m_markerFlags);
        filer->readString(m_pathName);
        filer->readString(m_comments);
    }
    return filer->readIdList(m_entities);
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbSymbolTableRecord::dwgOutFields(filer);
    filer->writePoint3d(m_origin);
    filer->writeAcDbHandle(m_beginHandle);
    filer->writeAcDbHandle(m_endHandle);
    filer->writeInt16(m_markerFlags);
    filer->writeString(m_pathName);
    filer->writeString(m_comments);
    return filer->writeIdList(m_entities);
}
