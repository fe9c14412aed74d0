#include "host/db/db_object.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/db/symbol_name_index.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group_binary.h"

HOST_DEFINE_ABSTRACT(AcGiDrawable, AcRxObject)
HOST_DEFINE_ABSTRACT(AcDbObject, AcGiDrawable)

namespace {
constexpr int kMaxReaders = 256;
constexpr short kXdataApplication = 1001;

// Splits extended data into its applications: each block starts with its 1001 group.
std::vector<std::vector<host::Group>> applicationBlocks(const std::vector<host::Group>& groups) {
    std::vector<std::vector<host::Group>> blocks;
    for (const host::Group& g : groups) {
        if (g.code == kXdataApplication) blocks.emplace_back();
        if (!blocks.empty()) blocks.back().push_back(g);
    }
    return blocks;
}
} // namespace

AcDbObject::~AcDbObject() {
    // Deleting a resident object is a caller's fault; its entry is emptied rather than left dangling.
    if (m_stub && m_stub->object == this) m_stub->object = nullptr;
}

AcDbDatabase* AcDbObject::databaseOrWorking() const {
    AcDbDatabase* db = database();
    return db ? db : acdbHostApplicationServices()->workingDatabase();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId id) {
    assertWriteEnabled(false);
    m_ownerId = id;
    return Acad::eOk;
}

void AcDbObject::attachStub(host::ObjectStub* stub, bool isNew) {
    m_stub = stub;
    m_new = isNew;
    forgetWriteNote();
    if (!stub) {
        m_readers = 0;
        m_writer = m_notify = false;
    }
}

Acad::ErrorStatus AcDbObject::openAs(AcDb::OpenMode mode) {
    if (m_writer) return Acad::eWasOpenForWrite;
    forgetWriteNote();
    Acad::ErrorStatus es = Acad::eOk;
    switch (mode) {
    case AcDb::kForRead:
        if (m_readers >= kMaxReaders) return Acad::eAtMaxReaders;
        ++m_readers;
        if ((es = subOpen(mode)) != Acad::eOk) --m_readers;
        break;
    case AcDb::kForWrite:
        if (m_readers > 0) return Acad::eWasOpenForRead;
        if (m_notify) return Acad::eWasOpenForNotify;
        m_writer = true;
        recordUndo();
        if ((es = subOpen(mode)) != Acad::eOk) m_writer = false;
        break;
    case AcDb::kForNotify:
        m_notify = true;
        if ((es = subOpen(mode)) != Acad::eOk) m_notify = false;
        break;
    }
    return es;
}

