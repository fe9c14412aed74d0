#include "host/db/dictionary.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/group_binary.h"

HOST_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, L"DICTIONARY")
HOST_DEFINE_MEMBERS(AcDbXrecord, AcDbObject, L"XRECORD")

AcDbDictionaryIterator::AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
    : m_entries(std::move(entries)) {
    skipErased();
}

void AcDbDictionaryIterator::skipErased() {
    while (!done() && m_entries[m_index].second.isErased())
        ++m_index;
}

const ACHAR* AcDbDictionaryIterator::name() const {
    return done() ? nullptr : m_entries[m_index].first.c_str();
}

AcDbObjectId AcDbDictionaryIterator::objectId() const {
    return done() ? AcDbObjectId() : m_entries[m_index].second;
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& object, AcDb::OpenMode mode) const {
    object = nullptr;
    return done() ? Acad::eIteratorDone : acdbOpenAcDbObject(object, objectId(), mode);
}

bool AcDbDictionaryIterator::next() {
    if (!done()) ++m_index;
    skipErased();
    return !done();
}

std::vector<std::pair<std::wstring, AcDbObjectId>>::const_iterator
AcDbDictionary::find(const ACHAR* name) const {
    return std::find_if(m_entries.begin(), m_entries.end(), [name](const auto& e) {
        return name && !e.second.isErased() && host::sameSymbolName(e.first, name);
    });
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* name, AcDbObjectId& id) const {
    assertReadEnabled();
    auto it = find(name);
    id = it == m_entries.end() ? AcDbObjectId() : it->second;
    return it == m_entries.end() ? Acad::eKeyNotFound : Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* name, AcDbObject*& object, AcDb::OpenMode mode) const {
    object = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(name, id);
    return es == Acad::eOk ? acdbOpenAcDbObject(object, id, mode) : es;
}

bool AcDbDictionary::has(const ACHAR* name) const {
    return find(name) != m_entries.end();
}

bool AcDbDictionary::has(AcDbObjectId id) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [id](const auto& e) { return e.second == id; });
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, std::wstring& name) const {
    for (const auto& [key, value] : m_entries)
        if (value == id) {
            name = key;
            return Acad::eOk;
        }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* name, AcDbObject* object, AcDbObjectId& id) {
    id.setNull();
    if (!name || !*name || !object) return Acad::eInvalidInput;
    if (!database()) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (object->database() && object->database() != database()) return Acad::eWrongDatabase;
    assertWriteEnabled();
    if (!object->database()) {
        if (Acad::ErrorStatus es = database()->addAcDbObject(id, object); es != Acad::eOk) return es;
    } else {
        id = object->objectId();
    }
    auto it = find(name);
    if (it != m_entries.end() && it->second != id) {
        AcDbObject* old = nullptr;
        if (acdbOpenAcDbObject(old, it->second, AcDb::kForWrite) == Acad::eOk) {
            old->erase();
            old->close();
        }
    }
    if (it != m_entries.end()) m_entries.erase(it);
    m_entries.emplace_back(name, id);
    object->setOwnerId(objectId());
    object->subObjectAddedToDatabase();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* name) {
    AcDbObjectId id;
    return remove(name, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* name, AcDbObjectId& id) {
    assertWriteEnabled();
    auto it = find(name);
    if (it == m_entries.end()) return Acad::eKeyNotFound;
    id = it->second;
    m_entries.erase(it);
    return Acad::eOk;
}

int AcDbDictionary::numEntries() const {
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [](const auto& e) { return !e.second.isErased(); }));
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
    assertReadEnabled();
    return new AcDbDictionaryIterator(m_entries);
}

Acad::ErrorStatus AcDbDictionary::dwgInFields(AcDbDwgFiler* filer) {
    AcDbObject::dwgInFields(filer);
    Adesk::Int32 n = 0;
    filer->readInt32(&n);
    m_entries.clear();
    for (Adesk::Int32 i = 0; i < n && filer->filerStatus() == Acad::eOk; ++i) {
        std::wstring name;
        AcDbObjectId id;
        filer->readString(name);
        filer->readHardOwnershipId(&id);
        m_entries.emplace_back(name, id);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbObject::dwgOutFields(filer);
    filer->writeInt32(static_cast<Adesk::Int32>(m_entries.size()));
    for (const auto& [name, id] : m_entries) {
        filer->writeString(name);
        filer->writeHardOwnershipId(id);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbObject::dxfInFields(filer); es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"AcDbDictionary")) return Acad::eBadDxfSequence;
    m_entries.clear();
    std::wstring name;
    return host::readSubclassGroups(filer, [&](const resbuf& rb) {
        if (rb.restype == 3) {
            name = rb.resval.rstring;
        } else if (rb.restype == 350 || rb.restype == 360) {
            AcDbObjectId id;
            acdbGetObjectId(id, rb.resval.rlname);
            m_entries.emplace_back(name, id);
        }
    });
}

Acad::ErrorStatus AcDbDictionary::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(100, L"AcDbDictionary");
    filer->writeInt16(281, 1);
    for (const auto& [name, id] : m_entries)
        if (id.isValid() && !id.isErased()) {
            filer->writeString(3, name);
            filer->writeObjectId(350, id);
        }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbXrecord::rbChain(resbuf*& chain, AcDbDatabase* auxDb) const {
    assertReadEnabled();
    chain = host::toResbufChain(m_data, auxDb ? auxDb : databaseOrWorking());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::setFromRbChain(const resbuf& chain, AcDbDatabase*) {
    std::vector<host::Group> data = host::fromResbufChain(&chain);
    for (const host::Group& g : data)
        if (g.code == 0 || g.code == 5 || g.code == 100 || g.code == 1001 || g.code >= 5000 || g.code < 1)
            return Acad::eInvalidInput;
    assertWriteEnabled();
    m_data = std::move(data);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::dwgInFields(AcDbDwgFiler* filer) {
    AcDbObject::dwgInFields(filer);
    return host::readGroups(filer, m_data);
}

Acad::ErrorStatus AcDbXrecord::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbObject::dwgOutFields(filer);
    return host::writeGroups(filer, m_data);
}

Acad::ErrorStatus AcDbXrecord::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbObject::dxfInFields(filer); es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"AcDbXrecord")) return Acad::eBadDxfSequence;
    m_data.clear();
    resbuf rb;
    bool first = true;
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        // The cloning flag comes first; everything after it is the record's data.
        if (first && rb.restype == 280) {
            first = false;
            continue;
        }
        first = false;
        m_data.push_back(host::fromResbuf(rb));
    }
    return es == Acad::eEndOfFile ? Acad::eOk : es;
}

Acad::ErrorStatus AcDbXrecord::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbObject::dxfOutFields(filer);
    filer->writeString(100, L"AcDbXrecord");
    filer->writeInt16(280, 1);
    for (const host::Group& g : m_data)
        filer->writeGroup(g);
    return filer->filerStatus();
}
