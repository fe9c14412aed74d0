#pragma once
// Points given one after another from a first one, as LINE and AREA take them: each asked for dragged from
// the last, annUler taking the last one back and "@" going on from the point kept.
#include <vector>

#include "host/editor/command_input.h"

namespace host {

// A prompt and its keywords ("Local... _ Global...").
struct PromptChoice {
    const wchar_t* prompt;
    const wchar_t* keywords;
};

class PointSequence {
public:
    explicit PointSequence(const AcGePoint3d& first) : m_points{first} {}

    // The next answer, asked with `fewPoints` while fewer than three points are given and with `enoughPoints`
    // from then on. A point other than the last is added; the same point again is asked again. "Undo" takes
    // the last point back and comes back as its keyword, or says "Tout a été annulé" and asks again when
    // only the first is left. Other keywords, Enter and a cancel come back as they are.
    PointAnswer askNext(const PromptChoice& fewPoints, const PromptChoice& enoughPoints);

    const std::vector<AcGePoint3d>& points() const { return m_points; }

private:
    std::vector<AcGePoint3d> m_points;
};

} // namespace host
