#include "platform/files/path_map.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::TempFolder;

TEST(PathMap, FindsExistingComponentsWithoutCase) {
    TempFolder root;
    std::filesystem::create_directories(root / "Install/INI");
    testing_support::writeFile(root / "Install/INI/Zorta.ini", "");
    EXPECT_EQ(platform::hostPath(root.path() + "\\install\\ini\\ZORTA.INI"), root / "Install/INI/Zorta.ini");
    // From the first missing component on, the path is kept as asked.
    EXPECT_EQ(platform::hostPath(root.path() + "\\INSTALL\\New\\File.def"), root / "Install/New/File.def");
    EXPECT_EQ(platform::hostPath(root.path() + "\\install\\"), root / "Install/");
}

TEST(PathMap, MapsDriveLetters) {
    TempFolder root;
    std::filesystem::create_directories(root / "Temp");
    setenv("ZORTA_DRIVE_C", (root.path() + "/").c_str(), 1);
    EXPECT_EQ(platform::hostPath("c:\\TEMP\\x.txt"), root / "Temp/x.txt");
    unsetenv("ZORTA_DRIVE_C");
    EXPECT_EQ(platform::hostPath("D:\\zorta_no_such_folder\\a"), "/zorta_no_such_folder/a");
    EXPECT_EQ(platform::hostPath("relative\\name"), "relative/name");
}

} // namespace
