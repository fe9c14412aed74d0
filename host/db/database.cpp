#include "host/db/database.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <unordered_set>

#include "host/db/dictionary.h"
#include "host/db/enum_values.h"
#include "host/db/symbol_tables.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_file.h"
#include "host/filing/text_codec.h"
#include "host/rx/host_classes.h"

HOST_DEFINE_MEMBERS_WITH(AcDbDatabase, AcRxObject, L"", nullptr)

namespace {

// Every stub of every open drawing. A routine works on one object call after call (a polyline walked vertex
// by vertex opens it at each step), so the stub last found live answers without a search.
class LiveStubs {
public:
    bool contains(const host::ObjectStub* stub) {
        if (stub == m_lastFound) return true;
        if (!m_stubs.contains(stub)) return false;
        m_lastFound = stub;
        return true;
    }
    void insert(const host::ObjectStub* stub) { m_stubs.insert(stub); }
    void erase(const host::ObjectStub* stub) {
        if (stub == m_lastFound) m_lastFound = nullptr;
        m_stubs.erase(stub);
    }

private:
    std::unordered_set<const host::ObjectStub*> m_stubs;
    const host::ObjectStub* m_lastFound = nullptr;
};

LiveStubs& liveStubs() {
    static LiveStubs stubs;
    return stubs;
}

template <typename T> Acad::ErrorStatus openAs(T*& object, AcDbObjectId id, AcDb::OpenMode mode) {
    return id.isNull() ? (object = nullptr, Acad::eMissingSymbolTable) : acdbOpenObject(object, id, mode);
}

} // namespace

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static AcDbHostApplicationServices services;
    return &services;
}

int acdbRegApp(const ACHAR* appName) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbRegAppTable* apps = nullptr;
    if (!db || !appName || !*appName || db->getRegAppTable(apps, AcDb::kForWrite) != Acad::eOk)
        return RTERROR;
    if (!apps->has(appName)) {
        auto* record = new AcDbRegAppTableRecord;
        if (record->setName(appName) != Acad::eOk || apps->add(record) != Acad::eOk) {
            delete record;
            apps->close();
            return RTERROR;
        }
        record->close();
    }
    apps->close();
    return RTNORM;
}

namespace host {
bool isLiveStub(const ObjectStub* stub) {
    return stub && liveStubs().contains(stub);
}

bool sameSymbolName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}
} // namespace host

AcDbDatabase::AcDbDatabase(bool buildDefault, bool) {
    host::registerHostClasses();
    if (buildDefault) buildDefaultDrawing();
}

