// Writing the layered store: every place named, failures reported, numbers without the locale.
#include "services/dos/dos.h"
#include "services/settings/settings_store.h"

#include "platform/settings/registry.h"
#include "tests/services/settings_fixture.h"
#include "tests/support/comma_locale.h"

#include <sys/stat.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using platform::registry::Hive;
using testing_support::readFile;
using testing_support::writeFile;

using SettingsWrite = SettingsTest;

TEST_F(SettingsWrite, DefaultLettersWriteInstallAndLocalFiles) {
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", nullptr, "EDITOR", "vi"), 1);
    EXPECT_EQ(readFile(installFile("ZORTA.ini")), "[GENERAL]\nEDITOR=vi\n");
    EXPECT_EQ(readFile(localFile("ZORTA.def")), "[GENERAL]\nEDITOR=vi\n");
    EXPECT_EQ(DOS::Sets_ini("ZORTA", "GENERAL", "S", "EDITOR", "ed"), 1);
    EXPECT_EQ(readFile(localFile("DefLocal.DEF")), "[ZORTA_GENERAL]\nEDITOR=ed\n");
}

TEST_F(SettingsWrite, SzortaIsReadOnlyAsAnAlias) {
    EXPECT_EQ(sets_ini("SZORTA", "GENERAL", "L", "EDITOR", "vi"), 1);
    EXPECT_TRUE(std::filesystem::exists(installFile("SZORTA.ini")));
    EXPECT_FALSE(std::filesystem::exists(installFile("ZORTA.ini")));
}

TEST_F(SettingsWrite, NullValueDeletes) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nEDITOR=vi\nKEEP=1\n");
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "L", "editor", nullptr), 1);
    EXPECT_EQ(readFile(installFile("ZORTA.ini")), "[GENERAL]\nKEEP=1\n");
    EXPECT_EQ(read("ZORTA", "GENERAL", "L", "EDITOR"), "<-1>");
}

TEST_F(SettingsWrite, RegistryGetsAString) {
    EXPECT_EQ(sets_ini("ZORTA", "INSTALL", "BM", "Folder", "C:\\ZORTA\\"), 0);
    const auto value = platform::registry::queryValue(Hive::LocalMachine,
                                                      "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL", "Folder");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::registry::ValueType::String);
    EXPECT_EQ(value->text, "C:\\ZORTA\\");
    EXPECT_EQ(read("ZORTA", "INSTALL", "BM", "folder"), "C:\\ZORTA\\");
    // The registry keeps values only: a null value is a failure there.
    EXPECT_EQ(sets_ini("ZORTA", "INSTALL", "BM", "Folder", nullptr), -1);
}

TEST_F(SettingsWrite, TheLastPlaceWrittenGivesTheResult) {
    // The install folder cannot be written; the local one can. Each place answers in its own terms.
    std::filesystem::remove_all(root / "install/INI");
    struct Case {
        const char* letters;
        const char* value;
        int result;
    };
    const Case cases[] = {
        {"B", "vi", 0},  {"B", nullptr, -1}, {"L", "vi", 0},  {"R", "vi", 1},      {"LR", "vi", 1},
        {"RL", "vi", 0}, {"LB", "vi", 0},    {"BL", "vi", 0}, {"RB", nullptr, -1}, {"XYZ", "vi", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        EXPECT_EQ(sets_ini("ZORTA", "GENERAL", c.letters, "EDITOR", c.value), c.result);
    }
    // The places that could be written still are, after a failure in another.
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "RL", "EDITOR", "ed"), 0);
    EXPECT_EQ(read("ZORTA", "GENERAL", "R", "EDITOR"), "ed");
}

TEST_F(SettingsWrite, ReadOnlyFileIsNeverTruncated) {
    writeFile(installFile("ZORTA.ini"), "[GENERAL]\nEDITOR=vi\n");
    chmod(installFile("ZORTA.ini").c_str(), 0444);
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "L", "EDITOR", "emacs"), 0);
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "L", "OTHER", std::string(5000, 'x').c_str()), 0);
    EXPECT_EQ(readFile(installFile("ZORTA.ini")), "[GENERAL]\nEDITOR=vi\n");
}

TEST_F(SettingsWrite, ResultCodes) {
    EXPECT_EQ(sets_ini(nullptr, "GENERAL", "LR", "EDITOR", "vi"), -2);
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "", "EDITOR", "vi"), -3);
    EXPECT_EQ(sets_ini("ZORTA", "", "LR", "EDITOR", "vi"), -6);
    EXPECT_EQ(sets_ini("ZORTA", "GENERAL", "LR", nullptr, "vi"), -6);
    EXPECT_EQ(seti_ini("ZORTA", "GENERAL", "LR", "N", nullptr), -1);
    EXPECT_EQ(setr_ini("ZORTA", "GENERAL", "LR", "N", nullptr), -1);
    EXPECT_FALSE(std::filesystem::exists(installFile("ZORTA.ini")));
}

TEST_F(SettingsWrite, NumbersRoundTripUnderACommaLocale) {
    ASSERT_TRUE(testing_support::useCommaLocale(root / ""));
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5") << "the locale writes a decimal comma";

    const double values[] = {3.141592653589793, -0.000123456789, 1e300, 2.5};
    for (const double value : values) {
        ASSERT_EQ(setr_ini("ZORTA", "REALS", "L", "V", &value), 1);
        double back = 0;
        EXPECT_GT(getr_ini("ZORTA", "REALS", "L", "V", &back), 0);
        EXPECT_DOUBLE_EQ(back, value);
    }
    const int number = -42;
    ASSERT_EQ(seti_ini("ZORTA", "REALS", "L", "I", &number), 1);
    testing_support::restoreCLocale();
    EXPECT_EQ(readFile(installFile("ZORTA.ini")), "[REALS]\nV=2.5\nI=-42\n");
    EXPECT_EQ(readFile(installFile("ZORTA.ini")).find(','), std::string::npos);
}

} // namespace
