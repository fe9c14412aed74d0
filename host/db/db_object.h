#pragma once
// Database objects: identity in a database, the open and close protocol, erasing, undo images, extended
// data, persistent reactors and filing.
#include <atomic>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/acdb.h"
#include "host/db/db_object_id.h"
#include "host/db/resbuf.h"
#include "host/filing/group.h"
#include "host/graphics/gi_drawable.h"
#include "host/rx/acad_status.h"

class AcDbEntity;

class AcDbDwgFiler;
class AcDbDxfFiler;
class AcDbAuditInfo;
class AcDbIdMapping;

class AcDbObject : public AcGiDrawable {
    HOST_DECLARE_MEMBERS(AcDbObject)
public:
    AcDbObject() = default;
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;
    ~AcDbObject() override;

    AcDbObjectId objectId() const { return AcDbObjectId(m_stub); }
    AcDbObjectId ownerId() const { return m_ownerId; }
    virtual Acad::ErrorStatus setOwnerId(AcDbObjectId id);
    AcDbHandle handle() const { return m_stub ? m_stub->handle : AcDbHandle(); }
    void getAcDbHandle(AcDbHandle& h) const { h = handle(); }
    AcDbDatabase* database() const { return m_stub ? m_stub->database : nullptr; }
    // The database the object belongs to, else the working database.
    AcDbDatabase* databaseOrWorking() const;

    // Open state. An object outside any database is always open for everything and close() leaves it
    // alone (the caller deletes it).
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNotifyEnabled() const;
    bool isNewObject() const { return m_new; }
    bool isModified() const { return m_modified; }
    bool isErased() const { return m_stub && m_stub->erased; }
    // Throw host::OpenStateError when the object is resident and not open as needed. assertWriteEnabled
    // records the object's undo image (autoUndo) and marks it modified (recordModified).
    void assertReadEnabled() const;
    void assertWriteEnabled(bool autoUndo = true, bool recordModified = true) {
        // Once done in an open, the full assertion holds until the open or any undo group changes: editors
        // that assert once per vertex pay a comparison.
        if (autoUndo && recordModified && m_writeNotedIn == s_undoEpoch.load(std::memory_order_relaxed))
            return;
        noteWrite(autoUndo, recordModified);
    }
    void assertNotifyEnabled() const;
    // Called whenever an undo group begins, ends or is undone in any database: the next assertion of write
    // access records the image again where the new group needs one.
    static void undoGroupsChanged() { s_undoEpoch.fetch_add(1, std::memory_order_relaxed); }

    // Erases (or un-erases) an object open for write. An object outside any database cannot be erased.
    Acad::ErrorStatus erase(bool erasing = true);
    void disableUndoRecording(bool disable) {
        m_undoDisabled = disable;
        forgetWriteNote();
    }
    bool isUndoRecordingDisabled() const { return m_undoDisabled; }

    // `newObject` takes this object's place (id, handle, owner, reactors, extended data when kept); this
    // object leaves the database and must be deleted by the caller: the answer is eObjectToBeDeleted.
    Acad::ErrorStatus handOverTo(AcDbObject* newObject, bool keepXData = true, bool keepExtDict = true);

    // Extended data: a chain of 1001 application names, each followed by its items. xData answers a copy
    // (all applications for null) that the caller frees with acutRelRb.
    resbuf* xData(const ACHAR* regappName = nullptr) const;
    // Replaces the data of each application in the chain (a name alone removes that application's data).
    // Every application must be registered in the database: otherwise eRegappIdNotFound and no change.
    Acad::ErrorStatus setXData(const resbuf* xdata);

    // The dictionary of application data that this object owns (102 {ACAD_XDICTIONARY in DXF); null when it
    // has none.
    AcDbObjectId extensionDictionary() const { return m_extensionDictionary; }

    Acad::ErrorStatus addPersistentReactor(AcDbObjectId id);
    Acad::ErrorStatus removePersistentReactor(AcDbObjectId id);
    const std::vector<AcDbObjectId>& persistentReactors() const { return m_reactors; }

