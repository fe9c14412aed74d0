#pragma once
// Entities: the graphical objects of a drawing, with their common properties and the protocol through which
// the host draws, lists, snaps to, grips, stretches, transforms, explodes and intersects them.
#include <optional>
#include <string>

#include "host/db/cm_color.h"
#include "host/db/db_extents.h"
#include "host/db/db_object.h"
#include "host/graphics/gi.h"
#include "host/rx/ac_array.h"

namespace AcDb {
enum SaveType { kR12Save = 0, kR13Save = 1 };
}

using AcDbGsMarkerArray = AcArray<Adesk::GsMarker>;

namespace host {
// The part of a sequence at fault (its place among the parts, npos for the owner itself) and why.
struct SequenceFault {
    std::size_t part;
    std::string what;
};
} // namespace host

class AcDbEntity : public AcDbObject {
    HOST_DECLARE_MEMBERS(AcDbEntity)
public:
    AcDbObjectId blockId() const { return ownerId(); }

    const ACHAR* layer() const { return m_layer.c_str(); }
    AcDbObjectId layerId() const;
    // The layer must exist in the entity's database (else the working database): otherwise eKeyNotFound.
    Acad::ErrorStatus setLayer(const ACHAR* name, bool doSubents = true, bool allowHiddenLayer = false);
    Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true, bool allowHiddenLayer = false);
    const ACHAR* linetype() const { return linetypeName().c_str(); }
    AcDbObjectId linetypeId() const;
    Acad::ErrorStatus setLinetype(const ACHAR* name, bool doSubents = true);
    Acad::ErrorStatus setLinetype(AcDbObjectId linetypeId, bool doSubents = true);
    Adesk::UInt16 colorIndex() const { return m_color; }
    // 0 by block, 1-255, 256 by layer; anything else is eInvalidInput.
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 index, bool doSubents = true);
    AcCmColor color() const { return AcCmColor(m_color); }
    Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
    double linetypeScale() const { return m_linetypeScale; }
    Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);
    AcDb::LineWeight lineWeight() const { return m_lineWeight; }
    virtual Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight, bool doSubents = true);
    AcDb::Visibility visibility() const { return m_visibility; }
    Acad::ErrorStatus setVisibility(AcDb::Visibility visibility, bool doSubents = true);
    // Layer, linetype, colour, linetype scale, lineweight and visibility of `other`.
    Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* other, bool doSubents = true);
    // The current properties of the database (null: the working database).
    void setDatabaseDefaults(AcDbDatabase* database = nullptr);
    // The entity's layer colour when it is by layer, else its own colour (7 when unknown).
    Adesk::UInt16 effectiveColorIndex() const;

    void list() const { subList(); }
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const { return subGetGeomExtents(extents); }
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) { return subTransformBy(xform); }
    Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
        return subGetTransformedCopy(xform, copy);
    }
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const { return subExplode(entities); }
    Acad::ErrorStatus getOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker gsMarker,
                                     const AcGePoint3d& pickPoint, const AcGePoint3d& lastPoint,
                                     const AcGeMatrix3d& viewXform, AcGePoint3dArray& snapPoints,
                                     AcDbIntArray& geomIds) const {
        return subGetOsnapPoints(mode, gsMarker, pickPoint, lastPoint, viewXform, snapPoints, geomIds);
    }
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const {
        return subGetGripPoints(points, osnapModes, geomIds);
    }
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
        return subMoveGripPointsAt(indices, offset);
    }
    Acad::ErrorStatus getStretchPoints(AcGePoint3dArray& points) const { return subGetStretchPoints(points); }
    Acad::ErrorStatus moveStretchPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
        return subMoveStretchPointsAt(indices, offset);
    }
    Acad::ErrorStatus getSubentPathsAtGsMarker(AcDb::SubentType type, Adesk::GsMarker gsMark,
                                               const AcGePoint3d& pickPoint, const AcGeMatrix3d& viewXform,
                                               int& numPaths, AcDbFullSubentPath*& subentPaths,
                                               int numInserts = 0,
                                               AcDbObjectId* entAndInsertStack = nullptr) const {
        return subGetSubentPathsAtGsMarker(type, gsMark, pickPoint, viewXform, numPaths, subentPaths,
                                           numInserts, entAndInsertStack);
    }
    Acad::ErrorStatus getGsMarkersAtSubentPath(const AcDbFullSubentPath& path,
                                               AcDbGsMarkerArray& markers) const {
        return subGetGsMarkersAtSubentPath(path, markers);
    }
    AcDbEntity* subentPtr(const AcDbFullSubentPath& path) const { return subSubentPtr(path); }
    // Highlights the parts of the path, found through the entity's markers for it, or the whole entity for a
    // path without a subentity; the host keeps what each entity has highlighted (host/graphics/highlights.h).
    Acad::ErrorStatus highlight(const AcDbFullSubentPath& path = AcDbFullSubentPath(),
                                bool highlightAll = false) const;
    Acad::ErrorStatus unhighlight(const AcDbFullSubentPath& path = AcDbFullSubentPath(),
                                  bool highlightAll = false) const;
    Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type, AcGePoint3dArray& points,
                                    Adesk::GsMarker thisMarker = 0, Adesk::GsMarker otherMarker = 0) const {
        return subIntersectWith(other, type, points, thisMarker, otherMarker);
    }
    Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type, const AcGePlane& projPlane,
                                    AcGePoint3dArray& points, Adesk::GsMarker thisMarker = 0,
                                    Adesk::GsMarker otherMarker = 0) const {
        return subIntersectWith(other, type, projPlane, points, thisMarker, otherMarker);
    }
    // Asks for a redraw; the host draws on demand, so there is nothing to queue.
    Acad::ErrorStatus draw() { return Acad::eOk; }
    void recordGraphicsModified(bool = true) {}

    // The protocol. Defaults: lists the common properties, no extents, transforms refused, no explosion,
    // no snap or grip points, no subentities, no intersections.
    virtual void subList() const;
    virtual Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const;
    virtual Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform);
    virtual Acad::ErrorStatus subGetTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const;
    virtual Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const;
    virtual Acad::ErrorStatus subGetOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker gsMarker,
                                                const AcGePoint3d& pickPoint, const AcGePoint3d& lastPoint,
                                                const AcGeMatrix3d& viewXform, AcGePoint3dArray& snapPoints,
                                                AcDbIntArray& geomIds) const;
    virtual Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                               AcDbIntArray& geomIds) const;
    virtual Acad::ErrorStatus subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset);
    virtual Acad::ErrorStatus subGetStretchPoints(AcGePoint3dArray& points) const;
    virtual Acad::ErrorStatus subMoveStretchPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset);
    virtual Acad::ErrorStatus subGetSubentPathsAtGsMarker(AcDb::SubentType type, Adesk::GsMarker gsMark,
                                                          const AcGePoint3d& pickPoint,
                                                          const AcGeMatrix3d& viewXform, int& numPaths,
                                                          AcDbFullSubentPath*& subentPaths, int numInserts,
                                                          AcDbObjectId* entAndInsertStack) const;
    virtual Acad::ErrorStatus subGetGsMarkersAtSubentPath(const AcDbFullSubentPath& path,
                                                          AcDbGsMarkerArray& markers) const;
    virtual AcDbEntity* subSubentPtr(const AcDbFullSubentPath& path) const;
    virtual Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                               AcGePoint3dArray& points, Adesk::GsMarker thisMarker,
                                               Adesk::GsMarker otherMarker) const;
    virtual Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                               const AcGePlane& projPlane, AcGePoint3dArray& points,
                                               Adesk::GsMarker thisMarker, Adesk::GsMarker otherMarker) const;
    // Proxy graphics of older formats; the default draws the entity.
    virtual void saveAs(AcGiWorldDraw* mode, AcDb::SaveType type);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    // Host internals: entities that drawing files follow with entities they own (a polyline's vertices
    // and its sequence end), and the reader handing those back.
    virtual std::vector<AcDbObjectId> sequenceIds() const { return {}; }
    virtual void adoptSequence(const std::vector<AcDbObjectId>&) {}
    // Why the parts adopted do not make a whole (a count they do not hold, a part naming one that is not
    // there), for readers to refuse the file; none when they do.
    virtual std::optional<host::SequenceFault> sequenceFault() const { return std::nullopt; }

