#pragma once
// The drawing database: objects by handle, the symbol tables and the named-objects dictionary, header
// variables, current properties, undo groups, and the drawing files.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "host/db/acdb.h"
#include "host/db/cm_color.h"
#include "host/db/db_object_id.h"
#include "host/filing/group.h"
#include "host/rx/acad_status.h"
#include "host/rx/rx.h"

class AcDbObject;
class AcDbSymbolTable;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;
class AcDbRegAppTable;
class AcDbTextStyleTable;
class AcDbDictionary;

class AcDbDatabase : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcDbDatabase)
public:
    // With buildDefaultDrawing: the tables, model and paper space, layer "0", the linetypes "ByBlock",
    // "ByLayer" and "Continuous", the text style "Standard", the application "ACAD" and the named-objects
    // dictionary. Without: an empty database that a drawing file is read into.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // Adds an object outside any database; the database owns it from then on and it is open for write.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
    Acad::ErrorStatus addAcDbObject(AcDbObject* object);
    // The id of a handle; with createIfNotFound an entry is made for a handle not yet loaded, unless the
    // handle is at or above kHandleLimit (eInvalidInput).
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                      Adesk::UInt32 xRefId = 0);
    // The next handle to hand out; always above every handle in use.
    AcDbHandle handseed() const { return m_handseed; }
    // Handles from here up are refused, so the seed can never wrap round onto handles in use.
    static constexpr Adesk::UInt64 kHandleLimit = Adesk::UInt64(1) << 63;

    AcDbObjectId blockTableId() const { return m_blockTable; }
    AcDbObjectId layerTableId() const { return m_layerTable; }
    AcDbObjectId linetypeTableId() const { return m_linetypeTable; }
    AcDbObjectId regAppTableId() const { return m_regAppTable; }
    AcDbObjectId textStyleTableId() const { return m_textStyleTable; }
    AcDbObjectId namedObjectsDictionaryId() const { return m_namedObjects; }
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dictionary, AcDb::OpenMode mode);

    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    // Model space when TILEMODE is 1, else paper space.
    AcDbObjectId currentSpaceId() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;
    AcDbObjectId continuousLinetype() const;
    // The record id of a table entry by name (case-insensitive); null when absent.
    AcDbObjectId layerId(const std::wstring& name) const;
    AcDbObjectId linetypeId(const std::wstring& name) const;
    AcDbObjectId textStyleId(const std::wstring& name) const;
    AcDbObjectId blockId(const std::wstring& name) const;
    bool isRegisteredApplication(const std::wstring& name) const;

    // Current properties given to new entities.
    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(AcDbObjectId layer);
    AcDbObjectId celtype() const;
    Acad::ErrorStatus setCeltype(AcDbObjectId linetype);
    AcCmColor cecolor() const;
    Acad::ErrorStatus setCecolor(const AcCmColor& color);
    AcDb::LineWeight celweight() const;
    Acad::ErrorStatus setCelweight(AcDb::LineWeight weight);
    double celtscale() const;
    Acad::ErrorStatus setCeltscale(double scale);
    double thickness() const;
    Acad::ErrorStatus setThickness(double thickness);
    double ltscale() const;
    Acad::ErrorStatus setLtscale(double scale);
    bool tilemode() const;
    Acad::ErrorStatus setTilemode(bool mode);
    double elevation() const;
    Acad::ErrorStatus setElevation(double elevation);

    // Whether saved drawings keep what entities of modules' classes draw as their proxy graphics
    // (PROXYGRAPHICS, 1 unless the drawing says otherwise).
    Adesk::Int16 saveProxyGraphics() const;
    Acad::ErrorStatus setSaveProxyGraphics(Adesk::Int16 saveThem);

    // Header variables by name without "$" (what the HEADER section of a drawing file holds).
    bool getHeaderVariable(const std::wstring& name, host::Group& value) const;
    void setHeaderVariable(const std::wstring& name, const host::Group& value);
    const std::map<std::wstring, host::Group>& headerVariables() const { return m_header; }

    // Undo groups. The first write-open of an object inside a group records its filed image; undoing the
    // last closed group restores those images and erases the objects added in it.
    Acad::ErrorStatus beginUndoGroup();
    Acad::ErrorStatus endUndoGroup();
    Acad::ErrorStatus undoLastGroup();
    int undoGroupDepth() const { return m_undoDepth; }
    // Whether an undo group changed the drawing, or one was undone, since the drawing was opened or last
    // marked saved (what a CAD program's DBMOD tells before it asks to save).
    bool isModifiedSinceSaved() const { return m_changes != m_savedChanges; }
    void markSaved() { m_savedChanges = m_changes; }
    int undoGroupCount() const { return static_cast<int>(m_undoGroups.size()); }

    // Drawing files: the host's binary drawing. A file that cannot be read leaves the database as it was.
    Acad::ErrorStatus readDwgFile(const ACHAR* fileName, int shareMode = 0, bool allowCPConversion = false,
                                  const wchar_t* password = nullptr);
    Acad::ErrorStatus saveAs(const ACHAR* fileName);
    // Makes the model space of `source` a new block `blockName` of this database, based at the source's
    // INSBASE (layers, linetypes and blocks its entities use are added when missing, blocks with their
    // entities); eDuplicateRecordName when the block exists,
    // eMissingSymbolTableRec when the source has no model space. The source is left as it was.
    Acad::ErrorStatus insert(AcDbObjectId& blockId, const ACHAR* blockName, AcDbDatabase* source,
                             bool preserveSourceDatabase = true);
    // The message of the last failed read or write (which line, what was wrong).
    const std::string& lastFileError() const { return m_lastFileError; }

    // Host internals.
    void recordUndoImage(AcDbObject* object);
    // Every entry in handle order (erased ones included).
    std::vector<host::ObjectStub*> stubs() const;
    // The entry after `stub` in handle order (the first for null); null after the last, or when `stub` is
    // not one of this database's: a walk entry by entry without a list of them all at each step.
    host::ObjectStub* stubAfter(const host::ObjectStub* stub) const;
    void setTableIds(AcDbObjectId blocks, AcDbObjectId layers, AcDbObjectId linetypes, AcDbObjectId regApps,
                     AcDbObjectId textStyles, AcDbObjectId namedObjects);
    // Raises the seed to `seed` (a seed below the handles in use, or at the limit, changes nothing).
    void setHandseed(AcDbHandle seed);
    // A fresh handle with no object (for markers that drawing files name, such as a block's ENDBLK).
    AcDbHandle allocateHandle();
    void setLastFileError(std::string message) { m_lastFileError = std::move(message); }
    // A drawing file's object under its handle (a fresh one for a null handle), open for write while the file
    // is read; null id when the handle is already taken or refused.
    AcDbObjectId adoptObject(AcDbObject* object, AcDbHandle handle);
    // Closes every object left open (after a drawing file is read).
    void closeOpenObjects();
    // Moves every object of `other` into this database (after a successful read into a scratch database).
    void takeContentsOf(AcDbDatabase& other);

