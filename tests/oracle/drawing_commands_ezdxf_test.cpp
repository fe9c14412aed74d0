// zhost's everyday commands run from scripts, the drawing saved as DXF and read back by ezdxf: what each
// command draws from typed points (absolute, relative, polar), their options, and the variables they set.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/oracle/python_oracle.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using Rows = std::vector<oracle::Row>;

struct Drawn {
    testing_support::ProgramRun run;
    Rows rows;
};

enum class Start { NewDrawing, WithBlock };

// Runs the script in zhost on a new drawing (or one that ezdxf wrote holding the block BORNE), saves it and
// reads it back with the oracle's `mode`.
Drawn draw(const std::string& script, const std::string& mode = "entities", Start start = Start::NewDrawing) {
    testing_support::TempFolder folder;
    const std::string scriptPath = folder / "draw.scr", saved = folder / "drawn.dxf",
                      blocks = folder / "borne.dxf";
    std::ofstream(scriptPath) << script;
    if (start == Start::WithBlock) oracle::runPythonOracle("drawing_commands_oracle.py", "block " + blocks);
    Drawn d;
    d.run = testing_support::runProgram("ZORTA_NAMESPACE=draw_ezdxf_" + std::to_string(::getpid()) +
                                        " " ZHOST_PROGRAM + (start == Start::WithBlock ? " " + blocks : "") +
                                        " --script " + scriptPath + " --save " + saved);
    EXPECT_EQ(d.run.status, 0) << d.run.output;
    for (oracle::Row row : oracle::runPythonOracle("drawing_commands_oracle.py", mode + " " + saved)) {
        for (double& v : row)
            v = std::round(v * 1e6) / 1e6 + 0.0;
        d.rows.push_back(row);
    }
    return d;
}

// A text as the oracle prints it: its code points.
oracle::Row codes(const std::wstring& text) {
    return oracle::Row(text.begin(), text.end());
}

struct Case {
    const char* what;
    const char* script;
    Rows expected;
};

} // namespace