protected:
    // Sets a normal (stored as a unit vector); a zero vector is eInvalidInput.
    Acad::ErrorStatus setNormalField(AcGeVector3d& field, const AcGeVector3d& normal) {
        return normal.isZeroLength() ? Acad::eInvalidInput : setField(field, normal.normal());
    }
    // Reads the groups of a subclass after its marker; a missing marker is eBadDxfSequence.
    template <typename F> Acad::ErrorStatus readSubclass(AcDbDxfFiler* filer, const ACHAR* marker, F take);

private:
    const std::wstring& linetypeName() const;

    std::wstring m_layer = L"0";
    // Empty for ByLayer: the linetype of nearly every entity, kept without an allocation per entity.
    std::wstring m_linetype;
    Adesk::UInt16 m_color = AcCmColor::kByLayer;
    double m_linetypeScale = 1.0;
    AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLayer;
    AcDb::Visibility m_visibility = AcDb::kVisible;
};

#include "host/filing/dxf_filer.h"

template <typename F>
Acad::ErrorStatus AcDbEntity::readSubclass(AcDbDxfFiler* filer, const ACHAR* marker, F take) {
    if (!filer->atSubclassData(marker)) {
        filer->setFilerStatus(Acad::eBadDxfSequence);
        return Acad::eBadDxfSequence;
    }
    return host::readSubclassGroups(filer, take);
}

namespace host {
// The object of class `T` that `id` stands for, or null: a look that opens nothing.
template <typename T> T* objectOf(AcDbObjectId id) {
    return id.isValid() ? T::cast(id.stub()->object) : nullptr;
}
// The same, null for an erased object.
template <typename T> T* liveObjectOf(AcDbObjectId id) {
    return id.isErased() ? nullptr : objectOf<T>(id);
}
} // namespace host

// A point of a result buffer.
inline AcGePoint3d asPoint(const resbuf& rb) {
    return AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
}
inline AcGeVector3d asVector(const resbuf& rb) {
    return AcGeVector3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
}
// The unit vector along `v`, or nullopt for none: a zero vector, or one too long to be measured.
std::optional<AcGeVector3d> unitAlong(const AcGeVector3d& v);
// A normal of a result buffer, kept as a unit vector; a vector with none leaves `normal` as it was.
inline void readNormal(const resbuf& rb, AcGeVector3d& normal) {
    normal = unitAlong(asVector(rb)).value_or(normal);
}
// The same from a binary file, where a normal without a direction is refused (refuseValue), since no DXF file
// could give it.
void readNormal(AcDbDwgFiler* filer, AcGeVector3d& normal);
// The thickness (39) and normal (210) groups, which every entity lying in a plane reads alike; false for any
// other group.
inline bool readThicknessOrNormal(const resbuf& rb, double& thickness, AcGeVector3d& normal) {
    if (rb.restype == 39)
        thickness = rb.resval.rreal;
    else if (rb.restype == 210)
        readNormal(rb, normal);
    else
        return false;
    return true;
}
