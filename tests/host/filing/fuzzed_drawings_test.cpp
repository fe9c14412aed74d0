// Drawings mutated at random, with a fixed seed: every one is refused with a reason or opens, and what opens
// draws, and saves as DXF and as the binary drawing, both of which open again and save the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/filing/drawing_file.h"
#include "host/filing/dxf_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "host/graphics/graphics_recorder.h"
#include "tests/host/host_test_support.h"
#include "tests/host/sample_drawing.h"

namespace {

using host::test::Random;

constexpr int kCasesPerSeed = 600;

// Values that sit on the edges of what the readers check.
constexpr std::array<std::uint32_t, 9> kEdgeWords = {0,    0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 255,
                                                     4166, 1u << 24,   0x7FF80000, 2};
constexpr std::array<const char*, 16> kEdgeLines = {
    "",        "-1",     "0",   "255",      "4166",   "1e308",  "nan", "FFFFFFFFFFFFFFFF",
    "SECTION", "ENDSEC", "EOF", "POLYLINE", "VERTEX", "SEQEND", "330", "AcDbEntity"};

std::size_t lineStart(const std::string& text, std::size_t at) {
    const std::size_t newline = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
    return newline == std::string::npos ? 0 : newline + 1;
}

// The span of `count` whole lines from the line that holds `at`.
std::pair<std::size_t, std::size_t> lines(const std::string& text, std::size_t at, int count) {
    const std::size_t start = lineStart(text, at);
    std::size_t end = start;
    for (int i = 0; i < count && end < text.size(); ++i) {
        const std::size_t newline = text.find('\n', end);
        end = newline == std::string::npos ? text.size() : newline + 1;
    }
    return {start, end};
}

// One change of the kind a faulty disk, a faulty writer or a hostile user makes.
void mutate(std::string& data, Random& random, bool text) {
    if (data.empty()) return;
    const std::size_t at = random.below(data.size());
    switch (random.below(text ? 9 : 6)) {
    case 0:
        data[at] = static_cast<char>(data[at] ^ (1 << random.below(8)));
        break;
    case 1: {
        const std::uint32_t word = kEdgeWords[random.below(kEdgeWords.size())];
        for (std::size_t i = 0; i < 4 && at + i < data.size(); ++i)
            data[at + i] = static_cast<char>(word >> (8 * i));
        break;
    }
    case 2:
        data.resize(at);
        break;
    case 3:
        data.erase(at, 1 + random.below(64));
        break;
    case 4:
        data.insert(at, data.substr(random.below(data.size()), 1 + random.below(64)));
        break;
    case 5:
        data[at] = static_cast<char>(random.below(256));
        break;
    case 6: { // a line replaced
        const auto [start, end] = lines(data, at, 1);
        data.replace(start, end - start, std::string(kEdgeLines[random.below(kEdgeLines.size())]) + "\n");
        break;
    }
    case 7: { // a group left out or repeated
        const auto [start, end] = lines(data, at, 2);
        if (random.below(2))
            data.erase(start, end - start);
        else
            data.insert(start, data.substr(start, end - start));
        break;
    }
    case 8: { // a group moved elsewhere
        const auto [start, end] = lines(data, at, 2);
        const std::string group = data.substr(start, end - start);
        data.erase(start, end - start);
        data.insert(lineStart(data, random.below(data.size() + 1)), group);
        break;
    }
    }
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// The first line where two saves differ, with both versions, for a message that fits on a screen.
std::string firstDifference(const std::string& a, const std::string& b) {
    const std::vector<std::string_view> linesA = splitLines(a), linesB = splitLines(b);
    for (std::size_t i = 0; i < std::max(linesA.size(), linesB.size()); ++i) {
        const std::string_view lineA = i < linesA.size() ? linesA[i] : "(end)";
        const std::string_view lineB = i < linesB.size() ? linesB[i] : "(end)";
        if (lineA != lineB)
            return "line " + std::to_string(i + 1) + ": '" + std::string(lineA) + "' then '" +
                   std::string(lineB) + "'";
    }
    return {};
}

struct Outcome {
    int refused = 0;
    int opened = 0;
};

// A save of what `content` opens to, or empty with a failure when it cannot be made.
std::string save(AcDbDatabase& db, bool dxf, const std::string& what) {
    if (dxf) {
        try {
            return host::writeDxf(db);
        } catch (const std::exception& e) {
            ADD_FAILURE() << what << ": opened, but the DXF save fails: " << e.what();
            return {};
        }
    }
    std::string binary;
    if (host::writeDrawing(db, binary) != Acad::eOk)
        ADD_FAILURE() << what << ": opened, but the binary save fails: " << db.lastFileError();
    return binary;
}

// Opens `content`; what opens saves in both formats, and each save opens again and saves the same bytes.
void openSaveReopen(const std::string& content, Outcome& outcome, const std::string& what) {
    AcDbDatabase db(false);
    if (host::readDrawingContent(db, content) != Acad::eOk) {
        EXPECT_FALSE(db.lastFileError().empty()) << what << ": refused without a reason";
        ++outcome.refused;
        return;
    }
    ++outcome.opened;
    host::GraphicsRecorder().recordBlock(&db);
    for (const bool dxf : {true, false}) {
        const std::string saved = save(db, dxf, what);
        if (saved.empty()) continue;
        AcDbDatabase again(false);
        if (host::readDrawingContent(again, saved) != Acad::eOk) {
            ADD_FAILURE() << what << ": its " << (dxf ? "DXF" : "binary drawing")
                          << " does not open: " << again.lastFileError();
            continue;
        }
        const std::string resaved = save(again, dxf, what);
        if (resaved != saved)
            ADD_FAILURE() << what << ": its " << (dxf ? "DXF" : "binary drawing")
                          << " changed by a second save"
                          << (dxf ? ", " + firstDifference(saved, resaved) : std::string());
    }
}

void fuzz(const std::string& seed, bool text, std::uint64_t randomSeed, const char* name) {
    Random random(randomSeed);
    Outcome outcome;
    for (int i = 0; i < kCasesPerSeed && !testing::Test::HasFatalFailure(); ++i) {
        std::string mutated = seed;
        for (std::size_t n = 1 + random.below(3); n > 0; --n)
            mutate(mutated, random, text);
        openSaveReopen(mutated, outcome, std::string(name) + " case " + std::to_string(i));
    }
    // The run means something only when both outcomes are common.
    EXPECT_GT(outcome.refused, kCasesPerSeed / 20) << name;
    EXPECT_GT(outcome.opened, kCasesPerSeed / 20) << name;
}

struct FuzzedDrawings : testing::Test {
    host::test::WorkingDatabase sample;
    void SetUp() override { host::test::buildSampleDrawing(*sample.db); }
};

TEST_F(FuzzedDrawings, DxfTextMutations) {
    fuzz(host::writeDxf(*sample.db), true, 0x5EED0001, "sample DXF");
}

TEST_F(FuzzedDrawings, BinaryDrawingMutations) {
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(*sample.db, bytes), Acad::eOk);
    fuzz(bytes, false, 0x5EED0002, "sample binary drawing");
}

// Entities of a class no module defines here come back as proxies, whose kept groups and records are mutated.
TEST_F(FuzzedDrawings, ProxyMutations) {
    const std::optional<std::string> plan =
        host::readFileBytes(host::fromUtf8(EXAMPLES "/survey_polylines.dxf"));
    ASSERT_TRUE(plan);
    fuzz(*plan, true, 0x5EED0003, "survey plan DXF");
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDrawingContent(db, *plan), Acad::eOk) << db.lastFileError();
    std::string bytes;
    ASSERT_EQ(host::writeDrawing(db, bytes), Acad::eOk);
    fuzz(bytes, false, 0x5EED0004, "survey plan binary drawing");
}

