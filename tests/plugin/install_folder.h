#pragma once
// An install folder of the test's own, made the library's install and local folder for the test's lifetime:
// "DLL" holds the plug-in's menu file, "INI\ZORTA.ini" the settings the test writes. The machine registry is
// the test's own too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "services/startup/shared_records.h"
#include "tests/support/temp_folder.h"

namespace plugin::test {

class InstallFolder {
public:
    InstallFolder() {
        std::filesystem::create_directories(root / "install/DLL");
        std::filesystem::create_directories(root / "install/INI");
        std::memcpy(m_savedInstall, pvg->installFolder, sizeof m_savedInstall);
        std::memcpy(m_savedLocal, pvg->localFolder, sizeof m_savedLocal);
        const std::string folder = root.path() + "/install\\";
        EXPECT_LT(folder.size(), sizeof pvg->installFolder);
        std::memcpy(pvg->installFolder, folder.c_str(), folder.size() + 1);
        std::memcpy(pvg->localFolder, folder.c_str(), folder.size() + 1);
        setenv("ZORTA_MACHINE_REGISTRY", (root / "machine").c_str(), 1);
        putMenu("ZORTAPOLY.MNS");
    }
    ~InstallFolder() {
        std::memcpy(pvg->installFolder, m_savedInstall, sizeof m_savedInstall);
        std::memcpy(pvg->localFolder, m_savedLocal, sizeof m_savedLocal);
    }
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    // A file of the "DLL" folder.
    std::string dll(const std::string& name) const { return root / ("install/DLL/" + name); }
    // The shipped menu file under `name` in the "DLL" folder / no menu file there.
    void putMenu(const std::string& name) const {
        std::filesystem::copy_file(MENU_FILE, dll(name), std::filesystem::copy_options::overwrite_existing);
    }
    void removeMenus() const {
        std::filesystem::remove(dll("ZORTAPOLY.MNS"));
        std::filesystem::remove(dll("ZORTAPOLY.CUI"));
    }
    // The settings file "ZORTA" of the install folder.
    void writeSettings(const std::string& text) const {
        testing_support::writeFile(root / "install/INI/ZORTA.ini", text);
    }

    testing_support::TempFolder root;

private:
    char m_savedInstall[sizeof(var_gen::installFolder)];
    char m_savedLocal[sizeof(var_gen::localFolder)];
};

} // namespace plugin::test
