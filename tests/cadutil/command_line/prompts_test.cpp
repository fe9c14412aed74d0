// Prompts with a default, keywords that carry a number, the smoothing question, world points, and the
// print functions.
#include <gtest/gtest.h>

#include <string>

#include "cadutil/command_line/matrix_rows.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "host/editor/ucs.h"
#include "tests/cadutil/cadutil_test_support.h"

using plugin::test::PluginSession;

TEST(Print, TextsAreNeverFormattedTwice) {
    PluginSession s;
    EXPECT_GT(msgprintf("\nvaleur %s", "100%d"), 0);
    EXPECT_NE(s.transcript().find(L"valeur 100%d"), std::wstring::npos);
    EXPECT_EQ(cmdprintf("%s", ""), 0) << "nothing to print";
    std::string longText(3000, 'x');
    host::clearCommandLineTranscript();
    cmdprintf("%s", longText.c_str());
    EXPECT_EQ(s.transcript().size(), 2047u);
    cmdprintf("\nC\xf4te %s", "\xe9");
    EXPECT_NE(s.transcript().find(L"Côte é"), std::wstring::npos) << "the code page becomes wide text";
    s.type({L"@answer cancel"});
    EXPECT_EQ(msgBox("Attention"), 1);
    EXPECT_NE(s.transcript().find(L"[Boîte de message] Attention"), std::wstring::npos);
    EXPECT_NE(s.transcript().find(L"n'a pas de bouton Annuler"), std::wstring::npos) << "an OK box";
}

TEST(PromptDefaults, TheDefaultIsShownAndKeptOnEnter) {
    PluginSession s;
    s.type({L"", L"2.5", L"", L"7"});
    double r = 1.5;
    EXPECT_EQ(getr_def("Rayon", &r), RTNONE);
    EXPECT_EQ(r, 1.5);
    EXPECT_NE(s.transcript().find(L"Rayon <1.500000> :"), std::wstring::npos);
    EXPECT_EQ(getr_def(nullptr, &r), RTNORM);
    EXPECT_EQ(r, 2.5);
    int i = 4;
    EXPECT_EQ(geti_def("Nombre de point à Moyenner", &i), RTNONE);
    EXPECT_EQ(geti_def("\nFlag <%d> ", &i), RTNORM);
    EXPECT_EQ(i, 7);
    EXPECT_NE(s.transcript().find(L"Flag <4> "), std::wstring::npos)
        << "one conversion: the prompt is the format";
}

TEST(PromptDefaults, AnyOtherPercentSignIsPrintedAsItStands) {
    PluginSession s;
    s.type({L"", L"", L""});
    double r = 3;
    getr_def("Pente 100%", &r);
    getr_def("%d %s", &r);
    int i = 2;
    geti_def("Taux %f", &i);
    const std::wstring& t = s.transcript();
    EXPECT_NE(t.find(L"Pente 100% <3.000000> :"), std::wstring::npos);
    EXPECT_NE(t.find(L"%d %s <3.000000> :"), std::wstring::npos);
    EXPECT_NE(t.find(L"Taux %f <2> :"), std::wstring::npos);
}

TEST(PromptDefaults, AKeywordGivesTheNumberItEndsWith) {
    PluginSession s;
    const char* forms = "CCerc1 CPoint2 Rect3 Boite4 CNiv11 _ CCirc1 CPoint2 Rect3 Box4 CLev11";
    s.type({L"R", L"_CLev11", L"5", L"", L"-2"});
    EXPECT_EQ(getIntOrKeyword(0, "\nForme", forms), 3);
    EXPECT_EQ(getIntOrKeyword(0, "\nForme", forms), 11);
    EXPECT_EQ(getIntOrKeyword(0, "\nForme", forms), 5);
    EXPECT_EQ(getIntOrKeyword(9, "\nForme", forms), 9) << "Enter";
    EXPECT_EQ(getIntOrKeyword(9, "\nForme", forms), 9) << "a negative number refused, then the input ran out";
    EXPECT_NE(s.transcript().find(L"La valeur doit être positive."), std::wstring::npos);
}

TEST(PromptDefaults, SmoothingQuestion) {
    PluginSession s;
    s.type({L"N", L"", L"O", L"", L"", L"^C"});
    g_smoothLinesAnswer = 6;
    EXPECT_EQ(askSmoothLines(), 7);
    EXPECT_NE(s.transcript().find(L"Lisser également les Droites (Lissage complet)  (Oui,Non) <Oui> :"),
              std::wstring::npos);
    EXPECT_EQ(askSmoothLines(), 6) << "Enter keeps the last answer";
    g_smoothLinesAnswer = 7;
    EXPECT_EQ(askSmoothLines(), 6);
    g_smoothLinesAnswer = 0;
    EXPECT_EQ(askSmoothLines(), 0) << "Enter without an answer to keep asks again, then a cancel";
}

TEST(PromptDefaults, WorldPointsThroughTheUserSystem) {
    PluginSession s;
    AcGeMatrix3d ucs = AcGeMatrix3d::translation(AcGeVector3d(100, 200, 0));
    ASSERT_TRUE(acedSetCurrentUCS(ucs));
    s.type({L"1,2,3"});
    ads_point base = {100, 200, 0}, p;
    ASSERT_EQ(getWorldPoint(base, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[0], 101);
    EXPECT_EQ(p[1], 202);
    EXPECT_EQ(p[2], 3);
}

TEST(MatrixRows, RotationRowsThenTranslation) {
    const double rows[3][4] = {{1, 2, 3, 10}, {4, 5, 6, 20}, {7, 8, 9, 30}};
    double out[12];
    copyMatrix3x4(out, rows);
    const double expected[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(out[i], expected[i]) << i;
}