TEST(DrawingCommandsThroughEzdxf, EachCommandDrawsWhatItsAnswersSay) {
    const Case cases[] = {
        {"LINE, relative and polar points, undo, close",
         "LINE\n0,0\n@10,0\n@5,5\nU\n@10<90\nC\n",
         {{1, 0, 0, 10, 0}, {1, 10, 0, 10, 10}, {1, 10, 10, 0, 0}}},
        {"CIRCLE by radius, diameter, 2P, 3P",
         "CIRCLE\n1,2\n3\nCIRCLE\n5,5\nD\n4\nCIRCLE\n2P\n0,0\n6,0\n"
         "CIRCLE\n3P\n0,0\n2,0\n1,1\n_CIRCLE\n0,0\n@0,7\n",
         {{2, 1, 2, 3}, {2, 5, 5, 2}, {2, 3, 0, 3}, {2, 1, 0, 1}, {2, 0, 0, 7}}},
        {"ARC through three points either way round, and from its centre",
         "ARC\n0,0\n1,1\n2,0\nARC\n2,0\n1,-1\n0,0\nARC\nCE\n0,0\n5,0\n0,5\nARC\n5,0\nCE\n0,0\n-5,0\n",
         {{3, 1, 0, 1, 0, 180}, {3, 1, 0, 1, 180, 0}, {3, 0, 0, 5, 0, 90}, {3, 0, 0, 5, 0, 180}}},
        {"ARC going on from a line, then from that arc, tangent to each",
         "LINE\n0,0\n5,0\n\nARC\n\n10,5\nARC\n\n5,10\n",
         {{1, 0, 0, 5, 0}, {3, 5, 5, 5, 270, 0}, {3, 5, 5, 5, 0, 90}}},
        {"ARC from a start and centre by an included angle either way and a chord either side, one too long",
         "ARC\n5,0\nCE\n0,0\nA\n90\nARC\nCE\n0,0\n5,0\nA\n-90\nARC\n5,0\nCE\n0,0\nL\n5\n"
         "ARC\n5,0\nCE\n0,0\nL\n-5\nARC\n5,0\nCE\n0,0\nL\n11\n",
         {{3, 0, 0, 5, 0, 90}, {3, 0, 0, 5, 270, 0}, {3, 0, 0, 5, 0, 60}, {3, 0, 0, 5, 0, 300}}},
        {"ARC from a start and end by a centre, an included angle, a radius either side, a tangent, one "
         "through the end",
         "ARC\n0,5\nFI\n5,0\n0,0\nARC\n5,0\nFI\n0,5\nA\n90\nARC\n5,0\nFI\n0,5\nR\n5\n"
         "ARC\n5,0\nFI\n0,5\nR\n-5\nARC\n5,0\nFI\n0,5\nD\n90\nARC\n5,0\nFI\n0,5\nD\n135\n",
         {{3, 0, 0, 5, 90, 0},
          {3, 0, 0, 5, 0, 90},
          {3, 0, 0, 5, 0, 90},
          {3, 5, 5, 5, 270, 180},
          {3, 0, 0, 5, 0, 90}}},
        {"COPY to repeated points with undo, ERASE of the source",
         "CIRCLE\n0,0\n1\n(setq source (entlast))\nCOPY\n@select last\n\n0,0\n"
         "10,0\n20,0\nU\n0,30\n\nERASE\n@select !source\n\n",
         {{2, 10, 0, 1}, {2, 0, 30, 1}}},
        {"PLINE with widths, a tangent arc, a line and closing",
         "PLINE\n0,0\nLA\n1\n2\n10,0\nA\n10,10\nLI\n@-10,0\nC\n",
         {{4, 1, 4}, {0, 0, 1, 2, 0}, {10, 0, 2, 2, 1}, {10, 10, 2, 2, 0}, {0, 10, 2, 2, 0}}},
        {"PLINE with an arc through a second point, an undo, and an arc closing it",
         "PLINE\n0,0\n10,0\nA\n5,5\nU\nS\n15,5\n10,10\nCL\n",
         {{4, 1, 3}, {0, 0, 0, 0, 0}, {10, 0, 0, 0, 1}, {10, 10, 0, 0, 0.414214}}},
        {"TEXT with a height, then with the height kept",
         "TEXT\n0,0\n3.5\n45\nBonjour à tous\nTEXT\n5,5\n\n\nDeux\n",
         {{5, 0, 0, 3.5, 45, 0, 0, 0, 0, 1},
          codes(L"Bonjour à tous"),
          {5, 5, 5, 3.5, 0, 0, 0, 0, 0, 1},
          codes(L"Deux")}},
        {"TEXT justified on its middle point, the justification kept for the next text, aligned, fitted",
         "TEXT\nJ\nMC\n10,10\n2\n0\nAB\nTEXT\n0,0\n\n90\nC\nTEXT\nJ\nA\n0,0\n8,0\nABCD\n"
         "TEXT\nJ\nF\n0,0\n0,8\n2\nABCD\n",
         {{5, 8.4, 9, 2, 0, 1, 2, 10, 10, 1},
          codes(L"AB"),
          {5, 1, -0.8, 2, 90, 1, 2, 0, 0, 1},
          codes(L"C"),
          {5, 0, 0, 2.5, 0, 3, 0, 8, 0, 1},
          codes(L"ABCD"),
          {5, 0, 0, 2, 90, 5, 0, 0, 8, 1.25},
          codes(L"ABCD")}},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(c.script);
        EXPECT_EQ(d.rows, c.expected) << c.what << "\n" << d.run.output;
    }
}

