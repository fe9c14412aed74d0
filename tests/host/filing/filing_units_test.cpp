// The pieces under filing: text encodings, DXF text, the DXF filers' reading rules, the binary filer's
// layout, groups and result buffers.
#include <gtest/gtest.h>

#include <memory>

#include "host/db/db_object.h"
#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/dxf_text.h"
#include "host/filing/dxf_text_filer.h"
#include "host/filing/group.h"
#include "host/filing/proxies.h"
#include "host/filing/text_codec.h"
#include "tests/host/host_test_support.h"

using host::Group;

TEST(TextCodec, Windows1252AndUtf8RoundTrip) {
    std::wstring text = L"Côte n°12 – 3€ \u0152uvre";
    EXPECT_EQ(host::fromUtf8(host::toUtf8(text)), text);
    std::string cp = host::toCp1252(text);
    EXPECT_EQ(static_cast<unsigned char>(cp[1]), 0xF4) << "ô";
    EXPECT_NE(cp.find('\x80'), std::string::npos) << "the euro sign has its byte";
    EXPECT_EQ(host::fromCp1252(cp), text);
    EXPECT_EQ(host::toCp1252(L"\u4e2d"), "\\U+4E2D") << "outside the code page: an escape";
    EXPECT_EQ(host::decodeUnicodeEscapes(L"a\\U+4E2Db\\U+zz"), L"a\u4e2db\\U+zz");
    EXPECT_EQ(host::toCp1252(L"\U0001F332"), "\\U+D83C\\U+DF32") << "beyond 16 bits: a pair of surrogates";
    EXPECT_EQ(host::decodeUnicodeEscapes(L"\\U+D83C\\U+DF32 \\U+D83C"), L"\U0001F332 \\U+D83C")
        << "half a character stays text";
    EXPECT_EQ(host::toUtf16(L"a\U0001F332"), u"a\xD83C\xDF32");
    EXPECT_EQ(host::fromUtf16(u"a\xD83C\xDF32"), L"a\U0001F332");
    EXPECT_EQ(host::fromUtf16(u"\xD83C"
                              u"b\xDF32"),
              std::wstring(L"\xD83C") + L"b" + wchar_t(0xDF32))
        << "halves apart stay units";
    EXPECT_EQ(host::toUtf16(std::wstring(1, wchar_t(0x110000))), u"\uFFFD") << "no such character";
    EXPECT_EQ(host::fromUtf8("\xC3"), L"\uFFFD") << "a cut sequence";
    EXPECT_EQ(host::fromUtf8("\xFF"
                             "a"),
              L"\uFFFDa");
    EXPECT_EQ(host::fromUtf8("\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"), std::wstring(9, L'\uFFFD'))
        << "overlong, surrogate and beyond U+10FFFF";
}

TEST(DxfText, GroupsAreTypedByTheirCodes) {
    host::DxfGroups parsed = host::parseDxfText("  0\nLINE\n  5\n1A\n 10\n1.5\n 20\n-2\n 30\n0.25\n 70\n  3\n"
                                                " 90\n100000\n1004\n0AFF\n 40\n1e3\n");
    ASSERT_EQ(parsed.groups.size(), 7u);
    EXPECT_EQ(parsed.groups[1].handle(), AcDbHandle(0x1A));
    EXPECT_EQ(parsed.groups[2].point(), AcGePoint3d(1.5, -2, 0.25));
    EXPECT_FALSE(parsed.groups[2].planar);
    EXPECT_EQ(parsed.groups[3].integer(), 3);
    EXPECT_EQ(parsed.groups[4].integer(), 100000);
    EXPECT_EQ(std::get<host::Bytes>(parsed.groups[5].value), (host::Bytes{0x0A, 0xFF}));
    EXPECT_DOUBLE_EQ(parsed.groups[6].real(), 1000);
    EXPECT_EQ(parsed.lines[2], 5) << "the line of the point's x code";
    EXPECT_EQ(parsed.lines[3], 11);
}

