// The zhost program: its command line, modules and what it saves.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "tests/host/host_test_support.h"
#include "tests/support/program_run.h"

namespace {

using Outcome = testing_support::ProgramRun;

Outcome zhost(const std::string& arguments, const std::string& environment = "") {
    return testing_support::runProgram(environment + " " ZHOST_PROGRAM " " + arguments);
}

std::string file(const host::test::TemporaryFile& f) {
    return host::readFileBytes(f.wide()).value_or("");
}

} // namespace

TEST(Zhost, HelpAndBadArgumentsAnswerClearly) {
    Outcome help = zhost("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: zhost"), std::string::npos);
    // The README lists the same commands and functions, as the help prints them from the host's tables.
    const std::size_t lists = help.output.find("Host commands");
    ASSERT_NE(lists, std::string::npos) << help.output;
    EXPECT_NE(help.output.find(" VLAX-CURVE-GETDISTATPARAM"), std::string::npos) << help.output;
    EXPECT_NE(host::readFileBytes(host::fromUtf8(README)).value_or("").find(help.output.substr(lists)),
              std::string::npos)
        << "README.md lists:\n"
        << help.output.substr(lists);
    Outcome unknown = zhost("--frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("unknown option --frobnicate"), std::string::npos);
    Outcome missing = zhost("--save");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("--save needs a value"), std::string::npos);
    Outcome host = zhost("--host 2020");
    EXPECT_EQ(host.status, 2);
    EXPECT_NE(host.output.find("unknown host 2020 (2017, 2018, 2019, 2021 or zrx2021)"), std::string::npos);
}

TEST(Zhost, MissingOrUnreadableDrawingsAreRefused) {
    Outcome missing = zhost("/nonexistent/plan.dxf");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("cannot open /nonexistent/plan.dxf"), std::string::npos) << missing.output;
    host::test::TemporaryFile garbage(".dxf");
    host::writeFileBytes(garbage.wide(), "  0\nSECTION\n  2\nNOWHERE\n");
    Outcome bad = zhost(garbage.path);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("line 3: unknown section NOWHERE"), std::string::npos) << bad.output;
}

TEST(Zhost, AModuleWithoutEntryPointIsRefused) {
    Outcome run = zhost("--load " HOST_LIBRARY);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("has no entry point acrxEntryPoint"), std::string::npos) << run.output;
}

TEST(Zhost, AModuleRegistersRunsAndUnloadsCleanly) {
    host::test::TemporaryFile script(".scr"), dxf(".dxf"), svg(".svg"), binary(".zdw"), again(".dxf");
    host::writeFileBytes(script.wide(), "; a comment\nTESTADD\n_testadd\najoute\n");
    Outcome run = zhost("--load " TEST_MODULE " --script " + script.path + " --save " + dxf.path + " --svg " +
                        svg.path);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("TESTADD fini"), std::string::npos) << "the module's reactor saw the command";
    std::string saved = file(dxf);
    EXPECT_NE(saved.find("CLASS\n  1\nTESTPOINT\n  2\nTestPoint"), std::string::npos);
    std::size_t points = 0;
    for (std::size_t at = 0; (at = saved.find("  0\nTESTPOINT\n", at)) != std::string::npos; ++at)
        ++points;
    EXPECT_EQ(points, 3u) << "three runs of the command, by global, underscored and local name";
    EXPECT_NE(saved.find("TESTAPP"), std::string::npos) << "the drawing-loaded message came";
    EXPECT_NE(file(svg).find("<svg"), std::string::npos);

    Outcome binaryRun = zhost("--load " TEST_MODULE " --script " + script.path + " --save " + binary.path);
    EXPECT_EQ(binaryRun.status, 0) << binaryRun.output;
    Outcome reopened = zhost("--load " TEST_MODULE " " + binary.path + " --save " + again.path);
    EXPECT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_NE(file(again).find("  0\nTESTPOINT\n"), std::string::npos) << "the binary drawing kept them";
}

