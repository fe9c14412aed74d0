// Result-buffer chains: texts in the node or in a buffer, the free list, adopted chains, copies, the type
// table, and reading or dumping values without changing them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cadutil/resbuf/dxf_code_types.h"
#include "cadutil/resbuf/rb_dump.h"
#include "tests/cadutil/cadutil_test_support.h"

using plugin::test::PluginSession;

namespace {

std::wstring text(std::size_t n) {
    std::wstring t;
    for (std::size_t i = 0; i < n; ++i)
        t += static_cast<wchar_t>(L'A' + i % 26);
    return t;
}

} // namespace

TEST(Cresbuf, ShortTextsLiveInTheNodeLongerOnesInABuffer) {
    ASSERT_EQ(kInNodeChars, 3u) << "16 bytes after the pointer, 4-byte wide characters";
    for (int pooling = 0; pooling < 2; ++pooling) {
        Cresbuf chain;
        if (!pooling) chain.Attach(nullptr);
        resbuf* inside = chain.AddString(8, text(kInNodeChars).c_str());
        resbuf* outside = chain.AddString(8, text(kInNodeChars + 1).c_str());
        EXPECT_TRUE(rbValueInNode(inside));
        EXPECT_FALSE(rbValueInNode(outside));
        EXPECT_EQ(std::wstring(inside->resval.rstring), text(kInNodeChars));
        EXPECT_EQ(std::wstring(outside->resval.rstring), text(kInNodeChars + 1));
        chain.RemoveAll(); // the sanitizers check that each is freed the right way
    }
}

TEST(Cresbuf, EmptyingKeepsTheLastFiftyOneNodes) {
    {
        Cresbuf chain;
        for (int i = 0; i < 60; ++i)
            chain.AddInt(70, i);
        EXPECT_EQ(chain.count(), 60);
        EXPECT_EQ(chain.GetAt(59)->resval.rlong, 59);
        EXPECT_EQ(chain.GetAt(60), nullptr);
        chain.RemoveAll();
        EXPECT_EQ(Cresbuf::freeCount(), 51) << "9 went back to the host";
        Cresbuf again;
        again.AddText(1, "reused");
        EXPECT_EQ(Cresbuf::freeCount(), 50);
        EXPECT_EQ(again.head()->restype, 1);
    }
    EXPECT_EQ(Cresbuf::gm_nelements, 0);
    EXPECT_EQ(Cresbuf::freeCount(), 0) << "the last Cresbuf gave the free list back";
    Cresbuf fresh;
    fresh.Add();
    EXPECT_EQ(Cresbuf::freeCount(), 0) << "taken from the host again";
}

TEST(Cresbuf, AdoptedChainsNeverFeedTheFreeList) {
    Cresbuf keeper;
    resbuf* host = acutNewRb(8);
    host->resval.rstring = acutNewString(L"a layer name the host allocated");
    host->rbnext = acutNewRb(70);
    Cresbuf adopted;
    adopted.Attach(host);
    EXPECT_EQ(adopted.count(), 2);
    EXPECT_EQ(adopted.tail(), host->rbnext);
    adopted.RemoveAll();
    EXPECT_EQ(Cresbuf::freeCount(), 0);
}

TEST(Cresbuf, InsertReleaseAndCopy) {
    Cresbuf chain;
    resbuf* b = chain.AddText(8, "B");
    resbuf* a = chain.InsertAfter(nullptr);
    rbSetText(a, 0, "A");
    resbuf* c = chain.InsertAfter(b, b);
    EXPECT_EQ(chain.head(), a);
    EXPECT_EQ(chain.tail(), c);
    EXPECT_STREQ(c->resval.rstring, L"B");
    EXPECT_NE(c->resval.rstring, b->resval.rstring) << "a copy of its own";
    chain.Release(b);
    EXPECT_EQ(chain.count(), 2);
    EXPECT_EQ(a->rbnext, c);
    // Long layer names, handles and other applications' names are copied whole.
    std::wstring layer = text(40);
    Cresbuf source;
    source.AddString(8, layer.c_str());
    source.AddString(5, L"1234ABCDEF12");
    source.AddString(1001, L"ANOTHER_APPLICATION");
    resbuf* at = nullptr;
    for (resbuf* s = source.head(); s; s = s->rbnext)
        at = chain.InsertAfter(at, s);
    EXPECT_EQ(std::wstring(chain.GetAt(0)->resval.rstring), layer);
    EXPECT_STREQ(chain.GetAt(1)->resval.rstring, L"1234ABCDEF12");
    EXPECT_STREQ(chain.GetAt(2)->resval.rstring, L"ANOTHER_APPLICATION");
}

