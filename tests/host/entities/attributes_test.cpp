// Attributes owned by block references: kept in order through the drawing files, copies and undo, drawn
// with their reference, turned into texts by EXPLODE, and walked by entnext but never chosen alone.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "host/entities/attributes.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dxf_file.h"
#include "host/graphics/graphics_recorder.h"
#include "host/input/entity_refs.h"
#include "host/lisp/entity_lists.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"
#include "tests/host/editor_test_support.h"

using host::test::EditorSession;

namespace {

struct Shown {
    std::wstring tag, value;
    bool operator==(const Shown&) const = default;
};

// A survey point as other programs carry it: a block with a circle, a visible ALTITUDE, an invisible CODE and
// a constant SOURCE, referenced at (100, 200) turned a quarter.
struct SurveyPoint : EditorSession {
    SurveyPoint() {
        AcDbBlockTable* blocks = nullptr;
        drawing.db->getBlockTable(blocks, AcDb::kForWrite);
        auto* block = new AcDbBlockTableRecord;
        block->setName(L"POINT_TOPO");
        blocks->add(blockId, block);
        blocks->close();
        block->appendAcDbEntity(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.5));
        auto* altitude = new AcDbAttributeDefinition(AcGePoint3d(1, 0, 0), L"0.00", L"ALTITUDE", L"Altitude");
        auto* code = new AcDbAttributeDefinition(AcGePoint3d(1, -1, 0), L"", L"CODE", L"Code");
        code->setInvisible(true);
        auto* source = new AcDbAttributeDefinition(AcGePoint3d(1, 1, 0), L"GPS", L"SOURCE", L"");
        source->setConstant(true);
        for (AcDbAttributeDefinition* definition : {altitude, code, source})
            block->appendAcDbEntity(definition);
        auto* reference = new AcDbBlockReference(AcGePoint3d(100, 200, 0), blockId);
        reference->setRotation(M_PI / 2);
        for (auto [definition, value] : {std::pair{altitude, L"12.5"}, std::pair{code, L"B7"}}) {
            auto* attribute = new AcDbAttribute;
            attribute->setAttributeFromBlock(definition, reference->blockTransform());
            attribute->setTextString(value);
            EXPECT_EQ(reference->appendAttribute(attribute), Acad::eOk);
        }
        for (AcDbAttributeDefinition* definition : {altitude, code, source})
            definition->close();
        block->close();
        referenceId = addEntity(reference);
    }

    // The tags and values of the reference's attributes, each checked to be owned by it.
    std::vector<Shown> attributes(AcDbObjectId reference) const {
        std::vector<Shown> found;
        AcDbBlockReference* r = nullptr;
        EXPECT_EQ(acdbOpenObject(r, reference, AcDb::kForRead), Acad::eOk);
        if (!r) return found;
        std::unique_ptr<AcDbObjectIterator> it(r->attributeIterator());
        for (; !it->done(); it->step()) {
            AcDbAttribute* a = nullptr;
            EXPECT_EQ(acdbOpenObject(a, it->objectId(), AcDb::kForRead), Acad::eOk);
            EXPECT_EQ(a->ownerId(), reference);
            found.push_back({a->tagConst(), a->textStringConst()});
            a->close();
        }
        AcDbSequenceEnd* end = nullptr;
        EXPECT_EQ(r->openSequenceEnd(end, AcDb::kForRead), Acad::eOk) << "the attributes end with a SEQEND";
        if (end) {
            EXPECT_EQ(end->ownerId(), reference);
            end->close();
        }
        r->close();
        return found;
    }

    AcDbObjectId blockId, referenceId;
};

const std::vector<Shown> kValues{{L"ALTITUDE", L"12.5"}, {L"CODE", L"B7"}};

AcDbObjectId onlyReference() {
    for (AcDbObjectId id : host::currentSpaceEntities())
        if (host::objectOf<AcDbBlockReference>(id)) return id;
    return {};
}

} // namespace

TEST(Attributes, ComeBackInOrderOwnedByTheirReferenceThroughEveryCopy) {
    SurveyPoint s;
    ASSERT_EQ(s.attributes(s.referenceId), kValues);
    const std::string dxf = host::writeDxf(*s.drawing.db);
    EXPECT_NE(dxf.find("INSERT\n  5\n"), std::string::npos);
    const std::size_t insert = dxf.find("AcDbBlockReference\n 66\n1\n");
    ASSERT_NE(insert, std::string::npos) << "the reference says attributes follow";
    EXPECT_LT(insert, dxf.find("\nATTRIB\n"));
    EXPECT_LT(dxf.find("\nATTRIB\n"), dxf.find("\nSEQEND\n"));

    std::string binary;
    ASSERT_EQ(host::writeDrawing(*s.drawing.db, binary), Acad::eOk);
    for (const std::string* content : {&dxf, static_cast<const std::string*>(&binary)}) {
        AcDbDatabase read(false);
        ASSERT_EQ(host::readDrawingContent(read, *content), Acad::eOk) << read.lastFileError();
        acdbHostApplicationServices()->setWorkingDatabase(&read);
        EXPECT_EQ(s.attributes(onlyReference()), kValues);
        EXPECT_EQ(host::currentSpaceEntities().size(), 1u) << "attributes are not entities of the space";
        acdbHostApplicationServices()->setWorkingDatabase(s.drawing.db.get());
    }

    AcDbBlockReference* reference = nullptr;
    ASSERT_EQ(acdbOpenObject(reference, s.referenceId, AcDb::kForRead), Acad::eOk);
    auto* copy = AcDbBlockReference::cast(reference->clone());
    reference->close();
    const AcDbObjectId copyId = s.addEntity(copy);
    EXPECT_EQ(s.attributes(copyId), kValues) << "a copy has attributes of its own";
    EXPECT_EQ(s.attributes(s.referenceId), kValues);
}