TEST(DrawingCommandsThroughEzdxf, PlineArcOptionsGiveTheirBulges) {
    const Case cases[] = {
        {"Angle, then an end point, a centre, or a radius along the chord that keeps the arc tangent",
         "PLINE\n0,0\nA\nA\n90\n10,0\nA\n-180\nCE\n15,0\nA\n90\nR\n5\n\n\n",
         {{4, 0, 4}, {0, 0, 0, 0, 0.414214}, {10, 0, 0, 0, -1}, {20, 0, 0, 0, 0.414214}, {25, -5, 0, 0, 0}}},
        {"CEntre, then a point giving the direction of the end, an angle, a chord undone and taken the "
         "larger way, and @ from the end of the arc",
         "PLINE\n0,0\nA\nCE\n0,5\n10,5\nCE\n5,0\nA\n-90\nCE\n10,-5\nL\n5\nU\nCE\n10,-5\nL\n-5\n"
         "LI\n@1,0\n\n",
         {{4, 0, 5},
          {0, 0, 0, 0, 0.414214},
          {5, 5, 0, 0, -0.414214},
          {10, 0, 0, 0, 3.732051},
          {14.330127, -2.5, 0, 0, 0},
          {15.330127, -2.5, 0, 0, 0}}},
        {"DEmi-largeur beside Direction, then Direction either way round and along the tangent",
         "PLINE\n0,0\nA\nDE\n0.5\n\nD\n90\n10,0\nD\n0\n20,10\nD\n0\n30,10\n\n",
         {{4, 0, 3}, {0, 0, 1, 1, -1}, {10, 0, 1, 1, 0.414214}, {20, 10, 0, 0, 0}}},
        {"Rayon, then an end point the smaller or larger way, an angle along a chord, an end too far",
         "PLINE\n0,0\nA\nR\n5\n5,5\nR\n-5\n10,0\nR\n5\nA\n180\n0\nR\n5\n40,0\n\n",
         {{4, 0, 4}, {0, 0, 0, 0, 0.414214}, {5, 5, 0, 0, 2.414214}, {10, 0, 0, 0, 1}, {20, 0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(c.script);
        EXPECT_EQ(d.rows, c.expected) << c.what << "\n" << d.run.output;
    }
}

TEST(DrawingCommandsThroughEzdxf, InsertAsksTheAttributesInTheBlocksOrder) {
    const Drawn d = draw("-INSERT\n?\n\nBORNE\n10,20\n2\n\n90\n17\n\n(getvar \"INSNAME\")\n", "entities",
                         Start::WithBlock);
    EXPECT_EQ(d.rows, (Rows{{6, 10, 20, 2, 2, 90, 3}, codes(L"17"), codes(L"0.00"), codes(L"P")}))
        << d.run.output;
    EXPECT_NE(d.run.output.find("Numéro <0>: 17"), std::string::npos) << d.run.output;
    EXPECT_NE(d.run.output.find("Blocs définis.\n  \"BORNE\"\nBlocs utilisateur: 1   Blocs sans nom: 0\n"
                                "Entrez le nom du bloc ou [?]: BORNE"),
              std::string::npos);
    EXPECT_NE(d.run.output.find("(getvar \"INSNAME\")\n\"BORNE\""), std::string::npos);
    const Drawn missing = draw("-INSERT\nNOWHERE\n", "entities", Start::WithBlock);
    EXPECT_NE(missing.run.output.find("Le bloc \"NOWHERE\" est introuvable."), std::string::npos);
}

TEST(DrawingCommandsThroughEzdxf, TextStyleChosenIsKeptAndGivesItsHeight) {
    const Drawn d =
        draw("TEXT\nS\n?\nC*\nCOTES\n0,0\n0\nAB\nTEXT\nS\nNULLE\n5,5\n0\nCD\n", "entities", Start::WithBlock);
    EXPECT_EQ(
        d.rows,
        (Rows{
            {5, 0, 0, 1.5, 0, 0, 0, 0, 0, 1}, codes(L"AB"), {5, 5, 5, 1.5, 0, 0, 0, 0, 0, 1}, codes(L"CD")}))
        << d.run.output;
    EXPECT_NE(d.run.output.find("Style de texte courant:  \"COTES\"  Hauteur de texte:  1.5000"),
              std::string::npos);
    EXPECT_NE(d.run.output.find("Le style de texte \"NULLE\" est introuvable."), std::string::npos);
    EXPECT_NE(d.run.output.find("Styles de texte:\n  \"COTES\"  Hauteur: 1.5000  Police: txt\n"
                                "Style de texte courant: \"Standard\""),
              std::string::npos);
}

TEST(DrawingCommandsThroughEzdxf, InsertOfANameThatIsNoBlockReadsTheDrawingFileOfTheSupportPath) {
    testing_support::TempFolder folder;
    const std::string symbols = folder / "symboles", script = folder / "insert.scr",
                      saved = folder / "plan.dxf";
    std::filesystem::create_directory(symbols);
    oracle::runPythonOracle("drawing_commands_oracle.py", "symbol " + symbols + "/Symbole.dxf");
    std::ofstream(script) << "-INSERT\nsymbole\n0,0\n\n\n0\n\nU\n-INSERT\nsymbole\n10,20\n2\n\n0\n7\n";
    const testing_support::ProgramRun run = testing_support::runProgram(
        "ZORTA_NAMESPACE=insert_ezdxf_" + std::to_string(::getpid()) + " ZHOST_SUPPORT=" + symbols +
        " " ZHOST_PROGRAM " --script " + script + " --save " + saved);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "entities " + saved),
              (Rows{{6, 10, 20, 2, 2, 0, 1}, codes(L"7")}))
        << run.output;
    // The block is based at the file's INSBASE and brings the block its drawing refers to.
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "blocks " + saved),
              (Rows{codes(L"Symbole"),
                    {1, 1, 3},
                    {2, 1, 1, 0.5},
                    {6, 1, 1, 1, 1, 0, 0},
                    codes(L"CROIX"),
                    {0, 0, 1},
                    {1, -1, 0, 1, 0}}));
}