private:
    struct UndoEntry {
        host::ObjectStub* stub;
        std::vector<std::uint8_t> image;
        bool erased;
        bool created;
    };
    struct UndoGroup {
        std::vector<UndoEntry> entries;
        std::unordered_set<host::ObjectStub*> recorded; // objects of the group's entries
        std::map<std::wstring, host::Group> header;     // what the variables the group changed held before
        bool empty() const { return entries.empty() && header.empty(); }
    };

    host::ObjectStub* newStub(AcDbHandle handle);
    void buildDefaultDrawing();
    AcDbObjectId tableRecord(AcDbObjectId table, const std::wstring& name) const;
    double headerReal(const wchar_t* name, double fallback) const;
    Adesk::Int64 headerInteger(const wchar_t* name, Adesk::Int64 fallback) const;
    std::wstring headerText(const wchar_t* name) const;
    void clear();

    std::map<AcDbHandle, std::unique_ptr<host::ObjectStub>> m_stubs;
    AcDbHandle m_handseed{1};
    AcDbObjectId m_blockTable, m_layerTable, m_linetypeTable, m_regAppTable, m_textStyleTable, m_namedObjects;
    std::map<std::wstring, host::Group> m_header;
    int m_undoDepth = 0;
    UndoGroup m_openGroup;
    std::vector<UndoGroup> m_undoGroups;
    Adesk::UInt64 m_changes = 0, m_savedChanges = 0;
    std::string m_lastFileError;
};

// Services of the host application: which database commands work on.
class AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const { return m_working; }
    void setWorkingDatabase(AcDbDatabase* database) { m_working = database; }
    // The emulated product's key in the machine registry (host/host_versions.h).
    const ACHAR* getMachineRegistryProductRootKey() const;

private:
    AcDbDatabase* m_working = nullptr;
};
AcDbHostApplicationServices* acdbHostApplicationServices();

// Registers an application name for extended data in the working database; RTNORM when it is (or already
// was) registered, RTERROR without a working database or for an empty name.
int acdbRegApp(const ACHAR* appName);

namespace host {
// True while `stub` is an entry of a live database (entity names from outside are checked with it).
bool isLiveStub(const ObjectStub* stub);
// Case-insensitive comparison of symbol names.
bool sameSymbolName(std::wstring_view a, std::wstring_view b);
} // namespace host
