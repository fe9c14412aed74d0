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