TEST(DxfText, FaultsNameTheirLine) {
    auto message = [](const std::string& text) {
        try {
            host::parseDxfText(text);
        } catch (const host::DxfError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(message("  0\nLINE\n 10\n1.0\n 30\n2.0\n"), "line 5: point 10 without its y coordinate");
    EXPECT_EQ(message("  0\nLINE\n 70\n1.5\n"), "line 4: '1.5' is not a valid integer");
    EXPECT_EQ(message("  0\nLINE\n 70\n70000\n"), "line 4: 16-bit value out of range");
    EXPECT_EQ(message("  0\nLINE\n 40\n1e999\n"), "line 4: '1e999' is not a valid number");
    EXPECT_EQ(message("  0\nLINE\n1004\nABC\n"), "line 4: odd number of hexadecimal digits");
    EXPECT_EQ(message("  0\nLINE\n  8"), "line 3: group code without a value (file truncated)");
    EXPECT_EQ(message("  0\nLINE\n 10\n1.0\n 20\n2.0\n 30"),
              "line 7: group code without a value (file truncated)")
        << "a z without its value is a group of its own";
    EXPECT_EQ(message("  0\r\nLINE\r\n"), "") << "DOS line ends";
}

TEST(DxfText, WritingKeepsPrecisionPlanarPointsAndTexts) {
    std::vector<Group> groups = {{10, AcGePoint3d(1, 2, 0), host::kDefaultPrecision, true},
                                 {40, 0.1},
                                 {42, 3.14159265, 4},
                                 {1, std::wstring(L"a^b\nc é")}};
    std::string cp = host::formatDxfGroups(groups);
    EXPECT_EQ(cp, " 10\n1.0\n 20\n2.0\n 40\n0.1\n 42\n3.1416\n  1\na^ b^Jc \xE9\n");
    host::DxfGroups back = host::parseDxfText(cp);
    EXPECT_TRUE(back.groups[0].planar);
    EXPECT_EQ(back.groups[3].text(), L"a^b\nc é");
    // Fixed notation of a huge value at a precision is hundreds of digits: written whole, or shortest.
    for (const double huge : {1e300, -1.7e308}) {
        const std::string text = host::formatDxfGroups({{40, huge, 4}});
        EXPECT_EQ(host::parseDxfText(text).groups.at(0).real(), huge) << text.substr(0, 80);
    }
    EXPECT_EQ(host::formatDxfGroups({{40, 1e300, 1000}}), " 40\n1e+300\n");
    EXPECT_EQ(host::formatDxfGroups({{0, std::wstring(L"LINE")},
                                     {330, AcDbHandle(0x2A)},
                                     {1001, std::wstring(L"ZORTA")},
                                     {1071, Adesk::Int32(-7)}}),
              "  0\nLINE\n330\n2A\n1001\nZORTA\n1071\n-7\n")
        << "codes right-aligned in three columns, or wider";
    std::string utf8 = host::formatDxfGroups({{1, std::wstring(L"é")}}, host::DxfEncoding::Utf8);
    EXPECT_EQ(utf8, "  1\n\xC3\xA9\n");
    EXPECT_EQ(host::declaredEncoding("  9\n$ACADVER\n  1\nAC1027\n"), host::DxfEncoding::Utf8);
    EXPECT_EQ(host::declaredEncoding("  9\n$ACADVER\n  1\nAC1015\n"), host::DxfEncoding::Cp1252);
}

// Caret codes as the DXF reference defines them, and control characters other programs write as they are: a
// NUL is kept (never a reason to refuse a drawing) and each goes back as its caret code.
TEST(DxfText, CaretCodesAreReadAsTheirCodesAndWrittenBack) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {{"a^@b", "a^@b"},
                                                         {"a\0b"s, "a^@b"},
                                                         {"tab^Iend", "tab^Iend"},
                                                         {"tab\tend", "tab^Iend"},
                                                         {"two^Jlines", "two^Jlines"},
                                                         {"^_", "^_"},
                                                         {"caret^ here", "caret^ here"},
                                                         {"c^d", "c^ d"},
                                                         {"end^", "end^ "},
                                                         {"^", "^ "}};
    for (const auto& [read, written] : cases) {
        const host::DxfGroups parsed = host::parseDxfText("  1\n" + read + "\n");
        ASSERT_EQ(parsed.groups.size(), 1u) << read;
        EXPECT_EQ(host::formatDxfGroups(parsed.groups), "  1\n" + written + "\n") << read;
        EXPECT_EQ(host::parseDxfText("  1\n" + written + "\n").groups, parsed.groups) << written;
    }
    EXPECT_EQ(host::parseDxfText("  1\na^Jb\n").groups.at(0).text(), L"a\nb");
}

TEST(DxfText, TheReaderTakesGroupsOneByOneAndLooksAheadOnABookmark) {
    host::DxfGroupReader reader("999\nnote\n  0\nLINE\n 10\n1\n 20\n2\n  8\nTalus\n\n");
    ASSERT_NE(reader.upcoming(), nullptr);
    EXPECT_EQ(reader.nextLine(), 3) << "the comment passed over";
    host::DxfLines ahead = reader.ahead();
    host::RawGroup raw;
    ASSERT_EQ(ahead.next(raw), host::DxfLines::Step::Group);
    EXPECT_EQ(raw.value, "LINE");
    EXPECT_EQ(reader.take().text(), L"LINE") << "the look ahead moved nothing";
    const Group point = reader.take();
    EXPECT_EQ(point.point(), AcGePoint3d(1, 2, 0));
    EXPECT_EQ(reader.lastLine(), 5);
    EXPECT_EQ(reader.take().text(), L"Talus");
    EXPECT_TRUE(reader.atEnd()) << "a final empty line ends the text";
    EXPECT_EQ(reader.nextLine(), 11);

    host::DxfLines cut("  0\nLINE\n  8");
    ASSERT_EQ(cut.next(raw), host::DxfLines::Step::Group);
    EXPECT_EQ(cut.next(raw), host::DxfLines::Step::Truncated);
    EXPECT_EQ(raw.line, 3);
}

TEST(DxfText, AWriterWithASinkHandsOnBlocksThatMakeTheWholeText) {
    std::vector<Group> groups;
    for (int i = 0; i < 100000; ++i)
        groups.push_back({10, AcGePoint3d(652000.125 + i, 6234000.5 - i, 0), host::kDefaultPrecision, true});
    groups.push_back({1, std::wstring(L"fin")});
    std::string streamed;
    int blocks = 0;
    host::DxfTextOut out(host::DxfEncoding::Cp1252, [&](std::string_view block) {
        streamed += block;
        ++blocks;
    });
    for (const Group& g : groups)
        out.put(g);
    out.flush();
    EXPECT_GT(blocks, 1);
    EXPECT_EQ(streamed, host::formatDxfGroups(groups));
}

// An object reads its groups by the same rules whether they come as a list or straight from the text.
TEST(DxfFilers, AnObjectReadsAlikeFromAListAndFromTheText) {
    const std::vector<Group> groups = {{5, AcDbHandle(0x2A)},         {100, std::wstring(L"AcDbEntity")},
                                       {8, std::wstring(L"Talus")},   {100, std::wstring(L"AcDbLine")},
                                       {10, AcGePoint3d(1, 2, 3)},    {1001, std::wstring(L"ZORTA")},
                                       {1000, std::wstring(L"note")}, {0, std::wstring(L"LINE")}};
    const std::string text = host::formatDxfGroups(groups);
    host::DxfGroupReader reader(text);
    host::DxfGroupFiler list(AcDb::kFileFiler, nullptr, groups);
    host::DxfTextFiler fromText(nullptr, reader);
    for (AcDbDxfFiler* filer : std::initializer_list<AcDbDxfFiler*>{&list, &fromText}) {
        SCOPED_TRACE(filer == &list ? "list" : "text");
        resbuf rb;
        EXPECT_EQ(filer->pushBackItem(), Acad::eInvalidInput) << "nothing read yet";
        ASSERT_EQ(filer->readItem(&rb), Acad::eOk);
        EXPECT_EQ(rb.restype, 5);
        EXPECT_FALSE(filer->atSubclassData(L"AcDbLine")) << "another subclass is next";
        EXPECT_TRUE(filer->atSubclassData(L"AcDbEntity"));
        ASSERT_EQ(filer->readItem(&rb), Acad::eOk);
        EXPECT_STREQ(rb.resval.rstring, L"Talus");
        EXPECT_EQ(filer->pushBackItem(), Acad::eOk);
        EXPECT_EQ(filer->pushBackItem(), Acad::eInvalidInput) << "one group given back at a time";
        ASSERT_EQ(filer->readItem(&rb), Acad::eOk);
        EXPECT_STREQ(rb.resval.rstring, L"Talus") << "given back, delivered again";
        EXPECT_TRUE(filer->atSubclassData(L"AcDbLine"));
        ASSERT_EQ(filer->readItem(&rb), Acad::eOk);
        EXPECT_EQ(rb.resval.rpoint[2], 3.0);
        EXPECT_TRUE(filer->atEndOfObject()) << "the extended data ends the object's own groups";
        EXPECT_FALSE(filer->atEOF());
        EXPECT_EQ(filer->readItem(&rb), Acad::eEndOfFile);
        const std::vector<Group> xdata = filer->takeExtendedData();
        ASSERT_EQ(xdata.size(), 2u);
        EXPECT_EQ(xdata[1].text(), L"note");
        EXPECT_TRUE(filer->atEOF()) << "the next object's group 0 ends this one";
        EXPECT_TRUE(filer->takeExtendedData().empty());
    }
    ASSERT_NE(reader.upcoming(), nullptr);
    EXPECT_EQ(reader.upcoming()->text(), L"LINE") << "left for the file's reader";
}

TEST(BinaryFiler, ItemsAreLittleEndianAndReadBack) {
    host::DwgMemoryFiler out(AcDb::kFileFiler, nullptr);
    out.writeInt32(0x01020304);
    out.writeInt16(-2);
    out.writeString(static_cast<const ACHAR*>(nullptr));
    out.writeString(L"é");
    out.writePoint2d(AcGePoint2d(1, 2));
    EXPECT_EQ(std::vector<std::uint8_t>(out.bytes().begin(), out.bytes().begin() + 6),
              (std::vector<std::uint8_t>{4, 3, 2, 1, 0xFE, 0xFF}));
    host::DwgMemoryFiler in(AcDb::kFileFiler, nullptr, out.bytes());
    Adesk::Int32 i = 0;
    Adesk::Int16 s = 0;
    std::wstring none = L"x", text;
    AcGePoint2d p;
    in.readInt32(&i);
    in.readInt16(&s);
    in.readString(none);
    in.readString(text);
    in.readPoint2d(&p);
    EXPECT_EQ(i, 0x01020304);
    EXPECT_EQ(s, -2);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(text, L"é");
    EXPECT_EQ(p, AcGePoint2d(1, 2));
    double past = 7;
    EXPECT_EQ(in.readDouble(&past), Acad::eEndOfFile);
    EXPECT_EQ(past, 0) << "reading past the end gives zeros";
    EXPECT_EQ(in.filerStatus(), Acad::eEndOfFile);
}

TEST(BinaryFiler, IdsTravelAsHandlesOfTheFilersDatabase) {
    host::test::WorkingDatabase w;
    std::vector<AcDbObjectId> ids = {w.db->layerTableId(), AcDbObjectId(), w.db->modelSpaceId()};
    host::DwgMemoryFiler out(AcDb::kFileFiler, w.db.get());
    out.writeIdList(ids);
    AcDbDatabase other;
    host::DwgMemoryFiler elsewhere(AcDb::kFileFiler, &other, out.bytes());
    std::vector<AcDbObjectId> read;
    elsewhere.readIdList(read);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].database(), &other);
    EXPECT_EQ(read[0].handle(), ids[0].handle());
    EXPECT_TRUE(read[1].isNull());
}

