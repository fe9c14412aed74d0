// The survey plan drawn by zhost with the plug-in: the SVG, read as XML, shows each polyline's segments under
// their markers in the colours of their TEF codes, the hatch and the symbols of the styles, and the draw flag
// set by a script changes how they draw. Saved with their proxy graphics, they show the same without it.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <string>
#include <tinyxml.h>
#include <vector>

#include "host/filing/file_bytes.h"
#include "host/graphics/svg_writer.h"
#include "tests/host/host_test_support.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/plan_run.h"

namespace {

struct Point {
    double x, y;
};

// One drawn element of the SVG.
struct Element {
    std::string tag, handle, stroke, fill;
    int marker = 0;
    std::vector<Point> points; // a polyline's or polygon's points, a circle's centre
};

double number(const char* text) {
    double value = 0;
    if (text) std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

std::vector<Point> pointsOf(const std::string& text) {
    std::vector<Point> points;
    const char* at = text.c_str();
    const char* end = at + text.size();
    while (at < end) {
        Point p{};
        at = std::from_chars(at, end, p.x).ptr + 1; // past the comma
        at = std::from_chars(at, end, p.y).ptr;
        points.push_back(p);
        while (at < end && *at == ' ')
            ++at;
    }
    return points;
}

std::vector<Element> elementsOf(const std::string& svg) {
    std::vector<Element> elements;
    TiXmlDocument document;
    document.Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    EXPECT_FALSE(document.Error()) << document.ErrorDesc();
    if (!document.RootElement()) return elements;
    for (TiXmlElement* e = document.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* handle = e->Attribute("data-handle");
        if (!handle) continue;
        Element element;
        element.tag = e->Value();
        element.handle = handle;
        element.stroke = e->Attribute("stroke") ? e->Attribute("stroke") : "";
        element.fill = e->Attribute("fill") ? e->Attribute("fill") : "";
        e->Attribute("data-marker", &element.marker);
        if (const char* points = e->Attribute("points")) element.points = pointsOf(points);
        if (element.tag == "circle")
            element.points = {{number(e->Attribute("cx")), number(e->Attribute("cy"))}};
        elements.push_back(element);
    }
    return elements;
}

// The markers each entity's elements carry, by handle.
std::map<std::string, std::multiset<int>> markersByHandle(const std::vector<Element>& elements) {
    std::map<std::string, std::multiset<int>> markers;
    for (const Element& e : elements)
        markers[e.handle].insert(e.marker);
    return markers;
}

std::vector<Element> ofHandle(const std::vector<Element>& elements, const std::string& handle,
                              const std::string& tag) {
    std::vector<Element> found;
    for (const Element& e : elements)
        if (e.handle == handle && e.tag == tag) found.push_back(e);
    return found;
}

struct DrawnPlan {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile picture{".svg"};
    host::test::TemporaryFile script{".scr"};

    std::vector<Element> draw(const std::string& scriptText) {
        plugin::test::runScriptOnDrawing(install, script, "zhost_drawing", ZHOST_PROGRAM,
                                         EXAMPLES "/survey_polylines.dxf", MODULE_2021, scriptText,
                                         "--svg " + picture.path);
        return elementsOf(host::readFileBytes(picture.wide()).value_or(""));
    }
};

// Handles of the plan's entities.
const std::string kParcel = "15", kKerb = "17", kContour = "19", kLabel = "1B", kHatched = "23",
                  kHedge = "25";

void expectAt(const Point& p, double x, double y, const std::string& what) {
    EXPECT_NEAR(p.x, x, 1e-3) << what;
    EXPECT_NEAR(p.y, y, 1e-3) << what;
}

} // namespace

TEST(DrawnPlan, EachPolylineShowsItsSegmentsUnderTheirMarkersInTheirCodesColours) {
    DrawnPlan plan;
    const auto elements = plan.draw("ZOR_DRAWFLAG\n0\n");
    auto markers = markersByHandle(elements);
    // The contour line has nothing that sets a segment apart: one polyline, markers 1 to 4.
    EXPECT_EQ(markers[kContour], (std::multiset<int>{1, 2, 3, 4}));
    // The closed parcel has codes and an arc: each segment on its own, the closing one included.
    EXPECT_EQ(markers[kParcel], (std::multiset<int>{1, 2, 3, 4}));
    // The kerb has widths and heights: per segment its band and the band of its width line.
    EXPECT_EQ(markers[kKerb], (std::multiset<int>{1, 1, 2, 2, 3, 3}));
    // The labels are host texts, without markers.
    EXPECT_EQ(markers[kLabel], (std::multiset<int>{0}));
    // The drawing's TEF record: code 1 in colour 1, code 4 in colour 6.
    for (const Element& e : ofHandle(elements, kParcel, "polyline"))
        EXPECT_EQ(e.stroke, host::colorIndexToRgb(1)) << "parcel segment " << e.marker;
    for (const Element& e : ofHandle(elements, kKerb, "polygon"))
        EXPECT_EQ(e.fill, host::colorIndexToRgb(6)) << "kerb band " << e.marker;
}

TEST(DrawnPlan, StylesShowTheirHatchAndSymbolsUnlessTheDrawFlagLeavesThemOut) {
    DrawnPlan plan;
    const auto styled = plan.draw("ZOR_DRAWFLAG\n8\nZOR_DRAWFLAG\n0\n");
    // The hatched parcel: its outline (its segments' markers), then the hatch's lines inside it in colour 3.
    std::vector<Element> outline, hatch;
    for (const Element& e : ofHandle(styled, kHatched, "polyline"))
        (e.marker ? outline : hatch).push_back(e);
    ASSERT_EQ(outline.size(), 4u);
    ASSERT_GT(hatch.size(), 5u);
    Point low = outline[0].points[0], high = low;
    for (const Element& side : outline)
        for (const Point& p : side.points) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
    for (const Element& line : hatch) {
        EXPECT_EQ(line.stroke, host::colorIndexToRgb(3));
        for (const Point& p : line.points) {
            EXPECT_TRUE(p.x > low.x - 1e-3 && p.x < high.x + 1e-3 && p.y > low.y - 1e-3 &&
                        p.y < high.y + 1e-3)
                << "a hatch line ends inside the parcel: " << p.x << "," << p.y;
        }
    }
    // The hedge, 30 east then 15 north, a tree every 5 from 2.5: six on the first side, three on the second
    // (north is up the page, so down the SVG's y).
    const auto sides = ofHandle(styled, kHedge, "polyline");
    ASSERT_EQ(sides.size(), 2u);
    const Point start = sides[0].points[0], corner = sides[1].points[0];
    const auto trees = ofHandle(styled, kHedge, "circle");
    ASSERT_EQ(trees.size(), 9u);
    for (int i = 0; i < 6; ++i)
        expectAt(trees[i].points[0], start.x + 2.5 + 5 * i, start.y, "tree on the first side");
    for (int i = 0; i < 3; ++i)
        expectAt(trees[6 + i].points[0], corner.x, corner.y - 2.5 - 5 * i, "tree on the second side");

    const auto plain = plan.draw("ZOR_DRAWFLAG\n8\n");
    EXPECT_EQ(ofHandle(plain, kHatched, "polyline").size(), 4u) << "the outline alone";
    EXPECT_TRUE(ofHandle(plain, kHedge, "circle").empty());
    EXPECT_EQ(ofHandle(plain, kHedge, "polyline").size(), 2u) << "the hedge itself stays";
}

namespace {

// The polylines' own lines (not what their styles add: a hatch's lines carry no marker) of each entity, in
// drawing order, placed from the contour line's first point: pictures of other extents are shifted, not
// scaled.
std::map<std::string, std::vector<Element>> polylinesByHandle(const std::vector<Element>& elements) {
    std::map<std::string, std::vector<Element>> found;
    for (const Element& e : elements)
        if (e.tag == "polyline" && e.marker != 0) found[e.handle].push_back(e);
    if (found[kContour].empty()) return found;
    const Point origin = found[kContour].front().points.front();
    for (auto& [handle, lines] : found)
        for (Element& line : lines)
            for (Point& p : line.points)
                p = {p.x - origin.x, p.y - origin.y};
    return found;
}

void expectSameLines(const std::vector<Element>& shown, const std::vector<Element>& drawn,
                     const std::string& what) {
    ASSERT_EQ(shown.size(), drawn.size()) << what;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(shown[i].marker, drawn[i].marker) << what;
        EXPECT_EQ(shown[i].stroke, drawn[i].stroke) << what;
        ASSERT_EQ(shown[i].points.size(), drawn[i].points.size()) << what;
        for (std::size_t k = 0; k < drawn[i].points.size(); ++k)
            expectAt(shown[i].points[k], drawn[i].points[k].x, drawn[i].points[k].y, what);
    }
}

// The drawing file without the last chunk of proxy graphics of the entity `handle`.
std::string withoutLastGraphicsChunk(const std::string& dxf, const std::string& handle) {
    const std::size_t entity = dxf.find("\n  0\nZORTAPOLY\n  5\n" + handle + "\n");
    const std::size_t end = dxf.find("\n  0\n", entity + 1);
    const std::size_t chunk = dxf.rfind("\n310\n", end);
    if (entity == std::string::npos || chunk == std::string::npos || chunk < entity) return dxf;
    const std::size_t chunkEnd = dxf.find('\n', chunk + 5);
    return dxf.substr(0, chunk) + dxf.substr(chunkEnd);
}

} // namespace

