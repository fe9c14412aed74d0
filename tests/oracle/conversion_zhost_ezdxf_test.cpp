// Conversions and explosions run by zhost with the plug-in, judged by ezdxf: splines and hatches made into
// polylines and back into host polylines lie on the curves ezdxf draws of them, and the host's EXPLODE and
// ZOR_PCONVERT turn the survey plan's styled polylines into pieces, a hatch and tree symbols where ezdxf
// finds them; host polylines made into polylines and back keep their points, arcs and widths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/plan_run.h"

namespace {

struct ZhostRun {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile script{".scr"};
    host::test::TemporaryFile saved{".dxf"};

    void run(const std::string& drawing, const std::string& scriptText) {
        plugin::test::runScriptOnDrawing(install, script, "zhost_conversion", ZHOST_PROGRAM, drawing,
                                         MODULE_2021, scriptText, "--save " + saved.path);
    }
};

// One row of the explosion oracle for a source polyline.
struct Exploded {
    double pieces, onLayer, worst, colourMin, colourMax, hatches, loops, hatchColour, associative, inserts,
        insertWorst, insertsOnLayer;
};

std::vector<Exploded> explodedSources(const std::string& saved) {
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("explode_oracle.py", "check " EXAMPLES "/survey_polylines.dxf " + saved);
    std::vector<Exploded> sources;
    if (rows.empty()) return sources;
    EXPECT_EQ(rows[0], (oracle::Row{0, 0, 0, 0})) << "audit errors and fixes, polylines left, strays";
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const oracle::Row& r = rows[i];
        EXPECT_EQ(r.size(), 12u);
        if (r.size() == 12u)
            sources.push_back({r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[10], r[11]});
    }
    return sources;
}

// The plan's polylines, in drawing order: a parcel of TEF code 1 (colour 1 in the plan's TEF list), a kerb
// of code 4 (colour 6), a contour line, a parcel hatched "D!" in colour 3, a hedge of trees every 5 m.
void expectPlanExploded(const std::vector<Exploded>& sources, double associative) {
    ASSERT_EQ(sources.size(), 5u);
    const double colours[] = {1, 6, 256, 256, 256};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Exploded& s = sources[i];
        EXPECT_EQ(s.pieces, 1) << "source " << i;
        EXPECT_EQ(s.onLayer, 1) << "source " << i;
        EXPECT_LE(s.worst, 1e-9) << "every vertex kept, source " << i;
        EXPECT_EQ(s.colourMin, colours[i]) << "source " << i;
        EXPECT_EQ(s.colourMax, colours[i]) << "source " << i;
        EXPECT_EQ(s.hatches, i == 3 ? 1 : 0) << "source " << i;
        EXPECT_EQ(s.inserts, i == 4 ? 9 : 0) << "45 m of hedge, source " << i;
    }
    EXPECT_EQ(sources[3].loops, 1);
    EXPECT_EQ(sources[3].hatchColour, 3);
    EXPECT_EQ(sources[3].associative, associative);
    EXPECT_LE(sources[4].insertWorst, 1e-9) << "the trees stand on the hedge";
    EXPECT_EQ(sources[4].insertsOnLayer, 1);
}

} // namespace

