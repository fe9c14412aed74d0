#pragma once
// Hatches: loops in the plane of the hatch's normal at its elevation (polyline loops with bulges, or edges:
// lines, circular and elliptic arcs), a pattern, and optionally the boundary objects it follows.
#include <string>
#include <variant>
#include <vector>

#include "host/entities/entity.h"
#include "host/entities/hatch_pattern.h"
#include "host/ge/ge_curves2d.h"

using AcGeVoidPointerArray = AcArray<void*>;

class AcDbHatch : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbHatch)
public:
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
    enum HatchLoopType {
        kDefault = 0,
        kExternal = 1,
        kPolyline = 2,
        kDerived = 4,
        kTextbox = 8,
        kOutermost = 0x10
    };
    enum HatchEdgeType { kLine = 1, kCirArc = 2, kEllArc = 3, kSpline = 4 };
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };

    int numLoops() const { return static_cast<int>(m_loops.size()); }
    Adesk::Int32 loopTypeAt(int index) const;
    // A polyline loop: points (and bulges, one per point or none) of its vertices.
    Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                 const AcGeDoubleArray& bulges);
    // A loop of edges (AcGeLineSeg2d, AcGeCircArc2d, AcGeEllipArc2d, AcGeNurbCurve2d); the hatch takes them.
    Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGeVoidPointerArray& edgePtrs,
                                 const AcGeIntArray& edgeTypes);
    // A loop following boundary objects (curves of the hatch's database): kept as sources when the hatch
    // is associative. A boundary the host cannot follow answers eInvalidInput and adds nothing.
    Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& dbObjIds);
    Acad::ErrorStatus removeLoopAt(int index);
    Acad::ErrorStatus getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                                AcGeDoubleArray& bulges) const;
    // Edges as new objects that the caller deletes.
    Acad::ErrorStatus getLoopAt(int index, Adesk::Int32& loopType, AcGeVoidPointerArray& edgePtrs,
                                AcGeIntArray& edgeTypes) const;
    Acad::ErrorStatus getAssocObjIdsAt(int index, AcDbObjectIdArray& ids) const;
    Acad::ErrorStatus getAssocObjIds(AcDbObjectIdArray& ids) const;

    bool associative() const { return m_associative; }
    Acad::ErrorStatus setAssociative(bool associative);
    HatchPatternType patternType() const { return m_patternType; }
    const ACHAR* patternName() const { return m_patternName.c_str(); }
    Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
    bool isSolidFill() const;
    double patternAngle() const { return m_angle; }
    Acad::ErrorStatus setPatternAngle(double angle);
    double patternScale() const { return m_scale; }
    Acad::ErrorStatus setPatternScale(double scale);
    double patternSpace() const { return m_space; }
    Acad::ErrorStatus setPatternSpace(double space);
    bool patternDouble() const { return m_double; }
    Acad::ErrorStatus setPatternDouble(bool isDouble);
    HatchStyle hatchStyle() const { return m_style; }
    Acad::ErrorStatus setHatchStyle(HatchStyle style);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double elevation);
    // The pattern's line families as a drawing file gave them (angle and scale applied; dashes positive, gaps
    // negative). The host has no pattern file: a pattern set in code has none. A new pattern forgets them,
    // as does a new spacing or double flag of a user-defined hatch; a new angle or scale turns or scales
    // them.
    int numPatternDefinitions() const { return static_cast<int>(m_definitions.size()); }
    Acad::ErrorStatus getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY,
                                             double& offsetX, double& offsetY, AcGeDoubleArray& dashes) const;
    // Nothing to compute: the pattern lines are made as the hatch is drawn.
    Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);

    // In world coordinates: a solid fill as a polygon per loop; a pattern as its lines inside the loops (a
    // user-defined one as its line at the pattern angle every pattern space, crossed when double); a pattern
    // whose lines are not known as its loops' outlines.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    using Edge = std::variant<AcGeLineSeg2d, AcGeCircArc2d, AcGeEllipArc2d, AcGeNurbCurve2d>;
    struct Loop {
        Adesk::Int32 type = kDefault;
        std::vector<AcGePoint2d> vertices; // polyline loops
        std::vector<double> bulges;
        std::vector<Edge> edges; // edge loops
        std::vector<AcDbObjectId> sources;
        bool isPolyline() const { return type & kPolyline; }
    };
    static void writeEdge(AcDbDwgFiler* filer, const Edge& edge);
    static Edge readEdge(AcDbDwgFiler* filer);
    static AcGeNurbCurve2d readSplineEdge(AcDbDwgFiler* filer);
    // The loop's outline as points in the hatch's plane (z 0).
    AcGePoint3dArray outline(const Loop& loop) const;
    AcGeMatrix3d planeToWorld() const;
    // The line families drawn: the definitions, else a user-defined hatch's own line (and its crossing
    // line when `crossed` and double).
    std::vector<host::PatternLine> patternLines(bool crossed) const;

    std::vector<Loop> m_loops;
    bool m_associative = false, m_double = false;
    HatchPatternType m_patternType = kPreDefined;
    std::wstring m_patternName = L"SOLID";
    HatchStyle m_style = kNormal;
    double m_angle = 0, m_scale = 1, m_space = 1, m_elevation = 0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    std::vector<AcGePoint2d> m_seeds;
    std::vector<host::PatternLine> m_definitions;
};
