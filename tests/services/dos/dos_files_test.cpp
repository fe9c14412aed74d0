// Files and folders on a real file system: folders, copies and moves, backups, logs, temporary files,
// shortcuts and code-page conversion.
#include "services/dos/dos.h"

#include "tests/platform/child_process.h"
#include "tests/services/settings_fixture.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using testing_support::readFile;
using testing_support::writeFile;

// Drive C: is the test's folder; settings folders and registry hives are the fixture's.
class DosFiles : public SettingsTest {
protected:
    std::string c; // the host folder of C:

    void SetUp() override {
        SettingsTest::SetUp();
        c = root / "c";
        fs::create_directories(c);
        setenv("ZORTA_DRIVE_C", c.c_str(), 1);
        DOS::Reset();
    }
    void TearDown() override {
        unsetenv("ZORTA_DRIVE_C");
        DOS::Reset();
        SettingsTest::TearDown();
    }

    bool exists(const std::string& relative) const {
        return fs::exists(fs::symlink_status(c + "/" + relative));
    }
};

TEST_F(DosFiles, CreateDirMakesParentsDownToTheDepth) {
    EXPECT_EQ(DOS::CreateDir("C:\\a", 0), 1);
    EXPECT_EQ(DOS::CreateDir("C:\\a", 0), 2);
    EXPECT_EQ(DOS::CreateDir("C:\\x\\y\\z\\", 1), 0); // two parents missing, one allowed
    EXPECT_FALSE(exists("x"));
    EXPECT_EQ(DOS::CreateDir("C:\\x\\y\\z\\", 2), 1);
    EXPECT_TRUE(fs::is_directory(c + "/x/y/z"));
    EXPECT_EQ(DOS::CreateDir("C", 5), -1);
    writeFile(c + "/file", "");
    EXPECT_EQ(DOS::CreateDir("C:\\file", 0), 0); // a file where a folder is asked
}

TEST_F(DosFiles, DeleteDirectoryRemovesHiddenAndReadOnlyEntries) {
    fs::create_directories(c + "/tree/.hidden/deep");
    fs::create_directories(c + "/tree/locked");
    writeFile(c + "/tree/.dotfile", "x");
    writeFile(c + "/tree/first", "x");
    writeFile(c + "/tree/locked/readonly", "x");
    chmod((c + "/tree/locked/readonly").c_str(), 0444);
    chmod((c + "/tree/locked").c_str(), 0555);
    // A link to a folder outside: the link goes, what it points to stays.
    fs::create_directories(c + "/outside");
    writeFile(c + "/outside/keep", "x");
    fs::create_directory_symlink(c + "/outside", c + "/tree/.hidden/link");

    EXPECT_EQ(DOS::DeleteDirectory("C:\\TREE"), 1);
    EXPECT_FALSE(exists("tree"));
    EXPECT_TRUE(exists("outside/keep"));
}

TEST_F(DosFiles, DeleteDirectoryRefusesWhatIsNotAFolder) {
    writeFile(c + "/file", "x");
    fs::create_directory_symlink(c + "/outside", c + "/link");
    fs::create_directories(c + "/outside");
    writeFile(c + "/outside/keep", "x");
    EXPECT_EQ(DOS::DeleteDirectory("C:\\file"), 0);
    EXPECT_EQ(DOS::DeleteDirectory("C:\\link"), 0);
    EXPECT_EQ(DOS::DeleteDirectory("C:\\missing"), 0);
    EXPECT_EQ(DOS::DeleteDirectory(nullptr), 0);
    EXPECT_TRUE(exists("file"));
    EXPECT_TRUE(exists("outside/keep"));
}

