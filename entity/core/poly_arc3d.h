#pragma once
// CPolyArc3D: the surveying polyline entity. A 3-D polyline whose segments are straight or circular arcs (the
// bulge of a segment's start vertex), whose vertices are P_Vertex nodes with surveying attributes, and which
// may keep its points in a coordinate system of its own, given by a normal.
//
// The vertices form a doubly linked list that is never circular (closing is bit 0 of f70). Its nodes come
// from a class-wide pool of blocks and go back to it; no node is allocated on its own. Stored points are in
// the entity's own system: a world point w is stored as Mat3D::ApplyToPt(w).
//
// Every operation that changes the entity calls POLYModif first, which asserts write access (recording the
// undo image) and notes the entity's kind as the last kind changed.
//
// Class-wide state (pool, option word, last kind, announcement, cached classes) belongs to the host's command
// thread and is not synchronised.
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "geometry/points/point3d.h"
#include "geometry/points/vertex.h"
#include "geometry/transforms/mat3d.h"
#include "host/entities/curve.h"
#include "platform/base/ptr_array.h"

class AcDbPolyline;
class AcDb2dPolyline;
class AcDb3dPolyline;
class CArc3d;
class CPoint3dArray;
// Context of the explosion with cartographic styles: passed through, never read here.
class cartolgn;

class CPolyArc3D : public AcDbCurve {
public:
    // Kind word: what the object is, whatever class the host sees.
    static constexpr int kBareKind = 0; // a temporary CPolyArc3D
    static constexpr int kTavroKind = 1;
    static constexpr int kPolyArcKind = 2;

    // Bits of the option word of the DXF writer.
    static constexpr int kEntgetHeader = 0x10000000;   // host groups and header groups
    static constexpr int kEntgetVertices = 0x20000000; // vertex groups
    static constexpr int kEntgetTavroKeep = 0x40000000;
    static constexpr int kEntgetVertexMask = 0x0FFFFFFF; // N != 0: only the N-th vertex (from 1)

    struct NodeBlock;

    // The node pool: blocks of kNodesPerBlock nodes, a free list chained through pVN (nodes given back; the
    // newest block's nodes never taken are handed out after them), the number of free nodes, and the number
    // of live entities (the blocks are freed when the last one is destroyed).
    static constexpr int kNodesPerBlock = 500;
    // Distance between neighbouring nodes of a block (a 68-byte node on an 8-byte boundary).
    static constexpr std::size_t kNodeStride = 72;
    // Nodes taken one after another lie one after another in the blocks: a long walk asks for the node some
    // places on while it works on this one, so that it does not wait on memory. A guess that misses (a list
    // edited since) costs nothing.
    static void prefetchAhead(const P_Vertex* v) {
        __builtin_prefetch(reinterpret_cast<const char*>(v) + 16 * kNodeStride);
    }
    // The node after v, for the same reason: taken from the guess of the next slot when the link confirms
    // it, the next address does not wait for the link's load, and the processor runs ahead on it.
    static const P_Vertex* following(const P_Vertex* v) {
        const P_Vertex* next = v->pVN;
        auto base = reinterpret_cast<std::uintptr_t>(v);
        if (reinterpret_cast<std::uintptr_t>(next) != base + kNodeStride) return next;
        // The address is made again from v, hidden from the compiler: knowing it equal to the link, it would
        // otherwise answer the link itself, or select it without a branch, and the walk would wait again.
        asm volatile("" : "+r"(base));
        return reinterpret_cast<const P_Vertex*>(base + kNodeStride);
    }
    static NodeBlock* gm_pBlocks;
    static P_Vertex* gm_pNodeFree;
    static int gm_nCount;
    static int gm_nelements;

    // Option word of the DXF writer; the LISP functions set it around their list requests.
    static int g_PolyEntgetOption;
    static constexpr int g_PolyEntgetOptDef = kEntgetHeader | kEntgetVertices;
    // Spatial input option of the editor and command flag word of the extend mode.
    static int m_Sz3DSpaceOpt;
    static int m_PolyArc3dCmdeFlag;

