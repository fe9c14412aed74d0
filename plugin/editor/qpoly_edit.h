#pragma once
// qpoly_edit: the interactive editor of one polyline. A command builds one on its stack, prepares its current
// vertex, direction and shape mode, runs edit() and always ends it with close(). The entity is opened and
// closed around every step and never left open across a prompt; the process-wide editor state lives in
// editor_state.h.
//
// The selected stretch runs from wayFixed to wayMoving when goState is positive and from wayMoving to
// wayFixed when it is negative, forward along the list (over the end of a closed polyline); fixedDist and
// movingDist move an end that far along its segment; minSegments 1 makes a stretch whose ends are one vertex
// cover the whole closed polyline once.
#include <cstdint>
#include <functional>

#include "entity/core/poly_arc3d.h"
#include "host/db/db_extents.h"
#include "host/db/db_object_id.h"

class SegmentJig;
struct EditPass;

class qpoly_edit {
public:
    // Results of edit(), go() and way() besides keyword numbers and host statuses.
    static constexpr int kPointEndsMode = 0;
    static constexpr int kQuit = 23;
    static constexpr int kCancel = -4;
    static constexpr int kEmptyEnter = -1;

    // What highlightPath holds while the whole entity, not a path, is highlighted.
    static AcDbFullSubentPathArray* const kWholeEntityHighlighted;

    // The arguments of setWay that stand for the whole polyline and for the one segment after a vertex.
    struct AllVertices {};
    static constexpr AllVertices kAll{};
    struct OneSegment {};
    static constexpr OneSegment kOneSegment{};

    // Opens the editor on `id`, or without one on a new entity of the template's class; with readOnlyFallback
    // an entity that cannot be written is only read.
    qpoly_edit(AcDbObjectId id, CPolyArc3D* templateEntity, int readOnlyFallback);
    ~qpoly_edit();
    qpoly_edit(const qpoly_edit&) = delete;
    qpoly_edit& operator=(const qpoly_edit&) = delete;

    // --- The entity, open only between these calls. Opening first closes an open entity; null when the id
    // does not designate a polyline of the system.
    CPolyArc3D* openRead();
    CPolyArc3D* openWrite();
    void closeEntity();
    bool isOpenForWrite() const { return (openState & kOpenForWrite) != 0; }

    // --- Ending.
    // Removes the pending arc middle vertex and rubber vertex.
    void dropPending();
    // Pending vertices removed, menus back, SHORTCUTMENU restored, a polyline of fewer than 2 vertices
    // erased.
    void close();
    // Switches the host menus to the mode's menu (0 end, 1 digitising, 2 modify, 3 way); 0 when unchanged.
    int setMenus(int mode);
    // Walks the list and reports every broken link; the number of errors.
    int checkChain();

    // --- The loop. edit() digitises and edits until Q, Cancel or Enter; its last result.
    int edit();
    // One drag of the jig, repeated while its end condition asks; the host status or keyword number.
    int drag(SegmentJig* jig);

    // --- The selected stretch.
    int setWay(AllVertices);
    int setWay(P_Vertex* vertex, OneSegment);
    // Fixed end `vertex` (which becomes current), moving end `end` (null: the head when closed, else the
    // tail).
    int setWay(P_Vertex* vertex, P_Vertex* end);
    // The ends in forward order with their distances; 1.
    int getStretch(P_Vertex*& start, P_Vertex*& end, double* startDist = nullptr,
                   double* endDist = nullptr) const;
    // Forgets the stored vertices that left the list and fills the gaps; 1 when there is a current vertex.
    int checkVertices();
    // Copies the stretch into target after `after` (null: its tail); mask bits: 1 codes, 2 flags, 4 width,
    // 8 height (each else from `source` when given), 0x10 marks copied generated vertices, 0x20 tags each
    // copy with its source. The last copy, or null.
    P_Vertex* copyStretch(CPolyArc3D* target, P_Vertex* after, int mask, const P_Vertex* source);
    // Highlights the stretch (flag set, Go or Way mode), removing the previous highlight; the segment count.
    int highlightStretch(int flag);
    // Whether the point (null: the current vertex) passes the view test of zoomTestMode.
    int viewTest(const CPoint3d* point);

