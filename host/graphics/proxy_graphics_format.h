#pragma once
// The proxy-graphics image: what an entity drew, kept in the drawing so that a program without the entity's
// module can still show it. Little-endian; an image header, then entries of an entry header (the entry's
// size, header included, and its operation) and the operation's data. Points are three doubles in world
// coordinates; traits are set by their own entries and hold for the primitives after them.
#include <cstddef>
#include <cstdint>

#include "host/db/db_object_id.h"

namespace host::proxy_graphics {

enum class Op : std::uint32_t {
    Circle = 2,
    CircularArc = 4,
    Polyline = 6, // count, points
    Polygon = 7,  // count, points
    Mesh = 8,     // rows, columns, points, then edge, face and vertex trait flags (none written)
    Ray = 13,
    Color = 14,         // colour index
    Layer = 16,         // index of the layer in the layer table
    Linetype = 18,      // index of the linetype in the linetype table
    Marker = 19,        // selection marker, 32-bit signed
    LineWeight = 23,    // 32-bit signed
    LinetypeScale = 24, // double
    Thickness = 25,     // double
    PushMatrix = 29,    // 16 doubles, row by row
    PopMatrix = 31,
    PolylineWithNormal = 32, // count, points, normal
    UnicodeText = 36,        // text head, then UTF-16LE with a null, padded to 4 bytes
};

#pragma pack(push, 1)
struct Header { // of the image and of each entry
    std::uint32_t size;
    std::uint32_t value; // the image's entry count, or the entry's operation
};
struct CircleData {
    double center[3];
    double radius;
    double normal[3];
};
struct ArcData {
    double center[3];
    double radius;
    double normal[3];
    double startVector[3];
    double sweep;
    std::uint32_t arcType;
};
struct RayData {
    double base[3];
    double through[3];
};
struct MeshHead {
    std::uint32_t rows;
    std::uint32_t columns;
};
struct TextHead {
    double position[3];
    double normal[3];
    double direction[3];
    double height;
    double widthFactor;
    double oblique;
};
struct MatrixData {
    double entry[16];
};
#pragma pack(pop)

static_assert(sizeof(Header) == 8);
static_assert(sizeof(CircleData) == 56 && offsetof(CircleData, normal) == 32);
static_assert(sizeof(ArcData) == 92 && offsetof(ArcData, startVector) == 56 &&
              offsetof(ArcData, sweep) == 80);
static_assert(sizeof(RayData) == 48);
static_assert(sizeof(MeshHead) == 8);
static_assert(sizeof(TextHead) == 96 && offsetof(TextHead, height) == 72);
static_assert(sizeof(MatrixData) == 128);

constexpr std::size_t kPointSize = 3 * sizeof(double);
constexpr std::size_t kMeshTraitFlags = 3; // edge, face and vertex flag words after a mesh's points

// Layers and linetypes go by their place among the live records of their table, as the drawing file lists
// them. The place of `record` (-1 when it is none of them), and the record at `index` (null when none).
long recordIndex(AcDbObjectId table, AcDbObjectId record);
AcDbObjectId recordAt(AcDbObjectId table, std::uint32_t index);

} // namespace host::proxy_graphics
