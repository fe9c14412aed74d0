// Opening settings files in the configured editor: where the file is looked for, the offer to create it,
// and the editor's command line (a script standing for the editor records its arguments).
#include "services/dos/dos.h"

#include "platform/ui/message_box.h"
#include "tests/services/settings_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using testing_support::readFile;
using testing_support::writeFile;

class EditIni : public SettingsTest {
protected:
    std::string editor;
    std::string arguments;
    std::vector<platform::MessageBoxRequest> questions;
    int answer = platform::IDYES;

    void SetUp() override {
        SettingsTest::SetUp();
        editor = root / "editor.sh";
        arguments = root / "arguments";
        writeFile(editor,
                  "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + arguments + "\"\nexit 4\n");
        chmod(editor.c_str(), 0755);
        writeFile(installFile("ZORTA.ini"), "[GENERAL]\nEDITWAIT=\"" + editor + "\"\n");
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& box) {
            questions.push_back(box);
            return answer;
        });
    }
    void TearDown() override {
        platform::setMessageBoxHandler(nullptr);
        unsetenv("VISUAL");
        SettingsTest::TearDown();
    }
};

TEST_F(EditIni, AMissingFileIsOfferedCreatedAndOpened) {
    EXPECT_EQ(EditIniFile("Projections.DEF", nullptr, 2 | 1), 4); // the editor's exit code: it was waited for
    ASSERT_EQ(questions.size(), 1u);
    const std::string created = localFile("Projections.DEF");
    EXPECT_EQ(questions[0].caption, "Fichier introuvable ");
    EXPECT_EQ(questions[0].text,
              "Fichier \"" + root.path() + "/local\\INI\\Projections.DEF\" introuvable \nLe Creer ?");
    EXPECT_EQ(questions[0].type & 0xF, platform::MB_YESNO);
    EXPECT_TRUE(fs::exists(created));
    EXPECT_EQ(readFile(arguments), created + "\n");
    EXPECT_FALSE(fs::exists(installFile("Projections.DEF")));
}

TEST_F(EditIni, NoIsAnAnswerToo) {
    answer = platform::IDNO;
    EXPECT_EQ(EditIniFile("Projections.DEF", nullptr, 2 | 1), 0);
    EXPECT_FALSE(fs::exists(localFile("Projections.DEF")));
    EXPECT_EQ(EditIniFile("Projections.DEF", nullptr, 1), 0); // without bit 1 nothing is asked
    EXPECT_EQ(questions.size(), 1u);
}

TEST_F(EditIni, TheExtensionOrTheLettersChooseTheFolder) {
    writeFile(installFile("GMAPS.ini"), "");
    writeFile(localFile("GMAPS.def"), "");
    EXPECT_EQ(EditIniFile("GMAPS", nullptr, 1), 4);
    EXPECT_EQ(readFile(arguments), installFile("GMAPS.ini") + "\n"); // the name on disk
    EXPECT_EQ(EditIniFile("GMAPS", "R", 1), 4);
    EXPECT_EQ(readFile(arguments), localFile("GMAPS.def") + "\n");
    EXPECT_EQ(EditIniFile((root.path() + "/local\\INI\\GMAPS.def").c_str(), "L", 1), 4); // its own folder
    EXPECT_EQ(readFile(arguments), localFile("GMAPS.def") + "\n");
    answer = platform::IDNO;
    EXPECT_EQ(EditIniFile("GMAPS", "X", 3), 0); // neither folder: the name as it stands, missing
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Fichier \"GMAPS\" introuvable \nLe Creer ?");
}

TEST_F(EditIni, WithoutASettingTheUsersEditorIsStarted) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\n");
    writeFile(installFile("A.ini"), "");
    setenv("VISUAL", editor.c_str(), 1);
    EXPECT_EQ(EditIniFile("A.ini", nullptr, 1), 4);
    EXPECT_EQ(readFile(arguments), installFile("A.ini") + "\n");
    EXPECT_EQ(EditIniFile(nullptr, nullptr, 1), 0);
    EXPECT_EQ(EditIniFile(std::string(4096, 'a').c_str(), nullptr, 3), 0);
}

} // namespace
