// A drawing with what the host does not model (dimension styles, viewports, views, user coordinate systems,
// complex linetypes, several layouts, extension dictionaries) and a multiple insert through zhost, as DXF
// and through the binary drawing, with and without the plug-in: ezdxf finds every record, object and entity
// it held, and its audit and GDAL's features by layer find what they found in the original.
#include <gtest/gtest.h>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

testing_support::ProgramRun zhost(const std::string& arguments) {
    return testing_support::runProgram(ZHOST_PROGRAM " " + arguments);
}

} // namespace

TEST(KeptDrawings, EveryRecordObjectAndLayoutComesBack) {
    testing_support::TempFolder folder;
    const std::string original = folder / "original.dxf";
    ASSERT_EQ(oracle::runPythonOracle("keep_oracle.py", "write " + original).size(), 1u);
    std::string saved;
    const std::string modules[] = {"", "--load " PLUGIN_MODULE " "};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string& module = modules[i];
        const std::string tag = std::to_string(i);
        const std::string direct = folder / ("direct" + tag + ".dxf");
        const std::string binary = folder / ("binary" + tag + ".zdw");
        const std::string again = folder / ("again" + tag + ".dxf");
        for (const auto& [from, to] : {std::pair{original, direct}, {original, binary}, {binary, again}}) {
            const testing_support::ProgramRun run = zhost(module + from + " --save " + to);
            ASSERT_EQ(run.status, 0) << run.output;
            EXPECT_EQ(run.output.find("not kept"), std::string::npos) << run.output;
        }
        saved += " " + direct + " " + again;
    }
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("keep_oracle.py", "compare " + original + saved);
    ASSERT_EQ(rows.size(), 4u);
    for (const oracle::Row& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        EXPECT_LE(row[1], row[0]) << "audit errors";
        EXPECT_GT(row[2], 100) << "records, objects and entities found the same";
    }
}

// Details a drawing from elsewhere holds, each in a drawing of its kind, through zhost as DXF and through the
// binary drawing: BLOCK flags, external reference paths and descriptions; the arrow blocks an R12 dimension
// style names, referred to from R2000 on; carets and control characters of binary DXF texts.
TEST(KeptDrawings, BlockMarkersArrowBlocksAndBinaryTextsComeBack) {
    for (const std::string kind : {"blocks", "arrows", "carets"}) {
        SCOPED_TRACE(kind);
        testing_support::TempFolder folder;
        const std::string original = folder / "original.dxf", direct = folder / "direct.dxf",
                          binary = folder / "binary.zdw", again = folder / "again.dxf";
        ASSERT_EQ(oracle::runPythonOracle("kept_details_oracle.py", "write " + kind + " " + original).size(),
                  1u);
        for (const auto& [from, to] : {std::pair{original, direct}, {original, binary}, {binary, again}}) {
            const testing_support::ProgramRun run = zhost(from + " --save " + to);
            ASSERT_EQ(run.status, 0) << run.output;
        }
        const std::vector<oracle::Row> rows = oracle::runPythonOracle(
            "kept_details_oracle.py", "compare " + kind + " " + original + " " + direct + " " + again);
        ASSERT_EQ(rows.size(), 2u);
        for (const oracle::Row& row : rows) {
            ASSERT_EQ(row.size(), 2u);
            EXPECT_GE(row[0], 2) << "details the drawing holds";
            EXPECT_EQ(row[1], row[0]) << "details found the same";
        }
    }
}
