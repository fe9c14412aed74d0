// zhost's everyday commands run from scripts, the drawing saved as DXF and read back by ezdxf: what each
// command draws from typed points (absolute, relative, polar), their options, and the variables they set.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using Rows = std::vector<oracle::Row>;

struct Drawn {
    testing_support::ProgramRun run;
    Rows rows;
};

// Runs the script in zhost on a new drawing, saves it and reads it back with the oracle's `mode`.
Drawn draw(const std::string& script, const std::string& mode = "entities") {
    testing_support::TempFolder folder;
    const std::string scriptPath = folder / "draw.scr", saved = folder / "drawn.dxf";
    std::ofstream(scriptPath) << script;
    Drawn d;
    d.run = testing_support::runProgram("ZORTA_NAMESPACE=draw_ezdxf_" + std::to_string(::getpid()) +
                                        " " ZHOST_PROGRAM " --script " + scriptPath + " --save " + saved);
    EXPECT_EQ(d.run.status, 0) << d.run.output;
    for (oracle::Row row : oracle::runPythonOracle("drawing_commands_oracle.py", mode + " " + saved)) {
        for (double& v : row)
            v = std::round(v * 1e6) / 1e6 + 0.0;
        d.rows.push_back(row);
    }
    return d;
}

struct Case {
    const char* what;
    const char* script;
    Rows expected;
};

} // namespace

TEST(DrawingCommandsThroughEzdxf, EachCommandDrawsWhatItsAnswersSay) {
    const Case cases[] = {
        {"LINE, relative and polar points, undo, close",
         "LINE\n0,0\n@10,0\n@5,5\nU\n@10<90\nC\n",
         {{1, 0, 0, 10, 0}, {1, 10, 0, 10, 10}, {1, 10, 10, 0, 0}}},
        {"CIRCLE by radius, diameter, 2P, 3P",
         "CIRCLE\n1,2\n3\nCIRCLE\n5,5\nD\n4\nCIRCLE\n2P\n0,0\n6,0\n"
         "CIRCLE\n3P\n0,0\n2,0\n1,1\n_CIRCLE\n0,0\n@0,7\n",
         {{2, 1, 2, 3}, {2, 5, 5, 2}, {2, 3, 0, 3}, {2, 1, 0, 1}, {2, 0, 0, 7}}},
        {"ARC through three points either way round, and from its centre",
         "ARC\n0,0\n1,1\n2,0\nARC\n2,0\n1,-1\n0,0\nARC\nCE\n0,0\n5,0\n0,5\nARC\n5,0\nCE\n0,0\n-5,0\n",
         {{3, 1, 0, 1, 0, 180}, {3, 1, 0, 1, 180, 0}, {3, 0, 0, 5, 0, 90}, {3, 0, 0, 5, 0, 180}}},
        {"COPY to repeated points with undo, ERASE of the source",
         "CIRCLE\n0,0\n1\n(setq source (entlast))\nCOPY\n@select last\n\n0,0\n"
         "10,0\n20,0\nU\n0,30\n\nERASE\n@select !source\n\n",
         {{2, 10, 0, 1}, {2, 0, 30, 1}}},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(c.script);
        EXPECT_EQ(d.rows, c.expected) << c.what << "\n" << d.run.output;
    }
}

TEST(DrawingCommandsThroughEzdxf, InquiriesSetTheirVariables) {
    const Drawn d = draw("ID\n3,4\nDIST\n1,1\n@3,4\nAREA\n0,0\n4,0\n4,3\n\nCIRCLE\n0,0\n1\nID\n@\n"
                         "(list (getvar \"LASTPOINT\") (getvar \"DISTANCE\") (getvar \"AREA\") "
                         "(getvar \"PERIMETER\"))\nAREA\nO\n@pick last 0 1,0\n(getvar \"AREA\")\n");
    EXPECT_NE(d.run.output.find("X = 3.0000     Y = 4.0000     Z = 0.0000"), std::string::npos)
        << d.run.output;
    EXPECT_NE(d.run.output.find("Distance = 5.0000,  Angle dans le plan XY = 53"), std::string::npos);
    EXPECT_NE(d.run.output.find("Aire = 6.0000, Périmètre = 12.0000"), std::string::npos);
    EXPECT_NE(d.run.output.find("((0.0 0.0 0.0) 5.0 6.0 12.0)"), std::string::npos) << d.run.output;
    EXPECT_NE(d.run.output.find("Aire = 3.1416, Périmètre = 6.2832"), std::string::npos) << d.run.output;
}
