#pragma once
// The properties a style's hatch or symbol takes: the source entity's, then the style's own colour, layer
// and linetype; when drawn, the same go into the context's traits.
#include <string>

class AcDbDatabase;
class AcDbEntity;
class AcGiWorldDraw;

struct StyleLook {
    int color = 0;        // 0: the entity's
    std::string layer;    // empty: the entity's; "_z_" names are built from the entity's layer
    std::string linetype; // empty: "CONTINUOUS"
};

// A layer that cannot be made leaves the entity's; a linetype that cannot be had leaves it too.
void applyStyleLook(AcDbEntity& made, AcGiWorldDraw* draw, const AcDbEntity* entity, double linetypeScale,
                    const StyleLook& look, AcDbDatabase* database);
