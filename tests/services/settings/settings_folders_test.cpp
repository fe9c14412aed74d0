// The install and local folders found at start-up through the store, and folder tokens in settings.
#include "services/settings/folders.h"
#include "services/settings/settings_store.h"

#include "platform/settings/registry.h"
#include "tests/services/settings_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using testing_support::writeFile;

// A host folder as the system writes folders: backslashes after the first three characters, one at the end.
std::string systemFolder(std::string folder) {
    for (size_t i = 3; i < folder.size(); ++i)
        if (folder[i] == '/') folder[i] = '\\';
    return folder + "\\";
}

using SettingsFolders = SettingsTest;

TEST_F(SettingsFolders, InstallFolderFromTheMachineRegistryLocalFolderFromItsIniFile) {
    unsetenv("ZORTA");
    std::filesystem::create_directories(root / "custom/DLL");
    std::filesystem::create_directories(root / "custom/INI");
    writeFile(root / "custom/INI/ZORTA.ini", "[GENERAL]\nDEFAUT=" + root / "mine" + "\n");
    ASSERT_TRUE(platform::registry::setValue(
        platform::registry::Hive::LocalMachine, "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL", "Folder",
        platform::registry::Value::string(root.path() + "\\custom\\DLL")));
    EXPECT_EQ(get_env(), 2);
    EXPECT_EQ(std::string(pvg->installFolder), systemFolder(root / "custom"));
    EXPECT_EQ(std::string(pvg->localFolder), systemFolder(root / "mine"));
}

TEST_F(SettingsFolders, ShortSettingsAreIgnored) {
    setenv("ZORTA", (root / "install").c_str(), 1);
    ASSERT_TRUE(platform::registry::setValue(platform::registry::Hive::LocalMachine,
                                             "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL", "Folder",
                                             platform::registry::Value::string("C:\\a")));
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nDEFAUT=x\n");
    get_env();
    unsetenv("ZORTA");
    EXPECT_EQ(std::string(pvg->installFolder), systemFolder(root / "install"));
    EXPECT_EQ(std::string(pvg->localFolder), systemFolder(root / "install"));
}

TEST_F(SettingsFolders, ValuesExpandFolderTokensOfTheirPlace) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nHELP=...\\help\\\n");
    writeFile(localFile("ZORTA.def"), "[GENERAL]\nHELP=...\\aide\\\nTMP=..L\\tmp\\\n");
    const std::string install = pvg->installFolder, local = pvg->localFolder;
    EXPECT_EQ(read("ZORTA", "GENERAL", "L", "HELP"), install + "help\\");
    EXPECT_EQ(read("ZORTA", "GENERAL", "R", "HELP"), local + "aide\\");
    EXPECT_EQ(read("ZORTA", "GENERAL", "R", "TMP"), install + "tmp\\");
}

} // namespace
