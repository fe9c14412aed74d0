// Prompts answered from the scripted input queue: keywords in two languages, restrictions, re-prompts, the
// typed line built from key events, and a queue that runs dry.
#include <gtest/gtest.h>

#include "host/editor/win_msg_filter.h"
#include "host/filing/text_codec.h"
#include "host/input/input_queue.h"
#include "host/input/keywords.h"
#include "host/input/prompts.h"
#include "host/input/script_line.h"
#include "host/input/text_numbers.h"
#include "host/lisp/lisp_eval.h"
#include "tests/host/editor_test_support.h"

using host::test::EditorSession;

TEST(Keywords, AbbreviationsAndGlobalFormsDesignateKeywords) {
    host::KeywordList list;
    std::wstring error;
    ASSERT_TRUE(list.parse(L"CCerc1 CPoint2 Rect3 raBat3 Oui _ CCirc1 CPoint2 Rect3 Rabat3 Yes", error));
    EXPECT_EQ(list.find(L"cc"), 0);
    EXPECT_EQ(list.find(L"CCER"), 0);
    EXPECT_EQ(list.find(L"C"), -1) << "shorter than the leading capitals";
    EXPECT_EQ(list.find(L"cpo"), 1);
    EXPECT_EQ(list.find(L"r"), 2);
    EXPECT_EQ(list.find(L"Rect3"), 2);
    EXPECT_EQ(list.find(L"Rect34"), -1);
    EXPECT_EQ(list.find(L"b"), 3) << "capitals of a keyword that starts in lower case";
    EXPECT_EQ(list.find(L"rab"), -1);
    EXPECT_EQ(list.find(L"_yes"), 4) << "global form";
    EXPECT_EQ(list.find(L"yes"), -1) << "a global form is typed with \"_\"";
    EXPECT_EQ(list.find(L"_"), -1);
}

TEST(Keywords, AWholeKeywordWinsOverAnAbbreviation) {
    host::KeywordList list;
    std::wstring error;
    ASSERT_TRUE(list.parse(L"Ab A", error));
    EXPECT_EQ(list.find(L"a"), 1);
    EXPECT_EQ(list.find(L"ab"), 0);
}

TEST(Keywords, MalformedListsAreRefused) {
    host::KeywordList list;
    std::wstring error;
    EXPECT_FALSE(list.parse(L"A B _ X", error));
    EXPECT_NE(error.find(L"2 local and 1 global"), std::wstring::npos);
    EXPECT_FALSE(list.parse(L"A _ B _ C", error));
    EXPECT_FALSE(list.parse((L"A " + std::wstring(200, L'K')).c_str(), error));
    EXPECT_NE(error.find(L"longer than 131"), std::wstring::npos);
    EXPECT_TRUE(list.parse(nullptr, error));
    EXPECT_TRUE(list.empty());
}

TEST(Prompts, AKeywordIsReportedInItsGlobalForm) {
    EditorSession s;
    s.type({L"I"});
    ASSERT_EQ(acedInitGet(0, L"C I _ C S"), RTNORM);
    ACHAR word[8];
    EXPECT_EQ(acedGetKword(L"\nAfectation du pxref:(C)ourant,(I)nchangé", word, 8), RTNORM);
    EXPECT_STREQ(word, L"S");
    EXPECT_NE(s.transcript().find(L"(I)nchangé"), std::wstring::npos) << "the prompt is shown";
}