TEST(ResultTypes, TheTableAndTheHostsForOtherCodes) {
    PluginSession s;
    int size = -1;
    EXPECT_EQ(dxfcode_rbtype(50, &size), RTORINT);
    EXPECT_EQ(size, 8);
    EXPECT_EQ(dxfcode_rbtype(-4, &size), RTSTR);
    EXPECT_EQ(size, 0) << "variable";
    EXPECT_EQ(dxfcode_rbtype(5009, &size), 5009);
    EXPECT_EQ(size, 24);
    EXPECT_EQ(dxfcode_rbtype(300, &size), RTSTR) << "from the host's table";
    EXPECT_NE(s.transcript().find(L"Code DXF 300 de type inconnu"), std::wstring::npos);
    s.type({L"@answer ok"});
    EXPECT_EQ(dxfcode_rbtype(2000, &size), RTNONE);
    EXPECT_NE(s.transcript().find(L"Code DXF 2000 inconnu (arrêt)..."), std::wstring::npos);
    EXPECT_TRUE(host::inputQueue().empty()) << "the message box took its answer";
}

TEST(Values, ReadingAndDumpingLeaveTheChainAsItWas) {
    PluginSession s;
    Cresbuf chain;
    resbuf* one = chain.AddString(8, L"X");
    resbuf* empty = chain.AddString(1, L"");
    resbuf* handle = chain.AddString(5, L"ABCDEF0123456");
    EXPECT_STREQ(static_cast<const char*>(uval_rbval(8, &one->resval)), "X");
    EXPECT_STREQ(static_cast<const char*>(uval_rbval(1, &empty->resval)), "");
    EXPECT_STREQ(one->resval.rstring, L"X") << "still wide";
    EXPECT_EQ(chain.Dump(), 3);
    EXPECT_NE(s.transcript().find(L"val=\"ABCDEF012\""), std::wstring::npos) << "a handle shows 9 characters";
    EXPECT_STREQ(handle->resval.rstring, L"ABCDEF0123456") << "but is not cut";
    EXPECT_STREQ(static_cast<const char*>(uval_rbval(8, &one->resval)), "X") << "twice the same";

    std::string data(300, 'z');
    data[299] = 'E';
    resbuf* chunk = chain.Add();
    chunk->restype = 1004;
    allocBinfrom(chunk, data.data(), 300);
    auto* record = static_cast<const char*>(uval_rbval(1004, &chunk->resval));
    short length = 0;
    std::memcpy(&length, record, sizeof length);
    EXPECT_EQ(length, 300) << "never cut";
    EXPECT_EQ(record[sizeof length + 299], 'E');
    resbuf* real = chain.AddReal(40, 2.5);
    EXPECT_EQ(uval_rbval(40, &real->resval), &real->resval);
    EXPECT_EQ(uval_rbval(40, nullptr), nullptr);
}

TEST(Values, BinaryChunksOfNoSizeOrTooLarge) {
    PluginSession s;
    Cresbuf chain;
    resbuf* chunk = chain.Add();
    chunk->restype = 1004;
    ASSERT_NE(allocBinfrom(chunk, nullptr, 0), nullptr);
    EXPECT_EQ(chunk->resval.rbinary.clen, 16);
    EXPECT_NE(s.transcript().find(L"***Erreur allocBinfrom ; taille = 0"), std::wstring::npos);
    std::string big(40000, 'b');
    EXPECT_EQ(allocBinfrom(chunk, big.data(), 40000), nullptr);
    EXPECT_EQ(chunk->resval.rbinary.clen, 16) << "refused, unchanged";
}

TEST(Values, StackValuesFreeWhatTheyHold) {
    ads_point p = {1, 2, 3};
    Cresbufval point(p);
    EXPECT_EQ(point.restype, RT3DPOINT);
    EXPECT_EQ(point.resval.rpoint[2], 3);
    Cresbufval integer(90, 123456);
    EXPECT_EQ(integer.resval.rlong, 123456);
    Cresbufval text(RTLONG, 0);
    rbSetString(&text, 1, L"a text long enough for a buffer");
    EXPECT_STREQ(text.resval.rstring, L"a text long enough for a buffer");
}
