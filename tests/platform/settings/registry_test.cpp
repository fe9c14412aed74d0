#include "platform/settings/registry.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace platform::registry;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;
using Names = std::vector<std::string>;

class Registry : public ::testing::Test {
protected:
    TempFolder user, machine;
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", user.path().c_str(), 1);
        setenv("ZORTA_MACHINE_REGISTRY", (machine / "hive").c_str(), 1);
    }
};

TEST_F(Registry, HivesLiveWhereTheEnvironmentSays) {
    EXPECT_EQ(hiveFile(Hive::CurrentUser), user / "zorta/registry.hive");
    EXPECT_EQ(hiveFile(Hive::LocalMachine), machine / "hive/registry.hive");
    EXPECT_TRUE(setValue(Hive::LocalMachine, "Software\\ZORTA_32", "x", Value::dword(1)));
    EXPECT_TRUE(keyExists(Hive::LocalMachine, "software\\zorta_32"));
    EXPECT_FALSE(keyExists(Hive::CurrentUser, "Software\\ZORTA_32"));
}

TEST_F(Registry, NamesIgnoreCaseAndKeepTheirSpelling) {
    ASSERT_TRUE(setValue(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\General", "Editor",
                         Value::string("C:\\\"Programs\"\\ed\xE9.exe")));
    ASSERT_TRUE(setValue(Hive::CurrentUser, "\\software\\zorta_32\\ini\\zorta\\general\\", "EDITOR",
                         Value::string("vi")));
    ASSERT_TRUE(
        setValue(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\Install", "Count", Value::dword(42)));
    const auto value = queryValue(Hive::CurrentUser, "SOFTWARE\\ZORTA_32\\INI\\ZORTA\\GENERAL", "editor");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, ValueType::String);
    EXPECT_EQ(value->text, "vi");
    EXPECT_EQ(valueNames(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\General"), Names{"Editor"});
    EXPECT_EQ(subkeyNames(Hive::CurrentUser, "software\\zorta_32\\ini\\zorta"),
              (Names{"General", "Install"}));
    EXPECT_EQ(subkeyNames(Hive::CurrentUser, "Software"), Names{"ZORTA_32"});
    EXPECT_EQ(queryValue(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\Install", "count")->number, 42u);
    EXPECT_EQ(queryValue(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\Install", "none"), std::nullopt);
    EXPECT_EQ(subkeyNames(Hive::CurrentUser, "Software\\Other"), std::nullopt);
}

TEST_F(Registry, ValuesRoundTripEveryByte) {
    std::string bytes;
    for (int c = 1; c < 256; ++c)
        bytes += static_cast<char>(c);
    Value expandable = Value::string(bytes);
    expandable.type = ValueType::ExpandString;
    ASSERT_TRUE(setValue(Hive::CurrentUser, "K", "name \"quoted\"\n", expandable));
    const auto read = queryValue(Hive::CurrentUser, "k", "NAME \"QUOTED\"\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->type, ValueType::ExpandString);
    EXPECT_EQ(read->text, bytes);
}

TEST_F(Registry, DamagedHiveIsNeitherReadNorReplaced) {
    ASSERT_TRUE(setValue(Hive::CurrentUser, "K", "v", Value::dword(1)));
    const std::string damaged = readFile(hiveFile(Hive::CurrentUser)) + "value \"broken\n";
    writeFile(hiveFile(Hive::CurrentUser), damaged);
    EXPECT_EQ(queryValue(Hive::CurrentUser, "K", "v"), std::nullopt);
    EXPECT_FALSE(setValue(Hive::CurrentUser, "K", "w", Value::dword(2)));
    EXPECT_EQ(readFile(hiveFile(Hive::CurrentUser)), damaged);
}

} // namespace