TEST(Prompts, PointsNumbersAndKeywordsFromTypedLines) {
    EditorSession s;
    s.type({L"10,20", L"3.5,-1,2", L"_FD", L"xyz", L"12", L"2.5e1"});
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 10);
    EXPECT_DOUBLE_EQ(p[1], 20);
    EXPECT_DOUBLE_EQ(p[2], 0) << "the current elevation";
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[2], 2);
    acedInitGet(0, L"FS FD _ FD FO");
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTKWORD);
    ACHAR word[8];
    ASSERT_EQ(acedGetInput(word, 8), RTNORM);
    EXPECT_STREQ(word, L"FD") << "\"_FD\" is the global form of the first keyword";
    acedInitGet(RSG_OTHER, nullptr);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTKWORD);
    ASSERT_EQ(acedGetInput(word, 8), RTNORM);
    EXPECT_STREQ(word, L"xyz");
    int i = 0;
    ASSERT_EQ(acedGetInt(L"\nInt: ", &i), RTNORM);
    EXPECT_EQ(i, 12);
    double r = 0;
    ASSERT_EQ(acedGetReal(L"\nReal: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 25.0);
}

TEST(Prompts, InvalidInputIsRefusedAndTheRestrictionsHold) {
    EditorSession s;
    s.type({L"abc", L"-3", L"0", L"4", L"", L"7"});
    acedInitGet(RSG_NONEG | RSG_NOZERO | RSG_NONULL, nullptr);
    int i = 0;
    ASSERT_EQ(acedGetInt(L"\nInt: ", &i), RTNORM);
    EXPECT_EQ(i, 4);
    const std::wstring& t = s.transcript();
    EXPECT_NE(t.find(L"Nombre entier requis."), std::wstring::npos);
    EXPECT_NE(t.find(L"La valeur doit être positive."), std::wstring::npos);
    EXPECT_NE(t.find(L"La valeur doit être différente de zéro."), std::wstring::npos);
    EXPECT_EQ(acedGetInt(L"\nInt: ", &i), RTNONE) << "the restrictions held for one prompt only";
    EXPECT_EQ(i, 4) << "unchanged on Enter";
}

TEST(Prompts, ARefusalStandsOnItsOwnLineBeforeThePromptAskedAgain) {
    EditorSession s;
    s.type({L"1e308,1e308", L"abc", L"1,2"});
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"Saisie: ", p), RTNORM);
    EXPECT_NE(s.transcript().find(
                  L"Saisie: 1e308,1e308\nPoint incorrect.\nSaisie: abc\nPoint incorrect.\nSaisie: 1,2"),
              std::wstring::npos)
        << host::toUtf8(s.transcript());
    acutPrintf(L"\nSuite");
    EXPECT_EQ(s.transcript().find(L"\n\n"), std::wstring::npos)
        << "a message after an answer opens no empty line";
}

TEST(Prompts, StringsKeepTheirBlanksWhenAsked) {
    EditorSession s;
    s.type({L"Nom Fichier", L""});
    ACHAR text[64];
    ASSERT_EQ(acedGetString(1, L"\nName: ", text, 64), RTNORM);
    EXPECT_STREQ(text, L"Nom Fichier");
    ASSERT_EQ(acedGetString(1, L"\nName: ", text, 64), RTNORM);
    EXPECT_STREQ(text, L"") << "Enter gives the empty text";
}

TEST(Prompts, AnswersTooLongForTheCallerAreRefusedNotCut) {
    EditorSession s;
    s.type({L"Inact0", L"abcdefghijkl", L"short"});
    acedInitGet(0, L"Inact0 Const1");
    ACHAR word[4] = L"xy";
    EXPECT_EQ(acedGetKword(L"\nMode: ", word, 4), RTERROR);
    EXPECT_STREQ(word, L"xy") << "the caller's buffer is untouched";
    EXPECT_NE(s.transcript().find(L"dépasse les 3 caractères"), std::wstring::npos);
    ACHAR text[8];
    ASSERT_EQ(acedGetString(0, L"\nName: ", text, 8), RTNORM) << "asked again after the long one";
    EXPECT_STREQ(text, L"short");
}

TEST(Prompts, AnEmptyQueueAnswersCancelAndStopsALoopThatAsksAgain) {
    EditorSession s;
    host::dryPromptGuard().setLimit(5);
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTCAN);
    EXPECT_NE(s.transcript().find(host::kCancelEcho), std::wstring::npos);
    int asked = 1;
    EXPECT_THROW(
        for (;;) {
            acedGetPoint(nullptr, L"\nPoint: ", p);
            ++asked;
        },
        host::PromptLimitReached);
    EXPECT_EQ(asked, 5);
}

TEST(Prompts, KeysTypeALineThatEnterHandsOver) {
    EditorSession s;
    s.type({L"@key 1", L"@key 2", L"@key BACK", L"@key 5", L"@key RETURN"});
    int i = 0;
    ASSERT_EQ(acedGetInt(L"\nInt: ", &i), RTNORM);
    EXPECT_EQ(i, 15);
}

