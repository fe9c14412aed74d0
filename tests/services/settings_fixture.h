#pragma once
// Install and local folders, registry hives and settings files of one test, all in a temporary folder.
#include "services/settings/settings_store.h"
#include "services/startup/shared_records.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

class SettingsTest : public ::testing::Test {
protected:
    testing_support::TempFolder root;

    void SetUp() override {
        ASSERT_NE(pvg, nullptr);
        std::memcpy(savedInstall, pvg->installFolder, sizeof savedInstall);
        std::memcpy(savedLocal, pvg->localFolder, sizeof savedLocal);
        std::filesystem::create_directories(root / "install/INI");
        std::filesystem::create_directories(root / "local/INI");
        setFolder(pvg->installFolder, root.path() + "/install\\");
        setFolder(pvg->localFolder, root.path() + "/local\\");
        setenv("XDG_CONFIG_HOME", (root / "user").c_str(), 1);
        setenv("ZORTA_MACHINE_REGISTRY", (root / "machine").c_str(), 1);
    }

    void TearDown() override {
        std::memcpy(pvg->installFolder, savedInstall, sizeof savedInstall);
        std::memcpy(pvg->localFolder, savedLocal, sizeof savedLocal);
    }

    // The install ("L") or local ("R") settings file of that name.
    std::string installFile(const std::string& name) const { return root / ("install/INI/" + name); }
    std::string localFile(const std::string& name) const { return root / ("local/INI/" + name); }

    // gets_ini into a string, with its result.
    static std::string read(const char* file, const char* section, const char* letters, const char* key,
                            int* result = nullptr, int size = 1000);

private:
    char savedInstall[100];
    char savedLocal[100];

    static void setFolder(char (&field)[100], const std::string& folder) {
        ASSERT_LT(folder.size(), sizeof field);
        std::memcpy(field, folder.c_str(), folder.size() + 1);
    }
};

inline std::string SettingsTest::read(const char* file, const char* section, const char* letters,
                                      const char* key, int* result, int size) {
    std::string buffer(static_cast<size_t>(size), '\x01');
    const int found = gets_ini(file, section, letters, key, buffer.data(), size);
    if (result) *result = found;
    return found >= 0 ? std::string(buffer.c_str()) : std::string("<") + std::to_string(found) + ">";
}
