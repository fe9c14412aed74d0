// Writes the example drawing examples/survey_polylines.dxf: a small survey plan drawn with the plug-in's
// polylines (a parcel with a curved side, a kerb with arcs, a contour line with heights), labelled with
// host texts, then a hatched parcel and a hedge of tree symbols (styles in their extended data, the tree
// block in the drawing) and the drawing's TEF colour record. The shipped drawing was made with it:
//   zorta_example_polylines examples/survey_polylines.dxf
#include <cstdio>
#include <initializer_list>
#include <string>

#include "cadutil/database/layers.h"
#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "host/db/build_list.h"
#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/symbol_tables.h"
#include "host/entities/circle_arc.h"
#include "host/entities/text.h"
#include "host/filing/dxf_file.h"
#include "host/filing/text_codec.h"

namespace {

struct Vertex {
    CPoint3d point;
    double bulge = 0;
    signed char kind = 0; // tef1: the vertex code's kind
    double height = 0;    // f39
    double width = 0;     // f40
};

void append(AcDbDatabase& db, AcDbEntity* entity, const char* layer) {
    AcDbObjectId layerId;
    getLayerId(layer, layerId, &db);
    entity->setDatabaseDefaults(&db);
    entity->setLayer(layerId);
    AcDbObjectId id;
    if (appendEntityToSpace(id, entity, 1, &db).isNull())
        delete entity;
    else
        entity->close();
}

void addPolyline(AcDbDatabase& db, const char* layer, bool closed, std::initializer_list<Vertex> vertices,
                 const wchar_t* style = nullptr) {
    auto* poly = new PolyArc3D;
    for (const Vertex& v : vertices) {
        P_Vertex* node = poly->A();
        node->pt = v.point;
        node->bulge = v.bulge;
        node->tef1 = v.kind;
        node->f39(v.height);
        node->f40(v.width);
    }
    poly->setClosed(closed);
    if (style) {
        resbuf* xdata = acutBuildList(1001, L"ZORTA", 1000, style, 0);
        poly->setXData(xdata);
        acutRelRb(xdata);
    }
    append(db, poly, layer);
}

// The block "ARBRE": a tree drawn as a circle of radius 0.6 round its insertion point.
void addTreeBlock(AcDbDatabase& db) {
    auto* tree = new AcDbBlockTableRecord;
    tree->setName(L"ARBRE");
    AcDbBlockTable* blocks = nullptr;
    if (db.getBlockTable(blocks, AcDb::kForWrite) != Acad::eOk) return;
    blocks->add(tree);
    blocks->close();
    auto* crown = new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.6);
    crown->setDatabaseDefaults(&db);
    tree->appendAcDbEntity(crown);
    crown->close();
    tree->close();
}

// The drawing's TEF colour record: TEF0 gives code 1 colour 1 and code 4 colour 6.
void addTefColors(AcDbDatabase& db) {
    AcDbDictionary* named = nullptr;
    if (db.getNamedObjectsDictionary(named, AcDb::kForWrite) != Acad::eOk) return;
    auto* zorta = new AcDbDictionary;
    AcDbObjectId id;
    named->setAt(L"ZORTA_32", zorta, id);
    named->close();
    auto* record = new AcDbXrecord;
    zorta->setAt(L"ZORTATEFCOLOR", record, id);
    zorta->close();
    resbuf* texts = acutBuildList(1, L"1,0,0,6,", 0);
    record->setFromRbChain(*texts);
    acutRelRb(texts);
    record->close();
}

void addLabel(AcDbDatabase& db, const AcGePoint3d& at, const wchar_t* text) {
    auto* label = new AcDbText;
    label->setPosition(at);
    label->setHeight(1.5);
    label->setTextString(text);
    append(db, label, "TEXTE");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorta_example_polylines OUT.dxf\n");
        return 2;
    }
    if (!PolyArc3D::rxInit()) return 1;
    AcDbDatabase db;
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    // A parcel whose north side follows a curved road.
    addPolyline(db, "PARCELLE", true,
                {{{1000, 2000, 412.10}, 0, 1},
                 {{1040, 2000, 412.85}, 0.2, 1},
                 {{1040, 2030, 413.40}, 0, 1},
                 {{1000, 2030, 412.95}, 0, 1}});
    // A kerb: a straight run, a bend to the left, a straight run; the kerb's height and width on each vertex.
    addPolyline(db, "BORDURE", false,
                {{{995, 2035, 413.00}, 0, 4, 0.15, 0.30},
                 {{1030, 2035, 413.30}, 0.414213562, 4, 0.15, 0.30},
                 {{1045, 2050, 413.55}, 0, 4, 0.15, 0.30},
                 {{1045, 2080, 413.90}, 0, 4, 0.15, 0.30}});
    // A contour line at 413 m.
    addPolyline(db, "COURBE_413", false,
                {{{990, 2010, 413}},
                 {{1005, 2016, 413}},
                 {{1020, 2019, 413}},
                 {{1035, 2026, 413}},
                 {{1050, 2031, 413}}});
    addLabel(db, AcGePoint3d(1012, 2014, 0), L"Parcelle 128");
    addLabel(db, AcGePoint3d(1048, 2060, 0), L"Bordure");
    addLabel(db, AcGePoint3d(988, 2006, 0), L"413");
    // A hatched parcel and a hedge of trees along it.
    acdbRegApp(L"ZORTA");
    addTreeBlock(db);
    addPolyline(db, "PARCELLE", true,
                {{{1060, 2000, 412.5}}, {{1090, 2000, 412.5}}, {{1090, 2025, 412.5}}, {{1060, 2025, 412.5}}},
                L"*H=D!,d=2,a=50,c=3");
    addPolyline(db, "HAIE", false, {{{1060, 2030, 413}}, {{1090, 2030, 413}}, {{1090, 2045, 413}}},
                L"*I=ARBRE,d=5");
    addTefColors(db);
    const Acad::ErrorStatus es = host::writeDxfFile(db, host::fromUtf8(argv[1]));
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    if (es != Acad::eOk) {
        std::fprintf(stderr, "zorta_example_polylines: cannot write %s: %s\n", argv[1],
                     db.lastFileError().c_str());
        return 1;
    }
    return 0;
}
