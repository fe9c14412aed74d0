// Programs, processes, services, environment, search path, rights, pop-up menus, help, folder picker, trace.
#include "services/dos/dos.h"

#include "platform/settings/registry.h"
#include "platform/system/process.h"
#include "platform/ui/message_box.h"
#include "platform/ui/user_dialogs.h"
#include "tests/services/settings_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/user_mode_emulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
namespace registry = platform::registry;

namespace {

using testing_support::readFile;
using testing_support::writeFile;

class DosSystem : public SettingsTest {
protected:
    std::string c;
    std::string savedPath = std::getenv("PATH");

    void SetUp() override {
        SettingsTest::SetUp();
        c = root / "c";
        fs::create_directories(c + "/bin");
        setenv("ZORTA_DRIVE_C", c.c_str(), 1);
        DOS::Reset();
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        unsetenv("ZORTA_DRIVE_C");
        platform::setPopupMenuHandler(nullptr);
        platform::setHelpViewer(nullptr);
        platform::setFolderPicker(nullptr);
        platform::setMessageBoxHandler(nullptr);
        DOS::Reset();
        SettingsTest::TearDown();
    }

    void script(const std::string& name, const std::string& body) {
        writeFile(c + "/bin/" + name, "#!/bin/sh\n" + body);
        chmod((c + "/bin/" + name).c_str(), 0755);
    }
};

TEST_F(DosSystem, MshellWaitsWithAndWithoutALimit) {
    script("two", "sleep 2\nexit 7\n");
    script("quick", "sleep 0.2\nexit 3\n");
    EXPECT_EQ(mshell("C:\\bin\\two.exe", 1000, 0), STILL_ACTIVE);
    EXPECT_EQ(mshell("C:\\bin\\two.exe", 3000, 0), 7);
    EXPECT_EQ(mshell("\"C:\\bin\\quick\" ignored args", 500, 0), 3); // below 1,000: no limit
    EXPECT_EQ(DOS::Shell("C:\\bin\\quick", 1), 3);
}

TEST_F(DosSystem, MshellWithoutWaitAnswersTheNewProcess) {
    script("record", "echo \"$@\" > \"$(dirname \"$0\")/args\"\n");
    const int pid = mshell("C:\\bin\\record \"a b\" c", 0, 0);
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(c + "/bin/args") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readFile(c + "/bin/args"), "a b c\n");
    EXPECT_EQ(mshell(nullptr, 0, 0), -1);
    EXPECT_EQ(mshell("   ", 0, 0), -1);
}

// Copies of the probe under a name of this test alone, so no other program is ever ended.
TEST_F(DosSystem, FindProcessEndsOtherInstancesNeverItself) {
    SKIP_UNDER_USER_MODE_EMULATOR("every emulated program runs under the emulator's name");
    const std::string name = "zprobe" + std::to_string(getpid());
    const std::string program = root / name;
    fs::copy_file(PROCESS_PROBE, program);
    setenv("LD_LIBRARY_PATH", ZORTA_LIBRARY_DIR, 1);
    const pid_t first = platform::spawnProcess({program, "sleep"}, false);
    const pid_t second = platform::spawnProcess({program, "sleep"}, false);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    const auto running = [&] { return DOS::FindProcess((name + ".exe").c_str(), 0) != 0; };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    const std::string out = root / "found";
    const pid_t finder = platform::spawnProcess({program, "find", name, out, "3"}, false);
    EXPECT_EQ(platform::waitForProcess(finder, 30000), 0);
    EXPECT_EQ(platform::waitForProcess(first, 30000), 128 + SIGKILL);
    EXPECT_EQ(platform::waitForProcess(second, 30000), 128 + SIGKILL);
    const std::string found = readFile(out);
    EXPECT_NE(found.substr(0, found.find(' ')), "0");
    EXPECT_TRUE(fs::exists(program + ".BAK"));
    EXPECT_FALSE(fs::exists(program));
    EXPECT_EQ(DOS::FindProcess(name.c_str(), 0), 0);
}

TEST_F(DosSystem, CloseServiceRunsTheAskedSteps) {
    script("systemctl", "echo \"$@\" >> \"$(dirname \"$0\")/calls\"\n"
                        "case \"$*\" in *start*) exit 0 ;; esac\nexit 0\n");
    setenv("PATH", (c + "/bin:" + savedPath).c_str(), 1);
    EXPECT_EQ(DOS::CloseService("zorta", 0x10 | 0x8), 1); // automatic, then continued (here: started)
    EXPECT_EQ(readFile(c + "/bin/calls"), "cat --quiet zorta\nunmask --quiet zorta\nenable --quiet zorta\n"
                                          "start --quiet zorta\n");
    fs::remove(c + "/bin/calls");
    EXPECT_EQ(DOS::CloseService("zorta", 0x4), 0); // stopped, but a unit cannot be deleted
    EXPECT_EQ(readFile(c + "/bin/calls"), "cat --quiet zorta\nstop --quiet zorta\n");
}