AcDbDatabase::~AcDbDatabase() {
    clear();
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

void AcDbDatabase::clear() {
    for (auto& [handle, stub] : m_stubs) {
        liveStubs().erase(stub.get());
        if (stub->object) {
            stub->object->attachStub(nullptr, false);
            delete stub->object;
        }
    }
    m_stubs.clear();
}

host::ObjectStub* AcDbDatabase::newStub(AcDbHandle handle) {
    auto stub = std::make_unique<host::ObjectStub>();
    stub->handle = handle;
    stub->database = this;
    host::ObjectStub* raw = stub.get();
    // The seed stays above every handle in use and handles below the limit, so a new handle is always free.
    if (!m_stubs.emplace(handle, std::move(stub)).second)
        throw std::logic_error("handle " + host::toUtf8(handle.text()) + " is already in use");
    liveStubs().insert(raw);
    if (m_handseed <= handle) m_handseed = AcDbHandle(handle.value() + 1);
    return raw;
}

AcDbHandle AcDbDatabase::allocateHandle() {
    return newStub(m_handseed)->handle;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
    id.setNull();
    if (!object) return Acad::eNullObjectPointer;
    if (object->database()) return Acad::eAlreadyInDb;
    if (m_handseed.value() >= kHandleLimit) return Acad::eOutOfMemory; // every handle handed out
    host::ObjectStub* stub = newStub(m_handseed);
    stub->object = object;
    object->attachStub(stub, true);
    // Noted before the write-open, so undo erases the object instead of restoring an image of it.
    if (m_undoDepth > 0) {
        m_openGroup.entries.push_back({stub, {}, false, true});
        m_openGroup.recorded.insert(stub);
    }
    object->openAs(AcDb::kForWrite);
    id = AcDbObjectId(stub);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* object) {
    AcDbObjectId id;
    return addAcDbObject(id, object);
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                                const AcDbHandle& handle, Adesk::UInt32) {
    id.setNull();
    if (handle.isNull()) return Acad::eNullHandle;
    auto it = m_stubs.find(handle);
    if (it != m_stubs.end()) {
        id = AcDbObjectId(it->second.get());
        return Acad::eOk;
    }
    if (!createIfNotFound) return Acad::eUnknownHandle;
    if (handle.value() >= kHandleLimit) return Acad::eInvalidInput;
    id = AcDbObjectId(newStub(handle));
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::adoptObject(AcDbObject* object, AcDbHandle handle) {
    AcDbObjectId id;
    if (getAcDbObjectId(id, true, handle.isNull() ? m_handseed : handle) != Acad::eOk || id.stub()->object)
        return {};
    id.stub()->object = object;
    object->attachStub(id.stub(), false);
    if (AcDbSymbolTableRecord::cast(object)) host::symbolNamesChanged(); // a table may list the id already
    object->openAs(AcDb::kForWrite);
    return id;
}

void AcDbDatabase::closeOpenObjects() {
    for (auto& [handle, stub] : m_stubs)
        while (stub->object && stub->object->isOpen())
            stub->object->close();
}

host::ObjectStub* AcDbDatabase::stubAfter(const host::ObjectStub* stub) const {
    auto it = m_stubs.begin();
    if (stub) {
        it = m_stubs.find(stub->handle);
        if (it == m_stubs.end() || it->second.get() != stub) return nullptr;
        ++it;
    }
    return it == m_stubs.end() ? nullptr : it->second.get();
}

std::vector<host::ObjectStub*> AcDbDatabase::stubs() const {
    std::vector<host::ObjectStub*> all;
    for (const auto& [handle, stub] : m_stubs)
        all.push_back(stub.get());
    return all;
}

void AcDbDatabase::setTableIds(AcDbObjectId blocks, AcDbObjectId layers, AcDbObjectId linetypes,
                               AcDbObjectId regApps, AcDbObjectId textStyles, AcDbObjectId namedObjects) {
    m_blockTable = blocks;
    m_layerTable = layers;
    m_linetypeTable = linetypes;
    m_regAppTable = regApps;
    m_textStyleTable = textStyles;
    m_namedObjects = namedObjects;
}

void AcDbDatabase::setHandseed(AcDbHandle seed) {
    if (m_handseed < seed && seed.value() < kHandleLimit) m_handseed = seed;
}

void AcDbDatabase::takeContentsOf(AcDbDatabase& other) {
    clear();
    m_stubs = std::move(other.m_stubs);
    other.m_stubs.clear();
    for (auto& [handle, stub] : m_stubs)
        stub->database = this;
    m_handseed = other.m_handseed;
    m_header = std::move(other.m_header);
    setTableIds(other.m_blockTable, other.m_layerTable, other.m_linetypeTable, other.m_regAppTable,
                other.m_textStyleTable, other.m_namedObjects);
    m_undoDepth = 0;
    m_openGroup = {};
    m_undoGroups.clear();
    AcDbObject::undoGroupsChanged();
}

void AcDbDatabase::buildDefaultDrawing() {
    host::completeDrawing(*this);
    using host::Group;
    setHeaderVariable(L"INSBASE", {10, AcGePoint3d()});
    setHeaderVariable(L"EXTMIN", {10, AcGePoint3d()});
    setHeaderVariable(L"EXTMAX", {10, AcGePoint3d()});
    setHeaderVariable(L"LTSCALE", {40, 1.0});
    setHeaderVariable(L"TILEMODE", {70, Adesk::Int16(1)});
    setHeaderVariable(L"CLAYER", {8, std::wstring(L"0")});
    setHeaderVariable(L"CELTYPE", {6, std::wstring(L"ByLayer")});
    setHeaderVariable(L"CECOLOR", {62, Adesk::Int16(256)});
    setHeaderVariable(L"CELTSCALE", {40, 1.0});
    setHeaderVariable(L"CELWEIGHT", {370, Adesk::Int16(AcDb::kLnWtByLayer)});
    setHeaderVariable(L"THICKNESS", {39, 0.0});
    setHeaderVariable(L"ELEVATION", {38, 0.0});
    setHeaderVariable(L"DWGCODEPAGE", {3, std::wstring(L"ANSI_1252")});
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) {
    return openAs(t, m_blockTable, m);
}
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) {
    return openAs(t, m_layerTable, m);
}
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) {
    return openAs(t, m_linetypeTable, m);
}
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& t, AcDb::OpenMode m) {
    return openAs(t, m_regAppTable, m);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) {
    return openAs(t, m_textStyleTable, m);
}
Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& d, AcDb::OpenMode m) {
    return openAs(d, m_namedObjects, m);
}

AcDbObjectId AcDbDatabase::tableRecord(AcDbObjectId tableId, const std::wstring& name) const {
    // Asks the table object itself: look-ups work while the table is open for write.
    AcDbSymbolTable* table = tableId.isValid() ? AcDbSymbolTable::cast(tableId.stub()->object) : nullptr;
    return table ? table->recordNamed(name) : AcDbObjectId();
}

