#pragma once
// What the graphics system can draw: the base of every database object.
#include "host/rx/adesk.h"
#include "host/rx/rx.h"

class AcGiWorldDraw;
class AcGiViewportDraw;

class AcGiDrawable : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcGiDrawable)
public:
    // Draws what does not depend on the view; true when nothing is left for viewportDraw.
    bool worldDraw(AcGiWorldDraw* draw) { return subWorldDraw(draw); }
    void viewportDraw(AcGiViewportDraw* draw) { subViewportDraw(draw); }

    virtual bool subWorldDraw(AcGiWorldDraw*) { return true; }
    virtual void subViewportDraw(AcGiViewportDraw*) {}
};
