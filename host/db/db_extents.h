#pragma once
// Extents, subentity paths: small value types of the entity protocol.
#include <vector>

#include "host/db/acdb.h"
#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/ac_array.h"
#include "host/rx/acad_status.h"

class AcDbExtents {
public:
    AcDbExtents();
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : m_min(min), m_max(max) {}
    AcGePoint3d minPoint() const { return m_min; }
    AcGePoint3d maxPoint() const { return m_max; }
    bool isEmpty() const { return m_min.x > m_max.x; }
    void addPoint(const AcGePoint3d& p);
    void addExt(const AcDbExtents& other);
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
    void transformBy(const AcGeMatrix3d& m);

private:
    AcGePoint3d m_min, m_max;
};

class AcDbSubentId {
public:
    AcDbSubentId() = default;
    AcDbSubentId(AcDb::SubentType type, Adesk::GsMarker index) : m_type(type), m_index(index) {}
    AcDb::SubentType type() const { return m_type; }
    void setType(AcDb::SubentType type) { m_type = type; }
    Adesk::GsMarker index() const { return m_index; }
    void setIndex(Adesk::GsMarker index) { m_index = index; }
    bool operator==(const AcDbSubentId&) const = default;

private:
    AcDb::SubentType m_type = AcDb::kNullSubentType;
    Adesk::GsMarker m_index = 0;
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;

class AcDbFullSubentPath {
public:
    AcDbFullSubentPath() = default;
    AcDbFullSubentPath(AcDbObjectId id, AcDb::SubentType type, Adesk::GsMarker index)
        : m_subent(type, index) {
        m_ids.append(id);
    }
    AcDbFullSubentPath(const AcDbObjectIdArray& ids, AcDbSubentId subent) : m_ids(ids), m_subent(subent) {}
    AcDbObjectIdArray& objectIds() { return m_ids; }
    const AcDbObjectIdArray& objectIds() const { return m_ids; }
    AcDbSubentId subentId() const { return m_subent; }
    AcDbSubentId& subentId() { return m_subent; }
    bool operator==(const AcDbFullSubentPath&) const = default;

private:
    AcDbObjectIdArray m_ids;
    AcDbSubentId m_subent;
};

using AcDbFullSubentPathArray = AcArray<AcDbFullSubentPath>;