TEST_F(DosFiles, CopyRenameAndDeleteFollowTheirFlags) {
    writeFile(c + "/src.txt", "source");
    writeFile(c + "/dst.txt", "old");
    EXPECT_EQ(DOS::Copy("C:\\dst.txt", "C:\\SRC.TXT", 0), 0);
    EXPECT_EQ(readFile(c + "/dst.txt"), "old");
    EXPECT_EQ(DOS::Copy("C:\\dst.txt", "C:\\src.txt", 1), 1);
    EXPECT_EQ(readFile(c + "/dst.txt"), "source");
    EXPECT_EQ(DOS::Taille_fichier("C:\\dst.txt"), 6u);

    writeFile(c + "/other.txt", "other");
    EXPECT_EQ(DOS::Rename("C:\\other.txt", "C:\\dst.txt", 0), 0);
    EXPECT_EQ(DOS::Rename("C:\\other.txt", "C:\\dst.txt", 1), 1);
    EXPECT_EQ(readFile(c + "/dst.txt"), "other");
    EXPECT_FALSE(exists("other.txt"));

    chmod((c + "/dst.txt").c_str(), 0444);
    EXPECT_EQ(DOS::Delete("C:\\dst.txt"), 0); // read-only
    chmod((c + "/dst.txt").c_str(), 0644);
    EXPECT_EQ(DOS::Delete("C:\\dst.txt"), 1);
    fs::create_directories(c + "/folder");
    EXPECT_EQ(DOS::Delete("C:\\folder"), 0);
    EXPECT_EQ(DOS::Copy("C:\\x", "C:\\folder", 1), 0);
    EXPECT_EQ(DOS::Taille_fichier("C:\\folder"), 0u);
    EXPECT_EQ(DOS::Taille_fichier("C:\\missing"), 0u);
}

TEST_F(DosFiles, ArchiveRotatesNumberedCopies) {
    writeFile(c + "/X.DXF", "1");
    const std::string first = DOS::Archive("C:\\X.DXF", 'A', 3, 1, 0);
    EXPECT_EQ(first, "C:\\X.DX1");
    EXPECT_EQ(readFile(c + "/X.DX1"), "1");

    writeFile(c + "/X.DXF", "2");
    EXPECT_EQ(std::string(DOS::Archive("C:\\X.DXF", 'A', 3, 1, 0)), "C:\\X.DX1");
    EXPECT_EQ(readFile(c + "/X.DX2"), "1");
    EXPECT_EQ(readFile(c + "/X.DX1"), "2");

    writeFile(c + "/X.DXF", "3");
    DOS::Archive("C:\\X.DXF", 'A', 3, 1, 0);
    EXPECT_EQ(readFile(c + "/X.DX2"), "2");
    EXPECT_EQ(readFile(c + "/X.DX1"), "3");
    EXPECT_FALSE(exists("X.DX3"));
    EXPECT_EQ(readFile(c + "/X.DXF"), "3"); // copied, not moved

    // Without flag bit 0 the file itself becomes the first copy.
    DOS::Archive("C:\\X.DXF", 'A', 3, 0, 0);
    EXPECT_FALSE(exists("X.DXF"));
    EXPECT_EQ(readFile(c + "/X.DX1"), "3");
}

