#include "host/entities/owned_sequence.h"

#include <algorithm>

#include "host/db/database.h"
#include "host/entities/counted_lists.h"

HOST_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, L"SEQEND")

void AcDbObjectIterator::start(bool atEnd) {
    m_index = atEnd ? static_cast<long>(size()) - 1 : 0;
}

bool AcDbObjectIterator::done() const {
    return m_index < 0 || m_index >= static_cast<long>(size());
}

void AcDbObjectIterator::step(bool backwards, bool skipErased) {
    do
        m_index += backwards ? -1 : 1;
    while (skipErased && !done() && m_entities.empty() && m_ids[m_index].isErased());
}

AcDbEntity* AcDbObjectIterator::entity() const {
    return done() || m_entities.empty() ? nullptr : m_entities[m_index];
}

AcDbObjectId AcDbObjectIterator::objectId() const {
    return done() || m_ids.empty() ? AcDbObjectId() : m_ids[m_index];
}

bool AcDbObjectIterator::seek(AcDbObjectId id) {
    for (std::size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == id) {
            m_index = static_cast<long>(i);
            return true;
        }
    return false;
}

namespace host {

OwnedSequence::~OwnedSequence() {
    clearHeld();
}

void OwnedSequence::clearHeld() {
    for (AcDbEntity* part : m_held)
        delete part;
    m_held.clear();
}

Acad::ErrorStatus OwnedSequence::append(AcDbEntity* owner, AcDbEntity* part, AcDbObjectId& id) {
    id.setNull();
    if (!part) return Acad::eNullEntityPointer;
    if (part->database()) return Acad::eAlreadyInDb;
    owner->assertWriteEnabled();
    AcDbDatabase* db = owner->database();
    if (!db) {
        m_held.push_back(part);
        return Acad::eOk;
    }
    if (Acad::ErrorStatus es = db->addAcDbObject(id, part); es != Acad::eOk) return es;
    part->setOwnerId(owner->objectId());
    m_ids.push_back(id);
    m_byId = true;
    addEnd(owner);
    return Acad::eOk;
}

void OwnedSequence::addEnd(AcDbEntity* owner) {
    if (!m_end.isNull() || (m_endRule == End::WithParts && m_ids.empty())) return;
    auto* end = new AcDbSequenceEnd;
    end->setPropertiesFrom(owner);
    owner->database()->addAcDbObject(m_end, end);
    end->setOwnerId(owner->objectId());
    end->close();
}

void OwnedSequence::addToDatabase(AcDbEntity* owner) {
    AcDbDatabase* db = owner->database();
    for (AcDbEntity* part : m_held) {
        AcDbObjectId id;
        db->addAcDbObject(id, part);
        part->setOwnerId(owner->objectId());
        part->close();
        m_ids.push_back(id);
    }
    m_held.clear();
    m_byId = true;
    addEnd(owner);
}

AcDbObjectIterator* OwnedSequence::newIterator() const {
    auto* iterator = new AcDbObjectIterator(m_held, m_ids);
    iterator->start();
    return iterator;
}

std::vector<AcDbObjectId> OwnedSequence::ids() const {
    std::vector<AcDbObjectId> all = m_ids;
    if (!m_end.isNull()) all.push_back(m_end);
    return all;
}

void OwnedSequence::adopt(const std::vector<AcDbObjectId>& ids) {
    clearHeld();
    m_byId = true;
    m_ids.clear();
    m_end.setNull();
    for (AcDbObjectId id : ids) {
        AcDbObject* object = id.isValid() ? id.stub()->object : nullptr;
        if (AcDbSequenceEnd::cast(object))
            m_end = id;
        else if (AcDbEntity::cast(object))
            m_ids.push_back(id);
    }
}

void OwnedSequence::dwgOut(AcDbDwgFiler* filer, std::span<AcRxClass* const> partClasses) const {
    bool inline_ = !m_byId || filer->filerType() == AcDb::kCopyFiler;
    filer->writeBool(inline_);
    if (!inline_) {
        filer->writeIdList(m_ids);
        filer->writeHardOwnershipId(m_end);
        return;
    }
    writeCounted(filer, parts<AcDbEntity>(), [&](const AcDbEntity* part) {
        if (partClasses.size() > 1)
            filer->writeInt16(
                static_cast<Adesk::Int16>(std::ranges::find(partClasses, part->isA()) - partClasses.begin()));
        part->dwgOut(filer);
    });
}

void OwnedSequence::dwgIn(AcDbDwgFiler* filer, std::span<AcRxClass* const> partClasses) {
    bool inline_ = false;
    filer->readBool(&inline_);
    clearHeld();
    m_ids.clear();
    m_end.setNull();
    m_byId = !inline_;
    if (!inline_) {
        filer->readIdList(m_ids);
        filer->readHardOwnershipId(&m_end);
        return;
    }
    readCounted(filer, [&] {
        Adesk::Int16 kind = 0;
        if (partClasses.size() > 1) filer->readInt16(&kind);
        if (kind < 0 || static_cast<std::size_t>(kind) >= partClasses.size()) {
            filer->refuseValue("the class of a part");
            return;
        }
        auto* part = static_cast<AcDbEntity*>(partClasses[static_cast<std::size_t>(kind)]->create());
        part->dwgIn(filer);
        m_held.push_back(part);
    });
}

} // namespace host