TEST(DrawnPlan, WithoutThePluginThePolylinesDrawFromTheProxyGraphicsSavedWithThem) {
    DrawnPlan plan;
    host::test::TemporaryFile saved{".dxf"}, damaged{".dxf"}, shown{".svg"};
    plugin::test::runScriptOnDrawing(plan.install, plan.script, "zhost_proxy_graphics", ZHOST_PROGRAM,
                                     EXAMPLES "/survey_polylines.dxf", MODULE_2021, "ZOR_DRAWFLAG\n4\n",
                                     "--save " + saved.path + " --svg " + plan.picture.path);
    const auto drawn = polylinesByHandle(elementsOf(host::readFileBytes(plan.picture.wide()).value_or("")));
    auto showWithoutPlugin = [&](const std::string& drawing) {
        const auto run =
            testing_support::runProgram("ZORTA_NAMESPACE=zhost_proxy_graphics_" + std::to_string(getpid()) +
                                        "_ " ZHOST_PROGRAM " " + drawing + " --svg " + shown.path);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("proxy objects"), std::string::npos) << run.output;
        return polylinesByHandle(elementsOf(host::readFileBytes(shown.wide()).value_or("")));
    };
    const auto proxies = showWithoutPlugin(saved.path);
    for (const std::string& handle : {kParcel, kKerb, kContour, kHatched, kHedge})
        expectSameLines(proxies.count(handle) ? proxies.at(handle) : std::vector<Element>{},
                        drawn.count(handle) ? drawn.at(handle) : std::vector<Element>{},
                        "polyline " + handle);

    // The parcel's graphics cut short: what comes before the cut still shows, the others are whole.
    host::writeFileBytes(damaged.wide(),
                         withoutLastGraphicsChunk(host::readFileBytes(saved.wide()).value_or(""), kParcel));
    const auto cut = showWithoutPlugin(damaged.path);
    ASSERT_TRUE(cut.count(kParcel));
    const std::vector<Element>& parcel = cut.at(kParcel);
    EXPECT_GE(parcel.size(), 1u);
    EXPECT_LT(parcel.size(), drawn.at(kParcel).size());
    expectSameLines({parcel.front()}, {drawn.at(kParcel).front()}, "the parcel's first segment");
    expectSameLines(cut.at(kContour), drawn.at(kContour), "the contour line");
}