namespace {
// Swallows Down and types "_HA" in its place.
bool downIsSense(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_DOWN) return false;
    acDocManager->sendStringToExecute(curDoc(), L"_HA\r", false, true, false);
    return true;
}
} // namespace

TEST(Prompts, AKeyFilterTurnsAKeyIntoAKeyword) {
    EditorSession s;
    ASSERT_TRUE(acedRegisterFilterWinMsg(downIsSense));
    EXPECT_FALSE(acedRegisterFilterWinMsg(downIsSense)) << "once";
    s.type({L"@key DOWN down"});
    acedInitGet(0, L"Sens _ HA");
    ads_point p;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTKWORD);
    ACHAR word[8];
    acedGetInput(word, 8);
    EXPECT_STREQ(word, L"HA");
    EXPECT_TRUE(acedRemoveFilterWinMsg(downIsSense));
    EXPECT_FALSE(acedRemoveFilterWinMsg(downIsSense));
}

TEST(ScriptLines, ItemsAndTheirErrors) {
    std::vector<host::InputItem> items;
    std::wstring error;
    ASSERT_TRUE(host::parseScriptLine(L"@pick 2A 3 1,2", items, error));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].kind, host::InputKind::Pick);
    EXPECT_EQ(items[0].text, L"2A");
    EXPECT_EQ(items[0].marker, 3);
    EXPECT_TRUE(items[0].hasPoint);
    EXPECT_EQ(items[0].point, AcGePoint3d(1, 2, 0));
    items.clear();
    ASSERT_TRUE(host::parseScriptLine(L"@key END press 1000", items, error));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].keyDown);
    EXPECT_FALSE(items[1].keyDown);
    EXPECT_EQ(items[0].virtualKey, VK_END);
    EXPECT_EQ(items[1].time, 1001u);
    items.clear();
    ASSERT_TRUE(host::parseScriptLine(L"# a comment", items, error));
    EXPECT_TRUE(items.empty());
    ASSERT_TRUE(host::parseScriptLine(L"^c", items, error));
    ASSERT_TRUE(host::parseScriptLine(L"   ", items, error));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].kind, host::InputKind::Cancel);
    EXPECT_EQ(items[1].kind, host::InputKind::Enter);
    EXPECT_FALSE(host::parseScriptLine(L"@move 1", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@jump", items, error));
    EXPECT_NE(error.find(L"@JUMP"), std::wstring::npos);
    EXPECT_FALSE(host::parseScriptLine(L"@answer maybe", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@key NOKEY", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@dblclick", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@dblclick 2A 3", items, error)) << "no marker, only a point";
}

TEST(ScriptLines, TypedTextSplitsAtLineEnds) {
    std::vector<host::InputItem> items = host::typedItems(L"_W\r_GE\r\r\x03ZORTAPOLY ");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, L"_W");
    EXPECT_EQ(items[1].text, L"_GE");
    EXPECT_EQ(items[2].kind, host::InputKind::Enter);
    EXPECT_EQ(items[3].kind, host::InputKind::Cancel);
    EXPECT_EQ(items[4].text, L"ZORTAPOLY ");
    EXPECT_EQ(host::typedItems(L"A\r\nB").size(), 2u) << "CR LF is one line end";
    items = host::typedItems(L"(setq a (strcat \"x\r\ny\")\r 1)\rLINE\r");
    ASSERT_EQ(items.size(), 2u) << "a LISP form goes on until it is closed";
    EXPECT_EQ(items[0].text, L"(setq a (strcat \"x\ny\")\n 1)");
}

namespace {

enum class Ask { Point, Real, Int, Text, Keyword };

// The value a prompt of `kind` answered, as text, or its return code when not RTNORM.
std::wstring askedValue(Ask kind) {
    int rc = RTNORM;
    std::wstring value;
    switch (kind) {
    case Ask::Point: {
        ads_point p;
        rc = acedGetPoint(nullptr, L"\nPoint: ", p);
        value = host::formatPoint(AcGePoint3d(p[0], p[1], p[2]));
        break;
    }
    case Ask::Real: {
        double v = 0;
        rc = acedGetReal(L"\nRéel: ", &v);
        value = host::formatReal(v);
        break;
    }
    case Ask::Int: {
        int v = 0;
        rc = acedGetInt(L"\nEntier: ", &v);
        value = std::to_wstring(v);
        break;
    }
    case Ask::Text: {
        AcString v;
        rc = acedGetString(0, L"\nTexte: ", v);
        value = v.kwszPtr();
        break;
    }
    case Ask::Keyword: {
        ACHAR v[16] = {};
        acedInitGet(0, L"Oui Non");
        rc = acedGetKword(L"\nOui/Non: ", v, 16);
        value = v;
        break;
    }
    }
    return rc == RTNORM ? value : L"rc " + std::to_wstring(rc);
}

} // namespace

TEST(Prompts, LispTypedAtAPromptAnswersWithItsValue) {
    struct Case {
        Ask kind;
        const wchar_t* typed;
        const wchar_t* value;   // what the prompt answered
        const wchar_t* refusal; // what was shown before the prompt asked again (null: nothing)
    };
    const Case cases[] = {
        {Ask::Point, L"(list 1 (+ 1 1))", L"1.0,2.0,0.0", nullptr},
        {Ask::Point, L"!pt", L"3.0,4.0,5.0", nullptr},
        {Ask::Point, L"(+ 1 2)", L"9.0,9.0,0.0", L"Point incorrect."},
        {Ask::Point, L"(car 1)", L"9.0,9.0,0.0", L"; erreur: type d'argument incorrect"},
        {Ask::Real, L"(* 2 1.25)", L"2.5", nullptr},
        {Ask::Real, L"!n", L"7.0", nullptr},
        {Ask::Real, L"(list 1 2)", L"9.0", L"Valeur numérique requise."},
        {Ask::Real, L"(undefined-fn)", L"9.0", L"; erreur: fonction inconnue"},
        {Ask::Int, L"(+ 3 4)", L"7", nullptr},
        {Ask::Int, L"  !n", L"7", nullptr},
        {Ask::Int, L"(/ 5 2.0)", L"9", L"Nombre entier requis."},
        {Ask::Int, L"(+ 1", L"9", L"; erreur: liste mal formée"},
        {Ask::Text, L"(strcat \"a\" \"b\")", L"ab", nullptr},
        {Ask::Text, L"!w", L"Non", nullptr},
        {Ask::Text, L"!pt", L"9", L"Texte requis."},
        {Ask::Keyword, L"(strcat \"O\" \"ui\")", L"Oui", nullptr},
        {Ask::Keyword, L"!w", L"Non", nullptr},
        {Ask::Keyword, L"(+ 1 2)", L"Oui", L"Mot-clé d'option incorrect."},
        {Ask::Keyword, L"(/ 1 0)", L"Oui", L"; erreur: division par zéro"},
    };
    for (const Case& c : cases) {
        EditorSession s;
        host::runLispConsole(L"(setq pt '(3 4 5) n 7 w \"Non\")");
        const wchar_t* next = c.kind == Ask::Point ? L"9,9" : c.kind == Ask::Keyword ? L"O" : L"9";
        s.type({c.typed, next});
        EXPECT_EQ(askedValue(c.kind), c.value) << host::toUtf8(c.typed);
        const std::wstring& t = s.transcript();
        if (c.refusal)
            EXPECT_NE(t.find(c.refusal), std::wstring::npos) << host::toUtf8(c.typed) << host::toUtf8(t);
        else
            EXPECT_EQ(host::inputQueue().size(), 1u) << host::toUtf8(c.typed) << host::toUtf8(t);
    }
}

TEST(Prompts, AProgramWaitingAtItsPromptIsNotEnteredAgainButItsVariablesRead) {
    EditorSession s;
    host::runLispConsole(L"(setq pt '(3 4))");
    s.type({L"(getpoint)", L"!pt"});
    EXPECT_EQ(host::runLispConsole(L"(getpoint \"\\nPoint: \")"), L"(3.0 4.0 0.0)");
    EXPECT_NE(s.transcript().find(L"Impossible de réentrer dans LISP."), std::wstring::npos)
        << host::toUtf8(s.transcript());
}