AcDbObjectId AcDbDatabase::modelSpaceId() const {
    return tableRecord(m_blockTable, host::kModelSpace);
}
AcDbObjectId AcDbDatabase::paperSpaceId() const {
    return tableRecord(m_blockTable, host::kPaperSpace);
}
AcDbObjectId AcDbDatabase::currentSpaceId() const {
    return tilemode() ? modelSpaceId() : paperSpaceId();
}
AcDbObjectId AcDbDatabase::byLayerLinetype() const {
    return tableRecord(m_linetypeTable, L"ByLayer");
}
AcDbObjectId AcDbDatabase::byBlockLinetype() const {
    return tableRecord(m_linetypeTable, L"ByBlock");
}
AcDbObjectId AcDbDatabase::continuousLinetype() const {
    return tableRecord(m_linetypeTable, L"Continuous");
}
AcDbObjectId AcDbDatabase::layerId(const std::wstring& name) const {
    return tableRecord(m_layerTable, name);
}
AcDbObjectId AcDbDatabase::linetypeId(const std::wstring& name) const {
    return tableRecord(m_linetypeTable, name);
}
AcDbObjectId AcDbDatabase::textStyleId(const std::wstring& name) const {
    return tableRecord(m_textStyleTable, name);
}
AcDbObjectId AcDbDatabase::blockId(const std::wstring& name) const {
    return tableRecord(m_blockTable, name);
}
bool AcDbDatabase::isRegisteredApplication(const std::wstring& name) const {
    return !tableRecord(m_regAppTable, name).isNull();
}

// Header variables and the current properties kept in them.

Adesk::Int16 AcDbDatabase::saveProxyGraphics() const {
    return headerInteger(L"PROXYGRAPHICS", 1) != 0 ? 1 : 0;
}

Acad::ErrorStatus AcDbDatabase::setSaveProxyGraphics(Adesk::Int16 saveThem) {
    if (saveThem != 0 && saveThem != 1) return Acad::eInvalidInput;
    setHeaderVariable(L"PROXYGRAPHICS", {70, saveThem});
    return Acad::eOk;
}

bool AcDbDatabase::getHeaderVariable(const std::wstring& name, host::Group& value) const {
    for (const auto& [key, group] : m_header)
        if (host::sameSymbolName(key, name)) {
            value = group;
            return true;
        }
    return false;
}

void AcDbDatabase::setHeaderVariable(const std::wstring& name, const host::Group& value) {
    for (auto& [key, group] : m_header)
        if (host::sameSymbolName(key, name)) {
            // UNDO of a command gives back the current layer, text size, ... it changed.
            if (m_undoDepth > 0) m_openGroup.header.emplace(key, group);
            group = value;
            return;
        }
    m_header.emplace(name, value);
}

double AcDbDatabase::headerReal(const wchar_t* name, double fallback) const {
    host::Group g;
    return getHeaderVariable(name, g) ? g.real() : fallback;
}

Adesk::Int64 AcDbDatabase::headerInteger(const wchar_t* name, Adesk::Int64 fallback) const {
    host::Group g;
    return getHeaderVariable(name, g) ? g.integer() : fallback;
}

std::wstring AcDbDatabase::headerText(const wchar_t* name) const {
    host::Group g;
    return getHeaderVariable(name, g) ? g.text() : std::wstring();
}

namespace {
std::wstring nameOf(AcDbObjectId id) {
    auto* record = id.isValid() ? AcDbSymbolTableRecord::cast(id.stub()->object) : nullptr;
    return record ? record->name() : L"";
}
} // namespace

AcDbObjectId AcDbDatabase::clayer() const {
    AcDbObjectId id = layerId(headerText(L"CLAYER"));
    return id.isNull() ? layerId(L"0") : id;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layer) {
    if (layer.database() != this ||
        !AcDbLayerTableRecord::cast(layer.isValid() ? layer.stub()->object : nullptr))
        return Acad::eInvalidInput;
    setHeaderVariable(L"CLAYER", {8, nameOf(layer)});
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::celtype() const {
    AcDbObjectId id = linetypeId(headerText(L"CELTYPE"));
    return id.isNull() ? byLayerLinetype() : id;
}

Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId linetype) {
    if (linetype.database() != this ||
        !AcDbLinetypeTableRecord::cast(linetype.isValid() ? linetype.stub()->object : nullptr))
        return Acad::eInvalidInput;
    setHeaderVariable(L"CELTYPE", {6, nameOf(linetype)});
    return Acad::eOk;
}

AcCmColor AcDbDatabase::cecolor() const {
    return AcCmColor(static_cast<Adesk::UInt16>(headerInteger(L"CECOLOR", AcCmColor::kByLayer)));
}