    // Filing: dwgIn/dwgOut and dxfIn/dxfOut file the object with its extended data; the *Fields members are
    // the per-class parts that classes override (each calls its parent's first).
    Acad::ErrorStatus dwgIn(AcDbDwgFiler* filer);
    Acad::ErrorStatus dwgOut(AcDbDwgFiler* filer) const;
    Acad::ErrorStatus dxfIn(AcDbDxfFiler* filer);
    Acad::ErrorStatus dxfOut(AcDbDxfFiler* filer) const;
    virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);
    virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;
    virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer);
    virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const;

    virtual Acad::ErrorStatus audit(AcDbAuditInfo* info);
    virtual Acad::ErrorStatus applyPartialUndo(AcDbDwgFiler* filer, AcRxClass* classObj);
    // Saving to an older format may replace the object; the host's own objects keep themselves.
    virtual Acad::ErrorStatus decomposeForSave(AcDb::AcDbDwgVersion version, AcDbObject*& replaceObj,
                                               AcDbObjectId& replaceId, bool& exchangeXData);
    virtual Acad::ErrorStatus subDeepClone(AcDbObject* owner, AcDbObject*& clone, AcDbIdMapping& mapping,
                                           bool isPrimary = true) const;
    virtual Acad::ErrorStatus subWblockClone(AcRxObject* owner, AcDbObject*& clone, AcDbIdMapping& mapping,
                                             bool isPrimary = true) const;
    // Copies through a copy filer; both objects must be of the same class.
    Acad::ErrorStatus copyFrom(const AcRxObject* other) override;

    // Hooks of the open protocol: called by the database and by close() and erase().
    virtual Acad::ErrorStatus subOpen(AcDb::OpenMode mode);
    virtual Acad::ErrorStatus subClose();
    virtual Acad::ErrorStatus subErase(bool erasing);

    // Host internals: the database attaches and detaches objects and drives their open state.
    void attachStub(host::ObjectStub* stub, bool isNew);
    host::ObjectStub* stub() const { return m_stub; }
    Acad::ErrorStatus openAs(AcDb::OpenMode mode);
    bool isOpen() const { return m_readers > 0 || m_writer || m_notify; }
    const std::vector<host::Group>& xdataGroups() const { return m_xdata; }
    // Called once the object has its id; containers add the objects they hold.
    virtual void subObjectAddedToDatabase() {}

protected:
    // The code of the handle in DXF: 5, or 105 for the classes whose files name it so.
    virtual int dxfHandleCode() const { return 5; }
    // Sets a field of this object, which must be open for write (the undo image is recorded first).
    template <typename T, typename V> Acad::ErrorStatus setField(T& field, const V& value) {
        assertWriteEnabled();
        field = value;
        return Acad::eOk;
    }
    // The same for a size or a scale, which must be positive: anything else (NaN too) is eInvalidInput.
    Acad::ErrorStatus setPositiveField(double& field, double value) {
        return value > 0 ? setField(field, value) : Acad::eInvalidInput;
    }

private:
    void noteWrite(bool autoUndo, bool recordModified);
    void recordUndo();
    // Any change of the open state forgets the noted write.
    void forgetWriteNote() { m_writeNotedIn = 0; }
    Acad::ErrorStatus readXdata(AcDbDxfFiler* filer);

    host::ObjectStub* m_stub = nullptr;
    AcDbObjectId m_ownerId;
    std::vector<AcDbObjectId> m_reactors;
    AcDbObjectId m_extensionDictionary;
    std::vector<host::Group> m_xdata; // 1001 application name, then its items, per application
    int m_readers = 0;
    bool m_writer = false;
    bool m_notify = false;
    bool m_modified = false;
    bool m_new = false;
    bool m_undoDisabled = false;
    // The undo epoch in which this open last asserted write access in full (0: not in this open).
    std::uint64_t m_writeNotedIn = 0;
    static std::atomic<std::uint64_t> s_undoEpoch;
};

// Opaque to the host: what auditing and cloning pass along.
class AcDbAuditInfo {};
class AcDbIdMapping {};

namespace host {
struct OpenStateError : std::logic_error {
    using std::logic_error::logic_error;
};

// Read access to a resident object for the length of a scope (files are written through it): opens the
// object for read unless it is already readable, and closes what it opened.
class ScopedRead {
public:
    explicit ScopedRead(AcDbObject* object);
    ~ScopedRead();
    ScopedRead(const ScopedRead&) = delete;
    ScopedRead& operator=(const ScopedRead&) = delete;

private:
    AcDbObject* m_opened = nullptr;
};
} // namespace host

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
namespace host {
// Whether the id names an entity whose layer is locked.
bool isOnLockedLayer(AcDbObjectId id);
} // namespace host
// Opens the object as a T; another class answers eNotThatKindOfClass and leaves it closed. An entity on a
// locked layer does not open for write (eOnLockedLayer) when asked for as an entity.
template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
    object = nullptr;
    if constexpr (std::is_base_of_v<AcDbEntity, T>)
        if (mode == AcDb::kForWrite && host::isOnLockedLayer(id)) return Acad::eOnLockedLayer;
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, mode, openErased);
    if (es != Acad::eOk) return es;
    object = T::cast(o);
    if (!object) {
        o->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id);
// eInvalidAdsName unless the name designates an entry of a live database.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
