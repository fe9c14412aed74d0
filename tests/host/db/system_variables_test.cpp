// System variables of the drawing and of the session.
#include <gtest/gtest.h>

#include "host/db/system_variables.h"
#include "tests/host/host_test_support.h"

namespace {
resbuf value(short type) {
    resbuf rb{};
    rb.restype = type;
    return rb;
}
} // namespace

TEST(SystemVariables, SessionVariablesStartFromTheirDefaults) {
    host::resetSessionVariables();
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"APERTURE", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 10);
    ASSERT_EQ(acedGetVar(L"screensize", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTPOINT);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 1080);
    ASSERT_EQ(acedGetVar(L"CVPORT", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 2);
    EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
    ASSERT_EQ(acedGetVar(L"MILLISECS", &rb), RTNORM) << "modules read the clock as LISP does";
    EXPECT_EQ(rb.restype, RTLONG);
    EXPECT_EQ(acedSetVar(L"MILLISECS", &rb), RTERROR) << "read-only";
}

TEST(SystemVariables, WritesAreCheckedForNameTypeAndAccess) {
    host::resetSessionVariables();
    resbuf osmode = value(RTSHORT);
    osmode.resval.rint = 7;
    EXPECT_EQ(acedSetVar(L"OSMODE", &osmode), RTNORM);
    resbuf back{};
    acedGetVar(L"OSMODE", &back);
    EXPECT_EQ(back.resval.rint, 7);
    resbuf text = value(RTSTR);
    text.resval.rstring = const_cast<ACHAR*>(L"x");
    EXPECT_EQ(acedSetVar(L"OSMODE", &text), RTERROR) << "wrong type";
    resbuf size = value(RTPOINT);
    EXPECT_EQ(acedSetVar(L"SCREENSIZE", &size), RTERROR) << "read-only";
    EXPECT_TRUE(host::setSessionVariable(L"CMDNAMES", host::Group{1, std::wstring(L"ZOR_PMOD")}));
    resbuf names{};
    ASSERT_EQ(acedGetVar(L"CMDNAMES", &names), RTNORM);
    EXPECT_STREQ(names.resval.rstring, L"ZOR_PMOD");
    acutDelString(names.resval.rstring);
    host::resetSessionVariables();
}

TEST(SystemVariables, DrawingVariablesLiveInTheWorkingDatabase) {
    resbuf rb{};
    EXPECT_EQ(acedGetVar(L"LTSCALE", &rb), RTERROR) << "no working database";
    host::test::WorkingDatabase w;
    resbuf scale = value(RTREAL);
    scale.resval.rreal = 2.5;
    EXPECT_EQ(acedSetVar(L"LTSCALE", &scale), RTNORM);
    EXPECT_DOUBLE_EQ(w.db->ltscale(), 2.5);
    scale.resval.rreal = -1;
    EXPECT_EQ(acedSetVar(L"LTSCALE", &scale), RTERROR);
    resbuf tilemode = value(RTSHORT);
    tilemode.resval.rint = 0;
    EXPECT_EQ(acedSetVar(L"TILEMODE", &tilemode), RTNORM);
    EXPECT_FALSE(w.db->tilemode());
    resbuf layer = value(RTSTR);
    layer.resval.rstring = const_cast<ACHAR*>(L"NoSuchLayer");
    EXPECT_EQ(acedSetVar(L"CLAYER", &layer), RTERROR);
    ASSERT_EQ(acedGetVar(L"CLAYER", &rb), RTNORM);
    EXPECT_STREQ(rb.resval.rstring, L"0");
    acutDelString(rb.resval.rstring);
}
