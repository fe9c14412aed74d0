// Entity lists over the DXF filer: what entget gives, what entmod changes and what it refuses, and walking
// the drawing with entnext.
#include <gtest/gtest.h>

#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_value.h"
#include "tests/host/editor_test_support.h"

using host::test::Chain;
using host::test::EditorSession;

namespace {

const resbuf* find(const resbuf* list, int code) {
    for (; list; list = list->rbnext)
        if (list->restype == code) return list;
    return nullptr;
}

ads_name& nameOf(AcDbObjectId id, ads_name& name) {
    acdbGetAdsName(name, id);
    return name;
}

struct Segment {
    AcGePoint3d end;
    std::wstring layer;
};

Segment segmentAt(AcDbObjectId id) {
    TestSegment* s = nullptr;
    EXPECT_EQ(acdbOpenObject(s, id, AcDb::kForRead), Acad::eOk);
    if (!s) return {};
    Segment copy{s->end(), s->layer()};
    s->close();
    return copy;
}

} // namespace

TEST(EntityLists, GetGivesNameTypeAndTheFiledGroups) {
    EditorSession s;
    AcDbObjectId id = s.addSegment({1, 2, 3}, {4, 5, 6}, L"0", 5);
    ads_name n;
    Chain list(acdbEntGet(nameOf(id, n)));
    ASSERT_NE(list.rb, nullptr);
    EXPECT_EQ(list.rb->restype, -1);
    EXPECT_EQ(list.rb->resval.rlname[0], n[0]);
    EXPECT_STREQ(find(list.rb, 0)->resval.rstring, L"TESTSEGMENT");
    EXPECT_STREQ(find(list.rb, 8)->resval.rstring, L"0");
    EXPECT_EQ(find(list.rb, 62)->resval.rint, 5);
    EXPECT_EQ(find(list.rb, 11)->resval.rpoint[2], 6);
    ads_name bogus = {12345, 0};
    EXPECT_EQ(acdbEntGet(bogus), nullptr);
}

TEST(EntityLists, ModChangesTheEntityOrNothing) {
    EditorSession s;
    s.addLayer(L"ROUTE");
    AcDbObjectId id = s.addSegment({0, 0, 0}, {1, 0, 0});
    ads_name n;
    Chain list(acdbEntGet(nameOf(id, n)));
    resbuf* end = const_cast<resbuf*>(find(list.rb, 11));
    end->resval.rpoint[0] = 9;
    resbuf* layer = const_cast<resbuf*>(find(list.rb, 8));
    acutDelString(layer->resval.rstring);
    layer->resval.rstring = acutNewString(L"ROUTE");
    ASSERT_EQ(acdbEntMod(list.rb), RTNORM);
    EXPECT_EQ(segmentAt(id).end, AcGePoint3d(9, 0, 0));
    EXPECT_EQ(segmentAt(id).layer, L"ROUTE");

    // A list of a few groups changes those only.
    host::setLispSymbol(L"E", host::LispValue::fromName(n));
    host::runLispConsole(L"(entmod (list (cons -1 e) '(11 20.0 0.0 0.0) (cons 62 3)))");
    EXPECT_EQ(segmentAt(id).end, AcGePoint3d(20, 0, 0));
    EXPECT_EQ(segmentAt(id).layer, L"ROUTE");
    Chain changed(acdbEntGet(n));
    EXPECT_EQ(find(changed.rb, 62)->resval.rint, 3);

    // A subclass the entity cannot read, a changed type and an unregistered application are refused, and
    // nothing changes.
    resbuf* marker = const_cast<resbuf*>(find(find(list.rb, 100)->rbnext, 100));
    acutDelString(marker->resval.rstring);
    marker->resval.rstring = acutNewString(L"NotASegment");
    end->resval.rpoint[0] = 30;
    EXPECT_EQ(acdbEntMod(list.rb), RTERROR);
    EXPECT_EQ(segmentAt(id).end, AcGePoint3d(20, 0, 0));
    EXPECT_EQ(acdbEntMod(nullptr), RTERROR);
    EXPECT_EQ(host::runLispConsole(L"(entmod (list (cons -1 e) (cons 0 \"LINE\") '(11 40.0 0.0 0.0)))"),
              L"nil");
    EXPECT_EQ(host::runLispConsole(
                  L"(entmod (list (cons -1 e) '(11 50.0 0.0 0.0) '(-3 (\"NOAPP\" (1000 . \"x\")))))"),
              L"nil");
    EXPECT_EQ(segmentAt(id).end, AcGePoint3d(20, 0, 0));
}

TEST(EntityLists, NextWalksTheDrawingAndLastIsTheNewest) {
    EditorSession s;
    ads_name first, next, last;
    EXPECT_EQ(acdbEntNext(nullptr, first), RTERROR) << "an empty drawing";
    AcDbObjectId a = s.addSegment({0, 0, 0}, {1, 0, 0});
    AcDbObjectId b = s.addSegment({0, 1, 0}, {1, 1, 0});
    ASSERT_EQ(acdbEntNext(nullptr, first), RTNORM);
    ads_name n;
    EXPECT_EQ(first[0], nameOf(a, n)[0]);
    ASSERT_EQ(acdbEntNext(first, next), RTNORM);
    EXPECT_EQ(next[0], nameOf(b, n)[0]);
    EXPECT_EQ(acdbEntNext(next, next), RTERROR);
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    EXPECT_EQ(last[0], nameOf(b, n)[0]);
    EXPECT_EQ(host::runLispConsole(L"(entnext (entnext))"), host::runLispConsole(L"(entlast)"));
}
