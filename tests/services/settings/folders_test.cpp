#include "services/settings/folders.h"

#include "services/startup/shared_records.h"
#include "tests/services/recording_screens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string normalised(const char* path, int withSlash, int* length = nullptr) {
    char buffer[260];
    std::strcpy(buffer, path);
    const int result = directory(buffer, withSlash);
    if (length) *length = result;
    return buffer;
}

TEST(Directory, NormalisesFolderNames) {
    int length = 0;
    EXPECT_EQ(normalised("C:\\data/file.txt", 1, &length), "C:\\data\\");
    EXPECT_EQ(length, 8);
    EXPECT_EQ(normalised("C:\\data\\", 0), "C:\\data");
    EXPECT_EQ(normalised("C:\\data\\x.y", 1), "C:\\data\\");
    EXPECT_EQ(normalised("C:\\x.y", 1), "C:\\x.y\\"); // the drive part is never examined
    EXPECT_EQ(normalised("C:/a/b/c", 1), "C:/a\\b\\c\\");
    EXPECT_EQ(normalised("C:\\dir.v2\\sub", 1), "C:\\dir.v2\\sub\\"); // a dot in an earlier component stays
}

TEST(Directory, EmptyOrNullGivesZero) {
    char empty[4] = "";
    EXPECT_EQ(directory(empty, 1), 0);
    EXPECT_EQ(directory(nullptr, 1), 0);
}

TEST(Directory, SizedFormRefusesASeparatorThatDoesNotFit) {
    char full[8] = "C:\\abcd";
    EXPECT_EQ(directory(full, 1, sizeof full), -1);
    EXPECT_STREQ(full, "C:\\abcd");
    char roomy[9] = "C:\\abcd";
    EXPECT_EQ(directory(roomy, 1, sizeof roomy), 8);
    EXPECT_STREQ(roomy, "C:\\abcd\\");
}

class FolderTokens : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(savedInstall, pvg->installFolder, sizeof savedInstall);
        std::memcpy(savedLocal, pvg->localFolder, sizeof savedLocal);
        std::strcpy(pvg->installFolder, "C:\\ZORTA\\");
        std::strcpy(pvg->localFolder, "D:\\LOCAL\\");
    }
    void TearDown() override {
        std::memcpy(pvg->installFolder, savedInstall, sizeof savedInstall);
        std::memcpy(pvg->localFolder, savedLocal, sizeof savedLocal);
    }
    char savedInstall[100];
    char savedLocal[100];
};

TEST_F(FolderTokens, ExpandInstallAndLocalFolders) {
    char text[260] = "..L\\INI\\a.ini";
    EXPECT_EQ(ReplaceStdDir(text, 'L', sizeof text), 1);
    EXPECT_STREQ(text, "C:\\ZORTA\\INI\\a.ini");

    char local[260] = "...\\x";
    EXPECT_EQ(ReplaceStdDir(local, 'R', sizeof local), 1);
    EXPECT_STREQ(local, "D:\\LOCAL\\x");
    char install[260] = "...\\x";
    EXPECT_EQ(ReplaceStdDir(install, 'L', sizeof install), 1);
    EXPECT_STREQ(install, "C:\\ZORTA\\x");

    char several[260] = "..n\\a;..l\\b";
    EXPECT_EQ(ReplaceStdDir(several, 0, sizeof several), 2);
    EXPECT_STREQ(several, "D:\\LOCAL\\a;C:\\ZORTA\\b");
}

TEST_F(FolderTokens, UnknownTokensStay) {
    char text[260] = "..Q\\x";
    EXPECT_EQ(ReplaceStdDir(text, 'R', sizeof text), 0);
    EXPECT_STREQ(text, "..Q\\x");
}

TEST_F(FolderTokens, AnExpansionThatDoesNotFitLeavesTheTextUnchanged) {
    char text[16] = "..L\\abc";
    EXPECT_EQ(ReplaceStdDir(text, 'L', 15), 1); // 12 characters and the terminator, a byte to spare
    char tight[16] = "..L\\abcd";
    EXPECT_EQ(ReplaceStdDir(tight, 'L', 14), -1); // would be 13 + terminator: no byte to spare
    EXPECT_STREQ(tight, "..L\\abcd");
    char mixed[24] = "..L\\a..R\\b";
    EXPECT_EQ(ReplaceStdDir(mixed, 'L', 20), -1); // the second would fit, the first no more
    EXPECT_STREQ(mixed, "..L\\a..R\\b");
    EXPECT_EQ(ReplaceStdDir(nullptr, 'L', 10), 0);
}

class InstallFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(savedInstall, pvg->installFolder, sizeof savedInstall);
        std::memcpy(savedLocal, pvg->localFolder, sizeof savedLocal);
        root = std::filesystem::temp_directory_path() / ("zorta_env_" + std::to_string(getpid()));
        std::filesystem::create_directories(root / "DLL");
    }
    void TearDown() override {
        unsetenv("ZORTA");
        std::filesystem::remove_all(root);
        std::memcpy(pvg->installFolder, savedInstall, sizeof savedInstall);
        std::memcpy(pvg->localFolder, savedLocal, sizeof savedLocal);
    }
    // The temporary root as `directory` leaves it: separators past the first three characters turned into
    // backslashes, one at the end.
    std::string rootAsFolder() const {
        std::string folder = root.string() + "\\";
        std::replace(folder.begin() + 3, folder.end(), '/', '\\');
        return folder;
    }
    char savedInstall[100];
    char savedLocal[100];
    std::filesystem::path root;
    testing_support::RecordingScreens screens;
};

TEST_F(InstallFolder, ComesFromTheZortaVariableWithItsDllFolder) {
    setenv("ZORTA", root.c_str(), 1);
    EXPECT_EQ(get_env(), 2);
    const std::string expected = rootAsFolder();
    EXPECT_EQ(std::string(pvg->installFolder), expected);
    EXPECT_EQ(std::string(pvg->localFolder), expected);
    EXPECT_EQ(screens.global.printed, "");
}

TEST_F(InstallFolder, IsCutAtItsDllFolderWhicheverSeparatorItUses) {
    const std::string given = root.string() + "/DLL/";
    setenv("ZORTA", given.c_str(), 1);
    EXPECT_EQ(get_env(), 2);
    const std::string expected = rootAsFolder();
    EXPECT_EQ(std::string(pvg->installFolder), expected);
}

TEST_F(InstallFolder, WithoutDllFolderItIsReportedInvalid) {
    std::filesystem::remove(root / "DLL");
    setenv("ZORTA", root.c_str(), 1);
    EXPECT_EQ(get_env(), 0);
    EXPECT_NE(screens.global.printed.find("Invalide ; ZORTA=...\\ZORTA\\ Correctement"), std::string::npos)
        << screens.global.printed;
}

TEST_F(InstallFolder, AnOverLongFolderIsRefusedAndTheOldOneKept) {
    std::strcpy(pvg->installFolder, "C:\\KEPT\\");
    const std::string tooLong = "/" + std::string(120, 'z');
    setenv("ZORTA", tooLong.c_str(), 1);
    get_env();
    EXPECT_STREQ(pvg->installFolder, "C:\\KEPT\\");
    EXPECT_NE(screens.global.printed.find("trop long (121 caract\xe8res, au plus 98)"), std::string::npos)
        << screens.global.printed;
}

TEST_F(InstallFolder, ATooLongFolderIsReportedWithItsLengthAndTheLocalFolderKeepsItsOwnRule) {
    pvg->installFolder[0] = pvg->localFolder[0] = '\0';
    const std::string tooLong = "/" + std::string(153, 'z');
    setenv("ZORTA", tooLong.c_str(), 1);
    get_env();
    EXPECT_NE(screens.global.printed.find("trop long (154 caract\xe8res, au plus 98)"), std::string::npos)
        << screens.global.printed;
    // The local folder copies the install folder, which stayed empty: nothing to report about it.
    EXPECT_EQ(screens.global.printed.find("(0 caract"), std::string::npos) << screens.global.printed;
    EXPECT_EQ(screens.global.printed.find("local"), std::string::npos) << screens.global.printed;
    EXPECT_STREQ(pvg->installFolder, "");
    EXPECT_STREQ(pvg->localFolder, "");
}

TEST_F(InstallFolder, WithoutVariableTheFallbackIsQuiet) {
    unsetenv("ZORTA");
    get_env();
    EXPECT_EQ(screens.global.printed, ""); // the drive's ZORTA folder is a guess: no complaint
    EXPECT_EQ(std::string(pvg->installFolder).substr(1), ":\\ZORTA\\");
}

} // namespace