TEST_F(DosFiles, ArchiveNamesAndFolders) {
    writeFile(c + "/plan.dxf", "p");
    EXPECT_EQ(std::string(DOS::Archive("C:\\plan.dxf", 'A', 3, 0x4 | 0x1, 0)), "C:\\Sauve\\plan$1.DXF");
    EXPECT_EQ(readFile(c + "/Sauve/plan$1.DXF"), "p");

    writeFile(c + "/\xC9tude", "e"); // no extension: .DXF is taken, and the accented name is kept
    writeFile(c + "/\xC9tude.DXF", "e");
    EXPECT_EQ(std::string(DOS::Archive("C:\\\xC9tude", 'A', 2, 1, 0)), "C:\\\xC9tude.DX1");

    writeFile(c + "/old.dwg", "o");
    EXPECT_EQ(std::string(DOS::Archive("C:\\old.dwg", 'b', 3, 0, 0)), "C:\\old.BAK");
    EXPECT_EQ(readFile(c + "/old.BAK"), "o");

    writeFile(c + "/many.dxf", "m");
    EXPECT_EQ(std::string(DOS::Archive("C:\\many.dxf", 'A', 12, 1, 0)), "C:\\many.DX1");
    for (int k = 1; k <= 10; ++k)
        DOS::Archive("C:\\many.dxf", 'A', 12, 1, 0);
    EXPECT_TRUE(exists("many.D11"));
    EXPECT_FALSE(exists("many.D12"));

    EXPECT_STREQ(DOS::Archive("C:\\missing.dxf", 'A', 3, 1, 0), "");
    const int saved = DOS::Nbresauve;
    DOS::Nbresauve = 0;
    EXPECT_EQ(DOS::Archive("C:\\plan.dxf", 'A', 0, 1, 0), nullptr);
    DOS::Nbresauve = saved;
}

TEST_F(DosFiles, ArchiveRotatesEveryFileOfTheExtension) {
    writeFile(c + "/a.dxf", "a");
    writeFile(c + "/b.DXF", "b");
    writeFile(c + "/c.dwg", "c");
    DOS::Archive("C:\\any.dxf", 'A', 3, 0x2 | 0x1, 0);
    EXPECT_EQ(readFile(c + "/a.DX1"), "a");
    EXPECT_EQ(readFile(c + "/b.DX1"), "b");
    EXPECT_FALSE(exists("c.DX1"));
}

TEST_F(DosFiles, AppendFileWritesLogLines) {
    EXPECT_EQ(DOS::AppendFile("C:\\LOG\\JOUR", "ligne", 1), 0);
    EXPECT_EQ(readFile(c + "/LOG/JOUR.log"), "ligne\n");
    EXPECT_EQ(DOS::AppendFile("C:\\LOG\\JOUR.TXT", "a", 0), 0);
    EXPECT_EQ(readFile(c + "/LOG/JOUR.TXT"), "a\n");

    writeFile(installFile("VB.ini"), "[FACTURATION]\nLIEU=Lyon\n");
    EXPECT_EQ(DOS::AppendFile("C:\\LOG\\JOUR", "b", 2), 1);
    const std::string log = readFile(c + "/LOG/JOUR.log");
    const std::string line = log.substr(log.find('\n') + 1);
    EXPECT_EQ(line[2], '/');
    EXPECT_EQ(line.substr(19), std::string(";Lyon;") + DOS::ComputerName() + ";b\n");

    EXPECT_EQ(DOS::AppendFile("C:\\", "x", 0), -1);
    EXPECT_EQ(DOS::AppendFile(nullptr, "x", 0), -1);
    EXPECT_EQ(DOS::AppendFile("C:\\missing\\x.log", "x", 0), 0);
}

