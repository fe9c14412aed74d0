// PolyArc3D's explosion: host polylines made from it, whole, or piece by piece and, on request, one per
// run of vertices of one vertex code.
#include <cstring>
#include <memory>
#include <vector>

#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "entity/conversion/carto_style.h"
#include "entity/conversion/conversion_flags.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_classes.h"
#include "entity/drawing/draw_state.h"
#include "entity/drawing/tef_color.h"
#include "entity/editing/eclate_result.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "services/startup/fvar.h"

namespace {

// The products of one explosion, held until all are made: an explosion that fails half-way leaves nothing
// in the drawing and nothing in the caller's array.
class Products {
public:
    Products() = default;
    Products(const Products&) = delete;
    Products& operator=(const Products&) = delete;
    ~Products() {
        for (AcDbEntity* e : m_made)
            delete e;
    }

    void add(AcDbEntity* made) { m_made.push_back(made); }
    bool empty() const { return m_made.empty(); }

    // Into the caller's array when there is one, else each appended to the space and closed. False when the
    // drawing refused one: those appended stay, the others are deleted.
    bool deliver(AcDbVoidPtrArray* output, AcDbDatabase* database, int space) {
        std::vector<AcDbEntity*> made;
        made.swap(m_made);
        bool placed = true;
        for (AcDbEntity* e : made) {
            if (output) {
                output->append(e);
                continue;
            }
            AcDbObjectId id;
            if (placed && !appendEntityToSpace(id, e, space, database).isNull()) {
                e->close();
            } else {
                placed = false;
                delete e;
            }
        }
        return placed;
    }

private:
    std::vector<AcDbEntity*> m_made;
};

bool hasLetter(const char* options, char letter) {
    return options && std::strchr(options, letter);
}

// The host polyline of the output letter ('L' lightweight, '2' 2-D, anything else 3-D); null when refused.
AcDbEntity* convert(CPolyArc3D& poly, char letter, int flags, double maxDeviation) {
    if (letter == 'L') return poly.tolw(flags, nullptr);
    if (letter == '2') return poly.to2d(flags, nullptr);
    return poly.to3d(flags, maxDeviation, nullptr);
}

// The vertices from `first` up to `end` (the tail when null) as a polyline of the piece's class and header;
// a group that stops at `end` finishes on its point with no attributes.
std::unique_ptr<CPolyArc3D> copyRun(CPolyArc3D& piece, const P_Vertex* first, const P_Vertex* end) {
    std::unique_ptr<CPolyArc3D> group(piece.newCPolyArc3D());
    if (!group) return group;
    {
        CPolyArc3D::HeaderOnlyCopy headerOnly;
        group->copyFrom(&piece);
    }
    for (const P_Vertex* v = first; v != end; v = v->pVN)
        group->A(v);
    if (end) group->A()->pt = end->pt;
    return group;
}

// A closed piece made to end where it starts, so that the closing segment survives as an open one.
void openAtStart(CPolyArc3D& piece) {
    if (!(piece.f70() & 1)) return;
    piece.MajClosed();
    piece.f70(static_cast<short>(piece.f70() & ~1));
    piece.A()->pt = piece.H()->pt;
}

// The piece's runs converted into `products`, each with the properties, extended data and (from its vertex
// code) colour of the exploded polyline; a run is the whole piece unless byCode. False when one is refused.
bool explodePiece(const PolyArc3D& source, CPolyArc3D& piece, char letter, bool byCode, double maxDeviation,
                  Products& products) {
    openAtStart(piece);
    const P_Vertex* first = piece.H();
    while (first) {
        const P_Vertex* end = nullptr;
        if (byCode)
            for (const P_Vertex* v = first->pVN; v && !end; v = v->pVN)
                if (v->tefs() != first->tefs()) end = v;
        // A run that stops on the tail leaves a single vertex behind: no segment to convert.
        std::unique_ptr<CPolyArc3D> group = copyRun(piece, first, end);
        if (!group) return false;
        AcDbEntity* made = convert(*group, letter, conversion::kWithoutXData, maxDeviation);
        if (!made) return false;
        made->setPropertiesFrom(&source);
        conversion::copyXData(source, *made);
        if (const std::uint16_t color = tefColor(first, 0)) made->setColorIndex(color);
        products.add(made);
        first = end && end->pVN ? end : nullptr;
    }
    return true;
}

} // namespace

Acad::ErrorStatus PolyArc3D::explodeZor(AcDbVoidPtrArray* output, const char* options, double maxDeviation,
                                        AcDbObjectIdArray*, AcDbDatabase* database, int space) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::explode()", Acad::eInvalidInput, [&] {
        CDocLock lock;
        if (!H()) return Acad::eOk;
        if (!hasSoundVertices()) return Acad::eInvalidInput;
        if (!database) database = this->database();
        if (space < 0) space = !ownerId().isNull() && ownerId() == paperSpaceId(database) ? 0 : 1;
        if (!(maxDeviation > 0)) maxDeviation = vfVar.maxSagitta;

        char letter = options && *options ? options[0] : 'L';
        if (letter != 'L' && letter != '2' && letter != '3') letter = savesAs3dPolyline() ? '3' : 'L';
        const CartoStyle style = readCartoStyle(*this);
        const bool hatch = hasLetter(options, 'H') && !style.hatch.empty();
        const bool symbols = hasLetter(options, 'I') && !style.symbols.empty();
        const bool byCode = hasLetter(options, 'T');

        Products products;
        if (!hatch && !symbols && !byCode) {
            AcDbEntity* whole = convert(*this, letter, 0, maxDeviation);
            if (!whole) return Acad::eInvalidInput;
            products.add(whole);
        } else {
            OwnedPieces pieces;
            eclate(&pieces.array, hatch && byCode ? 2 : 0);
            for (int i = pieces.size() - 1; i >= 0; --i)
                if (!explodePiece(*this, *pieces[i], letter, byCode, maxDeviation, products))
                    return Acad::eInvalidInput;
        }
        if (products.empty()) return Acad::eInvalidInput;
        return products.deliver(output, database, space) ? Acad::eOk : Acad::eInvalidInput;
    });
}

Acad::ErrorStatus PolyArc3D::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    const char* options = poly_drawing::g_drawFlag & poly_drawing::kDrawNoStyles ? "A" : "AHIT";
    // The explosion reads this polyline and changes nothing in it; the conversions it calls are not const.
    return const_cast<PolyArc3D*>(this)->explodeZor(&entities, options, -1, nullptr, nullptr, -1);
}