Acad::ErrorStatus AcDbDatabase::setCecolor(const AcCmColor& color) {
    if (color.colorIndex() > 256) return Acad::eInvalidInput;
    setHeaderVariable(L"CECOLOR", {62, Adesk::Int16(color.colorIndex())});
    return Acad::eOk;
}

AcDb::LineWeight AcDbDatabase::celweight() const {
    return host::lineWeightOrDefault(headerInteger(L"CELWEIGHT", AcDb::kLnWtByLayer));
}

Acad::ErrorStatus AcDbDatabase::setCelweight(AcDb::LineWeight weight) {
    setHeaderVariable(L"CELWEIGHT", {370, Adesk::Int16(weight)});
    return Acad::eOk;
}

double AcDbDatabase::celtscale() const {
    return headerReal(L"CELTSCALE", 1.0);
}

Acad::ErrorStatus AcDbDatabase::setCeltscale(double scale) {
    if (!(scale > 0)) return Acad::eInvalidInput;
    setHeaderVariable(L"CELTSCALE", {40, scale});
    return Acad::eOk;
}

double AcDbDatabase::thickness() const {
    return headerReal(L"THICKNESS", 0.0);
}

Acad::ErrorStatus AcDbDatabase::setThickness(double thickness) {
    setHeaderVariable(L"THICKNESS", {39, thickness});
    return Acad::eOk;
}

double AcDbDatabase::ltscale() const {
    return headerReal(L"LTSCALE", 1.0);
}

Acad::ErrorStatus AcDbDatabase::setLtscale(double scale) {
    if (!(scale > 0)) return Acad::eInvalidInput;
    setHeaderVariable(L"LTSCALE", {40, scale});
    return Acad::eOk;
}

bool AcDbDatabase::tilemode() const {
    return headerInteger(L"TILEMODE", 1) != 0;
}

Acad::ErrorStatus AcDbDatabase::setTilemode(bool mode) {
    setHeaderVariable(L"TILEMODE", {70, Adesk::Int16(mode ? 1 : 0)});
    return Acad::eOk;
}

double AcDbDatabase::elevation() const {
    return headerReal(L"ELEVATION", 0.0);
}

Acad::ErrorStatus AcDbDatabase::setElevation(double elevation) {
    setHeaderVariable(L"ELEVATION", {38, elevation});
    return Acad::eOk;
}

// Undo groups.

Acad::ErrorStatus AcDbDatabase::beginUndoGroup() {
    if (m_undoDepth++ == 0) m_openGroup = {};
    AcDbObject::undoGroupsChanged();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::endUndoGroup() {
    if (m_undoDepth == 0) return Acad::eInvalidInput;
    if (--m_undoDepth == 0 && !m_openGroup.empty()) {
        m_undoGroups.push_back(std::move(m_openGroup));
        ++m_changes;
    }
    AcDbObject::undoGroupsChanged();
    return Acad::eOk;
}

void AcDbDatabase::recordUndoImage(AcDbObject* object) {
    host::ObjectStub* stub = object->stub();
    // Once per object and group; an object added in this group is already noted, and undo simply erases it.
    if (m_undoDepth == 0 || !stub || !m_openGroup.recorded.insert(stub).second) return;
    host::DwgMemoryFiler filer(AcDb::kUndoFiler, this);
    object->dwgOut(&filer);
    m_openGroup.entries.push_back({stub, filer.bytes(), stub->erased, false});
}

Acad::ErrorStatus AcDbDatabase::undoLastGroup() {
    if (m_undoDepth > 0) return Acad::eInvalidInput;
    if (m_undoGroups.empty()) return Acad::eNotApplicable;
    UndoGroup& group = m_undoGroups.back();
    for (const UndoEntry& e : group.entries)
        if (e.stub->object && e.stub->object->isOpen()) return Acad::eWasOpenForWrite;
    for (auto it = group.entries.rbegin(); it != group.entries.rend(); ++it) {
        AcDbObject* object = it->stub->object;
        if (!object) continue;
        if (it->created) {
            it->stub->erased = true;
            continue;
        }
        host::DwgMemoryFiler filer(AcDb::kUndoFiler, this, it->image);
        object->dwgIn(&filer);
        it->stub->erased = it->erased;
    }
    for (const auto& [name, value] : group.header)
        m_header[name] = value;
    m_undoGroups.pop_back();
    ++m_changes;
    AcDbObject::undoGroupsChanged();
    return Acad::eOk;
}

// Files.

Acad::ErrorStatus AcDbDatabase::readDwgFile(const ACHAR* fileName, int, bool, const wchar_t*) {
    return host::readDrawing(*this, fileName ? fileName : L"");
}

Acad::ErrorStatus AcDbDatabase::saveAs(const ACHAR* fileName) {
    return host::writeDrawingFile(*this, fileName ? fileName : L"");
}
