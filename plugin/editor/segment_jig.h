#pragma once
// SegmentJig: the rubber-band jig of the polyline editor. During a drag it samples the cursor, moves a vertex
// of its own working polyline (or rebuilds it) and lets the host draw that polyline; it records which vertex
// and segment of the edited polyline the cursor snapped onto. While one is current, a filter of the host's
// window messages turns navigation keys and a short tap of Shift into the editor's keywords.
#include <cstdint>
#include <string>

#include "entity/core/poly_arc3d.h"
#include "host/editor/win_msg_filter.h"
#include "host/input/jig.h"
#include "host/rx/target_host.h"

class OsnapRequest;
class qpoly_edit;

class SegmentJig : public AcEdJig {
public:
    // What is being input.
    enum Mode {
        kPointOnly = 0,     // a point, no rubber band
        kDistance = 1,      // a distance; update never runs
        kNextPoint = 2,     // the next point of the polyline: rubber band, smoothing, outside cursor
        kPointNoUpdate = 3, // a point, nothing updated
        kGo = 4,            // the point to go to
        kWay = 5,           // the end of a walk along the edited polyline
        kDisplace = 6,      // a displacement of the whole working polyline
        kShape = 7,         // the last point of an imposed shape's preview
        kPointOrNumber = 8, // a point, no rubber band; the editor also takes a typed number
    };
    static constexpr double kNoTangent = -1000.0;
    static constexpr std::size_t kTypedSize = 256;

    // A working polyline of the source's class (none for a null source); registers the key filter with the
    // first jig.
    explicit SegmentJig(CPolyArc3D* source);
    ~SegmentJig() override;

    // Stores the mode and clears the end condition; the previous mode.
    int setMode(int mode);
    // The mode's default prompt when none is set, then the prompt to the host.
    void setPrompt();
    // "*" at the start of the keyword list stands for the editor's standard list.
    void setPromptAndKeywords(const char* prompt, const char* keywords);

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override { return m_poly; }

    // The key filter: true when the message is swallowed.
    static bool filterWinMsg(MSG* message);
    // The filter in the form the target host registers (int in the 2017 and 2018 hosts).
    static host::target::FilterResult hostFilter(MSG* message) { return filterWinMsg(message); }

    // The jig the filter serves: set by the editor for each drag, cleared after it and by the destructor.
    static SegmentJig* currentJig();
    static void setCurrentJig(SegmentJig* jig);
    // Keys typed at the prompt since the drag began; the editor sets 0 for each drag.
    static int& typedCount();
    // How many jigs use the filter; the filter is registered while it is above 0.
    static int filterUsers();
    static void addFilterUser();
    static void removeFilterUser();
    // The outside cursor routine, looked up once among the modules already loaded; null without it.
    using DynCursorFn = int (*)(P_Vertex* first, int count, Mat3D* system);
    static DynCursorFn dynCursor();
    // Where the last update got to (1 at entry, the branch's number, 0 at its end).
    static int updateStep();
    // A fresh process: the outside routine looked up again, latches, Shift time and counts cleared (tests).
    static void resetProcessState();

    CPolyArc3D* m_poly = nullptr;
    qpoly_edit* m_session = nullptr;
    int m_cursorCount = 0;
    CPoint3d m_snapPoint;
    P_Vertex* m_snapVertex = nullptr;
    int m_snapResult = -1;
    std::int64_t m_snapIndex = -1;
    std::int64_t m_snapIndexCopy = -1;
    int m_snapMode = 0;
    int m_directionSign = 1;
    double m_startTangent = kNoTangent;
    double m_endTangent = kNoTangent;
    P_Vertex* m_neighbours[2] = {nullptr, nullptr};
    P_Vertex* m_moving = nullptr;
    CPoint3d m_base;
    int m_currentIndex = 0;
    CPoint3d m_sampled;
    int m_status = 0;
    int m_endCondition = 0;
    int m_mode = kNextPoint;
    std::string m_prompt; // empty: the mode's default
    std::string m_keywords;
    double m_distance = 0;
    wchar_t m_typed[kTypedSize] = {};
    OsnapRequest* m_snapRequest = nullptr;
    CPoint3d m_previousSample;
    double m_lastDistance = 0;

private:
    // Keeps the status as the last one and answers it.
    DragStatus report(DragStatus status);
    DragStatus acquire(int& step);
    // Cursor, input controls and keywords of the drag.
    void prepareInput();
    void takeSnap(int& step);
    void updateWalk(const CPoint3d& p);
    void updateDisplacement(const CPoint3d& p);
    // The key filter's latches, Shift time, typed count and current jig back to a fresh process.
    static void resetKeyState();
};
