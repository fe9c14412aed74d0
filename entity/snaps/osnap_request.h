#pragma once
// OsnapRequest: the link between one polyline and the caller of a snap or an intersection (the LISP
// function ZOR_SNAP, the segment jig). While a request is registered for an entity, every point that the
// entity's snaps and intersections report is also listed in the request with the vertex, segment and mode
// that produced it, the point nearest to the view line through the pick first.
//
// The snap context says which segment and pick the next reported points belong to; the snap and
// intersection code set it before each report. Points and the pick are world points. Process-wide, host
// command thread only.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "geometry/points/point3d.h"
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

class CPolyArc3D;
class CPtrArray;
class Cresbuf;
class P_Vertex;

class OsnapRequest {
public:
    // The code that marks an intersection point; the other codes are the host's snap modes.
    static constexpr int kIntersectionCode = 20;

    // Registers the request (when the registry stands) for `entity`.
    explicit OsnapRequest(CPolyArc3D* entity);
    ~OsnapRequest();
    OsnapRequest(const OsnapRequest&) = delete;
    OsnapRequest& operator=(const OsnapRequest&) = delete;

    void Reset();
    // Lists a point reported in the current snap context with its mode.
    void AddPoint(const CPoint3d& point, int mode);
    // The listed point equal to `point` in x, y and z made the best one; its index, -1 when none is.
    int FindPoint(const CPoint3d& point);

    // The first request registered for the entity, or null.
    static OsnapRequest* find(const CPolyArc3D* entity);
    // The process-wide array of requests: made when the plug-in loads, destroyed when it unloads.
    static void createRegistry();
    static void destroyRegistry();

    CPolyArc3D* m_entity;
    double m_bestDistance;
    int m_bestIndex;
    int m_bestMode;
    ads_name m_name;
    // The entity's name word and the vertex node's address, each with bit 63 set.
    ads_name m_bestVertex;
    Cresbuf* m_candidates;
    CPoint3d m_bestPoint;
    int m_count;
};

static_assert(offsetof(OsnapRequest, m_entity) == 0 && offsetof(OsnapRequest, m_bestDistance) == 8);
static_assert(offsetof(OsnapRequest, m_bestIndex) == 16 && offsetof(OsnapRequest, m_bestMode) == 20);
static_assert(offsetof(OsnapRequest, m_name) == 24 && offsetof(OsnapRequest, m_bestVertex) == 40);
static_assert(offsetof(OsnapRequest, m_candidates) == 56 && offsetof(OsnapRequest, m_bestPoint) == 64);
static_assert(offsetof(OsnapRequest, m_count) == 88 && sizeof(OsnapRequest) == 96);

// What the points reported next belong to.
struct SnapContext {
    const P_Vertex* start = nullptr; // the segment's start vertex
    const P_Vertex* other = nullptr; // its other vertex
    int index = 0;
    std::optional<CPoint3d> pick;
    std::optional<AcGeMatrix3d> viewXform; // its third row is the view direction
};
extern SnapContext g_snapContext;
