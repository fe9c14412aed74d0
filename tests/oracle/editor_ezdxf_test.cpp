// Polylines digitised with ZOR_POLY in zhost from scripts, saved as DXF and read back by ezdxf: the points
// given, the points taken back by keyword and by key, the direction turned, arcs through generated
// vertices, shapes and closing chosen after the points or on a selected stretch, the count of a purge,
// scripts of random input that must leave neither a crash nor a pending vertex, the default width of a
// linetype, one UNDO taking back each function keyword, and values refused at the prompts.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

struct Vertex {
    double x, y, z, bulge;
    int flags;
};
using Polyline = std::vector<Vertex>;

struct Session {
    testing_support::ProgramRun run;
    std::vector<Polyline> polylines;
    std::vector<bool> closed;
};

// Runs the script in zhost with the plug-in, on `drawing` when one is given, and saves the result as `saved`.
testing_support::ProgramRun runZhost(const testing_support::TempFolder& folder, const std::string& script,
                                     const std::string& saved, const std::string& drawing = "") {
    const std::string scriptPath = folder / "edit.scr";
    std::ofstream(scriptPath) << script;
    testing_support::ProgramRun run = testing_support::runProgram(
        "ZORTA_NAMESPACE=editor_ezdxf_" + std::to_string(::getpid()) + " " ZHOST_PROGRAM " " + drawing +
        " --load " PLUGIN_MODULE " --script " + scriptPath + " --save " + saved);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("*** Host check"), std::string::npos) << run.output;
    return run;
}

// Runs the script and reads the saved drawing's polylines.
Session digitise(const std::string& script) {
    testing_support::TempFolder folder;
    const std::string saved = folder / "edited.dxf";
    Session s;
    s.run = runZhost(folder, script, saved);
    const std::vector<oracle::Row> rows = oracle::runPythonOracle("editor_oracle.py", "vertices " + saved);
    for (std::size_t i = 0; i < rows.size();) {
        s.closed.push_back(rows[i].at(1) != 0);
        const auto count = static_cast<std::size_t>(rows[i++].at(0));
        Polyline poly;
        for (std::size_t k = 0; k < count && i < rows.size(); ++k, ++i) {
            const oracle::Row& r = rows[i];
            poly.push_back({r.at(0), r.at(1), r.at(2), r.at(3), static_cast<int>(r.at(4))});
        }
        s.polylines.push_back(poly);
    }
    return s;
}

// The digitised vertices (generated ones left out), rounded to a micrometre.
std::vector<std::vector<double>> hardPoints(const Polyline& poly) {
    std::vector<std::vector<double>> points;
    for (const Vertex& v : poly)
        if (!(v.flags & 1))
            points.push_back({std::round(v.x * 1e6) / 1e6 + 0.0, std::round(v.y * 1e6) / 1e6 + 0.0});
    return points;
}

std::vector<std::vector<double>> plan(const Polyline& poly) {
    std::vector<std::vector<double>> points;
    for (const Vertex& v : poly)
        points.push_back({v.x, v.y, v.z});
    return points;
}

