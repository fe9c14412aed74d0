#pragma once
// Symbol tables and their records: blocks, layers, linetypes, registered applications, text styles.
// Names are unique in a table without regard to case.
#include <memory>
#include <string>
#include <vector>

#include "host/db/cm_color.h"
#include "host/db/db_object.h"
#include "host/db/symbol_name_index.h"
#include "host/ge/ge.h"

class AcDbEntity;
class AcDbSymbolTableRecord;
class AcDbBlockTableRecord;

namespace host {
// Walks a snapshot of ids forwards or backwards, skipping erased ones when asked.
class IdCursor {
public:
    IdCursor(std::vector<AcDbObjectId> ids, bool skipErased)
        : m_ids(std::move(ids)), m_skipErased(skipErased) {}
    void start(bool atBeginning = true, bool skipErased = true);
    bool done() const { return m_index < 0 || m_index >= static_cast<int>(m_ids.size()); }
    void step(bool forward = true, bool skipErased = true);
    Acad::ErrorStatus seek(AcDbObjectId id);

protected:
    // The id under the cursor; eIteratorDone past either end.
    Acad::ErrorStatus current(AcDbObjectId& id) const;

private:
    void skip(bool forward);
    std::vector<AcDbObjectId> m_ids;
    int m_index = 0;
    bool m_skipErased;
};
} // namespace host

class AcDbSymbolTableIterator : public host::IdCursor {
public:
    using IdCursor::IdCursor;
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const { return current(id); }
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                bool openErased = false) const;
};

class AcDbSymbolTable : public AcDbObject {
    HOST_DECLARE_MEMBERS(AcDbSymbolTable)
public:
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
    // The first record in the table's order with that name (without regard to case) that is not erased,
    // or with erasedToo the first one; null when none. Works while the table is open for write.
    AcDbObjectId recordNamed(std::wstring_view name, bool erasedToo = false) const;
    template <typename R>
    Acad::ErrorStatus getAt(const ACHAR* name, R*& record, AcDb::OpenMode mode,
                            bool openErased = false) const {
        record = nullptr;
        AcDbObjectId id;
        Acad::ErrorStatus es = getAt(name, id, openErased);
        return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErased) : es;
    }
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    // Adds a record outside the database (the table is open for write): the database owns it afterwards
    // and it stays open for write. A name already in the table answers eDuplicateRecordName.
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    const std::vector<AcDbObjectId>& recordIds() const { return m_records; }
    // The table's name in drawing files ("LAYER", "BLOCK_RECORD", ...).
    virtual const ACHAR* tableName() const = 0;
    // The record class this table holds.
    virtual AcRxClass* recordClass() const = 0;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    // Host internal: a record read from a drawing file joins its table.
    void adoptRecord(AcDbObjectId id);

private:
    std::vector<AcDbObjectId> m_records;
    mutable host::SymbolNameIndex m_byName;
};

class AcDbSymbolTableRecord : public AcDbObject {
    HOST_DECLARE_MEMBERS(AcDbSymbolTableRecord)
public:
    Acad::ErrorStatus getName(const ACHAR*& name) const;
    const ACHAR* name() const { return m_name.c_str(); }
    Acad::ErrorStatus setName(const ACHAR* name);
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    // Host internal: a table's name index holds this record, so a new name must reach it.
    void noteIndexed() { m_indexed = true; }
    // The groups after the name and flags that the class does not model, kept as the file gave them
    // (references included) and written back after the class's own (before those that only count where
    // they stand).
    const std::vector<host::Group>& keptGroups() const { return m_kept; }
    void setKeptGroups(std::vector<host::Group> groups) { m_kept = std::move(groups); }

protected:
    // The class's own DXF subclass: its marker, its flags (group 70, after the name; kept as they came unless
    // the class models them) and its other groups, of which it tells those it takes.
    virtual const ACHAR* subclassMarker() const = 0;
    virtual Adesk::Int16 dxfFlags() const { return m_flags; }
    virtual void setDxfFlags(Adesk::Int16 flags) { m_flags = flags; }
    virtual bool readDxfGroup(const resbuf&) { return false; }
    virtual void writeDxfGroups(AcDbDxfFiler*) const {}
    // The class's groups that are read by where they stand (a linetype's dashes take the element groups
    // after them), written after the kept groups so that no kept group reads back as one of them.
    virtual void writeDxfGroupsAfterKept(AcDbDxfFiler*) const {}

private:
    void rename(std::wstring name);