TEST_F(DosSystem, EnvironmentValuesLiveInTheRegistry) {
    EXPECT_EQ(DOS::SetEnv("PATH", "C:\\ZORTA\\DLL", 1), 1);
    const std::optional<registry::Value> path =
        registry::queryValue(registry::Hive::LocalMachine,
                             "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, registry::ValueType::ExpandString);
    EXPECT_STREQ(DOS::GetEnv("path", 1), "C:\\ZORTA\\DLL");

    EXPECT_EQ(DOS::GetEnv("ZORTA_X", 0), nullptr); // no user environment key yet
    EXPECT_EQ(DOS::SetEnv("ZORTA_X", "valeur", 2), 1);
    EXPECT_STREQ(std::getenv("ZORTA_X"), "valeur");
    EXPECT_STREQ(DOS::GetEnv("ZORTA_X", 0), "valeur");
    EXPECT_EQ(DOS::SetEnv("ZORTA_X", "", 2), 1);
    EXPECT_EQ(std::getenv("ZORTA_X"), nullptr);
    EXPECT_STREQ(DOS::GetEnv("ZORTA_X", 0), "");
    EXPECT_EQ(DOS::GetEnv(nullptr, 0), nullptr);
}

TEST_F(DosSystem, VerifyPathMatchesWholeItemsAndEditsOnlyItsList) {
    DOS::SetEnv("PATH", "C:\\AB;C:\\A\\;C:\\Other", 1);
    setenv("PATH", "/usr/bin:/bin", 1);
    EXPECT_EQ(DOS::VerifyPath("C:\\A", 0), 1);
    EXPECT_EQ(DOS::VerifyPath("C:\\A", 2), 1);
    EXPECT_STREQ(DOS::GetEnv("PATH", 1), "C:\\AB;C:\\Other");
    EXPECT_STREQ(std::getenv("PATH"), "/usr/bin:/bin");
    EXPECT_EQ(DOS::VerifyPath("C:\\A", 0), 0);

    EXPECT_EQ(DOS::VerifyPath("C:\\New", 1), 1);
    EXPECT_STREQ(DOS::GetEnv("PATH", 1), "C:\\AB;C:\\Other;C:\\New");
    EXPECT_EQ(std::string(std::getenv("PATH")), "/usr/bin:/bin:" + c + "/New");

    EXPECT_EQ(DOS::VerifyPath((c + "/New").c_str(), 2), 1); // found in the process's list, as a host folder
    EXPECT_STREQ(std::getenv("PATH"), "/usr/bin:/bin");
    EXPECT_STREQ(DOS::GetEnv("PATH", 1), "C:\\AB;C:\\Other;C:\\New");
}

TEST_F(DosSystem, RightsGiveEveryoneFullAccess) {
    writeFile(c + "/f", "x");
    chmod((c + "/f").c_str(), 0600);
    EXPECT_EQ(DOS::RightTakeOwnership("C:\\f", 0), 1);
    struct stat st;
    ASSERT_EQ(stat((c + "/f").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    EXPECT_EQ(DOS::RightTakeOwnership("C:\\missing", 0), 0);
    EXPECT_EQ(DOS::RightIsElevated(), geteuid() == 0 ? 1 : 0);
    EXPECT_EQ(DOS::SetRegKeySecurityAllAccess(0, "Software\\None"), -1);
}

TEST_F(DosSystem, PopupMenusAreReadFromSettings) {
    writeFile(installFile("MENU.ini"), "[MAIN]\nX=valeur x\n*SOUS=SUB\nY=valeur y\n"
                                       "[SUB]\nS1=s\n*LOOP=SUB\n");
    std::vector<std::string> labels;
    platform::setPopupMenuHandler([&](const platform::PopupMenuRequest& request) {
        for (const platform::MenuItem& item : request.items)
            labels.push_back(item.label + (item.items.empty() ? "" : "(" + item.items[0].label + ")"));
        return request.items[2].command;
    });
    char out[500] = "";
    EXPECT_EQ(DOS::popmenu("MENU", "MAIN", out), 3); // X, S1 in the sub-menu, then Y
    EXPECT_STREQ(out, "valeur y");
    EXPECT_EQ(labels, (std::vector<std::string>{"X", "SOUS(S1)", "Y"}));
    EXPECT_EQ(DOS::popmenu("MENU", nullptr, out), -1);

    int inner = -2;
    platform::setPopupMenuHandler([&](const platform::PopupMenuRequest&) {
        inner = DOS::popmenu("MENU", "MAIN", nullptr); // one menu at a time
        return 0;
    });
    EXPECT_EQ(DOS::popmenu("MENU", "MAIN", out), 0);
    EXPECT_EQ(inner, 0);
}

TEST_F(DosSystem, HelpFilesAndPopups) {
    fs::create_directories(c + "/help");
    writeFile(c + "/help/ZORTA.chm", "");
    writeFile(installFile("ZORTA.ini"), "[General]\nDirHlp=C:\\help\\\n");
    writeFile(installFile("popup.ini"), "[AIDE]\nSUJET=ligne 1\\nligne 2\n");
    std::vector<platform::HelpRequest> shown;
    platform::setHelpViewer([&](const platform::HelpRequest& request) {
        shown.push_back(request);
        return true;
    });
    EXPECT_EQ(DOS::Aide(nullptr, "\xE9tape", 0), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].file, c + "/help/ZORTA.chm");
    EXPECT_EQ(shown[0].topic, "ETAPE.HTM");
    EXPECT_STREQ(DOS::chemins_aide, "C:\\help\\");

    EXPECT_EQ(DOS::AideHtml("AIDE", "SUJET", 0x81), 1);
    EXPECT_EQ(shown.back().popupText, "ligne 1\nligne 2");
    EXPECT_EQ(DOS::AideHtml("AIDE", "ABSENT", 0x81), -1);
    EXPECT_EQ(DOS::Aide("texte", "titre", 14), 1);
    EXPECT_EQ(shown.back().popupText, "titre\ntexte");
    EXPECT_EQ(DOS::AideHtml("f.chm", nullptr, 1), -1);

    std::string warning;
    platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& box) {
        warning = box.text;
        return platform::IDOK;
    });
    EXPECT_EQ(DOS::Aide("absent", "x", 0), -1);
    EXPECT_EQ(warning, "Fichier  introuvable :absent.chm");
}