// Blocks nested a few levels deep and wide, whose names and references the mutations change.
TEST_F(FuzzedDrawings, NestedBlockMutations) {
    host::test::addNestedBlocks(*sample.db, L"N", 5, 3);
    fuzz(host::writeDxf(*sample.db), true, 0x5EED0005, "nested blocks DXF");
}

// A block inserting itself or two inserting each other are refused; 1,000 blocks each inserting the next,
// or 30 each inserting the next twice (a billion lines), open, draw and measure in part (with a note) and
// save the same.
TEST(NestedBlocks, CyclesAreRefusedDeepAndWideNestsDrawInPart) {
    for (int length : {1, 2}) {
        host::test::WorkingDatabase cyclic;
        const std::vector<AcDbObjectId> blocks = host::test::addNestedBlocks(*cyclic.db, L"C", length, 1);
        host::test::addInsert(blocks.back(), blocks.front());
        std::string binary;
        ASSERT_EQ(host::writeDrawing(*cyclic.db, binary), Acad::eOk);
        for (const std::string& content : {host::writeDxf(*cyclic.db), binary}) {
            AcDbDatabase db(false);
            EXPECT_NE(host::readDrawingContent(db, content), Acad::eOk);
            EXPECT_NE(db.lastFileError().find("block C0 inserts itself"), std::string::npos)
                << db.lastFileError();
        }
    }
    for (const auto& [depth, copies] : {std::pair{1'000, 1}, std::pair{30, 2}}) {
        host::test::WorkingDatabase nested;
        host::test::addNestedBlocks(*nested.db, L"N", depth, copies);
        Outcome outcome;
        host::clearCommandLineTranscript();
        openSaveReopen(host::writeDxf(*nested.db), outcome, "nest " + std::to_string(depth));
        EXPECT_EQ(outcome.opened, 1);
        EXPECT_NE(host::commandLineTranscript().find(L"drawn in part: block N"), std::wstring::npos)
            << "depth " << depth;
        // Measured in part as well, within the same bounds.
        AcDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(acdbOpenObject(space, nested.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
        AcDbEntity* outer = nullptr;
        ASSERT_EQ(acdbOpenObject(outer, space->entityIds().back(), AcDb::kForRead), Acad::eOk);
        AcDbExtents extents;
        EXPECT_EQ(outer->getGeomExtents(extents), Acad::eOk);
        EXPECT_FALSE(extents.isEmpty());
        outer->close();
        space->close();
    }
}

// A DXF of 30,000 blocks in a chain opens: each reference finds its block by name without comparing every
// name in the table (a quadratic open ran past the test's time limit).
TEST(NestedBlocks, AChainOfThirtyThousandOpens) {
    host::test::WorkingDatabase chain;
    host::test::addNestedBlocks(*chain.db, L"N", 30'000, 1);
    AcDbDatabase db(false);
    ASSERT_EQ(host::readDrawingContent(db, host::writeDxf(*chain.db)), Acad::eOk) << db.lastFileError();
    EXPECT_FALSE(db.blockId(L"n29999").isNull());
}

} // namespace
