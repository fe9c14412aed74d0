#pragma once
// The cartographic styles of a polyline: a hatch ("*H=" text) or rows of symbol blocks ("*I=" text) kept in
// its extended data of the application "ZORTA". They are drawn through a world-draw context when the polyline
// shows itself, or made as real hatches and block references of a drawing (explosion, ZOR_SDNC) without one.
//
// Hatch text: a pattern field ("D!" user-defined "_USER", "C!name" custom, "P!name" or a bare name
// predefined), then "key=value" fields: a angle (grads), c colour, d spacing, l layer, s scale, t linetype.
// Symbol text: parts separated by "|", each a block name then fields: a angle added to the direction (grads),
// c colour, d spacing, f first distance, l layer, o options (M middles, P vertices), s scale (multiplies the
// d, f, x and y after it), t linetype, x and y offsets along and across the direction.
// A layer value "_z_NAME" becomes the entity's layer up to its first "$", then NAME.
#include "host/db/db_extents.h"
#include "host/db/db_object_id.h"
#include "host/rx/ac_array.h"

class AcDbBlockReference;
class AcDbDatabase;
class AcDbEntity;
class AcGiWorldDraw;
class CPoint3d;

// makeHatch flags.
constexpr int kHatchAssociative = 1; // without a draw context: the hatch follows its boundary objects
constexpr int kHatchIdLoops = 2;     // the pieces are AcDbObjectIdArray*, one per loop, not CPolyArc3D*

// The hatch of `spec` (the text after "*H=") over `count` pieces: the first loop external, the others
// default. With `draw` it is drawn and deleted; without, it is appended to `space` (appendEntityToSpace) of
// `database` (null: the working one) and, when associative, made a persistent reactor of its boundaries.
// Loops the host refuses count in poly_drawing::g_hatchErrors and their ids go to failedIds (may be null).
// `entity` (may be null) gives the properties. Without `draw` but with `output`, the hatch goes to `output`
// (the caller owns it) and nothing to the drawing. 0 for a null spec, else 1. Prints a message naming the
// style and rethrows on an exception.
int makeHatch(const char* spec, AcGiWorldDraw* draw, int count, void* const* pieces, int flags,
              const AcDbEntity* entity, AcDbObjectIdArray* failedIds, AcDbDatabase* database, int space,
              AcDbVoidPtrArray* output = nullptr);

// The symbols of `spec` (the text after "*I=") along `count` pieces (CPolyArc3D*), drawn or appended as for
// makeHatch, `output` included. At most kMaxSymbolsPerCall symbols are placed; past that a message names the
// style. 0 for a null spec, else 1.
int placeSymbols(const char* spec, AcGiWorldDraw* draw, int count, void* const* pieces,
                 const AcDbEntity* entity, AcDbDatabase* database, int space,
                 AcDbVoidPtrArray* output = nullptr);
constexpr int kMaxSymbolsPerCall = 100000;

// Where one symbol sits relative to its point on the line.
struct SymbolPlacement {
    double along = 0;  // offset along the direction
    double across = 0; // offset to the left of the direction
    double angle = 0;  // radians added to the direction
};

// Moves `blockRef` to the world point, offset by the placement, rotated to direction + angle; draws it, or
// appends a clone of it to the space of the database (to `output` when given). 1.
int placeSymbol(AcDbBlockReference& blockRef, AcGiWorldDraw* draw, const CPoint3d& point, double direction,
                const SymbolPlacement& placement, AcDbDatabase* database, int space,
                AcDbVoidPtrArray* output = nullptr);
