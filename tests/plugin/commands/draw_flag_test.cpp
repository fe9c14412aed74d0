// ZOR_DRAWFLAG: the word a script sets is the one the drawing reads; a cancelled prompt keeps it.
#include <gtest/gtest.h>

#include "entity/drawing/draw_state.h"
#include "host/editor/command_line.h"
#include "plugin/app/command_table.h"
#include "tests/plugin/application_session.h"

using plugin::test::ApplicationSession;
using plugin::test::shown;

TEST(DrawFlagCommand, SetsTheWordAndShowsItsBitsAndValue) {
    ApplicationSession s;
    registerCommands();
    poly_drawing::resetDrawState();
    s.type({L"ZOR_DRAWFLAG", L"12"});
    host::runCommandLine();
    EXPECT_EQ(poly_drawing::g_drawFlag, 12);
    EXPECT_EQ(shown(L" +8 >> No HATCH"), 1);
    EXPECT_EQ(shown(L" Flag Draw ZORPOLY <0> "), 1);

    s.type({L"ZOR_DRAWFLAG", L"abc"});
    host::runCommandLine();
    EXPECT_EQ(shown(L" Flag Draw ZORPOLY <12> "), 1);
    EXPECT_EQ(poly_drawing::g_drawFlag, 12) << "no integer, no change";
    poly_drawing::resetDrawState();
}
