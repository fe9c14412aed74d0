#include "platform/files/atomic_file.h"
#include "platform/settings/private_profile.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using testing_support::TempFolder;

// A writer that holds the folder and never lets go must not block a setting's write for ever.
TEST(RewriteFile, GivesUpWithAMessageWhileTheFolderStaysLocked) {
    TempFolder folder;
    const std::string file = folder / "ZORTA.ini";
    const int holder = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::writeProfileString(file, "General", "L", "C:\\ZORTA\\"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("locked by another process for 5 s, nothing written"), std::string::npos) << said;
    EXPECT_FALSE(platform::readWholeFile(file));

    close(holder);
    EXPECT_TRUE(platform::writeProfileString(file, "General", "L", "C:\\ZORTA\\"));
    EXPECT_TRUE(platform::readWholeFile(file));
}

} // namespace