TEST(DrawingCommandsThroughEzdxf, LayerOptionsChangeTheLayerTable) {
    // Rows: the name's code points, then colour, on, frozen, locked, current.
    const Drawn d = draw("-LAYER\nC\nMURS\nCO\nrouge\n\nN\nA,B,C\nG\nA,MURS\n_OFF\nB\nVE\nC\nE\nC\n"
                         "CO\n5\nA*\nE\nA\n?\nM*,B\n\n",
                         "layers");
    // clang-format off
    const Rows expected{codes(L"0"),    {7, 1, 0, 0, 0},
                        codes(L"MURS"), {1, 1, 0, 0, 0},
                        codes(L"A"),    {5, 1, 1, 0, 0},
                        codes(L"B"),    {7, 0, 0, 0, 0},
                        codes(L"C"),    {7, 1, 0, 1, 1},
                        codes(L"Defpoints"), {7, 1, 0, 0, 0}};
    // clang-format on
    EXPECT_EQ(d.rows, expected) << d.run.output;
    EXPECT_NE(d.run.output.find("Impossible de geler le calque courant."), std::string::npos);
    EXPECT_NE(d.run.output.find("Impossible de rendre courant un calque gelé."), std::string::npos);
    // "?" lists the layers the patterns name, in the table's order.
    EXPECT_NE(d.run.output.find("\n\"MURS\"                          Activé                  1 (rouge)     "
                                "\"Continuous\"\n\"B\"                             Désactivé               "
                                "7 (blanc)     \"Continuous\"\nCalque courant: \"C\""),
              std::string::npos)
        << d.run.output;
    // What stands on a locked layer is copied but neither moved nor erased.
    const Drawn locked = draw("-LAYER\nC\nFIXE\nVE\nFIXE\n\nCIRCLE\n0,0\n1\nMOVE\n@select all\n\n"
                              "COPY\n@select all\n\n0,0\n0,5\n\nERASE\n@select all\n\n");
    EXPECT_EQ(locked.rows, (Rows{{2, 0, 0, 1}, {2, 0, 5, 1}})) << locked.run.output;
    EXPECT_NE(locked.run.output.find("1 était sur un calque verrouillé."), std::string::npos);
    // U takes back the layer made and the current layer with it, never leaving it on an erased layer.
    const Drawn undone = draw("-LAYER\nC\nMURS\n\nU\n(getvar \"CLAYER\")\n", "layers");
    EXPECT_EQ(undone.rows, (Rows{codes(L"0"), {7, 1, 0, 0, 1}, codes(L"Defpoints"), {7, 1, 0, 0, 0}}));
    EXPECT_NE(undone.run.output.find("(getvar \"CLAYER\")\n\"0\""), std::string::npos) << undone.run.output;
}

TEST(DrawingCommandsThroughEzdxf, InquiriesSetTheirVariables) {
    const Drawn d = draw("ID\n3,4\nDIST\n1,1\n@3,4\nAREA\n0,0\n4,0\n9,9\nU\n4,3\n\nCIRCLE\n0,0\n1\nID\n@\n"
                         "(list (getvar \"LASTPOINT\") (getvar \"DISTANCE\") (getvar \"AREA\") "
                         "(getvar \"PERIMETER\"))\nAREA\nO\n@pick last 0 1,0\n(getvar \"AREA\")\n"
                         "(setvar \"LUPREC\" 2)\nPLINE\n0,0\n2,0\n2,2\n\nAREA\nO\n@pick last 0 1,0\n");
    EXPECT_NE(d.run.output.find("X = 3.0000     Y = 4.0000     Z = 0.0000"), std::string::npos)
        << d.run.output;
    EXPECT_NE(d.run.output.find("Distance = 5.0000,  Angle dans le plan XY = 53"), std::string::npos);
    EXPECT_NE(d.run.output.find("Aire = 6.0000, Périmètre = 12.0000"), std::string::npos);
    EXPECT_NE(d.run.output.find("((0.0 0.0 0.0) 5.0 6.0 12.0)"), std::string::npos) << d.run.output;
    EXPECT_NE(d.run.output.find("Aire = 3.1416, Périmètre = 6.2832"), std::string::npos) << d.run.output;
    EXPECT_NE(d.run.output.find("Aire = 2.00, Longueur = 4.00"), std::string::npos)
        << "an open curve, LUPREC 2";
}

