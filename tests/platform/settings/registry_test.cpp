#include "platform/settings/registry.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
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

// A hive cut short must not make every value unreadable and every later write fail: what can be read is
// used, the damaged bytes are kept aside under a dated name, and the next change writes a sound hive.
TEST_F(Registry, ADamagedHiveIsKeptAsideAndRepairedWithWhatCouldBeRead) {
    ASSERT_TRUE(setValue(Hive::CurrentUser, "K", "v", Value::dword(1)));
    ASSERT_TRUE(setValue(Hive::CurrentUser, "Z\\last", "s", Value::string("cut short")));
    const std::string file = hiveFile(Hive::CurrentUser);
    std::string damaged = readFile(file);
    damaged.resize(damaged.size() - 6);
    writeFile(file, damaged);

    EXPECT_EQ(queryValue(Hive::CurrentUser, "K", "v"), Value::dword(1));
    EXPECT_EQ(queryValue(Hive::CurrentUser, "Z\\last", "s"), std::nullopt);
    ASSERT_TRUE(setValue(Hive::CurrentUser, "Unrelated", "n", Value::dword(7)));

    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
        if (entry.path().filename().string().starts_with("registry.hive.damaged-"))
            copies.push_back(entry.path());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readFile(copies[0]), damaged);

    EXPECT_EQ(queryValue(Hive::CurrentUser, "K", "v"), Value::dword(1));
    EXPECT_EQ(queryValue(Hive::CurrentUser, "Unrelated", "n"), Value::dword(7));
    ASSERT_TRUE(setValue(Hive::CurrentUser, "K", "w", Value::dword(2)));
    EXPECT_EQ(queryValue(Hive::CurrentUser, "K", "w"), Value::dword(2));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()),
                            std::filesystem::directory_iterator{}),
              2)
        << "the repaired hive and one copy of the damaged one";
}

} // namespace