    // Puts the option words, the last kind, the announcement and the header-only switch back to their load
    // values (tests). The pool is left alone: it follows the live entities.
    static void resetClassState();

    // While one lives, the next entity filed by a copy filer is written without its vertices (header,
    // normal and host fields only): how a piece is made from a copy of its whole. Any other filing, and
    // everything after the scope, writes the vertices.
    class HeaderOnlyCopy {
    public:
        HeaderOnlyCopy();
        ~HeaderOnlyCopy();
        HeaderOnlyCopy(const HeaderOnlyCopy&) = delete;
        HeaderOnlyCopy& operator=(const HeaderOnlyCopy&) = delete;

    private:
        bool m_outer;
    };

    CPolyArc3D();
    ~CPolyArc3D() override;

    int kindWord() const { return m_Kind; }

    // Bookkeeping of the piece and join operations; never filed.
    std::int64_t m_Scratch = 0;

    // Changes with every change notice and every filing in, and differs between any two entities: whoever
    // keeps facts about the vertex list (such as which nodes it holds) knows they still hold while it stays.
    std::uint64_t changeStamp() const { return m_changeStamp; }

    // --- Vertex list
    P_Vertex* H() const { return m_pHead; }
    P_Vertex* T() const { return m_pTail; }
    // n steps after the head (n <= 0: the head) / |n| steps before the tail; null past the end.
    P_Vertex* H(int n) const;
    P_Vertex* T(int n) const;
    // Next and previous vertex, wrapping from the tail to the head (and back) on an entity closed in plan.
    P_Vertex* N(P_Vertex* v) const;
    P_Vertex* B(P_Vertex* v) const;
    // n steps forward (n > 0) or back (n < 0), wrapping as N and B; null once an open end is passed.
    P_Vertex* N(P_Vertex* v, int n) const;
    // Next / previous vertex that is not generated; null when the walk comes back to v or passes an end.
    P_Vertex* Nxyz(P_Vertex* v) const;
    P_Vertex* Bxyz(P_Vertex* v) const;

    // A new vertex after the tail / after `after` (at the head for null), a copy of src's attributes (all
    // zero for null). Both notify.
    P_Vertex* A(const P_Vertex* src = nullptr);
    P_Vertex* I(P_Vertex* after, const P_Vertex* src = nullptr);
    // Deletes v (the tail for null); with chain != 0 also the run of generated vertices that follows it
    // (forward when chain > 0 or v was the head, else backward). Answers the vertex that now follows the
    // removed run, null when there is none or the list was empty.
    P_Vertex* D(P_Vertex* v = nullptr, int chain = 0);
    // Deletes v after handing its vertex code (and on an open entity, to a generated follower, its flag
    // word) on to its follower; answers the follower.
    P_Vertex* Dmaj(P_Vertex* v);
    // Empties the list in one splice; a non-empty list also clears f70.
    void RemoveAll();
    // A node from the pool with its own links set, the count raised; other fields are left as they are.
    P_Vertex* NewNode(P_Vertex* prev, P_Vertex* next) {
        P_Vertex* v = gm_pNodeFree;
        if (v) [[likely]]
            gm_pNodeFree = v->pVN;
        else
            v = takeFreshNode();
        // Each take reads the link of the node it takes: the free nodes some takes on are on their way
        // while this one is filled (a spliced chain comes back in the order it was taken).
        prefetchAhead(v);
        --gm_nCount;
        v->pVB = prev;
        v->pVN = next;
        ++m_nVertex;
        return v;
    }
    // Gives an unlinked node back to the pool, the count lowered.
    void FreeNode(P_Vertex* v) {
        v->pVN = gm_pNodeFree;
        gm_pNodeFree = v;
        ++gm_nCount;
        --m_nVertex;
    }
    // Hands the chain to the caller (head answered, count kept) / installs a chain (count: GetCount(0)).
    P_Vertex* Detach();
    P_Vertex* Attach(P_Vertex* head, P_Vertex* tail);
    int GetCount() const { return m_nVertex; }
    // Whether every coordinate and bulge is finite and no bulge is beyond kLargestBulge.
    bool hasSoundVertices() const;
    static bool isSoundVertex(const P_Vertex* v) {
        const double x = v->pt.x;
        const double y = v->pt.y;
        const double z = v->pt.z;
        // x - x is 0 for a finite x and NaN otherwise: one test for the three coordinates, in every walk.
        const bool finite = (x - x) + (y - y) + (z - z) == 0;
        // Beyond the largest bulge the arc geometry clamps it: the segment is no longer the one stored. A
        // bulge that is not finite fails the comparison too.
        return finite & (std::fabs(double(v->bulge)) <= kLargestBulge);
    }
    // n = 0: counts the list; stores n (or the count) and answers it.
    int GetCount(int n);
    // Index of v from 0, -1 when v is not in this list.
    int operator[](const P_Vertex* v) const;
    // The vertex at index i, null out of range.
    P_Vertex* operator[](std::int64_t i) const { return GetIndex(i); }
    P_Vertex* operator[](int i) const { return GetIndex(i); }
    P_Vertex* GetIndex(std::int64_t i) const;

