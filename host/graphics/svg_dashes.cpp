#include "host/graphics/svg_dashes.h"

#include <cmath>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"
#include "host/graphics/svg_number.h"

namespace host {
namespace {

// The linetype drawn: "by layer" is the layer's.
const AcDbLinetypeTableRecord* drawnLinetype(const Traits& traits) {
    const auto* linetype = liveObjectOf<AcDbLinetypeTableRecord>(traits.linetype);
    AcDbDatabase* db = traits.linetype.database();
    if (db && traits.linetype == db->byLayerLinetype()) {
        const auto* layer = liveObjectOf<AcDbLayerTableRecord>(traits.layer);
        linetype = layer ? liveObjectOf<AcDbLinetypeTableRecord>(layer->linetypeObjectId()) : nullptr;
    }
    return linetype;
}

} // namespace

std::string svgDashArray(const Traits& traits, double dotLength) {
    const AcDbLinetypeTableRecord* linetype = drawnLinetype(traits);
    if (!linetype || linetype->numDashes() == 0) return {};
    AcDbDatabase* db = traits.linetype.database();
    const double scale = std::abs(traits.linetypeScale * (db ? db->ltscale() : 1.0));
    // SVG alternates dash and gap from a dash (even places dashes, odd ones gaps): elements of one kind in a
    // row add up, a pattern that opens with a gap opens with an empty dash, and one that ends with a dash
    // ends with an empty gap.
    std::vector<double> lengths;
    for (int i = 0; i < linetype->numDashes(); ++i) {
        const double element = linetype->dashLengthAt(i);
        const std::size_t kind = element >= 0 ? 0 : 1;
        const double length = element == 0 ? dotLength : std::abs(element) * scale;
        if (!lengths.empty() && (lengths.size() - 1) % 2 == kind) {
            lengths.back() += length;
            continue;
        }
        if (lengths.size() % 2 != kind) lengths.push_back(0);
        lengths.push_back(length);
    }
    if (lengths.size() % 2) lengths.push_back(0);
    double total = 0;
    for (double length : lengths)
        total += length;
    if (!std::isfinite(total) || total <= 0) return {};
    std::string text;
    for (double length : lengths)
        text += (text.empty() ? "" : " ") + svgNumber(length);
    return text;
}

} // namespace host
