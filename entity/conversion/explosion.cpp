// PolyArc3D's explosion: host polylines made from it, whole, or piece by piece and, on request, one per
// run of vertices of one vertex code.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "entity/conversion/conversion_flags.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_classes.h"
#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/draw_state.h"
#include "entity/drawing/style_text.h"
#include "entity/drawing/tef_color.h"
#include "entity/editing/eclate_result.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "services/startup/fvar.h"

namespace {

// The products of one explosion, one list per piece, held until all are made: an explosion that fails
// half-way leaves nothing in the drawing and nothing in the caller's array.
class Products {
public:
    explicit Products(int pieces) : m_pieces(static_cast<std::size_t>(std::max(pieces, 1))) {}
    Products(const Products&) = delete;
    Products& operator=(const Products&) = delete;
    ~Products() {
        for (const std::vector<AcDbEntity*>& piece : m_pieces)
            for (AcDbEntity* e : piece)
                delete e;
    }

    void add(int piece, AcDbEntity* made) { m_pieces[piece].push_back(made); }
    bool empty() const {
        return std::all_of(m_pieces.begin(), m_pieces.end(), [](const auto& p) { return p.empty(); });
    }

    // Into the caller's array, the last piece's first.
    void handTo(AcDbVoidPtrArray& output) {
        for (auto piece = m_pieces.rbegin(); piece != m_pieces.rend(); ++piece) {
            for (AcDbEntity* e : *piece)
                output.append(e);
            piece->clear();
        }
    }

    // Each appended to the space and closed, the last piece's first; the ids of each piece's entities. False
    // when the drawing refuses one: those appended stay, the others are deleted.
    bool append(AcDbDatabase* database, int space, std::vector<AcDbObjectIdArray>& ids) {
        ids.assign(m_pieces.size(), AcDbObjectIdArray());
        bool placed = true;
        for (std::size_t i = m_pieces.size(); i-- > 0;) {
            for (AcDbEntity* e : m_pieces[i]) {
                AcDbObjectId id;
                if (placed && !appendEntityToSpace(id, e, space, database).isNull()) {
                    ids[i].append(id);
                    e->close();
                } else {
                    placed = false;
                    delete e;
                }
            }
            m_pieces[i].clear();
        }
        return placed;
    }

private:
    std::vector<std::vector<AcDbEntity*>> m_pieces;
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

// A vertex at `at`'s point with no attributes but its width: the segment that ends there keeps its end width.
void finishAt(CPolyArc3D& group, const P_Vertex& at) {
    P_Vertex* last = group.A();
    last->pt = at.pt;
    last->i40 = at.i40;
}

// The vertices from `first` up to `end` (the tail when null) as a polyline of the piece's class and header;
// a group that stops at `end` finishes on its point.
std::unique_ptr<CPolyArc3D> copyRun(CPolyArc3D& piece, const P_Vertex* first, const P_Vertex* end) {
    std::unique_ptr<CPolyArc3D> group(piece.newCPolyArc3D());
    if (!group) return group;
    {
        CPolyArc3D::HeaderOnlyCopy headerOnly;
        group->copyFrom(&piece);
    }
    for (const P_Vertex* v = first; v != end; v = v->pVN)
        group->A(v);
    if (end) finishAt(*group, *end);
    return group;
}

// A closed piece made to end where it starts, so that the closing segment survives as an open one.
void openAtStart(CPolyArc3D& piece) {
    if (!(piece.f70() & 1)) return;
    piece.MajClosed();
    piece.f70(static_cast<short>(piece.f70() & ~1));
    finishAt(piece, *piece.H());
}

// The piece's runs converted into `products`, each with the properties, extended data and (from its vertex
// code) colour of the exploded polyline; a run is the whole piece unless byCode. False when one is refused.
bool explodePiece(const PolyArc3D& source, CPolyArc3D& piece, int index, char letter, bool byCode,
                  double maxDeviation, Products& products) {
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
        products.add(index, made);
        first = end && end->pVN ? end : nullptr;
    }
    return true;
}

} // namespace

Acad::ErrorStatus PolyArc3D::explodeZor(AcDbVoidPtrArray* output, const char* options, double maxDeviation,
                                        AcDbObjectIdArray* errorIds, AcDbDatabase* database, int space) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::explode()", Acad::eInvalidInput, [&] {
        CDocLock lock;
        if (!H()) return Acad::eOk;
        if (!hasSoundVertices()) return Acad::eInvalidInput;
        if (!database) database = this->database();
        if (space < 0) space = !ownerId().isNull() && ownerId() == paperSpaceId(database) ? 0 : 1;
        if (!(maxDeviation > 0)) maxDeviation = vfVar.maxSagitta;

        char letter = options && *options ? options[0] : 'L';
        if (letter != 'L' && letter != '2' && letter != '3') letter = savesAs3dPolyline() ? '3' : 'L';
        const EntityStyle style = entityStyle(*this);
        const bool hatch = hasLetter(options, 'H') && style.kind == StyleKind::Hatch && !style.spec.empty();
        const bool symbols =
            hasLetter(options, 'I') && style.kind == StyleKind::Symbols && !style.spec.empty();
        const bool byCode = hasLetter(options, 'T');

        if (!hatch && !symbols && !byCode) {
            Products whole(1);
            AcDbEntity* made = convert(*this, letter, 0, maxDeviation);
            if (!made) return Acad::eInvalidInput;
            whole.add(0, made);
            if (output) {
                whole.handTo(*output);
                return Acad::eOk;
            }
            std::vector<AcDbObjectIdArray> ids;
            return whole.append(database, space, ids) ? Acad::eOk : Acad::eInvalidInput;
        }

        OwnedPieces pieces;
        eclate(&pieces.array, hatch && byCode ? 2 : 0);
        Products products(pieces.size());
        for (int i = pieces.size() - 1; i >= 0; --i)
            if (!explodePiece(*this, *pieces[i], i, letter, byCode, maxDeviation, products))
                return Acad::eInvalidInput;
        if (products.empty()) return Acad::eInvalidInput;
        if (output) {
            products.handTo(*output);
            // Without ids to follow, the hatch takes the pieces' own loops.
            if (hatch)
                makeHatch(style.spec.c_str(), nullptr, pieces.size(), pieces.array.GetData(), 0, this,
                          errorIds, database, space, output);
        } else {
            std::vector<AcDbObjectIdArray> ids;
            if (!products.append(database, space, ids)) return Acad::eInvalidInput;
            if (hatch) {
                std::vector<void*> loops;
                for (AcDbObjectIdArray& piece : ids)
                    loops.push_back(&piece);
                makeHatch(style.spec.c_str(), nullptr, static_cast<int>(loops.size()), loops.data(),
                          kHatchIdLoops | kHatchAssociative, this, errorIds, database, space);
            }
        }
        if (symbols)
            placeSymbols(style.spec.c_str(), nullptr, pieces.size(), pieces.array.GetData(), this, database,
                         space, output);
        return Acad::eOk;
    });
}

Acad::ErrorStatus PolyArc3D::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    const char* options = poly_drawing::g_drawFlag & poly_drawing::kDrawNoStyles ? "A" : "AHIT";
    // The explosion reads this polyline and changes nothing in it; the conversions it calls are not const.
    return const_cast<PolyArc3D*>(this)->explodeZor(&entities, options, -1, nullptr, nullptr, -1);
}