TEST(Groups, ResultBuffersCarryEveryKindOfValue) {
    host::test::WorkingDatabase w;
    std::vector<Group> groups = {{1000, std::wstring(L"texte")}, {1040, 2.5},
                                 {1070, Adesk::Int16(-3)},       {1071, Adesk::Int32(70000)},
                                 {1010, AcGePoint3d(1, 2, 3)},   {1004, host::Bytes{1, 2, 3}},
                                 {1005, AcDbHandle(0x2F)},       {330, w.db->modelSpaceId().handle()}};
    host::test::Chain chain(host::toResbufChain(groups, w.db.get()));
    EXPECT_EQ(chain.rb->rbnext->restype, 1040);
    EXPECT_STREQ(chain.rb->rbnext->rbnext->rbnext->rbnext->rbnext->rbnext->resval.rstring, L"2F")
        << "a handle of extended data is its text";
    AcDbObjectId model;
    EXPECT_EQ(acdbGetObjectId(
                  model, chain.rb->rbnext->rbnext->rbnext->rbnext->rbnext->rbnext->rbnext->resval.rlname),
              Acad::eOk);
    EXPECT_EQ(model, w.db->modelSpaceId()) << "an object reference is an entity name";
    EXPECT_EQ(host::fromResbufChain(chain.rb), groups);
    host::test::Chain copy(host::copyResbufChain(chain.rb));
    EXPECT_EQ(host::fromResbufChain(copy.rb), groups);
    EXPECT_NE(copy.rb->resval.rstring, chain.rb->resval.rstring) << "a deep copy";
}