TEST_F(DosSystem, GetFolderAnswersThePickersChoice) {
    char out[260] = "x";
    EXPECT_EQ(DOS::GetFolder(0, "C:\\", out, nullptr), 0); // the default picker cancels
    EXPECT_STREQ(out, "");
    std::string title;
    platform::setFolderPicker([&](const platform::FolderRequest& request) {
        title = request.title;
        return std::optional<std::string>("C:\\chosen");
    });
    EXPECT_EQ(DOS::GetFolder(0, "C:\\", out, nullptr), 1);
    EXPECT_STREQ(out, "C:\\chosen");
    EXPECT_EQ(title, "Choisissez un r\xE9pertoire");
}

TEST_F(DosSystem, TraceCopiesShareTheFileAndTheLastClosesIt) {
    const std::string file = root / "trace.txt";
    {
        DOS first(std::fopen(file.c_str(), "w"));
        EXPECT_EQ(first.trace("a%d\n", 1), 1);
        DOS copy = first;
        EXPECT_EQ(copy.trace(L"%ls\n", L"b\u00e9"), 1);
        // Windows meanings: "%s" wide, "%S" narrow in the code page.
        EXPECT_EQ(copy.trace(L"%s|%S\n", L"c\u00e9", "d\xE9"), 1);
    }
    EXPECT_EQ(readFile(file), "a1\nb\xE9\nc\xE9|d\xE9\n\nDOS::trace (STPRINT) FERMETURE\n");
    EXPECT_EQ(DOS().trace("nothing"), 0);
}

TEST_F(DosSystem, MachineFigures) {
    int available = 0;
    EXPECT_GT(DOS::GetMemUsed(&available), 0);
    EXPECT_GT(available, 0);
    EXPECT_GT(std::strlen(DOS::ComputerName()), 0u);
    EXPECT_EQ(DOS::WinNT(), 1);
}

TEST_F(DosSystem, SpeakerIsSilentWithoutThePortModule) {
    EXPECT_EQ(BeepBuzzer(1000, 10), 0);
    const BeepRecord speaker{-1000, -10, 0};
    EXPECT_EQ(_bip(&speaker), 0);
    const BeepRecord none{0, 100, 0};
    EXPECT_EQ(_bip(&none), 0);
    EXPECT_EQ(_bip(nullptr), 0);
}

} // namespace
