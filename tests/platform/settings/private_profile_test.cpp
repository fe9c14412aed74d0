#include "platform/settings/private_profile.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using platform::profileKeys;
using platform::profileSections;
using platform::profileString;
using platform::writeProfileString;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;
using Names = std::vector<std::string>;

class PrivateProfile : public ::testing::Test {
protected:
    TempFolder folder;
    std::string file = folder / "ZORTA.ini";
};

TEST_F(PrivateProfile, ReadsWithTheWindowsRules) {
    writeFile(file, "top=ignored\r\n"
                    "[General]\r\n"
                    "  Editor =  \"notepad \" \r\n"
                    "; a comment\r\n"
                    "'note\r\n"
                    "Empty=\r\n"
                    "Twice=first\r\n"
                    "twice=second\r\n"
                    "[general]\r\n"
                    "Other=x\r\n"
                    "[INSTALL]\r\n"
                    "Folder='C:\\ZORTA\\'");
    EXPECT_EQ(profileString(file, "GENERAL", "editor"), "notepad ");
    EXPECT_EQ(profileString(file, "General", "Empty"), "");
    EXPECT_EQ(profileString(file, "General", "TWICE"), "first");
    EXPECT_EQ(profileString(file, "General", "Other"), std::nullopt);
    EXPECT_EQ(profileString(file, "General", "top"), std::nullopt);
    EXPECT_EQ(profileString(file, "install", "folder"), "C:\\ZORTA\\");
    EXPECT_EQ(profileString(file, "Missing", "x"), std::nullopt);
    EXPECT_EQ(profileSections(file), (Names{"General", "INSTALL"}));
    EXPECT_EQ(profileKeys(file, "general"), (Names{"Editor", "'note", "Empty", "Twice", "twice"}));
    EXPECT_EQ(profileKeys(file, "Missing"), std::nullopt);
    EXPECT_EQ(profileString(folder / "none.ini", "General", "Editor"), std::nullopt);
    EXPECT_EQ(profileSections(folder / "none.ini"), std::nullopt);
}

TEST_F(PrivateProfile, WritesKeepEveryOtherLine) {
    writeFile(file, "; header comment\r\n[A]\r\nx=1\r\n; keep me\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_TRUE(writeProfileString(file, "a", "X", "10"));
    EXPECT_TRUE(writeProfileString(file, "A", "z", "3"));
    EXPECT_TRUE(writeProfileString(file, "C", "w", "4"));
    EXPECT_EQ(readFile(file), "; header comment\r\n[A]\r\nx=10\r\n; keep me\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"
                              "\r\n[C]\r\nw=4\r\n");
    EXPECT_TRUE(writeProfileString(file, "A", "x", nullptr));
    EXPECT_TRUE(writeProfileString(file, "B", nullptr, nullptr));
    EXPECT_EQ(readFile(file), "; header comment\r\n[A]\r\n; keep me\r\nz=3\r\n\r\n[C]\r\nw=4\r\n");
}

TEST_F(PrivateProfile, CreatesFilesButNotFolders) {
    EXPECT_TRUE(writeProfileString(file, "S", "k", "v"));
    EXPECT_EQ(readFile(file), "[S]\nk=v\n");
    EXPECT_FALSE(writeProfileString(folder / "missing/x.ini", "S", "k", "v"));
    // Removing from a file that does not exist creates nothing.
    EXPECT_TRUE(writeProfileString(folder / "other.ini", "S", "k", nullptr));
    EXPECT_FALSE(std::filesystem::exists(folder / "other.ini"));
}

TEST_F(PrivateProfile, RefusesWhatWouldBreakTheFile) {
    writeFile(file, "[S]\nk=v\n");
    EXPECT_FALSE(writeProfileString(file, "S", "k", "two\nlines"));
    EXPECT_FALSE(writeProfileString(file, "S", "a=b", "v"));
    EXPECT_FALSE(writeProfileString(file, "S]", "k", "v"));
    EXPECT_FALSE(writeProfileString(file, "S", ";k", "v"));
    EXPECT_FALSE(writeProfileString(file, "S", " ", "v"));
    EXPECT_EQ(readFile(file), "[S]\nk=v\n");
}

TEST_F(PrivateProfile, NamesWithSurroundingBlanksReadAndWriteAlike) {
    EXPECT_TRUE(writeProfileString(file, " Sec ", "\tkey ", "1"));
    EXPECT_EQ(profileString(file, " Sec ", "\tkey "), "1");
    EXPECT_TRUE(writeProfileString(file, "Sec", " key", "2"));
    EXPECT_EQ(readFile(file), "[Sec]\nkey=2\n") << "one key, rewritten in place";
    EXPECT_EQ(profileKeys(file, " sec"), (Names{"key"}));
    EXPECT_TRUE(writeProfileString(file, "sec ", "key  ", nullptr));
    EXPECT_EQ(profileString(file, "Sec", "key"), std::nullopt);
}

TEST_F(PrivateProfile, ReadOnlyFileIsNeverTouched) {
    writeFile(file, "[S]\nk=v\n");
    chmod(file.c_str(), 0444);
    EXPECT_FALSE(writeProfileString(file, "S", "k", "new"));
    EXPECT_EQ(readFile(file), "[S]\nk=v\n");
}

TEST_F(PrivateProfile, LongLinesAndNulBytesSurvive) {
    const std::string longValue(5000, 'x');
    const std::string withNul = std::string("[S]\nbin=a\0b\nk=v\n", 16);
    writeFile(file, withNul);
    EXPECT_EQ(profileString(file, "S", "bin"), std::string("a\0b", 3));
    EXPECT_TRUE(writeProfileString(file, "S", "long", longValue.c_str()));
    EXPECT_EQ(profileString(file, "S", "long"), longValue);
    EXPECT_EQ(readFile(file), withNul + "long=" + longValue + "\n");
}

TEST_F(PrivateProfile, TwoProcessesLoseNoKey) {
    constexpr int kKeys = 200;
    const auto writeKeys = [this](const char* prefix) {
        bool ok = true;
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = prefix + std::to_string(i);
            ok = writeProfileString(file, "Keys", key.c_str(), key.c_str()) && ok;
        }
        return ok;
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(writeKeys("child") ? 0 : 1);
    EXPECT_TRUE(writeKeys("parent"));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto keys = profileKeys(file, "Keys");
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->size(), 2u * kKeys);
    EXPECT_EQ(profileString(file, "keys", "child199"), "child199");
    EXPECT_EQ(profileString(file, "keys", "parent0"), "parent0");
}

} // namespace