    std::wstring m_name;
    Adesk::Int16 m_flags = 0;
    std::vector<host::Group> m_kept;
    bool m_indexed = false;
};

#define HOST_SYMBOL_TABLE(TABLE, RECORD, NAME)                                                               \
    class RECORD;                                                                                            \
    class TABLE : public AcDbSymbolTable {                                                                   \
        HOST_DECLARE_MEMBERS(TABLE)                                                                          \
    public:                                                                                                  \
        const ACHAR* tableName() const override { return NAME; }                                             \
        AcRxClass* recordClass() const override;                                                             \
    };

// In a source: registers a table class and its record class (the record's DXF name is the table's name), and
// tells the table which records it holds.
#define HOST_DEFINE_SYMBOL_TABLE(TABLE, RECORD, NAME)                                                        \
    HOST_DEFINE_MEMBERS(TABLE, AcDbSymbolTable, L"")                                                         \
    HOST_DEFINE_MEMBERS(RECORD, AcDbSymbolTableRecord, NAME)                                                 \
    AcRxClass* TABLE::recordClass() const {                                                                  \
        return RECORD::desc();                                                                               \
    }

HOST_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, L"BLOCK_RECORD")
HOST_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, L"LAYER")
HOST_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, L"LTYPE")
HOST_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, L"APPID")
HOST_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, L"STYLE")

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbLayerTableRecord)
public:
    AcCmColor color() const { return m_color; }
    void setColor(const AcCmColor& color) { m_color = color; }
    AcDbObjectId linetypeObjectId() const { return m_linetype; }
    void setLinetypeObjectId(AcDbObjectId id) {
        m_linetype = id;
        m_linetypeName.clear();
    }
    // The linetype a DXF file named that was not in the drawing when the layer was read (the table may
    // come later in the file); empty once a linetype is set.
    const std::wstring& unresolvedLinetype() const { return m_linetypeName; }
    bool isOff() const { return m_off; }
    void setIsOff(bool off) { m_off = off; }
    bool isFrozen() const { return m_frozen; }
    Acad::ErrorStatus setIsFrozen(bool frozen) {
        m_frozen = frozen;
        return Acad::eOk;
    }
    bool isLocked() const { return m_locked; }
    void setIsLocked(bool locked) { m_locked = locked; }
    bool isHidden() const { return m_hidden; }
    Acad::ErrorStatus setIsHidden(bool hidden) {
        m_hidden = hidden;
        return Acad::eOk;
    }
    // Frozen in new viewports.
    bool VPDFLT() const { return m_vpdflt; }
    void setVPDFLT(bool frozen) { m_vpdflt = frozen; }
    AcDb::LineWeight lineWeight() const { return m_lineWeight; }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight) {
        m_lineWeight = weight;
        return Acad::eOk;
    }
    bool isPlottable() const { return m_plottable; }
    Acad::ErrorStatus setIsPlottable(bool plottable) {
        m_plottable = plottable;
        return Acad::eOk;
    }
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    const ACHAR* subclassMarker() const override { return L"AcDbLayerTableRecord"; }
    bool readDxfGroup(const resbuf& rb) override;
    void writeDxfGroups(AcDbDxfFiler* filer) const override;
    Adesk::Int16 dxfFlags() const override;
    void setDxfFlags(Adesk::Int16 flags) override;

private:
    AcCmColor m_color{7};
    AcDbObjectId m_linetype;
    std::wstring m_linetypeName;
    bool m_off = false, m_frozen = false, m_locked = false, m_hidden = false, m_vpdflt = false;
    bool m_plottable = true;
    AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLwDefault;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbLinetypeTableRecord)
