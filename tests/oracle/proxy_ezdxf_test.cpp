// The survey plan through a host without the plug-in: its polylines kept as proxies, saved as DXF and as
// the binary drawing, and whole again when the plug-in is back, as ezdxf sees them.
#include <gtest/gtest.h>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

testing_support::ProgramRun zhost(const std::string& arguments) {
    return testing_support::runProgram(ZHOST_PROGRAM " " + arguments);
}

const std::string kPlan = EXAMPLES "/survey_polylines.dxf";
const std::string kWithPlugin = "--load " PLUGIN_MODULE " ";
const std::string kProxies = "the drawing holds 5 proxy objects";

} // namespace

TEST(Proxies, ThePolylinesSurviveAHostWithoutThePlugin) {
    testing_support::TempFolder folder;
    const std::string reference = folder / "reference.dxf";
    ASSERT_EQ(zhost(kWithPlugin + kPlan + " --save " + reference).status, 0);
    // Without the plug-in, from the plan and from its binary drawing saved with the plug-in.
    ASSERT_EQ(zhost(kWithPlugin + kPlan + " --save " + folder / "with.zdw").status, 0);
    std::vector<std::string> restored;
    for (const std::string& source : {kPlan, folder / "with.zdw"}) {
        for (const char* format : {".dxf", ".zdw"}) {
            const std::string kept = folder / ("kept" + std::to_string(restored.size()) + format);
            const testing_support::ProgramRun run = zhost(source + " --save " + kept);
            ASSERT_EQ(run.status, 0) << run.output;
            EXPECT_NE(run.output.find(kProxies), std::string::npos) << run.output;
            const testing_support::ProgramRun again = zhost(kept + " --save " + kept + ".again.dxf");
            EXPECT_NE(again.output.find(kProxies), std::string::npos) << "still kept: " << again.output;
            restored.push_back(folder / ("restored" + std::to_string(restored.size()) + ".dxf"));
            const testing_support::ProgramRun back = zhost(kWithPlugin + kept + " --save " + restored.back());
            ASSERT_EQ(back.status, 0) << back.output;
            EXPECT_EQ(back.output.find("proxy"), std::string::npos) << back.output;
        }
    }
    std::string others;
    for (const std::string& path : restored)
        others += " " + path;
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("proxy_oracle.py", "compare ZORTAPOLY " + reference + others);
    ASSERT_EQ(rows.size(), restored.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], (oracle::Row{5, 5})) << restored[i];
}

// What the polylines draw for proxy graphics, saved with the plan and decoded by ezdxf: with the draw flag's
// proxy bit, each polyline's segments (arcs as their points); without it, or with PROXYGRAPHICS 0, nothing.
TEST(Proxies, SavedPolylinesCarryTheirSegmentsAsProxyGraphicsWhenTheDrawFlagAsks) {
    testing_support::TempFolder folder;
    auto graphicsAfter = [&](const std::string& name, const std::string& script) {
        testing_support::writeFile(folder / (name + ".scr"), script);
        const std::string saved = folder / (name + ".dxf");
        const testing_support::ProgramRun run =
            zhost(kWithPlugin + kPlan + " --script " + folder / (name + ".scr") + " --save " + saved);
        EXPECT_EQ(run.status, 0) << run.output;
        return oracle::runPythonOracle("proxy_oracle.py", "graphics " + saved);
    };
    // Rows: handle, has widths, entities decoded, off the path, vertex missed, points inside arcs.
    const std::vector<oracle::Row> drawn = graphicsAfter("drawn", "ZOR_DRAWFLAG\n4\n");
    ASSERT_EQ(drawn.size(), 5u);
    double insideArcs = 0;
    for (const oracle::Row& row : drawn) {
        ASSERT_EQ(row.size(), 6u);
        EXPECT_GT(row[2], 0) << "polyline " << row[0];
        insideArcs += row[5];
        if (row[1] != 0) continue; // widths and heights draw beside the path
        EXPECT_LT(row[3], 1e-9) << "a point off polyline " << row[0];
        EXPECT_LT(row[4], 1e-9) << "a vertex of polyline " << row[0] << " not drawn";
    }
    EXPECT_GT(insideArcs, 0) << "the parcel's arc drawn along it, not as its chord";

    for (const auto& [name, script] : {std::pair<std::string, std::string>{"plain", "ZOR_DRAWFLAG\n0\n"},
                                       {"off", "ZOR_DRAWFLAG\n4\n(setvar \"PROXYGRAPHICS\" 0)\n"}})
        for (const oracle::Row& row : graphicsAfter(name, script))
            EXPECT_EQ(row[2], -1) << name << ": polyline " << row[0] << " carries proxy graphics";
}

