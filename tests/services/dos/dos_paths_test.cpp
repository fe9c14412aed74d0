// Splitting, completing and making names; finding files along the search order.
#include "services/dos/dos.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using testing_support::TempFolder;
using testing_support::writeFile;

// Drive C: is a fresh folder, and the current folder is inside it.
class DosPaths : public ::testing::Test {
protected:
    TempFolder drive;
    std::string savedFolder = std::filesystem::current_path();

    void SetUp() override {
        setenv("ZORTA_DRIVE_C", drive.path().c_str(), 1);
        std::filesystem::create_directories(drive / "work");
        std::filesystem::current_path(drive / "work");
        DOS::m_NomChtDef[0] = 0;
    }
    void TearDown() override {
        std::filesystem::current_path(savedFolder);
        unsetenv("ZORTA_DRIVE_C");
        DOS::m_NomChtDef[0] = 0;
    }
};

TEST_F(DosPaths, GetPNameJoinsTheAskedParts) {
    EXPECT_STREQ(DOS::GetPName("file:///C:/A/B.txt", "URN"), "C:\\A\\B");
    EXPECT_STREQ(DOS::GetPName("file:///C:/A/B.txt", "E"), ".txt");
    EXPECT_STREQ(DOS::GetPName("C:\\A\\B.txt", "NEXU"), "B.txtC:"); // order of the letters, others skipped
    EXPECT_STREQ(DOS::GetPName("file://server/share/x.dxf", "R"), "\\\\server\\share\\");
    EXPECT_STREQ(DOS::GetPName("C:\\A\\sub\\..\\.\\B.txt", "UR"), "C:\\A\\");
    EXPECT_STREQ(DOS::GetPName("C:\\..\\..\\B.txt", "UR"), "C:\\"); // never above the root
}

TEST_F(DosPaths, GetPNameCompletesFromTheCurrentFolder) {
    EXPECT_STREQ(DOS::GetPName("B.txt", "URNE"), "C:\\work\\B.txt");
    EXPECT_STREQ(DOS::GetPName("\\top\\B.txt", "UR"), "C:\\top\\");
}

TEST_F(DosPaths, GetPNameRefusesBadPaths) {
    EXPECT_STREQ(DOS::GetPName(nullptr, "N"), "");
    EXPECT_STREQ(DOS::GetPName("", "N"), "");
    EXPECT_STREQ(DOS::GetPName(("C:\\" + std::string(256, 'a')).c_str(), "N"), ""); // 259 characters
    EXPECT_STREQ(DOS::GetPName(std::string(4096, 'x').c_str(), "N"), "");
    EXPECT_EQ(std::string(DOS::GetPName(("C:\\" + std::string(255, 'a')).c_str(), "N")),
              std::string(255, 'a'));
}

TEST_F(DosPaths, ControleCheminSplitsTheCompletedPath) {
    char drive[3], folder[256], name[256], extension[256];
    EXPECT_EQ(DOS::Controle_chemin("C:/A/B.DXF", drive, folder, name, extension, 1), 0);
    EXPECT_STREQ(drive, "C:");
    EXPECT_STREQ(folder, "\\A\\");
    EXPECT_STREQ(name, "B");
    EXPECT_STREQ(extension, ".DXF");
    EXPECT_EQ(DOS::Controle_chemin("new.txt", nullptr, folder, nullptr, nullptr, 1), 0);
    EXPECT_STREQ(folder, "\\work\\");
    EXPECT_EQ(DOS::Controle_chemin(nullptr, drive, folder, name, extension, 0), -1);
}

TEST_F(DosPaths, TestJockerMasksTheWildParts) {
    EXPECT_EQ(DOS::TestJocker("C:\\A*\\B?.*"), 7);
    EXPECT_EQ(DOS::TestJocker("C:\\A\\B.DX?"), 1);
    EXPECT_EQ(DOS::TestJocker("C:\\A\\B.DXF"), 0);
}

