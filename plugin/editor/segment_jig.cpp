// The segment jig: construction, prompts, and sampling the cursor.
#include "plugin/editor/segment_jig.h"

#include <cstring>

#include "cadutil/command_line/print.h"
#include "entity/drawing/draw_state.h"
#include "entity/snaps/osnap_request.h"
#include "plugin/editor/editor_state.h"
#include "services/output/output.h"
#include "services/startup/fvar.h"

namespace {

constexpr std::int32_t kBasedRubberBand = 2;

const char* defaultPrompt(int mode) {
    switch (mode) {
    case SegmentJig::kPointOnly:
        return "\nPoint ?";
    case SegmentJig::kDistance:
        return "Distance ?";
    case SegmentJig::kGo:
        return "(mode 'GO'  ) Aller au Point ?";
    case SegmentJig::kWay:
        return "(mode 'WAY' ) Fin trajet ?";
    default:
        return "Point suivant ?";
    }
}

std::wstring widen(const std::string& text) {
    std::wstring wide;
    for (unsigned char c : text)
        wide.push_back(static_cast<wchar_t>(c));
    return wide;
}

AcGePoint3d toGe(const CPoint3d& p) {
    return {p.x, p.y, p.z};
}

// The vertex node named by a snap candidate (its address with bit 63 set).
P_Vertex* vertexOfName(std::int64_t word) {
    const auto address = static_cast<std::uint64_t>(word) & ~(std::uint64_t(1) << 63);
    return reinterpret_cast<P_Vertex*>(static_cast<std::uintptr_t>(address));
}

} // namespace

SegmentJig::SegmentJig(CPolyArc3D* source) {
    if (source) m_poly = source->newCPolyArc3D();
    addFilterUser();
}

SegmentJig::~SegmentJig() {
    try {
        delete m_poly;
    } catch (...) {
        mprintf("\n Probleme SegmentJig::~SegmentJig() ; m_pmpoly");
    }
    m_poly = nullptr;
    delete m_snapRequest;
    m_snapRequest = nullptr;
    if (currentJig() == this) setCurrentJig(nullptr);
    removeFilterUser();
}

int SegmentJig::setMode(int mode) {
    const int previous = m_mode;
    m_mode = mode;
    m_endCondition = 0;
    return previous;
}

void SegmentJig::setPrompt() {
    if (m_prompt.empty()) m_prompt = defaultPrompt(m_mode);
    setDispPrompt(widen(m_prompt).c_str());
    // The host reads the keywords and the input controls as the drag begins.
    prepareInput();
}

void SegmentJig::prepareInput() {
    setSpecialCursorType(kCrosshair);
    setUserInputControls(
        UserInputControls(kNullResponseAccepted | kAccept3dCoordinates | kAnyBlankTerminatesInput));
    setKeywordList(widen(m_keywords).c_str());
}

void SegmentJig::setPromptAndKeywords(const char* prompt, const char* keywords) {
    m_prompt = prompt ? prompt : "";
    if (keywords && keywords[0] == '*')
        m_keywords = editor_state::standardKeywords();
    else
        m_keywords = keywords ? keywords : "";
}

AcEdJig::DragStatus SegmentJig::acquire(int& step) {
    AcGePoint3d point;
    DragStatus status;
    step = 3;
    if (m_mode == kPointOnly || m_mode == kPointOrNumber) {
        step = 4;
        status = acquirePoint(point);
    } else if (m_base.x != 0 && m_base.y != 0) {
        step = 5;
        vfVar.jigFlags |= kBasedRubberBand;
        status = acquirePoint(point, toGe(m_base));
    } else {
        step = 6;
        status = acquirePoint(point);
    }
    m_sampled = CPoint3d(point.x, point.y, point.z);
    return status;
}

void SegmentJig::takeSnap(int& step) {
    step = 7;
    if (!m_snapRequest) return;
    step = 8;
    if (m_snapRequest->m_count <= 0 && m_snapRequest->FindPoint(m_sampled) < 0) return;
    step = 9;
    m_snapResult = m_snapRequest->FindPoint(m_sampled);
    // The next point reported starts a new list.
    m_snapRequest->m_count = -1;
    step = 10;
    m_snapPoint = m_snapRequest->m_bestPoint;
    m_snapVertex = vertexOfName(m_snapRequest->m_bestVertex[1]);
    m_snapIndex = m_snapIndexCopy = m_snapRequest->m_bestIndex;
    m_snapMode = m_snapRequest->m_bestMode;
    step = 11;
}

AcEdJig::DragStatus SegmentJig::report(DragStatus status) {
    m_status = status;
    return status;
}

AcEdJig::DragStatus SegmentJig::sampler() {
    vfVar.jigFlags &= ~kBasedRubberBand;
    prepareInput();
    if (m_mode == kDistance) {
        DragStatus status = acquireDist(m_distance, toGe(m_base));
        if (m_distance != m_lastDistance) m_lastDistance = m_distance;
        return report(status == kNormal ? kNoChange : status);
    }
    const CPoint3d kept = m_sampled;
    int step = 1;
    DragStatus status;
    try {
        status = acquire(step);
        takeSnap(step);
    } catch (...) {
        char text[256];
        std::snprintf(
            text, sizeof text,
            "Erreur SegmentJig::sampler() Risque de plantage enlevez accro PERP\nm_mode=%d;posErr=%d;"
            "ErrUpdate=%d;ErrWDraw=%d",
            m_mode, step, updateStep(), poly_drawing::g_regenWord);
        msgBox(text);
        return report(kNoChange);
    }
    if (status != kNormal) {
        m_sampled = kept;
        return report(status);
    }
    if (m_sampled == m_previousSample) return report(kNoChange);
    m_previousSample = m_sampled;
    return report(kNormal);
}
