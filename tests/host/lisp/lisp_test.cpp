// The host's LISP: reading and printing, evaluation, and the functions an application defines, called
// through its entry point with their arguments as result buffers and their values coming back the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/build_list.h"
#include "host/editor/command_line.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_functions.h"
#include "host/lisp/lisp_symbols.h"
#include "host/lisp/lisp_text.h"
#include "host/rx/dynamic_linker.h"
#include "host/rx/module_loader.h"
#include "tests/host/editor_test_support.h"

using host::test::Chain;
using host::test::EditorSession;

namespace {

struct LispSession : EditorSession {
    LispSession() {
        std::string error;
        module = host::loadModule(LISP_TEST_MODULE, error);
        EXPECT_NE(module, nullptr) << error;
        host::sendToModules(AcRx::kLoadDwgMsg);
    }
    // What the console prints for `text`.
    std::wstring eval(const std::wstring& text) {
        host::clearCommandLineTranscript();
        host::runLispConsole(text);
        std::wstring t = host::commandLineTranscript();
        return t.empty() ? t : t.substr(1);
    }
    host::Module* module = nullptr;
};

} // namespace

TEST(LispText, ReadThenPrintGivesTheTextBack) {
    for (const wchar_t* text :
         {L"(1 -2 2.5 \"a\\\"b\\\\c\\n\" (3 . 4) nil T SYM (1.0 2.0 3.0))", L"0.1", L"1.0e+30",
          L"((8 . \"0\") (10 1.0 2.0 3.0))", L"\"\\033\"", L"\"\\r\\t\\001\""}) {
        std::vector<host::LispValue> values = host::readLisp(text);
        ASSERT_EQ(values.size(), 1u) << host::toUtf8(text);
        EXPECT_EQ(host::printLisp(values[0]), text);
    }
    EXPECT_EQ(host::printLisp(host::readLisp(L"'x")[0]), L"(QUOTE X)");
    EXPECT_EQ(host::printLisp(host::readLisp(L"(a ; comment\n b)")[0]), L"(A B)");
    EXPECT_EQ(host::printLisp(host::readLisp(L"3000000000")[0]), L"3.0e+09") << "beyond 32 bits: a real";
    EXPECT_EQ(host::printLisp(host::readLisp(L"\"\\e\\12\\q\"")[0]), L"\"\\033\\nq\"")
        << "escape in octal, a short octal code, an unknown escape as its letter";
}

TEST(LispText, MalformedTextIsReportedNotRead) {
    struct {
        const wchar_t* text;
        const char* message;
    } cases[] = {{L"(1 2", "liste mal formée en entrée"},       {L"\"abc", "chaîne mal formée en entrée"},
                 {L")", "parenthèse droite en trop en entrée"}, {L"(1 . )", "point mal placé en entrée"},
                 {L"(. 1)", "point mal placé en entrée"},       {L"(1 . 2 3)", "point mal placé en entrée"},
                 {L"'", "liste mal formée en entrée"},          {L"(1 ' )", "liste mal formée en entrée"},
                 {L"(1 '. 2)", "point mal placé en entrée"},    {L"(1 .'a)", "point mal placé en entrée"}};
    for (const auto& c : cases) {
        try {
            host::readLisp(c.text);
            ADD_FAILURE() << "read: " << host::toUtf8(c.text);
        } catch (const host::LispError& e) {
            EXPECT_STREQ(e.what(), c.message) << host::toUtf8(c.text);
        }
    }
}

TEST(LispText, NestingBeyondTheLimitIsAnErrorNamingTheLine) {
    const std::size_t deep = 100'000;
    for (const std::wstring& text :
         {L"\n\n" + std::wstring(deep, L'('), L"\n\n" + std::wstring(deep, L'\'') + L"x",
          L"\n\n(" + std::wstring(deep, L'\'') + L"x)"}) {
        try {
            host::readLisp(text);
            ADD_FAILURE() << "read " << text.size() << " characters";
        } catch (const host::LispError& e) {
            EXPECT_STREQ(e.what(), "imbrication trop profonde en entrée, ligne 3");
        }
    }
}

