// Reading the layered store: letters, order, merging, lists, aliases and result codes.
#include "services/dos/dos.h"
#include "services/output/output_mode.h"
#include "services/settings/settings_store.h"
#include "services/settings/settings_store_internal.h"

#include "platform/settings/registry.h"
#include "tests/services/settings_fixture.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using platform::registry::Hive;
using platform::registry::Value;
using testing_support::writeFile;

class SettingsRead : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        writeFile(installFile("ZORTA.ini"), "[GENERAL]\r\n"
                                            "EDITOR=install-editor\r\n"
                                            "EMPTY=\r\n"
                                            "ONLYL=l\r\n"
                                            "ABSENT=\xF9\r\n"
                                            "NUMBER=12abc\r\n"
                                            "X=1\r\n"
                                            "Y=2\r\n"
                                            "'comment=3\r\n"
                                            "[INSTALL]\r\n");
        writeFile(localFile("ZORTA.def"), "[general]\n"
                                          "editor=local-editor\n"
                                          "EMPTY=local\n"
                                          "ONLYR=r\n"
                                          "ABSENT=local\n"
                                          "Y=22\n"
                                          "Z=3\n"
                                          "[LOCAL]\n");
    }
};

TEST_F(SettingsRead, LettersChooseTheOrder) {
    EXPECT_EQ(read("ZORTA", "GENERAL", "LR", "EDITOR"), "install-editor");
    EXPECT_EQ(read("ZORTA", "GENERAL", "RL", "EDITOR"), "local-editor");
    EXPECT_EQ(read("ZORTA", "general", "lr", "editor"), "install-editor");
    EXPECT_EQ(read("ZORTA", "GENERAL", "PLR", "EDITOR"), "install-editor");
    EXPECT_EQ(read("ZORTA", "GENERAL", nullptr, "EDITOR"), "install-editor");
    EXPECT_EQ(read("ZORTA", "GENERAL", "R", "ONLYL"), "<-1>");
    EXPECT_EQ(read("ZORTA", "GENERAL", "LR", "ONLYR"), "r");
}

TEST_F(SettingsRead, AnEmptyValueStopsTheSearch) {
    int result = -9;
    EXPECT_EQ(read("ZORTA", "GENERAL", "LR", "EMPTY", &result), "");
    EXPECT_EQ(result, 0);
}

TEST_F(SettingsRead, TheAbsentMarkerReadsAsAbsent) {
    EXPECT_EQ(read("ZORTA", "GENERAL", "L", "ABSENT"), "<-1>");
    EXPECT_EQ(read("ZORTA", "GENERAL", "LR", "ABSENT"), "local");
}

TEST_F(SettingsRead, MergeJoinsListsWithoutDuplicates) {
    EXPECT_EQ(read("ZORTA", "GENERAL", "L", nullptr),
              "EDITOR;EMPTY;ONLYL;ABSENT;NUMBER;X;Y;"); // the comment key is left out
    EXPECT_EQ(read("ZORTA", "GENERAL", "LR+", ""), "EDITOR;EMPTY;ONLYL;ABSENT;NUMBER;X;Y;editor;ONLYR;Z;");
    EXPECT_EQ(read("ZORTA", nullptr, "L+R", nullptr), "GENERAL;INSTALL;general;LOCAL;");
    // Merged single values stay separate items.
    EXPECT_EQ(read("ZORTA", "GENERAL", "+LR", "Y"), "2;22");
    EXPECT_EQ(read("ZORTA", "GENERAL", "+LRL", "Y"), "2;22");
}

TEST_F(SettingsRead, SharedDefaultsFileUsesFileAndSection) {
    writeFile(localFile("DefLocal.DEF"), "[ZORTA_GENERAL]\nSHARED=yes\n[GMAPS_INTERNET]\nTIMEOUT=30\n");
    EXPECT_EQ(read("ZORTA", "GENERAL", "S", "SHARED"), "yes");
    EXPECT_EQ(read("GMAPS", "INTERNET", "LRS", "TIMEOUT"), "30");
    EXPECT_EQ(read("ZORTA", "GENERAL", "S", nullptr), "SHARED;");
}

TEST_F(SettingsRead, RegistryOfTheUserOrOfTheMachine) {
    ASSERT_TRUE(platform::registry::setValue(Hive::CurrentUser, "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL",
                                             "Folder", Value::string("C:\\user\\")));
    ASSERT_TRUE(platform::registry::setValue(Hive::LocalMachine, "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL",
                                             "Folder", Value::string("C:\\machine\\")));
    ASSERT_TRUE(platform::registry::setValue(Hive::LocalMachine, "Software\\ZORTA_32\\INI\\ZORTA\\INSTALL",
                                             "Count", Value::dword(1234)));
    EXPECT_EQ(read("ZORTA", "INSTALL", "B", "folder"), "C:\\user\\");
    EXPECT_EQ(read("ZORTA", "INSTALL", "BM", "Folder"), "C:\\machine\\");
    EXPECT_EQ(read("ZORTA", "INSTALL", "MB", "COUNT"), "1234");
    EXPECT_EQ(read("ZORTA", "INSTALL", "BM", nullptr), "Folder;Count;");
    EXPECT_EQ(read("ZORTA", nullptr, "B", nullptr), "INSTALL;");
    EXPECT_EQ(read("ZORTA", "OTHER", "B", "Folder"), "<-1>");
    // A value that does not fit the buffer is no answer from the registry.
    EXPECT_EQ(read("ZORTA", "INSTALL", "B", "Folder", nullptr, 5), "<-1>");
}

