// The survey plan changed by the plug-in's commands in zhost, saved, and read back by ezdxf: reversed
// polylines and the TEF colour record.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/plan_run.h"

namespace {

struct Polyline {
    bool closed = false;
    std::vector<oracle::Row> points;
};

// The polylines of a drawing by handle, as ezdxf reads them.
std::map<int, Polyline> polylinesOf(const std::string& path) {
    const std::vector<oracle::Row> rows = oracle::runPythonOracle("commands_oracle.py", "polylines " + path);
    std::map<int, Polyline> polylines;
    for (std::size_t i = 0; i < rows.size();) {
        Polyline& p = polylines[int(rows[i][0])];
        p.closed = rows[i][1] != 0;
        const std::size_t count = std::size_t(rows[i][2]);
        p.points.assign(rows.begin() + i + 1, rows.begin() + i + 1 + count);
        i += 1 + count;
    }
    return polylines;
}

// Whether b is a turned round: the same ring read backwards (from any start when closed).
bool isReversed(const Polyline& a, const Polyline& b) {
    std::vector<oracle::Row> backwards(a.points.rbegin(), a.points.rend());
    if (!a.closed) return backwards == b.points;
    for (std::size_t k = 0; k < backwards.size(); ++k) {
        std::rotate(backwards.begin(), backwards.begin() + 1, backwards.end());
        if (backwards == b.points) return true;
    }
    return false;
}

struct PlanRun {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile script{".scr"};
    host::test::TemporaryFile saved{".dxf"};

    // Runs the script on the survey plan and saves it; zhost's transcript.
    std::string run(const std::string& scriptText) {
        return plugin::test::runScriptOnDrawing(install, script, "zhost_commands", ZHOST_PROGRAM,
                                                EXAMPLES "/survey_polylines.dxf", MODULE_2021, scriptText,
                                                "--save " + saved.path);
    }
};

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(CommandsThroughEzdxf, InvertingReversesEveryPolylineAndTheTefListIsStored) {
    const std::map<int, Polyline> before = polylinesOf(EXAMPLES "/survey_polylines.dxf");
    ASSERT_GT(before.size(), 1u);
    PlanRun plan;
    const std::string transcript = plan.run("ZOR_PINV\nI\n@select all\n\nZOR_SETTEFCOLOR\n0\n1,8,0,5\n");
    EXPECT_EQ(occurrences(transcript, " " + std::to_string(before.size()) + " Polylignes Invers"), 1)
        << transcript;
    const std::map<int, Polyline> after = polylinesOf(plan.saved.path);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [handle, polyline] : before)
        EXPECT_TRUE(isReversed(polyline, after.at(handle))) << "polyline " << std::hex << handle;
    const std::vector<oracle::Row> lists =
        oracle::runPythonOracle("commands_oracle.py", "tef " + plan.saved.path);
    EXPECT_EQ(lists, (std::vector<oracle::Row>{{4, 1, 8, 0, 5}, {0}})) << "TEF0, then an empty TEF1";
}
