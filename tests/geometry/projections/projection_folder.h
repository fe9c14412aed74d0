#pragma once
// A local folder of one test with its "INI\" folder, holding the shipped projection data or files the test
// writes; the projection and grid lists are freed, the screens recorded and the once-per-process boxes
// reset around every test.
#include "geometry/projections/ctes_proj.h"
#include "platform/ui/message_box.h"
#include "services/output/message_boxes.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

#include "tests/services/recording_screens.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

class ProjectionFolder : public ::testing::Test {
protected:
    testing_support::TempFolder root;
    testing_support::RecordingScreens screens;
    std::vector<platform::MessageBoxRequest> boxes;

    void SetUp() override {
        ASSERT_NE(pvg, nullptr);
        std::memcpy(savedLocal, pvg->localFolder, sizeof savedLocal);
        std::filesystem::create_directories(root / "local/INI");
        const std::string folder = root.path() + "/local\\";
        ASSERT_LT(folder.size(), sizeof pvg->localFolder);
        std::memcpy(pvg->localFolder, folder.c_str(), folder.size() + 1);
        mprintEnabled = 1;
        mprintf("$G$"); // open the global screen so that every message is recorded
        resetOncePerProcessBoxes();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& box) {
            boxes.push_back(box);
            return platform::IDOK;
        });
    }

    void TearDown() override {
        CtesProj::RemoveAll();
        AltiConvert::RemoveAltiConvert(nullptr);
        platform::setMessageBoxHandler(nullptr);
        std::memcpy(pvg->localFolder, savedLocal, sizeof savedLocal);
    }

    std::string iniFile(const std::string& name) const { return root / ("local/INI/" + name); }
    void write(const std::string& name, const std::string& text) {
        testing_support::writeFile(iniFile(name), text);
    }
    // Copies a file shipped in examples/INI.
    void ship(const std::string& name) {
        std::filesystem::copy_file(std::string(ZORTA_EXAMPLES_DIR) + "/INI/" + name, iniFile(name),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void shipAll() {
        for (const char* name : {"Projections.DEF", "GR3D_ZORTA.TXT", "TRANSLAT_ZORTA.MNT",
                                 "EGM96_FRANCE.MNT", "EGM96_FRANCE_L.MNT"})
            ship(name);
    }
    const std::string& printed() const { return screens.global.printed; }

private:
    char savedLocal[100];
};