TEST(Attributes, AnAttributeAddedInAnUndoGroupGoesWithIt) {
    SurveyPoint s;
    s.drawing.db->beginUndoGroup();
    AcDbBlockReference* reference = nullptr;
    ASSERT_EQ(acdbOpenObject(reference, s.referenceId, AcDb::kForWrite), Acad::eOk);
    auto* note = new AcDbAttribute(AcGePoint3d(100, 203, 0), L"relevé 2024", L"NOTE");
    ASSERT_EQ(reference->appendAttribute(note), Acad::eOk);
    note->close();
    reference->close();
    s.drawing.db->endUndoGroup();
    EXPECT_EQ(s.attributes(s.referenceId).size(), 3u);
    ASSERT_EQ(s.drawing.db->undoLastGroup(), Acad::eOk);
    EXPECT_EQ(s.attributes(s.referenceId), kValues);
}

TEST(Attributes, AreDrawnWithTheirReferenceWhenVisible) {
    SurveyPoint s;
    host::GraphicsRecorder recorder;
    recorder.recordBlock(s.drawing.db.get());
    std::vector<std::wstring> texts;
    for (const host::Primitive& p : recorder.primitives())
        if (p.kind == host::PrimitiveKind::Text) texts.push_back(p.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"GPS", L"12.5"}))
        << "the constant definition's value and the visible attribute; no tag, nothing invisible";
}

TEST(Attributes, ExplodeLeavesTheVisibleValuesAsTexts) {
    SurveyPoint s;
    const std::wstring pick = L"@select " + s.referenceId.handle().text();
    s.type({L"_EXPLODE", pick.c_str(), L""});
    host::runCommandLine();
    std::vector<std::wstring> kinds, values;
    for (AcDbObjectId id : host::currentSpaceEntities()) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
        kinds.push_back(e->isA()->name());
        if (auto* text = AcDbText::cast(e)) {
            values.push_back(text->textStringConst());
            if (values.back() == L"12.5") {
                EXPECT_TRUE(text->position().isEqualTo(AcGePoint3d(100, 201, 0), AcGeTol()))
                    << "where the attribute stood, turned with the reference";
            }
        }
        e->close();
    }
    EXPECT_EQ(kinds, (std::vector<std::wstring>{L"AcDbCircle", L"AcDbText", L"AcDbText"}));
    EXPECT_EQ(values, (std::vector<std::wstring>{L"GPS", L"12.5"}));
}

TEST(Attributes, EntnextWalksThemButSelectionsNeverTakeThemAlone) {
    SurveyPoint s;
    const AcDbObjectId after = s.addSegment({0, 0, 0}, {1, 1, 0});
    std::vector<std::wstring> walk;
    ads_name at{0, 0}, next;
    while (acdbEntNext(at, next) == RTNORM) {
        host::test::Chain list(acdbEntGet(next));
        walk.push_back(list.rb->rbnext->resval.rstring);
        at[0] = next[0];
        at[1] = next[1];
    }
    EXPECT_EQ(walk, (std::vector<std::wstring>{L"INSERT", L"ATTRIB", L"ATTRIB", L"SEQEND",
                                               host::entityTypeName(host::objectOf<AcDbEntity>(after))}));

    ads_name all;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, all), RTNORM);
    Adesk::Int32 length = 0;
    acedSSLength(all, &length);
    EXPECT_EQ(length, 2) << "the reference and the segment";
    acedSSFree(all);

    // entget and entmod of an attribute.
    ads_name reference, first;
    acdbGetAdsName(reference, s.referenceId);
    ASSERT_EQ(acdbEntNext(reference, first), RTNORM);
    host::test::Chain altitude(acdbEntGet(first));
    for (resbuf* rb = altitude.rb; rb; rb = rb->rbnext)
        if (rb->restype == 1) {
            acutDelString(rb->resval.rstring);
            rb->resval.rstring = acutNewString(L"13.0");
        }
    ASSERT_EQ(acdbEntMod(altitude.rb), RTNORM);
    EXPECT_EQ(s.attributes(s.referenceId), (std::vector<Shown>{{L"ALTITUDE", L"13.0"}, {L"CODE", L"B7"}}));
}