TEST_F(DosFiles, TemporaryFilesAreUniqueAndPrivate) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nTMPDIR=%ZORTA_TEST_TMP%\\tmp\n");
    setenv("ZORTA_TEST_TMP", "C:", 1);
    const std::string first = DOS::GetTmpFile(nullptr);
    const std::string second = DOS::GetTmpFile(nullptr);
    const std::string folder = "C:\\tmp\\zorta-" + std::to_string(geteuid()) + "\\";
    EXPECT_EQ(first, folder + "~ZortaTmp" + std::to_string(getpid()) + ".txt");
    EXPECT_EQ(second, folder + "~ZortaTmp" + std::to_string(getpid()) + "-1.txt");
    struct stat st;
    ASSERT_EQ(stat((c + "/tmp/zorta-" + std::to_string(geteuid())).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Patterns never leave the private folder, and are never formats.
    EXPECT_STREQ(DOS::GetTmpFile("..\\escape%d.txt"), "");
    EXPECT_STREQ(DOS::GetTmpFile("/abs"), "");
    EXPECT_EQ(std::string(DOS::GetTmpFile("x%s%n.tmp")), folder + "x%s%n.tmp");
}

TEST_F(DosFiles, TemporaryFilesLeftEmptyGoWithTheProcess) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nTMPDIR=C:\\tmp\n");
    ASSERT_STRNE(DOS::GetTmpFile("parent.tmp"), "");
    testing_support::ChildProcess child([&] {
        if (!*DOS::GetTmpFile("unused.tmp") || !*DOS::GetTmpFile("filled.tmp")) return 1;
        writeFile(c + "/tmp/zorta-" + std::to_string(geteuid()) + "/filled.tmp", "data");
        std::exit(0);
    });
    ASSERT_EQ(child.wait(), 0);
    const std::string folder = "tmp/zorta-" + std::to_string(geteuid()) + "/";
    EXPECT_FALSE(exists(folder + "unused.tmp"));
    EXPECT_EQ(readFile(c + "/" + folder + "filled.tmp"), "data");
    EXPECT_TRUE(exists(folder + "parent.tmp")) << "a forked child leaves its parent's files alone";
    DOS::Reset();
    EXPECT_FALSE(exists(folder + "parent.tmp"));
}

TEST_F(DosFiles, TwoProcessesNeverGetTheSameTemporaryFile) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nTMPDIR=C:\\tmp\n");
    const std::string names = root / "names.txt";
    const auto ask = [&] {
        DOS::Reset();
        for (int i = 0; i < 20; ++i)
            DOS::AppendFile(names.c_str(), DOS::GetTmpFile("same.tmp"), 0);
        return 0;
    };
    testing_support::ChildProcess one(ask);
    testing_support::ChildProcess two(ask);
    EXPECT_EQ(one.wait(), 0);
    EXPECT_EQ(two.wait(), 0);
    std::set<std::string> unique;
    size_t lines = 0;
    const std::string all = readFile(names);
    for (size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1, ++lines)
        unique.insert(all.substr(at, end - at));
    EXPECT_EQ(lines, 40u);
    EXPECT_EQ(unique.size(), 40u);
    EXPECT_EQ(unique.count(""), 0u);
}

TEST_F(DosFiles, CreateLinkWritesADesktopEntry) {
    EXPECT_EQ(DOS::CreateLink("C:\\bin\\ZortaPad|/G \"x y\"", "C:\\Pad.lnk", "Editeur \xE9"), 0);
    const std::string entry = readFile(c + "/Pad.desktop");
    EXPECT_NE(entry.find("Exec=\"" + c + "/bin/ZortaPad\" /G \"x y\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Name=Editeur \xC3\xA9\n"), std::string::npos) << entry;
    EXPECT_NE(DOS::CreateLink("C:\\bin\\x", "C:\\missing\\x.lnk", nullptr), 0);
    EXPECT_NE(DOS::CreateLink(nullptr, "C:\\x.lnk", nullptr), 0);
}

TEST_F(DosFiles, WinConvertsTheFileInPlace) {
    writeFile(c + "/w.txt", std::string("\xE9t\xE9\0\xE0", 5));
    EXPECT_EQ(DOS::win("C:\\w.txt", -1, 1), 1); // Windows accents are there
    EXPECT_EQ(DOS::win("C:\\w.txt", 1, 1), 3);
    EXPECT_EQ(readFile(c + "/w.txt"), std::string("\x82t\x82\0\x85", 5));
    EXPECT_EQ(DOS::win("C:\\w.txt", 1, 1), 254); // already converted
    EXPECT_EQ(DOS::win("C:\\w.txt", 0, 0), 3);
    EXPECT_EQ(readFile(c + "/w.txt"), std::string("\xE9t\xE9\0\xE0", 5));
    EXPECT_EQ(DOS::win("C:\\missing.txt", 0, 0), -1);
}

} // namespace
