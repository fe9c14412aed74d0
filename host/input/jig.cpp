#include "host/input/jig.h"

#include <cmath>
#include <cwchar>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/editor_variables.h"
#include "host/editor/ucs.h"
#include "host/entities/entity.h"
#include "host/graphics/graphics_recorder.h"
#include "host/input/keywords.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"

namespace {

// What the sampler is asked about: the cursor, or a text typed at the prompt.
struct SampleInput {
    bool typed = false;
    std::wstring text;
};

SampleInput& sampleInput() {
    static SampleInput input;
    return input;
}

std::vector<host::Primitive>& dragFrame() {
    static std::vector<host::Primitive> frame;
    return frame;
}

} // namespace

const std::vector<host::Primitive>& host::lastDragFrame() {
    return dragFrame();
}

AcEdJig::DragStatus AcEdJig::sampler() {
    return kNoChange;
}

bool AcEdJig::update() {
    return true;
}

AcDbEntity* AcEdJig::entity() const {
    return nullptr;
}

AcDbObjectId AcEdJig::append() {
    AcDbEntity* e = entity();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* space = nullptr;
    if (!e || !db || acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite) != Acad::eOk) return {};
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, e) == Acad::eOk) e->close();
    space->close();
    return id;
}

void AcEdJig::updateAndDraw() {
    update();
    dragFrame().clear();
    if (AcDbEntity* shown = entity()) {
        host::GraphicsRecorder recorder;
        recorder.recordEntity(shown);
        dragFrame() = recorder.primitives();
    }
}

AcEdJig::DragStatus AcEdJig::sample(const AcGePoint3d& ucsPoint) {
    m_cursorPoint = host::ucsToWorld(ucsPoint);
    DragStatus status = sampler();
    if (status == kNormal) updateAndDraw();
    return status;
}

AcEdJig::DragStatus AcEdJig::drag() {
    host::takeInitGet();
    host::KeywordList keywords;
    std::wstring error;
    if (!keywords.parse(m_keywords.c_str(), error)) host::printMessage(L"\n*** AcEdJig: " + error);
    m_typed.clear();
    host::ResponseOptions options;
    options.waiter = L"a drag";
    options.onMove = [this](const AcGePoint3d& p) { sample(p); };
    for (;;) {
        host::Response r = host::readResponse(m_prompt.c_str(), options);
        switch (r.kind) {
        case host::Response::Cancel:
            return kCancel;
        case host::Response::Enter:
            if (m_controls & kNullResponseAccepted) return kNull;
            host::printMessage(L"\nPoint requis.");
            continue;
        case host::Response::Point:
        case host::Response::Pick:
            sample(r.point);
            if (!(m_controls & kDontUpdateLastPoint)) host::setLastPoint(r.point);
            return kNormal;
        case host::Response::Line: {
            int k = keywords.find(r.text);
            m_typed = r.text;
            if (k >= 0) {
                host::setLastInput(keywords.keywords()[k].global);
                return static_cast<DragStatus>(k + 1);
            }
            if (host::isPointBeyondDrawing(r.text)) {
                host::printMessage(L"\nPoint incorrect.");
                continue;
            }
            sampleInput() = {true, r.text};
            DragStatus status = sampler();
            sampleInput() = {};
            if (status != kNormal && status != kNoChange) return kOther; // acquireString gives the text
            updateAndDraw();
            return kNormal;
        }
        default:
            host::printMessage(L"\nEntrée incorrecte.");
            continue;
        }
    }
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point) {
    const SampleInput& in = sampleInput();
    if (!in.typed) {
        point = m_cursorPoint;
        return kNormal;
    }
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcGePoint3d typed;
    if (!host::parsePoint(in.text, typed, db ? db->elevation() : 0.0)) return kOther;
    point = m_cursorPoint = host::ucsToWorld(typed);
    return kNormal;
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point, const AcGePoint3d& base) {
    m_lastBase = base;
    return acquirePoint(point);
}

AcEdJig::DragStatus AcEdJig::acquireDist(double& distance) {
    return acquireDist(distance, m_lastBase);
}

AcEdJig::DragStatus AcEdJig::acquireDist(double& distance, const AcGePoint3d& base) {
    const SampleInput& in = sampleInput();
    if (in.typed) return host::parseReal(in.text, distance) ? kNormal : kOther;
    distance = m_cursorPoint.distanceTo(base);
    return kNormal;
}

AcEdJig::DragStatus AcEdJig::acquireAngle(double& angle) {
    return acquireAngle(angle, m_lastBase);
}

AcEdJig::DragStatus AcEdJig::acquireAngle(double& angle, const AcGePoint3d& base) {
    const SampleInput& in = sampleInput();
    if (in.typed) {
        double degrees;
        if (!host::parseReal(in.text, degrees)) return kOther;
        angle = degrees * M_PI / 180.0;
        return kNormal;
    }
    angle = std::atan2(m_cursorPoint.y - base.y, m_cursorPoint.x - base.x);
    if (angle < 0) angle += 2 * M_PI;
    return kNormal;
}

AcEdJig::DragStatus AcEdJig::acquireString(ACHAR* text, std::size_t size) {
    if (!text || size <= m_typed.size()) return kOther;
    std::wmemcpy(text, m_typed.c_str(), m_typed.size() + 1);
    return kNormal;
}