TEST(Zhost, AFailingLineStopsTheScriptAndKeepsTheWork) {
    host::test::TemporaryFile script(".scr"), lisp(".scr"), dxf(".dxf"), svg(".svg");
    host::writeFileBytes(script.wide(), "TESTADD\n(setq a 1)\nTESTADD\nTESTADD\nNOSUCHCOMMAND\nTESTADD\n");
    Outcome unknown = zhost("--load " TEST_MODULE " --script " + script.path + " --save " + dxf.path +
                            " --svg " + svg.path);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.output.find("zhost: " + script.path + ":5: unknown command \"NOSUCHCOMMAND\"\n"),
              std::string::npos)
        << unknown.output;
    EXPECT_NE(unknown.output.find("Commande: TESTADD\npoint en 1,2,3\nTESTADD fini\n"), std::string::npos)
        << "an answer ends its line: " << unknown.output;
    EXPECT_NE(unknown.output.find("*** the script stops at line 5"), std::string::npos) << unknown.output;
    std::string saved = file(dxf);
    std::size_t points = 0;
    for (std::size_t at = 0; (at = saved.find("  0\nTESTPOINT\n", at)) != std::string::npos; ++at)
        ++points;
    EXPECT_EQ(points, 3u) << "the work of lines 1-4 saved, line 6 not run";
    EXPECT_NE(file(svg).find("<svg"), std::string::npos);

    host::writeFileBytes(lisp.wide(), "TESTADD\n(car 1)\nTESTADD\n");
    Outcome failed = zhost("--load " TEST_MODULE " --script " + lisp.path + " --save " + dxf.path);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.output.find("zhost: " + lisp.path + ":2: LISP error: "), std::string::npos)
        << failed.output;
    EXPECT_EQ(file(dxf).find("  0\nTESTPOINT\n"), file(dxf).rfind("  0\nTESTPOINT\n")) << "one point";
}

TEST(Zhost, ALispFileLoadedAtStartGivesItsCommandsAndAFailingOneFailsTheRun) {
    host::test::TemporaryFile lisp(".lsp"), script(".scr"), broken(".lsp");
    host::writeFileBytes(lisp.wide(), "(defun c:bonjour (/ n)\n  (setq n (getint \"\\nCombien: \"))\n"
                                      "  (princ (strcat \"\\nbonjour x\" (itoa n)))\n  (princ))\n");
    host::writeFileBytes(script.wide(), "BONJOUR\n3\n");
    Outcome run = zhost("--lisp " + lisp.path + " --script " + script.path);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Combien: 3\nbonjour x3"), std::string::npos) << run.output;
    host::writeFileBytes(broken.wide(), "(defun f () 1)\n(car 1)\n");
    Outcome failed = zhost("--lisp " + broken.path + " --script " + script.path);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.output.find("cannot load " + broken.path + ": type d'argument incorrect: consp 1"),
              std::string::npos)
        << failed.output;
}

TEST(Zhost, AScriptIsReadFromAPipeButNotFromADevice) {
    host::test::TemporaryFile dxf(".dxf");
    Outcome piped = testing_support::runProgram("printf 'TESTADD\\n' | " ZHOST_PROGRAM " --load " TEST_MODULE
                                                " --script /dev/stdin --save " +
                                                dxf.path);
    EXPECT_EQ(piped.status, 0) << piped.output;
    EXPECT_NE(file(dxf).find("  0\nTESTPOINT\n"), std::string::npos) << piped.output;
    Outcome device = zhost("--script /dev/zero");
    EXPECT_EQ(device.status, 1);
    EXPECT_NE(device.output.find("cannot read script /dev/zero: neither a plain file nor a pipe"),
              std::string::npos)
        << device.output;
}

TEST(Zhost, LeftoversFailTheRun) {
    Outcome leak = zhost("--load " TEST_MODULE, "ZHOST_TEST_LEAK=1");
    EXPECT_EQ(leak.status, 1);
    EXPECT_NE(leak.output.find("left its class TestPoint registered"), std::string::npos) << leak.output;
    EXPECT_NE(leak.output.find("1 editor reactors"), std::string::npos) << leak.output;
    EXPECT_NE(leak.output.find("left its service TestService registered"), std::string::npos) << leak.output;
}