TEST(ConversionInZhostThroughEzdxf, SplinesAndHatchesComeBackOnTheCurvesEzdxfDraws) {
    host::test::TemporaryFile source(".dxf");
    ASSERT_EQ(oracle::runPythonOracle("curve_conversion_oracle.py", "write " + source.path).size(), 1u);
    ZhostRun zhost;
    // Into polylines, then back, split at codes (the hatch's rings), 3-D where not flat, chords of 0.001.
    zhost.run(source.path, "ZOR_PCONVERT\nA\n@select all\n\nZOR_PCONVERT\nP\nA\nT\n0.001\n@select all\n\n");
    const std::vector<oracle::Row> rows = oracle::runPythonOracle(
        "curve_conversion_oracle.py", "check " + source.path + " " + zhost.saved.path);
    ASSERT_EQ(rows.size(), 5u);
    // Splines: points on the curve at the control points' parameters and in the middle of bent steps, joined
    // by chords (measured: 0.054 and 0.057 flat, 0.107 in 3-D, at the tops of the bends).
    constexpr double kSplineBound = 0.15;
    // The polyline paths exactly (within ezdxf's chords of 1e-5); a whole ellipse edge comes back as two
    // arcs through its ends and middles (measured 0.093 on an ellipse of radii 4 and 3.6).
    const double bounds[][2] = {{kSplineBound, kSplineBound},
                                {kSplineBound, kSplineBound},
                                {kSplineBound, kSplineBound},
                                {2e-5, 2e-5},
                                {0.12, 1e-4}};
    const double pieces[] = {1, 1, 1, 3, 2};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u);
        EXPECT_EQ(rows[i][0], pieces[i]) << "one closed piece per ring, source " << i;
        EXPECT_LE(rows[i][1], bounds[i][0]) << "the source's points off its pieces, source " << i;
        EXPECT_LE(rows[i][2], bounds[i][1]) << "the pieces' points off the source, source " << i;
    }
}

TEST(ExplosionInZhostThroughEzdxf, TheHostsExplodeGivesPiecesALooseHatchAndSymbols) {
    ZhostRun zhost;
    zhost.run(EXAMPLES "/survey_polylines.dxf", "EXPLODE\n@select all\n\n");
    expectPlanExploded(explodedSources(zhost.saved.path), 0);
}

TEST(ExplosionInZhostThroughEzdxf, ConvertingWithStylesHatchesThePiecesItPutInTheDrawing) {
    ZhostRun zhost;
    zhost.run(EXAMPLES "/survey_polylines.dxf", "ZOR_PCONVERT\nP\nA\nHIT\n0.01\n@select all\n\n");
    expectPlanExploded(explodedSources(zhost.saved.path), 1);
}

TEST(ConversionInZhostThroughEzdxf, HostPolylinesComeBackWithTheirArcsAndWidths) {
    host::test::TemporaryFile source(".dxf");
    ASSERT_EQ(oracle::runPythonOracle("pconvert_oracle.py", "write " + source.path).size(), 1u);
    // Without options a closed polyline stays closed; the defaults split it by code, so it ends where it
    // starts, open.
    const struct {
        const char* options;
        double closed[5];
    } runs[] = {{"0", {1, 1, 0, 0, 1}}, {"", {0, 0, 0, 0, 0}}};
    for (const auto& run : runs) {
        ZhostRun zhost;
        zhost.run(source.path, std::string("ZOR_PCONVERT\nA\n@select all\n\nZOR_PCONVERT\nP\nA\n") +
                                   run.options + "\n0.01\n@select all\n\n");
        const std::vector<oracle::Row> rows =
            oracle::runPythonOracle("pconvert_oracle.py", "check " + source.path + " " + zhost.saved.path);
        ASSERT_EQ(rows.size(), 6u) << "options " << run.options;
        EXPECT_EQ(rows[0], (oracle::Row{0, 0, 5})) << "audit errors and fixes, polylines";
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const oracle::Row& r = rows[i];
            ASSERT_EQ(r.size(), 5u);
            EXPECT_EQ(r[0], i == 5 ? 3 : 1) << "kind, source " << i << ", options " << run.options;
            EXPECT_EQ(r[1], run.closed[i - 1]) << "closed, source " << i << ", options " << run.options;
            EXPECT_LE(r[2], 1e-9) << "points, source " << i << ", options " << run.options;
            EXPECT_LE(r[3], 1e-9) << "bulges, source " << i << ", options " << run.options;
            // Widths are kept to 1e-5.
            EXPECT_LE(r[4], 2e-5) << "widths, source " << i << ", options " << run.options;
        }
    }
}
