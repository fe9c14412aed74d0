// LISP programs in zhost scripts read, change and convert the polylines of the survey plan vertex by vertex;
// ezdxf reads the drawings saved after them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using oracle::Row;

// One vertex of a saved polyline, from its groups.
struct SavedVertex {
    double x = 0, y = 0, z = 0, bulge = 0;
};

// A saved polyline: its handle, its group codes and values as the oracle prints them.
struct SavedPolyline {
    int handle = 0;
    std::vector<SavedVertex> vertices;
    Row codes, values;
};

std::vector<SavedPolyline> polylinesOf(const std::vector<Row>& rows) {
    std::vector<SavedPolyline> out;
    for (std::size_t r = 0; r + 1 < rows.size(); r += 2) {
        SavedPolyline poly;
        poly.handle = static_cast<int>(rows[r][0]);
        poly.codes.assign(rows[r].begin() + 1, rows[r].end());
        poly.values = rows[r + 1];
        std::size_t at = 0;
        for (double code : poly.codes) {
            if (code == 10) {
                poly.vertices.push_back({poly.values[at], poly.values[at + 1], poly.values[at + 2]});
                at += 3;
                continue;
            }
            if (code == 42 && !poly.vertices.empty()) poly.vertices.back().bulge = poly.values[at];
            ++at;
        }
        out.push_back(poly);
    }
    return out;
}

struct LispScripts : ::testing::Test {
    testing_support::TempFolder folder;

    // Runs the LISP lines on the drawing (the survey plan by default) and saves it; the transcript.
    std::string run(const std::string& name, const std::string& lines,
                    const std::string& drawing = EXAMPLES "/survey_polylines.dxf") {
        testing_support::writeFile(folder / (name + ".scr"), lines);
        const testing_support::ProgramRun run = testing_support::runProgram(
            "ZORTA=" + folder / "" + " " ZHOST_PROGRAM " " + drawing + " --load " PLUGIN_MODULE " --script " +
            folder / (name + ".scr") + " --save " + folder / (name + ".dxf"));
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output.find("erreur"), std::string::npos) << run.output;
        return run.output;
    }
    std::vector<Row> oracle(const char* what, const std::string& name) {
        return oracle::runPythonOracle("lisp_vertices_oracle.py",
                                       std::string(what) + " " + folder / (name + ".dxf"));
    }
};

// The first three polylines of the plan: the parcel (an arc, codes), the kerb (widths, heights, codes) and
// the contour line.
const std::string kNames = "(setq p (entnext))\n(setq q (entnext p))\n(setq r (entnext q))\n";

TEST_F(LispScripts, EveryVertexListWrittenBackLeavesThePolylinesAsTheyWere) {
    run("base", "");
    const std::vector<Row> base = oracle("polylines", "base");
    ASSERT_GE(base.size(), 6u);
    // Every entity of the plan in turn: a name that is no polyline gives nil along the way.
    std::string lines = "(setq e (entnext))\n";
    const std::vector<Row> count = oracle("entities", "base");
    ASSERT_EQ(count.size(), 1u);
    for (int entity = 0; entity < count[0][0]; ++entity) {
        for (int i = 1; i <= 6; ++i)
            lines += "(ZOR_VMOD (ZOR_GetVertexAt e " + std::to_string(i) + "))\n";
        lines += "(setq e (entnext e))\n";
    }
    run("roundtrip", lines);
    EXPECT_EQ(oracle("polylines", "roundtrip"), base);
}

TEST_F(LispScripts, VertexListsOfArcPolylinesWithGeneratedVerticesWriteBackUnchanged) {
    // Polylines made from a circle (arcs with flag words) and an ellipse (every second vertex generated).
    const std::string made = "(setq c (ZOR_FromEntity (ssget \"X\" '((0 . \"CIRCLE\")))))\n"
                             "(setq e (ZOR_FromEntity (ssget \"X\" '((0 . \"ELLIPSE\")))))\n";
    const std::string drawing = EXAMPLES "/standard_entities.dxf";
    run("made", made, drawing);
    std::string lines = made;
    for (const char* poly : {"c", "e"})
        for (int i = 1; i <= 120; ++i)
            lines += "(ZOR_VMOD (ZOR_GetVertexAt " + std::string(poly) + " " + std::to_string(i) + "))\n";
    run("roundtrip", lines, drawing);
    const std::vector<Row> base = oracle("polylines", "made");
    ASSERT_EQ(base.size(), 4u);
    // The header's group 70 and those of vertices with flag words.
    EXPECT_GT(std::ranges::count(base[0], 70), 1);
    EXPECT_GT(std::ranges::count(base[2], 70), 1);
    EXPECT_EQ(oracle("polylines", "roundtrip"), base);
}

