// The survey plan drawn by zhost with the plug-in: the SVG, read as XML, shows each polyline's segments under
// their markers, and the draw flag set by a script changes how they draw.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tinyxml.h>
#include <unistd.h>

#include "host/filing/file_bytes.h"
#include "tests/host/host_test_support.h"
#include "tests/plugin/install_folder.h"
#include "tests/support/program_run.h"

namespace {

// The markers each entity's elements carry, by handle.
std::map<std::string, std::multiset<int>> markersByHandle(const std::string& svg) {
    std::map<std::string, std::multiset<int>> markers;
    TiXmlDocument document;
    document.Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    EXPECT_FALSE(document.Error()) << document.ErrorDesc();
    if (!document.RootElement()) return markers;
    for (TiXmlElement* e = document.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* handle = e->Attribute("data-handle");
        int marker = 0;
        if (handle && e->Attribute("data-marker", &marker)) markers[handle].insert(marker);
    }
    return markers;
}

struct DrawnPlan {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile picture{".svg"};
    host::test::TemporaryFile script{".scr"};

    std::map<std::string, std::multiset<int>> draw(const std::string& scriptText) {
        host::writeFileBytes(script.wide(), scriptText);
        const std::string environment = "ZORTA_NAMESPACE=zhost_drawing_" + std::to_string(getpid()) +
                                        "_ ZORTA=" + install.root.path() + "/install/";
        const auto run = testing_support::runProgram(
            environment +
            " " ZHOST_PROGRAM " " EXAMPLES "/survey_polylines.dxf --load " MODULE_2021 " --script " +
            script.path + " --svg " + picture.path);
        EXPECT_EQ(run.status, 0) << run.output;
        return markersByHandle(host::readFileBytes(picture.wide()).value_or(""));
    }
};

} // namespace

TEST(DrawnPlan, EachPolylineShowsItsSegmentsUnderTheirMarkers) {
    DrawnPlan plan;
    auto markers = plan.draw("ZOR_DRAWFLAG\n0\n");
    // The contour line has nothing that sets a segment apart: one polyline, markers 1 to 4.
    EXPECT_EQ(markers["19"], (std::multiset<int>{1, 2, 3, 4}));
    // The closed parcel has codes and an arc: each segment on its own, the closing one included.
    EXPECT_EQ(markers["15"], (std::multiset<int>{1, 2, 3, 4}));
    // The kerb has widths and heights: per segment its band and the band of its width line.
    EXPECT_EQ(markers["17"], (std::multiset<int>{1, 1, 2, 2, 3, 3}));
    // The labels are host texts, without markers.
    EXPECT_EQ(markers["1B"], (std::multiset<int>{0}));
}