using Points = std::vector<std::vector<double>>;

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(EditorDrawing, PointsGiveOnePolylineWithExactlyThoseVertices) {
    const Session s = digitise("ZOR_POLY\n0,0\n10,0\n10,10,2.5\n-3.25,7\n\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    EXPECT_EQ(plan(s.polylines[0]), (Points{{0, 0, 0}, {10, 0, 0}, {10, 10, 2.5}, {-3.25, 7, 0}}));
    for (const Vertex& v : s.polylines[0]) {
        EXPECT_EQ(v.bulge, 0);
        EXPECT_EQ(v.flags, 0);
    }
}

TEST(EditorDrawing, UndoBackspaceAndDeleteTakeTheLastPointBack) {
    const Session s =
        digitise("ZOR_POLY\n0,0\n10,0\n10,10\nU\n20,20\n@key BACK\n30,30\n@key DELETE\n40,0\n\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    EXPECT_EQ(plan(s.polylines[0]), (Points{{0, 0, 0}, {10, 0, 0}, {40, 0, 0}}));
}

TEST(EditorDrawing, StretchKeywordsWhileDigitisingChangeNothing) {
    // Reversing, offsetting, purging arc points and repeated moves need a stretch, which digitising has not.
    const Session s = digitise("ZOR_POLY\n0,0\n10,0\nFI\nFD\nFPA\nMR\n20,5\n\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    EXPECT_EQ(plan(s.polylines[0]), (Points{{0, 0, 0}, {10, 0, 0}, {20, 5, 0}}));
}

TEST(EditorDrawing, DownTurnsTheDirection) {
    const Session s = digitise("ZOR_POLY\n0,0\n10,0\n@key DOWN\n5,5\n5,-5\n\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    // The points after the turn go before the current vertex, each before the last.
    EXPECT_EQ(plan(s.polylines[0]), (Points{{0, 0, 0}, {5, -5, 0}, {5, 5, 0}, {10, 0, 0}}));
}

TEST(EditorDrawing, ArcModeJoinsTheDigitisedPointsByArcs) {
    const Session s = digitise("(setq lisp_modfig 10)\nZOR_POLY\n0,0\n10,0\n20,10\n30,0\n\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    Points hard;
    int generated = 0;
    for (const Vertex& v : s.polylines[0]) {
        if (v.flags & 1)
            ++generated;
        else
            hard.push_back({v.x, v.y, v.z});
    }
    EXPECT_EQ(hard, (Points{{0, 0, 0}, {10, 0, 0}, {20, 10, 0}, {30, 0, 0}}));
    EXPECT_EQ(generated, 3) << "one generated vertex in each span";
    for (std::size_t i = 0; i + 1 < s.polylines[0].size(); ++i)
        EXPECT_NE(s.polylines[0][i].bulge, 0) << "segment " << i << " is an arc";
}

TEST(EditorDrawing, AShapeChosenAfterItsPointsIsMadeOfThem) {
    const Session s = digitise("ZOR_POLY\n0,0\n10,0\n10,10\nF\nRect3\n\n"
                               "ZOR_POLY\n0,0\n10,0\n10,10\nF\nBoite4\n\n"
                               "ZOR_POLY\n0,0\n10,0\n10,10\nF\nCPoint2\n\n"
                               "ZOR_POLY\n5,5\nF\nCCerc1\n15,5\n");
    ASSERT_EQ(s.polylines.size(), 4u) << s.run.output;
    const Points square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(hardPoints(s.polylines[0]), square) << "rectangle";
    EXPECT_EQ(hardPoints(s.polylines[1]), square) << "box";
    EXPECT_EQ(hardPoints(s.polylines[2]), (Points{{0, 0}, {10, 0}, {10, 10}})) << "circle through the points";
    const Points circle = hardPoints(s.polylines[3]);
    ASSERT_EQ(circle.size(), 3u) << "circle by its centre";
    for (const std::vector<double>& p : circle)
        EXPECT_NEAR(std::hypot(p[0] - 5, p[1] - 5), 10, 1e-6);
    for (std::size_t i = 0; i < s.closed.size(); ++i)
        EXPECT_TRUE(s.closed[i]) << "shape " << i;
}

TEST(EditorDrawing, ClosingInArcModeJoinsTheHeadSmoothlyWhileDigitisingAndEditingAlike) {
    // Three and four points: each closed with C while digitising, and once more in ZOR_PMOD.
    for (const std::string& given :
         {std::string("0,0\n10,0\n20,10\n"), std::string("0,0\n10,0\n20,10\n15,20\n")}) {
        const std::string points = "(setq lisp_modfig 10)\nZOR_POLY\n" + given;
        const Session s =
            digitise(points + "C\n\n" + points + "\n(setq a (entlast))\nZOR_PMOD\n@pick !a 2\nGF\nC\nQ\n");
        ASSERT_EQ(s.polylines.size(), 2u) << s.run.output;
        const Polyline& digitised = s.polylines[0];
        const Polyline& edited = s.polylines[1];
        ASSERT_TRUE(s.closed[0] && s.closed[1]);
        ASSERT_EQ(digitised.size(), edited.size()) << s.run.output;
        for (std::size_t i = 0; i < digitised.size(); ++i) {
            EXPECT_NEAR(digitised[i].x, edited[i].x, 1e-9) << given << "vertex " << i;
            EXPECT_NEAR(digitised[i].y, edited[i].y, 1e-9) << given << "vertex " << i;
            EXPECT_NEAR(digitised[i].bulge, edited[i].bulge, 1e-9) << given << "vertex " << i;
        }
        EXPECT_GT(std::fabs(digitised[digitised.size() - 2].bulge), 0.1) << "no straight piece at the tail";
        // The closing piece arrives at the head in the direction the first span leaves it.
        const Vertex &head = edited.front(), &second = edited[1], &last = edited.back();
        const double arrives = std::atan2(head.y - last.y, head.x - last.x) + 2 * std::atan(last.bulge);
        const double leaves = std::atan2(second.y - head.y, second.x - head.x) - 2 * std::atan(head.bulge);
        EXPECT_NEAR(std::remainder(arrives - leaves, 2 * M_PI), 0, 1e-9) << given;
    }
}

TEST(EditorDrawing, AShapeChosenOnASelectedStretchLeavesTheEditorOnAVertexItKept) {
    // In Go mode on the third vertex, and on a Way stretch from it: both shapes delete that vertex, and the
    // height typed next goes to the vertex the editor went on from, the tail.
    const std::string polyline =
        "ZOR_POLY\n0,0\n10,0\n10,10\n0,10\n-5,5\n\n(setq a (entlast))\nZOR_PMOD\n@pick !a 3\n";
    const Session s = digitise(polyline + "F\nCPoint2\nZ\n7\nQ\n" + polyline + "W\nN\nF\nRect3\nZ\n7\nQ\n");
    ASSERT_EQ(s.polylines.size(), 2u) << s.run.output;
    EXPECT_EQ(s.run.output.find("ERREUR"), std::string::npos) << s.run.output;
    EXPECT_EQ(hardPoints(s.polylines[0]), (Points{{0, 0}, {10, 0}, {-5, 5}}));
    EXPECT_EQ(hardPoints(s.polylines[1]), (Points{{0, 0}, {10, 0}, {10, 5}, {0, 5}}));
    for (const Polyline& poly : s.polylines)
        for (std::size_t i = 0; i < poly.size(); ++i)
            EXPECT_EQ(poly[i].z, i + 1 == poly.size() ? 7 : 0) << "vertex " << i;
}

TEST(EditorDrawing, PurgingCountsTheDigitisedVerticesItRemoved) {
    // An arc polyline that nothing can simplify (smoothing puts back the generated vertices merged), and a
    // line with one vertex 1 mm off its chord.
    const std::string polylines = "(setq lisp_modfig 10)\nZOR_POLY\n0,0\n10,0\n12,8\n\n"
                                  "(setq lisp_modfig 0)\nZOR_POLY\n0,20\n5,20.001\n10,20\n\n";
    const Session before = digitise(polylines);
    const Session after = digitise(polylines + "ZOR_EPUREPTS\n@select all\n\n\n\n\n\n");
    ASSERT_EQ(after.polylines.size(), 2u) << after.run.output;
    EXPECT_EQ(count(after.run.output, "sommets Epur"), 1) << after.run.output;
    EXPECT_NE(after.run.output.find(" ; **** 1  sommets Epur"), std::string::npos) << after.run.output;
    ASSERT_EQ(after.polylines[0].size(), before.polylines[0].size());
    for (std::size_t i = 0; i < before.polylines[0].size(); ++i) {
        EXPECT_NEAR(after.polylines[0][i].x, before.polylines[0][i].x, 1e-9) << "vertex " << i;
        EXPECT_NEAR(after.polylines[0][i].y, before.polylines[0][i].y, 1e-9) << "vertex " << i;
        EXPECT_NEAR(after.polylines[0][i].bulge, before.polylines[0][i].bulge, 1e-9) << "vertex " << i;
    }
    EXPECT_EQ(plan(after.polylines[1]), (Points{{0, 20, 0}, {10, 20, 0}}));
}

TEST(EditorDrawing, ReTakingFollowsTheOtherPolylineWithItsArcsEitherWayAndUndoesInOneStep) {
    // An arc polyline; then one digitised on to its head and along it to its third vertex, and one digitised
    // on to that vertex and back along it to the head.
    const std::string script = "(setq lisp_modfig 10)\nZOR_POLY\n10,0\n20,5\n30,0\n40,5\n\n"
                               "(setq other (entlast))\n(setq lisp_modfig 0)\n"
                               "ZOR_POLY\n0,0\n10,0\nFR\n@pick !other 20,5\n\n30,0\n30,-10\n\n"
                               "ZOR_POLY\n0,-10\n30,0\nFR\n@pick !other 20,5\n\n10,0\n0,10\n\n";
    const Session s = digitise(script);
    ASSERT_EQ(s.polylines.size(), 3u) << s.run.output;
    const Polyline& other = s.polylines[0];
    ASSERT_EQ(other.size(), 7u) << "four vertices and an arc vertex between each two";
    const Polyline part(other.begin(), other.begin() + 5);

    const Polyline& along = s.polylines[1];
    ASSERT_EQ(along.size(), part.size() + 2) << s.run.output;
    EXPECT_EQ(plan({along.front()}), (Points{{0, 0, 0}}));
    EXPECT_EQ(plan({along.back()}), (Points{{30, -10, 0}}));
    for (std::size_t i = 0; i < part.size(); ++i) {
        EXPECT_EQ(plan({along[i + 1]}), plan({part[i]})) << "vertex " << i;
        if (i + 1 < part.size()) {
            EXPECT_DOUBLE_EQ(along[i + 1].bulge, part[i].bulge) << "segment " << i;
        }
    }

    const Polyline& back = s.polylines[2];
    ASSERT_EQ(back.size(), part.size() + 2) << s.run.output;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const std::size_t from = part.size() - 1 - i;
        EXPECT_EQ(plan({back[i + 1]}), plan({part[from]})) << "vertex " << i;
        if (from > 0) {
            EXPECT_DOUBLE_EQ(back[i + 1].bulge, -part[from - 1].bulge) << "segment " << i;
        }
    }
    EXPECT_EQ(plan({back.back()}), (Points{{0, 10, 0}}));

    const Session undone = digitise(script + "_UNDO\n1\n");
    ASSERT_EQ(undone.polylines.size(), 2u) << undone.run.output;
    for (std::size_t k = 0; k < 2; ++k) {
        ASSERT_EQ(undone.polylines[k].size(), s.polylines[k].size());
        for (std::size_t i = 0; i < s.polylines[k].size(); ++i) {
            EXPECT_EQ(plan({undone.polylines[k][i]}), plan({s.polylines[k][i]}));
            EXPECT_EQ(undone.polylines[k][i].bulge, s.polylines[k][i].bulge);
        }
    }
}

TEST(EditorDrawing, QuitAfterOnePointLeavesNoPolylineAndTheShortcutMenuAsItWas) {
    const Session s = digitise("(setvar \"SHORTCUTMENU\" 14)\nZOR_POLY\n0,0\nQ\n(getvar \"SHORTCUTMENU\")\n");
    EXPECT_TRUE(s.polylines.empty());
    EXPECT_NE(s.run.output.find("(getvar \"SHORTCUTMENU\")\n14"), std::string::npos) << s.run.output;
}

TEST(EditorDrawing, ScriptsThatEndBadlyLeaveNothingOpenNorPending) {
    // The script runs out in the middle of a drag; a cancel at the first point.
    Session s = digitise("ZOR_POLY\n0,0\n10,0\n@move 20,5\n");
    ASSERT_EQ(s.polylines.size(), 1u) << s.run.output;
    EXPECT_EQ(plan(s.polylines[0]), (Points{{0, 0, 0}, {10, 0, 0}}));
    s = digitise("ZOR_POLY\n^C\n");
    EXPECT_TRUE(s.polylines.empty());

    // Random keywords, keys, points, Enter and cancels; a new ZOR_POLY after each input that ends one.
    static const char* const kInput[] = {
        "A",         "AC",         "L",         "C",         "O",           "M",
        "T",         "G",          "N",         "B",         "GT",          "GF",
        "GA",        "W",          "S",         "U",         "FS",          "FR",
        "FC",        "X",          "ZC",        "?",         "@key END",    "@key HOME",
        "@key LEFT", "@key RIGHT", "@key DOWN", "@key BACK", "@key DELETE", "@key SHIFT press",
        "abc"};
    static const char* const kEnds[] = {"Q", "", "^C", "QFS"};
    std::mt19937 random(19);
    std::uniform_int_distribution<int> choice(0, 99), coordinate(-500, 500);
    auto point = [&] {
        return std::to_string(coordinate(random)) + "," + std::to_string(coordinate(random));
    };
    std::string script = "ZOR_POLY\n";
    for (int line = 0; line < 1000; ++line) {
        const int c = choice(random);
        if (c < 5)
            script += std::string(kEnds[static_cast<std::size_t>(c) % std::size(kEnds)]) + "\nZOR_POLY\n";
        else if (c < 50)
            script += point() + "\n";
        else if (c < 60)
            script += "@move " + point() + "\n";
        else
            script += std::string(kInput[static_cast<std::size_t>(c) % std::size(kInput)]) + "\n";
    }
    s = digitise(script);
    EXPECT_GE(s.polylines.size(), 5u) << "the random sessions made polylines";
    for (const Polyline& poly : s.polylines) {
        EXPECT_GE(poly.size(), 2u);
        // A rubber vertex left behind would repeat the point of its neighbour.
        for (std::size_t i = 0; i + 1 < poly.size(); ++i)
            EXPECT_FALSE(poly[i].x == poly[i + 1].x && poly[i].y == poly[i + 1].y) << "vertex " << i;
    }
}

TEST(EditorDrawing, PolylinesOfAPLinetypeTakeTheWidthAskedThenKeptConstant) {
    testing_support::TempFolder folder;
    const std::string drawing = folder / "pave.dxf", saved = folder / "widths.dxf";
    oracle::runPythonOracle("editor_oracle.py", "drawing_with_linetype " + drawing + " PAVE");
    // Asked on the first polyline (constant, then the width), kept for the second without asking.
    const testing_support::ProgramRun run =
        runZhost(folder, "ZOR_POLY\nConst\n1.5\n0,0\n10,0\n\nZOR_POLY\n0,10\n10,10\n\n", saved, drawing);
    std::vector<double> widths;
    for (const oracle::Row& row : oracle::runPythonOracle("editor_oracle.py", "default_widths " + saved))
        widths.push_back(row.at(0));
    EXPECT_EQ(widths, (std::vector<double>{1.5, 1.5})) << run.output;
    EXPECT_NE(run.output.find("Mode:'Saisir'"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Constante =1.5000"), std::string::npos) << run.output;
}

TEST(EditorDrawing, UndoAfterEachFunctionKeywordGivesThePolylineBack) {
    // Polyline a, with heights at its ends for FZ, and polyline b touching its tail for FJ.
    const std::string base = "ZOR_POLY\n0,0,10\n10,0\n20,5\n30,0\n40,10,50\n\n(setq a (entlast))\n"
                             "ZOR_POLY\n40,10\n50,10\n60,0\n\n(setq b (entlast))\n";
    // Each keyword in a ZOR_PMOD started on a's second vertex, in Go mode or on a Way stretch of two
    // segments.
    const std::vector<std::pair<std::string, std::string>> keywords = {
        {"FI", "FI\n"},
        {"FI on a stretch", "W\nN\nN\nFI\n\n"},
        {"FEQ", "FEQ\n"},
        {"FD", "W\nN\nN\nFD\n2\n\n"},
        {"FC", "W\nN\nN\nFC\n\n"},
        {"FS", "W\nN\nN\nFS\n\n"},
        {"FZ", "FZ\n"},
        {"FJ", "FJ\n@select !b\n\n"},
        {"DC3", "DC3\n"},
        {"DL2", "DL2\n"},
        {"XD", "XD\nREF=12\n"},
    };
    testing_support::TempFolder folder;
    const std::string before = folder / "before.dxf";
    runZhost(folder, base, before);
    std::string undone;
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        const std::string saved = folder / ("undone" + std::to_string(k) + ".dxf");
        const std::string entget = "(entget a '(\"ZORTA\"))\n";
        const testing_support::ProgramRun run = runZhost(
            folder,
            base + entget + "ZOR_PMOD\n@pick !a 2\n" + keywords[k].second + "Q\n" + entget + "_UNDO\n1\n",
            saved);
        // The keyword did change the polyline: the entity lists printed before and after it differ.
        std::vector<std::string> lists;
        for (std::size_t at = run.output.find(entget); at != std::string::npos;
             at = run.output.find(entget, at + 1)) {
            const std::size_t start = at + entget.size();
            lists.push_back(run.output.substr(start, run.output.find('\n', start) - start));
        }
        ASSERT_EQ(lists.size(), 2u) << run.output;
        EXPECT_NE(lists[0], lists[1]) << keywords[k].first << " changed nothing\n" << run.output;
        // The keyword's change is one group of its own inside the command's.
        for (const char* mark : {"[DEbut/Fin] <1>: _be\n", "[DEbut/Fin] <1>: _e\n"})
            EXPECT_EQ(count(run.output, mark), 1) << keywords[k].first << " " << mark << run.output;
        undone += " " + saved;
    }
    // One UNDO gives back every DXF group of every entity, and the entity count.
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("editor_oracle.py", "changed " + before + undone);
    const std::vector<oracle::Row> reference =
        oracle::runPythonOracle("editor_oracle.py", "changed " + before + " " + before);
    ASSERT_EQ(rows.size(), keywords.size());
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        EXPECT_EQ(rows[k].at(0), 0) << keywords[k].first;
        EXPECT_EQ(rows[k].at(1), reference.at(0).at(1)) << keywords[k].first;
    }
}

TEST(EditorDrawing, ValuesThePolylineCannotHoldAreRefusedAtThePromptAndNeverRemembered) {
    testing_support::TempFolder folder;
    const std::string saved = folder / "refused.dxf";
    // Width, height and points in ZOR_POLY, then the Z; offset, width, height and Z on a stretch of
    // ZOR_PMOD; an averaging count below 1; a turn to fix on an open polyline; a LISP group of a wrong type.
    const std::string script =
        "ZOR_POLY\n0,0\nE\nnan\n1e300\n1e308,1e308\n2.5\nH\ninf\n1.5\n"
        "1e308,1e308\nnan,nan,nan\n10,0\n20,5\nZ\nnan\n1e300\nnan,nan,nan\n3\n\n\n"
        "ZOR_PMOD\n@pick last 5,0\nW\nN\nFD\nnan\n1e300\n1e308,1e308\ninf\n\nFD\n\n"
        "E\n1e300\n-1\nH\n-inf\n1e6\n-2\nZ\nnan,nan,nan\n-1e25\n-4\n\n\n\n"
        "ZOR_LISSNIV\n-5\nZOR_LISSNIV\n^C\nZOR_PINV\nT\n@select all\n\n"
        "(setq v (ZOR_ENTNEXT (entlast)))\n(ZOR_VMOD (list (cons -1 v) '(10 . \"bad\")))\n";
    const testing_support::ProgramRun run = runZhost(folder, script, saved);
    const std::string& out = run.output;
    EXPECT_EQ(count(out, "Valeur num\xc3\xa9rique requise."), 12) << out;
    EXPECT_EQ(count(out, "Point incorrect."), 6) << out;
    EXPECT_EQ(count(out, "nan>") + count(out, "inf>"), 0) << "a refused value shown as a default";
    EXPECT_EQ(count(out, "decalage (+ a droite,- a gauche)  <    0.0000>"), 6) << out;
    EXPECT_EQ(count(out, "1 Avant <3>"), 2) << "the count below 1 is not remembered";
    EXPECT_EQ(count(out, " 0 Polylignes Invers"), 1) << out;
    EXPECT_NE(out.find("'(10 . \"bad\")))\nnil"), std::string::npos) << out;
    // Vertex count, all reals finite, then the largest coordinate, height and width: the values accepted.
    EXPECT_EQ(oracle::runPythonOracle("editor_oracle.py", "reals " + saved),
              (std::vector<oracle::Row>{{3, 1, 20, 2, 1}}));
}