    double f39() const { return m_f39; }
    void f39(double v);
    short f70() const { return m_f70; }
    void f70(short v);
    short f71() const { return m_f71; }
    void f71(short v);
    double f42() const { return m_f42; }
    void f42(double v);
    double f43() const { return m_f43; }
    void f43(double v);

    // --- Closing
    bool isClosed() const override;
    bool isClosed2D() const;
    // Removes a last vertex that repeats the first (3-D, within _ecpt) and sets the closed bit; then
    // MajExtremite. Answers the closed bit.
    int MajClosed();
    // Clears the generated bit on the head, and on the tail unless the entity is closed in plan.
    void MajExtremite();
    void setClosed(bool closed);

    // --- Own coordinate system
    // Sets the system (null: world). With move, stored points keep their world position.
    Acad::ErrorStatus setSNormal(const Mat3D* m, int move);
    // The system of a normal; a normal within 1e-5 of +Z in plan means the world system.
    Acad::ErrorStatus setSNormal(const AcGeVector3d& normal, int move);
    const Mat3D* normalMatrix() const { return m_pNormal; }
    AcGeVector3d Snormal() const;
    // The world point of a stored point; an empty point (x = kEmptyCoordinate) is answered as it is.
    CPoint3d WorldPoint(const CPoint3d* p) const;
    CPoint3d WorldPoint(const P_Vertex* v) const;
    // Maps stored points to world in place; 0 (nothing done) without a system.
    int MatNormalFuncInv(AcGePoint3dArray& points) const;
    // The plug-in's empty coordinate, -1e100/pi.
    static const double kEmptyCoordinate;

    // --- Identification
    // The class of the entity last changed: PolyArc3D when that was one, else tavro_poly when registered,
    // else PolyArc3D (null when neither is registered).
    static AcRxClass* desc();
    static CPolyArc3D* cast(const AcRxObject* o);
    static CPolyArc3D* castPolyArc3D(void* p);
    void setLastFlagCPolyArc3D() const;

    // --- Filing and database hooks
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    // Empties this entity and copies src's header, system, lineweight and vertices.
    Acad::ErrorStatus copyVertexFrom(const CPolyArc3D* src);
    Acad::ErrorStatus subOpen(AcDb::OpenMode mode) override;
    Acad::ErrorStatus subClose() override;
    Acad::ErrorStatus subErase(bool erasing) override;
    // Formats up to version 20 get a host 2-D or 3-D polyline in place of the entity.
    Acad::ErrorStatus decomposeForSave(AcDb::AcDbDwgVersion version, AcDbObject*& replaceObj,
                                       AcDbObjectId& replaceId, bool& exchangeXData) override;
    // Drawing belongs to the registered classes.
    bool subWorldDraw(AcGiWorldDraw* draw) override;