TEST_F(SettingsRead, SzortaReadsTheZortaSettings) {
    EXPECT_EQ(read("SZORTA", "GENERAL", "LR", "EDITOR"), "install-editor");
}

TEST_F(SettingsRead, ResultCodes) {
    char buffer[16];
    EXPECT_EQ(gets_ini(nullptr, "GENERAL", "LR", "EDITOR", buffer, 16), -2);
    EXPECT_EQ(gets_ini("", "GENERAL", "LR", "EDITOR", buffer, 16), -2);
    EXPECT_EQ(gets_ini("ZORTA", "GENERAL", "", "EDITOR", buffer, 16), -3);
    EXPECT_EQ(gets_ini("ZORTA", "GENERAL", "LR", "EDITOR", nullptr, 16), -5);
    EXPECT_EQ(gets_ini("ZORTA", "GENERAL", "XYZ", "EDITOR", buffer, 16), -1);
    EXPECT_EQ(gets_ini("NOFILE", "GENERAL", "LRSB", "EDITOR", buffer, 16), -1);
    // A value longer than the buffer is cut to it.
    EXPECT_EQ(gets_ini("ZORTA", "GENERAL", "L", "EDITOR", buffer, 8), 7);
    EXPECT_STREQ(buffer, "install");
}

TEST_F(SettingsRead, TypedReaders) {
    int number = -1;
    EXPECT_EQ(geti_ini("ZORTA", "GENERAL", "LR", "NUMBER", &number), 5);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(geti_ini("ZORTA", "GENERAL", "LR", "NOTHERE", &number), -1);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(geti_ini("ZORTA", "GENERAL", "LR", "NUMBER", nullptr), -1);
    double real = -1;
    EXPECT_EQ(getr_ini("ZORTA", "GENERAL", "LR", "EMPTY", &real), 0);
    EXPECT_EQ(real, 0.0);
    EXPECT_EQ(DOS::Getr_ini("ZORTA", "GENERAL", "LR", "NUMBER", &real), 5);
    EXPECT_EQ(real, 12.0);
}

TEST_F(SettingsRead, HeapCopies) {
    char* slot = nullptr;
    EXPECT_STREQ(DOS::Alloc_ini(&slot, "GENERAL", "LR", "EDITOR", "default"), "install-editor");
    EXPECT_STREQ(slot, "install-editor");
    EXPECT_STREQ(DOS::Alloc_ini(&slot, "GENERAL", "LR", "EMPTY", "default"), "default");
    EXPECT_EQ(DOS::Alloc_ini(&slot, "GENERAL", "LR", "NOTHERE", ""), nullptr);
    EXPECT_EQ(slot, nullptr);
    DOS::Free_ini(&slot);
    char* unslotted = DOS::Alloc_ini(nullptr, "GENERAL", "LR", "ONLYR", nullptr);
    EXPECT_STREQ(unslotted, "r");
    DOS::Free_ini(&unslotted);
    EXPECT_EQ(unslotted, nullptr);
}

TEST_F(SettingsRead, CountedStringsOnlyFromOutside) {
    // A counted string: its 32-bit size stands in the 4 bytes before it.
    alignas(4) char block[4 + 8];
    const std::int32_t size = 8;
    std::memcpy(block, &size, sizeof size);
    char* text = block + 4;
    services::resetOutputMode();
    char digits[] = "001";
    ASSERT_EQ(i_mode(digits), 1);
    ASSERT_TRUE(services::countedStringMode());
    EXPECT_EQ(gets_ini("ZORTA", "GENERAL", "L", "EDITOR", text, 1000), 7);
    EXPECT_STREQ(text, "install");
    // The library's own reads and the typed readers use their sizes as given.
    char plain[64];
    EXPECT_EQ(settings::readSetting("ZORTA", "GENERAL", "L", "EDITOR", plain, sizeof plain), 14);
    int number = 0;
    EXPECT_EQ(geti_ini("ZORTA", "GENERAL", "LR", "NUMBER", &number), 5);
    EXPECT_EQ(number, 12);
    services::resetOutputMode();
}

TEST_F(SettingsRead, FilesWithNulBytesAndLongLines) {
    writeFile(installFile("DATA.ini"),
              std::string("[S]\nbin=a\0b\nlong=", 17) + std::string(5000, 'x') + "\n");
    int result = 0;
    EXPECT_EQ(read("DATA", "S", "L", "bin", &result), "a");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(read("DATA", "S", "L", "long", &result), std::string(999, 'x'));
    EXPECT_EQ(result, 999);
}

} // namespace
