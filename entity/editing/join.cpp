// Joining polylines end to end.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/points/angle_units.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

enum class Joint { None, Append, AppendReversed, Prepend, PrependReversed };

bool meet(const P_Vertex* a, const P_Vertex* b, double tol) {
    return CPoint3d(a->pt).dist2dTo(b->pt) < tol;
}

bool near(const P_Vertex* v, const CPoint3d& pick, double tol) {
    return CPoint3d(v->pt).dist2dTo(pick) < tol;
}

Joint jointOf(const CPolyArc3D& target, const CPolyArc3D& item, double tol, const CPoint3d* pick) {
    if (!pick) {
        if (meet(target.T(), item.H(), tol)) return Joint::Append;
        if (meet(target.T(), item.T(), tol)) return Joint::AppendReversed;
        if (meet(target.H(), item.H(), tol)) return Joint::PrependReversed;
        if (meet(target.H(), item.T(), tol)) return Joint::Prepend;
        return Joint::None;
    }
    // At the picked point: target's end there says where, the item's end there says which way round.
    const bool itemHead = near(item.H(), *pick, tol);
    if (!itemHead && !near(item.T(), *pick, tol)) return Joint::None;
    if (near(target.T(), *pick, tol)) return itemHead ? Joint::Append : Joint::AppendReversed;
    if (near(target.H(), *pick, tol)) return itemHead ? Joint::PrependReversed : Joint::Prepend;
    return Joint::None;
}

CPoint3d midpoint(const CPoint3d& a, const CPoint3d& b) {
    return (a + b) / 2;
}

// The items are host entities; temporaries are stored as entities too.
AcDbEntity* entityAt(const CPtrArray& items, int i) {
    return static_cast<AcDbEntity*>(items[i]);
}

CPolyArc3D* polylineAt(const CPtrArray& items, int i) {
    return CPolyArc3D::cast(entityAt(items, i));
}

// Copies of the item's vertices after target's tail; ends at one height within tol become one vertex.
void appendCopyOf(CPolyArc3D& target, CPolyArc3D& item, double tol) {
    P_Vertex* last = target.T();
    P_Vertex* first = item.H();
    if (std::fabs(double(first->pt.z) - last->pt.z) < tol) {
        item.POLYModif(1);
        first->pt = midpoint(first->pt, last->pt);
        target.D(last, 0);
    }
    for (const P_Vertex* v = item.H(); v; v = v->pVN)
        target.A(v);
}

// Copies of the item's vertices before target's head; ends at one height within tol become one vertex.
void prependCopyOf(CPolyArc3D& target, CPolyArc3D& item, double tol) {
    P_Vertex* first = target.H();
    P_Vertex* last = item.T();
    if (std::fabs(double(first->pt.z) - last->pt.z) < tol) {
        target.POLYModif(1);
        first->pt = midpoint(first->pt, last->pt);
        item.D(last, 0);
    }
    for (const P_Vertex* v = item.T(); v; v = v->pVB)
        target.I(nullptr, v);
}

} // namespace

int CPolyArc3D::joind(CPolyArc3D* target, CPtrArray& items, int mode, double tol, CPoint3d* pick) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::joind()", 0, [&] {
        if (!target) return 0;
        // Every item becomes a polyline of the family; a temporary one keeps the object it stands for.
        for (int i = items.GetSize() - 1; i >= 0; --i) {
            AcDbEntity* entity = entityAt(items, i);
            if (entity == target) {
                entity->close();
                items.RemoveAt(i);
            } else if (CPolyArc3D* poly = cast(entity)) {
                poly->m_Scratch = 0;
            } else {
                CPolyArc3D* temporary = target->newCPolyArc3D();
                if (temporary && temporary->from(entity, 0) == Acad::eOk) {
                    temporary->m_Scratch = reinterpret_cast<std::intptr_t>(entity);
                    items[i] = static_cast<AcDbEntity*>(temporary);
                } else {
                    delete temporary;
                    entity->close();
                    items.RemoveAt(i);
                }
            }
        }
        target->POLYModif(1);
        const auto sourceOf = [&](int i) -> AcDbEntity* {
            CPolyArc3D* poly = polylineAt(items, i);
            if (!poly->m_Scratch) return entityAt(items, i);
            auto* source = reinterpret_cast<AcDbEntity*>(poly->m_Scratch);
            delete poly;
            items[i] = source;
            return source;
        };

        std::vector<bool> joined(static_cast<std::size_t>(items.GetSize()), false);
        int count = 0;
        for (bool progress = target->m_pHead != nullptr && target->hasSoundVertices(); progress;) {
            progress = false;
            for (int i = 0; i < items.GetSize(); ++i) {
                if (joined[static_cast<std::size_t>(i)]) continue;
                CPolyArc3D* item = polylineAt(items, i);
                if (!item->m_pHead || !item->hasSoundVertices()) continue;
                const Joint joint = jointOf(*target, *item, tol, pick);
                if (joint == Joint::None) continue;
                if (joint == Joint::AppendReversed || joint == Joint::PrependReversed)
                    item->einvsens(0, nullptr, nullptr);
                if (joint == Joint::Append || joint == Joint::AppendReversed)
                    appendCopyOf(*target, *item, tol);
                else
                    prependCopyOf(*target, *item, tol);
                joined[static_cast<std::size_t>(i)] = true;
                ++count;
                progress = true;
                AcDbEntity* source = sourceOf(i);
                if (mode & 1) {
                    if (CPolyArc3D* poly = cast(source)) poly->RemoveAll();
                    source->erase();
                    source->close();
                }
            }
        }
        for (int i = 0; i < items.GetSize(); ++i) {
            if (joined[static_cast<std::size_t>(i)]) continue;
            AcDbEntity* source = sourceOf(i);
            if (mode & 1) source->close();
        }
        target->maj(-1, _ecpt, _ecpt);
        return count;
    });
}

void CPolyArc3D::joind(CPtrArray* items) {
    if (!items || items->GetSize() < 2) MajClosed();
}