    // --- Measuring. Points and lengths are in the entity's own system; a walk from a vertex follows N, so
    // the closing segment of a closed entity counts. Flags of ptAtPoint and ptAtDist: 1 lengths in 3-D
    // (else in plan), 2 insert a vertex at the point found, 4 and 8 adjust the generated neighbours of an
    // inserted vertex. An entity with a non-finite coordinate or bulge, or a bulge beyond kLargestBulge,
    // answers each operation's failure value and is left as it is.
    static constexpr double kLargestBulge = 300000;
    // The start vertex of the segment nearest to p (or the vertex inserted there); null when nothing is
    // found. outAlong: distance along that segment, outOffset: signed offset from it (positive on the right),
    // outCumul: length from `from` (null: the head) to the point.
    P_Vertex* ptAtPoint(P_Vertex* from, CPoint3d* p, double tol, int flags, CPoint3d* outPt, double* outAlong,
                        double* outOffset, double* outCumul) const;
    // The start vertex of the segment holding the point at `dist` from `from` (or the vertex inserted there).
    P_Vertex* ptAtDist(P_Vertex* from, double dist, double tol, int flags, CPoint3d* outPt,
                       double* outAlong) const;
    // Total length; with clean, segments not longer than _ecpt lose their start vertex first; noArcs measures
    // chords. outArea receives getArea.
    double getLen(int in3d, int clean, int noArcs, double* outArea) const;
    // Length from `from` (null: the head) to target (null: the whole length).
    double getLenAtVertex(P_Vertex* target, int in3d, P_Vertex* from) const;
    // Signed area in plan, arcs included, positive for a clockwise outline, summed over the pieces of eclate;
    // outPerimeter receives the plan length of the outlines.
    double getArea(double* outPerimeter) const;
    // In plan, arcs as chords: 1 inside, -1 outside, 0 on the outline, -2 for an entity that is not closed,
    // dflt when no part of the outline lies below p.
    int isInside(CPoint3d p, int dflt);
    // Interpolates unknown heights (z of 0, generated vertices, heights outside [zmin, zmax]) along the
    // polyline between known ones; answers how many, -2 for an empty entity.
    int epolyz(double zmin, double zmax);
    // Replaces each arc by chords within the sagitta (negative: the library's largest) as generated vertices;
    // answers how many were inserted.
    int edivarc(double sagitta);
    // The world points of the polyline, arcs cut into chords within the sagitta (0: arcs as chords; negative:
    // the library's largest), ending with the end of the last segment; answers their number.
    int topts(AcGePoint3dArray& pts, double sagitta) const;
    // Appends the chords of one segment arc within the sagitta (start, inner points and end, no offsets);
    // answers the number appended.
    static int appendArcPoints(CArc3d& arc, AcGePoint3dArray& points, double sagitta);

    // --- Editing algorithms
    // Offset by dist (positive on the right) plus widthFactor times each vertex's width; a new entity that
    // the caller owns, or null. The two int arguments are not used.
    CPolyArc3D* decale(double dist, double widthFactor, int, int) const;
    // Joins the items (host entities, opened for write, as AcDbEntity pointers) to target end to end where
    // their ends meet within tol (at pick when given); answers how many were joined. With mode bit 0 the
    // joined items are erased and every item is closed.
    static int joind(CPolyArc3D* target, CPtrArray& items, int mode, double tol, CPoint3d* pick);
    // With fewer than two items only closes a repeated closing vertex.
    void joind(CPtrArray* items);
    // Splits the polyline into pieces at breaks (tef1 2 and 3), inner rings (tef1 6) and, with mode bit 1,
    // loops. An empty array starts from a copy of the entity; the pieces are new objects the caller owns.
    // Answers the number of pieces in the array.
    int eclate(CPtrArray* pieces, int mode);
    // Cuts between a and b (a alone: at a): this entity keeps its head to a; answers a new entity from b to
    // the tail, or null. A closed entity with mode bit 0 is opened there instead (null answered).
    CPolyArc3D* coupe(P_Vertex* a, P_Vertex* b, int mode);
    // Recomputes the attributes of the generated vertices of a stretch (a null or 1: all); answers the number
    // of vertices visited.
    int majVertex(P_Vertex* a, P_Vertex* b);
    // Closes ends that meet, then (mode bits) 4 adds a generated midpoint to each arc, 2 smooths, 1 updates
    // the generated vertices. Answers the number of midpoints (1 when not asked), -1 with fewer than 2
    // vertices.
    int maj(int mode, double tolXY, double tolZ);
    // Removes vertices closer than minDist and those within tolXY / tolZ of a chord or arc through their
    // neighbours; attrs bits (1 tef1, 2 tef2, 4 i39, 8 i40) keep vertices whose attributes differ. Answers
    // the number removed.
    int EpurePts(double tolXY, double tolZ, double minDist, double maxDist, int attrs);

