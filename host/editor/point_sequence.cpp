#include "host/editor/point_sequence.h"

#include "host/editor/editor_variables.h"
#include "host/input/prompt_input.h"

namespace host {

PointAnswer PointSequence::askNext(const PromptChoice& fewPoints, const PromptChoice& enoughPoints) {
    for (;;) {
        const PromptChoice& choice = m_points.size() >= 3 ? enoughPoints : fewPoints;
        const PointAnswer a = askPointOr(choice.prompt, choice.keywords, m_points.back());
        if (a.kind == PointAnswer::Point) {
            if (a.point.isEqualTo(m_points.back())) continue;
            m_points.push_back(a.point);
            return a;
        }
        if (a.kind != PointAnswer::Keyword || a.keyword != L"Undo") return a;
        if (m_points.size() == 1) {
            printText(L"\nTout a été annulé");
            continue;
        }
        m_points.pop_back();
        setLastPoint(m_points.back());
        return a;
    }
}

} // namespace host
