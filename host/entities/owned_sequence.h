#pragma once
// Entities that an entity owns and that drawing files list right after it, closed by a sequence end: a
// polyline's vertices, a block reference's attributes. Outside a database the owner holds the objects, in a
// database their ids.
#include <span>
#include <vector>

#include "host/entities/entity.h"

class AcDbSequenceEnd : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbSequenceEnd)
};

// Walks the objects an entity owns: by pointer outside a database, by id inside.
class AcDbObjectIterator {
public:
    AcDbObjectIterator(std::vector<AcDbEntity*> entities, std::vector<AcDbObjectId> ids)
        : m_entities(std::move(entities)), m_ids(std::move(ids)) {}
    void start(bool atEnd = false);
    bool done() const;
    void step(bool backwards = false, bool skipErased = true);
    // The object when the owner is outside a database, else null.
    AcDbEntity* entity() const;
    AcDbObjectId objectId() const;
    bool seek(AcDbObjectId id);

private:
    std::size_t size() const { return m_entities.empty() ? m_ids.size() : m_entities.size(); }
    std::vector<AcDbEntity*> m_entities;
    std::vector<AcDbObjectId> m_ids;
    long m_index = 0;
};

namespace host {

class OwnedSequence {
public:
    // A polyline always has its sequence end; a block reference only while it has attributes.
    enum class End { Always, WithParts };

    explicit OwnedSequence(End end) : m_endRule(end) {}
    OwnedSequence(const OwnedSequence&) = delete;
    OwnedSequence& operator=(const OwnedSequence&) = delete;
    ~OwnedSequence();

    // Appends a part outside any database; in a database it is added and owned by `owner`.
    Acad::ErrorStatus append(AcDbEntity* owner, AcDbEntity* part, AcDbObjectId& id);
    // Adds the held parts and the sequence end to the owner's database (once the owner is resident).
    void addToDatabase(AcDbEntity* owner);
    // The parts in order (erased ones left out), for reading.
    template <typename T> std::vector<T*> parts() const;
    // Hands each part of class `T`, open for write, to `change` (held parts are writable already).
    template <typename T, typename F> void changeParts(F change) const;
    AcDbObjectIterator* newIterator() const;
    // The parts' ids, then the sequence end's.
    std::vector<AcDbObjectId> ids() const;
    AcDbObjectId endId() const { return m_end; }
    void adopt(const std::vector<AcDbObjectId>& ids);
    // Parts held by the owner (and all of them when copying) are filed inline, resident ones by id. Where
    // the parts are of several classes, each inline part is preceded by its class's place in `partClasses`.
    void dwgIn(AcDbDwgFiler* filer, AcRxClass* partClass) { dwgIn(filer, std::span(&partClass, 1)); }
    void dwgIn(AcDbDwgFiler* filer, std::span<AcRxClass* const> partClasses);
    void dwgOut(AcDbDwgFiler* filer, std::span<AcRxClass* const> partClasses = {}) const;

private:
    void clearHeld();
    void addEnd(AcDbEntity* owner);
    End m_endRule;
    std::vector<AcDbEntity*> m_held;
    std::vector<AcDbObjectId> m_ids;
    AcDbObjectId m_end;
    bool m_byId = false; // the parts are objects of a database
};

template <typename T> std::vector<T*> OwnedSequence::parts() const {
    std::vector<T*> all;
    if (!m_held.empty() || m_ids.empty()) {
        for (AcDbEntity* part : m_held)
            all.push_back(static_cast<T*>(part));
        return all;
    }
    for (AcDbObjectId id : m_ids)
        if (T* part = liveObjectOf<T>(id)) all.push_back(part);
    return all;
}

template <typename T, typename F> void OwnedSequence::changeParts(F change) const {
    for (T* part : parts<T>()) {
        T* open = nullptr;
        if (!part->database())
            change(part);
        else if (acdbOpenObject(open, part->objectId(), AcDb::kForWrite) == Acad::eOk) {
            change(open);
            open->close();
        }
    }
}

} // namespace host
