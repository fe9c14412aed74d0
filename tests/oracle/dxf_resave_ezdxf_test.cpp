// Drawings written or re-saved by another DXF program (ezdxf), opened by the host and saved again: ezdxf's
// audit finds no error in what the host saves, and every entity comes through with its kind, handle and key
// geometry.
#include <gtest/gtest.h>

#include <cmath>

#include "host/filing/dxf_file.h"
#include "host/filing/text_codec.h"
#include "tests/entity/poly_test_support.h"
#include "tests/entity/sample_polylines.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"
#include "tests/oracle/python_oracle.h"

namespace {

constexpr const char* kOracle = "dxf_resave_oracle.py";

// A drawing re-saved by ezdxf, in a file of its own.
struct Resaved {
    explicit Resaved(const std::string& source) {
        EXPECT_EQ(oracle::runPythonOracle(kOracle, "resave " + source + " " + file.path).size(), 1u);
    }
    host::test::TemporaryFile file{".dxf"};
};

void expectSameEntities(const std::vector<oracle::Row>& before, const std::vector<oracle::Row>& after) {
    ASSERT_EQ(after.size(), before.size()) << "entity count";
    for (std::size_t i = 1; i < before.size(); ++i) {
        SCOPED_TRACE("entity " + std::to_string(i));
        ASSERT_GE(before[i].size(), 2u);
        ASSERT_EQ(after[i].size(), before[i].size()) << "kind " << before[i][0];
        EXPECT_EQ(after[i][0], before[i][0]) << "kind";
        EXPECT_EQ(after[i][1], before[i][1]) << "handle";
        for (std::size_t k = 2; k < before[i].size(); ++k)
            EXPECT_NEAR(after[i][k], before[i][k], 1e-9 * std::max(1.0, std::abs(before[i][k])))
                << "value " << k << " of kind " << before[i][0];
    }
}

// The host opens `source` and saves it; ezdxf finds no error in what it saved and the same entities as in
// `source`.
void expectTheHostKeepsEverything(const std::string& source) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase w;
    ASSERT_EQ(host::readDxfFile(*w.db, host::fromUtf8(source)), Acad::eOk) << w.db->lastFileError();
    host::test::TemporaryFile saved(".dxf");
    ASSERT_EQ(host::writeDxfFile(*w.db, saved.wide()), Acad::eOk) << w.db->lastFileError();
    const std::vector<oracle::Row> before = oracle::runPythonOracle(kOracle, "entities " + source);
    const std::vector<oracle::Row> after = oracle::runPythonOracle(kOracle, "entities " + saved.path);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after[0], oracle::Row{0}) << "audit errors of what the host saved";
    expectSameEntities(before, after);
}

TEST(EzdxfDrawings, ANewR2000DocumentWithEveryKindTheHostKeepsOpens) {
    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(oracle::runPythonOracle("host_dxf_oracle.py", "write " + file.path).size(), 1u);
    expectTheHostKeepsEverything(file.path);
}

TEST(EzdxfDrawings, TheExamplesResavedByEzdxfOpen) {
    for (const char* name : {"standard_entities.dxf", "survey_polylines.dxf"}) {
        SCOPED_TRACE(name);
        Resaved resaved(std::string(EXAMPLES) + "/" + name);
        expectTheHostKeepsEverything(resaved.file.path);
    }
}

TEST(EzdxfDrawings, TheHostsOwnDrawingResavedByEzdxfOpens) {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase w;
    host::test::buildSampleDrawing(*w.db);
    poly_test::addSamplePolylines(*w.db);
    host::test::TemporaryFile own(".dxf");
    ASSERT_EQ(host::writeDxfFile(*w.db, own.wide()), Acad::eOk) << w.db->lastFileError();
    Resaved resaved(own.path);
    expectTheHostKeepsEverything(resaved.file.path);
}

} // namespace
