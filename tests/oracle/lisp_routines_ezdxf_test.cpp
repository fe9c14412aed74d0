// The surveyor's LISP routines of examples/lisp, loaded from the support path and run as commands in zhost
// on the sample drawing: the total length they print, the CSV of vertices and the points they draw from a
// table of heights, against ezdxf's reading of the drawing saved after them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using oracle::Row;

struct LispRoutines : ::testing::Test {
    testing_support::TempFolder folder;

    // Runs the script lines with the routines loaded and saves the drawing; the transcript.
    std::string run(const std::string& lines) {
        testing_support::writeFile(folder / "run.scr",
                                   "(load \"longueur\")\n(load \"sommets_csv\")\n(load \"altitudes\")\n" +
                                       lines);
        const testing_support::ProgramRun run = testing_support::runProgram(
            "ZHOST_SUPPORT=" EXAMPLES "/lisp " ZHOST_PROGRAM " " EXAMPLES "/standard_entities.dxf --script " +
            folder / "run.scr" + " --save " + folder / "run.dxf");
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output.find("erreur"), std::string::npos) << run.output;
        return run.output;
    }
    std::vector<Row> oracle(const char* what) {
        return oracle::runPythonOracle("lisp_routines_oracle.py",
                                       std::string(what) + " " + folder / "run.dxf");
    }
};

TEST_F(LispRoutines, TotalLengthOfASelectionIsEzdxfsSum) {
    const std::string transcript = run("LONGTOT\n@select all\n\n");
    const std::size_t at = transcript.find("Longueur totale: ");
    ASSERT_NE(at, std::string::npos) << transcript;
    const double printed = std::stod(transcript.substr(at + 17));
    const std::vector<Row> total = oracle("length");
    ASSERT_EQ(total.size(), 1u);
    EXPECT_NEAR(printed, total[0][0], 1e-6);
}

TEST_F(LispRoutines, VerticesToCsvAreThePolylinesVertices) {
    run("SOMCSV\n@select all\n\n" + folder / "sommets.csv" + "\n");
    std::ifstream csv(folder / "sommets.csv");
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "polyligne;sommet;x;y");
    std::vector<Row> written;
    while (std::getline(csv, line)) {
        std::replace(line.begin(), line.end(), ';', ' ');
        std::istringstream fields(line);
        double polyline, vertex, x, y;
        ASSERT_TRUE(fields >> polyline >> vertex >> x >> y) << line;
        if (written.size() < polyline) written.emplace_back();
        written.back().insert(written.back().end(), {x, y});
    }
    const std::vector<Row> expected = oracle("vertices");
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t p = 0; p < expected.size(); ++p) {
        ASSERT_EQ(written[p].size(), expected[p].size()) << "polyline " << p + 1;
        for (std::size_t i = 0; i < expected[p].size(); ++i)
            EXPECT_NEAR(written[p][i], expected[p][i], 5e-5) << "polyline " << p + 1 << ", coordinate " << i;
    }
}

TEST_F(LispRoutines, HeightsFromATableArePointsWithTheirLabels) {
    testing_support::writeFile(folder / "alt.csv",
                               "nom;x;y;z\nB1;100.5;200.25;312.75\nB2;101;205;313.1\nligne sans champs\n"
                               "B3;99.75;198;311.05\n");
    const std::string transcript = run("ALTI\n" + folder / "alt.csv" + "\n");
    EXPECT_NE(transcript.find("3 points d'altitude"), std::string::npos) << transcript;
    std::vector<Row> drawn = oracle("points");
    std::erase_if(drawn, [](const Row& r) { return r[3] == 0; }); // the drawing's own point, unlabelled
    const std::vector<Row> table = {
        {100.5, 200.25, 312.75, 1}, {101, 205, 313.1, 1}, {99.75, 198, 311.05, 1}};
    EXPECT_EQ(drawn, table);
}

} // namespace
