#include "host/editor/polyline_command.h"

#include <cmath>

#include "host/editor/command_input.h"
#include "host/editor/editor_variables.h"
#include "host/editor/polyline_arc_options.h"
#include "host/editor/polyline_draft.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"

namespace host {

namespace {

// Asks the two widths (halved when `half`); false on a cancel.
bool askWidths(PolylineDraft& draft, bool half) {
    const double factor = half ? 2 : 1;
    const auto start =
        askReal((half ? L"\nSpécifiez la demi-largeur de départ <" : L"\nSpécifiez la largeur de départ <") +
                    formatLength(draft.endWidth() / factor) + L">: ",
                draft.endWidth() / factor, RSG_NONEG);
    if (!start) return false;
    const auto end =
        askReal((half ? L"\nSpécifiez la demi-largeur d'arrivée <" : L"\nSpécifiez la largeur d'arrivée <") +
                    formatLength(*start) + L">: ",
                *start, RSG_NONEG);
    if (!end) return false;
    draft.setWidths(*start * factor, *end * factor);
    return true;
}

enum class Mode { Line, Arc, Done };

// One answer in line mode: the mode that follows.
Mode lineStep(PolylineDraft& draft) {
    const bool canClose = draft.segments() >= 2;
    const PointAnswer a = askPointOr(
        canClose ? L"\nSpécifiez le point suivant ou [Arc/Clore/Demi-largeur/LOngueur/annUler/LArgeur]: "
                 : L"\nSpécifiez le point suivant ou [Arc/Demi-largeur/LOngueur/annUler/LArgeur]: ",
        canClose ? L"Arc Clore Demi-largeur LOngueur annUler LArgeur _ Arc Close Halfwidth Length Undo Width"
                 : L"Arc Demi-largeur LOngueur annUler LArgeur _ Arc Halfwidth Length Undo Width",
        draft.last());
    if (a.kind == PointAnswer::Point) {
        if (!a.point.isEqualTo(draft.last())) draft.lineTo(a.point);
        return Mode::Line;
    }
    if (a.kind != PointAnswer::Keyword) return Mode::Done;
    if (a.keyword == L"Arc") return Mode::Arc;
    if (a.keyword == L"Close") {
        draft.close(false);
        return Mode::Done;
    }
    if (a.keyword == L"Length") {
        const auto length = askDistance(L"\nSpécifiez la longueur de la ligne: ", draft.last());
        if (!length) return Mode::Done;
        const double angle = draft.direction();
        draft.lineTo(draft.last() + AcGeVector3d(std::cos(angle), std::sin(angle), 0) * *length);
        return Mode::Line;
    }
    if (a.keyword == L"Undo") {
        if (!draft.undo()) printText(L"\nTout a été annulé");
        setLastPoint(draft.last());
        return Mode::Line;
    }
    return askWidths(draft, a.keyword == L"Halfwidth") ? Mode::Line : Mode::Done;
}

// One answer in arc mode: the mode that follows.
Mode arcStep(PolylineDraft& draft) {
    const bool canClose = draft.segments() >= 1;
    const PointAnswer a = askPointOr(
        canClose ? L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée pour changer de "
                   L"direction) ou [Angle/CEntre/Clore/Direction/DEmi-largeur/LIgne/Rayon/Second pt/annUler/"
                   L"LArgeur]: "
                 : L"\nSpécifiez l'extrémité de l'arc (maintenir la touche Ctrl enfoncée pour changer de "
                   L"direction) ou [Angle/CEntre/Direction/DEmi-largeur/LIgne/Rayon/Second pt/annUler/"
                   L"LArgeur]: ",
        canClose
            ? L"Angle CEntre Clore Direction DEmi-largeur LIgne Rayon Second annUler LArgeur _ Angle CEnter "
              L"CLose Direction Halfwidth Line Radius Second Undo Width"
            : L"Angle CEntre Direction DEmi-largeur LIgne Rayon Second annUler LArgeur _ Angle CEnter "
              L"Direction Halfwidth Line Radius Second Undo Width",
        draft.last());
    if (a.kind == PointAnswer::Point) {
        if (!a.point.isEqualTo(draft.last())) draft.tangentArcTo(a.point);
        return Mode::Arc;
    }
    if (a.kind != PointAnswer::Keyword) return Mode::Done;
    if (a.keyword == L"Line") return Mode::Line;
    if (a.keyword == L"CLose") {
        draft.close(true);
        return Mode::Done;
    }
    if (const ArcOptionDraw draw = arcOptionFor(a.keyword)) {
        if (!draw(draft)) return Mode::Done;
        // "@" goes on from the end of the arc, not from the last point typed (a centre, say).
        setLastPoint(draft.last());
        return Mode::Arc;
    }
    if (a.keyword == L"Undo") {
        if (!draft.undo()) printText(L"\nTout a été annulé");
        setLastPoint(draft.last());
        return Mode::Arc;
    }
    return askWidths(draft, a.keyword == L"Halfwidth") ? Mode::Arc : Mode::Done;
}

} // namespace

void plineCommand() {
    const auto start = askUcsPoint(L"\nSpécifiez le point de départ: ");
    if (!start) return;
    PolylineDraft draft(*start);
    printText(L"\nLa largeur courante de la polyligne est " + formatLength(draft.endWidth()));
    for (Mode mode = Mode::Line; mode != Mode::Done;)
        mode = mode == Mode::Line ? lineStep(draft) : arcStep(draft);
    draft.append();
}

} // namespace host
