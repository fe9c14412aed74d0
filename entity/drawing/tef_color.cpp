#include "entity/drawing/tef_color.h"

#include "cadutil/database/tef_color_tables.h"
#include "geometry/points/vertex.h"

namespace {
constexpr std::uint16_t kUntabledQualifierColor = 9;
}

std::uint16_t tefColor(const P_Vertex* v, std::uint16_t defaultColor) {
    if (!v) return 0;
    const auto kind = static_cast<unsigned char>(v->tef1);
    const auto qualifier = static_cast<unsigned char>(v->tef2);
    const TefColorTable* kinds = tefColorTable(0);
    const TefColorTable* qualifiers = tefColorTable(1);
    if (kind != 0 && kinds && (*kinds)[kind] != 0) return (*kinds)[kind];
    if (qualifier != 0 && qualifiers) {
        const std::uint16_t color = (*qualifiers)[qualifier];
        return color != 0 ? color : defaultColor;
    }
    if (!kinds && !qualifiers && (qualifier & 3) != 0) return kUntabledQualifierColor;
    return defaultColor;
}