    // --- Curve protocol. Points and vectors given to and answered to the host are world; a curve parameter
    // is the index of a segment's start vertex (every vertex counts) plus the fraction of that segment's
    // length. Distances along the curve are 3-D unless bit 3 of f71 asks for plan measurement. The last point
    // answered by getClosestPointTo.
    static CPoint3d __ptgen;
    bool measuresInPlan() const { return (m_f71 & 8) != 0; }
    // count - 1, or count when the closed bit is set; -1 for an empty entity.
    double endParam() const;
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const override;
    Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const override;
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getSecondDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const override;
    // The extend flag is not used: the nearest point of the polyline itself.
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                        bool extend = false) const override;
    // The direction is not used.
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,
                                        AcGePoint3d& pointOnCurve, bool extend = false) const override;
    Acad::ErrorStatus getArea(double& area) const override;
    bool isPlanar() const override;
    Acad::ErrorStatus getPlane(AcGePlane& plane, AcDb::Planarity& type) const override;
    // A copy of the same class lying in the plane: in its system, every vertex at height 0.
    Acad::ErrorStatus getOrthoProjectedCurve(const AcGePlane& plane,
                                             AcDbCurve*& projectedCurve) const override;
    Acad::ErrorStatus getProjectedCurve(const AcGePlane& plane, const AcGeVector3d& direction,
                                        AcDbCurve*& projectedCurve) const override;
    Acad::ErrorStatus getSpline(AcDbSpline*& spline) const override;
    Acad::ErrorStatus extend(double newParam) override;
    // The host's EXTEND: moves the start or the end vertex along its segment to the projection of toPoint.
    Acad::ErrorStatus extend(bool extendStart, const AcGePoint3d& toPoint) override;
    // Pieces of the same class, in the order of the curve; the caller owns them.
    Acad::ErrorStatus getSplitCurves(const AcGeDoubleArray& params,
                                     AcDbVoidPtrArray& curveSegments) const override;
    Acad::ErrorStatus getSplitCurves(const AcGePoint3dArray& points,
                                     AcDbVoidPtrArray& curveSegments) const override;

    // --- Entity protocol: extents, grips, stretching, transforms, subentities, listing.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    // One grip per vertex, so that grip indexes are vertex indexes; generated vertices at (-1e9, -1e9, -1e9).
    Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                       AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    Acad::ErrorStatus subGetStretchPoints(AcGePoint3dArray& points) const override;
    Acad::ErrorStatus subMoveStretchPointsAt(const AcDbIntArray& indices,
                                             const AcGeVector3d& offset) override;
    // Refuses (eCannotScaleNonUniformly, nothing changed) a transform that would turn its arcs into
    // something that is not a circle.
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus subGetTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const override;
    // Edge k - 1 and vertices k - 1 and k stand for graphics marker k.
    AcDbEntity* subSubentPtr(const AcDbFullSubentPath& path) const override;
    Acad::ErrorStatus subGetSubentPathsAtGsMarker(AcDb::SubentType type, Adesk::GsMarker gsMark,
                                                  const AcGePoint3d& pickPoint, const AcGeMatrix3d& viewXform,
                                                  int& numPaths, AcDbFullSubentPath*& subentPaths,
                                                  int numInserts,
                                                  AcDbObjectId* entAndInsertStack) const override;
    Acad::ErrorStatus subGetGsMarkersAtSubentPath(const AcDbFullSubentPath& path,
                                                  AcDbGsMarkerArray& markers) const override;
    // The header, extended data, lengths, area and one block per vertex, pausing every 50 blocks.
    void subList() const override;
    void subViewportDraw(AcGiViewportDraw* draw) override;
    void saveAs(AcGiWorldDraw* mode, AcDb::SaveType type) override;

    // --- Object snaps and intersections. Points also go to the OsnapRequest registered for the entity.
    // Snap points of one segment: the one under the pick for marker 0, else segment marker - 1.
    Acad::ErrorStatus subGetOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker gsMarker,
                                        const AcGePoint3d& pickPoint, const AcGePoint3d& lastPoint,
                                        const AcGeMatrix3d& viewXform, AcGePoint3dArray& snapPoints,
                                        AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                       AcGePoint3dArray& points, Adesk::GsMarker thisMarker,
                                       Adesk::GsMarker otherMarker) const override;
    Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                       const AcGePlane& projPlane, AcGePoint3dArray& points,
                                       Adesk::GsMarker thisMarker,
                                       Adesk::GsMarker otherMarker) const override;
    // Intersections in plan, in the system of a tilted plane when given, else in the entity's own; markers
    // 1 to 999999 restrict a side to one segment.
    Acad::ErrorStatus myIntersectWith(const AcDbEntity* other, AcDb::Intersect type, const AcGePlane* plane,
                                      AcGePoint3dArray& points, Adesk::GsMarker thisMarker,
                                      Adesk::GsMarker otherMarker) const;

    // --- Own virtual operations, in slot order
    // A new empty object of the same class (null when the heap gives nothing).
    virtual CPolyArc3D* newCPolyArc3D();
    // Appends the vertices of a host curve or another polyline of the system (flags: 1 append to the current
    // space, 2 replace the source, 4 no extended data). Invalid input, nothing changed, for a source of
    // another kind or one that gives no curve. With flag 2 the source is consumed: erased and closed, or
    // deleted once it has handed its place over.
    virtual Acad::ErrorStatus from(AcDbEntity* source, int flags);
    // Host polylines made from this one (flags as `from`, 8 no entity properties; 2 erases and closes this
    // one), closed, their id in id; null when this polyline's coordinates are not sound. to3d cuts arcs into
    // chords within maxDeviation (not above 0: arcs as chords) and refuses a deviation that would make more
    // than a million points.
    virtual AcDbPolyline* tolw(int flags, AcDbObjectId* id);
    virtual AcDb2dPolyline* to2d(int flags, AcDbObjectId* id);
    virtual AcDb3dPolyline* to3d(int flags, double maxDeviation, AcDbObjectId* id);
    virtual double getArea3d(double) const;
    virtual int getAllPoints(CPoint3dArray& points, double) const;
    using AcDbEntity::subExplode;
    virtual Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities, cartolgn* context);
    virtual int c_convert(char mode, AcDbDatabase* database, int space, cartolgn* context,
                          double maxDeviation);
    // The change notice (the argument is not used).
    virtual void POLYModif(char);
    // Places one generated vertex between each two hard vertices of the range (null: from the head / to the
    // tail; `from` alone: around it) so that the two arcs through it form a smooth curve; a bearing below -99
    // is not given. Answers the number of corners and generated vertices handled, -1 with fewer than 2
    // vertices, 0 while another program suspends smoothing.
    virtual int lisse(P_Vertex* from, P_Vertex* to, double startBearing, double endBearing);
    // Replaces runs of vertices lying on one circle within tol by one arc (mode bits: 1 generated vertices,
    // 2 digitised arc points, 4 arcs, 16 any run, 8 marks the ends as corners); answers the number removed,
    // -1 for an empty range.
    virtual int EDelParc(double tol, int mode, P_Vertex* from, P_Vertex* to);
    // Reverses the stretch from..to (null: the head / the tail); mode bit 0 reverses the parts between
    // breaks each on its own. False with fewer than 2 vertices.
    virtual bool einvsens(char mode, P_Vertex* from, P_Vertex* to);
    // Squares the stretch on the bearing of its longest segment: sides nearly along or across it become so,
    // sides near the diagonal become diagonal. maxDeviation != 0 leaves sides further off than it. False with
    // fewer than 2 vertices or a longest segment under 0.5.
    virtual bool eSquare(char mode, double maxDeviation, P_Vertex* from, P_Vertex* to);
    virtual int DrawExt(double, int);

