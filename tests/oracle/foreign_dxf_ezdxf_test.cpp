// Drawings other programs write, made by ezdxf (R12 with and without handles, control characters in texts,
// polyface and polygon meshes, every version from R2000 to R2018 with texts outside Windows-1252, binary DXF
// of R12 and R2018), opened by zhost and saved as DXF, and through the binary drawing with the plug-in
// loaded: ezdxf finds every entity alike, its audit no more problems, the version the drawing is to be saved
// in (with a note where that is not the one read), texts written as they are in the versions of UTF-8, and
// GDAL the same features by layer.
#include <gtest/gtest.h>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

testing_support::ProgramRun zhost(const std::string& arguments) {
    return testing_support::runProgram(ZHOST_PROGRAM " " + arguments);
}

} // namespace

TEST(ForeignDrawings, EveryDrawingOfTheCorpusComesBackWhole) {
    testing_support::TempFolder folder;
    const std::vector<oracle::Row> corpus =
        oracle::runPythonOracle("foreign_dxf_oracle.py", "make " + folder.path());
    ASSERT_FALSE(corpus.empty());
    for (const oracle::Row& drawing : corpus) {
        ASSERT_EQ(drawing.size(), 4u);
        const std::string name = folder / ("drawing-" + std::to_string(int(drawing[0])));
        const std::string binary = name + ".zdw";
        const bool versionChanges = drawing[2] != drawing[3];
        for (const std::string& arguments : {name + ".dxf --save " + name + ".out.dxf",
                                             "--load " PLUGIN_MODULE " " + name + ".dxf --save " + binary,
                                             binary + " --save " + name + ".back.dxf"}) {
            const testing_support::ProgramRun run = zhost(arguments);
            ASSERT_EQ(run.status, 0) << arguments << "\n" << run.output;
            const bool noted = run.output.find("Note: the drawing read as AC") != std::string::npos;
            EXPECT_EQ(noted, versionChanges && arguments.ends_with(".dxf")) << arguments << "\n"
                                                                            << run.output;
        }
        for (const char* saved : {".out.dxf", ".back.dxf"}) {
            const std::vector<oracle::Row> rows =
                oracle::runPythonOracle("foreign_dxf_oracle.py", "compare " + name + ".dxf " + name + saved +
                                                                     " " + std::to_string(int(drawing[1])));
            ASSERT_EQ(rows.size(), 1u);
            ASSERT_EQ(rows[0].size(), 7u);
            const oracle::Row& row = rows[0]; // entities, alike, audit of the source and of the saved drawing
            EXPECT_EQ(row[1], row[0]) << name << saved;
            EXPECT_LE(row[3], row[2]) << name << saved;
            EXPECT_EQ(row[4], drawing[3]) << name << saved;
            EXPECT_EQ(row[5], 0) << name << saved;
            EXPECT_EQ(row[6], 1) << "GDAL's features by layer: " << name << saved;
        }
    }
}
