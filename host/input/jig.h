#pragma once
// Jigs: an entity dragged with the cursor. drag() shows the prompt and takes the user's actions from the
// input queue: each cursor move (@move) calls sampler(), and update() when the sampler reports a change; a
// point calls them once more and ends the drag with kNormal; a keyword ends it with its number (1 for the
// first keyword of the list); a typed point ends it like a picked one; other typed text ends it with kOther
// (read it with acquireString); Enter ends it with kNull where a null response is accepted; cancel with
// kCancel. After each update the host asks entity() for what to show and draws it, as a view would.
#include <cstddef>
#include <string>
#include <vector>

#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/rx/acad_status.h"

class AcDbEntity;

namespace host {
struct Primitive;
// What the last update of a drag drew (world primitives); empty when the jig showed no entity.
const std::vector<Primitive>& lastDragFrame();
} // namespace host

class AcEdJig {
public:
    enum DragStatus {
        kModeless = -17,
        kNoChange = -6,
        kCancel = -4,
        kOther = -3,
        kNull = -1,
        kNormal = 0,
        kKW1 = 1,
        kKW2,
        kKW3,
        kKW4,
        kKW5,
        kKW6,
        kKW7,
        kKW8,
        kKW9,
    };
    enum UserInputControls {
        kGovernedByOrthoMode = 0x000001,
        kNullResponseAccepted = 0x000002,
        kDontEchoCancelForCtrlC = 0x000004,
        kDontUpdateLastPoint = 0x000008,
        kNoDwgLimitsChecking = 0x000010,
        kNoZeroResponseAccepted = 0x000020,
        kNoNegativeResponseAccepted = 0x000040,
        kAccept3dCoordinates = 0x000080,
        kAcceptMouseUpAsPoint = 0x000100,
        kAnyBlankTerminatesInput = 0x000200,
        kInitialBlankTerminatesInput = 0x000400,
        kAcceptOtherInputString = 0x000800,
    };
    enum CursorType {
        kNoSpecialCursor = -1,
        kCrosshair = 0,
        kRectCursor,
        kRubberBand,
        kNotRotated,
        kTargetBox,
        kRotatedCrosshair,
        kCrosshairNoRotate,
        kInvisible,
        kEntitySelect,
        kParallelogram,
        kEntitySelectNoPersp,
        kPkfirstOrGrips,
        kCrosshairDashed,
    };

    AcEdJig() = default;
    virtual ~AcEdJig() = default;
    AcEdJig(const AcEdJig&) = delete;
    AcEdJig& operator=(const AcEdJig&) = delete;

    DragStatus drag();
    virtual DragStatus sampler();
    virtual bool update();
    virtual AcDbEntity* entity() const;
    // Adds the entity to the current space of the working database.
    AcDbObjectId append();

    const ACHAR* dispPrompt() const { return m_prompt.c_str(); }
    void setDispPrompt(const ACHAR* prompt) { m_prompt = prompt ? prompt : L""; }
    const ACHAR* keywordList() const { return m_keywords.c_str(); }
    void setKeywordList(const ACHAR* keywords) { m_keywords = keywords ? keywords : L""; }
    CursorType specialCursorType() const { return m_cursor; }
    void setSpecialCursorType(CursorType type) { m_cursor = type; }
    UserInputControls userInputControls() const { return m_controls; }
    void setUserInputControls(UserInputControls controls) { m_controls = controls; }

    // Called from sampler(): the cursor's point (world), a distance or an angle from the base point, or the
    // text typed. kNormal, or what ended the drag.
    DragStatus acquirePoint(AcGePoint3d& point);
    DragStatus acquirePoint(AcGePoint3d& point, const AcGePoint3d& base);
    DragStatus acquireDist(double& distance);
    DragStatus acquireDist(double& distance, const AcGePoint3d& base);
    DragStatus acquireAngle(double& angle);
    DragStatus acquireAngle(double& angle, const AcGePoint3d& base);
    // The text typed at the prompt of the last drag; kNormal, or kOther when it does not fit.
    DragStatus acquireString(ACHAR* text, std::size_t size);

private:
    DragStatus sample(const AcGePoint3d& ucsPoint);
    void updateAndDraw();

    std::wstring m_prompt;
    std::wstring m_keywords;
    CursorType m_cursor = kNoSpecialCursor;
    UserInputControls m_controls = UserInputControls(0);
    AcGePoint3d m_cursorPoint; // world
    AcGePoint3d m_lastBase;    // world
    std::wstring m_typed;
};