Acad::ErrorStatus AcDbObject::close() {
    if (!m_stub) return Acad::eOk;
    if (!isOpen()) return Acad::eNotOpenForRead;
    Acad::ErrorStatus es = subClose();
    forgetWriteNote();
    if (m_writer) {
        m_writer = false;
        m_new = false;
    } else if (m_readers > 0) {
        --m_readers;
    } else {
        m_notify = false;
    }
    return es;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    if (!m_stub || m_writer) return Acad::eOk;
    if (m_readers != 1) return m_readers == 0 ? Acad::eNotOpenForRead : Acad::eWasOpenForRead;
    m_readers = 0;
    m_writer = true;
    forgetWriteNote();
    recordUndo();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (!m_stub) return Acad::eOk;
    if (!m_writer) return Acad::eNotOpenForWrite;
    m_writer = false;
    m_readers = 1;
    forgetWriteNote();
    return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const {
    return !m_stub || m_readers > 0 || m_writer;
}
bool AcDbObject::isWriteEnabled() const {
    return !m_stub || m_writer;
}
bool AcDbObject::isNotifyEnabled() const {
    return !m_stub || m_notify || m_writer;
}

void AcDbObject::assertReadEnabled() const {
    if (!isReadEnabled() && !m_notify) throw host::OpenStateError("object not open for read");
}

// Epochs start above 0, which stands for "not noted".
std::atomic<std::uint64_t> AcDbObject::s_undoEpoch{1};

void AcDbObject::noteWrite(bool autoUndo, bool recordModified) {
    if (!isWriteEnabled()) throw host::OpenStateError("object not open for write");
    if (autoUndo) recordUndo();
    if (recordModified) m_modified = true;
    if (autoUndo && recordModified) m_writeNotedIn = s_undoEpoch.load(std::memory_order_relaxed);
}

void AcDbObject::assertNotifyEnabled() const {
    if (!isNotifyEnabled()) throw host::OpenStateError("object not open for notify");
}

void AcDbObject::recordUndo() {
    if (m_stub && !m_undoDisabled) m_stub->database->recordUndoImage(this);
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (!m_stub) return Acad::eNotInDatabase;
    if (!m_writer) return Acad::eNotOpenForWrite;
    if (erasing == m_stub->erased) return erasing ? Acad::eWasErased : Acad::eWasNotErased;
    if (Acad::ErrorStatus es = subErase(erasing); es != Acad::eOk) return es;
    assertWriteEnabled();
    m_stub->erased = erasing;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::handOverTo(AcDbObject* newObject, bool keepXData, bool keepExtDict) {
    if (!newObject || newObject == this) return Acad::eInvalidInput;
    if (!m_stub) return Acad::eNotInDatabase;
    if (newObject->m_stub) return Acad::eAlreadyInDb;
    if (!m_writer) return Acad::eNotOpenForWrite;
    host::ObjectStub* stub = m_stub;
    stub->object = newObject;
    // A table listing the id may now hold another name under it; tables list only records.
    if (AcDbSymbolTableRecord::cast(this) || AcDbSymbolTableRecord::cast(newObject))
        host::symbolNamesChanged();
    newObject->m_stub = stub;
    newObject->m_writer = true;
    newObject->forgetWriteNote();
    newObject->m_modified = true;
    newObject->m_ownerId = m_ownerId;
    newObject->m_reactors = m_reactors;
    if (keepXData) newObject->m_xdata = m_xdata;
    if (keepExtDict) newObject->m_extensionDictionary = m_extensionDictionary;
    attachStub(nullptr, false);
    return Acad::eObjectToBeDeleted;
}

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
    assertReadEnabled();
    std::vector<host::Group> selected;
    for (const auto& block : applicationBlocks(m_xdata))
        if (!regappName || host::sameSymbolName(block.front().text(), regappName))
            selected.insert(selected.end(), block.begin(), block.end());
    return host::toResbufChain(selected, database());
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
    std::vector<host::Group> groups = host::fromResbufChain(xdata);
    if (!groups.empty() && groups.front().code != kXdataApplication) return Acad::eInvalidInput;
    auto blocks = applicationBlocks(groups);
    AcDbDatabase* db = databaseOrWorking();
    for (const auto& block : blocks)
        if (!db || !db->isRegisteredApplication(block.front().text())) return Acad::eRegappIdNotFound;
    assertWriteEnabled();
    auto kept = applicationBlocks(m_xdata);
    std::erase_if(kept, [&](const std::vector<host::Group>& old) {
        return std::any_of(blocks.begin(), blocks.end(), [&](const std::vector<host::Group>& b) {
            return host::sameSymbolName(b.front().text(), old.front().text());
        });
    });
    for (const auto& block : blocks)
        if (block.size() > 1) kept.push_back(block);
    m_xdata.clear();
    for (const auto& block : kept)
        m_xdata.insert(m_xdata.end(), block.begin(), block.end());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::addPersistentReactor(AcDbObjectId id) {
    assertWriteEnabled();
    if (std::find(m_reactors.begin(), m_reactors.end(), id) == m_reactors.end()) m_reactors.push_back(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId id) {
    assertWriteEnabled();
    std::erase(m_reactors, id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::dwgIn(AcDbDwgFiler* filer) {
    if (Acad::ErrorStatus es = dwgInFields(filer); es != Acad::eOk) return es;
    return host::readGroups(filer, m_xdata);
}

Acad::ErrorStatus AcDbObject::dwgOut(AcDbDwgFiler* filer) const {
    if (Acad::ErrorStatus es = dwgOutFields(filer); es != Acad::eOk) return es;
    return host::writeGroups(filer, m_xdata);
}

Acad::ErrorStatus AcDbObject::dxfIn(AcDbDxfFiler* filer) {
    Acad::ErrorStatus es = dxfInFields(filer);
    if (es != Acad::eOk && es != Acad::eEndOfFile) return es;
    if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
    // Groups a class left unread are skipped up to the extended data.
    resbuf skipped;
    while (filer->readItem(&skipped) == Acad::eOk) {
    }
    m_xdata = filer->takeExtendedData();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::dxfOut(AcDbDxfFiler* filer) const {
    if (Acad::ErrorStatus es = dxfOutFields(filer); es != Acad::eOk) return es;
    for (const host::Group& g : m_xdata)
        filer->writeGroup(g);
    return filer->filerStatus();
}

// A copy is a new object: it takes neither the owner, the reactors nor the extension dictionary of its
// source. Binary drawings before version 5 have no extension dictionaries.
Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* filer) {
    if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
    filer->readSoftPointerId(&m_ownerId);
    filer->readIdList(m_reactors);
    if (filer->drawingVersion() >= 5) filer->readHardOwnershipId(&m_extensionDictionary);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* filer) const {
    if (filer->filerType() == AcDb::kCopyFiler) return filer->filerStatus();
    filer->writeSoftPointerId(m_ownerId);
    filer->writeIdList(m_reactors);
    return filer->writeHardOwnershipId(m_extensionDictionary);
}

Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler* filer) {
    resbuf rb;
    bool inReactors = false, inDictionary = false;
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (rb.restype == 100) {
            filer->pushBackItem();
            return Acad::eOk;
        }
        if (rb.restype == 102) {
            const std::wstring_view group = rb.resval.rstring;
            inReactors = group == L"{ACAD_REACTORS";
            inDictionary = group == L"{ACAD_XDICTIONARY";
        } else if (rb.restype == 330) {
            AcDbObjectId id;
            acdbGetObjectId(id, rb.resval.rlname);
            if (inReactors)
                m_reactors.push_back(id);
            else
                m_ownerId = id;
        } else if (rb.restype == 360 && inDictionary) {
            acdbGetObjectId(m_extensionDictionary, rb.resval.rlname);
        }
    }
    return es == Acad::eEndOfFile ? Acad::eOk : es;
}

Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler* filer) const {
    filer->writeAcDbHandle(dxfHandleCode(), handle());
    if (!m_reactors.empty()) {
        filer->writeString(102, L"{ACAD_REACTORS");
        for (AcDbObjectId id : m_reactors)
            filer->writeObjectId(330, id);
        filer->writeString(102, L"}");
    }
    if (!m_extensionDictionary.isNull()) {
        filer->writeString(102, L"{ACAD_XDICTIONARY");
        filer->writeObjectId(360, m_extensionDictionary);
        filer->writeString(102, L"}");
    }
    if (!m_ownerId.isNull()) filer->writeObjectId(330, m_ownerId);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbObject::audit(AcDbAuditInfo*) {
    return Acad::eOk;
}
Acad::ErrorStatus AcDbObject::applyPartialUndo(AcDbDwgFiler*, AcRxClass*) {
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::decomposeForSave(AcDb::AcDbDwgVersion, AcDbObject*& replaceObj, AcDbObjectId&,
                                               bool&) {
    replaceObj = nullptr;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::subDeepClone(AcDbObject*, AcDbObject*& clone, AcDbIdMapping&, bool) const {
    assertReadEnabled();
    clone = static_cast<AcDbObject*>(this->clone());
    return clone ? Acad::eOk : Acad::eOutOfMemory;
}

Acad::ErrorStatus AcDbObject::subWblockClone(AcRxObject* owner, AcDbObject*& clone, AcDbIdMapping& mapping,
                                             bool isPrimary) const {
    return subDeepClone(AcDbObject::cast(owner), clone, mapping, isPrimary);
}

Acad::ErrorStatus AcDbObject::copyFrom(const AcRxObject* other) {
    const AcDbObject* source = AcDbObject::cast(other);
    if (!source || source->isA() != isA()) return Acad::eNotThatKindOfClass;
    host::DwgMemoryFiler filer(AcDb::kCopyFiler, source->databaseOrWorking());
    if (Acad::ErrorStatus es = source->dwgOut(&filer); es != Acad::eOk) return es;
    filer.rewind();
    return dwgIn(&filer);
}

Acad::ErrorStatus AcDbObject::subOpen(AcDb::OpenMode) {
    return Acad::eOk;
}
Acad::ErrorStatus AcDbObject::subClose() {
    return Acad::eOk;
}
Acad::ErrorStatus AcDbObject::subErase(bool) {
    return Acad::eOk;
}

namespace host {

ScopedRead::ScopedRead(AcDbObject* object) {
    if (object && !object->isReadEnabled() && object->openAs(AcDb::kForRead) == Acad::eOk) m_opened = object;
}

ScopedRead::~ScopedRead() {
    if (m_opened) m_opened->close();
}

} // namespace host

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    object = nullptr;
    host::ObjectStub* stub = id.stub();
    if (!stub) return Acad::eNullObjectId;
    if (!host::isLiveStub(stub)) return Acad::eInvalidInput;
    if (!stub->object) return Acad::eUnknownHandle;
    if (stub->erased && !openErased) return Acad::eWasErased;
    Acad::ErrorStatus es = stub->object->openAs(mode);
    if (es == Acad::eOk) object = stub->object;
    return es;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id) {
    name[0] = id.asOldId();
    name[1] = 0;
    return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
    AcDbObjectId candidate;
    candidate.setFromOldId(name[0]);
    if (!host::isLiveStub(candidate.stub())) return Acad::eInvalidAdsName;
    id = candidate;
    return Acad::eOk;
}
