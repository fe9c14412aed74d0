// A legacy entity draws as the current class, or hands its place over to one.
#include "entity/core/poly_classes.h"

bool tavro_poly::subWorldDraw(AcGiWorldDraw* draw) {
    if ((m_iniTavroPoly & 2) && database() && (isWriteEnabled() || upgradeOpen() == Acad::eOk)) {
        replaceByPolyArc3D();
        return false;
    }
    PolyArc3D drawn;
    drawn.from(this, 0);
    return drawn.worldDraw(draw);
}

void tavro_poly::replaceByPolyArc3D() {
    auto* replacement = allocate<PolyArc3D>();
    if (!replacement) return;
    const bool added = replacement->from(this, 1) == Acad::eOk && !replacement->objectId().isNull();
    if (added) {
        replacement->assertWriteEnabled();
        erase();
    }
    if (replacement->objectId().isNull())
        delete replacement;
    else
        replacement->close();
}