    // --- Modes carried out by the shape, Go and Way code.
    int formes(int keyword, SegmentJig* jig = nullptr, int flags = 0);
    int fonctions(int keyword);
    // The class word of the prompts: "TAVROPOLY" for the legacy class, "ZORTAPOLY" otherwise.
    static const char* classWord(const CPolyArc3D& poly);
    int finishShape(CPolyArc3D* poly);
    int go(int flags, const char* prompt, int first);
    int way(int flags, const char* prompt);

    // Bits of openState.
    static constexpr std::uint32_t kOpen = 0x1;
    static constexpr std::uint32_t kOpenForWrite = 0x2;

    SegmentJig* jig = nullptr;
    AcDbObjectId id;
    CPolyArc3D* entity = nullptr;
    P_Vertex* current = nullptr;
    P_Vertex* wayFixed = nullptr;
    P_Vertex* wayMoving = nullptr;
    double fixedDist = 0;
    double movingDist = 0;
    std::int32_t minSegments = 0;
    std::uint32_t openState = 0;
    P_Vertex* arcMiddle = nullptr;
    P_Vertex* rubber = nullptr;
    AcDbFullSubentPathArray* highlightPath = nullptr;
    std::int32_t goState = 0;
    std::int32_t shapeMode = 12;
    std::int32_t direction = 1;
    std::int32_t repeatStep = 1;
    std::int16_t savedOsmode = 0;
    std::int32_t menuMode = 0;
    std::int32_t savedShortcutMenu = -1;
    double elevation = 0;

private:
    // Whether v is a node of the entity's list.
    bool inList(const P_Vertex* v) const;
    // Removes the highlight held in highlightPath.
    void removeHighlight();
    void openEntity(AcDb::OpenMode mode);
    void createFromTemplate(CPolyArc3D* templateEntity);
    // The id's entity with its whole state recorded for undo; false when it cannot be written.
    bool recordUndoImage();
    // The loop and its parts: one digitising pass, what its drag's result does, a point committed, a form
    // keyword carried out on the points given (pending vertices dropped), the current vertex taken back, a
    // stretch re-taken.
    int runLoop();
    int digitisingPass(EditPass& pass);
    int dispatch(int result, EditPass& pass);
    int commitPoint();
    int onGivenPoints(int keyword, EditPass& pass);
    void takePointBack();
    int retake();
    // Go and Way modes: the vertex a dragged point designates (the snapped one, with the distance along its
    // segment in `along` or a vertex inserted there; else the nearest), and one step of Way mode's moving
    // end.
    P_Vertex* vertexAtPick(const SegmentJig& dragged, int flags, double& along, bool& found);
    void walkMovingEnd(int step);
    // The form keywords and the moving keywords of Go mode, the entity open for write.
    bool hasStretch() const;
    // Every vertex of the stretch from its start; `last` for the end, where the walk stops.
    void forEachStretchVertex(const std::function<void(P_Vertex*, bool last)>& visit);
    // Smoothing from the stretch's start, from its end, then from start to end.
    void smoothStretch();
    void shapeCurve(int keyword);
    void closeOrOpen(int keyword);
    void editCodes();
    void editWidthOrHeight(int keyword);
    void editTangency();
    void editHeight();
    int chooseShape();
    void stepToHardVertex(int step);
    // M and MR: the stretch moved by a drag of the given jig; the jig's working polyline made ready for it.
    int moveStretch(int keyword, SegmentJig* moveJig);
    bool prepareMove(SegmentJig& moveJig);
    int moveInGoMode(int keyword);
    // The function keywords, each change one host undo group with the entity's own recording on inside.
    void beginUndoGroup();
    void endUndoGroup();
    int cutStretch();
    int reshapeStretch(int keyword);
    int joinSelected();
    int purgeArcPoints();
    int deleteStretch();
    int offsetStretch();
    int continueFromEnd();
    int takeRetakeParameters();
    int editExtendedData();
    // FR: a stretch chosen on another polyline by a second editor takes the place of this stretch's inside.
    int retakeStretch();
    void spliceRetaken(qpoly_edit& source);
    // Deletes a pending vertex, moving current and the stretch off it.
    void dropPendingVertex(P_Vertex*& pending);
    // The session created the entity: its erase is not recorded for undo.
    bool m_created = false;
};