TEST(Lisp, ValuesTravelToTheApplicationAndBack) {
    LispSession s;
    AcDbObjectId id = s.addSegment({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(s.eval(L"(setq e (entlast))").substr(0, 15), L"<Nom d'entité: ");
    AcDbObjectId bound;
    ASSERT_TRUE(host::lispSymbolEntity(L"E", bound));
    EXPECT_EQ(bound, id);
    std::wstring list = L"((8 . \"0\") (10 1.0 2.0 3.0) (70 . 1) \"x\" 12 (1.0 2.0) (1 (2 3)) nil)";
    EXPECT_EQ(s.eval(L"(echo '" + list + L")"), list);
    EXPECT_EQ(s.eval(L"(types)"),
              L"(5016 8 10 70 5005 5003 5002 5016 5003 5016 5003 5003 5017 5017 5019 5017)")
        << "groups are entity-list result buffers, (10 x y z) a point";
    std::wstring withName = s.eval(L"(echo (list (cons -1 e) (cons 42 0.5)))");
    EXPECT_EQ(withName, L"((-1 . " + s.eval(L"e") + L") (42 . 0.5))");
    std::wstring xdata = L"(-3 (\"ZORTA\" (1000 . \"REF=12\") (1070 . 3)) (\"DWX\" (1040 . 0.5)))";
    EXPECT_EQ(s.eval(L"(echo '" + xdata + L")"), xdata);
    EXPECT_EQ(s.eval(L"(types)"), L"(-3 1001 1000 1070 1001 1040)") << "extended data as in entity lists";
    EXPECT_EQ(s.eval(L"(echo '(8 . 1) '(10 . \"x\"))"), L"((8 . 1) (10 . \"x\"))");
    EXPECT_EQ(s.eval(L"(types)"), L"(5016 5003 5018 5003 5017 5016 5003 5018 5005 5017)")
        << "a group whose value does not suit its code travels as a list of its own items";
    EXPECT_EQ(s.eval(L"(echo 1 \"two\")"), L"(1 \"two\")") << "several values make a list";
    EXPECT_EQ(s.eval(L"(echo)"), L"nil");
}

TEST(Lisp, ErrorsAreShownAsTheConsoleShowsThem) {
    LispSession s;
    EXPECT_EQ(s.eval(L"(nosuch 1)"), L"; erreur: fonction inconnue: NOSUCH");
    EXPECT_EQ(s.eval(L"(fail)"), L"; erreur: FAIL a échoué");
    EXPECT_EQ(s.eval(L"(entmod '((8 . 1)))"), L"; erreur: groupe DXF incorrect: (8 . ...)");
    EXPECT_EQ(s.eval(L"(car 5)"), L"; erreur: type d'argument incorrect: consp 5");
    EXPECT_EQ(s.eval(L"(setq a)"), L"; erreur: nombre d'arguments insuffisants");
    EXPECT_EQ(s.eval(L"(echo 1"), L"; erreur: liste mal formée en entrée");
    EXPECT_EQ(s.eval(std::wstring(100'000, L'(')), L"; erreur: imbrication trop profonde en entrée, ligne 1");
    // As deep as the reader allows: read, evaluated and printed whole.
    const std::size_t levels = 1998; // the quote and the call take two levels
    const std::wstring nested = std::wstring(levels, L'(') + L"1" + std::wstring(levels, L')');
    EXPECT_EQ(s.eval(L"(quote " + nested + L")"), nested);
    // Built deeper at run time, a line at a time each under the reader's limit: refused past the limit.
    s.eval(L"(setq x 1)");
    std::wstring wrap = L"x";
    for (int level = 0; level < 100; ++level)
        wrap = L"(list " + wrap + L")";
    wrap = L"(setq x " + wrap + L")";
    std::wstring answer;
    for (int line = 0; line < 30 && answer.find(L"erreur") == std::wstring::npos; ++line)
        answer = s.eval(wrap);
    EXPECT_EQ(answer, L"; erreur: imbrication trop profonde");
    EXPECT_EQ(s.eval(L"x").substr(0, 3), L"(((") << "the deepest value built is printed whole";
}

TEST(Lisp, FunctionsAreCommandsInvokableAndLeaveWithTheirApplication) {
    LispSession s;
    s.type({L"HELLO"});
    host::runCommandLine();
    EXPECT_NE(s.transcript().find(L"Commande: HELLO\nHello"), std::wstring::npos);

    Chain args(acutNewRb(RTSTR));
    args.rb->resval.rstring = acutNewString(L"echo");
    args.rb->rbnext = acutNewRb(RTSHORT);
    args.rb->rbnext->resval.rint = 5;
    resbuf* result = nullptr;
    ASSERT_EQ(acedInvoke(args.rb, &result), RTNORM);
    Chain owner(result);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->restype, RTSHORT);
    EXPECT_EQ(result->resval.rint, 5);
    acutDelString(args.rb->resval.rstring);
    args.rb->resval.rstring = acutNewString(L"nosuch");
    EXPECT_EQ(acedInvoke(args.rb, &result), RTERROR);

    EXPECT_EQ(acedDefun(L"OUTSIDE", 9), RTERROR) << "only while a module handles a message";
    EXPECT_TRUE(acrxDynamicLinker->isAppMDIAware(s.module));
    EXPECT_EQ(s.eval(L"(echo 5)"), L"5");
    host::unloadAllModules();
    EXPECT_FALSE(host::isLispFunctionDefined(L"ECHO")) << "gone with the module";
    EXPECT_EQ(s.eval(L"(echo 5)"), L"; erreur: fonction inconnue: ECHO")
        << "not called where it was found before";
}

TEST(Lisp, SymbolsThroughTheInterface) {
    LispSession s;
    Chain value(acutNewRb(RTSHORT));
    value.rb->resval.rint = 11;
    ASSERT_EQ(acedPutSym(L"lisp_modfig", value.rb), RTNORM);
    EXPECT_EQ(s.eval(L"LISP_MODFIG"), L"11");
    resbuf* back = nullptr;
    ASSERT_EQ(acedGetSym(L"lisp_dwx_buffer", &back), RTNORM);
    Chain owner(back);
    EXPECT_EQ(back->restype, RTNIL) << "unbound";
}

TEST(ResultBuffers, BuiltFromArgumentLists) {
    ads_point p = {1, 2, 3};
    ads_name n = {42, 0};
    Chain chain(acutBuildList(RTLB, RTSTR, L"ZORTA", RTSHORT, 7, RT3DPOINT, p, RTENAME, n, 8, L"ROUTE", 40,
                              2.5, RTLE, RTNONE));
    EXPECT_EQ(host::printLisp(host::valueOfChain(chain.rb)),
              L"(\"ZORTA\" 7 (1.0 2.0 3.0) <Nom d'entité: 2a> (8 . \"ROUTE\") (40 . 2.5))");
    EXPECT_EQ(acutBuildList(RTSTR, L"x", 5999, RTNONE), nullptr) << "an unknown type builds nothing";
}

TEST(ResultBuffers, ChainNestedPastTheLimitIsRefusedBeforeTheStackRunsOut) {
    resbuf* head = nullptr;
    for (int level = 0; level < 200'000; ++level) {
        resbuf* open = acutNewRb(RTLB);
        open->rbnext = head;
        head = open;
    }
    Chain chain(head);
    EXPECT_THROW(host::valueOfChain(chain.rb), host::LispError);
}

TEST(Lisp, SetvarAndGetvarReachTheSystemVariables) {
    LispSession s;
    s.addLayer(L"N100");
    EXPECT_EQ(s.eval(L"(setvar \"CLAYER\" \"N100\")"), L"\"N100\"");
    EXPECT_EQ(s.eval(L"(getvar \"clayer\")"), L"\"N100\"");
    EXPECT_EQ(s.eval(L"(setvar \"OSMODE\" 33)"), L"33");
    EXPECT_EQ(s.eval(L"(getvar \"OSMODE\")"), L"33");
    EXPECT_EQ(s.eval(L"(setvar \"ELEVATION\" 123.5)"), L"123.5");
    EXPECT_EQ(s.eval(L"(getvar \"ELEVATION\")"), L"123.5");
    s.eval(L"(setvar \"VIEWCTR\" '(5 6))");
    EXPECT_EQ(s.eval(L"(getvar \"VIEWCTR\")"), L"(5.0 6.0 0.0)");
    EXPECT_EQ(s.eval(L"(getvar \"NOSUCHVARIABLE\")"), L"nil");
    // A value the variable refuses is an error, and the variable keeps its value.
    EXPECT_NE(s.eval(L"(setvar \"CLAYER\" \"NO_SUCH_LAYER\")").find(L"SETVAR"), std::wstring::npos);
    EXPECT_EQ(s.eval(L"(getvar \"CLAYER\")"), L"\"N100\"");
}

TEST(Lisp, SsgetTakesTheDrawingOrWhatTheUserSelects) {
    LispSession s;
    s.addLayer(L"N100");
    s.addSegment({0, 0, 0}, {1, 0, 0});
    const AcDbObjectId second = s.addSegment({0, 1, 0}, {1, 1, 0}, L"N100");
    s.addSegment({0, 2, 0}, {1, 2, 0}, L"N100");
    EXPECT_EQ(s.eval(L"(sslength (ssget \"X\"))"), L"3");
    EXPECT_EQ(s.eval(L"(sslength (ssget \"X\" '((8 . \"N100\"))))"), L"2");
    EXPECT_EQ(s.eval(L"(ssget \"X\" '((8 . \"NONE\")))"), L"nil");

    const std::wstring handle = second.handle().text();
    s.type({(L"@select " + handle).c_str(), L""});
    s.eval(L"(setq picked (ssget))");
    EXPECT_EQ(s.eval(L"(sslength picked)"), L"1");
    EXPECT_NE(s.eval(L"(sslength 3)").find(L"lselsetp"), std::wstring::npos);
}