TEST_F(DosPaths, CheminCommeTakesTheModelsDriveAndFolder) {
    EXPECT_STREQ(DOS::Chemin_comme("D:\\x\\f", "C:\\m\\model.dxf", "dwg", 0), "C:\\m\\f.dwg");
    EXPECT_STREQ(DOS::Chemin_comme("D:\\x\\f.txt", "C:\\m\\", ".dwg", 1), "D:\\m\\f.txt");
    EXPECT_STREQ(DOS::Chemin_comme("D:\\x\\f", "C:\\m\\", nullptr, 3), "D:\\x\\f");
}

TEST_F(DosPaths, GetNameAsAppliesWildcards) {
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "*.bak"), "C:\\A\\plan.bak");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "D:\\B\\*_old.*"), "D:\\B\\plan_old.dxf");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "??X.*"), "C:\\A\\plX.dxf");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "sub\\*.*"), "C:\\A\\sub\\plan.dxf");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "\\B\\*"), "C:\\B\\plan");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "*:\\B\\x."), "C:\\B\\x");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "*\\S\\*.sv$"), "C:\\A\\S\\plan.sv$");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "\\\\srv\\share\\*.*"), "\\\\srv\\share\\plan.dxf");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", "E::\\B\\\\C\\*.*"), "E:\\B\\C\\plan.dxf");
}

TEST_F(DosPaths, GetNameAsEdges) {
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\plan.dxf", nullptr), "C:\\A\\plan.dxf");
    EXPECT_STREQ(DOS::GetNameAs("", "D:\\x.y"), "D:\\x.y");
    EXPECT_STREQ(DOS::GetNameAs("C:\\A\\\xC9tude.dxf", "*.bak"), "C:\\A\\\xC9tude.bak");
    EXPECT_STREQ(DOS::GetNameAs(("C:\\" + std::string(400, 'a') + ".dxf").c_str(), "sub\\*.*"), "");
}

TEST_F(DosPaths, LocaliseFichierSearchesInOrder) {
    std::filesystem::create_directories(drive / "jobs/site");
    std::filesystem::create_directories(drive / "lib");
    writeFile(drive / "jobs/parent.txt", "");
    writeFile(drive / "jobs/site/here.txt", "");
    writeFile(drive / "lib/Listed.TXT", "");
    writeFile(drive / "work/own.txt", "");
    std::strcpy(DOS::m_NomChtDef, "C:\\jobs\\site\\job.cht");
    char out[260];

    EXPECT_STREQ(DOS::Localise_fichier(out, "own.txt", "C:\\lib", 1), "C:\\work\\own.txt");
    EXPECT_STREQ(DOS::Localise_fichier(out, "C:\\elsewhere\\here.txt", nullptr, 1),
                 "C:\\jobs\\site\\here.txt");
    EXPECT_STREQ(DOS::Localise_fichier(out, "parent.txt", "C:\\lib", 1), "C:\\jobs\\parent.txt");
    EXPECT_EQ(DOS::Localise_fichier(out, "parent.txt", "C:\\lib", 0), nullptr);
    EXPECT_STREQ(DOS::Localise_fichier(out, "listed.txt", "C:\\none;C:\\lib", 0), "C:\\lib\\listed.txt");
}

TEST_F(DosPaths, LocaliseFichierFindsFilesOnly) {
    std::filesystem::create_directories(drive / "lib/folder.txt");
    char out[260];
    EXPECT_EQ(DOS::Localise_fichier(out, "folder.txt", "C:\\lib", 0), nullptr);
    EXPECT_EQ(DOS::Localise_fichier(out, "C:\\lib\\", "C:\\lib", 0), nullptr);
    EXPECT_EQ(DOS::Localise_fichier(nullptr, "x.txt", "C:\\lib", 0), nullptr);
    EXPECT_EQ(DOS::Localise_fichier(out, std::string(4096, 'x').c_str(), "C:\\lib", 0), nullptr);
}

} // namespace