TEST(DrawingCommandsThroughEzdxf, SavingChoosesTheFormatByNameAndQuitAsksWhenChanged) {
    testing_support::TempFolder folder;
    const std::string dxf = folder / "plan.dxf", binary = folder / "plan.zdw", back = folder / "back.dxf";
    const std::string script = folder / "save.scr";
    std::ofstream(script) << "LINE\n0,0\n1,1\n\n(getvar \"DBMOD\")\nQSAVE\n" + dxf +
                                 "\n(getvar \"DWGNAME\")\n(getvar \"DBMOD\")\nCIRCLE\n0,0\n1\nSAVEAS\n" +
                                 binary + "\nSAVE\n" + dxf +
                                 "\n\nLINE\n5,5\n6,6\n\nQUIT\n@answer cancel\nQUIT\n"
                                 "@answer no\nCIRCLE\n9,9\n9\n";
    const std::string zhost =
        "ZORTA_NAMESPACE=save_ezdxf_" + std::to_string(::getpid()) + " " ZHOST_PROGRAM " ";
    const std::string after = folder / "after.dxf";
    const testing_support::ProgramRun run =
        testing_support::runProgram(zhost + "--script " + script + " --save " + after);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("(getvar \"DBMOD\")\n1\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("(getvar \"DWGNAME\")\n\"plan.dxf\"\nCommande: (getvar \"DBMOD\")\n0\n"),
              std::string::npos)
        << run.output;
    // SAVE onto another existing file replaces it only when told: the DXF keeps the line alone.
    EXPECT_NE(run.output.find("Le dessin existe déjà. Voulez-vous le remplacer ? [Oui/Non] <Non>: \n"),
              std::string::npos);
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "entities " + dxf),
              (Rows{{1, 0, 0, 1, 1}}));
    // A drawing changed since it was saved is asked about: Annuler goes on, Non ends without the rest.
    const std::string question = "Enregistrer les modifications apportées à " + binary + " ?";
    EXPECT_NE(run.output.find(question + "\n[Annuler]"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(question + "\n[Non]"), std::string::npos);
    EXPECT_EQ(run.output.find("9,9"), std::string::npos);
    // --save is an order of the command line: the drawing as QUIT left it is saved even after "Non".
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "entities " + after),
              (Rows{{1, 0, 0, 1, 1}, {2, 0, 0, 1}, {1, 5, 5, 6, 6}}));
    // SAVEAS's format prompt chooses the DXF version, which the drawing keeps for QSAVE.
    const std::string r2007 = folder / "r2007.dxf", formats = folder / "formats.scr";
    std::ofstream(formats) << "LINE\n0,0\n1,1\n\nSAVEAS\n2007\n" + r2007 + "\nCIRCLE\n0,0\n1\nQSAVE\n";
    EXPECT_EQ(testing_support::runProgram(zhost + "--script " + formats).status, 0);
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "version " + r2007), (Rows{{1021, 2}}));
    // Unchanged since it was opened, the binary drawing quits at once.
    const std::string quit = folder / "quit.scr";
    std::ofstream(quit) << "QUIT\nCIRCLE\n9,9\n9\n";
    const testing_support::ProgramRun reopened =
        testing_support::runProgram(zhost + binary + " --script " + quit + " --save " + back);
    EXPECT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_EQ(reopened.output.find("[Boîte de message]"), std::string::npos) << reopened.output;
    EXPECT_EQ(oracle::runPythonOracle("drawing_commands_oracle.py", "entities " + back),
              (Rows{{1, 0, 0, 1, 1}, {2, 0, 0, 1}}));
}
