#pragma once
// The library's local folder moved into a temporary folder of the process, with its "INI\" made, so that a
// target reads and writes the data files it is given and no one else's; message boxes answer OK unseen.
#include "platform/ui/message_box.h"
#include "services/startup/shared_records.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/temp_folder.h"

#include <cstring>
#include <filesystem>
#include <string>

namespace fuzz {

class LocalFolder {
public:
    LocalFolder() {
        std::filesystem::create_directories(root_ / "local/INI");
        const std::string folder = root_.path() + "/local\\";
        check(pvg != nullptr && folder.size() < sizeof pvg->localFolder, "no room for the local folder");
        std::memcpy(pvg->localFolder, folder.c_str(), folder.size() + 1);
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) { return platform::IDOK; });
    }
    // The host path of a file of "INI\".
    std::string iniFile(const std::string& name) const { return root_ / ("local/INI/" + name); }
    void write(const std::string& name, const std::string& bytes) const {
        testing_support::writeFile(iniFile(name), bytes);
    }

private:
    testing_support::TempFolder root_;
};

} // namespace fuzz
