#include "host/editor/draw_commands.h"

#include <cmath>
#include <vector>

#include "host/editor/command_input.h"
#include "host/editor/point_sequence.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"

namespace host {

namespace {

const AcGeVector3d kUp(0, 0, 1);

void eraseEntity(AcDbObjectId id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) return;
    entity->erase();
    entity->close();
}

void addCircle(const AcGePoint3d& centre, double radius) {
    if (radius <= 0) {
        printText(L"\nLe rayon doit être positif.");
        return;
    }
    appendFromUcs(new AcDbCircle(centre, kUp, radius));
}

void circleThroughThree() {
    const auto a = askUcsPoint(L"\nSpécifiez le premier point du cercle: ");
    if (!a) return;
    const auto b = askUcsPoint(L"\nSpécifiez le deuxième point du cercle: ", a);
    if (!b) return;
    const auto c = askUcsPoint(L"\nSpécifiez le troisième point du cercle: ", b);
    if (!c) return;
    if (const auto centre = circleCentre(*a, *b, *c))
        addCircle(*centre, centre->distanceTo(*a));
    else
        printText(L"\nLes trois points sont alignés: aucun cercle ne passe par eux.");
}

void circleOnDiameter() {
    const auto a = askUcsPoint(L"\nSpécifiez le premier point d'extrémité du diamètre du cercle: ");
    if (!a) return;
    const auto b = askUcsPoint(L"\nSpécifiez le deuxième point d'extrémité du diamètre du cercle: ", a);
    if (!b) return;
    addCircle(AcGePoint3d((a->x + b->x) / 2, (a->y + b->y) / 2, (a->z + b->z) / 2), a->distanceTo(*b) / 2);
}

} // namespace

void lineCommand() {
    const auto from = askUcsPoint(L"\nSpécifiez le premier point: ");
    if (!from) return;
    PointSequence sequence(*from);
    std::vector<AcDbObjectId> segments;
    for (;;) {
        const PointAnswer a = sequence.askNext(
            {L"\nSpécifiez le point suivant ou [annUler]: ", L"annUler _ Undo"},
            {L"\nSpécifiez le point suivant ou [Clore/annUler]: ", L"Clore annUler _ Close Undo"});
        const std::vector<AcGePoint3d>& points = sequence.points();
        if (a.kind == PointAnswer::Point) {
            segments.push_back(appendFromUcs(new AcDbLine(points[points.size() - 2], a.point)));
        } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Undo") {
            eraseEntity(segments.back());
            segments.pop_back();
        } else {
            if (a.kind == PointAnswer::Keyword && a.keyword == L"Close")
                appendFromUcs(new AcDbLine(points.back(), points.front()));
            return;
        }
    }
}

void circleCommand() {
    const PointAnswer a = askPointOr(L"\nSpécifiez le centre du cercle ou [3P/2P]: ", L"3P 2P _ 3P 2P");
    if (a.kind == PointAnswer::Keyword) {
        (a.keyword == L"3P" ? circleThroughThree : circleOnDiameter)();
        return;
    }
    if (a.kind != PointAnswer::Point) return;
    const PointAnswer r = askPointOr(L"\nSpécifiez le rayon du cercle ou [Diamètre]: ",
                                     L"Diamètre _ Diameter", a.point, RSG_OTHER);
    if (r.kind == PointAnswer::Point) {
        addCircle(a.point, a.point.distanceTo(r.point));
    } else if (r.kind == PointAnswer::Keyword && r.keyword == L"Diameter") {
        if (const auto d = askDistance(L"\nSpécifiez le diamètre du cercle: ", a.point))
            addCircle(a.point, *d / 2);
    } else if (r.kind == PointAnswer::Keyword) {
        if (const auto radius = numberIn(r.keyword))
            addCircle(a.point, *radius);
        else
            printText(L"\nRayon requis.");
    }
}

} // namespace host