TEST_F(LispScripts, ChangesByNameReachTheSavedDrawing) {
    run("base", "");
    const std::vector<SavedPolyline> before = polylinesOf(oracle("polylines", "base"));
    ASSERT_GE(before.size(), 3u);
    const std::string output = run(
        "edits", kNames +
                     // A selection set is read from its last member: the count of the plan's last polyline.
                     "(ZOR_VertexCount (ssget \"X\" (list (cons 0 \"ZORTAPOLY\"))))\n"
                     "(setq v (cdr (car (ZOR_GetVertexAt p 2))))\n"
                     "(ZOR_VMOD (list (cons -1 v) (list 10 1.0 2.0 3.0) (cons 42 0.5)))\n"
                     "(ZOR_VADD (list (cons -1 q) (list 10 7.0 8.0 9.0) (list 10 17.0 18.0 19.0)))\n"
                     "(setq h (ZOR_VINSERT r))\n"
                     "(ZOR_VINSERT r (cdr (car (ZOR_GetVertexAt r 3))))\n"
                     "(ZOR_VDEL h)\n"
                     "(ZOR_VGET h)\n"
                     "(ZOR_ToLWPOLY p)\n"
                     "(ZOR_To3DPOLY p 0.01)\n"
                     "(ZOR_SetTefColor 0 \"1,8,0,5\")\n");
    EXPECT_NE(output.find("ZORTAPOLY\"))))\n" + std::to_string(before.back().vertices.size()) + "\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("(ZOR_VDEL h)\n1\nCommande: (ZOR_VGET h)\nnil"), std::string::npos) << output;

    const std::vector<SavedPolyline> after = polylinesOf(oracle("polylines", "edits"));
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(after[0].vertices.size(), 4u);
    EXPECT_EQ(after[0].vertices[1].x, 1.0);
    EXPECT_EQ(after[0].vertices[1].y, 2.0);
    EXPECT_EQ(after[0].vertices[1].z, 3.0);
    EXPECT_EQ(after[0].vertices[1].bulge, 0.5);
    ASSERT_EQ(after[1].vertices.size(), before[1].vertices.size() + 2);
    EXPECT_EQ(after[1].vertices.back().y, 18.0);
    EXPECT_EQ(after[1].vertices[after[1].vertices.size() - 2].z, 9.0);
    ASSERT_EQ(after[2].vertices.size(), before[2].vertices.size() + 1);
    EXPECT_EQ(after[2].vertices[0].x, before[2].vertices[0].x) << "the head insertion was deleted";
    EXPECT_EQ(after[2].vertices[2].x, 0.0) << "a zero vertex after the one that was third with the head";

    // The host polylines lie on the parcel's world points: the lightweight one in plan at the mean height,
    // the 3-D one through every vertex.
    const std::vector<Row> host = oracle("hostpolylines", "edits");
    ASSERT_GE(host.size(), 5u);
    ASSERT_EQ(host[0], (Row{1, 4}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(host[1 + i][0], after[0].vertices[i].x);
        EXPECT_EQ(host[1 + i][1], after[0].vertices[i].y);
    }
    ASSERT_EQ(host[5][0], 3);
    const std::vector<Row> solid(host.begin() + 6, host.end());
    for (const SavedVertex& v : after[0].vertices)
        EXPECT_TRUE(std::ranges::any_of(
            solid, [&](const Row& p) { return std::hypot(p[0] - v.x, p[1] - v.y, p[2] - v.z) < 1e-9; }))
            << v.x << " " << v.y;

    EXPECT_EQ(oracle("xrecords", "edits").front(), (Row{1, 8, 0, 5}));
}

TEST_F(LispScripts, UndoRestoresAVertexAndItsNameGoesStale) {
    run("base", "");
    const std::string output = run("undo", kNames + "(setq v (cdr (car (ZOR_GetVertexAt q 2))))\n"
                                                    "(ZOR_VMOD (list (cons -1 v) (list 10 1.0 2.0 3.0)))\n"
                                                    "_UNDO\n1\n"
                                                    "(ZOR_VGET v)\n(ZOR_VDEL v)\n");
    EXPECT_NE(output.find("(ZOR_VGET v)\nnil\nCommande: (ZOR_VDEL v)\nnil"), std::string::npos) << output;
    EXPECT_EQ(oracle("polylines", "undo"), oracle("polylines", "base"));
}

} // namespace
