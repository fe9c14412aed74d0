// A lightweight polyline and the ZORTAPOLY made from it go through the host's grips, STRETCH, MOVE, ROTATE
// and SCALE in one zhost session with the plug-in; the VLAX-CURVE- answers of the two stay alike after each
// step, and ezdxf finds the saved twins on the same vertices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/plan_run.h"

namespace {

// Every curve query a LISP program can make, on the curve named by the symbol `e`.
std::string queries(const std::string& e) {
    // Not the end point: a closed ZORTAPOLY answers its tail vertex, a lightweight polyline its start.
    const std::string onArc = "(vlax-curve-getPointAtParam " + e + " 2.5)";
    return "(list (vlax-curve-getStartParam " + e + ") (vlax-curve-getEndParam " + e +
           ") (vlax-curve-getStartPoint " + e + ") " + onArc + " (vlax-curve-getFirstDeriv " + e +
           " 2.5) (vlax-curve-getSecondDeriv " + e + " 2.5)" + " (vlax-curve-getParamAtPoint " + e + " " +
           onArc + ") (vlax-curve-getDistAtParam " + e + " 2.5) (vlax-curve-getParamAtDist " + e +
           " 70) (vlax-curve-getPointAtDist " + e + " 70) (vlax-curve-getDistAtPoint " + e + " " + onArc +
           ") (vlax-curve-getClosestPointTo " + e + " '(30 30 0)) (vlax-curve-getArea " + e +
           ") (vlax-curve-isClosed " + e + ") (vlax-curve-isPlanar " + e + "))";
}

// The numbers and symbols of the value printed after each evaluation of `expression`.
std::vector<std::vector<std::string>> valuesAfter(const std::string& transcript,
                                                  const std::string& expression) {
    std::vector<std::vector<std::string>> values;
    static const std::regex token(R"([-+]?[0-9][0-9.]*(e[-+]?[0-9]+)?|\bT\b|\bnil\b)");
    for (std::size_t at = transcript.find(expression); at != std::string::npos;
         at = transcript.find(expression, at + 1)) {
        const std::size_t start = transcript.find('\n', at) + 1;
        const std::string line = transcript.substr(start, transcript.find('\n', start) - start);
        std::vector<std::string> tokens;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), token); it != std::sregex_iterator();
             ++it)
            tokens.push_back(it->str());
        // The area of the ZORTAPOLY keeps its sign (negative counter-clockwise), the host's does not.
        if (tokens.size() > 3 && tokens[tokens.size() - 3].starts_with('-'))
            tokens[tokens.size() - 3].erase(0, 1);
        values.push_back(tokens);
    }
    return values;
}

bool alike(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (a[i] == "T" || a[i] == "nil" || b[i] == "T" || b[i] == "nil") return false;
        if (std::abs(std::stod(a[i]) - std::stod(b[i])) > 1e-9 * (1 + std::abs(std::stod(a[i]))))
            return false;
    }
    return true;
}

// The vertex rows of each polyline of a saved drawing by handle, as ezdxf reads them ("polylines" for
// ZORTAPOLY, "lightweight" for LWPOLYLINE).
std::map<int, std::vector<oracle::Row>> verticesByHandle(const std::string& path, const std::string& kind) {
    const std::vector<oracle::Row> rows = oracle::runPythonOracle("commands_oracle.py", kind + " " + path);
    std::map<int, std::vector<oracle::Row>> out;
    for (std::size_t i = 0; i < rows.size();) {
        const std::size_t count = std::size_t(rows[i][2]);
        out[int(rows[i][0])].assign(rows.begin() + i + 1, rows.begin() + i + 1 + count);
        i += 1 + count;
    }
    return out;
}

struct CurveSession : ::testing::Test {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile script{".scr"};
    host::test::TemporaryFile twins{".dxf"};
    host::test::TemporaryFile edited{".dxf"};

    std::string run(const std::string& drawing, const std::string& scriptText, const std::string& saveAs) {
        return plugin::test::runScriptOnDrawing(install, script, "zhost_curves", ZHOST_PROGRAM, drawing,
                                                MODULE_2021, scriptText, "--save " + saveAs);
    }
};

} // namespace

TEST_F(CurveSession, LightweightAndZortapolyTwinsStayAlikeThroughTheEditingCommands) {
    // The plan's first entity is a closed lightweight polyline with an arc on its third segment.
    const std::string made = run(EXAMPLES "/standard_entities.dxf",
                                 "(setq z (ZOR_FromEntity (entnext)))\n(entget z)\n", twins.path);
    std::smatch handleMatch;
    ASSERT_TRUE(std::regex_search(made, handleMatch, std::regex(R"(\(5 \. \"([0-9A-F]+)\"\))"))) << made;
    const std::string twin = handleMatch[1];

    const std::string both = "@select 3A " + twin + "\n\n";
    const std::string ask = queries("w") + "\n" + queries("z") + "\n";
    const std::string transcript =
        run(twins.path,
            "(setq w (entnext))\n(setq z (entlast))\n" + ask + "@grip 3A 0,0 -2,-1\n@grip " + twin +
                " 0,0 -2,-1\n" + ask + "STRETCH\n35,-5\n45,30\n0,0\n5,0\n" + ask + "MOVE\n" + both +
                "0,0\n5,3\n" + ask + "ROTATE\n" + both + "0,0\n30\n" + ask + "SCALE\n" + both + "0,0\n1.5\n" +
                ask,
            edited.path);

    const auto lightweight = valuesAfter(transcript, queries("w"));
    const auto zortapoly = valuesAfter(transcript, queries("z"));
    ASSERT_EQ(lightweight.size(), 6u) << transcript;
    ASSERT_EQ(zortapoly.size(), 6u) << transcript;
    const char* steps[] = {"as loaded", "@grip", "STRETCH", "MOVE", "ROTATE", "SCALE"};
    for (std::size_t i = 0; i < lightweight.size(); ++i) {
        EXPECT_EQ(lightweight[i].size(), 27u) << steps[i] << ": every query answered\n" << transcript;
        EXPECT_EQ(std::ranges::count(lightweight[i], "nil"), 0) << steps[i] << "\n" << transcript;
        EXPECT_TRUE(alike(lightweight[i], zortapoly[i])) << steps[i] << "\n" << transcript;
        if (i > 0) {
            EXPECT_FALSE(alike(lightweight[i], lightweight[i - 1])) << steps[i] << " changed nothing";
        }
    }

    // ezdxf reads the saved twins on the same world vertices.
    const auto lightweightRows = verticesByHandle(edited.path, "lightweight");
    const auto zortapolyRows = verticesByHandle(edited.path, "polylines");
    ASSERT_TRUE(lightweightRows.contains(0x3A));
    ASSERT_TRUE(zortapolyRows.contains(std::stoi(twin, nullptr, 16)));
    const std::vector<oracle::Row>& a = lightweightRows.at(0x3A);
    const std::vector<oracle::Row>& b = zortapolyRows.at(std::stoi(twin, nullptr, 16));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t r = 0; r < a.size(); ++r)
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(a[r][k], b[r][k], 1e-9) << "vertex " << r;
}
