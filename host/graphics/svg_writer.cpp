#include "host/graphics/svg_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/text_codec.h"
#include "host/graphics/highlights.h"
#include "host/graphics/svg_dashes.h"
#include "host/graphics/svg_number.h"

namespace host {
namespace {

// Whether XML 1.0 allows the character in a document (line breaks excepted: an element's text is one line).
bool isXmlCharacter(wchar_t c) {
    return c == L'\t' || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The text as XML character data in UTF-8; characters XML does not allow are left out, so that the file
// stays well-formed whatever a drawing's texts hold.
std::string escape(const std::wstring& text) {
    std::wstring kept;
    for (wchar_t c : text) {
        switch (c) {
        case L'<':
            kept += L"&lt;";
            break;
        case L'>':
            kept += L"&gt;";
            break;
        case L'&':
            kept += L"&amp;";
            break;
        case L'"':
            kept += L"&quot;";
            break;
        default:
            if (isXmlCharacter(c)) kept += c;
        }
    }
    return toUtf8(kept);
}

std::string hex(int r, int g, int b) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "#";
    for (int v : {r, g, b}) {
        v = std::clamp(v, 0, 255);
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

std::wstring layerName(const AcDbObjectId& id) {
    auto* layer = id.isValid() ? AcDbLayerTableRecord::cast(id.stub()->object) : nullptr;
    return layer ? std::wstring(layer->name()) : L"0";
}

// Whether the primitive belongs to a highlighted part of its entity (the layer's drawing finds the entity by
// the handle).
bool isHighlighted(const Primitive& p) {
    AcDbDatabase* db = p.traits.layer.database();
    AcDbObjectId id;
    if (!db || p.handle.isNull() || db->getAcDbObjectId(id, false, p.handle) != Acad::eOk) return false;
    const Highlight highlight = highlightOf(id);
    return highlight.whole || highlight.markers.contains(p.traits.marker);
}

// The points an element shows: a mesh by its border (its first row, last column, last row back and first
// column back), so that a band over a curve follows the curve in plan rather than cutting across it.
std::vector<AcGePoint3d> shownPoints(const Primitive& p) {
    if (p.kind != PrimitiveKind::Mesh || p.rows < 2 || p.columns < 2 ||
        p.points.size() != std::size_t{p.rows} * p.columns)
        return p.points;
    auto at = [&](std::size_t row, std::size_t column) { return p.points[row * p.columns + column]; };
    std::vector<AcGePoint3d> border;
    const std::size_t lastRow = p.rows - 1, lastColumn = p.columns - 1;
    for (std::size_t c = 0; c < lastColumn; ++c)
        border.push_back(at(0, c));
    for (std::size_t r = 0; r < lastRow; ++r)
        border.push_back(at(r, lastColumn));
    for (std::size_t c = lastColumn; c > 0; --c)
        border.push_back(at(lastRow, c));
    for (std::size_t r = lastRow; r > 0; --r)
        border.push_back(at(r, 0));
    return border;
}

} // namespace

std::string colorIndexToRgb(Adesk::UInt16 index) {
    static const std::array<std::array<int, 3>, 10> basic = {{{0, 0, 0},
                                                              {255, 0, 0},
                                                              {255, 255, 0},
                                                              {0, 255, 0},
                                                              {0, 255, 255},
                                                              {0, 0, 255},
                                                              {255, 0, 255},
                                                              {0, 0, 0},
                                                              {128, 128, 128},
                                                              {192, 192, 192}}};
    static const std::array<int, 6> grays = {51, 80, 105, 130, 190, 255};
    if (index < 10) return hex(basic[index][0], basic[index][1], basic[index][2]);
    if (index >= 250)
        return index > 255 ? hex(0, 0, 0) : hex(grays[index - 250], grays[index - 250], grays[index - 250]);
    // 24 hues of 15 degrees; in each, five shades, every odd index a half-saturated one.
    static const std::array<double, 5> shades = {1.0, 0.8, 0.6, 0.5, 0.3};
    double hue = (index / 10 - 1) * 15.0;
    double value = shades[(index % 10) / 2] * 255;
    double saturation = index % 2 ? 0.5 : 1.0;
    auto channel = [&](double n) {
        double k = std::fmod(n + hue / 60, 6);
        double f = std::clamp(std::min(k, 4 - k), 0.0, 1.0);
        return static_cast<int>(std::lround(value * (1 - saturation * f)));
    };
    return hex(channel(5), channel(3), channel(1));
}

std::string writeSvg(const std::vector<Primitive>& primitives) {
    double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
    auto extend = [&](const AcGePoint3d& q) {
        minX = std::min(minX, q.x);
        maxX = std::max(maxX, q.x);
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    };
    // Rays reach out of any picture: the others make its bounds, rays are cut at them. A text counts with
    // its whole box, so that a text at the edge is not cut off.
    for (const Primitive& p : primitives) {
        if (p.kind == PrimitiveKind::Text)
            std::ranges::for_each(textBox(p), extend);
        else if (p.kind == PrimitiveKind::Ray && !p.points.empty())
            extend(p.points.front());
        else
            std::ranges::for_each(p.points, extend);
    }
    if (minX > maxX) minX = minY = 0, maxX = maxY = 1;
    double margin = std::max({maxX - minX, maxY - minY, 1.0}) * 0.02;
    double width = maxX - minX + 2 * margin, height = maxY - minY + 2 * margin;
    // Drawing y grows upwards, SVG y downwards.
    auto x = [&](double v) { return svgNumber(v - minX + margin); };
    auto y = [&](double v) { return svgNumber(maxY + margin - v); };
    double stroke = std::max(width, height) / 1000;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                      svgNumber(width) + " " + svgNumber(height) + "\" stroke-width=\"" + svgNumber(stroke) +
                      "\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const Primitive& p : primitives) {
        std::string colour = colorIndexToRgb(p.color);
        const bool highlighted = isHighlighted(p);
        std::string data = " data-handle=\"" + toUtf8(p.handle.text()) + "\" data-marker=\"" +
                           std::to_string(p.traits.marker) + "\" data-layer=\"" +
                           escape(layerName(p.traits.layer)) + "\"" +
                           (highlighted ? " data-highlighted=\"1\" stroke-dasharray=\"4 2\"" : "");
        // A line in its colour and with the dashes of its linetype (a highlight shows its own dashes).
        const std::string dashes = highlighted ? "" : svgDashArray(p.traits, stroke);
        const std::string line = " fill=\"none\" stroke=\"" + colour + "\"" +
                                 (dashes.empty() ? "" : " stroke-dasharray=\"" + dashes + "\"") + data;
        std::string points;
        for (const AcGePoint3d& q : shownPoints(p))
            points += (points.empty() ? "" : " ") + x(q.x) + "," + y(q.y);
        switch (p.kind) {
        case PrimitiveKind::Circle:
            if (std::abs(p.normal.z) > 1 - 1e-9) {
                svg += "<circle cx=\"" + x(p.center.x) + "\" cy=\"" + y(p.center.y) + "\" r=\"" +
                       svgNumber(p.radius) + "\"" + line + "/>\n";
                break;
            }
            [[fallthrough]];
        case PrimitiveKind::Arc:
        case PrimitiveKind::Polyline:
            if (p.points.size() == 1)
                svg += "<circle cx=\"" + x(p.points[0].x) + "\" cy=\"" + y(p.points[0].y) + "\" r=\"" +
                       svgNumber(stroke * 2) + "\" fill=\"" + colour + "\"" + data + "/>\n";
            else
                svg += "<polyline points=\"" + points + "\"" + line + "/>\n";
            break;
        case PrimitiveKind::Ray: {
            AcGeVector3d d = (p.points[1] - p.points[0]).normal() * (width + height);
            AcGePoint3d end = p.points[0] + d;
            svg += "<polyline points=\"" + x(p.points[0].x) + "," + y(p.points[0].y) + " " + x(end.x) + "," +
                   y(end.y) + "\"" + line + "/>\n";
            break;
        }
        case PrimitiveKind::Polygon:
        case PrimitiveKind::Mesh:
            svg += "<polygon points=\"" + points + "\" fill=\"" + colour +
                   "\" fill-opacity=\"0.25\" stroke=\"" + colour + "\"" + data + "/>\n";
            break;
        case PrimitiveKind::Text: {
            double angle = -std::atan2(p.direction.y, p.direction.x) * 180 / 3.141592653589793;
            std::string px = x(p.points[0].x), py = y(p.points[0].y);
            svg += "<text x=\"" + px + "\" y=\"" + py + "\" font-size=\"" + svgNumber(p.height) +
                   "\" font-family=\"sans-serif\" fill=\"" + colour + "\" transform=\"rotate(" +
                   svgNumber(angle) + " " + px + " " + py + ")\"" + data + ">" + escape(p.text) + "</text>\n";
            break;
        }
        }
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace host