protected:
    // Whether host formats without this entity get a 3-D polyline: a tilted or 3-D mode polyline.
    bool savesAs3dPolyline() const;
    // to2d and to3d; colourByCode gives each host vertex the colour of its vertex code (the polyline's colour
    // without one) and makes to3d cut arcs for any deviation but 0.
    AcDb2dPolyline* make2d(int flags, AcDbObjectId* id, bool colourByCode);
    AcDb3dPolyline* make3d(int flags, double maxDeviation, AcDbObjectId* id, bool colourByCode);
    // Subclass constructors set their kind.
    void setKind(int kind) { m_Kind = kind; }
    // The setters: a change notice, then the field.
    template <class T> void changeField(T& field, T value) {
        POLYModif(1);
        field = value;
    }
    // A new object on the host heap, null when the heap gives nothing.
    template <class Poly> static Poly* allocate() {
        try {
            return new Poly;
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }

private:
    // What the list operations share: a node linked between prev and next with src's attributes.
    P_Vertex* linkNew(P_Vertex* prev, P_Vertex* next, const P_Vertex* src) {
        P_Vertex* v = NewNode(prev, next);
        if (src)
            *v = src;
        else
            v->init();
        (prev ? prev->pVN : m_pHead) = v;
        (next ? next->pVB : m_pTail) = v;
        return v;
    }
    // The next node of the newest block, a new block when it is used up; the free list is empty.
    static P_Vertex* takeFreshNode();
    void unlink(P_Vertex* v);
    // Gives the whole chain back to the pool; the header is left alone.
    void releaseChain();
    // Sets the system without notice; with move, stored points keep their world position.
    void applySystem(const Mat3D* m, bool move);
    // Header fields and system to `other`, which starts a filing in from this entity's state.
    void copyHeaderTo(CPolyArc3D& other) const;
    // Conversion: appends the vertices of a polyline read from a host entity (its system too when this one
    // is empty) and its closed bit.
    void appendVerticesOf(const CPolyArc3D& read);
    // Takes the header, system and (with vertices) the list of `filed`, an entity read from a filer.
    void adoptFiled(CPolyArc3D& filed, bool withVertices);
    // The change notice of filing in: the host files objects in without opening them, so write access is
    // asserted only where it is held.
    void noteFilingIn();
    void announceOnOpen() const;

    // Measuring and editing.
    // Length of the walk from `from` to target (null: to the end, the closing segment included). With
    // `sound`, the walk checks each vertex it leaves and stops at one that cannot be measured, clearing it.
    double lengthAlong(const P_Vertex* from, const P_Vertex* target, bool in3d, bool asChords,
                       bool* sound = nullptr) const;
    void removeShortSegments(bool in3d, bool asChords);
    // ptAtDist once the input is known to be sound.
    P_Vertex* locateAtDistance(P_Vertex* from, double dist, double tol, int flags, CPoint3d* outPt,
                               double* outAlong);
    // Inserts after v a copy of src (zeroed for null) at pt, on v's segment `seg` at the included angle
    // alpha from v, then adjusts the neighbours.
    P_Vertex* insertOnSegment(P_Vertex* v, const P_Vertex* src, const CPoint3d& pt, const CArc3d& seg,
                              double alpha, int flags);
    void adjustInsertion(P_Vertex* v, P_Vertex* n, int flags);
    // Moves the run first..last (in list order) to the tail of `to`; both notify.
    void moveRun(P_Vertex* first, P_Vertex* last, CPolyArc3D& to);
    // The number of vertices in the run first..last; trusts the count of the whole list.
    int runLength(const P_Vertex* first, const P_Vertex* last) const;
    // Makes `head` the head of a closed list, keeping the order round the ring.
    void reroot(P_Vertex* head);
    // Installs the list in the given order.
    void relink(const std::vector<P_Vertex*>& order);
    // A new empty object of the same class with the host properties, system and flag word.
    CPolyArc3D* newPieceLike() const;
    // The pieces of eclate: from a copy of this entity, and of pieces already in the array.
    int explodeCopy(CPtrArray& pieces, int mode) const;
    void splitPieces(CPtrArray& pieces, int first, int mode) const;
    void splitAtCodes(CPtrArray& pieces);
    void splitLoops(std::vector<CPolyArc3D*>& loops);
    static void keepPiece(CPolyArc3D* piece, CPtrArray& pieces);
    // v becomes a corner: no bulge, no generated vertices after it, and the next vertex a corner too.
    void makeCorner(P_Vertex* v);
    // The breaks and digitised arc points of the smoothing range; answers how many.
    int markCornersAndArcs(P_Vertex* first, P_Vertex* last);
    // How a span s..t of the simplification is replaced: by the chord or by an arc.
    struct SpanFit {
        bool fits = false;
        double bulge = 0;
        bool byArc = false;
    };
    SpanFit fitSpan(P_Vertex* s, P_Vertex* t, double tolXY, double tolZ);
    void mergeFittingSpans(double tolXY, double tolZ, double maxDist, int attrs, bool& midpointsInserted);
    // Frees the inserted midpoints (flags 3) that smoothing would leave where they are.
    void releaseMidpointsOnCurve(double tolXY);

    // Curve protocol.
    // The start vertex of the segment holding parameter p (an integer k >= 1 is the end of segment k - 1) and
    // the fraction into it; null for a parameter that is not finite or lies outside [0, endParam()].
    P_Vertex* segmentAtParam(double p, double& fraction) const;
    // The start vertex of the segment at distance d from the head in the measuring mode, and the distance
    // into it; null outside [-1e-4, length + 1e-4]. The length itself is the end of the last segment.
    P_Vertex* segmentAtDist(double d, double& along) const;
    // The length of v's segment in the measuring mode.
    double measuredLength(const P_Vertex* v) const;
    // The world point of a point in the entity's system, and a vector taken to world.
    AcGeVector3d worldVector(CPoint3d v) const;
    // The first and second derivative on v's segment at the fraction f.
    void derivatives(const P_Vertex* v, double f, AcGeVector3d* first, AcGeVector3d* second) const;
    // The segment and fraction of the point nearest to a world point (measuring mode, tolerance _ecpt).
    P_Vertex* segmentAtPoint(const AcGePoint3d& point, double& fraction) const;

    int m_Kind = kBareKind;
    int m_nVertex = 0;
    P_Vertex* m_pHead = nullptr;
    P_Vertex* m_pTail = nullptr;
    double m_f39 = 0.0;
    short m_f71 = 0;
    short m_f70 = 0;
    double m_f43 = 0.0;
    double m_f42 = 0.0;
    Mat3D* m_pNormal = nullptr;
    std::uint64_t m_changeStamp;
    static std::uint64_t gm_lastStamp;
    void newChangeStamp() { m_changeStamp = ++gm_lastStamp; }
};

// 0 for null or a foreign object, 1 a tavro_poly, 2 a PolyArc3D, 10 a bare CPolyArc3D.
int isCPolyArc3D(const AcRxObject* o);