TEST(Groups, CodeTypesFollowTheDrawingFileRules) {
    EXPECT_EQ(acdbGroupCodeToType(0), AcDb::kDwgText);
    EXPECT_EQ(acdbGroupCodeToType(5), AcDb::kDwgHandle);
    EXPECT_EQ(acdbGroupCodeToType(10), AcDb::kDwg3Real);
    EXPECT_EQ(acdbGroupCodeToType(42), AcDb::kDwgReal);
    EXPECT_EQ(acdbGroupCodeToType(70), AcDb::kDwgInt16);
    EXPECT_EQ(acdbGroupCodeToType(90), AcDb::kDwgInt32);
    EXPECT_EQ(acdbGroupCodeToType(160), AcDb::kDwgInt64);
    EXPECT_EQ(acdbGroupCodeToType(290), AcDb::kDwgInt8);
    EXPECT_EQ(acdbGroupCodeToType(310), AcDb::kDwgBChunk);
    EXPECT_EQ(acdbGroupCodeToType(330), AcDb::kDwgSoftPointerId);
    EXPECT_EQ(acdbGroupCodeToType(340), AcDb::kDwgHardPointerId);
    EXPECT_EQ(acdbGroupCodeToType(360), AcDb::kDwgHardOwnershipId);
    EXPECT_EQ(acdbGroupCodeToType(1071), AcDb::kDwgInt32);
    EXPECT_EQ(acdbGroupCodeToType(19999), AcDb::kDwgNotRecognized);
}

// Copies and undo images of a proxy from a binary drawing carry its proxy graphics with its record.
TEST(Proxies, ACopyOfABinaryProxyKeepsItsImage) {
    const host::ProxyContent content{L"ZortaThing",         L"",   L"", 0, false, {}, {1, 2, 3},
                                     host::kDrawingVersion, {4, 5}};
    std::unique_ptr<AcDbObject> proxy(host::makeProxy(true, content));
    host::DwgMemoryFiler out(AcDb::kCopyFiler, nullptr);
    ASSERT_EQ(proxy->dwgOutFields(&out), Acad::eOk);
    AcDbProxyEntity copy;
    host::DwgMemoryFiler in(AcDb::kCopyFiler, nullptr, out.bytes());
    ASSERT_EQ(copy.dwgInFields(&in), Acad::eOk);
    EXPECT_EQ(copy.content().record, content.record);
    EXPECT_EQ(copy.content().graphics, content.graphics);
    EXPECT_TRUE(in.atEnd());
}