// The plan saved with the plug-in as the binary drawing, which keeps each polyline's proxy graphics: opened
// without the plug-in it draws as with it, saves as the same bytes and as DXF proxies in the form ezdxf
// reads, whose images give the polylines' segments and which read back into the same proxies, and is whole
// again with the plug-in. A binary drawing of the format before the images opens.
TEST(Proxies, TheBinaryDrawingKeepsTheProxyGraphicsOfThePolylines) {
    testing_support::TempFolder folder;
    const std::string flag = folder / "flag.scr";
    testing_support::writeFile(flag, "ZOR_DRAWFLAG\n4\n");
    const std::string withPlugin = kWithPlugin + "--script " + flag + " ";
    const std::string reference = folder / "reference.dxf", binary = folder / "plan.zdw";
    ASSERT_EQ(zhost(withPlugin + kPlan + " --save " + reference).status, 0);
    ASSERT_EQ(zhost(withPlugin + kPlan + " --save " + binary + " --svg " + folder / "with.svg").status, 0);

    const std::string kept = folder / "kept.dxf", keptBinary = folder / "kept.zdw";
    const testing_support::ProgramRun run =
        zhost(binary + " --svg " + folder / "without.svg" + " --save " + kept);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(kProxies), std::string::npos) << run.output;
    ASSERT_EQ(zhost(binary + " --save " + keptBinary).status, 0);
    EXPECT_EQ(testing_support::readFile(keptBinary), testing_support::readFile(binary))
        << "written back unchanged";
    const std::string fromKept = folder / "from-kept.zdw";
    ASSERT_EQ(zhost(kept + " --save " + fromKept).status, 0);
    EXPECT_EQ(testing_support::readFile(fromKept), testing_support::readFile(binary))
        << "the DXF proxy form read back into the same proxies";
    // Rows: handle, in the proxy form, segments decoded from its graphics and from the plug-in's own.
    const std::vector<oracle::Row> proxies =
        oracle::runPythonOracle("proxy_oracle.py", "proxies " + kept + " " + reference);
    ASSERT_EQ(proxies.size(), 5u);
    for (const oracle::Row& row : proxies) {
        EXPECT_EQ(row[1], 1) << "proxy " << row[0] << " not in the proxy form";
        EXPECT_GT(row[2], 0) << "proxy " << row[0];
        EXPECT_EQ(row[2], row[3]) << "proxy " << row[0];
    }

    // Rows: drawn with the plug-in, drawn without, found among the first, largest distance once aligned.
    const std::vector<oracle::Row> pictures = oracle::runPythonOracle(
        "proxy_oracle.py", "svg " + folder / "with.svg" + " " + folder / "without.svg");
    ASSERT_EQ(pictures.size(), 1u);
    const oracle::Row& svg = pictures[0];
    EXPECT_EQ(svg[2], svg[1]) << "an element drawn without the plug-in that it does not draw";
    // All but the lines of the hatched parcel's hatch (no marker), which is no proxy graphics.
    const std::string with = testing_support::readFile(folder / "with.svg");
    double hatchLines = 0;
    for (std::size_t at = 0;
         (at = with.find("data-handle=\"23\" data-marker=\"0\"", at)) != std::string::npos; ++at)
        ++hatchLines;
    EXPECT_GT(hatchLines, 0);
    EXPECT_EQ(svg[1], svg[0] - hatchLines);
    EXPECT_LT(svg[3], 1e-3);

    // Rows: handle, entities decoded from its proxy graphics.
    const std::vector<oracle::Row> images = oracle::runPythonOracle("proxy_oracle.py", "images " + reference);
    ASSERT_EQ(images.size(), 5u);
    const std::string keptAgain = folder / "kept-again.dxf";
    ASSERT_EQ(zhost(keptBinary + " --save " + keptAgain).status, 0);
    for (const std::string& saved : {kept, keptAgain})
        EXPECT_EQ(oracle::runPythonOracle("proxy_oracle.py", "images " + saved), images) << saved;

    const std::string old = ZORTA_ORACLE_DIR "/data/survey_polylines_version2.zdw";
    const testing_support::ProgramRun oldRun = zhost(old + " --save " + folder / "old.zdw");
    ASSERT_EQ(oldRun.status, 0) << oldRun.output;
    EXPECT_NE(oldRun.output.find(kProxies), std::string::npos) << oldRun.output;
    std::string restored;
    int number = 0;
    for (const std::string& source : {kept, keptBinary, old, std::string(folder / "old.zdw")}) {
        const std::string saved = folder / ("restored" + std::to_string(number++) + ".dxf");
        ASSERT_EQ(zhost(withPlugin + source + " --save " + saved).status, 0) << source;
        restored += " " + saved;
    }
    const std::vector<oracle::Row> rows =
        oracle::runPythonOracle("proxy_oracle.py", "compare ZORTAPOLY " + reference + restored);
    ASSERT_EQ(rows.size(), 4u);
    for (const oracle::Row& row : rows)
        EXPECT_EQ(row, (oracle::Row{5, 5}));
}