public:
    const ACHAR* comments() const { return m_comments.c_str(); }
    Acad::ErrorStatus setComments(const ACHAR* text);
    double patternLength() const { return m_patternLength; }
    void setPatternLength(double length) { m_patternLength = length; }
    int numDashes() const { return static_cast<int>(m_dashes.size()); }
    void setNumDashes(int count) { m_dashes.resize(count < 0 ? 0 : count); }
    double dashLengthAt(int index) const { return m_dashes.at(index).length; }
    void setDashLengthAt(int index, double length) { m_dashes.at(index).length = length; }
    // The shape or text a dash of a complex linetype draws: its groups 74 (element flags), 75, 340, 46, 50,
    // 44, 45 and 9 as the file gave them; empty for a plain dash.
    const std::vector<host::Group>& dashElementAt(int index) const { return m_dashes.at(index).element; }
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    const ACHAR* subclassMarker() const override { return L"AcDbLinetypeTableRecord"; }
    bool readDxfGroup(const resbuf& rb) override;
    void writeDxfGroups(AcDbDxfFiler* filer) const override;
    void writeDxfGroupsAfterKept(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_comments;
    double m_patternLength = 0;
    struct Dash {
        double length = 0;
        std::vector<host::Group> element;
    };
    std::vector<Dash> m_dashes;
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbRegAppTableRecord)
protected:
    const ACHAR* subclassMarker() const override { return L"AcDbRegAppTableRecord"; }
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbTextStyleTableRecord)
public:
    double textSize() const { return m_textSize; }
    void setTextSize(double size) { m_textSize = size; }
    double xScale() const { return m_xScale; }
    void setXScale(double scale) { m_xScale = scale; }
    const ACHAR* fileName() const { return m_fileName.c_str(); }
    void setFileName(const ACHAR* name) { m_fileName = name ? name : L""; }
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    const ACHAR* subclassMarker() const override { return L"AcDbTextStyleTableRecord"; }
    bool readDxfGroup(const resbuf& rb) override;
    void writeDxfGroups(AcDbDxfFiler* filer) const override;

private:
    double m_textSize = 0, m_xScale = 1;
    std::wstring m_fileName = L"txt";
};

class AcDbBlockTableRecordIterator : public host::IdCursor {
public:
    using IdCursor::IdCursor;
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const { return current(id); }
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased = false) const;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
    HOST_DECLARE_MEMBERS(AcDbBlockTableRecord)
public:
    // Adds an entity outside the database to this block (open for write); the entity stays open for write.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    AcGePoint3d origin() const { return m_origin; }
    void setOrigin(const AcGePoint3d& origin) { m_origin = origin; }
    // The drawing file an external reference stands for (empty for a block of this drawing), and the
    // block's description.
    const ACHAR* pathName() const { return m_pathName.c_str(); }
    void setPathName(const ACHAR* path) { m_pathName = path ? path : L""; }
    const ACHAR* comments() const { return m_comments.c_str(); }
    void setComments(const ACHAR* text) { m_comments = text ? text : L""; }
    bool isLayout() const;
    bool isAnonymous() const { return name()[0] == L'*' && !isLayout(); }
    // Whether the block holds attribute definitions (erased ones left out).
    bool hasAttributeDefinitions() const;
    const std::vector<AcDbObjectId>& entityIds() const { return m_entities; }

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    void subObjectAddedToDatabase() override;
    // Host internals: the handles of the block's BLOCK and ENDBLK markers in drawing files, the flags of
    // its BLOCK marker (anonymous, attributes, external reference, overlay, dependent, resolved) as read,
    // and an entity read from a drawing file joining the block.
    AcDbHandle beginHandle() const { return m_beginHandle; }
    AcDbHandle endHandle() const { return m_endHandle; }
    void setMarkerHandles(AcDbHandle begin, AcDbHandle end);
    Adesk::Int16 markerFlags() const { return m_markerFlags; }
    void setMarkerFlags(Adesk::Int16 flags) { m_markerFlags = flags; }
    void adoptEntity(AcDbObjectId id) { m_entities.push_back(id); }

protected:
    const ACHAR* subclassMarker() const override { return L"AcDbBlockTableRecord"; }

private:
    std::vector<AcDbObjectId> m_entities;
    AcGePoint3d m_origin;
    std::wstring m_pathName, m_comments;
    AcDbHandle m_beginHandle, m_endHandle;
    Adesk::Int16 m_markerFlags = 0;
};

namespace host {
inline const ACHAR* kModelSpace = L"*Model_Space";
inline const ACHAR* kPaperSpace = L"*Paper_Space";
} // namespace host
